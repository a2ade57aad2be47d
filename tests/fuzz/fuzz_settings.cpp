// SPDX-License-Identifier: MIT
// Arbitrary bytes as a settings file: the profile-text reader, the settings
// reader with its character-set choice, and a write and read back, which
// must give the same settings.

#include "settings/moduleini.h"
#include "settings/profile.h"
#include "settings/settings.h"

#include <cstdlib>

using namespace velmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ModuleINI ini;
    ini.ReadBytes(bytes);
    const auto s = ini.LoadIni();
    (void)ini.GetIniValue("SampleTextFont", "Name");

    // Writing keeps every other line: the written text holds the original
    // lines, and reading it back gives what was written.
    ProfileText text(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    const auto identity = [](std::string_view v) { return std::string(v); };
    Settings written = s.value_or(Settings{});
    written.mainPlace = WindowPlace{1, 2, 0, 0};
    written.tilePlace = WindowPlace{3, 4, 5, 6};
    WriteSettings(text, written, identity, identity);
    const auto back = ReadSettings(ProfileText(text.bytes()), identity);
    Settings expected = written;
    SanitizeSettings(expected);
    // Values longer than the reader's buffer come back cut, line breaks and
    // outer blanks do not survive a line of the file.
    const auto plain = [](const std::string& v) {
        return v.size() <= ProfileText::kValueLimit && v.find_first_of("\r\n") == v.npos &&
               (v.empty() ||
                (v.find_first_of(" \t") != 0 && v.find_last_of(" \t") != v.size() - 1));
    };
    if (!back || (plain(expected.SampleTextFont.Name) && plain(expected.SaveInitPath) &&
                  !(back->SampleTextFont == expected.SampleTextFont &&
                    back->MemoryState == expected.MemoryState &&
                    back->SaveInitPath == expected.SaveInitPath)))
        std::abort();
    return 0;
}
