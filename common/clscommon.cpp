// SPDX-License-Identifier: MIT
#include "clscommon.h"

#include "numtext.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmix {

namespace {

#ifdef _WIN32
constexpr char kNativeSep = '\\';
#else
constexpr char kNativeSep = '/';
#endif

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
    char sep = kNativeSep;
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
#ifdef _WIN32
    std::string buf(255, '\0');
    GetWindowsDirectoryA(buf.data(), 255);
    return VBHTTrim(buf);
#else
    return {};
#endif
}

void clsCommon::ChkFormPos(FormRect& rForm, double screenWidth, double screenHeight)
{
    // Compared as single-precision values, as the stored places are.
    if (static_cast<float>(rForm.left) > static_cast<float>(screenWidth))
        rForm.left = screenWidth - rForm.width;
    if (static_cast<float>(rForm.top) > static_cast<float>(screenHeight))
        rForm.top = 0;
}

void clsCommon::ChkFormPos(FormRect& rForm, const std::vector<FormRect>& screens, double limitX,
                           double limitY)
{
    if (screens.empty())
        return;
    double minX = screens[0].left, minY = screens[0].top;
    double maxX = minX + screens[0].width, maxY = minY + screens[0].height;
    for (const FormRect& s : screens) {
        minX = std::min(minX, s.left);
        minY = std::min(minY, s.top);
        maxX = std::max(maxX, s.left + s.width);
        maxY = std::max(maxY, s.top + s.height);
    }
    rForm.width = std::clamp(rForm.width, 0.0, maxX - minX);
    rForm.height = std::clamp(rForm.height, 0.0, maxY - minY);
    rForm.left = std::clamp(rForm.left, -limitX, limitX);
    rForm.top = std::clamp(rForm.top, -limitY, limitY);
    const FormRect& primary = screens[0];
    ChkFormPos(rForm, primary.width, primary.height);
    const bool titleOnScreen = std::any_of(screens.begin(), screens.end(), [&](const FormRect& s) {
        return rForm.top >= s.top && rForm.top < s.top + s.height &&
               rForm.left < s.left + s.width && rForm.left + std::max(rForm.width, 1.0) > s.left;
    });
    if (!titleOnScreen) {
        rForm.left = std::clamp(rForm.left, primary.left,
                                std::max(primary.left, primary.left + primary.width - rForm.width));
        rForm.top = std::clamp(rForm.top, primary.top,
                               std::max(primary.top, primary.top + primary.height - rForm.height));
    }
}

} // namespace velmix
