#pragma once

#include <string>

// The texts the program shows where it meets the desktop and the shell: the start
// arguments' usage errors and the notification at the end of a long run. UTF-8.
namespace desktop_texts {

/// A first argument that names no subcommand and no folder: "「frobnicate」は…".
inline std::string notCommandNorFolder(const std::string& word)
{
    return "「" + word + "」はサブコマンドでもフォルダでもありません。";
}
inline const std::string kSourceGivenTwice =
    "ファイル収集対象フォルダが二つ指定されています。保存先フォルダは --dest で指定してください。";
inline const std::string kDestGivenTwice = "保存先フォルダが二つ指定されています。";
inline std::string unknownOption(const std::string& option)
{
    return "「" + option + "」は使えないオプションです。";
}
inline std::string folderMissingAfter(const std::string& option)
{
    return option + " の後にフォルダを指定してください。";
}

/// The title of the notification of a run in which some files failed: "失敗あり - コピー".
inline std::string someFailed(const std::string& operationName)
{
    return "失敗あり - " + operationName;
}
/// The notification's one action, taken by a click on it.
inline const std::string kShowReport = "結果を表示";

} // namespace desktop_texts
