#include "StandInWindow.h"
#include "WhenShown.h"

#include "about/frmAbout.h"
#include "app/SystemMenuHook.h"
#include "settings/WindowInputs.h"
#include "settings/frmOption.h"
#include "support/FakeUser.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include <memory>

namespace {

const QString kTemp = QStringLiteral("/var/tmp/quorvane-temp/");

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The entries of a menu as "-" for a separator and "text=command" for the others.
QStringList entries(const QList<QAction*>& actions)
{
    QStringList list;
    for (const QAction* action : actions)
        list << (action->isSeparator() ? QStringLiteral("-")
                                       : action->text() + QLatin1Char('=') + action->data().toString());
    return list;
}

const QStringList kBlock{QStringLiteral("-"), QStringLiteral("オプション=257"), QStringLiteral("-"),
                         QStringLiteral("バージョン情報=258")};

// A shown stand-in window with the hook installed over a settings file in a temporary tree.
struct Fixture {
    TempTree tree;
    FakeUser user;
    StandInWindow window;
    WindowInputs inputs{window};
    SystemMenuHook hook{window, [this] {
                            return frmOption::Context{inputs, kTemp, tree.path("Quorvane.qvn"), user};
                        }};

    Fixture()
    {
        hook.install();
        window.show();
    }

    // Clicks cmdStart the way the platform delivers a click, through the window, so
    // that a modal dialog can block it.
    void clickStart()
    {
        auto* start = window.findChild<QPushButton*>(QStringLiteral("cmdStart"));
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                          start->mapTo(&window, start->rect().center()));
    }

    void choose(int command)
    {
        for (QAction* action : window.findChild<QMenu*>(QStringLiteral("mnuSystem"))->actions())
            if (action->data().toInt() == command)
                action->trigger();
    }

    // Opens the settings dialog, lets `act` work in it, and returns once it has closed.
    void inOption(const std::function<void(frmOption*)>& act)
    {
        WhenShown<frmOption> probe(act);
        choose(SystemMenuHook::kCommandOption);
        QVERIFY(probe.ran());
    }
};

QRadioButton* optionChoice(QDialog* dialog, int index)
{
    return dialog->findChild<QRadioButton*>(QStringLiteral("optOption_%1").arg(index));
}

QPushButton* optionButton(QDialog* dialog, int index)
{
    return dialog->findChild<QPushButton*>(QStringLiteral("cmdOKCancel_%1").arg(index));
}

} // namespace

class SystemMenuTest : public QObject {
    Q_OBJECT

private slots:
    void menuBarAboveUnchangedControls()
    {
        StandInWindow window;
        auto* start = window.findChild<QPushButton*>(QStringLiteral("cmdStart"));
        const QPoint startBefore = start->pos();
        SystemMenuHook hook(window, {});
        hook.install();

        auto* bar = window.findChild<QMenuBar*>();
        QVERIFY(bar);
        QCOMPARE(bar->actions().size(), 1);
        QCOMPARE(bar->actions().first()->text(), text("メニュー(&M)"));
        QCOMPARE(entries(bar->actions().first()->menu()->actions()), kBlock);
        QCOMPARE(entries(window.actions()), kBlock);
        QCOMPARE(bar->geometry().top(), 0);
        QCOMPARE(start->pos(), startBefore + QPoint(0, bar->height()));
        QCOMPARE(window.size(), QSize(392, 186 + bar->height()));
    }

