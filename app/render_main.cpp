// SPDX-License-Identifier: MIT
// velmix-render: the gradient as a file, from the command line, through the
// same rasteriser and writers as the program's save command.

#include "app/renderargs.h"
#include "common/clscommon.h"
#include "common/savefile.h"
#include "core/contrast.h"
#include "core/version.h"
#include "export/exporter.h"
#include "export/failuretext.h"
#include "settings/moduleini.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <iostream>
#include <string>
#include <utility>

using namespace velmix;

namespace {

std::string Usage()
{
    return std::string("Usage: velmix-render [-p POS:COLOR[:off]]... [-s SIZE] [--vertical] [-t "
                       "THICKNESS] [--type TYPE] -o FILE\n") +
           "       velmix-render --from-ini FILE [options] -o FILE\n"
           "       velmix-render [-p ...] [-s SIZE] --contrast COLOR\n"
           "\n"
           "  -p, --point POS:COLOR[:off]  a colour point, in index order (up to 7); POS 0..1000,\n"
           "                               COLOR #rrggbb or red + 256*green + 65536*blue\n"
           "  -s, --size SIZE              length along the gradient, " +
           std::to_string(kMinImageSize) + ".." + std::to_string(kMaxImageSize) +
           " pixels (100)\n"
           "      --vertical               colour runs top to bottom (default left to right)\n"
           "      --blend rgb|oklab        how colours mix between points (rgb)\n"
           "      --dither                 ordered dither from the unrounded colours (.png, BMP)\n"
           "  -t, --thickness N            pixels across the gradient, 1.." +
           std::to_string(kMaxThickness) +
           " (1)\n"
           "  -o, --output FILE            .png PNG, .jpg/.jpeg JPEG (quality 100), .bmp BMP,\n"
           "                               .svg SVG, .css a body rule for a web page;\n"
           "                               - standard output (give --type)\n"
           "      --type TYPE              bmp, jpg, png, css or svg, whatever FILE is called\n"
           "      --contrast COLOR         no file: print the lowest contrast of text in COLOR\n"
           "                               over the gradient: ratio, pixel, AAA/AA/AA-large/fail\n"
           "      --from-ini FILE          the remembered state of a settings file\n"
           "      --help, --version\n"
           "Every option but -p at most once. Without -p: red, green, blue, red at 0, 333,\n"
           "667, 1000.\n"
           "Exit status: 0 done, 1 the file could not be written, 2 a bad argument or a\n"
           "target that is not a regular file.\n";
}

// A bad argument: one line, and where the whole usage is.
int BadArgument(const std::string& what)
{
    std::cerr << "velmix-render: " << what << " (see velmix-render --help)\n";
    return 2;
}

// Fills what the job leaves open from the remembered state of a settings file.
bool ApplyIni(RenderJob& job)
{
    ModuleINI ini;
    if (!QFileInfo::exists(QString::fromStdString(job.fromIni))) {
        std::cerr << "velmix-render: --from-ini " << job.fromIni << ": no such file\n";
        return false;
    }
    ini.SetIniFile(QString::fromStdString(job.fromIni));
    if (!ini.ReadResult().ok()) {
        std::cerr << "velmix-render: --from-ini " << job.fromIni << ": "
                  << ini.ReadResult().failure().detail << "\n";
        return false;
    }
    const auto s = ini.LoadIni();
    if (!s || s->MemoryState.tate == -1) {
        std::cerr << "velmix-render: --from-ini " << job.fromIni
                  << ": the file holds no remembered state\n";
        return false;
    }
    const MemoryStateT& m = s->MemoryState;
    if (!job.pointsGiven) {
        for (int i = 0; i < kPointCount; ++i) {
            job.points.enabled[i] = m.Enabled[i] != 0;
            job.points.position[i] = m.Locate[i];
            job.points.color[i] = m.Color[i];
        }
    }
    job.points.blend = job.blend.value_or(m.Blend == 1 ? Blend::OkLab : Blend::Rgb);
    if (!job.size)
        job.size = m.Size;
    if (!job.vertical)
        job.vertical = m.tate == 1;
    if (!job.thickness)
        job.thickness = m.chkHeight ? m.SaveHeight : m.tate + 1;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InstallSaveSignalHandlers();
    std::vector<std::string> args(argv + 1, argv + argc);
    RenderArgsResult parsed = ParseRenderArgs(args);
    if (!parsed.job)
        return BadArgument(parsed.error);
    RenderJob job = *parsed.job;
    if (job.help) {
        std::cout << Usage();
        return 0;
    }
    if (job.version) {
        std::cout << "velmix-render " << kVersionText << "\n";
        return 0;
    }
    // A name that does not survive the way to the file system would be
    // written under another name: refuse it instead.
    for (const auto& [option, name] : {std::pair{"-o", &job.output}, {"--from-ini", &job.fromIni}})
        if (QFile::encodeName(QFile::decodeName(name->c_str())) != QByteArray(name->c_str()))
            return BadArgument(std::string(option) +
                               ": the file name is not valid in the system's encoding (UTF-8)");
    const QString output =
        job.output == "-" ? QString(kStandardOutput) : QFile::decodeName(job.output.c_str());
    // The type is what --type or the extension says, never a guess: a name
    // like x.webp would otherwise get a BMP.
    const std::string typeName = job.type.empty() ? clsCommon::TrimExt(job.output) : job.type;
    const std::optional<ImageType> type = ImageTypeNamed(typeName);
    if (!job.contrast && !type)
        return BadArgument(job.type.empty()
                               ? "-o " + job.output + ": the extension names no type (.bmp, " +
                                     ".jpg, .png, .css or .svg): give --type"
                               : "--type " + job.type + ": must be bmp, jpg, png, css or svg");
    if (!job.fromIni.empty() && !ApplyIni(job))
        return 2;

    if (job.contrast) {
        const LowestContrast low =
            LowestContrastOver(DrawGrad(job.points, job.size.value_or(100)), *job.contrast);
        std::cout << ContrastLine(low) << "\n";
        return 0;
    }

    if (job.dither && !TakesDither(*type))
        return BadArgument("--dither: " + job.output +
                           ": JPEG, CSS and SVG are not dithered; use .png or a bitmap");
    const StripImage img =
        MakeStrip(job.points, job.size.value_or(100), job.vertical.value_or(false),
                  job.thickness.value_or(1), job.dither);

    const Result r = ExportToFile(img, job.points, output, type);
    if (r.ok())
        return 0;
    const Failure& f = r.failure();
    if (f.kind == FailureKind::Refused) {
        std::cerr << "velmix-render: -o " << job.output << ": " << f.detail << "\n";
        return 2;
    }
    // The system's own words, or else the message's (a picture too large
    // for its format).
    std::cerr << "velmix-render: cannot write " << job.output << ": "
              << (f.detail.empty() ? ResultText(r).toStdString() : f.detail) << "\n";
    return 1;
}
