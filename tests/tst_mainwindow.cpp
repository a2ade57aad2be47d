// The main window driven as a user drives it: start-up state, the point
// controls, the size box, orientation, the preview's pixels and tooltip, the
// pop-up menu, and the settings read at start-up and written at shutdown.

#include "guifixture.h"
#include "testutil.h"

#include "frmld.h"
#include "frmoption.h"

#include "frmabout.h"

#include <QAccessible>
#include <QAction>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTranslator>

#include <cerrno>
#include <cstring>

using namespace velmix;

class tst_MainWindow : public QObject
{
    Q_OBJECT
private slots:
    void translatableAndNamed();
    void startupState();
    void captionsMenusAndFonts();
    void japaneseFaceAndQtTexts();
    void widestTextsFit();
    void switchedOffLooksOff();
    void framesAndKeys();
    void refuseLastUncheck();
    void disabledPointKeepsEverything();
    void sliderDragRedrawsOnRelease();
    void sliderKeysRedrawAtOnce();
    void sizeBoxTyping();
    void sizeBoxUpDown();
    void orientationCaptions();
    void previewTooltip();
    void colourBoxKeysAndClicks();
    void rightClickOnlyOnBackground();
    void settingsAppliedAndWritten();
    void minimisedOrMaximisedKeepsStoredPlace();
    void tileNeverShownKeepsPlace();
    void exitKeepsWhatAnotherCopyWrote();
    void storedPlacesBounded();
    void failedSettingsWriteSaysSo();
    void sessionSaveWritesWithoutEnding();
};

void tst_MainWindow::startupState()
{
    GuiFixture f;
    frmMain& w = f.w();
    const int pos[4] = {0, 333, 667, 1000};
    const char* rgb[4][3] = {
        {"255", "0", "0"}, {"0", "255", "0"}, {"0", "0", "255"}, {"255", "0", "0"}};
    for (int i = 0; i < kPointCount; ++i) {
        const bool on = i < 4;
        QCOMPARE(child<QCheckBox>(w, "Check1", i)->isChecked(), on);
        QCOMPARE(child<QLabel>(w, "LabX", i)->isVisible(), !on);
        QCOMPARE(child<QSlider>(w, "Slider1", i)->isEnabled(), on);
        QCOMPARE(child<ColorBox>(w, "PicColor", i)->isEnabled(), on);
        QCOMPARE(child<QSlider>(w, "Slider1", i)->value(), on ? pos[i] : 0);
        QCOMPARE(child<QLabel>(w, "LabLocate", i)->text(), QString::number(on ? pos[i] : 0));
        for (int c = 0; c < 3; ++c)
            QCOMPARE(child<QLabel>(w, "LabColor", i + 7 * c)->text(),
                     on ? QString(rgb[i][c]) : QString("0"));
        QVERIFY(child<ColorBox>(w, "PicColor", i)->isVisible());
    }
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("100"));
    QCOMPARE(w.state().ImageSize, 100);
    QCOMPARE(child<QLabel>(w, "labSize")->text(), QString("横幅(pixel):"));
    QVERIFY(child<QRadioButton>(w, "Option1_0")->isChecked());
    QVERIFY(!child<QAction>(w, "mnuMemoryLoad")->isEnabled());
    QVERIFY(w.state().RedrawEnabled);
    QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), DrawGrad(StartupPoints(), 280)));
    QVERIFY(!f.tile().isVisible());
    QVERIFY(f.dialogs.messages.empty());
}

