// SPDX-License-Identifier: MIT
#pragma once
// Stateless helpers every window shares: key filters and the range clamp of
// number boxes, cleaning of fixed-size buffers, path splitting and the
// on-screen check of a stored window place. Texts are UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmix {

// What CheckTextRange needs of a text box; the windows adapt a QLineEdit.
class TextHolder
{
public:
    virtual ~TextHolder() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

struct FormRect
{
    double left = 0, top = 0, width = 0, height = 0;
};

// What of a window's title bar must stay on a screen: its height, and how
// much of its width.
struct TitleBar
{
    double height = 0, span = 0;
};

class clsCommon
{
public:
    // Key filters: return the key, or 0 to swallow it.
    static std::int16_t CheckNum(std::int16_t vChr);
    static std::int16_t CheckNumInt(std::int16_t vChr);
    // The plain character of a full-width one, as an input method in Japanese
    // mode commits digits and signs ("５" is "5", "－" is "-"); any other
    // character as it is. The key filters then take it as typed.
    static char16_t HalfWidth(char16_t vChr);
    static void CheckTextRange(TextHolder& rTxt, double vMax, std::optional<double> vMin = {});
    static std::string VBHTTrim(std::string_view Incoming);

    static std::string ChkPathBS(std::string_view vPath);
    static std::string TrimDir(std::string_view vStr);
    static std::string TrimDirFname(std::string_view vStr);
    static std::string TrimExt(std::string_view vStr);
    // Empty where there is no Windows folder.
    static std::string GetWindowsDir();

    // Brings a window's frame (rForm: its outer rectangle) where its title bar
    // can be grabbed: on one of the areas (the screens' available areas, the
    // primary first; all in one unit), its top edge and title.span of its
    // title bar inside. A window out of reach goes to the area nearest its
    // title bar, shrunk to that area where larger, and is brought in whole on
    // the side it was out. Left and top stay within +-limitX/Y, what the
    // window system holds.
    static void ChkFormPos(FormRect& rForm, const std::vector<FormRect>& areas, double limitX,
                           double limitY, const TitleBar& title);
};

} // namespace velmix
