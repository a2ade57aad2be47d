// SPDX-License-Identifier: MIT
// Gradients of painting programs: .ggr read as GIMP reads it (every line
// form, every check naming its line), its colours as GIMP computes them
// (reference values from gimp-console's gimp-gradient-get-custom-samples,
// composited over white), and every gradient GIMP ships.

#include "core/ggr.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <random>

using namespace velmix;

namespace {

QString Hex(Colour c)
{
    return QString::asprintf("#%02x%02x%02x", GetRed(c), GetGreen(c), GetBlue(c));
}

// A file of the given segment lines, each of them one line.
std::string Ggr(const QStringList& segments, const QString& name = "Test")
{
    QString text = "GIMP Gradient\nName: " + name + "\n" + QString::number(segments.size()) + "\n";
    return (text + segments.join('\n') + "\n").toStdString();
}

NamedGradient Read(const std::string& text)
{
    const GgrRead read = ReadGgr(text, "fallback");
    if (!read.gradient)
        qWarning("%s", read.error.c_str());
    return read.gradient.value_or(NamedGradient{});
}

} // namespace

class TestGgr : public QObject
{
    Q_OBJECT

private slots:
    void sampleAsGimp_data();
    void sampleAsGimp();
    void lineForms_data();
    void lineForms();
    void refusals_data();
    void refusals();
    void gimpShipped();
    void writeReadsBack();
    void fromPoints_data();
    void fromPoints();
    void exactRoundTrip();
    void exactOthers_data();
    void exactOthers();
    void carried_data();
    void carried();
    void css_data();
    void css();
    void cssColours_data();
    void cssColours();
    void cssRefusals_data();
    void cssRefusals();
    void cssSeveral();
};

// One segment from 0 to 1 each; the colour at x / 1000.
void TestGgr::sampleAsGimp_data()
{
    QTest::addColumn<QString>("segment");
    QTest::addColumn<int>("x");
    QTest::addColumn<QString>("colour");
    QTest::newRow("linear 125") << "0 0.3 1 1 0 0 1 0 0 1 1 0 0" << 125 << "#ca0035";
    QTest::newRow("linear mid 0, 250") << "0 0 1 1 0 0 1 0 0 1 1 0 0" << 250 << "#60009f";
    QTest::newRow("curved 125") << "0 0.3 1 0.2 0.4 0.6 1 0.9 0.1 0.3 1 1 0" << 125 << "#694f82";
    QTest::newRow("curved mid 1") << "0 1 1 0.2 0.4 0.6 1 0.9 0.1 0.3 1 1 0" << 500 << "#336699";
    QTest::newRow("sine 750") << "0 0.7 1 0 1 0 1 1 0 1 1 2 0" << 750 << "#a05fa0";
    QTest::newRow("sphere up 125") << "0 0.4 1 0.1 0.2 0.9 1 0.8 0.7 0.1 1 3 0" << 125 << "#797778";
    QTest::newRow("sphere down 999") << "0 0.6 1 1 1 0 1 0 0.5 0.5 1 4 0" << 999 << "#0d8679";
    QTest::newRow("step before") << "0 0.25 1 0.3 0.3 0.3 1 0.9 0.2 0.6 1 5 0" << 125 << "#4d4d4d";
    QTest::newRow("step at middle")
        << "0 0.25 1 0.3 0.3 0.3 1 0.9 0.2 0.6 1 5 0" << 250 << "#e63399";
    QTest::newRow("ccw 125") << "0 0.5 1 1 0 0 1 0 0 1 1 0 1" << 125 << "#ff8000";
    QTest::newRow("ccw past red 750") << "0 0.5 1 0 0 1 1 0 1 0 1 0 1" << 750 << "#ffff00";
    QTest::newRow("cw 125") << "0 0.5 1 1 0 0 1 0 0 1 1 0 2" << 125 << "#ff0040";
    QTest::newRow("cw past red 400") << "0 0.5 1 0 1 0 1 0 0 1 1 0 2" << 400 << "#ff6600";
    QTest::newRow("hsv from grey 750") << "0 0.5 1 0.5 0.5 0.5 1 1 0.5 0 1 0 1" << 750 << "#df7738";
    QTest::newRow("alpha 125") << "0 0.5 1 1 0 0 0.25 0 0 1 0.75 0 0" << 125 << "#f5afb9";
    QTest::newRow("fg to bg 750") << "0 0.5 1 1 0 0 1 0 0 1 1 0 0 1 3" << 750 << "#bfbfbf";
    // By hand: black at alpha 0 to blue, half way: (0, 0, 0.5) at 0.5.
    QTest::newRow("clear fg") << "0 0.5 1 1 0 0 1 0 0 1 1 0 0 2 0" << 500 << "#8080bf";
}

