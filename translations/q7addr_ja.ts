<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>MainWindow</name>
    <message>
        <source>Ostra(Q7) Address Book Manager</source>
        <translation>Ostra(Q7) アドレス帳マネージャ</translation>
    </message>
    <message>
        <source>Quit(&amp;Q)</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>Save(&amp;S)</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>ReLoad(&amp;R)</source>
        <translation>再読込(&amp;R)</translation>
    </message>
    <message>
        <source>Add Address(&amp;A)</source>
        <translation>アドレス追加(&amp;A)</translation>
    </message>
    <message>
        <source>Del(&amp;D)</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <source>Find(&amp;F)</source>
        <translation>検索(&amp;F)</translation>
    </message>
    <message>
        <source>Group Edit(&amp;G)</source>
        <translation>グループ編集(&amp;G)</translation>
    </message>
    <message>
        <source>Ext(&amp;O)</source>
        <translation>他(&amp;O)</translation>
    </message>
    <message>
        <source>Active Group</source>
        <translation>表示グループ</translation>
    </message>
    <message>
        <source>Select All(&amp;M)</source>
        <translation>全選択(&amp;M)</translation>
    </message>
    <message>
        <source>DeSelect(&amp;X)</source>
        <translation>全解除(&amp;X)</translation>
    </message>
    <message>
        <source>Wait a moment</source>
        <translation>お待ち下さい</translation>
    </message>
    <message>
        <source>Found</source>
        <translation>抽出</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>総数</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>ReLoad</source>
        <translation>再読込</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Add Address</source>
        <translation>ｱﾄﾞﾚｽ追加</translation>
    </message>
    <message>
        <source>Del Address</source>
        <translation>ｱﾄﾞﾚｽ削除</translation>
    </message>
    <message>
        <source>Save Address Order</source>
        <translation>並び自動変更</translation>
    </message>
    <message>
        <source>Add Group</source>
        <translation>グループ追加</translation>
    </message>
    <message>
        <source>Group Edit</source>
        <translation>グループ編集</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>印刷</translation>
    </message>
    <message>
        <source>Export Text File</source>
        <translation>ﾃｷｽﾄﾌｧｲﾙ出力</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>インポート</translation>
    </message>
    <message>
        <source>Export CSV File</source>
        <translation>CSV 出力</translation>
    </message>
    <message>
        <source>Export vCard File</source>
        <translation>vCard 出力</translation>
    </message>
    <message>
        <source>Send to &quot;%1&quot;</source>
        <translation>&quot;%1&quot; へ送信</translation>
    </message>
    <message>
        <source>No Hit Address</source>
        <translation>該当するアドレスはありません</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>shown</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>not shown</source>
        <translation>非表示</translation>
    </message>
    <message>
        <source>　Mail Address</source>
        <translation>　メールアドレス</translation>
    </message>
    <message>
        <source>　Name</source>
        <translation>　名前</translation>
    </message>
    <message>
        <source>　Note</source>
        <translation>　備考</translation>
    </message>
    <message>
        <source>　NicName</source>
        <translation>　ニックネーム</translation>
    </message>
    <message>
        <source>↓Mail Address</source>
        <translation>↓メールアドレス</translation>
    </message>
    <message>
        <source>↓Name</source>
        <translation>↓名前</translation>
    </message>
    <message>
        <source>↓Note</source>
        <translation>↓備考</translation>
    </message>
    <message>
        <source>↓NicName</source>
        <translation>↓ニックネーム</translation>
    </message>
    <message>
        <source>↑Mail Address</source>
        <translation>↑メールアドレス</translation>
    </message>
    <message>
        <source>↑Name</source>
        <translation>↑名前</translation>
    </message>
    <message>
        <source>↑Note</source>
        <translation>↑備考</translation>
    </message>
    <message>
        <source>↑NicName</source>
        <translation>↑ニックネーム</translation>
    </message>
