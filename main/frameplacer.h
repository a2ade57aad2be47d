// SPDX-License-Identifier: MIT
#pragma once
// Keeps a top-level window where it was put: a place is its frame's outer
// rectangle, applied and read back as the same thing, so a window nobody
// moves comes back to the same numbers run after run, whatever the window
// manager's frame.

#include "settings/settings.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <optional>

class QWidget;

namespace velmix {

class FramePlacer : public QObject
{
public:
    // sized: the window's size is part of its place (else only its corner).
    FramePlacer(QWidget* window, bool sized);

    // Where the frame goes: now if the window is shown, else when it next is.
    void place(const QRect& frame);
    // Where the frame is: on the screen if shown, else where it was put or
    // last closed; null if it has been neither.
    QRect frame() const;
    // Where it was last put (null if never).
    QRect placed() const { return m_put; }
    // The frame as the window manager first settled it, null until then.
    QRect firstMapped() const { return m_mapped; }
    // Whether the window stands where it was first settled, judged by its
    // inside: some window managers' frames Qt sees only now and then.
    bool unmovedSinceMapped() const;
    // A window whose frame is known, for a first guess at this one's.
    void setGuide(const QWidget* guide) { m_guide = guide; }
    // Where a frame of its real size goes, asked again once it is known.
    void setRefit(std::function<QRect(const QRect&)> refit) { m_refit = std::move(refit); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(bool mapped);
    void settle();
    QMargins margins() const;
    QRect shownFrame() const;

    QWidget* m_window;
    bool m_sized;
    QPointer<const QWidget> m_guide;
    std::function<QRect(const QRect&)> m_refit;
    QRect m_put;   // where place() put it
    QRect m_place; // where it goes when next shown
    QRect m_mapped;
    QRect m_mappedInside;
    QRect m_closedAt;
    QMargins m_margins; // the frame's, once the window manager has drawn it
    bool m_pending = false;
    bool m_settling = false;
    bool m_watchingHandle = false;
    bool m_framedBefore = false;
    bool m_asFrame = false; // placed before the window system had it
    int m_waited = 0;
};

// Puts the window's frame where the settings file's place says (twips), or
// where its title bar can be grabbed on one of the screens; sized: with the
// place's size. Returns whether the file's place had to be mended.
bool PlaceFromFile(QWidget* window, FramePlacer* placer, const WindowPlace& place, bool sized);

// The place to write for a window: `stored` (the file's own numbers, which
// pixels would round) while the window stands where that put it, else where
// its frame is; nullopt for a window never placed nor shown.
std::optional<WindowPlace> PlaceToWrite(const QWidget* window, const FramePlacer* placer,
                                        const std::optional<WindowPlace>& stored);

// Beside the guide window, where it covers none of the guide: to the right
// if the guide's screen has room there, else to the left, else left alone.
void PlaceBeside(QWidget* window, const QWidget* guide);

} // namespace velmix
