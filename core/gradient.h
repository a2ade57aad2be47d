// SPDX-License-Identifier: MIT
#pragma once
// The seven-point gradient model and the rasteriser that turns it into
// colours. Every pixel the program writes, shows or copies is decided here;
// the windows only read their controls into a GradPoints value and paint
// what DrawGrad hands back.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmix {

// The platform RGB value: red + 256 * green + 65536 * blue, top byte 0.
using Colour = std::int32_t;

constexpr int kPointCount = 7;
constexpr int kMaxPosition = 1000;
constexpr int kMinImageSize = 4;
constexpr int kMaxImageSize = 2000;
// Pixels across the gradient in an exported picture.
constexpr int kMaxThickness = 32767;

// How the colour moves between two neighbouring enabled points: channel by
// channel (the program's own arithmetic, the default), or along a straight
// line in OKLab, where the middle of a blend keeps its lightness and does
// not go grey or dark. Both walk the same pixels with the same parameter.
enum class Blend
{
    Rgb = 0,
    OkLab = 1
};
// A blend's number in the settings file and in the blend menu: 1 OKLab,
// any other RGB.
constexpr int BlendNumber(Blend blend)
{
    return blend == Blend::OkLab ? 1 : 0;
}
constexpr Blend BlendOfNumber(int number)
{
    return number == 1 ? Blend::OkLab : Blend::Rgb;
}

struct GradPoints
{
    std::array<int, kPointCount> position{}; // 0..1000
    std::array<bool, kPointCount> enabled{};
    std::array<Colour, kPointCount> color{};
    Blend blend = Blend::Rgb;

    int enabledCount() const;
    bool operator==(const GradPoints&) const = default;
};

// Red, green, blue, red at 0, 333, 667, 1000; points 4 to 6 off and black.
GradPoints StartupPoints();

struct SortResult
{
    // Rank -> point index; enabled points first by position, ties by index.
    // Entry 7 is always 7, the end marker the rasteriser reads.
    std::array<std::int16_t, kPointCount + 1> PointOrder{};
    std::int32_t DisabledCount = 0;
};

SortResult SortPoint(const GradPoints& points);

std::int16_t GetRed(Colour c);
std::int16_t GetGreen(Colour c);
std::int16_t GetBlue(Colour c);
Colour MakeColour(int red, int green, int blue);

// "横幅" for orientation 0, "高さ" for 1 (UTF-8).
std::string GetSizeName(int orientation);

// Clamps to 0..255, writes the result back and returns it.
std::int16_t LimitByte(std::int16_t& value);

// The colour at every pixel along a gradient of the given length. The
// arithmetic (single-precision W and t, half-to-even channels, one segment
// step per pixel at most) is the program's contract with its saved files.
// In OKLab the channels come back from OKLab clamped to 0..255 and are
// rounded half away from zero.
// The windows keep at least one point enabled; with none, every pixel takes
// point 0's colour. A length of 0 or less writes nothing.
void DrawGrad(const GradPoints& points, int length, Colour* out);
std::vector<Colour> DrawGrad(const GradPoints& points, int length);

// A pixel's channels before DrawGrad rounds them to whole levels.
struct ExactColour
{
    double red = 0;
    double green = 0;
    double blue = 0;
};
// Björn Ottosson's OKLab, from and to sRGB levels 0..255, in double. The way
// back is not clamped: a colour outside sRGB comes back beyond 0..255.
struct OkLab
{
    double L = 0;
    double a = 0;
    double b = 0;
};
OkLab ToOkLab(const ExactColour& c);
ExactColour FromOkLab(const OkLab& lab);
// How far, in levels, an OKLab blend's linear pieces (the CSS and SVG
// stops, the .ggr segments) may stray from its curve: Chromium's drawing
// stays within one level of the image (a quarter level let its own
// rounding and dithering reach two), with a stop every dozen pixels or so.
inline constexpr double kCurveLevels = 0.1;

// The same walk as DrawGrad, unrounded (in OKLab, already clamped): what the
// web exports reproduce and what dithering starts from.
std::vector<ExactColour> DrawGradExact(const GradPoints& points, int length);

// Side of the ordered dither's threshold square. Four, not eight: the rows of
// a left-to-right image then repeat within deflate's 32 KiB window (4 rows of
// 2000 pixels), which keeps a dithered PNG small.
constexpr int kDitherSize = 4;

// A gradient image as it is exported: one line of colours along the axis and
// a thickness across it. Every line across the gradient is identical, so the
// writers stream it without ever building the full picture. A dithered image
// repeats across the gradient every kDitherSize lines instead: `dither` holds
// those lines one after another (line k serves every line across whose index
// leaves k divided by kDitherSize), and is empty for a plain image.
struct StripImage
{
    std::vector<Colour> line;
    bool vertical = false;
    int thickness = 1;
    std::vector<Colour> dither{};

    int width() const { return vertical ? thickness : static_cast<int>(line.size()); }
    int height() const { return vertical ? static_cast<int>(line.size()) : thickness; }
    Colour pixel(int x, int y) const
    {
        const auto along = static_cast<std::size_t>(vertical ? y : x);
        if (dither.empty())
            return line[along];
        const auto across = static_cast<std::size_t>((vertical ? x : y) % kDitherSize);
        return dither[across * line.size() + along];
    }
    // Every row equal to the first one (plain left-to-right gradients).
    bool rowsIdentical() const { return !vertical && dither.empty(); }
};

// The image of an export: the points drawn `length` pixels long, `thickness`
// across, dithered from the unrounded colours when asked.
StripImage MakeStrip(const GradPoints& points, int length, bool vertical, int thickness,
                     bool dithered);

// One channel's level at a place of the dither square: the unrounded value
// plus a threshold (b + 1/2) / 16, b the place's rank 0..15 in the 4 x 4
// Bayer matrix, rounded down. Whole values stay as they are, every pixel is
// within one level of its value, and every full square averages to within
// 1/32 level of it. along and across are pixel indices, any non-negative.
int DitherLevel(double value, int along, int across);

} // namespace velmix
