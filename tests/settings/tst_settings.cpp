#include "settings/SettingsFile.h"
#include "settings/SettingsInputs.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsStorage.h"
#include "settings/SettingsWriter.h"
#include "settings/frmOption.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

const QString kTemp = u"/var/tmp/quorvane-temp/"_s;
const char* const kOld = "old\r\n";
const char* const kDefaults = "\r\n/var/tmp/quorvane-temp/\r\n0\r\njpg\r\n";

// The four inputs without a window, as a user left them (delete chosen, so the destination
// is off); every change is recorded in order as "name=value", joined by "|".
struct RecordingInputs final : SettingsInputs {
    std::array<QString, 2> folders { u"/in"_s, u"/out"_s };
    int operation = 2;
    QString fileType = u"jpg,png"_s;
    bool skip = false;
    QStringList log;
    QString folderText(Folder folder) const override { return folders[folder]; }
    int selectedOperation() const override { return operation; }
    QString fileTypeText() const override { return fileType; }
    void setFolderText(Folder folder, const QString& text) override
    {
        log << (folder == Source ? u"source="_s : u"destination="_s) + (folders[folder] = text);
    }
    void selectOperation(int index) override { log << u"operation="_s + QString::number(operation = index); }
    void setFileTypeText(const QString& text) override { log << u"types="_s + (fileType = text); }
    bool skipIdentical() const override { return skip; }
    void setSkipIdentical(bool on) override { log << u"identical="_s + QString::number(skip = on); }
    QString changes() const { return log.join(u'|'); }
};

