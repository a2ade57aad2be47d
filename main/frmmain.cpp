// SPDX-License-Identifier: MIT
#include "main/frmmain.h"

#include "about/frmabout.h"
#include "common/clscommon.h"
#include "common/shellexe.h"
#include "core/numtext.h"
#include "core/webgrad.h"
#include "export/exportcommand.h"
#include "export/failuretext.h"
#include "export/frmoption.h"
#include "main/frameplacer.h"
#include "main/frmld.h"
#include "main/undomenu.h"
#include "tile/frmtile.h"
#include "widgets/widgets.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QToolTip>

#include <cmath>
#include <cstring>
#include <iostream>

namespace velmix {

namespace {

// The dynamic property that holds a menu text's Japanese source.
const char* const kSourceText = "velmixSourceText";

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

// Sets a text box's text and runs its change handling once, also when the
// text was already the same (the handler is connected to textChanged).
void SetTextAndRun(QLineEdit* edit, const QString& text, const std::function<void()>& handler)
{
    if (edit->text() != text)
        edit->setText(text);
    else
        handler();
}

} // namespace

frmMain::frmMain(const AppEnvironment& env) : m_env(env)
{
    setWindowTitle(QStringLiteral("Velmix"));
    // A fixed frame with a minimise box only: the layout has no room to grow.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
    buildMenus();
    retranslateUi();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_mainPlacer = new FramePlacer(this, false);
    Form_Load();
    // Logging out: the session may end the program without closing its
    // windows, so the settings are written when it asks.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmMain::SaveSettingsNow);
    connect(qApp, &QGuiApplication::saveStateRequest, this, &frmMain::SaveSettingsNow);
    // The history starts from the start-up gradient.
    UndoMenu::Hooks hooks;
    hooks.read = [this] { return editState(); };
    hooks.apply = [this](const EditState& s) { applyEditState(s); };
    hooks.commit = [this] { txtSize_LostFocus(); };
    hooks.limit = m_env.undoLimit;
    hooks.clock = m_env.undoClock;
    m_undo = new UndoMenu(mnuGradEdit, std::move(hooks), this);
    mnuUndo = m_undo->undoAction();
    mnuRedo = m_undo->redoAction();
    m_undo->addShortcutsTo(&tile());
    // Every control hears of the menus' shortcuts first (eventFilter).
    for (QWidget* control : surface->findChildren<QWidget*>())
        control->installEventFilter(this);

    SetObjectNames(Check1, "Check1");
    SetObjectNames(Slider1, "Slider1");
    SetObjectNames(LabLocate, "LabLocate");
    SetObjectNames(PicColor, "PicColor");
    SetObjectNames(LabX, "LabX");
    SetObjectNames(LabColor, "LabColor");
    SetObjectNames(LabRGB, "LabRGB");
    SetObjectNames(Option1, "Option1");
    SetObjectNames(mnuBlendKind, "mnuBlendKind");
    SetObjectNames({{LabEnabled, "LabEnabled"},
                    {LabPrev, "LabPrev"},
                    {picPrev, "picPrev"},
                    {Frame1, "Frame1"},
                    {labSize, "labSize"},
                    {txtSize, "txtSize"},
                    {UpDown1, "UpDown1"},
                    {CmdSave, "CmdSave"},
                    {cmdTile, "cmdTile"},
                    {surface, "surface"},
                    {MenuFile, "MenuFile"},
                    {mnuGradEdit, "mnuGradEdit"},
                    {MenuGrad, "MenuGrad"},
                    {MenuHelp, "MenuHelp"},
                    {mnuUndo, "mnuUndo"},
                    {mnuRedo, "mnuRedo"},
                    {MenuSave, "MenuSave"},
                    {mnuClipBoard, "mnuClipBoard"},
                    {mnuCopyCss, "mnuCopyCss"},
                    {MenuEnd, "MenuEnd"},
                    {mnuRandom, "mnuRandom"},
                    {mnuRandomNatural, "mnuRandomNatural"},
                    {mnuLD, "mnuLD"},
                    {mnuEqual, "mnuEqual"},
                    {mnuBlend, "mnuBlend"},
                    {mnuMemorySave, "mnuMemorySave"},
                    {mnuMemoryLoad, "mnuMemoryLoad"},
                    {MenuTile, "MenuTile"},
                    {MenuPrintHelp, "MenuPrintHelp"},
                    {MenuVersion, "MenuVersion"},
                    {mnuLanguage, "mnuLanguage"}});
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    surface = new QWidget(this);
    surface->setFixedSize(478, 363);
    surface->installEventFilter(this);
    setCentralWidget(surface);

    LabEnabled = MakeLabel(surface, QString(), 0, 8);
    for (int c = 0; c < 3; ++c)
        LabRGB[c] = MakeLabel(surface, QString(), 384 + 32 * c, 8);

    const QColor valueColours[3] = {QColor(0x80, 0, 0), QColor(0, 0x80, 0), QColor(0, 0, 0x80)};
    for (int i = 0; i < kPointCount; ++i) {
        const int sliderTop = i == 0 ? 24 : 64 + 36 * (i - 1);
        const int labelTop = i == 0 ? 32 : 72 + 36 * (i - 1);
        const int boxTop = i == 0 ? 28 : sliderTop;

        Check1[i] = new QCheckBox(surface);
        Check1[i]->setFont(JpFont(9.75, true));
        Check1[i]->setGeometry(0, 24 + 36 * i, 25, 25);
        // The mark and its dot in the designed 25 pixels.
        Check1[i]->setStyleSheet(QStringLiteral("QCheckBox { spacing: 3px; }"));
        connect(Check1[i], &QCheckBox::toggled, this, [this, i] { Check1_Click(i); });

        Slider1[i] = new QSlider(Qt::Horizontal, surface);
        Slider1[i]->setRange(0, kMaxPosition);
        Slider1[i]->setSingleStep(1);
        Slider1[i]->setPageStep(50);
        Slider1[i]->setTickInterval(25);
        Slider1[i]->setTickPosition(QSlider::TicksBelow);
        Slider1[i]->setGeometry(24, sliderTop, 300, i == 0 ? 32 : 28);
        {
            // Switched off, the slider is drawn faint (outline and ticks
            // lighter, the thumb flat), also at 0 where nothing else differs.
            QPalette pal = Slider1[i]->palette();
            const QColor back = pal.color(QPalette::Active, QPalette::Window);
            pal.setColor(QPalette::Disabled, QPalette::Window, back.lighter(112));
            pal.setColor(QPalette::Disabled, QPalette::Button, back);
            Slider1[i]->setPalette(pal);
        }
        connect(Slider1[i], &QSlider::actionTriggered, this,
                [this, i] { m_userSliderAction[i] = true; });
        connect(Slider1[i], &QSlider::valueChanged, this, [this, i] { onSliderValueChanged(i); });
        connect(Slider1[i], &QSlider::sliderReleased, this, [this, i] {
            Slider1_Change(i);
            stepDone(EditStep::Slider); // one drag, one step
        });

        LabLocate[i] = MakeLabel(surface, QStringLiteral("0"), 324, labelTop);
        LabLocate[i]->setFont(JpFont(8.25));
        LabLocate[i]->setMinimumWidth(34);
        SetTextColor(LabLocate[i], QColor(0x80, 0, 0x80));

        PicColor[i] = new ColorBox(surface);
        PicColor[i]->setGeometry(359, boxTop, 20, 20);
        connect(PicColor[i], &ColorBox::clicked, this, [this, i] { PicColor_Click(i); });
        connect(PicColor[i], &ColorBox::keyPressed, this,
                [this, i](int key) { PicColor_KeyPress(i, key); });

        auto* cross = new CrossLabel(PicColor[i]);
        cross->setFont(JpFont(24, true));
        cross->setGeometry(-8, -8, 34, 33);
        cross->hide();
        LabX[i] = cross;

        for (int c = 0; c < 3; ++c) {
            QLabel* l =
                MakeLabel(surface, QStringLiteral("0"), 384 + 32 * c, i == 0 ? 32 : sliderTop);
            l->setFont(JpFont(11.25));
            l->setMinimumWidth(30);
            SetTextColor(l, valueColours[c]);
            LabColor[7 * c + i] = l;
        }
        // Rows 1 to 6 appear once start-up has created them.
        if (i > 0) {
            PicColor[i]->hide();
            for (int c = 0; c < 3; ++c)
                LabColor[7 * c + i]->hide();
        }
    }

    LabPrev = new QLabel(surface);
    LabPrev->setFont(JpFont(8.25));
    LabPrev->setGeometry(0, 284, 33, 36);
    LabPrev->setWordWrap(true);
    LabPrev->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    picPrev = new ImageBox(surface);
    picPrev->setGeometry(32, 288, 284, 17);
    picPrev->setMouseTracking(true);
    connect(picPrev, &ImageBox::mouseMoved, this,
            [this](int x, int y, Qt::MouseButtons b) { picPrev_MouseMove(b, x, y); });

    Frame1 = new QGroupBox(surface);
    Frame1->setGeometry(328, 276, 145, 81);
    for (int k = 0; k < 2; ++k) {
        Option1[k] = new QRadioButton(Frame1);
        Option1[k]->setFont(JpFont(9.75));
        Option1[k]->setGeometry(16 + 64 * k, 16, 57, 25);
    }
    Option1[0]->setChecked(true);
    for (int k = 0; k < 2; ++k)
        connect(Option1[k], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on)
                Option1_Click(k);
        });
    labSize = MakeLabel(Frame1, QString(), 8, 56);
    txtSize = new QLineEdit(QStringLiteral("100"), Frame1);
    txtSize->setFont(JpFont(9.75));
    txtSize->setMaxLength(4);
    txtSize->setGeometry(80, 52, 41, 21);
    txtSize->installEventFilter(this);
    labSize->setBuddy(txtSize);
    connect(txtSize, &QLineEdit::textChanged, this, [this] { txtSize_Change(); });
    connect(txtSize, &QLineEdit::returnPressed, this, &frmMain::txtSize_LostFocus);
    UpDown1 = new UpDown(Frame1, txtSize, 0, 100);
    UpDown1->setGeometry(120, 48, 12, 25);
    connect(UpDown1, &UpDown::stepped, this, [this] { stepDone(EditStep::Size, kPointCount); });

    CmdSave = new QPushButton(surface);
    CmdSave->setGeometry(8, 316, 89, 41);
    connect(CmdSave, &QPushButton::clicked, this, [this] { CmdSave_Click(); });
    cmdTile = new QPushButton(surface);
    cmdTile->setGeometry(104, 316, 89, 41);
    connect(cmdTile, &QPushButton::clicked, this, [this] { cmdTile_Click(); });
}

