// SPDX-License-Identifier: MIT
#include "export/exporter.h"

#include "common/clscommon.h"
#include "common/savefile.h"
#include "core/numtext.h"
#include "core/webgrad.h"
#include "export/transg.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <iterator>
#include <new>

namespace velmix {

namespace {

// "Balanced": the smallest file up to 5592 x 2000 pixels, the fastest
// compression beyond (see CompressForOption).
constexpr int kPngOption = 1;

struct Source
{
    const StripImage& strip;
    const GradPoints& points;
};

using Writer = short (*)(const Source&, const std::string& path, std::string* error);

short WriteWeb(const Source& s, const std::string& path, std::string* error, bool svg)
{
    if (s.strip.thickness < 1)
        return kEncodeFormatError;
    const WebGradient web{s.points, static_cast<int>(s.strip.line.size()), s.strip.vertical,
                          s.strip.thickness};
    return SaveTextFile(svg ? SvgDocument(web) : CssRule(web), path, error) ? kEncodeOk
                                                                            : kEncodeWriteFailed;
}

struct FileType
{
    ImageType type;
    bool fallback;             // also every name no other row takes
    const char* extensions[2]; // lower case
    const char* failure;       // the first line when the writer could not run
    Writer write;
};

// The file types. The fallback row also takes every other name.
const FileType kFileTypes[] = {
    {ImageType::Jpeg,
     false,
     {"jpg", "jpeg"},
     QT_TRANSLATE_NOOP("Exporter", "JPEG保存時にエラーが発生しました。"),
     [](const Source& s, const std::string& p, std::string* e) {
         return DCSavetoJPEG(s.strip, p, 100, 0, e);
     }},
    {ImageType::Png,
     false,
     {"png", nullptr},
     QT_TRANSLATE_NOOP("Exporter", "PNG保存時にエラーが発生しました。"),
     [](const Source& s, const std::string& p, std::string* e) {
         return DCSavetoPNG(s.strip, p, kPngOption, e);
     }},
    {ImageType::Svg,
     false,
     {"svg", nullptr},
     QT_TRANSLATE_NOOP("Exporter", "SVG保存時にエラーが発生しました。"),
     [](const Source& s, const std::string& p, std::string* e) { return WriteWeb(s, p, e, true); }},
    {ImageType::Css,
     false,
     {"css", nullptr},
     QT_TRANSLATE_NOOP("Exporter", "CSS保存時にエラーが発生しました。"),
     [](const Source& s, const std::string& p, std::string* e) {
         return WriteWeb(s, p, e, false);
     }},
    {ImageType::Bmp,
     true,
     {"bmp", nullptr},
     QT_TRANSLATE_NOOP("Exporter", "BMP保存時にエラーが発生しました。"),
     [](const Source& s, const std::string& p, std::string* e) {
         return SaveBitmapFile(s.strip, p, e) ? short(kEncodeOk) : short(kEncodeWriteFailed);
     }},
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

QString Worded(const QString& first, const QString& reason)
{
    return reason.isEmpty() ? first : first + QStringLiteral("\r\n") + reason;
}

} // namespace

ExportResult ExportFailure(short code, const QString& first, const QString& reason)
{
    return {ExportResult::Outcome::Failed, code, reason, Worded(first, reason)};
}

ExportResult ExportGuarded(const char* failure, const std::function<ExportResult()>& body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return ExportFailure(kEncodeCallFailed, QCoreApplication::translate("Exporter", failure),
                             QString::fromLocal8Bit(std::strerror(ENOMEM)));
    } catch (const std::exception& e) {
        return ExportFailure(kEncodeCallFailed, QCoreApplication::translate("Exporter", failure),
                             QString::fromLocal8Bit(e.what()));
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

QString EncoderCodeText(short code)
{
    switch (code) {
    case kEncodeOk:
        return QCoreApplication::translate("Exporter", "成功しました。");
    case kEncodeOpenFailed:
        return QCoreApplication::translate("Exporter", "ファイルがオープンできません。");
    case kEncodeWriteFailed:
        return QCoreApplication::translate("Exporter", "ファイルに書きこめません。");
    case kEncodeFormatError:
        return QCoreApplication::translate("Exporter", "ファイルのフォーマットエラーです。");
    case kEncodeStackOverflow:
        return QCoreApplication::translate("Exporter", "スタックオーバーフローです。");
    case kEncodeBadOption:
        return QCoreApplication::translate("Exporter", "保存品質の指定が間違っています。");
    default:
        return QCoreApplication::translate("Exporter", "clsTransG内部エラー : ") +
               QString::number(code);
    }
}

ExportResult ExportToFile(const StripImage& strip, const GradPoints& points, const QString& path,
                          std::optional<ImageType> given)
{
    if (const auto refusal = TargetRefusal(path))
        return {ExportResult::Outcome::Refused, kEncodeOpenFailed, *refusal,
                Worded(EncoderCodeText(kEncodeOpenFailed), path + QStringLiteral(": ") + *refusal)};
    const std::string file = path.toStdString();
    const FileType& type = given ? FileTypeOf(*given) : FileTypeFor(file);
    return ExportGuarded(type.failure, [&] {
        std::string error;
        const short code = type.write(Source{strip, points}, file, &error);
        if (code == kEncodeOk)
            return ExportResult{};
        return ExportFailure(code, EncoderCodeText(code), QString::fromStdString(error));
    });
}

} // namespace velmix
