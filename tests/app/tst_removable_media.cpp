// Runs onto real FAT32, exFAT and NTFS images mounted through FUSE, as a USB stick or an
// SD card is: names fitted to what the destination holds, numbering over the fitted
// names, the free space checked before the first byte, files FAT32 cannot hold, and
// undo on file systems with coarse times. Skipped where images cannot be mounted,
// unless QUORVANE_REQUIRE_FUSE is set (as in continuous integration).
#include "support/MountedImage.h"
#include "support/ProgramRun.h"
#include "support/TempTree.h"

#include <QtTest>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArrayList namesIn(const std::string& folder)
{
    QByteArrayList names;
    if (DIR* listing = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(listing))
            if (entry->d_name[0] != '.')
                names.append(entry->d_name);
        ::closedir(listing);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void sparseFile(const std::string& path, off_t bytes)
{
    const int descriptor = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    QVERIFY(descriptor >= 0 && ::ftruncate(descriptor, bytes) == 0);
    ::close(descriptor);
}

} // namespace

#define MOUNT_OR_SKIP(image)                                                                        \
    if ((image).mountPoint().empty()) {                                                            \
        if (qEnvironmentVariableIsSet("QUORVANE_REQUIRE_FUSE"))                                    \
            QFAIL((image).why().c_str());                                                          \
        QSKIP((image).why().c_str());                                                              \
    }

