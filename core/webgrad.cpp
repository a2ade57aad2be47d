// SPDX-License-Identifier: MIT
#include "core/webgrad.h"

#include "core/cssgrad.h"
#include "core/numtext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace velmix {

namespace {

// Within a linear piece the rasteriser's single-precision steps leave noise
// far below this; a browser draws nothing finer than a level.
constexpr double kLinearTolerance = 1e-3;

bool OnLine(const std::vector<ExactColour>& px, int s, int e, double tolerance)
{
    const double span = e - s;
    for (int x = s + 1; x < e; ++x) {
        const double f = (x - s) / span;
        const auto off = [&](double ExactColour::*c) {
            const double v = px[s].*c + (px[e].*c - px[s].*c) * f;
            return std::abs(px[x].*c - v);
        };
        if (off(&ExactColour::red) > tolerance || off(&ExactColour::green) > tolerance ||
            off(&ExactColour::blue) > tolerance)
            return false;
    }
    return true;
}

// Fixed notation with at most `decimals` places, trailing zeros dropped, "."
// whatever the locale.
std::string Num(double v, int decimals)
{
    if (std::abs(v) < 0.5 * std::pow(10.0, -decimals))
        v = 0; // no "-0"
    std::array<char, 64> buf{};
    const auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, decimals);
    std::string s(buf.data(), r.ptr);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s;
}

// Numbers with fractions, as CSS colour level 4 takes them.
std::string CssColour(const ExactColour& c)
{
    return "rgb(" + Num(c.red, 3) + ", " + Num(c.green, 3) + ", " + Num(c.blue, 3) + ")";
}

// Percentages: the form SVG 1.1 and CSS 2 allow fractions in, so vector
// editors read the same colours.
std::string SvgColour(const ExactColour& c)
{
    const auto pct = [](double v) { return Num(v * 100.0 / 255.0, 4) + "%"; };
    return "rgb(" + pct(c.red) + ", " + pct(c.green) + ", " + pct(c.blue) + ")";
}

std::string Hex(Colour c)
{
    static const char* const digits = "0123456789abcdef";
    std::string s = "#";
    for (const int v : {GetRed(c), GetGreen(c), GetBlue(c)}) {
        s += digits[v / 16];
        s += digits[v % 16];
    }
    return s;
}

std::string SizeText(const WebGradient& g)
{
    const int w = g.vertical ? g.thickness : g.length;
    const int h = g.vertical ? g.length : g.thickness;
    return std::to_string(w) + "px " + std::to_string(h) + "px";
}

} // namespace

std::vector<GradientStop> GradientStops(const GradPoints& points, int length)
{
    const std::vector<ExactColour> px = DrawGradExact(points, length);
    const double tolerance = points.blend == Blend::OkLab ? kCurveLevels : kLinearTolerance;
    std::vector<GradientStop> stops;
    if (px.empty())
        return stops;
    const auto add = [&](int x) { stops.push_back({x + 0.5, px[static_cast<std::size_t>(x)]}); };
    const int last = length - 1;
    int s = 0;
    add(0);
    while (s < last) {
        // The longest piece from s that stays on one line.
        int e = s + 1;
        while (e < last && OnLine(px, s, e + 1, tolerance))
            ++e;
        add(e);
        s = e;
    }
    if (stops.size() == 1)
        stops.push_back(stops.front());
    return stops;
}

std::string CssDeclarations(const WebGradient& g)
{
    const std::vector<GradientStop> stops = GradientStops(g.points, g.length);
    const std::vector<Colour> line = DrawGrad(g.points, std::max(1, g.length));
    std::string s =
        "  background-color: " + Hex(g.page.oneWay ? line.back() : line.front()) + ";\n";
    s += "  background-image: linear-gradient(";
    s += g.vertical ? "to bottom" : "to right";
    for (const GradientStop& st : stops)
        s += ",\n    " + CssColour(st.colour) + " " + Num(st.place, 1) + "px";
    s += ");\n  background-size: " + SizeText(g) + ";\n";
    if (g.page.oneWay)
        s += std::string("  background-repeat: ") + (g.vertical ? "repeat-x" : "repeat-y") + ";\n";
    return s;
}

bool SelectorFits(std::string_view selector)
{
    const bool blank = selector.find_first_not_of(" \t") == std::string_view::npos;
    const bool control = std::any_of(selector.begin(), selector.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t';
    });
    return !blank && !control && selector.size() <= 200 &&
           selector.find_first_of("{};") == std::string_view::npos &&
           selector.find("/*") == std::string_view::npos &&
           selector.find("<!--") == std::string_view::npos &&
           selector.find("-->") == std::string_view::npos;
}

std::string CssRule(const WebGradient& g)
{
    return "/* " + CarriedText(g) + " */\n" + g.page.selector + " {\n" + CssDeclarations(g) + "}\n";
}

