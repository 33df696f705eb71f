// The run window as a user meets it, over the real main window: when it comes up, what it
// says while the run works and at its end, and how it gets along with the questions the
// file operations ask in the middle of a run.
#include "app/RunProgressWindow.h"
#include "app/SystemMenuHook.h"
#include "app/frmMain.h"
#include "platform/qt/QtOperationWindow.h"
#include "platform/qt/QtUserServices.h"
#include "run/CollectionRun.h"
#include "run/RunTexts.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/Gate.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/mount.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// A window over a tree of photos src/IMG_<n>.jpg, with every yield a step of the run.
struct Window {
    TempTree tree;
    FakeUser user;
    std::unique_ptr<frmMain> main;

    explicit Window(platform::OperationWindow* operations = nullptr)
    {
        main = std::make_unique<frmMain>(
            operations ? platform::UserServices{user, user, user, *operations, user.operations, user}
                       : user.services());
        main->collectionRun().setYieldInterval(std::chrono::nanoseconds(0));
        main->runWindow().setShowDelay(std::chrono::milliseconds(0));
        main->runWindow().openUrl = [this](const QUrl& url) { opened << url; return true; };
    }
    void photos(int count, std::size_t bytes = 100)
    {
        for (int i = 0; i < count; ++i)
            tree.file("src/IMG_" + std::to_string(i) + ".jpg", std::string(bytes, 'p'));
    }
    void start(const std::string& dest)
    {
        main->txtFolder[frmMain::Source]->setText(QString::fromStdString(tree.path("src")));
        main->txtFolder[frmMain::Destination]->setText(QString::fromStdString(dest));
        main->show();
        QTest::mouseClick(main->cmdStart, Qt::LeftButton);
    }
    RunProgressWindow& runWindow() { return main->runWindow(); }
    QList<QUrl> opened;
};

} // namespace

