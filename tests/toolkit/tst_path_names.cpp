#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

namespace {

} // namespace

class PathNamesTest : public QObject {
    Q_OBJECT

private slots:
    // The text-only functions: no disk access, one row per shape of path.
    void componentsOfAText_data()
    {
        QTest::addColumn<std::string>("path");
        QTest::addColumn<std::string>("nameA");
        QTest::addColumn<std::string>("nameAB");
        QTest::addColumn<std::string>("typeA");
        QTest::addColumn<std::string>("noType");

        auto row = [](const char* name, std::string path, std::string nameA, std::string nameAB,
                      std::string typeA, std::string noType) {
            QTest::newRow(name) << path << nameA << nameAB << typeA << noType;
        };
        row("file in a folder", "/dir/a.tar.gz", "a.tar.gz", "a.tar.gz", "gz", "a.tar");
        row("folder with trailing slash", "/x/dir/", "dir/", "dir/", "", "");
        row("bare name", "a.txt", "a.txt", "", "txt", "a");
        row("dot only in a folder name", "/d.x/file", "file", "file", "", "");
        row("space after the last dot", "/d/a.b c", "a.b c", "a.b c", "", "");
        row("no dot at all", "/d/README", "README", "README", "", "");
        row("colon is an ordinary character", "/d/C:x.jpg", "C:x.jpg", "C:x.jpg", "jpg", "C:x");
        row("leading dot", "/d/.bashrc", ".bashrc", ".bashrc", "bashrc", "");
        row("doubled separators", "/d//a.jpg", "a.jpg", "a.jpg", "jpg", "a");
        row("root", "/", "/", "", "", "");
        row("empty text", "", "", "", "", "");
        row("text cut at NUL", std::string("/d/a.jpg\0rest", 13), "a.jpg", "a.jpg", "jpg", "a");
        row("not UTF-8", "/d/caf\xe9.JPG", "caf\xe9.JPG", "caf\xe9.JPG", "JPG", "caf\xe9");
    }

    void componentsOfAText()
    {
        QFETCH(std::string, path);
        QFETCH(std::string, nameA);
        QFETCH(std::string, nameAB);
        QFETCH(std::string, typeA);
        QFETCH(std::string, noType);
        FakeUser user;
        const clsFileFolder toolkit(user.services());
        QCOMPARE(toolkit.GetFileNameA(path), nameA);
        QCOMPARE(toolkit.GetFileNameAB(path), nameAB);
        QCOMPARE(toolkit.GetFileTypeA(path), typeA);
        QCOMPARE(toolkit.GetNoTypeFileNameA(path), noType);
        QCOMPARE(clsFileFolder::NullDel(path), path.substr(0, path.find('\0')));
    }

    void onDisk_data()
    {
        QTest::addColumn<std::string>("path");
        QTest::addColumn<std::string>("title");
        QTest::addColumn<std::string>("longForm");
        QTest::addColumn<std::string>("typeChecked");
        QTest::addColumn<std::string>("typeByName");
        QTest::newRow("existing file") << std::string("{R}/a.b/photo.jpg") << std::string("photo.jpg")
                                       << std::string("{R}/a.b/photo.jpg") << std::string("jpg")
                                       << std::string("jpg");
        QTest::newRow("missing file") << std::string("{R}/a.b/none.jpg") << std::string("none.jpg")
                                      << std::string() << std::string() << std::string();
        QTest::newRow("existing file without a dot in its name")
            << std::string("{R}/a.b/c") << std::string("c") << std::string("{R}/a.b/c")
            << std::string() << std::string("b/c");
        QTest::newRow("existing folder") << std::string("{R}/a.b/") << std::string()
                                         << std::string("{R}/a.b/") << std::string() << std::string();
        QTest::newRow("relative") << std::string("a.b/c") << std::string("c") << std::string()
                                  << std::string() << std::string();
    }

    void onDisk()
    {
        QFETCH(std::string, path);
        QFETCH(std::string, title);
        QFETCH(std::string, longForm);
        QFETCH(std::string, typeChecked);
        QFETCH(std::string, typeByName);
        TempTree tree;
        tree.file("a.b/photo.jpg");
        tree.file("a.b/c");
        FakeUser user;
        const clsFileFolder toolkit(user.services());
        path = tree.expand(path);
        QCOMPARE(toolkit.GetFileName(path), title);
        QCOMPARE(toolkit.GetLongPath(path), tree.expand(longForm));
        QCOMPARE(toolkit.GetShortPath(path), tree.expand(longForm));
        QCOMPARE(toolkit.GetFileType(path, false, false), typeChecked);
        QCOMPARE(toolkit.GetFileType(path, true, true),
                 path.find('.') == std::string::npos ? std::string() : path.substr(path.rfind('.') + 1));
        if (!typeChecked.empty() || !typeByName.empty())
            QCOMPARE(toolkit.GetFileType(path, false, true), typeByName);
    }

    void splitPath_data()
    {
        // "{R}" expands to the chain of folders from "/" down to the tree's root,
        // each element preceded by `lead`.
        QTest::addColumn<std::string>("path");
        QTest::addColumn<Strings>("chain");
        QTest::newRow("file") << std::string("{R}/a/b/c.txt") << Strings{"/", "{R}", "{R}/a", "{R}/a/b"};
        QTest::newRow("folder") << std::string("{R}/a/b/") << Strings{"/", "{R}", "{R}/a", "{R}/a/b"};
        QTest::newRow("names with colons") << std::string("{R}/c:d/e.txt") << Strings{"/", "{R}", "{R}/c:d"};
        QTest::newRow("network form keeps its empty parts")
            << std::string("/{R}/a/b/c.txt") << Strings{"/", "/", "/{R}", "/{R}/a", "/{R}/a/b"};
        QTest::newRow("folder under the root") << std::string("/tmp") << Strings{"/", "/tmp"};
        QTest::newRow("nothing") << std::string("{R}/missing") << Strings{""};
        QTest::newRow("root") << std::string("/") << Strings{""};
    }

    void splitPath()
    {
        QFETCH(std::string, path);
        QFETCH(Strings, chain);
        TempTree tree;
        tree.file("a/b/c.txt");
        tree.file("c:d/e.txt");
        FakeUser user;
        const clsFileFolder toolkit(user.services());
        Strings expected;
        for (const std::string& element : chain) {
            if (element == "{R}" || element == "/{R}") {
                const std::string lead = element.substr(0, element.size() - 3);
                for (std::size_t at = tree.root().find('/', 1); at != std::string::npos;
                     at = tree.root().find('/', at + 1))
                    expected.push_back(lead + tree.root().substr(0, at));
            }
            expected.push_back(tree.expand(element));
        }
        QCOMPARE(toolkit.GetSplitPath(tree.expand(path)), expected);
    }
};

QTEST_GUILESS_MAIN(PathNamesTest)
#include "tst_path_names.moc"