void tst_MainWindow::captionsMenusAndFonts()
{
    GuiFixture f;
    frmMain& w = f.w();
    // The shortcuts work from the window, and the pop-up is the edit menu.
    QCOMPARE(child<QAction>(w, "MenuSave")->shortcut(), QKeySequence("Ctrl+A"));
    QCOMPARE(child<QAction>(w, "mnuClipBoard")->shortcut(), QKeySequence("Ctrl+C"));
    QStringList edit;
    for (QAction* a : child<QMenu>(w, "mnuGradEdit")->actions())
        edit << (a->isSeparator() ? QString("-") : a->text());
    QCOMPARE(edit, QStringList({"元に戻す(&U)", "やり直し(&Y)", "-", "色のﾗﾝﾀﾞﾑ決定(一様乱数)(&R)",
                                "色のﾗﾝﾀﾞﾑ決定(自然)(&N)", "明度の調整(&Z)...", "-",
                                "点を等間隔に配置(&E)", "-", "現在の状態を記憶(&S)",
                                "記憶内容を復帰(&L)"}));
    // Fonts read as requested where the face is substituted.
    QCOMPARE(child<QCheckBox>(w, "Check1_0")->font().family(), QString("ＭＳ Ｐゴシック"));
    QVERIFY(child<QCheckBox>(w, "Check1_0")->font().bold());
    QCOMPARE(child<QLabel>(w, "LabColor_9")->font().pointSizeF(), 11.25);
    // Layout in pixels of a 96-dpi screen.
    QCOMPARE(child<QWidget>(w, "surface")->size(), QSize(478, 363));
    QCOMPARE(child<QSlider>(w, "Slider1_0")->geometry(), QRect(24, 24, 300, 32));
    QCOMPARE(child<QSlider>(w, "Slider1_3")->geometry(), QRect(24, 136, 300, 28));
    QCOMPARE(child<ColorBox>(w, "PicColor_0")->geometry(), QRect(359, 28, 20, 20));
    QCOMPARE(child<ColorBox>(w, "PicColor_6")->geometry(), QRect(359, 244, 20, 20));
    QCOMPARE(child<ImageBox>(w, "picPrev")->geometry(), QRect(32, 288, 284, 17));
    QCOMPARE(child<QGroupBox>(w, "Frame1")->geometry(), QRect(328, 276, 145, 81));
}

void tst_MainWindow::japaneseFaceAndQtTexts()
{
    GuiFixture f;
    // The designed face, by either spelling, is drawn in its metric twin.
    QCOMPARE(QFontInfo(child<QCheckBox>(f.w(), "Check1_0")->font()).family(),
             QString("IPAPGothic"));
    QCOMPARE(QFontInfo(QFont("MS PGothic")).family(), QString("IPAPGothic"));
    QCOMPARE(QFontInfo(child<QPushButton>(f.w(), "CmdSave")->font()).family(),
             QString("IPAPGothic"));
    // Qt's standard buttons, as in its colour, font, save and message boxes.
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Yes | QDialogButtonBox::No);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString("キャンセル"));
    QCOMPARE(box.button(QDialogButtonBox::Yes)->text(), QString("はい(&Y)"));
    QCOMPARE(box.button(QDialogButtonBox::No)->text(), QString("いいえ(&N)"));
}

void tst_MainWindow::widestTextsFit()
{
    GuiFixture f;
    frmMain& w = f.w();
    // Three 255s side by side stay apart and inside the window.
    for (int i = 0; i < 3; ++i)
        w.state().PointColor[i] = 0xffffff;
    for (int i = 0; i < 3; ++i)
        w.SetColorBox(i);
    for (int c = 0; c < 3; ++c) {
        QLabel* l = child<QLabel>(w, "LabColor", 7 * c);
        const int ink = l->fontMetrics().horizontalAdvance(l->text());
        const int room = c < 2 ? child<QLabel>(w, "LabColor", 7 * (c + 1))->x() - l->x()
                               : child<QWidget>(w, "surface")->width() - l->x();
        QVERIFY2(ink < room, qPrintable(QString("column %1: %2 of %3").arg(c).arg(ink).arg(room)));
    }
    // The longer size word stands clear of the size box.
    QTest::mouseClick(child<QRadioButton>(w, "Option1_1"), Qt::LeftButton);
    QVERIFY(child<QLabel>(w, "labSize")->x() + child<QLabel>(w, "labSize")->sizeHint().width() <=
            child<QLineEdit>(w, "txtSize")->x());
    // The largest size the options dialog can report.
    frmOption& opt = w.option();
    opt.setTarget(OptionTarget{true, 1, 2000});
    child<QCheckBox>(opt, "chkHeight")->setChecked(true);
    child<QLineEdit>(opt, "txtSize")->setText("32767");
    QCOMPARE(child<QLabel>(opt, "lblSize")->text(), QString(" 32767 x 2000 pixels")); // vertical
    QVERIFY2(child<QLabel>(opt, "lblSize")->sizeHint().width() <=
                 child<QLabel>(opt, "lblSize")->width(),
             qPrintable(QString::number(child<QLabel>(opt, "lblSize")->sizeHint().width())));
    QVERIFY2(child<QLabel>(opt, "lblSTatic")->sizeHint().width() <=
                 child<QLabel>(opt, "lblSize")->x() - child<QLabel>(opt, "lblSTatic")->x(),
             qPrintable(QString::number(child<QLabel>(opt, "lblSTatic")->sizeHint().width())));
    // Every button and check box caption, a few pixels clear of both edges.
    QList<QWidget*> windows{&w, &f.tile(), &opt, &w.ld()};
    for (QWidget* win : windows) {
        for (QAbstractButton* b : win->findChildren<QAbstractButton*>()) {
            if (b->text().isEmpty())
                continue;
            QString caption = b->text();
            caption.remove('&');
            // A push button's caption a few pixels in from both edges; the
            // ink of a check box's or option button's after its mark.
            const QFontMetrics fm = b->fontMetrics();
            const int need =
                qobject_cast<QPushButton*>(b)
                    ? fm.horizontalAdvance(caption) + 8
                    : fm.boundingRect(caption).right() + 1 +
                          b->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b) +
                          b->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
            QVERIFY2(need <= b->width(),
                     qPrintable(QString("%1: %2 of %3").arg(b->text()).arg(need).arg(b->width())));
        }
    }
}

