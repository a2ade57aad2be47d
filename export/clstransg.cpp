#include "clstransg.h"

#include "dialogs.h"
#include "exporter.h"
#include "transg.h"

#include <exception>

namespace velmix {

clsTransG& clsTransG::instance()
{
    static clsTransG shared;
    return shared;
}

namespace {

template <typename Call>
short Guarded(Dialogs& dialogs, QWidget* parent, const char* failure, QString* systemError,
              Call call)
{
    try {
        std::string error;
        const short code = call(&error);
        if (systemError)
            *systemError = QString::fromStdString(error);
        return code;
    } catch (const std::exception& e) {
        // Out of memory for a huge picture and the like: the encoder could
        // not run at all.
        dialogs.message(parent, MsgIcon::Error,
                        QString::fromUtf8(failure) + QStringLiteral("\r\n") +
                            QString::fromLocal8Bit(e.what()));
        return clsTransG::kReported;
    }
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
