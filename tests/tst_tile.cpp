// The tile window: tiles and strip read back from the backing images, the
// layout in both orientations, the window's life, and the sample text.

#include "contrast.h"
#include "guifixture.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QFrame>
#include <QPushButton>

using namespace velmix;

namespace {

// Every pixel of picGrad repeats the work picture from the top left.
bool TilesRepeatWork(const QImage& grad, const QImage& work)
{
    for (int y = 0; y < grad.height(); ++y)
        for (int x = 0; x < grad.width(); ++x)
            if (grad.pixel(x, y) != work.pixel(x % work.width(), y % work.height()))
                return false;
    return true;
}

// Reads the box back as the screen shows it: every pixel inside the border is
// the backing image, and the border is two rings deep on every side.
void CheckBoxPixels(ImageBox* box)
{
    const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& img = box->image();
    QCOMPARE(box->border(), 2);
    QCOMPARE(img.size(), QSize(box->width() - 4, box->height() - 4));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (shown.pixel(x + 2, y + 2) != img.pixel(x, y))
                QFAIL(qPrintable(QString("inner pixel %1,%2 is not the picture").arg(x).arg(y)));
    const QPalette& pal = box->palette();
    const int r = shown.width() - 1;
    const int b = shown.height() - 1;
    for (int x = 2; x < r - 1; ++x) {
        QCOMPARE(shown.pixel(x, 0), pal.color(QPalette::Dark).rgb());
        QCOMPARE(shown.pixel(x, 1), pal.color(QPalette::Shadow).rgb());
        QCOMPARE(shown.pixel(x, b - 1), pal.color(QPalette::Midlight).rgb());
        QCOMPARE(shown.pixel(x, b), pal.color(QPalette::Light).rgb());
    }
    for (int y = 2; y < b - 1; ++y) {
        QCOMPARE(shown.pixel(0, y), pal.color(QPalette::Dark).rgb());
        QCOMPARE(shown.pixel(1, y), pal.color(QPalette::Shadow).rgb());
        QCOMPARE(shown.pixel(r - 1, y), pal.color(QPalette::Midlight).rgb());
        QCOMPARE(shown.pixel(r, y), pal.color(QPalette::Light).rgb());
    }
}

} // namespace

class tst_Tile : public QObject
{
    Q_OBJECT
private slots:
    void hiddenUntilAsked();
    void boxesPaintEveryPixel_data();
    void boxesPaintEveryPixel();
    void horizontalTilesAndStrip();
    void verticalTilesAndStrip();
    void imageLongerThanArea();
    void orientationSwitchClearsStrip();
    void minimisedComesBackNormal();
    void sizeZeroLeavesLastDrawing();
    void redrawOffDrawsNothing();
    void tinyWindowKeepsHeight();
    void closeBoxOnlyHides();
    void sampleTextFirstStart();
    void sampleTextOnOff();
    void fontChoiceMovesLines();
    void fontCancelReadsBack();
    void fontDialogOpensWithSample_data();
    void fontDialogOpensWithSample();
    void textColour();
    void contrastFigure();
    void sampleFontFromSettings();
};

void tst_Tile::hiddenUntilAsked()
{
    GuiFixture f;
    QVERIFY(!f.tile().isVisible());
    QVERIFY(child<ImageBox>(f.tile(), "picGrad")->image().isNull() ||
            child<ImageBox>(f.tile(), "picGrad")->image().pixel(0, 0) != Rgb(255));
    f.w().MenuTile_Click();
    QVERIFY(f.tile().isVisible());
    QCOMPARE(f.tile().windowTitle(), QString("タイル表示"));
}

void tst_Tile::boxesPaintEveryPixel_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("tileSize");
    QTest::newRow("horizontal") << 0 << QSize(513, 224);
    QTest::newRow("vertical") << 1 << QSize(513, 224);
    QTest::newRow("horizontal, resized") << 0 << QSize(700, 333);
    QTest::newRow("vertical, resized") << 1 << QSize(431, 180);
}