class RunWindowTest : public QObject {
    Q_OBJECT

private slots:
    // A run still working when the delay is up gets the window, with its progress in the
    // title, and a report at the end, as does any run that did not do all it was asked; a
    // quick run that did everything shows nothing.
    void report_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title"); // empty: no window
        QTest::addColumn<QStringList>("summary");
        QTest::newRow("long") << u"long"_s << u"完了 - コピー"_s << QStringList{u"コピーしたファイル: 6 (600 バイト)"_s};
        QTest::newRow("short") << u"short"_s << QString() << QStringList{};
        QTest::newRow("full destination") << u"full"_s << u"完了 - コピー"_s
            << QStringList{u"コピーしたファイル: 1 (40.0 KB)"_s, u"失敗したファイル: 2"_s};
        QTest::newRow("cancel") << u"cancel"_s << u"中断 - コピー"_s
            << QStringList{u"コピーしたファイル: 2 (200 バイト)"_s, u"処理しなかったファイル: 4"_s};
        QTest::newRow("cancel a delete") << u"cancel delete"_s << u"中断 - 完全削除"_s
            << QStringList{u"削除したファイル: 2 (200 バイト)"_s, u"処理しなかったファイル: 4"_s};
        QTest::newRow("taken names") << u"taken"_s << u"完了 - コピー"_s
            << QStringList{u"コピーしたファイル: 6 (600 バイト)"_s, u"　うち番号付きの名前にしたファイル: 2"_s};
        // One operation for all files: each one's outcome is read back from the disk.
        QTest::newRow("delete, one file became a folder") << u"delete"_s << u"完了 - 完全削除"_s
            << QStringList{u"削除したファイル: 5 (500 バイト)"_s, u"失敗したファイル: 1"_s};
    }
    void report()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QStringList, summary);
        Window window;
        const std::string dest = window.tree.folder("dest");
        bool mounted = false;
        const auto unmount = qScopeGuard([&] { mounted && ::umount2(dest.c_str(), MNT_DETACH); });
        if (kind == u"full") {
            // Failures bring the report although the window never came up.
            window.runWindow().setShowDelay(std::chrono::hours(1));
            window.photos(3, 40 * 1024);
            if (::mount("tmpfs", dest.c_str(), "tmpfs", 0, "size=64k") != 0)
                QSKIP("no tmpfs can be mounted here");
            mounted = true;
            window.user.yesNoAnswers = {true}; // go on although the space is short
            window.user.operations.answers = {"スキップ", "スキップ"};
        } else {
            window.photos(6);
        }
        if (kind == u"taken") {
            window.tree.file("dest/IMG_1.jpg");
            window.tree.file("dest/IMG_4.jpg");
        }
        if (kind == u"delete") {
            window.main->optOperat[frmMain::Delete]->setChecked(true);
            window.user.operations.onItem = [&](int number) {
                if (number == 1) {
                    ::unlink(window.tree.path("src/IMG_3.jpg").c_str());
                    window.tree.folder("src/IMG_3.jpg");
                }
            };
        }
        if (kind == u"cancel delete")
            window.main->optOperat[frmMain::Delete]->setChecked(true);
        if (kind.startsWith(u"cancel")) {
            window.user.operations.onItem = [&](int) {
                if (window.user.operations.itemNames.size() == 2)
                    QTest::mouseClick(window.runWindow().actionButton(), Qt::LeftButton);
            };
        }
        if (kind == u"short")
            window.runWindow().setShowDelay(std::chrono::hours(1));
        QString titleWhileRunning;
        window.user.onYield = [&](int) {
            if (window.runWindow().isVisible())
                titleWhileRunning = window.runWindow().windowTitle();
        };
        window.start(dest);
        QCOMPARE(window.runWindow().isVisible(), !title.isEmpty());
        if (title.isEmpty()) {
            QVERIFY(titleWhileRunning.isEmpty());
            return;
        }
        QCOMPARE(window.runWindow().windowTitle(), title);
        const QStringList lines = window.runWindow().statusLabel()->text().split(u'\n');
        for (const QString& line : summary)
            QVERIFY2(lines.contains(line), qPrintable(lines.join(u" | ")));
        const QString problems = window.runWindow().problemList()->toPlainText();
        QCOMPARE(problems.count(u"ディスクの空き領域が不足しています"_s), kind == u"full" ? 2 : 0);
        QCOMPARE(problems.contains(u"src/IMG_3.jpg\n"_s), kind == u"delete");
        QCOMPARE(window.runWindow().problemList()->isVisible(), kind == u"full" || kind == u"delete");
        const Strings shown = kind.startsWith(u"cancel") ? Strings{"処理を中断します"}
            : kind == u"full" ? Strings{"保存先の空き容量が足りません（必要 120.0 KB、空き 64.0 KB）。続けますか？"} : Strings{};
        QCOMPARE(window.user.shown, shown);
        if (kind != u"long")
            return;
        QVERIFY2(QRegularExpression(u"^\\d+% - コピー$"_s).match(titleWhileRunning).hasMatch(),
                 qPrintable(titleWhileRunning));
        QTest::mouseClick(window.runWindow().openFolderButton(), Qt::LeftButton);
        QCOMPARE(window.opened, QList{QUrl::fromLocalFile(QString::fromStdString(dest))});
        QTest::mouseClick(window.runWindow().actionButton(), Qt::LeftButton);
        QVERIFY(!window.runWindow().isVisible());
    }

    // A question the operation asks in the middle of a run comes up with the run window
    // telling how far the run got: on a destination that fills up, the two files placed
    // before the third could not be are counted, however quickly they went.
    void figuresAtAQuestion()
    {
        platform::QtOperationWindow operations;
        Window window(&operations);
        // Larger than what is written ahead of its turn: each file is placed as it is
        // written, so the third is the one that finds the disk full.
        window.photos(6, 1100 * 1024);
        const std::string dest = window.tree.folder("dest");
        if (::mount("tmpfs", dest.c_str(), "tmpfs", 0, "size=2560k") != 0)
            QSKIP("no tmpfs can be mounted here");
        const auto unmount = qScopeGuard([&] { ::umount2(dest.c_str(), MNT_DETACH); });
        window.user.yesNoAnswers = {true}; // go on although the space is short
        QStringList questions, figures;
        bool windowUp = false;
        operations.onMessage = [&](QMessageBox& box) {
            questions << box.text();
            // Read once the question is on screen, then stop the run.
            QTimer::singleShot(0, &box, [&, question = &box] {
                windowUp = window.runWindow().isVisible();
                figures = window.runWindow().statusLabel()->text().split(u'\n');
                for (QAbstractButton* button : question->buttons()) {
                    if (button->text() == u"中止"_s)
                        button->click();
                }
            });
        };
        window.start(dest);
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions.front().contains(u"ディスクの空き領域が不足しています"_s), qPrintable(questions.front()));
        QVERIFY(windowUp);
        QVERIFY2(figures.contains(u"ファイル: 2 / 6"_s), qPrintable(figures.join(u" | ")));
        QCOMPARE(namesIn(dest).size(), std::size_t(2));
    }

    // The menu's undo entry is live after a run, asks first, undoes the run in the run
    // window, and is greyed out again: an undo is not undone.
    void undoFromTheMenu()
    {
        Window window;
        window.photos(2);
        window.main->collectionRun().setJournalFolder(window.tree.path("state"));
        QAction* undo = window.main->systemMenu().undoEntry();
        const std::string dest = window.tree.folder("dest");
        window.start(dest);
        QVERIFY(undo->isEnabled());
        window.user.yesNoAnswers = {true};
        undo->trigger();
        QCOMPARE(window.user.shown, Strings{"前回の処理（コピー 2 件）を元に戻しますか？"});
        QCOMPARE(namesIn(dest), Strings{});
        QCOMPARE(window.runWindow().windowTitle(), u"完了 - 元に戻す"_s);
        QVERIFY(window.runWindow().statusLabel()->text().startsWith(u"元に戻したファイル: 2"_s));
        QVERIFY(!undo->isEnabled());
    }

    // A question the engine asks in the middle of a run is the active window and takes
    // Enter; the close box while it is open answers it, stops the run and closes.
    void questionDuringRun_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("answered with Enter") << false;
        QTest::newRow("close box") << true;
    }
    void questionDuringRun()
    {
        QFETCH(bool, close);
        platform::QtOperationWindow operations;
        Window window(&operations);
        window.tree.folder("src");
        QVERIFY(::mkfifo(window.tree.path("src/A.jpg").c_str(), 0644) == 0); // not a file to copy
        window.photos(2);
        bool active = false, blocked = false, stillOpen = false;
        operations.onMessage = [&](QMessageBox& box) {
            QMetaObject::invokeMethod(&box, [&, question = &box] {
                for (int pass = 0; pass < 20 && !question->isActiveWindow(); ++pass)
                    QCoreApplication::processEvents();
                active = question->isActiveWindow();
                if (!close) {
                    QTest::keyClick(question, Qt::Key_Return);
                    return;
                }
                // The window system drops a close-box click on a window a modal one blocks.
                blocked = QApplication::activeModalWidget() != nullptr;
                window.main->close();
                stillOpen = question->isVisible();
                if (stillOpen) // the test ends all the same
                    question->reject();
            }, Qt::QueuedConnection);
        };
        const std::string dest = window.tree.folder("dest");
        window.start(dest);
        QVERIFY(active);
        QVERIFY(!stillOpen);
        QCOMPARE(blocked, false);
        QCOMPARE(namesIn(dest).size(), std::size_t(close ? 0 : 2)); // the close stops before the next file
        QCOMPARE(window.main->isVisible(), !close);
        QCOMPARE(window.runWindow().isVisible(), !close);
        if (!close)
            QVERIFY(window.runWindow().problemList()->toPlainText().contains(u"通常のファイルではありません"_s));
    }

    // A folder of the search whose listing hangs, as on a share that stopped answering:
    // the window keeps turning its event loop (a 50 ms timer keeps ticking while the
    // listing is held), the run window is up with the search's counts, キャンセル shows
    // the stop message at once and the window names the folder waited on, and the run
    // stops once the listing comes back. Closing the window instead tells which folder
    // stayed unfinished and ends the program without waiting for it.
    void stalledSearch_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("キャンセル in the run window") << false;
        QTest::newRow("close box") << true;
    }
    void stalledSearch()
    {
        QFETCH(bool, close);
        platform::QtOperationWindow operations;
        Window window(&operations);
        window.tree.file("src/a/IMG_1.jpg");
        window.tree.file("src/b/IMG_2.jpg");
        const std::string dest = window.tree.folder("dest");
        const std::string held = window.tree.path("src/b/");
        Gate gate;
        window.main->collectionRun().setBeforeListing([&](const std::string& folder) {
            if (folder == held)
                gate.hold();
        });
        window.main->setStallBeforeExit(std::chrono::milliseconds(0));
        bool exitedWhileHeld = false;
        QString status, waiting;
        window.main->exitWhileWaiting = [&] {
            exitedWhileHeld = gate.holding();
            status = window.runWindow().statusLabel()->text();
            gate.release(); // the test goes on where the program would have ended
        };
        int ticks = 0;
        bool upWhileHeld = false;
        Strings shownWhileHeld;
        QTimer ticker;
        ticker.setInterval(50);
        connect(&ticker, &QTimer::timeout, [&] {
            if (!gate.holding())
                return;
            ++ticks;
            if (ticks == 2) {
                upWhileHeld = window.runWindow().isVisible();
                if (close)
                    window.main->close();
                else
                    QTest::mouseClick(window.runWindow().actionButton(), Qt::LeftButton);
            }
            if (ticks == 4) {
                shownWhileHeld = window.user.shown;
                status = window.runWindow().statusLabel()->text();
                waiting = window.runWindow().currentLabel()->toolTip();
                gate.release();
            }
        });
        ticker.start();
        window.start(dest);
        ticker.stop();
        QVERIFY(!gate.heldOwnThread()); // the call was made off the thread that must stay live

        QVERIFY2(ticks >= 2, qPrintable(QString::number(ticks)));
        QVERIFY(upWhileHeld);
        QVERIFY2(status.contains(u"検索したフォルダ: 2　見つかったファイル: 1"_s), qPrintable(status));
        QCOMPARE(namesIn(dest), Strings{});
        if (close) {
            QVERIFY(exitedWhileHeld);
            QCOMPARE(window.user.shown, Strings{run::texts::unfinishedAtExit(held)});
            QVERIFY(!window.main->isVisible());
            return;
        }
        QCOMPARE(ticks, 4);
        QCOMPARE(shownWhileHeld, Strings { run::texts::stopping() });
        QCOMPARE(waiting, QString::fromStdString(run::texts::waitingFor() + held));
        QCOMPARE(window.user.shown, Strings { run::texts::stopping() });
        QVERIFY(window.main->isVisible());
        QCOMPARE(window.main->cmdExit->text(), u"閉じる"_s);
    }

    // The question of a missing destination comes after a search the run window was up
    // for: it is the active window, takes Enter, and the run goes on to copy.
    void questionAfterSlowSearch()
    {
        TempTree tree;
        tree.file("src/a/IMG_1.jpg");
        tree.file("src/b/IMG_2.jpg");
        platform::QtUserServices services;
        frmMain main(services.services());
        services.setOwnerWindow(&main);
        main.collectionRun().setYieldInterval(std::chrono::nanoseconds(0));
        main.runWindow().setShowDelay(std::chrono::milliseconds(0));
        Gate gate;
        main.collectionRun().setBeforeListing([&](const std::string& folder) {
            if (folder == tree.path("src/b/"))
                gate.hold();
        });
        bool upWhileHeld = false;
        int ticks = 0;
        QTimer ticker;
        ticker.setInterval(50);
        connect(&ticker, &QTimer::timeout, [&] {
            if (gate.holding() && ++ticks == 2) {
                upWhileHeld = main.runWindow().isVisible();
                gate.release();
            }
        });
        QStringList questions;
        bool active = false, runWindowUp = false;
        services.onMessage = [&](QMessageBox& box) {
            questions << box.text();
            QMetaObject::invokeMethod(&box, [&, question = &box] {
                for (int pass = 0; pass < 20 && !question->isActiveWindow(); ++pass)
                    QCoreApplication::processEvents();
                active = question->isActiveWindow();
                runWindowUp = main.runWindow().isVisible();
                QTest::keyClick(question, Qt::Key_Return);
            }, Qt::QueuedConnection);
        };
        ticker.start();
        const std::string dest = tree.path("dest/new");
        main.txtFolder[frmMain::Source]->setText(QString::fromStdString(tree.path("src")));
        main.txtFolder[frmMain::Destination]->setText(QString::fromStdString(dest));
        main.show();
        QTest::mouseClick(main.cmdStart, Qt::LeftButton);
        ticker.stop();
        QVERIFY(!gate.heldOwnThread()); // the call was made off the thread that must stay live
        QVERIFY(upWhileHeld);
        QCOMPARE(questions, QStringList { QString::fromStdString(run::texts::createFolderQuestion()) });
        QVERIFY(active);
        QVERIFY(runWindowUp);
        QCOMPARE(namesIn(dest), (Strings{"IMG_1.jpg", "IMG_2.jpg"}));
    }
};

QUORVANE_GUI_TEST_MAIN(RunWindowTest)
#include "tst_run_window.moc"
