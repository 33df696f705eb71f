#include "platform/FileOperationEngine.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>

#include <cerrno>

using namespace std::string_literals;

class FileOperationEngineTest : public QObject {
    Q_OBJECT

private slots:
    void interruptedCopyLeavesNothing_data()
    {
        QTest::addColumn<bool>("unnamed");
        QTest::addColumn<bool>("replacing");
        QTest::addColumn<std::string>("event");
        QTest::addColumn<bool>("across");
        for (const bool unnamed : { true, false })
            for (const bool replacing : { false, true })
                for (const char* event : { "full at block 1", "full at block 2", "cancel at block 2" })
                    QTest::addRow("%s, %s, %s", unnamed ? "unnamed file" : "hidden temporary name",
                        replacing ? "replacing" : "new name", event) << unnamed << replacing << std::string(event) << false;
        QTest::newRow("move to another file system, full") << true << false << "full at block 2"s << true;
        QTest::newRow("move to another file system, cancel") << true << true << "cancel at block 2"s << true;
    }

    // Whatever stops a copy, the destination folder holds what it held before, a file that was to
    // be replaced is still whole, and the source of a move is kept.
    void interruptedCopyLeavesNothing()
    {
        QFETCH(bool, unnamed);
        QFETCH(bool, replacing);
        QFETCH(std::string, event);
        QFETCH(bool, across);
        const bool cancel = event.starts_with("cancel");
        TempTree tree;
        const std::unique_ptr<TempTree> other = across ? TempTree::onOtherFileSystem(tree) : nullptr;
        if (across && !other)
            QSKIP("no second file system at /dev/shm on this machine");
        const std::string source = tree.file("in/big.bin", std::string(9 * 1024 * 1024, 'b')); // two blocks
        TempTree& place = across ? *other : tree;
        const std::string to = place.path("out/big.bin"); // outlives the request, which only views it
        place.file("out/other.txt", "other");
        if (replacing)
            place.file("out/big.bin", "old");
        FakeUser user;
        user.operations.answers = { "スキップ" };
        const platform::FileOperationSeams seams { !unnamed, [&, blocks = 0]() mutable {
                                                      if (++blocks != event.back() - '0')
                                                          return 0;
                                                      user.operations.cancelPressed = cancel;
                                                      return cancel ? 0 : ENOSPC;
                                                  } };
        platform::FileOperationRequest request { across ? platform::FileOperationCode::Move : platform::FileOperationCode::Copy,
            source, to, platform::operation_flags::kNoConfirmation, 0, {} };
        const platform::FileOperationOutcome outcome = platform::runFileOperation(request, user.operations, seams);
        QCOMPARE(std::pair(outcome.result != 0, outcome.stopRequested), std::pair(true, cancel));
        QCOMPARE(everythingIn(place.path("out")), (replacing ? Strings { "big.bin=old", "other.txt=other" } : Strings { "other.txt=other" }));
        QCOMPARE(TempTree::read(source).size(), std::size_t(9 * 1024 * 1024));
        QCOMPARE(user.operations.shown, cancel ? Strings {} : Strings { "「" + source + "」 を" + (across ? "移動" : "コピー") + "できません。\n\nディスクの空き領域が不足しています。" });
    }
};

QTEST_GUILESS_MAIN(FileOperationEngineTest)
#include "tst_file_operation_engine.moc"
