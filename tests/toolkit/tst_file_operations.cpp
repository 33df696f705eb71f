#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/HomeTrash.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "support/Unprivileged.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Property = std::pair<std::function<bool(const clsFileFolder&)>,
                           std::function<void(clsFileFolder&, bool)>>;

const std::map<std::string, Property>& properties()
{
    static const std::map<std::string, Property> table{
        {"RespondDialog",
         {[](const clsFileFolder& t) { return t.RespondDialog(); },
          [](clsFileFolder& t, bool v) { t.RespondDialog(v); }}},
        {"RenameOnCollision",
         {[](const clsFileFolder& t) { return t.RenameOnCollision(); },
          [](clsFileFolder& t, bool v) { t.RenameOnCollision(v); }}},
        {"SimpleProgress",
         {[](const clsFileFolder& t) { return t.SimpleProgress(); },
          [](clsFileFolder& t, bool v) { t.SimpleProgress(v); }}},
        {"ConfirmMakeDir",
         {[](const clsFileFolder& t) { return t.ConfirmMakeDir(); },
          [](clsFileFolder& t, bool v) { t.ConfirmMakeDir(v); }}},
        {"ShowDialog",
         {[](const clsFileFolder& t) { return t.ShowDialog(); },
          [](clsFileFolder& t, bool v) { t.ShowDialog(v); }}},
        {"AllowUndo",
         {[](const clsFileFolder& t) { return t.AllowUndo(); },
          [](clsFileFolder& t, bool v) { t.AllowUndo(v); }}},
        {"MultiDestFiles",
         {[](const clsFileFolder& t) { return t.MultiDestFiles(); },
          [](clsFileFolder& t, bool v) { t.MultiDestFiles(v); }}},
        {"FilesOnly",
         {[](const clsFileFolder& t) { return t.FilesOnly(); },
          [](clsFileFolder& t, bool v) { t.FilesOnly(v); }}},
        {"WantMappingHandle",
         {[](const clsFileFolder& t) { return t.WantMappingHandle(); },
          [](clsFileFolder& t, bool v) { t.WantMappingHandle(v); }}},
    };
    return table;
}

std::map<std::string, bool> readAll(const clsFileFolder& toolkit)
{
    std::map<std::string, bool> values;
    for (const auto& [name, property] : properties())
        values[name] = property.first(toolkit);
    return values;
}

struct stat statusOf(const std::string& path)
{
    struct stat status {};
    ::lstat(path.c_str(), &status);
    return status;
}

void setModificationTime(const std::string& path, std::time_t when)
{
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

// A second tree on another file system, when the machine has one at hand.
std::unique_ptr<TempTree> treeOnOtherFileSystem(const TempTree& first)
{
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", "/dev/shm", 1);
    std::unique_ptr<TempTree> other;
    struct stat shm {};
    if (::stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode)
        && shm.st_dev != statusOf(first.root()).st_dev && ::access("/dev/shm", W_OK) == 0)
        other = std::make_unique<TempTree>();
    if (old)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    return other;
}

std::string list(std::initializer_list<std::string> paths)
{
    std::string joined;
    for (const std::string& path : paths) {
        joined += path;
        joined += '\0';
    }
    return joined;
}

} // namespace

class FileOperationsTest : public QObject {
    Q_OBJECT

private slots:
    void optionProperties_data()
    {
        QTest::addColumn<std::string>("property");
        QTest::addColumn<bool>("fresh");
        QTest::newRow("RespondDialog") << std::string("RespondDialog") << false;
        QTest::newRow("RenameOnCollision") << std::string("RenameOnCollision") << false;
        QTest::newRow("SimpleProgress") << std::string("SimpleProgress") << false;
        QTest::newRow("ConfirmMakeDir") << std::string("ConfirmMakeDir") << true;
        QTest::newRow("ShowDialog") << std::string("ShowDialog") << true;
        QTest::newRow("AllowUndo") << std::string("AllowUndo") << false;
        QTest::newRow("MultiDestFiles") << std::string("MultiDestFiles") << true;
        QTest::newRow("FilesOnly") << std::string("FilesOnly") << true;
        QTest::newRow("WantMappingHandle") << std::string("WantMappingHandle") << true;
    }

