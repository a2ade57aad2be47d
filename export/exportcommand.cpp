// SPDX-License-Identifier: MIT
#include "export/exportcommand.h"

#include "common/clscommon.h"
#include "common/failuretext.h"
#include "core/webgrad.h"
#include "export/clstransg.h"
#include "export/exporter.h"
#include "export/frmoption.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>

namespace velmix {

namespace {

const char* const kSaveFilter = QT_TRANSLATE_NOOP(
    "ExportCommand", "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞ(*.BMP)|*.bmp|Jpeg(*.JPG)|*.jpg|PNG(*.PNG)|*.png|"
                     "SVG(*.SVG)|*.svg|CSS(*.CSS)|*.css");

// Shows the message of a failure; true for a success.
bool Told(Dialogs& dialogs, QWidget* parent, const Result& r)
{
    if (!r.ok())
        dialogs.message(parent, MsgIcon::Error, ResultText(r));
    return r.ok();
}

// JPEG and PNG go through the encoder bridge, which shows the message of a
// stopped call itself; any other failure is worded from the writer's result.
bool SaveFile(Dialogs& dialogs, QWidget* parent, const StripImage& img, const GradPoints& points,
              const QString& path, const CssPage& page)
{
    const ImageType type = ImageTypeFor(path.toStdString());
    if (type != ImageType::Jpeg && type != ImageType::Png)
        return Told(dialogs, parent, ExportToFile(img, points, path, type, page));
    if (!Told(dialogs, parent, CheckTarget(path, SaveTaskOf(type))))
        return false;
    clsTransG& bridge = clsTransG::instance();
    Result written;
    const short code =
        type == ImageType::Jpeg
            ? bridge.DCSaveJpeg(dialogs, parent, img, path, kSaveJpegQuality, 0, &written)
            : bridge.DCSavePNG(dialogs, parent, img, path, kSavePngOption, &written);
    return code != clsTransG::kReported && Told(dialogs, parent, written);
}

} // namespace

void RunExport(Dialogs& dialogs, QWidget* parent, const OptionsDialog& options,
               const ExportInput& input, bool save, SaveFileRequest& saveDialog)
{
    QString path;
    if (save) {
        saveDialog.filter = QCoreApplication::translate("ExportCommand", kSaveFilter);
        const auto chosen = dialogs.saveFileName(parent, saveDialog);
        if (!chosen || chosen->isEmpty())
            return;
        path = *chosen;
        saveDialog.fileName = path;
    }
    frmOption& opt = options();
    opt.setDither(input.dither);
    const bool ditherable = !save || TakesDither(ImageTypeFor(path.toStdString()));
    const bool css = save && ImageTypeFor(path.toStdString()) == ImageType::Css;
    opt.setCssPage(input.page);
    opt.setTarget({save, input.orientation, input.size, ditherable, css});
    dialogs.runModal(&opt);
    if (opt.cancelled())
        return;
    // Files are streamed from the one line along the gradient (and the
    // dither's few lines) at the chosen thickness, never widened in memory.
    const StripImage img = MakeStrip(input.points, std::max(0, input.size), input.orientation != 0,
                                     opt.saveHeight(), opt.dither() && ditherable);
    if (img.line.empty())
        return;
    if (!save) {
        Told(dialogs, parent, ExportToClipboard(img));
        return;
    }
    // After any JPEG or PNG write, as after a file of another type that was
    // written, the save dialog offers the name without its extension; after
    // another type's failure it keeps the chosen name, extension included.
    const ImageType type = ImageTypeFor(path.toStdString());
    if (SaveFile(dialogs, parent, img, input.points, path, opt.cssPage()) ||
        type == ImageType::Jpeg || type == ImageType::Png) {
        saveDialog.fileName = QString::fromStdString(clsCommon::TrimDirFname(path.toStdString()));
        saveDialog.type = QString::fromStdString(clsCommon::TrimExt(path.toStdString()));
    }
}

void CopyCss(const ExportInput& input)
{
    const WebGradient web{input.points, std::clamp(input.size, kMinImageSize, kMaxImageSize),
                          input.orientation != 0, 1, input.page};
    QGuiApplication::clipboard()->setText(QString::fromStdString(CssDeclarations(web)));
}

} // namespace velmix