void tst_MainWindow::switchedOffLooksOff()
{
    GuiFixture f;
    frmMain& w = f.w();
    // Value and position labels of a switched-off point are grey, not red.
    const auto reddish = [](QWidget* l) {
        const QImage img = l->grab().toImage();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qRed(img.pixel(x, y)) - qGreen(img.pixel(x, y)) > 60)
                    return true;
        return false;
    };
    QVERIFY(reddish(child<QLabel>(w, "LabColor_3")));
    QVERIFY(!reddish(child<QLabel>(w, "LabColor_4")));
    // A slider at 0 looks different off and on.
    const QImage off = child<QSlider>(w, "Slider1_4")->grab().toImage();
    w.setCheck(4, true);
    QVERIFY(child<QSlider>(w, "Slider1_4")->grab().toImage() != off);
    w.setCheck(4, false);
    // The cross reads on a red box, and offers no click.
    w.state().PointColor[4] = 255;
    w.SetColorBox(4);
    const QImage box = child<ColorBox>(w, "PicColor_4")->grab().toImage();
    int outline = 0;
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x)
            outline += qGray(box.pixel(x, y)) > 200;
    QVERIFY(outline > 10);
    QCOMPARE(child<ColorBox>(w, "PicColor_4")->childAt(10, 10), child<QLabel>(w, "LabX_4"));
    QCOMPARE(child<QLabel>(w, "LabX_4")->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(child<CrossLabel>(f.tile(), "LabX")->cursor().shape(), Qt::ArrowCursor);
}

void tst_MainWindow::framesAndKeys()
{
    GuiFixture f;
    frmMain& w = f.w();
    QCOMPARE(child<QLabel>(w, "LabColor_0")->y(), 32);
    // The main window: fixed, with a minimise box and no maximise box.
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    // The tile window at its smallest keeps its top row whole and clear of
    // the strip's label, in both orientations.
    w.cmdTile_Click();
    frmTile& t = f.tile();
    for (int o : {0, 1}) {
        QTest::mouseClick(child<QRadioButton>(w, "Option1", o), Qt::LeftButton);
        t.resize(10, 10);
        QCOMPARE(t.size(), t.minimumSize());
        QVERIFY(child<QCheckBox>(t, "ChkText")->x() >=
                child<QLabel>(t, "LabSavePicture")->x() +
                    child<QLabel>(t, "LabSavePicture")->width());
        QVERIFY(child<ImageBox>(t, "picGrad")->innerHeight() > 0);
    }
    // Up and Down step the size box within its range.
    QTest::keyClick(child<QLineEdit>(w, "txtSize"), Qt::Key_Up);
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("101"));
    QTest::keyClick(child<QLineEdit>(w, "txtSize"), Qt::Key_Down);
    QTest::keyClick(child<QLineEdit>(w, "txtSize"), Qt::Key_Down);
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("99"));
    child<QLineEdit>(w, "txtSize")->setText("2000");
    QTest::keyClick(child<QLineEdit>(w, "txtSize"), Qt::Key_Up);
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("2000"));
    child<QLineEdit>(w, "txtSize")->setText("4");
    QTest::keyClick(child<QLineEdit>(w, "txtSize"), Qt::Key_Down);
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("4"));
    // The brightness box's 0 is selected on the first showing: 50 is 50.
    QString typed;
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* ld = static_cast<frmLD*>(d);
        if (child<QLineEdit>(*ld, "txtLD")->selectedText() == "0")
            QTest::keyClicks(child<QLineEdit>(*ld, "txtLD"), "50");
        typed = child<QLineEdit>(*ld, "txtLD")->text();
    });
    w.mnuLD_Click();
    QCOMPARE(typed, QString("50"));
}

