#include "app/SystemMenuHook.h"
#include "app/frmMain.h"
#include "run/CollectionRun.h"
#include "support/FakeUser.h"
#include "support/FolderNames.h"
#include "support/GuiTestMain.h"
#include "support/TempTree.h"
#include "support/TestPrinting.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

static QString qs(const std::string& text) { return QString::fromStdString(text); }

// A main window on the scripted user, shown and active, started over a settings file holding
// `stored`; with none stored, start-up leaves the design values and the temp folder as destination.
struct Window {
    explicit Window(const std::string& stored = {})
        : settingsPath(stored.empty() ? tree.path("Quorvane.qvn") : tree.file("Quorvane.qvn", stored))
    {
        window.show();
        QApplication::setActiveWindow(&window);
    }
    FakeUser user;
    TempTree tree;
    std::string settingsPath;
    frmMain window { user.services(), nullptr, settingsPath };

    QWidget* control(const char* name) { return window.findChild<QWidget*>(QString::fromLatin1(name)); }
    QStringList texts()
    {
        return { window.txtFolder[0]->text(), window.txtFolder[1]->text(), window.txtFileType->text() };
    }
    // A click the way the platform delivers it, through the window, so that a modal dialog can block it.
    void click(QWidget* control)
    {
        QTest::mouseClick(
            window.windowHandle(), Qt::LeftButton, {}, control->mapTo(&window, control->rect().center()));
    }
};

// Runs `act` on the modal dialog that `open` shows, from inside the dialog's own event loop;
// `act` must close it, or `open` never returns. Returns whether it ran.
template <typename Dialog>
static bool inModal(const std::function<void()>& open, const std::function<void(Dialog*)>& act)
{
    bool ran = false;
    QObject guard; // drops the call if `open` shows nothing
    const auto onShown = [&] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
            ran = (act(dialog), true);
    };
    QMetaObject::invokeMethod(&guard, onShown, Qt::QueuedConnection);
    open();
    return ran;
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

struct KeyCase {
    const char *focus, *answer; // answer: the folder chosen in the dialog, "" to cancel it; null for none
    int key, startClicks; // key 0 for a click
};
// The items dropped, besides the text "/tmp": in the tree, folders A and B and the file
// photo.jpg; any other name is missing.
struct DropCase {
    const char* target;
    Strings items;
    bool taken;
    const char* after = ""; // the folder the box ends with; empty for all boxes unchanged
    bool locked = false; // dropped while a run has the inputs locked
};

static const QStringList kMenuBlock { u"-"_s, u"オプション=257"_s, u"-"_s, u"バージョン情報=258"_s, u"-"_s, u"プレビュー(&P)...=260"_s, u"元に戻す(&U)=259"_s };
static const Strings kForbidden { "フォルダ名に:?|<>\"*は、使えません" };

enum class Act { Cancel, CloseWhileFiltering, DeleteWhileFiltering };
Q_DECLARE_METATYPE(Act)

enum class Outcome { AllCopied, Cancelled, Closed };
// Keys pressed in turn while a run works, once キャンセル shows or while the files are filtered.
struct RunKeysCase {
    bool whileCopying;
    std::vector<Qt::Key> keys;
    Outcome outcome;
};

