#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/HomeTrash.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <fcntl.h>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

// Options a row can flip from their fresh value.
const std::map<std::string, std::function<void(clsFileFolder&)>> flips {
    { "RenameOnCollision", [](clsFileFolder& t) { t.RenameOnCollision(true); } },
    // Nothing else may answer the question that this option leaves out.
    { "ConfirmMakeDir", [](clsFileFolder& t) { t.RespondDialog(false), t.ConfirmMakeDir(false); } },
    { "FilesOnly", [](clsFileFolder& t) { t.FilesOnly(false); } } };

// The scripted user with the toolkit it drives; answers are button texts, taken in order.
struct Session {
    explicit Session(std::deque<std::string> answers = {}, bool respond = false, const std::string& flip = "")
    {
        user.operations.answers = std::move(answers);
        toolkit.RespondDialog(respond);
        if (!flip.empty())
            flips.at(flip)(toolkit);
    }
    bool call(const std::string& method, const std::string& from, const std::string& to)
    {
        return method == "Copy" ? toolkit.Copy(from, to) : method == "Move" ? toolkit.Move(from, to)
            : method == "Rename" ? toolkit.Rename(from, to) : method == "Delete" ? toolkit.Delete(from)
                                                                                : toolkit.Recycled(from);
    }
    FakeUser user;
    clsFileFolder toolkit { user.services() };
};

// The message of an item that could not be done.
std::string failed(const std::string& path, const std::string& action, const std::string& reason)
{
    return "「" + path + "」 を" + action + "できません。\n\n" + reason;
}

// What an operation removed ("-entry") and added ("+entry") as everythingIn lists them, and the
// texts shown. Questions are left to the user only when `answer` replies to one.
struct OperationRow {
    std::string method, from, to;
    Strings changes = {};
    std::string answer = {};
    Strings shown = {};
    std::string option = {};
};
struct ProgressRow { int cancelAt; std::string failAnswer; Strings copied; };

} // namespace

Q_DECLARE_METATYPE(OperationRow)
Q_DECLARE_METATYPE(ProgressRow)