void tst_MainWindow::refuseLastUncheck()
{
    GuiFixture f;
    frmMain& w = f.w();
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(child<QCheckBox>(w, "Check1", i), Qt::LeftButton);
    QVERIFY(f.dialogs.messages.empty());
    const QImage before = child<ImageBox>(w, "picPrev")->image();
    QTest::mouseClick(child<QCheckBox>(w, "Check1_3"), Qt::LeftButton);
    QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(f.dialogs.messages[0].first, MsgIcon::Exclamation);
    QCOMPARE(f.dialogs.messages[0].second,
             QString("全てのEnabledのチェックをはずすことは出来ません。"));
    QVERIFY(child<QCheckBox>(w, "Check1_3")->isChecked());
    QVERIFY(child<QSlider>(w, "Slider1_3")->isEnabled());
    QVERIFY(child<ColorBox>(w, "PicColor_3")->isEnabled());
    QVERIFY(!child<QLabel>(w, "LabX_3")->isVisible());
    QCOMPARE(child<ImageBox>(w, "picPrev")->image(), before);
}

void tst_MainWindow::disabledPointKeepsEverything()
{
    GuiFixture f;
    frmMain& w = f.w();
    QTest::mouseClick(child<QCheckBox>(w, "Check1_1"), Qt::LeftButton);
    QVERIFY(!child<QCheckBox>(w, "Check1_1")->isChecked());
    QVERIFY(child<QLabel>(w, "LabX_1")->isVisible());
    QCOMPARE(child<QSlider>(w, "Slider1_1")->value(), 333);
    QCOMPARE(w.state().PointColor[1], 65280);
    QCOMPARE(child<QLabel>(w, "LabColor_8")->text(), QString("255"));
    QVERIFY(!child<QSlider>(w, "Slider1_1")->isEnabled());
    QVERIFY(!child<QLabel>(w, "LabLocate_1")->isEnabled());
    QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), f.expectedLine(280)));
    QTest::mouseClick(child<QCheckBox>(w, "Check1_1"), Qt::LeftButton);
    QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), DrawGrad(StartupPoints(), 280)));
}

void tst_MainWindow::sliderDragRedrawsOnRelease()
{
    GuiFixture f;
    frmMain& w = f.w();
    w.cmdTile_Click();
    const QImage before = child<ImageBox>(w, "picPrev")->image();
    const QImage tileBefore = child<ImageBox>(f.tile(), "picGrad")->image();
    QSlider* s = child<QSlider>(w, "Slider1_1");
    s->setSliderDown(true);
    for (int v : {340, 400, 512}) {
        s->setSliderPosition(v);
        QCOMPARE(child<QLabel>(w, "LabLocate_1")->text(), QString::number(v)); // the label follows
        QCOMPARE(child<ImageBox>(w, "picPrev")->image(), before); // nothing redrawn yet
        QCOMPARE(child<ImageBox>(f.tile(), "picGrad")->image(), tileBefore);
    }
    s->setSliderDown(false); // the release
    QVERIFY(child<ImageBox>(w, "picPrev")->image() != before);
    QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), f.expectedLine(280)));
    QCOMPARE(child<ImageBox>(f.tile(), "picGrad")->image().pixel(0, 0),
             Rgb(f.expectedLine(100)[0]));
    QVERIFY(ImageShowsLine(child<ImageBox>(f.tile(), "picGrad")->image().copy(0, 0, 100, 1),
                           f.expectedLine(100)));
}

void tst_MainWindow::sliderKeysRedrawAtOnce()
{
    GuiFixture f;
    frmMain& w = f.w();
    child<QSlider>(w, "Slider1_2")->setFocus();
    QTest::keyClick(child<QSlider>(w, "Slider1_2"), Qt::Key_PageUp);
    QCOMPARE(child<QSlider>(w, "Slider1_2")->value(), 717);
    QCOMPARE(child<QLabel>(w, "LabLocate_2")->text(), QString("717"));
    QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), f.expectedLine(280)));
    QTest::keyClick(child<QSlider>(w, "Slider1_2"), Qt::Key_Left);
    QCOMPARE(child<QLabel>(w, "LabLocate_2")->text(), QString("716"));
}

