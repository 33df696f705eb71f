#include "platform/PendingCall.h"
#include "support/FakeUser.h"
#include "support/LatencyMount.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/SearchProgress.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <atomic>
#include <sys/stat.h>

namespace {

using Counts = std::vector<std::int32_t>;

// In the order of allCounts: method m owns the counts from kFirstCount[m] to kFirstCount[m + 1].
enum class Method { SFolderPath, SFilePath, SFileFolderPath, GetFolder, GetFile, GetFileFolder };
constexpr int kFirstCount[] = {0, 1, 2, 4, 5, 6, 8};

Strings call(clsFileFolder& toolkit, Method method, const std::string& folder)
{
    switch (method) {
    case Method::SFolderPath: return toolkit.SFolderPath(folder);
    case Method::SFilePath: return toolkit.SFilePath(folder);
    case Method::SFileFolderPath: return toolkit.SFileFolderPath(folder);
    case Method::GetFolder: return toolkit.GetFolder(folder);
    case Method::GetFile: return toolkit.GetFile(folder);
    case Method::GetFileFolder: return toolkit.GetFileFolder(folder);
    }
    return {};
}

Counts allCounts(const clsFileFolder& t)
{
    return {t.SFolderPathCount(), t.SFilePathCount(), t.BSFolderPathCount(), t.BSFilePathCount(),
            t.FolderPathCount(),  t.FilePathCount(),  t.BFolderPathCount(),  t.BFilePathCount()};
}

// `layout` builds the tree: "name" a file, "name/" a folder, "name -> target" a link.
// `counts` are the method's own; every other count must stay at -1.
struct SearchRow {
    Method method;
    std::string start;
    Strings expected;
    Counts counts;
    Strings layout{"a.txt", "Sub/c.txt", "Sub/Empty/", "x.txt"};
};

// A tree with what a walk must get right: nesting, a folder reached through a link,
// links back up the tree, folders it may not read (for an unprivileged reader), names
// that are not UTF-8, and enough folders side by side that reads ahead overlap.
void makeTangledTree(TempTree& tree, const std::string& under)
{
    const auto at = [&](const std::string& path) { return under + "/" + path; };
    for (const char* file : {"a/1.jpg", "a/b/2.jpg", "a/b/c/3.jpg", "a/b/c/d/4.jpg", "A2/5.jpg", "caf\xe9/\xff.jpg",
                             "caf\xe9/inner/6.jpg", "locked/7.jpg", "a/b/shut/8.jpg", "top.jpg"})
        tree.file(at(file));
    for (int i = 0; i < 24; ++i)
        tree.file(at("wide/f" + std::to_string(i) + "/n.jpg"));
    tree.file(at("wide/f3/g/h/deeper.jpg"));
    tree.folder(at("empty"));
    tree.link(at("toB"), "a/b");
    tree.link(at("a/b/c/up"), "../..");
    tree.link(at("wide/f7/self"), ".");
    tree.link(at("dangling"), "missing");
    tree.link(at("wide/f9/photo.jpg"), "../../a/1.jpg");
    ::chmod(tree.path(at("locked")).c_str(), 0);
    ::chmod(tree.path(at("a/b/shut")).c_str(), 0);
}

// One search of `folder` reading `atOnce` folders at once, as lines: every path found,
// then the counts. `stopAt`: the search is stopped as it comes to that folder (1 the
// first; 0 never). Every folder must be named as the one being read while it is.
std::string searchReport(const std::string& folder, std::size_t atOnce, int stopAt)
{
    FakeUser user;
    clsFileFolder toolkit(user.services());
    platform::PendingCall reading;
    std::atomic<bool> stop{false};
    SearchProgress progress;
    progress.foldersAtOnce = atOnce;
    progress.reading = &reading;
    progress.stop = &stop;
    int folders = 0;
    std::string unnamed;
    progress.beforeReading = [&](const std::string& path) {
        const std::optional<platform::PendingCall::State> call = reading.current();
        if (!call || call->path != path)
            unnamed += " " + path;
        if (++folders == stopAt)
            stop = true;
    };
    std::string report;
    for (const std::string& path : toolkit.SFilePath(folder, &progress))
        report += path + '\n';
    return report + "files " + std::to_string(toolkit.SFilePathCount()) + ", folders read "
        + std::to_string(progress.folders.load()) + ", counted " + std::to_string(progress.files.load())
        + (progress.stopped ? ", stopped" : "") + (unnamed.empty() ? "" : ", not named:" + unnamed);
}

enum class Reader { Unprivileged, ThroughShare };

} // namespace

