#include "platform/LongPath.h"
#include "run/CollectionRun.h"
#include "run/DestPlanner.h"
#include "run/Journal.h"
#include "run/NameRules.h"
#include "run/PlanView.h"
#include "run/RunTexts.h"
#include "support/FakeRunWindow.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/HomeTrash.h"
#include "support/LiteralPlan.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <deque>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace run;

namespace {

Strings split(const std::string& text)
{
    std::istringstream stream(text);
    return {std::istream_iterator<std::string>(stream), {}};
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

    // Runs; "+entry" for what the run added or changed, then "-entry" for what it removed,
    // every file as "path=content", folders and the trash's bookkeeping left out.
    Strings start()
    {
        const auto files = [this] {
            std::set<std::string> files;
            for (const std::string& entry : everythingIn(tree.root()))
                if (!entry.ends_with('/') && !entry.starts_with("data/Trash/info/"))
                    files.insert(entry);
            return files;
        };
        const std::set<std::string> before = files();
        action = collection.cmdStartClick();
        const std::set<std::string> after = files();
        Strings changes;
        for (const auto& [from, to, sign] : {std::tuple(&after, &before, '+'), std::tuple(&before, &after, '-')})
            for (const std::string& entry : *from)
                if (!to->count(entry))
                    changes.push_back(sign + entry);
        return changes;
    }
};

// One whole run: the tree, the inputs, and what it must give: the texts shown ("?" for a
// question of the file operations), the field focused, every file added ("+") or
// removed ("-"), and what the window does.
struct Run {
    std::string files = "src/a.jpg=A src/b.txt=B";
    const char *source = "{R}/src", *types = "jpg", *dest = "{R}/dest";
    Operation operation = Operation::Copy;
    std::deque<bool> answers = {}; // to the yes/no questions
    Strings shown = {};
    InputField focus = InputField(-1); // -1: the focus stays
    std::string changed = "";
    platform::CaseFolding folding = platform::CaseFolding::Keeps; // what the file system tells
    bool folds = false;  // what the probe's seam answers
    bool probed = false; // the probe must be asked (unsure, and two names differ only in case)
    std::function<void(Session&)> during = nullptr; // acts at every yield
    WindowAction action = WindowAction::StayOpen;
};

// The three ways to plan: step by step as the reference, indexed in one go, and indexed
// in parts of about two entries, so that even a small plan is cut into many.
enum class Planning { Literal, Whole, InParts };
constexpr Planning kPlannings[] = {Planning::Literal, Planning::Whole, Planning::InParts};

// The plan over a disk whose folder compares names as the plan is told to: folded, or
// byte for byte.
Strings plan(Planning planning, Strings names, const Strings& onDisk, bool foldCase)
{
    const auto key = [foldCase](std::string_view name) { return foldCase ? run::caseFoldedKey(name) : std::string(name); };
    const auto taken = [&](const std::string& path) {
        return std::ranges::any_of(onDisk, [&](const std::string& name) { return key(name) == key(path); });
    };
    const run::NameRules rules{taken, foldCase ? &run::caseFoldedKey : nullptr, run::fileNameStemEnd};
    const auto last = static_cast<std::int32_t>(names.size()) - 1;
    const auto keepGoing = [] { return true; };
    if (planning == Planning::Literal)
        literalPlan(names, last, rules, keepGoing);
    else if (planning == Planning::Whole)
        run::DestPlanner(rules, keepGoing).plan(names, last);
    else
        run::DestPlanner(rules, keepGoing, {.wholeUpTo = 0, .entriesPerPart = 2}).plan(names, last);
    return names;
}

// Space-separated names, placed in a folder whose name has a dot.
Strings inFolder(const std::string& names)
{
    Strings paths;
    std::istringstream stream(names);
    for (std::string name; stream >> name;)
        paths.push_back("/dest.d/" + name);
    return paths;
}

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
        const std::string ask = texts::createFolderQuestion();
        const char* const cases = "src/1/A.JPG=1 src/2/a.jpg=2 src/3/Ä.jpg=3 src/4/ä.jpg=4";
        using enum Operation;
        using enum InputField;

