// The edit menu: random colours with a fixed sequence, equal spacing,
// remember and restore (also across a restart), and the brightness dialog.

#include "edits.h"
#include "frmld.h"
#include "frmoption.h"
#include "guifixture.h"
#include "numtext.h"

#include <QAction>
#include <QPushButton>
#include <QRegularExpression>

#include <random>

using namespace velmix;

namespace {

void OnlyEnable(frmMain& w, std::initializer_list<int> on)
{
    for (int i : on)
        w.setCheck(i, true);
    for (int i = 0; i < kPointCount; ++i)
        if (std::find(on.begin(), on.end(), i) == on.end())
            w.setCheck(i, false);
}

struct Rgb3
{
    int r, g, b;
};

Rgb3 ColourOf(frmMain& w, int i)
{
    const Colour c = w.state().PointColor[i];
    return {GetRed(c), GetGreen(c), GetBlue(c)};
}

// The three value labels and the box agree with the point's colour.
bool ShowsColour(frmMain& w, int i)
{
    const Colour c = w.state().PointColor[i];
    return child<QLabel>(w, "LabColor", i)->text() == QString::number(GetRed(c)) &&
           child<QLabel>(w, "LabColor", i + 7)->text() == QString::number(GetGreen(c)) &&
           child<QLabel>(w, "LabColor", i + 14)->text() == QString::number(GetBlue(c)) &&
           child<ColorBox>(w, "PicColor", i)->color() == ToQColor(c);
}

} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT
private slots:
    void uniformRandom();
    void randomTiesFirstAndLast();
    void naturalRandomExact();
    void naturalRandomSteps();
    void onePointRandom();
    void equalSpacing();
    void equalSpacingOnePoint();
    void rememberAndRestore();
    void restoreAcrossRestart();
    void rememberWritesOnlyTheMemorySection();
    void restoreSwapsEnabledPoints();
    void restoreHandEditedAllOff();
    void brightnessArithmetic();
    void brightnessCancelAfterDrag();
    void brightnessOkThenReopen();
    void brightnessOddText();
    void brightnessCloseBoxCancels();
    void brightnessDialogTradesPoints();
};

void tst_Commands::uniformRandom()
{
    GuiFixture f;
    f.random.values = {0.5f, 0.25f, 0.75f, 0.125f};
    f.w().mnuRandom_Click();
    QCOMPARE(f.w().state().PointColor[0], 8388608);
    QCOMPARE(f.w().state().PointColor[1], 4194304);
    QCOMPARE(f.w().state().PointColor[2], 12582912);
    QCOMPARE(f.w().state().PointColor[3], 8388608); // the last takes the first's colour
    QCOMPARE(f.w().state().PointColor[5], 0);       // disabled: untouched
    QCOMPARE(f.random.at, std::size_t(4));
    for (int i = 0; i < kPointCount; ++i)
        QVERIFY(ShowsColour(f.w(), i));
    QVERIFY(ImageShowsLine(child<ImageBox>(f.w(), "picPrev")->image(), f.expectedLine(280)));
}

void tst_Commands::randomTiesFirstAndLast()
{
    for (int natural = 0; natural < 2; ++natural) {
        GuiFixture f;
        std::mt19937 gen(7);
        for (int k = 0; k < 64; ++k)
            f.random.values.push_back(static_cast<float>(gen() >> 8) / 16777216.0f);
        OnlyEnable(f.w(), {2, 5});
        child<QSlider>(f.w(), "Slider1_2")->setValue(400);
        child<QSlider>(f.w(), "Slider1_5")->setValue(400);
        if (natural)
            f.w().mnuRandomNatural_Click();
        else
            f.w().mnuRandom_Click();
        // F is point 5 (highest index at the lowest place), L point 2: L
        // takes the colour drawn for F.
        const Colour shared = f.w().state().PointColor[5];
        QCOMPARE(f.w().state().PointColor[2], shared);
        if (!natural) // point 5 draws the second number
            QCOMPARE(shared, ToInt32(static_cast<double>(f.random.values[1]) * 16777216.0));
        else // neither start colour survives
            QVERIFY(shared != 0 && shared != 16711680);
    }
}

