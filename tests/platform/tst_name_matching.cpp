#include "platform/FolderListing.h"
#include "platform/Wildcard.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>

class NameMatchingTest : public QObject {
    Q_OBJECT

private slots:
    void wildcard_data()
    {
        QTest::addColumn<std::string>("pattern");
        QTest::addColumn<std::string>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star") << std::string("*.jpg") << std::string("a.jpg") << true;
        QTest::newRow("star needs the suffix") << std::string("*.jpg") << std::string("a.jpeg") << false;
        QTest::newRow("star matches nothing") << std::string("a*") << std::string("a") << true;
        QTest::newRow("question mark is one character") << std::string("a?c") << std::string("abc") << true;
        QTest::newRow("question mark is not zero") << std::string("a?c") << std::string("ac") << false;
        QTest::newRow("question mark takes a whole UTF-8 character")
            << std::string("?.jpg") << std::string("写.jpg") << true;
        QTest::newRow("question mark takes one invalid byte")
            << std::string("caf?.jpg") << std::string("caf\xe9.jpg") << true;
        QTest::newRow("case matters") << std::string("*.JPG") << std::string("a.jpg") << false;
        QTest::newRow("brackets are ordinary") << std::string("[ab].jpg") << std::string("a.jpg") << false;
        QTest::newRow("backtracking") << std::string("*a*b*c") << std::string("xaxbxbxc") << true;
        QTest::newRow("many stars stay fast")
            << std::string("*a*a*a*a*a*a*a*a*b") << std::string(2000, 'a') << false;
    }

    void wildcard()
    {
        QFETCH(std::string, pattern);
        QFETCH(std::string, name);
        QFETCH(bool, matches);
        QCOMPARE(platform::wildcardMatch(pattern, name), matches);
    }

    void listingOrderIsCaseFoldedThenBytes()
    {
        TempTree tree;
        for (const char* name : {"b", "B", "a.jpg", "A.jpg", "_x", "Z", "10", "1", "\xe9"})
            tree.file(name);
        platform::FolderListing listing;
        QVERIFY(listing.read(tree.root()));
        Strings names;
        for (std::size_t i = 0; i < listing.size(); ++i)
            names.emplace_back(listing.name(i));
        // Letters fold to upper case, so "_" (after "Z") sorts after every letter.
        QCOMPARE(names, (Strings{"1", "10", "A.jpg", "a.jpg", "B", "b", "Z", "_x", "\xe9"}));
    }

    void unreadableFolderGivesNoEntries()
    {
        platform::FolderListing listing;
        QVERIFY(!listing.read("/nonexistent-quorvane-folder"));
        QCOMPARE(listing.size(), std::size_t{0});
    }
};

QTEST_GUILESS_MAIN(NameMatchingTest)
#include "tst_name_matching.moc"
