<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>PlanPreview</name>
    <message>
        <source>プレビューの後に保存先または対象のファイルが変わったため、計画し直しました。</source>
        <translation>The destination or the files changed after the preview, so the plan was made again.</translation>
    </message>
</context>
<context>
    <name>PlanTableModel</name>
    <message>
        <source>元のファイル</source>
        <translation>Original file</translation>
    </message>
    <message>
        <source>保存先の名前</source>
        <translation>Name at destination</translation>
    </message>
    <message>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>PlanView</name>
    <message>
        <source>そのまま</source>
        <translation>As is</translation>
    </message>
    <message>
        <source>番号付き</source>
        <translation>Numbered</translation>
    </message>
    <message>
        <source>保存先に合わせて変更</source>
        <translation>Renamed to fit</translation>
    </message>
    <message>
        <source>同じ内容のため省略</source>
        <translation>Skipped as identical</translation>
    </message>
    <message>
        <source>大きすぎる</source>
        <translation>Too large</translation>
    </message>
    <message>
        <source>重複指定</source>
        <translation>Listed twice</translation>
    </message>
    <message>
        <source>パスが長すぎる</source>
        <translation>Path too long</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message numerus="yes">
        <source>%1 ファイル、書き込み %2</source>
        <translation>
            <numerusform>%1 file, %2 to write</numerusform>
            <numerusform>%1 files, %2 to write</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 ファイル、%2</source>
        <translation>
            <numerusform>%1 file, %2</numerusform>
            <numerusform>%1 files, %2</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>保存先のフォルダはありません。実行すると作成されます。</source>
        <translation>The destination folder does not exist. It will be created when the run starts.</translation>
    </message>
    <message>
        <source>保存先の空き容量は分かりません。</source>
        <translation>The free space at the destination is not known.</translation>
    </message>
    <message>
        <source>保存先の空き容量 %1（必要 %2）</source>
        <translation>Free space at the destination: %1 (%2 needed)</translation>
    </message>
    <message>
        <source>名前が変わるファイルと処理しないファイルだけを表示</source>
        <translation>Show only files that get a new name or are left out</translation>
    </message>
    <message>
        <source>選択した行をコピー(&amp;C)</source>
        <translation>&amp;Copy Selected Rows</translation>
    </message>
    <message>
        <source>この内容で実行</source>
        <translation>Run This Plan</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
</context>
<context>
    <name>RunProgressWindow</name>
    <message>
        <source>保存先フォルダを開く</source>
        <translation>Open Destination Folder</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>SettingsWriter</name>
    <message>
        <source>設定ファイルを保存できません
%1
%2</source>
        <translation>Cannot save the settings file
%1
%2</translation>
    </message>
</context>
<context>
    <name>SystemMenuHook</name>
    <message>
        <source>メニュー(&amp;M)</source>
        <translation>&amp;Menu</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>プレビュー(&amp;P)...</source>
        <translation>&amp;Preview...</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
</context>
<context>
    <name>clsFileFolder</name>
    <message>
        <source>存在しないフォルダです</source>
        <translation>This folder does not exist</translation>
    </message>
    <message>
        <source>適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい</source>
        <translation>Click a folder to select it, then press OK</translation>
    </message>
    <message>
        <source>指定されたフォルダが存在しません</source>
        <translation>The folder given does not exist</translation>
    </message>
