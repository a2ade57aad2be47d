// SPDX-License-Identifier: MIT
#pragma once
// Opening a document with the desktop's own handler.

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace velmix {

// An opener that started but then gave up (no viewer it could run): its
// exit status.
using OpenFailed = std::function<void(int status)>;
// Opens a document: false when nothing took it; a failure found only later
// goes to `failed`.
using DocumentOpener = std::function<bool(const QUrl&, const OpenFailed& failed)>;

// Runs `program url` (the desktop's opener) on its own and returns once it
// has started; false when it cannot start. It is not waited for, and a
// viewer it waits for outlives this program; an exit with an error, or by a
// crash (-1), goes to `failed` from the event loop.
bool OpenWithProgram(const QString& program, const QUrl& url, const OpenFailed& failed);

// Above 32 on success; 2 when the file is missing, 31 when no handler took
// it. opener null: the desktop's default handler (xdg-open on X11 and
// Wayland desktops). A failure of the opener found later goes to `failed`.
int ShellExe(QWidget* vActiveForm, const QString& vPath, int vCmd,
             const DocumentOpener& opener = {}, const OpenFailed& failed = {});

} // namespace velmix