void TestGgr::sampleAsGimp()
{
    QFETCH(QString, segment);
    QFETCH(int, x);
    QFETCH(QString, colour);
    const std::vector<Colour> samples = SampleGradient(Read(Ggr({segment})));
    QCOMPARE(samples.size(), std::size_t{1000});
    QCOMPARE(Hex(samples[static_cast<std::size_t>(x)]), colour);
}

// Accepted as GIMP accepts them: the name, and the colours at 0 and 500.
void TestGgr::lineForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("colours");
    const QString seg = "0 0.5 1 1 0 0 1 0 0 1 1 0 0\n";
    QTest::newRow("no name line") << "GIMP Gradient\n1\n" + seg << "fallback"
                                  << "#ff0000 #800080";
    QTest::newRow("name trimmed") << "GIMP Gradient\nName:  a b \t\n1\n" + seg << "a b"
                                  << "#ff0000 #800080";
    QTest::newRow("crlf") << "GIMP Gradient\r\nName: c\r\n1\r\n0 0.5 1 1 0 0 1 0 0 1 1 0 0\r\n"
                          << "c"
                          << "#ff0000 #800080";
    QTest::newRow("header with more") << "GIMP Gradient v2\n1\n" + seg << "fallback"
                                      << "#ff0000 #800080";
    QTest::newRow("count with text") << "GIMP Gradient\n1 segment\n" + seg << "fallback"
                                     << "#ff0000 #800080";
    QTest::newRow("15 fields, fixed") << "GIMP Gradient\n1\n0 .5 1 1 0 0 1 0 0 1 1 0 0 0 0\n"
                                      << "fallback"
                                      << "#ff0000 #800080";
    QTest::newRow("text after kinds") << "GIMP Gradient\n1\n0 0.5 1 1 0 0 1 0 0 1 1 0 0 x\n"
                                      << "fallback"
                                      << "#ff0000 #800080";
    QTest::newRow("exponents, hex, signs")
        << "GIMP Gradient\n1\n0e0 5E-1 +1 0x1p0 0 0 1 0 0 1 1 +0 0\n"
        << "fallback"
        << "#ff0000 #800080";
    QTest::newRow("zero-width segment")
        << "GIMP Gradient\n2\n0 0 0 0 0 0 1 0 0 0 1 0 0\n" + seg << "fallback"
        << "#ff0000 #800080";
    const QString cafe = QString("caf") + QChar(0xe9);
    QTest::newRow("latin-1 name") << "GIMP Gradient\nName: " + cafe + "\n1\n" + seg << cafe
                                  << "#ff0000 #800080";
}

void TestGgr::lineForms()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QString, colours);
    // Latin-1 rows keep their byte: toLatin1 leaves every other row as typed.
    const GgrRead read = ReadGgr(text.toLatin1().toStdString(), "fallback");
    QVERIFY2(read.gradient, read.error.c_str());
    QCOMPARE(QString::fromStdString(read.gradient->name), name);
    const std::vector<Colour> s = SampleGradient(*read.gradient);
    QCOMPARE(Hex(s[0]) + " " + Hex(s[500]), colours);
}

