#include "platform/FolderListing.h"
#include "platform/Wildcard.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>

#include <tuple>

class NameMatchingTest : public QObject {
    Q_OBJECT

private slots:
    void wildcard_data()
    {
        QTest::addColumn<std::string>("pattern");
        QTest::addColumn<std::string>("name");
        QTest::addColumn<bool>("matches");
        const std::tuple<const char*, std::string, std::string, bool> rows[] {
            { "star needs the suffix", "*.jpg", "a.jpeg", false },
            { "question mark is not zero", "a?c", "ac", false },
            { "question mark takes a whole UTF-8 character", "?.jpg", "写.jpg", true },
            { "question mark takes one invalid byte", "caf?.jpg", "caf\xe9.jpg", true },
            { "case matters", "*.JPG", "a.jpg", false },
            { "brackets are ordinary", "[ab].jpg", "a.jpg", false },
            { "backtracking", "*a*b*c", "xaxbxbxc", true },
            { "many stars stay fast", "*a*a*a*a*a*a*a*a*b", std::string(2000, 'a'), false },
            { "*.* takes a name without a dot", "*.*", "README", true },
            { "*.* takes a hidden name", "*.*", ".profile", true },
            { "name.* takes the bare name", "README.*", "README", true },
            { "name.* takes an extension", "README.*", "README.md", true },
            { "name.* needs the whole name", "README.*", "READMEs", false },
            { "*. takes a name without a dot", "*.", "Makefile", true },
            { "*. refuses an extension", "*.", "a.txt", false },
            { "x*. refuses a dot inside", "x*.", "x.y", false },
        };
        for (const auto& [row, pattern, name, matches] : rows)
            QTest::newRow(row) << pattern << name << matches;
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
