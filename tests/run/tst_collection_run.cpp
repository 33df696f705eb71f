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
#include <fcntl.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using run::InputField;
using run::Operation;
using run::WindowAction;
namespace texts = run::texts;

Q_DECLARE_METATYPE(run::Operation)

namespace {

// Every entry of a folder with what it is: "name=content" for a file, "name/" for a
// folder, "name@" for a link, hidden entries included.
Strings contentsOf(const std::string& folder)
{
    if (!TempTree::exists(folder))
        return {"<missing>"};
    Strings entries;
    for (const std::string& name : namesIn(folder)) {
        const std::string path = folder + "/" + name;
        struct stat info {};
        ::lstat(path.c_str(), &info);
        if (S_ISDIR(info.st_mode))
            entries.push_back(name + "/");
        else if (S_ISLNK(info.st_mode))
            entries.push_back(name + "@");
        else
            entries.push_back(name + "=" + TempTree::read(path));
    }
    return entries;
}

std::string expand(std::string text, const std::string& root)
{
    for (std::size_t at; (at = text.find("{R}")) != std::string::npos;)
        text.replace(at, 3, root);
    return text;
}

// Builds files from "relative=content" rows ("name/" makes a folder, "name@target" a
// link).
void build(TempTree& tree, const Strings& rows)
{
    for (const std::string& row : rows) {
        if (row.back() == '/')
            tree.folder(row.substr(0, row.size() - 1));
        else if (const std::size_t at = row.find('@'); at != std::string::npos)
            tree.link(row.substr(0, at), row.substr(at + 1));
        else if (const std::size_t equals = row.find('='); equals != std::string::npos)
            tree.file(row.substr(0, equals), row.substr(equals + 1));
        else
            tree.file(row, row);
    }
}

// Everything one run needs, wired as the program wires it, with the run yielding at
// every step so that hooks can act at a chosen point.
struct Session {
    TempTree tree;
    FakeUser user;
    clsFileFolder toolkit{user.services()};
    FakeRunWindow window;
    run::CollectionRun collection{window, toolkit, user.services()};

    Session()
    {
        collection.setYieldInterval(std::chrono::nanoseconds(0));
        window.source = tree.path("src");
        window.dest = tree.path("dest");
    }

    WindowAction start() { return collection.cmdStartClick(); }
};

} // namespace

