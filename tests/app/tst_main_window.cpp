#include "app/frmMain.h"
#include "support/FakeUser.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QUrl>
#include <QWindow>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const std::string kForbiddenMessage = "フォルダ名に:?|<>\"*は、使えません";

// A fresh main window on the scripted user, shown and active. No settings are stored,
// so start-up leaves the design values and puts the temp folder in as destination.
struct Window {
    FakeUser user;
    TempTree settingsFolder;
    frmMain window{user.services(), nullptr, settingsFolder.path("Quorvane.qvn")};

    Window()
    {
        window.show();
        QApplication::setActiveWindow(&window);
    }

    template <typename Control = QWidget>
    Control* control(const QString& name)
    {
        return window.findChild<Control*>(name);
    }
};

QString captionOf(QWidget* control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* frame = qobject_cast<QGroupBox*>(control))
        return frame->title();
    return qobject_cast<QLineEdit*>(control)->text();
}

// Where the control draws its caption or text.
QRect textArea(QWidget* control)
{
    QStyle* style = control->style();
    QStyleOptionButton option;
    option.initFrom(control);
    option.text = captionOf(control);
    if (qobject_cast<QRadioButton*>(control))
        return style->subElementRect(QStyle::SE_RadioButtonContents, &option, control);
    if (qobject_cast<QPushButton*>(control))
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, control);
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        QStyleOptionFrame frame;
        frame.initFrom(box);
        frame.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, box);
        return style->subElementRect(QStyle::SE_LineEditContents, &frame, box);
    }
    if (auto* frame = qobject_cast<QGroupBox*>(control)) {
        // The title must fit above the first option inside the frame.
        const int firstOption = frame->findChild<QRadioButton*>()->y();
        return {0, 0, frame->width(), firstOption};
    }
    return control->contentsRect();
}

QMimeData* fileList(const QStringList& paths)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