</context>
<context>
    <name>desktop_texts</name>
    <message>
        <source>「%1」はサブコマンドでもフォルダでもありません。</source>
        <translation>&quot;%1&quot; is neither a subcommand nor a folder.</translation>
    </message>
    <message>
        <source>ファイル収集対象フォルダが二つ指定されています。保存先フォルダは --dest で指定してください。</source>
        <translation>Two source folders were given. Give the destination folder with --dest.</translation>
    </message>
    <message>
        <source>保存先フォルダが二つ指定されています。</source>
        <translation>Two destination folders were given.</translation>
    </message>
    <message>
        <source>「%1」は使えないオプションです。</source>
        <translation>&quot;%1&quot; is not an option here.</translation>
    </message>
    <message>
        <source>%1 の後にフォルダを指定してください。</source>
        <translation>Give a folder after %1.</translation>
    </message>
    <message>
        <source>失敗あり - %1</source>
        <translation>Some failed - %1</translation>
    </message>
    <message>
        <source>結果を表示</source>
        <translation>Show Report</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>このダイアログを閉じます</source>
        <translation>Closes this dialog</translation>
    </message>
    <message>
        <source>このロゴは Quorvane 開発者のものです</source>
        <translation>This logo belongs to the Quorvane developers</translation>
    </message>
    <message>
        <source>ソフトの名前です</source>
        <translation>The program&apos;s name</translation>
    </message>
    <message>
        <source>バージョン番号です</source>
        <translation>The version number</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝの説明です</source>
        <translation>What the program does</translation>
    </message>
    <message>
        <source>著作権です</source>
        <translation>The copyright</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報 %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>このアプリは、指定した拡張子のファイルを別の指定したフォルダに移動、コピー、ゴミ箱へ、削除できます</source>
        <translation>Copies or moves files with the extensions you name into another folder, or trashes or deletes them</translation>
    </message>
    <message>
        <source>警告:  %1</source>
        <translation>%1</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>操作する元のフォルダをフルパスで入力</source>
        <translation>Type the full path of the folder to work on</translation>
    </message>
    <message>
        <source>ファイル収集対象フォルダの指定</source>
        <translation>Folder to gather files from</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>操作する元のフォルダの選択</source>
        <translation>Choose the folder to work on</translation>
    </message>
    <message>
        <source>保存先のフォルダをフルパスで入力</source>
        <translation>Type the full path of the destination folder</translation>
    </message>
    <message>
        <source>保存場所の指定</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>保存先のフォルダの選択</source>
        <translation>Choose the destination folder</translation>
    </message>
    <message>
        <source>処理内容</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>処理する内容を選択</source>
        <translation>Choose what to do</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>コピーします</source>
        <translation>Copies the files</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>移動します</source>
        <translation>Moves the files</translation>
    </message>
    <message>
        <source>完全削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>ごみ箱に入れずに削除します</source>
        <translation>Deletes the files without putting them in the Trash</translation>
    </message>
    <message>
        <source>ごみ箱へ</source>
        <translation>To Trash</translation>
    </message>
    <message>
        <source>ごみ箱に削除します</source>
        <translation>Moves the files to the Trash</translation>
    </message>
    <message>
        <source>処理対象にするファイルの拡張子をカンマ（，）で区切って入力</source>
        <translation>Type the extensions of the files to work on, separated by commas (,)</translation>
    </message>
    <message>
        <source>収集対象ファイルの拡張子の指定</source>
        <translation>File extensions to gather</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>処理を開始します</source>
        <translation>Starts the work</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Quorvaneを閉じます</source>
        <translation>Closes Quorvane</translation>
    </message>
    <message>
        <source>フォルダ名に:?|&lt;&gt;&quot;*は、使えません</source>
        <translation>Folder names cannot contain :?|&lt;&gt;&quot;*</translation>
    </message>
</context>
<context>
    <name>frmOption</name>
    <message>
        <source>初期設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>処理する内容を選択</source>
        <translation>Choose what to do</translation>
    </message>
    <message>
        <source>現在の設定を保存</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>現在の設定を保存します</source>
        <translation>Saves the current settings</translation>
    </message>
    <message>
        <source>設定を初期値に戻す</source>
        <translation>Reset settings</translation>
    </message>
    <message>
        <source>設定のみを初期値に戻します</source>
        <translation>Resets only the settings to their defaults</translation>
    </message>
    <message>
        <source>設定とウィンドウを初期値に戻す</source>
        <translation>Reset settings and window</translation>
    </message>
    <message>
        <source>設定とウィンドウの両方を初期値に戻します</source>
        <translation>Resets both the settings and the window to their defaults</translation>
    </message>
    <message>
        <source>同じ内容のファイルは省略する</source>
        <translation>Skip identical files</translation>
    </message>
    <message>
        <source>保存先に同じ内容のファイルがあるときは、コピーも移動もしません</source>
        <translation>Neither copies nor moves a file whose contents the destination already holds</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>実行します</source>
        <translation>Carries out the choice</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>実行をキャンセルします</source>
        <translation>Closes without doing anything</translation>
    </message>
