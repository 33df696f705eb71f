#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

using Counts = std::vector<std::int32_t>;

enum class Method { SFolderPath, SFilePath, SFileFolderPath, GetFolder, GetFile, GetFileFolder };

struct Result {
    Strings list;
    Counts counts;
};

Result call(clsFileFolder& toolkit, Method method, const std::string& folder)
{
    switch (method) {
    case Method::SFolderPath:
        return {toolkit.SFolderPath(folder), {toolkit.SFolderPathCount()}};
    case Method::SFilePath:
        return {toolkit.SFilePath(folder), {toolkit.SFilePathCount()}};
    case Method::SFileFolderPath:
        return {toolkit.SFileFolderPath(folder), {toolkit.BSFolderPathCount(), toolkit.BSFilePathCount()}};
    case Method::GetFolder:
        return {toolkit.GetFolder(folder), {toolkit.FolderPathCount()}};
    case Method::GetFile:
        return {toolkit.GetFile(folder), {toolkit.FilePathCount()}};
    case Method::GetFileFolder:
        return {toolkit.GetFileFolder(folder), {toolkit.BFolderPathCount(), toolkit.BFilePathCount()}};
    }
    return {};
}

std::string joinLines(const Strings& list)
{
    std::string joined;
    for (const std::string& item : list)
        joined += item + '\n';
    return joined;
}

} // namespace

Q_DECLARE_METATYPE(Method)
Q_DECLARE_METATYPE(Counts)

class TreeSearchTest : public QObject {
    Q_OBJECT

private slots:
    // Every count starts at -1 and changes only with its own method.
    void countsBelongToTheirMethod()
    {
        TempTree tree;
        tree.file("a.jpg");
        tree.file("d/b.jpg");
        FakeUser user;
        clsFileFolder toolkit(user.services());
        const auto counts = [&] {
            return Counts{toolkit.SFolderPathCount(), toolkit.FolderPathCount(),   toolkit.SFilePathCount(),
                          toolkit.FilePathCount(),    toolkit.BSFolderPathCount(), toolkit.BSFilePathCount(),
                          toolkit.BFolderPathCount(), toolkit.BFilePathCount()};
        };
        QCOMPARE(counts(), Counts(8, -1));
        toolkit.SFilePath(tree.root());
        toolkit.GetFile(tree.root());
        QCOMPARE(counts(), (Counts{-1, -1, 2, 1, -1, -1, -1, -1}));
    }

    // `layout` builds the tree: "name" a file, "name/" a folder, "name -> target" a link.
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
        const Result result = call(toolkit, method, tree.expand(start));
        QCOMPARE(result.list, tree.expand(expected));
        QCOMPARE(result.counts, counts);
        QVERIFY(user.shown.empty());
    }

    void missingFolderIsReportedOnce_data()
    {
        QTest::addColumn<Method>("method");
        QTest::addColumn<std::string>("start");
        for (const auto& [name, method] : {std::pair{"SFolderPath", Method::SFolderPath},
                                           {"SFilePath", Method::SFilePath},
                                           {"SFileFolderPath", Method::SFileFolderPath},
                                           {"GetFolder", Method::GetFolder},
                                           {"GetFile", Method::GetFile},
                                           {"GetFileFolder", Method::GetFileFolder}}) {
            QTest::addRow("%s, missing", name) << method << std::string("{R}/missing");
            QTest::addRow("%s, empty text", name) << method << std::string();
            QTest::addRow("%s, relative", name) << method << std::string("tmp");
        }
    }

    void missingFolderIsReportedOnce()
    {
        QFETCH(Method, method);
        QFETCH(std::string, start);
        TempTree tree;
        FakeUser user;
        clsFileFolder toolkit(user.services());
        const Result result = call(toolkit, method, tree.expand(start));
        QCOMPARE(result.list, Strings{""});
        QCOMPARE(result.counts, Counts(result.counts.size(), -1));
        QCOMPARE(user.shown, Strings{"指定されたフォルダが存在しません"});
    }

    void rootFolderIsNeverShortened()
    {
        FakeUser user;
        clsFileFolder toolkit(user.services());
        const PathList folders = toolkit.GetFolder("/");
        QVERIFY(std::find(folders.begin(), folders.end(), "/tmp") != folders.end());
        const PathList both = toolkit.GetFileFolder("/");
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
            std::string report = joinLines(toolkit.SFilePath(tree.root()));
            report += std::to_string(toolkit.SFilePathCount());
            return report + (user.shown.empty() ? "" : " message");
        });
        QVERIFY(output.has_value());
        QCOMPARE(*output, tree.expand("{R}/a/1.jpg\n{R}/z/3.jpg\n2"));
    }
};

QTEST_GUILESS_MAIN(TreeSearchTest)
#include "tst_tree_search.moc"
