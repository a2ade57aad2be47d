// SPDX-License-Identifier: MIT
#pragma once
// Opening a document with the desktop's own handler.

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace velmix {

using DocumentOpener = std::function<bool(const QUrl&)>;

// Above 32 on success; 2 when the file is missing, 31 when no handler took
// it. opener null: the desktop's default handler.
int ShellExe(QWidget* vActiveForm, const QString& vPath, int vCmd,
             const DocumentOpener& opener = {});

} // namespace velmix
