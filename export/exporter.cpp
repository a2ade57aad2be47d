// SPDX-License-Identifier: MIT
#include "export/exporter.h"

#include "common/clscommon.h"
#include "common/savefile.h"
#include "core/numtext.h"
#include "core/webgrad.h"
#include "export/transg.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <iterator>
#include <new>

namespace velmix {

namespace {

struct Source
{
    const StripImage& strip;
    const GradPoints& points;
    const CssPage& page;
};

using Writer = Result (*)(const Source&, const std::string& path);

Result WriteWeb(const WebGradient& web, const std::string& path, bool svg)
{
    const FailedTask task = svg ? FailedTask::SaveSvg : FailedTask::SaveCss;
    if (web.thickness < 1)
        return Failure{FailureKind::FormatError, path, {}, task};
    return SaveTextFile(svg ? SvgDocument(web) : CssRule(web), path).during(task);
}

Result WriteWeb(const Source& s, const std::string& path, bool svg)
{
    return WriteWeb({s.points, static_cast<int>(s.strip.line.size()), s.strip.vertical,
                     s.strip.thickness, s.page},
                    path, svg);
}

struct FileType
{
    ImageType type;
    bool fallback;             // also every name no other row takes
    const char* extensions[2]; // lower case
    FailedTask task;
    Writer write;
};

// The file types. The fallback row also takes every other name.
const FileType kFileTypes[] = {
    {ImageType::Jpeg,
     false,
     {"jpg", "jpeg"},
     FailedTask::SaveJpeg,
     [](const Source& s, const std::string& p) {
         return DCSavetoJPEG(s.strip, p, kSaveJpegQuality, 0);
     }},
    {ImageType::Png,
     false,
     {"png", nullptr},
     FailedTask::SavePng,
     [](const Source& s, const std::string& p) { return DCSavetoPNG(s.strip, p, kSavePngOption); }},
    {ImageType::Svg,
     false,
     {"svg", nullptr},
     FailedTask::SaveSvg,
     [](const Source& s, const std::string& p) { return WriteWeb(s, p, true); }},
    {ImageType::Css,
     false,
     {"css", nullptr},
     FailedTask::SaveCss,
     [](const Source& s, const std::string& p) { return WriteWeb(s, p, false); }},
    {ImageType::Bmp,
     true,
     {"bmp", nullptr},
     FailedTask::SaveBmp,
     [](const Source& s, const std::string& p) { return SaveBitmapFile(s.strip, p); }},
};

const FileType* FileTypeNamed(const std::string& name)
{
    const std::string lower = AsciiLower(name);
    for (const FileType& t : kFileTypes)
        for (const char* e : t.extensions)
            if (e && lower == e)
                return &t;
    return nullptr;
}

const FileType& FileTypeFor(const std::string& path)
{
    if (const FileType* t = FileTypeNamed(clsCommon::TrimExt(path)))
        return *t;
    return *std::find_if(std::begin(kFileTypes), std::end(kFileTypes),
                         [](const FileType& t) { return t.fallback; });
}

const FileType& FileTypeOf(ImageType type)
{
    return *std::find_if(std::begin(kFileTypes), std::end(kFileTypes),
                         [type](const FileType& t) { return t.type == type; });
}

} // namespace

Result ExportGuarded(FailedTask task, const std::function<Result()>& body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return Failure{FailureKind::Stopped,
                       {},
                       QString::fromLocal8Bit(std::strerror(ENOMEM)).toStdString(),
                       task};
    } catch (const std::exception& e) {
        return Failure{
            FailureKind::Stopped, {}, QString::fromLocal8Bit(e.what()).toStdString(), task};
    }
}

ImageType ImageTypeFor(const std::string& path)
{
    return FileTypeFor(path).type;
}

std::optional<ImageType> ImageTypeNamed(const std::string& name)
{
    const FileType* t = FileTypeNamed(name);
    return t ? std::optional(t->type) : std::nullopt;
}

bool TakesDither(ImageType type)
{
    return type == ImageType::Bmp || type == ImageType::Png;
}

FailedTask SaveTaskOf(ImageType type)
{
    return FileTypeOf(type).task;
}

Result CheckTarget(const QString& path, FailedTask task)
{
    if (const auto refusal = TargetRefusal(path))
        return Failure{FailureKind::Refused, path.toStdString(), refusal->toStdString(), task};
    return {};
}

Result ExportToFile(const StripImage& strip, const GradPoints& points, const QString& path,
                    std::optional<ImageType> given, const CssPage& page)
{
    const std::string file = path.toStdString();
    const FileType& type = given ? FileTypeOf(*given) : FileTypeFor(file);
    if (Result checked = CheckTarget(path, type.task); !checked.ok())
        return checked;
    return ExportGuarded(type.task, [&] { return type.write(Source{strip, points, page}, file); });
}

Result ExportWebFile(const WebGradient& web, const QString& path, bool svg)
{
    const FailedTask task = svg ? FailedTask::SaveSvg : FailedTask::SaveCss;
    if (Result checked = CheckTarget(path, task); !checked.ok())
        return checked;
    return ExportGuarded(task, [&] { return WriteWeb(web, path.toStdString(), svg); });
}

} // namespace velmix
