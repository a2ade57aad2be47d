// SPDX-License-Identifier: MIT
#include "main/frameplacer.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace velmix {

namespace {

// The window manager frames a new window a little after it is mapped; until
// then what the window system reports is not yet its place.
constexpr int kPollMs = 50;
constexpr int kFrameWaitMs = 2000;

QMargins FrameOf(const QWidget* w)
{
    const QRect outer = w->frameGeometry(), inner = w->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace

FramePlacer::FramePlacer(QWidget* window, bool sized)
    : QObject(window), m_window(window), m_sized(sized)
{
    window->installEventFilter(this);
}

void FramePlacer::place(const QRect& frame)
{
    m_put = m_place = frame;
    m_pending = true;
    if (m_window->isVisible())
        apply(true);
}

QRect FramePlacer::frame() const
{
    return m_window->isVisible() ? shownFrame() : m_place;
}

// Qt forgets a frame now and then (around a close, a focus change) and
// reports the inside as the frame; the frame it had is still there.
QRect FramePlacer::shownFrame() const
{
    const QRect inner = m_window->geometry();
    const QRect outer = m_window->frameGeometry();
    return outer == inner ? inner.marginsAdded(m_margins) : outer;
}

bool FramePlacer::unmovedSinceMapped() const
{
    return !m_mappedInside.isNull() && m_window->isVisible() &&
           m_window->geometry() == m_mappedInside;
}

QMargins FramePlacer::margins() const
{
    if (!m_margins.isNull() || !m_guide || !m_guide->isVisible())
        return m_margins;
    return FrameOf(m_guide);
}

void FramePlacer::apply(bool mapped)
{
    if (!m_pending || m_place.isNull())
        return;
    if (m_sized)
        m_window->resize(m_place.size().shrunkBy(margins()));
    // Qt moves a window that has had a frame by its inside, to where its
    // frame's corner goes. Before the first mapping, the window manager is
    // asked to put the frame's corner there (a move would ask it for the
    // inside's).
    if (!mapped && !m_framedBefore && m_window->windowHandle())
        m_window->windowHandle()->setFramePosition(m_place.topLeft());
    else
        m_window->move(m_place.topLeft());
}

// Once the window manager has framed the window, its frame goes where it
// was put, should the manager have placed it by its inside or not at all.
// Without a window manager no frame ever comes: the inside is the frame.
void FramePlacer::settle()
{
    if (!m_window->isVisible()) {
        m_settling = false;
        return;
    }
    QRect now = m_window->frameGeometry();
    const bool framed = now.contains(m_window->geometry()) && now != m_window->geometry();
    if (framed)
        m_margins = FrameOf(m_window);
    if (!framed && m_waited < kFrameWaitMs) {
        m_waited += kPollMs;
        QTimer::singleShot(kPollMs, this, &FramePlacer::settle);
        return;
    }
    m_settling = false;
    QRect inside = m_window->geometry();
    if (m_pending && !m_place.isNull()) {
        m_pending = false;
        if (m_sized && now.size() != m_place.size()) {
            inside.setSize(inside.size() + m_place.size() - now.size());
            m_window->resize(inside.size());
        }
        if (now.topLeft() != m_place.topLeft()) {
            inside.translate(m_place.topLeft() - now.topLeft());
            m_window->move(m_place.topLeft());
        }
        now = m_place;
    }
    if (m_mapped.isNull()) {
        m_mapped = now;
        m_mappedInside = inside;
    }
}

bool FramePlacer::eventFilter(QObject* watched, QEvent* event)
{
    QWindow* handle = m_window->windowHandle();
    if (watched == m_window && event->type() == QEvent::Show) {
        if (handle && !m_watchingHandle) {
            handle->installEventFilter(this);
            m_watchingHandle = true;
        }
        apply(false);
        m_framedBefore = true;
    } else if (watched == m_window && event->type() == QEvent::Close) {
        // Shown again, it comes back where it was closed: taken now, while
        // the window manager's frame is still around it.
        m_closedAt = shownFrame();
    } else if (watched == m_window && event->type() == QEvent::Hide && !event->spontaneous()) {
        m_place = m_closedAt.isNull() ? shownFrame() : m_closedAt;
        m_closedAt = {};
        m_pending = true;
    } else if (watched == handle && event->type() == QEvent::Expose && handle->isExposed() &&
               !m_settling) {
        m_settling = true;
        m_waited = 0;
        QTimer::singleShot(kPollMs, this, &FramePlacer::settle);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmix
