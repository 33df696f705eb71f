#include "platform/FileOperationEngine.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>

#include <cerrno>
#include <sys/stat.h>

class FileOperationEngineTest : public QObject {
    Q_OBJECT

private slots:
    void interruptedCopyLeavesNothing_data()
    {
        QTest::addColumn<bool>("unnamed");
        QTest::addColumn<bool>("replacing");
        QTest::addColumn<int>("atBlock");
        QTest::addColumn<bool>("cancel");
        for (const bool unnamed : {true, false}) {
            for (const bool replacing : {false, true}) {
                const char* how = unnamed ? "unnamed file" : "hidden temporary name";
                const char* onto = replacing ? "replacing" : "new name";
                QTest::addRow("%s, %s, disk full at once", how, onto)
                    << unnamed << replacing << 1 << false;
                QTest::addRow("%s, %s, disk full in the middle", how, onto)
                    << unnamed << replacing << 2 << false;
                QTest::addRow("%s, %s, cancelled in the middle", how, onto)
                    << unnamed << replacing << 2 << true;
            }
        }
    }

    // Whatever stops a copy, the destination folder holds what it held before, and a
    // file that was to be replaced is still whole.
    void interruptedCopyLeavesNothing()
    {
        QFETCH(bool, unnamed);
        QFETCH(bool, replacing);
        QFETCH(int, atBlock);
        QFETCH(bool, cancel);
        TempTree tree;
        const std::string content(9 * 1024 * 1024, 'b'); // two blocks
        const std::string source = tree.file("in/big.bin", content);
        tree.file("out/other.txt", "other");
        if (replacing)
            tree.file("out/big.bin", "old");
        FakeUser user;
        if (!cancel)
            user.operations.answers.push_back("スキップ");
        platform::FileOperationSeams seams;
        seams.avoidUnnamedFiles = !unnamed;
        int blocks = 0;
        seams.beforeCopyBlock = [&] {
            if (++blocks != atBlock)
                return 0;
            user.operations.cancelPressed = cancel;
            return cancel ? 0 : ENOSPC;
        };
        const std::string to = tree.path("out/big.bin");
        platform::FileOperationRequest request;
        request.fromList = source;
        request.toList = to;
        request.flags = platform::operation_flags::kNoConfirmation;
        const platform::FileOperationOutcome outcome =
            platform::runFileOperation(request, user.operations, seams);
        QVERIFY(outcome.result != 0);
        QCOMPARE(outcome.stopRequested, cancel);
        const Strings before = replacing ? Strings{"big.bin", "other.txt"} : Strings{"other.txt"};
        QCOMPARE(namesIn(tree.path("out")), before);
        if (replacing)
            QCOMPARE(TempTree::read(to), std::string("old"));
        QCOMPARE(TempTree::read(source).size(), content.size());
        const Strings messages = cancel
            ? Strings{}
            : Strings{"「" + source + "」 をコピーできません。\n\nディスクの空き領域が不足しています。"};
        QCOMPARE(user.operations.shown, messages);
    }

    // A move to another file system that fails part way keeps its source.
    void failedMoveAcrossFileSystemsKeepsSource()
    {
        TempTree tree;
        const char* old = std::getenv("TMPDIR");
        ::setenv("TMPDIR", "/dev/shm", 1);
        TempTree other;
        old ? (void)::setenv("TMPDIR", old, 1) : (void)::unsetenv("TMPDIR");
        struct stat first {};
        struct stat second {};
        ::stat(tree.root().c_str(), &first);
        ::stat(other.root().c_str(), &second);
        if (first.st_dev == second.st_dev)
            QSKIP("no second file system at /dev/shm on this machine");
        const std::string source = tree.file("a.bin", std::string(100'000, 'a'));
        FakeUser user;
        user.operations.answers.push_back("スキップ");
        platform::FileOperationSeams seams;
        seams.beforeCopyBlock = [] { return EIO; };
        platform::FileOperationRequest request;
        request.code = platform::FileOperationCode::Move;
        request.fromList = source;
        const std::string to = other.path("a.bin");
        request.toList = to;
        QVERIFY(platform::runFileOperation(request, user.operations, seams).result != 0);
        QCOMPARE(TempTree::read(source), std::string(100'000, 'a'));
        QCOMPARE(namesIn(other.root()), Strings{});
    }

    void fromListForms_data()
    {
        QTest::addColumn<std::string>("list");
        QTest::addColumn<Strings>("left");
        using namespace std::string_literals;
        QTest::newRow("one path") << "{R}/a"s << Strings{"b", "c"};
        QTest::newRow("paths each followed by a NUL") << "{R}/a\0{R}/b\0"s << Strings{"c"};
        QTest::newRow("last path without its NUL") << "{R}/a\0{R}/b"s << Strings{"c"};
        QTest::newRow("an empty entry ends the list") << "{R}/a\0\0{R}/b\0"s << Strings{"b", "c"};
    }

    void fromListForms()
    {
        QFETCH(std::string, list);
        QFETCH(Strings, left);
        TempTree tree;
        for (const char* name : {"a", "b", "c"})
            tree.file(name);
        for (std::size_t at; (at = list.find("{R}")) != std::string::npos;)
            list.replace(at, 3, tree.root());
        FakeUser user;
        platform::FileOperationRequest request;
        request.code = platform::FileOperationCode::Delete;
        request.fromList = list;
        request.flags = platform::operation_flags::kNoConfirmation;
        QCOMPARE(platform::runFileOperation(request, user.operations).result, 0);
        QCOMPARE(namesIn(tree.root()), left);
    }
};

QTEST_GUILESS_MAIN(FileOperationEngineTest)
#include "tst_file_operation_engine.moc"
