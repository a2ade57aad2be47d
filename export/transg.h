// SPDX-License-Identifier: MIT
#pragma once
// The image encoders behind the save command and the command-line renderer.
// They take the gradient as a strip (one line of colours and a thickness) and
// stream it, so memory does not grow with the thickness, and they write
// through a temporary file that replaces the target only when complete.

#include "common/result.h"
#include "core/gradient.h"

#include <string>

namespace velmix {

// Every failure comes with the file, the system's description where it has
// one, and the task of its type (SaveTextFile: SaveFile).

// quality 1..100; progress is accepted and ignored (no progress display).
Result DCSavetoJPEG(const StripImage& image, const std::string& path, int quality, int progress);
// option 0 = smallest file, 1 = balanced, 2 = fastest (see CompressForOption).
Result DCSavetoPNG(const StripImage& image, const std::string& path, int option);
// A 24-bit Windows bitmap.
Result SaveBitmapFile(const StripImage& image, const std::string& path);

// Text (an SVG document, a CSS rule), written in one step like the images.
Result SaveTextFile(const std::string& text, const std::string& path);

} // namespace velmix
