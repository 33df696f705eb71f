#include "run/CollectionRun.h"
#include "run/NameRules.h"
#include "run/RunTexts.h"
#include "support/FakeRunWindow.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/HomeTrash.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <sys/stat.h>

using namespace run;
namespace fs = std::filesystem;

namespace {

Strings split(const std::string& text)
{
    std::istringstream stream(text);
    return {std::istream_iterator<std::string>(stream), {}};
}

// Every file and link under the folder as "path=content" or "path@target"; folders and
// the trash's bookkeeping are left out.
std::set<std::string> snapshot(const std::string& root)
{
    std::set<std::string> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string path = entry.path().string().substr(root.size() + 1);
        if (path.starts_with("data/Trash/") && !path.starts_with("data/Trash/files/"))
            continue;
        if (entry.is_symlink())
            entries.insert(path + "@" + fs::read_symlink(entry.path()).string());
        else if (entry.is_regular_file())
            entries.insert(path + "=" + TempTree::read(entry.path().string()));
    }
    return entries;
}

// One run wired as the program wires it, yielding at every step so that hooks can act
// at a chosen point, over a tree built from space-separated rows ("name/" a folder,
// "name@target" a link, "name=content" a file, a bare name a file holding its path),
// with an existing "dest" and the trash kept inside the tree.
struct Session {
    TempTree tree;
    HomeTrash trash{tree.path("data")};
    FakeUser user;
    clsFileFolder toolkit{user.services()};
    FakeRunWindow window;
    CollectionRun collection{window, toolkit, user.services()};
    WindowAction action = WindowAction::StayOpen;

    explicit Session(const std::string& rows)
    {
        collection.setYieldInterval(std::chrono::nanoseconds(0));
        for (const std::string& row : split(rows + " dest/")) {
            const std::size_t link = row.find('@'), equals = row.find('=');
            if (row.back() == '/')
                tree.folder(row.substr(0, row.size() - 1));
            else if (link != std::string::npos)
                tree.link(row.substr(0, link), row.substr(link + 1));
            else
                tree.file(row.substr(0, equals), row.substr(equals + 1)); // npos + 1: the whole row
        }
        window.source = tree.path("src");
        window.dest = tree.path("dest");
    }

    // Runs; "+entry" for what the run added or changed, then "-entry" for what it removed.
    Strings start()
    {
        const std::set<std::string> before = snapshot(tree.root());
        action = collection.cmdStartClick();
        const std::set<std::string> after = snapshot(tree.root());
        Strings changes;
        for (const auto& [from, to, sign] : {std::tuple(&after, &before, '+'), std::tuple(&before, &after, '-')})
            for (const std::string& entry : *from)
                if (!to->count(entry))
                    changes.push_back(sign + entry);
        return changes;
    }
};

// One whole run: the tree, the inputs, the answers to the yes/no questions ("Y", "N"),
// and what it must give: the texts shown ("?" for a question of the file operations),
// the field focused, and every file added ("+") or removed ("-").
struct Run {
    std::string files = "src/a.jpg=A src/b.txt=B";
    const char *source = "{R}/src", *types = "jpg", *dest = "{R}/dest";
    Operation operation = Operation::Copy;
    const char* answers = "";
    Strings shown = {};
    InputField focus = InputField(-1); // -1: the focus stays
    std::string changed = "";
    bool folds = false;  // what the probe's seam answers
    bool probed = false; // the probe must be asked (two names differ only in case)
    std::function<void(Session&)> during = nullptr; // acts at every yield
};

} // namespace

Q_DECLARE_METATYPE(Run)
Q_DECLARE_METATYPE(run::Operation)

