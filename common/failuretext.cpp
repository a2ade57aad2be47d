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

} // namespace

QString ResultText(const Result& result)
{
    if (result.ok())
        return QCoreApplication::translate("Failure", "成功しました。");
    const Failure& f = result.failure();
    const QString detail = QString::fromStdString(f.detail);
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
