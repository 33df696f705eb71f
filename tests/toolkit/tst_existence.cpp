#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {

// The fixture every row of this file looks at.
void buildFixture(TempTree& tree)
{
    tree.file("dir/a.txt");
    tree.file("dir/.hidden");
    tree.file("dir/ab.jpg");
    tree.file("dir/a*.jpg");
    tree.folder("dir/x*");
    tree.file("dir/xy.jpg");
    tree.folder("empty");
    tree.file("plain.txt");
    tree.link("dir/toFile", "a.txt");
    tree.link("dir/toFolder", "../empty");
    tree.link("dir/dangling", "nowhere");
}

} // namespace

class ExistenceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempTree> m_tree;
    FakeUser m_user;
    std::unique_ptr<clsFileFolder> m_toolkit;

private slots:
    void init()
    {
        m_tree = std::make_unique<TempTree>();
        buildFixture(*m_tree);
        m_toolkit = std::make_unique<clsFileFolder>(m_user.services());
    }

    void folderExist_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<bool>("exists");
        QTest::newRow("folder") << std::string("{R}/dir") << true;
        QTest::newRow("folder with trailing slash") << std::string("{R}/dir/") << true;
        QTest::newRow("empty folder") << std::string("{R}/empty") << true;
        QTest::newRow("link to a folder") << std::string("{R}/dir/toFolder") << true;
        QTest::newRow("root") << std::string("/") << true;
        QTest::newRow("file") << std::string("{R}/dir/a.txt") << false;
        QTest::newRow("missing") << std::string("{R}/missing") << false;
        QTest::newRow("empty text") << std::string() << false;
        QTest::newRow("relative") << std::string("tmp") << false;
        QTest::newRow("home shorthand") << std::string("~") << false;
    }

    void folderExist()
    {
        QFETCH(std::string, text);
        QFETCH(bool, exists);
        const TempTree& tree = *m_tree;
        const clsFileFolder& toolkit = *m_toolkit;
        QCOMPARE(toolkit.FolderExist(tree.expand(text)), exists);
    }

    void fileExist_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<bool>("exists");
        QTest::newRow("file") << std::string("{R}/dir/a.txt") << true;
        QTest::newRow("link to a file") << std::string("{R}/dir/toFile") << true;
        QTest::newRow("dangling link") << std::string("{R}/dir/dangling") << true;
        QTest::newRow("hidden file") << std::string("{R}/dir/.hidden") << false;
        QTest::newRow("folder") << std::string("{R}/dir") << false;
        QTest::newRow("link to a folder") << std::string("{R}/dir/toFolder") << false;
        QTest::newRow("missing") << std::string("{R}/dir/none.txt") << false;
        QTest::newRow("trailing slash after a file") << std::string("{R}/dir/a.txt/") << false;
        QTest::newRow("relative") << std::string("plain.txt") << false;
        QTest::newRow("pattern that matches") << std::string("{R}/dir/*.txt") << true;
        QTest::newRow("question mark pattern") << std::string("{R}/dir/a?.jpg") << true;
        QTest::newRow("pattern that matches only hidden") << std::string("{R}/dir/.hid*") << false;
        QTest::newRow("pattern without a match") << std::string("{R}/dir/*.png") << false;
        QTest::newRow("name with a literal star") << std::string("{R}/dir/a*.jpg") << true;
        QTest::newRow("literal star naming a folder is not a pattern")
            << std::string("{R}/dir/x*") << false;
    }

    void fileExist()
    {
        QFETCH(std::string, text);
        QFETCH(bool, exists);
        const TempTree& tree = *m_tree;
        const clsFileFolder& toolkit = *m_toolkit;
        QCOMPARE(toolkit.FileExist(tree.expand(text)), exists);
    }

    void getFilePath_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<std::string>("folder");
        QTest::newRow("file") << std::string("{R}/dir/a.txt") << std::string("{R}/dir");
        QTest::newRow("folder") << std::string("{R}/dir") << std::string("{R}/dir");
        QTest::newRow("folder with trailing slash") << std::string("{R}/dir/") << std::string("{R}/dir");
        QTest::newRow("pattern") << std::string("{R}/dir/*.jpg") << std::string("{R}/dir");
        QTest::newRow("root") << std::string("/") << std::string();
        QTest::newRow("folder under the root") << std::string("/tmp") << std::string("/tmp");
        QTest::newRow("hidden file") << std::string("{R}/dir/.hidden") << std::string();
        QTest::newRow("missing") << std::string("{R}/missing/a.txt") << std::string();
    }

    void getFilePath()
    {
        QFETCH(std::string, text);
        QFETCH(std::string, folder);
        const TempTree& tree = *m_tree;
        const clsFileFolder& toolkit = *m_toolkit;
        QCOMPARE(toolkit.GetFilePath(tree.expand(text)), tree.expand(folder));
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
        QTest::newRow("name too long") << std::string("{R}/") + std::string(300, 'n') << 206 << false;
    }

    void createFolder()
    {
        QFETCH(std::string, text);
        QFETCH(std::int32_t, code);
        QFETCH(bool, existsAfter);
        const TempTree& tree = *m_tree;
        const clsFileFolder& toolkit = *m_toolkit;
        const std::string path = tree.expand(text);
        QCOMPARE(toolkit.CreateFolder(path), code);
        QCOMPARE(toolkit.FolderExist(path), existsAfter);
    }

    void createFolderRefusedIsAccessDenied()
    {
        TempTree tree;
        tree.folder("readonly");
        ::chmod(tree.path("readonly").c_str(), 0555);
        const auto code = runUnprivileged([&] {
            FakeUser user;
            const clsFileFolder toolkit(user.services());
            return std::to_string(toolkit.CreateFolder(tree.path("readonly/a/b")));
        });
        QCOMPARE(code, std::optional<std::string>("5"));
        QVERIFY(!TempTree::exists(tree.path("readonly/a")));
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
        if (tmpdir.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", tmpdir);
        FakeUser user;
        const clsFileFolder toolkit(user.services());
        const std::string folder = toolkit.GetTempFolder();
        if (saved.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", saved);
        QCOMPARE(folder, expected);
    }
};

QTEST_GUILESS_MAIN(ExistenceTest)
#include "tst_existence.moc"
