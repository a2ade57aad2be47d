// SPDX-License-Identifier: MIT
#include "main/settingskeeper.h"

#include "common/dialogs.h"
#include "common/failuretext.h"
#include "main/frameplacer.h"

#include <QEvent>
#include <QWidget>

#include <iostream>

namespace velmix {

namespace {

// How long a changed setting waits before it is written: a killed program
// loses at most this much, and a drag or a burst of clicks is one write.
constexpr int kSettingsDelayMs = 1000;

} // namespace

SettingsKeeper::SettingsKeeper(Dialogs& dialogs, QWidget* owner)
    : m_dialogs(dialogs), m_owner(owner)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kSettingsDelayMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { write(true); });
}

SettingsKeeper::~SettingsKeeper() = default;

std::optional<Settings> SettingsKeeper::read(const QString& programDir, const QString& userDir,
                                             bool besideProgram)
{
    m_ini.SetIniPath(besideProgram ? programDir : QString(), userDir);
    return m_ini.LoadIni();
}

void SettingsKeeper::setBaseline(const Settings& s, const Settings& stored)
{
    // A place mended at start-up is a change.
    Settings baseline = s;
    baseline.mainPlace = stored.mainPlace;
    baseline.tilePlace = stored.tilePlace;
    m_ini.SetBaseline(baseline);
}

void SettingsKeeper::keepPlace(QWidget* window, bool sized, const QWidget* guide)
{
    auto* placer = new FramePlacer(window, sized);
    if (guide != nullptr)
        placer->setGuide(guide);
    m_kept.push_back({window, placer, sized, std::nullopt});
}

void SettingsKeeper::watch(QWidget* window)
{
    window->installEventFilter(this);
}

void SettingsKeeper::placeFromFile(QWidget* window, const WindowPlace& place)
{
    Kept* k = kept(window);
    k->stored = place;
    if (PlaceFromFile(window, k->placer, place, k->sized))
        k->stored.reset();
}

SettingsKeeper::Kept* SettingsKeeper::kept(const QWidget* window)
{
    for (Kept& k : m_kept)
        if (k.window == window)
            return &k;
    return nullptr;
}

Settings SettingsKeeper::collect()
{
    Settings s = m_collect();
    if (m_kept.size() > 0)
        s.mainPlace = PlaceToWrite(m_kept[0].window, m_kept[0].placer, m_kept[0].stored);
    if (m_kept.size() > 1)
        s.tilePlace = PlaceToWrite(m_kept[1].window, m_kept[1].placer, m_kept[1].stored);
    return s;
}

bool SettingsKeeper::eventFilter(QObject* watched, QEvent* event)
{
    // A moved or resized window is a place to keep.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        kept(qobject_cast<QWidget*>(watched)) != nullptr)
        touched();
    return QObject::eventFilter(watched, event);
}

void SettingsKeeper::touched()
{
    if (!m_finished && !m_timer.isActive())
        m_timer.start();
}

bool SettingsKeeper::write(bool quiet)
{
    const Settings s = collect();
    // Nothing new to keep: the file is left alone.
    if (quiet && m_ini.UnsavedUnits(s) == 0)
        return true;
    // Only what this run changed: another running copy may have written the
    // rest since start-up. A failure during the run waits for the next change.
    const Result written = m_ini.SaveIni(s);
    if (!quiet)
        report(written);
    return written.ok();
}

bool SettingsKeeper::writeUnits(SettingsUnits units)
{
    const Result written = m_ini.SaveUnits(collect(), units);
    report(written);
    return written.ok();
}

void SettingsKeeper::writeUnattended()
{
    if (m_finished)
        return;
    // Nobody to ask: at logout or without a display a message box would
    // only hold up the end.
    if (const Result written = m_ini.SaveIni(collect()); !written.ok())
        sayWriteFailed(written);
}

void SettingsKeeper::finish(bool unattended)
{
    if (m_finished)
        return;
    m_unattended = unattended;
    m_timer.stop();
    write(false);
    m_finished = true;
}

void SettingsKeeper::report(const Result& written)
{
    if (written.ok())
        return;
    // At logout, on a signal or without a display nobody answers a box.
    if (m_unattended)
        sayWriteFailed(written);
    else
        m_dialogs.message(m_owner, MsgIcon::Error, ResultText(written));
}

void SettingsKeeper::sayWriteFailed(const Result& failed) const
{
    std::cerr << "velmix: cannot write " << m_ini.IniPath().toStdString() << ": "
              << failed.failure().detail << "\n";
}

} // namespace velmix
