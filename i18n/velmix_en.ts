<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>ExportCommand</name>
    <message>
        <source>ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞ(*.BMP)|*.bmp|Jpeg(*.JPG)|*.jpg|PNG(*.PNG)|*.png|SVG(*.SVG)|*.svg|CSS(*.CSS)|*.css</source>
        <translation>Bitmap Image (*.BMP)|*.bmp|JPEG (*.JPG)|*.jpg|PNG (*.PNG)|*.png|SVG (*.SVG)|*.svg|CSS (*.CSS)|*.css</translation>
    </message>
</context>
<context>
    <name>Failure</name>
    <message>
        <source>設定ファイル %1 に書き込めませんでした。前のファイルは変更されていません。<byte value="xd"/>
%2</source>
        <translation>Could not write the settings file %1. The previous file is unchanged.<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>ヘルプを表示できません。<byte value="xd"/>
Ret=</source>
        <translation>Cannot show the help page.<byte value="xd"/>
Ret=</translation>
    </message>
    <message>
        <source>%1 をブラウザで開いてください。</source>
        <translation>Open %1 in a web browser.</translation>
    </message>
    <message>
        <source>クリップボードにコピーできません。</source>
        <translation>Cannot copy to the clipboard.</translation>
    </message>
    <message>
        <source>付属のグラデーションは名前の変更も削除もできません。</source>
        <translation>Gradients that come with the program can be neither renamed nor deleted.</translation>
    </message>
    <message>
        <source>グラデーションを読み取れません。</source>
        <translation>No gradient could be read.</translation>
    </message>
    <message>
        <source>%1 は一覧を読んだ後でほかのプログラムに変更されていたので、そのままにしました。一覧を読み直しました。</source>
        <translation>%1 was changed by another program after the list was read, so it was left as it is. The list has been read again.</translation>
    </message>
    <message>
        <source>ファイルが読めません。</source>
        <translation>Cannot read the file.</translation>
    </message>
    <message>
        <source>ファイルを削除できません。</source>
        <translation>Cannot delete the file.</translation>
    </message>
    <message>
        <source>JPEG保存時にエラーが発生しました。</source>
        <translation>An error occurred while saving the JPEG file.</translation>
    </message>
    <message>
        <source>PNG保存時にエラーが発生しました。</source>
        <translation>An error occurred while saving the PNG file.</translation>
    </message>
    <message>
        <source>SVG保存時にエラーが発生しました。</source>
        <translation>An error occurred while saving the SVG file.</translation>
    </message>
    <message>
        <source>CSS保存時にエラーが発生しました。</source>
        <translation>An error occurred while saving the CSS file.</translation>
    </message>
    <message>
        <source>BMP保存時にエラーが発生しました。</source>
        <translation>An error occurred while saving the BMP file.</translation>
    </message>
    <message>
        <source>成功しました。</source>
        <translation>Succeeded.</translation>
    </message>
    <message>
        <source>ファイルがオープンできません。</source>
        <translation>Cannot open the file.</translation>
    </message>
    <message>
        <source>ファイルに書きこめません。</source>
        <translation>Cannot write to the file.</translation>
    </message>
    <message>
        <source>ファイルのフォーマットエラーです。</source>
        <translation>File format error.</translation>
    </message>
    <message>
        <source>スタックオーバーフローです。</source>
        <translation>Stack overflow.</translation>
    </message>
    <message>
        <source>保存品質の指定が間違っています。</source>
        <translation>Invalid save quality.</translation>
    </message>
    <message>
        <source>clsTransG内部エラー : </source>
        <translation>clsTransG internal error: </translation>
    </message>
