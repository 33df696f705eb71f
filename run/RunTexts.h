#pragma once

#include <string>

// The texts a collection run shows, exactly as the user sees them.
namespace run::texts {

inline const std::string kClose = "閉じる";
inline const std::string kCancel = "キャンセル";

inline const std::string kNoSourceFolder = "ファイル収集対象フォルダを指定して下さい。";
inline const std::string kSourceFolderMissing =
    "フォルダが存在しません。既存のフォルダを選んでください。";
inline const std::string kNoFileTypes = "収集対象ファイルの拡張子を指定して下さい。";
inline const std::string kNoDestFolder = "ファイル収集後の保存先フォルダを指定して下さい。";
inline const std::string kCreateFolderQuestion = "フォルダが存在しません。作成しますか？";
inline const std::string kCreateFolderFailed = "フォルダの作成に失敗しました";
inline const std::string kFolderAlreadyExists = "フォルダが既に存在してます";
inline const std::string kStopping = "処理を中断します";
inline const std::string kUnexpectedError =
    "予期しないエラーが発生したため、処理を中止しました。";

/// "保存先の空き容量が足りません（必要 3.2 GB、空き 1.1 GB）。"; as a question it is
/// followed by kGoOnQuestion.
inline std::string notEnoughSpace(const std::string& needed, const std::string& available)
{
    return "保存先の空き容量が足りません（必要 " + needed + "、空き " + available + "）。";
}
inline const std::string kGoOnQuestion = "続けますか？";
inline const std::string kTooLargeForDestination =
    "保存先のファイル システムは 4 GB 以上のファイルを保存できないため、処理しませんでした。";

inline const std::string kMovedOnce = "同じファイルが重ねて見つかりました。移動は一度だけです。";
inline const std::string kDeletedOnce = "同じファイルが重ねて見つかりました。削除は一度だけです。";
inline const std::string kPathTooLong = "パスが長すぎるため処理できませんでした。";
inline const std::string kCaseFoldingAssumed =
    "保存先が大文字と小文字を区別するか分からないため、区別しないものとして計画しました。";
inline const std::string kDeleteCannotBeUndone = "前回の処理（完全削除）は元に戻せません。";

/// Before the path of a file or folder that a call into the file system has not come
/// back from (a share or a phone that does not answer).
inline const std::string kWaitingFor = "応答を待っています: ";
/// The window was closed while such a call did not come back: the program ends without
/// waiting for it. A folder's path ends in "/".
inline std::string unfinishedAtExit(const std::string& path)
{
    const char* what = !path.empty() && path.back() == '/' ? "フォルダ" : "ファイル";
    return std::string("応答がないため、次の") + what + "の処理を終えずに終了します。\n" + path;
}

} // namespace run::texts
