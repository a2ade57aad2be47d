// SPDX-License-Identifier: MIT
// Seven points fitted to what they cannot hold exactly: the fit against the
// simple floor, on curves made here and on every gradient GIMP ships.

#include "core/fit.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

#include <cmath>
#include <functional>

using namespace velmix;

namespace {

using Curve = std::vector<Colour>;
using Shape = std::function<double(int x, int channel)>;

Curve Sampled(const Shape& f)
{
    Curve s;
    for (int x = 0; x < kMaxPosition; ++x) {
        int c[3];
        for (int k = 0; k < 3; ++k)
            c[k] = std::clamp(int(std::lround(f(x, k))), 0, 255);
        s.push_back(MakeColour(c[0], c[1], c[2]));
    }
    return s;
}

// Straight pieces of slope 0, 1 and -1 a pixel in turn: whole levels on
// every chord between two kinks.
Curve Pieces(int count)
{
    const int length = kMaxPosition / count;
    return Sampled([=](int x, int) {
        const int piece = std::min(x / length, count - 1);
        const int in = x - piece * length;
        return 60.0 + (piece % 3 == 2 ? length - in : piece % 3 == 1 ? in : 0);
    });
}

int Measured(const GradPoints& points, const Curve& s)
{
    const Curve drawn = DrawGrad(points, kMaxPosition);
    int worst = 0;
    for (std::size_t x = 0; x < s.size(); ++x)
        worst = std::max({worst, std::abs(GetRed(drawn[x]) - GetRed(s[x])),
                          std::abs(GetGreen(drawn[x]) - GetGreen(s[x])),
                          std::abs(GetBlue(drawn[x]) - GetBlue(s[x]))});
    return worst;
}

void CheckPoints(const FittedPoints& fit, const Curve& s)
{
    QVERIFY(fit.points.enabledCount() >= 1);
    for (int position : fit.points.position)
        QVERIFY(position >= 0 && position <= kMaxPosition);
    QCOMPARE(fit.points.blend, Blend::Rgb);
    QCOMPARE(fit.largestError, Measured(fit.points, s));
}

// The floor's error and ours on a gradient GIMP ships.
std::pair<int, int> FitFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {-1, -1};
    const std::string text = file.readAll().toStdString();
    const GgrRead read = ReadGgr(text, "");
    if (!read.gradient) {
        qWarning("%s", read.error.c_str());
        return {-1, -1};
    }
    const auto s = SampleGradient(*read.gradient, kMaxPosition);
    const int ours = FitPoints(s).largestError;
    return {FloorFit(s).largestError, ours};
}

} // namespace

Q_DECLARE_METATYPE(NamedGradient)

// The figures recorded for gimp-data, by file name.
static QMap<QString, QString> Recorded()
{
    QFile f(qEnvironmentVariable("VELMIX_SOURCE") + "/tests/data/fit-gimp.txt");
    QMap<QString, QString> rows;
    if (!f.open(QIODevice::ReadOnly))
        return rows;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n')) {
        const qsizetype bar = line.indexOf(" | ");
        if (bar > 0 && !line.startsWith('#'))
            rows.insert(line.left(bar), line.mid(bar + 3));
    }
    return rows;
}

class tst_Fit : public QObject
{
    Q_OBJECT
private slots:
    void curves_data()
    {
        QTest::addColumn<Curve>("curve");
        QTest::addColumn<bool>("lower");
        QTest::newRow("smooth") << Sampled([](int x, int c) {
            return 127.5 + 127.5 * std::sin(x / (60.0 + 25 * c));
        }) << true;
        QTest::newRow("hard steps")
            << Sampled([](int x, int c) { return (x / 90 % 2) * 200.0 + c * 20; }) << true;
        QTest::newRow("nine kinks") << Pieces(10) << true;
        QTest::newRow("nothing") << Curve() << false;
        QTest::newRow("flat") << Curve(kMaxPosition, MakeColour(1, 2, 3)) << false;
        QTest::newRow("drawn by the rasteriser")
            << DrawGrad(StartupPoints(), kMaxPosition) << false;
    }

