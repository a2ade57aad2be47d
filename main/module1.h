// SPDX-License-Identifier: MIT
#pragma once
// The program-wide state beside the gradient (which is the document's): the
// two records the settings file carries, the save dialog's and the library's
// folders (the
// export options are ExportOptions').

#include "common/dialogs.h"
#include "core/gradient.h"
#include "core/webgrad.h"
#include "settings/settings.h"

#include <QString>

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
    // The library's import and export folders, kept while its window is
    // not made.
    QString libraryImportDir;
    QString libraryExportDir;
};

} // namespace velmix
