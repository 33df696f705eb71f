#include "RecordingInputs.h"

#include "settings/frmOption.h"
#include "support/FakeUser.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QString kTemp = QStringLiteral("/var/tmp/quorvane-temp/");
const std::string kDefaults = "\r\n/var/tmp/quorvane-temp/\r\n0\r\njpg\r\n";
const std::string kUntouched = "untouched\r\n";

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A main window's inputs as a user left them: delete chosen, so the destination is off.
RecordingInputs enteredInputs()
{
    RecordingInputs inputs;
    inputs.folders = {text("/in"), text("/out")};
    inputs.operation = 2;
    inputs.fileType = text("jpg,png");
    return inputs;
}

// One dialog over a settings file that already holds something.
struct Fixture {
    TempTree tree;
    std::string path = tree.file("Quorvane.qvn", kUntouched);
    RecordingInputs inputs = enteredInputs();
    FakeUser user;
    frmOption dialog{frmOption::Context{inputs, kTemp, path, user}};

    Fixture() { dialog.show(); }
    QRadioButton* option(int index)
    {
        return dialog.findChild<QRadioButton*>(QStringLiteral("optOption_%1").arg(index));
    }
    QPushButton* button(int index)
    {
        return dialog.findChild<QPushButton*>(QStringLiteral("cmdOKCancel_%1").arg(index));
    }
};

} // namespace

class OptionDialogTest : public QObject {
    Q_OBJECT

private slots:
    void buttons_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("button");
        QTest::addColumn<std::string>("file");
        QTest::addColumn<QStringList>("changes");
        QTest::newRow("OK saves the current inputs")
            << 0 << 0 << std::string("/in\r\n/out\r\n 2 \r\njpg,png\r\n") << QStringList();
        QTest::newRow("OK resets the file only") << 1 << 0 << kDefaults << QStringList();
        QTest::newRow("OK resets the file and the window")
            << 2 << 0 << kDefaults
            << QStringList{text("source="), QStringLiteral("destination=") + kTemp,
                           text("operation=0"), text("types=jpg")};
        QTest::newRow("Cancel does nothing") << 2 << 1 << kUntouched << QStringList();
    }

    void buttons()
    {
        QFETCH(int, choice);
        QFETCH(int, button);
        QFETCH(std::string, file);
        QFETCH(QStringList, changes);
        Fixture fixture;
        QCOMPARE(fixture.dialog.windowTitle(), text("初期設定"));
        QTest::mouseClick(fixture.option(choice), Qt::LeftButton);
        QTest::mouseClick(fixture.button(button), Qt::LeftButton);
        QCOMPARE(TempTree::read(fixture.path), file);
        QCOMPARE(fixture.inputs.changes, changes);
        QCOMPARE(fixture.user.shown, Strings());
        // Only hidden: the choice stays for the next showing.
        QVERIFY(!fixture.dialog.isVisible());
        QVERIFY(fixture.option(choice)->isChecked());
        QVERIFY(!fixture.dialog.isUnloadRequested());
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<std::string>("file");
        QTest::newRow("Enter presses OK") << int(Qt::Key_Return) << false << kDefaults;
        QTest::newRow("keypad Enter presses OK") << int(Qt::Key_Enter) << false << kDefaults;
        QTest::newRow("Escape does nothing") << int(Qt::Key_Escape) << true << kUntouched;
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(bool, visible);
        QFETCH(std::string, file);
        Fixture fixture;
        QTest::mouseClick(fixture.option(1), Qt::LeftButton);
        QTest::keyClick(fixture.option(1), Qt::Key(key));
        QCOMPARE(fixture.dialog.isVisible(), visible);
        QCOMPARE(TempTree::read(fixture.path), file);
        QCOMPARE(fixture.inputs.changes, QStringList());
    }

    void failedSaveIsReportedAndChangesNothing()
    {
        Fixture fixture;
        // A file where the settings file's folder should be: the save fails even for root.
        fixture.path = fixture.tree.path("Quorvane.qvn/Quorvane.qvn");
        frmOption dialog{frmOption::Context{fixture.inputs, kTemp, fixture.path, fixture.user}};
        dialog.show();
        auto* resetBoth = dialog.findChild<QRadioButton*>(QStringLiteral("optOption_2"));
        QTest::mouseClick(resetBoth, Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOKCancel_0")),
                          Qt::LeftButton);
        QCOMPARE(fixture.user.shown,
                 Strings{"設定ファイルを保存できません\n" + fixture.path + "\n"
                         + std::strerror(ENOTDIR)});
        QVERIFY(dialog.isVisible());
        QCOMPARE(fixture.inputs.changes, QStringList());
        QCOMPARE(TempTree::read(fixture.tree.path("Quorvane.qvn")), kUntouched);
    }
};

QUORVANE_GUI_TEST_MAIN(OptionDialogTest)
#include "tst_option_dialog.moc"