void tst_MainWindow::sizeBoxTyping()
{
    GuiFixture f;
    frmMain& w = f.w();
    child<QLineEdit>(w, "txtSize")->setFocus();
    child<QLineEdit>(w, "txtSize")->selectAll();
    QTest::keyClicks(child<QLineEdit>(w, "txtSize"), "2500");
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("2000"));
    QCOMPARE(w.state().ImageSize, 2000);
    child<QLineEdit>(w, "txtSize")->selectAll();
    QTest::keyClicks(child<QLineEdit>(w, "txtSize"), "a-.x 7");
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("7"));
    QTest::keyClick(child<QLineEdit>(w, "txtSize"), Qt::Key_Backspace);
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString(""));
    QCOMPARE(w.state().ImageSize, 0);
    QTest::keyClicks(child<QLineEdit>(w, "txtSize"), "3");
    QCOMPARE(w.state().ImageSize, 3);           // accepted while typing
    child<QSlider>(w, "Slider1_0")->setFocus(); // leaving the box
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("4"));
    QCOMPARE(w.state().ImageSize, 4);
    // Paste of text without a number, then leaving: 4.
    child<QLineEdit>(w, "txtSize")->setText("abc");
    QCOMPARE(w.state().ImageSize, 0);
    w.txtSize_LostFocus();
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("4"));
}

void tst_MainWindow::sizeBoxUpDown()
{
    GuiFixture f;
    frmMain& w = f.w();
    child<UpDown>(w, "UpDown1")->step(1);
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("101"));
    child<QLineEdit>(w, "txtSize")->setText("2000");
    child<UpDown>(w, "UpDown1")->step(1);
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("2000"));
    child<QLineEdit>(w, "txtSize")->setText("4");
    child<UpDown>(w, "UpDown1")->step(-1);
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("4"));
    QCOMPARE(w.state().ImageSize, 4);
}

void tst_MainWindow::orientationCaptions()
{
    GuiFixture f;
    frmMain& w = f.w();
    w.cmdTile_Click();
    QTest::mouseClick(child<QRadioButton>(w, "Option1_1"), Qt::LeftButton);
    QCOMPARE(w.state().Orientation, 1);
    QCOMPARE(child<QLabel>(w, "labSize")->text(), QString("高さ(pixel):"));
    QCOMPARE(w.picWork().size(), QSize(1, 100)); // the tile view was redrawn
    QTest::mouseClick(child<QRadioButton>(w, "Option1_0"), Qt::LeftButton);
    QCOMPARE(child<QLabel>(w, "labSize")->text(), QString("横幅(pixel):"));
    QCOMPARE(w.picWork().size(), QSize(100, 1));
    // The preview is the same for both.
    QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), DrawGrad(StartupPoints(), 280)));
}

void tst_MainWindow::previewTooltip()
{
    GuiFixture f;
    frmMain& w = f.w();
    const std::vector<Colour> line = DrawGrad(StartupPoints(), 280);
    for (int x : {0, 47, 140, 279}) {
        QTest::mouseMove(child<ImageBox>(w, "picPrev"),
                         QPoint(x + child<ImageBox>(w, "picPrev")->border(), 8));
        const Colour c = line[static_cast<std::size_t>(x)];
        QCOMPARE(child<ImageBox>(w, "picPrev")->toolTip(),
                 QString("R=%1 G=%2 B=%3").arg(GetRed(c)).arg(GetGreen(c)).arg(GetBlue(c)));
    }
    const QString last = child<ImageBox>(w, "picPrev")->toolTip();
    w.picPrev_MouseMove(Qt::LeftButton, 500, 40); // dragged out: unchanged
    QCOMPARE(child<ImageBox>(w, "picPrev")->toolTip(), last);
}

