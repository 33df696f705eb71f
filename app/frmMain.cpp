#include "app/frmMain.h"

#include "app/DesktopNotifier.h"
#include "app/PlanPreview.h"
#include "app/PreviewWindow.h"
#include "app/RunEndNotice.h"
#include "app/RunProgressWindow.h"
#include "app/SystemMenuHook.h"
#include "platform/EventPump.h"
#include "platform/MessageBox.h"
#include "platform/qt/FormLook.h"
#include "platform/qt/FormMetrics.h"
#include "run/CollectionRun.h"
#include "run/RunTexts.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "settings/WindowInputs.h"
#include "toolkit/clsFileFolder.h"

#include <QCloseEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace {

const QString kApplicationTitle = QStringLiteral("Quorvane");

// Characters that no folder name may hold. "/" separates the folders of a path here,
// so it is not among them.
const QString kForbiddenInFolderName = QStringLiteral(":?|<>\"*");

// Positions are laid out in twips, 15 to a device-independent pixel; Qt scales the
// pixels for the screen.
QRect twips(int left, int top, int width, int height)
{
    return platform::twipsRect(left, top, width, height);
}

constexpr qreal kCaptionPointSize = 10.5;
constexpr qreal kTextBoxPointSize = 12.0;

// How often a long drop lets the window repaint and take clicks.
constexpr qsizetype kDropItemsPerYield = 20;

template <typename Control>
Control* place(QWidget* parent, const char* name, const QString& caption, const QString& toolTip,
               const QRect& geometry)
{
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    if (!caption.isEmpty()) {
        if constexpr (std::is_same_v<Control, QGroupBox>)
            control->setTitle(caption);
        else
            control->setText(caption);
    }
    control->setToolTip(toolTip);
    control->setGeometry(geometry);
    return control;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& toolTip, const QRect& geometry,
                   const QString& accessibleName)
{
    auto* box = place<QLineEdit>(parent, name, {}, toolTip, geometry);
    box->setFont(platform::interfaceFont(kTextBoxPointSize));
    box->setAccessibleName(accessibleName);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& toolTip, const QRect& geometry)
{
    auto* pushButton = place<QPushButton>(parent, name, caption, toolTip, geometry);
    // Enter presses the button that has the focus, as on any button of a dialog.
    pushButton->setAutoDefault(true);
    return pushButton;
}

// The items of a file list: URLs, all of them local files or folders. Empty for
// anything else.
QList<QUrl> fileList(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return {};
    QList<QUrl> urls = data->urls();
    if (!std::all_of(urls.cbegin(), urls.cend(), [](const QUrl& url) { return url.isLocalFile(); }))
        return {};
    return urls;
}

std::string bytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

frmMain::frmMain(platform::UserServices services, QWidget* parent, std::string settingsPath)
    : QWidget(parent),
      m_services(services),
      m_settingsPath(settingsPath.empty() ? settings::settingsFilePath() : std::move(settingsPath))
{
    setObjectName(QStringLiteral("frmMain"));
    createControls();
    m_runWindow = new RunProgressWindow(this, [this] { collectionRun().cancelClick(); });
    m_runWindow->setFont(font());
    m_notifier = new DesktopNotifier(this);
    m_endNotice = std::make_unique<RunEndNotice>(*m_runWindow, *m_notifier);
    connect(m_notifier, &DesktopNotifier::activated, this, &frmMain::raiseReport);
    // Nothing is left to save or close: every file the run placed is in its journal,
    // and the one in flight has no name yet.
    exitWhileWaiting = [] { std::_Exit(EXIT_FAILURE); };
    m_closeWatch = new QTimer(this);
    m_closeWatch->setInterval(50);
    connect(m_closeWatch, &QTimer::timeout, this, &frmMain::closeWhileWaiting);
    startUp();
}

frmMain::~frmMain() = default;

