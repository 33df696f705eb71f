#include "WhenShown.h"

#include "about/frmAbout.h"
#include "app/Module1.h"
#include "app/SystemMenuHook.h"
#include "app/frmMain.h"
#include "settings/frmOption.h"
#include "support/FakeUser.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const std::string kForbiddenMessage = "フォルダ名に:?|<>\"*は、使えません";

// The entries of a menu as "-" for a separator and "text=command" for the others.
QStringList entries(const QList<QAction*>& actions)
{
    QStringList list;
    for (const QAction* action : actions)
        list << (action->isSeparator() ? u"-"_s : action->text() + u'=' + action->data().toString());
    return list;
}

const QStringList kBlock{u"-"_s, u"オプション=257"_s, u"-"_s, u"バージョン情報=258"_s};

QString temp()
{
    return QString::fromStdString(Module1::TempFolderPath);
}

// A main window started over a settings file in a temporary tree.
struct Fixture {
    TempTree tree;
    std::string path = tree.path("Quorvane.qvn");
    FakeUser user;
    std::unique_ptr<frmMain> window;

    explicit Fixture(const std::string* settings = nullptr)
    {
        if (settings)
            tree.file("Quorvane.qvn", *settings);
        start();
    }

    void start()
    {
        window = std::make_unique<frmMain>(user.services(), nullptr, path);
        window->show();
        QApplication::setActiveWindow(window.get());
    }

    // Clicks a control the way the platform delivers a click, through the window, so
    // that a modal dialog can block it.
    void click(QWidget* control, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(window->windowHandle(), button, {},
                          control->mapTo(window.get(), control->rect().center()));
    }

    void choose(int command)
    {
        for (QAction* action : window->findChild<QMenu*>(u"mnuSystem"_s)->actions())
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

QRadioButton* choice(QDialog* dialog, int index)
{
    return dialog->findChild<QRadioButton*>(u"optOption_%1"_s.arg(index));
}

QPushButton* okCancel(QDialog* dialog, int index)
{
    return dialog->findChild<QPushButton*>(u"cmdOKCancel_%1"_s.arg(index));
}

} // namespace

class SystemMenuTest : public QObject {
    Q_OBJECT

private slots:
    void menuBarAboveTheUnchangedClientArea()
    {
        Fixture fixture;
        frmMain& window = *fixture.window;
        auto* bar = window.findChild<QMenuBar*>();
        QVERIFY(bar);
        QCOMPARE(bar->actions().size(), 1);
        QCOMPARE(bar->actions().first()->text(), u"メニュー(&M)"_s);
        QCOMPARE(entries(bar->actions().first()->menu()->actions()), kBlock);
        QCOMPARE(entries(window.actions()), kBlock);
        QWidget* client = window.findChild<QWidget*>(u"clientArea"_s);
        QCOMPARE(client->size(), QSize(392, 186));
        QCOMPARE(client->y(), bar->height());
        QCOMPARE(window.size(), QSize(392, 186 + bar->height()));
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
        QRadioButton* move = fixture.window->optOperat[frmMain::Move];
        QString shownTitle;
        bool modal = false;
        WhenShown<QDialog> probe([&](QDialog* dialog) {
            shownTitle = dialog->windowTitle();
            modal = QApplication::activeModalWidget() == dialog;
            fixture.click(move); // the main window takes no input meanwhile
            dialog->hide();
        });
        fixture.choose(command);
        QVERIFY(probe.ran());
        QCOMPARE(shownTitle, title);
        QVERIFY(modal);
        QVERIFY(!move->isChecked());
        fixture.click(move);
        QVERIFY(move->isChecked());
    }

    void contextMenu_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("ours");
        QTest::newRow("right-click on the background") << u"Label3"_s << 0 << true;
        QTest::newRow("right-click on a button") << u"cmdStart"_s << 0 << true;
        QTest::newRow("right-click on a text box keeps its own menu") << u"txtFolder_0"_s << 0 << false;
        QTest::newRow("Menu key on a button") << u"cmdRefer_0"_s << int(Qt::Key_Menu) << true;
        QTest::newRow("Shift+F10 on a button") << u"cmdRefer_0"_s << int(Qt::Key_F10) << true;
        QTest::newRow("Menu key in a text box keeps its own menu")
            << u"txtFileType"_s << int(Qt::Key_Menu) << false;
    }

    void contextMenu()
    {
        QFETCH(QString, where);
        QFETCH(int, key);
        QFETCH(bool, ours);
        Fixture fixture;
        auto* target = fixture.window->findChild<QWidget*>(where);
        QVERIFY(target);
        QStringList shown;
        WhenShown<QMenu> probe([&](QMenu* menu) {
            shown = entries(menu->actions());
            menu->close();
        });
        // Through the window, as the platform delivers them, so that the toolkit turns
        // them into requests for a context menu.
        if (key == 0) {
            fixture.click(target, Qt::RightButton);
        } else {
            target->setFocus();
            QTest::keyClick(fixture.window->windowHandle(), Qt::Key(key),
                            key == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier);
        }
        QVERIFY(probe.ran());
        QCOMPARE(shown == kBlock, ours);
    }

