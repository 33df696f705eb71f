#include "platform/FolderListing.h"
#include "platform/Wildcard.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>

using namespace std::string_literals;

class NameMatchingTest : public QObject {
    Q_OBJECT

private slots:
    void wildcard_data()
    {
        QTest::addColumn<std::string>("pattern");
        QTest::addColumn<std::string>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star needs the suffix") << "*.jpg"s << "a.jpeg"s << false;
        QTest::newRow("question mark is not zero") << "a?c"s << "ac"s << false;
        QTest::newRow("question mark takes a whole UTF-8 character") << "?.jpg"s << "写.jpg"s << true;
        QTest::newRow("question mark takes one invalid byte") << "caf?.jpg"s << "caf\xe9.jpg"s << true;
        QTest::newRow("case matters") << "*.JPG"s << "a.jpg"s << false;
        QTest::newRow("brackets are ordinary") << "[ab].jpg"s << "a.jpg"s << false;
        QTest::newRow("backtracking") << "*a*b*c"s << "xaxbxbxc"s << true;
        QTest::newRow("many stars stay fast") << "*a*a*a*a*a*a*a*a*b"s << std::string(2000, 'a') << false;
        QTest::newRow("*.* takes a name without a dot") << "*.*"s << "README"s << true;
        QTest::newRow("*.* takes a hidden name") << "*.*"s << ".profile"s << true;
        QTest::newRow("name.* takes the bare name") << "README.*"s << "README"s << true;
        QTest::newRow("name.* takes an extension") << "README.*"s << "README.md"s << true;
        QTest::newRow("name.* needs the whole name") << "README.*"s << "READMEs"s << false;
        QTest::newRow("*. takes a name without a dot") << "*."s << "Makefile"s << true;
        QTest::newRow("*. refuses an extension") << "*."s << "a.txt"s << false;
    }

    void wildcard()
    {
        QFETCH(std::string, pattern);
        QFETCH(std::string, name);
        QFETCH(bool, matches);
        QCOMPARE(platform::wildcardMatch(pattern, name), matches);
    }

    // Letters fold to upper case, so "_" (after "Z") sorts after every letter. A failed read leaves
    // nothing of the folder read before.
    void listing()
    {
        TempTree tree;
        for (const char* name : {"b", "B", "a.jpg", "A.jpg", "_x", "Z", "10", "1", "\xe9"})
            tree.file(name);
        platform::FolderListing listing;
        QVERIFY(listing.read(tree.root()));
        Strings names;
        for (std::size_t i = 0; i < listing.size(); ++i)
            names.emplace_back(listing.name(i));
        QCOMPARE(names, (Strings{"1", "10", "A.jpg", "a.jpg", "B", "b", "Z", "_x", "\xe9"}));
        QVERIFY(!listing.read(tree.path("missing")));
        QCOMPARE(listing.size(), std::size_t{0});
    }
};

QTEST_GUILESS_MAIN(NameMatchingTest)
#include "tst_name_matching.moc"