void frmMain::createControls()
{
    // Fixed size with a minimize button and no maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setWindowIcon(platform::applicationIcon());
    setFont(platform::interfaceFont(kCaptionPointSize));

    // The controls sit at fixed places in a client area of fixed size; a menu bar can
    // be put above it through the layout, and the window grows by its height.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(twips(0, 0, 5880, 2790).size());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(client);

    // Created in tab order, which makes the focus chain.
    const QString sourceTip = tr("操作する元のフォルダをフルパスで入力");
    Label1 = place<QLabel>(
        client, "Label1", tr("ファイル収集対象フォルダの指定"), sourceTip, twips(60, 60, 3000, 240));
    txtFolder[Source] = textBox(client, "txtFolder_0", sourceTip, twips(120, 300, 4800, 360),
                                Label1->text());
    cmdRefer[Source] = button(
        client, "cmdRefer_0", tr("参照"), tr("操作する元のフォルダの選択"), twips(4980, 300, 792, 375));

    const QString destinationTip = tr("保存先のフォルダをフルパスで入力");
    Label2 = place<QLabel>(client, "Label2", tr("保存場所の指定"), destinationTip, twips(60, 720, 1500, 240));
    txtFolder[Destination] = textBox(client, "txtFolder_1", destinationTip,
                                     twips(120, 960, 4800, 360), Label2->text());
    cmdRefer[Destination]
        = button(client, "cmdRefer_1", tr("参照"), tr("保存先のフォルダの選択"), twips(4980, 960, 795, 375));

    Frame1 = place<QGroupBox>(
        client, "Frame1", tr("処理内容"), tr("処理する内容を選択"), twips(120, 1410, 2400, 1140));
    optOperat[Copy] = place<QRadioButton>(
        Frame1, "optOperat_0", tr("コピー"), tr("コピーします"), twips(120, 300, 840, 300));
    optOperat[Move]
        = place<QRadioButton>(Frame1, "optOperat_1", tr("移動"), tr("移動します"), twips(120, 720, 840, 300));
    optOperat[Delete] = place<QRadioButton>(
        Frame1, "optOperat_2", tr("完全削除"), tr("ごみ箱に入れずに削除します"), twips(1140, 300, 1140, 300));
    optOperat[Recycle] = place<QRadioButton>(
        Frame1, "optOperat_3", tr("ごみ箱へ"), tr("ごみ箱に削除します"), twips(1140, 720, 1140, 300));

    const QString typesTip = tr("処理対象にするファイルの拡張子をカンマ（，）で区切って入力");
    Label3 = place<QLabel>(
        client, "Label3", tr("収集対象ファイルの拡張子の指定"), typesTip, twips(2700, 1410, 3075, 255));
    txtFileType = textBox(client, "txtFileType", typesTip, twips(2760, 1650, 3015, 360),
                          Label3->text());
    txtFileType->setText(QStringLiteral("jpg"));

    cmdStart = button(client, "cmdStart", tr("実行"), tr("処理を開始します"), twips(2820, 2100, 1140, 570));
    cmdStart->setDefault(true);
    // 実行 stays the default button wherever the focus is. An auto-default button
    // outside a dialog gives up that role each time the focus leaves it.
    cmdStart->setAutoDefault(false);
    cmdExit = button(client, "cmdExit", tr("閉じる"), tr("Quorvaneを閉じます"), twips(4560, 2100, 1140, 570));

    Label1->setBuddy(txtFolder[Source]);
    Label2->setBuddy(txtFolder[Destination]);
    Label3->setBuddy(txtFileType);
    for (QRadioButton* option : optOperat)
        option->setAccessibleName(option->text());

    // Both folder boxes and both browse buttons take dropped folders; the handling is
    // ours, so the boxes' own dropping of text is bypassed. Nothing else takes drops.
    txtFileType->setAcceptDrops(false);
    for (std::size_t i = 0; i < txtFolder.size(); ++i) {
        const auto index = static_cast<FolderIndex>(i);
        txtFolder[i]->installEventFilter(this);
        cmdRefer[i]->setAcceptDrops(true);
        cmdRefer[i]->installEventFilter(this);
        connect(txtFolder[i], &QLineEdit::textChanged, this, [this, index] { CheckFolderText(index); });
        connect(cmdRefer[i], &QPushButton::clicked, this, [this, index] { cmdRefer_Click(index); });
    }
    for (QRadioButton* option : optOperat)
        connect(option, &QRadioButton::toggled, this, &frmMain::operationChosen);
    optOperat[Copy]->setChecked(true);
    connect(cmdStart, &QPushButton::clicked, this, &frmMain::cmdStart_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
}

void frmMain::startUp()
{
    setWindowTitle(kApplicationTitle);

    m_systemMenu = std::make_unique<SystemMenuHook>(*this, m_settingsPath, m_services.messages);
    m_systemMenu->install();

    Module1::TempFolderPath = fileFolder().GetTempFolder();

    // Last, so that stored values go through the same checks as typed ones.
    WindowInputs inputs(*this);
    LoadSettings(m_settingsPath, inputs, QFile::decodeName(QByteArray::fromStdString(Module1::TempFolderPath)));
}

void frmMain::openWithFolders(const std::string& source, const std::string& dest)
{
    // Through the boxes, as a typed or dropped folder goes, so the same checks run.
    const auto fill = [](QLineEdit* box, const std::string& path) {
        if (!path.empty())
            box->setText(QFile::decodeName(QByteArray::fromStdString(path)));
    };
    fill(txtFolder[Source], source);
    fill(txtFolder[Destination], dest);
    // A missing destination is left to the run, which offers to make it.
    if (!source.empty() && !fileFolder().FolderExist(sourceFolderText()))
        m_services.messages.showMessage(run::texts::sourceFolderMissing());
}

void frmMain::raiseReport()
{
    // The report is a window of this one, which a desktop may have minimized with it.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!m_runWindow->bringUp()) {
        raise();
        activateWindow();
    }
}

