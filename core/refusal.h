// SPDX-License-Identifier: MIT
#pragma once
// Why a reader refused a text: a kind and the few values its message
// quotes, never a sentence. The words, in the user's language, are made
// where every failure is worded (RefusalText, common/failuretext.h).

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace velmix {

enum class RefusalKind
{
    None,
    // What the system said (in `quote`, uncut): a file that cannot be opened.
    System,
    // The file itself, before any reader.
    TooLarge,   // over the 16 MiB every reader stops at
    Folder,     // a folder, not a file
    NotRegular, // a device, a FIFO, a socket
    NoType,     // neither .ggr, SVG nor CSS with a linear gradient
    // .ggr: `line` is the file's line, `number` the segment.
    GgrNotGimp,
    GgrNoCount,
    GgrFields,     // fewer than 11 numbers
    GgrNotFinite,  // a number that is not finite
    GgrKinds,      // blend and colour type not 2 or 4 integers
    GgrKindsRange, // blend or colour type out of range
    GgrEndsRange,  // an end's colour type out of range
    GgrUnordered,  // left, middle, right (in `quote`) not in order
    GgrFirstLeft,  // the first left end (`quote`) is not 0
    GgrLeftGap,    // a left end (`quote`) is not the previous right one (`quote2`)
    GgrLastRight,  // the last right end (`quote`) is not 1
    // CSS, inside one linear-gradient(...).
    CssTooManyStops, // more than `number` in the file
    CssNoColours,
    CssNotUnderstood, // `quote`
    CssDirection,     // `quote`, not a whole quarter turn
    CssPxNoSize,      // a px place (`quote`) without background-size
    CssWidthNotPx,    // background-size `quote`'s width not px, for place `quote2`
    CssHeightNotPx,   // its height
    CssHintFirst,     // a hint (`quote`) with no colour before it
    CssHintLast,      // a hint with no colour after it
    CssHintOutside,   // a hint before `quote` reaching outside 0%..100%
    CssHintReversed,  // a hint before `quote` in a reversed gradient
    // CSS, a rule's background.
    CssTooManyLayers, // more than `number`
    CssUnclosed,
    CssMixedDirections,
    CssRepeating,
    CssUndrawnLayer,     // `quote`, layered with a gradient
    CssBackgroundColour, // `quote`
    CssTooFine,
    CssNoGradient,
    CssPrefixed, // `quote`, with no standard form beside it
    // SVG.
    SvgNotXml,     // at `line`, the XML reader's words in `quote`
    SvgStopColour, // gradient `quote`'s stop-color `quote2`
    SvgNoGradient,
    SvgTooManyStops, // over 200,000, those a reference repeats counted
    SvgTooManyRules, // the style sheets need too many selector tests
    SvgRadial,       // the gradient named (`quote`) is radial
    SvgNoSuchId,     // no linearGradient with stops has the id or name `quote`
    IdNotSvg,        // an id names a gradient only in an SVG
    // The library's own.
    NoFolder, // the user's folder could not be made
    NoSuchGradient,
};

struct Refusal
{
    Refusal() = default;
    // NOLINTNEXTLINE(google-explicit-constructor): a kind alone is a refusal
    Refusal(RefusalKind k, int l = 0, long long n = 0, std::string q = {}, std::string q2 = {})
        : kind(k), line(l), number(n), quote(std::move(q)), quote2(std::move(q2))
    {
    }

    RefusalKind kind = RefusalKind::None;
    int line = 0;         // 1-based, where the kind names a line
    long long number = 0; // a segment's number, or a limit
    std::string quote;    // cut by Quoted
    std::string quote2;

    explicit operator bool() const { return kind != RefusalKind::None; }
};

// A refusal quotes at most this much of the text, so its message fits on
// a line whatever the text holds.
inline constexpr std::size_t kQuoted = 40;

// The text as a refusal quotes it: at most `bytes` bytes, cut between UTF-8
// characters, "…" where it was cut.
inline std::string Quoted(std::string_view s, std::size_t bytes = kQuoted)
{
    if (s.size() <= bytes)
        return std::string(s);
    std::size_t cut = bytes;
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(s.substr(0, cut)) + "…";
}

} // namespace velmix
