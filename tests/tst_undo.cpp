// Undo and redo on the real windows: every kind of step taken back and done
// again to the pixel, merging, the menu items, what is no step, the limit.

#include "frmld.h"
#include "guifixture.h"
#include "undomenu.h"

#include <QAction>
#include <QMenu>

using namespace velmix;

Q_DECLARE_METATYPE(velmix::EditStep)

namespace {

// Everything undo promises to bring back, as the windows show it.
struct Views
{
    EditState state;
    QString size, sizeLabel;
    QImage preview, work, tile;

    bool operator==(const Views&) const = default;
};

Views Capture(GuiFixture& f)
{
    frmMain& w = f.w();
    return {w.editState(),
            child<QLineEdit>(w, "txtSize")->text(),
            child<QLabel>(w, "labSize")->text(),
            child<ImageBox>(w, "picPrev")->image().copy(),
            w.picWork().copy(),
            child<ImageBox>(f.tile(), "picGrad")->image().copy()};
}

QString UndoText(EditStep s)
{
    return QStringLiteral("元に戻す(&U) - ") + UndoMenu::caption(s);
}

int EnabledCount(frmMain& w)
{
    int n = 0;
    for (int i = 0; i < kPointCount; ++i)
        n += child<QCheckBox>(w, "Check1", i)->isChecked() ? 1 : 0;
    return n;
}

} // namespace

class tst_Undo : public QObject
{
    Q_OBJECT
private slots:
    void eachStep_data();
    void eachStep();
    void mergeKeysAndDrags();
    void newStepDropsRedo();
    void menuAndKeys();
    void noStep();
    void neverLastPointWarning();
    void limit();
};

void tst_Undo::eachStep_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<EditStep>("step");
    QTest::newRow("check box") << 0 << EditStep::Check;
    QTest::newRow("slider drag") << 1 << EditStep::Slider;
    QTest::newRow("slider keys") << 2 << EditStep::Slider;
    QTest::newRow("colour") << 3 << EditStep::Colour;
    QTest::newRow("uniform random") << 4 << EditStep::RandomUniform;
    QTest::newRow("natural random") << 5 << EditStep::RandomNatural;
    QTest::newRow("equal spacing") << 6 << EditStep::Equal;
    QTest::newRow("brightness") << 7 << EditStep::Brightness;
    QTest::newRow("restore") << 8 << EditStep::Restore;
    QTest::newRow("orientation") << 9 << EditStep::Orientation;
    QTest::newRow("typed size") << 10 << EditStep::Size;
    QTest::newRow("spinner") << 11 << EditStep::Size;
}

