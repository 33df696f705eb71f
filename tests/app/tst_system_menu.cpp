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
    TempTree tree;
    std::string path;
    FakeUser user;
    frmMain window;

    explicit Fixture(const std::string& settings = {})
        : path(settings.empty() ? tree.path("Quorvane.qvn") : tree.file("Quorvane.qvn", settings))
        , window(user.services(), nullptr, path)
    {
        window.show();
        QApplication::setActiveWindow(&window);
    }
    // A click the way the platform delivers it, through the window, so that a modal dialog can block it.
    void click(QWidget* control, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(
            window.windowHandle(), button, {}, control->mapTo(&window, control->rect().center()));
    }
    void choose(int command)
    {
        window.actions()[command == SystemMenuHook::kCommandOption ? 1 : 3]->trigger();
    }
    // Opens the settings dialog from the menu and lets `act` work in it until it closes it.
    void inOption(const std::function<void(frmOption*)>& act)
    {
        WhenShown<frmOption> probe(act);
        choose(SystemMenuHook::kCommandOption);
        QVERIFY(probe.ran);
    }
};

static void press(QDialog* dialog, const QString& name)
{
    dialog->findChild<QAbstractButton*>(name)->click();
}

class SystemMenuTest : public QObject {
    Q_OBJECT

private slots:
    void windowAndMenuBar()
    {
        Fixture fixture;
        frmMain& window = fixture.window;
        auto* bar = window.findChild<QMenuBar*>();
        QCOMPARE(bar->actions().size(), 1);
        QCOMPARE(bar->actions().first()->text(), u"メニュー(&M)"_s);
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
        QStringList checked;
        const auto look = [&](frmOption* dialog) {
            for (int i = 0; i < 3; ++i)
                if (dialog->findChild<QRadioButton*>(u"optOption_%1"_s.arg(i))->isChecked())
                    checked << QString::number(i);
        };
        fixture.inOption([&](frmOption* dialog) { // reset the file and the window
            look(dialog);
            press(dialog, u"optOption_2"_s);
            press(dialog, u"cmdOKCancel_0"_s);
        });
        QCOMPARE(window.txtFolder[frmMain::Source]->text(), QString());
        QCOMPARE(window.selectedOperation(), run::Operation::Copy);
        QVERIFY(window.txtFolder[frmMain::Destination]->isEnabled());
        QCOMPARE(TempTree::read(fixture.path), "\r\n" + Module1::TempFolderPath + "\r\n0\r\njpg\r\n");
        fixture.inOption([&](frmOption* dialog) {
            look(dialog);
            press(dialog, u"cmdOKCancel_1"_s);
        });
        fixture.inOption([&](frmOption* dialog) {
            look(dialog);
            dialog->close();
        });
        fixture.inOption([&](frmOption* dialog) {
            look(dialog);
            press(dialog, u"cmdOKCancel_1"_s);
        });
        QCOMPARE(checked, (QStringList { u"0"_s, u"2"_s, u"2"_s, u"0"_s }));
        QPointer<frmOption> kept = window.systemMenu().option();
        QVERIFY(kept);
        window.close();
        QVERIFY(kept.isNull());
    }
};

QUORVANE_GUI_TEST_MAIN(SystemMenuTest)
#include "tst_system_menu.moc"