</context>
<context>
    <name>operation_texts</name>
    <message>
        <source>「%1」 を移動できません。</source>
        <translation>Cannot move “%1”.</translation>
    </message>
    <message>
        <source>「%1」 をコピーできません。</source>
        <translation>Cannot copy “%1”.</translation>
    </message>
    <message>
        <source>「%1」 を削除できません。</source>
        <translation>Cannot delete “%1”.</translation>
    </message>
    <message>
        <source>「%1」 をごみ箱に移動できません。</source>
        <translation>Cannot move “%1” to the Trash.</translation>
    </message>
    <message>
        <source>「%1」 を名前を変更できません。</source>
        <translation>Cannot rename “%1”.</translation>
    </message>
    <message>
        <source>移動できません。%1</source>
        <translation>Cannot move. %1</translation>
    </message>
    <message>
        <source>コピーできません。%1</source>
        <translation>Cannot copy. %1</translation>
    </message>
    <message>
        <source>削除できません。%1</source>
        <translation>Cannot delete. %1</translation>
    </message>
    <message>
        <source>ごみ箱に移動できません。%1</source>
        <translation>Cannot move to the Trash. %1</translation>
    </message>
    <message>
        <source>名前を変更できません。%1</source>
        <translation>Cannot rename. %1</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>すべてに「はい」</source>
        <translation>Yes to All</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>スキップ</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>It is not a regular file.</translation>
    </message>
    <message>
        <source>元のファイルと移動先のファイルが同じです。</source>
        <translation>The source and the destination are the same file.</translation>
    </message>
    <message>
        <source>フォルダーをそのフォルダー自身の中には置けません。</source>
        <translation>A folder cannot be put inside itself.</translation>
    </message>
    <message>
        <source>この場所にはごみ箱がありません。</source>
        <translation>There is no Trash at this location.</translation>
    </message>
    <message>
        <source>移動先が指定されていません。</source>
        <translation>No destination was given.</translation>
    </message>
    <message>
        <source>この名前では操作できません。</source>
        <translation>This name does not name a single item.</translation>
    </message>
    <message>
        <source>保存先のファイル システムがこの名前を受け付けません。</source>
        <translation>The destination file system does not accept this name.</translation>
    </message>
    <message>
        <source>コピーした後で元のファイルが変更されました。</source>
        <translation>The original file changed after it was copied.</translation>
    </message>
    <message>
        <source>ファイルまたはフォルダーが見つかりません。</source>
        <translation>The file or folder was not found.</translation>
    </message>
    <message>
        <source>アクセスが拒否されました。</source>
        <translation>Access was denied.</translation>
    </message>
    <message>
        <source>読み取り専用のファイル システムです。</source>
        <translation>The file system is read-only.</translation>
    </message>
    <message>
        <source>ディスクの空き領域が不足しています。</source>
        <translation>There is not enough free disk space.</translation>
    </message>
    <message>
        <source>ディスク クォータを超えました。</source>
        <translation>The disk quota is exceeded.</translation>
    </message>
    <message>
        <source>同じ名前のファイルが既にあります。</source>
        <translation>A file with the same name already exists.</translation>
    </message>
    <message>
        <source>ファイル名が長すぎます。</source>
        <translation>The file name is too long.</translation>
    </message>
    <message>
        <source>パスの途中にフォルダーでないものがあります。</source>
        <translation>Part of the path is not a folder.</translation>
    </message>
    <message>
        <source>同じ名前のフォルダーがあります。</source>
        <translation>A folder with the same name exists.</translation>
    </message>
    <message>
        <source>フォルダーが空ではありません。</source>
        <translation>The folder is not empty.</translation>
    </message>
    <message>
        <source>別のファイル システムへは移動できません。</source>
        <translation>Cannot move to another file system.</translation>
    </message>
    <message>
        <source>ファイルは使用中です。</source>
        <translation>The file is in use.</translation>
    </message>
    <message>
        <source>入出力エラーが発生しました。</source>
        <translation>An input/output error occurred.</translation>
    </message>
    <message>
        <source>シンボリック リンクが多すぎます。</source>
        <translation>There are too many symbolic links.</translation>
    </message>
    <message>
        <source>エラーが発生しました (%1)。</source>
        <translation>An error occurred (%1).</translation>
    </message>
    <message>
        <source>「%1」 を移動先にコピーしましたが、元のフォルダーを削除できません。</source>
        <translation>“%1” was copied to the destination, but the original folder cannot be removed.</translation>
    </message>
    <message>
        <source>「%1」 を移動先にコピーしましたが、元のファイルを削除できません。</source>
        <translation>“%1” was copied to the destination, but the original file cannot be removed.</translation>
    </message>
    <message>
        <source>移動先にコピーしましたが、元のフォルダーを削除できません。%1</source>
        <translation>Copied to the destination, but the original folder cannot be removed. %1</translation>
    </message>
    <message>
        <source>移動先にコピーしましたが、元のファイルを削除できません。%1</source>
        <translation>Copied to the destination, but the original file cannot be removed. %1</translation>
    </message>
    <message>
        <source>「%1」 は既に存在します。

既存のファイルを置き換えますか?</source>
        <translation>“%1” already exists.

Replace the existing file?</translation>
    </message>
    <message>
        <source>「%1」 をごみ箱に移動しますか?</source>
        <translation>Move “%1” to the Trash?</translation>
    </message>
    <message>
        <source>「%1」 を完全に削除しますか?</source>
        <translation>Permanently delete “%1”?</translation>
    </message>
    <message numerus="yes">
        <source>これらの %1 個の項目をごみ箱に移動しますか?</source>
        <translation>
            <numerusform>Move this %1 item to the Trash?</numerusform>
            <numerusform>Move these %1 items to the Trash?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>これらの %1 個の項目を完全に削除しますか?</source>
        <translation>
            <numerusform>Permanently delete this %1 item?</numerusform>
            <numerusform>Permanently delete these %1 items?</numerusform>
        </translation>
    </message>
    <message>
        <source>フォルダー 「%1」 はありません。

作成しますか?</source>
        <translation>The folder “%1” does not exist.

Create it?</translation>
    </message>
    <message>
        <source>移動しています...</source>
        <translation>Moving...</translation>
    </message>
    <message>
        <source>コピーしています...</source>
        <translation>Copying...</translation>
    </message>
    <message>
        <source>削除しています...</source>
        <translation>Deleting...</translation>
    </message>
    <message>
        <source>ごみ箱に移動しています...</source>
        <translation>Moving to the Trash...</translation>
    </message>
    <message>
        <source>名前を変更しています...</source>
        <translation>Renaming...</translation>
    </message>
