// Runs to and from a share that answers every call late (latencyfs over FUSE): the same
// files under the same names, and the same journal, as the same run between two local
// folders; and the stall that stands in for a share that stops answering. Skipped where
// FUSE cannot be mounted, unless QUORVANE_REQUIRE_FUSE is set.
#include "platform/HiddenCopies.h"
#include "run/Journal.h"
#include "support/FolderNames.h"
#include "support/LatencyMount.h"
#include "support/RunOnTree.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using run::Operation;

namespace {

enum class Share { Destination, Source };

// Photos in two folders: a name both hold, names that differ only in case (so that a
// run onto the share, which cannot tell whether it folds case, makes its probe), a
// Japanese name, one that is not UTF-8, a hidden one, an empty one, one too large to
// be written ahead, and a file of another type; each with its own bytes and time.
void makeSource(TempTree& tree, const std::string& folder)
{
    const std::string large(1536 * 1024 + 7, 'L');
    const std::pair<std::string, std::string> files[] = {
        {"a/IMG_1.jpg", "a1"}, {"b/IMG_1.jpg", "b1"}, {"a/Photo.JPG", "upper"}, {"b/photo.jpg", "lower"},
        {"a/写真.jpg", "shashin"}, {"b/caf\xe9.jpg", "latin-1"}, {"b/.hidden.jpg", "hidden"},
        {"a/empty.jpg", ""}, {"b/c/large.jpg", large}, {"a/notes.txt", "left"},
    };
    std::time_t seconds = 1'600'000'000;
    for (const auto& [name, content] : files) {
        const std::string path = tree.file(folder + "/" + name, content);
        const timespec times[2] = {{seconds, 123}, {seconds, 456'789}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        seconds += 3600;
    }
}

std::string relative(const std::string& path, const std::string& folder)
{
    return path.starts_with(folder + "/") ? path.substr(folder.size() + 1) : path;
}

// What a run leaves: both folders, and its journal with the paths taken relative to
// them (the inodes and change times differ from one file system to the other).
struct Outcome {
    Strings source, dest, journal;
    Strings plan; // each record's source, in list order, with the size the plan found
    std::size_t done = 0, renamed = 0, failed = 0;
};

Outcome runOn(const std::string& source, const std::string& dest, const std::string& sourceSeen,
              const std::string& destSeen, Operation operation, const std::string& journals)
{
    RunOnTree session(source, dest, operation, journals);
    session.collection.cmdStartClick();
    Outcome outcome;
    const run::RunCounts counts = session.collection.report().counts();
    outcome.done = counts.done;
    outcome.renamed = counts.renamed;
    outcome.failed = counts.failed;
    for (const run::FileRecord& file : session.collection.report().files)
        outcome.plan.push_back(relative(file.source.str(), source) + " " + std::to_string(file.bytes));
    outcome.source = everythingIn(sourceSeen);
    outcome.dest = everythingIn(destSeen);
    const std::string kinds[] = {"P ", "D ", "S "}; // planned, done, identical left
    if (const std::optional<run::Journal> journal = run::readJournal(run::newestJournalPath(journals))) {
        for (const run::JournalEntry& entry : journal->entries)
            // A copy placed before its source goes exists only across file systems.
            if (entry.kind != run::JournalEntry::Kind::Copied)
                outcome.journal.push_back(kinds[static_cast<int>(entry.kind)] + relative(entry.source, source)
                                      + " " + relative(entry.dest, dest) + " " + std::to_string(entry.bytes) + " "
                                      + std::to_string(entry.mtimeNanoseconds));
    }
    return outcome;
}

// Waits until `path` exists, watching its folder; false when it has not come within
// `seconds`, the bound for a test that has gone wrong.
bool waitForFile(const std::string& path, int seconds)
{
    const int watcher = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ::inotify_add_watch(watcher, path.substr(0, path.rfind('/')).c_str(), IN_CREATE | IN_MOVED_TO);
    bool there = TempTree::exists(path);
    for (int second = 0; !there && second < seconds; ++second) {
        pollfd events{watcher, POLLIN, 0};
        ::poll(&events, 1, 1000);
        char drained[4096];
        while (::read(watcher, drained, sizeof drained) > 0) {
        }
        there = TempTree::exists(path);
    }
    ::close(watcher);
    return there;
}

} // namespace

#define MOUNT_OR_SKIP(mount)                                                                       \
    if ((mount).mountPoint().empty()) {                                                            \
        if (qEnvironmentVariableIsSet("QUORVANE_REQUIRE_FUSE"))                                    \
            QFAIL((mount).why().c_str());                                                          \
        QSKIP((mount).why().c_str());                                                              \
    }

class SlowMediaTest : public QObject {
    Q_OBJECT

private slots:
    void sameAsOnLocalDisk_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Share>("share");
        QTest::newRow("copy to the share") << Operation::Copy << Share::Destination;
        QTest::newRow("copy from the share") << Operation::Copy << Share::Source;
        QTest::newRow("move to the share") << Operation::Move << Share::Destination;
        QTest::newRow("move from the share") << Operation::Move << Share::Source;
        QTest::newRow("delete on the share") << Operation::Delete << Share::Source;
    }

    void sameAsOnLocalDisk()
    {
        QFETCH(Operation, operation);
        QFETCH(Share, share);
        TempTree tree;
        makeSource(tree, "local/src");
        tree.folder("local/dest");
        const Outcome expected = runOn(tree.path("local/src"), tree.path("local/dest"), tree.path("local/src"),
                                       tree.path("local/dest"), operation, tree.path("local/state"));
        QCOMPARE(expected.failed, std::size_t(0));
        QVERIFY(expected.done >= 8);

        // The share's side is looked at in its backing folder, where no cache of the
        // mount can stand in for what was written.
        makeSource(tree, share == Share::Source ? "backing/src" : "disk/src");
        tree.folder(share == Share::Destination ? "backing/dest" : "disk/dest");
        const LatencyMount mount(tree.path("backing"), tree.path("share"), 0.2);
        MOUNT_OR_SKIP(mount);
        const std::string source = share == Share::Source ? "share/src" : "disk/src";
        const std::string dest = share == Share::Destination ? "share/dest" : "disk/dest";
        const Outcome got = runOn(tree.path(source), tree.path(dest),
                                  tree.path(share == Share::Source ? "backing/src" : source),
                                  tree.path(share == Share::Destination ? "backing/dest" : dest), operation,
                                  tree.path("share-state"));
        QCOMPARE(got.plan, expected.plan);
        QCOMPARE(got.failed, expected.failed);
        QCOMPARE(got.done, expected.done);
        QCOMPARE(got.renamed, expected.renamed);
        QCOMPARE(got.dest, expected.dest);     // names and bytes, no temporary or probe file left
        QCOMPARE(got.source, expected.source); // what a move or a delete leaves of the source
        QCOMPARE(got.journal, expected.journal);
    }

    // Hidden copies a run killed on the share left in the destination go at the next
    // run, and only those: a running process's, another machine's and look-alikes stay.
    void leftOversOfAKilledRun()
    {
        TempTree tree;
        tree.file("disk/src/a.jpg", "A");
        const pid_t ended = ::fork();
        if (ended == 0)
            ::_exit(0);
        QVERIFY(ended > 0 && ::waitpid(ended, nullptr, 0) == ended);
        // This machine's part of the names, as the program writes them.
        std::string host = platform::hiddenCopyName("").substr(std::string("/.quorvane-").size());
        host.resize(host.rfind('-'));
        host.resize(host.rfind('-'));
        const auto hidden = [](const std::string& machine, pid_t pid, int count) {
            return ".quorvane-" + machine + "-" + std::to_string(pid) + "-" + std::to_string(count) + ".tmp";
        };
        tree.file("backing/dest/" + hidden(host, ended, 1), "partial");
        tree.file("backing/dest/" + hidden(host, ended, 2) + "/" + hidden(host, ended, 3), "whole");
        const std::string kept[] = {
            hidden(host, ended, 4) + "/notes.txt=mine", // a thread's folder holds nothing else
            hidden(host, 1, 5) + "=running",            // the first process never ends
            hidden("elsewhere", ended, 6) + "=another machine's",
            ".quorvane-notes.tmp=mine",
        };
        for (const std::string& entry : kept)
            tree.file("backing/dest/" + entry.substr(0, entry.find('=')), entry.substr(entry.find('=') + 1));
        const LatencyMount mount(tree.path("backing"), tree.path("share"), 0);
        MOUNT_OR_SKIP(mount);

        runOn(tree.path("disk/src"), tree.path("share/dest"), tree.path("disk/src"), tree.path("backing/dest"),
              Operation::Copy, tree.path("state"));
        Strings expected{"a.jpg=A", hidden(host, ended, 4) + "/"};
        expected.insert(expected.end(), std::begin(kept), std::end(kept));
        std::sort(expected.begin(), expected.end());
        QCOMPARE(everythingIn(tree.path("backing/dest")), expected);
    }

    // The stall the tests of a hanging share stand on: the chosen file's read waits
    // until the test lets it go, while every other call is answered.
    void aStalledReadWaitsForItsRelease()
    {
        TempTree tree;
        tree.file("backing/held.jpg", "held");
        tree.file("backing/free.jpg", "free");
        LatencyMount::Options options(0.2);
        options.stall = "/held.jpg";
        options.stallSeconds = 60;
        options.stallRelease = tree.path("control/release");
        options.stallStarted = tree.path("control/started");
        tree.folder("control");
        const LatencyMount mount(tree.path("backing"), tree.path("share"), options);
        MOUNT_OR_SKIP(mount);
        std::atomic<bool> done = false;
        std::string content;
        std::thread reader([&] {
            content = TempTree::read(tree.path("share/held.jpg"));
            done = true;
        });
        const bool started = waitForFile(options.stallStarted, 30);
        const bool heldUp = !done;
        const std::string other = TempTree::read(tree.path("share/free.jpg"));
        tree.file("control/release");
        reader.join();
        QVERIFY(started);
        QVERIFY(heldUp);
        QCOMPARE(other, std::string("free"));
        QCOMPARE(content, std::string("held"));
    }
};

QTEST_GUILESS_MAIN(SlowMediaTest)
#include "tst_slow_media.moc"