        add("no source",
            { .source = "",
                .types = "",
                .dest = "",
                .shown = { texts::noSourceFolder() },
                .focus = SourceFolder });
        add("source missing", { .source = "{R}/none", .shown = { texts::sourceFolderMissing() } });
        add("no destination", { .dest = "", .shown = { texts::noDestFolder() }, .focus = DestFolder });
        add("nothing matches: silent", {.types = "png", .dest = "{R}/new"});
        add("create: No", {.dest = "{R}/new", .answers = {false}, .shown = {ask}});
        add("create: Yes", {.dest = "{R}/new/dest", .answers = {true}, .shown = {ask}, .changed = "+new/dest/a.jpg=A"});
        add("create: a file has the name",
            { .dest = "{R}/src/a.jpg", .answers = { true }, .shown = { ask, texts::folderAlreadyExists() } });
        add("delete, matched twice, no destination",
            {.types = "jpg,JPG", .dest = "", .operation = Delete, .changed = "-src/a.jpg=A"});
        add("copy, matched twice: two copies", {.types = "jpg,JPG", .changed = "+dest/a.jpg=A +dest/a_001.jpg=A"});
        add("move, matched twice", {.files = "src/1/p.jpg=1 src/2/p.JPG=2", .types = "jpg,JPG", .operation = Move,
                                    .changed = "+dest/p.JPG=2 +dest/p.jpg=1 -src/1/p.jpg=1 -src/2/p.JPG=2"});
        // Clicks and edits while the run works do not reach it: it copies as asked.
        add("inputs changed while filtering", {.changed = "+dest/a.jpg=A", .during = [](Session& s) {
                s.window.operation = Delete, s.window.dest = "", s.window.fileTypes = "txt", s.window.source = "/";
            }});
        // A found file replaced by a folder before the delete: the folder and all it holds stay.
        const auto becomesFolder = [](Session& s) {
            if (::unlink(s.tree.path("src/a.jpg").c_str()) == 0)
                s.tree.file("src/a.jpg/inner", "I");
        };
        add("delete: a found file is now a folder", {.operation = Delete, .shown = {"?"},
                                                     .changed = "+src/a.jpg/inner=I -src/a.jpg=A", .during = becomesFolder});
        add("recycle: a found file is now a folder", {.operation = Recycle, .shown = {"?", "?"},
                                                      .changed = "+src/a.jpg/inner=I -src/a.jpg=A", .during = becomesFolder});
        // A found name that holds a pattern's characters and is gone since stands for itself,
        // never for the other files it would match.
        add("delete: a found '*' name gone since", {.files = "src/*.jpg=S src/a.jpg=A", .types = "*.jpg",
            .operation = Delete, .shown = {"?"}, .changed = "-src/*.jpg=S", .during = [](Session& s) {
                ::unlink(s.tree.path("src/*.jpg").c_str());
            }});
        add("flattened, numbered in search order", {.files = "src/1/p.jpg=1 src/2/p.jpg=2 src/2/3/p.jpg=3 src/q",
                                                    .changed = "+dest/p.jpg=1 +dest/p_001.jpg=3 +dest/p_002.jpg=2"});
        add("order of the items first", {.files = "src/1/p.jpg=1 src/2/p.jpg=2", .types = "2/p.jpg,1/p.jpg",
                                         .changed = "+dest/p.jpg=2 +dest/p_001.jpg=1"});
        add("blank belongs to the item, trailing comma",
            {.files = "src/a.gif=G src/b.jpg=J", .types = "jpg, gif,", .changed = "+dest/b.jpg=J"});
        add("empty item keeps all, copied again", {.types = ",jpg", .changed = "+dest/a.jpg=A +dest/a_001.jpg=A +dest/b.txt=B"});
        add("characters, not bytes; case ignored beyond ASCII", {.files = "src/旅.ジペグ=1 src/a.ÄPG=2 src/b.jpg",
            .types = "ペグ,äpg", .changed = "+dest/a.ÄPG=2 +dest/旅.ジペグ=1"});
        add("not UTF-8, byte for byte", {.files = "src/caf\xe9.jpg=1 src/\xff\xfe", .changed = "+dest/caf\xe9.jpg=1"});
        add("hidden file, folder and dangling link taken",
            {.files = "src/1/.p.jpg=1 src/2/q.jpg=2 src/3/r.jpg=3 dest/.p.jpg=o dest/q.jpg/ dest/r.jpg@nowhere",
             .changed = "+dest/.p_001.jpg=1 +dest/q_001.jpg=2 +dest/r_001.jpg=3"});
        add("into the source folder itself", {.files = "src/p.jpg=top src/sub/p.jpg=sub", .dest = "{R}/src",
                                              .changed = "+src/p_001.jpg=top +src/p_002.jpg=sub"});
        const char* const folded = "+dest/A.JPG=1 +dest/a_001.jpg=2 +dest/Ä.jpg=3 +dest/ä_001.jpg=4";
        const char* const kept = "+dest/A.JPG=1 +dest/a.jpg=2 +dest/Ä.jpg=3 +dest/ä.jpg=4";
        using enum platform::CaseFolding;
        add("case-sensitive destination", {.files = cases, .changed = kept});
        add("case-folding destination", {.files = cases, .changed = folded, .folding = Folds});
        // Where the file system cannot tell, a probe file does, and only where it matters.
        add("unsure destination, probed: folds", {.files = cases, .changed = folded, .folding = Unknown, .folds = true, .probed = true});
        add("unsure destination, probed: keeps", {.files = cases, .changed = kept, .folding = Unknown, .probed = true});
        add("unsure destination, no two names alike: no probe", {.changed = "+dest/a.jpg=A", .folding = Unknown});
        // Two names of 253 bytes: the numbered one is shortened by a whole character to fit.
        const std::string longStem = [] { std::string stem; for (int i = 0; i < 83; ++i) stem += "写"; return stem; }();
        add("numbered name fits the longest name", {.files = "src/1/" + longStem + ".jpg=1 src/2/" + longStem + ".jpg=2",
            .changed = "+dest/" + longStem.substr(0, 246) + "_001.jpg=2 +dest/" + longStem + ".jpg=1"});
        // "Stop" chosen in a failing copy's error message stops the run as cancel does.
        add("stop in a copy's message", {.files = "src/1/a.jpg=1 src/2/b.jpg=2 src/3/c.jpg=3", .shown = {"?"},
            .changed = "+dest/a.jpg=1 -src/2/b.jpg=2", .during = [](Session& s) {
                if (TempTree::exists(s.tree.path("dest/a.jpg")) && ::unlink(s.tree.path("src/2/b.jpg").c_str()) == 0)
                    s.user.operations.answers = {"中止"};
            }});
        // Cancel, or a close asked for while the run works: nothing starts after the request.
        add("cancel while planning", { .shown = { texts::stopping() }, .during = [](Session& s) {
                                          if (s.window.caption == texts::cancel() && s.user.shown.empty())
                                              QCOMPARE(s.collection.cmdExitClick(), WindowAction::StayOpen);
                                      } });
        // The exit button still reads "閉じる" in the run's first steps.
        add("exit button before the cancel", {.operation = Recycle, .during = [](Session& s) {
                QCOMPARE(s.collection.cmdExitClick(), WindowAction::StayOpen);
            }, .action = WindowAction::Close});
        add("unexpected failure", { .shown = { texts::unexpectedError() }, .during = [](Session&) {
                                       throw std::runtime_error("failure");
                                   } });
    }

    void wholeRun()
    {
        QFETCH(Run, run);
        Session session(run.files);
        session.window.source = session.tree.expand(run.source);
        session.window.dest = session.tree.expand(run.dest);
        session.window.fileTypes = run.types;
        session.window.operation = run.operation;
        session.user.yesNoAnswers = run.answers;
        session.user.operations.answers.push_back("はい");
        std::string probed;
        session.collection.setCaseFoldingProbe([&](const std::string& folder) { probed = folder; return run.folds; });
        session.collection.setFileSystemLookup([&](const std::string& folder) {
            platform::FileSystemTraits traits = platform::fileSystemOf(folder);
            traits.caseFolding = run.folding;
            return traits;
        });
        bool locked = true;
        session.user.onYield = [&](int) {
            locked &= session.collection.isRunning() && !session.window.startEnabled && session.window.busy
                && !session.window.inputsEnabled;
            if (run.during)
                run.during(session);
        };

        QCOMPARE(session.start(), split(run.changed));
        QCOMPARE(session.action, run.action);
        QCOMPARE(probed, run.probed ? session.tree.expand(run.dest) + "/" : "");
        Strings shown = session.user.shown;
        shown.resize(shown.size() + session.user.operations.shown.size(), "?");
        QCOMPARE(shown, run.shown);
        QCOMPARE(session.window.focused.value_or(InputField(-1)), run.focus);
        QVERIFY(locked && session.window.idle() && !session.collection.isRunning());
        // The destination is checked only after the whole tree was searched.
        QVERIFY(run.shown != Strings { texts::noDestFolder() } || session.user.yields > 0);

        // Whatever the run met, the next one starts afresh and does all its work.
        session.user.onYield = nullptr;
        session.window.operation = Operation::Copy;
        session.window.fileTypes = "jpg";
        session.window.source = session.window.dest = session.tree.folder("again");
        session.tree.file("again/z.jpg", "Z");
        QCOMPARE(session.start(), Strings{"+again/z_001.jpg=Z"});
        QCOMPARE(session.action, WindowAction::StayOpen);
    }

    // A delete run leaves the engine answering its own questions and keeping no undo, and
    // the next run keeps those options; yet a name another program writes between that
    // run's last look and the placing is never replaced: the file takes the next number.
    void takenAtTheMomentOfPlacing_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<bool>("otherFileSystem");
        QTest::addColumn<bool>("byFolder"); // a folder takes the name: nothing goes into it
        QTest::newRow("copy") << Operation::Copy << false << false;
        QTest::newRow("move") << Operation::Move << false << false;
        QTest::newRow("move to another file system") << Operation::Move << true << false;
        QTest::newRow("copy, name taken by a folder") << Operation::Copy << false << true;
        QTest::newRow("move, name taken by a folder") << Operation::Move << false << true;
    }

    void takenAtTheMomentOfPlacing()
    {
        QFETCH(Operation, operation);
        QFETCH(bool, otherFileSystem);
        QFETCH(bool, byFolder);
        Session session("src/p.jpg=mine old/a.jpg");
        const std::unique_ptr<TempTree> other = TempTree::onOtherFileSystem(session.tree);
        if (otherFileSystem && !other)
            QSKIP("no second file system here");
        session.window.source = session.tree.path("old");
        session.window.operation = Operation::Delete;
        QCOMPARE(session.start(), Strings{"-old/a.jpg=old/a.jpg"});

        session.window.source = session.tree.path("src");
        session.window.dest = otherFileSystem ? other->folder("dest") : session.window.dest;
        session.window.operation = operation;
        const std::string theirs = session.window.dest + "/p.jpg";
        session.user.operations.onItem = [&](int) {
            if (TempTree::exists(theirs))
                return;
            if (byFolder)
                ::mkdir(theirs.c_str(), 0755);
            else
                std::ofstream(theirs) << "theirs";
        };
        session.collection.cmdStartClick();
        QCOMPARE(everythingIn(session.window.dest),
                 (Strings{byFolder ? "p.jpg/" : "p.jpg=theirs", "p_001.jpg=mine"}));
        QCOMPARE(TempTree::exists(session.tree.path("src/p.jpg")), operation == Operation::Copy);
        QCOMPARE(session.user.operations.shown, Strings{});
        QVERIFY(session.toolkit.RespondDialog() && !session.toolkit.AllowUndo());
    }

    // A folder the user may not create in is reported, not passed over in silence.
    void destinationRefused()
    {
        Session session("src/a.jpg locked/");
        ::chmod(session.tree.path("locked").c_str(), 0555);
        session.window.dest = session.tree.path("locked/dest");
        session.user.yesNoAnswers.push_back(true);
        const auto shown = runUnprivileged([&session] { return session.start(), session.user.shown.back(); });
        QCOMPARE(shown.value_or("<no report>"), texts::createFolderFailed());
        QVERIFY(!TempTree::exists(session.tree.path("locked/dest")));
    }

    // With the option, a file whose bytes the destination holds already (in a file that
    // was there, or in one the run placed before it) is left, named in the report with
    // the file it matched; equal sizes alone make no twin, nor does a match by hash that
    // the bytes no longer bear out; a move leaves a twin's source where it is; the undo
    // takes back only what the run placed.
    void skipIdentical_data()
    {
        QTest::addColumn<QString>("files");
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<bool>("changeBetween"); // dest/old.jpg rewritten after the plan
        QTest::addColumn<QString>("changed");
        QTest::addColumn<Strings>("twins"); // source = matched, relative
        const auto row = [](const char* name, const char* files, Operation operation, bool between,
                            const char* changed, const Strings& twins) {
            QTest::newRow(name) << QString::fromUtf8(files) << operation << between << QString::fromUtf8(changed) << twins;
        };
        using enum Operation;
        row("same size, other bytes", "src/1/a.jpg=AB src/2/a.jpg=CD dest/old.jpg=EF", Copy, false,
            "+dest/a.jpg=AB +dest/a_001.jpg=CD", {});
        row("twin of a file placed earlier", "src/1/a.jpg=AB src/2/b.jpg=AB", Copy, false, "+dest/a.jpg=AB",
            {"src/2/b.jpg = dest/a.jpg"});
        row("twin of a file already there", "src/a.jpg=AB src/b.jpg=CD dest/old.jpg=AB", Copy, false, "+dest/b.jpg=CD",
            {"src/a.jpg = dest/old.jpg"});
        row("empty files", "src/a.jpg= dest/old.jpg=", Copy, false, "", {"src/a.jpg = dest/old.jpg"});
        row("move keeps a twin's source", "src/1/a.jpg=AB src/2/a.jpg=AB dest/old.jpg=AB", Move, false, "",
            {"src/1/a.jpg = dest/old.jpg", "src/2/a.jpg = dest/old.jpg"});
        row("move of a twin of a file it placed", "src/1/a.jpg=AB src/2/b.jpg=AB", Move, false,
            "+dest/a.jpg=AB -src/1/a.jpg=AB", {"src/2/b.jpg = dest/a.jpg"});
        row("changed after the plan: the bytes decide", "src/a.jpg=AB dest/old.jpg=AB", Copy, true,
            "+dest/a.jpg=AB", {});
    }

    void skipIdentical()
    {
        QFETCH(QString, files);
        QFETCH(Operation, operation);
        QFETCH(bool, changeBetween);
        QFETCH(QString, changed);
        QFETCH(Strings, twins);
        Session session(files.toStdString());
        const TempTree state;
        session.window.operation = operation;
        session.collection.setJournalFolder(state.root());
        session.collection.setSkipIdentical(true);
        session.user.onYield = [&](int) {
            const RunReport& report = session.collection.report();
            if (changeBetween && !report.files.empty() && report.files[0].identical)
                session.tree.file("dest/old.jpg", "XY");
        };
        Strings changes = session.start();
        if (changeBetween)
            std::erase(changes, "+dest/old.jpg=XY"), std::erase(changes, "-dest/old.jpg=AB");
        QCOMPARE(changes, split(changed.toStdString()));
        Strings matched;
        const std::size_t root = session.tree.root().size() + 1;
        for (const FileRecord& file : session.collection.report().files)
            if (file.identical)
                matched.push_back(file.source.str().substr(root) + " = " + file.reason.text().substr(root));
        QCOMPARE(matched, twins);
        const RunCounts counts = session.collection.report().counts();
        QCOMPARE(counts.identical, std::size_t(twins.size()));
        QCOMPARE(counts.done + counts.identical, session.collection.report().files.size());

        // The undo gives back the tree as it was before the run.
        session.user.onYield = nullptr;
        if (counts.done == 0)
            return;
        session.user.yesNoAnswers = {true};
        session.collection.undoLastClick();
        QCOMPARE(session.collection.report().counts().done, counts.done);
        for (const std::string& entry : split(changed.toStdString())) {
            const std::string path = entry.substr(1, entry.find('=') - 1);
            QCOMPARE(TempTree::exists(session.tree.path(path)), entry[0] == '-');
        }
    }

    // The plan tells each file's fate before anything is written, and the run then does
    // what it told.
    void planStates_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Strings>("states");
        using enum Operation;
        QTest::newRow("copy") << Copy << Strings{"そのまま", "番号付き", "同じ内容のため省略", "同じ内容のため省略", "同じ内容のため省略"};
        QTest::newRow("move") << Move << Strings{"そのまま", "番号付き", "同じ内容のため省略", "重複指定", "重複指定"};
        QTest::newRow("delete") << Delete << Strings{"そのまま", "そのまま", "そのまま", "重複指定", "重複指定"};
    }

    void planStates()
    {
        QFETCH(Operation, operation);
        QFETCH(Strings, states);
        Session session("src/1/p.jpg=1 src/2/p.jpg=2 src/3/t.jpg=T dest/old.jpg=T");
        const TempTree state;
        session.collection.setJournalFolder(state.root());
        session.window.operation = operation;
        session.window.fileTypes = "jpg,p.jpg";
        session.collection.setSkipIdentical(true);
        session.collection.setDryRun(true);
        QCOMPARE(session.start(), Strings{});
        const auto statesOf = [](const RunReport& report) {
            Strings names;
            for (const FileRecord& file : report.files)
                names.push_back(planStateName(planState(file)));
            return names;
        };
        QCOMPARE(statesOf(session.collection.report()), states);
        const PlanTotals totals = planTotals(session.collection.report());
        QCOMPARE(totals.files, std::size_t(5));
        QCOMPARE(totals.bytes, std::uint64_t(operation == Operation::Delete ? 3 : 2));

        session.user.operations.answers = {"はい"};
        session.collection.setDryRun(false);
        session.start();
        QCOMPARE(statesOf(session.collection.report()), states);
    }

    // On random trees, what the dry run plans is what the run's journal then says it did,
    // file for file and in order: numbering, case clashes, twins and files listed twice.
    void planEqualsJournal_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<bool>("skipIdentical");
        using enum Operation;
        QTest::newRow("copy") << Copy << false;
        QTest::newRow("copy, identical left") << Copy << true;
        QTest::newRow("move") << Move << false;
        QTest::newRow("move, identical left") << Move << true;
        QTest::newRow("delete") << Delete << false;
        QTest::newRow("trash") << Recycle << false;
    }

    void planEqualsJournal()
    {
        QFETCH(Operation, operation);
        QFETCH(bool, skipIdentical);
        std::mt19937 random(20261208);
        const char* const folders[] = {"src/", "src/a/", "src/b/c/", "src/B/", "dest/"};
        const char* const names[] = {"x.jpg", "X.JPG", "y.jpg", "y_001.jpg", "x_001.jpg", "z.txt", ".h.jpg"};
        const char* const contents[] = {"1", "2", "11", "22"};
        const auto pick = [&random](const auto& from) { return from[random() % std::size(from)]; };
        for (int tree = 0; tree < 25; ++tree) {
            std::set<std::string> paths;
            std::string rows;
            for (int i = 0; i < 12; ++i)
                paths.insert(std::string(pick(folders)) + pick(names));
            for (const std::string& path : paths)
                rows += path + "=" + pick(contents) + " ";
            Session session(rows + "src/keep.jpg=k");
            const TempTree state;
            session.collection.setJournalFolder(state.root());
            session.window.operation = operation;
            session.window.fileTypes = tree % 3 == 0 ? "jpg,JPG" : "jpg";
            session.collection.setSkipIdentical(skipIdentical);
            session.user.operations.answers = {"はい"};

            session.collection.setDryRun(true);
            QCOMPARE(session.start(), Strings{});
            Strings planned;
            for (const FileRecord& file : session.collection.report().files) {
                const PlanState state = planState(file);
                if (state == PlanState::Identical)
                    planned.push_back("S " + file.source.str() + " " + file.reason.text());
                else if (state == PlanState::AsIs || state == PlanState::Numbered || state == PlanState::Fitted)
                    planned.push_back("D " + file.source.str() + " " + file.dest.str());
            }

            session.collection.setDryRun(false);
            session.start();
            const std::optional<Journal> journal = readJournal(newestJournalPath(state.root()));
            QVERIFY(journal);
            Strings done;
            for (const JournalEntry& entry : journal->entries)
                if (entry.kind != JournalEntry::Kind::Planned && entry.kind != JournalEntry::Kind::Copied)
                    done.push_back((entry.kind == JournalEntry::Kind::Identical ? "S " : "D ") + entry.source + " "
                                   + entry.dest);
            QVERIFY2(done == planned, rows.c_str());
        }
    }

    // A dry run writes nothing, not even a probe: where the file system cannot tell, it
    // plans as for a folding one and says so.
    void dryRunAssumesFoldingWhereUnsure()
    {
        Session session("src/1/A.JPG src/2/a.jpg");
        session.window.fileTypes = "jpg";
        bool probed = false;
        session.collection.setCaseFoldingProbe([&](const std::string&) { return probed = true; });
        session.collection.setFileSystemLookup([](const std::string& folder) {
            platform::FileSystemTraits traits = platform::fileSystemOf(folder);
            traits.caseFolding = platform::CaseFolding::Unknown;
            return traits;
        });
        session.collection.setDryRun(true);
        QCOMPARE(session.start(), Strings{});
        QVERIFY(!probed);
        Strings dests;
        for (const FileRecord& file : session.collection.report().files)
            dests.push_back(file.dest.str().substr(session.tree.path("dest/").size()));
        QCOMPARE(dests, (Strings{"A.JPG", "a_001.jpg"}));
        QCOMPARE(session.collection.report().notice, texts::caseFoldingAssumed());
    }

    // A file deeper than the longest path is found, and listed as not handled with the
    // reason; it stays where it is, and is never counted as deleted.
    void deepFilesAreReported_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::newRow("copy") << Operation::Copy;
        QTest::newRow("delete") << Operation::Delete;
        QTest::newRow("trash") << Operation::Recycle;
    }

    void deepFilesAreReported()
    {
        QFETCH(Operation, operation);
        TempTree tree;
        const HomeTrash trash(tree.folder("data"));
        tree.file("src/top.jpg", "T");
        const std::string deep = tree.deepFile("src/a", 25, "deep.jpg", "D");
        QVERIFY(deep.size() > PATH_MAX);
        FakeUser user;
        user.operations.answers = {"はい"};
        clsFileFolder toolkit{user.services()};
        FakeRunWindow window;
        window.source = tree.path("src");
        window.dest = tree.folder("dest");
        window.operation = operation;
        CollectionRun collection(window, toolkit, user.services());
        collection.setJournalFolder(tree.path("state"));
        collection.cmdStartClick();

        const RunReport& report = collection.report();
        QCOMPARE(report.files.size(), std::size_t(2));
        const FileRecord& first = report.files[0];
        const FileRecord& second = report.files[1];
        const FileRecord& deepRecord = first.source == deep ? first : second;
        QCOMPARE(deepRecord.source.str(), deep);
        QCOMPARE(deepRecord.outcome, FileOutcome::Skipped);
        QCOMPARE(deepRecord.reason.text(), texts::pathTooLong());
        QCOMPARE(deepRecord.bytes, std::uint64_t(1));
        QCOMPARE(report.counts().done, std::size_t(1));
        const int stillThere = platform::openLongPath(deep, O_RDONLY);
        QVERIFY(stillThere >= 0);
        ::close(stillThere);
        QCOMPARE(TempTree::exists(tree.path("src/top.jpg")), operation == Operation::Copy);
        QCOMPARE(TempTree::read(tree.path("dest/top.jpg")), std::string(operation == Operation::Copy ? "T" : ""));
    }

    // A folder the probe cannot write to gets the careful answer.
    void caseFoldingProbeUnsure() { QVERIFY(folderFoldsCase(TempTree().path("missing"))); }

    // Worked examples of numbering, for the fast plan and the literal reference alike.
    void numbering_data()
    {
        QTest::addColumn<Strings>("names");
        QTest::addColumn<Strings>("onDisk");
        QTest::addColumn<Strings>("expected");
        QTest::addColumn<bool>("foldCase");
        QTest::addColumn<bool>("shortens"); // names too long to number: the literal plan never shortens them
        const auto row = [](const char* name, const std::string& names, const char* onDisk,
                            const std::string& expected, bool foldCase = false, bool shortens = false) {
            QTest::newRow(name) << inFolder(names) << inFolder(onDisk) << inFolder(expected) << foldCase << shortens;
        };
        row("three of one name, one on disk", "p.jpg p.jpg p.jpg", "p.jpg", "p_001.jpg p_002.jpg p_003.jpg");
        row("name and its first number on disk", "p.jpg", "p.jpg p_001.jpg", "p_002.jpg");
        row("numbered name on disk numbered again", "p.jpg p.jpg", "p_001.jpg", "p.jpg p_001_001.jpg");
        row("numbered name already planned", "p_001.jpg p.jpg p.jpg", "", "p_001.jpg p.jpg p_002.jpg");
        row("own number borne by a later entry", "p.jpg p_001.jpg p.jpg", "p.jpg", "p_002.jpg p_001.jpg p_003.jpg");
        row("where the stem ends", "a.b.c a.b.c README README .rc .rc", "", "a.b.c a.b_001.c README README_001 .rc .rc_001");
        std::string many = "p.jpg", numbered = "p.jpg";
        for (int counter = 1; counter <= 1001; ++counter, many += " p.jpg")
            numbered += " p_" + run::counterText(counter) + ".jpg";
        row("counter past 999", many, "", numbered);
        // Numbers past 999 and shortened stems reach names of other families, which a
        // plan in parts may hold in another part.
        std::string fillers;
        for (int filler = 0; filler < 1100; ++filler)
            fillers += " f" + std::to_string(filler) + ".jpg";
        many = "p.jpg", numbered = "p.jpg";
        for (int counter = 1; counter <= 1000; ++counter, many += " p.jpg")
            numbered += " p_" + run::counterText(counter == 1000 ? 1001 : counter) + ".jpg";
        row("counter past 999 meets another name", many + " p_1000.jpg" + fillers, "", numbered + " p_1000.jpg" + fillers);
        const std::string longest(251, 'x'), cut(247, 'x');
        const std::string someFillers = fillers.substr(0, fillers.find(" f9."));
        row("shortened stem meets another name", longest + ".jpg " + longest + ".jpg " + cut + "_001.jpg" + someFillers, "",
            longest + ".jpg " + cut + "_002.jpg " + cut + "_001.jpg" + someFillers, false, true);
    }

    void numbering()
    {
        QFETCH(Strings, names);
        QFETCH(Strings, onDisk);
        QFETCH(Strings, expected);
        QFETCH(bool, foldCase);
        QFETCH(bool, shortens);
        for (const Planning planning : kPlannings)
            if (planning != Planning::Literal || !shortens)
                QCOMPARE(plan(planning, names, onDisk, foldCase), expected);
    }

    // The fast plans against the literal one on thousands of small seeded plans full of
    // clashes, with names compared exactly or folded; one plan in four mixes two folders.
    void agreesWithLiteralPlan()
    {
        std::mt19937 random(20240611u);
        const auto pick = [&random](const Strings& choices) { return choices[random() % choices.size()]; };
        // A handful of stems and extensions, numbered forms among them: most plans collide.
        const auto randomName = [&](const std::string& folder) {
            return folder + pick({"a", "A", "b", "a_001", "a_002", "A_001", "a_001_001", "b_001", ".a", "a.b", "ä", "Ä"})
                + pick({".jpg", ".jpg", ".JPG", "", ".x", "_001.jpg"});
        };
        for (int round = 0; round < 16000; ++round) {
            const bool foldCase = round % 2;
            const std::string folder = random() % 3 == 0 ? "/d.x/" : "/d/";
            Strings names(1 + random() % 12), onDisk(random() % 6);
            const bool mixed = round % 4 == 3;
            std::generate(names.begin(), names.end(), [&] { return randomName(mixed && random() % 2 ? "/e/" : folder); });
            std::generate(onDisk.begin(), onDisk.end(), [&] { return randomName(folder); });
            const Strings literal = plan(Planning::Literal, names, onDisk, foldCase);
            for (const Planning planning : {Planning::Whole, Planning::InParts}) {
                const Strings fast = plan(planning, names, onDisk, foldCase);
                if (fast != literal)
                    qWarning("round %d, planning %d, input %s", round, int(planning), QTest::toString(names));
                QCOMPARE(fast, literal);
            }
        }
    }
};

QTEST_GUILESS_MAIN(CollectionRunTest)
#include "tst_collection_run.moc"
