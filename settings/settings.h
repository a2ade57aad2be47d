// SPDX-License-Identifier: MIT
#pragma once
// What the settings file carries from run to run, as one plain value, and the
// one place that turns it into profile text and back (key table, number forms
// and the handling of values no control can take).

#include "core/edithistory.h"
#include "core/gradient.h"
#include "settings/profile.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace velmix {

// The tile window's sample text as designed: its face at 27.75 points, which
// reads back as 28.
inline constexpr const char* kDesignedFace = "ＭＳ Ｐゴシック";
inline constexpr std::int32_t kDesignedFontSize = 28;

struct SampleTextFontT
{
    std::string Name = kDesignedFace; // empty: the tile window takes its own font
    std::int32_t Size = kDesignedFontSize;
    std::int32_t bold = 0;   // 0 or -1
    std::int32_t Italic = 0; // 0 or -1
    Colour Color = 0;
    bool TextOnOff = false;
    bool operator==(const SampleTextFontT&) const = default;
};

struct MemoryStateT
{
    std::array<std::int32_t, kPointCount> Enabled{};
    std::array<std::int32_t, kPointCount> Locate{};
    std::array<std::int32_t, kPointCount> Color{};
    std::int32_t Size = 0;
    std::int16_t tate = -1; // -1: nothing remembered
    std::int32_t SaveHeight = 0;
    bool chkHeight = false;
    std::int32_t Blend = 0; // 1: OKLab, else RGB (static_cast<velmix::Blend>)
    bool operator==(const MemoryStateT&) const = default;
};

// The remembered slot from an edit state and the save options of the time,
// and back: what the memory commands store and restore.
MemoryStateT RememberState(const EditState& s, std::int32_t saveHeight, bool chkHeight);
EditState RecallState(const MemoryStateT& mem);

// Window geometry in twips, as the file stores it.
struct WindowPlace
{
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const WindowPlace&) const = default;
};

// The tile window's frame as designed, in twips: its 7695 x 3360 client area
// in the 4 x 22 pixel frame its layout was made for, at the corner. A file
// holds it for a window never shown; like no place at all, it leaves the
// first place to the window system.
inline constexpr WindowPlace kDesignedTilePlace{0, 0, 7695 + 4 * 15, 3360 + 22 * 15};

// Whether the file gives the tile window a place of its own (not none, not
// all zero, not the designed one), which start-up then applies.
bool OwnTilePlace(const std::optional<WindowPlace>& place);

struct Settings
{
    SampleTextFontT SampleTextFont;
    MemoryStateT MemoryState;
    // Read: present when the file carried the marker. Written: only for a
    // window in the normal state (a tile window never made: its designed
    // place where the file lacks one).
    std::optional<WindowPlace> mainPlace;
    std::optional<WindowPlace> tilePlace;
    std::string SaveInitPath;
    // The last blend chosen (1: OKLab, else RGB) and the options dialog's
    // dither box.
    std::int32_t Blend = 0;
    bool Dither = false;
    // "ja" or "en" as chosen in the menu; empty: the locale decides, and
    // nothing is written.
    std::string Language;
    // The CSS rule's selector (empty: body) and repeat (one way, or tiled),
    // written only once chosen.
    std::string CssSelector;
    bool CssOneWay = false;
    // The folders the library's import and export dialogs last used, each
    // written once used.
    std::string ImportInitPath;
    std::string ExportInitPath;
    bool operator==(const Settings&) const = default;
};

// The parts of the settings that are written as a whole: a unit this run did
// not change keeps what the file holds, so two running copies do not undo
// each other's changes.
enum SettingsUnit : unsigned
{
    kUnitFont = 1u,         // the sample-text settings
    kUnitMemory = 2u,       // the remembered state
    kUnitMainPlace = 4u,    // the main window's left and top
    kUnitTilePlace = 8u,    // the tile window's place and size
    kUnitSaveFolder = 16u,  // the save dialog's folder
    kUnitBlend = 32u,       // the last blend chosen
    kUnitDither = 64u,      // the dither box
    kUnitLanguage = 128u,   // the language chosen in the menu
    kUnitCss = 256u,        // the CSS rule's selector and repeat
    kUnitLibFolders = 512u, // the library's import and export folders
    kAllUnits = 1023u
};
using SettingsUnits = unsigned;

// The units in which now differs from before (a window place only when now
// has one).
SettingsUnits ChangedUnits(const Settings& before, const Settings& now);
// Takes the given units of from into to.
void CopyUnits(Settings& to, const Settings& from, SettingsUnits units);

// Converts a value between the file's bytes and UTF-8.
using TextCodec = std::function<std::string(std::string_view)>;

// Nothing is read unless "IniCheck"/"Dummy" holds a non-zero number; the
// result then tells the caller whether anything was found.
std::optional<Settings> ReadSettings(const ProfileText& file, const TextCodec& decode);
bool HasMarker(const ProfileText& file);
// Writes the keys of the given units, and every key of the table that the
// file lacks. A text value that reads back as the same text keeps its bytes
// (its encoding and anything beyond the 199 bytes a reader sees).
void WriteSettings(ProfileText& file, const Settings& s, const TextCodec& decode,
                   const TextCodec& encode, SettingsUnits units = kAllUnits);

// "True"/"False" in any case, or a number (0 is False); anything else is the
// default.
bool ReadBoolean(std::string_view text, bool fallback = false);

// Brings values that only a hand-edited file can hold into what the controls
// take. Called on every read.
void SanitizeSettings(Settings& s);

} // namespace velmix
