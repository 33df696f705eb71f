#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <chrono>
#include <sys/stat.h>

namespace {

enum class Method { SFolderPath, SFilePath, SFileFolderPath, GetFolder, GetFile, GetFileFolder };

struct Result {
    Strings list;
    std::vector<std::int32_t> counts;
};

Result call(clsFileFolder& toolkit, Method method, const std::string& folder)
{
    switch (method) {
    case Method::SFolderPath:
        return {toolkit.SFolderPath(folder), {toolkit.SFolderPathCount()}};
    case Method::SFilePath:
        return {toolkit.SFilePath(folder), {toolkit.SFilePathCount()}};
    case Method::SFileFolderPath:
        return {toolkit.SFileFolderPath(folder),
                {toolkit.BSFolderPathCount(), toolkit.BSFilePathCount()}};
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
Q_DECLARE_METATYPE(std::vector<std::int32_t>)

class TreeSearchTest : public QObject {
    Q_OBJECT

private slots:
    void freshObjectCountsAreNotSearched()
    {
        FakeUser user;
        const clsFileFolder toolkit(user.services());
        const std::vector<std::int32_t> counts{
            toolkit.SFolderPathCount(), toolkit.FolderPathCount(),  toolkit.SFilePathCount(),
            toolkit.FilePathCount(),    toolkit.BSFolderPathCount(), toolkit.BSFilePathCount(),
            toolkit.BFolderPathCount(), toolkit.BFilePathCount()};
        QCOMPARE(counts, std::vector<std::int32_t>(8, -1));
    }

    void listsTheTree_data()
    {
        QTest::addColumn<Method>("method");
        QTest::addColumn<std::string>("start");
        QTest::addColumn<Strings>("expected");
        QTest::addColumn<std::vector<std::int32_t>>("counts");

        // {R} holds a.txt, the folder Sub (with c.txt) and x.txt, listed in that order.
        QTest::newRow("SFolderPath") << Method::SFolderPath << std::string("{R}")
                                     << Strings{"{R}", "{R}/Sub"} << std::vector<std::int32_t>{2};
        QTest::newRow("SFilePath") << Method::SFilePath << std::string("{R}")
                                   << Strings{"{R}/a.txt", "{R}/Sub/c.txt", "{R}/x.txt"}
                                   << std::vector<std::int32_t>{3};
        QTest::newRow("SFileFolderPath")
            << Method::SFileFolderPath << std::string("{R}")
            << Strings{"{R}/", "{R}/a.txt", "{R}/Sub/", "{R}/Sub/c.txt", "{R}/x.txt"}
            << std::vector<std::int32_t>{2, 3};
        QTest::newRow("GetFolder") << Method::GetFolder << std::string("{R}") << Strings{"{R}/Sub"}
                                   << std::vector<std::int32_t>{1};
        QTest::newRow("GetFile") << Method::GetFile << std::string("{R}")
                                 << Strings{"{R}/a.txt", "{R}/x.txt"} << std::vector<std::int32_t>{2};
        QTest::newRow("GetFileFolder") << Method::GetFileFolder << std::string("{R}")
                                       << Strings{"{R}/a.txt", "{R}/Sub/", "{R}/x.txt"}
                                       << std::vector<std::int32_t>{1, 2};
        QTest::newRow("trailing slash searches the folder")
            << Method::SFilePath << std::string("{R}/")
            << Strings{"{R}/a.txt", "{R}/Sub/c.txt", "{R}/x.txt"} << std::vector<std::int32_t>{3};
        QTest::newRow("a file's path searches its folder")
            << Method::SFilePath << std::string("{R}/a.txt")
            << Strings{"{R}/a.txt", "{R}/Sub/c.txt", "{R}/x.txt"} << std::vector<std::int32_t>{3};
        QTest::newRow("folder without subfolders")
            << Method::SFolderPath << std::string("{R}/Sub") << Strings{"{R}/Sub"}
            << std::vector<std::int32_t>{1};
        QTest::newRow("combined list of a folder without subfolders")
            << Method::SFileFolderPath << std::string("{R}/Sub/") << Strings{"{R}/Sub/", "{R}/Sub/c.txt"}
            << std::vector<std::int32_t>{1, 1};
        QTest::newRow("files of a folder without files")
            << Method::SFilePath << std::string("{R}/Sub/Empty") << Strings{""}
            << std::vector<std::int32_t>{0};
        QTest::newRow("one-level listing of an empty folder")
            << Method::GetFileFolder << std::string("{R}/Sub/Empty") << Strings{""}
            << std::vector<std::int32_t>{0, 0};
    }

    void listsTheTree()
    {
        QFETCH(Method, method);
        QFETCH(std::string, start);
        QFETCH(Strings, expected);
        QFETCH(std::vector<std::int32_t>, counts);

        TempTree tree;
        tree.file("a.txt");
        tree.file("Sub/c.txt");
        tree.file("x.txt");
        if (start.find("Empty") != std::string::npos)
            tree.folder("Sub/Empty");
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
        QCOMPARE(result.counts, std::vector<std::int32_t>(result.counts.size(), -1));
        QCOMPARE(user.shown, Strings{"指定されたフォルダが存在しません"});
    }

    void eachMethodKeepsItsOwnCounts()
    {
        TempTree tree;
        tree.file("a.jpg");
        tree.file("d/b.jpg");
        FakeUser user;
        clsFileFolder toolkit(user.services());
        toolkit.SFilePath(tree.root());
        toolkit.GetFile(tree.root());
        QCOMPARE(toolkit.SFilePathCount(), 2);
        QCOMPARE(toolkit.FilePathCount(), 1);
        QCOMPARE(toolkit.SFolderPathCount(), -1);
    }

    void hiddenAndOddNamesAreListedExactly()
    {
        TempTree tree;
        tree.file(".hidden");
        tree.file(".dir/inner.jpg");
        tree.file("README");
        tree.file("caf\xe9.jpg"); // Latin-1 bytes: not UTF-8
        tree.file("line\nbreak");
        tree.file("-dash *star?.jpg");
        FakeUser user;
        clsFileFolder toolkit(user.services());
        const Strings expected = tree.expand(Strings{"{R}/-dash *star?.jpg", "{R}/.dir/inner.jpg",
                                                     "{R}/.hidden", "{R}/caf\xe9.jpg",
                                                     "{R}/line\nbreak", "{R}/README"});
        QCOMPARE(toolkit.SFilePath(tree.root()), expected);
        QCOMPARE(toolkit.SFilePathCount(), 6);
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

    void linksAreFollowedButCyclesEnd()
    {
        TempTree tree;
        tree.file("a/1.jpg");
        tree.file("b/2.jpg");
        tree.link("a/back", "..");       // points at the start folder: a cycle
        tree.link("a/self", ".");        // points at its own folder
        tree.link("a/toB", "../b");      // an ordinary link to a sibling, followed
        tree.link("b/loop", "../b/../a"); // a, reached again from inside b via a/toB
        FakeUser user;
        clsFileFolder toolkit(user.services());
        const auto started = std::chrono::steady_clock::now();
        const PathList files = toolkit.SFilePath(tree.root());
        QVERIFY(std::chrono::steady_clock::now() - started < std::chrono::seconds(5));
        // A link is followed unless it leads back to a folder being walked above it.
        const Strings expected = tree.expand(
            Strings{"{R}/a/1.jpg", "{R}/a/toB/2.jpg", "{R}/b/2.jpg", "{R}/b/loop/1.jpg"});
        QCOMPARE(files, expected);
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