void tst_Commands::naturalRandomExact()
{
    GuiFixture f;
    OnlyEnable(f.w(), {4});
    // Start 128, 64, 192; R steps up 48, G down 64, B not at all (u1 = 0.5).
    f.random.values = {0.5f, 0.25f, 0.75f, 0.75f, 0.5f, 0.25f, 0.0f, 0.5f, 0.9f};
    f.w().mnuRandomNatural_Click();
    QCOMPARE(f.w().state().PointColor[4], MakeColour(176, 0, 192));
    QVERIFY(ShowsColour(f.w(), 4));
    // A step beyond 255 stops at 255.
    f.random.values = {0.99f, 0.0f, 0.0f, 0.75f, 0.0f, 0.25f, 0.0f, 0.25f, 0.0f};
    f.random.at = 0;
    f.w().mnuRandomNatural_Click();
    QCOMPARE(f.w().state().PointColor[4], MakeColour(255, 0, 0));
}

void tst_Commands::naturalRandomSteps()
{
    GuiFixture f;
    std::mt19937 gen(12345);
    for (int k = 0; k < 4096; ++k)
        f.random.values.push_back(static_cast<float>(gen() >> 8) / 16777216.0f);
    OnlyEnable(f.w(), {0, 1, 2, 3, 4, 5, 6});
    for (int i = 0; i < kPointCount; ++i)
        child<QSlider>(f.w(), "Slider1", i)->setValue(100 * i);
    f.w().mnuEqual_Click();
    const int order[7] = {0, 1, 2, 3, 4, 5, 6}; // by position
    for (int run = 0; run < 50; ++run) {
        f.w().mnuRandomNatural_Click();
        for (int k = 0; k + 2 < 7; ++k) { // the last one takes the first's colour
            const Rgb3 a = ColourOf(f.w(), order[k]);
            const Rgb3 b = ColourOf(f.w(), order[k + 1]);
            QVERIFY(std::abs(a.r - b.r) <= 64 && std::abs(a.g - b.g) <= 64 &&
                    std::abs(a.b - b.b) <= 64);
        }
        QCOMPARE(f.w().state().PointColor[6], f.w().state().PointColor[0]);
    }
}

void tst_Commands::onePointRandom()
{
    GuiFixture f;
    OnlyEnable(f.w(), {3});
    f.random.values = {0.5f};
    f.w().mnuRandom_Click();
    QCOMPARE(f.w().state().PointColor[3], 8388608);
}

void tst_Commands::equalSpacing()
{
    GuiFixture f;
    frmMain& w = f.w();
    OnlyEnable(w, {0, 1, 2});
    child<QSlider>(w, "Slider1_0")->setValue(900);
    child<QSlider>(w, "Slider1_1")->setValue(100);
    child<QSlider>(w, "Slider1_2")->setValue(500);
    child<QSlider>(w, "Slider1_5")->setValue(777);
    w.cmdTile_Click();
    w.mnuEqual_Click();
    QCOMPARE(child<QSlider>(w, "Slider1_1")->value(), 0);
    QCOMPARE(child<QSlider>(w, "Slider1_2")->value(), 500);
    QCOMPARE(child<QSlider>(w, "Slider1_0")->value(), 1000);
    QCOMPARE(child<QSlider>(w, "Slider1_5")->value(), 777);
    QCOMPARE(child<QLabel>(w, "LabLocate_0")->text(), QString("1000"));
    QCOMPARE(child<QLabel>(w, "LabLocate_1")->text(), QString("0"));
    QVERIFY(w.state().RedrawEnabled);
    QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), f.expectedLine(280)));
    QVERIFY(ImageShowsLine(w.picWork(), f.expectedLine(100)));
    // Seven points: 0, 167, 333, 500, 667, 833, 1000.
    OnlyEnable(w, {0, 1, 2, 3, 4, 5, 6});
    for (int i = 0; i < 7; ++i)
        child<QSlider>(w, "Slider1", i)->setValue(100 * i);
    w.mnuEqual_Click();
    const int seven[7] = {0, 167, 333, 500, 667, 833, 1000};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(child<QSlider>(w, "Slider1", i)->value(), seven[i]);
}