void tst_Tile::boxesPaintEveryPixel()
{
    QFETCH(int, orientation);
    QFETCH(QSize, tileSize);
    GuiFixture f;
    f.w().cmdTile_Click();
    QTest::mouseClick(child<QRadioButton>(f.w(), "Option1", orientation), Qt::LeftButton);
    f.tile().resize(tileSize);
    CheckBoxPixels(child<ImageBox>(f.tile(), "picGrad"));
    CheckBoxPixels(child<ImageBox>(f.w(), "picPrev"));
}

void tst_Tile::horizontalTilesAndStrip()
{
    GuiFixture f;
    child<QLineEdit>(f.w(), "txtSize")->setText("300");
    f.w().cmdTile_Click();
    frmTile& t = f.tile();
    QCOMPARE(child<ImageBox>(t, "picGrad")->geometry(), QRect(0, 40, 509, 181));
    QCOMPARE(child<ImageBox>(t, "picGrad")->toolTip(), QString("Width= 509  : Height= 181"));
    const QImage& grad = child<ImageBox>(t, "picGrad")->image();
    QCOMPARE(grad.width(), 505); // two copies across: at 0 and at 300, cut at 505
    const QImage work = f.w().picWork();
    QCOMPARE(work.size(), QSize(300, 1));
    QVERIFY(ImageShowsLine(work, f.expectedLine(300)));
    QVERIFY(TilesRepeatWork(grad, work));
    // The strip: one row, 8 pixels above picGrad, from its left edge.
    const QImage& surface = t.surfaceImage();
    for (int x = 0; x < 300; ++x)
        QCOMPARE(surface.pixel(x, 32), work.pixel(x, 0));
    QCOMPARE(surface.pixel(5, 31), t.palette().color(QPalette::Window).rgb());
    QCOMPARE(child<QLabel>(t, "LabSavePicture")->pos(), QPoint(40, 13));
    QCOMPARE(child<QLabel>(t, "LabSavePicture")->text(), QString("↓保存される画像"));
}

void tst_Tile::verticalTilesAndStrip()
{
    GuiFixture f;
    QTest::mouseClick(child<QRadioButton>(f.w(), "Option1_1"), Qt::LeftButton);
    f.w().cmdTile_Click();
    frmTile& t = f.tile();
    t.resize(513, 170 + 4 + 40 + 25 - frmTile::kFrameHeight); // inner height 170
    QCOMPARE(child<ImageBox>(t, "picGrad")->image().height(), 170);
    QCOMPARE(child<ImageBox>(t, "picGrad")->geometry().left(), 12);
    QCOMPARE(child<ImageBox>(t, "picGrad")->width(), 513 + frmTile::kFrameWidth - 16);
    const QImage work = f.w().picWork();
    QCOMPARE(work.size(), QSize(1, 100));
    QVERIFY(TilesRepeatWork(child<ImageBox>(t, "picGrad")->image(), work));
    // The strip: one column, 8 pixels left of picGrad, down from its top.
    for (int y = 0; y < 100; ++y)
        QCOMPARE(t.surfaceImage().pixel(4, 40 + y), work.pixel(0, y));
    QCOMPARE(child<QLabel>(t, "LabSavePicture")->pos(),
             QPoint(0, 40 - child<QLabel>(t, "LabSavePicture")->height()));
}

void tst_Tile::imageLongerThanArea()
{
    GuiFixture f;
    child<QLineEdit>(f.w(), "txtSize")->setText("2000");
    f.w().cmdTile_Click();
    const QImage& grad = child<ImageBox>(f.tile(), "picGrad")->image();
    std::vector<Colour> line = f.expectedLine(2000);
    line.resize(static_cast<std::size_t>(grad.width())); // one partial copy fills the area
    QVERIFY(ImageShowsLine(grad.copy(0, 0, grad.width(), 1), line));
    QVERIFY(TilesRepeatWork(grad, f.w().picWork()));
}

