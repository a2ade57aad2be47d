// SPDX-License-Identifier: MIT
#include "settings/moduleini.h"

#include "common/platform.h"
#include "common/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace velmix {

namespace {

const char* const kFileName = "velmix.ini";

// Files written by the Windows program are in its code page; text that is not
// valid in this system's character set is read as that (LegacyCodePageName()),
// and the file's character set then goes by this name.
const char* const kLegacyEncoding = "Shift_JIS";

// Where a link to a file not made yet leads: writing makes that file.
// nullopt for anything else, a loop of links included.
std::optional<QFileInfo> NewFileBehind(QFileInfo info)
{
    if (!info.isSymLink())
        return std::nullopt;
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    if (info.isSymLink() || info.exists())
        return std::nullopt;
    return info;
}

bool CanWriteBeside(const QString& file)
{
    QFileInfo info(file);
    if (const auto made = NewFileBehind(info))
        info = *made;
    else if (info.exists() || info.isSymLink())
        return info.isFile() && info.isWritable() && info.size() <= ModuleINI::kMaxFileSize;
    const QFileInfo dir(info.absolutePath());
    return dir.isDir() && dir.isWritable();
}

const QByteArray kBom("\xEF\xBB\xBF");

// On Windows the system's ANSI code page is what the Windows program wrote.
QStringDecoder LegacyDecoder()
{
    const char* name = LegacyCodePageName();
    return *name ? QStringDecoder(name) : QStringDecoder(QStringConverter::System);
}

QStringEncoder LegacyEncoder()
{
    const char* name = LegacyCodePageName();
    return *name ? QStringEncoder(name) : QStringEncoder(QStringConverter::System);
}

} // namespace

void ModuleINI::SetIniPath(const QString& programDir, const QString& userDir)
{
    const QString beside = QDir(programDir).filePath(QString::fromLatin1(kFileName));
    if (programDir.isEmpty()) {
        m_path = QDir(userDir).filePath(QString::fromLatin1(kFileName));
        m_seedPath.clear();
    } else if (CanWriteBeside(beside)) {
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

bool ModuleINI::read()
{
    const QString path = QFile::exists(m_path) || m_seedPath.isEmpty() ? m_path : m_seedPath;
    QByteArray bytes;
    const QFileInfo info(path);
    Refusal why;
    // Only a plain file of a sane size is ours: a device, a FIFO or a huge
    // file would block or exhaust memory, and is never replaced. A link to
    // nothing that writing would not make (a loop) is not a regular file.
    if (info.exists()) {
        if (const Result r = ReadCapped(path, kMaxFileSize, bytes); !r.ok())
            why = r.failure().refusal;
    } else if (info.isSymLink() && !NewFileBehind(info)) {
        why = {RefusalKind::NotRegular};
    }
    // A file beside the program that is not ours only fails to start the
    // user's copy.
    m_read = !why || path != m_path
                 ? Result()
                 : Failure::Refusing(FailureKind::OpenFailed, m_path.toStdString(), std::move(why),
                                     FailedTask::WriteSettings);
    ReadBytes(bytes);
    return m_read.ok();
}

void ModuleINI::ReadBytes(const QByteArray& raw)
{
    // A byte order mark is not part of the first line; it is kept on writing.
    m_bom = raw.startsWith(kBom);
    const QByteArray bytes = m_bom ? raw.mid(kBom.size()) : raw;
    // The character sets, decided here once for the whole file:
    // - a file that is UTF-8 throughout (or says so with a byte order mark)
    //   is UTF-8, and so is new text written into it;
    // - any other file may mix encodings (a hand edit in one, the Windows
    //   program's values in its code page), so each value is read on its
    //   own: UTF-8 when its bytes are valid UTF-8, otherwise the Windows
    //   program's code page;
    // - new text goes into such a file in that code page when the whole file
    //   decodes in it without error, otherwise in UTF-8; a text the code
    //   page cannot hold is written in UTF-8 (encode());
    // - a text value is rewritten only when its text changed
    //   (WriteSettings), so a value nobody changed keeps its bytes whatever
    //   they are.
    m_wholeUtf8 = bytes.isValidUtf8();
    m_encoding = QByteArray("UTF-8");
    if (!m_wholeUtf8 && !m_bom) {
        QStringDecoder d = LegacyDecoder();
        // decode() is lazy: the text must be made for errors to show.
        const QString text = d.decode(bytes);
        if (!d.hasError())
            m_encoding = QByteArray(kLegacyEncoding);
    }
    m_text =
        ProfileText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                    PlatformLineEnd());
}

std::string ModuleINI::decode(std::string_view bytes) const
{
    const QByteArray b(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (m_wholeUtf8 || b.isValidUtf8())
        return std::string(bytes);
    QStringDecoder d = LegacyDecoder();
    const QString s = d.decode(b);
    return s.toStdString();
}

std::string ModuleINI::encode(std::string_view utf8) const
{
    if (m_encoding != kLegacyEncoding)
        return std::string(utf8);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QStringEncoder e = LegacyEncoder();
    const QByteArray b = e.encode(text);
    // Text the code page cannot hold (or maps one way only), or whose bytes
    // there would read back as UTF-8, goes in UTF-8: never a value that
    // reads back differently.
    if (e.hasError() ||
        decode(std::string_view(b.constData(), static_cast<std::size_t>(b.size()))) != utf8)
        return std::string(utf8);
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
    if (!m_read.ok())
        return std::nullopt;
    return ReadSettings(m_text, [this](std::string_view b) { return decode(b); });
}

QByteArray ModuleINI::MergedBytes(const Settings& s, SettingsUnits units) const
{
    ProfileText text = m_text;
    // A file without the marker is not ours to merge with: written whole.
    if (!HasMarker(text))
        units = kAllUnits;
    WriteSettings(
        text, s, [this](std::string_view b) { return decode(b); },
        [this](std::string_view u) { return encode(u); }, units);
    const std::string bytes = text.bytes();
    return (m_bom ? kBom : QByteArray()) +
           QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

SettingsUnits ModuleINI::UnsavedUnits(const Settings& s) const
{
    return m_baseline ? ChangedUnits(*m_baseline, s) : kAllUnits;
}

Result ModuleINI::SaveIni(const Settings& s)
{
    return SaveUnits(s, m_baseline ? ChangedUnits(*m_baseline, s) : kAllUnits);
}

Result ModuleINI::SaveUnits(const Settings& s, SettingsUnits units)
{
    // Another copy writing in the same instant waits for this one's read,
    // merge and replace, or this for its, so neither loses the other's
    // units. A copy killed while it held the lock leaves a lock file whose
    // process is gone, which the next one takes over at once; a lock not
    // had within a second (a folder without room for it) writes anyway.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.tryLock(kLockWaitMs);
    // Start from the file as it is now: another copy of the program or a hand
    // edit may have changed it while this one ran.
    if (!read())
        return m_read;
    if (!HasMarker(m_text))
        units = kAllUnits;
    const QByteArray bytes = MergedBytes(s, units);
    Result r = SaveThrough(m_path, [&bytes](QFileDevice& out) {
        return WriteFully(out, bytes.constData(), bytes.size());
    });
    if (!r.ok())
        return std::move(r).during(FailedTask::WriteSettings);
    if (m_baseline)
        CopyUnits(*m_baseline, s, units);
    ReadBytes(bytes);
    return {};
}

} // namespace velmix
