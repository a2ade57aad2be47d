// SPDX-License-Identifier: MIT
#pragma once
// A colour box's colour as text: its context menu copies it as #rrggbb,
// pastes any CSS colour from the clipboard and opens ColourEntry, where one
// is typed. What it takes goes to `apply`, as a colour the colour dialog
// chose would.

#include "common/dialogs.h"
#include "core/gradient.h"

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace velmix {

class ColorBox;

// A line for a CSS colour, a swatch that follows it and, while the text is
// no colour, a line that says so in place of the OK button's use.
class ColourEntry : public QDialog
{
    Q_OBJECT
public:
    ColourEntry(QWidget* parent, Colour initial);
    // The colour typed, as it stands.
    std::optional<Colour> colour() const { return m_colour; }
    // The refusal of text that is no colour.
    static QString refusal(const QString& text);

private:
    void follow();

    QLineEdit* m_text = nullptr;
    ColorBox* m_swatch = nullptr;
    QLabel* m_error = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    std::optional<Colour> m_colour;
};

// The menu of a colour box at `at` (global); nothing for a disabled box.
void ColourBoxMenu(ColorBox* box, Dialogs& dialogs, const QPoint& at,
                   const std::function<void(Colour)>& apply);

} // namespace velmix
