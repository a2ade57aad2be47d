// SPDX-License-Identifier: MIT
// CSS backgrounds read into segments, as a page shows them: every layer of
// a rule's background, the first on top, over its background-color (white
// when it has none). A browser blends premultiplied colours, and a
// premultiplied blend over an opaque colour is the straight blend of the
// stops over that colour: one layer over its background is kept exactly,
// hints included. Layers over layers multiply, and are kept as linear
// pieces within a twentieth of a level. The reading is linear in the text.

#include "core/cssgrad.h"
#include "core/ggr.h"
#include "core/numtext.h"
#include "core/webgrad.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

namespace velmix {

namespace {

using R = RefusalKind;

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
        const std::string_view part = Trimmed(s.substr(start, i - start));
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

// A colour as it is written, its alpha apart: layers and background
// colours are composited later, as a page composites them.
SegmentColour Straight(double r, double g, double b, double a)
{
    return {r, g, b, a};
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
    return Straight(v[0], v[1], v[2], v[3]);
}

std::optional<SegmentColour> Named(const std::string& name)
{
    if (name == "transparent")
        return Straight(0, 0, 0, 0);
    // The longest name has 20 letters: a long token is not looked for in
    // the table, so that a file of long words stays quick.
    if (name.size() > 20 || name.find_first_of(" :") != std::string::npos)
        return std::nullopt;
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
    return Straight(f(0), f(8), f(4), a);
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
            return Straight(*r, *g, *b, *a);
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

// A rule of more layers than this is refused: each layer is evaluated at
// every stop of the others.
constexpr std::size_t kMaxLayers = 64;
// Stops in a file, and the linear pieces layers over layers may become: a
// 1000-pixel strip shows far fewer, and more would take memory for nothing.
constexpr std::size_t kMaxStops = 250000;
constexpr std::size_t kMaxPieces = 1000000;

SegmentColour Premultiplied(const SegmentColour& c)
{
    return {c.red * c.alpha, c.green * c.alpha, c.blue * c.alpha, c.alpha};
}

// A premultiplied colour over an opaque one.
SegmentColour Over(const SegmentColour& c, const SegmentColour& below)
{
    const double rest = 1 - c.alpha;
    return {c.red + rest * below.red, c.green + rest * below.green, c.blue + rest * below.blue, 1};
}

// One item of the list: a stop (a colour at up to two places) or a hint.
struct Item
{
    std::optional<SegmentColour> colour; // none: a hint
    std::array<double, 2> places{};      // fractions of the gradient line
    int placed = 0;
    std::string_view text;
};

// One linear-gradient(...) of a layer, into segments of premultiplied
// colours over 0..1 of its line.
class Reader
{
public:
    // inside: between linear-gradient( and its ); size: the layer's
    // background-size, which px places need.
    Reader(std::string_view inside, std::string_view size, std::size_t& stopsLeft)
        : m_inside(inside), m_size(size), m_stopsLeft(stopsLeft)
    {
    }

    std::optional<std::vector<GradSegment>> read()
    {
        // Counted before they are listed: a list of millions would take
        // memory only to be refused.
        std::size_t commas = 0;
        int depth = 0;
        for (const char c : m_inside) {
            depth += c == '(' ? 1 : c == ')' ? -1 : 0;
            commas += c == ',' && depth == 0;
        }
        if (commas > m_stopsLeft)
            return fail({R::CssTooManyStops, 0, static_cast<long long>(kMaxStops)}), std::nullopt;
        std::vector<std::string_view> items = Split(m_inside, ',');
        if (!direction(items.front()))
            return std::nullopt;
        if (m_directionGiven)
            items.erase(items.begin());
        if (items.empty())
            return fail({R::CssNoColours}), std::nullopt;
        if (items.size() > m_stopsLeft)
            return fail({R::CssTooManyStops, 0, static_cast<long long>(kMaxStops)}), std::nullopt;
        m_stopsLeft -= items.size();
        std::vector<Item> list;
        list.reserve(items.size());
        for (std::string_view text : items)
            if (!item(text, list))
                return std::nullopt;
        return segments(list);
    }

    // To bottom or to top: what no direction, 180deg and 0.5turn mean too.
    bool vertical() const { return m_vertical; }
    Refusal error;

private:
    bool fail(Refusal why)
    {
        error = std::move(why);
        return false;
    }
    bool notUnderstood(std::string_view token)
    {
        return fail({R::CssNotUnderstood, 0, 0, Quoted(token)});
    }

    // "to right" and the others, or an angle that is a whole number of
    // quarter turns (360deg and -90deg as well as 0deg and 270deg).
    bool direction(std::string_view first)
    {
        if (first.size() > 64)
            return true; // no direction is that long: a colour, or an error it reports
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
            return fail({R::CssDirection, 0, 0, Quoted(first)});
        if (d.starts_with("in "))
            return notUnderstood(first);
        return true;
    }

    // The length the gradient line runs, from the layer's size; read once.
    std::optional<double> lineLength(std::string_view place)
    {
        if (m_length)
            return m_length;
        if (Trimmed(m_size).empty()) {
            fail({R::CssPxNoSize, 0, 0, Quoted(place)});
            return std::nullopt;
        }
        const std::vector<std::string_view> size = Split(m_size, ' ');
        const std::size_t axis = m_vertical ? 1 : 0;
        const auto d = size.size() > axis ? ReadDimension(size[axis]) : std::nullopt;
        if (!d || d->unit != "px" || d->value <= 0) {
            fail({m_vertical ? R::CssHeightNotPx : R::CssWidthNotPx, 0, 0, Quoted(Trimmed(m_size)),
                  Quoted(place)});
            return std::nullopt;
        }
        return m_length = d->value;
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
        Item it{std::nullopt, {}, 0, text};
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
            it.places[std::size_t(it.placed++)] = *p;
        }
        if (hint && (list.empty() || !list.back().colour))
            return fail({R::CssHintFirst, 0, 0, Quoted(text)});
        list.push_back(it);
        return true;
    }

    std::optional<std::vector<GradSegment>> segments(const std::vector<Item>& list);

    std::string_view m_inside;
    std::string_view m_size;
    std::size_t& m_stopsLeft;
    std::optional<double> m_length;
    bool m_directionGiven = false;
    bool m_vertical = true;
    bool m_reversed = false;
};

struct Stop
{
    double place = 0;
    bool placed = false;
    SegmentColour colour;       // premultiplied
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
    // Each run of unplaced stops once, from the stop before it to the one
    // after it.
    for (std::size_t i = 1; i < stops.size();) {
        if (stops[i].placed) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (!stops[j].placed)
            ++j;
        const double from = stops[i - 1].place, step = (stops[j].place - from) / double(j - i + 1);
        for (std::size_t k = i; k < j; ++k)
            stops[k].place = from + step * double(k - i + 1);
        i = j;
    }
}

SegmentColour Mix(const SegmentColour& a, const SegmentColour& b, double f)
{
    return {a.red + (b.red - a.red) * f, a.green + (b.green - a.green) * f,
            a.blue + (b.blue - a.blue) * f, a.alpha + (b.alpha - a.alpha) * f};
}

GradSegment Piece(double left, double right, const SegmentColour& a, const SegmentColour& b)
{
    return {left, (left + right) / 2, right, a, b, SegmentBlend::Linear, SegmentColouring::Rgb};
}

std::optional<std::vector<GradSegment>> Reader::segments(const std::vector<Item>& list)
{
    std::vector<Stop> stops;
    stops.reserve(list.size() + 1);
    std::optional<double> hint;
    for (const Item& it : list) {
        if (!it.colour) {
            hint = it.places[0];
            continue;
        }
        const SegmentColour colour = Premultiplied(*it.colour);
        if (it.placed == 0) {
            stops.push_back({0, false, colour, hint, it.text});
            hint.reset();
        }
        for (int k = 0; k < it.placed; ++k) {
            stops.push_back({it.places[std::size_t(k)], true, colour, hint, it.text});
            hint.reset();
        }
    }
    if (hint)
        return fail({R::CssHintLast}), std::nullopt;
    if (stops.empty())
        return notUnderstood(m_inside), std::nullopt;
    PlaceStops(stops);
    std::vector<GradSegment> out;
    out.reserve(stops.size() + 1);
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
            return fail({R::CssHintOutside, 0, 0, Quoted(b.text)}), std::nullopt;
        if (b.hint && m_reversed)
            return fail({R::CssHintReversed, 0, 0, Quoted(b.text)}), std::nullopt;
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

// A layer's premultiplied colour at t, within its segment s, blended as
// ColourAt blends a linear or a curved segment.
SegmentColour At(const GradSegment& s, double t)
{
    const double length = s.right - s.left;
    double f = length > 0 ? std::clamp((t - s.left) / length, 0.0, 1.0) : 1.0;
    if (s.blend == SegmentBlend::Curved && length > 0) {
        const double m = (s.middle - s.left) / length;
        f = m < 1e-10       ? 1.0
            : 1 - m < 1e-10 ? 0.0
                            : std::exp(-std::numbers::ln2 * std::log(f) / std::log(m));
    }
    return Mix(s.leftColour, s.rightColour, f);
}

// One layer over an opaque colour: its stops over it, exactly.
std::vector<GradSegment> OverColour(std::vector<GradSegment> layer, const SegmentColour& below)
{
    for (GradSegment& s : layer) {
        s.leftColour = Over(s.leftColour, below);
        s.rightColour = Over(s.rightColour, below);
    }
    return layer;
}

// Layers (the first on top) over an opaque colour. Between the places
// where any layer's segment ends the result is smooth: a product of the
// layers' blends. Each such span is one linear piece where its middle lies
// within a twentieth of a level of the chord, else as many as bring a
// quadratic that close. Nothing when it would take more than kMaxPieces.
std::optional<std::vector<GradSegment>>
Composite(const std::vector<std::vector<GradSegment>>& layers, const SegmentColour& below)
{
    std::vector<double> cuts;
    for (const auto& layer : layers)
        for (const GradSegment& s : layer) {
            cuts.push_back(s.left);
            cuts.push_back(s.right);
        }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    std::vector<std::size_t> at(layers.size(), 0);
    std::vector<GradSegment> out;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const double p = cuts[i], q = cuts[i + 1];
        for (std::size_t l = 0; l < layers.size(); ++l) {
            const auto& segs = layers[l];
            while (at[l] + 1 < segs.size() &&
                   (segs[at[l]].right <= p || segs[at[l]].right == segs[at[l]].left))
                ++at[l];
        }
        const auto colour = [&](double t) {
            SegmentColour c = below;
            for (std::size_t l = layers.size(); l-- > 0;)
                c = Over(At(layers[l][at[l]], t), c);
            return c;
        };
        const SegmentColour a = colour(p), b = colour(q), mid = colour((p + q) / 2);
        const double off = 255 * std::max({std::abs(mid.red - (a.red + b.red) / 2),
                                           std::abs(mid.green - (a.green + b.green) / 2),
                                           std::abs(mid.blue - (a.blue + b.blue) / 2)});
        const int pieces =
            off <= 0.05 ? 1 : static_cast<int>(std::min(64.0, std::ceil(std::sqrt(off / 0.05))));
        if (out.size() + std::size_t(pieces) > kMaxPieces)
            return std::nullopt;
        SegmentColour from = a;
        double left = p;
        for (int k = 1; k <= pieces; ++k) {
            const double t = k == pieces ? q : p + (q - p) * k / pieces;
            const SegmentColour to = k == pieces ? b : colour(t);
            out.push_back(Piece(left, t, from, to));
            from = to;
            left = t;
        }
    }
    return out;
}

// Comments out of the text, kept apart: one of them may be what an export
// of ours carries.
std::string WithoutComments(std::string_view text, std::vector<std::string_view>& comments)
{
    std::string out;
    out.reserve(text.size());
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

bool HasGradient(std::string_view text)
{
    return Lower(text).find("linear-gradient(") != std::string::npos;
}

// Where the first ':' outside parentheses is.
std::size_t Colon(std::string_view declaration)
{
    int depth = 0;
    for (std::size_t i = 0; i < declaration.size(); ++i) {
        const char c = declaration[i];
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (c == ':' && depth == 0)
            return i;
    }
    return std::string_view::npos;
}

// A function's text whose parentheses close at its end.
bool Closed(std::string_view token)
{
    int depth = 0;
    for (std::size_t i = 0; i < token.size(); ++i) {
        depth += token[i] == '(' ? 1 : token[i] == ')' ? -1 : 0;
        if (depth == 0 && i + 1 < token.size() && token[i] == ')')
            return false;
    }
    return depth == 0 && token.ends_with(')');
}

// What a rule's declarations say of its background, later ones winning.
struct Background
{
    std::string_view image;  // background-image, or the whole background shorthand
    bool shorthand = false;  // image is the shorthand: sizes after "/", a colour last
    std::string_view colour; // background-color
    bool colourFromShorthand = false;
    std::string_view size; // background-size
};

// The rules of a style sheet, each read as the background a page shows.
class Sheet
{
public:
    Sheet(GradImport& result, const std::string& name) : m_result(result), m_name(name) {}

    // False when the text is refused; m_result.error says why.
    bool read(std::string_view css)
    {
        // Rule bodies end at braces outside parentheses; the text before a
        // '{' ends in a selector. Text outside any braces (a pasted
        // declaration or a bare gradient) is read as declarations too.
        std::size_t start = 0;
        int depth = 0;
        for (std::size_t i = 0; i <= css.size(); ++i) {
            const char c = i < css.size() ? css[i] : '}';
            if (c == '(')
                ++depth;
            else if (c == ')')
                depth = std::max(depth - 1, 0);
            if ((depth > 0 && i < css.size()) || (c != '{' && c != '}'))
                continue;
            if (!declarations(css.substr(start, i - start), c == '{' && i < css.size()))
                return false;
            start = i + 1;
        }
        return true;
    }

    std::string prefixed; // the first prefixed form skipped, for the message

private:
    bool refuse(Refusal why)
    {
        m_result.gradients.clear();
        m_result.vertical.clear();
        m_result.refusal = std::move(why);
        return false;
    }

    bool declarations(std::string_view chunk, bool selectorLast)
    {
        if (!HasGradient(chunk))
            return true;
        std::vector<std::string_view> list = Split(chunk, ';');
        if (selectorLast && !list.empty())
            list.pop_back();
        Background bg;
        std::vector<std::string_view> others;
        for (std::string_view d : list) {
            const std::size_t colon = Colon(d);
            if (colon == std::string_view::npos) {
                if (HasGradient(d))
                    bg.image = d, bg.shorthand = false;
                continue;
            }
            const std::string property = Lower(Trimmed(d.substr(0, colon)));
            std::string_view value = Trimmed(d.substr(colon + 1));
            if (const auto bang = value.rfind('!');
                bang != std::string_view::npos &&
                Lower(Trimmed(value.substr(bang + 1))) == "important")
                value = Trimmed(value.substr(0, bang));
            if (property == "background") {
                bg.image = value;
                bg.shorthand = bg.colourFromShorthand = true;
                bg.colour = bg.size = {};
            } else if (property == "background-image") {
                bg.image = value;
                bg.shorthand = false;
            } else if (property == "background-color") {
                bg.colour = value;
                bg.colourFromShorthand = false;
            } else if (property == "background-size") {
                bg.size = value;
            } else if (!property.starts_with("--") && HasGradient(value)) {
                // A gradient of another property (border-image, a mask) on
                // its own.
                others.push_back(value);
            }
        }
        if (HasGradient(bg.image) && !rule(bg))
            return false;
        for (std::string_view value : others)
            if (!rule(Background{value, false, {}, false, {}}))
                return false;
        return true;
    }

    bool rule(const Background& bg)
    {
        const std::vector<std::string_view> layers = Split(bg.image, ',');
        if (layers.size() > kMaxLayers)
            return refuse({R::CssTooManyLayers, 0, static_cast<long long>(kMaxLayers)});
        const std::vector<std::string_view> sizes =
            Trimmed(bg.size).empty() ? std::vector<std::string_view>() : Split(bg.size, ',');
        std::vector<std::vector<GradSegment>> drawn;
        std::optional<bool> vertical;
        std::string_view colour = bg.colour, undrawn;
        for (std::size_t k = 0; k < layers.size(); ++k) {
            const std::vector<std::string_view> halves =
                bg.shorthand ? Split(layers[k], '/') : std::vector{layers[k]};
            const std::string_view size = !sizes.empty()      ? sizes[k % sizes.size()]
                                          : halves.size() > 1 ? halves[1]
                                                              : std::string_view();
            const bool last = k + 1 == layers.size();
            for (std::string_view token : Split(layers[k], ' ')) {
                const auto open = token.find('(');
                if (open == std::string_view::npos) {
                    if (bg.shorthand && bg.colourFromShorthand && last && ReadColour(token))
                        colour = token;
                    continue;
                }
                const std::string function = Lower(token.substr(0, open));
                if (function == "linear-gradient") {
                    if (!Closed(token))
                        return refuse({R::CssUnclosed});
                    Reader reader(token.substr(open + 1, token.size() - open - 2), size,
                                  m_stopsLeft);
                    auto segments = reader.read();
                    if (!segments)
                        return refuse(reader.error);
                    if (vertical && *vertical != reader.vertical())
                        return refuse({R::CssMixedDirections});
                    vertical = reader.vertical();
                    drawn.push_back(std::move(*segments));
                } else if (function.ends_with("linear-gradient")) {
                    // Prefixed forms mean other directions, and generators
                    // write the standard one beside them: only that one is read.
                    if (function.starts_with("repeating-"))
                        return refuse({R::CssRepeating});
                    if (prefixed.empty())
                        prefixed = Quoted(token.substr(0, open));
                    undrawn = token;
                } else if (function == "rgb" || function == "rgba" || function == "hsl" ||
                           function == "hsla") {
                    if (bg.shorthand && bg.colourFromShorthand && last)
                        colour = token;
                } else {
                    undrawn = token;
                }
            }
        }
        if (drawn.empty())
            return true;
        if (!undrawn.empty())
            return refuse({R::CssUndrawnLayer, 0, 0, Quoted(undrawn)});
        SegmentColour below{1, 1, 1, 1};
        if (!Trimmed(colour).empty()) {
            const auto c = ReadColour(Trimmed(colour));
            if (!c)
                return refuse({R::CssBackgroundColour, 0, 0, Quoted(Trimmed(colour))});
            below = Over(Premultiplied(*c), below);
        }
        std::optional<std::vector<GradSegment>> segments =
            drawn.size() == 1 ? OverColour(std::move(drawn.front()), below)
                              : Composite(drawn, below);
        if (!segments)
            return refuse({R::CssTooFine});
        const std::size_t n = m_result.gradients.size();
        m_result.gradients.push_back(
            {n == 0 ? m_name : m_name + " (" + std::to_string(n + 1) + ")", std::move(*segments)});
        m_result.vertical.push_back(*vertical);
        return true;
    }

    GradImport& m_result;
    const std::string& m_name;
    std::size_t m_stopsLeft = kMaxStops;
};

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
    const auto c = ReadColour(Trimmed(text));
    if (!c)
        return std::nullopt;
    return Over(Premultiplied(*c), {1, 1, 1, 1});
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
    Sheet sheet(result, name);
    if (!sheet.read(css))
        return result;
    if (result.gradients.empty())
        result.refusal = sheet.prefixed.empty() ? Refusal{R::CssNoGradient}
                                                : Refusal{R::CssPrefixed, 0, 0, sheet.prefixed};
    CheckCarried(result, name);
    return result;
}

} // namespace velmix
