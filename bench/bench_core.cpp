// SPDX-License-Identifier: MIT
// The rasteriser and the writers, in process.

#include "core/gradient.h"
#include "export/exporter.h"
#include "export/transg.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

using namespace velmix;

static void BM_DrawGrad(benchmark::State& state)
{
    const GradPoints p = StartupPoints();
    std::vector<Colour> line(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        DrawGrad(p, static_cast<int>(state.range(0)), line.data());
        benchmark::DoNotOptimize(line.data());
    }
}
BENCHMARK(BM_DrawGrad)->Arg(100)->Arg(280)->Arg(2000);

static void BM_Write(benchmark::State& state, ImageType type, bool vertical)
{
    const int thickness = static_cast<int>(state.range(0));
    const StripImage img{DrawGrad(StartupPoints(), 2000), vertical, thickness};
    const std::string path = (std::filesystem::temp_directory_path() / "velmix-bench.out").string();
    for (auto _ : state) {
        switch (type) {
        case ImageType::Png:
            (void)DCSavetoPNG(img, path, 0);
            break;
        case ImageType::Jpeg:
            (void)DCSavetoJPEG(img, path, 100, 0);
            break;
        case ImageType::Bmp:
            (void)SaveBitmapFile(img, path);
            break;
        case ImageType::Svg:
        case ImageType::Css:
            // Text of a few hundred bytes: nothing to measure here.
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK_CAPTURE(BM_Write, png, ImageType::Png, false)
    ->Arg(2000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, png_vertical, ImageType::Png, true)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, jpeg, ImageType::Jpeg, false)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, bmp, ImageType::Bmp, false)->Arg(2000)->Unit(benchmark::kMillisecond);

// The PNG options 0 (smallest), 1 (balanced), 2 (fastest), 2000 x 2000.
static void BM_PngOption(benchmark::State& state, bool vertical)
{
    const StripImage img{DrawGrad(StartupPoints(), 2000), vertical, 2000};
    const std::string path = (std::filesystem::temp_directory_path() / "velmix-bench.png").string();
    for (auto _ : state)
        (void)DCSavetoPNG(img, path, static_cast<int>(state.range(0)));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::remove(path.c_str());
}
BENCHMARK_CAPTURE(BM_PngOption, horizontal, false)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PngOption, vertical, true)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
