// SPDX-License-Identifier: MIT
#pragma once
// Writing a file so that nothing but a complete file ever replaces the
// target: the checks before, the writes, and the clean-up when the process is
// stopped half way. Every file the program and the renderer write goes here,
// and every file they read whole (the settings, a gradient) is read here.

#include "common/result.h"

#include <QString>

#include <functional>
#include <optional>

class QFileDevice;
class QIODevice;

namespace velmix {

// The target name that stands for standard output (velmix-render -o -). The
// program's own dialogs always give absolute paths.
inline constexpr QLatin1StringView kStandardOutput("-");

// Why `path` must not be replaced: it exists and is not a regular file (a
// directory, device, FIFO or socket), it is a loop of links, or it is a link
// another user left in a shared folder (/tmp), which the system itself would
// not follow. A link counts as what it points to; a link to nothing yet is
// free (the file it names is made). nullopt when the path is free or a
// regular file.
std::optional<QString> TargetRefusal(const QString& path);

// Writes all `n` bytes or fails. A write the system cuts short (disk full,
// file size limit) is continued, so that the failing write carries the
// system's description in the device's errorString() instead of "Unknown
// error".
bool WriteFully(QFileDevice& file, const char* data, qint64 n);

// The whole of a regular file of at most `cap` bytes, in `bytes`; else
// nothing read and an OpenFailed failure for `path` whose refusal says why:
// Folder, NotRegular, TooLarge or System (the system's words). A device or
// a FIFO could be read for ever, and a file that grows past the cap while
// it is read is refused too.
Result ReadCapped(const QString& path, qint64 cap, QByteArray& bytes);
// The rest of an open device (standard input: no size to ask for), at most
// `cap` bytes, likewise; the failure names no file.
Result ReadCapped(QIODevice& device, qint64 cap, QByteArray& bytes);

using DeviceWriter = std::function<bool(QFileDevice&)>;

// Opens a temporary file beside `path`, runs `write` on it (false: failed)
// and replaces the target only when it succeeded; a replaced file keeps its
// owner, group and permissions. While the temporary file is open it is
// registered for RemoveInProgressFile(). kStandardOutput is written as it
// goes, as a pipe cannot be replaced in one step. A failure is Refused
// (nothing touched), OpenFailed or WriteFailed (by `write` or at commit),
// with `path` and the system's description.
Result SaveThrough(const QString& path, const DeviceWriter& write);

// Removes the temporary file of a save in progress, if it has a name (where
// the file system cannot make anonymous ones). Async-signal-safe: for
// handlers of SIGTERM, SIGINT and SIGHUP.
void RemoveInProgressFile() noexcept;

// A signal handler: RemoveInProgressFile(), then the signal's default action
// (the process ends by it). For a program's "end at once" signal.
void RemoveInProgressFileAndDie(int sig) noexcept;

// For programs that end on those signals: removes the temporary file and
// then dies by the signal as before. Also ignores SIGXFSZ, so that a file
// size limit is an ordinary write error (EFBIG) instead of death.
void InstallSaveSignalHandlers();

} // namespace velmix