</context>
<context>
    <name>report_text</name>
    <message>
        <source>元に戻したファイル: %1 (%2)</source>
        <translation>Files put back: %1 (%2)</translation>
    </message>
    <message>
        <source>コピーしたファイル: %1 (%2)</source>
        <translation>Files copied: %1 (%2)</translation>
    </message>
    <message>
        <source>移動したファイル: %1 (%2)</source>
        <translation>Files moved: %1 (%2)</translation>
    </message>
    <message>
        <source>削除したファイル: %1 (%2)</source>
        <translation>Files deleted: %1 (%2)</translation>
    </message>
    <message>
        <source>ごみ箱に入れたファイル: %1 (%2)</source>
        <translation>Files moved to the Trash: %1 (%2)</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>完全削除</source>
        <translation>Delete permanently</translation>
    </message>
    <message>
        <source>ごみ箱へ</source>
        <translation>Move to Trash</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>中断 - %1</source>
        <translation>Stopped - %1</translation>
    </message>
    <message>
        <source>完了 - %1</source>
        <translation>Done - %1</translation>
    </message>
    <message>
        <source>%1% - %2</source>
        <translation>%1% - %2</translation>
    </message>
    <message>
        <source>%1 バイト</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>元に戻しています...</source>
        <translation>Undoing...</translation>
    </message>
    <message>
        <source>ファイルを探しています...</source>
        <translation>Looking for files...</translation>
    </message>
    <message>
        <source>検索したフォルダ: %1&#x3000;見つかったファイル: %2</source>
        <translation>Folders searched: %1   Files found: %2</translation>
    </message>
    <message>
        <source>処理の準備をしています...</source>
        <translation>Getting ready...</translation>
    </message>
    <message>
        <source>ファイル: %1 / %2</source>
        <translation>Files: %1 / %2</translation>
    </message>
    <message>
        <source>サイズ: %1 / %2</source>
        <translation>Size: %1 / %2</translation>
    </message>
    <message>
        <source>経過時間: %1&#x3000;残り時間: 約 %2</source>
        <translation>Elapsed: %1   Remaining: about %2</translation>
    </message>
    <message>
        <source>経過時間: %1</source>
        <translation>Elapsed: %1</translation>
    </message>
    <message>
        <source>&#x3000;うち番号付きの名前にしたファイル: %1</source>
        <translation>  of these, given a numbered name: %1</translation>
    </message>
    <message>
        <source>&#x3000;うち保存先に合わせて名前を変えたファイル: %1</source>
        <translation>  of these, renamed to fit the destination: %1</translation>
    </message>
    <message>
        <source>同じ内容のため省略したファイル: %1</source>
        <translation>Skipped as identical: %1</translation>
    </message>
    <message>
        <source>スキップしたファイル: %1</source>
        <translation>Skipped: %1</translation>
    </message>
    <message>
        <source>失敗したファイル: %1</source>
        <translation>Failed: %1</translation>
    </message>
    <message>
        <source>処理しなかったファイル: %1</source>
        <translation>Not done: %1</translation>
    </message>
    <message>
        <source>所要時間: %1</source>
        <translation>Time taken: %1</translation>
    </message>
    <message>
        <source>同じ内容のファイルがあるため省略したファイル:</source>
        <translation>Skipped because an identical file is already there:</translation>
    </message>
    <message>
        <source>保存先のファイル システムに合わせて名前を変えたファイル:</source>
        <translation>Renamed to fit the destination file system:</translation>
    </message>