void frmMain::buildMenus()
{
    // Each menu and item keeps its Japanese text, the source of its
    // translation, for retranslateUi.
    const auto add = [this](QMenu* menu, const char* text, void (frmMain::*slot)()) {
        QAction* a = menu->addAction(tr(text));
        a->setProperty(kSourceText, QByteArray(text));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    const auto addMenu = [this](const char* text) {
        QMenu* menu = menuBar()->addMenu(tr(text));
        menu->menuAction()->setProperty(kSourceText, QByteArray(text));
        return menu;
    };
    MenuFile = addMenu(QT_TR_NOOP("ﾌｧｲﾙ(&F)"));
    MenuSave = add(MenuFile, QT_TR_NOOP("名前を付けて保存(&A)..."), &frmMain::MenuSave_Click);
    MenuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuClipBoard =
        add(MenuFile, QT_TR_NOOP("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ(&C)..."), &frmMain::mnuClipBoard_Click);
    mnuClipBoard->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuCopyCss = add(MenuFile, QT_TR_NOOP("CSSとしてｺﾋﾟｰ(&S)"), &frmMain::mnuCopyCss_Click);
    MenuFile->addSeparator();
    MenuEnd = add(MenuFile, QT_TR_NOOP("終了(&X)"), &frmMain::MenuEnd_Click);

    mnuGradEdit = addMenu(QT_TR_NOOP("ｸﾞﾗﾞﾃﾞｰｼｮﾝ編集(&E)"));
    mnuRandom =
        add(mnuGradEdit, QT_TR_NOOP("色のﾗﾝﾀﾞﾑ決定(一様乱数)(&R)"), &frmMain::mnuRandom_Click);
    mnuRandomNatural =
        add(mnuGradEdit, QT_TR_NOOP("色のﾗﾝﾀﾞﾑ決定(自然)(&N)"), &frmMain::mnuRandomNatural_Click);
    mnuLD = add(mnuGradEdit, QT_TR_NOOP("明度の調整(&Z)..."), &frmMain::mnuLD_Click);
    mnuBlend = mnuGradEdit->addMenu(tr("補間(&I)"));
    mnuBlend->menuAction()->setProperty(kSourceText, QByteArray(QT_TR_NOOP("補間(&I)")));
    auto* kinds = new QActionGroup(mnuBlend);
    const char* kindNames[2] = {QT_TR_NOOP("RGB(&R)"), QT_TR_NOOP("OKLab(&O)")};
    for (int k = 0; k < 2; ++k) {
        mnuBlendKind[k] = mnuBlend->addAction(tr(kindNames[k]));
        mnuBlendKind[k]->setProperty(kSourceText, QByteArray(kindNames[k]));
        mnuBlendKind[k]->setCheckable(true);
        kinds->addAction(mnuBlendKind[k]);
        connect(mnuBlendKind[k], &QAction::triggered, this, [this, k] { mnuBlend_Click(k); });
    }
    mnuBlendKind[0]->setChecked(true);
    mnuGradEdit->addSeparator();
    mnuEqual = add(mnuGradEdit, QT_TR_NOOP("点を等間隔に配置(&E)"), &frmMain::mnuEqual_Click);
    mnuGradEdit->addSeparator();
    mnuMemorySave =
        add(mnuGradEdit, QT_TR_NOOP("現在の状態を記憶(&S)"), &frmMain::mnuMemorySave_Click);
    mnuMemoryLoad =
        add(mnuGradEdit, QT_TR_NOOP("記憶内容を復帰(&L)"), &frmMain::mnuMemoryLoad_Click);

    MenuGrad = addMenu(QT_TR_NOOP("表示(&V)"));
    MenuTile = add(MenuGrad, QT_TR_NOOP("ﾀｲﾙ表示(&T)"), &frmMain::MenuTile_Click);
    MenuGrad->addSeparator();
    // Names the other language, in that language: whoever cannot read this
    // one still finds the way out.
    mnuLanguage = MenuGrad->addAction(QString());
    connect(mnuLanguage, &QAction::triggered, this, &frmMain::mnuLanguage_Click);

    MenuHelp = addMenu(QT_TR_NOOP("ﾍﾙﾌﾟ(&H)"));
    MenuPrintHelp = add(MenuHelp, QT_TR_NOOP("ﾍﾙﾌﾟ表示(&H)..."), &frmMain::MenuPrintHelp_Click);
    MenuHelp->addSeparator();
    MenuVersion = add(MenuHelp, QT_TR_NOOP("ﾊﾞｰｼﾞｮﾝ情報(&A)..."), &frmMain::MenuVersion_Click);
}

void frmMain::retranslateUi()
{
    LabEnabled->setText(tr("Enabled"));
    LabEnabled->adjustSize();
    const char* rgb[3] = {QT_TR_NOOP("R"), QT_TR_NOOP("G"), QT_TR_NOOP("B")};
    for (int c = 0; c < 3; ++c) {
        LabRGB[c]->setText(tr(rgb[c]));
        LabRGB[c]->adjustSize();
    }
    for (int i = 0; i < kPointCount; ++i) {
        // The dot beside the check mark, in the language's own form.
        Check1[i]->setText(tr("･"));
        Check1[i]->setAccessibleName(tr("点%1を使う").arg(i + 1));
        Slider1[i]->setAccessibleName(tr("点%1の位置").arg(i + 1));
        PicColor[i]->setToolTip(tr("クリックすると色を変更できます"));
        PicColor[i]->setAccessibleName(tr("点%1の色").arg(i + 1));
    }
    LabPrev->setText(tr("ｸﾞﾗﾃﾞ ｲﾒｰｼﾞ"));
    picPrev->setAccessibleName(tr("グラデーションのイメージ"));
    Frame1->setTitle(tr("画像"));
    const char* orient[2] = {QT_TR_NOOP("横型"), QT_TR_NOOP("縦型")};
    for (int k = 0; k < 2; ++k)
        Option1[k]->setText(tr(orient[k]));
    showSizeName();
    txtSize->setToolTip(tr("画像の幅をpixel単位で指定します"));
    CmdSave->setText(tr("保存(&S)"));
    CmdSave->setToolTip(tr("グラデーションを名前を付けて保存します"));
    cmdTile->setText(tr("ﾀｲﾙ表示(&T)"));
    cmdTile->setToolTip(tr("グラデーションをタイルのように敷き詰めて表示します"));
    // Menus, their items and submenus, at any depth.
    QList<QAction*> items = menuBar()->actions();
    while (!items.empty()) {
        QAction* a = items.takeLast();
        const QByteArray source = a->property(kSourceText).toByteArray();
        if (!source.isEmpty())
            a->setText(tr(source.constData()));
        if (const QMenu* menu = a->menu())
            items += menu->actions();
    }
    mnuLanguage->setText(CurrentUiLanguage() == UiLanguage::English
                             ? QStringLiteral("日本語(&J)")
                             : QStringLiteral("English(&E)"));
    // Where an English text is longer than its designed room ("Preview" by
    // 8 pixels, "Across" by 3): the preview's label pushes the strip (its
    // width kept) into the gap before the image frame, the first orientation
    // button takes room from the frame's edge and the gap to the second.
    PlaceForLanguage(LabPrev, {0, 284, 41, 36});
    PlaceForLanguage(picPrev, {40, 288, 284, 17});
    PlaceForLanguage(Option1[0], {14, 16, 62, 25});
}

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
}

