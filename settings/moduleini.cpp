#include "moduleini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace velmix {

namespace {

const char* const kFileName = "velmix.ini";

#ifdef Q_OS_WIN
const char* const kPlatformEol = "\r\n";
#else
const char* const kPlatformEol = "\n";
#endif

// Files written by the Windows program are in its code page; text that is not
// valid in this system's character set is read as that.
const char* const kLegacyEncoding = "Shift_JIS";

// Strict UTF-8: no overlong forms, surrogates or code points beyond U+10FFFF.
bool IsValidUtf8(const QByteArray& b)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData());
    const qsizetype n = b.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        int extra = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

bool CanWriteBeside(const QString& file)
{
    const QFileInfo info(file);
    if (info.exists())
        return info.isFile() && info.isWritable();
    const QFileInfo dir(info.absolutePath());
    return dir.isDir() && dir.isWritable();
}

} // namespace

void ModuleINI::SetIniPath(const QString& programDir, const QString& userDir)
{
    const QString beside = QDir(programDir).filePath(QString::fromLatin1(kFileName));
    if (CanWriteBeside(beside)) {
        m_path = beside;
        m_seedPath.clear();
    } else {
        m_path = QDir(userDir).filePath(QString::fromLatin1(kFileName));
        m_seedPath = beside;
    }
    read();
}

void ModuleINI::SetIniFile(const QString& path)
{
    m_path = path;
    m_seedPath.clear();
    read();
}

void ModuleINI::read()
{
    QFile f(QFile::exists(m_path) || m_seedPath.isEmpty() ? m_path : m_seedPath);
    QByteArray bytes;
    if (f.open(QIODevice::ReadOnly))
        bytes = f.readAll();
    ReadBytes(bytes);
}

void ModuleINI::ReadBytes(const QByteArray& bytes)
{
#ifdef Q_OS_WIN
    // The system's ANSI code page is what the Windows program wrote.
    m_encoding = QByteArray("System");
#else
    m_encoding = IsValidUtf8(bytes) ? QByteArray("UTF-8") : QByteArray(kLegacyEncoding);
#endif
    m_text = ProfileText(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), kPlatformEol);
}

std::string ModuleINI::decode(std::string_view bytes) const
{
    QStringDecoder d = m_encoding == "System" ? QStringDecoder(QStringConverter::System)
                                              : QStringDecoder(m_encoding.constData());
    const QString s = d.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return s.toStdString();
}

std::string ModuleINI::encode(std::string_view utf8) const
{
    QStringEncoder e = m_encoding == "System" ? QStringEncoder(QStringConverter::System)
                                              : QStringEncoder(m_encoding.constData());
    const QByteArray b =
        e.encode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    return b.toStdString();
}

std::string ModuleINI::GetIniValue(std::string_view section, std::string_view key) const
{
    return decode(m_text.get(section, key));
}

void ModuleINI::PutIniValue(std::string_view section, std::string_view key, std::string_view value)
{
    m_text.put(section, key, encode(value));
}

std::optional<Settings> ModuleINI::LoadIni()
{
    return ReadSettings(m_text, [this](std::string_view b) { return decode(b); });
}

bool ModuleINI::SaveIni(const Settings& s, QString* errorText)
{
    // Start from the file as it is now, so lines edited by hand while the
    // program ran are kept too.
    if (QFile::exists(m_path))
        read();
    WriteSettings(m_text, s, [this](std::string_view u) { return encode(u); });
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile out(m_path);
    const std::string bytes = m_text.bytes();
    // Unbuffered, so that a short write (full disk) is seen before commit.
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    ok = ok && out.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                   static_cast<qint64>(bytes.size());
    ok = ok && out.commit();
    if (!ok && errorText)
        *errorText = out.errorString();
    return ok;
}

} // namespace velmix
