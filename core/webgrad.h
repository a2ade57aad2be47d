// SPDX-License-Identifier: MIT
#pragma once
// The gradient as CSS and SVG that a browser draws within one level of the
// exported bitmap (browsers dither gradients). A browser samples each pixel
// at its centre and interpolates linearly between stops; the rasteriser's
// unrounded colours are piecewise linear in the pixel index, so a stop at the
// centre of the first and the last pixel of every linear piece, carrying the
// unrounded colour, gives every pixel its own value (the lag past crowded
// points included). An OKLab blend is curved: its stops follow the curve
// within a tenth of a level.

#include "core/gradient.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmix {

struct GradientStop
{
    double place = 0; // pixels from the image's start: a pixel centre, x + 0.5
    ExactColour colour;
};

// Stops for a gradient of the given length (at least 2 pixels), in order of
// place; never fewer than two.
std::vector<GradientStop> GradientStops(const GradPoints& points, int length);

// How the CSS rule fits the page: the selector it is written for, and
// whether the image is tiled both ways or repeated only across the gradient
// with the far end's colour beyond it.
struct CssPage
{
    std::string selector = "body";
    bool oneWay = false;

    bool operator==(const CssPage&) const = default;
};

// A selector that cannot end the rule early or open a comment: not empty,
// at most 200 bytes, one line, no "{", "}", ";", "/*", "<!--" or "-->".
bool SelectorFits(std::string_view selector);

// What an export to the web is made from: the image is length along the
// gradient and thickness across it.
struct WebGradient
{
    GradPoints points;
    int length = 100;
    bool vertical = false;
    int thickness = 1;
    CssPage page = {};
};

// The declarations of the rule, one a line: a colour, the gradient and the
// image's size. Tiled, the colour is the first pixel's and the page's
// background is the exported image tiled from the top-left corner; one way,
// the image repeats only across the gradient (repeat-x down, repeat-y
// across) and the colour, the far end's, fills the page beyond it.
std::string CssDeclarations(const WebGradient& g);
// The selector, " {", a line end, CssDeclarations, "}" and a line end.
std::string CssRule(const WebGradient& g);
// A standalone SVG of the image's size with a user-space linearGradient.
std::string SvgDocument(const WebGradient& g);

// What an export carries so that reading it back gives the very points,
// size and orientation: one line of plain ASCII, "velmix-gradient 1 size=100
// thickness=1 vertical=0 blend=rgb points=0:#ff0000:1,..." with all seven
// points as position:colour:enabled. CssRule puts it in a comment before the
// rule, SvgDocument in <metadata>.
std::string CarriedText(const WebGradient& g);
// The gradient of such a line (white space around it allowed); nothing when
// anything in it is not what CarriedText writes or is out of range.
std::optional<WebGradient> ReadCarried(std::string_view text);

} // namespace velmix