// Drags `data` onto the control and drops it there, through the window as the
// platform delivers a drag: the window finds the control under the pointer. Returns
// the drop event's action, or IgnoreAction when the drop was not taken.
Qt::DropAction dragAndDrop(QWidget* control, const QMimeData& data,
                           Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction)
{
    QWidget* top = control->window();
    QWindow* window = top->windowHandle();
    const QPoint at = control->mapTo(top, control->rect().center());
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
    QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<double>("points");

        const auto row = [](const char* name, const char* parent, const char* caption,
                            const char* toolTip, QRect twips, double points) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent)
                                << QString::fromUtf8(caption) << QString::fromUtf8(toolTip) << twips
                                << points;
        };
        const char* source = "操作する元のフォルダをフルパスで入力";
        const char* destination = "保存先のフォルダをフルパスで入力";
        const char* types = "処理対象にするファイルの拡張子をカンマ（，）で区切って入力";
        row("Label1", "clientArea", "ファイル収集対象フォルダの指定", source, {60, 60, 3000, 240}, 10.5);
        row("txtFolder_0", "clientArea", "", source, {120, 300, 4800, 360}, 12);
        row("cmdRefer_0", "clientArea", "参照", "操作する元のフォルダの選択", {4980, 300, 792, 375}, 10.5);
        row("Label2", "clientArea", "保存場所の指定", destination, {60, 720, 1500, 240}, 10.5);
        row("txtFolder_1", "clientArea", "{T}", destination, {120, 960, 4800, 360}, 12);
        row("cmdRefer_1", "clientArea", "参照", "保存先のフォルダの選択", {4980, 960, 795, 375}, 10.5);
        row("Frame1", "clientArea", "処理内容", "処理する内容を選択", {120, 1410, 2400, 1140}, 10.5);
        row("optOperat_0", "Frame1", "コピー", "コピーします", {120, 300, 840, 300}, 10.5);
        row("optOperat_1", "Frame1", "移動", "移動します", {120, 720, 840, 300}, 10.5);
        row("optOperat_2", "Frame1", "完全削除", "ごみ箱に入れずに削除します", {1140, 300, 1140, 300}, 10.5);
        row("optOperat_3", "Frame1", "ごみ箱へ", "ごみ箱に削除します", {1140, 720, 1140, 300}, 10.5);
        row("Label3", "clientArea", "収集対象ファイルの拡張子の指定", types, {2700, 1410, 3075, 255}, 10.5);
        row("txtFileType", "clientArea", "jpg", types, {2760, 1650, 3015, 360}, 12);
        row("cmdStart", "clientArea", "実行", "処理を開始します", {2820, 2100, 1140, 570}, 10.5);
        row("cmdExit", "clientArea", "閉じる", "Quorvaneを閉じます", {4560, 2100, 1140, 570}, 10.5);
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QFETCH(QRect, twips);
        QFETCH(double, points);
        Window fixture;
        QWidget* control = fixture.control(name);
        QVERIFY(control != nullptr);

        QCOMPARE(control->parentWidget()->objectName(), parent);
        QCOMPARE(captionOf(control),
                 caption.replace(u"{T}"_s, QString::fromStdString(Module1::TempFolderPath)));
        QCOMPARE(control->toolTip(), toolTip);
        const auto pixels = [](int value) { return qRound(value / 15.0); };
        QCOMPARE(control->geometry(), QRect(pixels(twips.x()), pixels(twips.y()),
                                            pixels(twips.width()), pixels(twips.height())));

        QCOMPARE(control->font().pointSizeF(), points);
        const QString family = QFontInfo(control->font()).family();
        QVERIFY2(family == QStringLiteral("IPAPGothic") || family == QStringLiteral("Noto Sans CJK JP"),
                 qPrintable(family));
        QCOMPARE(QFontInfo(control->font()).weight(), int(QFont::Normal));

        const QFontMetrics metrics(control->font());
        const QRect area = textArea(control);
        QVERIFY2(control->rect().contains(area), qPrintable(name));
        QVERIFY2(area.width() >= metrics.horizontalAdvance(caption),
                 qPrintable(QStringLiteral("%1 of %2 px").arg(metrics.horizontalAdvance(caption)).arg(area.width())));
        QVERIFY2(area.height() >= metrics.height(),
                 qPrintable(QStringLiteral("%1 of %2 px").arg(metrics.height()).arg(area.height())));
    }

    void freshWindow()
    {
        Window fixture;
        frmMain& window = fixture.window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(fixture.control(u"clientArea"_s)->size(), QSize(392, 186));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!window.windowIcon().pixmap(48, 48).isNull());
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("io.github.quorvane.Quorvane"));

        QVERIFY(window.txtFolder[frmMain::Source]->text().isEmpty());
        QCOMPARE(window.txtFolder[frmMain::Destination]->text(),
                 QString::fromStdString(Module1::TempFolderPath));
        QCOMPARE(window.txtFileType->text(), QStringLiteral("jpg"));
        QVERIFY(window.optOperat[frmMain::Copy]->isChecked());
        QCOMPARE(window.selectedOperation(), run::Operation::Copy);
        QVERIFY(window.txtFolder[frmMain::Destination]->isEnabled());
        QVERIFY(window.cmdStart->isDefault());
        QVERIFY(fixture.user.shown.empty());
    }

    void accessibleNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessibleName");
        QTest::addColumn<QString>("buddyOf");
        QTest::newRow("source box") << u"txtFolder_0"_s << u"ファイル収集対象フォルダの指定"_s << u"Label1"_s;
        QTest::newRow("destination box") << u"txtFolder_1"_s << u"保存場所の指定"_s << u"Label2"_s;
        QTest::newRow("extension box") << u"txtFileType"_s << u"収集対象ファイルの拡張子の指定"_s << u"Label3"_s;
        QTest::newRow("copy") << u"optOperat_0"_s << u"コピー"_s << u""_s;
        QTest::newRow("recycle") << u"optOperat_3"_s << u"ごみ箱へ"_s << u""_s;
        QTest::newRow("browse for the destination") << u"cmdRefer_1"_s << u"参照"_s << u""_s;
    }

    void accessibleNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, accessibleName);
        QFETCH(QString, buddyOf);
        Window fixture;
        QWidget* control = fixture.control(name);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY(accessible != nullptr);
        QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
        QCOMPARE(accessible->text(QAccessible::Description), control->toolTip());
        if (!buddyOf.isEmpty())
            QCOMPARE(fixture.control<QLabel>(buddyOf)->buddy(), control);
    }

    void tabOrder_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("stops");
        QTest::newRow("copy selected")
            << 0 << QStringList{u"txtFolder_0"_s, u"cmdRefer_0"_s, u"txtFolder_1"_s, u"cmdRefer_1"_s, u"optOperat_0"_s,
                                u"txtFileType"_s, u"cmdStart"_s, u"cmdExit"_s, u"txtFolder_0"_s};
        QTest::newRow("move selected: the group is entered at the selection")
            << 1 << QStringList{u"txtFolder_0"_s, u"cmdRefer_0"_s, u"txtFolder_1"_s, u"cmdRefer_1"_s, u"optOperat_1"_s,
                                u"txtFileType"_s, u"cmdStart"_s, u"cmdExit"_s, u"txtFolder_0"_s};
        QTest::newRow("delete selected: the disabled destination is passed over")
            << 2 << QStringList{u"txtFolder_0"_s, u"cmdRefer_0"_s, u"optOperat_2"_s, u"txtFileType"_s, u"cmdStart"_s,
                                u"cmdExit"_s, u"txtFolder_0"_s};
    }

    void tabOrder()
    {
        QFETCH(int, selected);
        QFETCH(QStringList, stops);
        Window fixture;
        frmMain& window = fixture.window;
        window.optOperat[static_cast<std::size_t>(selected)]->setChecked(true);
        window.txtFolder[frmMain::Source]->setFocus();
        QStringList forward;
        QStringList backward;
        for (qsizetype i = 0; i < stops.size(); ++i) {
            forward << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (qsizetype i = 0; i < stops.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            backward.prepend(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(forward, stops);
        QCOMPARE(backward, stops);
    }

    void enterPressesTheDefaultButton_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("startEnabled");
        QTest::addColumn<int>("startClicks");
        QTest::addColumn<int>("browseDialogs");
        QTest::newRow("Return in the source box") << u"txtFolder_0"_s << int(Qt::Key_Return) << true << 1 << 0;
        QTest::newRow("keypad Enter in the destination box") << u"txtFolder_1"_s << int(Qt::Key_Enter) << true << 1 << 0;
        QTest::newRow("Return in the extension box") << u"txtFileType"_s << int(Qt::Key_Return) << true << 1 << 0;
        QTest::newRow("Return on an option") << u"optOperat_2"_s << int(Qt::Key_Return) << true << 1 << 0;
        QTest::newRow("Return on a browse button presses that button")
            << u"cmdRefer_0"_s << int(Qt::Key_Return) << true << 0 << 1;
        QTest::newRow("Return while the start button is disabled")
            << u"txtFolder_0"_s << int(Qt::Key_Return) << false << 0 << 0;
        QTest::newRow("Escape does nothing") << u"txtFolder_0"_s << int(Qt::Key_Escape) << true << 0 << 0;
    }

    void enterPressesTheDefaultButton()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, startEnabled);
        QFETCH(int, startClicks);
        QFETCH(int, browseDialogs);
        Window fixture;
        fixture.window.cmdStart->setEnabled(startEnabled);
        QSignalSpy clicks(fixture.window.cmdStart, &QPushButton::clicked);
        QWidget* control = fixture.control(focus);
        control->setFocus();
        QTest::keyClick(control, static_cast<Qt::Key>(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(clicks.count(), startClicks);
        QCOMPARE(int(fixture.user.folderRequests.size()), browseDialogs);
    }

    void forbiddenCharacters_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caretAfter");
        QTest::addColumn<int>("messages");

        QTest::newRow("question mark typed at the end")
            << 0 << u"/home/u/data"_s << 12 << u"type"_s << u"?"_s << u"/home/u/data"_s << 12 << 1;
        QTest::newRow("question mark typed in the middle keeps the caret there")
            << 0 << u"/home/ab"_s << 6 << u"type"_s << u"?"_s << u"/home/ab"_s << 6 << 1;
        QTest::newRow("set by the program") << 1 << u""_s << 0 << u"set"_s << u"/home/u/a?b"_s << u"/home/u/ab"_s << 10 << 1;
        QTest::newRow("ordinary path untouched") << 0 << u""_s << 0 << u"set"_s << u"/tmp/"_s << u"/tmp/"_s << 5 << 0;
        QTest::newRow("slash and backslash are allowed")
            << 0 << u""_s << 0 << u"set"_s << u"/a/b\\c"_s << u"/a/b\\c"_s << 6 << 0;
        QTest::newRow("paste gives one message") << 1 << u""_s << 0 << u"paste"_s << u"/a:b|c"_s << u"/abc"_s << 4 << 1;
        QTest::newRow("all seven at once")
            << 0 << u""_s << 0 << u"set"_s << u"/x:?|<>\"*y"_s << u"/xy"_s << 3 << 1;
        QTest::newRow("first two characters are exempt") << 0 << u""_s << 0 << u"set"_s << u"C?"_s << u"C?"_s << 2 << 0;
        QTest::newRow("only those after the first two are removed")
            << 0 << u""_s << 0 << u"set"_s << u"C?b?"_s << u"C?b"_s << 3 << 1;
        QTest::newRow("drive letter and colon") << 1 << u""_s << 0 << u"set"_s << u"C:\\"_s << u"C:\\"_s << 3 << 0;
        QTest::newRow("full-width forms are kept")
            << 0 << u""_s << 0 << u"set"_s << u"/a？b：c"_s << u"/a？b：c"_s << 6 << 0;
        QTest::newRow("Japanese folder name with a star")
            << 0 << u""_s << 0 << u"set"_s << u"/写真/旅行*"_s << u"/写真/旅行"_s << 6 << 1;
    }

    void forbiddenCharacters()
    {
        QFETCH(int, box);
        QFETCH(QString, before);
        QFETCH(int, caret);
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, after);
        QFETCH(int, caretAfter);
        QFETCH(int, messages);
        Window fixture;
        QLineEdit* edit = fixture.window.txtFolder[static_cast<std::size_t>(box)];
        edit->setText(before);
        edit->setCursorPosition(caret);
        edit->setFocus();
        if (how == QStringLiteral("type")) {
            QTest::keyClicks(edit, input);
        } else if (how == QStringLiteral("paste")) {
            QGuiApplication::clipboard()->setText(input);
            QTest::keySequence(edit, QKeySequence::Paste);
        } else {
            edit->setText(input);
        }
        QCOMPARE(edit->text(), after);
        QCOMPARE(edit->cursorPosition(), caretAfter);
        QCOMPARE(fixture.user.shown, Strings(static_cast<std::size_t>(messages), kForbiddenMessage));
    }

    void dragEffect_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("data");
        QTest::addColumn<int>("offered");
        QTest::addColumn<bool>("accepted");

        const int copyOrMove = int(Qt::CopyAction | Qt::MoveAction);
        for (const char* target : {"txtFolder_0", "txtFolder_1", "cmdRefer_0", "cmdRefer_1"}) {
            const QString name = QString::fromLatin1(target);
            QTest::addRow("%s: file list", target) << name << u"files"_s << copyOrMove << true;
            QTest::addRow("%s: file list offered for move only", target)
                << name << u"files"_s << int(Qt::MoveAction) << false;
            QTest::addRow("%s: text", target) << name << u"text"_s << copyOrMove << false;
            QTest::addRow("%s: web address", target) << name << u"web"_s << copyOrMove << false;
        }
    }

    void dragEffect()
    {
        QFETCH(QString, target);
        QFETCH(QString, data);
        QFETCH(int, offered);
        QFETCH(bool, accepted);
        Window fixture;
        TempTree tree;
        QMimeData mime;
        if (data == QStringLiteral("files"))
            mime.setUrls({QUrl::fromLocalFile(qs(tree.file("a.jpg")))});
        else if (data == QStringLiteral("web"))
            mime.setUrls({QUrl(QStringLiteral("https://example.org/a.jpg"))});
        else
            mime.setText(QStringLiteral("/tmp"));
        QWidget* control = fixture.control(target);
        const auto actions = static_cast<Qt::DropActions>(offered);

        // Through the window, as the platform delivers a drag: the window finds the
        // control under the pointer.
        QWindow* window = fixture.window.windowHandle();
        const QPoint at = control->mapTo(&fixture.window, control->rect().center());
        QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        QDragMoveEvent move(at + QPoint(1, 0), actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &move);
        QDragLeaveEvent leave;
        QApplication::sendEvent(window, &leave);
        for (QDragMoveEvent* event : {static_cast<QDragMoveEvent*>(&enter), &move}) {
            QCOMPARE(event->isAccepted(), accepted);
            if (accepted)
                QCOMPARE(event->dropAction(), Qt::CopyAction);
        }
    }

    void dropTargets()
    {
        Window fixture;
        const QStringList targets{u"txtFolder_0"_s, u"txtFolder_1"_s, u"cmdRefer_0"_s, u"cmdRefer_1"_s};
        for (QWidget* control : fixture.window.findChildren<QWidget*>())
            QVERIFY2(control->acceptDrops() == targets.contains(control->objectName()),
                     qPrintable(control->objectName()));
        QVERIFY(!fixture.window.acceptDrops());
    }

    void drop_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("yields");

        const QStringList fileThenTwoFolders{u"f:photo.jpg"_s, u"d:A"_s, u"d:B"_s};
        QTest::newRow("file, A, B on the destination box") << u"txtFolder_1"_s << fileThenTwoFolders << u"B"_s << 0;
        QTest::newRow("file, A, B on the destination button") << u"cmdRefer_1"_s << fileThenTwoFolders << u"B"_s << 0;
        QTest::newRow("file, A, B on the source button") << u"cmdRefer_0"_s << fileThenTwoFolders << u"B"_s << 0;
        QTest::newRow("folder before a file") << u"txtFolder_0"_s << QStringList{u"d:A"_s, u"f:x.txt"_s} << u"A"_s << 0;
        QTest::newRow("files only leave the box") << u"txtFolder_1"_s << QStringList{u"f:a.jpg"_s, u"f:b.jpg"_s}
                                                  << u"unchanged"_s << 0;
        QTest::newRow("missing item skipped") << u"txtFolder_0"_s << QStringList{u"d:A"_s, u"m:gone"_s} << u"A"_s << 0;
        QTest::newRow("Japanese folder name") << u"txtFolder_0"_s << QStringList{u"d:写真 2024"_s} << u"写真 2024"_s << 0;
        QStringList many;
        for (int i = 1; i <= 45; ++i)
            many << (i == 44 ? QStringLiteral("d:last") : QStringLiteral("f:%1.jpg").arg(i));
        QTest::newRow("45 items let events run twice") << u"txtFolder_0"_s << many << u"last"_s << 2;
    }

    void drop()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, items);
        QFETCH(QString, after);
        QFETCH(int, yields);
        Window fixture;
        TempTree tree;
        QStringList paths;
        for (const QString& item : items) {
            const std::string name = item.mid(2).toStdString();
            if (item.startsWith(QLatin1Char('d')))
                tree.folder(name);
            else if (item.startsWith(QLatin1Char('f')))
                tree.file(name);
            paths << qs(tree.path(name));
        }
        const QString before = QStringLiteral("/keep");
        const int index = target.back() == QLatin1Char('1') ? 1 : 0;
        QLineEdit* box = fixture.window.txtFolder[static_cast<std::size_t>(index)];
        box->setText(before);
        QLineEdit* other = fixture.window.txtFolder[static_cast<std::size_t>(1 - index)];
        const QString otherBefore = other->text();

        std::unique_ptr<QMimeData> data(fileList(paths));
        const Qt::DropAction action = dragAndDrop(fixture.control(target), *data);

        QCOMPARE(box->text(), after == QStringLiteral("unchanged") ? before : qs(tree.path(after.toStdString())));
        QCOMPARE(other->text(), otherBefore);
        QCOMPARE(fixture.user.yields, yields);
        QVERIFY(fixture.user.shown.empty());
        QCOMPARE(action, Qt::CopyAction);
    }

    void textDropsAreNotTaken_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("source box") << u"txtFolder_0"_s;
        QTest::newRow("destination button") << u"cmdRefer_1"_s;
    }

    void textDropsAreNotTaken()
    {
        QFETCH(QString, target);
        Window fixture;
        fixture.window.txtFolder[frmMain::Source]->setText(QStringLiteral("/keep"));
        QMimeData data;
        data.setText(QStringLiteral("/tmp"));
        QCOMPARE(dragAndDrop(fixture.control(target), data), Qt::IgnoreAction);
        QCOMPARE(fixture.window.txtFolder[frmMain::Source]->text(), QStringLiteral("/keep"));
        QCOMPARE(fixture.window.txtFolder[frmMain::Destination]->text(),
                 QString::fromStdString(Module1::TempFolderPath));
    }

    void closeDuringALongDropWaitsForIt()
    {
        Window fixture;
        TempTree tree;
        QStringList paths;
        for (int i = 1; i <= 60; ++i)
            paths << qs(tree.folder("folder" + std::to_string(i)));
        fixture.window.txtFileType->clear();
        bool visibleAfterClose = false;
        fixture.user.onYield = [&](int) {
            fixture.window.close();
            visibleAfterClose = fixture.window.isVisible();
            // A run asked for after the close does not start (it would complain of the
            // empty extension box).
            QTest::mouseClick(fixture.window.cmdStart, Qt::LeftButton);
        };
        std::unique_ptr<QMimeData> data(fileList(paths));
        dragAndDrop(fixture.window.txtFolder[frmMain::Source], *data);

        QVERIFY(visibleAfterClose);
        QVERIFY(!fixture.window.isVisible());
        QCOMPARE(fixture.user.yields, 1);
        QVERIFY(fixture.user.shown.empty());
        // The walk stopped at the yield before item 20.
        QCOMPARE(fixture.window.txtFolder[frmMain::Source]->text(), paths[18]);
    }

    void destinationFollowsTheOperation_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("byClick");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("click delete") << 2 << true << false;
        QTest::newRow("click to recycle bin") << 3 << true << false;
        QTest::newRow("click move") << 1 << true << true;
        QTest::newRow("delete set by the program") << 2 << false << false;
        QTest::newRow("recycle set by the program") << 3 << false << false;
        QTest::newRow("copy set by the program") << 0 << false << true;
    }

    void destinationFollowsTheOperation()
    {
        QFETCH(int, operation);
        QFETCH(bool, byClick);
        QFETCH(bool, enabled);
        Window fixture;
        frmMain& window = fixture.window;
        window.txtFolder[frmMain::Destination]->setText(QStringLiteral("/kept"));
        // Start from the opposite state, so that every row is a change.
        window.optOperat[enabled ? frmMain::Delete : frmMain::Move]->setChecked(true);
        QRadioButton* option = window.optOperat[static_cast<std::size_t>(operation)];
        if (byClick)
            QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, option->height() / 2));
        else
            option->setChecked(true);
        QVERIFY(option->isChecked());
        QCOMPARE(window.selectedOperation(), static_cast<run::Operation>(operation));
        QCOMPARE(window.txtFolder[frmMain::Destination]->isEnabled(), enabled);
        QCOMPARE(window.cmdRefer[frmMain::Destination]->isEnabled(), enabled);
        QCOMPARE(window.txtFolder[frmMain::Destination]->text(), QStringLiteral("/kept"));
    }

    void browse_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("answered");
        QTest::newRow("source chosen") << 0 << true;
        QTest::newRow("destination chosen") << 1 << true;
        QTest::newRow("source cancelled") << 0 << false;
        QTest::newRow("destination cancelled") << 1 << false;
    }

    void browse()
    {
        QFETCH(int, button);
        QFETCH(bool, answered);
        Window fixture;
        TempTree tree;
        const std::string chosen = tree.folder("写真");
        const auto index = static_cast<std::size_t>(button);
        fixture.window.txtFolder[index]->setText(QStringLiteral("/before"));
        const QString otherBefore = fixture.window.txtFolder[1 - index]->text();
        if (answered)
            fixture.user.folderAnswers.push_back(chosen);
        QTest::mouseClick(fixture.window.cmdRefer[index], Qt::LeftButton);

        QCOMPARE(fixture.user.folderRequests.size(), std::size_t(1));
        const platform::FolderDialog::Request& request = fixture.user.folderRequests.front();
        QCOMPARE(request.root, platform::FolderDialog::Root::Desktop);
        QCOMPARE(request.title, std::string("適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい"));
        QVERIFY(fixture.window.fileFolder().RealFolderOnly());
        QCOMPARE(fixture.window.txtFolder[index]->text(), answered ? qs(chosen) : QString());
        QCOMPARE(fixture.window.txtFolder[1 - index]->text(), otherBefore);
    }

    void closingWhileIdle()
    {
        static int procedureCalls = 0;
        static Module1::WindowProcedure installed = nullptr;
        const auto countingProcedure = [](frmMain& window, QEvent* event) {
            ++procedureCalls;
            return installed(window, event);
        };
        Window fixture;
        // In front of the menu's handler that start-up installed; the window's own
        // handling stays in PrevWndProc.
        installed = fixture.window.setWindowProcedure(countingProcedure);
        fixture.window.update();
        QApplication::processEvents();
        QVERIFY(procedureCalls > 0);

        QTest::mouseClick(fixture.window.cmdExit, Qt::LeftButton);
        QVERIFY(!fixture.window.isVisible());
        QVERIFY(fixture.user.shown.empty());
        // The window's own handling is back once it has closed.
        const int callsAtClose = procedureCalls;
        fixture.window.show();
        QApplication::processEvents();
        QCOMPARE(procedureCalls, callsAtClose);
    }

    void startUpKeepsTheTempFolder()
    {
        Module1::TempFolderPath.clear();
        Window fixture;
        QVERIFY(!Module1::TempFolderPath.empty());
        QCOMPARE(Module1::TempFolderPath, fixture.window.fileFolder().GetTempFolder());
    }

    void standardTextsAreJapanese()
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorvane"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    }
};

QUORVANE_GUI_TEST_MAIN(MainWindowTest)

#include "tst_main_window.moc"
