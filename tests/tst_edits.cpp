// The edit commands' arithmetic on plain point values: equal spacing, the
// brightness offset and both random colour walks with fixed draws; and the
// undo history's rules.

#include "edithistory.h"
#include "edits.h"
#include "gradpoints.h"

#include <QTest>

#include <vector>

using namespace velmix;

namespace {

class Draws : public RandomSource
{
public:
    explicit Draws(std::vector<float> v) : values(std::move(v)) {}
    std::vector<float> values;
    std::size_t at = 0;
    float next() override { return values.at(at++); }
};

// Points 0.. at the given places, all enabled unless listed in `off`.
GradPoints At(std::initializer_list<int> positions, std::initializer_list<int> off = {})
{
    GradPoints p;
    int i = 0;
    for (int pos : positions) {
        p.position[i] = pos;
        p.enabled[i] = true;
        p.color[i] = MakeColour(10 * i, 20 * i, 30 * i);
        ++i;
    }
    for (int i : off)
        p.enabled[i] = false;
    return p;
}

} // namespace

class tst_Edits : public QObject
{
    Q_OBJECT
private slots:
    void equalSpacing_data();
    void equalSpacing();
    void brightness_data();
    void brightness();
    void randomUniform();
    void randomNatural();
    void historyUndoRedo();
    void historyMerge();
    void historyLimit();
};

void tst_Edits::equalSpacing_data()
{
    QTest::addColumn<GradPoints>("points");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("seven") << At({7, 6, 5, 4, 3, 2, 1})
                           << QList<int>{1000, 833, 667, 500, 333, 167, 0};
    QTest::newRow("three, order kept")
        << At({900, 100, 500}) << QList<int>{1000, 0, 500, 0, 0, 0, 0};
    QTest::newRow("disabled stay") << At({900, 100, 500, 42}, {1}) << QList<int>{1000, 100, 500, 0};
    QTest::newRow("tie by index") << At({300, 300}) << QList<int>{0, 1000};
    QTest::newRow("one point stays") << At({640, 10}, {1}) << QList<int>{640, 10};
}

void tst_Edits::equalSpacing()
{
    QFETCH(GradPoints, points);
    QFETCH(QList<int>, expected);
    const GradPoints out = EqualSpacing(points);
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(out.position[i], expected[i]);
    QVERIFY(out.color == points.color && out.enabled == points.enabled);
}

void tst_Edits::brightness_data()
{
    QTest::addColumn<int>("delta");
    QTest::addColumn<Colour>("expected");
    QTest::newRow("+20") << 20 << MakeColour(255, 30, 20);
    QTest::newRow("-20") << -20 << MakeColour(230, 0, 0);
    QTest::newRow("0") << 0 << MakeColour(250, 10, 0);
    QTest::newRow("+255 white") << 255 << MakeColour(255, 255, 255);
    QTest::newRow("typed -9999") << -9999 << MakeColour(0, 0, 0);
}

void tst_Edits::brightness()
{
    QFETCH(int, delta);
    QFETCH(Colour, expected);
    GradPoints base = At({0, 500, 1000}, {2});
    base.color[1] = MakeColour(250, 10, 0);
    const GradPoints out = AdjustBrightness(base, delta);
    QCOMPARE(out.color[1], expected);
    QCOMPARE(out.color[2], base.color[2]); // disabled
    QVERIFY(out.position == base.position && out.enabled == base.enabled);
}

void tst_Edits::randomUniform()
{
    // Points 2 and 5 share a place: F is 5 (highest index), L is 2.
    GradPoints p = At({0, 0, 400, 0, 0, 400}, {0, 1, 3, 4});
    Draws d({0.5f, 0.25f});
    const GradPoints out = RandomUniform(p, d);
    QCOMPARE(d.at, std::size_t(2)); // one draw per enabled point
    QCOMPARE(out.color[5], 4194304);
    QCOMPARE(out.color[2], 4194304);
    QCOMPARE(out.color[0], p.color[0]);
}

