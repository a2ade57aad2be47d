// SPDX-License-Identifier: MIT
#pragma once
// The program-wide state the windows share: point colours, image settings,
// export state and the two records the settings file carries. A point's
// position and enabled state live in its slider and check box.

#include "core/gradient.h"
#include "settings/settings.h"

#include <array>
#include <cstdint>

namespace velmix {

struct Module1
{
    std::array<Colour, kPointCount> PointColor{};
    std::int32_t ImageSize = 100;
    std::int16_t Orientation = 0;
    bool RedrawEnabled = true;

    // How colours mix between points (the edit menu's 補間), and whether
    // BMP, PNG and clipboard images are dithered (the options dialog).
    Blend BlendMode = Blend::Rgb;
    bool Dither = false;

    bool SaveMode = true;
    std::int32_t SaveHeight = 1;

    SampleTextFontT SampleTextFont;
    MemoryStateT MemoryState;
};

} // namespace velmix
