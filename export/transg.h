// SPDX-License-Identifier: MIT
#pragma once
// The image encoders behind the save command and the command-line renderer.
// They take the gradient as a strip (one line of colours and a thickness) and
// stream it, so memory does not grow with the thickness, and they write
// through a temporary file that replaces the target only when complete.

#include "core/gradient.h"

#include <string>

namespace velmix {

// Library result codes, as the save command reports them.
enum EncoderCode : short
{
    kEncodeOk = 0,
    kEncodeOpenFailed = 1,
    kEncodeWriteFailed = 2,
    kEncodeFormatError = 3,
    kEncodeStackOverflow = 4,
    // The caller's own codes: an option out of range (nothing written), and
    // a failure that stopped the call.
    kEncodeBadOption = 252,
    kEncodeCallFailed = 255,
};

// quality 1..100; progress is accepted and ignored (no progress display).
// systemError, when given, receives the system's description of a failure.
short DCSavetoJPEG(const StripImage& image, const std::string& path, int quality, int progress,
                   std::string* systemError = nullptr);
// option 0 = smallest file, 1 = balanced, 2 = fastest (see CompressForOption).
short DCSavetoPNG(const StripImage& image, const std::string& path, int option,
                  std::string* systemError = nullptr);
// A 24-bit Windows bitmap. Returns false and the system's description on failure.
bool SaveBitmapFile(const StripImage& image, const std::string& path, std::string* systemError);

// Text (an SVG document, a CSS rule), written in one step like the images.
bool SaveTextFile(const std::string& text, const std::string& path, std::string* systemError);

} // namespace velmix
