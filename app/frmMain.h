#pragma once

#include "app/HookedWindow.h"
#include "app/Module1.h"
#include "platform/UserServices.h"
#include "run/RunWindow.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class DesktopNotifier;
class PlanPreview;
class PreviewWindow;
class QDragMoveEvent;
class QDropEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class RunEndNotice;
class QTimer;
class RunProgressWindow;
class SystemMenuHook;
class clsFileFolder;

namespace run {
class CollectionRun;
}

/// The program's one main window: the inputs of a collection run, the browse buttons,
/// the start and close buttons. Its controls are public by their names, for the run
/// and the settings dialog; setting a text or an option from code runs the same
/// checks as the user's change does.
class frmMain final : public QWidget, public run::RunWindow, public HookedWindow {
    Q_OBJECT
    // Whether a copy or move leaves files whose bytes the destination holds already;
    // the settings dialog and file set it.
    Q_PROPERTY(bool skipIdentical READ skipIdentical WRITE setSkipIdentical)

public:
    /// Indices of txtFolder and cmdRefer: a button browses for the box of its index.
    enum FolderIndex : std::size_t { Source = 0, Destination = 1 };
    /// Indices of optOperat; the same values as run::Operation.
    enum OperatIndex : std::size_t { Copy = 0, Move = 1, Delete = 2, Recycle = 3 };

    /// Builds the window and carries out the start-up steps, before it is shown.
    /// `settingsPath` is the settings file read at start-up and written by the
    /// settings dialog; empty for the program's own (settings::settingsFilePath()).
    explicit frmMain(platform::UserServices services, QWidget* parent = nullptr,
                     std::string settingsPath = {});
    ~frmMain() override;

    QLabel* Label1;
    std::array<QLineEdit*, 2> txtFolder;
    std::array<QPushButton*, 2> cmdRefer;
    QLabel* Label2;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 4> optOperat;
    QLabel* Label3;
    QLineEdit* txtFileType;
    QPushButton* cmdStart;
    QPushButton* cmdExit;

    /// Fills in the folder boxes given at start-up, after the settings were read, for this
    /// start only: nothing is written to the settings file. Empty texts leave a box as it
    /// is. A source that is no folder gets the run's message for it at once, over the
    /// shown window, rather than at the first 実行.
    void openWithFolders(const std::string& source, const std::string& dest);

    /// The window's toolkit object, made again if the window has released it.
    clsFileFolder& fileFolder();
    /// The collection run that cmdStart starts, made on first use.
    run::CollectionRun& collectionRun();
    /// The window that follows a run and reports on it.
    RunProgressWindow& runWindow() { return *m_runWindow; }
    /// What tells the desktop that a long run has ended while the user was elsewhere,
    /// and the notifier it tells; a click on the notification brings the report up.
    RunEndNotice& runEndNotice() { return *m_endNotice; }
    DesktopNotifier& notifier() { return *m_notifier; }
    /// The preview's window, once プレビュー has shown one.
    PreviewWindow* previewWindow() const;

    /// Ends the program at once: the window was closed while a call into the file
    /// system of the run did not come back, and nothing waits for it any more.
    std::function<void()> exitWhileWaiting;
    /// How long such a call must have hung before a close ends the program.
    void setStallBeforeExit(std::chrono::milliseconds stall) { m_stallBeforeExit = stall; }

    bool skipIdentical() const { return m_skipIdentical; }
    void setSkipIdentical(bool skip) { m_skipIdentical = skip; }

    // The window as its menu hook sees it.
    QWidget& widget() override { return *this; }
    SystemMenuHook& systemMenu() override { return *m_systemMenu; }
    Module1::WindowProcedure setWindowProcedure(Module1::WindowProcedure procedure) override;
    bool ownEvent(QEvent* event) override;
    bool canUndoLastRun() override;
    void undoLastRun() override;
    void previewRun() override;
    /// The handler in front of the window's own handling until another is installed.
    static bool defaultProcedure(HookedWindow& window, QEvent* event);

    // The window as a collection run sees it.
    std::string sourceFolderText() const override;
    std::string destFolderText() const override;
    std::string fileTypesText() const override;
    run::Operation selectedOperation() const override;
    std::string exitCaption() const override;
    void setExitCaption(const std::string& caption) override;
    void setStartEnabled(bool enabled) override;
    void setBusyPointer(bool busy) override;
    void focusField(run::InputField field) override;
    void setInputsEnabled(bool enabled) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void startUp();
    void shutDown();

    void cmdRefer_Click(FolderIndex index);
    void cmdStart_Click();
    void cmdExit_Click();
    void CheckFolderText(FolderIndex index);
    void operationChosen();
    void decideDropEffect(QDragMoveEvent* event) const;
    void dropFolders(FolderIndex index, QDropEvent* event);

    void raiseReport();
    void watchClose();
    void closeWhileWaiting();

    void beginNestedWork() { ++m_nestedWork; }
    void endNestedWork();

    platform::UserServices m_services;
    std::string m_settingsPath;
    std::unique_ptr<SystemMenuHook> m_systemMenu;
    std::unique_ptr<clsFileFolder> objFileFolder;
    std::unique_ptr<RunEndNotice> m_endNotice; // the run's monitor: it outlives the run
    std::unique_ptr<run::CollectionRun> m_run;
    std::unique_ptr<PlanPreview> m_preview; // made on first use
    bool m_skipIdentical = false;
    RunProgressWindow* m_runWindow; // a child window, owned by this one
    DesktopNotifier* m_notifier;    // a child object
    // While a close waits for the run to stop: looks whether a call holds the run up.
    QTimer* m_closeWatch;
    std::chrono::milliseconds m_stallBeforeExit{300};
    bool m_tellingUnfinished = false; // its message is up
    Module1::WindowProcedure m_windowProcedure = &frmMain::defaultProcedure;

    // Handlers that let events run while they work (drops, the folder dialog). A close
    // request arriving meanwhile waits for them: the close releases what they use.
    int m_nestedWork = 0;
    bool m_closePending = false;
    bool m_dragCarriesFiles = false;

    // While a run has the inputs locked: each locked control with its enabled state
    // before, where the focus was, and where the run asked it to go.
    bool m_inputsLocked = false;
    std::vector<std::pair<QWidget*, bool>> m_enabledBeforeRun;
    QPointer<QWidget> m_focusBeforeRun;
    QPointer<QWidget> m_focusAfterRun;
};
