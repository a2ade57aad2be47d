// SPDX-License-Identifier: MIT
#include "settings/profile.h"

#include "core/numtext.h"

#include <algorithm>

namespace velmix {

namespace {

// A CR counts as a blank too: a last line without LF that ends in CR gets an
// LF when a line is added after it, and must read the same before and after.
std::string_view Trim(std::string_view s)
{
    return Trimmed(s, " \t\r");
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

// The section name of a header line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const std::size_t close = t.find(']');
    return Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

} // namespace

ProfileText::ProfileText(std::string_view bytes, std::string newEol) : m_eol(std::move(newEol))
{
    bool eolSeen = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        // LF, CR LF and a lone CR (files from older editors) each end a line.
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            m_lines.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        Line line{std::string(bytes.substr(start, end - start)),
                  crlf ? "\r\n" : std::string(1, bytes[end])};
        if (!eolSeen) {
            // A file keeps the line ending it has.
            m_eol = line.eol;
            eolSeen = true;
        }
        start = end + line.eol.size();
        m_lines.push_back(std::move(line));
    }
}

ProfileText::Found ProfileText::find(std::string_view section, std::string_view key,
                                     const std::vector<std::string>* before) const
{
    Found f;
    bool inSection = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::string& text = m_lines[i].text;
        if (const auto name = SectionName(text)) {
            // The first section of that name is the one read and written.
            if (f.sectionLine)
                break;
            inSection = EqualNoCase(*name, section);
            if (inSection) {
                f.sectionLine = i;
                f.lastContentLine = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!Trim(text).empty())
            f.lastContentLine = i;
        const std::size_t eq = text.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string_view name = Trim(std::string_view(text).substr(0, eq));
        if (!f.keyLine && EqualNoCase(name, key))
            f.keyLine = i;
        if (before && std::any_of(before->begin(), before->end(),
                                  [name](const std::string& b) { return EqualNoCase(name, b); }))
            f.lastBefore = i;
    }
    return f;
}

std::string ProfileText::get(std::string_view section, std::string_view key) const
{
    const Found f = find(section, key);
    if (!f.keyLine)
        return {};
    const std::string& text = m_lines[*f.keyLine].text;
    std::string_view value = Trim(std::string_view(text).substr(text.find('=') + 1));
    if (value.size() > kValueLimit)
        value = value.substr(0, kValueLimit);
    return std::string(value);
}

bool ProfileText::has(std::string_view section, std::string_view key) const
{
    return find(section, key).keyLine.has_value();
}

void ProfileText::insertLine(std::size_t at, std::string text)
{
    // The line before the new one may have been the last, without an ending.
    if (at > 0 && m_lines[at - 1].eol.empty())
        m_lines[at - 1].eol = m_eol;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), m_eol});
}

void ProfileText::put(std::string_view section, std::string_view key, std::string_view value,
                      const std::vector<std::string>* before)
{
    std::string line = std::string(key) + "=" + std::string(value);
    const Found f = find(section, key, before);
    if (f.keyLine) {
        m_lines[*f.keyLine].text = std::move(line);
    } else if (f.sectionLine) {
        const std::size_t after =
            before ? f.lastBefore.value_or(*f.sectionLine) : f.lastContentLine;
        insertLine(after + 1, std::move(line));
    } else {
        // Appended, not "[" + text: GCC 12 sees a false overlap in an
        // inlined insert at the front (-Wrestrict).
        std::string heading(1, '[');
        heading.append(section).append(1, ']');
        insertLine(m_lines.size(), std::move(heading));
        insertLine(m_lines.size(), std::move(line));
    }
}

std::string ProfileText::bytes() const
{
    std::string out;
    for (const Line& l : m_lines) {
        out += l.text;
        out += l.eol;
    }
    return out;
}

} // namespace velmix
