#include "platform/qt/Translations.h"

#include "platform/TextCatalog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// The core's lookups go to our translator directly, so they work before any
// application object exists (the command line runs without one) and on any thread.
class TranslatorCatalog final : public TextCatalog {
public:
    explicit TranslatorCatalog(const QTranslator& translator)
        : m_translator(translator)
    {
    }

    std::string lookUp(
        const char* context, const char* source, const char* disambiguation, int count) const override
    {
        return m_translator.translate(context, source, disambiguation, count).toStdString();
    }

private:
    const QTranslator& m_translator;
};

struct Translations {
    QTranslator ours;
    QTranslator qt;
    TranslatorCatalog catalog{ours};
    bool chosen = false;
    bool oursLoaded = false;
    bool qtLoaded = false;
};

// Lives until the process ends, as the core may look texts up until then.
Translations& translations()
{
    static auto* instance = new Translations;
    return *instance;
}

bool isCLocale(const char* name)
{
    return std::strcmp(name, "C") == 0 || std::strncmp(name, "C.", 2) == 0
        || std::strcmp(name, "POSIX") == 0;
}

// The locale that messages are shown in, read as the C library reads it.
const char* messagesLocale()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(variable); value != nullptr && *value != '\0')
            return value;
    return "C";
}

void putIntoApplication(Translations& all)
{
    if (QCoreApplication::instance() == nullptr)
        return;
    QCoreApplication::removeTranslator(&all.ours);
    QCoreApplication::removeTranslator(&all.qt);
    if (all.oursLoaded)
        QCoreApplication::installTranslator(&all.ours);
    if (all.qtLoaded)
        QCoreApplication::installTranslator(&all.qt);
}

} // namespace

bool wantsSourceTexts(const QStringList& uiLanguages)
{
    if (uiLanguages.isEmpty())
        return true;
    const QString& first = uiLanguages.front();
    return first == u"C" || first == u"POSIX" || first == u"ja" || first.startsWith(u"ja-")
        || first.startsWith(u"ja_");
}

void loadTranslations(const QStringList& uiLanguages)
{
    Translations& all = translations();
    all.chosen = true;
    installTextCatalog(nullptr);
    if (wantsSourceTexts(uiLanguages)) {
        all.oursLoaded = false;
        // The texts are Japanese: Qt's standard buttons and dialogs are made to match.
        all.qtLoaded = all.qt.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    } else {
        // English is the one translation; Qt's own texts are English already.
        all.oursLoaded = all.ours.load(QStringLiteral(":/i18n/quorvane_en.qm"));
        all.qtLoaded = false;
        if (all.oursLoaded)
            installTextCatalog(&all.catalog);
    }
    putIntoApplication(all);
}

void loadTranslations()
{
    // A messages locale of C or POSIX keeps the texts as written even where LANGUAGE
    // names another language, as the C library's own messages do.
    if (isCLocale(messagesLocale()))
        loadTranslations({QStringLiteral("C")});
    else
        loadTranslations(QLocale::system().uiLanguages());
}

void installTranslations(QCoreApplication&)
{
    if (!translations().chosen)
        loadTranslations();
    else
        putIntoApplication(translations());
}

} // namespace platform