void TestGgr::refusals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    const QString head = "GIMP Gradient\nName: t\n";
    const QString seg = "0 0.5 1 1 0 0 1 0 0 1 1 0 0\n";
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("not a gradient") << "GIMP Palette\n" << 1;
    QTest::newRow("no count") << head << 3;
    QTest::newRow("count 0") << head + "0\n" << 3;
    QTest::newRow("count not a number") << head + "one\n" + seg << 3;
    QTest::newRow("segment missing") << head + "2\n" + seg << 5;
    QTest::newRow("ten numbers") << head + "1\n0 0.5 1 1 0 0 1 0 0 1\n" << 4;
    QTest::newRow("number garbled") << head + "1\n0 0.5 1 1 0 0 1 0 0 1 x 0 0\n" << 4;
    QTest::newRow("no kinds") << head + "1\n0 0.5 1 1 0 0 1 0 0 1 1\n" << 4;
    QTest::newRow("three kinds") << head + "1\n0 0.5 1 1 0 0 1 0 0 1 1 0 0 0\n" << 4;
    QTest::newRow("blend 6") << head + "1\n0 0.5 1 1 0 0 1 0 0 1 1 6 0\n" << 4;
    QTest::newRow("colouring 3") << head + "1\n0 0.5 1 1 0 0 1 0 0 1 1 0 3\n" << 4;
    QTest::newRow("colour type 5") << head + "1\n0 0.5 1 1 0 0 1 0 0 1 1 0 0 0 5\n" << 4;
    QTest::newRow("not a finite number") << head + "1\n0 nan 1 1 0 0 1 0 0 1 1 0 0\n" << 4;
    QTest::newRow("middle before left") << head + "2\n0 .5 .5 0 0 0 1 0 0 0 1 0 0\n"
                                                  ".5 .4 1 0 0 0 1 0 0 0 1 0 0\n"
                                        << 5;
    QTest::newRow("middle past right") << head + "1\n0 1.5 1 1 0 0 1 0 0 1 1 0 0\n" << 4;
    QTest::newRow("first not at 0") << head + "1\n1e-17 0.5 1 1 0 0 1 0 0 1 1 0 0\n" << 4;
    QTest::newRow("gap") << head + "2\n0 .2 .5 0 0 0 1 0 0 0 1 0 0\n"
                                   ".50001 .7 1 0 0 0 1 0 0 0 1 0 0\n"
                         << 5;
    QTest::newRow("overlap") << head + "2\n0 .2 .5 0 0 0 1 0 0 0 1 0 0\n"
                                       ".49999 .7 1 0 0 0 1 0 0 0 1 0 0\n"
                             << 5;
    QTest::newRow("ends before 1") << head + "1\n0 0.5 0.9999999 1 0 0 1 0 0 1 1 0 0\n" << 4;
    QTest::newRow("ends past 1") << head + "1\n0 0.5 1.0000001 1 0 0 1 0 0 1 1 0 0\n" << 4;
    QTest::newRow("no name line, bad") << "GIMP Gradient\n1\n0 0.5 2 1 0 0 1 0 0 1 1 0 0\n" << 3;
}

void TestGgr::refusals()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    const GgrRead read = ReadGgr(text.toStdString(), "fallback");
    QVERIFY(!read.gradient);
    QCOMPARE(read.line, line);
    QVERIFY2(read.error.starts_with(std::to_string(line) + "行目: "), read.error.c_str());
}

void TestGgr::gimpShipped()
{
    const QDir dir("/usr/share/gimp/2.0/gradients");
    const QStringList files = dir.entryList({"*.ggr"});
    QVERIFY2(files.size() >= 50, "gimp-data is not installed (scripts/packages.txt)");
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const GgrRead read = ReadGgr(file.readAll().toStdString(), name.toStdString());
        QVERIFY2(read.gradient, qPrintable(name + ": " + QString::fromStdString(read.error)));
        QCOMPARE(SampleGradient(*read.gradient, 7).size(), std::size_t{7});
    }
}