void tst_Tile::orientationSwitchClearsStrip()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    frmTile& t = f.tile();
    QCOMPARE(t.surfaceImage().pixel(10, 32), f.w().picWork().pixel(10, 0));
    QTest::mouseClick(child<QRadioButton>(f.w(), "Option1_1"), Qt::LeftButton);
    const QRgb back = t.palette().color(QPalette::Window).rgb();
    QCOMPARE(t.surfaceImage().pixel(60, 32), back); // the old strip is gone
    QTest::mouseClick(child<QRadioButton>(f.w(), "Option1_0"), Qt::LeftButton);
    // Back to horizontal: picGrad stays 12 in, its width from the window.
    QCOMPARE(child<ImageBox>(t, "picGrad")->x(), 12);
    QCOMPARE(child<ImageBox>(t, "picGrad")->width(), t.width() + frmTile::kFrameWidth - 8);
    QCOMPARE(t.surfaceImage().pixel(4, 60), back);
    QCOMPARE(t.surfaceImage().pixel(12 + 10, 32), f.w().picWork().pixel(10, 0));
}

void tst_Tile::minimisedComesBackNormal()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    f.tile().showMinimized();
    QVERIFY(f.tile().windowState() & Qt::WindowMinimized);
    child<QLineEdit>(f.w(), "txtSize")->setText("50"); // nothing is laid out while minimised
    QTest::mouseClick(child<QPushButton>(f.w(), "cmdTile"), Qt::LeftButton);
    QVERIFY(!(f.tile().windowState() & Qt::WindowMinimized));
    QVERIFY(f.tile().isVisible());
    QVERIFY(TilesRepeatWork(child<ImageBox>(f.tile(), "picGrad")->image(), f.w().picWork()));
    QCOMPARE(f.w().picWork().width(), 50);
}

void tst_Tile::sizeZeroLeavesLastDrawing()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    const QImage before = child<ImageBox>(f.tile(), "picGrad")->image();
    child<QLineEdit>(f.w(), "txtSize")->setText("0");
    QCOMPARE(f.w().state().ImageSize, 0);
    QCOMPARE(child<ImageBox>(f.tile(), "picGrad")->image(), before);
    child<QLineEdit>(f.w(), "txtSize")->setText("1");
    QCOMPARE(child<ImageBox>(f.tile(), "picGrad")->image().pixel(300, 100), Rgb(255));
    child<QLineEdit>(f.w(), "txtSize")->setText("3");
    QVERIFY(TilesRepeatWork(child<ImageBox>(f.tile(), "picGrad")->image(), f.w().picWork()));
}

void tst_Tile::redrawOffDrawsNothing()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    const QImage before = child<ImageBox>(f.tile(), "picGrad")->image();
    f.w().state().RedrawEnabled = false;
    f.w().state().PointColor[0] = MakeColour(1, 2, 3);
    f.tile().PrintTile();
    f.w().state().ImageSize = 1;
    f.w().Preview();
    QCOMPARE(f.w().state().ImageSize, 1); // Preview changed nothing either
    QCOMPARE(child<ImageBox>(f.tile(), "picGrad")->image(), before);
}

void tst_Tile::tinyWindowKeepsHeight()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    const int h = child<ImageBox>(f.tile(), "picGrad")->height();
    // Below the window's smallest size, as a window system may still make it.
    f.tile().setMinimumSize(0, 0);
    f.tile().resize(300, 20);
    QCOMPARE(child<ImageBox>(f.tile(), "picGrad")->height(), h);
    QCOMPARE(child<ImageBox>(f.tile(), "picGrad")->width(), 300 + frmTile::kFrameWidth - 8);
    // The top row is right-aligned.
    QCOMPARE(child<QPushButton>(f.tile(), "CmdFont")->x() +
                 child<QPushButton>(f.tile(), "CmdFont")->width() + 10,
             300 + frmTile::kFrameWidth);
    QCOMPARE(child<QCheckBox>(f.tile(), "ChkText")->x() +
                 child<QCheckBox>(f.tile(), "ChkText")->width(),
             child<QLabel>(f.tile(), "LabForeColor")->x());
}

void tst_Tile::closeBoxOnlyHides()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    f.tile().resize(600, 300);
    f.tile().close();
    QVERIFY(!f.tile().isVisible());
    f.w().cmdTile_Click();
    QCOMPARE(f.tile().size(), QSize(600, 300));
}

void tst_Tile::sampleTextFirstStart()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    frmTile& t = f.tile();
    QVERIFY(!child<QCheckBox>(t, "ChkText")->isChecked());
    QVERIFY(child<CrossLabel>(t, "LabX")->isVisible());
    QVERIFY(!child<QPushButton>(t, "CmdFont")->isEnabled());
    QVERIFY(!child<QLabel>(t, "LabForeColor")->isEnabled());
    for (int i = 0; i < 4; ++i)
        QVERIFY(!child<QLabel>(t, "Labsample", i)->isVisible());
    QCOMPARE(child<QCheckBox>(t, "ChkText")->text(), QString("文字表示(&S)"));
    QCOMPARE(child<QPushButton>(t, "CmdFont")->text(), QString("フォント変更(&F)"));
    QCOMPARE(child<QLabel>(t, "LabForeColor")->text(), QString("表示色："));
    QCOMPARE(f.w().state().SampleTextFont.Name, std::string("ＭＳ Ｐゴシック"));
    QCOMPARE(f.w().state().SampleTextFont.Size, 28);
    // A click on the crossed-out box does nothing.
    QCOMPARE(child<ColorBox>(t, "picForeColor")->childAt(20, 12),
             child<CrossLabel>(t, "LabX")); // the cross covers the box
    QTest::mouseClick(child<CrossLabel>(t, "LabX"), Qt::LeftButton);
    QVERIFY(f.dialogs.colorPresets.empty());
}

void tst_Tile::sampleTextOnOff()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    frmTile& t = f.tile();
    QTest::mouseClick(child<QCheckBox>(t, "ChkText"), Qt::LeftButton);
    QVERIFY(child<QCheckBox>(t, "ChkText")->isChecked());
    QVERIFY(!child<CrossLabel>(t, "LabX")->isVisible());
    QVERIFY(child<QPushButton>(t, "CmdFont")->isEnabled());
    QVERIFY(child<QFrame>(t, "Line1")->isVisible());
    QCOMPARE(child<QLabel>(t, "Labsample_0")->text(), QString("文字表示サンプル"));
    QCOMPARE(child<QLabel>(t, "Labsample_1")->text(), QString("FontName = \"ＭＳ Ｐゴシック\""));
    QCOMPARE(child<QLabel>(t, "Labsample_2")->text(), QString("FontSize =  28"));
    QCOMPARE(child<QLabel>(t, "Labsample_3")->text(), QString("FontStyle = 標準　　"));
    QVERIFY(f.w().state().SampleTextFont.TextOnOff);
    // The labels lie over the tiles; the tiles are unchanged beneath them.
    QVERIFY(TilesRepeatWork(child<ImageBox>(t, "picGrad")->image(), f.w().picWork()));
    QTest::mouseClick(child<QCheckBox>(t, "ChkText"), Qt::LeftButton);
    QVERIFY(!f.w().state().SampleTextFont.TextOnOff);
    QVERIFY(child<CrossLabel>(t, "LabX")->isVisible());
    // Survives a restart through the settings file.
    QTest::mouseClick(child<QCheckBox>(t, "ChkText"), Qt::LeftButton);
    f.w().close();
    GuiFixture again(f.iniText());
    QVERIFY(child<QCheckBox>(again.tile(), "ChkText")->isChecked());
}

