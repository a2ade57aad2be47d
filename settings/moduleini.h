#pragma once
// The settings file "velmix.ini": where it lives, the character set it is in,
// and reading and replacing it as a whole. What it holds is settings.h.

#include "profile.h"
#include "settings.h"

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
    // start of the user's own copy.
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
    // Replaces the file in one step; on failure the old file stays and
    // errorText (when given) says why.
    bool SaveIni(const Settings& s, QString* errorText = nullptr);

    // The character set the file was read in ("UTF-8" or "Shift_JIS").
    const QByteArray& Encoding() const { return m_encoding; }

private:
    void read();
    std::string decode(std::string_view bytes) const;
    std::string encode(std::string_view utf8) const;

    QString m_path;
    QString m_seedPath; // read when m_path does not exist yet
    QByteArray m_encoding = "UTF-8";
    ProfileText m_text;
};

} // namespace velmix