void TestGgr::writeReadsBack()
{
    NamedGradient g = Read(Ggr({"0 0.1 0.3 0.1 0.2 0.3 0.4 1e-300 1 0.7 1 2 1",
                                "0.3 0.30000000000000004 1 0 0 0 1 1 1 1 0.123456789 5 2"}));
    g.name = "名前 two\nlines";
    const std::string text = WriteGgr(g);
    QVERIFY(text.starts_with("GIMP Gradient\nName: 名前 two lines\n2\n"));
    QVERIFY(text.find(',') == std::string::npos);
    g.name = "名前 two lines";
    QCOMPARE(Read(text), g);
}

// Points "place/#rrggbb", "!" after a disabled one; the segments as
// "left-right:#from-#to", "~" after one whose midpoint is off centre, "@"
// and the middle after a curved one.
void TestGgr::fromPoints_data()
{
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("segments");
    QTest::newRow("ends at 0 and 1000") << "0/#ff0000 1000/#0000ff"
                                        << "0-1000:#ff0000-#0000ff";
    QTest::newRow("pads") << "1000/#0000ff 500/#00ff00! 200/#ff0000"
                          << "0-200:#ff0000-#ff0000 200-1000:#ff0000-#0000ff";
    QTest::newRow("pad after") << "0/#ff0000 700/#0000ff"
                               << "0-700:#ff0000-#0000ff 700-1000:#0000ff-#0000ff";
    QTest::newRow("shared place") << "0/#000000 500/#ff0000 500/#0000ff 1000/#ffffff"
                                  << "0-500:#000000-#ff0000 500-500:#ff0000-#0000ff "
                                     "500-1000:#0000ff-#ffffff";
    QTest::newRow("equal colours from 0") << "0/#ff0000 300/#ff0000 1000/#0000ff"
                                          << "0-0:#ff0000-#ff0000 0-300:#ff0000-#ff0000 "
                                             "300-1000:#ff0000-#0000ff";
    QTest::newRow("one point") << "400/#00ff00"
                               << "0-400:#00ff00-#00ff00 400-1000:#00ff00-#00ff00";
    QTest::newRow("none enabled") << "400/#00ff00!"
                                  << "0-1000:#00ff00-#00ff00";
}

namespace {

GradPoints Points(const QString& text)
{
    GradPoints p;
    const QStringList items = text.split(' ');
    for (int i = 0; i < items.size(); ++i) {
        const QStringList f = QString(items[i]).remove('!').split("/#");
        const int rgb = f[1].toInt(nullptr, 16);
        p.position[i] = f[0].toInt();
        p.color[i] = MakeColour(rgb >> 16, (rgb >> 8) & 255, rgb & 255);
        p.enabled[i] = !items[i].endsWith('!');
    }
    return p;
}

QString Segments(const NamedGradient& g)
{
    QStringList out;
    for (const GradSegment& s : g.segments) {
        const auto level = [](double v) { return static_cast<int>(std::lround(v * 255)); };
        const auto hex = [&](const SegmentColour& c) {
            return Hex(MakeColour(level(c.red), level(c.green), level(c.blue)));
        };
        out << QString("%1-%2:%3-%4")
                       .arg(s.left * 1000)
                       .arg(s.right * 1000)
                       .arg(hex(s.leftColour), hex(s.rightColour)) +
                   (s.blend == SegmentBlend::Curved      ? QString("@%1").arg(s.middle * 1000)
                    : s.middle == (s.left + s.right) / 2 ? ""
                                                         : "~");
    }
    return out.join(' ');
}

} // namespace

void TestGgr::fromPoints()
{
    QFETCH(QString, points);
    QFETCH(QString, segments);
    const NamedGradient g = GradientFromPoints("n", Points(points));
    QCOMPARE(Segments(g), segments);
    const std::optional<GradPoints> back = ExactPoints(Read(WriteGgr(g)));
    QVERIFY(back);
    for (int length : {2, 5, 333, 1000})
        QCOMPARE(DrawGrad(*back, length), DrawGrad(Points(points), length));
}

