// SPDX-License-Identifier: MIT
#include "core/gradient.h"

#include "core/numtext.h"

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

double ToLinear(double level)
{
    const double c = level / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double FromLinear(double c)
{
    return 255.0 * (c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055);
}

} // namespace

OkLab ToOkLab(const ExactColour& c)
{
    const double r = ToLinear(c.red), g = ToLinear(c.green), b = ToLinear(c.blue);
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

ExactColour FromOkLab(const OkLab& lab)
{
    const double l = std::pow(lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b, 3);
    const double m = std::pow(lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b, 3);
    const double s = std::pow(lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b, 3);
    return {FromLinear(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
            FromLinear(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
            FromLinear(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s)};
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
    const bool ok = points.blend == Blend::OkLab;
    std::array<OkLab, kPointCount + 1> lab{};
    if (ok)
        for (int k = 0; k <= n; ++k)
            lab[k] = ToOkLab({double(R[k]), double(G[k]), double(B[k])});

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
        if (ok) {
            const OkLab& p = lab[j];
            const OkLab& q = lab[j + 1];
            const ExactColour c =
                FromOkLab({p.L + (q.L - p.L) * td, p.a + (q.a - p.a) * td, p.b + (q.b - p.b) * td});
            const auto clamp = [](double v) { return std::clamp(v, 0.0, 255.0); };
            emit(x, clamp(c.red), clamp(c.green), clamp(c.blue));
        } else {
            emit(x, channel(R), channel(G), channel(B));
        }
        // The segment advances at most one step per pixel, after drawing it.
        if (W >= static_cast<float>(pos[b]) && j < kPointCount - 1)
            ++j;
    }
}

} // namespace

void DrawGrad(const GradPoints& points, int length, Colour* out)
{
    if (points.blend == Blend::OkLab) {
        // Halves away from zero (lround), as OKLab colours are usually rounded.
        Rasterise(points, length, [out](int x, double r, double g, double b) {
            out[x] = MakeColour(static_cast<int>(std::lround(r)), static_cast<int>(std::lround(g)),
                                static_cast<int>(std::lround(b)));
        });
        return;
    }
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

namespace {

// The Bayer matrix of side kDitherSize, each place's rank: the square of side
// 2n is four copies of the side-n square's ranks times 4, plus 0, 2, 3 and 1.
constexpr std::array<std::array<int, kDitherSize>, kDitherSize> MakeBayer()
{
    std::array<std::array<int, kDitherSize>, kDitherSize> m{};
    for (int side = 1; side < kDitherSize; side *= 2)
        for (int y = side - 1; y >= 0; --y)
            for (int x = side - 1; x >= 0; --x) {
                const int v = 4 * m[y][x];
                m[y][x] = v;
                m[y][x + side] = v + 2;
                m[y + side][x] = v + 3;
                m[y + side][x + side] = v + 1;
            }
    return m;
}

constexpr auto kBayer = MakeBayer();

} // namespace

int DitherLevel(double value, int along, int across)
{
    constexpr double kCells = kDitherSize * kDitherSize;
    const double threshold = (kBayer[across % kDitherSize][along % kDitherSize] + 0.5) / kCells;
    return std::clamp(static_cast<int>(std::floor(value + threshold)), 0, 255);
}

StripImage MakeStrip(const GradPoints& points, int length, bool vertical, int thickness,
                     bool dithered)
{
    StripImage img;
    img.vertical = vertical;
    img.thickness = thickness;
    img.line = DrawGrad(points, length);
    if (!dithered || img.line.empty())
        return img;
    const std::vector<ExactColour> exact = DrawGradExact(points, length);
    img.dither.reserve(img.line.size() * kDitherSize);
    for (int k = 0; k < kDitherSize; ++k)
        for (int x = 0; x < length; ++x) {
            const ExactColour& c = exact[static_cast<std::size_t>(x)];
            img.dither.push_back(MakeColour(DitherLevel(c.red, x, k), DitherLevel(c.green, x, k),
                                            DitherLevel(c.blue, x, k)));
        }
    return img;
}

} // namespace velmix
