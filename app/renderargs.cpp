// SPDX-License-Identifier: MIT
#include "app/renderargs.h"
#include "core/cssgrad.h"

#include "core/numtext.h"
#include "core/refusal.h"

#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace velmix {

namespace {

// The options that may be given once (all but -p), short and long name.
const std::pair<std::string_view, std::string_view> kOnce[] = {
    {"-h", "--help"},      {"", "--version"},  {"", "--vertical"}, {"-s", "--size"},
    {"-t", "--thickness"}, {"-o", "--output"}, {"", "--contrast"}, {"", "--type"},
    {"", "--from-ini"},    {"", "--from"},     {"", "--blend"},    {"", "--dither"},
    {"", "--selector"},    {"", "--repeat"}};

// At most nine characters, as the renderer has always taken them.
std::optional<long long> ParseInt(const std::string& s, long long lo, long long hi)
{
    return s.size() > 9 ? std::nullopt : ReadWhole(s, lo, hi);
}

} // namespace

std::optional<Colour> ParseColour(const std::string& text)
{
    if (const auto css = ReadColourText(text))
        return css;
    const auto v = ParseInt(text, 0, 0xFFFFFF);
    if (!v)
        return std::nullopt;
    return static_cast<Colour>(*v);
}

RenderArgsResult ParseRenderArgs(const std::vector<std::string>& args)
{
    RenderJob job;
    GradPoints given; // points not given stay disabled, black, at 0
    int count = 0;
    std::set<std::string_view> seen; // by the long name
    const auto fail = [](std::string msg) {
        return RenderArgsResult{std::nullopt, std::move(msg)};
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string opt = args[i];
        std::optional<std::string> inlineValue;
        if (opt.rfind("--", 0) == 0) {
            const std::size_t eq = opt.find('=');
            if (eq != std::string::npos) {
                inlineValue = opt.substr(eq + 1);
                opt = opt.substr(0, eq);
            }
        }
        const auto value = [&]() -> std::optional<std::string> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        const bool isFlag = opt == "--help" || opt == "-h" || opt == "--version" ||
                            opt == "--vertical" || opt == "--dither";
        if (isFlag && inlineValue)
            return fail(Quoted(args[i]) + ": " + opt + " takes no value");
        // A second one would silently win over the first.
        for (const auto& [shortName, longName] : kOnce)
            if ((opt == longName || (!shortName.empty() && opt == shortName)) &&
                !seen.insert(longName).second)
                return fail(opt + ": given twice");
        if (opt == "--help" || opt == "-h") {
            job.help = true;
        } else if (opt == "--version") {
            job.version = true;
        } else if (opt == "--vertical") {
            job.vertical = true;
        } else if (opt == "--dither") {
            job.dither = true;
        } else if (opt == "--blend") {
            const auto v = value();
            if (v && (*v == "rgb" || *v == "oklab"))
                job.blend = *v == "rgb" ? Blend::Rgb : Blend::OkLab;
            else
                return fail(opt + ": blend must be rgb or oklab");
        } else if (opt == "-p" || opt == "--point") {
            const auto v = value();
            if (!v)
                return fail(opt + ": missing POS:COLOR");
            if (count == kPointCount)
                return fail(opt + " " + Quoted(*v) + ": at most 7 points");
            // POS:COLOR or POS:COLOR:off
            std::string text = *v;
            bool off = false;
            const std::size_t colon = text.find(':');
            if (colon == std::string::npos)
                return fail(opt + " " + Quoted(*v) + ": expected POS:COLOR[:off]");
            const std::size_t third = text.find(':', colon + 1);
            if (third != std::string::npos) {
                const std::string flag = text.substr(third + 1);
                if (flag != "off") {
                    std::string msg = opt + " " + Quoted(*v) + ": \":";
                    msg += Quoted(flag);
                    msg += "\" after the colour must be \":off\" (lower case) or nothing";
                    return fail(msg);
                }
                off = true;
                text.resize(third);
            }
            const auto pos = ParseInt(text.substr(0, colon), 0, kMaxPosition);
            if (!pos)
                return fail(opt + " " + Quoted(*v) + ": position must be 0 to 1000");
            const auto colour = ParseColour(text.substr(colon + 1));
            if (!colour)
                return fail(opt + " " + Quoted(*v) +
                            ": colour must be a CSS colour (#fff, #rrggbb, rgb(), hsl(), a name) "
                            "or 0 to 16777215");
            given.position[count] = static_cast<int>(*pos);
            given.color[count] = *colour;
            given.enabled[count] = !off;
            ++count;
        } else if (opt == "-s" || opt == "--size") {
            const auto v = value();
            if (!v || v->empty())
                return fail(opt + ": missing size");
            const auto n = ParseInt(*v, kMinImageSize, kMaxImageSize);
            if (!n)
                return fail(opt + ": size must be " + std::to_string(kMinImageSize) + " to " +
                            std::to_string(kMaxImageSize));
            job.size = static_cast<int>(*n);
        } else if (opt == "-t" || opt == "--thickness") {
            const auto v = value();
            if (!v || v->empty())
                return fail(opt + ": missing thickness");
            const auto n = ParseInt(*v, 1, kMaxThickness);
            if (!n)
                return fail(opt + ": thickness must be 1 to " + std::to_string(kMaxThickness));
            job.thickness = static_cast<int>(*n);
        } else if (opt == "-o" || opt == "--output") {
            const auto v = value();
            if (!v || v->empty())
                return fail(opt + ": missing file name");
            job.output = *v;
        } else if (opt == "--contrast") {
            const auto v = value();
            if (!v || v->empty())
                return fail(opt + ": missing colour");
            const auto colour = ParseColour(*v);
            if (!colour)
                return fail(opt + ": colour must be a CSS colour (#fff, #rrggbb, rgb(), hsl(), a "
                                  "name) or 0 to 16777215");
            job.contrast = *colour;
        } else if (opt == "--type") {
            const auto v = value();
            if (!v || v->empty())
                return fail(opt + ": missing type (bmp, jpg, png, css, svg or ggr)");
            job.type = *v;
        } else if (opt == "--selector") {
            const auto v = value();
            if (!v || !SelectorFits(*v))
                return fail(opt + ": a selector of one line, without { } ; or a comment");
            job.page.selector = *v;
        } else if (opt == "--repeat") {
            const auto v = value();
            if (!v || (*v != "tile" && *v != "axis"))
                return fail(opt + ": repeat must be tile or axis");
            job.page.oneWay = *v == "axis";
        } else if (opt == "--from-ini") {
            const auto v = value();
            if (!v || v->empty())
                return fail(opt + ": missing settings file");
            job.fromIni = *v;
        } else if (opt == "--from") {
            const auto v = value();
            if (!v || v->empty())
                return fail(opt + ": missing file");
            job.from = *v;
        } else {
            return fail(Quoted(args[i]) + ": unknown argument");
        }
    }
    if (job.help || job.version)
        return {job, {}};
    if (!job.from.empty() && !job.fromIni.empty())
        return fail("--from and --from-ini: give one of them");
    if (count > 0) {
        if (given.enabledCount() == 0)
            return fail("-p: at least one point must be enabled");
        job.points = given;
        job.pointsGiven = true;
    }
    job.points.blend = job.blend.value_or(Blend::Rgb);
    if (job.contrast) {
        if (!job.output.empty() || !job.type.empty())
            return fail("--contrast writes no file: leave out -o and --type");
        if (job.dither)
            return fail("--dither: --contrast writes no image to dither");
    } else if (job.output.empty()) {
        return fail("-o: an output file is required");
    } else if (job.output == "-" && job.type.empty()) {
        return fail("-o -: standard output has no extension: give --type");
    }
    return {job, {}};
}

} // namespace velmix