// Random points, crowded at shared places, equal colours and the ends, go
// out as a file and come back drawing the same pixels.
void TestGgr::exactRoundTrip()
{
    std::mt19937 random(23);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 3000; ++round) {
        GradPoints p;
        for (int i = 0; i < kPointCount; ++i) {
            const int kind = pick(6);
            p.position[i] = kind == 0            ? 0
                            : kind == 1          ? 1000
                            : kind == 2 && i > 0 ? p.position[i - 1]
                                                 : pick(1001);
            p.color[i] = kind == 3 && i > 0 ? p.color[i - 1]
                                            : MakeColour(pick(256), pick(256), pick(4) * 85);
            p.enabled[i] = pick(4) != 0;
        }
        const std::optional<GradPoints> back =
            ExactPoints(Read(WriteGgr(GradientFromPoints("r", p))));
        QVERIFY(back);
        for (int length : {2, 3, 7, 100, 333, 999, 1000, 2000})
            QVERIFY2(DrawGrad(*back, length) == DrawGrad(p, length),
                     qPrintable(QString("round %1, length %2").arg(round).arg(length)));
    }
}

// Files of other programs: six decimals, colour jumps; and what seven
// points cannot hold. The points as in fromPoints, or "none".
void TestGgr::exactOthers_data()
{
    QTest::addColumn<QStringList>("segments");
    QTest::addColumn<QString>("points");
    QTest::newRow("six decimals") << QStringList{"0 0.1665 0.333 1 0 0 1 0.333333 0.666667 0 1 0 0",
                                                 "0.333 0.6665 1 0.333333 0.666667 0 1 0 0 1 1 0 0"}
                                  << "0/#ff0000 333/#55aa00 1000/#0000ff";
    QTest::newRow("jump") << QStringList{"0 .25 .5 1 0 0 1 1 0 0 1 0 0",
                                         ".5 .75 1 0 0 1 1 0 0 0 1 0 0"}
                          << "500/#ff0000 500/#0000ff 1000/#000000";
    QTest::newRow("off centre") << QStringList{"0 0.4 1 1 0 0 1 0 0 1 1 0 0"} << "none";
    QTest::newRow("curved") << QStringList{"0 0.5 1 1 0 0 1 0 0 1 1 1 0"} << "none";
    QTest::newRow("hsv") << QStringList{"0 0.5 1 1 0 0 1 0 0 1 1 0 1"} << "none";
    QTest::newRow("not 8-bit") << QStringList{"0 0.5 1 0.5 0 0 1 0 0 1 1 0 0"} << "none";
    QTest::newRow("translucent") << QStringList{"0 0.5 1 1 0 0 0.5 0 0 1 1 0 0"} << "none";
    QTest::newRow("end off the grid")
        << QStringList{"0 .25 .5005 1 0 0 1 0 0 1 1 0 0", ".5005 .75025 1 0 0 1 1 1 1 1 1 0 0"}
        << "none";
    QStringList eight;
    for (int i = 0; i < 7; ++i)
        eight << QString("%1 %2 %3 %4 0 0 1 %5 0 0 1 0 0")
                     .arg(i / 7.0)
                     .arg((i + 0.5) / 7.0)
                     .arg(i == 6 ? 1 : (i + 1) / 7.0)
                     .arg(i % 2)
                     .arg((i + 1) % 2);
    QTest::newRow("seven segments, eight ends") << eight << "none";
}

void TestGgr::exactOthers()
{
    QFETCH(QStringList, segments);
    QFETCH(QString, points);
    const std::optional<GradPoints> got = ExactPoints(Read(Ggr(segments)));
    QCOMPARE(got.has_value(), points != "none");
    if (got)
        QCOMPARE(*got, Points(points));
}