class CollectionRunTest : public QObject {
    Q_OBJECT

private slots:
    // The three input checks and the destination folder's creation: what is shown,
    // where the focus goes, and that nothing is written when a check fails.
    void checks_data()
    {
        QTest::addColumn<Strings>("files");
        QTest::addColumn<std::string>("source");
        QTest::addColumn<std::string>("fileTypes");
        QTest::addColumn<std::string>("dest");
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<Strings>("shown");
        QTest::addColumn<int>("focus"); // an InputField, or -1 when the focus stays
        QTest::addColumn<Strings>("destHolds");

        const Strings oneJpg{"src/a.jpg=A"};
        const std::string src = "{R}/src";
        const std::string dest = "{R}/dest";
        const Strings missing{"<missing>"};
        const Strings copied{"a.jpg=A"};
        const int none = -1;
        const auto field = [](InputField value) { return static_cast<int>(value); };

        QTest::newRow("empty source text")
            << oneJpg << std::string() << std::string() << std::string() << Operation::Copy
            << QList<bool>{} << Strings{texts::kNoSourceFolder} << field(InputField::SourceFolder)
            << missing;
        QTest::newRow("source folder missing")
            << oneJpg << std::string("{R}/none") << std::string("jpg") << dest << Operation::Copy
            << QList<bool>{} << Strings{texts::kSourceFolderMissing} << none << missing;
        QTest::newRow("source names a file")
            << oneJpg << std::string("{R}/src/a.jpg") << std::string("jpg") << dest
            << Operation::Copy << QList<bool>{} << Strings{texts::kSourceFolderMissing} << none
            << missing;
        QTest::newRow("empty extension text")
            << oneJpg << src << std::string() << dest << Operation::Copy << QList<bool>{}
            << Strings{texts::kNoFileTypes} << field(InputField::FileTypes) << missing;
        QTest::newRow("empty destination text, after the search")
            << oneJpg << src << std::string("jpg") << std::string() << Operation::Copy
            << QList<bool>{} << Strings{texts::kNoDestFolder} << field(InputField::DestFolder)
            << missing;
        QTest::newRow("nothing matches, empty destination text")
            << oneJpg << src << std::string("png") << std::string() << Operation::Move
            << QList<bool>{} << Strings{texts::kNoDestFolder} << field(InputField::DestFolder)
            << missing;
        QTest::newRow("nothing matches: silent, no question")
            << oneJpg << src << std::string("png") << dest << Operation::Copy << QList<bool>{}
            << Strings{} << none << missing;
        QTest::newRow("source tree without files: silent")
            << Strings{"src/empty/"} << src << std::string("jpg") << dest << Operation::Copy
            << QList<bool>{} << Strings{} << none << missing;
        QTest::newRow("destination missing, answer No")
            << oneJpg << src << std::string("jpg") << dest << Operation::Copy << QList<bool>{false}
            << Strings{texts::kCreateFolderQuestion} << none << missing;
        QTest::newRow("destination missing, answer Yes")
            << oneJpg << src << std::string("jpg") << std::string("{R}/new/dest") << Operation::Copy
            << QList<bool>{true} << Strings{texts::kCreateFolderQuestion} << none << missing;
        QTest::newRow("destination under a file cannot be made")
            << oneJpg << src << std::string("jpg") << std::string("{R}/src/a.jpg/dest")
            << Operation::Copy << QList<bool>{true}
            << Strings{texts::kCreateFolderQuestion, texts::kCreateFolderFailed} << none << missing;
        QTest::newRow("destination names an existing file")
            << oneJpg << src << std::string("jpg") << std::string("{R}/src/a.jpg") << Operation::Copy
            << QList<bool>{true}
            << Strings{texts::kCreateFolderQuestion, texts::kFolderAlreadyExists} << none << missing;
        QTest::newRow("relative destination cannot be made")
            << oneJpg << src << std::string("jpg") << std::string("dest") << Operation::Copy
            << QList<bool>{true}
            << Strings{texts::kCreateFolderQuestion, texts::kCreateFolderFailed} << none << missing;
        QTest::newRow("existing destination, trailing slash")
            << Strings{"src/a.jpg=A", "dest/"} << src << std::string("jpg") << std::string("{R}/dest/")
            << Operation::Copy << QList<bool>{} << Strings{} << none << copied;
        QTest::newRow("delete never reads the destination")
            << Strings{"src/a.jpg=A", "src/b.txt=B"} << src << std::string("jpg") << std::string()
            << Operation::Delete << QList<bool>{} << Strings{} << none << missing;
    }

    void checks()
    {
        QFETCH(Strings, files);
        QFETCH(std::string, source);
        QFETCH(std::string, fileTypes);
        QFETCH(std::string, dest);
        QFETCH(Operation, operation);
        QFETCH(QList<bool>, answers);
        QFETCH(Strings, shown);
        QFETCH(int, focus);
        QFETCH(Strings, destHolds);
        Session session;
        build(session.tree, files);
        const std::string root = session.tree.root();
        session.window.source = expand(source, root);
        session.window.fileTypes = fileTypes;
        session.window.dest = expand(dest, root);
        session.window.operation = operation;
        for (bool answer : answers)
            session.user.yesNoAnswers.push_back(answer);

        QCOMPARE(session.start(), WindowAction::StayOpen);
        QCOMPARE(session.user.shown, shown);
        QCOMPARE(session.user.unexpected, Strings{});
        QCOMPARE(session.window.focused ? static_cast<int>(*session.window.focused) : -1, focus);
        QVERIFY(session.window.idle());
        QCOMPARE(contentsOf(root + "/dest"), destHolds);
        if (QByteArray(QTest::currentDataTag()).endsWith("answer Yes"))
            QCOMPARE(contentsOf(root + "/new/dest"), Strings{"a.jpg=A"});
        if (operation == Operation::Delete)
            QCOMPARE(contentsOf(root + "/src"), Strings{"b.txt=B"});
        // The destination is checked only after the whole tree was searched and filtered.
        if (shown == Strings{texts::kNoDestFolder})
            QVERIFY(session.user.yields > 0);
    }

