// SPDX-License-Identifier: MIT
#pragma once
// The program-wide state beside the gradient (which is the document's): the
// export state and the two records the settings file carries.

#include "core/gradient.h"
#include "core/webgrad.h"
#include "settings/settings.h"

#include <array>
#include <cstdint>

namespace velmix {

struct Module1
{
    // Whether BMP, PNG and clipboard images are dithered (the options dialog).
    bool Dither = false;
    CssPage Page; // the options dialog's selector and repeat for CSS

    bool SaveMode = true;
    std::int32_t SaveHeight = 1;

    SampleTextFontT SampleTextFont;
    MemoryStateT MemoryState;
};

} // namespace velmix
