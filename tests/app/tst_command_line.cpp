// The built program run from a "terminal" as a child process, with no display, on real
// trees: every subcommand, the dry run writing nothing, the exit codes, names that are
// not UTF-8 in JSON and NUL-separated output, an interrupt in the middle of a file, and a
// kill in the middle of a move to another file system; and how the arguments choose
// between the window and the command line.
#include "app/StartRequest.h"
#include "support/FolderNames.h"
#include "support/ProgramRun.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QProcess>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using Result = ProgramResult;

const std::string kNonUtf8 = "caf\xe9.jpg";

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void subcommands_data()
    {
        QTest::addColumn<QStringList>("arguments"); // {S} the source, {D} the destination
        QTest::addColumn<int>("exit");
        QTest::addColumn<int>("destFiles");
        QTest::addColumn<int>("sourceFiles");
        QTest::addColumn<QString>("saying"); // part of standard output, or of standard error
        QTest::newRow("copy") << QStringList{u"copy"_s, u"{S}"_s, u"{D}"_s} << 0 << 3 << 3 << u"x_001.jpg"_s;
        QTest::newRow("copy, dry run, destination missing")
            << QStringList{u"copy"_s, u"{S}"_s, u"{D}/new"_s, u"--dry-run"_s} << 0 << 0 << 3 << u"/new/x_001.jpg"_s;
        QTest::newRow("move") << QStringList{u"move"_s, u"{S}"_s, u"{D}"_s, u"-q"_s} << 0 << 3 << 0 << QString();
        QTest::newRow("delete, dry run") << QStringList{u"delete"_s, u"{S}"_s, u"--dry-run"_s} << 0 << 0 << 3
                                         << u"/a/x.jpg\n"_s;
        QTest::newRow("trash, no terminal: not asked, not done") << QStringList{u"trash"_s, u"{S}"_s} << 1 << 0 << 3
                                                                 << u"[y/N] n"_s;
        QTest::newRow("trash --yes") << QStringList{u"trash"_s, u"{S}"_s, u"--yes"_s} << 0 << 0 << 0 << QString();
        QTest::newRow("copy, destination not made: no terminal, nothing done")
            << QStringList{u"copy"_s, u"{S}"_s, u"{D}/new"_s} << 1 << 0 << 3 << u"作成しますか？ [y/N] n"_s;
        QTest::newRow("missing source") << QStringList{u"copy"_s, u"{S}/gone"_s, u"{D}"_s} << 2 << 0 << 3
                                        << u"フォルダが存在しません"_s;
        QTest::newRow("bad usage") << QStringList{u"copy"_s, u"{S}"_s} << 2 << 0 << 3 << u"Usage:"_s;
        // Told before any display is looked for: there is none here.
        QTest::newRow("neither a subcommand nor a folder") << QStringList{u"frobnicate"_s} << 2 << 0 << 3
            << u"quorvane: 「frobnicate」はサブコマンドでもフォルダでもありません。\nUsage:"_s;
        QTest::newRow("two folders for the window") << QStringList{u"{S}"_s, u"{D}"_s} << 2 << 0 << 3
            << u"ファイル収集対象フォルダが二つ指定されています。"_s;
        QTest::newRow("a file that cannot be copied") << QStringList{u"copy"_s, u"{S}"_s, u"{D}"_s, u"-t"_s, u"fifo"_s}
                                                      << 1 << 0 << 3 << u"通常のファイルではありません"_s;
        QTest::newRow("--version") << QStringList{u"--version"_s} << 0 << 0 << 3 << u"Quorvane 4.0.0\n"_s;
        QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << 0 << 3 << u"--dry-run"_s;
    }

    void subcommands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exit);
        QFETCH(int, destFiles);
        QFETCH(int, sourceFiles);
        QFETCH(QString, saying);
        TempTree tree;
        tree.file("src/a/x.jpg", "a");
        tree.file("src/b/x.jpg", "b");
        tree.file("src/b/" + kNonUtf8, "c");
        QVERIFY(::mkfifo(tree.path("src/b/pipe.fifo").c_str(), 0644) == 0);
        const std::string dest = tree.folder("dest");
        arguments.replaceInStrings(u"{S}"_s, QString::fromStdString(tree.path("src")));
        arguments.replaceInStrings(u"{D}"_s, QString::fromStdString(dest));

        const Result result = runProgram(tree, arguments);
        QCOMPARE(result.exit, exit);
        QCOMPARE(namesIn(dest).size(), std::size_t(destFiles)); // a dry run makes no dest/new
        QCOMPARE(int(namesIn(tree.path("src/a")).size() + namesIn(tree.path("src/b")).size()) - 1, sourceFiles);
        QVERIFY2(QString::fromUtf8(result.out).contains(saying) || result.err.contains(saying),
                 qPrintable(QString::fromUtf8(result.out) + result.err));
    }

    // Names that are not UTF-8 come out byte-exact: in JSON beside a readable form, and
    // as they are between NULs. Undo then takes the copy back.
    void outputFormatsAndUndo()
    {
        TempTree tree;
        tree.file("src/" + kNonUtf8, "c");
        const std::string dest = tree.folder("dest");
        const QString source = QString::fromStdString(tree.path("src")), target = QString::fromStdString(dest);

        const Result plan = runProgram(tree, {u"copy"_s, source, target, u"--dry-run"_s, u"--null"_s});
        QCOMPARE(plan.out, QByteArray::fromStdString(tree.path("src/" + kNonUtf8) + '\0' + dest + '/' + kNonUtf8 + '\0'));
        const Result copy = runProgram(tree, {u"copy"_s, source, target, u"--json"_s});
        QCOMPARE(copy.exit, 0);
        const QByteArray raw = QByteArray::fromStdString(dest + '/' + kNonUtf8);
        QVERIFY2(copy.out.contains("\"dest_base64\":\"" + raw.toBase64() + '"'), copy.out.constData());
        QVERIFY(copy.out.contains("{\"summary\":{\"done\":1,"));

        const Result declined = runProgram(tree, {u"undo"_s});
        QCOMPARE(declined.exit, 1);
        QVERIFY2(declined.err.contains(u"元に戻しますか？ [y/N] n"_s), qPrintable(declined.err));
        QCOMPARE(namesIn(dest), Strings{kNonUtf8});
        QCOMPARE(runProgram(tree, {u"undo"_s, u"--yes"_s}).exit, 0);
        QCOMPARE(namesIn(dest), Strings{});
        QCOMPARE(namesIn(tree.path("src")), Strings{kNonUtf8});
    }

    // SOURCE and DEST as typed in a shell, from the working folder {W}: the run, its report
    // and its journal work with the absolute paths. One that names nothing is still refused.
    void relativePaths_data()
    {
        QTest::addColumn<std::string>("workingFolder");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit");
        QTest::newRow("names in the working folder") << std::string("") << QStringList{u"src"_s, u"dest"_s} << 0;
        QTest::newRow("dot and dot-dot") << std::string("src/a") << QStringList{u".."_s, u"./../../dest"_s} << 0;
        QTest::newRow("dots and slashes") << std::string("src") << QStringList{u".//."_s, u"..//dest"_s} << 0;
        QTest::newRow("a name that is not there") << std::string("") << QStringList{u"gone"_s, u"dest"_s} << 2;
    }

    void relativePaths()
    {
        QFETCH(std::string, workingFolder);
        QFETCH(QStringList, arguments);
        QFETCH(int, exit);
        TempTree tree;
        tree.file("src/a/x.jpg", "a");
        const std::string dest = tree.folder("dest");
        const Result result = runProgram(tree, QStringList{u"copy"_s} + arguments, {}, tree.path(workingFolder));
        QCOMPARE(result.exit, exit);
        if (exit != 0) {
            QVERIFY2(result.err.contains(u"フォルダが存在しません。既存のフォルダを選んでください。"_s), qPrintable(result.err));
            return;
        }
        QCOMPARE(result.out, QByteArray::fromStdString(tree.path("src/a/x.jpg") + '\t' + dest + "/x.jpg\n"));
        QCOMPARE(namesIn(dest), Strings{"x.jpg"});
        const std::string journal = TempTree::read(tree.path("state/quorvane/runs/") + namesIn(tree.path("state/quorvane/runs")).back());
        QVERIFY2(journal.find(' ' + tree.path("src/a/x.jpg") + ' ') != std::string::npos, journal.c_str());
        QVERIFY2(journal.find(' ' + dest + "/x.jpg") != std::string::npos, journal.c_str());
    }

    // How the arguments start the program, from the working folder {R}, which holds the
    // folders photos, copy and -odd and the file notes.txt. The window's folders come out
    // absolute; a path (with a "/") is the window's even when it names no folder, which
    // the window then says.
    void startRequest_data()
    {
        QTest::addColumn<Strings>("arguments");
        QTest::addColumn<int>("kind");
        QTest::addColumn<std::string>("source"); // for the window; else the usage error
        QTest::addColumn<std::string>("dest");
        const int window = int(StartRequest::Kind::Window), usage = int(StartRequest::Kind::UsageError),
                  command = int(StartRequest::Kind::CommandLine);
        const auto row = [](const char* name, Strings arguments, int kind, std::string source, std::string dest = {}) {
            QTest::newRow(name) << arguments << kind << source << dest;
        };
        row("nothing", {}, window, "");
        row("a folder in the working folder", {"photos"}, window, "{R}/photos");
        row("a folder by its whole path, with a trailing slash", {"{R}/photos/"}, window, "{R}/photos/");
        row("a subcommand wins over a folder of its name", {"copy"}, command, "");
        row("the folder of a subcommand's name, as a path", {"./copy"}, window, "{R}/copy");
        row("--help", {"--help"}, command, "");
        row("--source and --dest", {"--source", "photos", "--dest", "{R}/out"}, window, "{R}/photos", "{R}/out");
        row("--source= and --dest=", {"--dest=out", "--source=../photos"}, window, "/photos", "{R}/out");
        row("a folder and --dest", {"photos", "--dest", "copy"}, window, "{R}/photos", "{R}/copy");
        row("a file, by its path", {"{R}/notes.txt"}, window, "{R}/notes.txt");
        row("a missing path", {"./gone"}, window, "{R}/gone");
        row("a name beginning with a dash, after --", {"--", "-odd"}, window, "{R}/-odd");
        row("a mistyped subcommand", {"cpy", "photos"}, usage, "「cpy」はサブコマンドでもフォルダでもありません。");
        row("a file, by its name alone", {"notes.txt"}, usage, "「notes.txt」はサブコマンドでもフォルダでもありません。");
        row("two folders", {"photos", "./copy"}, usage, "ファイル収集対象フォルダが二つ指定されています。保存先フォルダは --dest で指定してください。");
        row("a folder and --source", {"--source", "photos", "copy/"}, usage, "ファイル収集対象フォルダが二つ指定されています。保存先フォルダは --dest で指定してください。");
        row("--dest twice", {"--dest", "photos", "--dest=copy"}, usage, "保存先フォルダが二つ指定されています。");
        row("--dest at the end", {"photos", "--dest"}, usage, "--dest の後にフォルダを指定してください。");
        row("--source with an empty folder", {"--source="}, usage, "--source の後にフォルダを指定してください。");
        row("--source followed by an option", {"--source", "--dest", "photos"}, usage, "--source の後にフォルダを指定してください。");
        row("an option of the subcommands", {"photos", "-t", "png"}, usage, "「-t」は使えないオプションです。");
        row("an unknown option", {"--sources=photos"}, usage, "「--sources=photos」は使えないオプションです。");
    }

    void startRequest()
    {
        QFETCH(Strings, arguments);
        QFETCH(int, kind);
        QFETCH(std::string, source);
        QFETCH(std::string, dest);
        TempTree tree;
        tree.folder("photos");
        tree.folder("copy");
        tree.folder("-odd");
        tree.file("notes.txt");
        // The working folder is the tree's: "--source=../photos" climbs out of it.
        const std::string parent = tree.root().substr(0, tree.root().rfind('/'));
        for (std::string& expected : {std::ref(source), std::ref(dest)})
            expected = expected == "/photos" ? parent + "/photos" : tree.expand(expected);
        std::vector<std::string> words{"quorvane"};
        for (const std::string& argument : arguments)
            words.push_back(tree.expand(argument));
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);

        const std::string before = std::filesystem::current_path();
        std::filesystem::current_path(tree.root());
        const StartRequest request = readStartRequest(int(words.size()), argv.data());
        std::filesystem::current_path(before);
        QCOMPARE(int(request.kind), kind);
        if (kind == int(StartRequest::Kind::UsageError)) {
            QCOMPARE(request.error, source);
        } else {
            QCOMPARE(request.source, source);
            QCOMPARE(request.dest, dest);
        }
    }

    // SIGINT while the second file is being written: it is rolled back, the first stays
    // whole, the third is not begun, and the exit code says the run was stopped.
    void interruptedInTheMiddleOfAFile()
    {
        TempTree tree;
        const std::string big(16u << 20, 'p');
        for (const char* name : {"src/1.jpg", "src/2.jpg", "src/3.jpg"})
            tree.file(name, big);
        const std::string dest = tree.folder("dest");
        const Result result = runProgram(tree, {u"copy"_s, QString::fromStdString(tree.path("src")),
                                                QString::fromStdString(dest)}, {u"QUORVANE_INTERRUPT_AT=2"_s});
        QCOMPARE(result.exit, 130);
        QCOMPARE(namesIn(dest), Strings{"1.jpg"}); // hidden temporary names included
        QCOMPARE(TempTree::read(dest + "/1.jpg").size(), big.size());
    }

    // A run of 2,000 files killed at points of it. A move to another file system, whose
    // sources go a batch at a time after their copies (killed before, between and inside
    // batches): every file is whole in one place at least. A copy, whose small files are
    // written ahead into unnamed files: none of those is left. Either way the destination
    // holds nothing partial, and the journal lists only files whose source is gone.
    void killedMidRun_data()
    {
        QTest::addColumn<bool>("move");
        QTest::addColumn<int>("killAt");
        for (const int at : {1, 1000, 1001, 1300, 2000})
            QTest::addRow("move across, killed in file %d", at) << true << at;
        for (const int at : {1, 700, 2000})
            QTest::addRow("copy, killed in file %d", at) << false << at;
    }

    void killedMidRun()
    {
        QFETCH(bool, move);
        QFETCH(int, killAt);
        TempTree tree;
        const std::unique_ptr<TempTree> other = TempTree::onOtherFileSystem(tree);
        if (move && !other)
            QSKIP("no second file system at /dev/shm");
        const auto content = [](int i) { return std::string(1 + i % 97 * 41, char('a' + i % 26)); };
        const auto source = [&](int i) { return tree.path("src/d" + std::to_string(i % 20) + "/" + std::to_string(i) + ".jpg"); };
        for (int i = 0; i < 2000; ++i)
            tree.file(source(i).substr(tree.root().size() + 1), content(i));
        const std::string dest = move ? other->folder("dest") : tree.folder("dest");
        const Result result = runProgram(tree, {move ? u"move"_s : u"copy"_s, QString::fromStdString(tree.path("src")),
                                                QString::fromStdString(dest)},
                                         {u"QUORVANE_KILL_AT="_s + QString::number(killAt)});
        QCOMPARE(result.exit, -1);
        for (int i = 0; i < 2000; ++i) {
            const std::string copy = dest + "/" + std::to_string(i) + ".jpg";
            QVERIFY2(!TempTree::exists(copy) || TempTree::read(copy) == content(i), copy.c_str());
            QVERIFY2(TempTree::read(source(i)) == content(i) || (move && TempTree::exists(copy)), copy.c_str());
        }
        const Strings placed = namesIn(dest); // hidden temporary names included
        QVERIFY2(placed.size() < static_cast<std::size_t>(killAt), std::to_string(placed.size()).c_str());
        std::istringstream journal(TempTree::read(tree.path("state/quorvane/runs/") + namesIn(tree.path("state/quorvane/runs")).back()));
        for (std::string kind, bytes, mtime, moved; journal >> kind;) {
            if (move && kind == "D" && journal >> bytes >> mtime >> moved)
                QVERIFY2(!TempTree::exists(moved), moved.c_str());
            journal.ignore(1 << 20, '\n');
        }
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_command_line.moc"