void tst_Undo::eachStep()
{
    QFETCH(int, kind);
    QFETCH(EditStep, step);
    GuiFixture f;
    frmMain& w = f.w();
    f.random.values = {0.9f, 0.3f, 0.6f, 0.1f, 0.7f, 0.2f, 0.8f, 0.4f};
    w.cmdTile_Click(); // the work picture and the tiles are drawn too
    child<QSlider>(w, "Slider1_1")->setValue(100);
    const Views before = Capture(f);
    switch (kind) {
    case 0:
        QTest::mouseClick(child<QCheckBox>(w, "Check1_5"), Qt::LeftButton);
        break;
    case 1: {
        QSlider* s = child<QSlider>(w, "Slider1_2");
        s->setSliderDown(true);
        s->setSliderPosition(700);
        s->setSliderPosition(810);
        s->setSliderDown(false);
        break;
    }
    case 2:
        QTest::keyClick(child<QSlider>(w, "Slider1_2"), Qt::Key_PageUp);
        QTest::keyClick(child<QSlider>(w, "Slider1_2"), Qt::Key_Right);
        break;
    case 3:
        f.dialogs.colors.push_back(QColor(10, 20, 30));
        w.PicColor_Click(2);
        break;
    case 4:
        child<QAction>(w, "mnuRandom")->trigger();
        break;
    case 5:
        child<QAction>(w, "mnuRandomNatural")->trigger();
        break;
    case 6:
        child<QAction>(w, "mnuEqual")->trigger();
        break;
    case 7:
        f.dialogs.modals.push_back([](QDialog* d) {
            auto* ld = static_cast<frmLD*>(d);
            child<QSlider>(*ld, "sldLD")->setValue(-60);
            ld->cmdOK_Click();
        });
        child<QAction>(w, "mnuLD")->trigger();
        break;
    case 8: {
        MemoryStateT& mem = w.state().MemoryState;
        mem.Enabled = {0, 1, 0, 0, 1, 1, 0};
        mem.Locate = {0, 900, 0, 0, 50, 400, 0};
        mem.Color = {1, 2, 3, 4, 0xabcdef, 0x123456, 7};
        mem.Size = 640;
        mem.tate = 1;
        w.mnuMemoryLoad_Click();
        break;
    }
    case 9:
        QTest::mouseClick(child<QRadioButton>(w, "Option1_1"), Qt::LeftButton);
        break;
    case 10:
        child<QLineEdit>(w, "txtSize")->setFocus();
        child<QLineEdit>(w, "txtSize")->selectAll();
        QTest::keyClicks(child<QLineEdit>(w, "txtSize"), "321");
        child<QSlider>(w, "Slider1_0")->setFocus(); // leaving the box commits the size
        break;
    default:
        child<UpDown>(w, "UpDown1")->step(1);
        child<UpDown>(w, "UpDown1")->step(1);
        break;
    }
    const Views after = Capture(f);
    QVERIFY(!(after.state == before.state));
    QVERIFY(ImageShowsLine(after.preview, f.expectedLine(280)));
    QCOMPARE(child<QAction>(w, "mnuUndo")->text(), UndoText(step));
    QCOMPARE(w.undo().history().undoCount(), std::size_t(2)); // the set-up's move and this

    child<QAction>(w, "mnuUndo")->trigger();
    QVERIFY(Capture(f) == before);
    QCOMPARE(child<QAction>(w, "mnuRedo")->text(),
             QStringLiteral("やり直し(&Y) - ") + UndoMenu::caption(step));
    child<QAction>(w, "mnuRedo")->trigger();
    QVERIFY(Capture(f) == after);
    QVERIFY(!child<QAction>(w, "mnuRedo")->isEnabled());
    QVERIFY(f.dialogs.messages.empty());
}

void tst_Undo::mergeKeysAndDrags()
{
    using namespace std::chrono_literals;
    GuiFixture f;
    frmMain& w = f.w();
    const EditState start = w.editState();
    QSlider* s = child<QSlider>(w, "Slider1_1");
    for (int k = 0; k < 3; ++k) {
        QTest::keyClick(s, Qt::Key_Right);
        f.now += 600ms;
    }
    const EditState keys = w.editState();
    f.now += 1500ms; // a pause ends the run of key steps
    QTest::keyClick(s, Qt::Key_Right);
    s->setSliderDown(true); // a drag right after is a step of its own
    s->setSliderPosition(500);
    s->setSliderPosition(520);
    s->setSliderDown(false);
    QCOMPARE(w.undo().history().undoCount(), std::size_t(3));
    child<QAction>(w, "mnuUndo")->trigger();
    child<QAction>(w, "mnuUndo")->trigger();
    QCOMPARE(w.editState(), keys);
    QCOMPARE(child<QSlider>(w, "Slider1_1")->value(), 336);
    child<QAction>(w, "mnuUndo")->trigger();
    QCOMPARE(w.editState(), start);
}

void tst_Undo::newStepDropsRedo()
{
    GuiFixture f;
    frmMain& w = f.w();
    child<QAction>(w, "mnuRandom")->trigger();
    child<QAction>(w, "mnuEqual")->trigger(); // already equal: no step
    QTest::mouseClick(child<QRadioButton>(w, "Option1_1"), Qt::LeftButton);
    child<QAction>(w, "mnuUndo")->trigger();
    QVERIFY(child<QAction>(w, "mnuRedo")->isEnabled());
    child<QAction>(w, "mnuRandomNatural")->trigger();
    QVERIFY(!child<QAction>(w, "mnuRedo")->isEnabled());
    QCOMPARE(child<QAction>(w, "mnuUndo")->text(), UndoText(EditStep::RandomNatural));
    child<QAction>(w, "mnuUndo")->trigger();
    QCOMPARE(child<QAction>(w, "mnuUndo")->text(), UndoText(EditStep::RandomUniform));
    QCOMPARE(w.editState().orientation, 0);
}

