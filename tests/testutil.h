#pragma once
// Helpers shared by the tests.

#include <csignal>
#include <fstream>
#include <string>
#include <sys/resource.h>

// Makes every file write beyond `bytes` fail (EFBIG) while it lives, as a
// full disk would; works for root too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit lim{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

// Lets the process map at most `bytes` more than it has mapped now, so that a
// large allocation fails as it would on a machine out of memory.
class AddressSpaceHeadroom
{
public:
    explicit AddressSpaceHeadroom(rlim_t bytes)
    {
        getrlimit(RLIMIT_AS, &m_old);
        std::ifstream status("/proc/self/status");
        rlim_t kib = 0;
        for (std::string key; status >> key && key != "VmSize:";)
            status.ignore(1 << 10, '\n');
        status >> kib;
        const rlimit lim{kib * 1024 + bytes, m_old.rlim_max};
        setrlimit(RLIMIT_AS, &lim);
    }
    ~AddressSpaceHeadroom() { setrlimit(RLIMIT_AS, &m_old); }
    AddressSpaceHeadroom(const AddressSpaceHeadroom&) = delete;
    AddressSpaceHeadroom& operator=(const AddressSpaceHeadroom&) = delete;

private:
    rlimit m_old{};
};