    void startUpReadsTheSettings_data()
    {
        QTest::addColumn<std::string>("file");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<bool>("destinationEnabled");
        QTest::addColumn<Strings>("shown");
        QTest::newRow("no file") << std::string() << QStringList{u""_s, u"{T}"_s, u"0"_s, u"jpg"_s}
                                 << true << Strings();
        QTest::newRow("delete disables the destination")
            << std::string("/in\r\n/out\r\n 2 \r\npng\r\n")
            << QStringList{u"/in"_s, u"/out"_s, u"2"_s, u"png"_s} << false << Strings();
        QTest::newRow("forbidden character reported and removed")
            << std::string("/in/a?b\r\n/out\r\n 1 \r\njpg\r\n")
            << QStringList{u"/in/ab"_s, u"/out"_s, u"1"_s, u"jpg"_s} << true
            << Strings{kForbiddenMessage};
        QTest::newRow("bad operation: temp folder, design values")
            << std::string("/in\r\n/out\r\n7\r\npng\r\n")
            << QStringList{u"/in"_s, u"{T}"_s, u"0"_s, u"jpg"_s} << true << Strings();
    }

    void startUpReadsTheSettings()
    {
        QFETCH(std::string, file);
        QFETCH(QStringList, inputs);
        QFETCH(bool, destinationEnabled);
        QFETCH(Strings, shown);
        Fixture fixture(file.empty() ? nullptr : &file);
        frmMain& window = *fixture.window;
        inputs.replaceInStrings(u"{T}"_s, temp());
        QCOMPARE((QStringList{window.txtFolder[0]->text(), window.txtFolder[1]->text(),
                              QString::number(int(window.selectedOperation())), window.txtFileType->text()}),
                 inputs);
        QCOMPARE(window.txtFolder[frmMain::Destination]->isEnabled(), destinationEnabled);
        QCOMPARE(window.cmdRefer[frmMain::Destination]->isEnabled(), destinationEnabled);
        QCOMPARE(fixture.user.shown, shown);
    }

    void savedInputsComeBackAtTheNextStart()
    {
        Fixture fixture;
        frmMain& window = *fixture.window;
        window.txtFolder[frmMain::Source]->setText(u"/写真/2024〜"_s);
        window.txtFolder[frmMain::Destination]->setText(u"/out"_s);
        window.optOperat[frmMain::Recycle]->setChecked(true);
        window.txtFileType->setText(u"jpg,png"_s);
        fixture.inOption([](frmOption* dialog) { okCancel(dialog, 0)->click(); });
        window.close();

        fixture.start();
        frmMain& next = *fixture.window;
        QCOMPARE(next.txtFolder[frmMain::Source]->text(), u"/写真/2024〜"_s);
        QCOMPARE(next.txtFolder[frmMain::Destination]->text(), u"/out"_s);
        QVERIFY(!next.txtFolder[frmMain::Destination]->isEnabled());
        QCOMPARE(next.selectedOperation(), run::Operation::Recycle);
        QCOMPARE(next.txtFileType->text(), u"jpg,png"_s);
    }

    void resetFileAndWindow()
    {
        Fixture fixture;
        frmMain& window = *fixture.window;
        window.txtFolder[frmMain::Source]->setText(u"/in"_s);
        window.txtFolder[frmMain::Destination]->setText(u"/out"_s);
        window.optOperat[frmMain::Delete]->setChecked(true);
        fixture.inOption([](frmOption* dialog) {
            choice(dialog, 2)->click();
            okCancel(dialog, 0)->click();
        });
        QCOMPARE(window.txtFolder[frmMain::Source]->text(), QString());
        QCOMPARE(window.txtFolder[frmMain::Destination]->text(), temp());
        QVERIFY(window.txtFolder[frmMain::Destination]->isEnabled());
        QVERIFY(window.cmdRefer[frmMain::Destination]->isEnabled());
        QCOMPARE(window.selectedOperation(), run::Operation::Copy);
        QCOMPARE(TempTree::read(fixture.path), "\r\n" + Module1::TempFolderPath + "\r\n0\r\njpg\r\n");
    }

    void settingsDialogKeepsItsChoiceUntilUnloaded()
    {
        Fixture fixture;
        SystemMenuHook& hook = fixture.window->systemMenu();
        fixture.inOption([](frmOption* dialog) {
            QVERIFY(choice(dialog, 0)->isChecked());
            choice(dialog, 1)->click();
            okCancel(dialog, 1)->click();
        });
        QPointer<frmOption> first = hook.option();
        QVERIFY(first);
        fixture.inOption([](frmOption* dialog) {
            QVERIFY(choice(dialog, 1)->isChecked());
            dialog->close(); // its close box
        });
        QVERIFY(!first);
        fixture.inOption([](frmOption* dialog) {
            QVERIFY(choice(dialog, 0)->isChecked());
            okCancel(dialog, 1)->click();
        });
        QPointer<frmOption> second = hook.option();
        QVERIFY(second);
        fixture.window->close();
        QVERIFY(!second);
        QVERIFY(!TempTree::exists(fixture.path));
    }

    void closedWindowTakesNoCommands()
    {
        Fixture fixture;
        fixture.window->close();
        SystemCommandEvent command(SystemMenuHook::kCommandOption);
        QCoreApplication::sendEvent(fixture.window.get(), &command);
        QVERIFY(!fixture.window->systemMenu().option());
    }
};

QUORVANE_GUI_TEST_MAIN(SystemMenuTest)
#include "tst_system_menu.moc"
