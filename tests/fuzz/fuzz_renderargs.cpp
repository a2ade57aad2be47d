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
    const RenderArgsResult r = ParseRenderArgs(args);
    if (r.job.has_value() == !r.error.empty())
        std::abort();
    if (!r.job || r.job->help || r.job->version)
        return 0;
    const RenderJob& j = *r.job;
    bool ok = !j.output.empty() && j.points.enabledCount() > 0 &&
              (!j.size || (*j.size >= kMinImageSize && *j.size <= kMaxImageSize)) &&
              (!j.thickness || (*j.thickness >= 1 && *j.thickness <= kMaxThickness));
    for (int k = 0; k < kPointCount; ++k)
        ok = ok && j.points.position[k] >= 0 && j.points.position[k] <= kMaxPosition &&
             j.points.color[k] >= 0 && j.points.color[k] <= 0xFFFFFF;
    if (!ok)
        std::abort();
    return 0;
}
