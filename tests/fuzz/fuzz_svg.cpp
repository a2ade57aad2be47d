// SPDX-License-Identifier: MIT
// The SVG reader on arbitrary bytes: every gradient it lists has segments
// that run from 0 to 1 without going back, each one named reads alone, and
// each is fitted into seven points (the work a drop or --from does next).

#include "core/fit.h"
#include "library/gradlibrary.h"

#include <cstdlib>

using namespace velmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray svg(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto read = ReadSvg(svg, "fuzz");
    if (read.gradients.empty() == !read.refusal && !read.carried)
        std::abort();
    for (const auto& g : read.gradients) {
        double at = 0;
        for (const auto& s : g.segments) {
            if (s.left != at || s.left > s.middle || s.middle > s.right)
                std::abort();
            at = s.right;
        }
        if (at != 1)
            std::abort();
        (void)PointsFor(g);
    }
    // Our own export's one gradient takes the file's name, not its id.
    if (!read.gradients.empty() && !read.carried &&
        ReadSvg(svg, "fuzz", QString::fromStdString(read.gradients.front().name))
            .gradients.empty())
        std::abort();
    return 0;
}
