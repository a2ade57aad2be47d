// SPDX-License-Identifier: MIT
#include "core/ggr.h"

#include "core/numtext.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numbers>

namespace velmix {

namespace {

// The lines of a text, split at "\n" only: a "\r" before it stays, as GIMP
// leaves it (its numbers and names skip it as white space).
std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::string_view SkipSpace(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    return s;
}

// A number as C's strtod reads it in the "C" locale (white space first, a
// sign, decimal or hexadecimal, inf and nan), whatever the program's locale.
// Advances `s` past it; false when there is none or it is out of range.
bool ReadDouble(std::string_view& s, double& value)
{
    std::string_view t = SkipSpace(s);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    auto format = std::chars_format::general;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X') &&
        std::isxdigit(static_cast<unsigned char>(t[2])) != 0) {
        format = std::chars_format::hex;
        t.remove_prefix(2);
    }
    if (!t.empty() && (t.front() == '+' || t.front() == '-'))
        return false;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, format);
    if (ec != std::errc())
        return false;
    value = negative ? -value : value;
    s.remove_prefix(static_cast<std::size_t>(end - s.data()));
    return true;
}

// An int as sscanf's %d reads it; false when there is none.
bool ReadInt(std::string_view& s, long long& value)
{
    std::string_view t = SkipSpace(s);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    const auto read = ReadLeadingWhole(t);
    if (!read)
        return false;
    value = *read;
    s = t;
    return true;
}

// The name as valid UTF-8: bytes that are not are taken as Latin-1.
std::string Utf8Name(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        bool valid = n > 0 && i + n <= s.size();
        for (std::size_t k = 1; valid && k < n; ++k)
            valid = (static_cast<unsigned char>(s[i + k]) >> 6) == 2;
        if (valid) {
            out.append(s.substr(i, n));
            i += n;
        } else {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
            ++i;
        }
    }
    return out;
}

std::string Number(double v)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

GgrRead Refused(int line, RefusalKind kind, long long segment = 0, std::string quote = {},
                std::string quote2 = {})
{
    return {std::nullopt, {kind, line, segment, std::move(quote), std::move(quote2)}};
}

// A colour type of the file: 0 as written, 1 and 2 the foreground (black),
// 3 and 4 the background (white), 2 and 4 fully transparent.
SegmentColour Flat(const SegmentColour& written, long long type)
{
    if (type == 0)
        return written;
    const double level = type >= 3 ? 1.0 : 0.0;
    return {level, level, level, type % 2 == 0 ? 0.0 : 1.0};
}

} // namespace

