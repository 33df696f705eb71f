// A run from a share whose read of one file hangs (latencyfs over FUSE holds it until the
// test lets it go): the window keeps turning its event loop all along, キャンセル shows
// the stop message at once, the run window names the file waited on, and the run stops
// after that file; a close while the read hangs ends the program after saying which file
// stayed unfinished, and that file has no name in the destination. Skipped where FUSE
// cannot be mounted, unless QUORVANE_REQUIRE_FUSE is set.
#include "app/RunProgressWindow.h"
#include "app/frmMain.h"
#include "platform/qt/QtOperationWindow.h"
#include "run/CollectionRun.h"
#include "run/RunTexts.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/GuiTestMain.h"
#include "support/LatencyMount.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

#define MOUNT_OR_SKIP(mount)                                                                       \
    if ((mount).mountPoint().empty()) {                                                            \
        if (qEnvironmentVariableIsSet("QUORVANE_REQUIRE_FUSE"))                                    \
            QFAIL((mount).why().c_str());                                                          \
        QSKIP((mount).why().c_str());                                                              \
    }

namespace {

// A share holding src/ with a file first in the run's order whose read hangs, and two
// small ones after it. All are written ahead of their turn, so the hang is met by a
// thread of the copies in flight, whom the run waits for on the operation's thread.
struct HangingShare {
    TempTree tree;
    LatencyMount::Options options;
    std::unique_ptr<LatencyMount> mount;

    HangingShare()
    {
        tree.file("backing/src/A_large.jpg", std::string(1536 * 1024, 'L'));
        tree.file("backing/src/IMG_1.jpg", "one");
        tree.file("backing/src/IMG_2.jpg", "two");
        tree.folder("control");
        tree.folder("dest");
        tree.folder("backing/dest");
        options.stall = "/src/A_large.jpg";
        options.stallSeconds = 60; // a bound for a test gone wrong
        options.stallRelease = tree.path("control/release");
        options.stallStarted = tree.path("control/started");
        mount = std::make_unique<LatencyMount>(tree.path("backing"), tree.path("share"), options);
    }
    ~HangingShare() { release(); }
    bool hanging() const { return TempTree::exists(options.stallStarted) && !TempTree::exists(options.stallRelease); }
    void release()
    {
        if (!TempTree::exists(options.stallRelease))
            tree.file("control/release");
    }
    std::string held() const { return tree.path("share/src/A_large.jpg"); }
};

} // namespace

class HangingShareTest : public QObject {
    Q_OBJECT

private slots:
    void readHangs_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("キャンセル in the run window") << false;
        QTest::newRow("close box") << true;
    }
    void readHangs()
    {
        QFETCH(bool, close);
        HangingShare share;
        MOUNT_OR_SKIP(*share.mount);
        FakeUser user;
        platform::QtOperationWindow operations;
        frmMain main({user, user, user, operations, user.operations, user}, nullptr, share.tree.path("Quorvane.qvn"));
        main.collectionRun().setYieldInterval(std::chrono::nanoseconds(0));
        main.collectionRun().setJournalFolder(share.tree.path("state"));
        main.runWindow().setShowDelay(std::chrono::milliseconds(0));
        main.setStallBeforeExit(std::chrono::milliseconds(0));
        bool exitedWhileHanging = false;
        main.exitWhileWaiting = [&] {
            exitedWhileHanging = share.hanging();
            share.release(); // the test goes on where the program would have ended
        };
        int ticks = 0;
        Strings shownWhileHanging;
        QString waiting;
        QTimer ticker;
        ticker.setInterval(50);
        connect(&ticker, &QTimer::timeout, [&] {
            if (!share.hanging())
                return;
            ++ticks;
            if (ticks == 2) {
                if (close)
                    main.close();
                else
                    QTest::mouseClick(main.runWindow().actionButton(), Qt::LeftButton);
            }
            if (ticks == 4) {
                shownWhileHanging = user.shown;
                waiting = main.runWindow().currentLabel()->toolTip();
                share.release();
            }
        });
        ticker.start();
        main.txtFolder[frmMain::Source]->setText(QString::fromStdString(share.tree.path("share/src")));
        main.txtFolder[frmMain::Destination]->setText(QString::fromStdString(share.tree.path("dest")));
        main.show();
        QTest::mouseClick(main.cmdStart, Qt::LeftButton);
        ticker.stop();

        QVERIFY2(ticks >= 2, qPrintable(QString::number(ticks)));
        if (close) {
            QVERIFY(exitedWhileHanging);
            QCOMPARE(user.shown, Strings{run::texts::unfinishedAtExit(share.held())});
            QVERIFY(!main.isVisible());
            return;
        }
        QCOMPARE(ticks, 4);
        QCOMPARE(shownWhileHanging, Strings { run::texts::stopping() });
        QCOMPARE(waiting, QString::fromStdString(run::texts::waitingFor() + share.held()));
        // The file in flight is finished once its read comes back; no later one begins.
        QCOMPARE(namesIn(share.tree.path("dest")), Strings{"A_large.jpg"});
        QCOMPARE(main.runWindow().windowTitle(), u"中断 - コピー"_s);
    }

    // The same close with the program in a process of its own: it tells which file it
    // leaves, ends while the read still hangs, and the destination holds nothing of it
    // under its name. Where the destination has no unnamed files (a share) the copy is
    // left in a hidden temporary file, recognisable as the program's.
    void closeEndsTheProgram_data()
    {
        QTest::addColumn<QString>("dest");
        QTest::newRow("into a local folder") << u"dest"_s;
        QTest::newRow("onto the share") << u"share/dest"_s;
    }
    void closeEndsTheProgram()
    {
        QFETCH(QString, dest);
        HangingShare share;
        MOUNT_OR_SKIP(*share.mount);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_STATE_HOME"_s, QString::fromStdString(share.tree.path("state")));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(HANGING_SHARE_PROGRAM),
                      {QString::fromStdString(share.tree.path("share/src")),
                       QString::fromStdString(share.tree.path(dest.toStdString())),
                       QString::fromStdString(share.options.stallStarted),
                       QString::fromStdString(share.tree.path("Quorvane.qvn"))});
        const bool ended = program.waitForFinished(20'000);
        const bool stillHanging = share.hanging();
        share.release();
        if (!ended)
            program.kill();
        QVERIFY(ended);
        QVERIFY(stillHanging); // it did not wait for the read
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), EXIT_FAILURE);
        QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()),
                 QString::fromStdString(run::texts::unfinishedAtExit(share.held()) + "\n"));
        // Looked at where the share keeps it, past any cache of the mount. A local folder
        // holds not even a temporary file: the copy was an unnamed one.
        const bool local = dest == u"dest"_s;
        Strings left = namesIn(share.tree.path(local ? "dest" : "backing/dest"));
        if (!local) {
            std::erase_if(left, [](const std::string& name) {
                return name.starts_with(".quorvane-") && name.ends_with(".tmp");
            });
        }
        QCOMPARE(left, Strings{});
    }
};

QUORVANE_GUI_TEST_MAIN(HangingShareTest)
#include "tst_hanging_share.moc"