</context>
<context>
    <name>CardEditor</name>
    <message>
        <source>Ostra Address Book Manager ViewWindow</source>
        <translation>Ostra アドレス帳マネージャ ビューウィンドウ</translation>
    </message>
    <message>
        <source>Entry Group</source>
        <translation>所属グループ</translation>
    </message>
    <message>
        <source>(&amp;S)Std</source>
        <translation>(&amp;S)標準</translation>
    </message>
    <message>
        <source>(&amp;V)Ext</source>
        <translation>(&amp;V)拡張</translation>
    </message>
    <message>
        <source>(&amp;K) OK</source>
        <translation>(&amp;K) OK</translation>
    </message>
    <message>
        <source>Mail Addr</source>
        <translation>メールアドレス</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Public-Key</source>
        <translation>公開鍵</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>NicName</source>
        <translation>ニックネーム</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>住所</translation>
    </message>
    <message>
        <source>Tel</source>
        <translation>電話</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>FAX</translation>
    </message>
    <message>
        <source>PHS</source>
        <translation>PHS</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>備考</translation>
    </message>
    <message>
        <source>Section</source>
        <translation>セクション</translation>
    </message>
    <message>
        <source>SecName</source>
        <translation>セクション名</translation>
    </message>
    <message>
        <source>Add(&amp;A)</source>
        <translation>追加(&amp;A)</translation>
    </message>
    <message>
        <source>OK(&amp;Y)</source>
        <translation>OK(&amp;Y)</translation>
    </message>
    <message>
        <source>Mail Address</source>
        <translation>メールアドレス</translation>
    </message>
    <message>
        <source>Family</source>
        <translation>姓名</translation>
    </message>
    <message>
        <source>TimeZone</source>
        <translation>タイムゾーン</translation>
    </message>
    <message>
        <source>Company/Team</source>
        <translation>会社・組織</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>肩書き</translation>
    </message>
    <message>
        <source>Role</source>
        <translation>役割</translation>
    </message>
    <message>
        <source>Birthday</source>
        <translation>誕生日</translation>
    </message>
    <message>
        <source>Geographic</source>
        <translation>位置情報</translation>
    </message>
    <message>
        <source>Logo Image</source>
        <translation>ロゴ画像</translation>
    </message>
    <message>
        <source>Mailer</source>
        <translation>メーラー</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>写真</translation>
    </message>
    <message>
        <source>Others</source>
        <translation>その他</translation>
    </message>
    <message>
        <source>Read-only: no group below the top level holds it, so it is never saved.</source>
        <translation>読み取り専用: 最上位より下のどのグループにも属していないため、保存されません。</translation>
    </message>
    <message>
        <source>member</source>
        <translation>所属</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>not a member</source>
        <translation>非所属</translation>
    </message>
</context>
<context>
    <name>SectionFields</name>
    <message>
        <source>Spec</source>
        <translation>種別</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>データ</translation>
    </message>
    <message>
        <source>Family</source>
        <translation>姓</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>名</translation>
    </message>
    <message>
        <source>Mid Name</source>
        <translation>ミドルネーム</translation>
    </message>
    <message>
        <source>ZIP</source>
        <translation>郵便番号</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>国</translation>
    </message>
    <message>
        <source>Prefecture</source>
        <translation>都道府県</translation>
    </message>
    <message>
        <source>City</source>
        <translation>市区町村</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>番地</translation>
    </message>
    <message>
        <source>Office</source>
        <translation>建物</translation>
    </message>
    <message>
        <source>Ext</source>
        <translation>拡張</translation>
    </message>
    <message>
        <source>Company/Team</source>
        <translation>会社・組織</translation>
    </message>
    <message>
        <source>Post</source>
        <translation>部署</translation>
    </message>
    <message>
        <source>Sec Name</source>
        <translation>セクション名</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>会社</translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Ostra Address Book Manager</source>
        <translation>Ostra アドレス帳マネージャ</translation>
    </message>
    <message>
        <source>String(&amp;S)</source>
        <translation>検索文字(&amp;S)</translation>
    </message>
    <message>
        <source>Search(&amp;G)</source>
        <translation>検索(&amp;G)</translation>
    </message>
    <message>
        <source>Cancel(&amp;C)</source>
        <translation>ｷｬﾝｾﾙ(&amp;C)</translation>
    </message>
    <message>
        <source>Tag Select(&amp;T)</source>
        <translation>検索項目(&amp;T)</translation>
    </message>
    <message>
        <source>Search Area(&amp;A)</source>
        <translation>検索範囲(&amp;A)</translation>
    </message>
    <message>
        <source>Search in previous</source>
        <translation>絞り込み検索</translation>
    </message>
    <message>
        <source>in all data</source>
        <translation>全範囲</translation>
    </message>
    <message>
        <source>in default group</source>
        <translation>表示ｸﾞﾙｰﾌﾟ内</translation>
    </message>
    <message>
        <source>Process</source>
        <translation>処理(&amp;R)</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新規</translation>
    </message>
    <message>
        <source>Character(&amp;J)</source>
        <translation>文字を(&amp;J)</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>含む</translation>
    </message>
    <message>
        <source>WithOut</source>
        <translation>含まない</translation>
    </message>
    <message>
        <source>&amp;U：Ignore Case</source>
        <translation>&amp;U：大文字小文字を同一視</translation>
    </message>
    <message>
        <source>Mail Address</source>
        <translation>ﾒｰﾙｱﾄﾞﾚｽ</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前･姓名</translation>
    </message>
    <message>
        <source>Nic Name</source>
        <translation>ﾆｯｸﾈｰﾑ</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>備考</translation>
    </message>
    <message>
        <source>Public-Key</source>
        <translation>Public-Key</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>関連URL</translation>
    </message>
    <message>
        <source>ZIP</source>
        <translation>郵便番号</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>住所</translation>
    </message>
    <message>
        <source>Tel,Fax</source>
        <translation>Tel,Fax 等</translation>
    </message>
    <message>
        <source>Organization</source>
        <translation>所属組織</translation>
    </message>
    <message>
        <source>Birthday</source>
        <translation>誕生日</translation>
    </message>
    <message>
        <source>Others</source>
        <translation>その他</translation>
    </message>