</context>
<context>
    <name>run</name>
    <message>
        <source>処理の記録を書けなかったため、この処理は元に戻せません。</source>
        <translation>The record of this run could not be written, so it cannot be undone.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file was not found.</translation>
    </message>
    <message>
        <source>処理できませんでした。</source>
        <translation>It could not be done.</translation>
    </message>
    <message>
        <source>削除できませんでした。</source>
        <translation>It could not be deleted.</translation>
    </message>
    <message>
        <source>ごみ箱に移動できませんでした。</source>
        <translation>It could not be moved to the Trash.</translation>
    </message>
    <message numerus="yes">
        <source>前回の処理（%1 %2 件）を元に戻しますか？</source>
        <translation>
            <numerusform>Undo the last run (%1, %2 file)?</numerusform>
            <numerusform>Undo the last run (%1, %2 files)?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>run::texts</name>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ファイル収集対象フォルダを指定して下さい。</source>
        <translation>Enter the folder to gather files from.</translation>
    </message>
    <message>
        <source>フォルダが存在しません。既存のフォルダを選んでください。</source>
        <translation>The folder does not exist. Choose an existing folder.</translation>
    </message>
    <message>
        <source>収集対象ファイルの拡張子を指定して下さい。</source>
        <translation>Enter the extensions of the files to gather.</translation>
    </message>
    <message>
        <source>ファイル収集後の保存先フォルダを指定して下さい。</source>
        <translation>Enter the folder to put the gathered files in.</translation>
    </message>
    <message>
        <source>フォルダが存在しません。作成しますか？</source>
        <translation>The folder does not exist. Create it?</translation>
    </message>
    <message>
        <source>フォルダの作成に失敗しました</source>
        <translation>The folder could not be created</translation>
    </message>
    <message>
        <source>フォルダが既に存在してます</source>
        <translation>The folder already exists</translation>
    </message>
    <message>
        <source>処理を中断します</source>
        <translation>Stopping the work</translation>
    </message>
    <message>
        <source>予期しないエラーが発生したため、処理を中止しました。</source>
        <translation>An unexpected error occurred, so the work was stopped.</translation>
    </message>
    <message>
        <source>保存先の空き容量が足りません（必要 %1、空き %2）。</source>
        <translation>There is not enough free space at the destination (%1 needed, %2 free).</translation>
    </message>
    <message>
        <source>続けますか？</source>
        <translation>Continue?</translation>
    </message>
    <message>
        <source>保存先のファイル システムは 4 GB 以上のファイルを保存できないため、処理しませんでした。</source>
        <translation>Not done: the destination file system cannot hold files of 4 GB or more.</translation>
    </message>
    <message>
        <source>同じファイルが重ねて見つかりました。移動は一度だけです。</source>
        <translation>The same file was found more than once. It is moved only once.</translation>
    </message>
    <message>
        <source>同じファイルが重ねて見つかりました。削除は一度だけです。</source>
        <translation>The same file was found more than once. It is deleted only once.</translation>
    </message>
    <message>
        <source>パスが長すぎるため処理できませんでした。</source>
        <translation>Not done: the path is too long.</translation>
    </message>
    <message>
        <source>保存先が大文字と小文字を区別するか分からないため、区別しないものとして計画しました。</source>
        <translation>Whether the destination tells upper and lower case apart is not known, so the plan assumes it does not.</translation>
    </message>
    <message>
        <source>前回の処理（完全削除）は元に戻せません。</source>
        <translation>The last run (Delete permanently) cannot be undone.</translation>
    </message>
    <message>
        <source>応答を待っています: </source>
        <translation>Waiting for a response: </translation>
    </message>
    <message>
        <source>応答がないため、次のフォルダの処理を終えずに終了します。
%1</source>
        <translation>There is no response, so the program ends without finishing this folder:
%1</translation>
    </message>
    <message>
        <source>応答がないため、次のファイルの処理を終えずに終了します。
%1</source>
        <translation>There is no response, so the program ends without finishing this file:
%1</translation>
    </message>
</context>
<context>
    <name>undo</name>
    <message>
        <source>コピーの後で変更されているため、残しました。</source>
        <translation>Left in place: it changed after it was copied.</translation>
    </message>
    <message>
        <source>コピーが見つかりません。</source>
        <translation>The copy was not found.</translation>
    </message>
    <message>
        <source>元のファイルと内容が違うため、残しました。</source>
        <translation>Left in place: its contents differ from the original.</translation>
    </message>
    <message>
        <source>移動の後で変更されているため、残しました。</source>
        <translation>Left in place: it changed after it was moved.</translation>
    </message>
    <message>
        <source>移動先に見つかりません。</source>
        <translation>It was not found where it was moved to.</translation>
    </message>
    <message>
        <source>元の場所に同じ名前があるため、残しました。</source>
        <translation>Left in place: its original location has an item of the same name.</translation>
    </message>
    <message>
        <source>元に戻せませんでした。</source>
        <translation>It could not be put back.</translation>
    </message>
    <message>
        <source>ごみ箱に見つかりません。</source>
        <translation>It was not found in the Trash.</translation>
    </message>
    <message>
        <source>元の場所に同じ名前があるため、ごみ箱に残しました。</source>
        <translation>Left in the Trash: its original location has an item of the same name.</translation>
    </message>
</context>
</TS>
