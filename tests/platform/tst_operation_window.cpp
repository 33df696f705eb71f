#include "platform/qt/QtUserServices.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

#include <chrono>
#include <memory>
#include <thread>

namespace {

// Waits for a condition the test itself brings about; the limit only keeps a broken
// build from hanging.
template <typename Condition>
bool waitFor(Condition condition)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace

class OperationWindowTest : public QObject {
    Q_OBJECT

private slots:
    void target_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("kept");
        QTest::newRow("shown top-level window") << QStringLiteral("top") << true;
        QTest::newRow("child widget") << QStringLiteral("child") << false;
        QTest::newRow("closed and deleted window") << QStringLiteral("deleted") << false;
    }

    // The toolkit keeps an owner window only while it names a live top-level window.
    void target()
    {
        QFETCH(QString, window);
        QFETCH(bool, kept);
        platform::QtUserServices services;
        clsFileFolder toolkit(services.services());
        auto top = std::make_unique<QWidget>();
        auto* child = new QWidget(top.get());
        child->setAttribute(Qt::WA_NativeWindow);
        top->show();
        const std::uint64_t id = static_cast<std::uint64_t>(
            window == QStringLiteral("child") ? child->winId() : top->winId());
        if (window == QStringLiteral("deleted"))
            top.reset();
        toolkit.Target(id);
        QCOMPARE(toolkit.Target(), kept ? id : std::uint64_t(0));
    }

    void quickWorkShowsNoProgressWindow()
    {
        platform::QtOperationWindow operations;
        int shown = 0;
        operations.onProgressShown = [&](QProgressDialog&) { ++shown; };
        bool ran = false;
        operations.runWithProgress(0, "コピーしています...", true,
                                   [&](platform::ProgressReport&) { ran = true; });
        QVERIFY(ran);
        QCOMPARE(shown, 0);
    }

    void progressWindowCancels()
    {
        platform::QtOperationWindow operations;
        operations.setProgressDelay(0);
        QString label;
        operations.onProgressShown = [&](QProgressDialog& dialog) {
            QMetaObject::invokeMethod(
                &dialog,
                [&] {
                    label = dialog.labelText();
                    dialog.findChild<QPushButton*>()->click();
                },
                Qt::QueuedConnection);
        };
        bool sawCancel = false;
        operations.runWithProgress(0, "コピーしています...", true,
                                   [&](platform::ProgressReport& report) {
                                       report.beginItem(0, 2, "/in/写真.jpg", 100);
                                       sawCancel = waitFor([&] { return report.cancelRequested(); });
                                   });
        QVERIFY(sawCancel);
        QCOMPARE(label, QStringLiteral("コピーしています...\n/in/写真.jpg"));
    }

    // A question from the work's thread is asked on the window thread, with exactly
    // the buttons offered, and its answer gets back to the work.
    void questionFromTheWork()
    {
        platform::QtOperationWindow operations;
        QString text;
        QStringList buttons;
        bool onWindowThread = false;
        operations.onMessage = [&](QMessageBox& box) {
            text = box.text();
            for (QAbstractButton* button : box.buttons())
                buttons << button->text();
            onWindowThread = QThread::currentThread() == qApp->thread();
            QMetaObject::invokeMethod(
                &box, [&box] { box.buttons().at(1)->click(); }, Qt::QueuedConnection);
        };
        std::size_t answer = 99;
        operations.runWithProgress(0, "移動しています...", false,
                                   [&](platform::ProgressReport&) {
                                       answer = operations.choose(0, "置き換えますか?",
                                                                  {"はい", "いいえ"}, 1);
                                   });
        QCOMPARE(answer, std::size_t(1));
        QCOMPARE(text, QStringLiteral("置き換えますか?"));
        std::sort(buttons.begin(), buttons.end());
        QCOMPARE(buttons, (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));
        QVERIFY(onWindowThread);
    }
};

QTEST_MAIN(OperationWindowTest)
#include "tst_operation_window.moc"
