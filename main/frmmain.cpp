// SPDX-License-Identifier: MIT
#include "main/frmmain.h"

#include "about/frmabout.h"
#include "common/clscommon.h"
#include "core/edits.h"
#include "core/language.h"
#include "core/numtext.h"
#include "export/exportcommand.h"
#include "export/failuretext.h"
#include "export/frmoption.h"
#include "library/frmlibrary.h"
#include "main/frameplacer.h"
#include "main/frmld.h"
#include "main/helpopener.h"
#include "main/undomenu.h"
#include "tile/frmtile.h"
#include "widgets/widgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolTip>

#include <iostream>

namespace velmix {

namespace {

// How long a changed setting waits before it is written: a killed program
// loses at most this much, and a drag or a burst of clicks is one write.
constexpr int kSettingsDelayMs = 1000;

} // namespace

frmMain::frmMain(const AppEnvironment& env) : m_env(env), m_doc(env.undoLimit, env.undoClock)
{
    setWindowTitle(QStringLiteral("Velmix"));
    // A fixed frame with a minimise box only: the layout has no room to grow.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
    buildMenus();
    m_undo = new UndoMenu(mnuGradEdit, m_doc, this);
    m_undo->undoAction()->setObjectName(QStringLiteral("mnuUndo"));
    m_undo->redoAction()->setObjectName(QStringLiteral("mnuRedo"));
    retranslateUi();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_mainPlacer = new FramePlacer(this, false);
    m_settingsTimer.setSingleShot(true);
    m_settingsTimer.setInterval(kSettingsDelayMs);
    connect(&m_settingsTimer, &QTimer::timeout, this, [this] { writeSettings(true); });
    m_doc.listen([this](unsigned aspects) { showDocument(aspects); });
    Form_Load();
    // Logging out: the session may end the program without closing its
    // windows, so the settings are written when it asks.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmMain::SaveSettingsNow);
    connect(qApp, &QGuiApplication::saveStateRequest, this, &frmMain::SaveSettingsNow);
    // Every control hears of the menus' shortcuts first (eventFilter).
    for (QWidget* control : surface->findChildren<QWidget*>())
        control->installEventFilter(this);
    // A moved or resized window is a place to keep.
    installEventFilter(this);
    setAcceptDrops(true);
    nameControls();
}

frmMain::~frmMain() = default;

void frmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QMainWindow::changeEvent(event);
}

void frmMain::mnuLanguage_Click()
{
    const UiLanguage next =
        CurrentUiLanguage() == UiLanguage::English ? UiLanguage::Japanese : UiLanguage::English;
    m_language = std::string(LanguageCode(next));
    SetUiLanguage(next);
    settingsTouched();
}

// --- the document's view -----------------------------------------------

void frmMain::showDocument(unsigned aspects)
{
    const EditState& s = m_doc.state();
    if (aspects & GradDocument::kPoints) {
        for (int i = 0; i < kPointCount; ++i)
            showPoint(i);
        mnuBlendKind[s.points.blend == Blend::OkLab ? 1 : 0]->setChecked(true);
        Preview();
    }
    // A size being typed stays as typed ("007" is 7).
    if ((aspects & GradDocument::kSize) && ReadInt32(txtSize->text().toStdString()) != s.size) {
        const QSignalBlocker quiet(txtSize);
        txtSize->setText(QString::number(s.size));
    }
    if (aspects & GradDocument::kOrientation) {
        const QSignalBlocker quiet0(Option1[0]);
        const QSignalBlocker quiet1(Option1[1]);
        Option1[s.orientation]->setChecked(true);
        Option1[1 - s.orientation]->setChecked(false);
        showSizeName();
        if (m_tile && m_tile->isVisible())
            m_tile->RefreshForm();
    }
    if (m_tile && (aspects & ~GradDocument::kHistory))
        m_tile->PrintTile();
    // The blend is kept in the settings file too.
    if (aspects & GradDocument::kPoints)
        settingsTouched();
}