void frmMain::shutDown()
{
    if (Module1::PrevWndProc != nullptr)
        setWindowProcedure(Module1::PrevWndProc);
    m_runWindow->hide(); // a report left open would keep the program running
    // The preview stays until the window goes: a close can come from its own run, while
    // it is still on the call stack. It touches the run no more after a close.
    m_run.reset();
    objFileFolder.reset();
    m_systemMenu->unloadOption();
}

clsFileFolder& frmMain::fileFolder()
{
    if (!objFileFolder)
        objFileFolder = std::make_unique<clsFileFolder>(m_services);
    return *objFileFolder;
}

run::CollectionRun& frmMain::collectionRun()
{
    if (!m_run)
    {
        m_run = std::make_unique<run::CollectionRun>(*this, fileFolder(), m_services);
        m_run->setMonitor(m_endNotice.get());
    }
    return *m_run;
}

Module1::WindowProcedure frmMain::setWindowProcedure(Module1::WindowProcedure procedure)
{
    return std::exchange(m_windowProcedure, procedure);
}

bool frmMain::defaultProcedure(HookedWindow& window, QEvent* event)
{
    return window.ownEvent(event);
}

bool frmMain::ownEvent(QEvent* event)
{
    return QWidget::event(event);
}

bool frmMain::event(QEvent* event)
{
    return m_windowProcedure(*this, event);
}

void frmMain::cmdRefer_Click(FolderIndex index)
{
    beginNestedWork();
    clsFileFolder& toolkit = fileFolder();
    toolkit.RealFolderOnly(true);
    // Whatever comes back is set, so a cancelled dialog empties the box.
    txtFolder[index]->setText(QFile::decodeName(QByteArray::fromStdString(toolkit.ReferDesktop())));
    endNestedWork();
}

void frmMain::cmdStart_Click()
{
    // No run starts once the window has been asked to close.
    if (m_closePending)
        return;
    collectionRun().setSkipIdentical(m_skipIdentical);
    const run::WindowAction action = collectionRun().cmdStartClick();
    m_systemMenu->refreshUndo();
    if (action == run::WindowAction::Close)
        close();
}

void frmMain::previewRun()
{
    if (m_closePending)
        return;
    if (!m_preview) {
        m_preview = std::make_unique<PlanPreview>(PlanPreview::Window{
            *this, collectionRun(), m_runWindow, m_services.messages, [this] { return m_skipIdentical; },
            [this] { return m_closePending; },
            [this](run::WindowAction action) {
                m_systemMenu->refreshUndo();
                if (action == run::WindowAction::Close)
                    close();
            },
            [this] { m_runWindow->hide(); }});
    }
    m_preview->start();
}

PreviewWindow* frmMain::previewWindow() const
{
    return m_preview ? m_preview->window() : nullptr;
}

