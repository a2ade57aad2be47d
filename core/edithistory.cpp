// SPDX-License-Identifier: MIT
#include "core/edithistory.h"

#include <utility>

namespace velmix {

EditHistory::EditHistory(const EditState& start, std::size_t limit, Clock clock)
    : m_start(start), m_limit(limit > 0 ? limit : 1), m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = [] { return std::chrono::steady_clock::now(); };
}

const EditState& EditHistory::before(std::size_t step) const
{
    return step == 0 ? m_start : m_steps[step - 1].after;
}

const EditState& EditHistory::current() const
{
    return before(m_done);
}

bool EditHistory::record(const EditState& state, int label, int mergeKey)
{
    if (state == current())
        return false;
    const auto now = m_clock();
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done), m_steps.end());
    if (mergeKey != kNoMerge && m_mergeOpen && m_done > 0 && m_steps.back().mergeKey == mergeKey &&
        now - m_lastStep < kMergeWindow) {
        m_lastStep = now;
        if (state == before(m_done - 1)) {
            // Back where the merged steps began: nothing is left to undo.
            m_steps.pop_back();
            --m_done;
            m_mergeOpen = false;
        } else {
            m_steps.back().after = state;
        }
        return true;
    }
    m_steps.push_back({state, label, mergeKey});
    ++m_done;
    if (m_steps.size() > m_limit) {
        m_start = m_steps.front().after;
        m_steps.pop_front();
        --m_done;
    }
    m_mergeOpen = mergeKey != kNoMerge;
    m_lastStep = now;
    return true;
}

const EditState& EditHistory::undo()
{
    m_mergeOpen = false;
    --m_done;
    return current();
}

const EditState& EditHistory::redo()
{
    m_mergeOpen = false;
    ++m_done;
    return current();
}

void EditHistory::restart(const EditState& start)
{
    m_start = start;
    m_steps.clear();
    m_done = 0;
    m_mergeOpen = false;
}

} // namespace velmix