void tst_MainWindow::colourBoxKeysAndClicks()
{
    GuiFixture f;
    frmMain& w = f.w();
    // Space opens the dialog, preset to the point's colour; cancel changes nothing.
    child<ColorBox>(w, "PicColor_2")->setFocus();
    QTest::keyClick(child<ColorBox>(w, "PicColor_2"), Qt::Key_Space);
    QCOMPARE(f.dialogs.colorPresets.size(), std::size_t(1));
    QCOMPARE(f.dialogs.colorPresets[0], QColor(0, 0, 255));
    QCOMPARE(w.state().PointColor[2], 16711680);
    // A click with an answer recolours the box, labels and preview.
    f.dialogs.colors.push_back(QColor(10, 20, 30));
    QTest::mouseClick(child<ColorBox>(w, "PicColor_2"), Qt::LeftButton);
    QCOMPARE(w.state().PointColor[2], MakeColour(10, 20, 30));
    QCOMPARE(child<QLabel>(w, "LabColor_2")->text(), QString("10"));
    QCOMPARE(child<QLabel>(w, "LabColor_9")->text(), QString("20"));
    QCOMPARE(child<QLabel>(w, "LabColor_16")->text(), QString("30"));
    QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), f.expectedLine(280)));
    // Tab moves on instead of opening the dialog.
    QTest::keyClick(child<ColorBox>(w, "PicColor_2"), Qt::Key_Tab);
    QCOMPARE(f.dialogs.colorPresets.size(), std::size_t(2));
}

void tst_MainWindow::rightClickOnlyOnBackground()
{
    GuiFixture f;
    frmMain& w = f.w();
    QTest::mouseClick(child<QSlider>(w, "Slider1_0"), Qt::RightButton);
    QTest::mouseClick(child<ColorBox>(w, "PicColor_0"), Qt::RightButton);
    QTest::mouseClick(child<ImageBox>(w, "picPrev"), Qt::RightButton);
    QTest::mouseClick(child<QLabel>(w, "LabEnabled"), Qt::RightButton);
    QVERIFY(!child<QMenu>(w, "mnuGradEdit")->isVisible());
    QTest::mouseClick(child<QWidget>(w, "surface"), Qt::LeftButton, {}, QPoint(250, 340));
    QVERIFY(!child<QMenu>(w, "mnuGradEdit")->isVisible());
    QTest::mouseClick(child<QWidget>(w, "surface"), Qt::RightButton, {}, QPoint(250, 340));
    QVERIFY(child<QMenu>(w, "mnuGradEdit")->isVisible());
    child<QMenu>(w, "mnuGradEdit")->hide();
}

void tst_MainWindow::settingsAppliedAndWritten()
{
    const QByteArray ini = "; mine\r\n[IniCheck]\r\nDummy=1\r\n[Memory]\r\nEnabled 0=1\r\n"
                           "Locate 0=500\r\nColor 0=255\r\nSize= 300\r\ntate= 0\r\n"
                           "SaveHeight= 1\r\nchkHeight=False\r\n[Option]\r\nMainLeft= 1500\r\n"
                           "MainTop= 3000\r\nTileLeft= 999999\r\nTileTop= 999999\r\n"
                           "TileWidth= 9000\r\nTileHeight= 4500\r\nSaveInitPath=/tmp/\r\n"
                           "[Unknown]\r\nkeep=this\r\n";
    GuiFixture f(ini);
    frmMain& w = f.w();
    QVERIFY(child<QAction>(w, "mnuMemoryLoad")->isEnabled());
    // The remembered state is not applied at start-up.
    QCOMPARE(child<QSlider>(w, "Slider1_0")->value(), 0);
    QCOMPARE(w.pos(), QPoint(100, 200));
    // Beyond the right edge: back so that its right edge meets the screen's.
    GuiFixture far("[IniCheck]\nDummy=1\n[Option]\nMainLeft= 99999\nMainTop= 99999\n");
    QCOMPARE(far.w().x() + far.w().width(), far.w().screen()->geometry().width());
    QCOMPARE(far.w().y(), 0);
    // Beyond the screen (1024 x 768 offscreen): back on it.
    QCOMPARE(f.tile().size(), QSize(600, 300));
    QCOMPARE(f.tile().x(), f.tile().screen()->geometry().width() - 600);
    QCOMPARE(f.tile().y(), 0);
    QVERIFY(!f.tile().isVisible());
    w.move(30, 45);
    w.close();
    const QByteArray out = f.iniText();
    QVERIFY(out.startsWith("; mine\r\n"));
    QVERIFY(out.contains("MainLeft= 450\r\n"));
    QVERIFY(out.contains("MainTop= 675\r\n"));
    QVERIFY(out.contains("[Unknown]\r\nkeep=this\r\n"));
    QVERIFY(out.contains("Locate 0=500\r\n"));
    QVERIFY(out.contains("TextOnOff=False\r\n"));
    // Nothing was saved: the stored folder stays.
    QVERIFY(out.contains("SaveInitPath=/tmp/\r\n"));
}

