// SPDX-License-Identifier: MIT
#pragma once
// Opening a help page of the program folder with the desktop's viewer.

#include "common/shellexe.h"

#include <QString>

class QWidget;

namespace velmix {

class Dialogs;

// Opens help/<fileName> under programDir (opener null: the desktop's own
// handler). A page that cannot be shown is said in a message box over
// parent, also when the viewer gives up only after it started, if parent is
// still there then.
void ShowHelpPage(Dialogs& dialogs, QWidget* parent, const QString& programDir,
                  const QString& fileName, const DocumentOpener& opener);

// The help page in the interface's language.
QString HelpPageName();

} // namespace velmix
