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

class clsCommon
{
public:
    // Key filters: return the key, or 0 to swallow it.
    static std::int16_t CheckNum(std::int16_t vChr);
    static std::int16_t CheckNumInt(std::int16_t vChr);
    static void CheckTextRange(TextHolder& rTxt, double vMax, std::optional<double> vMin = {});
    static std::string VBHTTrim(std::string_view Incoming);

    static std::string ChkPathBS(std::string_view vPath);
    static std::string TrimDir(std::string_view vStr);
    static std::string TrimDirFname(std::string_view vStr);
    static std::string TrimExt(std::string_view vStr);
    // Empty where there is no Windows folder.
    static std::string GetWindowsDir();

    static void ChkFormPos(FormRect& rForm, double screenWidth, double screenHeight);
    // A stored place as the window system can hold it, then the check above
    // against the primary screen (screens[0]; all in one unit): the size no
    // larger than the screens together, left and top within +-limitX/Y, and a
    // window whose top edge (its title bar) would lie on no screen brought
    // onto the primary one. Negative places on a screen left of or above the
    // primary one stay.
    static void ChkFormPos(FormRect& rForm, const std::vector<FormRect>& screens, double limitX,
                           double limitY);
};

} // namespace velmix
