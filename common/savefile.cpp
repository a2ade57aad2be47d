// SPDX-License-Identifier: MIT
#include "savefile.h"

#include <QFile>
#include <QSaveFile>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace velmix {

std::optional<QString> TargetRefusal(const QString& path)
{
    struct stat st
    {
    };
    // stat, not lstat: a link to a regular file is written through, as before.
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
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

SaveResult SaveThrough(const QString& path, const std::function<bool(QSaveFile&)>& write)
{
    if (auto refusal = TargetRefusal(path))
        return {SaveStep::Refused, *refusal};
    QSaveFile file(path);
    // Unbuffered: Qt's own buffer loses a short write at commit (a full disk
    // would pass as success); our writers hand over large pieces anyway.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {SaveStep::OpenFailed, file.errorString()};
    InProgress registered(file);
    if (!write(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {SaveStep::WriteFailed, reason};
    }
    if (!file.commit())
        return {SaveStep::WriteFailed, file.errorString()};
    return {};
}

} // namespace velmix
