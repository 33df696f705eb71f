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
        const std::pair<const char*, const char*> texts[]
            = { { "lblTitle", "Quorvane" }, { "lblVersion", "Version 4.0" },
                  { "lblDescription",
                      "このアプリは、指定した拡張子のファイルを別の指定したフォルダに移動、コピー、ゴミ箱へ、"
                      "削除できます" },
                  { "lblDisclaimer", "警告:  © 2026 Quorvane developers" } };
        for (const auto& [name, text] : texts)
            QCOMPARE(box.findChild<QLabel*>(QLatin1String(name))->text(), QString::fromUtf8(text));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().size(), QSize(48, 48));
    }

    // OK is both the default and the cancel button.
    void closesOnEnterAndEscape()
    {
        for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Escape }) {
            frmAbout box;
            box.show();
            QTest::keyClick(&box, key);
            QVERIFY(!box.isVisible());
        }
    }
};

QUORVANE_GUI_TEST_MAIN(AboutBoxTest)
#include "tst_about_box.moc"
