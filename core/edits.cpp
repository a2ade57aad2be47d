// SPDX-License-Identifier: MIT
#include "core/edits.h"

#include "core/numtext.h"

#include <algorithm>

namespace velmix {

namespace {

// The first visited point starts as both F and L; a later point becomes F at
// a position <= F's and L at a position > L's.
struct FirstLast
{
    int F = -1;
    int L = -1;

    void visit(const GradPoints& p, int i)
    {
        if (F < 0) {
            F = L = i;
            return;
        }
        if (p.position[i] <= p.position[F])
            F = i;
        if (p.position[i] > p.position[L])
            L = i;
    }
    void tie(GradPoints& p) const
    {
        // At least one point is enabled whenever a command runs; without one
        // there is nothing to tie.
        if (F >= 0)
            p.color[L] = p.color[F];
    }
};

} // namespace

GradPoints RandomUniform(GradPoints points, RandomSource& random)
{
    FirstLast ends;
    for (int i = 0; i < kPointCount; ++i) {
        if (!points.enabled[i])
            continue;
        ends.visit(points, i);
        points.color[i] = ToInt32(static_cast<double>(random.next()) * 16777216.0);
    }
    ends.tie(points);
    return points;
}

GradPoints RandomNatural(GradPoints points, RandomSource& random)
{
    std::int16_t ch[3];
    for (auto& c : ch)
        c = ToInt16(static_cast<double>(random.next()) * 256.0);
    const SortResult order = SortPoint(points);
    FirstLast ends;
    for (int k = 0; k < kPointCount; ++k) {
        const int p = order.PointOrder[k];
        if (!points.enabled[p])
            continue;
        ends.visit(points, p);
        for (auto& c : ch) {
            const double u1 = random.next();
            const double u2 = random.next();
            const double s = u1 > 0.5 ? 1.0 : (u1 < 0.5 ? -1.0 : 0.0);
            std::int16_t v = ToInt16((1.0 - u2 * u2) * s * 64.0 + c);
            c = LimitByte(v);
        }
        points.color[p] = MakeColour(ch[0], ch[1], ch[2]);
    }
    ends.tie(points);
    return points;
}

GradPoints EqualSpacing(GradPoints points)
{
    const SortResult order = SortPoint(points);
    const int n = kPointCount - order.DisabledCount;
    if (n < 2)
        return points;
    for (int k = 0; k < n; ++k)
        points.position[order.PointOrder[k]] = ToInt32(k * 1000.0 / (n - 1));
    return points;
}

GradPoints AdjustBrightness(GradPoints base, int delta)
{
    const auto channel = [delta](int c) {
        return static_cast<int>(std::clamp<long long>(static_cast<long long>(c) + delta, 0, 255));
    };
    for (int i = 0; i < kPointCount; ++i) {
        if (!base.enabled[i])
            continue;
        const Colour b = base.color[i];
        base.color[i] = MakeColour(channel(GetRed(b)), channel(GetGreen(b)), channel(GetBlue(b)));
    }
    return base;
}

} // namespace velmix