    // Each property starts at its value, reads back what was written, and leaves the
    // other eight alone.
    void optionProperties()
    {
        QFETCH(std::string, property);
        QFETCH(bool, fresh);
        FakeUser user;
        clsFileFolder toolkit(user.services());
        const Property& access = properties().at(property);
        QCOMPARE(access.first(toolkit), fresh);
        for (const bool value : {!fresh, !fresh, fresh}) {
            std::map<std::string, bool> expected = readAll(toolkit);
            expected[property] = value;
            access.second(toolkit, value);
            QCOMPARE(readAll(toolkit), expected);
        }
    }

    void target_data()
    {
        QTest::addColumn<std::uint64_t>("before");
        QTest::addColumn<std::uint64_t>("written");
        QTest::addColumn<std::uint64_t>("read");
        QTest::newRow("live window") << std::uint64_t(0) << std::uint64_t(0x4400001)
                                     << std::uint64_t(0x4400001);
        QTest::newRow("id of no window") << std::uint64_t(0) << std::uint64_t(77)
                                         << std::uint64_t(0);
        QTest::newRow("id of no window clears a live one")
            << std::uint64_t(0x4400001) << std::uint64_t(77) << std::uint64_t(0);
        QTest::newRow("zero clears") << std::uint64_t(0x4400001) << std::uint64_t(0)
                                     << std::uint64_t(0);
    }

    void target()
    {
        QFETCH(std::uint64_t, before);
        QFETCH(std::uint64_t, written);
        QFETCH(std::uint64_t, read);
        FakeUser user;
        user.operations.windows = {0x4400001};
        clsFileFolder toolkit(user.services());
        QCOMPARE(toolkit.Target(), std::uint64_t(0));
        toolkit.Target(before);
        toolkit.Target(written);
        QCOMPARE(toolkit.Target(), read);
    }

    void emptyFromListDoesNothing_data()
    {
        QTest::addColumn<std::string>("method");
        QTest::addColumn<bool>("nulFirst");
        for (const char* method : {"Copy", "Move", "Delete", "Recycled", "Rename"}) {
            QTest::addRow("%s, empty", method) << std::string(method) << false;
            QTest::addRow("%s, NUL first", method) << std::string(method) << true;
        }
    }

    void emptyFromListDoesNothing()
    {
        QFETCH(std::string, method);
        QFETCH(bool, nulFirst);
        TempTree tree;
        const std::string file = tree.file("a.txt", "keep");
        const std::string from = nulFirst ? std::string(1, '\0') + file + '\0' : std::string();
        FakeUser user;
        clsFileFolder toolkit(user.services());
        toolkit.RespondDialog(true);
        const std::map<std::string, std::function<bool()>> calls{
            {"Copy", [&] { return toolkit.Copy(from, tree.path("b.txt")); }},
            {"Move", [&] { return toolkit.Move(from, tree.path("b.txt")); }},
            {"Delete", [&] { return toolkit.Delete(from); }},
            {"Recycled", [&] { return toolkit.Recycled(from); }},
            {"Rename", [&] { return toolkit.Rename(from, "b.txt"); }},
        };
        QCOMPARE(calls.at(method)(), false);
        QCOMPARE(namesIn(tree.root()), Strings{"a.txt"});
        QCOMPARE(user.operations.shown, Strings{});
        QVERIFY(user.operations.progressTitles.empty());
    }

    void copyAndMove_data()
    {
        QTest::addColumn<bool>("move");
        QTest::addColumn<std::string>("to");
        QTest::addColumn<std::string>("arrives");
        for (const bool move : {false, true}) {
            const char* verb = move ? "move" : "copy";
            QTest::addRow("%s to a new full path", verb)
                << move << std::string("out/new name.jpg") << std::string("out/new name.jpg");
            QTest::addRow("%s into an existing folder", verb)
                << move << std::string("out") << std::string("out/写真.jpg");
            QTest::addRow("%s into a folder named with a trailing slash", verb)
                << move << std::string("out/") << std::string("out/写真.jpg");
        }
    }

