#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

class PathNamesTest : public QObject {
    Q_OBJECT

private slots:
    // The text-only functions, one row per shape of path: GetFileNameA, GetFileNameAB,
    // GetFileTypeA and GetNoTypeFileNameA in that order.
    void componentsOfAText_data()
    {
        QTest::addColumn<std::string>("path");
        QTest::addColumn<Strings>("expected");
        auto row = [](const char* name, std::string path, Strings expected) { QTest::newRow(name) << path << expected; };
        row("file in a folder", "/dir/a.tar.gz", {"a.tar.gz", "a.tar.gz", "gz", "a.tar"});
        row("folder with trailing slash", "/x/dir/", {"dir/", "dir/", "", ""});
        row("bare name", "a.txt", {"a.txt", "", "txt", "a"});
        row("dot only in a folder name", "/d.x/file", {"file", "file", "", ""});
        row("space after the last dot", "/d/a.b c", {"a.b c", "a.b c", "", ""});
        row("colon is an ordinary character", "/d/C:x.jpg", {"C:x.jpg", "C:x.jpg", "jpg", "C:x"});
        row("leading dot", "/d/.bashrc", {".bashrc", ".bashrc", "bashrc", ""});
        row("doubled separators", "/d//a.jpg", {"a.jpg", "a.jpg", "jpg", "a"});
        row("root", "/", {"/", "", "", ""});
        row("text cut at NUL", std::string("/d/a.jpg\0rest", 13), {"a.jpg", "a.jpg", "jpg", "a"});
        row("not UTF-8", "/d/caf\xe9.JPG", {"caf\xe9.JPG", "caf\xe9.JPG", "JPG", "caf\xe9"});
    }

    void componentsOfAText()
    {
        QFETCH(std::string, path);
        QFETCH(Strings, expected);
        FakeUser user;
        const clsFileFolder toolkit(user.services());
        QCOMPARE((Strings{toolkit.GetFileNameA(path), toolkit.GetFileNameAB(path), toolkit.GetFileTypeA(path),
                          toolkit.GetNoTypeFileNameA(path)}),
                 expected);
    }

    // GetFileName, GetLongPath (GetShortPath alike), GetFileType(checked, by title) and
    // GetFileType(checked, by whole path), in that order.
    void onDisk_data()
    {
        QTest::addColumn<std::string>("path");
        QTest::addColumn<Strings>("expected");
        auto row = [](const char* name, const char* path, Strings expected) { QTest::newRow(name) << std::string(path) << expected; };
        row("existing file", "{R}/a.b/photo.jpg", {"photo.jpg", "{R}/a.b/photo.jpg", "jpg", "jpg"});
        row("missing file", "{R}/a.b/none.jpg", {"none.jpg", "", "", ""});
        row("existing file without a dot in its name", "{R}/a.b/c", {"c", "{R}/a.b/c", "", "b/c"});
        row("existing folder", "{R}/a.b/", {"", "{R}/a.b/", "", ""});
        row("relative", "a.b/c", {"c", "", "", ""});
    }

    void onDisk()
    {
        QFETCH(std::string, path);
        QFETCH(Strings, expected);
        TempTree tree;
        tree.file("a.b/photo.jpg");
        tree.file("a.b/c");
        FakeUser user;
        const clsFileFolder toolkit(user.services());
        path = tree.expand(path);
        QCOMPARE(toolkit.GetShortPath(path), toolkit.GetLongPath(path));
        QCOMPARE((Strings{toolkit.GetFileName(path), toolkit.GetLongPath(path), toolkit.GetFileType(path, false, false),
                          toolkit.GetFileType(path, false, true)}),
                 tree.expand(expected));
        QCOMPARE(toolkit.GetFileType(tree.path("none/x.b/c"), true, true), std::string("b/c")); // no existence check
    }

    // The chain is "/" and then the text of `folder` cut before each separator, ending with
    // `folder` itself; no folder gives the one empty element.
    void splitPath_data()
    {
        QTest::addColumn<std::string>("path");
        QTest::addColumn<std::string>("folder");
        QTest::newRow("file") << std::string("{R}/a/b/c.txt") << std::string("{R}/a/b");
        QTest::newRow("folder") << std::string("{R}/a/b/") << std::string("{R}/a/b");
        QTest::newRow("names with colons") << std::string("{R}/c:d/e.txt") << std::string("{R}/c:d");
        QTest::newRow("network form keeps its empty parts")
            << std::string("/{R}/a/b/c.txt") << std::string("/{R}/a/b");
        QTest::newRow("folder under the root") << std::string("/tmp") << std::string("/tmp");
        QTest::newRow("nothing") << std::string("{R}/missing") << std::string("");
        QTest::newRow("root") << std::string("/") << std::string("");
    }

    void splitPath()
    {
        QFETCH(std::string, path);
        QFETCH(std::string, folder);
        TempTree tree;
        tree.file("a/b/c.txt");
        tree.file("c:d/e.txt");
        FakeUser user;
        const clsFileFolder toolkit(user.services());
        folder = tree.expand(folder);
        Strings expected{folder.empty() ? "" : "/"};
        for (std::size_t at = folder.find('/', 1); !folder.empty(); at = folder.find('/', at + 1)) {
            expected.push_back(folder.substr(0, at));
            if (at == std::string::npos)
                break;
        }
        QCOMPARE(toolkit.GetSplitPath(tree.expand(path)), expected);
    }
};

QTEST_GUILESS_MAIN(PathNamesTest)
#include "tst_path_names.moc"
