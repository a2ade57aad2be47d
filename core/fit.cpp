// SPDX-License-Identifier: MIT
#include "core/fit.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <limits>
#include <optional>

namespace velmix {

namespace {

// The strip a fit is judged on: pixel x of a 1000-pixel drawing sits at
// position x, so knot positions and sample indices are the same numbers.
constexpr int kStrip = kMaxPosition;
constexpr int kTop = 255;
// Room for the rounding of divisions when a line only just touches a band.
constexpr double kSlack = 1e-9;

using Levels = std::array<std::vector<int>, 3>;
using Knots = std::vector<int>;

Levels Split(const std::vector<Colour>& samples)
{
    Levels s;
    for (auto& c : s)
        c.resize(kStrip);
    // Any other count is stretched over the strip, nearest sample first.
    const std::size_t n = samples.size();
    for (std::size_t x = 0; x < kStrip; ++x) {
        const Colour c = samples[x * n / kStrip];
        s[0][x] = GetRed(c);
        s[1][x] = GetGreen(c);
        s[2][x] = GetBlue(c);
    }
    return s;
}

int LargestError(const GradPoints& points, const Levels& s)
{
    const std::vector<Colour> drawn = DrawGrad(points, kStrip);
    int worst = 0;
    for (std::size_t x = 0; x < kStrip; ++x) {
        const Colour c = drawn[x];
        worst = std::max({worst, std::abs(GetRed(c) - s[0][x]), std::abs(GetGreen(c) - s[1][x]),
                          std::abs(GetBlue(c) - s[2][x])});
    }
    return worst;
}

FittedPoints Finish(const Knots& knots, const std::array<std::vector<int>, 3>& values,
                    const Levels& s)
{
    FittedPoints fit;
    for (std::size_t i = 0; i < knots.size(); ++i) {
        fit.points.enabled[i] = true;
        fit.points.position[i] = knots[i];
        fit.points.color[i] = MakeColour(values[0][i], values[1][i], values[2][i]);
    }
    fit.largestError = LargestError(fit.points, s);
    return fit;
}

// --- The floor: points on the curve, each as far as a chord stays within e.

// The points the floor places for a tolerance e: whether seven reach the
// end, and the least tolerance that places the same points (the largest
// distance of a chord from the curve), below which they change.
struct FloorPath
{
    Knots knots;
    bool fits = false;
    double needs = 0;
};

// The slopes from the start that keep a chord within e of every sample seen
// so far form an interval per channel; a chord to b is within e when its
// slope lies in the interval of the samples before b.
FloorPath FloorKnots(const Levels& s, double e)
{
    FloorPath path{{0}};
    int a = 0;
    while (a < kStrip - 1) {
        if (path.knots.size() == kPointCount)
            return path;
        std::array<double, 3> lo, hi;
        lo.fill(-std::numeric_limits<double>::infinity());
        hi.fill(std::numeric_limits<double>::infinity());
        int reach = a + 1;
        for (int b = a + 1; b < kStrip; ++b) {
            const double inverse = 1.0 / (b - a);
            bool chord = true, open = true;
            for (int c = 0; c < 3; ++c) {
                const double rise = s[c][b] - s[c][a];
                const double slope = rise * inverse;
                chord = chord && slope >= lo[c] - kSlack && slope <= hi[c] + kSlack;
                lo[c] = std::max(lo[c], (rise - e) * inverse);
                hi[c] = std::min(hi[c], (rise + e) * inverse);
                open = open && lo[c] <= hi[c] + kSlack;
            }
            if (chord)
                reach = b;
            if (!open)
                break;
        }
        for (int c = 0; c < 3; ++c) {
            const double slope = double(s[c][reach] - s[c][a]) / (reach - a);
            for (int x = a + 1; x < reach; ++x)
                path.needs = std::max(path.needs, std::abs(s[c][a] + slope * (x - a) - s[c][x]));
        }
        path.knots.push_back(reach);
        a = reach;
    }
    path.fits = true;
    return path;
}

// --- Our fit: the knot values are free 8-bit levels. For an error E the
// values a knot may take form a set per channel, and a segment carries the
// set at its start to the set of ends it can reach with every pixel between
// rounding within E of the curve.

using LevelSet = std::bitset<kTop + 1>;
using ChannelSets = std::array<LevelSet, 3>;

LevelSet Span(int from, int to)
{
    from = std::max(from, 0);
    to = std::min(to, kTop);
    if (from > to)
        return {};
    return (~LevelSet() >> (kTop - (to - from))) << from;
}

// The upper envelope of lines y = slope * v + base added in rising slope.
class Envelope
{
public:
    void reserve(std::size_t n) { m_lines.reserve(n); }
    void add(double slope, double base)
    {
        // The last line is never on top when the new one overtakes it no
        // later than it overtakes the one before it.
        while (m_lines.size() >= 2) {
            const Line& p = m_lines[m_lines.size() - 2];
            const Line& q = m_lines.back();
            if ((q.base - base) * (q.slope - p.slope) > (p.base - q.base) * (slope - q.slope))
                break;
            m_lines.pop_back();
        }
        m_lines.push_back({slope, base});
    }
    double at(double v) const
    {
        double top = -std::numeric_limits<double>::infinity();
        for (const Line& l : m_lines)
            top = std::max(top, l.slope * v + l.base);
        return top;
    }
    // The same for rising v, from where the last call left off.
    double at(double v, std::size_t& i) const
    {
        while (i + 1 < m_lines.size() && value(i + 1, v) >= value(i, v))
            ++i;
        return value(i, v);
    }

private:
    double value(std::size_t i, double v) const { return m_lines[i].slope * v + m_lines[i].base; }
    struct Line
    {
        double slope;
        double base;
    };
    std::vector<Line> m_lines;
};

// One channel of the segment between knots at a and b, drawing pixels
// `first` up to b. A pixel drawn at v + (w - v) t rounds within E of the
// curve when it lies within E + 1/2, ties left out; so w lies above
// v + (low - v) / t and below v + (high - v) / t for every pixel: two
// envelopes of lines in v.
class Segment
{
public:
    Segment(const std::vector<int>& s, int a, int b, int first, int error)
    {
        const double band = error + 0.5 - 1e-7;
        std::vector<double> inverse;
        inverse.reserve(std::size_t(std::max(0, std::min(b, kStrip - 1) - first + 1)));
        for (int x = first; x <= std::min(b, kStrip - 1); ++x) {
            // t as the rasteriser computes it, in single precision.
            const double t = static_cast<float>((static_cast<double>(x) - a) / ((b + 0.01) - a));
            inverse.push_back(1 / t);
        }
        m_any = inverse.empty();
        m_low.reserve(inverse.size());
        m_high.reserve(inverse.size());
        // 1 / t falls along the segment, so the slopes 1 - 1 / t rise.
        const auto level = [&](std::size_t i) { return s[std::size_t(first) + i]; };
        for (std::size_t i = 0; i < inverse.size(); ++i)
            m_low.add(1 - inverse[i], (level(i) - band) * inverse[i]);
        for (std::size_t i = inverse.size(); i-- > 0;)
            m_high.add(inverse[i] - 1, -(level(i) + band) * inverse[i]);
    }
    // Two points at one position: the pixel after them takes the second's
    // colour whatever the first, and the next segment starts a pixel late.
    static Segment Jump(const LevelSet& second)
    {
        Segment jump;
        jump.m_jump = second;
        return jump;
    }
    LevelSet ends(int v) const
    {
        if (m_jump.any() || m_any)
            return m_any ? ~LevelSet() : m_jump;
        return Span(int(std::ceil(m_low.at(v))), int(std::floor(-m_high.at(v))));
    }
    LevelSet reach(const LevelSet& from) const
    {
        if (m_jump.any() || m_any)
            return from.any() ? ends(0) : LevelSet();
        // Neighbouring start values reach overlapping ends: joined first.
        LevelSet to;
        std::size_t low = 0, high = 0;
        int begin = 0, end = -1;
        for (int v = 0; v <= kTop; ++v) {
            if (!from[v])
                continue;
            const int b = int(std::ceil(m_low.at(v, low)));
            const int e = int(std::floor(-m_high.at(v, high)));
            if (b > e)
                continue;
            if (b > end + 1 || e < begin - 1) {
                to |= Span(begin, end);
                begin = b;
                end = e;
            } else {
                begin = std::min(begin, b);
                end = std::max(end, e);
            }
        }
        return to | Span(begin, end);
    }

private:
    Segment() = default;
    Envelope m_low, m_high;
    LevelSet m_jump;
    bool m_any = false;
};

// The values pixels from..to-1 can all share.
LevelSet Flat(const std::vector<int>& s, int from, int to, int error)
{
    if (from >= to)
        return ~LevelSet();
    const auto [low, high] = std::minmax_element(s.begin() + from, s.begin() + to);
    return Span(*high - error, *low + error);
}

// The first pixel a segment from knot k draws: one later after a jump.
int FirstPixel(const Knots& knots, std::size_t k)
{
    return knots[k] + (k > 0 && knots[k - 1] == knots[k] ? 2 : 1);
}

struct Reach
{
    int end = -1;
    ChannelSets sets;
};

// The farthest end of a segment from a, drawing pixels from `first`, that
// some value of `at` reaches in every channel. Reach mostly shrinks with
// length, so the end is found by doubling and halving, not pixel by pixel.
Reach Farthest(const Levels& s, int error, int a, int first, const ChannelSets& at)
{
    Reach best, next;
    const auto reaches = [&](int b, Reach& r) {
        for (int c = 0; c < 3; ++c) {
            r.sets[c] = Segment(s[c], a, b, first, error).reach(at[c]);
            if (r.sets[c].none())
                return false;
        }
        r.end = b;
        return true;
    };
    int bad = kMaxPosition + 1;
    if (!reaches(first, best))
        return best;
    for (int step = 2 * (first - a); a + step <= kMaxPosition; step *= 2) {
        if (!reaches(a + step, next)) {
            bad = a + step;
            break;
        }
        best = next;
    }
    if (bad > kMaxPosition && best.end < kMaxPosition && reaches(kMaxPosition, next))
        best = next;
    while (bad - best.end > 1 && best.end < kMaxPosition) {
        const int mid = (best.end + bad) / 2;
        if (reaches(mid, next))
            best = next;
        else
            bad = mid;
    }
    return best;
}

// Knots each as far from the last as a segment can reach with some value,
// every value that leads there carried on; nothing when more than seven are
// needed. Where the curve steps, two points at one position (a jump) start
// afresh, when that goes as far as two ordinary segments would.
Knots ReachKnots(const Levels& s, int error, bool jumps)
{
    ChannelSets at;
    for (int c = 0; c < 3; ++c)
        at[c] = Flat(s[c], 0, 1, error);
    Knots knots{0};
    int first = 1;
    for (;;) {
        const Reach r = Farthest(s, error, knots.back(), first, at);
        if (r.end < 0)
            return {};
        knots.push_back(r.end);
        if (r.end >= kStrip - 1)
            return knots;
        if (knots.size() == kPointCount)
            return {};
        const int b = r.end;
        first = b + 1;
        at = r.sets;
        if (!jumps || knots.size() + 2 > kPointCount)
            continue;
        // A jump and the segment after it cost as many points as two
        // ordinary segments, and less than one that reaches the end.
        Reach plain = Farthest(s, error, b, b + 1, r.sets);
        if (plain.end >= kStrip - 1)
            continue;
        if (plain.end >= 0)
            plain = Farthest(s, error, plain.end, plain.end + 1, plain.sets);
        ChannelSets fresh;
        for (int c = 0; c < 3; ++c)
            fresh[c] = Flat(s[c], b + 1, b + 2, error);
        const Reach jump = Farthest(s, error, b, b + 2, fresh);
        if (jump.end >= 0 && jump.end >= plain.end) {
            knots.push_back(b);
            first = b + 2;
            at = fresh;
        }
    }
}

// Knots in order, a position shared by two at most, and a pixel of its own
// for the segment after a jump.
bool Valid(const Knots& knots)
{
    if (knots.size() < 2 || knots[0] < 0 || knots.back() > kMaxPosition)
        return false;
    for (std::size_t k = 1; k < knots.size(); ++k) {
        const bool shared = knots[k] == knots[k - 1];
        if (shared ? k >= 2 && knots[k - 2] == knots[k] : knots[k] < FirstPixel(knots, k - 1))
            return false;
    }
    return knots.back() != knots[knots.size() - 2];
}

// Segment k of the knots, for one channel.
Segment SegmentAt(const std::vector<int>& s, const Knots& knots, std::size_t k, int error)
{
    const int a = knots[k];
    if (knots[k + 1] == a)
        return Segment::Jump(Flat(s, a + 1, a + 2, error));
    return Segment(s, a, knots[k + 1], FirstPixel(knots, k), error);
}

// 8-bit values at the given knots with every pixel of every channel within
// the error, each as near the curve as the others allow; nothing if none.
std::optional<FittedPoints> FitAt(const Levels& s, const Knots& knots, int error)
{
    const std::size_t n = knots.size();
    std::array<std::vector<int>, 3> values;
    for (int c = 0; c < 3; ++c) {
        std::vector<Segment> segments;
        std::vector<LevelSet> can{Flat(s[c], 0, std::min(knots[0], kStrip - 1) + 1, error)};
        for (std::size_t k = 0; k + 1 < n; ++k) {
            segments.push_back(SegmentAt(s[c], knots, k, error));
            can.push_back(segments.back().reach(can.back()));
            if (can.back().none())
                return std::nullopt;
        }
        can.back() &= Flat(s[c], std::min(knots.back() + 1, kStrip), kStrip, error);
        if (can.back().none())
            return std::nullopt;
        // Back from the end: the value nearest the curve that still leads on.
        values[c].assign(n, -1);
        for (std::size_t k = n; k-- > 0;) {
            const int near = s[c][std::size_t(std::min(knots[k], kStrip - 1))];
            for (int d = 0; d <= kTop && values[c][k] < 0; ++d)
                for (int v : {near - d, near + d})
                    if (v >= 0 && v <= kTop && can[k][v] &&
                        (k + 1 == n || segments[k].ends(v)[values[c][k + 1]])) {
                        values[c][k] = v;
                        break;
                    }
            if (values[c][k] < 0)
                return std::nullopt;
        }
    }
    return Finish(knots, values, s);
}

FittedPoints Floor(const Levels& s)
{
    // The smallest tolerance in hundredths of a level that seven points
    // hold; 255 always does. Fewer points for a larger tolerance is the
    // rule but not the law, so the tolerances down to half the one halving
    // finds are tried too, each set of points once (below half, the points
    // change at nearly every hundredth, and none of gimp-data's holds).
    int low = -1, high = 100 * kTop;
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (FloorKnots(s, mid / 100.0).fits ? high : low) = mid;
    }
    for (int e = high - 1, end = high / 2; e >= end; --e) {
        const FloorPath path = FloorKnots(s, e / 100.0);
        if (path.fits)
            high = e;
        e = std::min(e, int(std::ceil(path.needs * 100 - 1e-4)));
    }
    const Knots knots = FloorKnots(s, high / 100.0).knots;
    std::array<std::vector<int>, 3> values;
    for (int c = 0; c < 3; ++c)
        for (int k : knots)
            values[c].push_back(s[c][std::size_t(k)]);
    return Finish(knots, values, s);
}

// For one error on fixed knots, channel by channel: the values each knot
// can take coming from the start, and those from which the end can still
// be reached. A move of a few knots is then judged on the segments it
// changes alone.
class KnotSets
{
public:
    KnotSets(const Levels& s, const Knots& knots, int error) : m_s(s), m_error(error)
    {
        const std::size_t n = knots.size();
        for (int c = 0; c < 3; ++c) {
            auto& from = m_from[c];
            auto& to = m_to[c];
            from.assign(n, LevelSet());
            to.assign(n, LevelSet());
            from[0] = Flat(s[c], 0, knots[0] + 1, error);
            for (std::size_t k = 0; k + 1 < n && from[k].any(); ++k)
                from[k + 1] = SegmentAt(s[c], knots, k, error).reach(from[k]);
            to[n - 1] = Flat(s[c], std::min(knots.back() + 1, kStrip), kStrip, error);
            for (std::size_t k = n - 1; k-- > 0;) {
                const Segment segment = SegmentAt(s[c], knots, k, error);
                for (int v = 0; v <= kTop; ++v)
                    to[k][v] = (segment.ends(v) & to[k + 1]).any();
            }
        }
    }
    // Whether knots first..last of `moved` (the others as they were) leave
    // a way through in every channel.
    bool allows(const Knots& moved, std::size_t first, std::size_t last) const
    {
        for (int c = 0; c < 3; ++c) {
            LevelSet at = m_from[c][first - 1];
            for (std::size_t k = first - 1; k <= last && k + 1 < moved.size() && at.any(); ++k)
                at = SegmentAt(m_s[c], moved, k, m_error).reach(at);
            if (last + 1 < moved.size())
                at &= m_to[c][last + 1];
            else
                at &= Flat(m_s[c], std::min(moved.back() + 1, kStrip), kStrip, m_error);
            if (at.none())
                return false;
        }
        return true;
    }

private:
    const Levels& m_s;
    int m_error;
    std::array<std::vector<LevelSet>, 3> m_from, m_to;
};

// One knot (or both of a jump) moved at a time, in halving steps, while
// that lets the error come down a level.
void Polish(const Levels& s, FittedPoints& best, Knots knots)
{
    for (bool moved = true; moved && best.largestError > 0;) {
        moved = false;
        const KnotSets sets(s, knots, best.largestError - 1);
        for (std::size_t i = 1; i < knots.size() && !moved; ++i) {
            std::size_t last = i;
            while (last + 1 < knots.size() && knots[last + 1] == knots[i])
                ++last;
            for (int step : {1, -1, 2, -2, 4, -4, 8, -8, 16, -16, 32, -32}) {
                Knots trial = knots;
                for (std::size_t k = i; k <= last; ++k)
                    trial[k] += step;
                // Jumps neither made nor undone: the segments beyond keep
                // their first pixel.
                bool same = Valid(trial);
                for (std::size_t k = 0; same && k + 1 < knots.size(); ++k)
                    same = (trial[k] == trial[k + 1]) == (knots[k] == knots[k + 1]);
                if (!same || !sets.allows(trial, i, last))
                    continue;
                const auto fit = FitAt(s, trial, best.largestError - 1);
                if (fit && fit->largestError < best.largestError) {
                    best = *fit;
                    knots = trial;
                    moved = true;
                    break;
                }
            }
            i = last;
        }
    }
}

// Nothing to fit: one point, as the windows keep at least one on.
FittedPoints Nothing()
{
    FittedPoints fit;
    fit.points.enabled[0] = true;
    return fit;
}

} // namespace