class CollectionRunTest : public QObject {
    Q_OBJECT

private slots:
    void wholeRun_data()
    {
        QTest::addColumn<Run>("run");
        const auto add = [](const char* name, const Run& run) { QTest::newRow(name) << run; };
        const std::string ask = texts::kCreateFolderQuestion;
        const char* const cases = "src/1/A.JPG=1 src/2/a.jpg=2 src/3/Ä.jpg=3 src/4/ä.jpg=4";
        using enum Operation;
        using enum InputField;

        add("no source", {.source = "", .types = "", .dest = "", .shown = {texts::kNoSourceFolder}, .focus = SourceFolder});
        add("source missing", {.source = "{R}/none", .shown = {texts::kSourceFolderMissing}});
        add("no file types", {.types = "", .shown = {texts::kNoFileTypes}, .focus = FileTypes});
        add("no destination", {.dest = "", .shown = {texts::kNoDestFolder}, .focus = DestFolder});
        add("nothing matches: silent", {.types = "png", .dest = "{R}/new"});
        add("create: No", {.dest = "{R}/new", .answers = "N", .shown = {ask}});
        add("create: Yes", {.dest = "{R}/new/dest", .answers = "Y", .shown = {ask}, .changed = "+new/dest/a.jpg=A"});
        add("create: a file has the name", {.dest = "{R}/src/a.jpg", .answers = "Y", .shown = {ask, texts::kFolderAlreadyExists}});
        add("delete, matched twice, no destination",
            {.types = "jpg,JPG", .dest = "", .operation = Delete, .changed = "-src/a.jpg=A"});
        add("recycle, matched twice",
            {.types = "jpg,JPG", .operation = Recycle, .shown = {"?"}, .changed = "+data/Trash/files/a.jpg=A -src/a.jpg=A"});
        add("move, matched twice", {.files = "src/1/p.jpg=1 src/2/p.JPG=2", .types = "jpg,JPG", .operation = Move,
                                    .changed = "+dest/p.JPG=2 +dest/p.jpg=1 -src/1/p.jpg=1 -src/2/p.JPG=2", .probed = true});
        // Clicks and edits while the run works do not reach it: it copies as asked.
        add("inputs changed while filtering", {.changed = "+dest/a.jpg=A", .during = [](Session& s) {
                s.window.operation = Delete, s.window.dest = "", s.window.fileTypes = "txt", s.window.source = "/";
            }});
        // A found file replaced by a folder before the delete: the folder and all it holds stay.
        const auto becomesFolder = [](Session& s) {
            if (fs::is_regular_file(s.tree.path("src/a.jpg")) && ::unlink(s.tree.path("src/a.jpg").c_str()) == 0)
                s.tree.file("src/a.jpg/inner", "I");
        };
        add("delete: a found file is now a folder", {.operation = Delete, .shown = {"?"},
                                                     .changed = "+src/a.jpg/inner=I -src/a.jpg=A", .during = becomesFolder});
        add("recycle: a found file is now a folder", {.operation = Recycle, .shown = {"?", "?"},
                                                      .changed = "+src/a.jpg/inner=I -src/a.jpg=A", .during = becomesFolder});
        add("flattened, numbered in search order", {.files = "src/1/p.jpg=1 src/2/p.jpg=2 src/2/3/p.jpg=3 src/q",
                                                    .changed = "+dest/p.jpg=1 +dest/p_001.jpg=3 +dest/p_002.jpg=2"});
        add("order of the items first", {.files = "src/1/p.jpg=1 src/2/p.jpg=2", .types = "2/p.jpg,1/p.jpg",
                                         .changed = "+dest/p.jpg=2 +dest/p_001.jpg=1"});
        add("trailing comma", {.types = "jpg,", .changed = "+dest/a.jpg=A"});
        add("blank belongs to the item", {.files = "src/a.gif=G src/b.jpg=J", .types = "jpg, gif", .changed = "+dest/b.jpg=J"});
        add("empty item keeps all, copied again", {.types = ",jpg", .changed = "+dest/a.jpg=A +dest/a_001.jpg=A +dest/b.txt=B"});
        add("characters, not bytes", {.files = "src/旅.ジペグ=1 src/b.jpg", .types = "ペグ", .changed = "+dest/旅.ジペグ=1"});
        add("case ignored beyond ASCII", {.files = "src/a.ÄPG=1", .types = "äpg", .changed = "+dest/a.ÄPG=1"});
        add("not UTF-8, byte for byte", {.files = "src/caf\xe9.jpg=1 src/\xff\xfe", .changed = "+dest/caf\xe9.jpg=1"});
        add("hidden file, folder and dangling link taken",
            {.files = "src/1/.p.jpg=1 src/2/q.jpg=2 src/3/r.jpg=3 dest/.p.jpg=o dest/q.jpg/ dest/r.jpg@nowhere",
             .changed = "+dest/.p_001.jpg=1 +dest/q_001.jpg=2 +dest/r_001.jpg=3"});
        add("no dot, dot in the folder name", {.files = "src/1/README=1 src/2/README=2 dest.d/", .types = "README",
                                               .dest = "{R}/dest.d/", .changed = "+dest.d/README=1 +dest.d/README_001=2"});
        add("into the source folder itself", {.files = "src/p.jpg=top src/sub/p.jpg=sub", .dest = "{R}/src",
                                              .changed = "+src/p_001.jpg=top +src/p_002.jpg=sub"});
        add("case-sensitive destination",
            {.files = cases, .changed = "+dest/A.JPG=1 +dest/a.jpg=2 +dest/Ä.jpg=3 +dest/ä.jpg=4", .probed = true});
        add("case-folding destination",
            {.files = cases, .changed = "+dest/A.JPG=1 +dest/a_001.jpg=2 +dest/Ä.jpg=3 +dest/ä_001.jpg=4", .folds = true, .probed = true});
        // Two names of 253 bytes: the numbered one is shortened by a whole character to fit.
        const std::string longStem = [] { std::string stem; for (int i = 0; i < 83; ++i) stem += "写"; return stem; }();
        add("numbered name fits the longest name", {.files = "src/1/" + longStem + ".jpg=1 src/2/" + longStem + ".jpg=2",
            .changed = "+dest/" + longStem.substr(0, 246) + "_001.jpg=2 +dest/" + longStem + ".jpg=1"});
        // A name planned as free and written by another program before its turn is numbered on.
        add("name taken after planning", {.files = "src/1/p.jpg=1 src/2/p.jpg=2",
            .changed = "+dest/p.jpg=1 +dest/p_001.jpg=x +dest/p_001_001.jpg=2", .during = [](Session& s) {
                if (TempTree::exists(s.tree.path("dest/p.jpg")) && !TempTree::exists(s.tree.path("dest/p_001.jpg")))
                    s.tree.file("dest/p_001.jpg", "x");
            }});
        // "Stop" chosen in a failing copy's error message stops the run as cancel does.
        add("stop in a copy's message", {.files = "src/1/a.jpg=1 src/2/b.jpg=2 src/3/c.jpg=3", .shown = {"?"},
            .changed = "+dest/a.jpg=1 -src/2/b.jpg=2", .during = [](Session& s) {
                if (TempTree::exists(s.tree.path("dest/a.jpg")) && ::unlink(s.tree.path("src/2/b.jpg").c_str()) == 0)
                    s.user.operations.answers = {"中止"};
            }});
        add("unexpected failure",
            {.shown = {texts::kUnexpectedError}, .during = [](Session&) { throw std::runtime_error("failure"); }});
    }

