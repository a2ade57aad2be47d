// SPDX-License-Identifier: MIT
#include "core/exportoptions.h"

#include <algorithm>

namespace velmix {

namespace {

// The thickness and its box, as a restore step sets them and its undo sets
// them back; the dither and the command stay as they are.
ExportChoice WithThickness(ExportChoice value, const ExportChoice& from)
{
    value.thicknessOn = from.thicknessOn;
    value.thicknessText = from.thicknessText;
    value.saveHeight = from.saveHeight;
    return value;
}

} // namespace

ExportOptions::ExportOptions(GradDocument& doc) : m_doc(doc)
{
    doc.listen([this](unsigned aspects) { followHistory(aspects); });
}

void ExportOptions::set(const ExportChoice& value)
{
    if (value == m_value)
        return;
    m_value = value;
    for (const Listener& listener : m_listeners)
        listener();
}

void ExportOptions::resetThickness()
{
    ExportChoice next = m_value;
    next.thicknessOn = false;
    next.thicknessText = 100;
    set(next);
}

int ExportOptions::thickness() const
{
    return std::clamp(m_value.thicknessOn ? m_value.saveHeight : m_doc.orientation() + 1, 1,
                      kMaxThickness);
}

void ExportOptions::restore(const EditState& state, bool thicknessOn, int saveHeight)
{
    // As the dialog's controls would take it: the number typed, then the
    // box, which when it changes reports its thickness afresh.
    ExportChoice after = m_value;
    after.thicknessText = saveHeight;
    after.saveHeight = saveHeight;
    if (after.thicknessOn != thicknessOn) {
        after.thicknessOn = thicknessOn;
        after.saveHeight = thicknessOn ? saveHeight : m_doc.orientation() + 1;
    }
    const ExportChoice before = m_value;
    // A restore that changes nothing is no step, and undo passes it by.
    m_restoring = true;
    m_restoreRecorded = false;
    m_doc.restore(state);
    m_restoring = false;
    if (m_restoreRecorded)
        m_done.push_back({before, after});
    set(after);
}

void ExportOptions::followHistory(unsigned aspects)
{
    if (!(aspects & GradDocument::kHistory))
        return;
    const GradDocument::Move* move = m_doc.lastMove();
    if (move == nullptr) {
        // A new step: what could be redone is gone.
        m_undone.clear();
        m_restoreRecorded = m_restoring;
        return;
    }
    if (move->step != EditStep::Restore)
        return;
    std::vector<Restored>& from = move->back ? m_done : m_undone;
    std::vector<Restored>& to = move->back ? m_undone : m_done;
    if (from.empty())
        return;
    const Restored r = from.back();
    from.pop_back();
    to.push_back(r);
    set(WithThickness(m_value, move->back ? r.before : r.after));
}

} // namespace velmix