FittedPoints FloorFit(const std::vector<Colour>& samples)
{
    if (samples.empty())
        return Nothing();
    return Floor(Split(samples));
}

FittedPoints FitPoints(const std::vector<Colour>& samples)
{
    if (samples.empty())
        return Nothing();
    const Levels s = Split(samples);
    const FittedPoints floor = Floor(s);
    if (floor.largestError == 0)
        return floor;
    // Knots worth polishing, each with the least error its values can hold.
    std::vector<std::pair<FittedPoints, Knots>> found;
    const auto keep = [&](const FittedPoints& fit, const Knots& knots) {
        for (const auto& [other, seen] : found)
            if (seen == knots)
                return;
        found.emplace_back(fit, knots);
    };
    // The floor's own knots with their values set free; for fixed knots a
    // larger error always holds what a smaller one does.
    Knots knots;
    for (int i = 0; i < kPointCount && floor.points.enabled[i]; ++i)
        knots.push_back(floor.points.position[i]);
    FittedPoints freed = floor;
    for (int low = -1, high = floor.largestError; high - low > 1;) {
        const int error = (low + high) / 2;
        const auto fit = FitAt(s, knots, error);
        if (fit && fit->largestError < freed.largestError)
            freed = *fit;
        (fit ? high : low) = error;
    }
    keep(freed, knots);
    // Knots each reaching as far as it can, for the least error that holds
    // within seven, by halving. They seldom hold less than a third of what
    // the floor's knots do once freed. Jumps (two points at one position)
    // are tried too where the curve steps further in a pixel than that.
    bool steps = false;
    for (const auto& channel : s)
        for (std::size_t x = 1; x < channel.size(); ++x)
            steps = steps || std::abs(channel[x] - channel[x - 1]) > freed.largestError;
    for (bool jumps : {false, true}) {
        if (jumps && !steps)
            break;
        for (int low = freed.largestError / 3 - 1, high = freed.largestError + 1; high - low > 1;) {
            const int error = (low + high) / 2;
            const Knots trial = ReachKnots(s, error, jumps);
            const auto fit = trial.empty() ? std::nullopt : FitAt(s, trial, error);
            if (fit)
                keep(*fit, trial);
            (fit ? high : low) = error;
        }
    }
    // The two best polished; the floor stays the answer to beat.
    std::stable_sort(found.begin(), found.end(), [](const auto& x, const auto& y) {
        return x.first.largestError < y.first.largestError;
    });
    FittedPoints best = floor;
    for (std::size_t i = 0; i < std::min<std::size_t>(found.size(), 2); ++i) {
        auto [fit, at] = found[i];
        Polish(s, fit, at);
        if (fit.largestError < best.largestError)
            best = fit;
    }
    return best;
}

