#pragma once

#include <QString>

/// The four inputs of the main window that the settings file remembers, and the
/// setting that leaves files the destination holds already. Setting a
/// value must run the same handlers as the user's own change would (the folder-name
/// check, the enabling of the destination), because stored values are treated exactly
/// like typed ones.
class SettingsInputs {
public:
    /// Index of a folder box: the source folder, or the destination folder.
    enum Folder { Source = 0, Destination = 1 };

    virtual ~SettingsInputs() = default;

    virtual QString folderText(Folder folder) const = 0;
    virtual void setFolderText(Folder folder, const QString& text) = 0;

    /// Index of the selected operation (0 copy, 1 move, 2 delete, 3 to the trash);
    /// -1 when none is selected.
    virtual int selectedOperation() const = 0;
    /// Selects the operation of index 0 to 3.
    virtual void selectOperation(int index) = 0;

    virtual QString fileTypeText() const = 0;
    virtual void setFileTypeText(const QString& text) = 0;

    /// Whether a copy or move leaves a file whose bytes the destination holds already.
    virtual bool skipIdentical() const = 0;
    virtual void setSkipIdentical(bool skip) = 0;
};
