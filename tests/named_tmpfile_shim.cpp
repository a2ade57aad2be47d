// Preloaded into velmix-render by the tests (LD_PRELOAD). It answers an
// anonymous temporary file (O_TMPFILE) as vfat, exFAT, NFS, CIFS and FUSE do
// (EOPNOTSUPP), so that the save falls back to a named NAME.XXXXXX file.
// With VELMIX_SHIM_SIGNAL=N it raises signal N during the second large
// write, that is half way through an export.

#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <unistd.h>

namespace {

template <typename Fn> Fn Next(const char* name)
{
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

bool Anonymous(int flags)
{
    return (flags & O_TMPFILE) == O_TMPFILE;
}

mode_t ModeOf(int flags, va_list ap)
{
    return (flags & O_CREAT) || Anonymous(flags) ? static_cast<mode_t>(va_arg(ap, int)) : 0;
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeOf(flags, ap);
    va_end(ap);
    if (Anonymous(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Next<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeOf(flags, ap);
    va_end(ap);
    if (Anonymous(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Next<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeOf(flags, ap);
    va_end(ap);
    if (Anonymous(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Next<int (*)(int, const char*, int, ...)>("openat")(dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeOf(flags, ap);
    va_end(ap);
    if (Anonymous(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Next<int (*)(int, const char*, int, ...)>("openat64")(dir, path, flags, mode);
}

ssize_t write(int fd, const void* data, size_t n)
{
    static int large = 0;
    static const char* sig = std::getenv("VELMIX_SHIM_SIGNAL");
    const ssize_t done = Next<ssize_t (*)(int, const void*, size_t)>("write")(fd, data, n);
    if (sig && fd > 2 && n >= (1u << 16) && ++large == 2)
        std::raise(std::atoi(sig));
    return done;
}

} // extern "C"