</context>
<context>
    <name>GroupWindow</name>
    <message>
        <source>Ostra Address Book Manager Group Window</source>
        <translation>Ostra アドレス帳マネージャ グループウィンドウ</translation>
    </message>
    <message>
        <source>Ret(&amp;X)</source>
        <translation>戻る(&amp;X)</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>グループ</translation>
    </message>
    <message>
        <source>Add(&amp;G)</source>
        <translation>追加(&amp;G)</translation>
    </message>
    <message>
        <source>Del(&amp;K)</source>
        <translation>削除(&amp;K)</translation>
    </message>
    <message>
        <source>Rename(&amp;R)</source>
        <translation>名前変更(&amp;R)</translation>
    </message>
    <message>
        <source>Nic&amp;Name</source>
        <translation>ﾆｯｸﾈｰﾑ(&amp;N)</translation>
    </message>
    <message>
        <source>GroupName</source>
        <translation>グループ名</translation>
    </message>
    <message>
        <source>NicName</source>
        <translation>ニックネーム</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>編集</translation>
    </message>
    <message>
        <source>Written at the next save</source>
        <translation>次の保存で書き込まれます</translation>
    </message>
</context>
<context>
    <name>OptionWindow</name>
    <message>
        <source>Ostra Address Book Manager Option Setup</source>
        <translation>Ostra アドレス帳マネージャ オプション設定</translation>
    </message>
    <message>
        <source>Ret(&amp;X)</source>
        <translation>戻る(&amp;X)</translation>
    </message>
    <message>
        <source>Pritn(&amp;P)</source>
        <translation>印刷(&amp;P)</translation>
    </message>
    <message>
        <source>Import(&amp;R)</source>
        <translation>インポート(&amp;R)</translation>
    </message>
    <message>
        <source>Address Format of Mail(&amp;M)</source>
        <translation>メール送信時のアドレス形式(&amp;M)</translation>
    </message>
    <message>
        <source>Address combine method(&amp;C)</source>
        <translation>アドレスの統合の方法(&amp;C)</translation>
    </message>
    <message>
        <source>Same Addr,Name,Nic</source>
        <translation>ｱﾄﾞﾚｽ・名前・ﾆｯｸﾈｰﾑが一致</translation>
    </message>
    <message>
        <source>Same Address</source>
        <translation>ｱﾄﾞﾚｽのみが一致</translation>
    </message>
    <message>
        <source>Export Type</source>
        <translation>エキスポート形式</translation>
    </message>
    <message>
        <source>Text of Print Layout</source>
        <translation>プリント様式テキスト</translation>
    </message>
    <message>
        <source>Text of CSV Format</source>
        <translation>CSV形式テキスト</translation>
    </message>
    <message>
        <source>Export(&amp;E)</source>
        <translation>エキスポート(&amp;E)</translation>
    </message>
