// SPDX-License-Identifier: MIT
#include "main/frameplacer.h"

#include "common/clscommon.h"
#include "core/numtext.h"
#include "widgets/widgets.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cmath>

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
    if (m_window->isVisible()) {
        apply(true);
    } else if (!m_window->testAttribute(Qt::WA_WState_Created)) {
        // Moved before the window system has it, the place is the frame's
        // corner until it is shown.
        apply(false);
        m_asFrame = true;
    }
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
    // inside's, and only a move once the frame is known would mend that: a
    // race lost now and then).
    if (!mapped && !m_framedBefore && m_window->windowHandle())
        m_window->windowHandle()->setFramePosition(m_place.topLeft());
    else
        m_window->move(m_place.topLeft());
}

// Once the window manager has framed the window, its frame goes where it
// was put, should the manager have placed it elsewhere or not at all.
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
        if (framed && m_refit)
            m_put = m_place = m_refit(now);
        // A frame Qt has not seen (metacity's on a first mapping, or a busy
        // machine's) is where the window manager was asked to put it: moved by
        // its inside, it would land off by the frame's extents.
        if (!framed && m_asFrame)
            now = m_place;
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
        if (m_framedBefore)
            apply(false);
    } else if (watched == handle && event->type() == QEvent::Show && !m_framedBefore) {
        // The last moment before the window system maps it: Qt asks the
        // window manager for the frame's corner (north-west gravity) only
        // if nothing moved it by its inside since.
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

namespace {

// The title bar's height as a window manager draws it, and how much of it
// must stay on a screen to be grabbed.
constexpr int kTitleHeightPx = 24;
constexpr int kTitleSpanPx = 100;

} // namespace

bool PlaceFromFile(QWidget* window, FramePlacer* placer, const WindowPlace& place, bool sized)
{
    const double tpx = TwipsPerPixelX(window);
    const double tpy = TwipsPerPixelY(window);
    // Each screen's area that panels leave free, the primary first.
    std::vector<FormRect> areas;
    const auto addScreen = [&](const QScreen* screen) {
        const QRect g = screen->availableGeometry();
        areas.push_back({g.x() * tpx, g.y() * tpy, g.width() * tpx, g.height() * tpy});
    };
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        addScreen(primary);
    else
        areas.push_back({0, 0, 1024 * tpx, 768 * tpy});
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            addScreen(screen);
    const TitleBar title{kTitleHeightPx * tpy, kTitleSpanPx * tpx};
    // Not shown yet: the size it will open with, its own where it was given
    // one (the tile window's design size), else its layout's.
    const QSize now = window->isVisible() || window->testAttribute(Qt::WA_Resized)
                          ? window->size()
                          : window->sizeHint().expandedTo(window->minimumSize());
    // A size of 0 (a file without it) keeps the designed size.
    const bool resize = sized && place.width > 0 && place.height > 0;
    FormRect r{static_cast<double>(place.left), static_cast<double>(place.top),
               resize ? place.width : now.width() * tpx,
               resize ? place.height : now.height() * tpy};
    const FormRect asked = r;
    const auto px = [](double twips, double per) {
        return static_cast<int>(std::lround(twips / per));
    };
    // Places beyond what a window system holds (16-bit coordinates).
    const auto fit = [=](FormRect f) {
        clsCommon::ChkFormPos(f, areas, 32767 * tpx, 32767 * tpy, title);
        return f;
    };
    r = fit(r);
    placer->place(QRect(px(r.left, tpx), px(r.top, tpy), resize ? px(r.width, tpx) : now.width(),
                        resize ? px(r.height, tpy) : now.height()));
    const bool mended = r.left != asked.left || r.top != asked.top || r.width != asked.width ||
                        r.height != asked.height;
    // Brought back by the inside's width: once the frame's is known, by
    // that (a frame beyond the edge by its border is as out of reach).
    if (mended && !resize)
        placer->setRefit([=](const QRect& frame) {
            const FormRect f =
                fit({asked.left, asked.top, frame.width() * tpx, frame.height() * tpy});
            return QRect(px(f.left, tpx), px(f.top, tpy), frame.width(), frame.height());
        });
    return mended;
}

std::optional<WindowPlace> PlaceToWrite(const QWidget* window, const FramePlacer* placer,
                                        const std::optional<WindowPlace>& stored)
{
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        return stored;
    const QRect now = placer->frame();
    if (now.isNull())
        return std::nullopt;
    // A file without a size has left the size to the window.
    const bool sized = stored && stored->width > 0 && stored->height > 0;
    const auto same = [&](const QRect& r) {
        return sized ? now == r : now.topLeft() == r.topLeft() && !r.isNull();
    };
    if (stored &&
        (same(placer->placed()) || same(placer->firstMapped()) || placer->unmovedSinceMapped()))
        return stored;
    const double tpx = TwipsPerPixelX(window);
    const double tpy = TwipsPerPixelY(window);
    // Saturating: no place may come back with the other sign.
    return WindowPlace{ToInt32(now.x() * tpx), ToInt32(now.y() * tpy), ToInt32(now.width() * tpx),
                       ToInt32(now.height() * tpy)};
}

void PlaceBeside(QWidget* window, const QWidget* guide)
{
    constexpr int kGap = 8;
    const QRect main = guide->frameGeometry();
    const QRect room = guide->screen()->availableGeometry();
    const int wide = window->sizeHint().width() + (main.width() - guide->width());
    if (main.right() + kGap + wide <= room.right())
        window->move(main.right() + kGap, main.top());
    else if (main.left() - kGap - wide >= room.left())
        window->move(main.left() - kGap - wide, main.top());
}

} // namespace velmix
