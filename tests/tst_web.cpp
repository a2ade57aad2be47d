// The web exports and the contrast figure: stops that reproduce every
// pixel's unrounded colour when interpolated at pixel centres (read back
// from the CSS and SVG text), and WCAG ratios of known pairs.

#include "contrast.h"
#include "gradpoints.h"
#include "webgrad.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace velmix;

namespace {

// What a browser does: linear between stops, the end colours beyond them.
ExactColour At(const std::vector<GradientStop>& stops, double place)
{
    if (place <= stops.front().place)
        return stops.front().colour;
    for (std::size_t k = 1; k < stops.size(); ++k) {
        const GradientStop& a = stops[k - 1];
        const GradientStop& b = stops[k];
        if (place <= b.place) {
            const double f = (place - a.place) / (b.place - a.place);
            const auto mix = [f](double u, double v) { return u + (v - u) * f; };
            return {mix(a.colour.red, b.colour.red), mix(a.colour.green, b.colour.green),
                    mix(a.colour.blue, b.colour.blue)};
        }
    }
    return stops.back().colour;
}

// The largest difference, in levels, between the stops at every pixel centre
// and the rasteriser's unrounded colours.
double Deviation(const std::vector<GradientStop>& stops, const GradPoints& p, int length)
{
    const std::vector<ExactColour> px = DrawGradExact(p, length);
    double worst = 0;
    for (int x = 0; x < length; ++x) {
        const ExactColour got = At(stops, x + 0.5);
        const ExactColour& want = px[static_cast<std::size_t>(x)];
        worst = std::max({worst, std::abs(got.red - want.red), std::abs(got.green - want.green),
                          std::abs(got.blue - want.blue)});
    }
    return worst;
}

// Stops read back from the written text: "rgb(R, G, B) Xpx" in CSS,
// offset and percentage colours in SVG.
std::vector<GradientStop> CssStops(const QString& css)
{
    std::vector<GradientStop> stops;
    static const QRegularExpression re(R"(rgb\(([\d.]+), ([\d.]+), ([\d.]+)\) ([\d.]+)px)");
    for (auto it = re.globalMatch(css); it.hasNext();) {
        const auto m = it.next();
        stops.push_back(
            {m.captured(4).toDouble(),
             {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble()}});
    }
    return stops;
}

std::vector<GradientStop> SvgStops(const QString& svg, int length)
{
    std::vector<GradientStop> stops;
    static const QRegularExpression re(
        R"re(offset="([\d.]+)" stop-color="rgb\(([\d.]+)%, ([\d.]+)%, ([\d.]+)%\)")re");
    for (auto it = re.globalMatch(svg); it.hasNext();) {
        const auto m = it.next();
        const auto level = [&](int i) { return m.captured(i).toDouble() * 2.55; };
        stops.push_back({m.captured(1).toDouble() * length, {level(2), level(3), level(4)}});
    }
    return stops;
}

GradPoints Random(quint32 seed)
{
    QRandomGenerator rnd(seed);
    GradPoints p;
    for (int i = 0; i < kPointCount; ++i) {
        // Crowded positions often, so ties and sub-pixel gaps come up.
        p.position[i] = rnd.bounded(0, 3) == 0 ? rnd.bounded(495, 506) : rnd.bounded(0, 1001);
        p.color[i] = static_cast<Colour>(rnd.bounded(0, 0x1000000));
        p.enabled[i] = i == 0 || rnd.bounded(0, 4) != 0;
    }
    return p;
}

} // namespace

class tst_Web : public QObject
{
    Q_OBJECT
private slots:
    void stopsReproducePixels_data();
    void stopsReproducePixels();
    void straightGradientTwoStops();
    void cssRule();
    void svgDocument();
    void contrastPairs_data();
    void contrastPairs();
    void marks_data();
    void marks();
    void lowestPoint();
};

void tst_Web::stopsReproducePixels_data()
{
    QTest::addColumn<GradPoints>("points");
    QTest::addColumn<int>("length");
    QTest::newRow("start-up, 100") << StartupPoints() << 100;
    QTest::newRow("start-up, 4") << StartupPoints() << 4;
    QTest::newRow("lag: five points in four pixels") << Points({{0, 0, true},
                                                                {100, 255, true},
                                                                {200, 65280, true},
                                                                {300, 16711680, true},
                                                                {1000, 0xFFFFFF, true}})
                                                     << 4;
    QTest::newRow("tie") << Points({{500, 255, true}, {500, 16711680, true}}) << 10;
    QTest::newRow("closer than a pixel")
        << Points({{300, 0, true}, {305, 255, true}, {310, 65280, true}, {700, 0xFFFFFF, true}})
        << 40;
    QTest::newRow("one point") << Points({{0, 0xFFFFFF, false}, {730, 0x1E140A, true}}) << 280;
    for (quint32 seed = 1; seed <= 12; ++seed)
        QTest::newRow(qPrintable(QString("random %1").arg(seed)))
            << Random(seed) << QRandomGenerator(seed * 7).bounded(4, 2001);
}