</context>
<context>
    <name>velmix::ColourEntry</name>
    <message>
        <source>CSSの色(#rgb、#rrggbb、rgb()、hsl()、色の名前):</source>
        <translation>CSS colour (#rgb, #rrggbb, rgb(), hsl(), a colour name):</translation>
    </message>
    <message>
        <source>入力した色</source>
        <translation>Colour typed</translation>
    </message>
    <message>
        <source>「%1」は色として読めません。</source>
        <translation>“%1” is not a colour that can be read.</translation>
    </message>
    <message>
        <source>色のｺﾋﾟｰ(&amp;C)</source>
        <translation>&amp;Copy Colour</translation>
    </message>
    <message>
        <source>色の入力</source>
        <translation>Enter Colour</translation>
    </message>
    <message>
        <source>色の入力(&amp;E)...</source>
        <translation>&amp;Enter Colour...</translation>
    </message>
    <message>
        <source>色の貼り付け(&amp;P)</source>
        <translation>&amp;Paste Colour</translation>
    </message>
</context>
<context>
    <name>velmix::CrossLabel</name>
    <message>
        <source>無効です</source>
        <translation>Switched off</translation>
    </message>
</context>
<context>
    <name>velmix::UndoMenu</name>
    <message>
        <source>Enabledの変更</source>
        <translation>Switch Point On/Off</translation>
    </message>
    <message>
        <source>点の移動</source>
        <translation>Move Point</translation>
    </message>
    <message>
        <source>色の変更</source>
        <translation>Change Colour</translation>
    </message>
    <message>
        <source>色のﾗﾝﾀﾞﾑ決定(一様乱数)</source>
        <translation>Random Colours (Uniform)</translation>
    </message>
    <message>
        <source>色のﾗﾝﾀﾞﾑ決定(自然)</source>
        <translation>Random Colours (Natural)</translation>
    </message>
    <message>
        <source>明度の調整</source>
        <translation>Adjust Brightness</translation>
    </message>
    <message>
        <source>点を等間隔に配置</source>
        <translation>Equal Spacing</translation>
    </message>
    <message>
        <source>記憶内容を復帰</source>
        <translation>Recall Stored State</translation>
    </message>
    <message>
        <source>横型・縦型の切替</source>
        <translation>Switch Orientation</translation>
    </message>
    <message>
        <source>ｻｲｽﾞの変更</source>
        <translation>Change Size</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;Y)</source>
        <translation>Re&amp;do</translation>
    </message>
    <message>
        <source>補間の変更</source>
        <translation>Change Interpolation</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾃﾞｰｼｮﾝ集から適用</source>
        <translation>Apply from Library</translation>
    </message>
</context>
<context>
    <name>velmix::UpDown</name>
    <message>
        <source>増やす</source>
        <translation>Increase</translation>
    </message>
    <message>
        <source>減らす</source>
        <translation>Decrease</translation>
    </message>
</context>
<context>
    <name>velmix::frmAbout</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Version -.--</source>
        <translation>Version -.--</translation>
    </message>
    <message>
        <source>(C) 2026 Velmix developers</source>
        <translation>(C) 2026 Velmix developers</translation>
    </message>
    <message>
        <source>このソフトはフリーウェアです。</source>
        <translation>This program is free software.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑ情報(&amp;S)...</source>
        <translation>&amp;System Info...</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>現時点ではｼｽﾃﾑ情報を使用できません</source>
        <translation>System information is not available on this system.</translation>
    </message>
    <message>
        <source>%1のﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About %1</translation>
    </message>
</context>
<context>
    <name>velmix::frmLD</name>
    <message>
        <source>明度の調整</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>velmix::frmLibrary</name>
    <message>
        <source>誤差 %1</source>
        <translation>error %1</translation>
    </message>
    <message>
        <source>付属</source>
        <translation>built-in</translation>
    </message>
    <message>
        <source>%1
付属のｸﾞﾗﾃﾞｰｼｮﾝです。名前の変更と削除はできません。</source>
        <translation>%1
Shipped with the program: it cannot be renamed or deleted.</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾃﾞｰｼｮﾝ集</source>
        <translation>Gradient Library</translation>
    </message>
    <message>
        <source>絞り込み:</source>
        <translation>Filter:</translation>
    </message>
    <message>
        <source>名前の一部</source>
        <translation>Part of a name</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾃﾞｰｼｮﾝの一覧</source>
        <translation>Gradients</translation>
    </message>
    <message>
        <source>適用(&amp;A)</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>選んだｸﾞﾗﾃﾞｰｼｮﾝの点に置き換えます (ﾀﾞﾌﾞﾙｸﾘｯｸ、Enter)</source>
        <translation>Replaces the points with the selected gradient&apos;s (double-click, Enter)</translation>
    </message>
    <message>
        <source>現在の状態を追加(&amp;C)...</source>
        <translation>Add &amp;Current...</translation>
    </message>
    <message>
        <source>今のｸﾞﾗﾃﾞｰｼｮﾝを名前を付けて加えます</source>
        <translation>Adds the current gradient under a name</translation>
    </message>
    <message>
        <source>名前の変更(&amp;R)...</source>
        <translation>&amp;Rename...</translation>
    </message>
    <message>
        <source>F2</source>
        <translation>F2</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>読み込み(&amp;I)...</source>
        <translation>&amp;Import...</translation>
    </message>
    <message>
        <source>.ggr、.svg、.css のﾌｧｲﾙを読み込みます (ﾄﾞﾛｯﾌﾟ、CSSは貼り付けも可)</source>
        <translation>Imports .ggr, .svg and .css files (also dropped here; CSS also pasted)</translation>
    </message>
    <message>
        <source>書き出し(&amp;E)...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>選んだｸﾞﾗﾃﾞｰｼｮﾝを .ggr、.svg、.css で保存します</source>
        <translation>Saves the selected gradient as .ggr, .svg or .css</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾃﾞｰｼｮﾝの名前:</source>
        <translation>Name of the gradient:</translation>
    </message>
    <message>
        <source>新しいｸﾞﾗﾃﾞｰｼｮﾝ</source>
        <translation>New gradient</translation>
    </message>
    <message>
        <source>名前を入力してください。</source>
        <translation>Please enter a name.</translation>
    </message>
    <message>
        <source>新しい名前:</source>
        <translation>New name:</translation>
    </message>
    <message>
        <source>「%1」をｸﾞﾗﾃﾞｰｼｮﾝ集から削除しますか?</source>
        <translation>Delete “%1” from the library?</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾃﾞｰｼｮﾝ(*.GGR;*.SVG;*.CSS)|*.ggr *.svg *.css|すべてのﾌｧｲﾙ(*.*)|*</source>
        <translation>Gradients (*.GGR;*.SVG;*.CSS)|*.ggr *.svg *.css|All Files (*.*)|*</translation>
    </message>
    <message>
        <source>GIMPｸﾞﾗﾃﾞｰｼｮﾝ(*.GGR)|*.ggr|SVG(*.SVG)|*.svg|CSS(*.CSS)|*.css</source>
        <translation>GIMP Gradient (*.GGR)|*.ggr|SVG (*.SVG)|*.svg|CSS (*.CSS)|*.css</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Pasted</translation>
    </message>
    <message>
        <source>すべて (%1個)</source>
        <translation>All (%1)</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾃﾞｰｼｮﾝの読み込み</source>
        <translation>Import Gradients</translation>
    </message>
    <message>
        <source>%1 には %2 個のｸﾞﾗﾃﾞｰｼｮﾝがあります。読み込むものを選んでください。</source>
        <translation>%1 holds %2 gradients. Choose which to import.</translation>
    </message>
</context>
<context>
    <name>velmix::frmMain</name>
    <message>
        <source>Enabled</source>
        <translation>On</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>点%1を使う</source>
        <translation>Use point %1</translation>
    </message>
    <message>
        <source>点%1の位置</source>
        <translation>Position of point %1</translation>
    </message>
    <message>
        <source>クリックすると色を変更できます</source>
        <translation>Click to change the colour</translation>
    </message>
    <message>
        <source>点%1の色</source>
        <translation>Colour of point %1</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾃﾞ ｲﾒｰｼﾞ</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>グラデーションのイメージ</source>
        <translation>Gradient preview</translation>
    </message>
    <message>
        <source>画像</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>横型</source>
        <translation>Across</translation>
    </message>
    <message>
        <source>縦型</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>画像の幅をpixel単位で指定します</source>
        <translation>Sets the length of the image in pixels</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>グラデーションを名前を付けて保存します</source>
        <translation>Saves the gradient to a file</translation>
    </message>
    <message>
        <source>ﾀｲﾙ表示(&amp;T)</source>
        <translation>&amp;Tile View</translation>
    </message>
    <message>
        <source>グラデーションをタイルのように敷き詰めて表示します</source>
        <translation>Shows the gradient repeated like tiles</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ(&amp;C)...</source>
        <translation>&amp;Copy to Clipboard...</translation>
    </message>
    <message>
        <source>CSSとしてｺﾋﾟｰ(&amp;S)</source>
        <translation>Copy as C&amp;SS</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾞﾃﾞｰｼｮﾝ編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>色のﾗﾝﾀﾞﾑ決定(一様乱数)(&amp;R)</source>
        <translation>&amp;Random Colours (Uniform)</translation>
    </message>
    <message>
        <source>色のﾗﾝﾀﾞﾑ決定(自然)(&amp;N)</source>
        <translation>Random Colours (&amp;Natural)</translation>
    </message>
    <message>
        <source>明度の調整(&amp;Z)...</source>
        <translation>Adjust &amp;Brightness...</translation>
    </message>
    <message>
        <source>点を等間隔に配置(&amp;E)</source>
        <translation>&amp;Equal Spacing</translation>
    </message>
    <message>
        <source>現在の状態を記憶(&amp;S)</source>
        <translation>&amp;Store Current State</translation>
    </message>
    <message>
        <source>記憶内容を復帰(&amp;L)</source>
        <translation>Re&amp;call Stored State</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ表示(&amp;H)...</source>
        <translation>Velmix &amp;Help...</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About Velmix...</translation>
    </message>
    <message>
        <source>全てのEnabledのチェックをはずすことは出来ません。</source>
        <translation>At least one point must stay on.</translation>
    </message>
    <message>
        <source>R=%1 G=%2 B=%3</source>
        <translation>R=%1 G=%2 B=%3</translation>
    </message>
    <message>
        <source>横幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>%1(pixel):</source>
        <translation>%1 (px):</translation>
    </message>
    <message>
        <source>･</source>
        <translation>·</translation>
    </message>
    <message>
        <source>補間(&amp;I)</source>
        <translation>&amp;Interpolation</translation>
    </message>
    <message>
        <source>RGB(&amp;R)</source>
        <translation>&amp;RGB</translation>
    </message>
    <message>
        <source>OKLab(&amp;O)</source>
        <translation>&amp;OKLab</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾃﾞｰｼｮﾝ集(&amp;G)...</source>
        <translation>&amp;Gradient Library...</translation>
    </message>
</context>
<context>
    <name>velmix::frmOption</name>
    <message>
        <source>保存/コピーのオプション</source>
        <translation>Save/Copy Options</translation>
    </message>
    <message>
        <source>高さをつけてコピー</source>
        <translation>Copy with Height</translation>
    </message>
    <message>
        <source>ｻｲｽﾞ(pixel)</source>
        <translation>Size (px)</translation>
    </message>
    <message>
        <source>画像の幅をpixel単位で指定します</source>
        <translation>Sets the thickness of the image in pixels</translation>
    </message>
    <message>
        <source>画像のサイズ（横幅 x 高さ） :</source>
        <translation>Image size (width x height):</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>%1 x%2 pixels</source>
        <translation>%1 x%2 pixels</translation>
    </message>
    <message>
        <source>%1のオプション</source>
        <translation>%1 Options</translation>
    </message>
    <message>
        <source>横幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>%1をつけて%2</source>
        <translation>%2 with %1</translation>
    </message>
    <message>
        <source>%1(pixel)</source>
        <translation>%1 (px)</translation>
    </message>
    <message>
        <source>%1は1から%2までの数値で指定してください。</source>
        <translation>%1 must be a number from 1 to %2.</translation>
    </message>
    <message>
        <source>ﾃﾞｨｻﾞﾘﾝｸﾞ</source>
        <translation>Dithering</translation>
    </message>
    <message>
        <source>細かな点の模様で中間の色を表し、なだらかなグラデーションの縞をなくします(BMP・PNG・クリップボード)</source>
        <translation>Shows in-between colours as a fine pattern of dots, so that a smooth gradient has no bands (BMP, PNG, clipboard)</translation>
    </message>
    <message>
        <source>CSS</source>
        <translation>CSS</translation>
    </message>
    <message>
        <source>ｾﾚｸﾀ:</source>
        <translation>Selector:</translation>
    </message>
    <message>
        <source>CSSの規則を書くセレクタ(body、.hero など)</source>
        <translation>The selector the CSS rule is written for (body, .hero and so on)</translation>
    </message>
    <message>
        <source>敷き詰め</source>
        <translation>Tiled</translation>
    </message>
    <message>
        <source>画像を縦横に敷き詰めます</source>
        <translation>Repeats the image both ways</translation>
    </message>
    <message>
        <source>一方向</source>
        <translation>One way</translation>
    </message>
    <message>
        <source>画像をグラデーションと直角の向きにだけ繰り返し、その先は終わりの色にします</source>
        <translation>Repeats the image only across the gradient, and fills the page beyond it with its end colour</translation>
    </message>
    <message>
        <source>ｾﾚｸﾀは1行で、{ } ; やｺﾒﾝﾄを含まないものにしてください。</source>
        <translation>The selector must be one line without { } ; or a comment.</translation>
    </message>
</context>
<context>
    <name>velmix::frmTile</name>
    <message>
        <source>タイル表示</source>
        <translation>Tile View</translation>
    </message>
    <message>
        <source>↓保存される画像</source>
        <translation>↓ Image as saved</translation>
    </message>
    <message>
        <source>文字表示(&amp;S)</source>
        <translation>Show &amp;Text</translation>
    </message>
    <message>
        <source>文字表示サンプルを表示するか否かを選択します</source>
        <translation>Shows or hides the sample text</translation>
    </message>
    <message>
        <source>表示色：</source>
        <translation>Colour:</translation>
    </message>
    <message>
        <source>文字表示サンプルの表示色です</source>
        <translation>The colour of the sample text</translation>
    </message>
    <message>
        <source>表示色</source>
        <translation>Text colour</translation>
    </message>
    <message>
        <source>クリックすると色を変更できます</source>
        <translation>Click to change the colour</translation>
    </message>
    <message>
        <source>フォント変更(&amp;F)</source>
        <translation>Change &amp;Font...</translation>
    </message>
    <message>
        <source>文字表示サンプルのフォントを変更します</source>
        <translation>Changes the font of the sample text</translation>
    </message>
    <message>
        <source>文字表示サンプル</source>
        <translation>Sample Text</translation>
    </message>
    <message>
        <source>文字表示色とグラデーションの各色とのコントラスト比(WCAG 2.x)の最低値と、その位置(先頭からのピクセル)です</source>
        <translation>The lowest contrast ratio (WCAG 2.x) between the text colour and the colours of the gradient, and where it lies (pixels from the start)</translation>
    </message>
    <message>
        <source>最低コントラスト比 %1:1 (%2 px) %3</source>
        <translation>Lowest contrast %1:1 (%2 px) %3</translation>
    </message>
    <message>
        <source>FontName = &quot;%1&quot;</source>
        <translation>FontName = &quot;%1&quot;</translation>
    </message>
    <message>
        <source>FontSize = </source>
        <translation>FontSize = </translation>
    </message>
    <message>
        <source>FontStyle = </source>
        <translation>FontStyle = </translation>
    </message>
    <message>
        <source>Width=%1  : Height=%2</source>
        <translation>Width=%1  : Height=%2</translation>
    </message>
    <message>
        <source>AA 大きい文字</source>
        <translation>AA large text</translation>
    </message>
    <message>
        <source>標準&#x3000;&#x3000;</source>
        <translation>Regular</translation>
    </message>
    <message>
        <source>太字&#x3000;&#x3000;</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>斜体&#x3000;&#x3000;</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>太字斜体</source>
        <translation>Bold Italic</translation>
    </message>
    <message>
        <source>不足 (3:1 未満)</source>
        <translation>fail (below 3:1)</translation>
    </message>
</context>
</TS>