void tst_Tile::fontChoiceMovesLines()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    frmTile& t = f.tile();
    QTest::mouseClick(child<QCheckBox>(t, "ChkText"), Qt::LeftButton);
    const int lineBefore = child<QFrame>(t, "Line1")->y();
    QFont chosen(QStringLiteral("ＭＳ Ｐゴシック"));
    chosen.setPointSizeF(16);
    chosen.setBold(true);
    chosen.setItalic(true);
    f.dialogs.fonts.push_back(chosen);
    QTest::mouseClick(child<QPushButton>(t, "CmdFont"), Qt::LeftButton);
    QCOMPARE(f.dialogs.fontPresets.back().pointSize(), 28);
    QCOMPARE(child<QLabel>(t, "Labsample_3")->text(), QString("FontStyle = 太字斜体"));
    QCOMPARE(child<QLabel>(t, "Labsample_2")->text(), QString("FontSize =  16"));
    QVERIFY(child<QLabel>(t, "Labsample_0")->font().bold() &&
            child<QLabel>(t, "Labsample_0")->font().italic());
    const int bottom =
        child<QLabel>(t, "Labsample_0")->y() + child<QLabel>(t, "Labsample_0")->height();
    QCOMPARE(child<QFrame>(t, "Line1")->y(), bottom + 15);
    QVERIFY(child<QFrame>(t, "Line1")->y() < lineBefore);
    QCOMPARE(child<QLabel>(t, "Labsample_1")->y(), bottom + 30);
    QCOMPARE(child<QLabel>(t, "Labsample_2")->y(),
             child<QLabel>(t, "Labsample_1")->y() + child<QLabel>(t, "Labsample_1")->height());
    QCOMPARE(child<QLabel>(t, "Labsample_3")->y(),
             child<QLabel>(t, "Labsample_2")->y() + child<QLabel>(t, "Labsample_2")->height());
    // 10.5 points is stored as 10.
    QFont half(QStringLiteral("ＭＳ Ｐゴシック"));
    half.setPointSizeF(10.5);
    f.dialogs.fonts.push_back(half);
    QTest::mouseClick(child<QPushButton>(t, "CmdFont"), Qt::LeftButton);
    QCOMPARE(f.w().state().SampleTextFont.Size, 10);
    QCOMPARE(f.w().state().SampleTextFont.bold, 0);
    f.w().close();
    QVERIFY(f.iniText().contains("Size= 10\n"));
}

void tst_Tile::fontCancelReadsBack()
{
    // A bold italic sample: a first Cancel in the run changes nothing.
    GuiFixture f("[IniCheck]\nDummy=1\n[SampleTextFont]\nName=DejaVu Sans\nSize= 20\n"
                 "bold=-1\nItalic=-1\nColor= 0\nTextOnOff=True\n");
    f.w().cmdTile_Click();
    frmTile& t = f.tile();
    t.CmdFont_Click();
    QVERIFY(f.dialogs.fontPresets.back().bold() && f.dialogs.fontPresets.back().italic());
    QCOMPARE(f.w().state().SampleTextFont.Name, std::string("DejaVu Sans"));
    QCOMPARE(f.w().state().SampleTextFont.Size, 20);
    QCOMPARE(f.w().state().SampleTextFont.bold, -1);
    QCOMPARE(f.w().state().SampleTextFont.Italic, -1);
    QCOMPARE(child<QLabel>(t, "Labsample_3")->text(), QString("FontStyle = 太字斜体"));
}

void tst_Tile::fontDialogOpensWithSample_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::newRow("DejaVu Sans") << "DejaVu Sans" << false << false;
    QTest::newRow("DejaVu Sans bold") << "DejaVu Sans" << true << false;
    QTest::newRow("DejaVu Sans italic") << "DejaVu Sans" << false << true;
    QTest::newRow("DejaVu Sans bold italic") << "DejaVu Sans" << true << true;
    QTest::newRow("designed face") << "ＭＳ Ｐゴシック" << false << false;
}

void tst_Tile::fontDialogOpensWithSample()
{
    QFETCH(QString, face);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    GuiFixture f;
    QFont sample = JpFont(28, bold, italic, face);
    // What OK hands back untouched is what the dialog shows on opening.
    QFontDialog dlg;
    dlg.setCurrentFont(FontDialogPreset(sample));
    const QFont shown = dlg.currentFont();
    QCOMPARE(shown.family(), QFontInfo(sample).family());
    QCOMPARE(shown.pointSize(), 28);
    QCOMPARE(shown.italic(), italic);
    if (face == "DejaVu Sans")
        QCOMPARE(shown.bold(), bold);
}

