// SPDX-License-Identifier: MIT
#pragma once
// Where the program's own folder is: beside the program for a copy run from
// its build or an unpacked folder, the shared data folder for an installed one.

#include <QString>

namespace velmix {

struct ProgramFolders
{
    QString programDir;     // the help folder lies here
    bool installed = false; // settings in the user's folder, never beside the program
};

// appDir is the program's folder, links resolved. It is an installed copy
// when it is installBinDir itself, or a folder of the same name whose
// dataFromBin (e.g. "../share/velmix") holds a help folder: an install to
// another prefix. Root can write to /usr/bin, but the settings file of one
// user does not belong there.
ProgramFolders FindProgramFolders(const QString& appDir, const QString& installBinDir,
                                  const QString& dataFromBin);

} // namespace velmix