// What an export carries reads back whole; anything else in the line
// refuses it.
void TestGgr::carried_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("reads");
    QTest::newRow("as written") << "^$"
                                << "" << true;
    QTest::newRow("spaces around") << "^(.*)$"
                                   << "  \\1\n"
                                   << true;
    QTest::newRow("other version") << " 1 "
                                   << " 2 " << false;
    QTest::newRow("size too small") << "size=\\d+"
                                    << "size=3" << false;
    QTest::newRow("no thickness") << " thickness=56"
                                  << "" << false;
    QTest::newRow("six points") << ",999:#fedcba:1"
                                << "" << false;
    QTest::newRow("eight points") << "$"
                                  << ",1000:#0000ff:1" << false;
    QTest::newRow("position 1001") << "=0:"
                                   << "=1001:" << false;
    QTest::newRow("enabled 2") << ":1,"
                               << ":2," << false;
    QTest::newRow("blend other") << "=oklab"
                                 << "=lab" << false;
    QTest::newRow("more after") << "$"
                                << " x" << false;
}

void TestGgr::carried()
{
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(bool, reads);
    GradPoints p =
        Points("0/#ff0000 1000/#0000ff 500/#00ff00! 7/#123456 7/#abcdef 0/#000000! 999/#fedcba");
    p.blend = Blend::OkLab;
    const WebGradient web{p, 1234, true, 56};
    const QString text =
        QString::fromStdString(CarriedText(web)).replace(QRegularExpression(pattern), replacement);
    const std::optional<WebGradient> got = ReadCarried(text.toStdString());
    QCOMPARE(got.has_value(), reads);
    if (got)
        QVERIFY(got->points == p && got->length == 1234 && got->vertical && got->thickness == 56);
}

// Each form a CSS generator writes; segments as in fromPoints.
void TestGgr::css_data()
{
    QTest::addColumn<QString>("css");
    QTest::addColumn<QString>("segments");
    const QString rb = "0-1000:#ff0000-#0000ff", br = "0-1000:#0000ff-#ff0000";
    QTest::newRow("to right") << "linear-gradient(to right, red, blue)" << rb;
    QTest::newRow("no direction") << "linear-gradient(red,blue)" << rb;
    QTest::newRow("to bottom") << "linear-gradient( To  Bottom ,red , blue )" << rb;
    QTest::newRow("90deg") << "linear-gradient(90deg, red, blue)" << rb;
    QTest::newRow("to left") << "linear-gradient(to left, red, blue)" << br;
    QTest::newRow("to top") << "linear-gradient(to top, red, blue)" << br;
    QTest::newRow("0deg") << "linear-gradient(0deg, red, blue)" << br;
    QTest::newRow("spread") << "linear-gradient(red, lime, blue)"
                            << "0-500:#ff0000-#00ff00 500-1000:#00ff00-#0000ff";
    QTest::newRow("run between") << "linear-gradient(red 10%, lime, yellow, blue 70%)"
                                 << "0-100:#ff0000-#ff0000 100-300:#ff0000-#00ff00 "
                                    "300-500:#00ff00-#ffff00 500-700:#ffff00-#0000ff "
                                    "700-1000:#0000ff-#0000ff";
    QTest::newRow("decreasing") << "linear-gradient(red 50%, lime 20%, blue)"
                                << "0-500:#ff0000-#ff0000 500-500:#ff0000-#00ff00 "
                                   "500-1000:#00ff00-#0000ff";
    QTest::newRow("two places") << "linear-gradient(red 0 40%, blue)"
                                << "0-400:#ff0000-#ff0000 400-1000:#ff0000-#0000ff";
    QTest::newRow("outside") << "linear-gradient(red -50%, blue 150%)"
                             << "0-1000:#bf0040-#4000bf";
    QTest::newRow("all before") << "linear-gradient(red -50%, blue -10%)"
                                << "0-1000:#0000ff-#0000ff";
    QTest::newRow("px") << "a { background: linear-gradient(to right, red 10px, blue 90px);\n"
                           "background-size: 100px 20px }"
                        << "0-100:#ff0000-#ff0000 100-900:#ff0000-#0000ff 900-1000:#0000ff-#0000ff";
    QTest::newRow("px down") << "background-image: linear-gradient(red 5px, blue 20px);"
                                "background-size: 100px 20px;"
                             << "0-250:#ff0000-#ff0000 250-1000:#ff0000-#0000ff";
    QTest::newRow("px, its own rule")
        << "a { background-size: 50px 1px }\nb { background-size: 10px "
           "1px; background: linear-gradient(90deg, red, blue 5px) }"
        << "0-500:#ff0000-#0000ff 500-1000:#0000ff-#0000ff";
    QTest::newRow("hint") << "linear-gradient(red, 30%, blue)"
                          << "0-1000:#ff0000-#0000ff@300";
    QTest::newRow("hint passed by a stop")
        << "linear-gradient(red, 10%, lime, blue 0%)"
        << "0-50:#ff0000-#00ff00@50 50-100:#00ff00-#0000ff 100-1000:#0000ff-#0000ff";
}