void tst_MainWindow::minimisedOrMaximisedKeepsStoredPlace()
{
    GuiFixture f("[IniCheck]\nDummy=1\n[Option]\nMainLeft= 1500\nMainTop= 3000\n");
    f.w().showMaximized();
    f.w().close();
    const QByteArray out = f.iniText();
    QVERIFY(out.contains("MainLeft= 1500\n"));
    QVERIFY(out.contains("MainTop= 3000\n"));
}

void tst_MainWindow::tileNeverShownKeepsPlace()
{
    GuiFixture f("[IniCheck]\nDummy=1\n[Option]\nTileLeft= 1500\nTileTop= 1200\n"
                 "TileWidth= 8000\nTileHeight= 4000\n");
    f.w().close();
    QVERIFY(f.iniText().contains("TileLeft= 1500\nTileTop= 1200\nTileWidth= 8000\n"));
    // No stored place: the window system places it, and nothing is made up.
    GuiFixture none("[IniCheck]\nDummy=1\n");
    none.w().close();
    QVERIFY(!none.iniText().contains("TileLeft="));
    // Once shown, its place is its own.
    GuiFixture shown("[IniCheck]\nDummy=1\n");
    shown.w().cmdTile_Click();
    shown.tile().move(40, 60);
    shown.w().close();
    QVERIFY(shown.iniText().contains("TileLeft= 600\nTileTop= 900\n"));
}

void tst_MainWindow::exitKeepsWhatAnotherCopyWrote()
{
    GuiFixture f("[IniCheck]\nDummy=1\n[Memory]\ntate=-1\n[Option]\nMainLeft= 1500\n"
                 "MainTop= 3000\nSaveInitPath=/tmp/\n");
    // Another copy remembers a gradient, moves its window and saves elsewhere.
    QFile file(f.programDir.filePath("velmix.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[IniCheck]\nDummy=1\n[Memory]\nEnabled 0=1\nLocate 0=700\nColor 0=255\n"
               "Size= 500\ntate= 1\nSaveHeight= 9\nchkHeight=True\n[Option]\n"
               "MainLeft= 3000\nMainTop= 4500\nSaveInitPath=/srv/\n");
    file.close();
    // This one only changes the sample text's colour.
    f.w().state().SampleTextFont.Color = 255;
    f.w().close();
    const QByteArray out = f.iniText();
    QVERIFY(out.contains("Locate 0=700\n"));
    QVERIFY(out.contains("tate= 1\n"));
    QVERIFY(out.contains("MainLeft= 3000\n"));
    QVERIFY(out.contains("SaveInitPath=/srv/\n"));
    QVERIFY(out.contains("Color= 255\n"));
    // Keys the file lacked are written (the tile window's place only once it
    // has one).
    QVERIFY(out.contains("Enabled 6=0\n"));
}

void tst_MainWindow::storedPlacesBounded()
{
    GuiFixture f("[IniCheck]\nDummy=1\n[Option]\nMainLeft=-999999\nMainTop= 300\n"
                 "TileLeft=-2147483648\nTileTop= 0\nTileWidth= 300000\nTileHeight= 300000\n");
    const QRect screen = f.w().screen()->geometry();
    QVERIFY(screen.contains(f.w().pos()));
    QVERIFY(screen.contains(f.tile().pos()));
    QVERIFY(f.tile().width() <= screen.width());
    QVERIFY(f.tile().height() <= screen.height());
    f.tile().move(-20, 10);
    f.w().close();
    const QByteArray out = f.iniText();
    QVERIFY(out.contains("TileLeft=-300\n"));
    QVERIFY(!out.contains("TileWidth= 300000\n"));
}

void tst_MainWindow::failedSettingsWriteSaysSo()
{
    GuiFixture f("[IniCheck]\nDummy=1\n");
    f.w().move(30, 45);
    {
        FileSizeLimit limit(16);
        f.w().close();
    }
    QCOMPARE(f.iniText(), QByteArray("[IniCheck]\nDummy=1\n"));
    QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(f.dialogs.messages[0].first, MsgIcon::Error);
    const QString text = f.dialogs.messages[0].second;
    QVERIFY2(text.contains(f.programDir.filePath("velmix.ini")), qPrintable(text));
    QVERIFY2(text.endsWith("\r\n" + QString::fromLocal8Bit(strerror(EFBIG))), qPrintable(text));
}

void tst_MainWindow::sessionSaveWritesWithoutEnding()
{
    // The desktop session asks for a save at logout: the file is written, no
    // question is asked, not even about a failure, and the program goes on
    // until the session ends it.
    GuiFixture f;
    f.w().move(30, 45);
    f.w().SaveSettingsNow();
    QVERIFY(f.iniText().contains("MainLeft= 450\n"));
    QVERIFY(f.w().isVisible());
    f.w().move(60, 45);
    {
        FileSizeLimit limit(16);
        f.w().SaveSettingsNow();
    }
    QVERIFY(f.iniText().contains("MainLeft= 450\n"));
    QVERIFY(f.dialogs.messages.empty());
    f.w().close();
    QVERIFY(f.iniText().contains("MainLeft= 900\n"));
    // Unloaded: a late request (the exit handler) writes nothing more.
    f.w().move(90, 45);
    f.w().SaveSettingsNow();
    QVERIFY(f.iniText().contains("MainLeft= 900\n"));
}

namespace {

// Wraps every text that goes through tr() in marks, so that a text without
// them reached the screen untranslatable.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QStringLiteral("\u2039") + QString::fromUtf8(source) + QStringLiteral("\u203a");
    }
    bool isEmpty() const override { return false; }
};