    void wholeRun()
    {
        QFETCH(Run, run);
        Session session(run.files);
        session.window.source = session.tree.expand(run.source);
        session.window.dest = session.tree.expand(run.dest);
        session.window.fileTypes = run.types;
        session.window.operation = run.operation;
        for (const char* answer = run.answers; *answer; ++answer)
            session.user.yesNoAnswers.push_back(*answer == 'Y');
        session.user.operations.answers.push_back("はい");
        std::string probed;
        session.collection.setCaseFoldingProbe([&](const std::string& folder) { probed = folder; return run.folds; });
        if (run.during)
            session.user.onYield = [&](int) { run.during(session); };

        QCOMPARE(session.start(), split(run.changed));
        QCOMPARE(session.action, WindowAction::StayOpen);
        QCOMPARE(probed, run.probed ? session.tree.expand(run.dest) + "/" : "");
        Strings shown = session.user.shown;
        shown.resize(shown.size() + session.user.operations.shown.size(), "?");
        QCOMPARE(shown, run.shown);
        QCOMPARE(session.window.focused.value_or(InputField(-1)), run.focus);
        QVERIFY(session.window.idle() && !session.collection.isRunning());
        // The destination is checked only after the whole tree was searched.
        QVERIFY(run.shown != Strings{texts::kNoDestFolder} || session.user.yields > 0);
    }

