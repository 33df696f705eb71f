#include "app/SystemMenuHook.h"

#include "about/frmAbout.h"
#include "app/HookedWindow.h"
#include "app/Module1.h"
#include "settings/frmOption.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QFile>
#include <QShortcut>
#include <QWidget>

QEvent::Type SystemCommandEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

SystemMenuHook::SystemMenuHook(HookedWindow& window, std::string settingsPath,
                               platform::MessageBox& messages)
    : m_hooked(window),
      m_window(window.widget()),
      m_inputs(window.widget()),
      m_settingsPath(std::move(settingsPath)),
      m_messages(messages)
{
}

SystemMenuHook::~SystemMenuHook()
{
    unloadOption();
}

void SystemMenuHook::install()
{
    m_menu = new QMenu(tr("メニュー(&M)"), &m_window);
    m_menu->setObjectName(QStringLiteral("mnuSystem"));
    const auto addEntry = [this](const QString& text, int command, bool separated = true) {
        if (separated)
            m_menu->addSeparator();
        QAction* entry = m_menu->addAction(text);
        entry->setData(command);
        connect(entry, &QAction::triggered, &m_window, [this, command] {
            SystemCommandEvent event(command);
            QCoreApplication::sendEvent(&m_window, &event);
        });
        return entry;
    };
    addEntry(tr("オプション"), kCommandOption);
    addEntry(tr("バージョン情報"), kCommandAbout);
    m_preview = addEntry(tr("プレビュー(&P)..."), kCommandPreview);
    m_undo = addEntry(tr("元に戻す(&U)"), kCommandUndo, false);
    connect(m_menu, &QMenu::aboutToShow, this, &SystemMenuHook::refreshUndo);
    refreshUndo();
    addMenuBar();

    // Controls with a menu of their own (the text boxes) keep it; a right-click
    // anywhere else reaches the window and shows the block.
    m_window.addActions(m_menu->actions());
    m_window.setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const QKeySequence& keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto* shortcut = new QShortcut(keys, &m_window);
        connect(shortcut, &QShortcut::activated, this, &SystemMenuHook::popUpFromKeyboard);
    }

    Module1::PrevWndProc = m_hooked.setWindowProcedure(&Module1::MainWndProc);
}

void SystemMenuHook::refreshUndo()
{
    if (m_undo)
        m_undo->setEnabled(m_hooked.canUndoLastRun());
}

void SystemMenuHook::unloadOption()
{
    delete m_option.data();
}

void SystemMenuHook::showOption()
{
    if (!m_option)
        m_option = new frmOption(
            frmOption::Context{m_inputs, QFile::decodeName(QByteArray::fromStdString(Module1::TempFolderPath)),
                               m_settingsPath, m_messages},
            &m_window);
    if (m_option->isVisible())
        return;
    m_option->exec();
    if (m_option && m_option->isUnloadRequested())
        unloadOption();
}

void SystemMenuHook::showAbout()
{
    frmAbout box(ProgramInfo::ofThisProgram(), &m_window);
    box.exec();
}

void SystemMenuHook::addMenuBar()
{
    auto* bar = new QMenuBar(&m_window);
    bar->setObjectName(QStringLiteral("menuBar"));
    // A desktop-wide menu bar would take the block out of the window.
    bar->setNativeMenuBar(false);
    bar->addMenu(m_menu);
    if (QLayout* layout = m_window.layout()) {
        layout->setMenuBar(bar);
        return;
    }
    // Controls placed by position: the bar goes above them and the window grows by its
    // height, so the area below it stays as it was.
    const int height = bar->sizeHint().height();
    for (QWidget* child : m_window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != bar && !child->isWindow())
            child->move(child->x(), child->y() + height);
    bar->setGeometry(0, 0, m_window.width(), height);
    const QSize size(m_window.width(), m_window.height() + height);
    if (m_window.minimumSize() == m_window.maximumSize())
        m_window.setFixedSize(size);
    else
        m_window.resize(size);
}

void SystemMenuHook::popUpFromKeyboard()
{
    // As the Menu key does where the platform sends it: to the control with the focus,
    // which shows its own menu or leaves it to the window.
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr || target->window() != &m_window)
        target = &m_window;
    const QPoint position = target->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, position, target->mapToGlobal(position));
    QCoreApplication::sendEvent(target, &event);
}

namespace Module1 {

bool MainWndProc(HookedWindow& window, QEvent* event)
{
    if (event->type() == SystemCommandEvent::eventType()) {
        const int command = static_cast<SystemCommandEvent*>(event)->command();
        if (command == SystemMenuHook::kCommandOption)
            window.systemMenu().showOption();
        else if (command == SystemMenuHook::kCommandAbout)
            window.systemMenu().showAbout();
        else if (command == SystemMenuHook::kCommandUndo)
            window.undoLastRun();
        else if (command == SystemMenuHook::kCommandPreview)
            window.previewRun();
    }
    return PrevWndProc ? PrevWndProc(window, event) : window.ownEvent(event);
}

} // namespace Module1
