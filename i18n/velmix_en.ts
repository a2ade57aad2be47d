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
    <message>
        <source>16 MiBを超えるファイルは読みません。</source>
        <translation>Files over 16 MiB are not read.</translation>
    </message>
    <message>
        <source>ファイルではなくフォルダです。</source>
        <translation>This is a folder, not a file.</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>This is not a regular file.</translation>
    </message>
    <message>
        <source>GIMPのグラデーション(.ggr)、SVG、linear-gradientを含むCSSのどれでもありません。</source>
        <translation>Neither a GIMP gradient (.ggr), SVG, nor CSS with a linear-gradient.</translation>
    </message>
    <message>
        <source>GIMPのグラデーションファイルではありません(1行目が&quot;GIMP Gradient&quot;ではありません)。</source>
        <translation>Not a GIMP gradient file (line 1 is not &quot;GIMP Gradient&quot;).</translation>
    </message>
    <message>
        <source>区間の数がありません(1以上の整数が必要です)。</source>
        <translation>No segment count (a whole number of at least 1 is needed).</translation>
    </message>
    <message>
        <source>区間%1の数値が11個そろっていません。</source>
        <translation>Segment %1 does not have all 11 numbers.</translation>
    </message>
    <message>
        <source>区間%1に有限でない数値があります。</source>
        <translation>Segment %1 has a number that is not finite.</translation>
    </message>
    <message>
        <source>区間%1のブレンドと色の種類(整数2個または4個)が読めません。</source>
        <translation>Segment %1: the blend and colour types (2 or 4 whole numbers) cannot be read.</translation>
    </message>
    <message>
        <source>区間%1のブレンド(0-5)または色(0-2)の種類が範囲外です。</source>
        <translation>Segment %1: the blend (0-5) or colour (0-2) type is out of range.</translation>
    </message>
    <message>
        <source>区間%1の端の色の種類(0-4)が範囲外です。</source>
        <translation>Segment %1: an end&apos;s colour type (0-4) is out of range.</translation>
    </message>
    <message>
        <source>区間%1の左端・中点・右端(%2)が小さい順に並んでいません。</source>
        <translation>Segment %1: left, middle and right (%2) are not in increasing order.</translation>
    </message>
    <message>
        <source>区間%1の左端(%2)が0ではありません。</source>
        <translation>Segment %1: the left end (%2) is not 0.</translation>
    </message>
    <message>
        <source>区間%1の左端(%2)が前の区間の右端(%3)と一致しません。</source>
        <translation>Segment %1: the left end (%2) is not the previous segment&apos;s right end (%3).</translation>
    </message>
    <message>
        <source>最後の区間の右端(%1)が1ではありません。</source>
        <translation>The last segment&apos;s right end (%1) is not 1.</translation>
    </message>
    <message>
        <source>色が多すぎます(ファイル全体で%1個までです)。</source>
        <translation>Too many colours (at most %1 in the whole file).</translation>
    </message>
    <message>
        <source>色がありません。</source>
        <translation>No colours.</translation>
    </message>
    <message>
        <source>「%1」が読めません。</source>
        <translation>&quot;%1&quot; cannot be read.</translation>
    </message>
    <message>
        <source>向き「%1」は読めません(0deg・90deg・180deg・270degとto top・to right・to bottom・to leftだけに対応しています)。</source>
        <translation>The direction &quot;%1&quot; cannot be read (only 0deg, 90deg, 180deg, 270deg and to top, to right, to bottom, to left).</translation>
    </message>
    <message>
        <source>位置「%1」がpxですが、background-sizeがありません。</source>
        <translation>The position &quot;%1&quot; is in px, but there is no background-size.</translation>
    </message>
    <message>
        <source>background-size「%1」の幅がpxで読めません(位置「%2」に必要です)。</source>
        <translation>The width of background-size &quot;%1&quot; cannot be read in px (the position &quot;%2&quot; needs it).</translation>
    </message>
    <message>
        <source>background-size「%1」の高さがpxで読めません(位置「%2」に必要です)。</source>
        <translation>The height of background-size &quot;%1&quot; cannot be read in px (the position &quot;%2&quot; needs it).</translation>
    </message>
    <message>
        <source>中間点「%1」の前に色がありません。</source>
        <translation>No colour before the hint &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>最後の中間点の後に色がありません。</source>
        <translation>No colour after the last hint.</translation>
    </message>
    <message>
        <source>0%から100%の外にかかる中間点(「%1」の前)は読めません。</source>
        <translation>A hint reaching outside 0% to 100% (before &quot;%1&quot;) cannot be read.</translation>
    </message>
    <message>
        <source>右から左・下から上のグラデーションの中間点(「%1」の前)は読めません。</source>
        <translation>A hint in a right-to-left or bottom-to-top gradient (before &quot;%1&quot;) cannot be read.</translation>
    </message>
    <message>
        <source>背景の層が多すぎます(%1までです)。</source>
        <translation>Too many background layers (at most %1).</translation>
    </message>
    <message>
        <source>linear-gradient(の閉じ括弧がありません。</source>
        <translation>linear-gradient( has no closing parenthesis.</translation>
    </message>
    <message>
        <source>縦と横のグラデーションを重ねた背景は読めません。</source>
        <translation>A background layering vertical and horizontal gradients cannot be read.</translation>
    </message>
    <message>
        <source>「repeating-linear-gradient」は読めません。</source>
        <translation>&quot;repeating-linear-gradient&quot; cannot be read.</translation>
    </message>
    <message>
        <source>グラデーションと重なる層「%1」は描けません。</source>
        <translation>The layer &quot;%1&quot; over or under the gradient cannot be drawn.</translation>
    </message>
    <message>
        <source>背景色「%1」が読めません。</source>
        <translation>The background colour &quot;%1&quot; cannot be read.</translation>
    </message>
    <message>
        <source>重なった層が細かすぎます。</source>
        <translation>The layers are too finely detailed.</translation>
    </message>
    <message>
        <source>linear-gradient(...) が見つかりません。</source>
        <translation>No linear-gradient(...) found.</translation>
    </message>
    <message>
        <source>接頭辞付きの「%1」は読めません(標準のlinear-gradient(...)だけを読みます)。</source>
        <translation>The prefixed &quot;%1&quot; cannot be read (only the standard linear-gradient(...) is read).</translation>
    </message>
    <message>
        <source>SVGとして読めません(%1行目: %2)。</source>
        <translation>Cannot be read as SVG (line %1: %2).</translation>
    </message>
    <message>
        <source>グラデーション「%1」のstop-color「%2」は色として読めません。</source>
        <translation>The stop-color &quot;%2&quot; of gradient &quot;%1&quot; cannot be read as a colour.</translation>
    </message>
    <message>
        <source>stopのあるlinearGradientがありません。</source>
        <translation>No linearGradient with stops.</translation>
    </message>
    <message>
        <source>stopが多すぎます(参照で増えるものも含めて20万個までしか読みません)。</source>
        <translation>Too many stops (at most 200,000 are read, those a reference repeats included).</translation>
    </message>
    <message>
        <source>styleの規則が多すぎて、stopの色を決められません。</source>
        <translation>Too many style rules to decide the stops&apos; colours.</translation>
    </message>
    <message>
        <source>「%1」は放射グラデーションです(線形のものだけを読みます)。</source>
        <translation>&quot;%1&quot; is a radial gradient (only linear ones are read).</translation>
    </message>
    <message>
        <source>「%1」というidや名前の、stopのあるlinearGradientがありません。</source>
        <translation>No linearGradient with stops has the id or name &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>idで選べるのはSVGのグラデーションだけです。</source>
        <translation>Only an SVG&apos;s gradients can be chosen by id.</translation>
    </message>
    <message>
        <source>フォルダを作れません。</source>
        <translation>The folder cannot be made.</translation>
    </message>
    <message>
        <source>そのグラデーションはありません。</source>
        <translation>There is no such gradient.</translation>
    </message>
    <message>
        <source>%1行目: %2</source>
        <translation>Line %1: %2</translation>
    </message>
</context>
<context>
    <name>SystemFacts</name>
    <message>
        <source>ｼｽﾃﾑ</source>
        <translation>System</translation>
    </message>
    <message>
        <source>(不明)</source>
        <translation>(unknown)</translation>
    </message>
    <message>
        <source>ｶｰﾈﾙ</source>
        <translation>Kernel</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳｼｽﾃﾑ</source>
        <translation>Window system</translation>
    </message>
    <message>
        <source>ﾃﾞｽｸﾄｯﾌﾟ</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>画面 %1</source>
        <translation>Screen %1</translation>
    </message>
    <message>
        <source>%1 x %2、倍率 %3</source>
        <translation>%1 x %2, scale %3</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>設定ﾌｧｲﾙ</source>
        <translation>Settings file</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾃﾞｰｼｮﾝ集のﾌｫﾙﾀﾞ</source>
        <translation>Library folder</translation>
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
    <name>velmix::frmSysInfo</name>
    <message>
        <source>ｼｽﾃﾑ情報</source>
        <translation>System Information</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰ(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
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
