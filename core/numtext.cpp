// SPDX-License-Identifier: MIT
#include "core/numtext.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace velmix {

double RoundHalfEven(double v)
{
    // The default rounding mode (to nearest, ties to even), which the program
    // never changes.
    return std::nearbyint(v);
}

std::optional<double> FindNumber(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '-' || text[i] == '+'))
        ++i;
    const auto isDigit = [&](std::size_t k) { return k < n && text[k] >= '0' && text[k] <= '9'; };
    std::size_t digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    // An exponent counts only when digits follow it.
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t k = i + 1;
        if (k < n && (text[k] == '-' || text[k] == '+'))
            ++k;
        if (isDigit(k)) {
            while (isDigit(k))
                ++k;
            i = k;
        }
    }
    std::string_view num = text.substr(start, i - start);
    if (!num.empty() && num.front() == '+')
        num.remove_prefix(1);
    double value = 0.0;
    const auto res = std::from_chars(num.data(), num.data() + num.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Too many digits for a double: it is beyond every field anyway.
        return num.front() == '-' ? -std::numeric_limits<double>::max()
                                  : std::numeric_limits<double>::max();
    }
    return res.ec == std::errc() ? value : 0.0;
}

double ReadNumber(std::string_view text)
{
    return FindNumber(text).value_or(0.0);
}

std::optional<long long> ReadLeadingWhole(std::string_view& text)
{
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::invalid_argument)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        value = text.front() == '-' ? std::numeric_limits<long long>::min()
                                    : std::numeric_limits<long long>::max();
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

std::optional<long long> ReadWhole(std::string_view text, long long lo, long long hi)
{
    const auto value = ReadLeadingWhole(text);
    if (!value || !text.empty() || *value < lo || *value > hi)
        return std::nullopt;
    return value;
}

std::string_view Trimmed(std::string_view text, std::string_view blanks)
{
    const std::size_t b = text.find_first_not_of(blanks);
    if (b == std::string_view::npos)
        return {};
    return text.substr(b, text.find_last_not_of(blanks) - b + 1);
}

std::string AsciiLower(std::string_view text)
{
    // ASCII only: the settings file's names and file extensions are matched
    // as the original platform did, whatever the locale.
    std::string r(text);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return r;
}

template <typename T> static T Saturate(double v)
{
    const double r = RoundHalfEven(v);
    if (std::isnan(r))
        return 0;
    if (r <= static_cast<double>(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (r >= static_cast<double>(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return static_cast<T>(r);
}

std::int32_t ToInt32(double v)
{
    return Saturate<std::int32_t>(v);
}
std::int16_t ToInt16(double v)
{
    return Saturate<std::int16_t>(v);
}
std::int32_t ReadInt32(std::string_view text)
{
    return ToInt32(ReadNumber(text));
}
std::int16_t ReadInt16(std::string_view text)
{
    return ToInt16(ReadNumber(text));
}

std::string BlankSigned(long long v)
{
    // Appended rather than " " + text: GCC 12 sees a false overlap in the
    // inlined insert at the front (-Wrestrict).
    std::string text = v < 0 ? std::string() : std::string(1, ' ');
    text += std::to_string(v);
    return text;
}

std::string PlainNumber(long long v)
{
    return std::to_string(v);
}

} // namespace velmix