void tst_Commands::equalSpacingOnePoint()
{
    GuiFixture f;
    OnlyEnable(f.w(), {2});
    child<QSlider>(f.w(), "Slider1_2")->setValue(420);
    f.w().mnuEqual_Click();
    QCOMPARE(child<QSlider>(f.w(), "Slider1_2")->value(), 420);
    QVERIFY(f.w().state().RedrawEnabled);
}

void tst_Commands::rememberAndRestore()
{
    GuiFixture f;
    frmMain& w = f.w();
    child<QCheckBox>(w.option(), "chkHeight")->setChecked(true);
    child<QLineEdit>(w.option(), "txtSize")->setText("50");
    QVERIFY(!child<QAction>(w, "mnuMemoryLoad")->isEnabled());
    w.mnuMemorySave_Click();
    QVERIFY(child<QAction>(w, "mnuMemoryLoad")->isEnabled());
    QCOMPARE(w.state().MemoryState.SaveHeight, 50);
    QVERIFY(w.state().MemoryState.chkHeight);
    const GradPoints remembered = w.currentPoints();

    // Change everything.
    OnlyEnable(w, {5, 6});
    child<QSlider>(w, "Slider1_5")->setValue(10);
    f.dialogs.colors.push_back(QColor(1, 2, 3));
    w.PicColor_Click(5);
    child<QLineEdit>(w, "txtSize")->setText("640");
    QTest::mouseClick(child<QRadioButton>(w, "Option1_1"), Qt::LeftButton);
    child<QCheckBox>(w.option(), "chkHeight")->setChecked(false);
    child<QLineEdit>(w.option(), "txtSize")->setText("9");
    w.cmdTile_Click();

    w.mnuMemoryLoad_Click();
    QVERIFY(w.currentPoints() == remembered);
    for (int i = 0; i < kPointCount; ++i) {
        QCOMPARE(child<QLabel>(w, "LabLocate", i)->text(), QString::number(remembered.position[i]));
        QCOMPARE(child<QLabel>(w, "LabX", i)->isVisible(), !remembered.enabled[i]);
        QVERIFY(ShowsColour(w, i));
    }
    QCOMPARE(child<QLineEdit>(w, "txtSize")->text(), QString("100"));
    QVERIFY(child<QRadioButton>(w, "Option1_0")->isChecked());
    QVERIFY(!child<QRadioButton>(w, "Option1_1")->isChecked());
    QCOMPARE(child<QLabel>(w, "labSize")->text(), QString("横幅(pixel):"));
    QVERIFY(child<QCheckBox>(w.option(), "chkHeight")->isChecked());
    QCOMPARE(child<QLineEdit>(w.option(), "txtSize")->text(), QString("50"));
    QCOMPARE(w.state().SaveHeight, 50);
    QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), f.expectedLine(280)));
    QVERIFY(ImageShowsLine(w.picWork(), f.expectedLine(100)));
    QVERIFY(f.dialogs.messages.empty());
}

void tst_Commands::restoreAcrossRestart()
{
    QByteArray ini;
    GradPoints remembered;
    int thickness = 0;
    {
        GuiFixture f;
        OnlyEnable(f.w(), {1, 4});
        child<QSlider>(f.w(), "Slider1_4")->setValue(250);
        child<QLineEdit>(f.w(), "txtSize")->setText("321");
        QTest::mouseClick(child<QRadioButton>(f.w(), "Option1_1"), Qt::LeftButton);
        f.w().mnuMemorySave_Click();
        remembered = f.w().currentPoints();
        thickness = f.w().state().SaveHeight;
        f.w().close();
        ini = f.iniText();
    }
    GuiFixture f(ini);
    QVERIFY(child<QAction>(f.w(), "mnuMemoryLoad")->isEnabled());
    QVERIFY(f.w().currentPoints() == StartupPoints()); // not applied at start-up
    f.w().mnuMemoryLoad_Click();
    QVERIFY(f.w().currentPoints() == remembered);
    QCOMPARE(f.w().state().ImageSize, 321);
    QCOMPARE(f.w().state().Orientation, 1);
    QCOMPARE(f.w().state().SaveHeight, thickness);
    QVERIFY(!child<QCheckBox>(f.w().option(), "chkHeight")->isChecked());
}

