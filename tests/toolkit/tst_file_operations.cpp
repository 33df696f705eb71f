#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/HomeTrash.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <cmath>
#include <fcntl.h>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

// Options a row can flip from their fresh value.
const std::map<std::string, std::function<void(clsFileFolder&)>> flips {
    { "RespondDialog", [](clsFileFolder& t) { t.RespondDialog(true); } },
    { "RenameOnCollision", [](clsFileFolder& t) { t.RenameOnCollision(true); } },
    { "SimpleProgress", [](clsFileFolder& t) { t.SimpleProgress(true); } },
    { "ConfirmMakeDir", [](clsFileFolder& t) { t.ConfirmMakeDir(false); } },
    { "ShowDialog", [](clsFileFolder& t) { t.ShowDialog(false); } },
    { "FilesOnly", [](clsFileFolder& t) { t.FilesOnly(false); } } };

// The scripted user with the toolkit it drives; answers are button texts, taken in order. `flip`
// names an option set to the opposite of its fresh value.
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
            : method == "Rename" ? toolkit.Rename(from, to) : method == "Delete" ? toolkit.Delete(from) : toolkit.Recycled(from);
    }
    FakeUser user;
    clsFileFolder toolkit { user.services() };
};

// Copy and move: destination, option flipped, answer, whether the name is taken, result, where the
// file arrives and what the destination tree holds afterwards.
struct CopyRow { std::string to, option, answer; bool taken, result; std::string arrives; Strings after; };
// Lists: names left in the folder and the texts shown.
struct ListRow { std::string method, from, to, option, answer; Strings left, shown; };

const Strings everything { "pipe", "toKeep", "x*.jpg", "xa.jpg", "xb.jpg", "xc.jpg", "y.jpg" };

} // namespace

Q_DECLARE_METATYPE(CopyRow)
Q_DECLARE_METATYPE(ListRow)

class FileOperationsTest : public QObject {
    Q_OBJECT

private slots:
    void copyOrMove_data()
    {
        QTest::addColumn<std::string>("mode");
        QTest::addColumn<CopyRow>("row");
        const Strings replaced { "out/", "out/a.txt=new" }, kept { "out/", "out/a.txt=old" };
        const Strings made { "new/", "new/deeper/", "new/deeper/a.txt=new", "out/" };
        for (const char* mode : { "Copy", "Move", "Move across" }) {
            const auto row = [mode](const char* name, const CopyRow& row) {
                QTest::addRow("%s %s", mode, name) << std::string(mode) << row;
            };
            row("to a new full path", { "out/b c", "", "", false, true, "out/b c", { "out/", "out/b c=new" } });
            row("into an existing folder", { "out", "", "", false, true, "out/a.txt", replaced });
            row("into a folder named with a slash", { "out/", "", "", false, true, "out/a.txt", replaced });
            row("taken, replace: yes", { "out/a.txt", "", "はい", true, true, "out/a.txt", replaced });
            row("taken, replace: yes to all", { "out/a.txt", "", "すべてに「はい」", true, true, "out/a.txt", replaced });
            row("taken, replace: no", { "out/a.txt", "", "いいえ", true, false, "", kept });
            row("taken, replace: cancel", { "out/a.txt", "", "キャンセル", true, false, "", kept });
            row("taken, nothing asked", { "out/a.txt", "RespondDialog", "", true, true, "out/a.txt", replaced });
            row("taken, new name", { "out/a.txt", "RenameOnCollision", "", true, true, "out/a (2).txt",
                                       { "out/", "out/a (2).txt=new", "out/a.txt=old" } });
            row("missing folder, asked: yes", { "new/deeper/a.txt", "", "はい", false, true, "new/deeper/a.txt", made });
            row("missing folder, asked: no", { "new/deeper/a.txt", "", "いいえ", false, false, "", { "out/" } });
            row("missing folder, made unasked", { "new/deeper/a.txt", "ConfirmMakeDir", "", false, true, "new/deeper/a.txt", made });
        }
    }

