// SPDX-License-Identifier: MIT
#pragma once
// The keeper of the settings file: reads it at start-up, writes what changed
// within a second of the change and at the end, and keeps the windows'
// places. The windows hand it what they hold (the collector) and their
// places, and get their places back; none of them writes the file.

#include "settings/moduleini.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace velmix {

class Dialogs;
class FramePlacer;

class SettingsKeeper : public QObject
{
public:
    // What the program holds now, asked at every write; the places are the
    // keeper's own and filled in by it.
    using Collector = std::function<Settings()>;

    // owner: the window a failure's message box belongs to.
    SettingsKeeper(Dialogs& dialogs, QWidget* owner);
    ~SettingsKeeper() override;

    ModuleINI& ini() { return m_ini; }
    // Beside the program when it can be written there (besideProgram), else
    // in userDir; nullopt when there is no file or it cannot be read.
    std::optional<Settings> read(const QString& programDir, const QString& userDir,
                                 bool besideProgram);
    void setCollector(Collector collect) { m_collect = std::move(collect); }
    // What a unit still holds at exit was not changed by this run.
    void setBaseline(const Settings& s, const Settings& stored);

    // A window whose place is kept (sized: its size too). guide: a window
    // whose frame is known, for a first guess at this one's.
    void keepPlace(QWidget* window, bool sized, const QWidget* guide = nullptr);
    // From now on the window's moves and resizes are changes.
    void watch(QWidget* window);
    // Puts the window where the file's place says; a place that had to be
    // mended is a change.
    void placeFromFile(QWidget* window, const WindowPlace& place);

    // Something the file keeps may have changed: written within a second.
    void touched();
    // Writes what changed; quiet: true during the run, where a failure waits
    // for the next change and is reported at exit.
    bool write(bool quiet);
    // Writes only these units now, reporting a failure.
    bool writeUnits(SettingsUnits units);
    // The desktop session's save: nobody answers a message box.
    void writeUnattended();
    // At exit: writes, then nothing more. unattended: a failure is a line
    // on standard error, not a message box.
    void finish(bool unattended);
    bool finished() const { return m_finished; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Kept
    {
        QWidget* window;
        FramePlacer* placer;
        bool sized;
        std::optional<WindowPlace> stored; // the file's, while it stands there
    };
    Settings collect();
    Kept* kept(const QWidget* window);
    void report(const Result& written);
    void sayWriteFailed(const Result& failed) const;

    Dialogs& m_dialogs;
    QWidget* m_owner;
    ModuleINI m_ini;
    Collector m_collect;
    QTimer m_timer;
    std::vector<Kept> m_kept; // the main window first, then the tile window
    bool m_finished = false;
    bool m_unattended = false;
};

} // namespace velmix
