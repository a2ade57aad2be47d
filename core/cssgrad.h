// SPDX-License-Identifier: MIT
#pragma once
// The CSS colour reader of ReadCss, for the other readers of colours that
// follow CSS: SVG's stop-color.

#include "core/ggr.h"

#include <optional>
#include <string_view>

namespace velmix {

// A CSS Color 4 colour (hex of 3, 4, 6 or 8 digits, rgb()/rgba(), hsl()/hsla(),
// a name, transparent), composited over white as ReadCss keeps its stops;
// nothing when it is not one. White space around it is allowed.
std::optional<SegmentColour> ReadCssColour(std::string_view text);

// A colour as a person writes it (a colour box's paste and typing, the
// renderer's -p): any colour ReadCssColour reads, rounded to levels.
std::optional<Colour> ReadColourText(std::string_view text);

// The points our own CSS or SVG export carries are kept only while they
// still describe the text: one gradient read from it, sampled at 1000
// places, within a level of the stops the export writes for them. A user's
// edit of the text wins: the carried points are dropped and the text read
// as any other. When they hold and are the only gradient, it takes `name`
// (the file's), not the id the export gives it.
void CheckCarried(GradImport& read, const std::string& name);

} // namespace velmix
