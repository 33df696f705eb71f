#include "app/frmMain.h"
#include "support/FakeUser.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"
#include "toolkit/clsFileFolder.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

// A fresh main window on the scripted user, shown and active. No settings are stored,
// so start-up leaves the design values and puts the temp folder in as destination.
// It owns a temporary tree for the settings file and the test's own files.
struct Window {
    FakeUser user;
    TempTree tree;
    frmMain window { user.services(), nullptr, tree.path("Quorvane.qvn") };
    bool shown = (window.show(), QApplication::setActiveWindow(&window), true);
    QWidget* control(const char* name) { return window.findChild<QWidget*>(QString::fromLatin1(name)); }
    QStringList texts()
    {
        return { window.txtFolder[0]->text(), window.txtFolder[1]->text(), window.txtFileType->text() };
    }
};

static QString qs(const std::string& text) { return QString::fromStdString(text); }

// Where the control draws its caption or text.
static QRect textArea(QWidget* control)
{
    QStyleOptionButton button;
    button.initFrom(control);
    button.text = control->property("text").toString();
    QStyleOptionFrame box;
    box.initFrom(control);
    box.lineWidth = control->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &box, control);
    if (qobject_cast<QGroupBox*>(control)) // the title sits above the first option
        return { 0, 0, control->width(), control->findChild<QRadioButton*>()->y() };
    if (qobject_cast<QLabel*>(control))
        return control->contentsRect();
    const bool isBox = qobject_cast<QLineEdit*>(control) != nullptr;
    return control->style()->subElementRect(isBox  ? QStyle::SE_LineEditContents
            : qobject_cast<QRadioButton*>(control) ? QStyle::SE_RadioButtonContents
                                                   : QStyle::SE_PushButtonContents,
        isBox ? static_cast<QStyleOption*>(&box) : &button, control);
}

// Drags `data` over the control and drops it, through the window as the platform delivers a
// drag. Returns whether drag-enter and drag-move, and the drop, were taken with the copy effect.
static std::pair<bool, bool> dragAndDrop(QWidget* control, const QMimeData& data)
{
    const QPoint at = control->mapTo(control->window(), control->rect().center());
    const auto copies = [&](QDropEvent&& event) {
        QApplication::sendEvent(control->window()->windowHandle(), &event);
        return event.isAccepted() && event.dropAction() == Qt::CopyAction;
    };
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    const bool enter = copies(QDragEnterEvent(at, offered, &data, Qt::LeftButton, {}));
    const bool move = copies(QDragMoveEvent(at + QPoint(1, 0), offered, &data, Qt::LeftButton, {}));
    return { enter && move, copies(QDropEvent(at, offered, &data, Qt::LeftButton, {})) };
}

// A text with "^" marking the caret (the end when there is none): the text and the caret.
static std::pair<QString, int> withCaret(QString text)
{
    const auto caret = text.indexOf(u'^');
    return { text.remove(u'^'), int(caret < 0 ? text.size() : caret) };
}