class RemovableMediaTest : public QObject {
    Q_OBJECT

private slots:
    void fittedNames_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArrayList>("files");    // under src/, each holding its own path
        QTest::addColumn<QByteArrayList>("existing"); // already in the destination
        QTest::addColumn<QString>("types");
        QTest::addColumn<QByteArrayList>("expected"); // the destination afterwards
        QTest::addColumn<QString>("saying");          // part of standard error
        const QByteArray longName = QByteArray("長").repeated(83); // 249 bytes: 83 UTF-16 units
        QTest::newRow("exFAT: refused characters become fullwidth")
            << u"exfat"_s << QByteArrayList{"a/x?.jpg", "a/a<b>c|d.jpg", "a/q\"u:*\\.jpg"} << QByteArrayList{} << u"jpg"_s
            << QByteArrayList{"a＜b＞c｜d.jpg", "q＂u：＊＼.jpg", "x？.jpg"} << u"名前を変えたファイル: 3"_s;
        QTest::newRow("exFAT: trailing dots and spaces go")
            << u"exfat"_s << QByteArrayList{"a/notes.", "a/sp ."} << QByteArrayList{} << u"."_s
            << QByteArrayList{"notes", "sp"} << QString();
        QTest::newRow("exFAT: control characters, bytes that are not UTF-8")
            << u"exfat"_s << QByteArrayList{"a/t\x01.jpg", "a/caf\xe9.jpg"} << QByteArrayList{} << u"jpg"_s
            << QByteArrayList{"caf\xef\xbf\xbd.jpg", "t_.jpg"} << QString();
        QTest::newRow("exFAT: two names fitted to one, and onto an existing name")
            << u"exfat"_s << QByteArrayList{"a/x?.jpg", "b/x？.jpg"} << QByteArrayList{"x？.jpg"} << u"jpg"_s
            << QByteArrayList{"x？.jpg", "x？_001.jpg", "x？_002.jpg"} << QString();
        QTest::newRow("exFAT: case folded")
            << u"exfat"_s << QByteArrayList{"a/a.jpg", "b/A.JPG"} << QByteArrayList{} << u"jpg"_s
            << QByteArrayList{"A_001.JPG", "a.jpg"} << QString();
        QTest::newRow("exFAT: long Japanese names are measured in UTF-16 units")
            << u"exfat"_s << QByteArrayList{"a/" + longName + ".jpg", "b/" + longName + ".jpg"} << QByteArrayList{}
            << u"jpg"_s << QByteArrayList{longName + ".jpg", longName + "_001.jpg"} << QString();
        QTest::newRow("FAT32: case folded, control character")
            << u"vfat"_s << QByteArrayList{"a/a.jpg", "b/A.JPG", "a/t\x02.jpg"} << QByteArrayList{} << u"jpg"_s
            << QByteArrayList{"A_001.JPG", "a.jpg", "t_.jpg"} << QString();
        // fusefat takes ASCII names only: the failure must name the name, not a missing file.
        QTest::newRow("FAT32 by fusefat: a name it refuses")
            << u"vfat"_s << QByteArrayList{"a/x?.jpg"} << QByteArrayList{} << u"jpg"_s << QByteArrayList{}
            << u"保存先のファイル システムがこの名前を受け付けません。"_s;
        QTest::newRow("NTFS: case kept")
            << u"ntfs"_s << QByteArrayList{"a/a.jpg", "b/A.JPG"} << QByteArrayList{} << u"jpg"_s
            << QByteArrayList{"A.JPG", "a.jpg"} << QString();
        QTest::newRow("NTFS: refused characters become fullwidth")
            << u"ntfs"_s << QByteArrayList{"a/x?.jpg", "b/x?.jpg"} << QByteArrayList{} << u"jpg"_s
            << QByteArrayList{"x？.jpg", "x？_001.jpg"} << QString();
    }

    void fittedNames()
    {
        QFETCH(QString, type);
        QFETCH(QByteArrayList, files);
        QFETCH(QByteArrayList, existing);
        QFETCH(QString, types);
        QFETCH(QByteArrayList, expected);
        QFETCH(QString, saying);
        TempTree tree;
        const MountedImage image(tree.root(), type.toStdString(), 40);
        MOUNT_OR_SKIP(image);
        for (const QByteArray& file : files)
            tree.file("src/" + file.toStdString(), file.toStdString());
        for (const QByteArray& name : existing)
            tree.file(type.toStdString() + "/" + name.toStdString(), "there before");
        const QStringList arguments{u"copy"_s, QString::fromStdString(tree.path("src")),
                                    QString::fromStdString(image.mountPoint()), u"-t"_s, types};
        const ProgramResult plan = runProgram(tree, arguments + QStringList{u"--dry-run"_s});
        QCOMPARE(namesIn(image.mountPoint()).size(), existing.size()); // the dry run wrote nothing
        const ProgramResult result = runProgram(tree, arguments);
        QCOMPARE(namesIn(image.mountPoint()), expected);
        const bool allCopied = expected.size() - existing.size() == files.size();
        QCOMPARE(result.exit, allCopied ? 0 : 1);
        QVERIFY2(result.err.contains(saying), qPrintable(result.err));
        // Each copy holds its original's path: the right file went under each name.
        QByteArrayList copied, sources = files;
        for (const QByteArray& name : expected)
            if (!existing.contains(name))
                copied << QByteArray::fromStdString(TempTree::read(image.mountPoint() + "/" + name.toStdString()));
        std::sort(copied.begin(), copied.end());
        std::sort(sources.begin(), sources.end());
        if (allCopied) {
            QCOMPARE(copied, sources);
            // What the dry run said is what the run did, line for line.
            QCOMPARE(plan.out, result.out);
        }
    }

    void whatTheDestinationCannotHold_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("megabytes");        // of the image
        QTest::addColumn<qint64>("bigBytes");      // a sparse file beside a small one
        QTest::addColumn<QByteArrayList>("expected");
        QTest::addColumn<QString>("saying");
        // 4 GiB is one byte more than a FAT32 file holds: only that file is left out.
        QTest::newRow("FAT32, a file of 4 GiB") << u"vfat"_s << 40 << (qint64(4) << 30) << QByteArrayList{"small.jpg"}
                                                << u"4 GB 以上のファイルを保存できない"_s;
        // Too little space: the question is answered no, and nothing is written at all.
        QTest::newRow("exFAT, too small") << u"exfat"_s << 8 << (qint64(20) << 20) << QByteArrayList{}
                                          << u"保存先の空き容量が足りません（必要 20.0 MB、空き "_s;
    }

    void whatTheDestinationCannotHold()
    {
        QFETCH(QString, type);
        QFETCH(int, megabytes);
        QFETCH(qint64, bigBytes);
        QFETCH(QByteArrayList, expected);
        QFETCH(QString, saying);
        TempTree tree;
        const MountedImage image(tree.root(), type.toStdString(), megabytes);
        MOUNT_OR_SKIP(image);
        tree.file("src/small.jpg", "small");
        sparseFile(tree.path("src/big.jpg"), bigBytes);
        const QStringList arguments{u"copy"_s, QString::fromStdString(tree.path("src")),
                                    QString::fromStdString(image.mountPoint()), u"--yes"_s};
        const ProgramResult result = runProgram(tree, arguments);
        QCOMPARE(result.exit, 1);
        QVERIFY2(result.err.contains(saying), qPrintable(result.err));
        QCOMPARE(namesIn(image.mountPoint()), expected);
    }

    // A move from ext4 onto the stick, and the undo of a copy onto FAT32, whose times
    // are kept to two seconds and whose change times prove nothing.
    void undoOnRemovableMedia_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("operation");
        QTest::newRow("move to exFAT") << u"exfat"_s << u"move"_s;
        QTest::newRow("copy to FAT32") << u"vfat"_s << u"copy"_s;
    }

    void undoOnRemovableMedia()
    {
        QFETCH(QString, type);
        QFETCH(QString, operation);
        TempTree tree;
        const MountedImage image(tree.root(), type.toStdString(), 40);
        MOUNT_OR_SKIP(image);
        const std::string odd = type == u"vfat"_s ? "b/t\x01.jpg" : "b/x?.jpg";
        tree.file("src/a/a.jpg", "first");
        tree.file("src/" + odd, "second");
        const QString source = QString::fromStdString(tree.path("src"));
        QCOMPARE(runProgram(tree, {operation, source, QString::fromStdString(image.mountPoint()), u"-q"_s}).exit, 0);
        QCOMPARE(namesIn(image.mountPoint()).size(), 2);
        QCOMPARE(TempTree::exists(tree.path("src/a/a.jpg")), operation == u"copy"_s);
        const ProgramResult undone = runProgram(tree, {u"undo"_s, u"--yes"_s});
        QVERIFY2(undone.exit == 0, qPrintable(undone.err));
        QCOMPARE(namesIn(image.mountPoint()), QByteArrayList{});
        QCOMPARE(TempTree::read(tree.path("src/a/a.jpg")), std::string("first"));
        QCOMPARE(TempTree::read(tree.path("src/" + odd)), std::string("second"));
    }
};

QTEST_GUILESS_MAIN(RemovableMediaTest)
#include "tst_removable_media.moc"
