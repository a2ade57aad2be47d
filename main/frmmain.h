// SPDX-License-Identifier: MIT
#pragma once
// The main window: seven rows of point controls, the preview strip and the
// image settings, with the menus of every command.
//
// How a change flows: the handlers read the sliders and check boxes and the
// colours of Module1 into a GradPoints value (currentPoints) -> the core's
// DrawGrad turns it into colours -> Preview paints them into picPrev, and
// picWorkDrawGrad into the work picture -> the tile window (PrintTile) tiles
// the work picture, and SaveImage streams it to a file or the clipboard.
// Handlers are plain methods: start-up and the bulk commands call them
// directly, the widgets' signals call the same ones. The edit commands read
// the points, let the core compute the new ones (edits.h) and hand them to
// applyPoints, which start-up and restore use too. The blend (補間) travels
// with the points (GradPoints::blend), so undo, remember and every view follow
// it; the dither box only changes how exports and the tile window's picture
// are made from the unrounded colours (MakeStrip).

#include "common/dialogs.h"
#include "common/shellexe.h"
#include "core/edithistory.h"
#include "core/edits.h"
#include "core/gradient.h"
#include "main/module1.h"
#include "settings/moduleini.h"

#include <QImage>
#include <QMainWindow>
#include <QRect>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSlider;

namespace velmix {

class FramePlacer;

class ColorBox;
class ImageBox;
class UpDown;
class frmTile;
class frmOption;
class frmLD;
class UndoMenu;
enum class EditStep;

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

    // Start-up and shutdown.
    void Form_Load();
    void Form_Unload();
    // Writes the settings file now, asking nothing and ending nothing: the
    // desktop session's save request, and the way out when the display is
    // lost. Does nothing once the window has been unloaded.
    void SaveSettingsNow();
    // Ends as the menu does, but a failed write is a line on standard error.
    void EndUnattended();
    void Form_MouseDown(Qt::MouseButton Button, int X, int Y);
    void MenuEnd_Click();

    // Point and image controls.
    void Check1_Click(int Index);
    void Slider1_Scroll(int Index);
    void Slider1_Change(int Index);
    void PicColor_Click(int Index);
    void PicColor_KeyPress(int Index, int KeyAscii);
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
    void ShowHelp(const QString& FileName);

    // Services for the other windows.
    void Preview();
    void picWorkDrawGrad();
    void SetColorBox(int Index);
    GradPoints currentPoints() const;
    // Sets every point's check box, slider and colour through their handlers
    // with the redraws held back, then redraws the preview and the tile
    // window once. A state without an enabled point keeps the last one on.
    void applyPoints(const GradPoints& points);
    void setCheck(int Index, bool on);
    // What undo keeps and restores: the points, the size and the orientation.
    EditState editState() const;
    void applyEditState(const EditState& s);
    UndoMenu& undo() { return *m_undo; }

    Module1& state() { return m; }
    Dialogs& dialogs() { return *m_env.dialogs; }
    frmTile& tile();
    frmOption& option();
    frmLD& ld();
    const QImage& picWork() const { return m_picWork; }
    ModuleINI& ini() { return m_ini; }
    // Writes these settings units to the file at once through the one writer
    // (ModuleINI::SaveUnits): the other units keep what the file holds, and
    // exit does not write these again unless they change after. A failure is
    // reported in a box. For commands whose result must outlive a crash,
    // such as remembering the state (kUnitMemory).
    bool WriteSettingsUnits(SettingsUnits units);
    QString saveFileName() const { return m_dlgSaveFileName; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
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
    QAction* MenuTile = nullptr;
    QAction* MenuPrintHelp = nullptr;
    QAction* MenuVersion = nullptr;
    QAction* mnuLanguage = nullptr;

    bool isMenuShortcut(const QKeyEvent* event) const;
    void buildControls();
    void buildMenus();
    // Every text in the current language (and the controls' room for it).
    void retranslateUi();
    void showSizeName();
    void applySettings(const Settings& s);
    Settings collectSettings();
    // A window's place to write: the stored one while the window stands
    // where that put it.
    std::optional<WindowPlace> placeOf(const QWidget* w, const FramePlacer* placer,
                                       const std::optional<WindowPlace>& stored) const;
    bool reportSettingsWrite(const Result& written);
    void sayWriteFailed(const Result& failed) const;
    void SaveImage();
    // The thickness the next save or copy will have, as the options dialog
    // stands now.
    int exportThickness();
    void onSliderValueChanged(int Index);
    // A change by the user has finished: one undo step (none inside a bulk
    // change, whose command reports its own).
    void stepDone(EditStep step, int mergeKey = EditHistory::kNoMerge);

    AppEnvironment m_env;
    Module1 m;
    ModuleINI m_ini;
    QImage m_picWork;
    std::vector<Colour> m_workLine; // the colours of m_picWork along its length
    QString m_dlgSaveFileName;
    QString m_dlgSaveType; // the extension of the last file saved: offered first
    QString m_dlgSaveInitDir;
    std::unique_ptr<frmTile> m_tile;
    std::unique_ptr<frmOption> m_option;
    std::unique_ptr<frmLD> m_ld;
    UndoMenu* m_undo = nullptr;
    std::array<bool, kPointCount> m_userSliderAction{};
    // "ja" or "en" once chosen here or in the file; empty: the locale's.
    std::string m_language;
    bool m_unloaded = false;
    bool m_unattended = false;
    FramePlacer* m_mainPlacer = nullptr;
    FramePlacer* m_tilePlacer = nullptr;
    // The windows' places from the settings file, when they were kept as
    // they stood there.
    std::optional<WindowPlace> m_mainPlace;
    std::optional<WindowPlace> m_tilePlace;
};

} // namespace velmix