// The lines of a settings file without the remembered state's own keys.
QByteArrayList WithoutMemoryKeys(const QByteArray& text)
{
    static const QRegularExpression key(
        "^((Enabled|Locate|Color) [0-6]|Size|tate|SaveHeight|chkHeight)=");
    QByteArrayList kept;
    bool inMemory = false;
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith('['))
            inMemory = line.startsWith("[Memory]");
        if (!inMemory || !key.match(QString::fromUtf8(line)).hasMatch())
            kept.push_back(line);
    }
    return kept;
}

void tst_Commands::rememberWritesOnlyTheMemorySection()
{
    // A complete file (missing keys would be added), with lines of the user's.
    QByteArray before;
    {
        GuiFixture first;
        first.w().close();
        before = "; mine\n" + first.iniText() + "[Mine]\nkeep=me\n";
        before.replace("[Memory]\n", "[Memory]\nnote=keep\n");
    }
    GuiFixture f(before);
    frmMain& w = f.w();
    // Changes of other units, which only the exit writes.
    w.state().SampleTextFont.Color = 255;
    w.move(300, 200);
    OnlyEnable(w, {1, 4});
    child<QSlider>(w, "Slider1_4")->setValue(250);
    w.mnuMemorySave_Click();

    const QByteArray after = f.iniText();
    QCOMPARE(WithoutMemoryKeys(after), WithoutMemoryKeys(before));
    ModuleINI ini;
    ini.SetIniFile(f.programDir.filePath("velmix.ini"));
    const auto read = ini.LoadIni();
    QVERIFY(read.has_value());
    QVERIFY(read->MemoryState == w.state().MemoryState);
    QVERIFY(after.contains("[Memory]\nnote=keep\nEnabled 0=0\nLocate 0=0\n"));
    QVERIFY(after.contains("Locate 4=250\n"));
    QVERIFY(f.dialogs.messages.empty());
    QVERIFY(w.isVisible());
}

void tst_Commands::restoreSwapsEnabledPoints()
{
    // Remembered: only point 6 on. Current: only point 0 on. Restoring must
    // not refuse switching point 0 off, as point 6 comes on.
    GuiFixture f;
    OnlyEnable(f.w(), {6});
    f.w().mnuMemorySave_Click();
    OnlyEnable(f.w(), {0});
    f.w().mnuMemoryLoad_Click();
    QVERIFY(f.dialogs.messages.empty());
    QVERIFY(!child<QCheckBox>(f.w(), "Check1_0")->isChecked());
    QVERIFY(child<QCheckBox>(f.w(), "Check1_6")->isChecked());
}

void tst_Commands::restoreHandEditedAllOff()
{
    GuiFixture f("[IniCheck]\nDummy=1\n[Memory]\nEnabled 0=0\nEnabled 1=0\nLocate 1=2000\n"
                 "Color 1=-7\nSize= 1\ntate= 0\nSaveHeight= 0\n");
    f.w().mnuMemoryLoad_Click();
    int on = 0;
    for (int i = 0; i < kPointCount; ++i)
        on += child<QCheckBox>(f.w(), "Check1", i)->isChecked() ? 1 : 0;
    QVERIFY(on >= 1);
    QCOMPARE(child<QSlider>(f.w(), "Slider1_1")->value(), 1000);
    QCOMPARE(f.w().state().PointColor[1], 0);
    QCOMPARE(child<QLineEdit>(f.w(), "txtSize")->text(), QString("4"));
    QCOMPARE(f.w().state().SaveHeight, 1);
}

