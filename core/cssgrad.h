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

} // namespace velmix
