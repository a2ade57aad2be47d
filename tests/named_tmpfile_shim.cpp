// Preloaded into velmix-render by the tests (LD_PRELOAD). It answers an
// anonymous temporary file (O_TMPFILE) as vfat, exFAT, NFS, CIFS and FUSE do
// (EOPNOTSUPP), so that the save falls back to a named NAME.XXXXXX file.
// With VELMIX_SHIM_SIGNAL=N it raises signal N during the second large
// write, that is half way through an export. Qt opens its files with open64;
// open is there for a Qt built otherwise.

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

int Open(const char* name, const char* path, int flags, va_list ap)
{
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    const auto mode = flags & O_CREAT ? static_cast<mode_t>(va_arg(ap, int)) : mode_t(0);
    return Next<int (*)(const char*, int, ...)>(name)(path, flags, mode);
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const int fd = Open("open", path, flags, ap);
    va_end(ap);
    return fd;
}

int open64(const char* path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const int fd = Open("open64", path, flags, ap);
    va_end(ap);
    return fd;
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
