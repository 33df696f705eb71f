#pragma once

#include <QtGlobal>

class QFont;
class QIcon;
class QString;

namespace platform {

/// The font family named for every control of every form.
QString interfaceFontFamily();

/// The font of every control, regular weight, at `pointSize`.
QFont interfaceFont(qreal pointSize);

/// The program's icon, as every form and the about box show it.
QIcon applicationIcon();

} // namespace platform
