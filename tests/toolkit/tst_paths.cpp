#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class PathsTest : public QObject {
    Q_OBJECT

    TempTree m_tree;
    FakeUser m_user;
    const clsFileFolder m_toolkit { m_user.services() };

private slots:
    void initTestCase()
    {
        for (const char* file : { "dir/a.txt", "dir/.hidden", "dir/a*.jpg", "plain.txt", "a.b/photo.jpg", "a.b/c" })
            m_tree.file(file);
        m_tree.folder("dir/x*");
        m_tree.folder("empty");
        m_tree.link("dir/toFolder", "../empty");
        m_tree.link("dir/dangling", "nowhere");
        QVERIFY(::chdir(m_tree.root().c_str()) == 0); // so that the relative rows name existing entries
    }

    // Is it a folder, is it a visible file (or a pattern matching one), which folder does it stand
    // for, and the chain of folders from "/" down to that one.
    void existence_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("file");
        QTest::addColumn<std::string>("folderOf");
        auto row = [](const char* name, std::string text, bool folder, bool file, const char* folderOf) {
            QTest::newRow(name) << text << folder << file << std::string(folderOf);
        };
        row("folder", "{R}/dir", true, false, "{R}/dir");
        row("folder with trailing slash", "{R}/dir/", true, false, "{R}/dir");
        row("link to a folder", "{R}/dir/toFolder", true, false, "{R}/dir/toFolder");
        row("root", "/", true, false, "");
        row("file", "{R}/dir/a.txt", false, true, "{R}/dir");
        row("dangling link", "{R}/dir/dangling", false, true, "{R}/dir");
        row("hidden file", "{R}/dir/.hidden", false, false, "");
        row("trailing slash after a file", "{R}/dir/a.txt/", false, false, "");
        row("missing", "{R}/missing/a.txt", false, false, "");
        row("pattern that matches", "{R}/dir/*.txt", false, true, "{R}/dir");
        row("pattern matching only a hidden file", "{R}/dir/.hid*", false, false, "");
        row("name with a literal star", "{R}/dir/a*.jpg", false, true, "{R}/dir");
        row("literal star naming a folder is no pattern", "{R}/dir/x*", true, false, "{R}/dir/x*");
        row("relative", "plain.txt", false, false, "");
        // The chain keeps empty parts, so a network form starts "/", "/", "//...".
        row("network form", "/" + m_tree.path("dir/a.txt"), false, true, "/{R}/dir");
    }

    void existence()
    {
        QFETCH(std::string, text);
        QFETCH(bool, folder);
        QFETCH(bool, file);
        QFETCH(std::string, folderOf);
        text = m_tree.expand(text);
        folderOf = m_tree.expand(folderOf);
        QCOMPARE(m_toolkit.FolderExist(text), folder);
        QCOMPARE(m_toolkit.FileExist(text), file);
        QCOMPARE(m_toolkit.GetFilePath(text), folderOf);
        Strings chain { folderOf.empty() ? "" : "/" };
        for (std::size_t at = folderOf.find('/', 1); !folderOf.empty(); at = folderOf.find('/', at + 1)) {
            chain.push_back(folderOf.substr(0, at));
            if (at == std::string::npos)
                break;
        }
        QCOMPARE(m_toolkit.GetSplitPath(text), chain);
    }

    void componentsOfAText_data()
    {
        QTest::addColumn<std::string>("path");
        QTest::addColumn<Strings>("expected");
        auto row = [](const char* name, std::string path, Strings expected) {
            QTest::newRow(name) << path << expected;
        };
        row("file in a folder", "/dir/a.tar.gz", { "a.tar.gz", "a.tar.gz", "gz", "a.tar", "a.tar.gz" });
        row("folder with trailing slash", "/x/dir/", { "dir/", "dir/", "", "", "" });
        row("bare name", "a.txt", { "a.txt", "", "txt", "a", "a.txt" });
        row("dot only in a folder name", "/d.x/file", { "file", "file", "", "", "file" });
        row("space after the last dot", "/d/a.b c", { "a.b c", "a.b c", "", "", "a.b c" });
        row("leading dot", "/d/.bashrc", { ".bashrc", ".bashrc", "bashrc", "", ".bashrc" });
        row("root", "/", { "/", "", "", "", "" });
        // A path ends at its first NUL: nothing after it is searched.
        const auto nul = [&](const char* name, std::string_view before, std::string_view after, Strings expected) {
            row(name, std::string(before) + '\0' + std::string(after), expected);
        };
        nul("text cut at NUL", "/d/a.jpg", "rest", { "a.jpg", "a.jpg", "jpg", "a", "a.jpg" });
        nul("folder part after NUL", "/a/b.txt", "/c/d", { "b.txt", "b.txt", "txt", "b", "b.txt" });
        nul("bare name, folder part after NUL", "a.txt", "/c/d.gz", { "a.txt", "a.txt", "txt", "a", "a.txt" });
        nul("extension only after NUL", "/a/b", ".txt", { "b", "b", "", "", "b" });
        nul("space after NUL", "/a/b.txt", " x", { "b.txt", "b.txt", "txt", "b", "b.txt" });
        nul("nothing before NUL", "", "/c/d.jpg", { "", "", "", "", "" });
        row("not UTF-8", "/d/caf\xe9.JPG", { "caf\xe9.JPG", "caf\xe9.JPG", "JPG", "caf\xe9", "caf\xe9.JPG" });
    }

    void componentsOfAText()
    {
        QFETCH(std::string, path);
        QFETCH(Strings, expected);
        QCOMPARE((Strings { m_toolkit.GetFileNameA(path), m_toolkit.GetFileNameAB(path), m_toolkit.GetFileTypeA(path),
                     m_toolkit.GetNoTypeFileNameA(path), m_toolkit.GetFileName(path) }),
            expected);
    }

    void onDisk_data()
    {
        QTest::addColumn<std::string>("path");
        QTest::addColumn<Strings>("expected");
        auto row = [](const char* name, const char* path, Strings expected) {
            QTest::newRow(name) << std::string(path) << expected;
        };
        row("existing file", "{R}/a.b/photo.jpg", { "photo.jpg", "{R}/a.b/photo.jpg", "jpg", "jpg" });
        row("missing file", "{R}/a.b/none.jpg", { "none.jpg", "", "", "" });
        row("existing file without a dot in its name", "{R}/a.b/c", { "c", "{R}/a.b/c", "", "b/c" });
        row("existing folder", "{R}/a.b/", { "", "{R}/a.b/", "", "" });
        row("relative", "a.b/c", { "c", "", "", "" });
    }

    void onDisk()
    {
        QFETCH(std::string, path);
        QFETCH(Strings, expected);
        path = m_tree.expand(path);
        QCOMPARE(m_toolkit.GetShortPath(path), m_toolkit.GetLongPath(path));
        QCOMPARE((Strings { m_toolkit.GetFileName(path), m_toolkit.GetLongPath(path),
                     m_toolkit.GetFileType(path, false, false), m_toolkit.GetFileType(path, false, true) }),
            m_tree.expand(expected));
        QCOMPARE(m_toolkit.GetFileType(m_tree.path("none/x.b/c"), true, true), "b/c"); // no existence check
    }

    void createFolder_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<std::int32_t>("code");
        QTest::addColumn<bool>("existsAfter");
        QTest::newRow("missing parents are made") << std::string("{R}/new/a/b") << 0 << true;
        QTest::newRow("existing folder") << std::string("{R}/dir") << 183 << true;
        QTest::newRow("existing file") << std::string("{R}/plain.txt") << 183 << false;
        QTest::newRow("parent is a file") << std::string("{R}/plain.txt/sub") << 3 << false;
        QTest::newRow("empty text") << std::string() << 3 << false;
        QTest::newRow("name too long") << "{R}/" + std::string(300, 'n') << 206 << false;
        QTest::newRow("refused") << std::string("{R}/locked/a/b") << 5 << false;
    }

    void createFolder()
    {
        QFETCH(std::string, text);
        QFETCH(std::int32_t, code);
        QFETCH(bool, existsAfter);
        const std::string path = m_tree.expand(text);
        const auto create = [&] { return std::to_string(m_toolkit.CreateFolder(path)); };
        const bool refused = code == 5; // root ignores permissions: asked in an unprivileged child
        if (refused)
            ::chmod(m_tree.folder("locked").c_str(), 0555);
        QCOMPARE(refused ? runUnprivileged(create).value_or("no report") : create(), std::to_string(code));
        QCOMPARE(m_toolkit.FolderExist(path), existsAfter);
        QVERIFY(!refused || !TempTree::exists(m_tree.path("locked/a")));
    }
};

QTEST_GUILESS_MAIN(PathsTest)
#include "tst_paths.moc"
