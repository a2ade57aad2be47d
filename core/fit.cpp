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

// The slopes from the start that keep a chord within e of every sample seen
// so far form an interval per channel; a chord to b is within e when its
// slope lies in the interval of the samples before b.
Knots FloorKnots(const Levels& s, double e)
{
    Knots knots{0};
    int a = 0;
    while (a < kStrip - 1) {
        if (knots.size() == kPointCount)
            return {};
        std::array<double, 3> lo, hi;
        lo.fill(-std::numeric_limits<double>::infinity());
        hi.fill(std::numeric_limits<double>::infinity());
        int reach = a + 1;
        for (int b = a + 1; b < kStrip; ++b) {
            const double run = b - a;
            bool chord = true, open = true;
            for (int c = 0; c < 3; ++c) {
                const double rise = s[c][b] - s[c][a];
                const double slope = rise / run;
                chord = chord && slope >= lo[c] - kSlack && slope <= hi[c] + kSlack;
                lo[c] = std::max(lo[c], (rise - e) / run);
                hi[c] = std::min(hi[c], (rise + e) / run);
                open = open && lo[c] <= hi[c] + kSlack;
            }
            if (chord)
                reach = b;
            if (!open)
                break;
        }
        knots.push_back(reach);
        a = reach;
    }
    return knots;
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
    void add(double slope, double base)
    {
        while (!m_lines.empty()) {
            const Line& last = m_lines.back();
            const double from = (last.base - base) / (slope - last.slope);
            if (from > m_from.back()) {
                m_lines.push_back({slope, base});
                m_from.push_back(from);
                return;
            }
            m_lines.pop_back();
            m_from.pop_back();
        }
        m_lines.push_back({slope, base});
        m_from.push_back(-std::numeric_limits<double>::infinity());
    }
    double at(double v) const
    {
        const auto i = std::upper_bound(m_from.begin() + 1, m_from.end(), v) - m_from.begin() - 1;
        const Line& l = m_lines[static_cast<std::size_t>(i)];
        return l.slope * v + l.base;
    }

private:
    struct Line
    {
        double slope;
        double base;
    };
    std::vector<Line> m_lines;
    std::vector<double> m_from;
};

// One channel of the segment between knots at a and b (pixels a+1 up to b).
// A pixel drawn at v + (w - v) t rounds within E of the curve when it lies
// within E + 1/2, ties left out; so w lies above v + (low - v) / t and below
// v + (high - v) / t for every pixel: two envelopes of lines in v.
class Segment
{
public:
    Segment(const std::vector<int>& s, int a, int b, int error)
    {
        const double band = error + 0.5 - 1e-7;
        const int last = std::min(b, kStrip - 1);
        std::vector<double> inverse;
        for (int x = a + 1; x <= last; ++x) {
            // t as the rasteriser computes it, in single precision.
            const double t = static_cast<float>((static_cast<double>(x) - a) / ((b + 0.01) - a));
            inverse.push_back(1 / t);
        }
        // 1 / t falls along the segment, so the slopes 1 - 1 / t rise.
        for (std::size_t i = 0; i < inverse.size(); ++i)
            m_low.add(1 - inverse[i], (s[a + 1 + i] - band) * inverse[i]);
        for (std::size_t i = inverse.size(); i-- > 0;)
            m_high.add(inverse[i] - 1, -(s[a + 1 + i] + band) * inverse[i]);
    }
    LevelSet ends(int v) const
    {
        return Span(int(std::ceil(m_low.at(v))), int(std::floor(-m_high.at(v))));
    }
    LevelSet reach(const LevelSet& from) const
    {
        LevelSet to;
        for (int v = 0; v <= kTop; ++v)
            if (from[v])
                to |= ends(v);
        return to;
    }

private:
    Envelope m_low, m_high;
};

// The values pixels from..to-1 can all share.
LevelSet Flat(const std::vector<int>& s, int from, int to, int error)
{
    if (from >= to)
        return ~LevelSet();
    const auto [low, high] = std::minmax_element(s.begin() + from, s.begin() + to);
    return Span(*high - error, *low + error);
}

