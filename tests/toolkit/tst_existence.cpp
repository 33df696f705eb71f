#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <memory>
#include <sys/stat.h>

class ExistenceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempTree> m_tree;
    FakeUser m_user;
    std::unique_ptr<clsFileFolder> m_toolkit;

private slots:
    void init()
    {
        m_tree = std::make_unique<TempTree>();
        for (const char* file : {"dir/a.txt", "dir/.hidden", "dir/ab.jpg", "dir/a*.jpg", "dir/xy.jpg", "plain.txt"})
            m_tree->file(file);
        m_tree->folder("dir/x*");
        m_tree->folder("empty");
        m_tree->link("dir/toFile", "a.txt");
        m_tree->link("dir/toFolder", "../empty");
        m_tree->link("dir/dangling", "nowhere");
        m_toolkit = std::make_unique<clsFileFolder>(m_user.services());
    }

    // One row, three questions: is it a folder, is it a visible file (or a pattern
    // matching one), and which folder does it stand for.
    void existence_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("file");
        QTest::addColumn<std::string>("folderOf");
        auto row = [](const char* name, const char* text, bool folder, bool file, const char* folderOf) {
            QTest::newRow(name) << std::string(text) << folder << file << std::string(folderOf);
        };
        row("folder", "{R}/dir", true, false, "{R}/dir");
        row("folder with trailing slash", "{R}/dir/", true, false, "{R}/dir");
        row("empty folder", "{R}/empty", true, false, "{R}/empty");
        row("link to a folder", "{R}/dir/toFolder", true, false, "{R}/dir/toFolder");
        row("root", "/", true, false, "");
        row("folder under the root", "/tmp", true, false, "/tmp");
        row("file", "{R}/dir/a.txt", false, true, "{R}/dir");
        row("link to a file", "{R}/dir/toFile", false, true, "{R}/dir");
        row("dangling link", "{R}/dir/dangling", false, true, "{R}/dir");
        row("hidden file", "{R}/dir/.hidden", false, false, "");
        row("trailing slash after a file", "{R}/dir/a.txt/", false, false, "");
        row("missing", "{R}/missing/a.txt", false, false, "");
        row("pattern that matches", "{R}/dir/*.txt", false, true, "{R}/dir");
        row("question mark pattern", "{R}/dir/a?.jpg", false, true, "{R}/dir");
        row("pattern matching only a hidden file", "{R}/dir/.hid*", false, false, "");
        row("pattern without a match", "{R}/dir/*.png", false, false, "");
        row("name with a literal star", "{R}/dir/a*.jpg", false, true, "{R}/dir");
        row("literal star naming a folder is no pattern", "{R}/dir/x*", true, false, "{R}/dir/x*");
        row("empty text", "", false, false, "");
        row("relative", "plain.txt", false, false, "");
        row("home shorthand", "~", false, false, "");
    }

    void existence()
    {
        QFETCH(std::string, text);
        QFETCH(bool, folder);
        QFETCH(bool, file);
        QFETCH(std::string, folderOf);
        text = m_tree->expand(text);
        QCOMPARE(m_toolkit->FolderExist(text), folder);
        QCOMPARE(m_toolkit->FileExist(text), file);
        QCOMPARE(m_toolkit->GetFilePath(text), m_tree->expand(folderOf));
    }

    void createFolder_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<std::int32_t>("code");
        QTest::addColumn<bool>("existsAfter");
        QTest::newRow("missing parents are made") << std::string("{R}/new/a/b") << 0 << true;
        QTest::newRow("trailing slash") << std::string("{R}/new/") << 0 << true;
        QTest::newRow("existing folder") << std::string("{R}/dir") << 183 << true;
        QTest::newRow("existing file") << std::string("{R}/plain.txt") << 183 << false;
        QTest::newRow("parent is a file") << std::string("{R}/plain.txt/sub") << 3 << false;
        QTest::newRow("relative") << std::string("new") << 3 << false;
        QTest::newRow("empty text") << std::string() << 3 << false;
        QTest::newRow("name too long") << "{R}/" + std::string(300, 'n') << 206 << false;
    }

    void createFolder()
    {
        QFETCH(std::string, text);
        QFETCH(std::int32_t, code);
        QFETCH(bool, existsAfter);
        const std::string path = m_tree->expand(text);
        QCOMPARE(m_toolkit->CreateFolder(path), code);
        QCOMPARE(m_toolkit->FolderExist(path), existsAfter);
    }

    void createFolderRefusedIsAccessDenied()
    {
        m_tree->folder("readonly");
        ::chmod(m_tree->path("readonly").c_str(), 0555);
        const auto code = runUnprivileged([&] { return std::to_string(m_toolkit->CreateFolder(m_tree->path("readonly/a/b"))); });
        QCOMPARE(code, std::optional<std::string>("5"));
        QVERIFY(!TempTree::exists(m_tree->path("readonly/a")));
    }

    void tempFolderEndsInSlash_data()
    {
        QTest::addColumn<QByteArray>("tmpdir");
        QTest::addColumn<std::string>("expected");
        QTest::newRow("unset") << QByteArray() << std::string("/tmp/");
        QTest::newRow("set") << QByteArray("/var/tmp") << std::string("/var/tmp/");
        QTest::newRow("set with slash") << QByteArray("/var/tmp/") << std::string("/var/tmp/");
        QTest::newRow("relative is ignored") << QByteArray("tmp") << std::string("/tmp/");
    }

    void tempFolderEndsInSlash()
    {
        QFETCH(QByteArray, tmpdir);
        QFETCH(std::string, expected);
        const QByteArray saved = qgetenv("TMPDIR");
        tmpdir.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpdir);
        const std::string folder = m_toolkit->GetTempFolder();
        saved.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", saved);
        QCOMPARE(folder, expected);
    }
};

QTEST_GUILESS_MAIN(ExistenceTest)
#include "tst_existence.moc"