bool frmMain::canUndoLastRun()
{
    return !collectionRun().isRunning() && collectionRun().undoOffer().has_value();
}

void frmMain::undoLastRun()
{
    if (m_closePending)
        return;
    const run::WindowAction action = collectionRun().undoLastClick();
    m_systemMenu->refreshUndo();
    if (action == run::WindowAction::Close)
        close();
}

void frmMain::cmdExit_Click()
{
    if (collectionRun().cmdExitClick() == run::WindowAction::Close)
        close();
    else
        watchClose();
}

void frmMain::watchClose()
{
    if (m_run && m_run->isClosing() && !m_closeWatch->isActive())
        m_closeWatch->start();
}

void frmMain::closeWhileWaiting()
{
    // The run stops at its next file, once the call in flight returns. One that does
    // not return (a share gone, a phone unplugged) would keep the closed window's
    // program running for good: tell which file stays undone, and end.
    if (!m_run || !m_run->isClosing()) {
        m_closeWatch->stop();
        return;
    }
    const std::optional<std::string> stalled = m_run->stalledOn(m_stallBeforeExit);
    if (!stalled || m_tellingUnfinished)
        return;
    m_closeWatch->stop();
    m_tellingUnfinished = true;
    m_services.messages.showMessage(run::texts::unfinishedAtExit(*stalled));
    m_tellingUnfinished = false;
    // It may have come back while the message was read: then the run ends as usual.
    if (m_run && m_run->isClosing() && m_run->stalledOn(std::chrono::nanoseconds(0)))
        exitWhileWaiting();
    watchClose();
}

void frmMain::CheckFolderText(FolderIndex index)
{
    QLineEdit* box = txtFolder[index];
    const QString text = box->text();
    const int caret = box->cursorPosition();
    // The first two characters are left as they are: a path written on Windows starts
    // with a drive letter and its colon.
    QString rest = text.size() > 2 ? text.mid(2) : QString();
    if (std::none_of(rest.cbegin(), rest.cend(),
                     [](QChar c) { return kForbiddenInFolderName.contains(c); }))
        return;

    m_services.messages.showMessage(tr("フォルダ名に:?|<>\"*は、使えません").toStdString());
    for (const QChar forbidden : kForbiddenInFolderName)
        rest.remove(forbidden, Qt::CaseInsensitive);
    // Setting the text runs this check again, which then finds nothing.
    box->setText(text.left(2) + rest);
    if (caret != 0)
        box->setCursorPosition(std::min(caret - 1, static_cast<int>(box->text().size())));
}