GgrRead ReadGgr(std::string_view text, const std::string& fallbackName)
{
    const std::vector<std::string_view> lines = Lines(text);
    // A line past the end reads as empty, as GIMP reads it.
    const auto line = [&](std::size_t i) {
        return i < lines.size() ? lines[i] : std::string_view();
    };
    if (!line(0).starts_with("GIMP Gradient"))
        return Refused(1, RefusalKind::GgrNotGimp);
    NamedGradient g{fallbackName, {}};
    std::size_t at = 1;
    if (line(at).starts_with("Name: ")) {
        const std::string name = Utf8Name(Trimmed(line(at).substr(6)));
        if (!name.empty())
            g.name = name;
        ++at;
    }
    // atoi: the digits at the start, anything after them ignored.
    std::string_view countText = line(at);
    long long count = 0;
    if (!ReadInt(countText, count) || count < 1)
        return Refused(static_cast<int>(at + 1), RefusalKind::GgrNoCount);
    for (long long i = 0; i < count; ++i) {
        ++at;
        const int lineNo = static_cast<int>(at + 1);
        const long long segment = i + 1;
        std::string_view s = line(at);
        GradSegment seg;
        double v[11];
        for (double& value : v) {
            if (!ReadDouble(s, value))
                return Refused(lineNo, RefusalKind::GgrFields, segment);
            if (!std::isfinite(value))
                return Refused(lineNo, RefusalKind::GgrNotFinite, segment);
        }
        long long kinds[4];
        int read = 0;
        while (read < 4 && ReadInt(s, kinds[read]))
            ++read;
        if (read != 2 && read != 4)
            return Refused(lineNo, RefusalKind::GgrKinds, segment);
        if (kinds[0] < 0 || kinds[0] > 5 || kinds[1] < 0 || kinds[1] > 2)
            return Refused(lineNo, RefusalKind::GgrKindsRange, segment);
        if (read == 4 && (kinds[2] < 0 || kinds[2] > 4 || kinds[3] < 0 || kinds[3] > 4))
            return Refused(lineNo, RefusalKind::GgrEndsRange, segment);
        seg.left = v[0];
        seg.middle = v[1];
        seg.right = v[2];
        seg.leftColour = Flat({v[3], v[4], v[5], v[6]}, read == 4 ? kinds[2] : 0);
        seg.rightColour = Flat({v[7], v[8], v[9], v[10]}, read == 4 ? kinds[3] : 0);
        seg.blend = static_cast<SegmentBlend>(kinds[0]);
        seg.colouring = static_cast<SegmentColouring>(kinds[1]);
        if (seg.left > seg.middle || seg.middle > seg.right)
            return Refused(lineNo, RefusalKind::GgrUnordered, segment,
                           Number(seg.left) + ", " + Number(seg.middle) + ", " + Number(seg.right));
        const double start = g.segments.empty() ? 0.0 : g.segments.back().right;
        if (seg.left != start)
            return g.segments.empty()
                       ? Refused(lineNo, RefusalKind::GgrFirstLeft, segment, Number(seg.left))
                       : Refused(lineNo, RefusalKind::GgrLeftGap, segment, Number(seg.left),
                                 Number(start));
        g.segments.push_back(seg);
    }
    if (g.segments.back().right != 1.0)
        return Refused(static_cast<int>(at + 1), RefusalKind::GgrLastRight, 0,
                       Number(g.segments.back().right));
    return {std::move(g), {}};
}

