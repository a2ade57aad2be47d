// velmix-render's argument parser on arbitrary argument lists (NUL-separated).

#include "renderargs.h"

#include <cstdlib>

using namespace velmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args;
    std::string cur;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(static_cast<char>(data[i]));
        }
    }
    args.push_back(cur);
    const RenderArgsResult r = ParseRenderArgs(args);
    if (r.job.has_value() == !r.error.empty())
        std::abort();
    if (r.job && !r.job->help && !r.job->version) {
        const RenderJob& j = *r.job;
        if (j.output.empty() || j.points.enabledCount() == 0)
            std::abort();
        for (int k = 0; k < kPointCount; ++k)
            if (j.points.position[k] < 0 || j.points.position[k] > kMaxPosition ||
                j.points.color[k] < 0 || j.points.color[k] > 0xFFFFFF)
                std::abort();
        if ((j.size && (*j.size < kMinImageSize || *j.size > kMaxImageSize)) ||
            (j.thickness && (*j.thickness < 1 || *j.thickness > kMaxThickness)))
            std::abort();
    }
    return 0;
}
