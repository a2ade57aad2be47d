// SPDX-License-Identifier: MIT
#pragma once
// The keeper of the settings file: reads it at start-up, writes what changed
// within a second of the change and at the end, and keeps the windows'
// places. It knows what each unit holds and where that lives: the blend in
// the document, the dither and the CSS rule in the export options, the
// sample text, the remembered state and the save folder in the program's
// state, the language here. The windows hand it their places and get them
// back; none of them writes the file.

#include "core/document.h"
#include "core/exportoptions.h"
#include "core/language.h"
#include "main/module1.h"
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
    // owner: the main window, whose place is kept first and whose message
    // box a failure gets. A change of the blend or of the export options is
    // a change to keep.
    SettingsKeeper(Dialogs& dialogs, QWidget* owner, const GradDocument& doc,
                   ExportOptions& options, Module1& state);
    ~SettingsKeeper() override;

    ModuleINI& ini() { return m_ini; }
    // Reads the file, beside the program when it can be written there
    // (besideProgram), else in userDir, and sets what it holds: the export
    // options, the program's state, the language, the windows' places (the
    // tile window made only when the file has a place of its own for it).
    // The blend to start with: the file's, else RGB.
    Blend load(const QString& programDir, const QString& userDir, bool besideProgram);
    // Makes the tile window when it is first needed.
    void setTileMaker(std::function<QWidget*()> make) { m_tile = std::move(make); }
    // Once the start-up state is shown: what a unit still holds at exit was
    // not changed by this run.
    void setBaseline();
    // The remembered state as the gradient and the thickness stand now,
    // written at once (that unit only), a failure said.
    void remember();
    // The language chosen in the menu, at once, kept in the file.
    void chooseLanguage(UiLanguage language);

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
    // What the program holds now, with the places to write.
    Settings collect();
    Kept* kept(const QWidget* window);
    void report(const Result& written);
    void sayWriteFailed(const Result& failed) const;

    Dialogs& m_dialogs;
    QWidget* m_owner;
    const GradDocument& m_doc;
    ExportOptions& m_options;
    Module1& m;
    ModuleINI m_ini;
    Settings m_stored; // as read at start-up
    std::function<QWidget*()> m_tile;
    // "ja" or "en" once chosen here or in the file; empty: the locale's.
    std::string m_language;
    QTimer m_timer;
    std::vector<Kept> m_kept; // the main window first, then the tile window
    bool m_finished = false;
    bool m_unattended = false;
};

} // namespace velmix