void frmMain::showSizeName()
{
    const char* names[2] = {QT_TR_NOOP("横幅"), QT_TR_NOOP("高さ")};
    labSize->setText(tr("%1(pixel):").arg(tr(names[m.Orientation == 0 ? 0 : 1])));
    labSize->adjustSize();
}

// --- start-up and shutdown ---------------------------------------------

void frmMain::Form_Load()
{
    // The random source was seeded from the clock when it was made.
    m.RedrawEnabled = false;
    m.MemoryState.tate = -1;
    m_ini.SetIniPath(m_env.settingsBesideProgram ? m_env.programDir : QString(),
                     m_env.userConfigDir);
    const std::optional<Settings> stored = m_ini.LoadIni();
    if (stored)
        applySettings(*stored);
    // What a unit still holds at exit was not changed by this run; a place
    // mended at start-up is a change.
    Settings baseline = collectSettings();
    baseline.mainPlace = stored ? stored->mainPlace : std::nullopt;
    baseline.tilePlace = stored ? stored->tilePlace : std::nullopt;
    m_ini.SetBaseline(baseline);
    if (m.MemoryState.tate == -1)
        mnuMemoryLoad->setEnabled(false);

    for (int i = 1; i < kPointCount; ++i) {
        PicColor[i]->show();
        for (int c = 0; c < 3; ++c)
            LabColor[7 * c + i]->show();
    }
    UpDown1->setRange(kMinImageSize, kMaxImageSize);
    txtSize_Change();
    Option1_Click(0);
    // Switches the redraws on and draws the start-up gradient once, in the
    // blend last chosen.
    GradPoints start = StartupPoints();
    start.blend = m.BlendMode;
    applyPoints(start);
}