namespace {

// GIMP's smallest segment or midpoint distance it tells from none.
constexpr double kEpsilon = 1e-10;

double LinearFactor(double middle, double pos)
{
    if (pos <= middle)
        return middle < kEpsilon ? 0.0 : 0.5 * pos / middle;
    pos -= middle;
    middle = 1.0 - middle;
    return middle < kEpsilon ? 1.0 : 0.5 + 0.5 * pos / middle;
}

double Factor(SegmentBlend blend, double middle, double pos)
{
    switch (blend) {
    case SegmentBlend::Curved:
        if (middle < kEpsilon)
            return 1.0;
        if (1.0 - middle < kEpsilon)
            return 0.0;
        return std::exp(-std::numbers::ln2 * std::log(pos) / std::log(middle));
    case SegmentBlend::Sine:
        return (std::sin(-std::numbers::pi / 2.0 + std::numbers::pi * LinearFactor(middle, pos)) +
                1.0) /
               2.0;
    case SegmentBlend::SphereIncreasing: {
        const double p = LinearFactor(middle, pos) - 1.0;
        return std::sqrt(1.0 - p * p);
    }
    case SegmentBlend::SphereDecreasing: {
        const double p = LinearFactor(middle, pos);
        return 1.0 - std::sqrt(1.0 - p * p);
    }
    case SegmentBlend::Step:
        return pos >= middle ? 1.0 : 0.0;
    default:
        return LinearFactor(middle, pos);
    }
}

struct Hsv
{
    double h = 0;
    double s = 0;
    double v = 0;
};

Hsv ToHsv(const SegmentColour& c)
{
    const double max = std::max({c.red, c.green, c.blue});
    const double delta = max - std::min({c.red, c.green, c.blue});
    if (delta <= 0.0001)
        return {0, 0, max};
    double h = 0;
    if (c.red == max)
        h = (c.green - c.blue) / delta < 0.0 ? (c.green - c.blue) / delta + 6.0
                                             : (c.green - c.blue) / delta;
    else if (c.green == max)
        h = 2.0 + (c.blue - c.red) / delta;
    else
        h = 4.0 + (c.red - c.green) / delta;
    return {h / 6.0, delta / max, max};
}

SegmentColour FromHsv(const Hsv& c, double alpha)
{
    if (c.s == 0.0)
        return {c.v, c.v, c.v, alpha};
    const double hue = (c.h == 1.0 ? 0.0 : c.h) * 6.0;
    const int i = static_cast<int>(hue);
    const double f = hue - i;
    const double w = c.v * (1.0 - c.s);
    const double q = c.v * (1.0 - c.s * f);
    const double t = c.v * (1.0 - c.s * (1.0 - f));
    switch (i) {
    case 0:
        return {c.v, t, w, alpha};
    case 1:
        return {q, c.v, w, alpha};
    case 2:
        return {w, c.v, t, alpha};
    case 3:
        return {w, q, c.v, alpha};
    case 4:
        return {t, w, c.v, alpha};
    default:
        return {c.v, w, q, alpha};
    }
}

// GIMP's colour at pos (0..1): the segment holding it, looked for from i on
// (a boundary belongs to the segment on its right), the blending's factor
// and the colouring.
SegmentColour ColourAt(const NamedGradient& g, double pos, std::size_t& i)
{
    while (i + 1 < g.segments.size() && pos >= g.segments[i].right)
        ++i;
    const GradSegment& seg = g.segments[i];
    const double length = seg.right - seg.left;
    double middle = 0.5;
    if (length < kEpsilon) {
        pos = 0.5;
    } else {
        middle = (seg.middle - seg.left) / length;
        pos = (pos - seg.left) / length;
    }
    const double f = Factor(seg.blend, middle, pos);
    const SegmentColour& a = seg.leftColour;
    const SegmentColour& b = seg.rightColour;
    const double alpha = a.alpha + (b.alpha - a.alpha) * f;
    if (seg.colouring == SegmentColouring::Rgb)
        return {a.red + (b.red - a.red) * f, a.green + (b.green - a.green) * f,
                a.blue + (b.blue - a.blue) * f, alpha};
    Hsv l = ToHsv(a);
    const Hsv r = ToHsv(b);
    l.s += (r.s - l.s) * f;
    l.v += (r.v - l.v) * f;
    if (seg.colouring == SegmentColouring::HsvCcw) {
        if (l.h < r.h) {
            l.h += (r.h - l.h) * f;
        } else {
            l.h += (1.0 - (l.h - r.h)) * f;
            if (l.h > 1.0)
                l.h -= 1.0;
        }
    } else if (r.h < l.h) {
        l.h -= (l.h - r.h) * f;
    } else {
        l.h -= (1.0 - (r.h - l.h)) * f;
        if (l.h < 0.0)
            l.h += 1.0;
    }
    return FromHsv(l, alpha);
}

// Over a white page, clamped to 0..1, rounded half up to a level.
int Level(double channel, double alpha)
{
    const double a = std::clamp(alpha, 0.0, 1.0);
    const double over = std::clamp(channel, 0.0, 1.0) * a + (1.0 - a);
    return static_cast<int>(std::floor(over * 255.0 + 0.5));
}

} // namespace

std::vector<Colour> SampleGradient(const NamedGradient& gradient, int count)
{
    std::vector<Colour> out;
    if (gradient.segments.empty() || count <= 0)
        return out;
    out.reserve(static_cast<std::size_t>(count));
    // The places rise: the segment is looked for from the last one.
    std::size_t at = 0;
    for (int x = 0; x < count; ++x) {
        const SegmentColour c = ColourAt(gradient, static_cast<double>(x) / count, at);
        out.push_back(
            MakeColour(Level(c.red, c.alpha), Level(c.green, c.alpha), Level(c.blue, c.alpha)));
    }
    return out;
}

