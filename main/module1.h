// SPDX-License-Identifier: MIT
#pragma once
// The program-wide state beside the gradient (which is the document's): the
// two records the settings file carries and the save dialog's memory (the
// export options are ExportOptions').

#include "common/dialogs.h"
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
    // The folder the dialog opens in (the file's), the name and the type
    // last saved; the settings file keeps the name's folder.
    SaveFileRequest saveDialog;
};

} // namespace velmix