namespace {

// The title bar's height as a window manager draws it, and how much of it
// must stay on a screen to be grabbed.
constexpr int kTitleHeightPx = 24;
constexpr int kTitleSpanPx = 100;

} // namespace

void frmMain::applySettings(const Settings& s)
{
    m.SampleTextFont = s.SampleTextFont;
    m.MemoryState = s.MemoryState;
    m.BlendMode = s.Blend == 1 ? Blend::OkLab : Blend::Rgb;
    m.Dither = s.Dither;
    const double tpx = TwipsPerPixelX(this);
    const double tpy = TwipsPerPixelY(this);
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
    // Puts the window's frame where the file says, or where its title bar
    // can be grabbed; returns whether the file's place had to be mended.
    const auto put = [&](QWidget* w, FramePlacer* placer, const WindowPlace& place, bool sized) {
        // Not shown yet: the size it will open with, its own where it was
        // given one (the tile window's design size), else its layout's.
        const QSize now = w->isVisible() || w->testAttribute(Qt::WA_Resized)
                              ? w->size()
                              : w->sizeHint().expandedTo(w->minimumSize());
        // A size of 0 (a file without it) keeps the designed size.
        const bool resize = sized && place.width > 0 && place.height > 0;
        FormRect r{static_cast<double>(place.left), static_cast<double>(place.top),
                   resize ? place.width : now.width() * tpx,
                   resize ? place.height : now.height() * tpy};
        const FormRect asked = r;
        // Places beyond what a window system holds (16-bit coordinates).
        clsCommon::ChkFormPos(r, areas, 32767 * tpx, 32767 * tpy, title);
        const auto px = [](double twips, double per) {
            return static_cast<int>(std::lround(twips / per));
        };
        placer->place(QRect(px(r.left, tpx), px(r.top, tpy),
                            resize ? px(r.width, tpx) : now.width(),
                            resize ? px(r.height, tpy) : now.height()));
        return r.left != asked.left || r.top != asked.top || r.width != asked.width ||
               r.height != asked.height;
    };
    m_mainPlace = s.mainPlace;
    if (s.mainPlace && put(this, m_mainPlacer, *s.mainPlace, false))
        m_mainPlace.reset();
    // A file without the tile window's place leaves its first place to the
    // window system.
    if (s.tilePlace && !(*s.tilePlace == WindowPlace{})) {
        tile();
        m_tilePlace = s.tilePlace;
        if (put(m_tile.get(), m_tilePlacer, *s.tilePlace, true))
            m_tilePlace.reset();
    }
    m_dlgSaveInitDir = QString::fromStdString(s.SaveInitPath);
    // A language chosen in the menu outranks the locale's.
    m_language = s.Language;
    if (const std::optional<UiLanguage> chosen = LanguageFromCode(s.Language))
        SetUiLanguage(*chosen);
}