Q_DECLARE_METATYPE(SearchRow)
Q_DECLARE_METATYPE(Reader)

class TreeSearchTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheTree_data()
    {
        QTest::addColumn<SearchRow>("row");
        auto row = [](const char* name, const SearchRow& row) { QTest::newRow(name) << row; };
        const Strings files{"{R}/a.txt", "{R}/Sub/c.txt", "{R}/x.txt"};
        row("SFolderPath", {Method::SFolderPath, "{R}", {"{R}", "{R}/Sub", "{R}/Sub/Empty"}, {3}});
        row("SFilePath", {Method::SFilePath, "{R}", files, {3}});
        row("SFileFolderPath",
            {Method::SFileFolderPath, "{R}",
             {"{R}/", "{R}/a.txt", "{R}/Sub/", "{R}/Sub/c.txt", "{R}/Sub/Empty/", "{R}/x.txt"}, {3, 3}});
        row("GetFolder", {Method::GetFolder, "{R}", {"{R}/Sub"}, {1}});
        row("GetFile", {Method::GetFile, "{R}", {"{R}/a.txt", "{R}/x.txt"}, {2}});
        row("GetFileFolder", {Method::GetFileFolder, "{R}", {"{R}/a.txt", "{R}/Sub/", "{R}/x.txt"}, {1, 2}});
        row("trailing slash searches the folder", {Method::SFilePath, "{R}/", files, {3}});
        row("a file's path searches its folder", {Method::SFilePath, "{R}/a.txt", files, {3}});
        row("combined list of a folder without subfolders",
            {Method::SFileFolderPath, "{R}/Sub/Empty/", {"{R}/Sub/Empty/"}, {1, 0}});
        row("files of a folder without files", {Method::SFilePath, "{R}/Sub/Empty", {""}, {0}});
        // A folder that cannot be searched turns only the method's own counts to -1.
        row("SFolderPath, missing folder", {Method::SFolderPath, "{R}/missing", {""}, {-1}});
        row("SFilePath, empty text", {Method::SFilePath, "", {""}, {-1}});
        row("SFileFolderPath, relative", {Method::SFileFolderPath, "tmp", {""}, {-1, -1}});
        row("hidden and odd names, byte for byte",
            {Method::SFilePath, "{R}",
             {"{R}/-dash *star?.jpg", "{R}/.dir/inner.jpg", "{R}/.hidden", "{R}/caf\xe9.jpg",
              "{R}/line\nbreak", "{R}/README"},
             {6},
             {".hidden", ".dir/inner.jpg", "README", "caf\xe9.jpg", "line\nbreak", "-dash *star?.jpg"}});
        row("order: either case together, a name before those it begins, raw bytes break ties",
            {Method::GetFile, "{R}",
             {"{R}/A1", "{R}/a10", "{R}/abcdefg", "{R}/ABCDEFGH", "{R}/abcdefgh", "{R}/abcdefghi",
              "{R}/B", "{R}/b", "{R}/_u", "{R}/\xe9"},
             {10},
             {"b", "\xe9", "abcdefghi", "B", "_u", "abcdefgh", "a10", "ABCDEFGH", "A1", "abcdefg"}});
        // A link is followed unless it leads back to a folder being walked above it:
        // a/back and a/self would loop, a/toB is an ordinary link, and b/loop reaches a
        // again, which is on the chain only when b was entered through a/toB.
        row("links followed, cycles ended",
            {Method::SFilePath, "{R}",
             {"{R}/a/1.jpg", "{R}/a/toB/2.jpg", "{R}/b/2.jpg", "{R}/b/loop/1.jpg"}, {4},
             {"a/1.jpg", "b/2.jpg", "a/back -> ..", "a/self -> .", "a/toB -> ../b", "b/loop -> ../a"}});
    }

    void listsTheTree()
    {
        QFETCH(SearchRow, row);
        TempTree tree;
        for (const std::string& entry : row.layout) {
            if (const std::size_t arrow = entry.find(" -> "); arrow != std::string::npos)
                tree.link(entry.substr(0, arrow), entry.substr(arrow + 4));
            else if (entry.back() == '/')
                tree.folder(entry);
            else
                tree.file(entry);
        }
        FakeUser user;
        clsFileFolder toolkit(user.services());
        call(toolkit, row.method, tree.root()); // nothing of an earlier search may remain
        QCOMPARE(call(toolkit, row.method, tree.expand(row.start)), tree.expand(row.expected));
        Counts all(8, -1);
        std::copy(row.counts.begin(), row.counts.end(), all.begin() + kFirstCount[int(row.method)]);
        QCOMPARE(allCounts(toolkit), all);
        QCOMPARE(user.shown, row.counts[0] < 0 ? Strings{"指定されたフォルダが存在しません"} : Strings{});
    }

    void refusedFolderIsSkippedWithItsSiblingsSearched()
    {
        TempTree tree;
        for (const char* file : {"a/1.jpg", "locked/2.jpg", "z/3.jpg"})
            tree.file(file);
        ::chmod(tree.path("locked").c_str(), 0);
        const auto output = runUnprivileged([&] {
            FakeUser user;
            clsFileFolder toolkit(user.services());
            std::string report;
            for (const std::string& path : toolkit.SFilePath(tree.root()))
                report += path + '\n';
            return report + std::to_string(toolkit.SFilePathCount()) + (user.shown.empty() ? "" : " message");
        });
        QCOMPARE(output.value_or("no report"), tree.expand("{R}/a/1.jpg\n{R}/z/3.jpg\n2"));
    }

    // Folders read ahead on many threads, where a share makes every read a round trip,
    // give the list the walk gives reading one folder after another, with its counts,
    // its stop and the folder it names as the one it waits for.
    void readingAheadListsAsOneByOne_data()
    {
        QTest::addColumn<Reader>("reader");
        QTest::addColumn<int>("atOnce");
        QTest::addColumn<int>("stopAt");
        QTest::newRow("two at once, refused folders") << Reader::Unprivileged << 2 << 0;
        QTest::newRow("twelve at once, refused folders") << Reader::Unprivileged << 12 << 0;
        QTest::newRow("twelve at once, stopped at the fifth folder") << Reader::Unprivileged << 12 << 5;
        QTest::newRow("twelve at once through a share") << Reader::ThroughShare << 12 << 0;
        QTest::newRow("through a share, stopped at the twentieth folder") << Reader::ThroughShare << 12 << 20;
    }

    void readingAheadListsAsOneByOne()
    {
        QFETCH(Reader, reader);
        QFETCH(int, atOnce);
        QFETCH(int, stopAt);
        TempTree tree;
        makeTangledTree(tree, "source");
        const std::string source = tree.path("source");
        std::string oneByOne, ahead;
        if (reader == Reader::Unprivileged) {
            const auto output = runUnprivileged([&] {
                return searchReport(source, 1, stopAt) + "\n--\n" + searchReport(source, static_cast<std::size_t>(atOnce), stopAt);
            });
            const std::string both = output.value_or("no report");
            const std::size_t middle = both.find("\n--\n");
            QVERIFY2(middle != std::string::npos, both.c_str());
            oneByOne = both.substr(0, middle);
            ahead = both.substr(middle + 4);
            if (stopAt == 0)
                QVERIFY2(oneByOne.find("/locked/") == std::string::npos && oneByOne.find("/a/b/c/d/4.jpg") != std::string::npos,
                         oneByOne.c_str());
        } else {
            const LatencyMount share(source, tree.path("share"), 0.2);
            if (share.mountPoint().empty()) {
                if (qEnvironmentVariableIsSet("QUORVANE_REQUIRE_FUSE"))
                    QFAIL(share.why().c_str());
                QSKIP(share.why().c_str());
            }
            oneByOne = searchReport(share.mountPoint(), 1, stopAt);
            ahead = searchReport(share.mountPoint(), static_cast<std::size_t>(atOnce), stopAt);
        }
        QCOMPARE(ahead, oneByOne);
        QVERIFY2(oneByOne.find("/wide/f23/n.jpg") != std::string::npos || stopAt != 0, oneByOne.c_str());
        QVERIFY2((oneByOne.find("stopped") != std::string::npos) == (stopAt != 0), oneByOne.c_str());
    }
};

QTEST_GUILESS_MAIN(TreeSearchTest)
#include "tst_tree_search.moc"
