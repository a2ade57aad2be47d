// SPDX-License-Identifier: MIT
#include "app/programdir.h"

#include <QDir>
#include <QFileInfo>

namespace velmix {

ProgramFolders FindProgramFolders(const QString& appDir, const QString& installBinDir,
                                  const QString& dataFromBin)
{
    const QString dataDir = QDir::cleanPath(QDir(appDir).filePath(dataFromBin));
    const QString here = QFileInfo(appDir).canonicalFilePath();
    const bool configured = !here.isEmpty() && here == QFileInfo(installBinDir).canonicalFilePath();
    const bool otherPrefix = QFileInfo(appDir).fileName() == QFileInfo(installBinDir).fileName() &&
                             QFileInfo(QDir(dataDir).filePath(QStringLiteral("help"))).isDir();
    if (configured || otherPrefix)
        return {dataDir, true};
    return {appDir, false};
}

} // namespace velmix
