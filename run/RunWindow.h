#pragma once

#include <string>

namespace run {

/// The operation chosen in the main window; the values are the indices of the
/// optOperat buttons, which is also what the settings file stores.
enum class Operation { Copy = 0, Move = 1, Delete = 2, Recycle = 3 };

/// The four inputs of a run, read from the window once, as the run starts. A run works
/// only on these: a click on another operation or an edit of a box while it works must
/// not change what it does to the user's files.
struct RunInputs {
    std::string sourceFolder;
    std::string destFolder;
    std::string fileTypes;
    Operation operation = Operation::Copy;
};

/// The input boxes the run can send the keyboard focus to.
enum class InputField { SourceFolder, DestFolder, FileTypes };

/// The part of the main window a collection run reads and changes. The main window
/// implements it; tests drive whole runs through a scripted implementation. Message
/// boxes, the Yes/No question and yielding to the event loop do not go through here
/// but through platform::UserServices.
///
/// Folder texts are handed over in the file system's byte form (QFile::encodeName),
/// which is UTF-8 for anything typed; the extension text is UTF-8.
class RunWindow {
public:
    virtual ~RunWindow() = default;

    /// Text of txtFolder(0), unchanged (no trimming).
    virtual std::string sourceFolderText() const = 0;
    /// Text of txtFolder(1), unchanged.
    virtual std::string destFolderText() const = 0;
    /// Text of txtFileType, unchanged.
    virtual std::string fileTypesText() const = 0;
    /// The optOperat button that is selected.
    virtual Operation selectedOperation() const = 0;

    /// Caption of cmdExit ("閉じる" or "キャンセル"). Its tooltip is never touched.
    virtual std::string exitCaption() const = 0;
    virtual void setExitCaption(const std::string& caption) = 0;

    /// Enables or disables cmdStart.
    virtual void setStartEnabled(bool enabled) = 0;

    /// The main window's own mouse pointer: the hourglass while busy, else the
    /// default one. Not an application-wide override cursor.
    virtual void setBusyPointer(bool busy) = 0;

    /// Moves the keyboard focus to one of the input boxes; while the inputs are locked,
    /// once they are unlocked again.
    virtual void focusField(InputField field) = 0;

    /// Locks the inputs for the length of a run (false), or unlocks them (true): the
    /// option buttons, the three boxes, both browse buttons and drops take no effect
    /// while locked. Unlocking gives each control back the enabled state it had.
    virtual void setInputsEnabled(bool enabled) = 0;
};

} // namespace run
