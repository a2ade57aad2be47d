// SPDX-License-Identifier: MIT
#pragma once
// The undo history: every edit step is kept as the whole edit state it left
// behind, so undoing or redoing a step is applying one state, exactly, and no
// step needs to know how to reverse itself.

#include "core/gradient.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>

namespace velmix {

// What undo restores: the points, the image size and the orientation. The
// remembered slot and the save options are not part of it.
struct EditState
{
    GradPoints points;
    int size = 100;
    int orientation = 0;

    bool operator==(const EditState&) const = default;
};

class EditHistory
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::size_t kDefaultLimit = 100;
    static constexpr int kNoMerge = -1;
    // Repeated steps of one control closer together than this are one step.
    static constexpr std::chrono::milliseconds kMergeWindow{1000};

    // start: the state before the first step. The clock decides merging; the
    // default is the steady clock.
    explicit EditHistory(const EditState& start, std::size_t limit = kDefaultLimit,
                         Clock clock = {});

    // The gradient is now `state` after a step called `label` (the caller's
    // own number). A state equal to the current one is no step. A step with
    // the same merge key as the step before, within the merge window and with
    // nothing undone in between, becomes part of it; a merged step that comes
    // back to where it started disappears. A new step drops what could be
    // redone; beyond the limit the oldest step is forgotten.
    // Returns whether the history changed.
    bool record(const EditState& state, int label, int mergeKey = kNoMerge);

    const EditState& current() const;
    // Forgets every step: `start` is the state before the next one.
    void restart(const EditState& start);
    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // The labels of the steps undo and redo would take back or do again.
    int undoLabel() const { return m_steps[m_done - 1].label; }
    int redoLabel() const { return m_steps[m_done].label; }
    std::size_t undoCount() const { return m_done; }
    std::size_t redoCount() const { return m_steps.size() - m_done; }

    // Step back or forward and return the state to apply. Only when
    // canUndo() / canRedo().
    const EditState& undo();
    const EditState& redo();

private:
    struct Step
    {
        EditState after;
        int label;
        int mergeKey;
    };

    const EditState& before(std::size_t step) const;

    EditState m_start;
    std::deque<Step> m_steps;
    std::size_t m_done = 0; // steps in effect; the rest can be redone
    std::size_t m_limit;
    Clock m_clock;
    bool m_mergeOpen = false;
    std::chrono::steady_clock::time_point m_lastStep{};
};

} // namespace velmix
