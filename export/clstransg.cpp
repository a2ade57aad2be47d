// SPDX-License-Identifier: MIT
#include "export/clstransg.h"

#include "common/dialogs.h"
#include "common/failuretext.h"
#include "export/exporter.h"
#include "export/transg.h"

#include <string>

namespace velmix {

clsTransG& clsTransG::instance()
{
    static clsTransG shared;
    return shared;
}

namespace {

// The exporter's guard; the bridge shows the message of a stopped call itself.
template <typename Call>
short Guarded(Dialogs& dialogs, QWidget* parent, FailedTask task, Result* result, Call call)
{
    Result r = ExportGuarded(task, call);
    const short code = clsTransG::CodeOf(r);
    if (code == clsTransG::kReported)
        dialogs.message(parent, MsgIcon::Error, ResultText(r));
    if (result)
        *result = std::move(r);
    return code;
}

} // namespace

short clsTransG::DCSaveJpeg(Dialogs& dialogs, QWidget* parent, const StripImage& rPic,
                            const QString& rPath, int vValue, int vPrgrs, Result* result)
{
    if (vValue <= 0 || vValue > 255)
        return kBadOption;
    return Guarded(dialogs, parent, FailedTask::SaveJpeg, result,
                   [&] { return DCSavetoJPEG(rPic, rPath.toStdString(), vValue, vPrgrs); });
}

short clsTransG::DCSavePNG(Dialogs& dialogs, QWidget* parent, const StripImage& rPic,
                           const QString& rPath, int vValue, Result* result)
{
    if (vValue < 0 || vValue >= 3)
        return kBadOption;
    return Guarded(dialogs, parent, FailedTask::SavePng, result,
                   [&] { return DCSavetoPNG(rPic, rPath.toStdString(), vValue); });
}

short clsTransG::CodeOf(const Result& result)
{
    if (result.ok())
        return kOk;
    switch (result.failure().kind) {
    case FailureKind::Refused:
    case FailureKind::OpenFailed:
        return kOpenFailed;
    case FailureKind::WriteFailed:
        return kWriteFailed;
    case FailureKind::FormatError:
        return kFormatError;
    case FailureKind::StackOverflow:
        return kStackOverflow;
    case FailureKind::BadOption:
        return kBadOption;
    default:
        return kReported;
    }
}

QString clsTransG::ErrMes(short vErrorNo)
{
    FailureKind kind = FailureKind::Unknown;
    switch (vErrorNo) {
    case kOk:
        return ResultText(Result());
    case kOpenFailed:
        kind = FailureKind::OpenFailed;
        break;
    case kWriteFailed:
        kind = FailureKind::WriteFailed;
        break;
    case kFormatError:
        kind = FailureKind::FormatError;
        break;
    case kStackOverflow:
        kind = FailureKind::StackOverflow;
        break;
    case kBadOption:
        kind = FailureKind::BadOption;
        break;
    default:
        break;
    }
    // The code's own text: no file, no system description.
    return ResultText(
        Failure{kind, {}, kind == FailureKind::Unknown ? std::to_string(vErrorNo) : ""});
}

} // namespace velmix
