#include "platform/qt/QtUserServices.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <map>
#include <memory>
#include <thread>

class OperationWindowTest : public QObject {
    Q_OBJECT

private slots:
    void target_data()
    {
        QTest::addColumn<std::string>("window");
        for (const char* window : { "top", "child", "deleted", "none", "zero" })
            QTest::newRow(window) << std::string(window);
    }

    // The toolkit keeps an owner window only while it names a live top-level window: not a child
    // widget, a deleted window, an id of no window or zero, each written over a live one.
    void target()
    {
        QFETCH(std::string, window);
        platform::QtUserServices services;
        clsFileFolder toolkit(services.services());
        auto top = std::make_unique<QWidget>();
        auto* child = new QWidget(top.get());
        child->setAttribute(Qt::WA_NativeWindow);
        top->show();
        const auto topId = static_cast<std::uint64_t>(top->winId());
        const std::map<std::string, std::uint64_t> ids { { "top", topId }, { "deleted", topId },
            { "child", static_cast<std::uint64_t>(child->winId()) }, { "none", 77 }, { "zero", 0 } };
        toolkit.Target(topId);
        if (window == "deleted")
            top.reset();
        toolkit.Target(ids.at(window));
        QCOMPARE(toolkit.Target(), window == "top" ? topId : 0);
    }

    // Quick work shows no progress window; slow work does, and its cancel button reaches
    // the work, which is running on another thread meanwhile.
    void progressWindow()
    {
        platform::QtOperationWindow operations;
        QStringList labels;
        operations.onProgressShown = [&](QProgressDialog& dialog) {
            QMetaObject::invokeMethod(&dialog, [&] { labels << dialog.labelText(); dialog.findChild<QPushButton*>()->click(); },
                                      Qt::QueuedConnection);
        };
        operations.runWithProgress(0, "コピーしています...", true, [](platform::ProgressReport&) {});
        QCOMPARE(labels, QStringList());
        operations.setProgressDelay(0);
        bool cancelSeen = false;
        operations.runWithProgress(0, "コピーしています...", true, [&](platform::ProgressReport& report) {
            report.beginItem(0, 2, "/in/写真.jpg", 100);
            while (!report.cancelRequested()) // ends when the queued click above lands
                std::this_thread::yield();
            cancelSeen = true;
        });
        QVERIFY(cancelSeen);
        QCOMPARE(labels, QStringList{QStringLiteral("コピーしています...\n/in/写真.jpg")});
    }

    // A question from the work's thread is asked on the window thread and its answer gets back.
    void questionFromTheWork()
    {
        platform::QtOperationWindow operations;
        QString asked;
        bool onWindowThread = false;
        operations.onMessage = [&](QMessageBox& box) {
            asked = box.text();
            onWindowThread = QThread::currentThread() == qApp->thread();
            QMetaObject::invokeMethod(&box, [&box] { box.buttons().at(1)->click(); }, Qt::QueuedConnection);
        };
        std::size_t answer = 99;
        operations.runWithProgress(0, "移動しています...", false, [&](platform::ProgressReport&) {
            answer = operations.choose(0, "置き換えますか?", {"はい", "いいえ"}, 1);
        });
        QVERIFY(onWindowThread);
        QCOMPARE(asked, QStringLiteral("置き換えますか?"));
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
