#include "about/frmAbout.h"
#include "support/GuiTestMain.h"

#include <QLabel>
#include <QtTest>

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void texts()
    {
        const frmAbout box;
        const auto label = [&box](const char* name) { return box.findChild<QLabel*>(QLatin1String(name)); };
        QCOMPARE(box.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 Quorvane"));
        QCOMPARE(label("lblTitle")->text(), QStringLiteral("Quorvane"));
        QCOMPARE(label("lblVersion")->text(), QStringLiteral("Version 4.0"));
        QCOMPARE(label("lblDescription")->text(),
                 QStringLiteral("このアプリは、指定した拡張子のファイルを別の指定したフォルダに移動、コピー、ゴミ箱へ、削除できます"));
        QCOMPARE(label("lblDisclaimer")->text(), QStringLiteral("警告:  © 2026 Quorvane developers"));
        QCOMPARE(label("picIcon")->pixmap().size(), QSize(48, 48));
    }

    // OK is both the default and the cancel button.
    void closesOnEnterAndEscape()
    {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            frmAbout box;
            box.show();
            QTest::keyClick(&box, key);
            QVERIFY2(!box.isVisible(), key == Qt::Key_Return ? "Enter" : "Escape");
        }
    }
};

QUORVANE_GUI_TEST_MAIN(AboutBoxTest)
#include "tst_about_box.moc"
