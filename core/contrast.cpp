// SPDX-License-Identifier: MIT
#include "core/contrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace velmix {

namespace {

double Linear(int level)
{
    const double c = level / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double RelativeLuminance(Colour c)
{
    return 0.2126 * Linear(GetRed(c)) + 0.7152 * Linear(GetGreen(c)) + 0.0722 * Linear(GetBlue(c));
}

double ContrastRatio(Colour a, Colour b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ContrastMark MarkFor(double ratio)
{
    if (ratio >= 7)
        return ContrastMark::AAA;
    if (ratio >= 4.5)
        return ContrastMark::AA;
    if (ratio >= 3)
        return ContrastMark::AALarge;
    return ContrastMark::Fail;
}

const char* MarkWord(ContrastMark mark)
{
    switch (mark) {
    case ContrastMark::AAA:
        return "AAA";
    case ContrastMark::AA:
        return "AA";
    case ContrastMark::AALarge:
        return "AA-large";
    case ContrastMark::Fail:
        break;
    }
    return "fail";
}

LowestContrast LowestContrastOver(const std::vector<Colour>& line, Colour text)
{
    LowestContrast low;
    bool found = false;
    for (std::size_t x = 0; x < line.size(); ++x) {
        // Neighbouring pixels often share a colour; the ratio is the same.
        if (x > 0 && line[x] == line[x - 1])
            continue;
        const double r = ContrastRatio(line[x], text);
        if (!found || r < low.ratio) {
            low.ratio = r;
            low.index = static_cast<int>(x);
            found = true;
        }
    }
    low.mark = MarkFor(low.ratio);
    return low;
}

std::string RatioText(double ratio)
{
    // The hundredths times 100 may round up past the ratio (4.4999... to
    // 450); the figure must stay at or below it.
    auto hundredths = static_cast<long long>(std::floor(ratio * 100));
    if (static_cast<double>(hundredths) / 100 > ratio)
        --hundredths;
    std::array<char, 32> buf{};
    std::snprintf(buf.data(), buf.size(), "%lld.%02lld", hundredths / 100, hundredths % 100);
    return buf.data();
}

std::string ContrastLine(const LowestContrast& c)
{
    return RatioText(c.ratio) + " " + std::to_string(c.index) + " " + MarkWord(c.mark);
}

} // namespace velmix
