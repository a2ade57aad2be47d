// SPDX-License-Identifier: MIT
#include "gradient.h"

#include "numtext.h"

#include <algorithm>
#include <cmath>

namespace velmix {

int GradPoints::enabledCount() const
{
    int n = 0;
    for (bool e : enabled)
        n += e ? 1 : 0;
    return n;
}

GradPoints StartupPoints()
{
    GradPoints p;
    const int positions[4] = {0, 333, 667, 1000};
    for (int i = 0; i < 4; ++i) {
        p.enabled[i] = true;
        p.position[i] = positions[i];
        p.color[i] = static_cast<Colour>(std::lround(std::pow(256.0, i % 3) * 255.0));
    }
    return p;
}

SortResult SortPoint(const GradPoints& points)
{
    SortResult r;
    // Disabled points get keys above every enabled position so that they
    // rank after all enabled ones; taken keys become 32767.
    std::array<int, kPointCount> key{};
    for (int i = 0; i < kPointCount; ++i) {
        const int off = points.enabled[i] ? 0 : 1;
        key[i] = points.position[i] + 29999 * off;
        r.DisabledCount += off;
    }
    for (int k = 0; k < kPointCount; ++k) {
        int best = 0;
        for (int i = 1; i < kPointCount; ++i)
            if (key[i] < key[best])
                best = i;
        r.PointOrder[k] = static_cast<std::int16_t>(best);
        key[best] = 32767;
    }
    r.PointOrder[kPointCount] = kPointCount;
    return r;
}

std::int16_t GetRed(Colour c)
{
    return static_cast<std::int16_t>(c % 256);
}
std::int16_t GetGreen(Colour c)
{
    return static_cast<std::int16_t>((c / 256) % 256);
}
std::int16_t GetBlue(Colour c)
{
    return static_cast<std::int16_t>((c / 65536) % 256);
}
Colour MakeColour(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

std::string GetSizeName(int orientation)
{
    // Two characters of three UTF-8 bytes each, from the orientation's place.
    static const std::string names = "横幅高さ";
    return names.substr(orientation == 0 ? 0 : 6, 6);
}

std::int16_t LimitByte(std::int16_t& value)
{
    if (value < 0)
        value = 0;
    else if (value > 255)
        value = 255;
    return value;
}

namespace {

// The one walk along the gradient. emit(x, red, green, blue) receives every
// pixel's channels before rounding; DrawGrad rounds them, the web exports
// keep them, so both follow the same arithmetic.
template <class Emit> void Rasterise(const GradPoints& points, int length, Emit&& emit)
{
    if (length <= 0)
        return;
    if (points.enabledCount() == 0) {
        const Colour c = points.color[0];
        for (int x = 0; x < length; ++x)
            emit(x, GetRed(c), GetGreen(c), GetBlue(c));
        return;
    }
    const SortResult order = SortPoint(points);
    std::array<std::int32_t, kPointCount + 1> pos{};
    std::array<std::int16_t, kPointCount + 1> R{}, G{}, B{};
    for (int i = 0; i < kPointCount; ++i) {
        pos[i] = points.position[i] + 4999 * (points.enabled[i] ? 0 : 1);
        const Colour c = points.color[order.PointOrder[i]];
        R[i] = GetRed(c);
        G[i] = GetGreen(c);
        B[i] = GetBlue(c);
    }
    pos[kPointCount] = 32767;
    // Past the last enabled point the gradient keeps that point's colour.
    const int n = kPointCount - order.DisabledCount;
    R[n] = R[n - 1];
    G[n] = G[n - 1];
    B[n] = B[n - 1];

    int j = 0;
    for (int x = 0; x < length; ++x) {
        const float W = static_cast<float>(static_cast<double>(x) * 1000.0 / length);
        const int a = order.PointOrder[j];
        const int b = order.PointOrder[j + 1];
        float t =
            static_cast<float>((static_cast<double>(W) - pos[a]) / ((pos[b] + 0.01) - pos[a]));
        if (!(t >= 0.0f))
            t = 0.0f;
        else if (t > 1.0f)
            t = 1.0f;
        const double td = t;
        const auto channel = [&](const auto& c) { return c[j] + (c[j + 1] - c[j]) * td; };
        emit(x, channel(R), channel(G), channel(B));
        // The segment advances at most one step per pixel, after drawing it.
        if (W >= static_cast<float>(pos[b]) && j < kPointCount - 1)
            ++j;
    }
}

} // namespace

void DrawGrad(const GradPoints& points, int length, Colour* out)
{
    // lrint rounds halves to even in the default rounding mode, which the
    // program never changes, straight to an integer.
    Rasterise(points, length, [out](int x, double r, double g, double b) {
        out[x] = MakeColour(static_cast<int>(std::lrint(r)), static_cast<int>(std::lrint(g)),
                            static_cast<int>(std::lrint(b)));
    });
}

std::vector<ExactColour> DrawGradExact(const GradPoints& points, int length)
{
    std::vector<ExactColour> line(static_cast<std::size_t>(length > 0 ? length : 0));
    Rasterise(points, length, [&line](int x, double r, double g, double b) {
        line[static_cast<std::size_t>(x)] = {r, g, b};
    });
    return line;
}

std::vector<Colour> DrawGrad(const GradPoints& points, int length)
{
    std::vector<Colour> line(static_cast<std::size_t>(length > 0 ? length : 0));
    DrawGrad(points, length, line.data());
    return line;
}

} // namespace velmix
