// SPDX-License-Identifier: MIT
#pragma once
// The one route from the gradient strip to where it goes: a file whose type
// the name's extension decides, or the clipboard. The save command, the copy
// command and velmix-render all call Export; it refuses targets that are not
// regular files, guards the writers and words every failure the same way
// (what failed, CR LF, the system's description).
//
// Adding a file type: a value in ImageType and one row in the table at the
// top of exporter.cpp (its extensions, its failure text and its writer).

#include "core/gradient.h"

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

struct ExportResult
{
    enum class Outcome
    {
        Done,
        Refused, // the target is not a regular file; nothing was touched
        Failed,
    };
    Outcome outcome = Outcome::Done;
    short code = 0;  // the encoder code (kEncode... in transg.h)
    QString reason;  // the system's description, for a log line
    QString message; // the whole text for the user's message box

    bool ok() const { return outcome == Outcome::Done; }
};

// Writes the gradient to `path` (kStandardOutput: standard output), in the
// given type or else the one its extension names: the images from the strip,
// the web types from the points the strip was drawn from.
ExportResult ExportToFile(const StripImage& strip, const GradPoints& points, const QString& path,
                          std::optional<ImageType> type = std::nullopt);
// Places the whole picture on the clipboard (velmix_exportui; needs a
// QGuiApplication).
ExportResult ExportToClipboard(const StripImage& strip);

// For the targets' own code: a failure worded as every other one, and a
// guard that turns an exception (out of memory for a huge picture and the
// like) into a failure whose first line is `failure`.
ExportResult ExportFailure(short code, const QString& first, const QString& reason);
ExportResult ExportGuarded(const char* failure, const std::function<ExportResult()>& body);

// The text of an encoder code, as the save command reports it.
QString EncoderCodeText(short code);

} // namespace velmix