void tst_Undo::menuAndKeys()
{
    GuiFixture f;
    frmMain& w = f.w();
    QCOMPARE(child<QAction>(w, "mnuUndo")->text(), QString("元に戻す(&U)"));
    QCOMPARE(child<QAction>(w, "mnuRedo")->text(), QString("やり直し(&Y)"));
    QVERIFY(!child<QAction>(w, "mnuUndo")->isEnabled() &&
            !child<QAction>(w, "mnuRedo")->isEnabled());
    QCOMPARE(child<QAction>(w, "mnuUndo")->shortcut(), QKeySequence("Ctrl+Z"));
    QCOMPARE(child<QAction>(w, "mnuRedo")->shortcuts(),
             QList<QKeySequence>({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    const EditState start = w.editState();
    child<QAction>(w, "mnuRandom")->trigger();
    const EditState random = w.editState();
    QVERIFY(child<QAction>(w, "mnuUndo")->isEnabled() &&
            !child<QAction>(w, "mnuRedo")->isEnabled());
    QCOMPARE(child<QAction>(w, "mnuUndo")->text(), UndoText(EditStep::RandomUniform));
    // From the keyboard, on a control that takes no such key itself.
    child<QSlider>(w, "Slider1_0")->setFocus();
    QTest::keyClick(child<QSlider>(w, "Slider1_0"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.editState(), start);
    QVERIFY(!child<QAction>(w, "mnuUndo")->isEnabled() &&
            child<QAction>(w, "mnuRedo")->isEnabled());
    QTest::keyClick(child<QSlider>(w, "Slider1_0"), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w.editState(), random);
    QTest::keyClick(child<QSlider>(w, "Slider1_0"), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(child<QSlider>(w, "Slider1_0"), Qt::Key_Z,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.editState(), random);
}

void tst_Undo::noStep()
{
    GuiFixture f;
    frmMain& w = f.w();
    child<QAction>(w, "mnuEqual")->trigger();      // the points are equally spaced already
    w.PicColor_Click(1);                           // colour dialog cancelled
    child<QAction>(w, "mnuMemorySave")->trigger(); // remember changes the slot only
    f.dialogs.modals.push_back([](QDialog* d) {
        auto* ld = static_cast<frmLD*>(d);
        child<QSlider>(*ld, "sldLD")->setValue(90); // the live preview is no step
        ld->CmdCancel_Click();
    });
    child<QAction>(w, "mnuLD")->trigger();
    for (int i : {0, 1, 2})
        w.setCheck(i, false);
    QCOMPARE(w.undo().history().undoCount(), std::size_t(3));
    QTest::mouseClick(child<QCheckBox>(w, "Check1_3"), Qt::LeftButton); // the last one: refused
    QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(w.undo().history().undoCount(), std::size_t(3));
}

void tst_Undo::neverLastPointWarning()
{
    GuiFixture f;
    frmMain& w = f.w();
    // The enabled points change places completely several times.
    for (int i : {0, 1, 2})
        w.setCheck(i, false);
    w.setCheck(6, true);
    w.setCheck(3, false);
    w.setCheck(0, true);
    w.setCheck(6, false);
    const EditState end = w.editState();
    while (child<QAction>(w, "mnuUndo")->isEnabled()) {
        child<QAction>(w, "mnuUndo")->trigger();
        QVERIFY(EnabledCount(w) >= 1);
    }
    QCOMPARE(w.editState().points, StartupPoints());
    while (child<QAction>(w, "mnuRedo")->isEnabled())
        child<QAction>(w, "mnuRedo")->trigger();
    QCOMPARE(w.editState(), end);
    QVERIFY(f.dialogs.messages.empty());
}

void tst_Undo::limit()
{
    GuiFixture f;
    frmMain& w = f.w();
    std::vector<float> values;
    for (int k = 0; k < 500; ++k)
        values.push_back(static_cast<float>(k) / 512.0f);
    f.random.values = values;
    for (int k = 0; k < 101; ++k)
        child<QAction>(w, "mnuRandom")->trigger();
    int undone = 0;
    while (child<QAction>(w, "mnuUndo")->isEnabled()) {
        child<QAction>(w, "mnuUndo")->trigger();
        ++undone;
    }
    QCOMPARE(undone, 100);
    QVERIFY(!(w.editState().points == StartupPoints())); // the first step is gone
}

QTEST_MAIN(tst_Undo)
#include "tst_undo.moc"
