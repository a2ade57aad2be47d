// SPDX-License-Identifier: MIT
// The .ggr reader on arbitrary bytes: a gradient it takes is written and
// read back the same, and its points (exact or fitted) draw.

#include "core/fit.h"
#include "core/ggr.h"

#include <cstdlib>

using namespace velmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = ReadGgr(text, "fuzz");
    if (!read.gradient)
        return read.refusal ? 0 : (std::abort(), 0);
    const auto again = ReadGgr(WriteGgr(*read.gradient), "fuzz");
    if (!again.gradient || again.gradient->segments != read.gradient->segments)
        std::abort();
    (void)PointsFor(*read.gradient);
    return 0;
}