std::optional<WindowPlace> frmMain::placeOf(const QWidget* w, const FramePlacer* placer,
                                            const std::optional<WindowPlace>& stored) const
{
    if (w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        return stored;
    const QRect now = placer->frame();
    if (now.isNull())
        return std::nullopt;
    // Where the file put it and nobody moved it since: the file's own
    // numbers, which pixels would round. A file without a size has left
    // the size to the window.
    const bool sized = stored && stored->width > 0 && stored->height > 0;
    const auto same = [&](const QRect& r) {
        return sized ? now == r : now.topLeft() == r.topLeft() && !r.isNull();
    };
    if (stored &&
        (same(placer->placed()) || same(placer->firstMapped()) || placer->unmovedSinceMapped()))
        return stored;
    const double tpx = TwipsPerPixelX(this);
    const double tpy = TwipsPerPixelY(this);
    // Saturating: no place may come back with the other sign.
    return WindowPlace{ToInt32(now.x() * tpx), ToInt32(now.y() * tpy), ToInt32(now.width() * tpx),
                       ToInt32(now.height() * tpy)};
}

Settings frmMain::collectSettings()
{
    Settings s;
    s.SampleTextFont = m.SampleTextFont;
    s.MemoryState = m.MemoryState;
    s.mainPlace = placeOf(this, m_mainPlacer, m_mainPlace);
    if (m_tile)
        s.tilePlace = placeOf(m_tile.get(), m_tilePlacer, m_tilePlace);
    s.SaveInitPath = clsCommon::TrimDir(m_dlgSaveFileName.toStdString());
    s.Blend = m.BlendMode == Blend::OkLab ? 1 : 0;
    s.Dither = m.Dither;
    s.Language = m_language;
    return s;
}

bool frmMain::reportSettingsWrite(const Result& written)
{
    if (!written.ok())
        dialogs().message(this, MsgIcon::Error, ResultText(written));
    return written.ok();
}

bool frmMain::WriteSettingsUnits(SettingsUnits units)
{
    return reportSettingsWrite(m_ini.SaveUnits(collectSettings(), units));
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
    m_unloaded = true;
    // Only what this run changed: another running copy may have written the
    // rest since start-up.
    const Result written = m_ini.SaveIni(collectSettings());
    if (m_unattended && !written.ok())
        sayWriteFailed(written);
    else
        reportSettingsWrite(written);
    if (m_tile)
        m_tile->hide();
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

bool frmMain::isMenuShortcut(const QKeyEvent* event) const
{
    const QKeySequence pressed(
        QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    for (const QAction* top : menuBar()->actions())
        if (const QMenu* menu = top->menu())
            for (const QAction* a : menu->actions())
                if (a->shortcuts().contains(pressed))
                    return true;
    return false;
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
        if (event->type() == QEvent::Paint) {
            // An etched rule below the menu bar.
            QPainter p(surface);
            p.setPen(palette().color(QPalette::Dark));
            p.drawLine(0, 0, 573, 0);
            p.setPen(palette().color(QPalette::Light));
            p.drawLine(0, 1, 573, 1);
            return false;
        }
    } else if (watched == txtSize) {
        if (FilterNumberInput(event, [this](int key) { return txtSize_KeyPress(key); }))
            return true;
        if (event->type() == QEvent::FocusOut)
            txtSize_LostFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- point controls ----------------------------------------------------

GradPoints frmMain::currentPoints() const
{
    GradPoints p;
    for (int i = 0; i < kPointCount; ++i) {
        p.position[i] = Slider1[i]->value();
        p.enabled[i] = Check1[i]->isChecked();
        p.color[i] = m.PointColor[i];
    }
    p.blend = m.BlendMode;
    return p;
}

void frmMain::applyPoints(const GradPoints& points)
{
    m.RedrawEnabled = false;
    // Points that come on are switched on first: taken strictly in index
    // order, switching off the only enabled point before another comes on
    // would be refused and leave the wrong points on.
    for (int i = 0; i < kPointCount; ++i)
        if (points.enabled[i])
            setCheck(i, true);
    for (int i = 0; i < kPointCount; ++i) {
        setCheck(i, points.enabled[i]);
        Slider1[i]->setValue(std::clamp(points.position[i], 0, kMaxPosition));
        Slider1_Scroll(i);
        m.PointColor[i] = points.color[i];
        SetColorBox(i);
    }
    m.BlendMode = points.blend;
    mnuBlendKind[points.blend == Blend::OkLab ? 1 : 0]->setChecked(true);
    m.RedrawEnabled = true;
    Preview();
    tile().PrintTile();
}

EditState frmMain::editState() const
{
    // A size below 4 only stands while it is being typed; every redraw and
    // leaving the box raise it to 4, so that is what a step keeps.
    return {currentPoints(), std::clamp(m.ImageSize, kMinImageSize, kMaxImageSize), m.Orientation};
}

void frmMain::applyEditState(const EditState& s)
{
    m.RedrawEnabled = false;
    SetTextAndRun(txtSize, QString::number(s.size), [this] { txtSize_Change(); });
    Option1_Click(s.orientation);
    Option1[m.Orientation]->setChecked(true);
    Option1[1 - m.Orientation]->setChecked(false);
    applyPoints(s.points);
}

void frmMain::stepDone(EditStep step, int mergeKey)
{
    if (m_undo && m.RedrawEnabled)
        m_undo->record(step, mergeKey);
}

void frmMain::setCheck(int Index, bool on)
{
    if (Check1[Index]->isChecked() != on)
        Check1[Index]->setChecked(on); // runs Check1_Click
    else
        Check1_Click(Index);
}

void frmMain::SetColorBox(int Index)
{
    const Colour c = m.PointColor[Index];
    PicColor[Index]->setColor(ToQColor(c));
    LabColor[Index]->setText(QString::number(GetRed(c)));
    LabColor[Index + 7]->setText(QString::number(GetGreen(c)));
    LabColor[Index + 14]->setText(QString::number(GetBlue(c)));
}

void frmMain::Check1_Click(int Index)
{
    bool any = false;
    for (QCheckBox* c : Check1)
        any = any || c->isChecked();
    if (!any) {
        dialogs().message(this, MsgIcon::Exclamation,
                          tr("全てのEnabledのチェックをはずすことは出来ません。"));
        // Runs this handler again, which finds the point enabled.
        Check1[Index]->setChecked(true);
        return;
    }
    const bool enabled = Check1[Index]->isChecked();
    Slider1[Index]->setEnabled(enabled);
    for (int c = 0; c < 3; ++c)
        LabColor[Index + 7 * c]->setEnabled(enabled);
    LabLocate[Index]->setEnabled(enabled);
    PicColor[Index]->setEnabled(enabled);
    LabX[Index]->setVisible(!enabled);
    Preview();
    tile().PrintTile();
    stepDone(EditStep::Check);
}

void frmMain::onSliderValueChanged(int Index)
{
    // A user's movement raises the scroll notification; a settled change
    // (not in the middle of a drag) also the change notification. A position
    // set by the program raises only the change notification.
    const bool user = m_userSliderAction[Index];
    m_userSliderAction[Index] = false;
    if (user || Slider1[Index]->isSliderDown())
        Slider1_Scroll(Index);
    if (!Slider1[Index]->isSliderDown()) {
        Slider1_Change(Index);
        // Key, wheel and track steps of one slider in a row are one step.
        stepDone(EditStep::Slider, Index);
    }
}

void frmMain::Slider1_Scroll(int Index)
{
    LabLocate[Index]->setText(QString::number(Slider1[Index]->value()));
    LabLocate[Index]->adjustSize();
}

void frmMain::Slider1_Change(int)
{
    Preview();
    tile().PrintTile();
}

void frmMain::PicColor_Click(int Index)
{
    const auto chosen = dialogs().color(this, ToQColor(m.PointColor[Index]));
    if (!chosen)
        return;
    m.PointColor[Index] = FromQColor(*chosen);
    SetColorBox(Index);
    Preview();
    tile().PrintTile();
    stepDone(EditStep::Colour);
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
    const Colour c = FromQColor(QColor(img.pixel(X, Y)));
    const QString tip = tr("R=%1 G=%2 B=%3").arg(GetRed(c)).arg(GetGreen(c)).arg(GetBlue(c));
    picPrev->setToolTip(tip);
    if (QToolTip::isVisible())
        QToolTip::showText(picPrev->mapToGlobal(QPoint(X, Y)), tip, picPrev);
}

void frmMain::txtSize_Change()
{
    LineEditHolder holder(txtSize);
    clsCommon::CheckTextRange(holder, kMaxImageSize);
    m.ImageSize = ReadInt32(txtSize->text().toStdString());
    tile().PrintTile();
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
    stepDone(EditStep::Size);
}

void frmMain::Option1_Click(int Index)
{
    m.Orientation = static_cast<std::int16_t>(Index);
    showSizeName();
    if (tile().isVisible())
        tile().RefreshForm();
    tile().PrintTile();
    stepDone(EditStep::Orientation);
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

// --- drawing -----------------------------------------------------------

void frmMain::Preview()
{
    if (!m.RedrawEnabled)
        return;
    if (m.ImageSize < kMinImageSize)
        SetTextAndRun(txtSize, QStringLiteral("4"), [this] { txtSize_Change(); });
    else if (m.ImageSize > kMaxImageSize)
        SetTextAndRun(txtSize, QStringLiteral("2000"), [this] { txtSize_Change(); });
    BusyCursor busy(this);
    picPrev->fitImage();
    QImage& img = picPrev->image();
    const int length = img.width();
    const std::vector<Colour> line = DrawGrad(currentPoints(), length);
    // One line a pixel column: the first row, then the same row below it.
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        if (y > 0) {
            std::memcpy(row, img.constScanLine(0), static_cast<std::size_t>(length) * 4);
            continue;
        }
        for (int x = 0; x < length; ++x)
            row[x] = ToQColor(line[static_cast<std::size_t>(x)]).rgb();
    }
    picPrev->update();
}

void frmMain::picWorkDrawGrad()
{
    const int size = std::max(0, m.ImageSize);
    const bool vertical = m.Orientation != 0;
    BusyCursor busy(this);
    if (m.Dither && size > 0) {
        // The tile window shows the export as it will be: dithered, at the
        // thickness that will be saved (as much of it as a screen can show).
        const int screen = std::max(tile().width(), tile().height());
        const StripImage img = MakeStrip(currentPoints(), size, vertical,
                                         std::min(exportThickness(), std::max(screen, 64)), true);
        m_workLine = img.line;
        m_picWork = StripPicture(img);
        return;
    }
    m_workLine = DrawGrad(currentPoints(), size);
    m_picWork = QImage(vertical ? 1 : size, vertical ? size : 1, QImage::Format_RGB32);
    if (size == 0)
        return;
    for (int k = 0; k < size; ++k) {
        const QRgb px = ToQColor(m_workLine[static_cast<std::size_t>(k)]).rgb();
        m_picWork.setPixel(vertical ? 0 : k, vertical ? k : 0, px);
    }
}

int frmMain::exportThickness()
{
    // The dialog in its design state (never made, or closed from its close
    // box) exports the thin strip.
    const bool on = m_option && !m_option->destroyedByUser() && m_option->thicknessOn();
    return std::clamp(on ? m_option->saveHeight() : m.Orientation + 1, 1, kMaxThickness);
}

frmTile& frmMain::tile()
{
    if (!m_tile) {
        TileSource source;
        source.workPicture = [this]() -> const QImage* {
            if (!m.RedrawEnabled)
                return nullptr;
            picWorkDrawGrad();
            return &m_picWork;
        };
        source.vertical = [this] { return m.Orientation != 0; };
        m_tile = std::make_unique<frmTile>(dialogs(), m.SampleTextFont, std::move(source));
        m_tile->setWindowIcon(windowIcon());
        m_tilePlacer = new FramePlacer(m_tile.get(), true);
        m_tilePlacer->setGuide(this);
        // The window fills in a missing face; the settings file keeps what
        // it shows.
        m.SampleTextFont = m_tile->sampleText();
        connect(m_tile.get(), &frmTile::sampleTextChanged, this,
                [this] { m.SampleTextFont = m_tile->sampleText(); });
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
            if (m.Dither)
                tile().PrintTile();
        });
        connect(m_option.get(), &frmOption::ditherChanged, this, [this](bool on) {
            m.Dither = on;
            tile().PrintTile();
        });
    }
    m_option->setDither(m.Dither);
    m_option->setTarget({m.SaveMode, m.Orientation, m.ImageSize});
    return *m_option;
}

frmLD& frmMain::ld()
{
    if (!m_ld) {
        m_ld = std::make_unique<frmLD>(this);
        connect(m_ld.get(), &frmLD::pointsChanged, this,
                [this](const GradPoints& points) { applyPoints(points); });
    }
    m_ld->setPoints(currentPoints());
    return *m_ld;
}

// --- edit commands -----------------------------------------------------

void frmMain::mnuRandom_Click()
{
    applyPoints(RandomUniform(currentPoints(), *m_env.random));
    stepDone(EditStep::RandomUniform);
}

void frmMain::mnuRandomNatural_Click()
{
    applyPoints(RandomNatural(currentPoints(), *m_env.random));
    stepDone(EditStep::RandomNatural);
}

void frmMain::mnuLD_Click()
{
    // Every change inside the dialog, Cancel included, has redrawn already.
    dialogs().runModal(&ld());
    stepDone(EditStep::Brightness); // none after Cancel: nothing changed
}

void frmMain::mnuEqual_Click()
{
    applyPoints(EqualSpacing(currentPoints()));
    stepDone(EditStep::Equal);
}

void frmMain::mnuBlend_Click(int Index)
{
    const Blend chosen = Index == 1 ? Blend::OkLab : Blend::Rgb;
    mnuBlendKind[static_cast<std::size_t>(Index)]->setChecked(true);
    if (chosen == m.BlendMode)
        return;
    m.BlendMode = chosen;
    Preview();
    tile().PrintTile();
    stepDone(EditStep::Blend);
}

void frmMain::mnuMemorySave_Click()
{
    MemoryStateT& mem = m.MemoryState;
    for (int i = 0; i < kPointCount; ++i) {
        mem.Enabled[i] = Check1[i]->isChecked() ? 1 : 0;
        mem.Locate[i] = Slider1[i]->value();
        mem.Color[i] = m.PointColor[i];
    }
    mem.tate = m.Orientation;
    mem.Size = m.ImageSize;
    mem.SaveHeight = m.SaveHeight;
    mem.chkHeight = option().thicknessOn();
    mem.Blend = m.BlendMode == Blend::OkLab ? 1 : 0;
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
    EditState s;
    for (int i = 0; i < kPointCount; ++i) {
        s.points.enabled[i] = mem.Enabled[i] != 0;
        s.points.position[i] = mem.Locate[i];
        s.points.color[i] = mem.Color[i];
    }
    s.points.blend = mem.Blend == 1 ? Blend::OkLab : Blend::Rgb;
    s.size = mem.Size;
    s.orientation = mem.tate;
    applyEditState(s);
    stepDone(EditStep::Restore);
}

// --- export ------------------------------------------------------------

void frmMain::CmdSave_Click()
{
    m.SaveMode = true;
    SaveImage();
}

void frmMain::MenuSave_Click()
{
    m.SaveMode = true;
    SaveImage();
}

void frmMain::mnuClipBoard_Click()
{
    m.SaveMode = false;
    SaveImage();
}

void frmMain::mnuCopyCss_Click()
{
    CopyCss({currentPoints(), m.ImageSize, m.Orientation, m.Dither});
}

void frmMain::SaveImage()
{
    SaveFileRequest saveDialog{{}, m_dlgSaveInitDir, m_dlgSaveFileName, m_dlgSaveType};
    RunExport(
        dialogs(), this, [this]() -> frmOption& { return option(); },
        {currentPoints(), m.ImageSize, m.Orientation, m.Dither}, m.SaveMode, saveDialog);
    m_dlgSaveFileName = saveDialog.fileName;
    m_dlgSaveType = saveDialog.type;
    // The work picture holds the gradient as exported.
    picWorkDrawGrad();
}

// --- help --------------------------------------------------------------

void frmMain::MenuPrintHelp_Click()
{
    ShowHelp(CurrentUiLanguage() == UiLanguage::English ? QStringLiteral("index_en.htm")
                                                        : QStringLiteral("index.htm"));
}

void frmMain::MenuVersion_Click()
{
    frmAbout about(dialogs(), this);
    dialogs().runModal(&about);
}

void frmMain::ShowHelp(const QString& FileName)
{
    const QString path = QDir(m_env.programDir).filePath(QStringLiteral("help/") + FileName);
    // The opener may also give up after it started (no viewer it could
    // run): said when it ends, if the window is still there.
    const QPointer<frmMain> self(this);
    const auto cannot = [self](int ret) {
        if (self)
            self->dialogs().message(
                self, MsgIcon::Error,
                ResultText(
                    Failure{FailureKind::NotOpened, {}, BlankSigned(ret), FailedTask::ShowHelp}));
    };
    const int ret = ShellExe(this, path, 0, m_env.opener, cannot);
    if (ret <= 31)
        cannot(ret);
}

} // namespace velmix
