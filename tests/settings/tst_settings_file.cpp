#include "RecordingInputs.h"

#include "settings/SettingsCodec.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsWriter.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>

namespace {

const QString kTemp = QStringLiteral("/var/tmp/quorvane-temp/");
const char* const kTempChange = "destination=/var/tmp/quorvane-temp/";

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QStringList texts(std::initializer_list<const char*> utf8)
{
    QStringList list;
    for (const char* item : utf8)
        list << text(item);
    return list;
}

// What a test puts where the settings file should be.
enum class Entry { None, File, Folder };

} // namespace

Q_DECLARE_METATYPE(Entry)

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void load_data()
    {
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("changes");
        const char* const temp = kTempChange;
        const auto row = [](const char* name, const QByteArray& bytes,
                            std::initializer_list<const char*> changes) {
            QTest::newRow(name) << Entry::File << bytes << texts(changes);
        };

        QTest::newRow("no file") << Entry::None << QByteArray() << texts({temp});
        QTest::newRow("a folder in its place") << Entry::Folder << QByteArray() << texts({temp});
        row("empty file", "", {temp});
        row("saved with move", "/in\r\n/out\r\n 1 \r\njpg,png\r\n",
            {"source=/in", "destination=/out", "operation=1", "types=jpg,png"});
        row("reset form of line 3", "\r\n/tmp/\r\n0\r\njpg\r\n",
            {"source=", "destination=/tmp/", "operation=0", "types=jpg"});
        row("spaced copy", "/in\r\n/out\r\n 0 \r\njpg\r\n",
            {"source=/in", "destination=/out", "operation=0", "types=jpg"});
        row("LF only", "/in\n/out\n 2 \njpg\n",
            {"source=/in", "destination=/out", "operation=2", "types=jpg"});
        row("no final line end", "/in\r\n/out\r\n3\r\npng",
            {"source=/in", "destination=/out", "operation=3", "types=png"});
        row("empty extension line", "/in\r\n/out\r\n1\r\n\r\n",
            {"source=/in", "destination=/out", "operation=1", "types="});
        row("one line", "/in\r\n", {"source=/in", temp});
        row("two lines", "/in\r\n/out\r\n", {"source=/in", "destination=/out", temp});
        row("three lines", "/in\r\n/out\r\n 1 \r\n",
            {"source=/in", "destination=/out", "operation=1", temp});
        row("operation 7", "/in\r\n/out\r\n7\r\njpg\r\n", {"source=/in", "destination=/out", temp});
        row("operation -1", "/in\r\n/out\r\n-1\r\njpg\r\n", {"source=/in", "destination=/out", temp});
        row("operation abc", "/in\r\n/out\r\nabc\r\njpg\r\n", {"source=/in", "destination=/out", temp});
        row("operation empty", "/in\r\n/out\r\n  \r\njpg\r\n", {"source=/in", "destination=/out", temp});
        row("CP932 file", "C:\\\x8e\xca\x90\x5e\r\n/\x95\xdb\x91\xb6\r\n 1 \r\njpg\r\n",
            {"source=C:\\写真", "destination=/保存", "operation=1", "types=jpg"});
        row("UTF-8 outside CP932", "/home/café/A〜B\r\n/out/😀\r\n 0 \r\njpg\r\n",
            {"source=/home/café/A〜B", "destination=/out/😀", "operation=0", "types=jpg"});
        row("UTF-8 with byte order mark", "\xef\xbb\xbf/写真\r\n/out\r\n0\r\njpg\r\n",
            {"source=/写真", "destination=/out", "operation=0", "types=jpg"});
        row("neither UTF-8 nor CP932", "/in\x81 \r\n/out\r\n0\r\njpg\r\n", {temp});
    }

    void load()
    {
        QFETCH(Entry, entry);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, changes);
        TempTree tree;
        const std::string path = tree.path("Quorvane.qvn");
        if (entry == Entry::File)
            tree.file("Quorvane.qvn", bytes.toStdString());
        else if (entry == Entry::Folder)
            tree.folder("Quorvane.qvn");

        RecordingInputs inputs;
        LoadSettings(path, inputs, kTemp);
        QCOMPARE(inputs.changes, changes);
    }

    void saveAndLoad_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("types");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("move") << text("/in") << text("/out") << 1 << text("jpg,png")
                              << QByteArray("/in\r\n/out\r\n 1 \r\njpg,png\r\n");
        QTest::newRow("delete keeps the destination")
            << text("/in") << text("/out") << 2 << text("jpg") << QByteArray("/in\r\n/out\r\n 2 \r\njpg\r\n");
        QTest::newRow("empty texts") << text("") << text("") << 0 << text("") << QByteArray("\r\n\r\n 0 \r\n\r\n");
        QTest::newRow("Japanese names as CP932")
            << text("/写真") << text("/保存") << 3 << text("jpg")
            << QByteArray("/\x8e\xca\x90\x5e\r\n/\x95\xdb\x91\xb6\r\n 3 \r\njpg\r\n");
        QTest::newRow("lone half-width katakana as CP932")
            << text("/ﾃ") << text("/out") << 0 << text("jpg") << QByteArray("/\xc3\r\n/out\r\n 0 \r\njpg\r\n");
        QTest::newRow("wave dash as UTF-8")
            << text("/写真/A〜B") << text("/out") << 0 << text("jpg")
            << QByteArray("/写真/A〜B\r\n/out\r\n 0 \r\njpg\r\n");
        QTest::newRow("accent as UTF-8") << text("/in") << text("/café") << 1 << text("jpg")
                                         << QByteArray("/in\r\n/café\r\n 1 \r\njpg\r\n");
        QTest::newRow("katakana pair that reads as UTF-8 is kept as UTF-8")
            << text("/ﾃｽ") << text("/out") << 0 << text("jpg") << QByteArray("/ﾃｽ\r\n/out\r\n 0 \r\njpg\r\n");
    }

    void saveAndLoad()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(int, operation);
        QFETCH(QString, types);
        QFETCH(QByteArray, bytes);
        TempTree tree;
        const std::string path = tree.path("Quorvane.qvn");
        tree.file("Quorvane.qvn", "old contents that are longer than the new ones\r\n\r\n\r\n\r\n");

        RecordingInputs saved;
        saved.folders = {source, destination};
        saved.operation = operation;
        saved.fileType = types;
        SettingsWriter file(path);
        WriteSettings(file, saved);
        QCOMPARE(file.close(), 0);
        QCOMPARE(QByteArray::fromStdString(TempTree::read(path)), bytes);

        RecordingInputs loaded;
        loaded.operation = -1;
        LoadSettings(path, loaded, kTemp);
        QCOMPARE(loaded.folders[0], source);
        QCOMPARE(loaded.folders[1], destination);
        QCOMPARE(loaded.operation, operation);
        QCOMPARE(loaded.fileType, types);
    }

    void defaults()
    {
        TempTree tree;
        SettingsWriter file(tree.path("Quorvane.qvn"));
        WriteDefaultSettings(file, kTemp);
        QCOMPARE(file.close(), 0);
        QCOMPARE(TempTree::read(file.path()), "\r\n" + kTemp.toStdString() + "\r\n0\r\njpg\r\n");
    }

    void cp932RoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::newRow("ASCII with backslash and tilde") << text("C:\\a~b") << true;
        QTest::newRow("kanji and kana") << text("写真フォルダ") << true;
        QTest::newRow("full-width tilde") << text("～") << true;
        QTest::newRow("wave dash") << text("〜") << false;
        QTest::newRow("minus sign") << text("−") << false;
        QTest::newRow("accented letter") << text("é") << false;
        QTest::newRow("emoji") << text("😀") << false;
    }

    void cp932RoundTrip()
    {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        QCOMPARE(settings::toCp932(text).has_value(), fits);
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "tst_settings_file.moc"