void TestGgr::css()
{
    QFETCH(QString, css);
    QFETCH(QString, segments);
    const GradImport got = ReadCss(css.toStdString(), "n");
    QVERIFY2(got.error.empty(), got.error.c_str());
    QCOMPARE(got.gradients.size(), std::size_t{1});
    QCOMPARE(Segments(got.gradients[0]), segments);
    QVERIFY(ReadGgr(WriteGgr(got.gradients[0]), "").gradient);
}

// Each colour form, composited over white as a page shows it.
void TestGgr::cssColours_data()
{
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("hex");
    QTest::newRow("hex 3") << "#F08"
                           << "#ff0088";
    QTest::newRow("hex 4") << "#f008"
                           << "#ff7777";
    QTest::newRow("hex 6") << "#12aB34"
                           << "#12ab34";
    QTest::newRow("hex 8") << "#0000ff80"
                           << "#7f7fff";
    QTest::newRow("rgb commas") << "rgb(255, 0, 10)"
                                << "#ff000a";
    QTest::newRow("rgb fractions") << "rgb(127.6,0,.4)"
                                   << "#800000";
    QTest::newRow("rgb percent") << "rgb(100%, 50%, 0%)"
                                 << "#ff8000";
    QTest::newRow("rgba") << "rgba(0, 0, 0, 0.25)"
                          << "#bfbfbf";
    QTest::newRow("rgb spaces") << "rgb(0 0 255 / 50%)"
                                << "#8080ff";
    QTest::newRow("rgb clamped") << "RGB(300 -5 0)"
                                 << "#ff0000";
    QTest::newRow("hsl") << "hsl(120, 100%, 50%)"
                         << "#00ff00";
    QTest::newRow("hsla") << "hsla(240deg 100% 50% / .5)"
                          << "#8080ff";
    QTest::newRow("hsl turn") << "hsl(0.5turn 100 25)"
                              << "#008080";
    QTest::newRow("hsl past 360") << "hsl(-300, 50%, 50%)"
                                  << "#bfbf40";
    QTest::newRow("named") << "RebeccaPurple"
                           << "#663399";
    QTest::newRow("named, not inside another") << "red"
                                               << "#ff0000";
    QTest::newRow("transparent") << "transparent"
                                 << "#ffffff";
}

void TestGgr::cssColours()
{
    QFETCH(QString, colour);
    QFETCH(QString, hex);
    const GradImport got =
        ReadCss(("linear-gradient(" + colour + "," + colour + ")").toStdString(), "n");
    QVERIFY2(got.error.empty(), got.error.c_str());
    QCOMPARE(Hex(SampleGradient(got.gradients[0], 2)[1]), hex);
}