    // A folder the user may not create in is reported, not passed over in silence.
    void destinationRefused()
    {
        Session session;
        build(session.tree, {"src/a.jpg=A", "locked/"});
        ::chmod(session.tree.path("locked").c_str(), 0555);
        session.window.dest = session.tree.path("locked/dest");
        session.user.yesNoAnswers.push_back(true);
        const std::optional<std::string> shown = runUnprivileged([&session] {
            session.start();
            std::string all;
            for (const std::string& text : session.user.shown)
                all += text + "|";
            return all;
        });
        QCOMPARE(shown.value_or("<no report>"),
                 texts::kCreateFolderQuestion + "|" + texts::kCreateFolderFailed + "|");
        QVERIFY(!TempTree::exists(session.tree.path("locked/dest")));
    }

    // Which files a copy run gathers, in which order, and the names they get.
    void copyRun_data()
    {
        QTest::addColumn<Strings>("files");
        QTest::addColumn<std::string>("fileTypes");
        QTest::addColumn<Strings>("destHolds");

        QTest::newRow("sub-folders are flattened, clashes numbered in search order")
            << Strings{"src/1/p.jpg=1", "src/2/p.jpg=2", "src/2/3/p.jpg=3", "src/q.txt"}
            << std::string("jpg") << Strings{"p.jpg=1", "p_001.jpg=3", "p_002.jpg=2"};
        QTest::newRow("kept order follows the items, then the search")
            << Strings{"src/1/p.jpg=1", "src/2/p.jpg=2"} << std::string("2/p.jpg,1/p.jpg")
            << Strings{"p.jpg=2", "p_001.jpg=1"};
        QTest::newRow("letter case of the item does not matter")
            << Strings{"src/1/a.JPG=1", "src/2/b.jpg=2"} << std::string("Jpg")
            << Strings{"a.JPG=1", "b.jpg=2"};
        QTest::newRow("trailing comma is the same list")
            << Strings{"src/a.jpg=A"} << std::string("jpg,") << Strings{"a.jpg=A"};
        QTest::newRow("blank after the comma is part of the item")
            << Strings{"src/a.gif=G", "src/b.jpg=J"} << std::string("jpg, gif") << Strings{"b.jpg=J"};
        QTest::newRow("empty item keeps every file, a second match copies again")
            << Strings{"src/a.txt=T", "src/b.jpg=J"} << std::string(",jpg")
            << Strings{"a.txt=T", "b.jpg=J", "b_001.jpg=J"};
        QTest::newRow("item matches the end of the name, not the extension")
            << Strings{"src/xjpg=X", "src/y.png=Y"} << std::string("jpg") << Strings{"xjpg=X"};
        QTest::newRow("multibyte item counted in characters")
            << Strings{"src/旅.ジペグ=1", "src/b.jpg=2"} << std::string("ペグ")
            << Strings{"旅.ジペグ=1"};
        QTest::newRow("non-ASCII letters compared without case")
            << Strings{"src/a.ÄPG=1"} << std::string("äpg") << Strings{"a.ÄPG=1"};
        QTest::newRow("name that is not UTF-8 is copied byte for byte")
            << Strings{"src/caf\xe9.jpg=1", "src/\xff\xfe=2"} << std::string("jpg")
            << Strings{"caf\xe9.jpg=1"};
        QTest::newRow("names differing only in case stay apart")
            << Strings{"src/1/A.JPG=1", "src/2/a.jpg=2"} << std::string("jpg")
            << Strings{"A.JPG=1", "a.jpg=2"};
        QTest::newRow("no dot: numbered at the end")
            << Strings{"src/1/README=1", "src/2/README=2"} << std::string("README")
            << Strings{"README=1", "README_001=2"};
        QTest::newRow("leading dot belongs to the name")
            << Strings{"src/1/.bashrc=1", "src/2/.bashrc=2"} << std::string("bashrc")
            << Strings{".bashrc=1", ".bashrc_001=2"};
    }

