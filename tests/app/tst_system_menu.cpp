#include "WhenShown.h"
#include "app/SystemMenuHook.h"
#include "app/frmMain.h"
#include "settings/frmOption.h"
#include "support/FakeUser.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

// The entries of a menu as "-" for a separator and "text=command" for the others.
static QStringList entries(const QList<QAction*>& actions)
{
    QStringList list;
    for (const QAction* action : actions)
        list << (action->isSeparator() ? u"-"_s : action->text() + u'=' + action->data().toString());
    return list;
}
static const QStringList kBlock { u"-"_s, u"オプション=257"_s, u"-"_s, u"バージョン情報=258"_s };

// A main window started over a settings file in a temporary tree.
struct Fixture {
    std::string settings; // none stored when empty
    TempTree tree;
    std::string path = settings.empty() ? tree.path("Quorvane.qvn") : tree.file("Quorvane.qvn", settings);
    FakeUser user;
    frmMain window { user.services(), nullptr, path };
    bool shown = (window.show(), QApplication::setActiveWindow(&window), true);
    explicit Fixture(std::string stored = {})
        : settings(std::move(stored))
    {
    }
    // A click the way the platform delivers it, through the window, so that a modal dialog can block it.
    void click(QWidget* control)
    {
        QTest::mouseClick(
            window.windowHandle(), Qt::LeftButton, {}, control->mapTo(&window, control->rect().center()));
    }
    void choose(int command)
    {
        window.actions()[command == SystemMenuHook::kCommandOption ? 1 : 3]->trigger();
    }
};

class SystemMenuTest : public QObject {
    Q_OBJECT

private slots:
    void windowAndMenuBar()
    {
        Fixture fixture;
        frmMain& window = fixture.window;
        auto* bar = window.findChild<QMenuBar*>();
        QCOMPARE(entries(bar->actions()), QStringList { u"メニュー(&M)="_s });
        QCOMPARE(entries(bar->actions().first()->menu()->actions()), kBlock);
        QCOMPARE(entries(window.actions()), kBlock); // the context menu's
        QCOMPARE(window.findChild<QWidget*>(u"clientArea"_s)->geometry(), QRect(0, bar->height(), 392, 186));
        QCOMPARE(window.minimumSize(), QSize(392, 186 + bar->height()));
        QCOMPARE(window.maximumSize(), window.minimumSize());
        QVERIFY(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowIcon().pixmap(48, 48).isNull());
        QCOMPARE(QGuiApplication::desktopFileName(), u"io.github.quorvane.Quorvane"_s);
    }

    void entriesOpenModalDialogs_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("title");
        QTest::newRow("オプション") << int(SystemMenuHook::kCommandOption) << u"初期設定"_s;
        QTest::newRow("バージョン情報") << int(SystemMenuHook::kCommandAbout) << u"ﾊﾞｰｼﾞｮﾝ情報 Quorvane"_s;
    }

    void entriesOpenModalDialogs()
    {
        QFETCH(int, command);
        QFETCH(QString, title);
        Fixture fixture;
        QRadioButton* move = fixture.window.optOperat[frmMain::Move];
        QString seen;
        WhenShown<QDialog> probe([&](QDialog* dialog) {
            fixture.click(move); // the main window takes no input meanwhile
            seen = dialog->windowTitle();
            dialog->hide();
        });
        fixture.choose(command);
        QVERIFY(probe.ran);
        QCOMPARE(seen, title);
        QVERIFY(!move->isChecked());
        fixture.click(move);
        QVERIFY(move->isChecked());
    }

    void startUpSetsTheStoredInputsAsTyped()
    {
        Fixture fixture("/in/a?b\r\n/out\r\n 2 \r\npng\r\n");
        frmMain& window = fixture.window;
        QCOMPARE(window.txtFolder[frmMain::Source]->text(), u"/in/ab"_s);
        QCOMPARE(fixture.user.shown, Strings { "フォルダ名に:?|<>\"*は、使えません" });
        QVERIFY(!window.txtFolder[frmMain::Destination]->isEnabled()); // delete chosen
        QCOMPARE(window.txtFolder[frmMain::Destination]->text(), u"/out"_s);
    }

    // OK and Cancel hide the dialog with its choice; its close box and the main window's
    // shutdown unload it, so that it starts again at the first choice.
    void settingsDialogKeepsItsChoiceUntilUnloaded()
    {
        Fixture fixture;
        frmMain& window = fixture.window;
        window.txtFolder[frmMain::Source]->setText(u"/in"_s);
        window.optOperat[frmMain::Delete]->setChecked(true);
        QString checked; // the choice each opening starts at
        // Opens the dialog from the menu and presses the buttons in it; with none, closes it by its close
        // box.
        const auto open = [&](const QStringList& buttons) {
            WhenShown<frmOption> probe([&](frmOption* dialog) {
                for (int i = 0; i < 3; ++i)
                    if (dialog->findChild<QRadioButton*>(u"optOption_%1"_s.arg(i))->isChecked())
                        checked += QString::number(i);
                for (const QString& name : buttons)
                    dialog->findChild<QAbstractButton*>(name)->click();
                if (buttons.isEmpty())
                    dialog->close();
            });
            fixture.choose(SystemMenuHook::kCommandOption);
            QVERIFY(probe.ran);
        };
        open({ u"optOption_2"_s, u"cmdOKCancel_0"_s }); // reset the file and the window
        QCOMPARE(window.txtFolder[frmMain::Source]->text(), QString());
        QCOMPARE(window.selectedOperation(), run::Operation::Copy);
        QVERIFY(window.txtFolder[frmMain::Destination]->isEnabled());
        QCOMPARE(TempTree::read(fixture.path), "\r\n" + Module1::TempFolderPath + "\r\n0\r\njpg\r\n");
        open({ u"cmdOKCancel_1"_s });
        open({});
        open({ u"cmdOKCancel_1"_s });
        QCOMPARE(checked, u"0220"_s);
        QPointer<frmOption> kept = window.systemMenu().option();
        QVERIFY(kept);
        window.close();
        QVERIFY(kept.isNull());
    }
};

QUORVANE_GUI_TEST_MAIN(SystemMenuTest)
#include "tst_system_menu.moc"
