#include "platform/qt/QtUserServices.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

class OperationWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The toolkit keeps an owner window only while it names a live top-level window: not a child
    // widget, an id of no window, zero or a deleted window, each written over a live one.
    void target()
    {
        platform::QtUserServices services;
        clsFileFolder toolkit(services.services());
        auto top = std::make_unique<QWidget>();
        auto* child = new QWidget(top.get());
        child->setAttribute(Qt::WA_NativeWindow);
        top->show();
        const std::uint64_t topId = top->winId();
        for (const std::uint64_t window : {child->winId(), WId(77), WId(0), top->winId()}) {
            toolkit.Target(topId);
            toolkit.Target(window);
            QCOMPARE(toolkit.Target(), window == topId ? topId : 0);
        }
        top.reset();
        toolkit.Target(topId);
        QCOMPARE(toolkit.Target(), std::uint64_t(0));
    }

    // A question from the work's thread gets its answer back, and the progress window's cancel
    // button reaches the work.
    void progressWindow()
    {
        platform::QtOperationWindow operations;
        operations.onProgressShown = [&](QProgressDialog& dialog) {
            const auto cancel = [&dialog] { dialog.findChild<QPushButton*>()->click(); };
            QMetaObject::invokeMethod(&dialog, cancel, Qt::QueuedConnection);
        };
        operations.onMessage = [&](QMessageBox& box) {
            QMetaObject::invokeMethod(&box, [&box] { box.buttons().at(1)->click(); }, Qt::QueuedConnection);
        };
        operations.setProgressDelay(0);
        std::size_t answer = 99;
        operations.runWithProgress(0, "コピーしています...", true, [&](platform::ProgressReport& report) {
            report.beginItem(0, 2, "/in/写真.jpg", 100);
            answer = operations.choose(0, "置き換えますか?", {"はい", "いいえ"}, 0);
            while (!report.cancelRequested()) // ends when the queued click above lands
                std::this_thread::yield();
        });
        QCOMPARE(answer, std::size_t(1));
    }

    // A question of slow work stays the active window however long it stays open: no
    // progress window comes up over it and blocks it.
    void questionStaysOnTop()
    {
        platform::QtOperationWindow operations;
        operations.setProgressDelay(0);
        bool questionActive = false;
        operations.onMessage = [&](QMessageBox& box) {
            QMetaObject::invokeMethod(&box, [&questionActive, question = &box] {
                for (int pass = 0; pass < 20; ++pass) // the progress clock ticks at every pass
                    QCoreApplication::processEvents();
                questionActive = QApplication::activeModalWidget() == question;
                question->buttons().at(0)->click();
            }, Qt::QueuedConnection);
        };
        // The question comes before the progress window is due: it is asked as soon as the
        // work has started, ahead of the progress clock's first tick.
        std::size_t answer = 99;
        std::atomic<bool> answered = false;
        QMetaObject::invokeMethod(qApp, [&] {
            answer = operations.choose(0, "コピーできません。", {"スキップ", "中止"}, 1);
            answered = true;
        }, Qt::QueuedConnection);
        operations.runWithProgress(0, "コピーしています...", true, [&](platform::ProgressReport&) {
            while (!answered)
                std::this_thread::yield();
        });
        QCOMPARE(answer, std::size_t(0));
        QVERIFY(questionActive);
    }
};

QTEST_MAIN(OperationWindowTest)
#include "tst_operation_window.moc"