    void copyRun()
    {
        QFETCH(Strings, files);
        QFETCH(std::string, fileTypes);
        QFETCH(Strings, destHolds);
        Session session;
        build(session.tree, files);
        session.tree.folder("dest");
        session.window.fileTypes = fileTypes;
        QCOMPARE(session.start(), WindowAction::StayOpen);
        QCOMPARE(contentsOf(session.window.dest), destHolds);
        QCOMPARE(session.user.shown, Strings{});
        QCOMPARE(session.user.operations.shown, Strings{});
    }

    // Whatever already bears a name in the destination keeps it, and is never
    // entered: hidden files, folders and links count as taken too.
    void takenNames_data()
    {
        QTest::addColumn<Strings>("files");
        QTest::addColumn<std::string>("destFolder");
        QTest::addColumn<Strings>("destHolds");

        QTest::newRow("file bears the name")
            << Strings{"src/p.jpg=new", "dest/p.jpg=old"} << std::string("dest")
            << Strings{"p.jpg=old", "p_001.jpg=new"};
        QTest::newRow("file and its first number bear the name")
            << Strings{"src/p.jpg=new", "dest/p.jpg=old", "dest/p_001.jpg=old1"}
            << std::string("dest") << Strings{"p.jpg=old", "p_001.jpg=old1", "p_002.jpg=new"};
        QTest::newRow("hidden file bears the name")
            << Strings{"src/.p.jpg=new", "dest/.p.jpg=old"} << std::string("dest")
            << Strings{".p.jpg=old", ".p_001.jpg=new"};
        QTest::newRow("folder bears the name")
            << Strings{"src/p.jpg=new", "dest/p.jpg/"} << std::string("dest")
            << Strings{"p.jpg/", "p_001.jpg=new"};
        QTest::newRow("dangling link bears the name")
            << Strings{"src/p.jpg=new", "dest/p.jpg@nowhere"} << std::string("dest")
            << Strings{"p.jpg@", "p_001.jpg=new"};
        QTest::newRow("dot in the destination folder's name")
            << Strings{"src/1/README=1", "src/2/README=2", "dest.d/"} << std::string("dest.d")
            << Strings{"README=1", "README_001=2"};
        QTest::newRow("copy into the source folder itself")
            << Strings{"src/p.jpg=top", "src/sub/p.jpg=sub", "src/sub/q.jpg=q"} << std::string("src")
            << Strings{"p.jpg=top", "p_001.jpg=top", "p_002.jpg=sub", "q.jpg=q", "sub/"};
    }

    void takenNames()
    {
        QFETCH(Strings, files);
        QFETCH(std::string, destFolder);
        QFETCH(Strings, destHolds);
        Session session;
        build(session.tree, files);
        session.window.dest = session.tree.path(destFolder);
        session.window.fileTypes = "jpg,README";
        session.start();
        QCOMPARE(contentsOf(session.window.dest), destHolds);
        QCOMPARE(session.user.operations.shown, Strings{});
    }

    // Where the destination's file system folds letter case, names differing only in
    // case are one name; elsewhere they stay two.
    void caseFoldingDestination_data()
    {
        QTest::addColumn<bool>("folds");
        QTest::addColumn<Strings>("destHolds");
        QTest::newRow("case-sensitive") << false << Strings{"A.JPG=1", "a.jpg=2", "Ä.jpg=3", "ä.jpg=4"};
        QTest::newRow("case-folding") << true << Strings{"A.JPG=1", "a_001.jpg=2", "Ä.jpg=3", "ä_001.jpg=4"};
    }

    void caseFoldingDestination()
    {
        QFETCH(bool, folds);
        QFETCH(Strings, destHolds);
        Session session;
        build(session.tree, {"src/1/A.JPG=1", "src/2/a.jpg=2", "src/3/Ä.jpg=3", "src/4/ä.jpg=4", "dest/"});
        std::string probed;
        session.collection.setCaseFoldingProbe([&probed, folds](const std::string& folder) {
            probed = folder;
            return folds;
        });
        session.start();
        QCOMPARE(probed, session.window.dest + "/");
        QCOMPARE(contentsOf(session.window.dest), destHolds);
    }

