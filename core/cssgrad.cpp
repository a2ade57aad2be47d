// SPDX-License-Identifier: MIT
// CSS linear-gradient(...) read into segments. Stops are composited over
// white as they are read: a browser blends premultiplied colours, and
// premultiplied blending over white is the straight blend of the colours
// over white, so what a page shows is kept exactly.

#include "core/cssgrad.h"
#include "core/ggr.h"
#include "core/webgrad.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

namespace velmix {

namespace {

// The named colours of CSS Color 4.
constexpr std::string_view kNamed =
    " aliceblue:f0f8ff antiquewhite:faebd7 aqua:00ffff aquamarine:7fffd4 azure:f0ffff "
    "beige:f5f5dc bisque:ffe4c4 black:000000 blanchedalmond:ffebcd blue:0000ff "
    "blueviolet:8a2be2 brown:a52a2a burlywood:deb887 cadetblue:5f9ea0 chartreuse:7fff00 "
    "chocolate:d2691e coral:ff7f50 cornflowerblue:6495ed cornsilk:fff8dc crimson:dc143c "
    "cyan:00ffff darkblue:00008b darkcyan:008b8b darkgoldenrod:b8860b darkgray:a9a9a9 "
    "darkgreen:006400 darkgrey:a9a9a9 darkkhaki:bdb76b darkmagenta:8b008b "
    "darkolivegreen:556b2f darkorange:ff8c00 darkorchid:9932cc darkred:8b0000 "
    "darksalmon:e9967a darkseagreen:8fbc8f darkslateblue:483d8b darkslategray:2f4f4f "
    "darkslategrey:2f4f4f darkturquoise:00ced1 darkviolet:9400d3 deeppink:ff1493 "
    "deepskyblue:00bfff dimgray:696969 dimgrey:696969 dodgerblue:1e90ff firebrick:b22222 "
    "floralwhite:fffaf0 forestgreen:228b22 fuchsia:ff00ff gainsboro:dcdcdc ghostwhite:f8f8ff "
    "gold:ffd700 goldenrod:daa520 gray:808080 green:008000 greenyellow:adff2f grey:808080 "
    "honeydew:f0fff0 hotpink:ff69b4 indianred:cd5c5c indigo:4b0082 ivory:fffff0 khaki:f0e68c "
    "lavender:e6e6fa lavenderblush:fff0f5 lawngreen:7cfc00 lemonchiffon:fffacd "
    "lightblue:add8e6 lightcoral:f08080 lightcyan:e0ffff lightgoldenrodyellow:fafad2 "
    "lightgray:d3d3d3 lightgreen:90ee90 lightgrey:d3d3d3 lightpink:ffb6c1 lightsalmon:ffa07a "
    "lightseagreen:20b2aa lightskyblue:87cefa lightslategray:778899 lightslategrey:778899 "
    "lightsteelblue:b0c4de lightyellow:ffffe0 lime:00ff00 limegreen:32cd32 linen:faf0e6 "
    "magenta:ff00ff maroon:800000 mediumaquamarine:66cdaa mediumblue:0000cd "
    "mediumorchid:ba55d3 mediumpurple:9370db mediumseagreen:3cb371 mediumslateblue:7b68ee "
    "mediumspringgreen:00fa9a mediumturquoise:48d1cc mediumvioletred:c71585 "
    "midnightblue:191970 mintcream:f5fffa mistyrose:ffe4e1 moccasin:ffe4b5 "
    "navajowhite:ffdead navy:000080 oldlace:fdf5e6 olive:808000 olivedrab:6b8e23 "
    "orange:ffa500 orangered:ff4500 orchid:da70d6 palegoldenrod:eee8aa palegreen:98fb98 "
    "paleturquoise:afeeee palevioletred:db7093 papayawhip:ffefd5 peachpuff:ffdab9 "
    "peru:cd853f pink:ffc0cb plum:dda0dd powderblue:b0e0e6 purple:800080 "
    "rebeccapurple:663399 red:ff0000 rosybrown:bc8f8f royalblue:4169e1 saddlebrown:8b4513 "
    "salmon:fa8072 sandybrown:f4a460 seagreen:2e8b57 seashell:fff5ee sienna:a0522d "
    "silver:c0c0c0 skyblue:87ceeb slateblue:6a5acd slategray:708090 slategrey:708090 "
    "snow:fffafa springgreen:00ff7f steelblue:4682b4 tan:d2b48c teal:008080 thistle:d8bfd8 "
    "tomato:ff6347 turquoise:40e0d0 violet:ee82ee wheat:f5deb3 white:ffffff "
    "whitesmoke:f5f5f5 yellow:ffff00 yellowgreen:9acd32 ";

std::string Lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// The parts of s between separators outside parentheses, trimmed; white
// space as a separator (' ') also drops empty parts.
std::vector<std::string_view> Split(std::string_view s, char separator)
{
    std::vector<std::string_view> parts;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        const char c = i < s.size() ? s[i] : separator;
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        const bool cut =
            i == s.size() || (depth == 0 && (separator == ' ' ? IsSpace(c) : c == separator));
        if (!cut)
            continue;
        const std::string_view part = Trim(s.substr(start, i - start));
        if (separator != ' ' || !part.empty())
            parts.push_back(part);
        start = i + 1;
    }
    return parts;
}

// A CSS number and its unit ("%", "px", "deg", "" ...), lower case.
struct Dimension
{
    double value = 0;
    std::string unit;
};

std::optional<Dimension> ReadDimension(std::string_view s)
{
    if (s.starts_with('+'))
        s.remove_prefix(1);
    Dimension d;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d.value);
    if (ec != std::errc() || !std::isfinite(d.value) || s.empty() ||
        std::isalpha(static_cast<unsigned char>(s[0])))
        return std::nullopt;
    d.unit = Lower(s.substr(static_cast<std::size_t>(end - s.data())));
    if (d.unit.find_first_not_of("abcdefghijklmnopqrstuvwxyz%") != std::string::npos)
        return std::nullopt;
    return d;
}

double Clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

// A channel of rgb(): a number of levels or a percentage.
std::optional<double> Channel(std::string_view s)
{
    const auto d = ReadDimension(s);
    if (!d || (d->unit != "" && d->unit != "%"))
        return std::nullopt;
    return Clamp01(d->unit == "%" ? d->value / 100 : d->value / 255);
}

std::optional<double> Alpha(std::string_view s)
{
    const auto d = ReadDimension(s);
    if (!d || (d->unit != "" && d->unit != "%"))
        return std::nullopt;
    return Clamp01(d->unit == "%" ? d->value / 100 : d->value);
}

std::optional<double> Hue(std::string_view s)
{
    const auto d = ReadDimension(s);
    if (!d)
        return std::nullopt;
    const double turn = d->unit == "" || d->unit == "deg" ? 360
                        : d->unit == "grad"               ? 400
                        : d->unit == "rad"                ? 2 * std::numbers::pi
                        : d->unit == "turn"               ? 1
                                                          : 0;
    if (turn == 0)
        return std::nullopt;
    const double h = std::fmod(d->value / turn, 1.0);
    return h < 0 ? h + 1 : h;
}

// Saturation and lightness: percentages, or plain numbers in the modern form.
std::optional<double> Percent(std::string_view s)
{
    const auto d = ReadDimension(s);
    if (!d || (d->unit != "" && d->unit != "%"))
        return std::nullopt;
    return Clamp01(d->value / 100);
}

SegmentColour OverWhite(double r, double g, double b, double a)
{
    return {r * a + 1 - a, g * a + 1 - a, b * a + 1 - a, 1};
}

