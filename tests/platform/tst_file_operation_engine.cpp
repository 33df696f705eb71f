#include "platform/FileOperationEngine.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/HomeTrash.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"

#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;
using platform::FileOperationCode;
namespace flag = platform::operation_flags;

namespace {

// `first`, or a tree on another file system when `across`; null when there is none.
std::unique_ptr<TempTree> placeFor(const TempTree& first, bool across)
{
    return across ? TempTree::onOtherFileSystem(first) : std::make_unique<TempTree>();
}

} // namespace

class FileOperationEngineTest : public QObject {
    Q_OBJECT

private slots:
    void interruptedCopyLeavesNothing_data()
    {
        QTest::addColumn<bool>("unnamed");
        QTest::addColumn<bool>("replacing");
        QTest::addColumn<std::string>("event");
        QTest::addColumn<bool>("across");
        QTest::addColumn<bool>("folder");
        for (const bool unnamed : { true, false })
            for (const bool replacing : { false, true })
                for (const char* event : { "full at block 1", "full at block 2", "cancel at block 2" })
                    QTest::addRow("%s, %s, %s", unnamed ? "unnamed file" : "hidden temporary name",
                        replacing ? "replacing" : "new name", event) << unnamed << replacing << std::string(event) << false << false;
        for (const bool folder : { false, true }) {
            const char* what = folder ? "folder" : "file";
            QTest::addRow("%s moved to another file system, full", what) << true << false << "full at block 2"s << true << folder;
            QTest::addRow("%s moved to another file system, cancel", what) << true << !folder << "cancel at block 2"s << true << folder;
        }
        QTest::newRow("folder copy, full at a later file") << true << false << "full at block 3"s << false << true;
        QTest::newRow("folder copy, cancel") << false << false << "cancel at block 2"s << false << true;
    }

    // Whatever stops a copy, the destination folder holds what it held before, a file that was to
    // be replaced is still whole, and the source of a move is kept.
    void interruptedCopyLeavesNothing()
    {
        QFETCH(bool, unnamed);
        QFETCH(bool, replacing);
        QFETCH(std::string, event);
        QFETCH(bool, across);
        QFETCH(bool, folder);
        const bool cancel = event.starts_with("cancel");
        TempTree tree;
        const std::unique_ptr<TempTree> other = placeFor(tree, across);
        if (!other)
            QSKIP("no second file system at /dev/shm on this machine");
        const std::string file = tree.file("in/big.bin", std::string(9 * 1024 * 1024, 'b')); // two blocks
        if (folder)
            tree.file("in/small.txt", "s");
        const std::string source = folder ? tree.path("in") : file;
        const std::string to = other->path("out/big.bin"); // outlives the request, which only views it
        other->file("out/other.txt", "other");
        if (replacing)
            other->file("out/big.bin", "old");
        FakeUser user;
        user.operations.answers = { "スキップ" };
        const platform::FileOperationSeams seams { !unnamed, [&, blocks = 0]() mutable {
                                                      if (++blocks != event.back() - '0')
                                                          return 0;
                                                      user.operations.cancelPressed = cancel;
                                                      return cancel ? 0 : ENOSPC;
                                                  } };
        platform::FileOperationRequest request { across ? FileOperationCode::Move : FileOperationCode::Copy,
            source, to, flag::kNoConfirmation, 0, {} };
        const platform::FileOperationOutcome outcome = platform::runFileOperation(request, user.operations, seams);
        QCOMPARE(std::pair(outcome.result != 0, outcome.stopRequested), std::pair(true, cancel));
        QCOMPARE(everythingIn(other->path("out")), (replacing ? Strings { "big.bin=old", "other.txt=other" } : Strings { "other.txt=other" }));
        QCOMPARE(TempTree::read(file).size(), std::size_t(9 * 1024 * 1024));
        QCOMPARE(user.operations.shown, cancel ? Strings {} : Strings { "「" + source + "」 を" + (across ? "移動" : "コピー") + "できません。\n\nディスクの空き領域が不足しています。" });
    }

    void folderCopyKeepsEverything_data()
    {
        QTest::addColumn<bool>("move");
        QTest::newRow("copy") << false;
        QTest::newRow("move to another file system") << true;
    }

