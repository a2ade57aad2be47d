// SPDX-License-Identifier: MIT
// The number-text reader on arbitrary text, and the blank-signed writer
// read back.

#include "core/numtext.h"

#include <cmath>
#include <cstdlib>

using namespace velmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto v = ReadNumber(text);
    const auto i = ReadInt32(text);
    (void)ReadInt16(text);
    if (std::isnan(v) || (std::fabs(v) < 2e9 && RoundHalfEven(v) != i) ||
        ReadInt32(BlankSigned(i)) != i || ReadInt32(PlainNumber(i)) != i)
        std::abort();
    return 0;
}