std::vector<Colour> SampleCentres(const NamedGradient& gradient, int length)
{
    std::vector<Colour> out;
    if (gradient.segments.empty() || length <= 0)
        return out;
    out.reserve(static_cast<std::size_t>(length));
    std::size_t at = 0;
    for (int x = 0; x < length; ++x) {
        const SegmentColour c = ColourAt(gradient, (x + 0.5) / length, at);
        out.push_back(
            MakeColour(Level(c.red, c.alpha), Level(c.green, c.alpha), Level(c.blue, c.alpha)));
    }
    return out;
}

namespace {

SegmentColour FromColour(Colour c)
{
    return {GetRed(c) / 255.0, GetGreen(c) / 255.0, GetBlue(c) / 255.0, 1.0};
}

// Ends in thousandths: the middle computed from them prints as short as
// they do (0.076, not 0.07600000000000001).
GradSegment Linear(int left, int right, Colour from, Colour to)
{
    return {left / 1000.0,  (left + right) / 2000.0, right / 1000.0,       FromColour(from),
            FromColour(to), SegmentBlend::Linear,    SegmentColouring::Rgb};
}

// The OKLab blend from a to b between t0 and t1 of a segment that runs from
// `left` to `right`, as linear pieces halved until each follows the curve.
struct Curve
{
    OkLab a, b;
    double left, right;

    SegmentColour at(double t) const
    {
        const ExactColour c =
            FromOkLab({a.L + (b.L - a.L) * t, a.a + (b.a - a.a) * t, a.b + (b.b - a.b) * t});
        const auto level = [](double v) { return std::clamp(v, 0.0, 255.0) / 255.0; };
        return {level(c.red), level(c.green), level(c.blue), 1.0};
    }

    void pieces(std::vector<GradSegment>& out, double t0, double t1, int depth) const
    {
        const SegmentColour c0 = at(t0), c1 = at(t1);
        bool straight = true;
        for (int j = 1; j < 8 && straight; ++j) {
            const double f = j / 8.0;
            const SegmentColour c = at(t0 + (t1 - t0) * f);
            for (double SegmentColour::*ch :
                 {&SegmentColour::red, &SegmentColour::green, &SegmentColour::blue})
                straight = straight &&
                           std::abs(c0.*ch + (c1.*ch - c0.*ch) * f - c.*ch) * 255 <= kCurveLevels;
        }
        if (!straight && depth < 12) {
            pieces(out, t0, (t0 + t1) / 2, depth + 1);
            pieces(out, (t0 + t1) / 2, t1, depth + 1);
            return;
        }
        // The ends exact: the next segment starts where this one stops.
        const auto x = [&](double t) { return t == 1 ? right : left + (right - left) * t; };
        const double l = x(t0), r = x(t1);
        out.push_back({l, (l + r) / 2, r, c0, c1, SegmentBlend::Linear, SegmentColouring::Rgb});
    }
};

OkLab Lab(Colour c)
{
    return ToOkLab({double(GetRed(c)), double(GetGreen(c)), double(GetBlue(c))});
}

} // namespace

std::string WriteGgr(const NamedGradient& gradient)
{
    std::string name = gradient.name;
    // One line, as the reader takes it: no line breaks inside.
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    std::string out =
        "GIMP Gradient\nName: " + name + "\n" + std::to_string(gradient.segments.size()) + "\n";
    for (const GradSegment& s : gradient.segments) {
        for (double v : {s.left, s.middle, s.right, s.leftColour.red, s.leftColour.green,
                         s.leftColour.blue, s.leftColour.alpha, s.rightColour.red,
                         s.rightColour.green, s.rightColour.blue, s.rightColour.alpha})
            out += Number(v) + " ";
        out += std::to_string(static_cast<int>(s.blend)) + " " +
               std::to_string(static_cast<int>(s.colouring)) + " 0 0\n";
    }
    return out;
}

