// SPDX-License-Identifier: MIT
#include "common/clscommon.h"

#include "common/platform.h"
#include "core/numtext.h"

#include <algorithm>
#include <cmath>

namespace velmix {

namespace {

// Stored texts from the Windows program use "\"; paths of this system use its
// own separator. Both end a folder name.
bool IsSep(char c)
{
    return c == '\\' || c == '/';
}

bool IsBlankOnly(std::string_view s)
{
    return s.find_first_not_of(' ') == std::string_view::npos;
}

// The scan shared by TrimDirFname and TrimExt: the position of the first "."
// met from the end before any separator, when it is not the first character.
std::optional<std::size_t> ExtensionDot(std::string_view s)
{
    for (std::size_t i = s.size(); i-- > 0;) {
        if (IsSep(s[i]))
            return std::nullopt;
        if (s[i] == '.')
            return i == 0 ? std::nullopt : std::optional<std::size_t>(i);
    }
    return std::nullopt;
}

} // namespace

std::int16_t clsCommon::CheckNum(std::int16_t vChr)
{
    if (vChr == '.' || vChr == '-')
        return vChr;
    return CheckNumInt(vChr);
}

std::int16_t clsCommon::CheckNumInt(std::int16_t vChr)
{
    if ((vChr >= '0' && vChr <= '9') || vChr == 8)
        return vChr;
    return 0;
}

char16_t clsCommon::HalfWidth(char16_t vChr)
{
    // U+FF01 to U+FF5E mirror "!" to "~" of ASCII.
    constexpr char16_t first = 0xFF01, last = 0xFF5E, offset = 0xFF01 - u'!';
    return vChr >= first && vChr <= last ? static_cast<char16_t>(vChr - offset) : vChr;
}

void clsCommon::CheckTextRange(TextHolder& rTxt, double vMax, std::optional<double> vMin)
{
    if (ReadNumber(rTxt.text()) > vMax)
        rTxt.setText(PlainNumber(static_cast<long long>(vMax)));
    // Read again: setting the text may have run the box's own handlers.
    if (vMin && ReadNumber(rTxt.text()) < *vMin)
        rTxt.setText(PlainNumber(static_cast<long long>(*vMin)));
}

std::string clsCommon::VBHTTrim(std::string_view Incoming)
{
    const std::size_t nul = Incoming.find('\0');
    if (nul != std::string_view::npos)
        Incoming = Incoming.substr(0, nul);
    const std::size_t b = Incoming.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    const std::size_t e = Incoming.find_last_not_of(' ');
    return std::string(Incoming.substr(b, e - b + 1));
}

std::string clsCommon::ChkPathBS(std::string_view vPath)
{
    if (!vPath.empty() && IsSep(vPath.back()))
        return std::string(vPath);
    // Keep the separator the text already uses, so "C:\Img" gains a "\".
    char sep = NativeSeparator();
    const std::size_t last = vPath.find_last_of("\\/");
    if (last != std::string_view::npos)
        sep = vPath[last];
    return std::string(vPath) + sep;
}

std::string clsCommon::TrimDir(std::string_view vStr)
{
    if (IsBlankOnly(vStr))
        return {};
    const std::size_t last = vStr.find_last_of("\\/");
    if (last == std::string_view::npos)
        return {};
    return std::string(vStr.substr(0, last + 1));
}

std::string clsCommon::TrimDirFname(std::string_view vStr)
{
    if (IsBlankOnly(vStr))
        return {};
    const auto dot = ExtensionDot(vStr);
    return std::string(dot ? vStr.substr(0, *dot) : vStr);
}

std::string clsCommon::TrimExt(std::string_view vStr)
{
    if (IsBlankOnly(vStr))
        return {};
    const auto dot = ExtensionDot(vStr);
    return dot ? std::string(vStr.substr(*dot + 1)) : std::string();
}

std::string clsCommon::GetWindowsDir()
{
    return VBHTTrim(WindowsDir());
}

namespace {

// Can the title bar be grabbed on this area: its whole height inside, and at
// least span of its width (all of a narrower window)?
bool TitleReachable(const FormRect& r, const FormRect& area, const TitleBar& title)
{
    const double overlap =
        std::min(r.left + r.width, area.left + area.width) - std::max(r.left, area.left);
    return r.top >= area.top && r.top + title.height <= area.top + area.height &&
           overlap >= std::min(title.span, r.width);
}

// How far the title bar's middle lies from the area (0 inside it).
double DistanceToArea(const FormRect& r, const FormRect& area)
{
    const double x = r.left + r.width / 2, y = r.top;
    const double dx = std::max({area.left - x, 0.0, x - (area.left + area.width)});
    const double dy = std::max({area.top - y, 0.0, y - (area.top + area.height)});
    return std::hypot(dx, dy);
}

} // namespace

void clsCommon::ChkFormPos(FormRect& rForm, const std::vector<FormRect>& areas, double limitX,
                           double limitY, const TitleBar& title)
{
    if (areas.empty())
        return;
    rForm.left = std::clamp(rForm.left, -limitX, limitX);
    rForm.top = std::clamp(rForm.top, -limitY, limitY);
    // The area it is on, else the nearest one (the primary on a tie).
    const auto on = std::find_if(areas.begin(), areas.end(), [&](const FormRect& a) {
        return TitleReachable(rForm, a, title);
    });
    const FormRect& area =
        on != areas.end()
            ? *on
            : *std::min_element(areas.begin(), areas.end(),
                                [&](const FormRect& a, const FormRect& b) {
                                    return DistanceToArea(rForm, a) < DistanceToArea(rForm, b);
                                });
    rForm.width = std::clamp(rForm.width, 0.0, area.width);
    rForm.height = std::clamp(rForm.height, 0.0, area.height);
    if (TitleReachable(rForm, area, title))
        return;
    // Out of reach on one side: brought in whole on that side, as a window
    // beyond the right edge has always come back with its right edge on it.
    const double span = std::min(title.span, rForm.width);
    if (rForm.left > area.left + area.width - span)
        rForm.left = area.left + area.width - rForm.width;
    else if (rForm.left + rForm.width < area.left + span)
        rForm.left = area.left;
    if (rForm.top < area.top || rForm.top + title.height > area.top + area.height)
        rForm.top = area.top;
}

} // namespace velmix
