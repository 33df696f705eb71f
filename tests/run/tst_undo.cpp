// Undo of a whole run from its journal, on real trees: copy, move and trash undone give
// back the tree as it was, byte for byte, and whatever was changed between the run and
// the undo is left alone and listed.
#include "run/CollectionRun.h"
#include "run/RunReportText.h"
#include "support/HomeTrash.h"
#include "support/RunOnTree.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using run::Operation;

namespace {

enum class Tamper { None, EditCopy, SwapCopySameStamp, RetakeOriginal, RemoveSourceFolders, PurgeFromTrash, CutJournal };

// Every file under src/ and dest/: its content and modification time, by relative path.
using Snapshot = std::map<std::string, std::pair<std::string, std::int64_t>>;
Snapshot snapshotOf(const TempTree& tree)
{
    Snapshot all;
    for (const char* top : {"src", "dest"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.path(top))) {
            struct stat status {};
            if (::lstat(entry.path().c_str(), &status) == 0 && !S_ISDIR(status.st_mode))
                all[entry.path().native().substr(tree.root().size() + 1)] = {
                    TempTree::read(entry.path()), status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec};
        }
    }
    return all;
}

void setTime(const std::string& path, std::time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

} // namespace

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void undo_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Tamper>("tamper");
        QTest::addColumn<Strings>("kept"); // files the undo leaves, relative to the tree
        QTest::newRow("copy") << Operation::Copy << Tamper::None << Strings{};
        QTest::newRow("move") << Operation::Move << Tamper::None << Strings{};
        QTest::newRow("trash") << Operation::Recycle << Tamper::None << Strings{};
        QTest::newRow("copy: a copy edited since") << Operation::Copy << Tamper::EditCopy << Strings{"dest/IMG_1.jpg"};
        QTest::newRow("copy: another file under a copy's name, size and time")
            << Operation::Copy << Tamper::SwapCopySameStamp << Strings{"dest/IMG_1.jpg"};
        QTest::newRow("copy: journal cut in its last line") << Operation::Copy << Tamper::CutJournal
            << Strings{"dest/IMG_1_001.jpg"};
        QTest::newRow("move: an original's name taken again") << Operation::Move << Tamper::RetakeOriginal
            << Strings{"dest/IMG_1.jpg"};
        QTest::newRow("move: source folders gone") << Operation::Move << Tamper::RemoveSourceFolders << Strings{};
        QTest::newRow("trash: an original's name taken again") << Operation::Recycle << Tamper::RetakeOriginal
            << Strings{};
        QTest::newRow("trash: one purged from the trash") << Operation::Recycle << Tamper::PurgeFromTrash
            << Strings{};
    }

    void undo()
    {
        QFETCH(Operation, operation);
        QFETCH(Tamper, tamper);
        QFETCH(Strings, kept);
        TempTree tree;
        const HomeTrash trash(tree.folder("data"));
        const std::string nonUtf8 = "src/b/caf\xe9.jpg";
        for (const std::string name : {"src/a/IMG_1.jpg", "src/b/IMG_1.jpg", nonUtf8.c_str()}) {
            tree.file(name, "photo " + name);
            setTime(tree.path(name), 1'600'000'000 + static_cast<std::time_t>(name.size()));
        }
        tree.folder("dest");
        const Snapshot before = snapshotOf(tree);

        RunOnTree session(tree, operation);
        auto& [user, toolkit, window, collection] = session;
        collection.cmdStartClick();
        QCOMPARE(collection.report().counts().done, std::size_t(3));

        switch (tamper) {
        case Tamper::EditCopy:
            tree.file("dest/IMG_1.jpg", "edited");
            break;
        case Tamper::SwapCopySameStamp:
            tree.file("dest/IMG_1.jpg", "PHOTO src/a/IMG_1.jpg"); // as long as the original, and as old
            setTime(tree.path("dest/IMG_1.jpg"), 1'600'000'000 + std::string("src/a/IMG_1.jpg").size());
            break;
        case Tamper::RetakeOriginal:
            tree.file("src/a/IMG_1.jpg", "new");
            break;
        case Tamper::RemoveSourceFolders:
            QVERIFY(::rmdir(tree.path("src/a").c_str()) == 0 && ::rmdir(tree.path("src/b").c_str()) == 0);
            break;
        case Tamper::PurgeFromTrash:
            QVERIFY(::unlink((trash.files() + "/IMG_1.jpg").c_str()) == 0);
            break;
        case Tamper::CutJournal: {
            const std::string journal = run::newestJournalPath(tree.path("state"));
            std::filesystem::resize_file(journal, std::filesystem::file_size(journal) - 5);
            break;
        }
        case Tamper::None:
            break;
        }

        const std::optional<run::UndoOffer> offer = collection.undoOffer();
        QVERIFY(offer);
        QCOMPARE(offer->files, std::size_t(tamper == Tamper::CutJournal ? 2 : 3));
        user.yesNoAnswers = {true};
        collection.undoLastClick();
        QCOMPARE(user.shown.back(), "前回の処理（" + run::report_text::operationName(operation) + " "
                     + std::to_string(offer->files) + " 件）を元に戻しますか？");
        QVERIFY(window.idle());

        const run::RunCounts counts = collection.report().counts();
        const bool untouched = tamper == Tamper::None || tamper == Tamper::RemoveSourceFolders;
        QCOMPARE(counts.failed, untouched || tamper == Tamper::CutJournal ? std::size_t(0) : std::size_t(1));
        Snapshot after = snapshotOf(tree);
        if (untouched)
            QVERIFY(after == before); // names, contents and times, the non-UTF-8 one included
        for (const std::string& name : kept)
            QVERIFY2(after.count(name), name.c_str());
        if (tamper == Tamper::RetakeOriginal)
            QCOMPARE(after["src/a/IMG_1.jpg"].first, std::string("new"));
        QVERIFY(!collection.undoOffer()); // the undo is the last run now, and is not undone in turn
    }

    // キャンセル at the fifth file of a delete or trash of thirty: the fifth is finished,
    // no later one is begun, they stay where they are and the report says so; the
    // journal holds the five, so the undo of the trash gives back exactly those.
    void cancelledDeleteOrTrash_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::newRow("delete") << Operation::Delete;
        QTest::newRow("trash") << Operation::Recycle;
    }

    void cancelledDeleteOrTrash()
    {
        QFETCH(Operation, operation);
        TempTree tree;
        const HomeTrash trash(tree.folder("data"));
        Strings names;
        for (int i = 1; i <= 30; ++i) {
            names.push_back("src/" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".jpg");
            tree.file(names.back(), names.back());
        }
        tree.folder("dest");
        RunOnTree session(tree, operation);
        auto& [user, toolkit, window, collection] = session;
        user.operations.onItem = [&](int number) {
            if (number == 5)
                collection.cancelClick();
        };
        collection.cmdStartClick();
        user.operations.onItem = nullptr;

        QCOMPARE(user.shown, Strings{"処理を中断します"});
        for (std::size_t i = 0; i < names.size(); ++i)
            QVERIFY2(TempTree::exists(tree.path(names[i])) == (i >= 5), names[i].c_str());
        const run::RunReport& report = collection.report();
        QVERIFY(report.stopped);
        QCOMPARE(report.counts().done, std::size_t(5));
        QCOMPARE(report.counts().notDone, std::size_t(25));
        QCOMPARE(report.counts().failed, std::size_t(0));
        QVERIFY(run::report_text::summary(report).find("処理しなかったファイル: 25") != std::string::npos);
        if (operation == Operation::Delete)
            return;

        QCOMPARE(collection.undoOffer()->files, std::size_t(5));
        user.yesNoAnswers = {true};
        collection.undoLastClick();
        QCOMPARE(collection.report().counts().done, std::size_t(5));
        for (const std::string& name : names)
            QCOMPARE(TempTree::read(tree.path(name)), name);
    }

    // Another program makes each removed file's name again as the next file begins: the run
    // removed all thirty, and says so. The files made since are not the run's and stay; the
    // journal lists each file planned, then each file done, in list order.
    void nameMadeAgainAfterRemoval()
    {
        QFETCH(Operation, operation);
        TempTree tree;
        const HomeTrash trash(tree.folder("data"));
        Strings names;
        for (int i = 1; i <= 30; ++i)
            names.push_back(tree.file("src/d" + std::to_string(i % 3) + "/" + std::to_string(i) + ".jpg", "old"));
        tree.folder("dest");
        RunOnTree session(tree, operation);
        auto& [user, toolkit, window, collection] = session;
        user.operations.onItem = [&](int number) {
            if (number > 1)
                tree.file(user.operations.itemNames[static_cast<std::size_t>(number) - 2].substr(tree.root().size() + 1),
                          "new");
        };
        collection.cmdStartClick();
        user.operations.onItem = nullptr;

        QCOMPARE(collection.report().counts().done, std::size_t(30));
        QCOMPARE(collection.report().counts().failed, std::size_t(0));
        Strings planned;
        for (const run::FileRecord& file : collection.report().files)
            planned.push_back(file.source.str());
        const std::optional<run::Journal> journal = run::readJournal(run::newestJournalPath(tree.path("state")));
        QVERIFY(journal);
        Strings journaled;
        for (const run::JournalEntry& entry : journal->entries)
            journaled.push_back((entry.kind == run::JournalEntry::Kind::Planned ? "P " : "D ") + entry.source);
        Strings expected;
        for (const char* kind : {"P ", "D "})
            for (const std::string& path : planned)
                expected.push_back(kind + path);
        QCOMPARE(journaled, expected);
        for (std::size_t i = 0; i + 1 < planned.size(); ++i)
            QCOMPARE(TempTree::read(planned[i]), std::string("new"));
        QVERIFY(!TempTree::exists(planned.back()));
    }

    void nameMadeAgainAfterRemoval_data() { cancelledDeleteOrTrash_data(); }

    // Lines held back for many files reach the journal in pieces of whole lines while they are
    // held, so that a million of them are never held at once; read back, none is lost.
    void journalWrittenInPieces()
    {
        TempTree tree;
        run::JournalWriter writer;
        QVERIFY(writer.open(tree.path("state"), Operation::Delete, false));
        writer.hold();
        const std::string folder = tree.path(std::string(200, 'f'));
        for (int i = 0; i < 6000; ++i)
            writer.write({run::JournalEntry::Kind::Planned, folder + "/IMG " + std::to_string(i) + ".jpg", {}});
        const std::string held = TempTree::read(writer.path());
        QVERIFY2(held.size() > 1'000'000 && held.back() == '\n', std::to_string(held.size()).c_str());
        QVERIFY(writer.close());
        const std::optional<run::Journal> journal = run::readJournal(writer.path());
        QVERIFY(journal);
        QCOMPARE(journal->entries.size(), std::size_t(6000));
        QVERIFY(TempTree::read(writer.path()).size() > held.size());
        for (int i = 0; i < 6000; ++i)
            QCOMPARE(journal->entries[static_cast<std::size_t>(i)].source, folder + "/IMG " + std::to_string(i) + ".jpg");
    }

    // A move to another file system killed with copies in flight and a batch of moves not
    // yet completed: no file is lost or left half-written under its name, and the undo
    // takes back exactly the copies whose sources are still there.
    void killedMoveAcross()
    {
        TempTree tree;
        Strings names;
        for (int i = 0; i < 30; ++i)
            names.push_back(tree.file("src/d" + std::to_string(i % 3) + "/IMG_" + std::to_string(i) + ".jpg",
                                      std::string(1000 + i, char('a' + i % 26))));
        const std::string dest = tree.folder("dest");
        if (::mount("tmpfs", dest.c_str(), "tmpfs", 0, "size=4m") != 0)
            QSKIP("no tmpfs can be mounted here");
        const auto unmount = qScopeGuard([&] { ::umount2(dest.c_str(), MNT_DETACH); });

        const pid_t child = ::fork();
        if (child == 0) {
            RunOnTree session(tree, Operation::Move);
            session.user.operations.onItem = [&](int) {
                if (session.user.operations.itemNames.size() == 20)
                    ::raise(SIGKILL);
            };
            session.collection.cmdStartClick();
            std::_Exit(0); // not reached when the kill came
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        // Every file whole in one place at least, and nothing in the destination but
        // whole files under their own names.
        std::size_t copies = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dest)) {
            const std::string name = entry.path().filename().native();
            QVERIFY2(name.starts_with("IMG_"), name.c_str());
            const std::string content = TempTree::read(entry.path());
            const int number = std::stoi(name.substr(4));
            QCOMPARE(content, std::string(1000 + number, char('a' + number % 26)));
            ++copies;
        }
        QVERIFY(copies >= 19);
        for (int i = 0; i < 30; ++i)
            QVERIFY(TempTree::exists(names[i]) || TempTree::exists(dest + "/IMG_" + std::to_string(i) + ".jpg"));

        RunOnTree session(tree, Operation::Move);
        QVERIFY(session.collection.undoOffer());
        session.user.yesNoAnswers = {true};
        session.collection.undoLastClick();
        QCOMPARE(session.collection.report().counts().failed, std::size_t(0));
        for (int i = 0; i < 30; ++i)
            QCOMPARE(TempTree::read(names[i]), std::string(1000 + i, char('a' + i % 26)));
        QVERIFY(std::filesystem::is_empty(dest));
    }

    // A delete for good has nothing to give back; a journal that cannot be written stops
    // nothing, and the report says that the run cannot be undone.
    void deleteAndNoJournal()
    {
        TempTree tree;
        tree.file("src/IMG_1.jpg");
        tree.file("state", "a file where the journal folder should be");
        FakeUser user;
        clsFileFolder toolkit{user.services()};
        FakeRunWindow window;
        window.source = tree.path("src");
        window.dest = tree.folder("dest");
        run::CollectionRun collection(window, toolkit, user.services());
        collection.setJournalFolder(tree.path("state"));
        collection.cmdStartClick();
        QCOMPARE(collection.report().counts().done, std::size_t(1));
        QCOMPARE(collection.report().notice, std::string("処理の記録を書けなかったため、この処理は元に戻せません。"));
        QVERIFY(!collection.undoOffer());

        collection.setJournalFolder(tree.path("journals"));
        window.operation = Operation::Delete;
        collection.cmdStartClick();
        QVERIFY(!TempTree::exists(tree.path("src/IMG_1.jpg")));
        QCOMPARE(collection.undoOffer()->operation, Operation::Delete);
        collection.undoLastClick();
        QCOMPARE(user.shown, Strings{"前回の処理（完全削除）は元に戻せません。"});
    }
};

QTEST_GUILESS_MAIN(UndoTest)
#include "tst_undo.moc"
