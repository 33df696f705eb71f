#include "platform/FileSystemTraits.h"
#include "platform/FolderListing.h"
#include "platform/Wildcard.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>

#include <algorithm>
#include <random>
#include <set>

using namespace std::string_literals;

Q_DECLARE_METATYPE(platform::CaseFolding)

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

    // A listing sorts by the first sixteen folded bytes and only then by the whole names:
    // whatever a name holds there, its order is nameOrderLess's.
    void listingOrder_data()
    {
        QTest::addColumn<Strings>("names");
        QTest::newRow("names that agree beyond sixteen folded bytes")
            << Strings{"IMG_2024_0101_holiday_b.jpg", "img_2024_0101_HOLIDAY_a.jpg", "IMG_2024_0101_holiday_B.jpg",
                       "img_2024_0101_holiday_b.jpg", "IMG_2024_0101_holiday_", "IMG_2024_0101_holiday"};
        QTest::newRow("lengths about eight and sixteen")
            << Strings{"abcdefgh", "abcdefg", "ABCDEFGHI", "abcdefghijklmnop", "abcdefghijklmnopq", "ABCDEFGHIJKLMNOP",
                       "abcdefghijklmno", "ABCDEFGh", "abcdefgH"};
        QTest::newRow("bytes beside the letters and past ASCII")
            << Strings{"a{", "A`", "a@", "a[", "aZ", "az", "\xc3\xa9t\xc3\xa9", "\xe1", "\xc1", "a\xe1", "A\xc1", "~", "\x7f"};
        // Random names over the bytes where folding could go wrong, in a folder whose
        // records take several reads and a larger buffer.
        std::mt19937 random(20261208);
        const std::string alphabet = "aAzZ`{@[_.-09\x7f\x80\xc1\xe1\xfa\xff";
        std::set<std::string> names;
        while (names.size() < 3000) {
            std::string name(std::uniform_int_distribution<std::size_t>(1, 60)(random), ' ');
            for (char& c : name)
                c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
            if (name != "." && name != "..")
                names.insert(name);
        }
        QTest::newRow("3,000 random names") << Strings(names.begin(), names.end());
    }

    void listingOrder()
    {
        QFETCH(Strings, names);
        TempTree tree;
        for (const std::string& name : names)
            tree.file(name);
        platform::FolderListing listing;
        QVERIFY(listing.read(tree.root()));
        Strings listed;
        for (std::size_t i = 0; i < listing.size(); ++i)
            listed.emplace_back(listing.name(i));
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return platform::nameOrderLess(a, b);
        });
        QCOMPARE(listed, names);
    }

    // Whether a destination folds case is told by its mount, without writing there;
    // where the mount cannot tell, it says so.
    void caseFoldingOfMounts_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QByteArray>("sector");
        QTest::addColumn<bool>("casefoldFolder");
        QTest::addColumn<platform::CaseFolding>("folding");
        using enum platform::CaseFolding;
        QByteArray ntfs(512, '\0'), exfat(512, '\0');
        ntfs.replace(3, 8, "NTFS    ");
        exfat.replace(3, 8, "EXFAT   ");
        const auto row = [](const char* name, const char* type, const char* options, const QByteArray& sector,
                            bool casefold, platform::CaseFolding folding) {
            QTest::newRow(name) << QString::fromUtf8(type) << QString::fromUtf8(options) << sector << casefold << folding;
        };
        row("ext4", "ext4", "rw,relatime", {}, false, Keeps);
        row("ext4 folder marked casefold", "ext4", "rw", {}, true, Folds);
        row("tmpfs", "tmpfs", "rw", {}, false, Keeps);
        row("btrfs", "btrfs", "rw", {}, false, Keeps);
        row("xfs", "xfs", "rw", {}, false, Keeps);
        row("vfat", "vfat", "rw,shortname=mixed", {}, false, Folds);
        row("exfat", "exfat", "rw", {}, false, Folds);
        row("fusefat", "fuse.fusefat", "rw,user_id=0", {}, false, Folds);
        row("exFAT through FUSE", "fuseblk", "rw,user_id=0", exfat, false, Folds);
        row("ntfs-3g", "fuseblk", "rw,user_id=0", ntfs, false, Keeps);
        row("ntfs-3g on an image", "fuse", "rw,user_id=0", ntfs, false, Keeps);
        row("ntfs3", "ntfs3", "rw,uid=0,iocharset=utf8", {}, false, Keeps);
        row("ntfs3 mounted nocase", "ntfs3", "rw,uid=0,nocase", {}, false, Folds);
        row("SMB share", "cifs", "rw,vers=3.1.1", {}, false, Unknown);
        row("unreadable FUSE volume", "fuseblk", "rw", {}, false, Unknown);
        row("FUSE of unknown kind", "fuse.sshfs", "rw", {}, false, Unknown);
    }

    void caseFoldingOfMounts()
    {
        QFETCH(QString, type);
        QFETCH(QString, options);
        QFETCH(QByteArray, sector);
        QFETCH(bool, casefoldFolder);
        QFETCH(platform::CaseFolding, folding);
        const platform::FileSystemTraits traits = platform::traitsOfMount(
            type.toStdString(), options.toStdString(), sector.toStdString(), casefoldFolder);
        QCOMPARE(traits.caseFolding, folding);
    }
};

QTEST_GUILESS_MAIN(NameMatchingTest)
#include "tst_name_matching.moc"