// A choice in the option dialog, then a click on OK or a key; what the settings file becomes,
// and what is shown.
const int kClickOK = 0;
struct Choice {
    int choice = 2, action = kClickOK;
    const char *file = kOld, *settingsFile = "Quorvane.qvn";
    std::string shown = {};
    int fileMode = 0644;
};

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    // What a file applies to the inputs, in order: a failed read keeps the lines already applied
    // and puts the temporary folder ({T}) in the destination; a damaged file keeps the lines
    // before the first one it cannot decode, in the encoding those lines show. Inputs written
    // back give the same bytes (CP932 only where every character survives it and the bytes
    // cannot be read as UTF-8).
    void loadAndSave_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("changes");
        QTest::addColumn<bool>("writtenBack");
        const auto row = [](const QByteArray& name, const QByteArray& bytes, const QByteArray& changes,
                             bool writtenBack = false) {
            QTest::newRow(name.constData()) << bytes << QString::fromUtf8(changes) << writtenBack;
        };
        row("spaced form", "/in\r\n/out\r\n 1 \r\njpg,png\r\n",
            "source=/in|destination=/out|operation=1|types=jpg,png", true);
        row("plain form, LF only, no final line end", "\n/out\n0\njpg",
            "source=|destination=/out|operation=0|types=jpg");
        row("two lines", "/in\r\n/out\r\n", "source=/in|destination=/out|destination={T}");
        // Only CR LF ends a line where the file has one: an LF stays in its folder name.
        row("LF inside a folder name", "/in\nside\r\n\n/out\n\r\n 1 \r\njpg\r\n",
            "source=/in\nside|destination=\n/out\n|operation=1|types=jpg", true);
        for (const QByteArray operation : { "7", "-1", "abc", "3.5", "1,0", "1 2", "", "nan", "inf", "99999" })
            row("operation " + operation, "/in\r\n/out\r\n" + operation + "\r\njpg\r\n",
                "source=/in|destination=/out|destination={T}");
        // Any decimal number is converted, a half rounded to the even neighbour.
        for (const auto& [operation, selected] : std::initializer_list<std::pair<QByteArray, char>> {
                 { "1.0", '1' }, { "  2.00  ", '2' }, { "1.5", '2' }, { "2.5", '2' }, { "0.4", '0' },
                 { "-0.2", '0' }, { "+3", '3' }, { "3e0", '3' } })
            row("operation " + operation, "/in\r\n/out\r\n" + operation + "\r\njpg\r\n",
                "source=/in|destination=/out|operation=" + QByteArray(1, selected) + "|types=jpg");
        row("NUL in a folder", "/in\r\n/o\0ut\r\n 1 \r\njpg\r\n"_ba, "source=/in|destination={T}");
        row("CP932", "C:\\\x8e\xca\x90\x5e\r\n/\x95\xdb\x91\xb6\r\n 3 \r\njpg\r\n",
            "source=C:\\写真|destination=/保存|operation=3|types=jpg", true);
        row("CP932, then a line in neither encoding",
            "C:\\\x8e\xca\x90\x5e\r\n/\x95\xdb\x91\xb6\r\n\xff\r\njpg\r\n",
            "source=C:\\写真|destination=/保存|destination={T}");
        // Lines 1 to 3 would also pass as CP932, as other characters.
        row("UTF-8, then a line in neither encoding", "/写真\r\n/A〜B\r\n\x82\xa0\r\n\xff\r\n",
            "source=/写真|destination=/A〜B|destination={T}");
        row("UTF-8 outside CP932", "/A〜B\r\n/é😀\r\n 0 \r\njpg\r\n",
            "source=/A〜B|destination=/é😀|operation=0|types=jpg", true);
        row("first line begins with U+FEFF", "\xEF\xBB\xBF\xEF\xBB\xBFx\r\n/out\r\n 0 \r\njpg\r\n",
            "source=\xEF\xBB\xBFx|destination=/out|operation=0|types=jpg", true);
        row("CP932 form would read as UTF-8", "/ﾃｽ\r\n/out\r\n 0 \r\n\r\n",
            "source=/ﾃｽ|destination=/out|operation=0|types=", true);
        // The line ends in a byte that begins a UTF-8 sequence, and all before it is UTF-8.
        row("CP932 line cut short as UTF-8", "/\xda\x87\x57\xda\r\n/out\r\n 0 \r\njpg\r\n",
            "source=/ﾚⅣﾚ|destination=/out|operation=0|types=jpg", true);
        // Only the start of a huge file is read; a line cut there is no line.
        row("far larger than four lines, fourth line cut",
            "/in\r\n/out\r\n 1 \r\n" + QByteArray(settings::kLargestSettingsFile, 'j'),
            "source=/in|destination=/out|operation=1|destination={T}");
        // The fifth line is the skipping of identical files; only a number other than 0 turns it
        // on, and nothing it holds undoes the four lines before it.
        row("fifth line on", "/in\r\n/out\r\n 1 \r\njpg\r\n 1 \r\n",
            "source=/in|destination=/out|operation=1|types=jpg|identical=1", true);
        for (const QByteArray fifth : { " 0 ", "", "yes", "\xff" })
            row("fifth line " + fifth, "/in\r\n/out\r\n 1 \r\njpg\r\n" + fifth + "\r\n",
                "source=/in|destination=/out|operation=1|types=jpg" + QByteArray(fifth == "\xff" ? "" : "|identical=0"));
        row("far larger than four lines, all four at its start",
            "/in\r\n/out\r\n 1 \r\njpg\r\n" + QByteArray(settings::kLargestSettingsFile, '\n'),
            "source=/in|destination=/out|operation=1|types=jpg");
    }

    void loadAndSave()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, changes);
        QFETCH(bool, writtenBack);
        TempTree tree;
        const std::string path = tree.file("Quorvane.qvn", bytes.toStdString());
        RecordingInputs inputs;
        LoadSettings(path, inputs, kTemp);
        QCOMPARE(inputs.changes(), changes.replace(u"{T}"_s, kTemp));
        SettingsWriter file(
            tree.file("Quorvane.qvn", "older contents, longer than the new ones\r\n\r\n\r\n\r\n"));
        WriteSettings(file, inputs);
        QCOMPARE(file.close(), 0);
        if (writtenBack)
            QCOMPARE(QByteArray::fromStdString(TempTree::read(path)), bytes);
    }

    // Something else in the file's place reads as no file, at once: a FIFO (nobody writes to
    // it), a device behind a link.
    void notAFile()
    {
        TempTree tree;
        const std::string fifo = tree.path("fifo.qvn");
        QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        for (const std::string& path : { fifo, tree.link("device.qvn", "/dev/zero") }) {
            RecordingInputs inputs;
            ::alarm(20); // a reader that blocks ends the test instead of hanging it
            LoadSettings(path, inputs, kTemp);
            ::alarm(0);
            QCOMPARE(inputs.changes(), u"destination="_s + kTemp);
        }
    }

    // A file up to the size limit is read whole; beyond it, only up to the limit.
    void sizeLimit()
    {
        TempTree tree;
        for (const std::size_t size : { settings::kLargestSettingsFile, settings::kLargestSettingsFile + 1 }) {
            const std::optional<settings::FileStart> start =
                settings::readFileStart(tree.file("Quorvane.qvn", std::string(size, 'x')));
            QVERIFY(start);
            QCOMPARE(start->bytes.size(), settings::kLargestSettingsFile);
            QCOMPARE(start->whole, size == settings::kLargestSettingsFile);
        }
    }

    // Beside the program in the portable layout; once installed, in the configuration folder
    // ($XDG_CONFIG_HOME, else ~/.config), unless a file already sits beside the program.
    void location()
    {
        TempTree tree;
        const std::string bin = tree.folder("bin"), config = tree.path("config"), home = tree.path("home");
        const auto path = [&](settings::Layout layout, const char* xdgConfigHome) {
            return settings::settingsFilePath(layout, bin, xdgConfigHome, home.c_str());
        };
        QCOMPARE(path(settings::Layout::Portable, config.c_str()), bin + "/Quorvane.qvn");
        QCOMPARE(path(settings::Layout::Installed, config.c_str()), config + "/Quorvane/Quorvane.qvn");
        QCOMPARE(path(settings::Layout::Installed, nullptr), home + "/.config/Quorvane/Quorvane.qvn");
        tree.file("bin/Quorvane.qvn", kOld);
        QCOMPARE(path(settings::Layout::Installed, config.c_str()), bin + "/Quorvane.qvn");
    }

    // A save replaces the file whole, or, when it fails or is cut off half-way, leaves the old
    // one as it was: missing folders are made, a link and the file's permissions are kept, and
    // nothing is left beside it.
    void save_data()
    {
        QTest::addColumn<std::string>("settingsFile");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<int>("error");
        const std::string file = "data/Quorvane.qvn";
        QTest::newRow("missing folders made")
            << std::string("home/.config/Quorvane/Quorvane.qvn") << 0640 << 0;
        QTest::newRow("through a link") << std::string("data/link.qvn") << 0640 << 0;
        QTest::newRow("read-only folder and file") << file << 0640 << EACCES;
        // A rename would replace it, and root could write it: the protection is looked at.
        QTest::newRow("write-protected file, saved by root") << file << 0444 << EACCES;
        QTest::newRow("write-protected file, saved by another user") << file << 0444 << EACCES;
        // Written in place: the folder takes no new file, but the file may be written.
        QTest::newRow("read-only folder, writable file") << file << 0666 << 0;
        QTest::newRow("cut off by the file size limit") << file << 0666 << EFBIG;
    }

    void save()
    {
        QFETCH(std::string, settingsFile);
        QFETCH(int, fileMode);
        QFETCH(int, error);
        TempTree tree;
        fs::permissions(tree.file("data/Quorvane.qvn", kOld), fs::perms(fileMode));
        tree.link("data/link.qvn", "Quorvane.qvn");
        const bool readOnlyFolder = QByteArray(QTest::currentDataTag()).startsWith("read-only folder");
        const bool byRoot = QByteArray(QTest::currentDataTag()).endsWith("by root");
        fs::permissions(tree.path("data"), fs::perms(readOnlyFolder ? 0555 : 0777));
        const std::string contents(4096, 'x'), path = tree.path(settingsFile);
        const auto save = [&] {
            const rlimit limit { 20, 20 };
            if (error == EFBIG
                && (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit)))
                return std::string("no file size limit");
            return std::to_string(settings::replaceWholeFile(path, contents));
        };
        // Failures run in a child: root ignores permissions, and the limit must not reach this process.
        const bool inChild = !byRoot && (error || readOnlyFolder);
        QCOMPARE(inChild ? runUnprivileged(save).value_or("(child failed)") : save(), std::to_string(error));
        QCOMPARE(TempTree::read(path), error ? kOld : contents);
        QCOMPARE(namesIn(tree.path("data")), (Strings { "Quorvane.qvn", "link.qvn" }));
        QVERIFY(fs::is_symlink(tree.path("data/link.qvn")));
        QCOMPARE(fs::status(tree.path("data/Quorvane.qvn")).permissions(), fs::perms(fileMode));
    }

    // The option dialog: OK's choices, Enter and Escape, and a failed save. None of them
    // changes the inputs; the dialog is only hidden and keeps its choice.
    void optionDialog_data()
    {
        QTest::addColumn<Choice>("row");
        const auto add = [](const char* name, const Choice& row) { QTest::newRow(name) << row; };
        add("OK saves the inputs", { .choice = 0, .file = "/in\r\n/out\r\n 2 \r\njpg,png\r\n" });
        add("Enter presses OK", { .choice = 1, .action = Qt::Key_Return, .file = kDefaults });
        add("Escape does nothing", { .choice = 1, .action = Qt::Key_Escape });
        add("failed save reported, nothing reset",
            { .settingsFile = "Quorvane.qvn/Quorvane.qvn",
                .shown = "設定ファイルを保存できません\n{R}/Quorvane.qvn/Quorvane.qvn\n"
                    + std::string(std::strerror(ENOTDIR)) });
        add("write-protected file kept, dialog stays open",
            { .choice = 1,
                .shown = "設定ファイルを保存できません\n{R}/Quorvane.qvn\n" + std::string(std::strerror(EACCES)),
                .fileMode = 0444 });
    }

    // The check box shows the window's setting each time the dialog comes up; OK stores it on
    // the fifth line and sets it in the window, a reset of the window turns it off, Cancel leaves
    // it, and a failed save changes nothing.
    void skipIdenticalBox_data()
    {
        QTest::addColumn<bool>("before");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("settingsFile");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("changes");
        const QByteArray inputs = "/in\r\n/out\r\n 2 \r\njpg,png\r\n";
        const QString save = u"Quorvane.qvn"_s;
        QTest::newRow("turned on and saved") << false << 0 << u"cmdOKCancel_0"_s << save << inputs + " 1 \r\n"
                                             << u"identical=1"_s;
        QTest::newRow("turned off and saved") << true << 0 << u"cmdOKCancel_0"_s << save << inputs << u"identical=0"_s;
        QTest::newRow("turned on, file reset") << false << 1 << u"cmdOKCancel_0"_s << save << QByteArray(kDefaults)
                                               << u"identical=1"_s;
        QTest::newRow("turned on, window reset")
            << false << 2 << u"cmdOKCancel_0"_s << save << QByteArray(kDefaults)
            << u"identical=1|source=|destination=/var/tmp/quorvane-temp/|operation=0|types=jpg|identical=0"_s;
        QTest::newRow("turned on, cancelled") << false << 0 << u"cmdOKCancel_1"_s << save << QByteArray(kOld) << QString();
        QTest::newRow("turned on, save failed")
            << false << 0 << u"cmdOKCancel_0"_s << u"Quorvane.qvn/Quorvane.qvn"_s << QByteArray(kOld) << QString();
    }

    void skipIdenticalBox()
    {
        QFETCH(bool, before);
        QFETCH(int, choice);
        QFETCH(QString, button);
        QFETCH(QString, settingsFile);
        QFETCH(QByteArray, file);
        QFETCH(QString, changes);
        TempTree tree;
        tree.file("Quorvane.qvn", kOld);
        RecordingInputs inputs;
        inputs.skip = before;
        FakeUser user;
        frmOption dialog { { inputs, kTemp, tree.path(settingsFile.toStdString()), user } };
        dialog.show();
        auto* box = dialog.findChild<QCheckBox*>(u"chkSkipIdentical"_s);
        QCOMPARE(box->text(), u"同じ内容のファイルは省略する"_s);
        QCOMPARE(box->isChecked(), before);
        QTest::mouseClick(dialog.findChild<QRadioButton*>(u"optOption_%1"_s.arg(choice)), Qt::LeftButton);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(QByteArray::fromStdString(TempTree::read(tree.path("Quorvane.qvn"))), file);
        QCOMPARE(inputs.changes(), changes);
        // Shown again, the box tells what the window does now.
        dialog.hide();
        dialog.show();
        QCOMPARE(box->isChecked(), inputs.skip);
    }

    void optionDialog()
    {
        QFETCH(Choice, row);
        TempTree tree;
        fs::permissions(tree.file("Quorvane.qvn", kOld), fs::perms(row.fileMode));
        RecordingInputs inputs;
        FakeUser user;
        frmOption dialog { { inputs, kTemp, tree.path(row.settingsFile), user } };
        dialog.show();
        auto* option = dialog.findChild<QRadioButton*>(u"optOption_%1"_s.arg(row.choice));
        QTest::mouseClick(option, Qt::LeftButton);
        if (row.action == kClickOK)
            QTest::mouseClick(dialog.findChild<QPushButton*>(u"cmdOKCancel_0"_s), Qt::LeftButton);
        else
            QTest::keyClick(option, Qt::Key(row.action));
        QCOMPARE(TempTree::read(tree.path("Quorvane.qvn")), std::string(row.file));
        QCOMPARE(inputs.changes(), QString());
        QCOMPARE(user.shown, row.shown.empty() ? Strings() : Strings { tree.expand(row.shown) });
        QCOMPARE(dialog.isVisible(), row.action == Qt::Key_Escape || !row.shown.empty());
        QVERIFY(option->isChecked() && !dialog.isUnloadRequested());
    }
};

QUORVANE_GUI_TEST_MAIN(SettingsTest)
#include "tst_settings.moc"
