#include "app/ApplicationSetup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

namespace {

// The font named for every control; Linux has it under other names.
const QString kInterfaceFont = QStringLiteral("ＭＳ Ｐゴシック");

void loadQtTranslation(QApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void setUpApplication(QApplication& application)
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(QUORVANE_VERSION_MAJOR)
                                                .arg(QUORVANE_VERSION_MINOR)
                                                .arg(QUORVANE_VERSION_PATCH));
    QFont::insertSubstitutions(kInterfaceFont, {QStringLiteral("IPAPGothic"),
                                                QStringLiteral("Noto Sans CJK JP")});
    loadQtTranslation(application);
}
