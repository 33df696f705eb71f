// The core's lookup of texts: the placeholders filled in one pass in the translation's
// own order, and a catalog's answer taken where it has one, the original where not.
#include "platform/TextCatalog.h"
#include "support/TestPrinting.h"

#include <QtTest>
#include <map>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// Answers a few texts, and notes the plural count it was asked with.
class TwoTexts final : public platform::TextCatalog {
public:
    mutable int lastCount = -2;
    std::string lookUp(const char* context, const char* source, const char*, int count) const override
    {
        lastCount = count;
        const auto found = m_texts.find({ context, source });
        if (found == m_texts.end())
            return {};
        return count == 1 ? found->second.first : found->second.second;
    }

private:
    std::map<std::pair<std::string, std::string>, std::pair<std::string, std::string>> m_texts {
        { { "ctx", "%1 件" }, { "%1 file", "%1 files" } },
        { { "ctx", "閉じる" }, { "Close", "Close" } },
    };
};

} // namespace

class TextCatalogTest : public QObject {
    Q_OBJECT

private slots:
    void fillIn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("in order") << u"必要 %1、空き %2"_s << QStringList { u"3.2 GB"_s, u"1.1 GB"_s }
                                  << u"必要 3.2 GB、空き 1.1 GB"_s;
        QTest::newRow("the translation's own order")
            << u"%2 free, %1 needed"_s << QStringList { u"a"_s, u"b"_s } << u"b free, a needed"_s;
        QTest::newRow("an argument holding a placeholder stays as it is")
            << u"「%1」 と %2"_s << QStringList { u"100%2.jpg"_s, u"x"_s } << u"「100%2.jpg」 と x"_s;
        QTest::newRow("placeholder without an argument, and other percent signs")
            << u"%1% - %3 %"_s << QStringList { u"37"_s } << u"37% - %3 %"_s;
        QTest::newRow("the same placeholder twice") << u"%1/%1"_s << QStringList { u"z"_s } << u"z/z"_s;
        QTest::newRow("percent before zero is no placeholder")
            << u"%0 %10"_s << QStringList { u"a"_s } << u"%0 a0"_s;
    }
    void fillIn()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        std::vector<std::string> values;
        for (const QString& argument : arguments)
            values.push_back(argument.toStdString());
        std::string result;
        if (values.size() == 1)
            result = platform::fillIn(text.toStdString(), { values[0] });
        else
            result = platform::fillIn(text.toStdString(), { values[0], values[1] });
        QCOMPARE(QString::fromStdString(result), expected);
    }

    void lookUp()
    {
        // Without a catalog, and for a text the catalog lacks, the original comes back.
        QCOMPARE(platform::translate("ctx", "閉じる"), std::string("閉じる"));
        TwoTexts catalog;
        platform::installTextCatalog(&catalog);
        QCOMPARE(platform::translate("ctx", "閉じる"), std::string("Close"));
        QCOMPARE(catalog.lastCount, -1);
        QCOMPARE(platform::translate("other", "閉じる"), std::string("閉じる"));
        QCOMPARE(platform::translate("ctx", "開く"), std::string("開く"));
        QCOMPARE(platform::translate("ctx", "%1 件", nullptr, 1), std::string("%1 file"));
        QCOMPARE(platform::translate("ctx", "%1 件", nullptr, 12), std::string("%1 files"));
        QCOMPARE(catalog.lastCount, 12);
        platform::installTextCatalog(nullptr);
        QCOMPARE(platform::translate("ctx", "%1 件", nullptr, 12), std::string("%1 件"));
    }
};

QTEST_GUILESS_MAIN(TextCatalogTest)
#include "tst_text_catalog.moc"
