// Whole collection runs through the real main window: started with its buttons, cancelled
// and closed in the middle by hooks at a chosen yield.
#include "app/frmMain.h"
#include "run/CollectionRun.h"
#include "support/FakeUser.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <dirent.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kCancelCaption = u"キャンセル"_s;
const QString kCloseCaption = u"閉じる"_s;

// The names in a folder, sorted.
Strings namesIn(const std::string& folder)
{
    Strings names;
    if (DIR* listing = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(listing)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(listing);
    }
    std::sort(names.begin(), names.end());
    return names;
}

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

    void cancelDuringALongCopy()
    {
        TempTree tree;
        makePhotos(tree, 200);
        RunningWindow fixture(tree, u"jpg"_s);
        frmMain& window = fixture.window;

        std::size_t copiedAtCancel = 0;
        bool cancelled = false;
        fixture.user.onYield = [&](int) {
            if (cancelled || window.cmdExit->text() != kCancelCaption)
                return;
            copiedAtCancel = namesIn(tree.path("dest")).size();
            if (copiedAtCancel < 50)
                return;
            cancelled = true;
            QTest::mouseClick(window.cmdExit, Qt::LeftButton);
        };
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);

        QVERIFY(cancelled);
        QCOMPARE(namesIn(tree.path("dest")).size(), copiedAtCancel);
        QCOMPARE(fixture.user.shown, Strings{"処理を中断します"});
        QCOMPARE(window.cmdExit->text(), kCloseCaption);
        QCOMPARE(window.cmdExit->toolTip(), u"Quorvaneを閉じます"_s);
        QVERIFY(window.cmdStart->isEnabled());
        QVERIFY(window.isVisible());

        // The next run starts afresh and copies everything again, numbered.
        fixture.user.onYield = nullptr;
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);
        QCOMPARE(namesIn(tree.path("dest")).size(), copiedAtCancel + 200);
    }

    void closeDuringARun_data()
    {
        QTest::addColumn<bool>("byCloseButton");
        QTest::addColumn<bool>("whileCopying");
        QTest::newRow("window closed during the copy") << false << true;
        QTest::newRow("閉じる clicked while the run still filters") << true << false;
        QTest::newRow("window closed while the run still filters") << false << false;
    }

    void closeDuringARun()
    {
        QFETCH(bool, byCloseButton);
        QFETCH(bool, whileCopying);
        TempTree tree;
        makePhotos(tree, 120);
        RunningWindow fixture(tree, u"jpg"_s);
        frmMain& window = fixture.window;

        std::size_t copiedAtClose = 0;
        bool closed = false;
        bool visibleAfterRequest = false;
        fixture.user.onYield = [&](int) {
            if (closed)
                return;
            if (whileCopying) {
                copiedAtClose = namesIn(tree.path("dest")).size();
                if (copiedAtClose < 30)
                    return;
            } else if (window.cmdExit->text() != kCloseCaption) {
                return;
            }
            closed = true;
            if (byCloseButton)
                QTest::mouseClick(window.cmdExit, Qt::LeftButton);
            else
                window.close();
            visibleAfterRequest = window.isVisible();
        };
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);

        QVERIFY(closed);
        QVERIFY(visibleAfterRequest);
        QVERIFY(!window.isVisible());
        QCOMPARE(namesIn(tree.path("dest")).size(), copiedAtClose);
        QVERIFY(fixture.user.shown.empty());
        QCOMPARE(namesIn(tree.path("src/day0")).size(), std::size_t(30));
    }
};

QUORVANE_GUI_TEST_MAIN(MainWindowRunTest)

#include "tst_main_window_runs.moc"
