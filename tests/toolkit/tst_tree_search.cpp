#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

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

} // namespace

Q_DECLARE_METATYPE(Method)
Q_DECLARE_METATYPE(Counts)

class TreeSearchTest : public QObject {
    Q_OBJECT

private slots:
    // `layout` builds the tree: "name" a file, "name/" a folder, "name -> target" a link.
    // `counts` are the method's own; every other count must stay at -1.
    void listsTheTree_data()
    {
        QTest::addColumn<Strings>("layout");
        QTest::addColumn<Method>("method");
        QTest::addColumn<std::string>("start");
        QTest::addColumn<Strings>("expected");
        QTest::addColumn<Counts>("counts");
        const Strings basic{"a.txt", "Sub/c.txt", "Sub/Empty/", "x.txt"};
        auto row = [](const char* name, const Strings& layout, Method method, const char* start,
                      Strings expected, Counts counts) {
            QTest::newRow(name) << layout << method << std::string(start) << expected << counts;
        };
        const Strings files{"{R}/a.txt", "{R}/Sub/c.txt", "{R}/x.txt"};
        row("SFolderPath", basic, Method::SFolderPath, "{R}", {"{R}", "{R}/Sub", "{R}/Sub/Empty"}, {3});
        row("SFilePath", basic, Method::SFilePath, "{R}", files, {3});
        row("SFileFolderPath", basic, Method::SFileFolderPath, "{R}",
            {"{R}/", "{R}/a.txt", "{R}/Sub/", "{R}/Sub/c.txt", "{R}/Sub/Empty/", "{R}/x.txt"}, {3, 3});
        row("GetFolder", basic, Method::GetFolder, "{R}", {"{R}/Sub"}, {1});
        row("GetFile", basic, Method::GetFile, "{R}", {"{R}/a.txt", "{R}/x.txt"}, {2});
        row("GetFileFolder", basic, Method::GetFileFolder, "{R}", {"{R}/a.txt", "{R}/Sub/", "{R}/x.txt"}, {1, 2});
        row("trailing slash searches the folder", basic, Method::SFilePath, "{R}/", files, {3});
        row("a file's path searches its folder", basic, Method::SFilePath, "{R}/a.txt", files, {3});
        row("folder without subfolders", basic, Method::SFolderPath, "{R}/Sub/Empty", {"{R}/Sub/Empty"}, {1});
        row("combined list of a folder without subfolders", basic, Method::SFileFolderPath,
            "{R}/Sub/Empty/", {"{R}/Sub/Empty/"}, {1, 0});
        row("files of a folder without files", basic, Method::SFilePath, "{R}/Sub/Empty", {""}, {0});
        row("one-level listing of an empty folder", basic, Method::GetFileFolder, "{R}/Sub/Empty", {""}, {0, 0});
        row("hidden and odd names, byte for byte",
            {".hidden", ".dir/inner.jpg", "README", "caf\xe9.jpg", "line\nbreak", "-dash *star?.jpg"},
            Method::SFilePath, "{R}",
            {"{R}/-dash *star?.jpg", "{R}/.dir/inner.jpg", "{R}/.hidden", "{R}/caf\xe9.jpg",
             "{R}/line\nbreak", "{R}/README"},
            {6});
        // A link is followed unless it leads back to a folder being walked above it:
        // a/back and a/self would loop, a/toB is an ordinary link, and b/loop reaches a
        // again, which is on the chain only when b was entered through a/toB.
        row("links followed, cycles ended",
            {"a/1.jpg", "b/2.jpg", "a/back -> ..", "a/self -> .", "a/toB -> ../b", "b/loop -> ../a"},
            Method::SFilePath, "{R}", {"{R}/a/1.jpg", "{R}/a/toB/2.jpg", "{R}/b/2.jpg", "{R}/b/loop/1.jpg"},
            {4});
    }

    void listsTheTree()
    {
        QFETCH(Strings, layout);
        QFETCH(Method, method);
        QFETCH(std::string, start);
        QFETCH(Strings, expected);
        QFETCH(Counts, counts);
        TempTree tree;
        for (const std::string& entry : layout) {
            if (const std::size_t arrow = entry.find(" -> "); arrow != std::string::npos)
                tree.link(entry.substr(0, arrow), entry.substr(arrow + 4));
            else if (entry.back() == '/')
                tree.folder(entry);
            else
                tree.file(entry);
        }
        FakeUser user;
        clsFileFolder toolkit(user.services());
        QCOMPARE(call(toolkit, method, tree.expand(start)), tree.expand(expected));
        Counts all(8, -1);
        std::copy(counts.begin(), counts.end(), all.begin() + kFirstCount[int(method)]);
        QCOMPARE(allCounts(toolkit), all);
        QVERIFY(user.shown.empty());
    }

    void missingFolderIsReportedOnce_data()
    {
        QTest::addColumn<Method>("method");
        QTest::addColumn<std::string>("start");
        const char* const names[] = {"SFolderPath", "SFilePath", "SFileFolderPath",
                                     "GetFolder",   "GetFile",   "GetFileFolder"};
        for (int m = 0; m < 6; ++m) {
            QTest::addRow("%s, missing", names[m]) << Method(m) << std::string("{R}/missing");
            QTest::addRow("%s, empty text", names[m]) << Method(m) << std::string();
            QTest::addRow("%s, relative", names[m]) << Method(m) << std::string("tmp");
        }
    }

    void missingFolderIsReportedOnce()
    {
        QFETCH(Method, method);
        QFETCH(std::string, start);
        TempTree tree;
        FakeUser user;
        clsFileFolder toolkit(user.services());
        // After every method found the (empty) root, only this method's counts may turn to -1.
        for (int other = 0; other < 6; ++other)
            call(toolkit, Method(other), tree.root());
        Counts expected = allCounts(toolkit);
        const int first = kFirstCount[int(method)];
        std::fill(expected.begin() + first, expected.begin() + kFirstCount[int(method) + 1], -1);
        QCOMPARE(call(toolkit, method, tree.expand(start)), Strings{""});
        QCOMPARE(allCounts(toolkit), expected);
        QCOMPARE(user.shown, Strings{"指定されたフォルダが存在しません"});
    }

    void rootFolderIsNeverShortened()
    {
        FakeUser user;
        clsFileFolder toolkit(user.services());
        const PathList folders = toolkit.GetFolder("/"), both = toolkit.GetFileFolder("/");
        QVERIFY(std::find(folders.begin(), folders.end(), "/tmp") != folders.end());
        QVERIFY(std::find(both.begin(), both.end(), "/tmp/") != both.end());
        QVERIFY(user.shown.empty());
    }

    void refusedFolderIsSkippedWithItsSiblingsSearched()
    {
        TempTree tree;
        tree.file("a/1.jpg");
        tree.file("locked/2.jpg");
        tree.file("z/3.jpg");
        ::chmod(tree.path("locked").c_str(), 0);
        const auto output = runUnprivileged([&] {
            FakeUser user;
            clsFileFolder toolkit(user.services());
            std::string report;
            for (const std::string& path : toolkit.SFilePath(tree.root()))
                report += path + '\n';
            return report + std::to_string(toolkit.SFilePathCount()) + (user.shown.empty() ? "" : " message");
        });
        QVERIFY(output.has_value());
        QCOMPARE(*output, tree.expand("{R}/a/1.jpg\n{R}/z/3.jpg\n2"));
    }
};

QTEST_GUILESS_MAIN(TreeSearchTest)
#include "tst_tree_search.moc"