std::optional<SegmentColour> Hex(std::string_view digits)
{
    if ((digits.size() != 3 && digits.size() != 4 && digits.size() != 6 && digits.size() != 8) ||
        digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
        return std::nullopt;
    const bool shortForm = digits.size() <= 4;
    double v[4] = {0, 0, 0, 1};
    for (std::size_t i = 0; i < digits.size() / (shortForm ? 1 : 2); ++i) {
        const std::string_view d = digits.substr(shortForm ? i : 2 * i, shortForm ? 1 : 2);
        int n = 0;
        std::from_chars(d.data(), d.data() + d.size(), n, 16);
        v[i] = (shortForm ? n * 17 : n) / 255.0;
    }
    return OverWhite(v[0], v[1], v[2], v[3]);
}

std::optional<SegmentColour> Named(const std::string& name)
{
    if (name == "transparent")
        return OverWhite(0, 0, 0, 0);
    const auto at = kNamed.find(" " + name + ":");
    if (at == std::string_view::npos)
        return std::nullopt;
    return Hex(kNamed.substr(at + name.size() + 2, 6));
}

SegmentColour FromHsl(double h, double s, double l, double a)
{
    const auto f = [&](double n) {
        const double k = std::fmod(n + h * 12, 12);
        return l - s * std::min(l, 1 - l) * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return OverWhite(f(0), f(8), f(4), a);
}

// rgb(), rgba(), hsl() and hsla(), with commas or with spaces and "/".
std::optional<SegmentColour> ColourFunction(const std::string& name, std::string_view inside)
{
    std::vector<std::string_view> args = Split(inside, ',');
    if (args.size() == 1) {
        const std::vector<std::string_view> halves = Split(inside, '/');
        args = Split(halves[0], ' ');
        if (halves.size() == 2 && args.size() == 3)
            args.push_back(halves[1]);
        else if (halves.size() > 2)
            return std::nullopt;
    }
    if (args.size() != 3 && args.size() != 4)
        return std::nullopt;
    const std::optional<double> a = args.size() == 4 ? Alpha(args[3]) : 1.0;
    if (name == "rgb" || name == "rgba") {
        const auto r = Channel(args[0]), g = Channel(args[1]), b = Channel(args[2]);
        if (r && g && b && a)
            return OverWhite(*r, *g, *b, *a);
    } else if (name == "hsl" || name == "hsla") {
        const auto h = Hue(args[0]), s = Percent(args[1]), l = Percent(args[2]);
        if (h && s && l && a)
            return FromHsl(*h, *s, *l, *a);
    }
    return std::nullopt;
}

std::optional<SegmentColour> ReadColour(std::string_view token)
{
    if (token.starts_with('#'))
        return Hex(token.substr(1));
    const auto open = token.find('(');
    if (open == std::string_view::npos)
        return Named(Lower(token));
    if (!token.ends_with(')'))
        return std::nullopt;
    return ColourFunction(Lower(token.substr(0, open)),
                          token.substr(open + 1, token.size() - open - 2));
}

// One item of the list: a stop (a colour at up to two places) or a hint.
struct Item
{
    std::optional<SegmentColour> colour; // none: a hint
    std::vector<double> places;          // fractions of the gradient line
    std::string_view text;
};

struct GradientText
{
    std::string_view inside;  // between linear-gradient( and its )
    std::string_view context; // where its background-size is looked for first
};

class Reader
{
public:
    Reader(std::string_view whole, const GradientText& g) : m_whole(whole), m_g(g) {}

    std::optional<std::vector<GradSegment>> read()
    {
        std::vector<std::string_view> items = Split(m_g.inside, ',');
        if (!direction(items.front()))
            return std::nullopt;
        if (m_directionGiven)
            items.erase(items.begin());
        if (items.empty())
            return fail("色がありません。"), std::nullopt;
        std::vector<Item> list;
        for (std::string_view text : items)
            if (!item(text, list))
                return std::nullopt;
        return segments(list);
    }

    std::string error;

private:
    bool fail(const std::string& why)
    {
        error = why;
        return false;
    }
    bool notUnderstood(std::string_view token)
    {
        return fail("「" + std::string(token) + "」が読めません。");
    }

    // "to right" and the others, or an angle that is a whole number of
    // quarter turns (360deg and -90deg as well as 0deg and 270deg).
    bool direction(std::string_view first)
    {
        const std::string d = Lower(first);
        static const std::pair<const char*, int> kinds[] = {
            {"to top", 0}, {"to right", 1}, {"to bottom", 2}, {"to left", 3}};
        std::optional<int> kind;
        for (const auto& [text, k] : kinds)
            if (Split(d, ' ') == Split(text, ' '))
                kind = k;
        const auto dim = ReadDimension(d);
        const double turn = !dim                  ? 0
                            : dim->unit == "deg"  ? 360
                            : dim->unit == "grad" ? 400
                            : dim->unit == "turn" ? 1
                                                  : 0;
        if (turn > 0) {
            const double quarters = dim->value / turn * 4;
            if (quarters == std::round(quarters))
                kind = static_cast<int>(std::fmod(std::fmod(quarters, 4) + 4, 4));
        }
        if (kind) {
            m_directionGiven = true;
            m_vertical = *kind % 2 == 0;
            m_reversed = *kind == 0 || *kind == 3;
            return true;
        }
        if (d.starts_with("to ") || (dim && dim->unit != "%" && dim->unit != "px"))
            return fail("向き「" + std::string(first) +
                        "」は読めません(0deg・90deg・180deg・270degと"
                        "to top・to right・to bottom・to leftだけに対応しています)。");
        if (d.starts_with("in "))
            return notUnderstood(first);
        return true;
    }

    // The length the gradient line runs: the size the background shorthand
    // holding the gradient gives after "/", else background-size.
    std::optional<double> lineLength(std::string_view place)
    {
        if (const auto size = shorthandSize())
            return along(*size, place);
        for (std::string_view text : {m_g.context, m_whole}) {
            const std::string lower = Lower(text);
            const auto at = lower.find("background-size");
            if (at == std::string::npos)
                continue;
            const auto colon = lower.find(':', at);
            if (colon == std::string::npos)
                continue;
            const auto end = lower.find_first_of(";}", colon);
            return along(text.substr(colon + 1, end - colon - 1), place);
        }
        fail("位置「" + std::string(place) + "」がpxですが、background-sizeがありません。");
        return std::nullopt;
    }

    // "0 0 / 100px 20px" of "background: linear-gradient(...) 0 0 / 100px 20px".
    std::optional<std::string_view> shorthandSize() const
    {
        const std::string_view c = m_g.context;
        if (m_g.inside.data() < c.data() || m_g.inside.data() > c.data() + c.size())
            return std::nullopt;
        const auto at = static_cast<std::size_t>(m_g.inside.data() - c.data());
        const auto before = c.find_last_of(";{", at);
        const std::size_t from = before == std::string_view::npos ? 0 : before + 1;
        const std::string_view declaration = c.substr(from, c.find(';', at) - from);
        const auto colon = declaration.find(':');
        if (colon == std::string_view::npos ||
            Lower(Trim(declaration.substr(0, colon))) != "background")
            return std::nullopt;
        const std::vector<std::string_view> halves = Split(declaration.substr(colon + 1), '/');
        if (halves.size() != 2)
            return std::nullopt;
        return halves[1];
    }

    std::optional<double> along(std::string_view sizeText, std::string_view place)
    {
        const std::vector<std::string_view> size = Split(sizeText, ' ');
        const std::size_t axis = m_vertical ? 1 : 0;
        const auto d = size.size() > axis ? ReadDimension(size[axis]) : std::nullopt;
        if (!d || d->unit != "px" || d->value <= 0) {
            fail("background-size「" + std::string(Trim(sizeText)) + "」の" +
                 (m_vertical ? "高さ" : "幅") + "がpxで読めません(位置「" + std::string(place) +
                 "」に必要です)。");
            return std::nullopt;
        }
        return d->value;
    }

    std::optional<double> place(std::string_view token)
    {
        const auto d = ReadDimension(token);
        if (d && d->unit == "%")
            return d->value / 100;
        if (d && d->unit == "" && d->value == 0)
            return 0.0;
        if (!d || d->unit != "px") {
            notUnderstood(token);
            return std::nullopt;
        }
        const auto length = lineLength(token);
        return length ? std::optional<double>(d->value / *length) : std::nullopt;
    }

    bool item(std::string_view text, std::vector<Item>& list)
    {
        const std::vector<std::string_view> tokens = Split(text, ' ');
        if (tokens.empty())
            return notUnderstood(text);
        Item it{std::nullopt, {}, text};
        const auto d = ReadDimension(tokens[0]);
        const bool hint = tokens.size() == 1 && d;
        if (!hint && !(it.colour = ReadColour(tokens[0])))
            return notUnderstood(tokens[0]);
        if (tokens.size() > 3)
            return notUnderstood(tokens[3]);
        for (std::size_t i = hint ? 0 : 1; i < tokens.size(); ++i) {
            const auto p = place(tokens[i]);
            if (!p)
                return false;
            it.places.push_back(*p);
        }
        if (hint && (list.empty() || !list.back().colour))
            return fail("中間点「" + std::string(text) + "」の前に色がありません。");
        list.push_back(it);
        return true;
    }

    std::optional<std::vector<GradSegment>> segments(const std::vector<Item>& list);

    std::string_view m_whole;
    GradientText m_g;
    bool m_directionGiven = false;
    bool m_vertical = true;
    bool m_reversed = false;
};

struct Stop
{
    double place = 0;
    bool placed = false;
    SegmentColour colour;
    std::optional<double> hint; // the hint before this stop
    std::string_view text;
};

// Places as CSS places them: the ends at 0% and 100% when not given, none
// before a larger one already given, the rest spread evenly between.
void PlaceStops(std::vector<Stop>& stops)
{
    if (!stops.front().placed)
        stops.front().place = 0;
    if (!stops.back().placed)
        stops.back().place = 1;
    stops.front().placed = stops.back().placed = true;
    double largest = -std::numeric_limits<double>::infinity();
    for (Stop& s : stops) {
        if (s.hint) {
            *s.hint = std::max(*s.hint, largest);
            largest = *s.hint;
        }
        if (s.placed)
            largest = s.place = std::max(s.place, largest);
    }
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (stops[i].placed)
            continue;
        std::size_t j = i;
        while (!stops[j].placed)
            ++j;
        const double from = stops[i - 1].place, step = (stops[j].place - from) / double(j - i + 1);
        for (std::size_t k = i; k < j; ++k)
            stops[k].place = from + step * double(k - i + 1);
    }
}

SegmentColour Mix(const SegmentColour& a, const SegmentColour& b, double f)
{
    return {a.red + (b.red - a.red) * f, a.green + (b.green - a.green) * f,
            a.blue + (b.blue - a.blue) * f, 1};
}

GradSegment Piece(double left, double right, const SegmentColour& a, const SegmentColour& b)
{
    return {left, (left + right) / 2, right, a, b, SegmentBlend::Linear, SegmentColouring::Rgb};
}

std::optional<std::vector<GradSegment>> Reader::segments(const std::vector<Item>& list)
{
    std::vector<Stop> stops;
    std::optional<double> hint;
    for (const Item& it : list) {
        if (!it.colour) {
            hint = it.places[0];
            continue;
        }
        if (it.places.empty()) {
            stops.push_back({0, false, *it.colour, hint, it.text});
            hint.reset();
        }
        for (double p : it.places) {
            stops.push_back({p, true, *it.colour, hint, it.text});
            hint.reset();
        }
    }
    if (hint)
        return fail("最後の中間点の後に色がありません。"), std::nullopt;
    if (stops.empty())
        return notUnderstood(m_g.inside), std::nullopt;
    PlaceStops(stops);
    std::vector<GradSegment> out;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        const Stop &a = stops[i - 1], &b = stops[i];
        if (b.place < 0 || a.place > 1)
            continue;
        if (b.place == a.place) {
            if (a.place >= 0 && a.place <= 1)
                out.push_back({a.place, a.place, a.place, a.colour, b.colour, SegmentBlend::Linear,
                               SegmentColouring::Rgb});
            continue;
        }
        const double left = std::max(a.place, 0.0), right = std::min(b.place, 1.0);
        if (left >= right)
            continue;
        const double span = b.place - a.place;
        if (b.hint && (left != a.place || right != b.place))
            return fail("0%から100%の外にかかる中間点(「" + std::string(b.text) +
                        "」の前)は読めません。"),
                   std::nullopt;
        if (b.hint && m_reversed)
            return fail("右から左・下から上のグラデーションの中間点(「" + std::string(b.text) +
                        "」の前)は読めません。"),
                   std::nullopt;
        GradSegment s = Piece(left, right, Mix(a.colour, b.colour, (left - a.place) / span),
                              Mix(a.colour, b.colour, (right - a.place) / span));
        if (b.hint) {
            // Spread stops may have passed the hint: it stays between its two.
            s.blend = SegmentBlend::Curved;
            s.middle = std::clamp(*b.hint, left, right);
        }
        out.push_back(s);
    }
    const SegmentColour first =
        out.empty() ? (stops.back().place <= 0 ? stops.back() : stops.front()).colour
                    : out.front().leftColour;
    if (out.empty() || out.front().left > 0)
        out.insert(out.begin(), Piece(0, out.empty() ? 1 : out.front().left, first, first));
    if (out.back().right < 1)
        out.push_back(Piece(out.back().right, 1, out.back().rightColour, out.back().rightColour));
    if (m_reversed) {
        std::reverse(out.begin(), out.end());
        for (GradSegment& s : out)
            s = Piece(1 - s.right, 1 - s.left, s.rightColour, s.leftColour);
    }
    return out;
}

