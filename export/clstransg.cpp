// SPDX-License-Identifier: MIT
#include "export/clstransg.h"

#include "common/dialogs.h"
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

// The exporter's guard and words; the bridge shows the message itself.
template <typename Call>
short Guarded(Dialogs& dialogs, QWidget* parent, const char* failure, QString* systemError,
              Call call)
{
    short code = kEncodeOk;
    const ExportResult r = ExportGuarded(failure, [&] {
        std::string error;
        code = call(&error);
        if (systemError)
            *systemError = QString::fromStdString(error);
        return ExportResult{};
    });
    if (r.ok())
        return code;
    dialogs.message(parent, MsgIcon::Error, r.message);
    return clsTransG::kReported;
}

} // namespace

short clsTransG::DCSaveJpeg(Dialogs& dialogs, QWidget* parent, const StripImage& rPic,
                            const QString& rPath, int vValue, int vPrgrs, QString* systemError)
{
    if (vValue <= 0 || vValue > 255)
        return kBadOption;
    return Guarded(dialogs, parent, "JPEG保存時にエラーが発生しました。", systemError,
                   [&](std::string* error) {
                       return DCSavetoJPEG(rPic, rPath.toStdString(), vValue, vPrgrs, error);
                   });
}

short clsTransG::DCSavePNG(Dialogs& dialogs, QWidget* parent, const StripImage& rPic,
                           const QString& rPath, int vValue, QString* systemError)
{
    if (vValue < 0 || vValue >= 3)
        return kBadOption;
    return Guarded(
        dialogs, parent, "PNG保存時にエラーが発生しました。", systemError,
        [&](std::string* error) { return DCSavetoPNG(rPic, rPath.toStdString(), vValue, error); });
}

QString clsTransG::ErrMes(short vErrorNo)
{
    return EncoderCodeText(vErrorNo);
}

} // namespace velmix
