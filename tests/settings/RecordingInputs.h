#pragma once

#include "settings/SettingsInputs.h"

#include <QStringList>

#include <array>

/// The four inputs without a window: starts with the window's design values (no
/// folders, copy, "jpg") and records every change in order, as "name=value".
class RecordingInputs final : public SettingsInputs {
public:
    std::array<QString, 2> folders;
    int operation = 0;
    QString fileType = QStringLiteral("jpg");
    QStringList changes;

    QString folderText(Folder folder) const override { return folders[folder]; }
    void setFolderText(Folder folder, const QString& text) override
    {
        folders[folder] = text;
        changes << (folder == Source ? QStringLiteral("source=") : QStringLiteral("destination="))
                + text;
    }
    int selectedOperation() const override { return operation; }
    void selectOperation(int index) override
    {
        operation = index;
        changes << QStringLiteral("operation=%1").arg(index);
    }
    QString fileTypeText() const override { return fileType; }
    void setFileTypeText(const QString& text) override
    {
        fileType = text;
        changes << QStringLiteral("types=") + text;
    }
};
