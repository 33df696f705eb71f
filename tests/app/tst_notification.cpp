// The desktop notification at the end of a long run that ended unseen, sent over a
// private session bus that the test starts (dbus-daemon --session), on which a recorder
// stands in for the desktop's notification service: when a run sends one and what it
// says, the click on it that brings the report up, and a desktop without the bus or
// without the service, where nothing at all happens.
#include "app/DesktopNotifier.h"
#include "app/RunEndNotice.h"
#include "app/RunProgressWindow.h"
#include "app/frmMain.h"
#include "run/CollectionRun.h"
#include "support/FakeUser.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QtTest>
#include <QtWidgets>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// The notification service's one method that the program calls, recorded.
class NotificationRecorder final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call {
        QString app;
        uint replaces;
        QString icon, summary, body;
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };
    QList<Call> calls;
    uint lastId = 40;

public slots:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap& hints, int timeout)
    {
        calls.append({app, replaces, icon, summary, body, actions, hints, timeout});
        emit notified();
        return ++lastId;
    }

signals:
    void notified();
};

// A session bus of the test's own, gone with it.
struct PrivateBus {
    QProcess daemon;
    QString address;

    bool start()
    {
        daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        if (!daemon.waitForStarted() || !daemon.waitForReadyRead(30'000))
            return false;
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        return !address.isEmpty();
    }
    ~PrivateBus()
    {
        daemon.terminate();
        daemon.waitForFinished();
    }
};

enum class Ending { Done, Cancelled, SomeFailed, Closed };
enum class Desktop { WithService, NoService, NoBus };

struct Case {
    int milliseconds;
    bool active; // a window of the program is active as the run ends
    Ending ending = Ending::Done;
    run::Operation operation = run::Operation::Copy;
    Desktop desktop = Desktop::WithService;
    QString summary = {}; // empty: no notification
    QString body = {};
};

} // namespace

Q_DECLARE_METATYPE(Case)

class NotificationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(m_bus.start() && m_empty.start(), "dbus-daemon does not start");
        m_recorderBus = QDBusConnection::connectToBus(m_bus.address, u"recorder"_s);
        QVERIFY(m_recorderBus.registerObject(u"/org/freedesktop/Notifications"_s, &m_recorder,
                                             QDBusConnection::ExportAllSlots));
        QVERIFY(m_recorderBus.registerService(u"org.freedesktop.Notifications"_s));
        m_programBus = QDBusConnection::connectToBus(m_bus.address, u"program"_s);
        QVERIFY(m_programBus.isConnected());
    }

    // Runs of src/IMG_0.jpg to IMG_2.jpg (100 bytes each) that "took" the given time.
    void whenAndWhat_data()
    {
        QTest::addColumn<Case>("row");
        const auto row = [](const char* name, Case c) { QTest::newRow(name) << c; };
        row("ten seconds, unseen", {10'000, false, Ending::Done, run::Operation::Copy, Desktop::WithService,
                                    u"完了 - コピー"_s, u"コピーしたファイル: 3 (300 バイト)"_s});
        row("just under ten seconds", {9'999, false});
        row("ten seconds, in front of the user", {10'000, true});
        row("stopped", {60'000, false, Ending::Cancelled, run::Operation::Copy, Desktop::WithService,
                        u"中断 - コピー"_s, u"コピーしたファイル: 2 (200 バイト)"_s});
        row("some files failed", {60'000, false, Ending::SomeFailed, run::Operation::Copy, Desktop::WithService,
                                  u"失敗あり - コピー"_s, u"コピーしたファイル: 3 (300 バイト)"_s});
        row("a delete", {3'600'000, false, Ending::Done, run::Operation::Delete, Desktop::WithService,
                         u"完了 - 完全削除"_s, u"削除したファイル: 3 (300 バイト)"_s});
        row("ended by closing the window", {60'000, false, Ending::Closed});
        row("a bus without the service", {60'000, false, Ending::Done, run::Operation::Copy, Desktop::NoService});
        row("no bus", {60'000, false, Ending::Done, run::Operation::Copy, Desktop::NoBus});
    }

    void whenAndWhat()
    {
        QFETCH(Case, row);
        m_recorder.calls.clear();
        Fixture fixture;
        fixture.photos();
        frmMain& window = *fixture.main;
        if (row.desktop == Desktop::NoService)
            window.notifier().setBus(QDBusConnection::connectToBus(m_empty.address, u"program, no service"_s));
        else if (row.desktop == Desktop::NoBus)
            window.notifier().setBus(QDBusConnection::connectToBus(u"unix:path=/nonexistent/bus"_s, u"no bus"_s));
        else
            window.notifier().setBus(m_programBus);
        window.runEndNotice().runTime = [&](const run::RunReport&) { return std::chrono::milliseconds(row.milliseconds); };
        window.optOperat[std::size_t(row.operation)]->setChecked(true);
        if (row.ending == Ending::SomeFailed) {
            QVERIFY(::mkfifo(fixture.tree.path("src/pipe.jpg").c_str(), 0644) == 0);
            fixture.user.operations.answers = {"スキップ"};
        }
        fixture.user.operations.onItem = [&](int) {
            // Each file is an operation of its own: the second file is the second item.
            const bool second = fixture.user.operations.itemNames.size() == 2;
            if (second && row.ending == Ending::Cancelled)
                QTest::mouseClick(window.runWindow().actionButton(), Qt::LeftButton);
            if (second && row.ending == Ending::Closed)
                window.close();
            // The user went to another program while the run worked, or stayed.
            QApplication::setActiveWindow(row.active ? &window : nullptr);
        };
        fixture.start();

        const QList<NotificationRecorder::Call> calls = sentBefore(u"end of test"_s);
        // Nothing is said of the notification, whatever became of it.
        for (const std::string& text : fixture.user.shown)
            QCOMPARE(text, std::string("処理を中断します"));
        QCOMPARE(fixture.user.operations.unexpected, Strings{});
        if (row.summary.isEmpty()) {
            QVERIFY2(calls.isEmpty(), qPrintable(calls.value(0).summary));
            return;
        }
        QCOMPARE(calls.size(), 1);
        const NotificationRecorder::Call& call = calls[0];
        QCOMPARE(call.summary, row.summary);
        QCOMPARE(call.body, row.body);
        QCOMPARE(call.app, u"Quorvane"_s);
        QCOMPARE(call.icon, u"io.github.quorvane.Quorvane"_s);
        QCOMPARE(call.actions, (QStringList{u"default"_s, u"結果を表示"_s}));
        QCOMPARE(call.hints.value(u"desktop-entry"_s).toString(), u"io.github.quorvane.Quorvane"_s);
        QCOMPARE(call.replaces, 0u);
        QCOMPARE(call.timeout, -1);
    }

    // A click on the notification brings the report up again, after the user closed it;
    // a click on another program's notification, or on another of its actions, does not.
    // The next long run's notification takes the place of the first.
    void clickRaisesTheReport()
    {
        m_recorder.calls.clear();
        Fixture fixture;
        fixture.photos();
        frmMain& window = *fixture.main;
        window.notifier().setBus(m_programBus);
        window.runEndNotice().runTime = [](const run::RunReport&) { return std::chrono::minutes(1); };
        fixture.user.operations.onItem = [](int) { QApplication::setActiveWindow(nullptr); };
        fixture.start();
        QVERIFY(window.runWindow().isVisible());
        window.runWindow().hide();
        const QList<NotificationRecorder::Call> first = sentBefore(u"after the first run"_s);
        QCOMPARE(first.size(), 1);
        const uint id = m_recorder.lastId - 1; // the sentinel's is the last

        QSignalSpy clicked(&window.notifier(), &DesktopNotifier::activated);
        invoke(id + 100, u"default"_s);
        invoke(id, u"another"_s);
        invoke(id, u"default"_s);
        QVERIFY(clicked.wait(30'000));
        QCOMPARE(clicked.size(), 1);
        QVERIFY(window.runWindow().isVisible());
        QCOMPARE(window.runWindow().statusLabel()->text().section(u'\n', 0, 0), first[0].body);

        fixture.user.operations.onItem = [](int) { QApplication::setActiveWindow(nullptr); };
        for (int i = 3; i < 6; ++i)
            fixture.tree.file("src/IMG_" + std::to_string(i) + ".jpg", std::string(100, 'p'));
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);
        const QList<NotificationRecorder::Call> second = sentBefore(u"after the second run"_s);
        QCOMPARE(second.size(), 1);
        QCOMPARE(second[0].replaces, id);
    }

private:
    // A main window over a tree with src/ and dest/, whose run window comes up at once.
    struct Fixture {
        TempTree tree;
        FakeUser user;
        std::unique_ptr<frmMain> main;
        Fixture()
        {
            main = std::make_unique<frmMain>(user.services(), nullptr, tree.path("Quorvane.qvn"));
            main->collectionRun().setYieldInterval(std::chrono::nanoseconds(0));
            main->runWindow().setShowDelay(std::chrono::milliseconds(0));
            main->runWindow().openUrl = [](const QUrl&) { return true; };
        }
        void photos()
        {
            for (int i = 0; i < 3; ++i)
                tree.file("src/IMG_" + std::to_string(i) + ".jpg", std::string(100, 'p'));
        }
        void start()
        {
            main->txtFolder[frmMain::Source]->setText(QString::fromStdString(tree.path("src")));
            main->txtFolder[frmMain::Destination]->setText(QString::fromStdString(tree.folder("dest")));
            main->show();
            QApplication::setActiveWindow(main.get());
            QTest::mouseClick(main->cmdStart, Qt::LeftButton);
        }
    };

    // What the program sent before a notification that the test sends now on the
    // program's connection: messages on one connection arrive in order, so anything
    // the run sent has arrived once this one has, and nothing need be waited for in vain.
    QList<NotificationRecorder::Call> sentBefore(const QString& sentinel)
    {
        DesktopNotifier marker;
        marker.setBus(m_programBus);
        QSignalSpy notified(&m_recorder, &NotificationRecorder::notified);
        marker.notify(sentinel, {}, {});
        while (m_recorder.calls.isEmpty() || m_recorder.calls.back().summary != sentinel)
            if (!notified.wait(30'000))
                return {{u"the sentinel never arrived"_s, 0, {}, {}, {}, {}, {}, 0}};
        QList<NotificationRecorder::Call> calls = m_recorder.calls;
        calls.removeLast();
        m_recorder.calls.clear();
        return calls;
    }

    // The service tells of a click on notification `id`, as a desktop does.
    void invoke(uint id, const QString& action)
    {
        QDBusMessage signal = QDBusMessage::createSignal(u"/org/freedesktop/Notifications"_s,
                                                         u"org.freedesktop.Notifications"_s, u"ActionInvoked"_s);
        signal << id << action;
        QVERIFY(m_recorderBus.send(signal));
    }

    PrivateBus m_bus;
    PrivateBus m_empty; // a bus where no notification service runs
    NotificationRecorder m_recorder;
    QDBusConnection m_recorderBus{u"unconnected"_s};
    QDBusConnection m_programBus{u"unconnected"_s};
};

QUORVANE_GUI_TEST_MAIN(NotificationTest)

#include "tst_notification.moc"
