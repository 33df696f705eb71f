#include "platform/qt/QtUserServices.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>

#include <map>
#include <memory>

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
};

QTEST_MAIN(OperationWindowTest)
#include "tst_operation_window.moc"