// Numbers, signs and the product name are not translated.
bool NeedsTranslation(const QString& text)
{
    if (text == QStringLiteral("Velmix"))
        return false;
    QString t = text;
    t.remove(QRegularExpression(QStringLiteral("[-0-9 .,:=x]")));
    return !t.isEmpty();
}

} // namespace

void tst_MainWindow::translatableAndNamed()
{
    MarkingTranslator marks;
    QCoreApplication::installTranslator(&marks);
    {
        GuiFixture f;
        frmMain& w = f.w();
        f.tile().show();
        frmOption& opt = w.option();
        opt.show();
        frmLD& ld = w.ld();
        frmAbout about(f.dialogs, &w);
        QList<QWidget*> windows{&w, &f.tile(), &opt, &ld, &about};
        QStringList bare;
        QStringList unnamed;
        const auto check = [&](const QString& text, const QString& where) {
            if (NeedsTranslation(text) && !text.contains(QChar(0x2039)))
                bare << where + ": " + text;
        };
        for (QWidget* win : windows) {
            check(win->windowTitle(), "title");
            for (QWidget* c : win->findChildren<QWidget*>()) {
                check(c->toolTip(), "tip");
                if (auto* l = qobject_cast<QLabel*>(c))
                    check(l->text(), "label");
                if (auto* b = qobject_cast<QAbstractButton*>(c))
                    check(b->text(), "button");
                if (auto* g = qobject_cast<QGroupBox*>(c))
                    check(g->title(), "group");
                // Every control a reader can reach says what it is (Qt's own
                // helpers, named qt_..., aside).
                if (c->objectName().startsWith("qt_"))
                    continue;
                if (c->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(c) ||
                    qobject_cast<QSlider*>(c)) {
                    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
                    if (!a || a->text(QAccessible::Name).isEmpty())
                        unnamed << QString("%1 %2").arg(c->metaObject()->className(),
                                                        c->objectName());
                }
            }
            for (QAction* a : win->findChildren<QAction*>())
                check(a->text(), "menu");
        }
        QVERIFY2(bare.isEmpty(), qPrintable(bare.join('\n')));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join('\n')));
        // Labels that name a control lead to it.
        QCOMPARE(child<QLabel>(w, "labSize")->buddy(), child<QLineEdit>(w, "txtSize"));
        QCOMPARE(child<QLabel>(opt, "lblHeight")->buddy(), child<QLineEdit>(opt, "txtSize"));
        QCOMPARE(child<QLabel>(ld, "Label1")->buddy(), child<QLineEdit>(ld, "txtLD"));
        QCOMPARE(child<QLabel>(f.tile(), "LabForeColor")->buddy(),
                 child<ColorBox>(f.tile(), "picForeColor"));
    }
    QCoreApplication::removeTranslator(&marks);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
