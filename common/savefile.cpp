// SPDX-License-Identifier: MIT
#include "common/savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace velmix {

namespace {

// A link the system's protection of shared folders would not follow: in a
// folder anyone may write to but only owners delete from (sticky, as /tmp),
// owned by neither the caller nor the folder's owner. Following such a link
// would let another user choose which file this one writes.
bool ForeignLinkInSharedFolder(const QByteArray& name)
{
    struct stat link
    {
    };
    if (::lstat(name.constData(), &link) != 0 || !S_ISLNK(link.st_mode) ||
        link.st_uid == ::geteuid())
        return false;
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : name.left(std::max<qsizetype>(slash, 1));
    struct stat dir
    {
    };
    return ::stat(folder.constData(), &dir) == 0 && (dir.st_mode & S_ISVTX) &&
           (dir.st_mode & S_IWOTH) && dir.st_uid != link.st_uid;
}

} // namespace

std::optional<QString> TargetRefusal(const QString& path)
{
    if (path == kStandardOutput)
        return std::nullopt;
    const QByteArray name = QFile::encodeName(path);
    if (ForeignLinkInSharedFolder(name))
        return QStringLiteral("a link of another user in a shared folder");
    struct stat st
    {
    };
    // stat, not lstat: a link to a regular file is written through, as before,
    // and a link to a file not there yet makes it.
    if (::stat(name.constData(), &st) != 0) {
        if (errno == ELOOP)
            return QString::fromLocal8Bit(std::strerror(ELOOP));
        return std::nullopt;
    }
    if (S_ISREG(st.st_mode))
        return std::nullopt;
    if (S_ISDIR(st.st_mode))
        return QString::fromLocal8Bit(std::strerror(EISDIR));
    const char* what = S_ISCHR(st.st_mode)    ? "a character device"
                       : S_ISBLK(st.st_mode)  ? "a block device"
                       : S_ISFIFO(st.st_mode) ? "a FIFO"
                       : S_ISSOCK(st.st_mode) ? "a socket"
                                              : "not a file";
    return QStringLiteral("Not a regular file (%1)").arg(QLatin1String(what));
}

Result ReadCapped(QIODevice& device, qint64 cap, QByteArray& bytes)
{
    const auto refused = [&bytes](Refusal why) {
        bytes.clear();
        return Failure::Refusing(FailureKind::OpenFailed, {}, std::move(why), FailedTask::SaveFile);
    };
    // In pieces: a buffer of the cap's size would raise the allocator's
    // threshold for mapping and keep it resident for the whole run.
    bytes.clear();
    char buffer[65536];
    qint64 got = 0;
    while ((got = device.read(buffer, sizeof buffer)) > 0) {
        if (bytes.size() + got > cap)
            return refused({RefusalKind::TooLarge});
        bytes.append(buffer, got);
    }
    if (got < 0)
        return refused({RefusalKind::System, 0, 0, device.errorString().toStdString()});
    return {};
}

Result ReadCapped(const QString& path, qint64 cap, QByteArray& bytes)
{
    const QFileInfo info(path);
    QFile file(path);
    Refusal why;
    if (info.isDir())
        why = {RefusalKind::Folder};
    else if (info.exists() && !info.isFile())
        why = {RefusalKind::NotRegular};
    else if (info.size() > cap)
        why = {RefusalKind::TooLarge};
    else if (!file.open(QIODevice::ReadOnly))
        why = {RefusalKind::System, 0, 0, file.errorString().toStdString()};
    else if (Result read = ReadCapped(file, cap, bytes); !read.ok())
        why = read.failure().refusal;
    if (!why)
        return {};
    bytes.clear();
    return Failure::Refusing(FailureKind::OpenFailed, path.toStdString(), std::move(why),
                             FailedTask::SaveFile);
}

bool WriteFully(QFileDevice& file, const char* data, qint64 n)
{
    while (n > 0) {
        const qint64 done = file.write(data, n);
        if (done <= 0)
            return false;
        data += done;
        n -= done;
    }
    return true;
}

namespace {

// The name of the temporary file being written, for a signal handler. Only
// the GUI thread writes these, and only outside a handler.
std::array<char, 4096> g_inProgress{};
volatile std::sig_atomic_t g_inProgressSet = 0;

// Registers the temporary file of `file` while it lives. An anonymous one
// (O_TMPFILE) vanishes with the process by itself and is not registered.
class InProgress
{
public:
    explicit InProgress(const QSaveFile& file)
    {
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(file.handle());
        const ssize_t n =
            ::readlink(link.constData(), g_inProgress.data(), g_inProgress.size() - 1);
        if (n <= 0 || static_cast<std::size_t>(n) >= g_inProgress.size() - 1)
            return;
        g_inProgress[static_cast<std::size_t>(n)] = '\0';
        const QByteArray name(g_inProgress.data(), n);
        if (name.endsWith(" (deleted)") || name == QFile::encodeName(file.fileName()))
            return;
        g_inProgressSet = 1;
    }
    ~InProgress() { g_inProgressSet = 0; }
    InProgress(const InProgress&) = delete;
    InProgress& operator=(const InProgress&) = delete;
};

} // namespace

void RemoveInProgressFile() noexcept
{
    if (g_inProgressSet) {
        ::unlink(g_inProgress.data());
        g_inProgressSet = 0;
    }
}

void RemoveInProgressFileAndDie(int sig) noexcept
{
    RemoveInProgressFile();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void InstallSaveSignalHandlers()
{
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction old
        {
        };
        sigaction(sig, nullptr, &old);
        if (old.sa_handler == SIG_IGN) // nohup and the like: stay ignored
            continue;
        struct sigaction sa
        {
        };
        sa.sa_handler = RemoveInProgressFileAndDie;
        sigemptyset(&sa.sa_mask);
        sigaction(sig, &sa, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

namespace {

Failure Failed(FailureKind kind, const QString& path, const QString& reason)
{
    return {kind, path.toStdString(), reason.toStdString()};
}

Result WriteStandardOutput(const DeviceWriter& write)
{
    QFile out;
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                  QFileDevice::DontCloseHandle))
        return Failed(FailureKind::OpenFailed, kStandardOutput, out.errorString());
    if (!write(out))
        return Failed(FailureKind::WriteFailed, kStandardOutput, out.errorString());
    return {};
}

// Qt gives the new file the old one's permissions but makes it the writer's
// own: a file root replaces for another user would no longer be theirs.
void KeepOwner(const QSaveFile& file, const QString& path)
{
    struct stat old
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &old) != 0)
        return;
    struct stat made
    {
    };
    if (::fstat(file.handle(), &made) == 0 &&
        (made.st_uid != old.st_uid || made.st_gid != old.st_gid))
        (void)::fchown(file.handle(), old.st_uid, old.st_gid); // as far as we may
}

} // namespace

Result SaveThrough(const QString& path, const DeviceWriter& write)
{
    if (path == kStandardOutput)
        return WriteStandardOutput(write);
    if (auto refusal = TargetRefusal(path))
        return Failed(FailureKind::Refused, path, *refusal);
    QSaveFile file(path);
    // Unbuffered: Qt's own buffer loses a short write at commit (a full disk
    // would pass as success); our writers hand over large pieces anyway.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failed(FailureKind::OpenFailed, path, file.errorString());
    KeepOwner(file, path);
    InProgress registered(file);
    if (!write(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Failed(FailureKind::WriteFailed, path, reason);
    }
    if (!file.commit())
        return Failed(FailureKind::WriteFailed, path, file.errorString());
    return {};
}

} // namespace velmix
