#include "platform/FileOperationEngine.h"
#include "platform/MoveFinisher.h"
#include "support/FakeOperations.h"
#include "support/FolderNames.h"
#include "support/HomeTrash.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"

#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

using namespace std::string_literals;
using platform::FileOperationCode;
namespace flag = platform::operation_flags;
Q_DECLARE_METATYPE(FileOperationCode)

namespace {

constexpr const char* kNoOtherFileSystem = "no second file system at /dev/shm on this machine";

platform::FileOperationOutcome run(FakeOperations& operations, FileOperationCode code, const std::string& from,
                                   const std::string& to, std::uint16_t flags, platform::RunGuards guards = {},
                                   const platform::FileOperationSeams& seams = {})
{
    return platform::runFileOperation({code, from, to, flags, 0, guards}, operations, seams);
}

// File type and permission bits, and modification time, of the entry itself.
std::pair<mode_t, std::time_t> modeAndTime(const std::string& path)
{
    struct stat status {};
    ::lstat(path.c_str(), &status);
    return {status.st_mode, status.st_mtim.tv_sec};
}

std::string cannot(const std::string& path, const std::string& verb, const std::string& reason)
{
    return "「" + path + "」 を" + verb + "できません。\n\n" + reason;
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
        for (const bool unnamed : {true, false})
            for (const bool replacing : {false, true})
                for (const char* event : {"full at block 1", "full at block 2", "cancel at block 2"})
                    QTest::addRow("%s, %s, %s", unnamed ? "unnamed file" : "hidden temporary name",
                                  replacing ? "replacing" : "new name", event)
                        << unnamed << replacing << std::string(event) << false << false;
        for (const bool folder : {false, true}) {
            const char* what = folder ? "folder" : "file";
            QTest::addRow("%s moved to another file system, full", what)
                << true << false << "full at block 2"s << true << folder;
            QTest::addRow("%s moved to another file system, cancel", what)
                << true << !folder << "cancel at block 2"s << true << folder;
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
        const std::unique_ptr<TempTree> second = TempTree::onOtherFileSystem(tree);
        TempTree* const other = across ? second.get() : &tree;
        if (!other)
            QSKIP(kNoOtherFileSystem);
        const std::string big(9 * 1024 * 1024, 'b'); // two copy blocks
        const std::string file = tree.file("in/big.bin", big);
        if (folder)
            tree.file("in/small.txt", "s");
        const std::string source = folder ? tree.path("in") : file;
        other->file("out/other.txt", "other");
        if (replacing)
            other->file("out/big.bin", "old");
        FakeOperations operations;
        operations.answers = {"スキップ"};
        const auto interrupt = [&, blocks = 0]() mutable {
            if (++blocks != event.back() - '0')
                return 0;
            operations.cancelPressed = cancel;
            return cancel ? 0 : ENOSPC;
        };
        const auto outcome = run(operations, across ? FileOperationCode::Move : FileOperationCode::Copy, source,
                                 other->path("out/big.bin"), flag::kNoConfirmation, {}, {!unnamed, interrupt});
        QCOMPARE(std::pair(outcome.result != 0, outcome.stopRequested), std::pair(true, cancel));
        QCOMPARE(everythingIn(other->path("out")),
                 (replacing ? Strings{"big.bin=old", "other.txt=other"} : Strings{"other.txt=other"}));
        QVERIFY(TempTree::read(file) == big);
        const std::string full = cannot(source, across ? "移動" : "コピー", "ディスクの空き領域が不足しています。");
        QCOMPARE(operations.shown, cancel ? Strings{} : Strings{full});
    }

    // A copy written ahead is only linked into place (the source's later content does not
    // reach it); a taken name keeps it for the next name; one that does not fit the
    // operation (another source, a folder on another file system) is dropped and the
    // file copied afresh, so the destination gets what the source holds now.
    void preparedCopyPlaced_data()
    {
        QTest::addColumn<bool>("otherSource");
        QTest::addColumn<bool>("otherFileSystem");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<std::string>("expected");
        QTest::newRow("placed") << false << false << false << "before"s;
        QTest::newRow("name taken, then the next") << false << false << true << "before"s;
        QTest::newRow("made for another source") << true << false << false << "now"s;
        QTest::newRow("folder on another file system") << false << true << false << "now"s;
    }

    void preparedCopyPlaced()
    {
        QFETCH(bool, otherSource);
        QFETCH(bool, otherFileSystem);
        QFETCH(bool, taken);
        QFETCH(std::string, expected);
        TempTree tree;
        const std::unique_ptr<TempTree> second = TempTree::onOtherFileSystem(tree);
        TempTree* const other = otherFileSystem ? second.get() : &tree;
        if (!other)
            QSKIP(kNoOtherFileSystem);
        const std::string source = tree.file("in/p.jpg", "before");
        const std::string another = tree.file("in/q.jpg", "before");
        constexpr std::time_t kThen = 1'000'000'000;
        const struct timespec times[2] = {{kThen, 0}, {kThen, 0}};
        QVERIFY(::chmod(source.c_str(), 0640) == 0 && ::utimensat(AT_FDCWD, source.c_str(), times, 0) == 0);
        const std::string out = tree.folder("out");
        const int folderFd = ::open(out.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        FakeOperations quiet;
        platform::FileCopier copier(quiet);
        platform::PreparedCopy prepared;
        QCOMPARE(copier.prepareCopy(otherSource ? another : source, folderFd, prepared), 0);
        ::close(folderFd);
        QCOMPARE(everythingIn(out), Strings{}); // unnamed until placed
        tree.file("in/p.jpg", "now");
        QVERIFY(::chmod(source.c_str(), 0640) == 0 && ::utimensat(AT_FDCWD, source.c_str(), times, 0) == 0);

        const std::string dest = other->folder("dest");
        if (taken)
            other->file("dest/p.jpg", "theirs");
        FakeOperations operations;
        platform::RunGuards guards{.neverReplace = true, .prepared = &prepared};
        auto outcome = run(operations, FileOperationCode::Copy, source, dest + "/p.jpg", 0, guards);
        QCOMPARE(outcome.destinationTaken, taken);
        if (taken)
            outcome = run(operations, FileOperationCode::Copy, source, dest + "/p_001.jpg", 0, guards);
        QCOMPARE(outcome.result, 0);
        const std::string placed = dest + (taken ? "/p_001.jpg" : "/p.jpg");
        QCOMPARE(TempTree::read(placed), expected);
        QCOMPARE(modeAndTime(placed), std::pair(mode_t(S_IFREG | 0640), kThen));
        struct stat status {};
        QVERIFY(::stat(placed.c_str(), &status) == 0);
        QVERIFY(outcome.copied && outcome.copied->copy.st_ino == status.st_ino); // what the journal keeps
        if (taken)
            QCOMPARE(TempTree::read(dest + "/p.jpg"), "theirs"s);
    }

    // Where a copy made ahead stands for the look at its source (a share, where each look
    // is a round trip), the operation looks no more: a source removed since is placed as
    // it was read, with the size it had. Elsewhere the source is looked at again, and a
    // removed one is missing.
    void preparedLookStandsForTheSource_data()
    {
        QTest::addColumn<bool>("lookedAhead");
        QTest::newRow("the copy's look stands for it") << true;
        QTest::newRow("looked at again") << false;
    }

    void preparedLookStandsForTheSource()
    {
        QFETCH(bool, lookedAhead);
        TempTree tree;
        const std::string source = tree.file("in/p.jpg", "read ahead");
        const std::string dest = tree.folder("dest");
        const int folderFd = ::open(dest.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        FakeOperations quiet;
        platform::FileCopier copier(quiet);
        platform::PreparedCopy prepared;
        QCOMPARE(copier.prepareCopy(source, folderFd, prepared), 0);
        ::close(folderFd);
        QVERIFY(::unlink(source.c_str()) == 0);
        FakeOperations operations;
        const platform::RunGuards guards{.neverReplace = true, .prepared = &prepared, .sourceLookedAhead = lookedAhead};
        const auto outcome = run(operations, FileOperationCode::Copy, source, dest + "/p.jpg", 0, guards);
        QCOMPARE(outcome.result == 0, lookedAhead);
        QCOMPARE(everythingIn(dest), lookedAhead ? Strings{"p.jpg=read ahead"} : Strings{});
        QCOMPARE(operations.bytesReported, lookedAhead ? std::uint64_t{10} : 0);
        QCOMPARE(operations.shown.size(), lookedAhead ? 0u : 1u); // the source not found
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
        const std::unique_ptr<TempTree> second = TempTree::onOtherFileSystem(tree);
        TempTree* const other = move ? second.get() : &tree;
        if (!other)
            QSKIP(kNoOtherFileSystem);
        tree.file("in/tree/写真.jpg", "a");
        tree.file("in/tree/sub/\xff.bin", "b");
        tree.link("in/tree/link", "写真.jpg");
        constexpr std::time_t kThen = 1'000'000'000;
        const struct timespec times[2] = {{kThen, 0}, {kThen, 0}};
        for (const char* name : {"in/tree/写真.jpg", "in/tree/sub", "in/tree"})
            QVERIFY(::utimensat(AT_FDCWD, tree.path(name).c_str(), times, 0) == 0);
        QVERIFY(::chmod(tree.path("in/tree/sub").c_str(), 0555) == 0);
        QVERIFY(::chmod(tree.path("in/tree/写真.jpg").c_str(), 0640) == 0);
        const Strings before = everythingIn(tree.path("in"));
        FakeOperations operations;
        const auto code = move ? FileOperationCode::Move : FileOperationCode::Copy;
        QCOMPARE(run(operations, code, tree.path("in/tree"), other->folder("out"), 0).result, 0);
        QCOMPARE(everythingIn(other->path("out")), before);
        QCOMPARE(namesIn(tree.path("in")), move ? Strings{} : Strings{"tree"});
        QCOMPARE(modeAndTime(other->path("out/tree/sub")), std::pair(mode_t(S_IFDIR | 0555), kThen));
        QCOMPARE(modeAndTime(other->path("out/tree/写真.jpg")), std::pair(mode_t(S_IFREG | 0640), kThen));
        QCOMPARE(modeAndTime(other->path("out/tree")).second, kThen);
        QVERIFY(S_ISLNK(modeAndTime(other->path("out/tree/link")).first));
        QCOMPARE(operations.shown, Strings{});
    }

    void neverReplace_data()
    {
        QTest::addColumn<FileOperationCode>("code");
        QTest::addColumn<bool>("across");
        QTest::addColumn<bool>("takenFirst");
        QTest::addColumn<std::string>("taker"); // what takes the name: "file", "folder" or "link"
        for (const bool takenFirst : {true, false}) {
            const char* when = takenFirst ? "before the look" : "at the moment of placing";
            QTest::addRow("copy, name taken %s", when) << FileOperationCode::Copy << false << takenFirst << "file"s;
            QTest::addRow("move, name taken %s", when) << FileOperationCode::Move << false << takenFirst << "file"s;
            QTest::addRow("move to another file system, name taken %s", when)
                << FileOperationCode::Move << true << takenFirst << "file"s;
            for (const std::string taker : {"folder", "link"}) {
                const char* by = taker == "link" ? "a dangling link" : "a folder";
                QTest::addRow("copy, name taken by %s %s", by, when)
                    << FileOperationCode::Copy << false << takenFirst << taker;
                QTest::addRow("move, name taken by %s %s", by, when)
                    << FileOperationCode::Move << false << takenFirst << taker;
            }
        }
    }

    // With the guard a taken name is never replaced, whatever the option bits, and nothing is asked:
    // the item is left undone for the caller to choose another name. A folder at the name is no
    // folder to put the item into.
    void neverReplace()
    {
        QFETCH(FileOperationCode, code);
        QFETCH(bool, across);
        QFETCH(bool, takenFirst);
        QFETCH(std::string, taker);
        TempTree tree;
        const std::unique_ptr<TempTree> second = TempTree::onOtherFileSystem(tree);
        TempTree* const other = across ? second.get() : &tree;
        if (!other)
            QSKIP(kNoOtherFileSystem);
        const std::string source = tree.file("in/a.txt", "new");
        const std::string taken = other->folder("out") + "/a.txt";
        const auto take = [&] {
            struct stat status {};
            if (::lstat(taken.c_str(), &status) == 0)
                return;
            taker == "folder" ? other->folder("out/a.txt") : taker == "link" ? other->link("out/a.txt", "gone")
                                                                             : other->file("out/a.txt", "other");
        };
        if (takenFirst)
            take();
        FakeOperations operations;
        operations.answers = {"すべてに「はい」"};
        operations.onItem = [&](int) { take(); };
        const auto outcome = run(operations, code, source, taken, flag::kNoConfirmation, {true, false});
        QCOMPARE(std::tuple(outcome.result, outcome.destinationTaken, outcome.stopRequested),
                 std::tuple(183, true, false));
        const std::string left = taker == "folder" ? "a.txt/" : taker == "link" ? "a.txt=" : "a.txt=other";
        QCOMPARE(everythingIn(other->path("out")), Strings{left});
        QCOMPARE(TempTree::read(source), "new"s);
        QCOMPARE(operations.shown, Strings{});
    }

    void nonFoldersOnly_data()
    {
        QTest::addColumn<bool>("trash");
        QTest::addColumn<bool>("link");
        for (const bool trash : {false, true})
            for (const bool link : {false, true})
                QTest::addRow("%s, %s", trash ? "trash" : "delete", link ? "link to a folder" : "folder")
                    << trash << link;
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
        FakeOperations operations;
        operations.answers = {"スキップ"};
        const auto flags = std::uint16_t(flag::kNoConfirmation | (trash ? flag::kAllowUndo : 0));
        QCOMPARE(run(operations, FileOperationCode::Delete, entry, {}, flags, {false, true}).result != 0, !link);
        QCOMPARE(everythingIn(tree.path("dir")), (Strings{"sub/", "sub/inside.txt=keep"}));
        QCOMPARE(namesIn(home.files()), link && trash ? Strings{"link"} : Strings{});
        const std::string refused = cannot(entry, trash ? "ごみ箱に移動" : "削除", "同じ名前のフォルダーがあります。");
        QCOMPARE(operations.shown, link ? Strings{} : Strings{refused});
    }

    // A run's delete for good: each path is unlinked from its folder's descriptor, with no look
    // first, and the outcome tells which items went. The unlink's own refusal never hides that
    // an entry is a folder, nor does a folder's reason stand for a file's.
    void runDeleteItems_data()
    {
        QTest::addColumn<Strings>("entries");
        QTest::addColumn<bool>("unprivileged");
        QTest::addColumn<std::vector<bool>>("done");
        QTest::addColumn<Strings>("reasons");
        QTest::newRow("folders taken in turns")
            << Strings{"a/1.jpg", "b/1.jpg", "a/2.jpg", "a/link.jpg"} << false << std::vector<bool>{true, true, true, true}
            << Strings{};
        QTest::newRow("gone, a folder, a path through a file")
            << Strings{"a/1.jpg", "a/gone.jpg", "b/sub", "b/1.jpg/x", "b/1.jpg"} << false
            << std::vector<bool>{true, false, false, false, true}
            << Strings{"ファイルまたはフォルダーが見つかりません。", "同じ名前のフォルダーがあります。",
                       "パスの途中にフォルダーでないものがあります。"};
        QTest::newRow("a read-only folder, unprivileged")
            << Strings{"locked/3.jpg", "locked/sub", "a/1.jpg"} << true << std::vector<bool>{false, false, true}
            << Strings{"アクセスが拒否されました。", "同じ名前のフォルダーがあります。"};
    }

    void runDeleteItems()
    {
        QFETCH(Strings, entries);
        QFETCH(bool, unprivileged);
        QFETCH(std::vector<bool>, done);
        QFETCH(Strings, reasons);
        TempTree tree;
        for (const char* name : {"a/1.jpg", "a/2.jpg", "b/1.jpg", "b/sub/in.jpg", "locked/3.jpg", "locked/sub/in.jpg"})
            tree.file(name, name);
        tree.link("a/link.jpg", "../b/sub");
        QVERIFY(::chmod(tree.path("a").c_str(), 0777) == 0);
        QVERIFY(::chmod(tree.path("locked").c_str(), 0555) == 0);
        std::string from;
        Strings expected;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            from += tree.path(entries[i]) + '\0';
            if (!done[i] && !reasons.empty())
                expected.push_back(cannot(tree.path(entries[i]), "削除", reasons[expected.size()]));
        }
        const auto deleteAll = [&] {
            FakeOperations operations;
            operations.answers.assign(reasons.size(), "スキップ");
            const platform::FileOperationOutcome outcome
                = run(operations, FileOperationCode::Delete, from, {}, flag::kNoConfirmation, {.nonFoldersOnly = true});
            std::string report;
            for (const bool gone : outcome.itemsDone)
                report += gone ? '1' : '0';
            for (const std::string& text : operations.shown)
                report += '\n' + text;
            return report;
        };
        std::string report = unprivileged ? runUnprivileged(deleteAll).value_or("no report") : deleteAll();
        std::string wanted;
        for (const bool gone : done)
            wanted += gone ? '1' : '0';
        for (const std::string& text : expected)
            wanted += '\n' + text;
        QCOMPARE(report, wanted);
        for (std::size_t i = 0; i < entries.size(); ++i)
            QVERIFY2(!done[i] || !TempTree::exists(tree.path(entries[i])), entries[i].c_str());
        QCOMPARE(TempTree::read(tree.path("b/sub/in.jpg")), "b/sub/in.jpg"s);
        QCOMPARE(TempTree::read(tree.path("locked/sub/in.jpg")), "locked/sub/in.jpg"s);
    }

    void refusedByPermission_data()
    {
        QTest::addColumn<std::string>("from");
        QTest::addColumn<std::string>("message");
        QTest::addColumn<Strings>("arrived");
        const std::string copiedBut = "を移動先にコピーしましたが、元の";
        QTest::newRow("file in a read-only folder")
            << "a.txt"s << copiedBut + "ファイルを削除できません。" << Strings{"a.txt=a"};
        QTest::newRow("folder in a read-only folder")
            << "tree"s << copiedBut + "フォルダーを削除できません。" << Strings{"tree/", "tree/b.txt=b"};
        QTest::newRow("pattern in an unlistable folder") << "*.txt"s << "を移動できません。"s << Strings{};
    }

    // A move to another file system refused by permission bits: what was copied stays with the
    // source beside it, and the message says what happened, never that a file is missing.
    // More destination folders than an operation holds open: the rest are copied to by path.
    void copyToManyFolders()
    {
        TempTree tree;
        std::string from, to;
        for (int i = 0; i < 70; ++i) {
            const std::string number = std::to_string(i);
            from += tree.file("in/" + number, number) + '\0';
            to += (i % 2 ? tree.folder("out" + number) : tree.path("new" + number)) + "/copy" + '\0';
        }
        FakeOperations operations;
        QCOMPARE(run(operations, FileOperationCode::Copy, from, to, flag::kMultiDestFiles | flag::kNoConfirmation).result, 0);
        for (int i = 0; i < 70; ++i)
            QCOMPARE(TempTree::read(tree.path((i % 2 ? "out" : "new") + std::to_string(i) + "/copy")), std::to_string(i));
    }

    void refusedByPermission()
    {
        QFETCH(std::string, from);
        QFETCH(std::string, message);
        QFETCH(Strings, arrived);
        TempTree tree;
        const std::unique_ptr<TempTree> other = TempTree::onOtherFileSystem(tree);
        if (!other)
            QSKIP(kNoOtherFileSystem);
        tree.file("locked/a.txt", "a");
        tree.file("locked/tree/b.txt", "b");
        const Strings before = everythingIn(tree.path("locked"));
        const std::string source = tree.path("locked/" + from);
        const std::string out = other->folder("out");
        QVERIFY(::chmod(out.c_str(), 0777) == 0);
        QVERIFY(::chmod(tree.path("locked").c_str(), from[0] == '*' ? 0711 : 0555) == 0);
        const std::optional<std::string> shown = runUnprivileged([&] {
            FakeOperations operations;
            operations.answers = {"スキップ"};
            run(operations, FileOperationCode::Move, source, out, 0);
            return operations.shown.empty() ? "nothing shown"s : operations.shown.front();
        });
        QCOMPARE(shown.value_or("no report"), "「" + source + "」 " + message + "\n\nアクセスが拒否されました。");
        QCOMPARE(everythingIn(tree.path("locked")), before);
        QCOMPARE(everythingIn(out), arrived);
    }

    void leftSourceFinished_data()
    {
        QTest::addColumn<std::string>("change"); // to the source, between its copy and the finish
        QTest::addColumn<std::string>("reason"); // in the message; empty: none shown
        QTest::addColumn<bool>("sourceStays");
        const std::string changed = "コピーした後で元のファイルが変更されました。";
        QTest::newRow("untouched: it goes") << ""s << ""s << false;
        QTest::newRow("written since") << "write"s << changed << true;
        QTest::newRow("replaced since") << "replace"s << changed << true;
    }

    // A move to another file system that leaves its source for a later finish: a source
    // changed in between holds what its copy lacks and stays, and the message says why.
    void leftSourceFinished()
    {
        QFETCH(std::string, change);
        QFETCH(std::string, reason);
        QFETCH(bool, sourceStays);
        TempTree tree;
        const std::unique_ptr<TempTree> other = TempTree::onOtherFileSystem(tree);
        if (!other)
            QSKIP(kNoOtherFileSystem);
        const std::string source = tree.file("a.txt", "old");
        const std::string out = other->folder("out");
        FakeOperations operations;
        operations.answers = {"スキップ"};
        const platform::FileOperationOutcome moved =
            run(operations, FileOperationCode::Move, source, out, 0, {.leaveSourceAcross = true});
        QVERIFY(moved.result == 0 && moved.sourceLeft && TempTree::exists(source));
        if (change == "write")
            tree.file("a.txt", "old and new");
        else if (change == "replace")
            QVERIFY(::rename(tree.file("b.txt", "old").c_str(), source.c_str()) == 0);
        platform::MoveFinisher finisher;
        finisher.start({*moved.sourceLeft}, 2);
        const std::vector<platform::FileOperationOutcome> outcomes = finisher.finish(operations, 0);
        QCOMPARE(outcomes.size(), std::size_t(1));
        QCOMPARE(outcomes[0].failureReason.empty(), reason.empty());
        const std::string shown = operations.shown.empty() ? ""s : operations.shown.back();
        QCOMPARE(shown.substr(shown.find_last_of('\n') + 1), reason);
        QCOMPARE(TempTree::exists(source), sourceStays);
        QCOMPARE(TempTree::read(out + "/a.txt"), "old"s);
    }
};

QTEST_GUILESS_MAIN(FileOperationEngineTest)
#include "tst_file_operation_engine.moc"
