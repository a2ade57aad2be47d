// SPDX-License-Identifier: MIT
// velmix-render's argument parser on arbitrary argument lists (NUL-separated).

#include "app/renderargs.h"

#include <cstdlib>

using namespace velmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i)
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back().push_back(static_cast<char>(data[i]));
    const auto r = ParseRenderArgs(args);
    if (r.job.has_value() == !r.error.empty())
        std::abort();
    if (!r.job || r.job->help || r.job->version)
        return 0;
    const auto& j = *r.job;
    const auto& p = j.points;
    const auto in = [](long v, long lo, long hi) { return v >= lo && v <= hi; };
    bool ok = !j.output.empty() && p.enabledCount() > 0 &&
              (!j.size || in(*j.size, kMinImageSize, kMaxImageSize)) &&
              (!j.thickness || in(*j.thickness, 1, kMaxThickness));
    for (int k = 0; k < kPointCount; ++k)
        ok = ok && in(p.position[k], 0, kMaxPosition) && in(p.color[k], 0, 0xFFFFFF);
    if (!ok)
        std::abort();
    return 0;
}