</context>
<context>
    <name>PrintSetup</name>
    <message>
        <source>Ostra Address Book Manager Print Setup</source>
        <translation>Ostra アドレス帳マネージャ 印刷設定</translation>
    </message>
    <message>
        <source>Ret(&amp;X)</source>
        <translation>戻る(&amp;X)</translation>
    </message>
    <message>
        <source>Print(&amp;P)</source>
        <translation>印刷(&amp;P)</translation>
    </message>
    <message>
        <source>Export(&amp;P)</source>
        <translation>出力(&amp;P)</translation>
    </message>
    <message>
        <source>ClipBoard(&amp;C)</source>
        <translation>クリップボード(&amp;C)</translation>
    </message>
    <message>
        <source>PreView(&amp;V)</source>
        <translation>プレビュー(&amp;V)</translation>
    </message>
    <message>
        <source>Print Target (&amp;T)</source>
        <translation>印刷対象(&amp;T)</translation>
    </message>
    <message>
        <source>Already Extracted</source>
        <translation>抽出済みのデータ</translation>
    </message>
    <message>
        <source>All Data Every Group</source>
        <translation>各グループの全データ</translation>
    </message>
    <message>
        <source>Print Format (&amp;F)</source>
        <translation>印刷形式(&amp;F)</translation>
    </message>
    <message>
        <source>Simple</source>
        <translation>簡易</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>詳細</translation>
    </message>
    <message>
        <source>SelAll(&amp;A)</source>
        <translation>全選択(&amp;A)</translation>
    </message>
    <message>
        <source>DeSel(&amp;U)</source>
        <translation>全解除(&amp;U)</translation>
    </message>
    <message>
        <source>Print Layout</source>
        <translation>印刷レイアウト</translation>
    </message>
    <message>
        <source>Magnify(&amp;%)</source>
        <translation>倍率(&amp;%)</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Memory(&amp;M)</source>
        <translation>記憶(&amp;M)</translation>
    </message>
    <message>
        <source>Initial(&amp;I)</source>
        <translation>初期値(&amp;I)</translation>
    </message>
    <message>
        <source>Ret(&amp;R)</source>
        <translation>戻る(&amp;R)</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>空白</translation>
    </message>
    <message>
        <source>Mail Address</source>
        <translation>メールアドレス</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>備考</translation>
    </message>
    <message>
        <source>Nic Name</source>
        <translation>ニックネーム</translation>
    </message>
    <message>
        <source>Zip</source>
        <translation>郵便番号</translation>
    </message>
    <message>
        <source>Home Address</source>
        <translation>自宅住所</translation>
    </message>
    <message>
        <source>Tel</source>
        <translation>電話</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>FAX</translation>
    </message>
    <message>
        <source>PHS</source>
        <translation>PHS</translation>
    </message>
    <message>
        <source>PGP User-ID</source>
        <translation>PGP ユーザーID</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Other Address
Famiry,Given Name
TEL
URL</source>
        <translation>その他のアドレス
姓,名
TEL
URL</translation>
    </message>
    <message>
        <source>Note
Home Address
PublicKey
Others</source>
        <translation>備考
自宅住所
公開鍵
その他</translation>
    </message>
    <message>
        <source>%1 page</source>
        <translation>%1 ページ</translation>
    </message>
    <message>
        <source>First page (Ctrl+Home)</source>
        <translation>最初のページ (Ctrl+Home)</translation>
    </message>
    <message>
        <source>Previous page (PgUp)</source>
        <translation>前のページ (PgUp)</translation>
    </message>
    <message>
        <source>Next page (PgDn)</source>
        <translation>次のページ (PgDn)</translation>
    </message>
    <message>
        <source>Last page (Ctrl+End)</source>
        <translation>最後のページ (Ctrl+End)</translation>
    </message>
    <message>
        <source>Page %1 / %2</source>
        <translation>%1 / %2 ページ</translation>
    </message>
