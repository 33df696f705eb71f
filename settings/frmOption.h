#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <string>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class SettingsInputs;

namespace platform {
class MessageBox;
}

/// The settings dialog "初期設定": saves the main window's inputs to the settings
/// file, or resets the file, or resets the file and the window. OK and Cancel only hide
/// it, so it keeps its choice for the next opening; its close box asks its owner to
/// unload it, so the next opening starts afresh. Its check box shows, each time the
/// dialog comes up, whether the window leaves identical files; OK sets it.
class frmOption final : public QDialog {
    Q_OBJECT

public:
    /// What the dialog works on.
    struct Context {
        SettingsInputs& inputs;        // the main window's four inputs
        QString TempFolderPath;        // the destination the resets put in
        std::string settingsPath;      // the settings file
        platform::MessageBox& messages; // where a failed save is reported
    };

    explicit frmOption(Context context, QWidget* parent = nullptr);

    /// True once the user closed the dialog with its close box.
    bool isUnloadRequested() const { return m_unloadRequested; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdOKCancel_Click(int Index);
    void cmdOK_Click();
    void resetWindow();

    Context m_context;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> optOption{};
    std::array<QPushButton*, 2> cmdOKCancel{};
    QCheckBox* chkSkipIdentical = nullptr;
    bool m_unloadRequested = false;
};
