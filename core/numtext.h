// SPDX-License-Identifier: MIT
#pragma once
// The text rules every window, dialog, reader and the settings file share:
// reading the leading number of a text, whole numbers, writing a number
// blank-signed, white space, and the ASCII case fold of names.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmix {

// Round to nearest, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double v);

// The leading decimal number of a text: leading blanks skipped, reading stops
// at the first character that cannot continue the number, nullopt when none.
std::optional<double> FindNumber(std::string_view text);
// FindNumber, 0 when none.
double ReadNumber(std::string_view text);

// A whole decimal number at the start of `text` (a '-' allowed, no '+' nor
// blank), `text` advanced past it; one beyond long long saturates. nullopt,
// `text` as it was, when no digit starts it.
std::optional<long long> ReadLeadingWhole(std::string_view& text);
// A whole decimal number from lo to hi and nothing else.
std::optional<long long> ReadWhole(std::string_view text, long long lo, long long hi);

// White space as C's isspace has it in the "C" locale, whatever the locale.
inline constexpr std::string_view kSpaces = " \t\n\v\f\r";
constexpr bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
// `text` without the `blanks` at either end.
std::string_view Trimmed(std::string_view text, std::string_view blanks = kSpaces);

// A-Z to a-z, every other byte kept.
std::string AsciiLower(std::string_view text);

// Conversions of a real value to an integer field: half-to-even, saturating
// at the type's range (an edited file may hold any digits).
std::int32_t ToInt32(double v);
std::int16_t ToInt16(double v);

// ReadNumber followed by ToInt32 / ToInt16.
std::int32_t ReadInt32(std::string_view text);
std::int16_t ReadInt16(std::string_view text);

// " 12" for 12, " 0" for 0, "-3" for -3.
std::string BlankSigned(long long v);
// "12", "0", "-3".
std::string PlainNumber(long long v);

} // namespace velmix