class FileOperationsTest : public QObject {
    Q_OBJECT

private slots:
    void operations_data()
    {
        QTest::addColumn<OperationRow>("row");
        const auto row = [](const std::string& name, const OperationRow& row) {
            QTest::newRow(name.c_str()) << row;
        };
        // Every method checks the from-list in the same place before it starts.
        row("empty list", { "Copy", "", "{R}/out" });
        row("list with a NUL first", { "Delete", "\0{R}/dir/xa.jpg\0"s, "" });
        const std::string a = "{R}/dir/xa.jpg", b = "{R}/dir/xb.jpg", taken = "{R}/out/xb.jpg";
        const std::string deeper = "{R}/new/deeper/a.jpg";
        const Strings replace { "「" + taken + "」 は既に存在します。\n\n既存のファイルを置き換えますか?" };
        const Strings makeFolder { "フォルダー 「{R}/new/deeper」 はありません。\n\n作成しますか?" };
        const Strings made { "+new/", "+new/deeper/", "+new/deeper/a.jpg=x" };
        const Strings replaced { "-out/xb.jpg=old", "+out/xb.jpg=x" };
        row("copy to a new full path", { "Copy", a, "{R}/out/b c", { "+out/b c=x" } });
        row("move into a folder", { "Move", a, "{R}/out", { "-dir/xa.jpg=x", "+out/xa.jpg=x" } });
        row("taken, replace: yes", { "Copy", b, taken, replaced, "はい", replace });
        row("taken, replace: no", { "Move", b, taken, {}, "いいえ", replace });
        row("taken, replace: cancel", { "Copy", b, taken, {}, "キャンセル", replace });
        row("taken, nothing asked", { "Move", b, "{R}/out", { "-dir/xb.jpg=x", replaced[0], replaced[1] } });
        row("taken, new name", { "Copy", b, taken, { "+out/xb (2).jpg=x" }, "", {}, "RenameOnCollision" });
        row("missing folder, asked: yes", { "Copy", a, deeper, made, "はい", makeFolder });
        row("missing folder, made unasked", { "Move", a, deeper,
            { "-dir/xa.jpg=x", made[0], made[1], made[2] }, "", {}, "ConfirmMakeDir" });
        const std::string three = a + "\0{R}/dir/xc.jpg\0{R}/dir/toKeep\0"s + a;
        const Strings question { "これらの 3 個の項目を完全に削除しますか?" };
        const Strings threeGone { "-dir/toKeep=keep", "-dir/xa.jpg=x", "-dir/xc.jpg/", "-dir/xc.jpg/toOut=keep" };
        const Strings twoGone { "-dir/xa.jpg=x", "-dir/xb.jpg=x" };
        row("paths each followed by a NUL", { "Delete", a + '\0' + b + '\0', "", twoGone });
        row("last path without its NUL", { "Delete", a + '\0' + b, "", twoGone });
        row("an empty entry ends the list", { "Delete", a + "\0\0"s + b, "", { "-dir/xa.jpg=x" } });
        row("list of three, asked: yes", { "Delete", three, "", threeGone, "はい", question });
        row("a name with a star is taken alone", { "Delete", "{R}/dir/x*.jpg", "", { "-dir/x*.jpg=x" } });
        row("pattern, files and folders", { "Delete", "{R}/dir/x?.jpg", "",
            { "-dir/x*.jpg=x", "-dir/xa.jpg=x", "-dir/xb.jpg=x", "-dir/xc.jpg/", "-dir/xc.jpg/toOut=keep" } });
        row("pattern, files only", { "Delete", "{R}/dir/x?.jpg", "",
            { "-dir/x*.jpg=x", "-dir/xa.jpg=x", "-dir/xb.jpg=x" }, "", {}, "FilesOnly" });
        row("rename to a bare name", { "Rename", a, "d", { "-dir/xa.jpg=x", "+dir/d=x" } });
        row("rename onto a taken name", { "Rename", a, "xb.jpg", {}, "スキップ",
            { failed(a, "名前を変更", "同じ名前のファイルが既にあります。") } });
        row("copy of a FIFO", { "Copy", "{R}/dir/pipe", "{R}/out", {}, "スキップ",
            { failed("{R}/dir/pipe", "コピー", "通常のファイルではありません。") } });
        row("copy of a folder", { "Copy", "{R}/dir/xc.jpg", "{R}/dir/d", { "+dir/d/", "+dir/d/toOut=keep" } });
        row("copy of a folder into itself", { "Copy", "{R}/dir/xc.jpg", "{R}/dir/xc.jpg/deep", {}, "スキップ",
            { failed("{R}/dir/xc.jpg", "コピー", "フォルダーをそのフォルダー自身の中には置けません。") } });
        row("trash with no home trash", { "Recycled", a, "", {}, "スキップ",
            { failed(a, "ごみ箱に移動", "この場所にはごみ箱がありません。") } });
        for (const std::string method : { "Delete", "Recycled" }) {
            for (const std::string entry : { "..", ".", "./" })
                row(method + " dir/" + entry, { method, "{R}/dir/" + entry, "", {}, "スキップ",
                    { failed("{R}/dir/" + entry.substr(0, 2 - (entry == "./")),
                        method == "Delete" ? "削除" : "ごみ箱に移動", "この名前では操作できません。") } });
        }
    }