void frmMain::showPoint(int Index)
{
    const GradPoints& p = m_doc.points();
    const bool on = p.enabled[Index];
    {
        const QSignalBlocker quiet(Check1[Index]);
        Check1[Index]->setChecked(on);
    }
    Slider1[Index]->setEnabled(on);
    for (int c = 0; c < 3; ++c)
        LabColor[Index + 7 * c]->setEnabled(on);
    LabLocate[Index]->setEnabled(on);
    PicColor[Index]->setEnabled(on);
    LabX[Index]->setVisible(!on);
    // A slider being dragged shows the user's place until it is let go.
    if (!Slider1[Index]->isSliderDown()) {
        const QSignalBlocker quiet(Slider1[Index]);
        Slider1[Index]->setValue(p.position[Index]);
        Slider1_Scroll(Index);
    }
    const Colour c = p.color[Index];
    PicColor[Index]->setColor(ToQColor(c));
    LabColor[Index]->setText(QString::number(GetRed(c)));
    LabColor[Index + 7]->setText(QString::number(GetGreen(c)));
    LabColor[Index + 14]->setText(QString::number(GetBlue(c)));
}

void frmMain::Preview()
{
    BusyCursor busy(this);
    picPrev->fitImage();
    QImage& img = picPrev->image();
    PaintLine(img, m_doc.line(img.width()), false);
    picPrev->update();
}

const QImage& frmMain::picWork()
{
    const int size = m_doc.size();
    const bool vertical = m_doc.vertical();
    if (m.Dither && size > 0) {
        // The tile window shows the export as it will be: dithered, at the
        // thickness that will be saved (as much of it as a screen can show).
        const int screen = m_tile ? std::max(m_tile->width(), m_tile->height()) : 0;
        const StripImage img = MakeStrip(m_doc.points(), size, vertical,
                                         std::min(exportThickness(), std::max(screen, 64)), true);
        m_picWork = StripPicture(img);
        m_picWorkDithered = true;
        return m_picWork;
    }
    if (!m_picWorkDithered && m_picWorkRevision == m_doc.revision() && !m_picWork.isNull())
        return m_picWork;
    BusyCursor busy(this);
    m_picWork = QImage(vertical ? 1 : size, vertical ? size : 1, QImage::Format_RGB32);
    PaintLine(m_picWork, m_doc.line(size), vertical);
    m_picWorkRevision = m_doc.revision();
    m_picWorkDithered = false;
    return m_picWork;
}

// --- start-up and shutdown ---------------------------------------------

void frmMain::Form_Load()
{
    // The random source was seeded from the clock when it was made.
    m.MemoryState.tate = -1;
    m_ini.SetIniPath(m_env.settingsBesideProgram ? m_env.programDir : QString(),
                     m_env.userConfigDir);
    const std::optional<Settings> stored = m_ini.LoadIni();
    // The start-up gradient, in the blend last chosen.
    EditState start = StartupState();
    if (stored) {
        applySettings(*stored);
        start.points.blend = stored->Blend == 1 ? Blend::OkLab : Blend::Rgb;
    }
    for (int i = 1; i < kPointCount; ++i) {
        PicColor[i]->show();
        for (int c = 0; c < 3; ++c)
            LabColor[7 * c + i]->show();
    }
    UpDown1->setRange(kMinImageSize, kMaxImageSize);
    m_doc.reset(start);
    // What a unit still holds at exit was not changed by this run; a place
    // mended at start-up is a change.
    Settings baseline = collectSettings();
    baseline.mainPlace = stored ? stored->mainPlace : std::nullopt;
    baseline.tilePlace = stored ? stored->tilePlace : std::nullopt;
    m_ini.SetBaseline(baseline);
    if (m.MemoryState.tate == -1)
        mnuMemoryLoad->setEnabled(false);
}

void frmMain::applySettings(const Settings& s)
{
    m.SampleTextFont = s.SampleTextFont;
    m.MemoryState = s.MemoryState;
    m.Dither = s.Dither;
    m_mainPlace = s.mainPlace;
    if (s.mainPlace && PlaceFromFile(this, m_mainPlacer, *s.mainPlace, false))
        m_mainPlace.reset();
    // A file without the tile window's own place leaves its first place to
    // the window system, and the window to be made when first shown.
    if (OwnTilePlace(s.tilePlace)) {
        tile();
        m_tilePlace = s.tilePlace;
        if (PlaceFromFile(m_tile.get(), m_tilePlacer, *s.tilePlace, true))
            m_tilePlace.reset();
    }
    m_dlgSaveInitDir = QString::fromStdString(s.SaveInitPath);
    // A language chosen in the menu outranks the locale's.
    m_language = s.Language;
    if (const std::optional<UiLanguage> chosen = LanguageFromCode(s.Language))
        SetUiLanguage(*chosen);
}