    // The file arrives whole under exactly the wanted name with its modification time and permission
    // bits; a taken name is replaced only when the user agreed or nothing is to be asked.
    void copyOrMove()
    {
        QFETCH(std::string, mode);
        QFETCH(CopyRow, row);
        TempTree in;
        const auto tree = mode == "Move across" ? TempTree::onOtherFileSystem(in) : std::make_unique<TempTree>();
        if (!tree)
            QSKIP("no second file system at /dev/shm on this machine");
        const std::string source = in.file("a.txt", "new");
        const struct timespec times[2] = { { 1'000'000'000, 0 }, { 1'000'000'000, 0 } };
        QVERIFY(::chmod(source.c_str(), 0640) == 0 && ::utimensat(AT_FDCWD, source.c_str(), times, 0) == 0);
        row.taken ? tree->file("out/a.txt", "old") : tree->folder("out");
        Session s({ row.answer }, false, row.option);
        QCOMPARE(s.call(mode.substr(0, 4), source, tree->path(row.to)), row.result);
        QCOMPARE(everythingIn(tree->root()), row.after);
        QCOMPARE(TempTree::exists(source), mode == "Copy" || !row.result);
        struct stat arrived {};
        if (!row.arrives.empty() && ::stat(tree->path(row.arrives).c_str(), &arrived) == 0)
            QCOMPARE(std::pair(arrived.st_mtim.tv_sec, arrived.st_mode & 07777), std::pair(std::time_t(1'000'000'000), 0640u));
        QCOMPARE(s.toolkit.stopRequested(), row.answer == "キャンセル");
        QCOMPARE(s.user.operations.unexpected, Strings {});
        QCOMPARE(s.user.operations.shown.size(), std::size_t(!row.answer.empty()));
    }

    void refusedWrites_data()
    {
        QTest::addColumn<std::string>("action");
        QTest::addColumn<std::string>("message");
        QTest::newRow("copy into the folder") << "Copy"s << "をコピーできません。"s;
        QTest::newRow("trash out of the folder") << "Recycled"s << "をごみ箱に移動できません。"s;
    }

    // A folder that refuses writes to an ordinary user: the message gives the system's reason, the
    // file stays put, and nothing is left half-made in the folder or the trash.
    void refusedWrites()
    {
        QFETCH(std::string, action);
        QFETCH(std::string, message);
        TempTree tree;
        const std::string from = tree.file("locked/a.txt", "stay"), dataHome = tree.folder("data");
        QVERIFY(::chmod(dataHome.c_str(), 0777) == 0 && ::chmod(tree.path("locked").c_str(), 0555) == 0);
        const HomeTrash trash(dataHome);
        const std::optional<std::string> outcome = runUnprivileged([&] {
            Session s({ "スキップ" }, true);
            const bool done = s.call(action, from, tree.path("locked/b"));
            return std::string(done ? "done|" : "refused|") + s.user.operations.shown.at(0);
        });
        QCOMPARE(outcome.value_or("no report"), "refused|「" + from + "」 " + message + "\n\nアクセスが拒否されました。");
        QCOMPARE(everythingIn(tree.path("locked")), Strings { "a.txt=stay" });
        QCOMPARE(namesIn(dataHome + "/Trash/info"), Strings {});
    }

    void lists_data()
    {
        QTest::addColumn<ListRow>("row");
        const auto row = [](const std::string& name, const ListRow& row) { QTest::newRow(name.c_str()) << row; };
        for (const char* method : { "Copy", "Move", "Delete", "Recycled", "Rename" }) {
            row(method + ", empty"s, { method, "", "{R}/dir/d", "", "", everything, {} });
            row(method + ", NUL first"s, { method, "\0{R}/dir/xa.jpg\0"s, "{R}/dir/d", "", "", everything, {} });
        }
        const std::string a = "{R}/dir/xa.jpg", b = "{R}/dir/xb.jpg", three = a + '\0' + "{R}/dir/xc.jpg\0{R}/dir/toKeep\0"s + a;
        row("one path", { "Delete", a, "", "", "", { "pipe", "toKeep", "x*.jpg", "xb.jpg", "xc.jpg", "y.jpg" }, {} });
        row("paths each followed by a NUL", { "Delete", a + '\0' + b + '\0', "", "", "", { "pipe", "toKeep", "x*.jpg", "xc.jpg", "y.jpg" }, {} });
        row("last path without its NUL", { "Delete", a + '\0' + b, "", "", "", { "pipe", "toKeep", "x*.jpg", "xc.jpg", "y.jpg" }, {} });
        row("an empty entry ends the list", { "Delete", a + "\0\0"s + b, "", "", "", { "pipe", "toKeep", "x*.jpg", "xb.jpg", "xc.jpg", "y.jpg" }, {} });
        const Strings question { "これらの 3 個の項目を完全に削除しますか?" }, threeGone { "pipe", "x*.jpg", "xb.jpg", "y.jpg" };
        row("list of three, nothing asked", { "Delete", three, "", "", "", threeGone, {} });
        row("list of three, asked: yes", { "Delete", three, "", "", "はい", threeGone, question });
        row("list of three, asked: no", { "Delete", three, "", "", "いいえ", everything, question });
        row("a name with a star is taken alone", { "Delete", "{R}/dir/x*.jpg", "", "", "", { "pipe", "toKeep", "xa.jpg", "xb.jpg", "xc.jpg", "y.jpg" }, {} });
        row("pattern, files and folders", { "Delete", "{R}/dir/x?.jpg", "", "", "", { "pipe", "toKeep", "y.jpg" }, {} });
        row("pattern, files only", { "Delete", "{R}/dir/x?.jpg", "", "FilesOnly", "", { "pipe", "toKeep", "xc.jpg", "y.jpg" }, {} });
        const Strings renamed { "d", "pipe", "toKeep", "x*.jpg", "xb.jpg", "xc.jpg", "y.jpg" };
        row("rename to a bare name", { "Rename", a, "d", "", "", renamed, {} });
        row("rename to a full path", { "Rename", a, "{R}/dir/d", "", "", renamed, {} });
        row("rename onto a taken name", { "Rename", a, "xb.jpg", "", "スキップ", everything,
                                            { "「" + a + "」 を名前を変更できません。\n\n同じ名前のファイルが既にあります。" } });
        row("copy of a FIFO", { "Copy", "{R}/dir/pipe", "{R}/dir/d", "", "スキップ", everything,
                                  { "「{R}/dir/pipe」 をコピーできません。\n\n通常のファイルではありません。" } });
        row("copy of a folder", { "Copy", "{R}/dir/xc.jpg", "{R}/dir/d", "", "", { "d", "pipe", "toKeep", "x*.jpg", "xa.jpg", "xb.jpg", "xc.jpg", "y.jpg" }, {} });
        row("copy of a folder into itself", { "Copy", "{R}/dir/xc.jpg", "{R}/dir/xc.jpg/deep", "", "スキップ", everything,
                                                { "「{R}/dir/xc.jpg」 をコピーできません。\n\nフォルダーをそのフォルダー自身の中には置けません。" } });
        row("trash with no home trash", { "Recycled", a, "", "", "スキップ", everything,
                                            { "「" + a + "」 をごみ箱に移動できません。\n\nこの場所にはごみ箱がありません。" } });
        for (const std::string method : { "Delete", "Recycled" }) {
            for (const std::string entry : { "..", ".", "./" })
                row(method + " dir/" + entry, { method, "{R}/dir/" + entry, "", "", "スキップ", everything,
                    { "「{R}/dir/" + entry.substr(0, 2 - (entry == "./")) + "」 を" + (method == "Delete" ? "削除" : "ごみ箱に移動")
                        + "できません。\n\nこの名前では操作できません。" } });
        }
    }

    // A from-list is cut at its first empty entry, and an empty one touches and shows nothing. A list
    // is asked about once; links go, never what they point to; wildcards are expanded only when no
    // entry has the exact name; "." and ".." are refused; a rename never replaces; only regular files
    // are copied, and a FIFO is never opened in a way that would block; what cannot be trashed stays.
    void lists()
    {
        QFETCH(ListRow, row);
        TempTree tree;
        const HomeTrash trash(tree.file("blocker") + "/data"); // no trash can be made
        QCOMPARE(::mkfifo(tree.folder("dir").append("/pipe").c_str(), 0644), 0);
        for (const char* name : { "x*.jpg", "xa.jpg", "xb.jpg", "y.jpg", "xc.jpg/deep/inside.txt" })
            tree.file("dir/"s + name);
        tree.link("dir/xc.jpg/toOut", "../../keep.txt");
        tree.link("dir/toKeep", "../keep.txt");
        tree.file("keep.txt", "keep");
        Session s({ row.answer }, row.answer != "はい" && row.answer != "いいえ", row.option);
        QCOMPARE(s.call(row.method, tree.expand(row.from), tree.expand(row.to)), row.left != everything);
        QCOMPARE(namesIn(tree.path("dir")), row.left);
        QCOMPARE(TempTree::read(tree.path("keep.txt")), "keep"s);
        QCOMPARE(s.user.operations.shown, tree.expand(row.shown));
        if (row.shown.empty())
            QCOMPARE(s.user.operations.progressTitles.empty(), row.left == everything);
    }

    void trashInfo_data()
    {
        QTest::addColumn<std::string>("name");
        QTest::addColumn<std::string>("encoded");
        QTest::addColumn<bool>("across");
        QTest::newRow("Japanese with a space") << "写真 1.jpg"s << "%E5%86%99%E7%9C%9F%201.jpg"s << false;
        QTest::newRow("not UTF-8") << "\xff\xfe.jpg"s << "%FF%FE.jpg"s << false;
        QTest::newRow("percent and hash") << "100%#.txt"s << "100%25%23.txt"s << false;
        QTest::newRow("on another file system") << "a b"s << "a%20b"s << true;
    }

    // The entry moves into its file system's trash with a record of where it came from and when: the
    // path absolute for the home trash, relative to the top of another file system.
    void trashInfo()
    {
        QFETCH(std::string, name);
        QFETCH(std::string, encoded);
        QFETCH(bool, across);
        TempTree tree;
        const HomeTrash home(tree.path("data"));
        const std::unique_ptr<TempTree> other = TempTree::onOtherFileSystem(tree);
        if (across && !other)
            QSKIP("no second file system at /dev/shm on this machine");
        TempTree& place = across ? *other : tree;
        const std::string unique = place.root().substr(place.root().rfind('/') + 1) + "-";
        const std::string file = place.file("in/" + unique + name, "content");
        struct stat shared {}, files {};
        const std::string top = ::lstat("/dev/shm/.Trash", &shared) == 0 && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX) ? "/dev/shm/.Trash/" : "/dev/shm/.Trash-";
        const std::string trash = across ? top + std::to_string(::getuid()) : tree.path("data/Trash");
        const std::string stored = trash + "/files/" + unique + name, record = trash + "/info/" + unique + name + ".trashinfo";
        Session s({ "はい" });
        const std::time_t before = std::time(nullptr);
        const bool done = s.toolkit.Recycled(file);
        const std::string info = TempTree::read(record), content = TempTree::read(stored);
        QVERIFY(::unlink(stored.c_str()) == 0 && ::unlink(record.c_str()) == 0 && done);
        QCOMPARE(s.user.operations.shown, Strings { "「" + file + "」 をごみ箱に移動しますか?" });
        QCOMPARE(std::pair(TempTree::exists(file), content), std::pair(false, "content"s));
        const std::string path = across ? place.root().substr(std::string("/dev/shm/").size()) + "/in/" : place.path("in/");
        const std::string start = "[Trash Info]\nPath=" + path + unique + encoded + "\nDeletionDate=";
        QCOMPARE(info.substr(0, start.size()), start);
        std::tm when {};
        QVERIFY(strptime(info.substr(start.size()).c_str(), "%Y-%m-%dT%H:%M:%S\n", &when) != nullptr);
        when.tm_isdst = -1;
        QVERIFY(std::abs(std::difftime(std::mktime(&when), before)) < 120);
        if (!across && ::stat((trash + "/files").c_str(), &files) == 0)
            QCOMPARE(files.st_mode & 0777, 0700u);
    }

    // Taken names in the trash: numbers continue after the highest in use, and a name held by an
    // entry without a record is not taken over; a name too long is cut where a character ends.
    // Delete after Recycled keeps trashing.
    void trashNameCollisions()
    {
        TempTree tree;
        const HomeTrash trash(tree.path("data"));
        for (const std::string name : { "a.txt", "a.7.txt" }) {
            tree.file("data/Trash/info/" + name + ".trashinfo", "[Trash Info]\n");
            tree.file("data/Trash/files/" + name, "older");
        }
        tree.file("data/Trash/files/b", "orphan");
        Session s({}, true);
        std::string longName;
        for (int i = 0; i < 80; ++i)
            longName += "写";
        QVERIFY(s.toolkit.Recycled(tree.file("in/a.txt", "first") + '\0' + tree.file("in/b", "first") + '\0' + tree.file("in/" + longName + ".txt", "long")));
        QVERIFY(s.toolkit.Delete(tree.file("in/a.txt", "second") + '\0' + tree.file("in/b", "second")));
        QCOMPARE(everythingIn(tree.path("data/Trash/files")),
            (Strings { "a.7.txt=older", "a.8.txt=first", "a.9.txt=second", "a.txt=older", "b=orphan", "b.2=first", "b.3=second",
                longName.substr(0, 225) + ".txt=long" }));
        QCOMPARE(namesIn(tree.path("data/Trash/info")), (Strings { "a.7.txt.trashinfo", "a.8.txt.trashinfo", "a.9.txt.trashinfo",
                                                            "a.txt.trashinfo", "b.2.trashinfo", "b.3.trashinfo", longName.substr(0, 225) + ".txt.trashinfo" }));
    }

    void progressAndStop_data()
    {
        QTest::addColumn<std::string>("option");
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<std::string>("failAnswer");
        QTest::addColumn<Strings>("copied");
        const Strings all { "1.txt", "2.txt", "3.txt", "4.txt", "5.txt" };
        QTest::newRow("shown with names") << ""s << 0 << ""s << all;
        QTest::newRow("no progress window") << "ShowDialog"s << 0 << ""s << all;
        QTest::newRow("no names") << "SimpleProgress"s << 0 << ""s << all;
        QTest::newRow("cancelled as item 3 begins") << ""s << 3 << ""s << Strings { "1.txt", "2.txt" };
        QTest::newRow("item 2 fails, skip") << ""s << 0 << "スキップ"s << Strings { "1.txt", "3.txt", "4.txt", "5.txt" };
        QTest::newRow("item 2 fails, stop") << ""s << 0 << "中止"s << Strings { "1.txt" };
    }

    // A pattern copied into a folder, watched from the progress window; a failure's message offers
    // to stop, and the next operation starts without the stop request.
    void progressAndStop()
    {
        QFETCH(std::string, option);
        QFETCH(int, cancelAt);
        QFETCH(std::string, failAnswer);
        QFETCH(Strings, copied);
        TempTree tree;
        for (const char* name : { "1.txt", "2.txt", "3.txt", "4.txt", "5.txt", "out/" })
            *name == 'o' ? tree.folder(name) : tree.file("in/"s + name, std::string(1000, 'c'));
        Session s({ failAnswer }, false, option);
        FakeOperations& ops = s.user.operations;
        ops.onItem = [&](int number) {
            ops.cancelPressed = number == cancelAt;
            if (number == 2 && !failAnswer.empty())
                ::unlink(tree.path("in/2.txt").c_str());
        };
        QCOMPARE(s.toolkit.Copy(tree.path("in/*.txt"), tree.path("out")), copied.size() == 5);
        QCOMPARE(s.toolkit.stopRequested(), cancelAt != 0 || failAnswer == "中止");
        QCOMPARE(namesIn(tree.path("out")), copied);
        QCOMPARE(ops.progressTitles, Strings { option == "ShowDialog" ? "" : "コピーしています..." });
        QCOMPARE(ops.itemNames.front(), option == "SimpleProgress" ? "" : tree.path("in/1.txt"));
        QCOMPARE(ops.bytesReported, std::uint64_t(1000 * copied.size()));
        QCOMPARE(ops.shown, failAnswer.empty() ? Strings {} : Strings { "「" + tree.path("in/2.txt") + "」 をコピーできません。\n\nファイルまたはフォルダーが見つかりません。" });
        QVERIFY(s.toolkit.Copy(tree.path("in/1.txt"), tree.path("again.txt")) && !s.toolkit.stopRequested());
    }
};

QTEST_GUILESS_MAIN(FileOperationsTest)
#include "tst_file_operations.moc"