void tst_Commands::brightnessArithmetic()
{
    GuiFixture f;
    frmMain& w = f.w();
    f.dialogs.colors.push_back(QColor(250, 10, 0));
    w.PicColor_Click(1);
    w.setCheck(2, false);
    const Colour disabled = w.state().PointColor[2];
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* ld = static_cast<frmLD*>(d);
        QCOMPARE(ld->windowTitle(), QString("明度の調整"));
        QCOMPARE(child<QLineEdit>(*ld, "txtLD")->text(), QString("0"));
        child<QLineEdit>(*ld, "txtLD")->selectAll();
        QTest::keyClicks(child<QLineEdit>(*ld, "txtLD"), "20");
        QCOMPARE(child<QSlider>(*ld, "sldLD")->value(), 20);
        QCOMPARE(w.state().PointColor[1], MakeColour(255, 30, 20));
        QVERIFY(ShowsColour(w, 1));
        QCOMPARE(w.state().PointColor[2], disabled);
        QVERIFY(ImageShowsLine(child<ImageBox>(w, "picPrev")->image(), f.expectedLine(280)));
        child<QLineEdit>(*ld, "txtLD")->setText("-20");
        QCOMPARE(w.state().PointColor[1], MakeColour(230, 0, 0));
        QCOMPARE(child<QSlider>(*ld, "sldLD")->value(), -20);
        child<QLineEdit>(*ld, "txtLD")->setText("0");
        QCOMPARE(w.state().PointColor[1], MakeColour(250, 10, 0));
        child<QSlider>(*ld, "sldLD")->setValue(255); // the user's slider: all white
        QCOMPARE(child<QLineEdit>(*ld, "txtLD")->text(), QString("255"));
        QCOMPARE(w.state().PointColor[0], 0xFFFFFF);
        QCOMPARE(w.state().PointColor[2], disabled);
        QTest::mouseClick(child<QPushButton>(*ld, "cmdOK"), Qt::LeftButton);
    });
    w.mnuLD_Click();
    QCOMPARE(f.dialogs.modalCount, 1);
    QCOMPARE(w.state().PointColor[1], 0xFFFFFF);
}

void tst_Commands::brightnessCancelAfterDrag()
{
    GuiFixture f;
    frmMain& w = f.w();
    w.cmdTile_Click();
    const auto before = w.state().PointColor;
    const QImage preview = child<ImageBox>(w, "picPrev")->image();
    const QImage tiles = child<ImageBox>(f.tile(), "picGrad")->image();
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* ld = static_cast<frmLD*>(d);
        child<QSlider>(*ld, "sldLD")->setSliderDown(true);
        for (int v = 0; v <= 100; v += 10)
            child<QSlider>(*ld, "sldLD")->setSliderPosition(v);
        child<QSlider>(*ld, "sldLD")->setSliderDown(false);
        QCOMPARE(w.state().PointColor[2], MakeColour(100, 100, 255));
        QVERIFY(child<ImageBox>(f.tile(), "picGrad")->image() !=
                tiles); // live in the tile window too
        QTest::mouseClick(child<QPushButton>(*ld, "CmdCancel"), Qt::LeftButton);
    });
    w.mnuLD_Click();
    QVERIFY(w.state().PointColor == before);
    for (int i = 0; i < kPointCount; ++i)
        QVERIFY(ShowsColour(w, i));
    QCOMPARE(child<ImageBox>(w, "picPrev")->image(), preview);
    QCOMPARE(child<ImageBox>(f.tile(), "picGrad")->image(), tiles);
}