void tst_Web::stopsReproducePixels()
{
    QFETCH(GradPoints, points);
    QFETCH(int, length);
    const std::vector<GradientStop> stops = GradientStops(points, length);
    QVERIFY(stops.size() >= 2);
    QCOMPARE(stops.front().place, 0.5);
    QCOMPARE(stops.back().place, length - 0.5);
    for (std::size_t k = 1; k < stops.size(); ++k)
        QVERIFY(stops[k].place > stops[k - 1].place);
    QVERIFY(Deviation(stops, points, length) < 2e-3);

    // Read back from the text, to the precision written.
    for (const bool vertical : {false, true}) {
        const WebGradient web{points, length, vertical, 50};
        const QString css = QString::fromStdString(CssRule(web));
        QCOMPARE(CssStops(css).size(), stops.size());
        QVERIFY(Deviation(CssStops(css), points, length) < 3e-3);
        const QString svg = QString::fromStdString(SvgDocument(web));
        QCOMPARE(SvgStops(svg, length).size(), stops.size());
        QVERIFY(Deviation(SvgStops(svg, length), points, length) < 3e-3);
    }
}

void tst_Web::straightGradientTwoStops()
{
    // One linear piece from the first pixel to the last.
    const auto stops = GradientStops(Points({{0, 0, true}, {1000, 0xFFFFFF, true}}), 2000);
    QCOMPARE(stops.size(), std::size_t(2));
    // The last pixel's colour unrounded, to the rasteriser's single precision.
    QVERIFY(std::abs(stops[1].colour.red - 1999 * 1000.0 / 2000 / 1000.01 * 255) < 1e-4);
}

void tst_Web::cssRule()
{
    const WebGradient across{StartupPoints(), 100, false, 1};
    const std::string decl = CssDeclarations(across);
    QCOMPARE(CssRule(across), "body {" + decl + "}\n");
    const QString d = QString::fromStdString(decl);
    QVERIFY(d.contains("background-color: #ff0000;"));
    QVERIFY(d.contains("linear-gradient(to right,\n    rgb(255, 0, 0) 0.5px,"));
    QVERIFY(d.contains("rgb(0, 255, 0) 34.5px")); // the pixel past a point keeps its colour
    QVERIFY(d.endsWith("background-size: 100px 1px;\n"));

    const QString down = QString::fromStdString(CssDeclarations({StartupPoints(), 40, true, 50}));
    QVERIFY(down.contains("linear-gradient(to bottom,"));
    QVERIFY(down.contains("background-size: 50px 40px;"));
}

void tst_Web::svgDocument()
{
    const QString across = QString::fromStdString(SvgDocument({StartupPoints(), 100, false, 7}));
    QVERIFY(across.contains(R"x(width="100" height="7")x"));
    QVERIFY(across.contains(R"x(x1="0" y1="0" x2="100" y2="0")x"));
    QVERIFY(across.contains(R"x(<stop offset="0.005" stop-color="rgb(100%, 0%, 0%)"/>)x"));
    QVERIFY(across.contains(R"x(<rect width="100" height="7" fill="url(#velmix)"/>)x"));
    const QString down = QString::fromStdString(SvgDocument({StartupPoints(), 100, true, 7}));
    QVERIFY(down.contains(R"x(width="7" height="100")x"));
    QVERIFY(down.contains(R"x(x1="0" y1="0" x2="0" y2="100")x"));
}

void tst_Web::contrastPairs_data()
{
    QTest::addColumn<Colour>("a");
    QTest::addColumn<Colour>("b");
    QTest::addColumn<QString>("ratio");
    QTest::newRow("black on white") << 0 << 0xFFFFFF << "21.00";
    QTest::newRow("#777777 on white") << 0x777777 << 0xFFFFFF << "4.48";
    QTest::newRow("white on #777777") << 0xFFFFFF << 0x777777 << "4.48";
    QTest::newRow("same colour") << 0x336699 << 0x336699 << "1.00";
    QTest::newRow("black on blue") << 0 << 0xFF0000 << "2.44";
}

void tst_Web::contrastPairs()
{
    QFETCH(Colour, a);
    QFETCH(Colour, b);
    QFETCH(QString, ratio);
    QCOMPARE(QString::number(ContrastRatio(a, b), 'f', 2), ratio);
}

void tst_Web::marks_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("word");
    QTest::newRow("7") << 7.0 << "AAA";
    QTest::newRow("6.999") << 6.999 << "AA";
    QTest::newRow("4.5") << 4.5 << "AA";
    QTest::newRow("4.4999 shows 4.50") << 4.4999 << "AA-large";
    QTest::newRow("3") << 3.0 << "AA-large";
    QTest::newRow("2.99") << 2.99 << "fail";
}

void tst_Web::marks()
{
    QFETCH(double, ratio);
    QFETCH(QString, word);
    QCOMPARE(QString(MarkWord(MarkFor(ratio))), word);
}

void tst_Web::lowestPoint()
{
    // Black text on red, green, blue, red: the mix of blue and red at pixel 77
    // (80, 0, 175) is darker than pure blue (2.44).
    const LowestContrast low = LowestContrastOver(DrawGrad(StartupPoints(), 100), 0);
    QCOMPARE(ContrastLine(low), std::string("1.96 77 fail"));
    // Grey text on black to white: where the grey levels meet, pixel 5 (127).
    const auto grey = DrawGrad(Points({{0, 0, true}, {1000, 0xFFFFFF, true}}), 10);
    QCOMPARE(ContrastLine(LowestContrastOver(grey, 0x777777)), std::string("1.12 5 fail"));
    // White text on it: the lightest pixel is the last one.
    QCOMPARE(ContrastLine(LowestContrastOver(grey, 0xFFFFFF)).substr(4), std::string(" 9 fail"));
    // A flat gradient: the first pixel.
    const auto flat = DrawGrad(Points({{400, 0x777777, true}}), 40);
    QCOMPARE(ContrastLine(LowestContrastOver(flat, 0xFFFFFF)), std::string("4.48 0 AA-large"));
}

QTEST_APPLESS_MAIN(tst_Web)
#include "tst_web.moc"
