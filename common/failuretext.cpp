// SPDX-License-Identifier: MIT
#include "common/failuretext.h"

#include <QCoreApplication>
#include <QDir>

namespace velmix {

namespace {

QString Worded(const QString& first, const QString& reason)
{
    return reason.isEmpty() ? first : first + QStringLiteral("\r\n") + reason;
}

// The first line when a call of the task was stopped before its end.
QString StoppedText(FailedTask task)
{
    switch (task) {
    case FailedTask::SaveJpeg:
        return QCoreApplication::translate("Failure", "JPEG保存時にエラーが発生しました。");
    case FailedTask::SavePng:
        return QCoreApplication::translate("Failure", "PNG保存時にエラーが発生しました。");
    case FailedTask::SaveSvg:
        return QCoreApplication::translate("Failure", "SVG保存時にエラーが発生しました。");
    case FailedTask::SaveCss:
        return QCoreApplication::translate("Failure", "CSS保存時にエラーが発生しました。");
    default:
        return QCoreApplication::translate("Failure", "BMP保存時にエラーが発生しました。");
    }
}

// A file writer's failure, as the encoder codes word it.
QString FileText(const Failure& f, const QString& detail)
{
    switch (f.kind) {
    case FailureKind::Refused:
        return Worded(QCoreApplication::translate("Failure", "ファイルがオープンできません。"),
                      QString::fromStdString(f.path) + QStringLiteral(": ") + detail);
    case FailureKind::OpenFailed:
        return Worded(QCoreApplication::translate("Failure", "ファイルがオープンできません。"),
                      detail);
    case FailureKind::WriteFailed:
        return Worded(QCoreApplication::translate("Failure", "ファイルに書きこめません。"), detail);
    case FailureKind::FormatError:
        return Worded(QCoreApplication::translate("Failure", "ファイルのフォーマットエラーです。"),
                      detail);
    case FailureKind::StackOverflow:
        return Worded(QCoreApplication::translate("Failure", "スタックオーバーフローです。"),
                      detail);
    case FailureKind::BadOption:
        return QCoreApplication::translate("Failure", "保存品質の指定が間違っています。");
    case FailureKind::Stopped:
        return Worded(StoppedText(f.task), detail);
    default:
        return QCoreApplication::translate("Failure", "clsTransG内部エラー : ") + detail;
    }
}

// A change to the gradient library. Its own failures first; writing the
// file fails as any save does.
QString LibraryText(const Failure& f, const QString& detail)
{
    const QString where = QDir::toNativeSeparators(QString::fromStdString(f.path));
    const QString located = where.isEmpty() ? detail : where + QStringLiteral(": ") + detail;
    if (f.kind == FailureKind::ReadOnly)
        return QCoreApplication::translate("Failure",
                                           "付属のグラデーションは名前の変更も削除もできません。");
    if (f.kind == FailureKind::Changed)
        return QCoreApplication::translate(
                   "Failure",
                   "%1 は一覧を読んだ後でほかのプログラムに変更されていたので、そのままにしました。"
                   "一覧を読み直しました。")
            .arg(where);
    if (f.kind == FailureKind::NotUnderstood)
        return Worded(QCoreApplication::translate("Failure", "グラデーションを読み取れません。"),
                      located);
    if (f.task == FailedTask::ImportGradient && f.kind == FailureKind::OpenFailed)
        return Worded(QCoreApplication::translate("Failure", "ファイルが読めません。"), located);
    if (f.task == FailedTask::RemoveGradient)
        return Worded(QCoreApplication::translate("Failure", "ファイルを削除できません。"),
                      located);
    // The library's files are named by the program, not the person: which
    // one could not be written is said.
    return FileText(f, f.kind == FailureKind::Refused ? detail : located);
}

QString Tr(const char* text)
{
    return QCoreApplication::translate("Failure", text);
}

// A refusal's own words, before any line or reader it is placed in.
QString RefusalWords(const Refusal& r)
{
    // Not const: the kinds that say only the quote return it moved.
    QString q = QString::fromStdString(r.quote);
    const QString q2 = QString::fromStdString(r.quote2);
    const QString n = QString::number(r.number);
    using K = RefusalKind;
    switch (r.kind) {
    case K::None:
        return {};
    case K::System:
        return q;
    case K::TooLarge:
        return Tr(QT_TRANSLATE_NOOP("Failure", "16 MiBを超えるファイルは読みません。"));
    case K::Folder:
        return Tr(QT_TRANSLATE_NOOP("Failure", "ファイルではなくフォルダです。"));
    case K::NotRegular:
        return Tr(QT_TRANSLATE_NOOP("Failure", "通常のファイルではありません。"));
    case K::NoType:
        return Tr(QT_TRANSLATE_NOOP(
            "Failure",
            "GIMPのグラデーション(.ggr)、SVG、linear-gradientを含むCSSのどれでもありません。"));
    case K::GgrNotGimp:
        return Tr(QT_TRANSLATE_NOOP("Failure", "GIMPのグラデーションファイルではありません("
                                               "1行目が\"GIMP Gradient\"ではありません)。"));
    case K::GgrNoCount:
        return Tr(QT_TRANSLATE_NOOP("Failure", "区間の数がありません(1以上の整数が必要です)。"));
    case K::GgrFields:
        return Tr(QT_TRANSLATE_NOOP("Failure", "区間%1の数値が11個そろっていません。")).arg(n);
    case K::GgrNotFinite:
        return Tr(QT_TRANSLATE_NOOP("Failure", "区間%1に有限でない数値があります。")).arg(n);
    case K::GgrKinds:
        return Tr(QT_TRANSLATE_NOOP("Failure",
                                    "区間%1のブレンドと色の種類(整数2個または4個)が読めません。"))
            .arg(n);
    case K::GgrKindsRange:
        return Tr(QT_TRANSLATE_NOOP("Failure",
                                    "区間%1のブレンド(0-5)または色(0-2)の種類が範囲外です。"))
            .arg(n);
    case K::GgrEndsRange:
        return Tr(QT_TRANSLATE_NOOP("Failure", "区間%1の端の色の種類(0-4)が範囲外です。")).arg(n);
    case K::GgrUnordered:
        return Tr(QT_TRANSLATE_NOOP("Failure",
                                    "区間%1の左端・中点・右端(%2)が小さい順に並んでいません。"))
            .arg(n, q);
    case K::GgrFirstLeft:
        return Tr(QT_TRANSLATE_NOOP("Failure", "区間%1の左端(%2)が0ではありません。")).arg(n, q);
    case K::GgrLeftGap:
        return Tr(QT_TRANSLATE_NOOP("Failure",
                                    "区間%1の左端(%2)が前の区間の右端(%3)と一致しません。"))
            .arg(n, q, q2);
    case K::GgrLastRight:
        return Tr(QT_TRANSLATE_NOOP("Failure", "最後の区間の右端(%1)が1ではありません。")).arg(q);
    case K::CssTooManyStops:
        return Tr(QT_TRANSLATE_NOOP("Failure", "色が多すぎます(ファイル全体で%1個までです)。"))
            .arg(n);
    case K::CssNoColours:
        return Tr(QT_TRANSLATE_NOOP("Failure", "色がありません。"));
    case K::CssNotUnderstood:
        return Tr(QT_TRANSLATE_NOOP("Failure", "「%1」が読めません。")).arg(q);
    case K::CssDirection:
        return Tr(QT_TRANSLATE_NOOP("Failure",
                                    "向き「%1」は読めません(0deg・90deg・180deg・270degと"
                                    "to top・to right・to bottom・to leftだけに対応しています)。"))
            .arg(q);
    case K::CssPxNoSize:
        return Tr(QT_TRANSLATE_NOOP("Failure",
                                    "位置「%1」がpxですが、background-sizeがありません。"))
            .arg(q);
    case K::CssWidthNotPx:
        return Tr(QT_TRANSLATE_NOOP(
                      "Failure",
                      "background-size「%1」の幅がpxで読めません(位置「%2」に必要です)。"))
            .arg(q, q2);
    case K::CssHeightNotPx:
        return Tr(QT_TRANSLATE_NOOP(
                      "Failure",
                      "background-size「%1」の高さがpxで読めません(位置「%2」に必要です)。"))
            .arg(q, q2);
    case K::CssHintFirst:
        return Tr(QT_TRANSLATE_NOOP("Failure", "中間点「%1」の前に色がありません。")).arg(q);
    case K::CssHintLast:
        return Tr(QT_TRANSLATE_NOOP("Failure", "最後の中間点の後に色がありません。"));
    case K::CssHintOutside:
        return Tr(QT_TRANSLATE_NOOP("Failure",
                                    "0%から100%の外にかかる中間点(「%1」の前)は読めません。"))
            .arg(q);
    case K::CssHintReversed:
        return Tr(QT_TRANSLATE_NOOP(
                      "Failure",
                      "右から左・下から上のグラデーションの中間点(「%1」の前)は読めません。"))
            .arg(q);
    case K::CssTooManyLayers:
        return Tr(QT_TRANSLATE_NOOP("Failure", "背景の層が多すぎます(%1までです)。")).arg(n);
    case K::CssUnclosed:
        return Tr(QT_TRANSLATE_NOOP("Failure", "linear-gradient(の閉じ括弧がありません。"));
    case K::CssMixedDirections:
        return Tr(QT_TRANSLATE_NOOP("Failure", "縦と横のグラデーションを重ねた背景は読めません。"));
    case K::CssRepeating:
        return Tr(QT_TRANSLATE_NOOP("Failure", "「repeating-linear-gradient」は読めません。"));
    case K::CssUndrawnLayer:
        return Tr(QT_TRANSLATE_NOOP("Failure", "グラデーションと重なる層「%1」は描けません。"))
            .arg(q);
    case K::CssBackgroundColour:
        return Tr(QT_TRANSLATE_NOOP("Failure", "背景色「%1」が読めません。")).arg(q);
    case K::CssTooFine:
        return Tr(QT_TRANSLATE_NOOP("Failure", "重なった層が細かすぎます。"));
    case K::CssNoGradient:
        return Tr(QT_TRANSLATE_NOOP("Failure", "linear-gradient(...) が見つかりません。"));
    case K::CssPrefixed:
        return Tr(QT_TRANSLATE_NOOP(
                      "Failure",
                      "接頭辞付きの「%1」は読めません(標準のlinear-gradient(...)だけを読みます)。"))
            .arg(q);
    case K::SvgNotXml:
        return Tr(QT_TRANSLATE_NOOP("Failure", "SVGとして読めません(%1行目: %2)。"))
            .arg(QString::number(r.line), q);
    case K::SvgStopColour:
        return Tr(QT_TRANSLATE_NOOP("Failure",
                                    "グラデーション「%1」のstop-color「%2」は色として読めません。"))
            .arg(q, q2);
    case K::SvgNoGradient:
        return Tr(QT_TRANSLATE_NOOP("Failure", "stopのあるlinearGradientがありません。"));
    case K::SvgTooManyStops:
        return Tr(QT_TRANSLATE_NOOP(
            "Failure", "stopが多すぎます(参照で増えるものも含めて20万個までしか読みません)。"));
    case K::SvgTooManyRules:
        return Tr(
            QT_TRANSLATE_NOOP("Failure", "styleの規則が多すぎて、stopの色を決められません。"));
    case K::SvgRadial:
        return Tr(QT_TRANSLATE_NOOP("Failure",
                                    "「%1」は放射グラデーションです(線形のものだけを読みます)。"))
            .arg(q);
    case K::SvgNoSuchId:
        return Tr(QT_TRANSLATE_NOOP(
                      "Failure", "「%1」というidや名前の、stopのあるlinearGradientがありません。"))
            .arg(q);
    case K::IdNotSvg:
        return Tr(QT_TRANSLATE_NOOP("Failure", "idで選べるのはSVGのグラデーションだけです。"));
    case K::NoFolder:
        return Tr(QT_TRANSLATE_NOOP("Failure", "フォルダを作れません。"));
    case K::NoSuchGradient:
        return Tr(QT_TRANSLATE_NOOP("Failure", "そのグラデーションはありません。"));
    }
    return {};
}

} // namespace

QString RefusalText(const Refusal& refusal)
{
    QString words = RefusalWords(refusal);
    using K = RefusalKind;
    // A .ggr names its line; what is wrong inside one linear-gradient(...)
    // names the function.
    if (refusal.kind >= K::GgrNotGimp && refusal.kind <= K::GgrLastRight)
        return Tr(QT_TRANSLATE_NOOP("Failure", "%1行目: %2"))
            .arg(QString::number(refusal.line), words);
    if (refusal.kind >= K::CssTooManyStops && refusal.kind <= K::CssHintReversed)
        return QStringLiteral("linear-gradient: ") + words;
    return words;
}

QString FailureDetail(const Failure& f)
{
    if (f.task == FailedTask::WriteSettings && f.refusal.kind != RefusalKind::System && f.refusal)
        return f.refusal.kind == RefusalKind::TooLarge ? QStringLiteral("larger than 1 MiB")
                                                       : QStringLiteral("not a regular file");
    return f.refusal ? RefusalText(f.refusal) : QString::fromStdString(f.detail);
}

QString ResultText(const Result& result)
{
    if (result.ok())
        return QCoreApplication::translate("Failure", "成功しました。");
    const Failure& f = result.failure();
    const QString detail = FailureDetail(f);
    switch (f.task) {
    case FailedTask::WriteSettings:
        return QCoreApplication::translate("Failure", "設定ファイル %1 に書き込めませんでした。"
                                                      "前のファイルは変更されていません。\r\n%2")
            .arg(QDir::toNativeSeparators(QString::fromStdString(f.path)), detail);
    case FailedTask::ShowHelp: {
        const QString text =
            QCoreApplication::translate("Failure", "ヘルプを表示できません。\r\nRet=") + detail;
        // Where the page is, so it can still be opened by hand.
        return f.path.empty()
                   ? text
                   : text + QStringLiteral("\r\n") +
                         QCoreApplication::translate("Failure", "%1 をブラウザで開いてください。")
                             .arg(QDir::toNativeSeparators(QString::fromStdString(f.path)));
    }
    case FailedTask::Copy:
        return Worded(QCoreApplication::translate("Failure", "クリップボードにコピーできません。"),
                      detail);
    case FailedTask::AddGradient:
    case FailedTask::RenameGradient:
    case FailedTask::RemoveGradient:
    case FailedTask::ImportGradient:
        return LibraryText(f, detail);
    default:
        // A bitmap that cannot be written is said in the system's words alone.
        if (f.task == FailedTask::SaveBmp && !detail.isEmpty())
            return f.kind == FailureKind::Refused
                       ? QString::fromStdString(f.path) + QStringLiteral(": ") + detail
                       : detail;
        return FileText(f, detail);
    }
}

} // namespace velmix