Settings frmMain::collectSettings()
{
    Settings s;
    s.SampleTextFont = m.SampleTextFont;
    s.MemoryState = m.MemoryState;
    s.mainPlace = PlaceToWrite(this, m_mainPlacer, m_mainPlace);
    if (m_tile)
        s.tilePlace = PlaceToWrite(m_tile.get(), m_tilePlacer, m_tilePlace);
    s.SaveInitPath = clsCommon::TrimDir(m_dlgSaveFileName.toStdString());
    s.Blend = m_doc.points().blend == Blend::OkLab ? 1 : 0;
    s.Dither = m.Dither;
    s.Language = m_language;
    return s;
}

void frmMain::settingsTouched()
{
    if (!m_unloaded && !m_settingsTimer.isActive())
        m_settingsTimer.start();
}

bool frmMain::writeSettings(bool quiet)
{
    const Settings s = collectSettings();
    // Nothing new to keep: the file is left alone.
    if (quiet && m_ini.UnsavedUnits(s) == 0)
        return true;
    // Only what this run changed: another running copy may have written the
    // rest since start-up. A failure during the run waits for the next change.
    const Result written = m_ini.SaveIni(s);
    if (!quiet)
        reportSettingsWrite(written);
    return written.ok();
}

void frmMain::reportSettingsWrite(const Result& written)
{
    if (written.ok())
        return;
    // At logout, on a signal or without a display nobody answers a box.
    if (m_unattended)
        sayWriteFailed(written);
    else
        dialogs().message(this, MsgIcon::Error, ResultText(written));
}

bool frmMain::WriteSettingsUnits(SettingsUnits units)
{
    const Result written = m_ini.SaveUnits(collectSettings(), units);
    reportSettingsWrite(written);
    return written.ok();
}

void frmMain::SaveSettingsNow()
{
    if (m_unloaded)
        return;
    // Nobody to ask: at logout or without a display a message box would
    // only hold up the end.
    if (const Result written = m_ini.SaveIni(collectSettings()); !written.ok())
        sayWriteFailed(written);
}

void frmMain::sayWriteFailed(const Result& failed) const
{
    std::cerr << "velmix: cannot write " << m_ini.IniPath().toStdString() << ": "
              << failed.failure().detail << "\n";
}

void frmMain::EndUnattended()
{
    // A signal comes at logout or shutdown, when nobody answers a message
    // box and the program would be left running.
    m_unattended = true;
    close();
}

void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_settingsTimer.stop();
    writeSettings(false);
    m_unloaded = true;
    if (m_tile)
        m_tile->hide();
    if (m_library)
        m_library->hide();
    QCoreApplication::quit();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmMain::MenuEnd_Click()
{
    close();
}