    // A name written by another program between the run's last look and the placing is
    // never replaced, not even with the engine told to ask nothing (as a delete run
    // leaves it): the file takes the next free number.
    void takenAtTheMomentOfPlacing_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<bool>("otherFileSystem");
        QTest::newRow("copy") << Operation::Copy << false;
        QTest::newRow("move") << Operation::Move << false;
        QTest::newRow("move to another file system") << Operation::Move << true;
    }

    void takenAtTheMomentOfPlacing()
    {
        QFETCH(Operation, operation);
        QFETCH(bool, otherFileSystem);
        Session session("src/p.jpg=mine");
        const std::unique_ptr<TempTree> other = TempTree::onOtherFileSystem(session.tree);
        if (otherFileSystem && !other)
            QSKIP("no second file system here");
        if (otherFileSystem)
            session.window.dest = other->folder("dest");
        session.window.operation = operation;
        session.toolkit.RespondDialog(true);
        const std::string theirs = session.window.dest + "/p.jpg";
        session.user.operations.onItem = [&](int) {
            if (!TempTree::exists(theirs))
                std::ofstream(theirs) << "theirs";
        };
        session.collection.cmdStartClick();
        QCOMPARE(everythingIn(session.window.dest), (Strings{"p.jpg=theirs", "p_001.jpg=mine"}));
        QCOMPARE(TempTree::exists(session.tree.path("src/p.jpg")), operation == Operation::Copy);
        QCOMPARE(session.user.operations.shown, Strings{});
    }

    // A folder the user may not create in is reported, not passed over in silence.
    void destinationRefused()
    {
        Session session("src/a.jpg locked/");
        ::chmod(session.tree.path("locked").c_str(), 0555);
        session.window.dest = session.tree.path("locked/dest");
        session.user.yesNoAnswers.push_back(true);
        const auto shown = runUnprivileged([&session] { return session.start(), session.user.shown.back(); });
        QCOMPARE(shown.value_or("<no report>"), texts::kCreateFolderFailed);
        QVERIFY(!TempTree::exists(session.tree.path("locked/dest")));
    }

    // A folder the probe cannot write to gets the careful answer (the real probe's answer
    // on this file system, and that it leaves nothing behind, show in the runs above).
    void caseFoldingProbeUnsure() { QVERIFY(folderFoldsCase(TempTree().path("missing"))); }

    // Cancel (exit button reading "キャンセル") or close (close box, or exit button still
    // reading "閉じる") while a run works: nothing is started after the request, the
    // run ends properly, and the next run starts afresh and does all its work.
    void interrupted_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("afterFiles"); // cancel once the destination holds this many; -1: close at once
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("cancel during the plan") << Operation::Copy << 0 << false;
        QTest::newRow("cancel a copy") << Operation::Copy << 3 << false;
        QTest::newRow("cancel a move") << Operation::Move << 3 << false;
        QTest::newRow("close box, copy") << Operation::Copy << -1 << true;
        QTest::newRow("close box, delete") << Operation::Delete << -1 << true;
        QTest::newRow("exit button, recycle") << Operation::Recycle << -1 << false;
    }

    void interrupted()
    {
        QFETCH(Operation, operation);
        QFETCH(int, afterFiles);
        QFETCH(bool, closeBox);
        const bool cancel = afterFiles >= 0;
        Session session("src/0/a.jpg src/1/b.jpg src/2/c.jpg src/3/d.jpg src/0/e.jpg src/1/f.jpg src/2/g.jpg src/3/h.jpg");
        session.window.operation = operation;
        bool acted = false;
        session.user.onYield = [&](int) {
            if (acted || session.window.caption != (cancel ? texts::kCancel : texts::kClose)
                || snapshot(session.window.dest).size() < std::size_t(std::max(afterFiles, 0)))
                return;
            QVERIFY(session.collection.isRunning() && !session.window.startEnabled && session.window.busy
                    && !session.window.inputsEnabled);
            acted = true;
            if (closeBox)
                session.collection.requestClose();
            else
                QCOMPARE(session.collection.cmdExitClick(), WindowAction::StayOpen);
        };
        const std::size_t copied = session.start().size() / (operation == Operation::Move ? 2 : 1);
        QCOMPARE(session.action, cancel ? WindowAction::StayOpen : WindowAction::Close);
        QVERIFY(acted && session.window.idle());
        QCOMPARE(session.user.shown, cancel ? Strings{texts::kStopping} : Strings{});
        QCOMPARE(session.user.operations.shown, Strings{});
        QCOMPARE(copied, std::size_t(std::max(afterFiles, 0)));

        session.user.onYield = nullptr;
        session.window.operation = Operation::Copy;
        session.window.dest = session.tree.folder("second");
        QCOMPARE(session.start().size(), 8 - (operation == Operation::Move ? copied : 0));
        QCOMPARE(session.action, WindowAction::StayOpen);
        QCOMPARE(session.collection.cmdExitClick(), WindowAction::Close);
    }

    // A delete run leaves the engine answering its own questions and keeping no undo; a
    // later copy run keeps those options, and still never replaces a hidden file.
    void deleteOptionsCarryOver()
    {
        Session session("src/a.jpg other/.p.jpg=new dest/.p.jpg=old");
        session.window.operation = Operation::Delete;
        QCOMPARE(session.start(), Strings{"-src/a.jpg=src/a.jpg"});
        session.window.source = session.tree.path("other");
        session.window.operation = Operation::Copy;
        QCOMPARE(session.start(), Strings{"+dest/.p_001.jpg=new"});
        QCOMPARE(session.user.operations.shown, Strings{});
        QVERIFY(session.toolkit.RespondDialog() && !session.toolkit.AllowUndo());
    }
};

QTEST_GUILESS_MAIN(CollectionRunTest)
#include "tst_collection_run.moc"
