#include "RecordingInputs.h"

#include "settings/frmOption.h"
#include "support/FakeUser.h"
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
    void texts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("save") << text("optOption_0") << text("現在の設定を保存")
                              << text("現在の設定を保存します");
        QTest::newRow("reset file") << text("optOption_1") << text("設定を初期値に戻す")
                                    << text("設定のみを初期値に戻します");
        QTest::newRow("reset both") << text("optOption_2") << text("設定とウィンドウを初期値に戻す")
                                    << text("設定とウィンドウの両方を初期値に戻します");
        QTest::newRow("OK") << text("cmdOKCancel_0") << text("OK") << text("実行します");
        QTest::newRow("Cancel") << text("cmdOKCancel_1") << text("Cancel")
                                << text("実行をキャンセルします");
    }

    void texts()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        Fixture fixture;
        QCOMPARE(fixture.dialog.windowTitle(), text("初期設定"));
        auto* control = fixture.dialog.findChild<QAbstractButton*>(name);
        QVERIFY(control);
        QCOMPARE(control->text(), caption);
        QCOMPARE(control->toolTip(), toolTip);
    }

    void ok_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<std::string>("file");
        QTest::addColumn<QStringList>("changes");
        QTest::newRow("save the current inputs")
            << 0 << std::string("/in\r\n/out\r\n 2 \r\njpg,png\r\n") << QStringList();
        QTest::newRow("reset the file only") << 1 << kDefaults << QStringList();
        QTest::newRow("reset the file and the window")
            << 2 << kDefaults
            << QStringList{text("source="), QStringLiteral("destination=") + kTemp,
                           text("operation=0"), text("types=jpg")};
    }

    void ok()
    {
        QFETCH(int, choice);
        QFETCH(std::string, file);
        QFETCH(QStringList, changes);
        Fixture fixture;
        QTest::mouseClick(fixture.option(choice), Qt::LeftButton);
        QVERIFY(fixture.option(choice)->isChecked());
        QTest::mouseClick(fixture.button(0), Qt::LeftButton);
        QCOMPARE(TempTree::read(fixture.path), file);
        QCOMPARE(fixture.inputs.changes, changes);
        QVERIFY(!fixture.dialog.isVisible());
        QVERIFY(!fixture.dialog.isUnloadRequested());
        QCOMPARE(fixture.user.shown, Strings());
    }

    void firstChoiceIsSave()
    {
        Fixture fixture;
        QVERIFY(fixture.option(0)->isChecked());
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

    void cancelWritesNothingAndKeepsTheChoice()
    {
        Fixture fixture;
        QTest::mouseClick(fixture.option(2), Qt::LeftButton);
        QTest::mouseClick(fixture.button(1), Qt::LeftButton);
        QVERIFY(!fixture.dialog.isVisible());
        QCOMPARE(TempTree::read(fixture.path), kUntouched);
        QCOMPARE(fixture.inputs.changes, QStringList());
        fixture.dialog.show();
        QVERIFY(fixture.option(2)->isChecked());
        QVERIFY(!fixture.dialog.isUnloadRequested());
    }

    void closeBoxAsksForUnload()
    {
        Fixture fixture;
        QTest::mouseClick(fixture.option(1), Qt::LeftButton);
        fixture.dialog.close();
        QVERIFY(fixture.dialog.isUnloadRequested());
        QCOMPARE(TempTree::read(fixture.path), kUntouched);
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

QTEST_MAIN(OptionDialogTest)
#include "tst_option_dialog.moc"
