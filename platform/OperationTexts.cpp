#include "platform/OperationTexts.h"

#include <cerrno>
#include <cstring>

namespace platform::operation_texts {

namespace {

std::string quoted(std::string_view text)
{
    std::string result = "「";
    result += text;
    result += "」";
    return result;
}

const char* verbText(Verb verb)
{
    switch (verb) {
    case Verb::Move:
        return "移動";
    case Verb::Copy:
        return "コピー";
    case Verb::Delete:
        return "削除";
    case Verb::Trash:
        return "ごみ箱に移動";
    case Verb::Rename:
        return "名前を変更";
    }
    return "";
}

} // namespace

const std::vector<std::string>& yesNoButtons()
{
    static const std::vector<std::string> buttons{"はい", "いいえ"};
    return buttons;
}

const std::vector<std::string>& replaceButtons()
{
    static const std::vector<std::string> buttons{"はい", "すべてに「はい」", "いいえ",
                                                  "キャンセル"};
    return buttons;
}

const std::vector<std::string>& errorButtons()
{
    static const std::vector<std::string> buttons{"スキップ", "中止"};
    return buttons;
}

std::string reasonText(int error)
{
    switch (error) {
    case kNotRegularFile:
        return "通常のファイルではありません。";
    case kSameFile:
        return "元のファイルと移動先のファイルが同じです。";
    case kInsideItself:
        return "フォルダーをそのフォルダー自身の中には置けません。";
    case kNoTrash:
        return "この場所にはごみ箱がありません。";
    case kNoDestination:
        return "移動先が指定されていません。";
    case kNotAnEntry:
        return "この名前では操作できません。";
    case kNameRefused:
        return "保存先のファイル システムがこの名前を受け付けません。";
    case kChangedSinceCopied:
        return "コピーした後で元のファイルが変更されました。";
    case ENOENT:
        return "ファイルまたはフォルダーが見つかりません。";
    case EACCES:
    case EPERM:
        return "アクセスが拒否されました。";
    case EROFS:
        return "読み取り専用のファイル システムです。";
    case ENOSPC:
        return "ディスクの空き領域が不足しています。";
    case EDQUOT:
        return "ディスク クォータを超えました。";
    case EEXIST:
        return "同じ名前のファイルが既にあります。";
    case ENAMETOOLONG:
        return "ファイル名が長すぎます。";
    case ENOTDIR:
        return "パスの途中にフォルダーでないものがあります。";
    case EISDIR:
        return "同じ名前のフォルダーがあります。";
    case ENOTEMPTY:
        return "フォルダーが空ではありません。";
    case EXDEV:
        return "別のファイル システムへは移動できません。";
    case EBUSY:
    case ETXTBSY:
        return "ファイルは使用中です。";
    case EIO:
        return "入出力エラーが発生しました。";
    case ELOOP:
        return "シンボリック リンクが多すぎます。";
    default:
        return std::string("エラーが発生しました (") + std::strerror(error) + ")。";
    }
}

namespace {

std::string notRemoved(bool folder)
{
    return std::string("移動先にコピーしましたが、元の") + (folder ? "フォルダー" : "ファイル")
        + "を削除できません。";
}

} // namespace

std::string errorText(Verb verb, std::string_view path, int error)
{
    return quoted(path) + " を" + verbText(verb) + "できません。\n\n" + reasonText(error);
}

std::string notRemovedText(std::string_view path, bool folder, int error)
{
    return quoted(path) + " を" + notRemoved(folder) + "\n\n" + reasonText(error);
}

std::string failureLine(Verb verb, int error)
{
    return verbText(verb) + std::string("できません。") + reasonText(error);
}

std::string notRemovedLine(bool folder, int error)
{
    return notRemoved(folder) + reasonText(error);
}

std::string replaceQuestion(std::string_view path)
{
    return quoted(path) + " は既に存在します。\n\n既存のファイルを置き換えますか?";
}

std::string deleteQuestion(Verb verb, std::size_t count, std::string_view firstPath)
{
    const char* action =
        verb == Verb::Trash ? "ごみ箱に移動しますか?" : "完全に削除しますか?";
    if (count == 1)
        return quoted(firstPath) + " を" + action;
    return "これらの " + std::to_string(count) + " 個の項目を" + action;
}

std::string makeFolderQuestion(std::string_view folder)
{
    return "フォルダー " + quoted(folder) + " はありません。\n\n作成しますか?";
}

std::string progressTitle(Verb verb)
{
    return std::string(verbText(verb)) + "しています...";
}

} // namespace platform::operation_texts
