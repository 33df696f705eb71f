#pragma once

#include "settings/SettingsInputs.h"

#include <QPointer>

#include <array>

class QLineEdit;
class QRadioButton;
class QWidget;

/// The four inputs as the main window's own controls, found by their object names
/// (txtFolder_0, txtFolder_1, optOperat_0 to optOperat_3, txtFileType). Values are set
/// through the controls' ordinary setters, so the window's change handlers run. The
/// skipping of identical files is the window's property "skipIdentical".
class WindowInputs final : public SettingsInputs {
public:
    explicit WindowInputs(QWidget& window);

    QString folderText(Folder folder) const override;
    void setFolderText(Folder folder, const QString& text) override;
    int selectedOperation() const override;
    void selectOperation(int index) override;
    QString fileTypeText() const override;
    void setFileTypeText(const QString& text) override;
    bool skipIdentical() const override;
    void setSkipIdentical(bool skip) override;

private:
    std::array<QPointer<QLineEdit>, 2> m_folders;
    std::array<QPointer<QRadioButton>, 4> m_operations;
    QPointer<QLineEdit> m_fileType;
    QPointer<QWidget> m_window;
};
