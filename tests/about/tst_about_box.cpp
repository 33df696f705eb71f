#include "about/frmAbout.h"
#include "support/GuiTestMain.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString labelText(const QDialog& box, const char* name)
{
    const auto* label = box.findChild<QLabel*>(QString::fromUtf8(name));
    return label ? label->text() : QStringLiteral("(no %1)").arg(QString::fromUtf8(name));
}

} // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void texts()
    {
        const frmAbout box;
        QCOMPARE(box.windowTitle(), text("ﾊﾞｰｼﾞｮﾝ情報 Quorvane"));
        QCOMPARE(labelText(box, "lblTitle"), text("Quorvane"));
        QCOMPARE(labelText(box, "lblVersion"), text("Version 4.0"));
        QCOMPARE(labelText(box, "lblDescription"),
                 text("このアプリは、指定した拡張子のファイルを別の指定したフォルダに移動、"
                      "コピー、ゴミ箱へ、削除できます"));
        QCOMPARE(labelText(box, "lblDisclaimer"), text("警告:  © 2026 Quorvane developers"));
        const auto* icon = box.findChild<QLabel*>(QStringLiteral("picIcon"));
        QVERIFY(icon);
        QCOMPARE(icon->pixmap().size(), QSize(48, 48));
    }

    void version_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("shown");
        QTest::newRow("4.0") << 4 << 0 << text("Version 4.0");
        QTest::newRow("two-digit minor in full") << 4 << 12 << text("Version 4.12");
        QTest::newRow("two-digit major") << 10 << 3 << text("Version 10.3");
    }

    void version()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, shown);
        ProgramInfo info = ProgramInfo::ofThisProgram();
        info.versionMajor = major;
        info.versionMinor = minor;
        const frmAbout box(info);
        QCOMPARE(labelText(box, "lblVersion"), shown);
    }

    void closing_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("OK clicked") << 0;
    }

    void closing()
    {
        QFETCH(int, key);
        frmAbout box;
        box.show();
        auto* ok = box.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QVERIFY(ok);
        if (key == 0)
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            QTest::keyClick(&box, Qt::Key(key));
        QVERIFY(!box.isVisible());
    }
};

QUORVANE_GUI_TEST_MAIN(AboutBoxTest)
#include "tst_about_box.moc"
