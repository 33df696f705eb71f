// Whole collection runs through the real main window: started with its buttons, cancelled
// and closed in the middle by hooks at a chosen yield.
#include "app/frmMain.h"
#include "run/CollectionRun.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString kCancelCaption = u"キャンセル"_s;
const QString kCloseCaption = u"閉じる"_s;

// A main window with the source and destination of `tree` typed in, yielding at every
// step so that hooks can act at a chosen point.
struct RunningWindow {
    FakeUser user;
    frmMain window{user.services()};

    RunningWindow(const TempTree& tree, const QString& types)
    {
        window.collectionRun().setYieldInterval(std::chrono::nanoseconds(0));
        window.txtFolder[frmMain::Source]->setText(QString::fromStdString(tree.path("src")));
        window.txtFolder[frmMain::Destination]->setText(QString::fromStdString(tree.path("dest")));
        window.txtFileType->setText(types);
        window.show();
    }
};

// A source of `count` photos of 64 KiB in a few sub-folders.
void makePhotos(TempTree& tree, int count)
{
    const std::string content(64 * 1024, 'p');
    for (int i = 0; i < count; ++i)
        tree.file("src/day" + std::to_string(i % 4) + "/IMG_" + std::to_string(i) + ".jpg", content);
    tree.folder("dest");
}

} // namespace

class MainWindowRunTest : public QObject {
    Q_OBJECT

private slots:
    void copyStartedWithTheStartButton()
    {
        TempTree tree;
        tree.file("src/a.jpg", "first a");
        tree.file("src/sub/a.jpg", "second a");
        tree.file("src/sub/b.JPG", "b");
        tree.file("src/sub/c.png", "c");
        tree.folder("dest");
        RunningWindow fixture(tree, u"jpg"_s);
        frmMain& window = fixture.window;

        bool busySeen = false;
        fixture.user.onYield = [&](int) {
            busySeen = busySeen
                || (!window.cmdStart->isEnabled() && window.cursor().shape() == Qt::WaitCursor
                    && QApplication::overrideCursor() == nullptr);
        };
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);

        QVERIFY(busySeen);
        QCOMPARE(namesIn(tree.path("dest")), (Strings{"a.jpg", "a_001.jpg", "b.JPG"}));
        QCOMPARE(TempTree::read(tree.path("dest/a.jpg")), std::string("first a"));
        QCOMPARE(TempTree::read(tree.path("dest/a_001.jpg")), std::string("second a"));
        QVERIFY(TempTree::exists(tree.path("src/sub/b.JPG")));
        QVERIFY(fixture.user.shown.empty());
        QCOMPARE(window.cmdExit->text(), kCloseCaption);
        QVERIFY(window.cmdStart->isEnabled());
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(window.isVisible());
    }

    void moveStartedWithEnter()
    {
        TempTree tree;
        tree.file("src/x/photo.jpg", "photo");
        tree.file("src/notes.txt", "notes");
        tree.folder("dest");
        RunningWindow fixture(tree, u"jpg"_s);
        fixture.window.optOperat[frmMain::Move]->setChecked(true);
        QTest::keyClick(fixture.window.txtFileType, Qt::Key_Return);

        QCOMPARE(namesIn(tree.path("dest")), Strings{"photo.jpg"});
        QVERIFY(!TempTree::exists(tree.path("src/x/photo.jpg")));
        QVERIFY(TempTree::exists(tree.path("src/notes.txt")));
    }

    void stopDuringARun_data()
    {
        QTest::addColumn<bool>("exitButton");
        QTest::addColumn<bool>("whileCopying");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<Strings>("messages");
        QTest::newRow("キャンセル during the copy") << true << true << false << Strings{"処理を中断します"};
        QTest::newRow("window closed during the copy") << false << true << true << Strings{};
        QTest::newRow("閉じる clicked while the run still filters") << true << false << true << Strings{};
        QTest::newRow("window closed while the run still filters") << false << false << true << Strings{};
    }

    void stopDuringARun()
    {
        QFETCH(bool, exitButton);
        QFETCH(bool, whileCopying);
        QFETCH(bool, closes);
        QFETCH(Strings, messages);
        TempTree tree;
        makePhotos(tree, 120);
        RunningWindow fixture(tree, u"jpg"_s);
        frmMain& window = fixture.window;

        // Acts once: during the copy after 30 files, or at the first yield of the filter.
        std::size_t copiedWhenStopped = 0;
        bool stopped = false;
        bool visibleAfterRequest = false;
        fixture.user.onYield = [&](int) {
            if (stopped || (window.cmdExit->text() == kCancelCaption) != whileCopying)
                return;
            copiedWhenStopped = namesIn(tree.path("dest")).size();
            if (whileCopying && copiedWhenStopped < 30)
                return;
            stopped = true;
            if (exitButton)
                QTest::mouseClick(window.cmdExit, Qt::LeftButton);
            else
                window.close();
            visibleAfterRequest = window.isVisible();
        };
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);

        QVERIFY(stopped);
        QVERIFY(visibleAfterRequest);
        QCOMPARE(window.isVisible(), !closes);
        QCOMPARE(namesIn(tree.path("dest")).size(), copiedWhenStopped);
        QCOMPARE(fixture.user.shown, messages);
        QCOMPARE(window.cmdExit->text(), kCloseCaption);
        QVERIFY(window.cmdStart->isEnabled());
        QCOMPARE(namesIn(tree.path("src/day0")).size(), std::size_t(30));
    }
};

QUORVANE_GUI_TEST_MAIN(MainWindowRunTest)

#include "tst_main_window_runs.moc"
