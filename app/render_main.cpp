// SPDX-License-Identifier: MIT
// velmix-render: the gradient as a file, from the command line, through the
// same rasteriser and writers as the program's save command.

#include "app/renderargs.h"
#include "common/clscommon.h"
#include "common/failuretext.h"
#include "common/savefile.h"
#include "core/contrast.h"
#include "core/fit.h"
#include "core/language.h"
#include "core/version.h"
#include "export/exporter.h"
#include "library/gradlibrary.h"
#include "settings/moduleini.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

using namespace velmix;

namespace {

std::string Usage()
{
    return std::string("Usage: velmix-render [-p POS:COLOR[:off]]... [-s SIZE] [--vertical] [-t "
                       "THICKNESS] [--type TYPE] -o FILE\n") +
           "       velmix-render --from FILE [options] -o FILE\n"
           "       velmix-render [-p ...] [-s SIZE] --contrast COLOR\n"
           "\n"
           "  -p, --point POS:COLOR[:off]  a colour point, in index order (up to 7); POS 0..1000,\n"
           "                               COLOR a CSS colour (#fff, #rrggbb, rgb(), hsl(), a\n"
           "                               name) or red + 256*green + 65536*blue\n"
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
           "                               .svg SVG, .css a body rule for a web page, .ggr a\n"
           "                               gradient for GIMP and Krita;\n"
           "                               - standard output (give --type)\n"
           "      --type TYPE              bmp, jpg, png, css, svg or ggr, whatever FILE is "
           "called\n"
           "      --selector SEL           the CSS rule's selector (body)\n"
           "      --repeat tile|axis       CSS: the image tiled both ways (tile), or repeated\n"
           "                               only across the gradient with the far end's colour\n"
           "                               beyond it (axis)\n"
           "      --contrast COLOR         no file: print the lowest contrast of text in COLOR\n"
           "                               over the gradient: ratio, pixel, AAA/AA/AA-large/fail\n"
           "      --from FILE[#ID]         the points from a file: .ini as --from-ini; a .ggr,\n"
           "                               .svg or .css gradient (of an SVG's several the first,\n"
           "                               or the one whose id or Inkscape label is ID;\n"
           "                               - standard input; at most 16 MiB; not with -p),\n"
           "                               fitted into seven points where they cannot hold it\n"
           "                               exactly (the largest error at -s said on standard\n"
           "                               error); CSS that runs down is drawn vertical;\n"
           "                               our own CSS and SVG bring their size and orientation\n"
           "      --from-ini FILE          the remembered state of a settings file\n"
           "  -h, --help, --version\n"
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

// Fills what the job leaves open from the remembered state of a settings
// file; `option` is how the file was given.
bool ApplyIni(RenderJob& job, const std::string& option)
{
    ModuleINI ini;
    const std::string named = "velmix-render: " + option + " " + job.fromIni + ": ";
    if (!QFileInfo::exists(QString::fromStdString(job.fromIni))) {
        std::cerr << named << "no such file\n";
        return false;
    }
    ini.SetIniFile(QString::fromStdString(job.fromIni));
    if (!ini.ReadResult().ok()) {
        std::cerr << named << FailureDetail(ini.ReadResult().failure()).toStdString() << "\n";
        return false;
    }
    const auto s = ini.LoadIni();
    if (!s || s->MemoryState.tate == -1) {
        std::cerr << named << "the file holds no remembered state\n";
        return false;
    }
    const MemoryStateT& m = s->MemoryState;
    const EditState recalled = RecallState(m);
    if (!job.pointsGiven)
        job.points = recalled.points;
    job.points.blend = job.blend.value_or(recalled.points.blend);
    if (!job.size)
        job.size = recalled.size;
    if (!job.vertical)
        job.vertical = recalled.orientation == 1;
    if (!job.thickness)
        job.thickness = m.chkHeight ? m.SaveHeight : m.tate + 1;
    return true;
}

// Fills what the job leaves open from a gradient file: our own CSS and SVG
// bring their points, size and orientation; anything else its first
// gradient, fitted into seven points. `name` becomes the gradient's name.
bool ApplyGradient(RenderJob& job, std::string& name)
{
    const std::string named = "velmix-render: --from " + job.from + ": ";
    GradImport read;
    if (job.from == "-") {
        // Standard input has no extension: its content says what it is.
        QFile in;
        QByteArray text;
        Refusal error;
        if (!in.open(stdin, QIODevice::ReadOnly))
            error = {RefusalKind::System, 0, 0, in.errorString().toStdString()};
        else if (const Result r = ReadCapped(in, kMaxGradientFile, text); !r.ok())
            error = r.failure().refusal;
        read = error ? Unread(error) : ImportText(text, QString::fromStdString(name));
    } else {
        // FILE#id names one gradient of an SVG, unless FILE#id is itself
        // the file.
        QString path = QFile::decodeName(job.from.c_str());
        QString wanted;
        const qsizetype mark = path.lastIndexOf(QLatin1Char('#'));
        if (mark > 0 && !QFileInfo::exists(path)) {
            wanted = path.mid(mark + 1);
            path.truncate(mark);
        }
        read = ImportFile(path, wanted);
    }
    if (read.gradients.empty() && !read.carried) {
        std::cerr << named << RefusalText(read.refusal).toStdString() << "\n";
        return false;
    }
    if (!read.gradients.empty())
        name = read.gradients.front().name;
    if (read.carried) {
        const WebGradient& c = *read.carried;
        job.points = c.points;
        job.points.blend = job.blend.value_or(c.points.blend);
        job.size = job.size.value_or(c.length);
        job.vertical = job.vertical.value_or(c.vertical);
        job.thickness = job.thickness.value_or(c.thickness);
        return true;
    }
    if (read.gradients.size() > 1)
        std::cerr << "velmix-render: " << job.from << ": " << read.gradients.size()
                  << " gradients, the first drawn (\"" << Quoted(name)
                  << "\"; name another as FILE#id)\n";
    // CSS and SVG run the way its direction says, unless told otherwise.
    if (!read.vertical.empty())
        job.vertical = job.vertical.value_or(read.vertical.front());
    // A browser draws CSS and SVG at the pixels' centres, GIMP a .ggr at
    // their left edges; the error is the one at the size drawn.
    const FittedPoints fit = PointsFor(read.gradients.front(), job.size.value_or(100),
                                       read.web ? Sampling::Centres : Sampling::Edges);
    job.points = fit.points;
    if (fit.largestError > 0)
        std::cerr << "velmix-render: " << job.from << ": fitted into seven points, largest error "
                  << fit.largestError << " at " << job.size.value_or(100) << " pixels\n";
    job.points.blend = job.blend.value_or(fit.points.blend);
    return true;
}

bool EndsWithIni(const std::string& path)
{
    std::string type = clsCommon::TrimExt(path);
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return type == "ini";
}

// A failed write: the message, and the exit status.
int WriteFailure(const Result& r, const std::string& output)
{
    const Failure& f = r.failure();
    if (f.kind == FailureKind::Refused) {
        std::cerr << "velmix-render: -o " << output << ": " << f.detail << "\n";
        return 2;
    }
    // The system's own words, or else the message's (a picture too large
    // for its format).
    std::cerr << "velmix-render: cannot write " << output << ": "
              << (f.detail.empty() ? ResultText(r).toStdString() : f.detail) << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Its own lines are English; what a reader refused is worded in the
    // desktop's language, as the windows word it.
    QTranslator english;
    if (LanguageFromEnvironment() == UiLanguage::English &&
        english.load(QStringLiteral("velmix_en"), QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(&english);
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
    for (const auto& [option, name] :
         {std::pair{"-o", &job.output}, {"--from-ini", &job.fromIni}, {"--from", &job.from}})
        if (QFile::encodeName(QFile::decodeName(name->c_str())) != QByteArray(name->c_str()))
            return BadArgument(std::string(option) +
                               ": the file name is not valid in the system's encoding (UTF-8)");
    const QString output =
        job.output == "-" ? QString(kStandardOutput) : QFile::decodeName(job.output.c_str());
    // The type is what --type or the extension says, never a guess: a name
    // like x.webp would otherwise get a BMP.
    const std::string typeName = job.type.empty() ? clsCommon::TrimExt(job.output) : job.type;
    const std::optional<ImageType> type = ImageTypeNamed(typeName);
    std::string lowerType = typeName;
    std::transform(lowerType.begin(), lowerType.end(), lowerType.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const bool ggr = lowerType == "ggr";
    if (!job.contrast && !type && !ggr)
        return BadArgument(job.type.empty()
                               ? "-o " + job.output + ": the extension names no type (.bmp, " +
                                     ".jpg, .png, .css, .svg or .ggr): give --type"
                               : "--type " + job.type + ": must be bmp, jpg, png, css, svg or ggr");
    if (job.dither && ggr)
        return BadArgument("--dither: " + job.output + ": a .ggr holds no pixels to dither");
    // The gradient's name in a .ggr: the source's, or the file's own.
    std::string name =
        job.output == "-" ? "velmix" : QFileInfo(output).completeBaseName().toStdString();
    const bool gradientFile = !job.from.empty() && !EndsWithIni(job.from);
    if (gradientFile && job.pointsGiven)
        return BadArgument("--from and -p: the points come from the file; give one of them");
    // Written over, the source would be lost before it was read back.
    for (const std::string* source : {&job.from, &job.fromIni}) {
        const QFileInfo in(QFile::decodeName(source->c_str()));
        if (!source->empty() && *source != "-" && job.output != "-" && in.exists() &&
            in.canonicalFilePath() == QFileInfo(output).canonicalFilePath())
            return BadArgument("-o " + job.output + ": the same file as " + *source +
                               ", which would be overwritten");
    }
    if (!job.from.empty() && EndsWithIni(job.from)) {
        job.fromIni = job.from;
        if (!ApplyIni(job, "--from"))
            return 2;
    } else if (!job.from.empty() && !ApplyGradient(job, name)) {
        return 2;
    }
    if (!job.fromIni.empty() && job.from.empty() && !ApplyIni(job, "--from-ini"))
        return 2;

    if (job.contrast) {
        const LowestContrast low =
            LowestContrastOver(DrawGrad(job.points, job.size.value_or(100)), *job.contrast);
        std::cout << ContrastLine(low) << "\n";
        return 0;
    }

    if (ggr) {
        // Linear RGB segments through the points: an OKLab blend's curve is
        // not kept.
        const std::string text = WriteGgr(GradientFromPoints(name, job.points));
        const Result r = SaveThrough(output, [&](QFileDevice& file) {
            return WriteFully(file, text.data(), qint64(text.size()));
        });
        return r.ok() ? 0 : WriteFailure(r, job.output);
    }
    if (job.dither && !TakesDither(*type))
        return BadArgument("--dither: " + job.output +
                           ": JPEG, CSS and SVG are not dithered; use .png or a bitmap");
    const StripImage img =
        MakeStrip(job.points, job.size.value_or(100), job.vertical.value_or(false),
                  job.thickness.value_or(1), job.dither);

    const Result r = ExportToFile(img, job.points, output, type, job.page);
    return r.ok() ? 0 : WriteFailure(r, job.output);
}
