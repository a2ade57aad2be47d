// SPDX-License-Identifier: MIT
// The main window's form: its controls at their designed places, its menus
// and their texts in the current language.
#include "main/frmmain.h"

#include "core/language.h"
#include "widgets/widgets.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <utility>

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

} // namespace

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
        connect(Slider1[i], &QSlider::valueChanged, this, [this, i] {
            // A user's movement raises the scroll notification; a settled
            // change (not in the middle of a drag) also the change one.
            const bool user = std::exchange(m_userSliderAction[i], false);
            if (user || Slider1[i]->isSliderDown())
                Slider1_Scroll(i);
            if (!Slider1[i]->isSliderDown())
                Slider1_Change(i);
        });
        // One drag, one step.
        connect(Slider1[i], &QSlider::sliderReleased, this,
                [this, i] { m_doc.setPosition(i, Slider1[i]->value()); });

        LabLocate[i] = MakeLabel(surface, QStringLiteral("0"), 324, labelTop);
        LabLocate[i]->setFont(JpFont(8.25));
        LabLocate[i]->setMinimumWidth(34);
        SetTextColor(LabLocate[i], QColor(0x80, 0, 0x80));

        PicColor[i] = new ColorBox(surface);
        PicColor[i]->setGeometry(359, boxTop, 20, 20);
        connect(PicColor[i], &ColorBox::clicked, this, [this, i] { PicColor_Click(i); });
        connect(PicColor[i], &ColorBox::keyPressed, this,
                [this, i](int key) { PicColor_KeyPress(i, key); });
        connect(PicColor[i], &ColorBox::menuRequested, this,
                [this, i](const QPoint& at) { PicColor_Menu(i, at); });

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
    // Clicks in a row are one step.
    connect(UpDown1, &UpDown::stepped, this, [this] { m_doc.commit(EditStep::Size, kPointCount); });

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
    mnuGradEdit->addSeparator();
    mnuLibrary = add(mnuGradEdit, QT_TR_NOOP("ｸﾞﾗﾃﾞｰｼｮﾝ集(&G)..."), &frmMain::mnuLibrary_Click);

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

void frmMain::showSizeName()
{
    const char* names[2] = {QT_TR_NOOP("横幅"), QT_TR_NOOP("高さ")};
    labSize->setText(tr("%1(pixel):").arg(tr(names[m_doc.orientation() == 0 ? 0 : 1])));
    labSize->adjustSize();
}

void frmMain::nameControls()
{
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
                    {mnuLibrary, "mnuLibrary"},
                    {MenuTile, "MenuTile"},
                    {MenuPrintHelp, "MenuPrintHelp"},
                    {MenuVersion, "MenuVersion"},
                    {mnuLanguage, "mnuLanguage"}});
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

void frmMain::paintRule()
{
    // An etched rule below the menu bar.
    QPainter p(surface);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(0, 0, 573, 0);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, 1, 573, 1);
}

} // namespace velmix
