// SPDX-License-Identifier: MIT
#pragma once
// The gradient as CSS and SVG that a browser draws pixel for pixel like the
// exported bitmap. A browser samples each pixel at its centre and
// interpolates linearly between stops; the rasteriser's unrounded colours are
// piecewise linear in the pixel index, so a stop at the centre of the first
// and the last pixel of every linear piece, carrying the unrounded colour,
// gives every pixel its own value (the lag past crowded points included). An
// OKLab blend is curved: its stops follow the curve within a tenth of a level.

#include "core/gradient.h"

#include <string>
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

// What an export to the web is made from: the image is length along the
// gradient and thickness across it.
struct WebGradient
{
    GradPoints points;
    int length = 100;
    bool vertical = false;
    int thickness = 1;
};

// The declarations of the body rule, one a line: the first pixel's colour,
// the gradient and the image's size, so that the page's background is the
// exported image tiled from the top-left corner.
std::string CssDeclarations(const WebGradient& g);
// "body {", a line end, CssDeclarations, "}" and a line end.
std::string CssRule(const WebGradient& g);
// A standalone SVG of the image's size with a user-space linearGradient.
std::string SvgDocument(const WebGradient& g);

} // namespace velmix