</context>
<context>
    <name>ImportWindow</name>
    <message>
        <source>Ostra Address Book Manager Import</source>
        <translation>Ostra アドレス帳マネージャ インポート</translation>
    </message>
    <message>
        <source>Ret(&amp;X)</source>
        <translation>戻る(&amp;X)</translation>
    </message>
    <message>
        <source>File Select(&amp;S)</source>
        <translation>ファイル選択(&amp;S)</translation>
    </message>
    <message>
        <source>Execute(&amp;G)</source>
        <translation>実行(&amp;G)</translation>
    </message>
    <message>
        <source>Field Priority</source>
        <translation>項目の優先順位</translation>
    </message>
    <message>
        <source>^ &amp;B</source>
        <translation>^ &amp;B</translation>
    </message>
    <message>
        <source>v &amp;N</source>
        <translation>v &amp;N</translation>
    </message>
    <message>
        <source>Display Record(&amp;R)</source>
        <translation>表示レコード(&amp;R)</translation>
    </message>
    <message>
        <source>Input Template</source>
        <translation>入力テンプレート</translation>
    </message>
    <message>
        <source>File：</source>
        <translation>ファイル：</translation>
    </message>
    <message>
        <source>Source field</source>
        <translation>元の項目</translation>
    </message>
    <message>
        <source>Ostra Section</source>
        <translation>Ostra のセクション</translation>
    </message>
    <message>
        <source>Encoding(&amp;E)</source>
        <translation>文字コード(&amp;E)</translation>
    </message>
    <message>
        <source>Folder(&amp;D)...</source>
        <translation>フォルダ(&amp;D)...</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>Importing...</source>
        <translation>インポート中...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>&amp;1) Any CSV File</source>
        <translation>&amp;1) 任意の CSV ファイル</translation>
    </message>
    <message>
        <source>&amp;2) Outlook Express Ver4</source>
        <translation>&amp;2) Outlook Express Ver4</translation>
    </message>
    <message>
        <source>&amp;3) Netscape Comunicator Ver4</source>
        <translation>&amp;3) Netscape Comunicator Ver4</translation>
    </message>
    <message>
        <source>&amp;4) Ostra! Ver1.xx</source>
        <translation>&amp;4) Ostra! Ver1.xx</translation>
    </message>
    <message>
        <source>&amp;5) AL-MAIL32</source>
        <translation>&amp;5) AL-MAIL32</translation>
    </message>
    <message>
        <source>&amp;6) EdMax</source>
        <translation>&amp;6) EdMax</translation>
    </message>
    <message>
        <source>&amp;7) Datula</source>
        <translation>&amp;7) Datula</translation>
    </message>
    <message>
        <source>&amp;8) vCard File</source>
        <translation>&amp;8) vCard ファイル</translation>
    </message>
    <message>
        <source>(Ignore)</source>
        <translation>(無視)</translation>
    </message>
    <message>
        <source>Group Name</source>
        <translation>グループ名</translation>
    </message>
    <message>
        <source>Mail Address</source>
        <translation>メールアドレス</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Last name</source>
        <translation>姓</translation>
    </message>
    <message>
        <source>First name</source>
        <translation>名</translation>
    </message>
    <message>
        <source>Middle name</source>
        <translation>ミドルネーム</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>肩書き</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>備考</translation>
    </message>
    <message>
        <source>Nic name</source>
        <translation>ニックネーム</translation>
    </message>
    <message>
        <source>office:Zip</source>
        <translation>勤務先:郵便番号</translation>
    </message>
    <message>
        <source>office:Country</source>
        <translation>勤務先:国</translation>
    </message>
    <message>
        <source>office:Prefectures</source>
        <translation>勤務先:都道府県</translation>
    </message>
    <message>
        <source>office:Cities</source>
        <translation>勤務先:市区町村</translation>
    </message>
    <message>
        <source>office:Number</source>
        <translation>勤務先:番地</translation>
    </message>
    <message>
        <source>office:Office</source>
        <translation>勤務先:建物</translation>
    </message>
    <message>
        <source>Organization</source>
        <translation>所属組織</translation>
    </message>
    <message>
        <source>Org:Position</source>
        <translation>所属:役職</translation>
    </message>
    <message>
        <source>Tel</source>
        <translation>電話</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>FAX</translation>
    </message>
    <message>
        <source>PHS</source>
        <translation>PHS</translation>
    </message>
    <message>
        <source>Home:Zip</source>
        <translation>自宅:郵便番号</translation>
    </message>
    <message>
        <source>Home:Country</source>
        <translation>自宅:国</translation>
    </message>
    <message>
        <source>Home:Prefectures</source>
        <translation>自宅:都道府県</translation>
    </message>
    <message>
        <source>Home:Cities</source>
        <translation>自宅:市区町村</translation>
    </message>
    <message>
        <source>Home:Number</source>
        <translation>自宅:番地</translation>
    </message>
    <message>
        <source>Home:Tel</source>
        <translation>自宅:電話</translation>
    </message>
    <message>
        <source>PGP ID</source>
        <translation>PGP ID</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