    // A taken name is replaced only when the user agreed or nothing is to be asked; links go, never
    // what they point to; wildcards apply only when no entry has the exact name.
    void operations()
    {
        QFETCH(OperationRow, row);
        TempTree tree;
        const HomeTrash trash(tree.file("blocker") + "/data"); // no trash can be made
        QCOMPARE(::mkfifo(tree.folder("dir").append("/pipe").c_str(), 0644), 0);
        const struct timespec times[2] = { { 1'000'000'000, 0 }, { 1'000'000'000, 0 } };
        for (const char* name : { "x*.jpg", "xa.jpg", "xb.jpg", "y.jpg" }) {
            const std::string file = tree.file("dir/"s + name);
            QVERIFY(::chmod(file.c_str(), 06750) == 0 && ::utimensat(AT_FDCWD, file.c_str(), times, 0) == 0);
        }
        tree.link("dir/xc.jpg/toOut", "../../keep.txt");
        tree.link("dir/toKeep", "../keep.txt");
        tree.file("keep.txt", "keep");
        tree.file("out/xb.jpg", "old");
        const Strings before = everythingIn(tree.root());
        const bool asked = row.answer == "はい" || row.answer == "いいえ" || row.answer == "キャンセル";
        Session s({ row.answer }, !asked, row.option);
        QCOMPARE(s.call(row.method, tree.expand(row.from), tree.expand(row.to)), !row.changes.empty());
        const Strings after = everythingIn(tree.root());
        Strings changes;
        for (const std::string& entry : before)
            if (std::find(after.begin(), after.end(), entry) == after.end())
                changes.push_back("-" + entry);
        for (const std::string& entry : after)
            if (std::find(before.begin(), before.end(), entry) == before.end())
                changes.push_back("+" + entry);
        QCOMPARE(changes, row.changes);
        QCOMPARE(s.user.operations.shown, tree.expand(row.shown));
        QCOMPARE(s.user.operations.unexpected, Strings {});
        QCOMPARE(s.toolkit.stopRequested(), row.answer == "キャンセル");
        // A copy keeps the time and permission bits but never setuid or setgid; a move or rename
        // keeps the very entry, bits and all.
        struct stat status {};
        for (const std::string& change : changes) {
            if (change[0] != '+' || !change.ends_with("=x"))
                continue;
            QCOMPARE(::stat(tree.path(change.substr(1, change.size() - 3)).c_str(), &status), 0);
            QCOMPARE(std::pair(status.st_mtim.tv_sec, status.st_mode & 07777),
                std::pair(std::time_t(1'000'000'000), row.method == "Copy" ? 0750u : 06750u));
        }
    }

    void refusedWrites_data()
    {
        QTest::addColumn<std::string>("action");
        QTest::addColumn<std::string>("verb");
        QTest::newRow("copy into the folder") << "Copy"s << "コピー"s;
        QTest::newRow("trash out of the folder") << "Recycled"s << "ごみ箱に移動"s;
    }

    // A folder that refuses writes to an ordinary user: the message gives the system's reason, the
    // file stays put, and nothing is left half-made in the folder or the trash.
    void refusedWrites()
    {
        QFETCH(std::string, action);
        QFETCH(std::string, verb);
        TempTree tree;
        const std::string from = tree.file("locked/a.txt", "stay"), dataHome = tree.folder("data");
        QVERIFY(::chmod(dataHome.c_str(), 0777) == 0 && ::chmod(tree.path("locked").c_str(), 0555) == 0);
        const HomeTrash trash(dataHome);
        const std::optional<std::string> outcome = runUnprivileged([&] {
            Session s({ "スキップ" }, true);
            const bool done = s.call(action, from, tree.path("locked/b"));
            return std::string(done ? "done|" : "refused|") + s.user.operations.shown.at(0);
        });
        QCOMPARE(outcome.value_or("no report"), "refused|" + failed(from, verb, "アクセスが拒否されました。"));
        QCOMPARE(everythingIn(tree.path("locked")), Strings { "a.txt=stay" });
        QCOMPARE(namesIn(trash.info()), Strings {});
    }

    // Entries move into the home trash with a record of where they came from, percent-encoded. A taken name gets the number after the highest in use, a name held by an entry without a
    // record is not taken over, and one too long is cut where a character ends. Delete after
    // Recycled keeps trashing.
    void homeTrash()
    {
        TempTree tree;
        const HomeTrash trash(tree.path("data"));
        Session s({ "はい" });
        // The first entry makes the trash, which is private to its owner.
        const std::string first = tree.file("in/\xff\xfe.jpg", "first");
        QVERIFY(s.toolkit.Recycled(first));
        QCOMPARE(s.user.operations.shown, Strings { "「" + first + "」 をごみ箱に移動しますか?" });
        struct stat files {};
        QCOMPARE(::stat(trash.files().c_str(), &files), 0);
        QCOMPARE(files.st_mode & 0777, 0700u);
        for (const std::string name : { "a.txt", "a.7.txt" }) {
            tree.file("data/Trash/info/" + name + ".trashinfo", "[Trash Info]\n");
            tree.file("data/Trash/files/" + name, "older");
        }
        tree.file("data/Trash/files/b", "orphan");
        std::string longName;
        for (int i = 0; i < 80; ++i)
            longName += "写";
        const std::string cut = longName.substr(0, 225) + ".txt";
        std::string list;
        for (const std::string& name : Strings { "a.txt", "b", "写真 1.jpg", "100%#.txt", longName + ".txt" })
            list += tree.file("in/" + name, "first") + '\0';
        s.toolkit.RespondDialog(true);
        QVERIFY(s.toolkit.Recycled(list));
        QVERIFY(s.toolkit.Delete(tree.file("in/a.txt", "second") + '\0' + tree.file("in/b", "second")));
        QCOMPARE(namesIn(tree.path("in")), Strings {});
        QCOMPARE(everythingIn(trash.files()), (Strings { "100%#.txt=first", "a.7.txt=older", "a.8.txt=first",
            "a.9.txt=second", "a.txt=older", "b=orphan", "b.2=first", "b.3=second", cut + "=first",
            "写真 1.jpg=first", "\xff\xfe.jpg=first" }));
        QCOMPARE(namesIn(trash.info()), (Strings { "100%#.txt.trashinfo", "a.7.txt.trashinfo", "a.8.txt.trashinfo",
            "a.9.txt.trashinfo", "a.txt.trashinfo", "b.2.trashinfo", "b.3.trashinfo", cut + ".trashinfo",
            "写真 1.jpg.trashinfo", "\xff\xfe.jpg.trashinfo" }));
        const std::pair<std::string, std::string> records[] { { "a.8.txt", "a.txt" },
            { "100%#.txt", "100%25%23.txt" }, { "写真 1.jpg", "%E5%86%99%E7%9C%9F%201.jpg" },
            { "\xff\xfe.jpg", "%FF%FE.jpg" } };
        for (const auto& [stored, encoded] : records) {
            const std::string info = TempTree::read(trash.info() + "/" + stored + ".trashinfo");
            const std::string start = "[Trash Info]\nPath=" + tree.path("in/") + encoded + "\nDeletionDate=";
            QCOMPARE(info.substr(0, start.size()), start);
        }
    }

    void progressAndStop_data()
    {
        QTest::addColumn<ProgressRow>("row");
        const Strings all { "1.txt", "2.txt", "3.txt", "4.txt", "5.txt" };
        QTest::newRow("all copied") << ProgressRow { 0, "", all };
        QTest::newRow("cancelled as item 3 begins") << ProgressRow { 3, "", { "1.txt", "2.txt" } };
        QTest::newRow("item 2 fails, skip") << ProgressRow { 0, "スキップ", { "1.txt", "3.txt", "4.txt", "5.txt" } };
        QTest::newRow("item 2 fails, stop") << ProgressRow { 0, "中止", { "1.txt" } };
    }

    // A pattern copied into a folder, cancelled or failing part way; a failure's message offers
    // to stop, and the next operation starts without the stop request.
    void progressAndStop()
    {
        QFETCH(ProgressRow, row);
        TempTree tree;
        for (const char* name : { "1.txt", "2.txt", "3.txt", "4.txt", "5.txt" })
            tree.file("in/"s + name, std::string(1000, 'c'));
        Session s({ row.failAnswer });
        FakeOperations& ops = s.user.operations;
        ops.onItem = [&](int number) {
            ops.cancelPressed = number == row.cancelAt;
            if (number == 2 && !row.failAnswer.empty())
                ::unlink(tree.path("in/2.txt").c_str());
        };
        QCOMPARE(s.toolkit.Copy(tree.path("in/*.txt"), tree.folder("out")), row.copied.size() == 5);
        QCOMPARE(s.toolkit.stopRequested(), row.cancelAt != 0 || row.failAnswer == "中止");
        QCOMPARE(namesIn(tree.path("out")), row.copied);
        QCOMPARE(ops.shown, row.failAnswer.empty() ? Strings {}
            : Strings { failed(tree.path("in/2.txt"), "コピー", "ファイルまたはフォルダーが見つかりません。") });
        QVERIFY(s.toolkit.Copy(tree.path("in/1.txt"), tree.path("again.txt")) && !s.toolkit.stopRequested());
    }
};

QTEST_GUILESS_MAIN(FileOperationsTest)
#include "tst_file_operations.moc"
