// SPDX-License-Identifier: MIT
#pragma once
// The text rules of Windows profile (INI) files, on raw bytes: sections and
// keys match without regard to ASCII case, blanks around names and values are
// ignored on reading, values come back cut to 199 bytes (the 200-byte buffer
// of the original reader), and a write changes only the one line it concerns.
// Every other byte of the file, line endings included, is kept.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmix {

class ProfileText
{
public:
    static constexpr std::size_t kValueLimit = 199;

    // newEol: the line ending of lines added to a file that has none yet.
    explicit ProfileText(std::string_view bytes = {}, std::string newEol = "\n");

    // Empty when the section or key is missing.
    std::string get(std::string_view section, std::string_view key) const;
    bool has(std::string_view section, std::string_view key) const;
    // A key the section lacks is added at its end, or, given the keys that
    // come before it, after the last of them the section holds (else right
    // after the heading), so a file missing keys gets them in their order.
    void put(std::string_view section, std::string_view key, std::string_view value,
             const std::vector<std::string>* before = nullptr);

    std::string bytes() const;
    const std::string& eol() const { return m_eol; }

private:
    struct Line
    {
        std::string text;
        std::string eol; // "\r\n", "\n", "\r" or "" for a last line without one
    };
    struct Found
    {
        std::optional<std::size_t> sectionLine;
        std::optional<std::size_t> keyLine;
        std::size_t lastContentLine = 0;       // last non-blank line of the section
        std::optional<std::size_t> lastBefore; // last line of a key that comes before
    };
    Found find(std::string_view section, std::string_view key,
               const std::vector<std::string>* before = nullptr) const;
    void insertLine(std::size_t at, std::string text);

    std::vector<Line> m_lines;
    std::string m_eol;
};

} // namespace velmix
