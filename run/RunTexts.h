#pragma once

#include "platform/TextCatalog.h"

#include <string>

// The texts a collection run shows, looked up in the user's language each time, since
// that is known only once the program runs.
namespace run::texts {

inline std::string close() { return platform::translate("run::texts", "閉じる"); }
inline std::string cancel() { return platform::translate("run::texts", "キャンセル"); }

inline std::string noSourceFolder()
{
    return platform::translate("run::texts", "ファイル収集対象フォルダを指定して下さい。");
}
inline std::string sourceFolderMissing()
{
    return platform::translate("run::texts", "フォルダが存在しません。既存のフォルダを選んでください。");
}
inline std::string noFileTypes()
{
    return platform::translate("run::texts", "収集対象ファイルの拡張子を指定して下さい。");
}
inline std::string noDestFolder()
{
    return platform::translate("run::texts", "ファイル収集後の保存先フォルダを指定して下さい。");
}
inline std::string createFolderQuestion()
{
    return platform::translate("run::texts", "フォルダが存在しません。作成しますか？");
}
inline std::string createFolderFailed()
{
    return platform::translate("run::texts", "フォルダの作成に失敗しました");
}
inline std::string folderAlreadyExists()
{
    return platform::translate("run::texts", "フォルダが既に存在してます");
}
inline std::string stopping() { return platform::translate("run::texts", "処理を中断します"); }
inline std::string unexpectedError()
{
    return platform::translate("run::texts", "予期しないエラーが発生したため、処理を中止しました。");
}

/// "保存先の空き容量が足りません（必要 3.2 GB、空き 1.1 GB）。"; as a question it is
/// followed by goOnQuestion.
inline std::string notEnoughSpace(const std::string& needed, const std::string& available)
{
    return platform::fillIn(
        platform::translate("run::texts", "保存先の空き容量が足りません（必要 %1、空き %2）。"),
        { needed, available });
}
inline std::string goOnQuestion() { return platform::translate("run::texts", "続けますか？"); }
inline std::string tooLargeForDestination()
{
    return platform::translate("run::texts",
        "保存先のファイル システムは 4 GB 以上のファイルを保存できないため、処理しませんでした。");
}

inline std::string movedOnce()
{
    return platform::translate("run::texts", "同じファイルが重ねて見つかりました。移動は一度だけです。");
}
inline std::string deletedOnce()
{
    return platform::translate("run::texts", "同じファイルが重ねて見つかりました。削除は一度だけです。");
}
inline std::string pathTooLong()
{
    return platform::translate("run::texts", "パスが長すぎるため処理できませんでした。");
}
inline std::string caseFoldingAssumed()
{
    return platform::translate(
        "run::texts", "保存先が大文字と小文字を区別するか分からないため、区別しないものとして計画しました。");
}
inline std::string deleteCannotBeUndone()
{
    return platform::translate("run::texts", "前回の処理（完全削除）は元に戻せません。");
}

/// Before the path of a file or folder that a call into the file system has not come
/// back from (a share or a phone that does not answer).
inline std::string waitingFor() { return platform::translate("run::texts", "応答を待っています: "); }
/// The window was closed while such a call did not come back: the program ends without
/// waiting for it. A folder's path ends in "/".
inline std::string unfinishedAtExit(const std::string& path)
{
    const bool folder = !path.empty() && path.back() == '/';
    return platform::fillIn(folder ? platform::translate(
                                "run::texts", "応答がないため、次のフォルダの処理を終えずに終了します。\n%1")
                                   : platform::translate("run::texts",
                                       "応答がないため、次のファイルの処理を終えずに終了します。\n%1"),
        { path });
}

} // namespace run::texts
