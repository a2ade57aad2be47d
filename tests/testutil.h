// SPDX-License-Identifier: MIT
#pragma once
// Helpers shared by the tests.

#include <QFile>
#include <QTest>

#include <csignal>
#include <fstream>
#include <initializer_list>
#include <sys/resource.h>
#include <unistd.h>

// Makes every file write beyond `bytes` fail (EFBIG) while it lives, as a
// full disk would; works for root too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit lim{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_old{};
    sighandler_t m_handler;
};

// Lets the process map at most `bytes` more than it has mapped now, so that a
// large allocation fails as it would on a machine out of memory.
class AddressSpaceHeadroom
{
public:
    explicit AddressSpaceHeadroom(rlim_t bytes)
    {
        getrlimit(RLIMIT_AS, &m_old);
        // mapped now
        rlim_t pages = 0;

        std::ifstream("/proc/self/statm") >> pages;
        const rlimit lim{pages * sysconf(_SC_PAGESIZE) + bytes, m_old.rlim_max};
        setrlimit(RLIMIT_AS, &lim);
    }
    ~AddressSpaceHeadroom() { setrlimit(RLIMIT_AS, &m_old); }

private:
    rlimit m_old{};
};

// The cases of a data-driven test, each named, in one column "row" that the
// test takes apart with QFETCH(Row, row) and a structured binding.
template <class Row> void Rows(std::initializer_list<std::pair<const char*, Row>> rows)
{
    QTest::addColumn<Row>("row");
    for (const auto& [name, row] : rows)
        QTest::newRow(name) << row;
}

// Rows named by their input, the first field.
inline QByteArray Tag(const QString& s)
{
    return s.isEmpty() ? "(empty)" : s.toUtf8().replace('\n', " / ");
}
inline QByteArray Tag(double v)
{
    return QByteArray::number(v);
}
template <class Row, std::size_t N> void RowsByInput(const Row (&rows)[N])
{
    QTest::addColumn<Row>("row");
    for (const Row& row : rows)
        QTest::newRow(Tag(std::get<0>(row)).constData()) << row;
}

// A file's bytes (none when it cannot be read).
inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QFile::ReadOnly) ? f.readAll() : QByteArray();
}

inline QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QFile::WriteOnly) && f.write(bytes) == bytes.size());
}
