// The built program run from a "terminal" as a child process, with no display, on real
// trees: every subcommand, the dry run writing nothing, the exit codes, names that are
// not UTF-8 in JSON and NUL-separated output, and an interrupt in the middle of a file.
#include "support/FolderNames.h"
#include "support/ProgramRun.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QProcess>
#include <QtTest>

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
        QTest::newRow("missing source") << QStringList{u"copy"_s, u"{S}/gone"_s, u"{D}"_s} << 2 << 0 << 3
                                        << u"フォルダが存在しません"_s;
        QTest::newRow("bad usage") << QStringList{u"copy"_s, u"{S}"_s} << 2 << 0 << 3 << u"Usage:"_s;
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

        QCOMPARE(runProgram(tree, {u"undo"_s, u"--yes"_s}).exit, 0);
        QCOMPARE(namesIn(dest), Strings{});
        QCOMPARE(namesIn(tree.path("src")), Strings{kNonUtf8});
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
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_command_line.moc"
