// SPDX-License-Identifier: MIT
#pragma once
// The main window: seven rows of point controls, the preview strip and the
// image settings, with the menus of every command.
//
// The gradient is the document's (core/document.h); this window is a view of
// it. A handler sends the user's edit to the document, which checks it,
// records the undo step and announces it; showDocument then sets every
// control from the document and redraws the preview from the document's
// line; the tile window follows the document by itself. A command that edits
// the gradient is one document call and one menu item. The export options
// (core/exportoptions.h) lie beside the document: the options dialog edits
// them, the tile window shows them, the settings file keeps them. The
// settings keeper (main/settingskeeper.h) reads and writes the file and knows
// what each unit holds; the other windows are made and hooked up by
// OpenedWindows (main/openedwindows.h), so that this one only opens them.

#include "common/dialogs.h"
#include "common/shellexe.h"
#include "core/document.h"
#include "core/edits.h"
#include "core/exportoptions.h"
#include "export/exportcommand.h"
#include "main/module1.h"
#include "main/openedwindows.h"
#include "main/settingskeeper.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSlider;

namespace velmix {

class ColorBox;
class ImageBox;
class UpDown;
class frmTile;
class frmOption;
class frmLD;
class frmLibrary;
class UndoMenu;

struct AppEnvironment
{
    Dialogs* dialogs = nullptr;
    RandomSource* random = nullptr;
    QString programDir;    // the settings file and the help folder lie here
    QString userConfigDir; // the settings file when programDir cannot take it
    // Opens a document with the desktop's handler (ShellExe); null: the desktop.
    DocumentOpener opener;
    // The undo history's length and the clock that merges repeated steps.
    std::size_t undoLimit = EditHistory::kDefaultLimit;
    EditHistory::Clock undoClock;
    // False for an installed copy: its folder is the system's, not one user's.
    bool settingsBesideProgram = true;
};

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(const AppEnvironment& env);
    ~frmMain() override;

    // Writes the changed settings now, asking nothing and ending nothing: the
    // desktop session's save request. Does nothing once the window has been
    // unloaded.
    void SaveSettingsNow();
    // Ends as the menu does, but a failed write is a line on standard error.
    void EndUnattended();

    const GradDocument& document() const { return m_doc; }
    const Module1& state() const { return m; }
    const ExportOptions& exportOptions() const { return m_export; }
    Dialogs& dialogs() { return *m_env.dialogs; }
    // The windows this one opens, made when first asked.
    frmTile& tile() { return m_windows->tile(); }
    frmOption& option() { return m_windows->option(); }
    frmLD& ld() { return m_windows->ld(); }
    frmLibrary& library() { return m_windows->library(); }
    ModuleINI& ini() { return m_settings.ini(); }
    QString saveFileName() const { return m.saveDialog.fileName; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Gradient files dropped here are imported and the first applied.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    // Start-up and shutdown.
    void Form_Load();
    void Form_Unload();
    void Form_MouseDown(Qt::MouseButton Button, int X, int Y);
    void MenuEnd_Click();

    // Point and image controls.
    void Check1_Click(int Index);
    void Slider1_Scroll(int Index);
    void Slider1_Change(int Index);
    void PicColor_Click(int Index);
    void PicColor_KeyPress(int Index, int KeyAscii);
    // Copy, paste or type the colour as text; one undo step as a colour
    // from the colour dialog.
    void PicColor_Menu(int Index, const QPoint& at);
    void picPrev_MouseMove(Qt::MouseButtons Button, int X, int Y);
    void txtSize_Change();
    int txtSize_KeyPress(int KeyAscii);
    void txtSize_LostFocus();
    void Option1_Click(int Index);
    void cmdTile_Click();
    void MenuTile_Click();

    // Edit commands.
    void mnuRandom_Click();
    void mnuRandomNatural_Click();
    void mnuLD_Click();
    void mnuEqual_Click();
    // 0: RGB, 1: OKLab (Blend's values); one undo step.
    void mnuBlend_Click(int Index);
    void mnuMemorySave_Click();
    void mnuMemoryLoad_Click();
    void mnuLibrary_Click();

    // Export.
    void CmdSave_Click();
    void MenuSave_Click();
    void mnuClipBoard_Click();
    void mnuCopyCss_Click();

    // Help.
    void MenuPrintHelp_Click();
    void MenuVersion_Click();
    // Japanese to English and back, at once, kept in the settings file.
    void mnuLanguage_Click();

private:
    // The controls; others find them by object name (a row's as Check1_3).
    std::array<QCheckBox*, kPointCount> Check1{};
    std::array<QSlider*, kPointCount> Slider1{};
    std::array<QLabel*, kPointCount> LabLocate{};
    std::array<ColorBox*, kPointCount> PicColor{};
    std::array<QLabel*, kPointCount> LabX{};
    std::array<QLabel*, std::size_t{3} * kPointCount> LabColor{};
    std::array<QLabel*, 3> LabRGB{};
    QLabel* LabEnabled = nullptr;
    QLabel* LabPrev = nullptr;
    ImageBox* picPrev = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    QLabel* labSize = nullptr;
    QLineEdit* txtSize = nullptr;
    UpDown* UpDown1 = nullptr;
    QPushButton* CmdSave = nullptr;
    QPushButton* cmdTile = nullptr;
    QWidget* surface = nullptr;

    QMenu* MenuFile = nullptr;
    QMenu* mnuGradEdit = nullptr;
    QMenu* MenuGrad = nullptr;
    QMenu* MenuHelp = nullptr;
    QAction* MenuSave = nullptr;
    QAction* mnuClipBoard = nullptr;
    QAction* mnuCopyCss = nullptr;
    QAction* MenuEnd = nullptr;
    QAction* mnuRandom = nullptr;
    QAction* mnuRandomNatural = nullptr;
    QAction* mnuLD = nullptr;
    QAction* mnuEqual = nullptr;
    QMenu* mnuBlend = nullptr;
    std::array<QAction*, 2> mnuBlendKind{};
    QAction* mnuMemorySave = nullptr;
    QAction* mnuMemoryLoad = nullptr;
    QAction* mnuLibrary = nullptr;
    QAction* MenuTile = nullptr;
    QAction* MenuPrintHelp = nullptr;
    QAction* MenuVersion = nullptr;
    QAction* mnuLanguage = nullptr;

    // The form (frmmainui.cpp): controls, menus, texts.
    void buildControls();
    void buildMenus();
    void nameControls();
    // Every text in the current language (and the controls' room for it).
    void retranslateUi();
    void showSizeName();
    void paintRule();

    // Sets the controls from the document after a change.
    void showDocument(unsigned aspects);
    void showPoint(int Index);
    void Preview();
    bool isMenuShortcut(const QKeyEvent* event) const;

    // A save (true) or a copy through the options dialog.
    void SaveImage(bool save);
    ExportInput exportInput() const;

    AppEnvironment m_env;
    GradDocument m_doc;
    ExportOptions m_export{m_doc};
    Module1 m;
    SettingsKeeper m_settings{*m_env.dialogs, this, m_doc, m_export, m};
    std::unique_ptr<OpenedWindows> m_windows;
    UndoMenu* m_undo = nullptr;
    std::array<bool, kPointCount> m_userSliderAction{};
    bool m_unattended = false;
};

} // namespace velmix