    // The probe itself, on the file systems at hand, which fold no case; it leaves
    // nothing behind.
    void caseFoldingProbe()
    {
        TempTree tree;
        tree.folder("dest");
        QVERIFY(!run::folderFoldsCase(tree.path("dest")));
        QCOMPARE(contentsOf(tree.path("dest")), Strings{});
        // A folder that cannot be written to gives the careful answer.
        QVERIFY(run::folderFoldsCase(tree.path("missing")));
    }

    // The real thing, where the machine lets the test mount a case-folding file system.
    void caseFoldingFileSystem()
    {
        Session session;
        build(session.tree, {"src/1/A.JPG=1", "src/2/a.jpg=2"});
        const std::string mountPoint = session.tree.folder("mnt");
        if (::mount("none", mountPoint.c_str(), "tmpfs", 0, "casefold") != 0)
            QSKIP("no case-folding file system can be mounted here");
        struct Unmount {
            std::string at;
            ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
        } unmount{mountPoint};
        session.window.dest = session.tree.folder("mnt/dest");
        // Case folding is switched on per folder, while it is empty.
        const int folder = ::open(session.window.dest.c_str(), O_RDONLY | O_DIRECTORY);
        long flags = 0;
        constexpr long kCaseFoldFlag = 0x40000000;
        QVERIFY(::ioctl(folder, _IOR('f', 1, long), &flags) == 0);
        flags |= kCaseFoldFlag;
        const bool folded = ::ioctl(folder, _IOW('f', 2, long), &flags) == 0;
        ::close(folder);
        if (!folded)
            QSKIP("the mounted file system does not fold case in folders");

        QVERIFY(run::folderFoldsCase(session.window.dest));
        session.start();
        QCOMPARE(contentsOf(session.window.dest), (Strings{"A.JPG=1", "a_001.jpg=2"}));
    }

    // A name planned as free and written by another program before its turn comes is
    // not replaced: the file is numbered as the plan numbers a name it finds taken.
    void nameTakenAfterPlanning()
    {
        Session session;
        build(session.tree, {"src/1/p.jpg=1", "src/2/p.jpg=2", "dest/"});
        const std::string intruder = session.tree.path("dest/p_001.jpg");
        session.user.onYield = [&](int) {
            if (TempTree::exists(session.tree.path("dest/p.jpg")) && !TempTree::exists(intruder))
                session.tree.file("dest/p_001.jpg", "other program");
        };
        session.start();
        QCOMPARE(contentsOf(session.window.dest),
                 (Strings{"p.jpg=1", "p_001.jpg=other program", "p_001_001.jpg=2"}));
        QCOMPARE(session.user.operations.shown, Strings{});
    }

    // Moves: files leave the source tree; one matched by two items is moved once,
    // without an error for its second listing.
    void moveRun()
    {
        Session session;
        build(session.tree, {"src/1/p.jpg=1", "src/2/p.JPG=2", "src/q.txt=Q", "dest/"});
        session.window.operation = Operation::Move;
        session.window.fileTypes = "jpg,JPG";
        session.start();
        QCOMPARE(contentsOf(session.window.dest), (Strings{"p.JPG=2", "p.jpg=1"}));
        QCOMPARE(contentsOf(session.tree.path("src")), (Strings{"1/", "2/", "q.txt=Q"}));
        QCOMPARE(session.user.operations.shown, Strings{});
        QCOMPARE(session.user.shown, Strings{});
    }

    // Cancel from the button: at the first step of the plan nothing is written; in the
    // middle of the copies no file is started after the message.
    void cancel_data()
    {
        QTest::addColumn<int>("afterFiles"); // -1: as soon as the button reads "キャンセル"
        QTest::addColumn<Operation>("operation");
        QTest::newRow("copy, during the plan") << -1 << Operation::Copy;
        QTest::newRow("move, during the plan") << -1 << Operation::Move;
        QTest::newRow("copy, after five files") << 5 << Operation::Copy;
        QTest::newRow("move, after five files") << 5 << Operation::Move;
    }

