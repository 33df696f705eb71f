#include "app/ApplicationSetup.h"

#include "platform/qt/FormLook.h"
#include "platform/qt/Translations.h"

#include <QApplication>
#include <QFont>
#include <QProxyStyle>
#include <QString>
#include <QStringList>

namespace {

// Fusion, with the caption of an option or check box set as close to its mark as on
// the desktops these windows were laid out for; Fusion's wider gap would clip short
// captions such as "コピー" in their fixed width.
class CompactStyle final : public QProxyStyle {
public:
    CompactStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_RadioButtonLabelSpacing || metric == PM_CheckBoxLabelSpacing)
            return 3;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void setUpApplication(QApplication& application)
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    // The desktop entry's name: desktops find the window's icon and name through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quorvane.Quorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(QUORVANE_VERSION_MAJOR)
                                                .arg(QUORVANE_VERSION_MINOR)
                                                .arg(QUORVANE_VERSION_PATCH));
    // The font named for every control; Linux has it under other names.
    QFont::insertSubstitutions(platform::interfaceFontFamily(), {QStringLiteral("IPAPGothic"),
                                                QStringLiteral("Noto Sans CJK JP")});
    platform::installTranslations(application);
    // The windows place their controls at fixed positions; this style's margins are the
    // ones every caption was checked against, whatever style the desktop prefers.
    QApplication::setStyle(new CompactStyle);
    QApplication::setWindowIcon(platform::applicationIcon());
}