// One segment for each two neighbouring points (an OKLab blend's curve as
// linear pieces), zero wide where they share a position (a colour jump could not keep a third point
// there, nor the pixel the rasteriser draws between them), and constant ones before and after. A
// constant first segment reads back as such a pad, not as a point at 0, so points at 0 whose first
// segment is constant get an empty pad first.
NamedGradient GradientFromPoints(const std::string& name, const GradPoints& points)
{
    NamedGradient g{name, {}};
    const SortResult order = SortPoint(points);
    const int n = kPointCount - order.DisabledCount;
    if (n == 0) {
        g.segments.push_back(Linear(0, kMaxPosition, points.color[0], points.color[0]));
        return g;
    }
    const auto place = [&](int k) { return points.position[order.PointOrder[k]]; };
    const auto colour = [&](int k) { return points.color[order.PointOrder[k]]; };
    if (place(0) > 0 || (n > 1 && colour(0) == colour(1)))
        g.segments.push_back(Linear(0, place(0), colour(0), colour(0)));
    for (int k = 0; k + 1 < n; ++k) {
        if (points.blend == Blend::OkLab && place(k) < place(k + 1) && colour(k) != colour(k + 1))
            Curve{Lab(colour(k)), Lab(colour(k + 1)), place(k) / 1000.0, place(k + 1) / 1000.0}
                .pieces(g.segments, 0, 1, 0);
        else
            g.segments.push_back(Linear(place(k), place(k + 1), colour(k), colour(k + 1)));
    }
    if (place(n - 1) < kMaxPosition || g.segments.empty())
        g.segments.push_back(Linear(place(n - 1), kMaxPosition, colour(n - 1), colour(n - 1)));
    return g;
}

namespace {

// Within what a file written with six decimals keeps of an exact value.
std::optional<int> Whole(double value, double scale, double slack)
{
    const double v = value * scale;
    const double r = std::round(v);
    // Far past any place or level is none: no int holds it.
    if (!(std::abs(v - r) <= slack) || !(std::abs(r) <= 1e9))
        return std::nullopt;
    return static_cast<int>(r);
}

// `slack` in levels: an OKLab curve's ends come back from OKLab a little
// further from the 8-bit colours than six decimals take them.
std::optional<Colour> Colour8(const SegmentColour& c, double slack = 2e-4)
{
    const auto r = Whole(c.red, 255, slack), g = Whole(c.green, 255, slack),
               b = Whole(c.blue, 255, slack);
    if (!r || !g || !b || *r < 0 || *r > 255 || *g < 0 || *g > 255 || *b < 0 || *b > 255 ||
        !(std::abs(c.alpha - 1.0) <= 1e-6))
        return std::nullopt;
    return MakeColour(*r, *g, *b);
}

// Two gradients alike within what their files keep.
bool Alike(const NamedGradient& a, const NamedGradient& b)
{
    const auto near = [](const SegmentColour& x, const SegmentColour& y) {
        return std::abs(x.red - y.red) <= 1e-6 && std::abs(x.green - y.green) <= 1e-6 &&
               std::abs(x.blue - y.blue) <= 1e-6 && std::abs(x.alpha - y.alpha) <= 1e-6;
    };
    return std::equal(a.segments.begin(), a.segments.end(), b.segments.begin(), b.segments.end(),
                      [&](const GradSegment& s, const GradSegment& t) {
                          return s.blend == t.blend && s.colouring == t.colouring &&
                                 std::abs(s.left - t.left) <= 1e-6 &&
                                 std::abs(s.middle - t.middle) <= 1e-6 &&
                                 std::abs(s.right - t.right) <= 1e-6 &&
                                 near(s.leftColour, t.leftColour) &&
                                 near(s.rightColour, t.rightColour);
                      });
}

// An OKLab blend as GradientFromPoints writes it: its points are the
// segment ends on the grid with 8-bit colours (the pieces between fall off
// it), and written again they give the same segments. A constant segment at
// either end may be a pad or a point's: both are tried.
std::optional<GradPoints> OkLabPoints(const NamedGradient& gradient)
{
    // Six curves of at most 4096 pieces, and the pads.
    if (gradient.segments.size() > 6 * 4096 + 4)
        return std::nullopt;
    std::vector<std::pair<int, Colour>> found;
    // A segment's left end is the one before's right; its right end is a
    // point of its own even where it repeats the left: two points alike.
    for (const GradSegment& s : gradient.segments)
        for (const bool right : {false, true}) {
            const auto place = Whole(right ? s.right : s.left, 1000, 5e-4);
            const auto colour = Colour8(right ? s.rightColour : s.leftColour, 1e-3);
            if (!place || !colour)
                continue;
            if (right || found.empty() || found.back() != std::pair{*place, *colour})
                found.emplace_back(*place, *colour);
            if (found.size() > kPointCount + 2)
                return std::nullopt;
        }
    for (int pads = 0; pads < 4; ++pads) {
        auto knots = found;
        const auto padded = [&](std::size_t a, std::size_t b) {
            return knots.size() > 1 && knots[a].second == knots[b].second;
        };
        if ((pads & 1) && !padded(0, 1))
            continue;
        if (pads & 1)
            knots.erase(knots.begin());
        if ((pads & 2) && !padded(knots.size() - 1, knots.size() - 2))
            continue;
        if (pads & 2)
            knots.pop_back();
        if (knots.empty() || knots.size() > kPointCount)
            continue;
        GradPoints p;
        p.blend = Blend::OkLab;
        for (std::size_t k = 0; k < knots.size(); ++k) {
            p.position[k] = knots[k].first;
            p.color[k] = knots[k].second;
            p.enabled[k] = true;
        }
        if (Alike(GradientFromPoints(gradient.name, p), gradient))
            return p;
    }
    return std::nullopt;
}

std::optional<GradPoints> RgbPoints(const NamedGradient& gradient);

} // namespace

