// SPDX-License-Identifier: MIT
#pragma once
// The save and copy commands from start to end: the save dialog, the options
// dialog, the strip at the chosen thickness, the writing (JPEG and PNG
// through the encoder bridge), the message of a failure and what the save
// dialog keeps. They take the gradient as plain values, never a window.

#include "common/dialogs.h"
#include "core/gradient.h"
#include "core/webgrad.h"

#include <functional>

class QWidget;

namespace velmix {

class frmOption;

// The gradient as the command starts.
struct ExportInput
{
    GradPoints points;
    int size = 0;        // the length along the gradient
    int orientation = 0; // 0 left to right, 1 top to bottom
    bool dither = false; // as last chosen: the options dialog offers it
    CssPage page;        // as last chosen: the options dialog offers it for CSS
};

// The options dialog, made when first needed and set up for this gradient.
using OptionsDialog = std::function<frmOption&()>;

// save: a file (asked for with the save dialog), else the clipboard. The
// thickness and the dither are the options dialog's answers.
// saveDialog: the save dialog's memory, its filter aside; it takes the
// chosen name, and after a file is written (and after every JPEG or PNG
// write, also one that failed) that name without its extension and the
// extension as the type offered first.
void RunExport(Dialogs& dialogs, QWidget* parent, const OptionsDialog& options,
               const ExportInput& input, bool save, SaveFileRequest& saveDialog);

// The gradient's CSS declarations on the clipboard, repeated as the page
// chosen last says; no dialogs, as every thickness tiles to the same page.
void CopyCss(const ExportInput& input);

} // namespace velmix