void frmMain::Form_MouseDown(Qt::MouseButton Button, int X, int Y)
{
    if (Button == Qt::RightButton)
        mnuGradEdit->popup(surface->mapToGlobal(QPoint(X, Y)));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == this || (m_tile && watched == m_tile.get())) &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        settingsTouched();
    const bool shortcut = event->type() == QEvent::ShortcutOverride;
    if ((shortcut || event->type() == QEvent::KeyPress) &&
        isMenuShortcut(static_cast<QKeyEvent*>(event))) {
        // The menus' shortcuts come before a control's own use of the keys
        // (the size box would undo, select and copy its text). A size being
        // typed is committed first, so that undo has it as a step. A key
        // press that arrives anyway belongs to a disabled item: swallowed.
        if (shortcut) {
            txtSize_LostFocus();
            event->ignore();
        }
        return true;
    }
    if (watched == surface) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint p = me->position().toPoint();
            // Presses that a label let through are still on a control.
            if (!surface->childAt(p))
                Form_MouseDown(me->button(), p.x(), p.y());
            return true;
        }
        if (event->type() == QEvent::Paint)
            paintRule();
    } else if (watched == txtSize) {
        if (FilterNumberInput(event, [this](int key) { return txtSize_KeyPress(key); }))
            return true;
        if (event->type() == QEvent::FocusOut)
            txtSize_LostFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- point and image controls ------------------------------------------

void frmMain::Check1_Click(int Index)
{
    if (m_doc.setEnabled(Index, Check1[Index]->isChecked()))
        return;
    dialogs().message(this, MsgIcon::Exclamation,
                      tr("全てのEnabledのチェックをはずすことは出来ません。"));
    const QSignalBlocker quiet(Check1[Index]);
    Check1[Index]->setChecked(true);
}

void frmMain::Slider1_Scroll(int Index)
{
    LabLocate[Index]->setText(QString::number(Slider1[Index]->value()));
    LabLocate[Index]->adjustSize();
}

void frmMain::Slider1_Change(int Index)
{
    // Key, wheel and track steps of one slider in a row are one step.
    m_doc.setPosition(Index, Slider1[Index]->value(), Index);
}

void frmMain::PicColor_Click(int Index)
{
    const auto chosen = dialogs().color(this, ToQColor(m_doc.points().color[Index]));
    if (chosen)
        m_doc.setColour(Index, FromQColor(*chosen));
}

void frmMain::PicColor_KeyPress(int Index, int)
{
    PicColor_Click(Index);
}

void frmMain::picPrev_MouseMove(Qt::MouseButtons, int X, int Y)
{
    const QImage& img = picPrev->image();
    // Outside the strip (a held button dragged out) the tooltip stays.
    if (!img.valid(X, Y))
        return;
    const Colour c = m_doc.line(img.width())[static_cast<std::size_t>(X)];
    const QString tip = tr("R=%1 G=%2 B=%3").arg(GetRed(c)).arg(GetGreen(c)).arg(GetBlue(c));
    picPrev->setToolTip(tip);
    if (QToolTip::isVisible())
        QToolTip::showText(picPrev->mapToGlobal(QPoint(X, Y)), tip, picPrev);
}

void frmMain::txtSize_Change()
{
    LineEditHolder holder(txtSize);
    clsCommon::CheckTextRange(holder, kMaxImageSize);
    m_doc.draftSize(ReadInt32(txtSize->text().toStdString()));
}

int frmMain::txtSize_KeyPress(int KeyAscii)
{
    return clsCommon::CheckNumInt(static_cast<std::int16_t>(KeyAscii));
}

void frmMain::txtSize_LostFocus()
{
    LineEditHolder holder(txtSize);
    clsCommon::CheckTextRange(holder, kMaxImageSize, kMinImageSize);
    // A typed size is one step once it is committed.
    m_doc.commit(EditStep::Size);
}

void frmMain::Option1_Click(int Index)
{
    m_doc.setOrientation(Index);
}

void frmMain::cmdTile_Click()
{
    frmTile& t = tile();
    t.show();
    t.setWindowState(t.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    t.raise();
    t.RefreshForm();
    t.PrintTile();
}

void frmMain::MenuTile_Click()
{
    cmdTile_Click();
}

frmTile& frmMain::tile()
{
    if (!m_tile) {
        TileSource source;
        source.workPicture = [this] { return &picWork(); };
        source.colours = [this]() -> const std::vector<Colour>& {
            return m_doc.line(m_doc.size());
        };
        source.vertical = [this] { return m_doc.vertical(); };
        m_tile = std::make_unique<frmTile>(dialogs(), m.SampleTextFont, std::move(source));
        m_tile->setWindowIcon(windowIcon());
        m_tilePlacer = new FramePlacer(m_tile.get(), true);
        m_tilePlacer->setGuide(this);
        m_tile->installEventFilter(this);
        m_undo->addShortcutsTo(m_tile.get());
        // The window fills in a missing face; the settings file keeps what
        // it shows.
        m.SampleTextFont = m_tile->sampleText();
        connect(m_tile.get(), &frmTile::sampleTextChanged, this, [this] {
            m.SampleTextFont = m_tile->sampleText();
            settingsTouched();
        });
    }
    return *m_tile;
}

frmOption& frmMain::option()
{
    // Closing the dialog from its close box destroys it; the next use gets
    // a new one in its design state.
    if (!m_option || m_option->destroyedByUser()) {
        m_option = std::make_unique<frmOption>(dialogs(), this, m.SaveHeight);
        connect(m_option.get(), &frmOption::saveHeightChanged, this, [this](int saveHeight) {
            m.SaveHeight = saveHeight;
            if (m.Dither && m_tile)
                m_tile->PrintTile();
        });
        connect(m_option.get(), &frmOption::ditherChanged, this, [this](bool on) {
            m.Dither = on;
            if (m_tile)
                m_tile->PrintTile();
            settingsTouched();
        });
    }
    m_option->setDither(m.Dither);
    m_option->setTarget({m.SaveMode, m_doc.orientation(), m_doc.size()});
    return *m_option;
}

frmLD& frmMain::ld()
{
    if (!m_ld) {
        m_ld = std::make_unique<frmLD>(this);
        connect(m_ld.get(), &frmLD::pointsChanged, this,
                [this](const GradPoints& points) { m_doc.draftPoints(points); });
    }
    m_ld->setPoints(m_doc.points());
    return *m_ld;
}

frmLibrary& frmMain::library()
{
    if (!m_library) {
        m_library = std::make_unique<frmLibrary>(dialogs(), m_doc, GradLibrary::Standard());
        m_library->setWindowIcon(windowIcon());
        m_undo->addShortcutsTo(m_library.get());
    }
    return *m_library;
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event)
{
    const QStringList files = DroppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // Every gradient the files hold goes into the library; the first is
    // applied (an SVG of several gives its first).
    const std::vector<int> rows = library().importFiles(files, this);
    if (!rows.empty())
        library().apply(rows.front());
}

// --- edit commands -----------------------------------------------------

void frmMain::mnuRandom_Click()
{
    m_doc.setPoints(RandomUniform(m_doc.points(), *m_env.random), EditStep::RandomUniform);
}

void frmMain::mnuRandomNatural_Click()
{
    m_doc.setPoints(RandomNatural(m_doc.points(), *m_env.random), EditStep::RandomNatural);
}

void frmMain::mnuLD_Click()
{
    // The dialog shows every change live, Cancel included; what it leaves
    // is one step (none after Cancel: nothing changed).
    dialogs().runModal(&ld());
    m_doc.commit(EditStep::Brightness);
}

void frmMain::mnuEqual_Click()
{
    m_doc.setPoints(EqualSpacing(m_doc.points()), EditStep::Equal);
}

void frmMain::mnuBlend_Click(int Index)
{
    mnuBlendKind[static_cast<std::size_t>(Index)]->setChecked(true);
    m_doc.setBlend(Index == 1 ? Blend::OkLab : Blend::Rgb);
}

void frmMain::mnuMemorySave_Click()
{
    m.MemoryState = RememberState(m_doc.state(), m.SaveHeight, option().thicknessOn());
    mnuMemoryLoad->setEnabled(true);
    // The user asked to keep it: into the file now, so that a crash or a lost
    // display cannot take it. Only the remembered state is written.
    WriteSettingsUnits(kUnitMemory);
}

void frmMain::mnuMemoryLoad_Click()
{
    const MemoryStateT mem = m.MemoryState;
    if (mem.tate < 0)
        return;
    m.SaveHeight = mem.SaveHeight;
    option().setThickness(mem.chkHeight, mem.SaveHeight);
    m_doc.restore(RecallState(mem));
}

void frmMain::mnuLibrary_Click()
{
    const bool first = !m_library;
    frmLibrary& l = library();
    if (first)
        PlaceBeside(&l, this);
    l.show();
    l.setWindowState(l.windowState() & ~Qt::WindowMinimized);
    l.raise();
    l.activateWindow();
}

// --- export ------------------------------------------------------------

int frmMain::exportThickness()
{
    // The dialog in its design state (never made, or closed from its close
    // box) exports the thin strip.
    const bool on = m_option && !m_option->destroyedByUser() && m_option->thicknessOn();
    return std::clamp(on ? m_option->saveHeight() : m_doc.orientation() + 1, 1, kMaxThickness);
}

void frmMain::CmdSave_Click()
{
    m.SaveMode = true;
    SaveImage();
}

void frmMain::MenuSave_Click()
{
    CmdSave_Click();
}

void frmMain::mnuClipBoard_Click()
{
    m.SaveMode = false;
    SaveImage();
}

void frmMain::mnuCopyCss_Click()
{
    CopyCss({m_doc.points(), m_doc.size(), m_doc.orientation(), m.Dither});
}

void frmMain::SaveImage()
{
    SaveFileRequest saveDialog{{}, m_dlgSaveInitDir, m_dlgSaveFileName, m_dlgSaveType};
    RunExport(
        dialogs(), this, [this]() -> frmOption& { return option(); },
        {m_doc.points(), m_doc.size(), m_doc.orientation(), m.Dither}, m.SaveMode, saveDialog);
    m_dlgSaveFileName = saveDialog.fileName;
    m_dlgSaveType = saveDialog.type;
    // The folder saved to is kept for the next run.
    settingsTouched();
}

// --- help --------------------------------------------------------------

void frmMain::MenuPrintHelp_Click()
{
    ShowHelpPage(dialogs(), this, m_env.programDir, HelpPageName(), m_env.opener);
}

void frmMain::MenuVersion_Click()
{
    frmAbout about(dialogs(), this);
    dialogs().runModal(&about);
}

} // namespace velmix
