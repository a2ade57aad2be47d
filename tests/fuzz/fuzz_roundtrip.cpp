// SPDX-License-Identifier: MIT
// The whole load-then-save round trip of the settings file, on arbitrary
// bytes as the file found at exit. A run that changed nothing rewrites no
// value differently: every line stays, the keys' with their bytes, and the
// file reads back as it was read. A run that changed seven units reads back
// with them changed and the others as the file held them.

#include "settings/moduleini.h"
#include "settings/profile.h"
#include "settings/settings.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

using namespace velmix;

namespace {

const char* const kBom = "\xEF\xBB\xBF";

ProfileText Text(const QByteArray& file)
{
    const auto b = file.startsWith(kBom) ? file.mid(3) : file;
    return ProfileText(b.toStdString());
}

std::optional<Settings> Reload(const QByteArray& file)
{
    ModuleINI ini;
    ini.ReadBytes(file);
    return ini.LoadIni();
}

// The fuzzer's report of the abort names the line.
void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// Is every line of before still in after, in order? A lone CR ends a line
// as the profile reads it, and a key may be written after it.
bool LinesKept(std::string before, std::string after)
{
    std::replace(before.begin(), before.end(), '\r', '\n');
    std::replace(after.begin(), after.end(), '\r', '\n');
    size_t at = 0;
    std::istringstream in(before);
    for (std::string line; std::getline(in, line); at += line.size())
        if ((at = after.find(line, at)) == std::string::npos)
            return false;
    return true;
}

// Texts that test the code page: Japanese, outside Shift_JIS, one-way
// mapped, blanks inside, empty.
const char* const kTexts[] = {"ＭＳ Ｐゴシック", "😀 Її", "波～線−", "a b", "", "/tmp/"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    ModuleINI ini;
    ini.ReadBytes(file);
    const auto loaded = ini.LoadIni();
    // What the program holds after start-up: the file's values, or the
    // defaults with the windows where they were designed to open.
    auto s = loaded.value_or(Settings{});
    s.mainPlace = s.mainPlace.value_or(WindowPlace{1200, 900, 0, 0});
    s.tilePlace = s.tilePlace.value_or(kDesignedTilePlace);
    const auto before = Text(file);

    // A run that changed nothing.
    const auto same = ini.MergedBytes(s, 0);
    Check(same.startsWith(kBom) == file.startsWith(kBom));
    // Every line stays, key lines with their bytes; but a file without a
    // face was read as the designed font whole, and its font is written so.
    const bool face = before.has("SampleTextFont", "Name");
    Check(!loaded || !face || LinesKept(before.bytes(), Text(same).bytes()));
    Check(Reload(same) == (loaded ? loaded : s));

    // A run that changed the first seven units at once (that each unit
    // writes only its own keys, tst_settings checks).
    const std::string text = kTexts[size % std::size(kTexts)];
    auto c = s;
    // An empty face reads back as the designed one: keep a named one.
    c.SampleTextFont.Name = text.empty() ? s.SampleTextFont.Name : text;
    c.SampleTextFont.Size = s.SampleTextFont.Size % 999 + 1;
    auto& m = c.MemoryState;
    m.tate = 1;
    m.Size = 1234;
    m.SaveHeight = 77;
    m.Locate[3] = 999;
    m.Enabled = {1, 0, 1, 0, 1, 0, 1};
    m.Blend = 1 - m.Blend;
    c.mainPlace = WindowPlace{-15, 30, 0, 0};
    c.tilePlace = WindowPlace{45, -60, 7500, 3000};
    c.SaveInitPath = text;
    c.Blend = 1 - s.Blend;
    c.Dither = !s.Dither;
    const auto merged = ini.MergedBytes(c, kUnitDither * 2 - 1);
    auto back = Reload(merged);
    Check(back.has_value());
    Check(back == c);
    return 0;
}