// What is not understood is refused, quoted.
void TestGgr::cssRefusals_data()
{
    QTest::addColumn<QString>("css");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("corner") << "linear-gradient(to top right, red, blue)"
                            << "「to top right」";
    QTest::newRow("other angle") << "linear-gradient(45deg, red, blue)"
                                 << "「45deg」";
    QTest::newRow("colour space") << "linear-gradient(in oklab, red, blue)"
                                  << "「in oklab」";
    QTest::newRow("unknown colour") << "linear-gradient(red, bluish)"
                                    << "「bluish」";
    QTest::newRow("bad hex") << "linear-gradient(red, #12345)"
                             << "「#12345」";
    QTest::newRow("two numbers") << "linear-gradient(red, rgb(1, 2))"
                                 << "「rgb(1, 2)」";
    QTest::newRow("em") << "linear-gradient(red 2em, blue)"
                        << "「2em」";
    QTest::newRow("calc") << "linear-gradient(red calc(10%), blue)"
                          << "「calc(10%)」";
    QTest::newRow("three places") << "linear-gradient(red 1% 2% 3%, blue)"
                                  << "「3%」";
    QTest::newRow("px, no size") << "linear-gradient(red 5px, blue)"
                                 << "「5px」";
    QTest::newRow("px, size in %") << "linear-gradient(red 5px, blue); background-size: 50%"
                                   << "「50%」";
    QTest::newRow("hint first") << "linear-gradient(10%, red, blue)"
                                << "「10%」";
    QTest::newRow("two hints") << "linear-gradient(red, 10%, 20%, blue)"
                               << "「20%」";
    QTest::newRow("hint last") << "linear-gradient(red, blue, 10%)"
                               << "中間点";
    QTest::newRow("hint to the left") << "linear-gradient(to left, red, 10%, blue)"
                                      << "「blue」";
    QTest::newRow("hint cut at 100%") << "linear-gradient(red, 60%, blue 200%)"
                                      << "「blue 200%」";
    QTest::newRow("repeating") << "repeating-linear-gradient(red, blue)"
                               << "「repeating-linear-gradient」";
    QTest::newRow("unclosed") << "linear-gradient(red, rgb(0,0,0)"
                              << "閉じ括弧";
    QTest::newRow("none") << "radial-gradient(red, blue) /* linear-gradient(red, blue) */"
                          << "linear-gradient(...) が見つかりません";
}

void TestGgr::cssRefusals()
{
    QFETCH(QString, css);
    QFETCH(QString, quoted);
    const GradImport got = ReadCss(css.toStdString(), "n");
    QVERIFY(got.gradients.empty());
    QVERIFY2(QString::fromStdString(got.error).contains(quoted), got.error.c_str());
}

// Several gradients, each its own; prefixed copies skipped; our own export
// carries its points.
void TestGgr::cssSeveral()
{
    const WebGradient web{Points("0/#ff0000 600/#00ff00 1000/#0000ff"), 300, true, 7};
    const std::string css = "a { background: -webkit-linear-gradient(left, red, blue);\n"
                            "background: linear-gradient(red, blue) }\n" +
                            CssRule(web);
    const GradImport got = ReadCss(css, "n");
    QVERIFY2(got.error.empty(), got.error.c_str());
    QCOMPARE(got.gradients.size(), std::size_t{2});
    QCOMPARE(got.gradients[1].name, "n (2)");
    QVERIFY(got.carried && got.carried->points == web.points && got.carried->length == 300);
    // The stops as exported draw the gradient within a level.
    const std::vector<Colour> drawn = DrawGrad(web.points, 300),
                              read = SampleGradient(got.gradients[1], 300);
    for (std::size_t x = 0; x < drawn.size(); ++x)
        for (int shift : {0, 8, 16})
            QVERIFY(std::abs((drawn[x] >> shift & 255) - (read[x] >> shift & 255)) <= 1);
}

QTEST_GUILESS_MAIN(TestGgr)
#include "tst_ggr.moc"