// A key as the keyboard delivers it: to the window, which hands it to its focus.
static void press(QWidget& window, Qt::Key key)
{
    QTest::keyClick(window.windowHandle(), key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
}

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Captions and tooltips; a label is its box's buddy and names it for assistive technology.
    void layout_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        const auto row = [](const char* name, const char* caption, const char* tip) {
            QTest::newRow(name) << QString::fromUtf8(caption) << QString::fromUtf8(tip);
        };
        const char* source = "操作する元のフォルダをフルパスで入力";
        const char* destination = "保存先のフォルダをフルパスで入力";
        const char* types = "処理対象にするファイルの拡張子をカンマ（，）で区切って入力";
        row("Label1", "ファイル収集対象フォルダの指定", source);
        row("txtFolder_0", "", source);
        row("cmdRefer_0", "参照", "操作する元のフォルダの選択");
        row("Label2", "保存場所の指定", destination);
        row("txtFolder_1", "{T}", destination);
        row("cmdRefer_1", "参照", "保存先のフォルダの選択");
        row("Frame1", "処理内容", "処理する内容を選択");
        row("optOperat_0", "コピー", "コピーします");
        row("optOperat_1", "移動", "移動します");
        row("optOperat_2", "完全削除", "ごみ箱に入れずに削除します");
        row("optOperat_3", "ごみ箱へ", "ごみ箱に削除します");
        row("Label3", "収集対象ファイルの拡張子の指定", types);
        row("txtFileType", "jpg", types);
        row("cmdStart", "実行", "処理を開始します");
        row("cmdExit", "閉じる", "Quorvaneを閉じます");
    }

    void layout()
    {
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        Window fixture;
        QWidget* control = fixture.control(QTest::currentDataTag());
        QVERIFY(control);
        QCOMPARE(control->property(qobject_cast<QGroupBox*>(control) ? "title" : "text").toString(),
            caption.replace(u"{T}"_s, qs(Module1::TempFolderPath)));
        QCOMPARE(control->toolTip(), toolTip);
        if (auto* label = qobject_cast<QLabel*>(control))
            QCOMPARE(QAccessible::queryAccessibleInterface(label->buddy())->text(QAccessible::Description),
                toolTip);
    }

    // Stored inputs go through the same checks as typed ones, and the choice of operation takes
    // effect. The menu block sits in the menu bar and in the context menu; each entry opens its
    // dialog modally, so the main window takes no input meanwhile, and Enter closes the about
    // box. OK hides the settings dialog with its choice; its close box and the main window's
    // shutdown unload it, so that it starts again at the first choice.
    void menusAndSettingsDialog()
    {
        Window fixture("/in/a?b\r\n/out\r\n 2 \r\npng\r\n");
        frmMain& window = fixture.window;
        QCOMPARE(fixture.texts(), (QStringList { u"/in/ab"_s, u"/out"_s, u"png"_s }));
        QCOMPARE(fixture.user.shown, kForbidden);
        QVERIFY(window.optOperat[frmMain::Delete]->isChecked());
        QVERIFY(!window.txtFolder[frmMain::Destination]->isEnabled());
        QStringList entries;
        for (const QAction* action : window.actions())
            entries << (action->isSeparator() ? u"-"_s : action->text() + u'=' + action->data().toString());
        QCOMPARE(entries, kMenuBlock);
        auto* bar = window.findChild<QMenuBar*>();
        QCOMPARE(bar->actions()[0]->text(), u"メニュー(&M)"_s);
        QCOMPARE(bar->actions()[0]->menu()->actions(), window.actions());

        QRadioButton* move = window.optOperat[frmMain::Move];
        QStringList seen; // each dialog's title, then the choice it starts at or its version
        // Clicks 移動 in the main window while the entry's dialog is open, then presses the
        // buttons in it; with none, closes it by its close box.
        const auto open = [&](int entry, const QStringList& buttons) {
            return inModal<QDialog>([&] { window.actions()[entry]->trigger(); },
                [&](QDialog* dialog) {
                    fixture.click(move);
                    seen << dialog->windowTitle();
                    for (const auto* option : dialog->findChildren<QRadioButton*>())
                        if (option->isChecked())
                            seen << option->objectName();
                    if (auto* version = dialog->findChild<QLabel*>(u"lblVersion"_s)) {
                        seen << version->text();
                        const QLabel* icon = dialog->findChild<QLabel*>(u"picIcon"_s);
                        seen << (icon->pixmap().isNull() ? u"no icon"_s : u"icon"_s);
                        QTest::keyClick(dialog, Qt::Key_Return);
                        seen << (dialog->isVisible() ? u"open"_s : u"closed"_s);
                    }
                    for (const QString& name : buttons)
                        dialog->findChild<QAbstractButton*>(name)->click();
                    if (buttons.isEmpty())
                        dialog->close();
                });
        };
        QVERIFY(open(1, { u"optOption_2"_s, u"cmdOKCancel_0"_s })); // reset the file and the window
        QCOMPARE(fixture.texts(), (QStringList { QString(), qs(Module1::TempFolderPath), u"jpg"_s }));
        QCOMPARE(window.selectedOperation(), run::Operation::Copy);
        QVERIFY(window.txtFolder[frmMain::Destination]->isEnabled());
        QCOMPARE(TempTree::read(fixture.settingsPath), "\r\n" + Module1::TempFolderPath + "\r\n0\r\njpg\r\n");
        QVERIFY(open(1, {}));
        QVERIFY(open(1, { u"cmdOKCancel_1"_s }));
        QVERIFY(open(3, {}));
        QCOMPARE(seen,
            (QStringList { u"初期設定"_s, u"optOption_0"_s, u"初期設定"_s, u"optOption_2"_s, u"初期設定"_s,
                u"optOption_0"_s, u"ﾊﾞｰｼﾞｮﾝ情報 Quorvane"_s, u"Version 4.0"_s, u"icon"_s, u"closed"_s }));
        QVERIFY(!move->isChecked());
        fixture.click(move);
        QVERIFY(move->isChecked());
        QPointer<frmOption> kept = window.systemMenu().option();
        QVERIFY(kept);
        window.close();
        QVERIFY(kept.isNull());
    }

    // Tab walks the controls in their order, stopping at the selected option only; 実行 stays
    // the default button all the way round, after the focus has passed through it as well.
    // Folders handed over at start-up fill the boxes over the stored ones, for this start
    // only: the settings file keeps its bytes, also once the window has closed. A source
    // that is no folder is told at once, as a run would tell it; a destination that is
    // missing is left to the run, which offers to make it.
    void startFolders_data()
    {
        QTest::addColumn<std::string>("source"); // in the tree {R}; empty for none
        QTest::addColumn<std::string>("dest");
        QTest::addColumn<Strings>("boxes"); // the source and destination boxes' bytes after
        QTest::addColumn<Strings>("shown");
        const Strings missing { "フォルダが存在しません。既存のフォルダを選んでください。" };
        QTest::newRow("a folder") << std::string("{R}/photos") << std::string() << Strings { "{R}/photos", "/out" } << Strings {};
        QTest::newRow("both folders, the destination to be made")
            << std::string("{R}/photos") << std::string("{R}/new") << Strings { "{R}/photos", "{R}/new" } << Strings {};
        QTest::newRow("only a destination") << std::string() << std::string("{R}/photos") << Strings { "/in", "{R}/photos" } << Strings {};
        QTest::newRow("a file as the source") << std::string("{R}/notes.txt") << std::string() << Strings { "{R}/notes.txt", "/out" } << missing;
        QTest::newRow("a missing source") << std::string("{R}/gone") << std::string("{R}/photos") << Strings { "{R}/gone", "{R}/photos" } << missing;
    }

    void startFolders()
    {
        QFETCH(std::string, source);
        QFETCH(std::string, dest);
        QFETCH(Strings, boxes);
        QFETCH(Strings, shown);
        const std::string stored = "/in\r\n/out\r\n 0 \r\npng\r\n";
        Window fixture(stored);
        fixture.tree.folder("photos");
        fixture.tree.file("notes.txt");
        fixture.window.openWithFolders(fixture.tree.expand(source), fixture.tree.expand(dest));
        QCOMPARE((Strings { fixture.window.sourceFolderText(), fixture.window.destFolderText() }), fixture.tree.expand(boxes));
        QCOMPARE(fixture.user.shown, shown);
        QCOMPARE(fixture.window.txtFileType->text(), u"png"_s);
        QVERIFY(fixture.window.close());
        QCOMPARE(TempTree::read(fixture.settingsPath), stored);
    }

    void tabOrder()
    {
        Window fixture;
        frmMain& window = fixture.window;
        window.txtFolder[frmMain::Source]->setFocus();
        QStringList stops;
        for (int stop = 0; stop < 9; ++stop) {
            stops << window.focusWidget()->objectName() + (window.cmdStart->isDefault() ? u""_s : u" (実行 not default)"_s);
            press(window, Qt::Key_Tab);
        }
        QCOMPARE(stops,
            (QStringList { u"txtFolder_0"_s, u"cmdRefer_0"_s, u"txtFolder_1"_s, u"cmdRefer_1"_s, u"optOperat_0"_s,
                u"txtFileType"_s, u"cmdStart"_s, u"cmdExit"_s, u"txtFolder_0"_s }));
    }

    void keysAndButtons_data()
    {
        QTest::addColumn<KeyCase>("row");
        QTest::newRow("Return in the destination box")
            << KeyCase { "txtFolder_1", nullptr, Qt::Key_Return, 1 };
        QTest::newRow("keypad Enter in the extension box")
            << KeyCase { "txtFileType", nullptr, Qt::Key_Enter, 1 };
        QTest::newRow("browse cancelled with Return") << KeyCase { "cmdRefer_1", "", Qt::Key_Return, 0 };
        QTest::newRow("browse chosen with a click") << KeyCase { "cmdRefer_0", "写真", 0, 0 };
    }

    void keysAndButtons()
    {
        QFETCH(KeyCase, row);
        Window fixture;
        frmMain& window = fixture.window;
        window.txtFolder[frmMain::Destination]->setText(u"/before"_s);
        const QString chosen = row.answer && *row.answer ? qs(fixture.tree.folder(row.answer)) : QString();
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
        QCOMPARE(window.txtFolder[row.focus == std::string("cmdRefer_0") ? 0 : 1]->text(),
            row.answer ? chosen : u"/before"_s);
        QCOMPARE(fixture.user.folderRequests.size(), std::size_t(row.answer != nullptr));
        for (const auto& request : fixture.user.folderRequests)
            QCOMPARE(request.root, platform::FolderDialog::Root::Desktop);
    }

    // The forbidden characters are taken out of either box with one message, wherever they come
    // in, except in the first two characters (a drive letter and its colon); the caret stays.
    void forbiddenCharacters()
    {
        Window fixture;
        for (QLineEdit* edit : fixture.window.txtFolder) {
            edit->setText(u"C?/x"_s);
            edit->insert(u":?|<>\"*y"_s);
            QCOMPARE(edit->text(), u"C?/xy"_s);
            edit->setCursorPosition(3);
            edit->insert(u"?"_s);
            QCOMPARE(std::pair(edit->text(), edit->cursorPosition()), std::pair(u"C?/xy"_s, 3));
        }
        QCOMPARE(fixture.user.shown, Strings(4, kForbidden[0]));
    }

    void drop_data()
    {
        QTest::addColumn<DropCase>("row");
        QTest::newRow("file, A, B on a box")
            << DropCase { "txtFolder_1", { "photo.jpg", "A", "B" }, true, "B" };
        QTest::newRow("A, file, missing on a button")
            << DropCase { "cmdRefer_0", { "A", "photo.jpg", "gone" }, true, "A" };
        QTest::newRow("text") << DropCase { "txtFolder_0", {}, false };
        QTest::newRow("extension box takes nothing") << DropCase { "txtFileType", { "A" }, false };
        QTest::newRow("inputs locked by a run") << DropCase { "txtFolder_0", { "A" }, false, "", true };
    }

    void drop()
    {
        QFETCH(DropCase, row);
        Window fixture;
        TempTree& tree = fixture.tree;
        tree.folder("A");
        tree.folder("B");
        tree.file("photo.jpg");
        QMimeData data;
        data.setText(u"/tmp"_s);
        QList<QUrl> urls;
        for (const std::string& item : row.items)
            urls << QUrl::fromLocalFile(qs(tree.path(item)));
        if (!urls.isEmpty())
            data.setUrls(urls);
        fixture.window.txtFolder[frmMain::Source]->setText(u"/keep"_s);
        fixture.window.setInputsEnabled(!row.locked);
        QStringList expected = fixture.texts();
        if (*row.after)
            expected[qs(row.target).endsWith(u'1') ? 1 : 0] = qs(tree.path(row.after));
        QCOMPARE(dragAndDrop(fixture.control(row.target), data), std::pair(row.taken, row.taken));
        QCOMPARE(fixture.texts(), expected);
        QVERIFY(fixture.user.shown.empty());
    }

    // Whole runs, acted on by hooks at a chosen yield as a user would: a cancel, a close, a click
    // on an input the run has locked.
    void run_data()
    {
        QTest::addColumn<Act>("act");
        QTest::newRow("キャンセル during the copy") << Act::Cancel;
        // The stop comes first: no word about the empty destination box holds up the close.
        QTest::newRow("closed while filtering, no destination") << Act::CloseWhileFiltering;
        // The click on 完全削除 is refused, and the choice set from code is not read: all is copied.
        QTest::newRow("完全削除 chosen while filtering") << Act::DeleteWhileFiltering;
    }

    void run()
    {
        QFETCH(Act, act);
        const std::size_t files = 120;
        Window fixture;
        frmMain& window = fixture.window;
        TempTree& tree = fixture.tree;
        for (std::size_t i = 0; i < files; ++i)
            tree.file("src/day" + std::to_string(i % 4) + "/IMG_" + std::to_string(i) + ".jpg", std::string(512, 'p'));
        const std::string dest = tree.folder("dest");
        window.collectionRun().setYieldInterval(std::chrono::nanoseconds(0)); // a yield at every step
        window.txtFolder[frmMain::Source]->setText(qs(tree.path("src")));
        const bool noDestination = act == Act::CloseWhileFiltering;
        window.txtFolder[frmMain::Destination]->setText(noDestination ? QString() : qs(dest));
        window.cmdStart->setFocus();

        std::size_t copiedWhenActed = 0;
        bool busySeen = false, locked = true, acted = false, visibleAfterAct = false;
        fixture.user.onYield = [&](int) {
            busySeen |= ( // the window's own hourglass, not an application-wide one
                !window.cmdStart->isEnabled() && window.cursor().shape() == Qt::WaitCursor
                && QApplication::overrideCursor() == nullptr);
            for (QWidget* input : std::initializer_list<QWidget*>{window.txtFolder[0], window.txtFolder[1],
                     window.cmdRefer[0], window.cmdRefer[1], window.txtFileType, window.optOperat[2]})
                locked &= !input->isEnabled();
            const bool copying = window.cmdExit->text() == u"キャンセル"_s;
            if (acted || copying != (act == Act::Cancel) || (copying && namesIn(dest).size() < 30))
                return;
            acted = true;
            copiedWhenActed = namesIn(dest).size();
            if (act == Act::Cancel) {
                QTest::mouseClick(window.cmdExit, Qt::LeftButton);
            } else if (act == Act::CloseWhileFiltering) {
                window.close();
            } else {
                QTest::mouseClick(window.optOperat[frmMain::Delete], Qt::LeftButton);
                locked &= window.optOperat[frmMain::Copy]->isChecked();
                window.optOperat[frmMain::Delete]->setChecked(true);
            }
            visibleAfterAct = window.isVisible(); // a close waits for the run's end
        };
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);

        QVERIFY(acted && busySeen && locked && visibleAfterAct);
        QCOMPARE(namesIn(dest).size(), act == Act::DeleteWhileFiltering ? files : copiedWhenActed);
        QCOMPARE(namesIn(tree.path("src/day0")).size(), files / 4); // no source lost
        QCOMPARE(fixture.user.shown, act == Act::Cancel ? Strings{"処理を中断します"} : Strings{});
        QCOMPARE(window.isVisible(), act != Act::CloseWhileFiltering);
        QVERIFY(window.cmdExit->text() == u"閉じる"_s && window.cmdStart->isEnabled()
            && window.cursor().shape() == Qt::ArrowCursor);
        if (act == Act::CloseWhileFiltering)
            return;
        // The inputs are back as they were, except what was chosen from code, and the
        // focus is where the run was started from, so Enter starts the next run.
        QCOMPARE(window.txtFolder[frmMain::Destination]->isEnabled(), act != Act::DeleteWhileFiltering);
        QVERIFY(window.txtFolder[frmMain::Source]->isEnabled() && window.optOperat[frmMain::Copy]->isEnabled());
        QCOMPARE(window.focusWidget(), static_cast<QWidget*>(window.cmdStart));
        QVERIFY(window.cmdStart->isDefault());
    }

    // A run started with Enter: a second Enter or Space does nothing to it, whatever button
    // the disabled inputs would have handed the focus to; キャンセル or 閉じる takes keys once
    // the user has moved to it with Tab. The focus then goes back to the box Enter came from.
    void keysDuringRun_data()
    {
        QTest::addColumn<RunKeysCase>("row");
        QTest::newRow("Enter while filtering") << RunKeysCase { false, { Qt::Key_Return }, Outcome::AllCopied };
        QTest::newRow("Space while filtering") << RunKeysCase { false, { Qt::Key_Space }, Outcome::AllCopied };
        QTest::newRow("Enter while copying") << RunKeysCase { true, { Qt::Key_Return }, Outcome::AllCopied };
        QTest::newRow("keypad Enter, Space while copying")
            << RunKeysCase { true, { Qt::Key_Enter, Qt::Key_Space }, Outcome::AllCopied };
        QTest::newRow("Tab to キャンセル, Space") << RunKeysCase { true, { Qt::Key_Tab, Qt::Key_Space }, Outcome::Cancelled };
        QTest::newRow("Tab to 閉じる while filtering, Enter")
            << RunKeysCase { false, { Qt::Key_Tab, Qt::Key_Return }, Outcome::Closed };
    }

    void keysDuringRun()
    {
        QFETCH(RunKeysCase, row);
        const std::size_t files = 120;
        Window fixture;
        frmMain& window = fixture.window;
        TempTree& tree = fixture.tree;
        for (std::size_t i = 0; i < files; ++i)
            tree.file("src/IMG_" + std::to_string(i) + ".jpg", std::string(512, 'p'));
        const std::string dest = tree.folder("dest");
        window.collectionRun().setYieldInterval(std::chrono::nanoseconds(0));
        window.txtFolder[frmMain::Source]->setText(qs(tree.path("src")));
        window.txtFolder[frmMain::Destination]->setText(qs(dest));

        bool pressed = false;
        fixture.user.onYield = [&](int) {
            const bool copying = window.cmdExit->text() == u"キャンセル"_s;
            if (pressed || copying != row.whileCopying || (copying && namesIn(dest).size() < 30))
                return;
            pressed = true;
            for (const Qt::Key key : row.keys)
                press(window, key);
        };
        window.txtFileType->setFocus();
        press(window, Qt::Key_Return);

        QVERIFY(pressed);
        const std::size_t copied = namesIn(dest).size();
        QCOMPARE(copied == files, row.outcome == Outcome::AllCopied);
        QCOMPARE(fixture.user.shown, row.outcome == Outcome::Cancelled ? Strings { "処理を中断します" } : Strings {});
        QCOMPARE(window.isVisible(), row.outcome != Outcome::Closed);
        if (row.outcome == Outcome::Closed)
            return;
        QCOMPARE(window.focusWidget(), static_cast<QWidget*>(window.txtFileType));
        QVERIFY(window.cmdStart->isDefault() && window.cmdStart->isEnabled());
    }
};

QUORVANE_GUI_TEST_MAIN(MainWindowTest)

#include "tst_main_window.moc"