    void cancel()
    {
        QFETCH(int, afterFiles);
        QFETCH(Operation, operation);
        Session session;
        Strings files{"dest/"};
        for (int i = 0; i < 40; ++i)
            files.push_back("src/" + std::to_string(i % 4) + "/f" + std::to_string(i) + ".jpg");
        build(session.tree, files);
        session.window.operation = operation;
        std::optional<std::size_t> writtenAtCancel;
        session.user.onYield = [&](int) {
            if (writtenAtCancel || session.window.caption != texts::kCancel)
                return;
            QVERIFY(!session.window.startEnabled);
            QVERIFY(session.window.busy);
            QVERIFY(session.collection.isRunning());
            const std::size_t written = contentsOf(session.window.dest).size();
            if (afterFiles >= 0 && written < static_cast<std::size_t>(afterFiles))
                return;
            writtenAtCancel = written;
            QCOMPARE(session.collection.cmdExitClick(), WindowAction::StayOpen);
        };
        QCOMPARE(session.start(), WindowAction::StayOpen);
        QVERIFY(session.window.idle());
        QVERIFY(writtenAtCancel.has_value());
        QCOMPARE(session.user.shown, Strings{texts::kStopping});
        QCOMPARE(contentsOf(session.window.dest).size(), *writtenAtCancel);
        QCOMPARE(*writtenAtCancel, std::size_t(afterFiles < 0 ? 0 : afterFiles));

        // The next run starts afresh and does all its work.
        session.user.onYield = nullptr;
        session.window.dest = session.tree.path("second");
        session.user.yesNoAnswers.push_back(true);
        session.start();
        const std::size_t remaining = operation == Operation::Copy ? 40 : 40 - *writtenAtCancel;
        QCOMPARE(contentsOf(session.window.dest).size(), remaining);
    }

    // The user chooses "stop" in a failing copy's error message: the run stops as if
    // cancelled.
    void stopInOperationMessage()
    {
        Session session;
        build(session.tree, {"src/1/a.jpg", "src/2/b.jpg", "src/3/c.jpg", "dest/"});
        session.user.onYield = [&](int) {
            if (session.window.caption == texts::kCancel && TempTree::exists(session.tree.path("dest/a.jpg")))
                ::unlink(session.tree.path("src/2/b.jpg").c_str());
        };
        session.user.operations.answers.push_back("中止");
        session.start();
        QCOMPARE(session.user.operations.shown.size(), std::size_t(1));
        QCOMPARE(contentsOf(session.window.dest), Strings{"a.jpg=src/1/a.jpg"});
        QVERIFY(TempTree::exists(session.tree.path("src/3/c.jpg")));
    }