// Knots each as far from the last as a segment can reach with some value,
// every value that leads there carried on; nothing when more than seven are
// needed. Reach mostly shrinks with length, so the end is found by doubling
// and halving rather than pixel by pixel.
Knots ReachKnots(const Levels& s, int error)
{
    ChannelSets at;
    for (int c = 0; c < 3; ++c)
        at[c] = Flat(s[c], 0, 1, error);
    Knots knots{0};
    int a = 0;
    const auto reaches = [&](int b, ChannelSets& next) {
        for (int c = 0; c < 3; ++c) {
            next[c] = Segment(s[c], a, b, error).reach(at[c]);
            if (next[c].none())
                return false;
        }
        return true;
    };
    for (;;) {
        ChannelSets next, best;
        int good = a + 1, bad = kMaxPosition + 1;
        if (!reaches(good, best))
            return {};
        for (int step = 2; good + step <= kMaxPosition; step *= 2) {
            if (!reaches(a + step, next)) {
                bad = a + step;
                break;
            }
            good = a + step;
            best = next;
        }
        if (bad > kMaxPosition && good < kMaxPosition && reaches(kMaxPosition, next)) {
            good = kMaxPosition;
            best = next;
        }
        while (bad - good > 1 && good < kMaxPosition) {
            const int mid = (good + bad) / 2;
            if (reaches(mid, next)) {
                good = mid;
                best = next;
            } else {
                bad = mid;
            }
        }
        knots.push_back(good);
        if (good >= kStrip - 1)
            return knots;
        if (knots.size() == kPointCount)
            return {};
        at = best;
        a = good;
    }
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
            segments.emplace_back(s[c], knots[k], knots[k + 1], error);
            can.push_back(segments.back().reach(can.back()));
        }
        can.back() &= Flat(s[c], std::min(knots.back() + 1, kStrip), kStrip, error);
        if (can.back().none())
            return std::nullopt;
        // Back from the end: the value nearest the curve that still leads on.
        values[c].assign(n, -1);
        for (std::size_t k = n; k-- > 0;) {
            const int near = s[c][std::min(knots[k], kStrip - 1)];
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
    // The smallest tolerance in hundredths of a level; 255 always holds.
    int low = -1, high = 100 * kTop;
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (FloorKnots(s, mid / 100.0).empty() ? low : high) = mid;
    }
    const Knots knots = FloorKnots(s, high / 100.0);
    std::array<std::vector<int>, 3> values;
    for (int c = 0; c < 3; ++c)
        for (int k : knots)
            values[c].push_back(s[c][k]);
    return Finish(knots, values, s);
}

// One knot moved at a time, in halving steps, while that lets the error
// come down a level.
void Polish(const Levels& s, FittedPoints& best, Knots knots)
{
    for (bool moved = true; moved && best.largestError > 0;) {
        moved = false;
        for (std::size_t i = 1; i + 1 < knots.size() && !moved; ++i)
            for (int step : {1, -1, 2, -2, 4, -4, 8, -8, 16, -16, 32, -32}) {
                Knots trial = knots;
                trial[i] += step;
                if (trial[i] <= trial[i - 1] || trial[i] >= trial[i + 1])
                    continue;
                const auto fit = FitAt(s, trial, best.largestError - 1);
                if (fit && fit->largestError < best.largestError) {
                    best = *fit;
                    knots = trial;
                    moved = true;
                    break;
                }
            }
    }
}

} // namespace

FittedPoints FloorFit(const std::vector<Colour>& samples)
{
    if (samples.empty())
        return FittedPoints{};
    return Floor(Split(samples));
}

FittedPoints FitPoints(const std::vector<Colour>& samples)
{
    if (samples.empty())
        return FittedPoints{};
    const Levels s = Split(samples);
    FittedPoints best = Floor(s);
    // The least error the reaching knots can hold, below the floor's.
    int low = -1, high = best.largestError;
    Knots knots;
    for (int i = 0; i < kPointCount && best.points.enabled[i]; ++i)
        knots.push_back(best.points.position[i]);
    while (high - low > 1) {
        const int error = (low + high) / 2;
        const Knots trial = ReachKnots(s, error);
        const auto fit = trial.empty() ? std::nullopt : FitAt(s, trial, error);
        if (fit && fit->largestError < best.largestError) {
            best = *fit;
            knots = trial;
        }
        (fit ? high : low) = error;
    }
    Polish(s, best, knots);
    return best;
}

FittedPoints PointsFor(const NamedGradient& gradient)
{
    if (auto exact = ExactPoints(gradient))
        return FittedPoints{*exact, 0};
    return FitPoints(SampleGradient(gradient, kMaxPosition));
}

} // namespace velmix