std::string SvgDocument(const WebGradient& g)
{
    const std::string w = std::to_string(g.vertical ? g.thickness : g.length);
    const std::string h = std::to_string(g.vertical ? g.length : g.thickness);
    const std::string len = std::to_string(g.length);
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    s += "  <metadata>" + CarriedText(g) + "</metadata>\n";
    s += "  <defs>\n    <linearGradient id=\"velmix\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" "
         "y1=\"0\" x2=\"" +
         (g.vertical ? "0" : len) + "\" y2=\"" + (g.vertical ? len : "0") + "\">\n";
    // The end colours at 0 and 1 too: a browser pads with them anyway, but
    // GIMP draws the first colour flat up to the second stop otherwise.
    const std::vector<GradientStop> stops = GradientStops(g.points, g.length);
    const auto stop = [&](double offset, const ExactColour& c) {
        s +=
            "      <stop offset=\"" + Num(offset, 9) + "\" stop-color=\"" + SvgColour(c) + "\"/>\n";
    };
    stop(0, stops.front().colour);
    for (const GradientStop& st : stops)
        stop(st.place / g.length, st.colour);
    stop(1, stops.back().colour);
    s += "    </linearGradient>\n  </defs>\n";
    s += "  <rect width=\"" + w + "\" height=\"" + h + "\" fill=\"url(#velmix)\"/>\n</svg>\n";
    return s;
}

std::string CarriedText(const WebGradient& g)
{
    std::string s = "velmix-gradient 1 size=" + std::to_string(g.length) +
                    " thickness=" + std::to_string(g.thickness) +
                    " vertical=" + (g.vertical ? "1" : "0") +
                    " blend=" + (g.points.blend == Blend::OkLab ? "oklab" : "rgb") + " points=";
    // The separator on its own: GCC 12 takes "," + a string for an
    // overlapping copy in a Release build (-Wrestrict), and warnings are
    // errors.
    for (int i = 0; i < kPointCount; ++i) {
        if (i)
            s += ',';
        s += std::to_string(g.points.position[i]) + ":" + Hex(g.points.color[i]) + ":" +
             (g.points.enabled[i] ? "1" : "0");
    }
    return s;
}

namespace {

bool ReadWholeInto(std::string_view s, int lo, int hi, int& value)
{
    const auto read = ReadWhole(s, lo, hi);
    value = static_cast<int>(read.value_or(value));
    return read.has_value();
}

// The text up to `separator` (all of it when there is none), taken off `s`.
std::string_view Take(std::string_view& s, char separator)
{
    const auto at = s.find(separator);
    const std::string_view field = s.substr(0, at);
    s.remove_prefix(at == std::string_view::npos ? s.size() : at + 1);
    return field;
}

bool ReadPoint(std::string_view s, GradPoints& p, int i)
{
    const std::string_view place = Take(s, ':'), colour = Take(s, ':');
    // "#rrggbb" and no other form of colour.
    const auto rgb = colour.size() == 7 && colour[0] == '#' ? ReadColourText(colour) : std::nullopt;
    if (!rgb || (s != "0" && s != "1"))
        return false;
    p.color[i] = *rgb;
    p.enabled[i] = s == "1";
    return ReadWholeInto(place, 0, kMaxPosition, p.position[i]);
}

} // namespace

std::optional<WebGradient> ReadCarried(std::string_view text)
{
    text = Trimmed(text);
    WebGradient g;
    int vertical = 0;
    const std::array<std::string_view, 7> keys{
        "velmix-gradient", "1", "size=", "thickness=", "vertical=", "blend=", "points="};
    for (const std::string_view key : keys) {
        std::string_view field = Take(text, ' ');
        if (!field.starts_with(key))
            return std::nullopt;
        field.remove_prefix(key.size());
        const bool ok = key == "size="
                            ? ReadWholeInto(field, kMinImageSize, kMaxImageSize, g.length)
                        : key == "thickness=" ? ReadWholeInto(field, 1, kMaxThickness, g.thickness)
                        : key == "vertical="  ? ReadWholeInto(field, 0, 1, vertical)
                        : key == "blend="     ? field == "rgb" || field == "oklab"
                                              : field.empty() || key == "points=";
        if (!ok)
            return std::nullopt;
        g.points.blend = key == "blend=" && field == "oklab" ? Blend::OkLab : g.points.blend;
        for (int i = 0; key == "points=" && i < kPointCount; ++i)
            if (!ReadPoint(Take(field, ','), g.points, i) || (i + 1 < kPointCount) == field.empty())
                return std::nullopt;
    }
    if (!text.empty())
        return std::nullopt;
    g.vertical = vertical == 1;
    return g;
}

} // namespace velmix
