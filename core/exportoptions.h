// SPDX-License-Identifier: MIT
#pragma once
// What a save or copy takes besides the gradient: the thickness across it
// and its check box, the dither, and whether the last command was a save or
// a copy. One owner beside the document: the options dialog edits it, the
// tile window shows it, the settings file keeps its dither and the
// remembered state its thickness. Restoring the remembered state sets the
// thickness as part of that step: undoing the step sets it back.

#include "core/document.h"
#include "core/webgrad.h"

#include <functional>
#include <vector>

namespace velmix {

struct ExportChoice
{
    bool thicknessOn = false; // the thickness box: off exports the thin strip
    int thicknessText = 100;  // the number typed beside it
    // The thickness last reported (the typed number, or the thin strip's
    // when the box was off as the dialog was shown); the remembered state
    // keeps it.
    int saveHeight = 1;
    bool dither = false;  // BMP, PNG and clipboard images dithered
    bool saveMode = true; // the last command: a file, or else the clipboard
    CssPage page;         // the CSS rule's selector and repeat

    bool operator==(const ExportChoice&) const = default;
};

class ExportOptions
{
public:
    using Listener = std::function<void()>;

    // Follows the document's undo and redo of the restore steps.
    explicit ExportOptions(GradDocument& doc);

    const ExportChoice& value() const { return m_value; }
    // Every listener hears of every change, once, after it is made.
    void listen(Listener listener) const { m_listeners.push_back(std::move(listener)); }
    void set(const ExportChoice& value);
    // The dialog in its design state: the box off, 100 typed.
    void resetThickness();

    // The thickness the next save or copy gets, as the options stand now.
    int thickness() const;

    // The remembered state comes back with its thickness, as one step.
    void restore(const EditState& state, bool thicknessOn, int saveHeight);

private:
    struct Restored
    {
        ExportChoice before, after;
    };
    void followHistory(unsigned aspects);

    GradDocument& m_doc;
    ExportChoice m_value;
    mutable std::vector<Listener> m_listeners;
    // The thickness around each restore step that undo or redo can reach.
    std::vector<Restored> m_done, m_undone;
    bool m_restoring = false;
    bool m_restoreRecorded = false;
};

} // namespace velmix
