// The rasteriser's arithmetic: the worked pixel examples, ties, lag,
// disabled points and the point order.

#include "gradient.h"
#include "gradpoints.h"

#include <QTest>

using namespace velmix;

using Pixels = QList<QList<int>>; // {index, r, g, b}

namespace {

QList<int> Rgb(Colour c)
{
    return {GetRed(c), GetGreen(c), GetBlue(c)};
}

} // namespace

class tst_Gradient : public QObject
{
    Q_OBJECT
private slots:
    void pixels_data();
    void pixels();
    void disabledPointsNeverMatter();
    void sortPoint_data();
    void sortPoint();
    void helpers();
    void zeroLength();
};

void tst_Gradient::pixels_data()
{
    QTest::addColumn<GradPoints>("points");
    QTest::addColumn<int>("length");
    QTest::addColumn<Pixels>("expected");

    QTest::newRow("start-up, 100")
        << StartupPoints() << 100
        << Pixels{{0, 255, 0, 0},   {1, 247, 8, 0},    {17, 125, 130, 0}, {34, 0, 255, 0},
                  {35, 0, 242, 13}, {50, 0, 128, 127}, {67, 0, 0, 255},   {99, 247, 0, 8}};
    Pixels grey;
    const int levels[10] = {0, 25, 51, 76, 102, 127, 153, 178, 204, 229};
    for (int x = 0; x < 10; ++x)
        grey.append({x, levels[x], levels[x], levels[x]});
    QTest::newRow("black to white, 10")
        << Points({{0, 0, true}, {1000, 0xFFFFFF, true}}) << 10 << grey;
    QTest::newRow("red 250 to blue 750, 8")
        << Points({{250, 255, true}, {750, 16711680, true}}) << 8
        << Pixels{{0, 255, 0, 0},   {1, 255, 0, 0},  {2, 255, 0, 0}, {3, 191, 0, 64},
                  {4, 128, 0, 127}, {5, 64, 0, 191}, {6, 0, 0, 255}, {7, 0, 0, 255}};
    QTest::newRow("lag: five points in four pixels")
        << Points({{0, 0, true},
                   {100, 255, true},
                   {200, 65280, true},
                   {300, 16711680, true},
                   {1000, 0xFFFFFF, true}})
        << 4 << Pixels{{0, 0, 0, 0}, {1, 255, 0, 0}, {2, 0, 255, 0}, {3, 0, 0, 255}};
    QTest::newRow("one enabled point anywhere")
        << Points({{0, 0xFFFFFF, false}, {730, MakeColour(10, 20, 30), true}}) << 5
        << Pixels{{0, 10, 20, 30}, {2, 10, 20, 30}, {4, 10, 20, 30}};
    QTest::newRow("no enabled point")
        << Points({{600, MakeColour(10, 20, 30), false}, {200, 0xFFFFFF, false}}) << 4
        << Pixels{{0, 10, 20, 30}, {3, 10, 20, 30}};
    // Both at 500; with 10 pixels, pixel 5 lies exactly on it (t = 0).
    QTest::newRow("tie: lower index first")
        << Points({{500, 255, true}, {500, 16711680, true}}) << 10
        << Pixels{{4, 255, 0, 0}, {5, 255, 0, 0}, {6, 0, 0, 255}, {9, 0, 0, 255}};
}

void tst_Gradient::pixels()
{
    QFETCH(GradPoints, points);
    QFETCH(int, length);
    QFETCH(Pixels, expected);
    const std::vector<Colour> line = DrawGrad(points, length);
    QCOMPARE(static_cast<int>(line.size()), length);
    for (const QList<int>& px : expected) {
        QVERIFY2(px[0] < length, "index out of range");
        QCOMPARE(Rgb(line[static_cast<std::size_t>(px[0])]), px.mid(1));
    }
}

void tst_Gradient::disabledPointsNeverMatter()
{
    // Whatever a disabled point holds, no pixel changes.
    GradPoints base = StartupPoints();
    const std::vector<Colour> ref = DrawGrad(base, 2000);
    for (int pos : {0, 1, 400, 999, 1000}) {
        GradPoints p = base;
        for (int i = 4; i < kPointCount; ++i) {
            p.position[i] = pos;
            p.color[i] = MakeColour(1, 2, 3) * i;
        }
        QCOMPARE(DrawGrad(p, 2000), ref);
    }
    // Disabling and enabling keeps position and colour.
    GradPoints p = base;
    p.enabled[1] = false;
    QVERIFY(DrawGrad(p, 100) != DrawGrad(base, 100));
    p.enabled[1] = true;
    QCOMPARE(DrawGrad(p, 100), DrawGrad(base, 100));
}

void tst_Gradient::sortPoint_data()
{
    QTest::addColumn<GradPoints>("points");
    QTest::addColumn<QList<int>>("order");
    QTest::addColumn<int>("disabled");
    QTest::newRow("start-up") << StartupPoints() << QList<int>{0, 1, 2, 3, 4, 5, 6, 7} << 3;
    QTest::newRow("tie by index") << Points({{500, 0, true}, {500, 0, true}, {100, 0, true}})
                                  << QList<int>{2, 0, 1, 3, 4, 5, 6, 7} << 4;
    QTest::newRow("disabled at 0 after enabled at 1000")
        << Points({{0, 0, false}, {1000, 0, true}}) << QList<int>{1, 0, 2, 3, 4, 5, 6, 7} << 6;
    QTest::newRow("one enabled, others by position then index")
        << Points({{900, 0, false},
                   {300, 0, false},
                   {300, 0, false},
                   {0, 0, false},
                   {700, 0, true},
                   {1000, 0, false},
                   {0, 0, false}})
        << QList<int>{4, 3, 6, 1, 2, 0, 5, 7} << 6;
    GradPoints all;
    const int pos[7] = {1000, 0, 500, 500, 20, 999, 1};
    for (int i = 0; i < 7; ++i) {
        all.position[i] = pos[i];
        all.enabled[i] = true;
    }
    QTest::newRow("seven enabled") << all << QList<int>{1, 6, 4, 2, 3, 5, 0, 7} << 0;
}

void tst_Gradient::sortPoint()
{
    QFETCH(GradPoints, points);
    QFETCH(QList<int>, order);
    QFETCH(int, disabled);
    const SortResult r = SortPoint(points);
    QList<int> got(r.PointOrder.begin(), r.PointOrder.end());
    QCOMPARE(got, order);
    QCOMPARE(r.DisabledCount, disabled);
}

void tst_Gradient::helpers()
{
    QCOMPARE(GetRed(16711680), 0);
    QCOMPARE(GetBlue(16711680), 255);
    QCOMPARE(GetGreen(65280), 255);
    QCOMPARE(GetSizeName(0), std::string("横幅"));
    QCOMPARE(GetSizeName(1), std::string("高さ"));
    std::int16_t v = -5;
    QCOMPARE(LimitByte(v), 0);
    QCOMPARE(v, 0);
    v = 300;
    QCOMPARE(LimitByte(v), 255);
    QCOMPARE(v, 255);
    const GradPoints s = StartupPoints();
    QCOMPARE(s.color[0], 255);
    QCOMPARE(s.color[1], 65280);
    QCOMPARE(s.color[2], 16711680);
    QCOMPARE(s.color[3], 255);
}

void tst_Gradient::zeroLength()
{
    QVERIFY(DrawGrad(StartupPoints(), 0).empty());
    QCOMPARE(DrawGrad(StartupPoints(), 1).size(), std::size_t(1));
}

QTEST_APPLESS_MAIN(tst_Gradient)
#include "tst_gradient.moc"