// Comments out of the text, kept apart: one of them may be what an export
// of ours carries.
std::string WithoutComments(std::string_view text, std::vector<std::string_view>& comments)
{
    std::string out;
    while (true) {
        const auto open = text.find("/*");
        out += text.substr(0, open);
        if (open == std::string_view::npos)
            return out;
        const auto close = text.find("*/", open + 2);
        comments.push_back(
            text.substr(open + 2, close == std::string_view::npos ? close : close - open - 2));
        out += ' ';
        text.remove_prefix(close == std::string_view::npos ? text.size() : close + 2);
    }
}

// The gradient a browser draws from the export's stops: linear between
// them, flat before the first and after the last.
NamedGradient FromStops(const std::vector<GradientStop>& stops, int length)
{
    NamedGradient g;
    const auto colour = [](const ExactColour& c) {
        return SegmentColour{c.red / 255, c.green / 255, c.blue / 255, 1};
    };
    double left = 0;
    SegmentColour before = colour(stops.front().colour);
    for (const GradientStop& s : stops) {
        const double at = s.place / length;
        if (at > left)
            g.segments.push_back(Piece(left, at, before, colour(s.colour)));
        left = std::max(left, at);
        before = colour(s.colour);
    }
    g.segments.push_back(Piece(left, 1, before, before));
    return g;
}