    // Both fits say their true error; ours never does worse than the floor,
    // and better where free values and jumps can.
    void curves()
    {
        QFETCH(Curve, curve);
        QFETCH(bool, lower);
        const FittedPoints floor = FloorFit(curve);
        const FittedPoints ours = FitPoints(curve);
        CheckPoints(floor, curve);
        CheckPoints(ours, curve);
        QVERIFY(ours.largestError <= floor.largestError);
        QCOMPARE(ours.largestError < floor.largestError, lower);
    }

    // The floor's points lie on the curve; where seven such points hold
    // it, they sit at its kinks and draw it exactly.
    void floorOnTheCurve_data()
    {
        QTest::addColumn<int>("pieces");
        QTest::addColumn<bool>("exact");
        QTest::newRow("six pieces") << 6 << true;
        QTest::newRow("seven pieces") << 7 << false;
    }

    void floorOnTheCurve()
    {
        QFETCH(int, pieces);
        QFETCH(bool, exact);
        const Curve curve = Pieces(pieces);
        const FittedPoints floor = FloorFit(curve);
        for (int i = 0; i < floor.points.enabledCount(); ++i) {
            const int at = floor.points.position[i];
            QCOMPARE(floor.points.color[i], curve[std::size_t(at)]);
        }
        QCOMPARE(floor.largestError == 0, exact);
        QCOMPARE(FitPoints(curve).largestError == 0, exact);
    }

    // Applying a gradient: exact where seven points hold it, else fitted
    // to the colours GIMP would draw, with the error said.
    void pointsFor_data()
    {
        QTest::addColumn<NamedGradient>("gradient");
        QTest::addColumn<bool>("exact");
        const NamedGradient drawn = GradientFromPoints("a", StartupPoints());
        QTest::newRow("points as segments") << drawn << true;
        const auto white = SegmentColour{1, 1, 1, 1};
        const auto curve = SegmentBlend::Curved;
        const GradSegment s{0, 0.2, 1, {}, white, curve};
        QTest::newRow("curved") << NamedGradient{"b", {s}} << false;
    }

    void pointsFor()
    {
        QFETCH(NamedGradient, gradient);
        QFETCH(bool, exact);
        const FittedPoints fit = PointsFor(gradient);
        const Curve samples = SampleGradient(gradient, kMaxPosition);
        if (exact)
            QCOMPARE(DrawGrad(fit.points, 777), DrawGrad(StartupPoints(), 777));
        else
            QCOMPARE(fit.largestError, Measured(fit.points, samples));
        QCOMPARE(fit.largestError == 0, exact);
    }

    // Never worse than the floor on any of them, each as recorded, and lower on at least
    // half of those it cannot hold exactly.
    void gimpData()
    {
        const QDir dir("/usr/share/gimp/2.0/gradients");
        const QStringList files = dir.entryList({"*.ggr"});
        QVERIFY2(files.size() >= 50, "gimp-data is not installed");
        const QMap<QString, QString> known = Recorded();
        QCOMPARE(known.size(), files.size());
        int inexact = 0;
        int lower = 0;
        for (const QString& name : files) {
            const auto [floor, ours] = FitFile(dir.filePath(name));
            QVERIFY2(floor >= 0, qPrintable(name));
            const QString said = QString("%1 | %2 | %3");
            const auto at = said.arg(name).arg(floor).arg(ours);
            QVERIFY2(ours <= floor, qPrintable(at));
            QCOMPARE(at, name + " | " + known.value(name));
            inexact += floor > 0 ? 1 : 0;
            lower += ours < floor ? 1 : 0;
        }
        const auto counts = QString("%1 of %2").arg(lower).arg(inexact);
        QVERIFY2(2 * lower >= inexact, qPrintable(counts));
    }
};

QTEST_GUILESS_MAIN(tst_Fit)
#include "tst_fit.moc"
