// A run whose call into the file system hangs, as one into a share that stops answering
// does: the thread that waits for it keeps turning, キャンセル and the close are taken at
// once, the run names what it waits on, and stops when the call comes back. A search
// stopped half-way never leads to a delete of what it found so far.
#include "run/CollectionRun.h"
#include "run/RunTexts.h"
#include "support/FakeRunWindow.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/Gate.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/ThreadedOperations.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

using namespace run;

namespace {

enum class Act { Nothing, Cancel, Close };
enum class Stall { Listing, Destination };

// A run over src/a/1.jpg, src/b/2.jpg and src/c/3.jpg whose file-system work is done
// on a thread while this one waits, as in the program.
struct StalledSession {
    TempTree tree;
    FakeUser user;
    ThreadedOperations threaded{user.operations};
    platform::UserServices services{user, user, user, threaded, user.operations, user};
    clsFileFolder toolkit{services};
    FakeRunWindow window;
    CollectionRun collection{window, toolkit, services};

    StalledSession()
    {
        for (const char* file : {"src/a/1.jpg", "src/b/2.jpg", "src/c/3.jpg"})
            tree.file(file);
        window.source = tree.path("src");
        window.dest = tree.folder("dest");
        collection.setYieldInterval(std::chrono::nanoseconds(0));
        collection.setJournalFolder(tree.path("state"));
    }
};

Strings sourcesOf(const RunReport& report)
{
    Strings sources;
    for (const FileRecord& file : report.files)
        sources.push_back(file.source.str());
    return sources;
}

} // namespace

Q_DECLARE_METATYPE(Act)
Q_DECLARE_METATYPE(Stall)
Q_DECLARE_METATYPE(Operation)