bool WithinLevel(const std::vector<Colour>& a, const std::vector<Colour>& b)
{
    for (std::size_t x = 0; x < a.size(); ++x)
        for (const auto channel : {GetRed, GetGreen, GetBlue})
            if (std::abs(channel(a[x]) - channel(b[x])) > 1)
                return false;
    return true;
}

} // namespace

void CheckCarried(GradImport& read, const std::string& name)
{
    if (!read.carried)
        return;
    const WebGradient& c = *read.carried;
    const auto drawn =
        SampleGradient(FromStops(GradientStops(c.points, c.length), c.length), kMaxPosition);
    const bool holds = std::any_of(read.gradients.begin(), read.gradients.end(), [&](auto& g) {
        return WithinLevel(SampleGradient(g, kMaxPosition), drawn);
    });
    if (!holds)
        read.carried.reset();
    else if (read.gradients.size() == 1)
        read.gradients.front().name = name;
}

std::optional<SegmentColour> ReadCssColour(std::string_view text)
{
    return ReadColour(Trim(text));
}

std::optional<Colour> ReadColourText(std::string_view text)
{
    const auto c = ReadCssColour(text);
    if (!c)
        return std::nullopt;
    const auto level = [](double v) { return static_cast<int>(std::lround(v * 255)); };
    return MakeColour(level(c->red), level(c->green), level(c->blue));
}

