// SPDX-License-Identifier: MIT
#pragma once
// The settings file "velmix.ini": where it lives, the character set it is in,
// and reading and replacing it as a whole. What it holds is settings.h.

#include "common/result.h"
#include "settings/profile.h"
#include "settings/settings.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

namespace velmix {

class ModuleINI
{
public:
    // Beside the program when that file can be written there (or the folder
    // can take a new one); otherwise in userDir. Nothing is lost either way:
    // a file beside the program that cannot be written is read once as the
    // start of the user's own copy. An empty programDir (an installed copy)
    // always means userDir.
    void SetIniPath(const QString& programDir, const QString& userDir);
    // Use exactly this file (the renderer's --from-ini, tests).
    void SetIniFile(const QString& path);
    const QString& IniPath() const { return m_path; }

    // Takes these bytes as the file's present contents (what read() does
    // with the file).
    void ReadBytes(const QByteArray& bytes);

    std::string GetIniValue(std::string_view section, std::string_view key) const;
    void PutIniValue(std::string_view section, std::string_view key, std::string_view value);

    std::optional<Settings> LoadIni();
    // Why the file was not read (OpenFailed, its refusal: not a regular
    // file, too large, unreadable); ok when it was read or does not exist. Such a file is
    // never written.
    const Result& ReadResult() const { return m_read; }

    // The settings as this run found them after start-up: a unit that still
    // equals them at exit was not changed by this run.
    void SetBaseline(const Settings& s) { m_baseline = s; }
    // At exit: writes the units that differ from the baseline (all of them
    // without a baseline, or when the file now carries no marker).
    // The units that differ from what the file was last known to hold.
    SettingsUnits UnsavedUnits(const Settings& s) const;
    Result SaveIni(const Settings& s);
    // The one writer: reads the file again as it is now, writes the given
    // units of s and every key the file lacks, and replaces the file in one
    // step; the other units keep what the file holds (another copy of the
    // program may have written them). The baseline takes the written units,
    // so a command can write its unit at once and exit will not write it
    // again. On failure the old file stays; the failure is of the task
    // WriteSettings and names the file.
    Result SaveUnits(const Settings& s, SettingsUnits units);
    // The bytes SaveUnits would write over the text last read.
    QByteArray MergedBytes(const Settings& s, SettingsUnits units) const;

    // The character set new text is written in ("UTF-8" or "Shift_JIS").
    const QByteArray& Encoding() const { return m_encoding; }

    // The largest settings file read (a real one is about 1 KB).
    static constexpr qint64 kMaxFileSize = 1 << 20;
    // The longest wait for another copy's write to finish.
    static constexpr int kLockWaitMs = 1000;

private:
    bool read();
    std::string decode(std::string_view bytes) const;
    std::string encode(std::string_view utf8) const;

    QString m_path;
    QString m_seedPath; // read when m_path does not exist yet
    Result m_read;
    QByteArray m_encoding = "UTF-8";
    bool m_wholeUtf8 = true; // every byte of the file is UTF-8
    bool m_bom = false;
    ProfileText m_text;
    std::optional<Settings> m_baseline;
};

} // namespace velmix