    // The window asked to close while a run works: the run stops, ends properly, and
    // then tells the window to close. A delete run asked to stop while it filters
    // deletes nothing.
    void closeDuringRun_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<bool>("fromExitButton");
        QTest::newRow("copy, close box") << Operation::Copy << false;
        QTest::newRow("copy, exit button while it reads 閉じる") << Operation::Copy << true;
        QTest::newRow("delete, close box") << Operation::Delete << false;
        QTest::newRow("recycle, exit button") << Operation::Recycle << true;
    }

    void closeDuringRun()
    {
        QFETCH(Operation, operation);
        QFETCH(bool, fromExitButton);
        Session session;
        build(session.tree, {"src/a.jpg=A", "src/b.jpg=B", "dest/"});
        session.window.operation = operation;
        session.user.onYield = [&](int number) {
            if (number != 1)
                return;
            QCOMPARE(session.window.caption, texts::kClose);
            if (fromExitButton)
                QCOMPARE(session.collection.cmdExitClick(), WindowAction::StayOpen);
            else
                session.collection.requestClose();
        };
        QCOMPARE(session.start(), WindowAction::Close);
        QVERIFY(session.window.idle());
        QCOMPARE(contentsOf(session.tree.path("src")), (Strings{"a.jpg=A", "b.jpg=B"}));
        QCOMPARE(contentsOf(session.window.dest), Strings{});
        QCOMPARE(session.user.shown, Strings{});
        QCOMPARE(session.user.operations.shown, Strings{});
        // Outside a run the exit button closes at once, and a close request is not kept.
        session.collection.requestClose();
        QCOMPARE(session.collection.cmdExitClick(), WindowAction::Close);
    }

    // An unexpected failure inside a run still gives Start back.
    void failureInsideRun()
    {
        Session session;
        build(session.tree, {"src/a.jpg", "dest/"});
        session.user.onYield = [](int) { throw std::runtime_error("failure"); };
        session.start();
        QVERIFY(session.window.idle());
        QVERIFY(!session.collection.isRunning());
        QCOMPARE(session.user.shown, Strings{texts::kUnexpectedError});
    }

    // Delete and recycle hand every kept file to one operation and set its options;
    // the options stay for later runs.
    void deleteAndRecycle_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<std::string>("fileTypes");
        QTest::addColumn<Strings>("operationShown");
        QTest::addColumn<Strings>("sourceHolds");
        QTest::addColumn<Strings>("trashHolds");

        const Strings kept{"b.txt=B"};
        QTest::newRow("delete, no question, no trash")
            << Operation::Delete << std::string("jpg") << Strings{} << kept << Strings{"<missing>"};
        QTest::newRow("delete, a file matched twice")
            << Operation::Delete << std::string("jpg,JPG") << Strings{} << kept << Strings{"<missing>"};
        QTest::newRow("delete, nothing matches")
            << Operation::Delete << std::string("png") << Strings{}
            << Strings{"a.jpg=A", "b.txt=B"} << Strings{"<missing>"};
        QTest::newRow("recycle, one question, into the trash")
            << Operation::Recycle << std::string("jpg") << Strings{"?"} << kept << Strings{"a.jpg=A"};
        QTest::newRow("recycle, a file matched twice")
            << Operation::Recycle << std::string("jpg,JPG") << Strings{"?"} << kept
            << Strings{"a.jpg=A"};
    }

    void deleteAndRecycle()
    {
        QFETCH(Operation, operation);
        QFETCH(std::string, fileTypes);
        QFETCH(Strings, operationShown);
        QFETCH(Strings, sourceHolds);
        QFETCH(Strings, trashHolds);
        Session session;
        const HomeTrash trash(session.tree.path("data"));
        build(session.tree, {"src/a.jpg=A", "src/b.txt=B"});
        session.window.operation = operation;
        session.window.fileTypes = fileTypes;
        for (std::size_t i = 0; i < operationShown.size(); ++i)
            session.user.operations.answers.push_back("はい");
        QCOMPARE(session.start(), WindowAction::StayOpen);
        QCOMPARE(contentsOf(session.tree.path("src")), sourceHolds);
        QCOMPARE(contentsOf(session.tree.path("data/Trash/files")), trashHolds);
        QCOMPARE(session.user.operations.shown.size(), operationShown.size());
        QCOMPARE(session.user.operations.unexpected, Strings{});
        QCOMPARE(session.user.shown, Strings{});
        QCOMPARE(session.window.caption, texts::kClose);
        const bool deleting = operation == Operation::Delete;
        QCOMPARE(session.toolkit.RespondDialog(), deleting);
        QCOMPARE(session.toolkit.AllowUndo(), !deleting);

        // A later copy run works with the options as the last run left them.
        build(session.tree, {"src/c.jpg=C", "dest/"});
        session.window.operation = Operation::Copy;
        session.window.fileTypes = "jpg";
        session.start();
        const Strings copied = contentsOf(session.window.dest);
        QVERIFY(std::find(copied.begin(), copied.end(), "c.jpg=C") != copied.end());
        QCOMPARE(session.user.operations.shown.size(), operationShown.size());
        QCOMPARE(session.toolkit.RespondDialog(), deleting);
        QCOMPARE(session.toolkit.AllowUndo(), !deleting);
    }
};

QTEST_GUILESS_MAIN(CollectionRunTest)
#include "tst_collection_run.moc"
