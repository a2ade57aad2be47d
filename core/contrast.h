// SPDX-License-Identifier: MIT
#pragma once
// Contrast of text on the gradient as WCAG 2.x measures it: relative
// luminance of sRGB colours and the ratio (lighter + 0.05) / (darker + 0.05).

#include "core/gradient.h"

#include <string>
#include <vector>

namespace velmix {

double RelativeLuminance(Colour c);
// 1 (same colour) to 21 (black and white), whichever is lighter.
double ContrastRatio(Colour a, Colour b);

enum class ContrastMark
{
    AAA,     // at least 7
    AA,      // at least 4.5
    AALarge, // at least 3: large text only
    Fail
};
// Decided on the unrounded ratio.
ContrastMark MarkFor(double ratio);
// "AAA", "AA", "AA-large", "fail": the renderer's words for scripts.
const char* MarkWord(ContrastMark mark);

struct LowestContrast
{
    double ratio = 21;
    int index = 0; // the first pixel where the lowest ratio occurs
    ContrastMark mark = ContrastMark::AAA;
};
// The lowest ratio of the text colour against every colour of the strip.
LowestContrast LowestContrastOver(const std::vector<Colour>& line, Colour text);
// The ratio cut, not rounded, to two decimals ("4.49" for 4.4957): a figure
// never reaches a grade's threshold that the ratio itself misses.
std::string RatioText(double ratio);
// "4.47 37 AA-large": the ratio as RatioText, pixel index, mark word.
std::string ContrastLine(const LowestContrast& c);

} // namespace velmix
