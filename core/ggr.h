// SPDX-License-Identifier: MIT
#pragma once
// Gradients as painting programs keep them: GIMP's and Krita's .ggr, a list
// of segments each with its own blending and colouring. The library keeps
// every gradient in this form, whatever it was read from, so nothing of the
// source is lost; seven points are made from it only when it is applied.

#include "core/gradient.h"
#include "core/refusal.h"
#include "core/webgrad.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmix {

// How a segment moves from its left colour to its right one; the numbers
// are the file's.
enum class SegmentBlend
{
    Linear = 0,
    Curved = 1,
    Sine = 2,
    SphereIncreasing = 3,
    SphereDecreasing = 4,
    Step = 5,
};

enum class SegmentColouring
{
    Rgb = 0,
    HsvCcw = 1,
    HsvCw = 2,
};

// Channels 0..1, as the file writes them.
struct SegmentColour
{
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    bool operator==(const SegmentColour&) const = default;
};

struct GradSegment
{
    double left = 0;
    double middle = 0.5;
    double right = 1;
    SegmentColour leftColour;
    SegmentColour rightColour;
    SegmentBlend blend = SegmentBlend::Linear;
    SegmentColouring colouring = SegmentColouring::Rgb;
    bool operator==(const GradSegment&) const = default;
};

struct NamedGradient
{
    std::string name; // UTF-8
    std::vector<GradSegment> segments;
    bool operator==(const NamedGradient&) const = default;
};

// A file read, or why not: the refusal names the line at fault (1-based).
struct GgrRead
{
    std::optional<NamedGradient> gradient;
    Refusal refusal;
};

// Every form GIMP reads: with or without a Name: line (without, the name is
// `fallbackName`), 13 or 15 fields a segment, endpoint colour types
// (foreground as black, background as white). GIMP's own checks hold, with
// no tolerance.
GgrRead ReadGgr(std::string_view text, const std::string& fallbackName);

// A .ggr of the gradient as it is: a Name: line and 15 fields a segment,
// numbers that read back to the same doubles.
std::string WriteGgr(const NamedGradient& gradient);

// The enabled points as linear RGB segments with centred midpoints, with
// constant segments before the first and after the last point where they
// are not at 0 and 1000. An OKLab blend between two points becomes linear
// pieces that stay within a tenth of a level of its curve.
NamedGradient GradientFromPoints(const std::string& name, const GradPoints& points);

// The gradient's colour at position x / count for x = 0..count-1, composited
// over a white page and rounded to 8 bits.
std::vector<Colour> SampleGradient(const NamedGradient& gradient, int count = kMaxPosition);

// The points that draw the gradient exactly, when seven points can: any
// gradient GradientFromPoints makes, and linear RGB segments with centred
// midpoints, ends at multiples of 0.001 and 8-bit colours whose ends make
// at most seven points (a colour jump takes two, a constant end segment
// none: up to six joined segments); an OKLab blend's linear pieces as
// GradientFromPoints writes them give back its OKLab points. Nothing
// otherwise.
std::optional<GradPoints> ExactPoints(const NamedGradient& gradient);

// What a file or a pasted text brought in: its gradients (an SVG may hold
// several, offered as a choice), each kept whole as segments; or, when
// nothing could be read, the refusal that says what was not understood.
struct GradImport
{
    std::vector<NamedGradient> gradients;
    // A CSS or SVG export of this program carries its points, size and
    // orientation; they read back exactly.
    std::optional<WebGradient> carried;
    Refusal refusal;
    // CSS and SVG: for each gradient, whether it runs down the page (to
    // bottom, to top, 180deg, no direction; an SVG's vertical vector) rather
    // than across.
    std::vector<bool> vertical;
    // Read from CSS or SVG: a browser draws it at the pixels' centres.
    bool web = false;
};

// Nothing read, and why.
inline GradImport Unread(Refusal why)
{
    GradImport read;
    read.refusal = std::move(why);
    return read;
}

// A foreign gradient as a browser draws it `length` pixels long: each
// pixel at its centre, (x + 1/2) / length, composited over white.
std::vector<Colour> SampleCentres(const NamedGradient& gradient, int length);

// CSS text holding linear-gradient(...): a file, or text pasted in. Each
// rule whose background holds a linear gradient is one gradient: its layers
// over its background-color, as a page shows them.
GradImport ReadCss(std::string_view text, const std::string& name);

} // namespace velmix
