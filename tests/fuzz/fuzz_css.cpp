// SPDX-License-Identifier: MIT
// The CSS reader on arbitrary text: it reads or refuses, what it reads
// draws, and a refusal fits on a line.

#include "core/ggr.h"

#include <cstdlib>

using namespace velmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = ReadCss(text, "f");
    const auto& no = read.refusal;
    if (read.gradients.empty() == !no || no.quote.size() > 3 * kQuoted ||
        no.quote2.size() > 3 * kQuoted || read.vertical.size() != read.gradients.size())
        std::abort();
    // Writing it as .ggr and reading it back is fuzz_ggr's, on any gradient.
    for (const auto& g : read.gradients)
        if (SampleCentres(g, 64).size() != 64)
            std::abort();
    return 0;
}