void tst_Edits::randomNatural()
{
    // Start 128, 64, 192; R steps up 48, G down 64, B not at all (u1 = 0.5).
    GradPoints p = At({0, 0, 0, 0, 700}, {0, 1, 2, 3});
    Draws d({0.5f, 0.25f, 0.75f, 0.75f, 0.5f, 0.25f, 0.0f, 0.5f, 0.9f});
    QCOMPARE(RandomNatural(p, d).color[4], MakeColour(176, 0, 192));
    QCOMPARE(d.at, std::size_t(9));
    // Two points in position order: the walk carries over, the last takes
    // the first's colour at the end.
    p = At({800, 100});
    Draws walk({0.5f, 0.5f, 0.5f, 0.75f, 0.5f, 0.75f, 0.5f, 0.75f, 0.5f, 0.25f, 0.0f, 0.25f, 0.0f,
                0.25f, 0.0f});
    const GradPoints out = RandomNatural(p, walk);
    QCOMPARE(out.color[1], MakeColour(176, 176, 176));
    QCOMPARE(out.color[0], out.color[1]);
    QCOMPARE(walk.at, walk.values.size());
}

namespace {

EditState Sized(int size)
{
    return {StartupPoints(), size, 0};
}

} // namespace

void tst_Edits::historyUndoRedo()
{
    EditHistory h(Sized(100));
    QVERIFY(!h.canUndo() && !h.canRedo());
    QVERIFY(!h.record(Sized(100), 1)); // no change, no step
    QVERIFY(h.record(Sized(200), 1));
    QVERIFY(h.record(Sized(300), 2));
    QCOMPARE(h.undoLabel(), 2);
    QCOMPARE(h.undo(), Sized(200));
    QCOMPARE(h.redoLabel(), 2);
    QCOMPARE(h.undo(), Sized(100));
    QVERIFY(!h.canUndo());
    QCOMPARE(h.redo(), Sized(200));
    QVERIFY(!h.record(Sized(200), 3)); // no change keeps the redo
    QVERIFY(h.canRedo());
    QVERIFY(h.record(Sized(250), 3)); // a new step drops it
    QVERIFY(!h.canRedo());
    QCOMPARE(h.undoCount(), std::size_t(2));
    QCOMPARE(h.undo(), Sized(200));
}

void tst_Edits::historyMerge()
{
    using namespace std::chrono_literals;
    std::chrono::steady_clock::time_point now{};
    EditHistory h(Sized(100), EditHistory::kDefaultLimit, [&] { return now; });
    h.record(Sized(101), 1, 4);
    now += 900ms;
    h.record(Sized(102), 1, 4); // within a second of the one before: merged
    now += 900ms;
    h.record(Sized(103), 1, 4);
    QCOMPARE(h.undoCount(), std::size_t(1));
    now += 1100ms;
    h.record(Sized(104), 1, 4); // a pause: a new step
    h.record(Sized(105), 1, 3); // another control: a new step
    h.record(Sized(106), 1);    // no key (a drag): never merged
    h.record(Sized(107), 1, 3);
    QCOMPARE(h.undoCount(), std::size_t(5));
    h.record(Sized(106), 1, 3); // steps back to where they began: no step left
    QCOMPARE(h.undoCount(), std::size_t(4));
    QCOMPARE(h.current(), Sized(106));
    h.undo();
    h.redo();
    h.record(Sized(108), 1, 1);
    h.record(Sized(109), 1, 1);
    h.undo(); // undo and redo close the merging
    h.redo();
    h.record(Sized(110), 1, 1);
    QCOMPARE(h.undoCount(), std::size_t(6));
    QCOMPARE(h.undo(), Sized(109));
}

void tst_Edits::historyLimit()
{
    EditHistory h(Sized(4));
    for (int k = 1; k <= 105; ++k)
        h.record(Sized(4 + k), k);
    QCOMPARE(h.undoCount(), std::size_t(100));
    while (h.canUndo())
        h.undo();
    QCOMPARE(h.current(), Sized(9)); // the five oldest steps are forgotten
    QCOMPARE(h.redoLabel(), 6);
}

QTEST_APPLESS_MAIN(tst_Edits)
#include "tst_edits.moc"