    void entriesOpenModalDialogs_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("title");
        QTest::newRow("オプション") << int(SystemMenuHook::kCommandOption) << text("初期設定");
        QTest::newRow("バージョン情報") << int(SystemMenuHook::kCommandAbout)
                                        << text("ﾊﾞｰｼﾞｮﾝ情報 Quorvane");
    }

    void entriesOpenModalDialogs()
    {
        QFETCH(int, command);
        QFETCH(QString, title);
        Fixture fixture;
        QString shownTitle;
        bool modal = false;
        WhenShown<QDialog> probe([&](QDialog* dialog) {
            shownTitle = dialog->windowTitle();
            modal = QApplication::activeModalWidget() == dialog;
            // The main window takes no input while the dialog is up.
            fixture.clickStart();
            dialog->hide();
        });
        fixture.choose(command);
        QVERIFY(probe.ran());
        QCOMPARE(shownTitle, title);
        QVERIFY(modal);
        QCOMPARE(fixture.window.startClicks, 0);
        fixture.clickStart();
        QCOMPARE(fixture.window.startClicks, 1);
    }

    void contextMenu_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("ours");
        QTest::newRow("right-click on the background") << QString() << 0 << true;
        QTest::newRow("right-click on a button") << text("cmdStart") << 0 << true;
        QTest::newRow("right-click on a text box keeps its own menu")
            << text("txtFolder_0") << 0 << false;
        QTest::newRow("Menu key on a button") << text("cmdStart") << int(Qt::Key_Menu) << true;
        QTest::newRow("Shift+F10 on a button") << text("cmdStart") << int(Qt::Key_F10) << true;
    }

    void contextMenu()
    {
        QFETCH(QString, where);
        QFETCH(int, key);
        QFETCH(bool, ours);
        Fixture fixture;
        QWidget* target = where.isEmpty() ? &fixture.window : fixture.window.findChild<QWidget*>(where);
        QVERIFY(target);
        QStringList shown;
        WhenShown<QMenu> probe([&](QMenu* menu) {
            shown = entries(menu->actions());
            menu->close();
        });
        // Through the window, as the platform delivers them, so that the toolkit turns
        // them into context menu requests.
        if (key == 0) {
            // A spot of the background away from every control.
            const QPoint spot = where.isEmpty() ? QPoint(380, fixture.window.height() - 4)
                                                : target->mapTo(&fixture.window, target->rect().center());
            QTest::mouseClick(fixture.window.windowHandle(), Qt::RightButton, {}, spot);
        } else {
            QApplication::setActiveWindow(&fixture.window);
            target->setFocus();
            QTest::keyClick(fixture.window.windowHandle(), Qt::Key(key),
                            key == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier);
        }
        QVERIFY(probe.ran());
        QCOMPARE(shown == kBlock, ours);
    }

    void settingsDialogKeepsItsChoiceUntilClosed()
    {
        Fixture fixture;
        fixture.inOption([](frmOption* dialog) {
            QVERIFY(optionChoice(dialog, 0)->isChecked());
            QTest::mouseClick(optionChoice(dialog, 1), Qt::LeftButton);
            QTest::mouseClick(optionButton(dialog, 1), Qt::LeftButton);
        });
        QPointer<frmOption> first = fixture.hook.option();
        QVERIFY(first);

        fixture.inOption([](frmOption* dialog) {
            QVERIFY(optionChoice(dialog, 1)->isChecked());
            dialog->close(); // the close box
        });
        QVERIFY(!first);

        fixture.inOption([](frmOption* dialog) {
            QVERIFY(optionChoice(dialog, 0)->isChecked());
            QTest::mouseClick(optionButton(dialog, 1), Qt::LeftButton);
        });
        fixture.hook.unloadOption();
        QVERIFY(!fixture.hook.option());
        QVERIFY(!TempTree::exists(fixture.tree.path("Quorvane.qvn")));
    }

    void resetThroughTheWindowControls()
    {
        Fixture fixture;
        fixture.inputs.setFolderText(SettingsInputs::Source, text("/in"));
        fixture.inputs.setFolderText(SettingsInputs::Destination, text("/out"));
        fixture.inputs.selectOperation(3);
        fixture.inputs.setFileTypeText(text("png"));
        fixture.window.changes.clear();
        fixture.inOption([](frmOption* dialog) {
            QTest::mouseClick(optionChoice(dialog, 2), Qt::LeftButton);
            QTest::mouseClick(optionButton(dialog, 0), Qt::LeftButton);
        });
        QCOMPARE(fixture.window.changes,
                 (QStringList{text("folder0="), QStringLiteral("folder1=") + kTemp,
                              text("operation=0"), text("types=jpg")}));
        QCOMPARE(TempTree::read(fixture.tree.path("Quorvane.qvn")),
                 "\r\n" + kTemp.toStdString() + "\r\n0\r\njpg\r\n");
    }

    void removedHookOpensNothing()
    {
        Fixture fixture;
        fixture.hook.remove();
        fixture.choose(SystemMenuHook::kCommandOption);
        QVERIFY(!fixture.hook.option());
        fixture.window.close();
        QVERIFY(!fixture.window.isVisible());
    }
};

QTEST_MAIN(SystemMenuTest)
#include "tst_system_menu.moc"