    // The file arrives under exactly the wanted name, whole, with its modification
    // time and permission bits.
    void copyAndMove()
    {
        QFETCH(bool, move);
        QFETCH(std::string, to);
        QFETCH(std::string, arrives);
        TempTree tree;
        tree.folder("out");
        const std::string source = tree.file("in/写真.jpg", std::string(300'000, 'p'));
        ::chmod(source.c_str(), 0640);
        setModificationTime(source, 1'000'000'000);
        FakeUser user;
        clsFileFolder toolkit(user.services());
        const bool done = move ? toolkit.Move(source, tree.path(to))
                               : toolkit.Copy(source, tree.path(to));
        QVERIFY(done);
        const std::string destination = tree.path(arrives);
        QCOMPARE(TempTree::read(destination), std::string(300'000, 'p'));
        QCOMPARE(statusOf(destination).st_mtim.tv_sec, std::time_t(1'000'000'000));
        QCOMPARE(statusOf(destination).st_mode & 07777, mode_t(0640));
        QCOMPARE(TempTree::exists(source), !move);
        QCOMPARE(user.operations.shown, Strings{});
        QCOMPARE(namesIn(tree.path("out")), Strings{lastName(arrives)});
    }

    void takenDestination_data()
    {
        QTest::addColumn<bool>("move");
        QTest::addColumn<std::string>("setting");
        QTest::addColumn<std::string>("answer");
        QTest::addColumn<bool>("result");
        QTest::addColumn<std::string>("targetHolds");
        QTest::addColumn<Strings>("outNames");
        QTest::addColumn<bool>("stop");
        const Strings both{"a.txt"};
        for (const bool move : {false, true}) {
            const char* verb = move ? "move" : "copy";
            QTest::addRow("%s, replace: yes", verb)
                << move << std::string() << std::string("はい") << true << std::string("new")
                << both << false;
            QTest::addRow("%s, replace: yes to all", verb)
                << move << std::string() << std::string("すべてに「はい」") << true
                << std::string("new") << both << false;
            QTest::addRow("%s, replace: no", verb)
                << move << std::string() << std::string("いいえ") << false << std::string("old")
                << both << false;
            QTest::addRow("%s, replace: cancel", verb)
                << move << std::string() << std::string("キャンセル") << false
                << std::string("old") << both << true;
            QTest::addRow("%s, nothing asked", verb)
                << move << std::string("RespondDialog") << std::string() << true
                << std::string("new") << both << false;
            QTest::addRow("%s, new name on collision", verb)
                << move << std::string("RenameOnCollision") << std::string() << true
                << std::string("old") << Strings{"a (2).txt", "a.txt"} << false;
        }
    }

    // A taken name is replaced only when the user agreed or nothing is to be asked.
    void takenDestination()
    {
        QFETCH(bool, move);
        QFETCH(std::string, setting);
        QFETCH(std::string, answer);
        QFETCH(bool, result);
        QFETCH(std::string, targetHolds);
        QFETCH(Strings, outNames);
        QFETCH(bool, stop);
        TempTree tree;
        const std::string source = tree.file("in/a.txt", "new");
        const std::string target = tree.file("out/a.txt", "old");
        FakeUser user;
        clsFileFolder toolkit(user.services());
        if (!setting.empty())
            properties().at(setting).second(toolkit, true);
        if (!answer.empty())
            user.operations.answers.push_back(answer);
        const bool done = move ? toolkit.Move(source, target) : toolkit.Copy(source, target);
        QCOMPARE(done, result);
        QCOMPARE(TempTree::read(target), targetHolds);
        QCOMPARE(namesIn(tree.path("out")), outNames);
        QCOMPARE(TempTree::exists(source), !move || !result);
        QCOMPARE(toolkit.stopRequested(), stop);
        QCOMPARE(user.operations.unexpected, Strings{});
        QCOMPARE(user.operations.shown.size(), answer.empty() ? std::size_t(0) : std::size_t(1));
    }

    void missingDestinationFolder_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<std::string>("answer");
        QTest::addColumn<bool>("copied");
        QTest::newRow("asked, yes") << true << std::string("はい") << true;
        QTest::newRow("asked, no") << true << std::string("いいえ") << false;
        QTest::newRow("made without asking") << false << std::string() << true;
    }

    void missingDestinationFolder()
    {
        QFETCH(bool, confirm);
        QFETCH(std::string, answer);
        QFETCH(bool, copied);
        TempTree tree;
        const std::string source = tree.file("a.txt", "a");
        FakeUser user;
        clsFileFolder toolkit(user.services());
        toolkit.ConfirmMakeDir(confirm);
        if (!answer.empty())
            user.operations.answers.push_back(answer);
        QCOMPARE(toolkit.Copy(source, tree.path("new/deeper/a.txt")), copied);
        QCOMPARE(TempTree::read(tree.path("new/deeper/a.txt")), std::string(copied ? "a" : ""));
        QCOMPARE(TempTree::exists(tree.path("new")), copied);
        QCOMPARE(user.operations.unexpected, Strings{});
    }

    void wildcards_data()
    {
        QTest::addColumn<std::string>("entry");
        QTest::addColumn<bool>("filesOnly");
        QTest::addColumn<Strings>("left");
        QTest::newRow("a file literally named with a star is taken alone")
            << std::string("x*.jpg") << true << Strings{"xa.jpg", "xb.jpg", "xc.jpg", "y.jpg"};
        QTest::newRow("a pattern matches files and folders")
            << std::string("x?.jpg") << true << Strings{"y.jpg"};
        QTest::newRow("a pattern matches files only")
            << std::string("x?.jpg") << false << Strings{"xc.jpg", "y.jpg"};
        QTest::newRow("a pattern that matches nothing")
            << std::string("z*") << true
            << Strings{"x*.jpg", "xa.jpg", "xb.jpg", "xc.jpg", "y.jpg"};
    }

    void wildcards()
    {
        QFETCH(std::string, entry);
        QFETCH(bool, filesOnly);
        QFETCH(Strings, left);
        TempTree tree;
        for (const char* name : {"x*.jpg", "xa.jpg", "xb.jpg", "y.jpg"})
            tree.file(std::string("dir/") + name);
        tree.file("dir/xc.jpg/inside.txt");
        FakeUser user;
        user.operations.answers.push_back("スキップ");
        clsFileFolder toolkit(user.services());
        toolkit.RespondDialog(true);
        toolkit.FilesOnly(filesOnly);
        toolkit.Delete(tree.path("dir/" + entry));
        QCOMPARE(namesIn(tree.path("dir")), left);
    }

    void notRegularFiles_data()
    {
        QTest::addColumn<bool>("move");
        QTest::addColumn<bool>("fifo");
        QTest::newRow("copy of a FIFO") << false << true;
        QTest::newRow("copy of a folder") << false << false;
        QTest::newRow("move of a FIFO to another file system") << true << true;
    }

    // Refused with a message, and a FIFO is never opened in a way that would block.
    void notRegularFiles()
    {
        QFETCH(bool, move);
        QFETCH(bool, fifo);
        TempTree tree;
        const std::unique_ptr<TempTree> other = treeOnOtherFileSystem(tree);
        if (move && !other)
            QSKIP("no second file system at /dev/shm on this machine");
        const std::string source = tree.path("special");
        if (fifo)
            QCOMPARE(::mkfifo(source.c_str(), 0644), 0);
        else
            tree.folder("special");
        const std::string destination = (move ? other->root() : tree.folder("out")) + "/special";
        FakeUser user;
        user.operations.answers.push_back("スキップ");
        clsFileFolder toolkit(user.services());
        QCOMPARE(move ? toolkit.Move(source, destination) : toolkit.Copy(source, destination),
                 false);
        QVERIFY(!TempTree::exists(destination));
        QVERIFY(TempTree::exists(source));
        QCOMPARE(user.operations.shown.size(), std::size_t(1));
        QVERIFY(user.operations.shown[0].starts_with("「" + source + "」 を"));
    }

    // A folder that refuses writes: the copy fails and leaves nothing behind.
    void copyIntoFolderThatRefusesWrites()
    {
        TempTree tree;
        const std::string source = tree.file("a.txt", "a");
        const std::string locked = tree.folder("locked");
        ::chmod(locked.c_str(), 0555);
        const std::optional<std::string> outcome = runUnprivileged([&] {
            FakeUser user;
            user.operations.answers.push_back("スキップ");
            clsFileFolder toolkit(user.services());
            const bool done = toolkit.Copy(source, locked + "/a.txt");
            return std::string(done ? "copied" : "refused") + "|" + user.operations.shown.at(0);
        });
        QVERIFY(outcome.has_value());
        QCOMPARE(*outcome, "refused|「" + source + "」 をコピーできません。\n\nアクセスが拒否されました。");
        QCOMPARE(namesIn(locked), Strings{});
    }

    void moveToAnotherFileSystem_data()
    {
        QTest::addColumn<bool>("link");
        QTest::addColumn<std::string>("answer");
        QTest::addColumn<bool>("moved");
        QTest::newRow("file") << false << std::string() << true;
        QTest::newRow("link") << true << std::string() << true;
        QTest::newRow("taken name, replace: yes") << false << std::string("はい") << true;
        QTest::newRow("taken name, replace: no") << false << std::string("いいえ") << false;
    }

    void moveToAnotherFileSystem()
    {
        QFETCH(bool, link);
        QFETCH(std::string, answer);
        QFETCH(bool, moved);
        TempTree tree;
        const std::unique_ptr<TempTree> other = treeOnOtherFileSystem(tree);
        if (!other)
            QSKIP("no second file system at /dev/shm on this machine");
        const std::string content(3 * 1024 * 1024 + 5, 'm');
        std::string source = tree.file("a.bin", content);
        setModificationTime(source, 1'200'000'000);
        if (link)
            source = tree.link("toA", "a.bin");
        const std::string destination = other->path("moved");
        if (!answer.empty())
            other->file("moved", "old");
        FakeUser user;
        if (!answer.empty())
            user.operations.answers.push_back(answer);
        clsFileFolder toolkit(user.services());
        QCOMPARE(toolkit.Move(source, destination), moved);
        QCOMPARE(TempTree::exists(source), !moved);
        if (link) {
            // The link itself moved: same target text, now dangling over there.
            char target[64] = {};
            QCOMPARE(::readlink(destination.c_str(), target, sizeof target - 1), ssize_t(5));
            QCOMPARE(std::string(target), std::string("a.bin"));
        } else {
            QCOMPARE(TempTree::read(destination), moved ? content : std::string("old"));
            if (moved)
                QCOMPARE(statusOf(destination).st_mtim.tv_sec, std::time_t(1'200'000'000));
        }
        QCOMPARE(namesIn(other->root()), Strings{"moved"});
        QCOMPARE(user.operations.unexpected, Strings{});
    }

    void deleteForGood_data()
    {
        QTest::addColumn<bool>("respond");
        QTest::addColumn<std::string>("answer");
        QTest::addColumn<bool>("removed");
        QTest::newRow("nothing asked") << true << std::string() << true;
        QTest::newRow("asked once, yes") << false << std::string("はい") << true;
        QTest::newRow("asked once, no") << false << std::string("いいえ") << false;
    }

    // A NUL-joined list: a file, a folder with its contents and a link into another
    // folder, and the first file once more. The link goes, never what it points to.
    void deleteForGood()
    {
        QFETCH(bool, respond);
        QFETCH(std::string, answer);
        QFETCH(bool, removed);
        TempTree tree;
        const std::string keep = tree.file("elsewhere/keep.txt", "keep");
        const std::string file = tree.file("list/a.txt");
        const std::string folder = tree.folder("list/folder");
        tree.file("list/folder/deep/b.txt");
        tree.link("list/folder/toElsewhere", "../../elsewhere");
        const std::string link = tree.link("list/toKeep", "../elsewhere/keep.txt");
        FakeUser user;
        if (!answer.empty())
            user.operations.answers.push_back(answer);
        clsFileFolder toolkit(user.services());
        toolkit.RespondDialog(respond);
        QCOMPARE(toolkit.Delete(list({file, folder, link, file})), removed);
        const Strings kept{"a.txt", "folder", "toKeep"};
        QCOMPARE(namesIn(tree.path("list")), removed ? Strings{} : kept);
        QCOMPARE(TempTree::read(keep), std::string("keep"));
        const Strings question{"これらの 3 個の項目を完全に削除しますか?"};
        QCOMPARE(user.operations.shown, respond ? Strings{} : question);
        QCOMPARE(user.operations.unexpected, Strings{});
    }

    void entriesThatNameNoSingleEntry_data()
    {
        QTest::addColumn<std::string>("entry");
        QTest::addColumn<bool>("allowUndo");
        for (const bool allowUndo : {false, true}) {
            const char* how = allowUndo ? "trash" : "delete";
            QTest::addRow("%s of a folder's parent by ..", how) << std::string("dir/..") << allowUndo;
            QTest::addRow("%s of a folder by .", how) << std::string("dir/.") << allowUndo;
            QTest::addRow("%s of a folder by ./", how) << std::string("dir/./") << allowUndo;
        }
    }

    // Refused with a message; nothing around them is touched.
    void entriesThatNameNoSingleEntry()
    {
        QFETCH(std::string, entry);
        QFETCH(bool, allowUndo);
        TempTree tree;
        const HomeTrash trash(tree.path("data"));
        tree.file("dir/a.txt");
        tree.file("b.txt");
        FakeUser user;
        user.operations.answers.push_back("スキップ");
        clsFileFolder toolkit(user.services());
        toolkit.RespondDialog(true);
        toolkit.AllowUndo(allowUndo);
        QVERIFY(!toolkit.Delete(tree.path(entry)));
        QCOMPARE(namesIn(tree.root()), (Strings{"b.txt", "dir"}));
        QCOMPARE(namesIn(tree.path("dir")), Strings{"a.txt"});
        QCOMPARE(user.operations.shown.size(), std::size_t(1));
        QVERIFY(user.operations.shown[0].ends_with("この名前では操作できません。"));
    }

    void trashInfo_data()
    {
        QTest::addColumn<std::string>("name");
        QTest::addColumn<std::string>("encoded");
        QTest::newRow("plain") << std::string("photo.jpg") << std::string("photo.jpg");
        QTest::newRow("Japanese with a space")
            << std::string("写真 1.jpg") << std::string("%E5%86%99%E7%9C%9F%201.jpg");
        QTest::newRow("not UTF-8") << std::string("\xff\xfe.jpg") << std::string("%FF%FE.jpg");
        QTest::newRow("percent and hash") << std::string("100%#.txt")
                                          << std::string("100%25%23.txt");
    }

    // The entry moves into the home trash with a record of where it came from and when.
    void trashInfo()
    {
        QFETCH(std::string, name);
        QFETCH(std::string, encoded);
        TempTree tree;
        const HomeTrash trash(tree.path("data"));
        const std::string file = tree.file("in/" + name, "content");
        FakeUser user;
        user.operations.answers.push_back("はい");
        clsFileFolder toolkit(user.services());
        const std::time_t before = std::time(nullptr);
        QVERIFY(toolkit.Recycled(file));
        QVERIFY(toolkit.AllowUndo());
        QCOMPARE(user.operations.shown, Strings{"「" + file + "」 をごみ箱に移動しますか?"});
        QVERIFY(!TempTree::exists(file));
        QCOMPARE(TempTree::read(trash.files() + "/" + name), std::string("content"));
        const std::string info = TempTree::read(trash.info() + "/" + name + ".trashinfo");
        const std::string expectedStart =
            "[Trash Info]\nPath=" + tree.path("in/") + encoded + "\nDeletionDate=";
        QCOMPARE(info.substr(0, expectedStart.size()), expectedStart);
        std::tm when{};
        const std::string date = info.substr(expectedStart.size());
        QVERIFY(strptime(date.c_str(), "%Y-%m-%dT%H:%M:%S\n", &when) != nullptr);
        when.tm_isdst = -1;
        QVERIFY(std::abs(std::difftime(std::mktime(&when), before)) < 120);
        QCOMPARE(statusOf(trash.files()).st_mode & 0777, mode_t(0700));
    }

    // Names taken in the trash: numbers continue after the highest one in use, and a
    // name held by an entry without a record is not taken over either.
    void trashNameCollisions()
    {
        TempTree tree;
        const HomeTrash trash(tree.path("data"));
        tree.file("data/Trash/info/a.txt.trashinfo", "[Trash Info]\n");
        tree.file("data/Trash/info/a.7.txt.trashinfo", "[Trash Info]\n");
        tree.file("data/Trash/files/a.txt", "older");
        tree.file("data/Trash/files/a.7.txt", "older");
        tree.file("data/Trash/files/b", "orphan without a record");
        FakeUser user;
        clsFileFolder toolkit(user.services());
        toolkit.RespondDialog(true);
        for (const char* content : {"first", "second"}) {
            tree.file("in/a.txt", content);
            tree.file("in/b", content);
            QVERIFY(toolkit.Recycled(list({tree.path("in/a.txt"), tree.path("in/b")})));
        }
        QCOMPARE(namesIn(trash.files()),
                 (Strings{"a.7.txt", "a.8.txt", "a.9.txt", "a.txt", "b", "b.2", "b.3"}));
        QCOMPARE(namesIn(trash.info()),
                 (Strings{"a.7.txt.trashinfo", "a.8.txt.trashinfo", "a.9.txt.trashinfo",
                          "a.txt.trashinfo", "b.2.trashinfo", "b.3.trashinfo"}));
        QCOMPARE(TempTree::read(trash.files() + "/a.9.txt"), std::string("second"));
        QCOMPARE(TempTree::read(trash.files() + "/b"), std::string("orphan without a record"));
    }

    // An entry on another file system goes to the trash at that file system's top.
    void trashOnAnotherFileSystem()
    {
        TempTree tree;
        const HomeTrash trash(tree.path("data"));
        const std::unique_ptr<TempTree> other = treeOnOtherFileSystem(tree);
        if (!other)
            QSKIP("no second file system at /dev/shm on this machine");
        const std::string top = "/dev/shm";
        const std::string name = other->root().substr(top.size() + 1) + "-entry";
        const std::string file = other->file("sub/" + name, "shm");
        FakeUser user;
        clsFileFolder toolkit(user.services());
        toolkit.RespondDialog(true);
        toolkit.AllowUndo(true);
        const bool done = toolkit.Delete(file);

        struct stat shared {};
        const bool sharedTrash = ::lstat("/dev/shm/.Trash", &shared) == 0
            && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX);
        const std::string trashFolder = top
            + (sharedTrash ? "/.Trash/" : "/.Trash-") + std::to_string(::getuid());
        const std::string inTrash = trashFolder + "/files/" + name;
        const std::string info = TempTree::read(trashFolder + "/info/" + name + ".trashinfo");
        ::unlink(inTrash.c_str());
        ::unlink((trashFolder + "/info/" + name + ".trashinfo").c_str());
        QVERIFY(done);
        QVERIFY(!TempTree::exists(file));
        QVERIFY(info.starts_with("[Trash Info]\nPath=" + other->root().substr(top.size() + 1)
                                 + "/sub/" + name + "\nDeletionDate="));
        QVERIFY(!TempTree::exists(trash.files()));
    }

    void cannotTrash_data()
    {
        QTest::addColumn<bool>("unprivileged");
        QTest::newRow("no home trash can be made") << false;
        QTest::newRow("folder refuses the removal") << true;
    }

    // A file that cannot be trashed stays where it is, and no record is left behind.
    void cannotTrash()
    {
        QFETCH(bool, unprivileged);
        TempTree tree;
        const std::string file = tree.file("locked/a.txt", "stay");
        std::string dataHome = tree.file("blocker") + "/data";
        if (unprivileged) {
            dataHome = tree.folder("data");
            ::chmod(dataHome.c_str(), 0777);
            ::chmod(tree.path("locked").c_str(), 0555);
        }
        const HomeTrash trash(dataHome);
        const auto attempt = [&] {
            FakeUser user;
            user.operations.answers.push_back("スキップ");
            clsFileFolder toolkit(user.services());
            toolkit.RespondDialog(true);
            const bool done = toolkit.Recycled(file);
            return std::string(done ? "trashed" : "refused") + "|"
                + (user.operations.shown.empty() ? "" : user.operations.shown[0]);
        };
        const std::optional<std::string> outcome =
            unprivileged ? runUnprivileged(attempt) : std::optional<std::string>(attempt());
        QVERIFY(outcome.has_value());
        QCOMPARE(*outcome, "refused|「" + file + "」 をごみ箱に移動できません。\n\n"
                     + (unprivileged ? "アクセスが拒否されました。"
                                     : "この場所にはごみ箱がありません。"));
        QCOMPARE(TempTree::read(file), std::string("stay"));
        QCOMPARE(namesIn(dataHome + "/Trash/info"), Strings{});
    }

    // Delete keeps trashing after Recycled left AllowUndo on.
    void deleteAfterRecycledTrashes()
    {
        TempTree tree;
        const HomeTrash trash(tree.path("data"));
        FakeUser user;
        clsFileFolder toolkit(user.services());
        toolkit.RespondDialog(true);
        QVERIFY(toolkit.Recycled(tree.file("first.txt")));
        QVERIFY(toolkit.Delete(tree.file("second.txt")));
        QCOMPARE(namesIn(trash.files()), (Strings{"first.txt", "second.txt"}));
    }

    void errorMessageOffersToStop_data()
    {
        QTest::addColumn<std::string>("answer");
        QTest::addColumn<std::size_t>("messages");
        QTest::addColumn<bool>("stop");
        QTest::newRow("skip") << std::string("スキップ") << std::size_t(2) << false;
        QTest::newRow("stop") << std::string("中止") << std::size_t(1) << true;
    }

    void errorMessageOffersToStop()
    {
        QFETCH(std::string, answer);
        QFETCH(std::size_t, messages);
        QFETCH(bool, stop);
        TempTree tree;
        FakeUser user;
        user.operations.answers = {answer, answer};
        clsFileFolder toolkit(user.services());
        toolkit.RespondDialog(true);
        const std::string missing = tree.path("missing.txt");
        QVERIFY(!toolkit.Delete(list({missing, tree.path("gone.txt"), tree.file("c.txt")})));
        QCOMPARE(user.operations.shown.size(), messages);
        QCOMPARE(user.operations.shown[0],
                 "「" + missing + "」 を削除できません。\n\nファイルまたはフォルダーが見つかりません。");
        QCOMPARE(user.operations.buttons[0], (Strings{"スキップ", "中止"}));
        QCOMPARE(toolkit.stopRequested(), stop);
        QCOMPARE(TempTree::exists(tree.path("c.txt")), stop);
        // The next operation starts without the stop request.
        QVERIFY(toolkit.Delete(tree.file("d.txt")));
        QVERIFY(!toolkit.stopRequested());
    }

    void progress_data()
    {
        QTest::addColumn<std::string>("setting");
        QTest::addColumn<bool>("value");
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<Strings>("titles");
        QTest::addColumn<bool>("names");
        QTest::addColumn<Strings>("copied");
        const Strings all{"1.txt", "2.txt", "3.txt", "4.txt", "5.txt"};
        const Strings title{"コピーしています..."};
        QTest::newRow("shown with names") << std::string() << false << 0 << title << true << all;
        QTest::newRow("no progress window")
            << std::string("ShowDialog") << false << 0 << Strings{""} << true << all;
        QTest::newRow("no names") << std::string("SimpleProgress") << true << 0 << title << false
                                  << all;
        QTest::newRow("cancelled as item 3 begins")
            << std::string() << false << 3 << title << true << Strings{"1.txt", "2.txt"};
    }

    // A list copied into a folder through a pattern, watched from the progress window.
    void progress()
    {
        QFETCH(std::string, setting);
        QFETCH(bool, value);
        QFETCH(int, cancelAt);
        QFETCH(Strings, titles);
        QFETCH(bool, names);
        QFETCH(Strings, copied);
        TempTree tree;
        for (int i = 1; i <= 5; ++i)
            tree.file("in/" + std::to_string(i) + ".txt", std::string(1000, 'c'));
        tree.folder("out");
        FakeUser user;
        user.operations.onItem = [&](int number) {
            user.operations.cancelPressed = number == cancelAt;
        };
        clsFileFolder toolkit(user.services());
        if (!setting.empty())
            properties().at(setting).second(toolkit, value);
        QCOMPARE(toolkit.Copy(tree.path("in/*.txt"), tree.path("out")), cancelAt == 0);
        QCOMPARE(toolkit.stopRequested(), cancelAt != 0);
        QCOMPARE(namesIn(tree.path("out")), copied);
        QCOMPARE(user.operations.progressTitles, titles);
        QCOMPARE(user.operations.itemNames.front(), names ? tree.path("in/1.txt") : std::string());
        QCOMPARE(user.operations.bytesReported, std::uint64_t(1000 * copied.size()));
    }

    void rename_data()
    {
        QTest::addColumn<std::string>("to");
        QTest::addColumn<bool>("renamed");
        QTest::addColumn<Strings>("names");
        QTest::newRow("bare new name") << std::string("b.txt") << true << Strings{"b.txt"};
        QTest::newRow("full new path") << std::string("{R}/b.txt") << true << Strings{"b.txt"};
        QTest::newRow("taken name is not replaced")
            << std::string("taken.txt") << false << Strings{"a.txt", "taken.txt"};
    }

    void rename()
    {
        QFETCH(std::string, to);
        QFETCH(bool, renamed);
        QFETCH(Strings, names);
        TempTree tree;
        tree.file("a.txt", "a");
        if (!renamed)
            tree.file("taken.txt", "taken");
        if (to.starts_with("{R}"))
            to = tree.root() + to.substr(3);
        FakeUser user;
        user.operations.answers.push_back("スキップ");
        clsFileFolder toolkit(user.services());
        toolkit.RespondDialog(true);
        QCOMPARE(toolkit.Rename(tree.path("a.txt"), to), renamed);
        QCOMPARE(namesIn(tree.root()), names);
        QCOMPARE(TempTree::read(tree.path(renamed ? "b.txt" : "taken.txt")),
                 std::string(renamed ? "a" : "taken"));
    }

private:
    static std::string lastName(const std::string& path) { return path.substr(path.rfind('/') + 1); }
};

QTEST_GUILESS_MAIN(FileOperationsTest)
#include "tst_file_operations.moc"