class StalledRunTest : public QObject {
    Q_OBJECT

private slots:
    void stalledCall_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Stall>("stall");
        QTest::addColumn<Act>("act");
        QTest::addColumn<Strings>("dest");   // the destination's files afterwards
        QTest::addColumn<int>("sourcesLeft"); // of the three
        QTest::newRow("a listing answers late: the run goes on")
            << Operation::Copy << Stall::Listing << Act::Nothing << Strings{"1.jpg", "2.jpg", "3.jpg"} << 3;
        QTest::newRow("キャンセル while a listing hangs")
            << Operation::Copy << Stall::Listing << Act::Cancel << Strings{} << 3;
        QTest::newRow("close while a listing hangs")
            << Operation::Copy << Stall::Listing << Act::Close << Strings{} << 3;
        // What the search found before the stop is part of the tree: deleting it would
        // delete less than asked, and a run that was stopped does nothing.
        QTest::newRow("delete: キャンセル while a listing hangs")
            << Operation::Delete << Stall::Listing << Act::Cancel << Strings{} << 3;
        QTest::newRow("delete: a listing answers late")
            << Operation::Delete << Stall::Listing << Act::Nothing << Strings{} << 0;
        QTest::newRow("キャンセル while the look at the destination hangs")
            << Operation::Copy << Stall::Destination << Act::Cancel << Strings{} << 3;
    }

    void stalledCall()
    {
        QFETCH(Operation, operation);
        QFETCH(Stall, stall);
        QFETCH(Act, act);
        QFETCH(Strings, dest);
        QFETCH(int, sourcesLeft);
        StalledSession session;
        session.window.operation = operation;
        Gate gate;
        const std::string heldOn = stall == Stall::Listing ? session.tree.path("src/b/") : session.tree.path("dest/");
        if (stall == Stall::Listing) {
            session.collection.setBeforeListing([&](const std::string& folder) {
                if (folder == heldOn)
                    gate.hold();
            });
        } else {
            session.collection.setFileSystemLookup([&](const std::string& folder) {
                // The source's file system is looked up too, before the search.
                if (folder.starts_with(session.tree.path("dest")))
                    gate.hold();
                return platform::fileSystemOf(folder);
            });
        }
        // Acts a few turns into the stall, looks a few turns later, then lets it go.
        int turnsHeld = 0;
        Strings shownWhileHeld;
        std::string waitingFor;
        std::optional<std::string> stalledOn;
        session.threaded.onWait = [&](int) {
            if (!gate.holding())
                return;
            ++turnsHeld;
            if (turnsHeld == 3 && act == Act::Cancel)
                session.collection.cancelClick();
            if (turnsHeld == 3 && act == Act::Close)
                session.collection.requestClose();
            if (turnsHeld == 6) {
                shownWhileHeld = session.user.shown;
                waitingFor = session.collection.report().waitingFor;
                stalledOn = session.collection.stalledOn(std::chrono::nanoseconds(0));
                gate.release();
            }
        };
        const WindowAction action = session.collection.cmdStartClick();
        QVERIFY(!gate.heldOwnThread()); // the call was made off the thread that must stay live

        QCOMPARE(turnsHeld, 6);
        QCOMPARE(stalledOn.value_or("<none>"), heldOn);
        const Strings stopping = act == Act::Cancel ? Strings { texts::stopping() } : Strings {};
        QCOMPARE(shownWhileHeld, stopping); // at once, not when the call came back
        if (act != Act::Nothing)
            QCOMPARE(waitingFor, heldOn);
        QCOMPARE(session.user.shown, stopping);
        QCOMPARE(action, act == Act::Close ? WindowAction::Close : WindowAction::StayOpen);
        QCOMPARE(namesIn(session.tree.path("dest")), dest);
        int left = 0;
        for (const char* file : {"src/a/1.jpg", "src/b/2.jpg", "src/c/3.jpg"})
            left += TempTree::exists(session.tree.path(file)) ? 1 : 0;
        QCOMPARE(left, sourcesLeft);
        QCOMPARE(session.collection.report().stopped, act != Act::Nothing);
        QVERIFY(session.collection.report().waitingFor.empty());
        QVERIFY(session.window.idle());
        if (act != Act::Nothing)
            return;
        // The search on the worker lists what the search on this thread lists, in its order.
        StalledSession inline_;
        inline_.window.operation = operation;
        CollectionRun here{inline_.window, inline_.toolkit, inline_.user.services()};
        here.setDryRun(true);
        here.cmdStartClick();
        Strings expected = sourcesOf(here.report());
        for (std::string& path : expected)
            path.replace(0, inline_.tree.root().size(), session.tree.root());
        QCOMPARE(sourcesOf(session.collection.report()), expected);
    }

    // Undo calls into the destination, which may be a share, as a run does: while the
    // look at it hangs, キャンセル is taken at once and nothing is taken back.
    void stalledUndo_data()
    {
        QTest::addColumn<Act>("act");
        QTest::newRow("the look answers late: all three are taken back") << Act::Nothing;
        QTest::newRow("キャンセル while the look hangs") << Act::Cancel;
    }
    void stalledUndo()
    {
        QFETCH(Act, act);
        StalledSession session;
        session.window.operation = Operation::Copy;
        session.collection.cmdStartClick();
        QCOMPARE(namesIn(session.tree.path("dest")), (Strings{"1.jpg", "2.jpg", "3.jpg"}));

        Gate gate;
        session.collection.setFileSystemLookup([&](const std::string& folder) {
            gate.hold();
            return platform::fileSystemOf(folder);
        });
        int turnsHeld = 0;
        session.threaded.onWait = [&](int) {
            if (!gate.holding())
                return;
            if (++turnsHeld == 3 && act == Act::Cancel)
                session.collection.cancelClick();
            if (turnsHeld == 6)
                gate.release();
        };
        session.user.yesNoAnswers = {true};
        session.collection.undoLastClick();
        QVERIFY(!gate.heldOwnThread());
        QCOMPARE(turnsHeld, 6);
        QVERIFY(session.collection.report().undo);
        QCOMPARE(session.collection.report().stopped, act == Act::Cancel);
        QCOMPARE(namesIn(session.tree.path("dest")),
                 act == Act::Cancel ? (Strings{"1.jpg", "2.jpg", "3.jpg"}) : Strings{});
        if (act == Act::Cancel)
            QCOMPARE(session.user.shown.back(), texts::stopping());
        QVERIFY(session.window.idle());
    }

    // The search's counts reach the run's report while it works, ready for its window.
    void searchCounts()
    {
        StalledSession session;
        Gate gate;
        session.collection.setBeforeListing([&](const std::string& folder) {
            if (folder == session.tree.path("src/c/"))
                gate.hold();
        });
        std::uint64_t folders = 0, files = 0;
        bool searched = true;
        int turnsHeld = 0;
        session.threaded.onWait = [&](int) {
            // The second turn of the stall: the first may have handed on the progress
            // just before the search got there.
            if (!gate.holding() || ++turnsHeld < 2)
                return;
            folders = session.collection.report().foldersSearched;
            files = session.collection.report().filesFound;
            searched = session.collection.report().searched;
            gate.release();
        };
        session.collection.cmdStartClick();
        QCOMPARE(folders, std::uint64_t(3)); // src, a and b read; c being read
        QCOMPARE(files, std::uint64_t(2));
        QVERIFY(!searched);
        QVERIFY(session.collection.report().searched);
    }
};

QTEST_GUILESS_MAIN(StalledRunTest)
#include "tst_stalled_run.moc"
