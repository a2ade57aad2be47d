// SPDX-License-Identifier: MIT
#pragma once
// The gradient being edited: the one owner of the points, the image size,
// the orientation and the blend. Every change goes through it: it checks the
// change, records the undo step and tells its listeners once. The windows
// only show it and send it what the user did.

#include "core/edithistory.h"
#include "core/gradient.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace velmix {

// The kinds of undo step; the undo menu names each.
enum class EditStep
{
    Check,
    Slider,
    Colour,
    RandomUniform,
    RandomNatural,
    Brightness,
    Equal,
    Restore,
    Orientation,
    Size,
    Blend,
    Library, // a gradient of the library applied
};

class GradDocument
{
public:
    // What a change touched, as bits: listeners redraw only what they show.
    enum Aspect : unsigned
    {
        kPoints = 1,      // positions, switches, colours or the blend
        kSize = 2,        // the image size
        kOrientation = 4, // across or down
        kHistory = 8,     // what undo and redo would do
    };
    using Listener = std::function<void(unsigned aspects)>;

    explicit GradDocument(std::size_t undoLimit = EditHistory::kDefaultLimit,
                          EditHistory::Clock clock = {});

    const EditState& state() const { return m_state; }
    const GradPoints& points() const { return m_state.points; }
    int size() const { return m_state.size; }
    int orientation() const { return m_state.orientation; }
    bool vertical() const { return m_state.orientation != 0; }
    const EditHistory& history() const { return m_history; }
    // The image size a step keeps and an export uses: 4..2000. The size
    // itself may be anything from 0 while it is being typed.
    int imageSize() const { return std::clamp(m_state.size, kMinImageSize, kMaxImageSize); }

    // Every listener hears of every change, once, after it is made.
    void listen(Listener listener) const { m_listeners.push_back(std::move(listener)); }

    // Start-up: the state to edit, with an empty history.
    void reset(const EditState& state);

    // One step each. False when refused: the last enabled point cannot be
    // switched off.
    bool setEnabled(int index, bool on);
    // Repeated moves of one point close together are one step (mergeKey:
    // the point's index); kNoMerge for a move that is a step of its own
    // (one drag).
    void setPosition(int index, int position, int mergeKey = EditHistory::kNoMerge);
    void setColour(int index, Colour colour);
    void setOrientation(int orientation);
    void setBlend(Blend blend);
    // A command that computes new points (random colours, equal spacing,
    // brightness): one step of the given kind. A state without an enabled
    // point keeps the first one on.
    void setPoints(const GradPoints& points, EditStep step);
    // The remembered state comes back as one step.
    void restore(const EditState& state);

    // Live changes, shown at once and a step only when commit ends them: a
    // size being typed, the brightness dialog's preview.
    void draftSize(int size);
    void draftPoints(const GradPoints& points);
    // Ends the live changes as one step of the given kind (a size is raised
    // to the smallest); steps of one merge key close together are one.
    void commit(EditStep step, int mergeKey = EditHistory::kNoMerge);

    // False when there is nothing to undo or redo.
    bool undo();
    bool redo();
    // While undo or redo is announced: the kind of step taken back or done
    // again; null for any other change.
    struct Move
    {
        EditStep step;
        bool back;
    };
    const Move* lastMove() const { return m_move ? &*m_move : nullptr; }

    // The colours along a gradient of `length` pixels: computed once per
    // change and length, and shared by every view and export.
    const std::vector<Colour>& line(int length) const;
    // Counts the changes: a view's cache made at one revision is current
    // while it is the same.
    unsigned long revision() const { return m_revision; }

private:
    // Makes `next` the state and announces it; records a step unless step
    // is null.
    void change(const EditState& next, const EditStep* step, int mergeKey);
    void announce(unsigned aspects);
    // Undo (back) or redo.
    bool step(bool back);

    EditState m_state;
    EditHistory m_history;
    mutable std::vector<Listener> m_listeners; // listening changes nothing of the gradient
    mutable std::map<int, std::vector<Colour>> m_lines;
    unsigned long m_revision = 0;
    std::optional<Move> m_move;
};

// The start-up state: the start-up points, 100 pixels, across.
EditState StartupState();

} // namespace velmix
