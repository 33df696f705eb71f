#include "settings/SettingsLocation.h"
#include "settings/SettingsStorage.h"
#include "settings/SettingsWriter.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"

#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kOld = "/old/in\r\n/old/out\r\n 1 \r\njpg\r\n";

std::string expand(std::string text, const std::string& root)
{
    for (std::size_t at; (at = text.find("{R}")) != std::string::npos;)
        text.replace(at, 3, root);
    return text;
}

// Names in the folder other than the settings file: leftovers of a save.
QStringList strayEntries(const std::string& folder)
{
    QStringList names = QDir(QString::fromStdString(folder))
                            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("Quorvane.qvn"));
    return names;
}

} // namespace

Q_DECLARE_METATYPE(settings::Layout)

class SettingsStorageTest : public QObject {
    Q_OBJECT

private slots:
    void location_data()
    {
        QTest::addColumn<settings::Layout>("layout");
        QTest::addColumn<bool>("fileBesideProgram");
        QTest::addColumn<std::string>("xdgConfigHome");
        QTest::addColumn<std::string>("home");
        QTest::addColumn<std::string>("expected");
        using settings::Layout;
        const std::string beside = "{R}/bin/Quorvane.qvn";
        QTest::newRow("portable") << Layout::Portable << false << std::string("{R}/config")
                                  << std::string("{R}/home") << beside;
        QTest::newRow("installed, configuration folder set")
            << Layout::Installed << false << std::string("{R}/config") << std::string("{R}/home")
            << std::string("{R}/config/Quorvane/Quorvane.qvn");
        QTest::newRow("installed, configuration folder unset")
            << Layout::Installed << false << std::string() << std::string("{R}/home")
            << std::string("{R}/home/.config/Quorvane/Quorvane.qvn");
        QTest::newRow("installed, relative configuration folder ignored")
            << Layout::Installed << false << std::string("config") << std::string("{R}/home")
            << std::string("{R}/home/.config/Quorvane/Quorvane.qvn");
        QTest::newRow("installed, a file beside the program wins")
            << Layout::Installed << true << std::string("{R}/config") << std::string("{R}/home")
            << beside;
    }

    void location()
    {
        QFETCH(settings::Layout, layout);
        QFETCH(bool, fileBesideProgram);
        QFETCH(std::string, xdgConfigHome);
        QFETCH(std::string, home);
        QFETCH(std::string, expected);
        TempTree tree;
        tree.folder("bin");
        if (fileBesideProgram)
            tree.file("bin/Quorvane.qvn", kOld);
        const std::string config = expand(xdgConfigHome, tree.root());
        const std::string homeFolder = expand(home, tree.root());
        QCOMPARE(settings::settingsFilePath(layout, tree.path("bin"),
                                            config.empty() ? nullptr : config.c_str(),
                                            homeFolder.empty() ? nullptr : homeFolder.c_str()),
                 expand(expected, tree.root()));
    }

    void builtLayoutIsPortableInTheBuildTree()
    {
        // The tests run from the build tree, which is the portable layout.
        QCOMPARE(settings::settingsFilePath(),
                 settings::programFolder() + "/Quorvane.qvn");
    }

    void replace_data()
    {
        QTest::addColumn<std::string>("settingsFile");
        QTest::addColumn<std::string>("fileRead");
        QTest::newRow("new file") << std::string("{R}/data/Quorvane.qvn")
                                  << std::string("{R}/data/Quorvane.qvn");
        QTest::newRow("missing configuration folders made")
            << std::string("{R}/home/.config/Quorvane/Quorvane.qvn")
            << std::string("{R}/home/.config/Quorvane/Quorvane.qvn");
        QTest::newRow("through a link") << std::string("{R}/data/link.qvn")
                                        << std::string("{R}/data/Quorvane.qvn");
    }

    void replace()
    {
        QFETCH(std::string, settingsFile);
        QFETCH(std::string, fileRead);
        TempTree tree;
        tree.file("data/Quorvane.qvn", kOld);
        ::chmod(tree.path("data/Quorvane.qvn").c_str(), 0640);
        tree.link("data/link.qvn", "Quorvane.qvn");
        const std::string path = expand(settingsFile, tree.root());
        const std::string contents = "\r\n/tmp/\r\n0\r\njpg\r\n";

        QCOMPARE(settings::replaceWholeFile(path, contents), 0);
        QCOMPARE(TempTree::read(expand(fileRead, tree.root())), contents);
        QCOMPARE(settings::readWholeFile(path).value_or("(unreadable)"), contents);
        QCOMPARE(strayEntries(tree.path("data")), QStringList{QStringLiteral("link.qvn")});
        struct stat info {};
        QCOMPARE(::lstat(tree.path("data/link.qvn").c_str(), &info), 0);
        QVERIFY(S_ISLNK(info.st_mode));
        QCOMPARE(::stat(tree.path("data/Quorvane.qvn").c_str(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0640));
    }

    void failedSaveKeepsOldFile_data()
    {
        QTest::addColumn<int>("fileSizeLimit");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("error");
        QTest::newRow("read-only folder") << -1 << 0555 << EACCES;
        QTest::newRow("interrupted by the file size limit") << 20 << 0777 << EFBIG;
    }

    void failedSaveKeepsOldFile()
    {
        QFETCH(int, fileSizeLimit);
        QFETCH(int, folderMode);
        QFETCH(int, error);
        TempTree tree;
        const std::string path = tree.file("data/Quorvane.qvn", kOld);
        ::chmod(tree.path("data").c_str(), static_cast<mode_t>(folderMode));

        // Root ignores permissions, and the size limit must not reach this process.
        const std::optional<std::string> result = runUnprivileged([&] {
            if (fileSizeLimit >= 0) {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            return std::to_string(settings::replaceWholeFile(path, std::string(4096, 'x')));
        });
        QCOMPARE(result.value_or("(child failed)"), std::to_string(error));
        QCOMPARE(TempTree::read(path), kOld);
        QCOMPARE(strayEntries(tree.path("data")), QStringList());
    }

    void failureMessageNamesFileAndReason()
    {
        const SettingsWriter file("/opt/quorvane/Quorvane.qvn");
        QCOMPARE(file.failureMessage(EACCES),
                 "設定ファイルを保存できません\n/opt/quorvane/Quorvane.qvn\n"
                     + std::string(std::strerror(EACCES)));
    }
};

QTEST_GUILESS_MAIN(SettingsStorageTest)
#include "tst_settings_storage.moc"
