// SPDX-License-Identifier: MIT
#pragma once
// The command line of velmix-render, parsed into a plain job.

#include "core/gradient.h"
#include "core/webgrad.h"

#include <optional>
#include <string>
#include <vector>

namespace velmix {

struct RenderJob
{
    GradPoints points = StartupPoints();
    bool pointsGiven = false;
    std::optional<int> size;
    std::optional<bool> vertical;
    std::optional<int> thickness;
    std::string output; // "-": standard output
    std::string type;   // --type, as given; empty: by the output's extension
    std::string fromIni;
    std::string from;               // --from: .ini as --from-ini, or a .ggr, .svg or .css gradient
    std::optional<Colour> contrast; // print the text colour's lowest contrast instead
    std::optional<Blend> blend;     // --blend; points.blend holds it, RGB when not given
    bool dither = false;
    CssPage page; // --selector and --repeat: how a CSS rule fits the page
    bool help = false;
    bool version = false;
};

struct RenderArgsResult
{
    std::optional<RenderJob> job;
    std::string error; // names the argument at fault
};

// Every option but -p at most once; an error names the argument at fault.
RenderArgsResult ParseRenderArgs(const std::vector<std::string>& args);

// A CSS colour (#fff, #rrggbb, rgb(), hsl(), a name) or a decimal colour
// value 0..16777215.
std::optional<Colour> ParseColour(const std::string& text);

} // namespace velmix
