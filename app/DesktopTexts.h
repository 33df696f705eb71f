#pragma once

#include "platform/TextCatalog.h"

#include <string>

// The texts the program shows where it meets the desktop and the shell: the start
// arguments' usage errors and the notification at the end of a long run. UTF-8, in the
// user's language.
namespace desktop_texts {

/// A first argument that names no subcommand and no folder: "「frobnicate」は…".
inline std::string notCommandNorFolder(const std::string& word)
{
    return platform::fillIn(
        platform::translate("desktop_texts", "「%1」はサブコマンドでもフォルダでもありません。"), { word });
}
inline std::string sourceGivenTwice()
{
    return platform::translate("desktop_texts",
        "ファイル収集対象フォルダが二つ指定されています。保存先フォルダは --dest で指定してください。");
}
inline std::string destGivenTwice()
{
    return platform::translate("desktop_texts", "保存先フォルダが二つ指定されています。");
}
inline std::string unknownOption(const std::string& option)
{
    return platform::fillIn(
        platform::translate("desktop_texts", "「%1」は使えないオプションです。"), { option });
}
inline std::string folderMissingAfter(const std::string& option)
{
    return platform::fillIn(
        platform::translate("desktop_texts", "%1 の後にフォルダを指定してください。"), { option });
}

/// The title of the notification of a run in which some files failed: "失敗あり - コピー".
inline std::string someFailed(const std::string& operationName)
{
    return platform::fillIn(platform::translate("desktop_texts", "失敗あり - %1"), { operationName });
}
/// The notification's one action, taken by a click on it.
inline std::string showReport() { return platform::translate("desktop_texts", "結果を表示"); }

} // namespace desktop_texts
