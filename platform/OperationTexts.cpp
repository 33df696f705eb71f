#include "platform/OperationTexts.h"

#include "platform/TextCatalog.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace platform::operation_texts {

namespace {

// Whole sentences per verb, so that a translation can say each in its own order.
std::string cannotDo(Verb verb)
{
    switch (verb) {
    case Verb::Move:
        return translate("operation_texts", "「%1」 を移動できません。");
    case Verb::Copy:
        return translate("operation_texts", "「%1」 をコピーできません。");
    case Verb::Delete:
        return translate("operation_texts", "「%1」 を削除できません。");
    case Verb::Trash:
        return translate("operation_texts", "「%1」 をごみ箱に移動できません。");
    case Verb::Rename:
        return translate("operation_texts", "「%1」 を名前を変更できません。");
    }
    return {};
}

std::string cannotDoLine(Verb verb)
{
    switch (verb) {
    case Verb::Move:
        return translate("operation_texts", "移動できません。%1");
    case Verb::Copy:
        return translate("operation_texts", "コピーできません。%1");
    case Verb::Delete:
        return translate("operation_texts", "削除できません。%1");
    case Verb::Trash:
        return translate("operation_texts", "ごみ箱に移動できません。%1");
    case Verb::Rename:
        return translate("operation_texts", "名前を変更できません。%1");
    }
    return {};
}

} // namespace

std::vector<std::string> yesNoButtons()
{
    return {translate("operation_texts", "はい"), translate("operation_texts", "いいえ")};
}

std::vector<std::string> replaceButtons()
{
    return { translate("operation_texts", "はい"), translate("operation_texts", "すべてに「はい」"),
        translate("operation_texts", "いいえ"), translate("operation_texts", "キャンセル") };
}

std::vector<std::string> errorButtons()
{
    return { translate("operation_texts", "スキップ"), translate("operation_texts", "中止") };
}

std::string reasonText(int error)
{
    switch (error) {
    case kNotRegularFile:
        return translate("operation_texts", "通常のファイルではありません。");
    case kSameFile:
        return translate("operation_texts", "元のファイルと移動先のファイルが同じです。");
    case kInsideItself:
        return translate("operation_texts", "フォルダーをそのフォルダー自身の中には置けません。");
    case kNoTrash:
        return translate("operation_texts", "この場所にはごみ箱がありません。");
    case kNoDestination:
        return translate("operation_texts", "移動先が指定されていません。");
    case kNotAnEntry:
        return translate("operation_texts", "この名前では操作できません。");
    case kNameRefused:
        return translate("operation_texts", "保存先のファイル システムがこの名前を受け付けません。");
    case kChangedSinceCopied:
        return translate("operation_texts", "コピーした後で元のファイルが変更されました。");
    case ENOENT:
        return translate("operation_texts", "ファイルまたはフォルダーが見つかりません。");
    case EACCES:
    case EPERM:
        return translate("operation_texts", "アクセスが拒否されました。");
    case EROFS:
        return translate("operation_texts", "読み取り専用のファイル システムです。");
    case ENOSPC:
        return translate("operation_texts", "ディスクの空き領域が不足しています。");
    case EDQUOT:
        return translate("operation_texts", "ディスク クォータを超えました。");
    case EEXIST:
        return translate("operation_texts", "同じ名前のファイルが既にあります。");
    case ENAMETOOLONG:
        return translate("operation_texts", "ファイル名が長すぎます。");
    case ENOTDIR:
        return translate("operation_texts", "パスの途中にフォルダーでないものがあります。");
    case EISDIR:
        return translate("operation_texts", "同じ名前のフォルダーがあります。");
    case ENOTEMPTY:
        return translate("operation_texts", "フォルダーが空ではありません。");
    case EXDEV:
        return translate("operation_texts", "別のファイル システムへは移動できません。");
    case EBUSY:
    case ETXTBSY:
        return translate("operation_texts", "ファイルは使用中です。");
    case EIO:
        return translate("operation_texts", "入出力エラーが発生しました。");
    case ELOOP:
        return translate("operation_texts", "シンボリック リンクが多すぎます。");
    default:
        return fillIn(translate("operation_texts", "エラーが発生しました (%1)。"), { std::strerror(error) });
    }
}

std::string errorText(Verb verb, std::string_view path, int error)
{
    return fillIn(cannotDo(verb), { path }) + "\n\n" + reasonText(error);
}

std::string notRemovedText(std::string_view path, bool folder, int error)
{
    const std::string sentence = folder
        ? translate("operation_texts", "「%1」 を移動先にコピーしましたが、元のフォルダーを削除できません。")
        : translate("operation_texts", "「%1」 を移動先にコピーしましたが、元のファイルを削除できません。");
    return fillIn(sentence, { path }) + "\n\n" + reasonText(error);
}

std::string failureLine(Verb verb, int error) { return fillIn(cannotDoLine(verb), { reasonText(error) }); }

std::string notRemovedLine(bool folder, int error)
{
    const std::string sentence = folder
        ? translate("operation_texts", "移動先にコピーしましたが、元のフォルダーを削除できません。%1")
        : translate("operation_texts", "移動先にコピーしましたが、元のファイルを削除できません。%1");
    return fillIn(sentence, { reasonText(error) });
}

std::string replaceQuestion(std::string_view path)
{
    return fillIn(
        translate("operation_texts", "「%1」 は既に存在します。\n\n既存のファイルを置き換えますか?"),
        { path });
}

std::string deleteQuestion(Verb verb, std::size_t count, std::string_view firstPath)
{
    const bool trash = verb == Verb::Trash;
    if (count == 1)
        return fillIn(trash ? translate("operation_texts", "「%1」 をごみ箱に移動しますか?")
                            : translate("operation_texts", "「%1」 を完全に削除しますか?"),
            { firstPath });
    // The count picks the plural form; beyond an int any count reads as many.
    const int form = static_cast<int>(std::min<std::size_t>(count, INT_MAX));
    const std::string question = trash
        ? translate("operation_texts", "これらの %1 個の項目をごみ箱に移動しますか?", nullptr, form)
        : translate("operation_texts", "これらの %1 個の項目を完全に削除しますか?", nullptr, form);
    return fillIn(question, { std::to_string(count) });
}

std::string makeFolderQuestion(std::string_view folder)
{
    return fillIn(
        translate("operation_texts", "フォルダー 「%1」 はありません。\n\n作成しますか?"), { folder });
}

std::string progressTitle(Verb verb)
{
    switch (verb) {
    case Verb::Move:
        return translate("operation_texts", "移動しています...");
    case Verb::Copy:
        return translate("operation_texts", "コピーしています...");
    case Verb::Delete:
        return translate("operation_texts", "削除しています...");
    case Verb::Trash:
        return translate("operation_texts", "ごみ箱に移動しています...");
    case Verb::Rename:
        return translate("operation_texts", "名前を変更しています...");
    }
    return {};
}

} // namespace platform::operation_texts
