// SPDX-License-Identifier: MIT
#pragma once
// The windows the main window opens: the tile window, the library window,
// the options dialog and the brightness dialog, each made when first needed
// and hooked up here to what it works on (the document, the export options,
// the settings keeper, the undo keys), so that the main window only opens
// them.

#include "core/document.h"
#include "core/exportoptions.h"
#include "main/module1.h"

#include <QStringList>

#include <memory>

class QWidget;

namespace velmix {

class Dialogs;
class SettingsKeeper;
class UndoMenu;
class frmLD;
class frmLibrary;
class frmOption;
class frmTile;

class OpenedWindows
{
public:
    // main: the window that opens them; they take its icon and its menus'
    // keys, and the dialogs are its own.
    OpenedWindows(Dialogs& dialogs, GradDocument& doc, ExportOptions& options, Module1& state,
                  SettingsKeeper& settings, UndoMenu& undo, QWidget& main);
    ~OpenedWindows();

    frmTile& tile();
    // The library window, made (reading the library folders) when first asked.
    frmLibrary& library();
    // Set up for the gradient and the command as they stand.
    frmOption& option();
    frmLD& ld();

    // Shown, restored from the task bar, raised and drawn.
    void openTile();
    // The first showing beside the main window.
    void openLibrary();
    // Every gradient the files hold goes into the library; the first is
    // applied (an SVG of several gives its first). A failure is said over
    // the main window.
    void importFiles(const QStringList& files);
    // At the end: the main window closes, the others go with it.
    void hide();

private:
    Dialogs& m_dialogs;
    GradDocument& m_doc;
    ExportOptions& m_options;
    Module1& m;
    SettingsKeeper& m_settings;
    UndoMenu& m_undo;
    QWidget& m_main;
    std::unique_ptr<frmTile> m_tile;
    std::unique_ptr<frmOption> m_option;
    std::unique_ptr<frmLD> m_ld;
    std::unique_ptr<frmLibrary> m_library;
};

} // namespace velmix
