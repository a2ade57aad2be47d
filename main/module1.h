#pragma once
// The program-wide state the windows share: point colours, image settings,
// export state and the two records the settings file carries. A point's
// position and enabled state live in its slider and check box.

#include "gradient.h"
#include "settings.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <random>

namespace velmix {

struct Module1
{
    std::array<Colour, kPointCount> PointColor{};
    std::int32_t ImageSize = 100;
    std::int16_t Orientation = 0;
    bool RedrawEnabled = true;

    bool SaveMode = true;
    std::int32_t SaveHeight = 1;

    SampleTextFontT SampleTextFont;
    MemoryStateT MemoryState;
};

// Uniform draws 0 <= u < 1 in steps of 1/16777216.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
};

class ClockRandom : public RandomSource
{
public:
    ClockRandom()
        : m_gen(static_cast<std::uint32_t>(
              std::chrono::steady_clock::now().time_since_epoch().count()))
    {
    }
    float next() override { return static_cast<float>(m_gen() >> 8) / 16777216.0f; }

private:
    std::mt19937 m_gen;
};

} // namespace velmix