struct Layout {
    QString caption, toolTip;
    QRect twips;
};
struct KeyCase {
    const char *focus, *answer; // answer: the folder chosen in the dialog; "-" for none, "" to cancel it
    int key, startClicks; // key 0 for a click
    bool startEnabled = true;
};
struct TextCase {
    const char *how, *before, *input, *after; // "^" marks the caret in before and after
    int messages;
};
// Items: "f:" a file, "d:" a folder, "m:" a missing entry, "t:" plain text.
struct DropCase {
    const char* target;
    std::string items;
    bool taken;
    const char* after = ""; // the folder the box ends with; empty for all boxes unchanged
    int yields = 0;
    bool locked = false; // dropped while a run has the inputs locked
};

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<Layout>("row");
        const auto row = [](const char* name, const char* caption, const char* tip, QRect twips) {
            QTest::newRow(name) << Layout { QString::fromUtf8(caption), QString::fromUtf8(tip), twips };
        };
        const char* source = "操作する元のフォルダをフルパスで入力";
        const char* destination = "保存先のフォルダをフルパスで入力";
        const char* types = "処理対象にするファイルの拡張子をカンマ（，）で区切って入力";
        row("Label1", "ファイル収集対象フォルダの指定", source, { 60, 60, 3000, 240 });
        row("txtFolder_0", "", source, { 120, 300, 4800, 360 });
        row("cmdRefer_0", "参照", "操作する元のフォルダの選択", { 4980, 300, 792, 375 });
        row("Label2", "保存場所の指定", destination, { 60, 720, 1500, 240 });
        row("txtFolder_1", "{T}", destination, { 120, 960, 4800, 360 });
        row("cmdRefer_1", "参照", "保存先のフォルダの選択", { 4980, 960, 795, 375 });
        row("Frame1", "処理内容", "処理する内容を選択", { 120, 1410, 2400, 1140 });
        row("optOperat_0", "コピー", "コピーします", { 120, 300, 840, 300 });
        row("optOperat_1", "移動", "移動します", { 120, 720, 840, 300 });
        row("optOperat_2", "完全削除", "ごみ箱に入れずに削除します", { 1140, 300, 1140, 300 });
        row("optOperat_3", "ごみ箱へ", "ごみ箱に削除します", { 1140, 720, 1140, 300 });
        row("Label3", "収集対象ファイルの拡張子の指定", types, { 2700, 1410, 3075, 255 });
        row("txtFileType", "jpg", types, { 2760, 1650, 3015, 360 });
        row("cmdStart", "実行", "処理を開始します", { 2820, 2100, 1140, 570 });
        row("cmdExit", "閉じる", "Quorvaneを閉じます", { 4560, 2100, 1140, 570 });
    }

    // Names, captions, tooltips, geometry at 15 twips a pixel (the options' inside Frame1),
    // fonts, no clipped caption, labels as their boxes' buddies.
    void layout()
    {
        QFETCH(Layout, row);
        Window fixture;
        frmMain& window = fixture.window;
        QWidget* control = fixture.control(QTest::currentDataTag());
        QVERIFY(control);
        QCOMPARE(control->property(qobject_cast<QGroupBox*>(control) ? "title" : "text").toString(),
            row.caption.replace(u"{T}"_s, qs(window.fileFolder().GetTempFolder())));
        QCOMPARE(control->toolTip(), row.toolTip);
        QCOMPARE(control->geometry(), QRect(row.twips.topLeft() / 15.0, row.twips.size() / 15.0));
        QCOMPARE(control->font().pointSizeF(), qobject_cast<QLineEdit*>(control) ? 12.0 : 10.5);
        const QString family = QFontInfo(control->font()).family();
        QVERIFY2(family == u"IPAPGothic"_s || family == u"Noto Sans CJK JP"_s, qPrintable(family));
        const QFontMetrics metrics(control->font());
        const QRect area = textArea(control);
        QVERIFY(control->rect().contains(area));
        QCOMPARE_GE(area.width(), metrics.horizontalAdvance(row.caption));
        QCOMPARE_GE(area.height(), metrics.height());
        if (auto* option = qobject_cast<QRadioButton*>(control))
            QCOMPARE(option->isChecked(), option == window.optOperat[frmMain::Copy]);
        if (auto* label = qobject_cast<QLabel*>(control)) // the box it names for assistive technology
            QCOMPARE(QAccessible::queryAccessibleInterface(label->buddy())->text(QAccessible::Description),
                row.toolTip);
    }

    void operationChoice_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("byClick");
        QTest::addColumn<QString>("stops"); // the Tab stops between cmdRefer_0 and txtFileType
        const QString destination = u" txtFolder_1 cmdRefer_1"_s;
        QTest::newRow("copy set by the program") << 0 << false << destination + u" optOperat_0"_s;
        QTest::newRow("click move: the group is entered at the selection")
            << 1 << true << destination + u" optOperat_1"_s;
        QTest::newRow("click delete: the disabled destination is passed over")
            << 2 << true << u" optOperat_2"_s;
    }

    // The destination is enabled on every change of the operation, and keeps its text.
    void operationChoice()
    {
        QFETCH(int, operation);
        QFETCH(bool, byClick);
        QFETCH(QString, stops);
        Window fixture;
        frmMain& window = fixture.window;
        window.txtFolder[frmMain::Destination]->setText(u"/kept"_s);
        window.optOperat[operation < 2 ? frmMain::Delete : frmMain::Move]->setChecked(true); // a change
        QRadioButton* option = window.optOperat[std::size_t(operation)];
        if (byClick)
            QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, option->height() / 2));
        else
            option->setChecked(true);
        QCOMPARE(window.selectedOperation(), run::Operation(operation));
        QCOMPARE(window.txtFolder[frmMain::Destination]->text(), u"/kept"_s);
        const QStringList expected
            = (u"txtFolder_0 cmdRefer_0"_s + stops + u" txtFileType cmdStart cmdExit txtFolder_0"_s)
                  .split(u' ');
        window.txtFolder[frmMain::Source]->setFocus();
        QStringList seen;
        for (QWidget* at = QApplication::focusWidget(); seen.size() < expected.size();
             at = QApplication::focusWidget())
            QTest::keyClick(at, Qt::Key_Tab), seen << at->objectName();
        QCOMPARE(seen, expected);
    }

    void keysAndButtons_data()
    {
        QTest::addColumn<KeyCase>("row");
        QTest::newRow("Return in the destination box") << KeyCase { "txtFolder_1", "-", Qt::Key_Return, 1 };
        QTest::newRow("keypad Enter in the extension box")
            << KeyCase { "txtFileType", "-", Qt::Key_Enter, 1 };
        QTest::newRow("start button disabled") << KeyCase { "txtFolder_1", "-", Qt::Key_Return, 0, false };
        QTest::newRow("browse cancelled with Return") << KeyCase { "cmdRefer_1", "", Qt::Key_Return, 0 };
        QTest::newRow("browse chosen with a click") << KeyCase { "cmdRefer_0", "写真", 0, 0 };
    }

    void keysAndButtons()
    {
        QFETCH(KeyCase, row);
        Window fixture;
        frmMain& window = fixture.window;
        window.cmdStart->setEnabled(row.startEnabled);
        window.txtFolder[frmMain::Destination]->setText(u"/before"_s);
        const QString chosen = *row.answer ? qs(fixture.tree.folder(row.answer)) : QString();
        fixture.user.folderAnswers.push_back(chosen.toStdString());
        QSignalSpy clicks(window.cmdStart, &QPushButton::clicked);
        QWidget* control = fixture.control(row.focus);
        control->setFocus();
        if (row.key == 0)
            QTest::mouseClick(control, Qt::LeftButton);
        else
            QTest::keyClick(
                control, Qt::Key(row.key), row.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(clicks.count(), row.startClicks);
        const bool browsed = row.answer != std::string("-");
        QCOMPARE(window.txtFolder[row.focus == std::string("cmdRefer_0") ? 0 : 1]->text(),
            browsed ? chosen : u"/before"_s);
        QCOMPARE(fixture.user.folderRequests.size(), std::size_t(browsed));
        for (const auto& request : fixture.user.folderRequests)
            QCOMPARE(request.root, platform::FolderDialog::Root::Desktop);
    }

    void forbiddenCharacters_data()
    {
        QTest::addColumn<TextCase>("row");
        QTest::newRow("typed in the middle") << TextCase { "type", "/home/a^b", "?", "/home/a^b", 1 };
        QTest::newRow("ordinary path untouched") << TextCase { "set", "", "/tmp/", "/tmp/", 0 };
        QTest::newRow("paste gives one message") << TextCase { "paste", "", "/a:b|c", "/abc", 1 };
        QTest::newRow("all seven at once") << TextCase { "set", "", "/x:?|<>\"*y", "/xy", 1 };
        QTest::newRow("first two exempt") << TextCase { "set", "", "C?b?", "C?b", 1 };
    }

    void forbiddenCharacters()
    {
        QFETCH(TextCase, row);
        for (const std::size_t box : { frmMain::Source, frmMain::Destination }) {
            Window fixture;
            frmMain& window = fixture.window;
            QLineEdit* edit = window.txtFolder[box];
            const auto [text, caret] = withCaret(qs(row.before));
            edit->setText(text);
            edit->setCursorPosition(caret);
            edit->setFocus();
            const QString input = qs(row.input);
            QGuiApplication::clipboard()->setText(input);
            if (row.how == std::string("type"))
                QTest::keyClicks(edit, input);
            else if (row.how == std::string("paste"))
                QTest::keySequence(edit, QKeySequence::Paste);
            else
                edit->setText(input);
            QCOMPARE(std::pair(edit->text(), edit->cursorPosition()), withCaret(qs(row.after)));
            QCOMPARE(
                fixture.user.shown, Strings(std::size_t(row.messages), "フォルダ名に:?|<>\"*は、使えません"));
        }
    }

    void drop_data()
    {
        QTest::addColumn<DropCase>("row");
        QTest::newRow("file, A, B on a box") << DropCase { "txtFolder_1", "f:photo.jpg d:A d:B", true, "B" };
        QTest::newRow("file, A, B on a button") << DropCase { "cmdRefer_0", "f:photo.jpg d:A d:B", true, "B" };
        QTest::newRow("folder before a file") << DropCase { "txtFolder_0", "d:A f:x.txt", true, "A" };
        QTest::newRow("files only") << DropCase { "txtFolder_1", "f:a.jpg f:b.jpg", true };
        QTest::newRow("missing item skipped") << DropCase { "cmdRefer_0", "d:A m:gone", true, "A" };
        std::string many;
        for (int i = 1; i <= 45; ++i)
            many += i == 44 ? "d:last " : "f:" + std::to_string(i) + ".jpg ";
        QTest::newRow("45 items let events run twice") << DropCase { "txtFolder_0", many, true, "last", 2 };
        QTest::newRow("text") << DropCase { "txtFolder_0", "t:/tmp", false };
        QTest::newRow("extension box takes nothing") << DropCase { "txtFileType", "d:A", false };
        QTest::newRow("inputs locked by a run") << DropCase { "txtFolder_0", "d:A", false, "", 0, true };
    }

    void drop()
    {
        QFETCH(DropCase, row);
        Window fixture;
        frmMain& window = fixture.window;
        TempTree& tree = fixture.tree;
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& item : qs(row.items).split(u' ', Qt::SkipEmptyParts)) {
            const std::string name = item.mid(2).toStdString();
            if (item[0] == u't')
                data.setText(item.mid(2));
            else
                urls << QUrl::fromLocalFile(qs(item[0] == u'd' ? tree.folder(name)
                        : item[0] == u'f'                      ? tree.file(name)
                                                               : tree.path(name)));
        }
        if (!urls.isEmpty())
            data.setUrls(urls);
        window.txtFolder[frmMain::Source]->setText(u"/keep"_s);
        if (row.locked)
            window.setInputsEnabled(false);
        QStringList expected = fixture.texts();
        if (*row.after)
            expected[qs(row.target).endsWith(u'1') ? 1 : 0] = qs(tree.path(row.after));
        QCOMPARE(dragAndDrop(fixture.control(row.target), data), std::pair(row.taken, row.taken));
        QCOMPARE(fixture.texts(), expected);
        QCOMPARE(fixture.user.yields, row.yields);
        QVERIFY(fixture.user.shown.empty());
    }
};

QUORVANE_GUI_TEST_MAIN(MainWindowTest)

#include "tst_main_window.moc"
