// SPDX-License-Identifier: MIT
#pragma once
// The edit commands' arithmetic over a GradPoints value: random colours,
// equal spacing and the brightness offset. The windows read their controls
// into a GradPoints, call one of these and apply what comes back, so every
// command can be tested and replayed without a window.

#include "core/gradient.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace velmix {

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

// One draw per enabled point, in index order, scaled to a whole colour.
// Disabled points keep their colours and draw nothing. Both random commands
// end with the last enabled point (highest position, lowest index among
// equals) taking the colour of the first (lowest position, highest index).
GradPoints RandomUniform(GradPoints points, RandomSource& random);

// A random walk through colour space in position order: three start draws,
// then per enabled point and channel two draws, a step of up to 64.
GradPoints RandomNatural(GradPoints points, RandomSource& random);

// The enabled points at k * 1000 / (n - 1) in their position order; disabled
// points stay. A single enabled point has no spacing to take and stays too.
GradPoints EqualSpacing(GradPoints points);

// Every enabled point's channels are base + delta, clamped to 0..255;
// disabled points keep their colours.
GradPoints AdjustBrightness(GradPoints base, int delta);

} // namespace velmix