FittedPoints PointsFor(const NamedGradient& gradient)
{
    if (auto exact = ExactPoints(gradient))
        return FittedPoints{*exact, 0};
    return FitPoints(SampleGradient(gradient, kMaxPosition));
}

FittedPoints PointsFor(const NamedGradient& gradient, int length, Sampling sampling)
{
    const std::optional<GradPoints> exact = ExactPoints(gradient);
    if (exact && sampling == Sampling::Edges)
        return FittedPoints{*exact, 0};
    length = std::clamp(length, kMinImageSize, kMaxImageSize);
    const std::vector<Colour> target = sampling == Sampling::Centres
                                           ? SampleCentres(gradient, length)
                                           : SampleGradient(gradient, length);
    if (target.empty())
        return PointsFor(gradient);
    const auto errorAt = [&](const GradPoints& points) {
        const std::vector<Colour> drawn = DrawGrad(points, length);
        int worst = 0;
        for (std::size_t x = 0; x < drawn.size(); ++x)
            worst = std::max({worst, std::abs(GetRed(drawn[x]) - GetRed(target[x])),
                              std::abs(GetGreen(drawn[x]) - GetGreen(target[x])),
                              std::abs(GetBlue(drawn[x]) - GetBlue(target[x]))});
        return worst;
    };
    FittedPoints best = exact ? FittedPoints{*exact, 0} : PointsFor(gradient);
    best.largestError = errorAt(best.points);
    if (best.largestError > 1) {
        // A pixel x of the length is drawn at position 1000 x / length, and
        // a point takes effect at the first pixel at or past it: the strip
        // is fitted with each position showing the pixel drawn next, and
        // with the nearest before it, and the closer at the length kept.
        std::vector<Colour> next(kStrip), before(kStrip);
        for (int p = 0; p < kStrip; ++p) {
            next[std::size_t(p)] =
                target[std::size_t(std::min(length - 1, (p * length + kStrip - 1) / kStrip))];
            before[std::size_t(p)] = target[std::size_t(p * length / kStrip)];
        }
        for (const auto& strip : {next, before}) {
            FittedPoints sized = FitPoints(strip);
            sized.largestError = errorAt(sized.points);
            if (sized.largestError < best.largestError)
                best = sized;
        }
    }
    return best;
}

} // namespace velmix