GradImport ReadCss(std::string_view text, const std::string& name)
{
    GradImport result;
    std::vector<std::string_view> comments;
    const std::string css = WithoutComments(text, comments);
    for (std::string_view c : comments)
        if (!result.carried)
            result.carried = ReadCarried(c);
    const std::string lower = Lower(css);
    const std::string_view key = "linear-gradient(";
    std::string prefixed; // the first prefixed form skipped, for the message
    for (auto at = lower.find(key); at != std::string::npos; at = lower.find(key, at + 1)) {
        // Prefixed forms mean other directions, and generators write the
        // standard one beside them: only that one is read.
        if (at > 0 &&
            (std::isalnum(static_cast<unsigned char>(lower[at - 1])) || lower[at - 1] == '-')) {
            if (at >= 10 && lower.compare(at - 10, 10, "repeating-") == 0)
                return {{}, {}, "「repeating-linear-gradient」は読めません。"};
            const auto before = lower.find_last_of(" \t\n\r:,", at);
            const std::size_t start = before == std::string::npos ? 0 : before + 1;
            if (prefixed.empty())
                prefixed = css.substr(start, at + key.size() - 1 - start);
            continue;
        }
        std::size_t end = at + key.size();
        int depth = 1;
        for (; end < css.size() && depth > 0; ++end)
            depth += css[end] == '(' ? 1 : css[end] == ')' ? -1 : 0;
        if (depth != 0)
            return {{}, {}, "linear-gradient(の閉じ括弧がありません。"};
        const auto blockStart = lower.find_last_of("{}", at);
        const auto blockEnd = lower.find('}', end);
        const std::size_t from = blockStart == std::string::npos ? 0 : blockStart + 1;
        const std::string_view whole(css);
        Reader reader(whole, {whole.substr(at + key.size(), end - 1 - at - key.size()),
                              whole.substr(from, blockEnd == std::string::npos ? blockEnd
                                                                               : blockEnd - from)});
        const auto segments = reader.read();
        if (!segments)
            return {{}, {}, "linear-gradient: " + reader.error};
        const std::size_t n = result.gradients.size();
        result.gradients.push_back(
            {n == 0 ? name : name + " (" + std::to_string(n + 1) + ")", *segments});
    }
    if (result.gradients.empty())
        result.error = prefixed.empty()
                           ? "linear-gradient(...) が見つかりません。"
                           : "接頭辞付きの「" + prefixed +
                                 "」は読めません(標準のlinear-gradient(...)だけを読みます)。";
    CheckCarried(result, name);
    return result;
}

} // namespace velmix