void tst_Tile::textColour()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    frmTile& t = f.tile();
    QTest::mouseClick(child<QCheckBox>(t, "ChkText"), Qt::LeftButton);
    child<ColorBox>(t, "picForeColor")->setFocus();
    QTest::keyClick(child<ColorBox>(t, "picForeColor"), Qt::Key_A); // cancelled
    QCOMPARE(f.dialogs.colorPresets.size(), std::size_t(1));
    QCOMPARE(f.w().state().SampleTextFont.Color, 0);
    f.dialogs.colors.push_back(QColor(200, 100, 50));
    QTest::mouseClick(child<ColorBox>(t, "picForeColor"), Qt::LeftButton);
    QCOMPARE(f.w().state().SampleTextFont.Color, MakeColour(200, 100, 50));
    QCOMPARE(child<QLabel>(t, "Labsample_2")->palette().color(QPalette::WindowText),
             QColor(200, 100, 50));
    QCOMPARE(child<QFrame>(t, "Line1")->palette().color(QPalette::Window), QColor(200, 100, 50));
}

void tst_Tile::sampleFontFromSettings()
{
    GuiFixture f("[IniCheck]\nDummy=1\n[SampleTextFont]\nName=Serif\nSize= 14\nbold= 5\n"
                 "Italic= 0\nColor= 255\nTextOnOff=TRUE\n");
    frmTile& t = f.tile();
    QVERIFY(child<QCheckBox>(t, "ChkText")->isChecked());
    QCOMPARE(child<QLabel>(t, "Labsample_1")->text(), QString("FontName = \"Serif\""));
    QCOMPARE(child<QLabel>(t, "Labsample_3")->text(), QString("FontStyle = 太字　　"));
    QCOMPARE(child<ColorBox>(t, "picForeColor")->color(), QColor(255, 0, 0));
}

void tst_Tile::contrastFigure()
{
    GuiFixture f;
    f.w().cmdTile_Click();
    frmTile& t = f.tile();
    QVERIFY(!child<QLabel>(t, "LabContrast")->isVisible()); // no sample text, no figure
    QTest::mouseClick(child<QCheckBox>(t, "ChkText"), Qt::LeftButton);
    QVERIFY(child<QLabel>(t, "LabContrast")->isVisible());
    // Black on red, green, blue, red: darkest where blue turns to red.
    QCOMPARE(child<QLabel>(t, "LabContrast")->text(),
             QString("最低コントラスト比 1.96:1 (77 px) 不足"));
    // In picGrad's lower left corner.
    QCOMPARE(child<QLabel>(t, "LabContrast")->geometry().bottom(),
             child<ImageBox>(t, "picGrad")->height() - child<ImageBox>(t, "picGrad")->border() - 1);

    f.dialogs.colors.push_back(QColor(255, 255, 255));
    QTest::mouseClick(child<ColorBox>(t, "picForeColor"), Qt::LeftButton);
    QCOMPARE(child<QLabel>(t, "LabContrast")->text(),
             QString("最低コントラスト比 1.37:1 (34 px) 不足"));

    // A new gradient: one dark point, white text on it.
    for (int i = 1; i < 4; ++i)
        QTest::mouseClick(child<QCheckBox>(f.w(), "Check1", i), Qt::LeftButton);
    f.dialogs.colors.push_back(QColor(0x77, 0x77, 0x77));
    QTest::mouseClick(child<ColorBox>(f.w(), "PicColor_0"), Qt::LeftButton);
    QCOMPARE(child<QLabel>(t, "LabContrast")->text(),
             QString("最低コントラスト比 4.48:1 (0 px) AA 大きい文字"));

    QTest::mouseClick(child<QCheckBox>(t, "ChkText"), Qt::LeftButton);
    QVERIFY(!child<QLabel>(t, "LabContrast")->isVisible());
}

QTEST_MAIN(tst_Tile)
#include "tst_tile.moc"
