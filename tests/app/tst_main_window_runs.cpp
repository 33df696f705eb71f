// Whole collection runs through the real main window: started with its button, cancelled
// and closed in the middle by hooks at a chosen yield.
#include "app/frmMain.h"
#include "run/CollectionRun.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

enum class Stop { None, ExitButton, CloseWindow, CloseWhileFiltering };

class MainWindowRunTest : public QObject {
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<Stop>("stop");
        QTest::addColumn<Strings>("messages");
        QTest::newRow("copy to the end") << Stop::None << Strings {};
        QTest::newRow("キャンセル during the copy") << Stop::ExitButton << Strings { "処理を中断します" };
        QTest::newRow("window closed during the copy") << Stop::CloseWindow << Strings {};
        QTest::newRow("window closed while the run still filters") << Stop::CloseWhileFiltering << Strings {};
    }

    void run()
    {
        QFETCH(Stop, stop);
        QFETCH(Strings, messages);
        TempTree tree;
        for (int i = 0; i < 120; ++i)
            tree.file("src/day" + std::to_string(i % 4) + "/IMG_" + std::to_string(i) + ".jpg",
                std::string(64 * 1024, 'p'));
        const std::string dest = tree.folder("dest");
        FakeUser user;
        frmMain window { user.services() };
        window.collectionRun().setYieldInterval(std::chrono::nanoseconds(0)); // a yield at every step
        window.txtFolder[frmMain::Source]->setText(QString::fromStdString(tree.path("src")));
        window.txtFolder[frmMain::Destination]->setText(QString::fromStdString(dest));
        window.show();

        // Stops once: during the copy after 30 files, or at the first yield of the filter.
        std::size_t copiedWhenStopped = 120;
        bool busySeen = false, stopped = false, visibleAfterRequest = false;
        user.onYield = [&](int) {
            busySeen |= ( // the window's own hourglass, not an application-wide one
                !window.cmdStart->isEnabled() && window.cursor().shape() == Qt::WaitCursor
                && QApplication::overrideCursor() == nullptr);
            const bool copying = window.cmdExit->text() == u"キャンセル"_s;
            if (stop == Stop::None || stopped || copying == (stop == Stop::CloseWhileFiltering)
                || (copying && namesIn(dest).size() < 30))
                return;
            copiedWhenStopped = namesIn(dest).size();
            stopped = true;
            if (stop == Stop::ExitButton)
                QTest::mouseClick(window.cmdExit, Qt::LeftButton);
            else
                window.close();
            visibleAfterRequest = window.isVisible(); // the close waits for the run's end
        };
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);

        const bool stopping = stop != Stop::None;
        QCOMPARE(std::tuple(stopped, visibleAfterRequest, busySeen), std::tuple(stopping, stopping, true));
        QCOMPARE(namesIn(dest).size(), copiedWhenStopped); // nothing written after the stop
        QCOMPARE(namesIn(tree.path("src/day0")).size(), std::size_t(30));
        QCOMPARE(user.shown, messages);
        QCOMPARE(window.isVisible(), stop == Stop::None || !messages.empty());
        QVERIFY(window.cmdExit->text() == u"閉じる"_s && window.cmdStart->isEnabled()
            && window.cursor().shape() == Qt::ArrowCursor);
    }
};

QUORVANE_GUI_TEST_MAIN(MainWindowRunTest)

#include "tst_main_window_runs.moc"
