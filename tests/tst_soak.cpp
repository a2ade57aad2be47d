// SPDX-License-Identifier: MIT
// Many random user actions across every handler of the main window, the tile
// window, the brightness dialog and the edit menu, checking after each one
// that what the windows show is what the core computes.
// At the end, undo must walk back to the start-up gradient and redo forward
// to the final one, exactly.
// VELMIX_SOAK_ACTIONS sets the length (default 1500; 20000 for the long run).

#include "guifixture.h"
#include "main/frmld.h"

#include <functional>
#include <random>

using namespace velmix;

namespace {

void Act(GuiFixture& f, std::mt19937& rnd)
{
    auto& t = f.tile();
    const auto pick = [&](int n) { return int(rnd() % unsigned(n)); };
    const auto colour = [&] { return QColor(QRgb(rnd())); };
    const int i = pick(kPointCount);
    auto* sl = f.slider(i);
    const char* sizes[] = {"", "0", "1", "3", "4", "100", "2500", "12a"};
    const auto check = [&] { Click(f.check(i)); };
    // Each action by its weight: the check boxes twice.
    const std::function<void()> actions[] = {
        check, check, [&] { sl->setValue(pick(1001)); },
        // A drag, redrawn when let go.
        [&] {
            if (!sl->isEnabled())
                return;
            sl->setSliderDown(true);
            for (int k = 0; k < 3; ++k)
                sl->setSliderPosition(pick(1001));
            sl->setSliderDown(false);
        },
        // Home, End, the arrows and the page keys.
        [&] {
            if (sl->isEnabled())
                QTest::keyClick(sl, Qt::Key(Qt::Key_Home + pick(8)));
        },
        [&] {
            f.dialogs.colors.push_back(pick(4) ? colour() : std::optional<QColor>());
            Click(f.colorBox(i));
        },
        [&] { QTest::keyClick(f.colorBox(i), Qt::Key_Space); },
        [&] {
            f.sizeBox()->setText(sizes[pick(8)]);
            if (pick(2) == 0)
                QTest::keyClick(f.sizeBox(), Qt::Key_Return);
        },
        [&] { f.get<UpDown>("UpDown1")->step(pick(2) ? 1 : -1); },
        [&] { Click(f.get(Row("Option1", pick(2)))); },
        // Closed, minimised, resized or as it is, then shown.
        [&] {
            if (const int what = pick(4); what == 0)
                t.close();
            else if (what == 1)
                t.showMinimized();
            else if (what == 2)
                t.resize(40 + pick(800), 20 + pick(460));
            f.trigger("MenuTile");
        },
        [&] { f.trigger(pick(2) ? "mnuRandom" : "mnuRandomNatural"); },
        [&] { f.trigger("mnuEqual"); },
        [&] { f.trigger(pick(2) ? "mnuMemorySave" : "mnuMemoryLoad"); },
        [&] {
            f.dialogs.modals.push_back(
                [by = pick(511) - 255, end = pick(3)](QDialog* d) {
                    auto* ld = static_cast<frmLD*>(d);
                    child<QSlider>(*ld, "sldLD")->setValue(by);
                    // OK, Cancel or the close box.
                    end == 0   ? ld->cmdOK_Click()
                    : end == 1 ? ld->CmdCancel_Click()
                               : void(ld->close());
                });
            f.trigger("mnuLD");
        },
        [&] { Click(child<QWidget>(t, "ChkText")); },
        // A font from 9 to 28.75 points, by quarters.
        [&] {
            QFont font("ＭＳ Ｐゴシック");
            font.setPointSizeF(9 + pick(80) / 4.0);
            font.setBold(pick(2));
            font.setItalic(pick(2));
            f.dialogs.fonts.push_back(pick(3) ? font : std::optional<QFont>());
            Click(child<QWidget>(t, "CmdFont"));
        },
        [&] {
            f.dialogs.colors.push_back(colour());
            t.picForeColor_Click();
        },
        [&] { f.trigger(pick(3) == 0 ? "mnuRedo" : "mnuUndo"); },
        [&] { f.trigger(pick(2) ? "mnuBlendKind_1" : "mnuBlendKind_0"); }};
    actions[pick(std::size(actions))]();
}

} // namespace

class tst_Soak : public QObject
{
    Q_OBJECT
private slots:
    void randomActions();
};

void tst_Soak::randomActions()
{
    const int asked = qEnvironmentVariableIntValue("VELMIX_SOAK_ACTIONS");
    const int actions = asked > 0 ? asked : 1500;
    // A history long enough for every step of the run.
    GuiFixture f({}, true, std::size_t(actions) + 1);
    std::mt19937 rnd(20261206);
    for (int k = 0; k < 4096; ++k)
        f.random.values.push_back(float(rnd() >> 8) / 16777216.0f);
    for (int n = 1; n <= actions; ++n) {
        // Some steps close enough together to merge, some not.
        f.now += std::chrono::milliseconds(rnd() % 1500);
        Act(f, rnd);
        // A dialog answer not taken by a disabled control is dropped.
        f.dialogs = ScriptedDialogs();
        // What the event loop would do between the user's actions: deferred
        // deletions, timers (the font cache trims itself on one), repaints.
        QCoreApplication::processEvents();
        QCOMPARE(ShownFault(f), QString());
    }
    // A size still being typed is finished; undo walks back to the start,
    // redo forward to the end.
    f.trigger("MenuTile");
    QTest::keyClick(f.sizeBox(), Qt::Key_Return);
    const auto end = f.doc().state();
    int undone = 0;
    for (; f.action("mnuUndo")->isEnabled(); ++undone) {
        f.trigger("mnuUndo");
        QCOMPARE(ShownFault(f), QString());
    }
    QCOMPARE(f.doc().state(), (EditState{StartupPoints(), 100, 0}));
    for (int k = 0; k < undone; ++k)
        f.trigger("mnuRedo");
    QCOMPARE(f.doc().state(), end);
    QVERIFY(ShownFault(f).isEmpty());
    QVERIFY(f.dialogs.messages.empty());
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
