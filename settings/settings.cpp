// SPDX-License-Identifier: MIT
#include "settings/settings.h"

#include "core/numtext.h"
#include "core/webgrad.h"

#include <algorithm>
#include <map>
#include <vector>

namespace velmix {

namespace {

const char* const kFont = "SampleTextFont";
const char* const kMemory = "Memory";
const char* const kOption = "Option";

std::string PointKey(const char* word, int i)
{
    return std::string(word) + " " + std::to_string(i);
}

const char* Bool(bool b)
{
    return b ? "True" : "False";
}

} // namespace

bool ReadBoolean(std::string_view text, bool fallback)
{
    const std::size_t b = text.find_first_not_of(" \t");
    const std::string t =
        AsciiLower(b == std::string_view::npos ? std::string_view() : text.substr(b));
    if (t.rfind("true", 0) == 0 && t.find_first_not_of(" \t", 4) == std::string::npos)
        return true;
    if (t.rfind("false", 0) == 0 && t.find_first_not_of(" \t", 5) == std::string::npos)
        return false;
    if (const auto number = FindNumber(t))
        return *number != 0.0;
    return fallback;
}

void SanitizeSettings(Settings& s)
{
    // Only a hand-edited file holds these; each is brought to what the
    // control that will show it can take, so restoring never fails:
    // - an enable value: any non-zero value is on, as the check box reads it;
    // - a position: clamped to the slider's 0..1000;
    // - a colour: clamped to 0..16777215 (the top byte must stay 0);
    // - the size: clamped to the size box's 4..2000;
    // - the orientation: below -1 is "nothing remembered", above 1 vertical;
    // - the thickness: clamped to the options box's 1..kMaxThickness;
    // - the font: a size outside 1..999 points falls back to the window's
    //   own font size (0), a style other than 0 counts as on (-1);
    // - the text colour: as a point colour.
    // Numbers too large for a field were already saturated when read.
    MemoryStateT& m = s.MemoryState;
    for (int i = 0; i < kPointCount; ++i) {
        m.Enabled[i] = m.Enabled[i] != 0 ? 1 : 0;
        m.Locate[i] = std::clamp(m.Locate[i], 0, kMaxPosition);
        m.Color[i] = std::clamp(m.Color[i], 0, 0xFFFFFF);
    }
    // - a blend: 1 is OKLab, anything else (a later kind included) RGB.
    m.Blend = BlendNumber(BlendOfNumber(m.Blend));
    s.Blend = BlendNumber(BlendOfNumber(s.Blend));
    if (m.tate < -1)
        m.tate = -1;
    else if (m.tate > 1)
        m.tate = 1;
    if (m.tate != -1) {
        m.Size = std::clamp(m.Size, kMinImageSize, kMaxImageSize);
        m.SaveHeight = std::clamp(m.SaveHeight, 1, kMaxThickness);
        // A remembered state must keep one point on.
        if (std::find(m.Enabled.begin(), m.Enabled.end(), 1) == m.Enabled.end())
            m.Enabled[0] = 1;
    }
    // - no face: the tile window's own, as designed (the window would take
    //   it when made; a run that never makes it writes it).
    SampleTextFontT& f = s.SampleTextFont;
    if (f.Name.empty()) {
        const SampleTextFontT designed;
        f.Name = designed.Name;
        f.Size = designed.Size;
        f.bold = designed.bold;
        f.Italic = designed.Italic;
    }
    if (f.Size < 1 || f.Size > 999)
        f.Size = 0;
    f.bold = f.bold != 0 ? -1 : 0;
    f.Italic = f.Italic != 0 ? -1 : 0;
    f.Color = std::clamp(f.Color, 0, 0xFFFFFF);
    if (s.tilePlace) {
        s.tilePlace->width = std::max(s.tilePlace->width, 0);
        s.tilePlace->height = std::max(s.tilePlace->height, 0);
    }
}

SettingsUnits ChangedUnits(const Settings& before, const Settings& now)
{
    SettingsUnits u = 0;
    if (before.SampleTextFont != now.SampleTextFont)
        u |= kUnitFont;
    if (before.MemoryState != now.MemoryState)
        u |= kUnitMemory;
    // Only left and top of the main window are kept.
    if (now.mainPlace && (!before.mainPlace || before.mainPlace->left != now.mainPlace->left ||
                          before.mainPlace->top != now.mainPlace->top))
        u |= kUnitMainPlace;
    if (now.tilePlace && before.tilePlace != now.tilePlace)
        u |= kUnitTilePlace;
    if (before.SaveInitPath != now.SaveInitPath)
        u |= kUnitSaveFolder;
    if (before.Blend != now.Blend)
        u |= kUnitBlend;
    if (before.Dither != now.Dither)
        u |= kUnitDither;
    if (before.Language != now.Language)
        u |= kUnitLanguage;
    if (before.CssSelector != now.CssSelector || before.CssOneWay != now.CssOneWay)
        u |= kUnitCss;
    if (before.ImportInitPath != now.ImportInitPath || before.ExportInitPath != now.ExportInitPath)
        u |= kUnitLibFolders;
    return u;
}

void CopyUnits(Settings& to, const Settings& from, SettingsUnits units)
{
    if (units & kUnitFont)
        to.SampleTextFont = from.SampleTextFont;
    if (units & kUnitMemory)
        to.MemoryState = from.MemoryState;
    if ((units & kUnitMainPlace) && from.mainPlace)
        to.mainPlace = from.mainPlace;
    if ((units & kUnitTilePlace) && from.tilePlace)
        to.tilePlace = from.tilePlace;
    if (units & kUnitSaveFolder)
        to.SaveInitPath = from.SaveInitPath;
    if (units & kUnitBlend)
        to.Blend = from.Blend;
    if (units & kUnitDither)
        to.Dither = from.Dither;
    if (units & kUnitLanguage)
        to.Language = from.Language;
    if (units & kUnitCss) {
        to.CssSelector = from.CssSelector;
        to.CssOneWay = from.CssOneWay;
    }
    if (units & kUnitLibFolders) {
        to.ImportInitPath = from.ImportInitPath;
        to.ExportInitPath = from.ExportInitPath;
    }
}

bool OwnTilePlace(const std::optional<WindowPlace>& place)
{
    return place && *place != WindowPlace{} && *place != kDesignedTilePlace;
}

bool HasMarker(const ProfileText& file)
{
    return ReadInt32(file.get("IniCheck", "Dummy")) != 0;
}

std::optional<Settings> ReadSettings(const ProfileText& file, const TextCodec& decode)
{
    if (!HasMarker(file))
        return std::nullopt;
    Settings s;
    const auto num = [&](const char* sec, const std::string& key) {
        return ReadInt32(file.get(sec, key));
    };
    SampleTextFontT& f = s.SampleTextFont;
    f.Name = decode(file.get(kFont, "Name"));
    f.Size = num(kFont, "Size");
    f.bold = num(kFont, "bold");
    f.Italic = num(kFont, "Italic");
    f.Color = num(kFont, "Color");
    f.TextOnOff = ReadBoolean(file.get(kFont, "TextOnOff"));
    MemoryStateT& m = s.MemoryState;
    for (int i = 0; i < kPointCount; ++i) {
        m.Enabled[i] = num(kMemory, PointKey("Enabled", i));
        m.Locate[i] = num(kMemory, PointKey("Locate", i));
        m.Color[i] = num(kMemory, PointKey("Color", i));
    }
    m.Size = num(kMemory, "Size");
    m.tate = ReadInt16(file.get(kMemory, "tate"));
    m.SaveHeight = num(kMemory, "SaveHeight");
    m.chkHeight = ReadBoolean(file.get(kMemory, "chkHeight"));
    m.Blend = num(kMemory, "Blend");
    s.mainPlace = WindowPlace{num(kOption, "MainLeft"), num(kOption, "MainTop"), 0, 0};
    s.tilePlace = WindowPlace{num(kOption, "TileLeft"), num(kOption, "TileTop"),
                              num(kOption, "TileWidth"), num(kOption, "TileHeight")};
    s.SaveInitPath = decode(file.get(kOption, "SaveInitPath"));
    s.Blend = num(kOption, "Blend");
    s.Dither = ReadBoolean(file.get(kOption, "Dither"));
    // A selector that could not be written is not taken from a hand's edit.
    s.CssSelector = decode(file.get(kOption, "CssSelector"));
    if (!SelectorFits(s.CssSelector))
        s.CssSelector.clear();
    s.CssOneWay = file.get(kOption, "CssRepeat") == "axis";
    s.ImportInitPath = decode(file.get(kOption, "ImportInitPath"));
    s.ExportInitPath = decode(file.get(kOption, "ExportInitPath"));
    // Anything but the two codes (a hand's "EN " included) follows the
    // locale, and is left in the file until the menu chooses.
    const std::string language = file.get(kOption, "Language");
    const std::size_t b = language.find_first_not_of(" \t");
    s.Language = b == std::string::npos ? std::string()
                                        : AsciiLower(std::string_view(language).substr(
                                              b, language.find_last_not_of(" \t") - b + 1));
    if (s.Language != "ja" && s.Language != "en")
        s.Language.clear();
    SanitizeSettings(s);
    return s;
}

void WriteSettings(ProfileText& file, const Settings& s, const TextCodec& decode,
                   const TextCodec& encode, SettingsUnits units)
{
    // The table's keys so far, by section: a key the file lacks goes after
    // them, in the table's order.
    std::map<std::string, std::vector<std::string>, std::less<>> earlier;
    // A file without a face read as the designed font whole, whatever size
    // and styles it held; the face written now brings the rest of that font
    // along, or the next start would read the file's own size with it.
    if (!file.has(kFont, "Name"))
        units |= kUnitFont;
    const auto put = [&](SettingsUnit unit, const char* sec, const std::string& key,
                         const std::string& value) {
        std::vector<std::string>& before = earlier[sec];
        if ((units & unit) || !file.has(sec, key))
            file.put(sec, key, value, &before);
        before.push_back(key);
    };
    const auto putText = [&](SettingsUnit unit, const char* sec, const char* key,
                             const std::string& utf8) {
        if (file.has(sec, key) && decode(file.get(sec, key)) == utf8)
            earlier[sec].push_back(key);
        else
            put(unit, sec, key, encode(utf8));
    };
    if (!HasMarker(file))
        file.put("IniCheck", "Dummy", "1", &earlier["IniCheck"]);
    const SampleTextFontT& f = s.SampleTextFont;
    putText(kUnitFont, kFont, "Name", f.Name);
    put(kUnitFont, kFont, "Size", BlankSigned(f.Size));
    put(kUnitFont, kFont, "bold", BlankSigned(f.bold));
    put(kUnitFont, kFont, "Italic", BlankSigned(f.Italic));
    put(kUnitFont, kFont, "Color", BlankSigned(f.Color));
    put(kUnitFont, kFont, "TextOnOff", Bool(f.TextOnOff));
    const MemoryStateT& m = s.MemoryState;
    for (int i = 0; i < kPointCount; ++i) {
        put(kUnitMemory, kMemory, PointKey("Enabled", i), PlainNumber(m.Enabled[i]));
        put(kUnitMemory, kMemory, PointKey("Locate", i), PlainNumber(m.Locate[i]));
        put(kUnitMemory, kMemory, PointKey("Color", i), PlainNumber(m.Color[i]));
    }
    put(kUnitMemory, kMemory, "Size", BlankSigned(m.Size));
    put(kUnitMemory, kMemory, "tate", BlankSigned(m.tate));
    put(kUnitMemory, kMemory, "SaveHeight", BlankSigned(m.SaveHeight));
    put(kUnitMemory, kMemory, "chkHeight", Bool(m.chkHeight));
    put(kUnitMemory, kMemory, "Blend", PlainNumber(m.Blend));
    if (s.mainPlace) {
        put(kUnitMainPlace, kOption, "MainLeft", BlankSigned(s.mainPlace->left));
        put(kUnitMainPlace, kOption, "MainTop", BlankSigned(s.mainPlace->top));
    }
    // A tile window never made stands where it was designed.
    const WindowPlace tile = s.tilePlace.value_or(kDesignedTilePlace);
    put(kUnitTilePlace, kOption, "TileLeft", BlankSigned(tile.left));
    put(kUnitTilePlace, kOption, "TileTop", BlankSigned(tile.top));
    put(kUnitTilePlace, kOption, "TileWidth", BlankSigned(tile.width));
    put(kUnitTilePlace, kOption, "TileHeight", BlankSigned(tile.height));
    putText(kUnitSaveFolder, kOption, "SaveInitPath", s.SaveInitPath);
    put(kUnitBlend, kOption, "Blend", PlainNumber(s.Blend));
    put(kUnitDither, kOption, "Dither", Bool(s.Dither));
    // Written only once chosen: a file without it keeps following the locale.
    if ((units & kUnitLanguage) && !s.Language.empty())
        file.put(kOption, "Language", s.Language, &earlier[kOption]);
    // The same for the CSS rule's choices: a file that never had them keeps
    // its bytes.
    const bool cssChosen = !s.CssSelector.empty() || s.CssOneWay ||
                           file.has(kOption, "CssSelector") || file.has(kOption, "CssRepeat");
    if ((units & kUnitCss) && cssChosen) {
        putText(kUnitCss, kOption, "CssSelector",
                s.CssSelector.empty() ? std::string("body") : s.CssSelector);
        put(kUnitCss, kOption, "CssRepeat", s.CssOneWay ? "axis" : "tile");
    }
    // The library's folders too, each once its dialog chose one.
    for (const auto& [key, path] : {std::pair{"ImportInitPath", &s.ImportInitPath},
                                    std::pair{"ExportInitPath", &s.ExportInitPath}})
        if ((units & kUnitLibFolders) && (!path->empty() || file.has(kOption, key)))
            putText(kUnitLibFolders, kOption, key, *path);
}

MemoryStateT RememberState(const EditState& s, std::int32_t saveHeight, bool chkHeight)
{
    MemoryStateT mem;
    for (int i = 0; i < kPointCount; ++i) {
        mem.Enabled[i] = s.points.enabled[i] ? 1 : 0;
        mem.Locate[i] = s.points.position[i];
        mem.Color[i] = s.points.color[i];
    }
    mem.tate = static_cast<std::int16_t>(s.orientation);
    mem.Size = s.size;
    mem.SaveHeight = saveHeight;
    mem.chkHeight = chkHeight;
    mem.Blend = BlendNumber(s.points.blend);
    return mem;
}

EditState RecallState(const MemoryStateT& mem)
{
    EditState s;
    for (int i = 0; i < kPointCount; ++i) {
        s.points.enabled[i] = mem.Enabled[i] != 0;
        s.points.position[i] = mem.Locate[i];
        s.points.color[i] = mem.Color[i];
    }
    s.points.blend = BlendOfNumber(mem.Blend);
    s.size = mem.Size;
    s.orientation = mem.tate;
    return s;
}

} // namespace velmix
