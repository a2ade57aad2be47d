// SPDX-License-Identifier: MIT
// The fit against the floor on every .ggr of a folder (by default the
// gradients GIMP ships): a row a gradient with both largest errors, whether
// the floor is exact and the time of each fit, then their distribution.
//
// usage: fit_table [FOLDER]

#include "core/fit.h"
#include "core/ggr.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace velmix;

namespace {

double Millis(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    const fs::path folder = argc > 1 ? argv[1] : "/usr/share/gimp/2.0/gradients";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".ggr")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    int inexact = 0, lower = 0, worse = 0, rows = 0;
    double floorMs = 0, fitMs = 0, slowest = 0;
    std::map<int, int> gain; // floor error - ours, over the inexact ones
    // How many largest errors fall in each range, the floor's and ours.
    const int bounds[] = {0, 1, 2, 5, 10, 20, 50, 255};
    int floorIn[8] = {}, oursIn[8] = {};
    const auto range = [&](int error) {
        int i = 0;
        while (error > bounds[i])
            ++i;
        return i;
    };
    std::printf("%-32s %6s %6s %6s %9s\n", "gradient", "floor", "ours", "exact", "ours ms");
    for (const fs::path& path : files) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const GgrRead read = ReadGgr(text.str(), path.stem().string());
        if (!read.gradient) {
            std::printf("%-32s refused: line %d: kind %d\n", path.filename().c_str(),
                        read.refusal.line, int(read.refusal.kind));
            continue;
        }
        const std::vector<Colour> samples = SampleGradient(*read.gradient, kMaxPosition);
        auto start = std::chrono::steady_clock::now();
        const FittedPoints floor = FloorFit(samples);
        auto mid = std::chrono::steady_clock::now();
        const FittedPoints ours = FitPoints(samples);
        auto end = std::chrono::steady_clock::now();
        floorMs += Millis(mid - start);
        fitMs += Millis(end - mid);
        slowest = std::max(slowest, Millis(end - mid));
        ++rows;
        const bool exact = floor.largestError == 0;
        std::printf("%-32s %6d %6d %6s %9.2f\n", read.gradient->name.c_str(), floor.largestError,
                    ours.largestError, exact ? "yes" : "no", Millis(end - mid));
        ++floorIn[range(floor.largestError)];
        ++oursIn[range(ours.largestError)];
        worse += ours.largestError > floor.largestError ? 1 : 0;
        if (!exact) {
            ++inexact;
            lower += ours.largestError < floor.largestError ? 1 : 0;
            ++gain[floor.largestError - ours.largestError];
        }
    }
    std::printf("\n%d gradients, %d the floor cannot hold exactly; ours lower on %d of those, "
                "worse on %d in all\n",
                rows, inexact, lower, worse);
    std::printf("levels gained over the floor (inexact ones):");
    for (const auto& [levels, count] : gain)
        std::printf("  %d: %d", levels, count);
    std::printf("\n\n%-10s %6s %6s\n", "largest", "floor", "ours");
    for (int i = 0; i < 8; ++i) {
        const int from = i == 0 ? 0 : bounds[i - 1] + 1;
        char name[32];
        if (bounds[i] > from)
            std::snprintf(name, sizeof name, "%d-%d", from, bounds[i]);
        else
            std::snprintf(name, sizeof name, "%d", from);
        std::printf("%-10s %6d %6d\n", name, floorIn[i], oursIn[i]);
    }
    std::printf("mean time: floor %.2f ms, ours %.2f ms (slowest %.2f ms)\n",
                floorMs / std::max(rows, 1), fitMs / std::max(rows, 1), slowest);
    return worse == 0 && 2 * lower >= inexact ? 0 : 1;
}
