// SPDX-License-Identifier: MIT
#include "main/frmmain.h"

#include "about/frmabout.h"
#include "common/clscommon.h"
#include "core/edits.h"
#include "core/language.h"
#include "core/numtext.h"
#include "export/exportcommand.h"
#include "library/frmlibrary.h"
#include "library/gradlibrary.h"
#include "main/frmld.h"
#include "main/helpopener.h"
#include "main/undomenu.h"
#include "widgets/colourmenu.h"
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
#include <QMimeData>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolTip>

namespace velmix {

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
    m_settings.keepPlace(this, false);
    m_windows =
        std::make_unique<OpenedWindows>(dialogs(), m_doc, m_export, m, m_settings, *m_undo, *this);
    m_doc.listen([this](unsigned aspects) { showDocument(aspects); });
    Form_Load();
    // Logging out: the session may end the program without closing its
    // windows, so the settings are written when it asks.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmMain::SaveSettingsNow);
    connect(qApp, &QGuiApplication::saveStateRequest, this, &frmMain::SaveSettingsNow);
    // Every control hears of the menus' shortcuts first (eventFilter).
    for (QWidget* control : surface->findChildren<QWidget*>())
        control->installEventFilter(this);
    m_settings.watch(this);
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
    m_settings.chooseLanguage(next);
}

// --- the document's view -----------------------------------------------

void frmMain::showDocument(unsigned aspects)
{
    const EditState& s = m_doc.state();
    if (aspects & GradDocument::kPoints) {
        for (int i = 0; i < kPointCount; ++i)
            showPoint(i);
        mnuBlendKind[BlendNumber(s.points.blend)]->setChecked(true);
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
    }
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

// --- start-up and shutdown ---------------------------------------------

void frmMain::Form_Load()
{
    // The random source was seeded from the clock when it was made.
    m.MemoryState.tate = -1;
    // The start-up gradient, in the blend last chosen.
    EditState start = StartupState();
    start.points.blend =
        m_settings.load(m_env.programDir, m_env.userConfigDir, m_env.settingsBesideProgram);
    for (int i = 1; i < kPointCount; ++i) {
        PicColor[i]->show();
        for (int c = 0; c < 3; ++c)
            LabColor[7 * c + i]->show();
    }
    UpDown1->setRange(kMinImageSize, kMaxImageSize);
    m_doc.reset(start);
    m_settings.setBaseline();
    if (m.MemoryState.tate == -1)
        mnuMemoryLoad->setEnabled(false);
}

void frmMain::SaveSettingsNow()
{
    m_settings.writeUnattended();
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
    if (m_settings.finished())
        return;
    m_settings.finish(m_unattended);
    m_windows->hide();
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

void frmMain::PicColor_Menu(int Index, const QPoint& at)
{
    ColourBoxMenu(PicColor[Index], dialogs(), at,
                  [this, Index](Colour c) { m_doc.setColour(Index, c); });
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
    m_windows->openTile();
}

void frmMain::MenuTile_Click()
{
    cmdTile_Click();
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
    m_windows->importFiles(files);
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
    dialogs().runModal(&m_windows->ld());
    m_doc.commit(EditStep::Brightness);
}

void frmMain::mnuEqual_Click()
{
    m_doc.setPoints(EqualSpacing(m_doc.points()), EditStep::Equal);
}

void frmMain::mnuBlend_Click(int Index)
{
    mnuBlendKind[static_cast<std::size_t>(Index)]->setChecked(true);
    m_doc.setBlend(BlendOfNumber(Index));
}

void frmMain::mnuMemorySave_Click()
{
    m_settings.remember();
    mnuMemoryLoad->setEnabled(true);
}

void frmMain::mnuMemoryLoad_Click()
{
    const MemoryStateT mem = m.MemoryState;
    if (mem.tate < 0)
        return;
    m_export.restore(RecallState(mem), mem.chkHeight, mem.SaveHeight);
}

void frmMain::mnuLibrary_Click()
{
    m_windows->openLibrary();
}

// --- export ------------------------------------------------------------

void frmMain::CmdSave_Click()
{
    SaveImage(true);
}

void frmMain::MenuSave_Click()
{
    CmdSave_Click();
}

void frmMain::mnuClipBoard_Click()
{
    SaveImage(false);
}

void frmMain::mnuCopyCss_Click()
{
    CopyCss(exportInput());
}

void frmMain::SaveImage(bool save)
{
    ExportChoice options = m_export.value();
    options.saveMode = save;
    m_export.set(options);
    RunExport(
        dialogs(), this, [this]() -> frmOption& { return m_windows->option(); }, exportInput(),
        m_export.value().saveMode, m.saveDialog);
    // The folder saved to is kept for the next run.
    m_settings.touched();
}

ExportInput frmMain::exportInput() const
{
    return {m_doc.points(), m_doc.size(), m_doc.orientation(), m_export.value().dither,
            m_export.value().page};
}

// --- help --------------------------------------------------------------

void frmMain::MenuPrintHelp_Click()
{
    ShowHelpPage(dialogs(), this, m_env.programDir, HelpPageName(), m_env.opener);
}

void frmMain::MenuVersion_Click()
{
    frmAbout about(dialogs(), this,
                   {m_settings.ini().IniPath(), GradLibrary::StandardUserFolder()});
    dialogs().runModal(&about);
}

} // namespace velmix