</context>
<context>
    <name>OutsideChangeWatcher</name>
    <message>
        <source>&amp;Merge now</source>
        <translation>今すぐ統合(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Ignore until saving</source>
        <translation>保存まで無視(&amp;I)</translation>
    </message>
    <message>
        <source>Another program changed the address files of %1.</source>
        <translation>%1 のアドレスファイルが他のプログラムによって変更されました。</translation>
    </message>
    <message>
        <source>Merge the change into memory now, or leave it until saving asks about it?</source>
        <translation>変更を今すぐメモリに統合しますか? それとも保存時の確認まで保留しますか?</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>情報</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Data Modified
Are you save?</source>
        <translation>データが変更されています
保存しますか?</translation>
    </message>
    <message>
        <source>No Hit Address</source>
        <translation>該当するアドレスはありません</translation>
    </message>
    <message>
        <source>Add Address Group</source>
        <translation>アドレスグループの追加</translation>
    </message>
    <message>
        <source>Enter Group Name</source>
        <translation>グループ名を入力して下さい</translation>
    </message>
    <message>
        <source>Add New Group</source>
        <translation>新しいグループの追加</translation>
    </message>
    <message>
        <source>Enter Group New Name</source>
        <translation>新しいグループ名を入力して下さい</translation>
    </message>
    <message>
        <source>Modify Group Name</source>
        <translation>グループ名の変更</translation>
    </message>
    <message>
        <source>Modify NicName</source>
        <translation>ニックネームの変更</translation>
    </message>
    <message>
        <source>Enter NicName</source>
        <translation>ニックネームを入力して下さい</translation>
    </message>
    <message>
        <source>No card is shown: check the groups to export first.</source>
        <translation>表示中のアドレスがありません。先に出力するグループをチェックして下さい。</translation>
    </message>
    <message>
        <source>Write the CSV file in UTF-8 (with a byte-order mark, as spreadsheet programs expect)?
No: Shift-JIS (CP932).</source>
        <translation>CSV ファイルを UTF-8 (表計算ソフトが求めるバイトオーダーマーク付き) で書き出しますか?
いいえ: Shift-JIS (CP932)。</translation>
    </message>
    <message>
        <source>Sec Name must be a property name without &quot;:&quot; and &quot;;&quot;.</source>
        <translation>セクション名には &quot;:&quot; と &quot;;&quot; を含まないプロパティ名を指定して下さい。</translation>
    </message>
    <message>
        <source>Delete this section. Okay?</source>
        <translation>このセクションを削除します。よろしいですか?</translation>
    </message>
    <message>
        <source>The group tree is empty: there is no folder to import into.</source>
        <translation>グループツリーが空です。インポート先のフォルダがありません。</translation>
    </message>
    <message>
        <source>No Print Data !</source>
        <translation>印刷データがありません !</translation>
    </message>
    <message>
        <source>Can not start printing.</source>
        <translation>印刷を開始できません。</translation>
    </message>
    <message>
        <source>Printing failed.</source>
        <translation>印刷に失敗しました。</translation>
    </message>
    <message>
        <source>The address book stores Japanese Shift-JIS (CP932) text, which cannot hold these characters:
%1

Please replace them. Nothing was changed.</source>
        <translation>アドレス帳は日本語の Shift-JIS (CP932) で保存されるため、次の文字は保存できません:
%1

これらの文字を置き換えて下さい。何も変更していません。</translation>
    </message>
    <message>
        <source>CSV files</source>
        <translation>CSV ファイル</translation>
    </message>
    <message>
        <source>Text files</source>
        <translation>テキストファイル</translation>
    </message>
    <message>
        <source>vCard files</source>
        <translation>vCard ファイル</translation>
    </message>
    <message>
        <source>ALMAIL files</source>
        <translation>ALMAIL ファイル</translation>
    </message>
    <message>
        <source>Datula Address Files</source>
        <translation>Datula アドレスファイル</translation>
    </message>
    <message>
        <source>%1
File open error</source>
        <translation>%1
ファイルを開けません</translation>
    </message>
    <message>
        <source>%1
File create error</source>
        <translation>%1
ファイルを作成できません</translation>
    </message>
    <message>
        <source>%1
Can not delete old file.</source>
        <translation>%1
古いファイルを削除できません。</translation>
    </message>
    <message>
        <source>%1
Group is modified by Q7
Are you reload?</source>
        <translation>%1
グループが Q7 によって変更されています
読み込み直しますか?</translation>
    </message>
    <message>
        <source>%1
No vCard (BEGIN:VCARD) in this file.</source>
        <translation>%1
このファイルには vCard (BEGIN:VCARD) がありません。</translation>
    </message>
    <message>
        <source>Group[%1] is can not convert</source>
        <translation>グループ[%1]は変換できません</translation>
    </message>
    <message>
        <source>File &quot;%1.adr&quot; File open error</source>
        <translation>ファイル &quot;%1.adr&quot; を開けません</translation>
    </message>
    <message>
        <source>%1 cards written to
%2</source>
        <translation>%1 件のアドレスを書き出しました
%2</translation>
    </message>
    <message>
        <source>%1
%2
Address Delete Okay?</source>
        <translation>%1
%2
アドレスを削除します。よろしいですか?</translation>
    </message>
    <message>
        <source>%1
has Chiled Group. Can net Delete.</source>
        <translation>%1
子グループがあるため削除できません。</translation>
    </message>
    <message>
        <source>%1
to delete. Are you Okey?</source>
        <translation>%1
を削除します。よろしいですか?</translation>
    </message>
    <message>
        <source>%1
Has %2 件所属しています
先に所属を抹消して下さい。</source>
        <translation>%1
%2 件所属しています
先に所属を抹消して下さい。</translation>
    </message>
    <message>
        <source>%1
Delete from disk. Are you Okey?</source>
        <translation>%1
をディスクから削除します。よろしいですか?</translation>
    </message>
    <message>
        <source>%1
Can not rename folder.</source>
        <translation>%1
フォルダの名前を変更できません。</translation>
    </message>
    <message>
        <source>Group&lt;%1&gt;can not be used as a folder name.</source>
        <translation>グループ&lt;%1&gt;はフォルダ名に使えません。</translation>
    </message>
    <message>
        <source>Group&lt;%1&gt;is already exist.</source>
        <translation>グループ&lt;%1&gt;は既にあります。</translation>
    </message>
    <message>
        <source>%1 is not execute.</source>
        <translation>%1 を実行できません。</translation>
    </message>
    <message>
        <source>The address book folder was not found. Choose the mail client's data folder (the folder that holds &quot;AddrBook&quot;)? Choose No to start with an empty book.
%1</source>
        <translation>アドレス帳のフォルダが見つかりません。メールソフトのデータフォルダ (&quot;AddrBook&quot; のあるフォルダ) を選びますか? 「いいえ」で空のアドレス帳のまま始めます。
%1</translation>
    </message>
    <message>
        <source>Some cards could not be imported:</source>
        <translation>インポートできなかったアドレスがあります:</translation>
    </message>
    <message>
        <source>Some characters cannot be held in Shift-JIS and were replaced by &quot;?&quot;:</source>
        <translation>Shift-JIS で保存できない文字があり、&quot;?&quot; に置き換えました:</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... ほか %1 件</translation>
    </message>
    <message>
        <source>no e-mail address</source>
        <translation>メールアドレスがありません</translation>
    </message>
    <message>
        <source>Some folders or files of the address book were skipped:</source>
        <translation>アドレス帳の一部のフォルダまたはファイルを読み込みませんでした:</translation>
    </message>
    <message>
        <source>Folder read error</source>
        <translation>フォルダを読み込めません</translation>
    </message>
    <message>
        <source>Name is neither UTF-8 nor Shift-JIS</source>
        <translation>名前が UTF-8 でも Shift-JIS でもありません</translation>
    </message>
    <message>
        <source>(%1 more)</source>
        <translation>(ほか %1 件)</translation>
    </message>
    <message>
        <source>Folders nested more than %1 levels deep are not loaded</source>
        <translation>%1 階層より深いフォルダは読み込みません</translation>
    </message>
</context>
</TS>
