// SPDX-License-Identifier: MIT
#include "core/document.h"

#include <algorithm>

namespace velmix {

namespace {

// A step's kind as the history keeps it.
int Label(EditStep step)
{
    return static_cast<int>(step);
}

unsigned Differences(const EditState& a, const EditState& b)
{
    return (a.points == b.points ? 0U : GradDocument::kPoints) |
           (a.size == b.size ? 0U : GradDocument::kSize) |
           (a.orientation == b.orientation ? 0U : GradDocument::kOrientation);
}

// Positions inside the slider's range, at least one point on: the state every
// view can show without refusing any of it.
EditState Sound(EditState s)
{
    for (int& p : s.points.position)
        p = std::clamp(p, 0, kMaxPosition);
    if (s.points.enabledCount() == 0)
        s.points.enabled[0] = true;
    s.size = std::clamp(s.size, 0, kMaxImageSize);
    s.orientation = s.orientation == 0 ? 0 : 1;
    return s;
}

} // namespace

EditState StartupState()
{
    return {StartupPoints(), 100, 0};
}

GradDocument::GradDocument(std::size_t undoLimit, EditHistory::Clock clock)
    : m_state(StartupState()), m_history(m_state, undoLimit, std::move(clock))
{
}

void GradDocument::reset(const EditState& state)
{
    m_state = Sound(state);
    m_state.size = imageSize();
    m_history.restart(m_state);
    // Every view shows all of it afresh.
    announce(kPoints | kSize | kOrientation | kHistory);
}

bool GradDocument::setEnabled(int index, bool on)
{
    EditState next = m_state;
    next.points.enabled[static_cast<std::size_t>(index)] = on;
    if (next.points.enabledCount() == 0)
        return false;
    const EditStep step = EditStep::Check;
    change(next, &step, EditHistory::kNoMerge);
    return true;
}

void GradDocument::setPosition(int index, int position, int mergeKey)
{
    EditState next = m_state;
    next.points.position[static_cast<std::size_t>(index)] = position;
    const EditStep step = EditStep::Slider;
    change(next, &step, mergeKey);
}

void GradDocument::setColour(int index, Colour colour)
{
    EditState next = m_state;
    next.points.color[static_cast<std::size_t>(index)] = colour;
    const EditStep step = EditStep::Colour;
    change(next, &step, EditHistory::kNoMerge);
}

void GradDocument::setOrientation(int orientation)
{
    EditState next = m_state;
    next.orientation = orientation;
    const EditStep step = EditStep::Orientation;
    change(next, &step, EditHistory::kNoMerge);
}

void GradDocument::setBlend(Blend blend)
{
    EditState next = m_state;
    next.points.blend = blend;
    const EditStep step = EditStep::Blend;
    change(next, &step, EditHistory::kNoMerge);
}

void GradDocument::setPoints(const GradPoints& points, EditStep step)
{
    EditState next = m_state;
    next.points = points;
    change(next, &step, EditHistory::kNoMerge);
}

void GradDocument::restore(const EditState& state)
{
    const EditStep step = EditStep::Restore;
    change(state, &step, EditHistory::kNoMerge);
}

void GradDocument::draftSize(int size)
{
    EditState next = m_state;
    next.size = size;
    change(next, nullptr, EditHistory::kNoMerge);
}

void GradDocument::draftPoints(const GradPoints& points)
{
    EditState next = m_state;
    next.points = points;
    change(next, nullptr, EditHistory::kNoMerge);
}

void GradDocument::commit(EditStep step, int mergeKey)
{
    change(m_state, &step, mergeKey);
}

bool GradDocument::undo()
{
    return step(true);
}

bool GradDocument::redo()
{
    return step(false);
}

bool GradDocument::step(bool back)
{
    // A size still being typed is finished first: undo takes it back.
    if (m_state.size != m_history.current().size)
        commit(EditStep::Size);
    if (back ? !m_history.canUndo() : !m_history.canRedo())
        return false;
    const EditState before = m_state;
    m_move =
        Move{static_cast<EditStep>(back ? m_history.undoLabel() : m_history.redoLabel()), back};
    m_state = back ? m_history.undo() : m_history.redo();
    announce(Differences(before, m_state) | kHistory);
    m_move.reset();
    return true;
}

const std::vector<Colour>& GradDocument::line(int length) const
{
    auto it = m_lines.find(length);
    if (it == m_lines.end()) {
        // The views ask for two or three lengths; a size stepped through
        // many between two colour changes must not keep a line for each.
        if (m_lines.size() >= 4)
            m_lines.clear();
        it = m_lines.emplace(length, DrawGrad(m_state.points, length)).first;
    }
    return it->second;
}

void GradDocument::change(const EditState& wanted, const EditStep* step, int mergeKey)
{
    EditState next = Sound(wanted);
    // Any change but a typed size finishes the size: the smallest image is
    // 4 pixels.
    if (step != nullptr)
        next.size = std::clamp(next.size, kMinImageSize, kMaxImageSize);
    const unsigned changed = Differences(m_state, next);
    m_state = next;
    const bool recorded = step != nullptr && m_history.record(m_state, Label(*step), mergeKey);
    if (changed != 0 || recorded)
        announce(changed | (recorded ? kHistory : 0U));
}

void GradDocument::announce(unsigned aspects)
{
    if (aspects & kPoints)
        m_lines.clear();
    ++m_revision;
    for (const Listener& listener : m_listeners)
        listener(aspects);
}

} // namespace velmix
