#pragma once

#include "platform/EventPump.h"
#include "platform/MessageBox.h"
#include "platform/TextCompare.h"
#include "platform/UserServices.h"
#include "platform/qt/QtFolderDialog.h"
#include "platform/qt/QtOperationWindow.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace platform {

/// The user-facing services of the program, carried out with Qt widgets. Messages and
/// questions may come from any thread; they are shown on the window's thread.
class QtUserServices final : public MessageBox, public EventPump, public TextCompare {
public:
    QtUserServices() = default;

    /// Window that owns the message boxes; none by default.
    void setOwnerWindow(QWidget* window) { m_owner = window; }

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    bool askYesNoDefaultNo(const std::string& text) override;
    void yield() override;
    bool equalIgnoringCase(std::string_view left, std::string_view right) override;

    UserServices services()
    {
        return UserServices{*this, *this, *this, m_operations, m_operations, m_folderDialog};
    }
    QtOperationWindow& operationWindow() { return m_operations; }

    /// Called with each message box and question just before it runs: lets tests act
    /// on them.
    std::function<void(QMessageBox&)> onMessage;

private:
    bool ask(const std::string& text, QMessageBox::StandardButton defaultButton);

    QPointer<QWidget> m_owner;
    QtOperationWindow m_operations;
    QtFolderDialog m_folderDialog;
};

} // namespace platform
