#include "platform/qt/FormLook.h"

#include <QFont>
#include <QIcon>
#include <QString>

// The resources live in a static library; this pulls them into the program.
static void initResources()
{
    Q_INIT_RESOURCE(FormLook);
}

namespace platform {

QString interfaceFontFamily()
{
    return QStringLiteral("ＭＳ Ｐゴシック");
}

QFont interfaceFont(qreal pointSize)
{
    QFont font(interfaceFontFamily());
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QIcon applicationIcon()
{
    initResources();
    return QIcon(QStringLiteral(":/icons/quorvane.svg"));
}

} // namespace platform
