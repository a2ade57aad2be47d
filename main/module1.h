// SPDX-License-Identifier: MIT
#pragma once
// The program-wide state beside the gradient (which is the document's): the
// two records the settings file carries (the export options are
// ExportOptions').

#include "core/gradient.h"
#include "core/webgrad.h"
#include "settings/settings.h"

#include <array>
#include <cstdint>

namespace velmix {

struct Module1
{
    SampleTextFontT SampleTextFont;
    MemoryStateT MemoryState;
};

} // namespace velmix