void frmMain::operationChosen()
{
    // Tab stops at the selected option only; the arrow keys move within the group.
    for (QRadioButton* option : optOperat)
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);

    // A choice made from code while a run has the inputs locked (the settings dialog
    // resetting the window) takes effect on the destination pair once the run ends.
    if (m_inputsLocked)
        return;
    const bool enabled = !optOperat[Delete]->isChecked() && !optOperat[Recycle]->isChecked();
    txtFolder[Destination]->setEnabled(enabled);
    cmdRefer[Destination]->setEnabled(enabled);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    for (std::size_t i = 0; i < txtFolder.size(); ++i) {
        if (watched != txtFolder[i] && watched != cmdRefer[i])
            continue;
        const bool dragEvent = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove
            || event->type() == QEvent::Drop;
        // A drop during a run would change a box the run no longer reads.
        if (dragEvent && m_inputsLocked) {
            event->ignore();
            return true;
        }
        switch (event->type()) {
        case QEvent::DragEnter:
            // A drag's data stays the same until it ends; a long file list is read once.
            m_dragCarriesFiles = !fileList(static_cast<QDragEnterEvent*>(event)->mimeData()).isEmpty();
            decideDropEffect(static_cast<QDragEnterEvent*>(event));
            return true;
        case QEvent::DragMove:
            decideDropEffect(static_cast<QDragMoveEvent*>(event));
            return true;
        case QEvent::DragLeave:
            return true;
        case QEvent::Drop:
            dropFolders(static_cast<FolderIndex>(i), static_cast<QDropEvent*>(event));
            return true;
        default:
            return false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::decideDropEffect(QDragMoveEvent* event) const
{
    // Copy is the only effect ever offered back: a source that was told "move" could
    // delete its files once they are dropped here.
    if (m_dragCarriesFiles && (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void frmMain::dropFolders(FolderIndex index, QDropEvent* event)
{
    const QList<QUrl> items = fileList(event->mimeData());
    if (items.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();

    // The box ends up holding the last existing folder among the items.
    beginNestedWork();
    for (qsizetype item = 1; item <= items.size(); ++item) {
        if (item % kDropItemsPerYield == 0) {
            m_services.events.yield();
            if (m_closePending)
                break;
        }
        const QString path = items[item - 1].toLocalFile();
        if (fileFolder().FolderExist(bytes(path)))
            txtFolder[index]->setText(path);
    }
    endNestedWork();
}

void frmMain::endNestedWork()
{
    if (--m_nestedWork == 0 && m_closePending) {
        m_closePending = false;
        close();
    }
}

void frmMain::keyPressEvent(QKeyEvent* event)
{
    // Text boxes and option buttons leave Enter to the window, which gives it to its
    // default button, as a dialog does.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        cmdStart->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Work that lets events run is still on the call stack: the window closes once it
    // has ended. A run stops at its next test of the cancel flag.
    if (m_run && m_run->isRunning()) {
        m_run->requestClose();
        event->ignore();
        watchClose();
        return;
    }
    if (m_nestedWork > 0) {
        m_closePending = true;
        event->ignore();
        return;
    }
    shutDown();
    event->accept();
}

std::string frmMain::sourceFolderText() const
{
    return bytes(txtFolder[Source]->text());
}

std::string frmMain::destFolderText() const
{
    return bytes(txtFolder[Destination]->text());
}

std::string frmMain::fileTypesText() const
{
    return txtFileType->text().toStdString();
}

run::Operation frmMain::selectedOperation() const
{
    // Recycle whenever none of the others is selected.
    for (const OperatIndex index : {Copy, Move, Delete})
        if (optOperat[index]->isChecked())
            return static_cast<run::Operation>(index);
    return run::Operation::Recycle;
}

std::string frmMain::exitCaption() const
{
    return cmdExit->text().toStdString();
}

void frmMain::setExitCaption(const std::string& caption)
{
    cmdExit->setText(QString::fromStdString(caption));
}

void frmMain::setStartEnabled(bool enabled)
{
    cmdStart->setEnabled(enabled);
}

void frmMain::setBusyPointer(bool busy)
{
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void frmMain::focusField(run::InputField field)
{
    QWidget* box = field == run::InputField::SourceFolder ? txtFolder[Source]
        : field == run::InputField::DestFolder            ? txtFolder[Destination]
                                                          : txtFileType;
    if (m_inputsLocked)
        m_focusAfterRun = box;
    else
        box->setFocus();
}

void frmMain::setInputsEnabled(bool enabled)
{
    if (!enabled) {
        if (m_inputsLocked)
            return;
        m_inputsLocked = true;
        m_focusBeforeRun = focusWidget();
        m_focusAfterRun = nullptr;
        // The window itself holds the focus while the inputs are locked. Left to Qt, the
        // focus would pass to the next enabled control, 閉じる or キャンセル, and a second
        // Enter or Space would close the window or cancel the run. Here Enter falls on
        // the disabled 実行; キャンセル takes keys once it is clicked or reached with Tab.
        setFocus(Qt::OtherFocusReason);
        m_enabledBeforeRun.clear();
        std::vector<QWidget*> inputs{txtFolder[Source], txtFolder[Destination], cmdRefer[Source],
                                     cmdRefer[Destination], txtFileType};
        inputs.insert(inputs.end(), optOperat.begin(), optOperat.end());
        for (QWidget* input : inputs) {
            m_enabledBeforeRun.emplace_back(input, input->isEnabled());
            input->setEnabled(false);
        }
        return;
    }
    if (!m_inputsLocked)
        return;
    m_inputsLocked = false;
    for (const auto& [input, wasEnabled] : m_enabledBeforeRun)
        input->setEnabled(wasEnabled);
    operationChosen();
    if (QWidget* focus = m_focusAfterRun ? m_focusAfterRun : m_focusBeforeRun)
        focus->setFocus();
}
