#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The texts of the file operations' questions, messages and progress window, in the
// user's language.
namespace platform::operation_texts {

// Failures of our own, beside the errno values the system reports. Negative so that
// they never meet an errno.
inline constexpr int kNotRegularFile = -1;   // FIFO, socket or device node
inline constexpr int kSameFile = -3;         // source and destination are one file
inline constexpr int kInsideItself = -4;     // a folder moved or copied into itself
inline constexpr int kNoTrash = -5;          // no usable trash on the file's file system
inline constexpr int kNoDestination = -6;    // an empty or missing to-list entry
inline constexpr int kNotAnEntry = -7;       // "/", "." or "..": names no single entry
inline constexpr int kNameRefused = -8;      // the destination's file system refuses the name
inline constexpr int kChangedSinceCopied = -9; // a move's source was written after its copy

enum class Verb { Move, Copy, Delete, Trash, Rename };

/// "はい" and "いいえ".
std::vector<std::string> yesNoButtons();
/// The replace question's buttons, in the order of ReplaceChoice.
std::vector<std::string> replaceButtons();
/// The error message's buttons: skip this item, or stop the whole operation.
std::vector<std::string> errorButtons();

/// Why an item failed, in the user's words: `error` is an errno value or one of the
/// failures above.
std::string reasonText(int error);

/// The message for an item that failed: what could not be done to `path`, and why.
std::string errorText(Verb verb, std::string_view path, int error);
/// The message for a move to another file system whose copy is complete but whose
/// original `path` (a folder when `folder`) could not be removed.
std::string notRemovedText(std::string_view path, bool folder, int error);
/// The same two messages in one line without the path, for a list of failures:
/// "コピーできません。ディスクの空き領域が不足しています。"
std::string failureLine(Verb verb, int error);
std::string notRemovedLine(bool folder, int error);
/// The question before an existing file `path` is replaced.
std::string replaceQuestion(std::string_view path);
/// The one question before `count` items are deleted for good or moved to the trash;
/// with one item it names `firstPath`.
std::string deleteQuestion(Verb verb, std::size_t count, std::string_view firstPath);
/// The question before the missing folder `folder` is made.
std::string makeFolderQuestion(std::string_view folder);
/// The progress window's title while the operation runs.
std::string progressTitle(Verb verb);

} // namespace platform::operation_texts