// The inverse of GradientFromPoints: its RGB points, or else its OKLab ones.
std::optional<GradPoints> ExactPoints(const NamedGradient& gradient)
{
    if (auto rgb = RgbPoints(gradient))
        return rgb;
    return OkLabPoints(gradient);
}

namespace {

// A point at every segment end, a constant segment at either end being a
// pad; a colour jump between two segments is two points at one position.
std::optional<GradPoints> RgbPoints(const NamedGradient& gradient)
{
    struct Point
    {
        int position;
        Colour colour;
    };
    std::vector<Point> found;
    const auto& segs = gradient.segments;
    for (std::size_t i = 0; i < segs.size(); ++i) {
        const GradSegment& s = segs[i];
        const auto left = Whole(s.left, 1000, 5e-4), right = Whole(s.right, 1000, 5e-4);
        const auto from = Colour8(s.leftColour), to = Colour8(s.rightColour);
        if (s.blend != SegmentBlend::Linear || s.colouring != SegmentColouring::Rgb || !left ||
            !right || !from || !to || !(std::abs(s.middle - (s.left + s.right) / 2) <= 1.5e-6))
            return std::nullopt;
        const bool first = i == 0, last = i + 1 == segs.size();
        const bool pad = *from == *to && (first || last);
        if (first ? !pad : found.back().colour != *from)
            found.push_back({*left, *from});
        if (!(pad && last))
            found.push_back({*right, *to});
        if (found.size() > kPointCount)
            return std::nullopt;
    }
    if (segs.empty())
        return std::nullopt;
    if (found.empty())
        found.push_back({0, *Colour8(segs[0].leftColour)});
    GradPoints p;
    for (std::size_t k = 0; k < found.size(); ++k) {
        p.position[k] = found[k].position;
        p.color[k] = found[k].colour;
        p.enabled[k] = true;
    }
    return p;
}

} // namespace

} // namespace velmix