    // Files, links (as links), Japanese and non-UTF-8 names, permission bits and times all arrive;
    // a move removes the source only then.
    void folderCopyKeepsEverything()
    {
        QFETCH(bool, move);
        TempTree tree;
        const std::unique_ptr<TempTree> other = placeFor(tree, move);
        if (!other)
            QSKIP("no second file system at /dev/shm on this machine");
        tree.file("in/tree/写真.jpg", "a");
        tree.file("in/tree/sub/\xff.bin", "b");
        tree.link("in/tree/link", "写真.jpg");
        const struct timespec times[2] = { { 1'000'000'000, 0 }, { 1'000'000'000, 0 } };
        for (const char* name : { "in/tree/写真.jpg", "in/tree/sub", "in/tree" })
            QVERIFY(::utimensat(AT_FDCWD, tree.path(name).c_str(), times, 0) == 0);
        QVERIFY(::chmod(tree.path("in/tree/sub").c_str(), 0555) == 0 && ::chmod(tree.path("in/tree/写真.jpg").c_str(), 0640) == 0);
        const Strings before = everythingIn(tree.path("in"));
        FakeUser user;
        const std::string source = tree.path("in/tree"), out = other->folder("out");
        platform::FileOperationRequest request { move ? FileOperationCode::Move : FileOperationCode::Copy, source, out, 0, 0, {} };
        QCOMPARE(platform::runFileOperation(request, user.operations).result, 0);
        QCOMPARE(everythingIn(other->path("out")), before);
        QCOMPARE(namesIn(tree.path("in")), move ? Strings {} : Strings { "tree" });
        struct stat sub {}, file {}, top {}, link {};
        QVERIFY(::stat(other->path("out/tree/sub").c_str(), &sub) == 0 && ::stat(other->path("out/tree/写真.jpg").c_str(), &file) == 0);
        QVERIFY(::stat(other->path("out/tree").c_str(), &top) == 0 && ::lstat(other->path("out/tree/link").c_str(), &link) == 0);
        QCOMPARE(std::tuple(sub.st_mode & 07777, file.st_mode & 07777, S_ISLNK(link.st_mode)), std::tuple(0555u, 0640u, true));
        QCOMPARE(std::tuple(sub.st_mtim.tv_sec, file.st_mtim.tv_sec, top.st_mtim.tv_sec), std::tuple(std::time_t(1'000'000'000), std::time_t(1'000'000'000), std::time_t(1'000'000'000)));
        QCOMPARE(user.operations.shown, Strings {});
    }

    void neverReplace_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("across");
        QTest::addColumn<bool>("takenFirst");
        for (const char* mode : { "copy", "move", "move to another file system" })
            for (const bool takenFirst : { true, false })
                QTest::addRow("%s, name taken %s", mode, takenFirst ? "before the look" : "at the moment of placing")
                    << int(*mode == 'c' ? FileOperationCode::Copy : FileOperationCode::Move) << (mode[4] == ' ') << takenFirst;
    }

    // With the guard a taken name is never replaced, whatever the option bits, and nothing is asked:
    // the item is left undone for the caller to choose another name.
    void neverReplace()
    {
        QFETCH(int, code);
        QFETCH(bool, across);
        QFETCH(bool, takenFirst);
        TempTree tree;
        const std::unique_ptr<TempTree> other = placeFor(tree, across);
        if (!other)
            QSKIP("no second file system at /dev/shm on this machine");
        const std::string source = tree.file("in/a.txt", "new"), to = other->path("out/a.txt");
        other->folder("out");
        if (takenFirst)
            other->file("out/a.txt", "other");
        FakeUser user;
        user.operations.answers = { "すべてに「はい」" };
        user.operations.onItem = [&](int) { other->file("out/a.txt", "other"); };
        platform::FileOperationRequest request { FileOperationCode(code), source, to, flag::kNoConfirmation, 0, { true, false } };
        const platform::FileOperationOutcome outcome = platform::runFileOperation(request, user.operations);
        QCOMPARE(std::tuple(outcome.result, outcome.destinationTaken, outcome.stopRequested), std::tuple(183, true, false));
        QCOMPARE(everythingIn(other->path("out")), Strings { "a.txt=other" });
        QCOMPARE(TempTree::read(source), "new"s);
        QCOMPARE(user.operations.shown, Strings {});
    }

    void nonFoldersOnly_data()
    {
        QTest::addColumn<bool>("trash");
        QTest::addColumn<bool>("link");
        for (const bool trash : { false, true })
            for (const bool link : { false, true })
                QTest::addRow("%s, %s", trash ? "trash" : "delete", link ? "link to a folder" : "folder") << trash << link;
    }

    // With the guard a folder is left whole (and out of the trash) and reported; a link to one is
    // removed as a link.
    void nonFoldersOnly()
    {
        QFETCH(bool, trash);
        QFETCH(bool, link);
        TempTree tree;
        const HomeTrash home(tree.path("data"));
        tree.file("dir/sub/inside.txt", "keep");
        const std::string entry = link ? tree.link("dir/link", "sub") : tree.path("dir/sub");
        FakeUser user;
        user.operations.answers = { "スキップ" };
        platform::FileOperationRequest request { FileOperationCode::Delete, entry, {},
            std::uint16_t(flag::kNoConfirmation | (trash ? flag::kAllowUndo : 0)), 0, { false, true } };
        QCOMPARE(platform::runFileOperation(request, user.operations).result != 0, !link);
        QCOMPARE(everythingIn(tree.path("dir")), (Strings { "sub/", "sub/inside.txt=keep" }));
        QCOMPARE(namesIn(home.files()), link && trash ? Strings { "link" } : Strings {});
        QCOMPARE(user.operations.shown, link ? Strings {} : Strings { "「" + entry + "」 を" + (trash ? "ごみ箱に移動" : "削除") + "できません。\n\n同じ名前のフォルダーがあります。" });
    }

    void refusedByPermission_data()
    {
        QTest::addColumn<std::string>("from");
        QTest::addColumn<std::string>("message");
        QTest::addColumn<Strings>("arrived");
        QTest::newRow("file in a read-only folder") << "a.txt"s << "を移動先にコピーしましたが、元のファイルを削除できません。"s << Strings { "a.txt=a" };
        QTest::newRow("folder in a read-only folder") << "tree"s << "を移動先にコピーしましたが、元のフォルダーを削除できません。"s << Strings { "tree/", "tree/b.txt=b" };
        QTest::newRow("pattern in an unlistable folder") << "*.txt"s << "を移動できません。"s << Strings {};
    }

    // A move to another file system refused by permission bits: what was copied stays with the
    // source beside it, and the message says what happened, never that a file is missing.
    void refusedByPermission()
    {
        QFETCH(std::string, from);
        QFETCH(std::string, message);
        QFETCH(Strings, arrived);
        TempTree tree;
        const std::unique_ptr<TempTree> other = TempTree::onOtherFileSystem(tree);
        if (!other)
            QSKIP("no second file system at /dev/shm on this machine");
        tree.file("locked/a.txt", "a");
        tree.file("locked/tree/b.txt", "b");
        const Strings before = everythingIn(tree.path("locked"));
        const std::string source = tree.path("locked/" + from), out = other->folder("out");
        QVERIFY(::chmod(out.c_str(), 0777) == 0 && ::chmod(tree.path("locked").c_str(), from[0] == '*' ? 0711 : 0555) == 0);
        const std::optional<std::string> shown = runUnprivileged([&] {
            FakeOperations operations;
            operations.answers = { "スキップ" };
            platform::FileOperationRequest request { FileOperationCode::Move, source, out, 0, 0, {} };
            platform::runFileOperation(request, operations);
            return operations.shown.empty() ? "nothing shown"s : operations.shown.front();
        });
        QCOMPARE(shown.value_or("no report"), "「" + source + "」 " + message + "\n\nアクセスが拒否されました。");
        QCOMPARE(everythingIn(tree.path("locked")), before);
        QCOMPARE(everythingIn(out), arrived);
    }
};

QTEST_GUILESS_MAIN(FileOperationEngineTest)
#include "tst_file_operation_engine.moc"