void tst_Commands::brightnessOkThenReopen()
{
    GuiFixture f;
    frmMain& w = f.w();
    f.dialogs.modals.push_back([](QDialog* d) {
        auto* ld = static_cast<frmLD*>(d);
        child<QLineEdit>(*ld, "txtLD")->setText("50");
        ld->cmdOK_Click();
    });
    w.mnuLD_Click();
    const auto after50 = w.state().PointColor;
    QCOMPARE(after50[0], MakeColour(255, 50, 50));
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* ld = static_cast<frmLD*>(d);
        QCOMPARE(child<QSlider>(*ld, "sldLD")->value(), 0);
        QCOMPARE(child<QLineEdit>(*ld, "txtLD")->text(), QString("0"));
        QVERIFY(w.state().PointColor == after50);
        child<QLineEdit>(*ld, "txtLD")->setText("-80");
        ld->CmdCancel_Click();
    });
    w.mnuLD_Click();
    QVERIFY(w.state().PointColor == after50);
}

void tst_Commands::brightnessOddText()
{
    GuiFixture f;
    frmMain& w = f.w();
    const auto base = w.state().PointColor;
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* ld = static_cast<frmLD*>(d);
        child<QLineEdit>(*ld, "txtLD")->selectAll();
        QTest::keyClicks(child<QLineEdit>(*ld, "txtLD"), "-");
        QCOMPARE(child<QLineEdit>(*ld, "txtLD")->text(), QString("-"));
        QVERIFY(w.state().PointColor == base);
        child<QLineEdit>(*ld, "txtLD")->clear();
        QTest::keyClick(child<QLineEdit>(*ld, "txtLD"), Qt::Key_H,
                        Qt::AltModifier); // no way past the filter
        QTest::keyClicks(child<QLineEdit>(*ld, "txtLD"), "2.5x");
        QCOMPARE(child<QLineEdit>(*ld, "txtLD")->text(), QString("2.5")); // the letter is discarded
        QCOMPARE(child<QSlider>(*ld, "sldLD")->value(), 2);
        QCOMPARE(w.state().PointColor[1], MakeColour(2, 255, 2));
        child<QLineEdit>(*ld, "txtLD")->clear();
        QTest::keyClicks(child<QLineEdit>(*ld, "txtLD"), "999");
        QCOMPARE(child<QLineEdit>(*ld, "txtLD")->text(), QString("255"));
        QCOMPARE(child<QSlider>(*ld, "sldLD")->value(), 255);
        child<QLineEdit>(*ld, "txtLD")->setText("-999");
        QCOMPARE(child<QLineEdit>(*ld, "txtLD")->text(), QString("-255"));
        QCOMPARE(w.state().PointColor[1], 0);
        ld->cmdOK_Click();
    });
    w.mnuLD_Click();
}

void tst_Commands::brightnessCloseBoxCancels()
{
    GuiFixture f;
    frmMain& w = f.w();
    const auto base = w.state().PointColor;
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* ld = static_cast<frmLD*>(d);
        child<QLineEdit>(*ld, "txtLD")->setText("-30");
        ld->close();
        QVERIFY(!ld->isVisible());
    });
    w.mnuLD_Click();
    QVERIFY(w.state().PointColor == base);
    // Escape in the text box is the dialog's Cancel too.
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* ld = static_cast<frmLD*>(d);
        child<QLineEdit>(*ld, "txtLD")->setFocus();
        child<QLineEdit>(*ld, "txtLD")->setText("40");
        QTest::keyClick(child<QLineEdit>(*ld, "txtLD"), Qt::Key_Escape);
        QVERIFY(!ld->isVisible());
    });
    w.mnuLD_Click();
    QVERIFY(w.state().PointColor == base);
}

void tst_Commands::brightnessDialogTradesPoints()
{
    // On its own, without the main window: told the points, it reports the
    // points to show.
    frmLD ld(nullptr);
    GradPoints p = StartupPoints();
    p.position[1] = 250;
    ld.setPoints(p);
    std::vector<GradPoints> seen;
    connect(&ld, &frmLD::pointsChanged, &ld, [&](const GradPoints& g) { seen.push_back(g); });
    ld.show();
    child<QLineEdit>(ld, "txtLD")->setText("40");
    QVERIFY(!seen.empty());
    QVERIFY(seen.back() == AdjustBrightness(p, 40));
    ld.CmdCancel_Click();
    QVERIFY(seen.back() == p);
}

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
