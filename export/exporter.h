// SPDX-License-Identifier: MIT
#pragma once
// The one route from the gradient strip to where it goes: a file whose type
// the name's extension decides, or the clipboard. The save command, the copy
// command and velmix-render all call Export; it refuses targets that are not
// regular files and guards the writers; ResultText (common/failuretext.h)
// words its failures.
//
// Adding a file type: a value in ImageType and one row in the table at the
// top of exporter.cpp (its extensions, its task and its writer), and the
// task's failure text in common/failuretext.cpp.

#include "common/result.h"
#include "core/gradient.h"
#include "core/webgrad.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace velmix {

enum class ImageType
{
    Bmp,
    Jpeg,
    Png,
    Svg,
    Css
};
// By the extension alone (case-insensitive): "jpg"/"jpeg" JPEG, "png" PNG,
// "svg" SVG, "css" a CSS rule, anything else, no extension included, BMP.
ImageType ImageTypeFor(const std::string& path);
// The type a name stands for ("bmp", "jpg", "jpeg", "png", "svg", "css", in
// any case); nullopt for any other.
std::optional<ImageType> ImageTypeNamed(const std::string& name);

// Whether the type's pixels are ours to dither: BMP and PNG (and the
// clipboard). A JPEG encoder and a browser decide their own pixels.
bool TakesDither(ImageType type);

// How the save command sets the encoders: JPEG at the best quality, PNG
// "balanced" (the smallest file up to 5592 x 2000 pixels, the fastest
// compression beyond; see CompressForOption).
inline constexpr int kSaveJpegQuality = 100;
inline constexpr int kSavePngOption = 1;

// What saving a file of the type is, for the failure's wording.
FailedTask SaveTaskOf(ImageType type);

// Refused, with the path and why, when `path` must not be replaced.
Result CheckTarget(const QString& path, FailedTask task);

// Writes the gradient to `path` (kStandardOutput: standard output), in the
// given type or else the one its extension names: the images from the strip,
// the web types from the points the strip was drawn from; a CSS rule fits
// the page as `page` says.
Result ExportToFile(const StripImage& strip, const GradPoints& points, const QString& path,
                    std::optional<ImageType> type = std::nullopt, const CssPage& page = {});
// Writes an SVG (else a CSS rule) of `web` to `path`, checked and guarded
// as ExportToFile writes those types: for a gradient drawn from points
// that no strip shows (the library window's).
Result ExportWebFile(const WebGradient& web, const QString& path, bool svg);
// Places the whole picture on the clipboard (velmix_exportui; needs a
// QGuiApplication).
Result ExportToClipboard(const StripImage& strip);

// For the targets' own code: a guard that turns an exception (out of memory
// for a huge picture and the like) into a Stopped failure of `task`.
Result ExportGuarded(FailedTask task, const std::function<Result()>& body);

} // namespace velmix
