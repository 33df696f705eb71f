// Whole runs through the real main window, acted on by hooks at a chosen yield as a user
// would: a cancel, a close, a click on an input the run has locked.
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

enum class Act { Cancel, CloseWhileFiltering, DeleteWhileFiltering };
Q_DECLARE_METATYPE(Act)

class MainWindowRunTest : public QObject {
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<Act>("act");
        QTest::newRow("キャンセル during the copy") << Act::Cancel;
        // The stop comes first: no word about the empty destination box holds up the close.
        QTest::newRow("closed while filtering, no destination") << Act::CloseWhileFiltering;
        // The click on 完全削除 is refused, and the choice set from code is not read: all is copied.
        QTest::newRow("完全削除 chosen while filtering") << Act::DeleteWhileFiltering;
    }

    void run()
    {
        QFETCH(Act, act);
        const std::size_t files = 120;
        TempTree tree;
        for (std::size_t i = 0; i < files; ++i)
            tree.file("src/day" + std::to_string(i % 4) + "/IMG_" + std::to_string(i) + ".jpg", std::string(512, 'p'));
        const std::string dest = tree.folder("dest");
        FakeUser user;
        frmMain window{user.services()};
        window.collectionRun().setYieldInterval(std::chrono::nanoseconds(0)); // a yield at every step
        window.txtFolder[frmMain::Source]->setText(QString::fromStdString(tree.path("src")));
        if (act != Act::CloseWhileFiltering)
            window.txtFolder[frmMain::Destination]->setText(QString::fromStdString(dest));
        window.show();
        window.activateWindow();
        window.cmdStart->setFocus();

        std::size_t copiedWhenActed = 0;
        bool busySeen = false, locked = true, acted = false, visibleAfterAct = false;
        user.onYield = [&](int) {
            busySeen |= ( // the window's own hourglass, not an application-wide one
                !window.cmdStart->isEnabled() && window.cursor().shape() == Qt::WaitCursor
                && QApplication::overrideCursor() == nullptr);
            for (QWidget* input : std::initializer_list<QWidget*>{window.txtFolder[0], window.txtFolder[1],
                     window.cmdRefer[0], window.cmdRefer[1], window.txtFileType, window.optOperat[2]})
                locked &= !input->isEnabled();
            const bool copying = window.cmdExit->text() == u"キャンセル"_s;
            if (acted || copying != (act == Act::Cancel) || (copying && namesIn(dest).size() < 30))
                return;
            acted = true;
            copiedWhenActed = namesIn(dest).size();
            if (act == Act::Cancel) {
                QTest::mouseClick(window.cmdExit, Qt::LeftButton);
            } else if (act == Act::CloseWhileFiltering) {
                window.close();
            } else {
                QTest::mouseClick(window.optOperat[frmMain::Delete], Qt::LeftButton);
                locked &= window.optOperat[frmMain::Copy]->isChecked();
                window.optOperat[frmMain::Delete]->setChecked(true);
            }
            visibleAfterAct = window.isVisible(); // a close waits for the run's end
        };
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);

        QVERIFY(acted && busySeen && locked && visibleAfterAct);
        QCOMPARE(namesIn(dest).size(), act == Act::DeleteWhileFiltering ? files : copiedWhenActed);
        QCOMPARE(namesIn(tree.path("src/day0")).size(), files / 4); // no source lost
        QCOMPARE(user.shown, act == Act::Cancel ? Strings{"処理を中断します"} : Strings{});
        QCOMPARE(window.isVisible(), act != Act::CloseWhileFiltering);
        QVERIFY(window.cmdExit->text() == u"閉じる"_s && window.cmdStart->isEnabled()
            && window.cursor().shape() == Qt::ArrowCursor);
        if (act == Act::CloseWhileFiltering)
            return;
        // The inputs are back as they were, except what was chosen from code, and the
        // focus is where the run was started from, so Enter starts the next run.
        QCOMPARE(window.txtFolder[frmMain::Destination]->isEnabled(), act != Act::DeleteWhileFiltering);
        QVERIFY(window.txtFolder[frmMain::Source]->isEnabled() && window.optOperat[frmMain::Copy]->isEnabled());
        QCOMPARE(window.focusWidget(), static_cast<QWidget*>(window.cmdStart));
        QVERIFY(window.cmdStart->isDefault());
    }
};

QUORVANE_GUI_TEST_MAIN(MainWindowRunTest)

#include "tst_main_window_runs.moc"
