// SPDX-License-Identifier: MIT
// Gradients of painting programs: .ggr read as GIMP reads it (every line
// form, every check naming its line), its colours as GIMP computes them
// (reference values from gimp-console's gimp-gradient-get-custom-samples,
// composited over white); GIMP's own gradients are read in tst_fit. The
// tables are in tests/data.

#include "common/failuretext.h"
#include "core/cssgrad.h"
#include "core/ggr.h"
#include "points.h"
#include "table.h"

#include <QRegularExpression>

#include <random>

namespace {

QString Hex(Colour c)
{
    return QString::asprintf("#%02x%02x%02x", GetRed(c), GetGreen(c), GetBlue(c));
}

// A file of the given segment lines, each of them one line.
std::string Ggr(const QStringList& segments)
{
    const auto head = QString("GIMP Gradient\nName: Test\n%1\n").arg(segments.size());
    return (head + segments.join('\n') + "\n").toStdString();
}

GradImport Css(const QString& css)
{
    return ReadCss(css.toStdString(), "n");
}

NamedGradient Read(const std::string& text)
{
    const auto read = ReadGgr(text, "fallback");
    if (!read.gradient)
        qWarning("%s", qPrintable(RefusalText(read.refusal)));
    return read.gradient.value_or(NamedGradient{});
}

QString Hex(const SegmentColour& c)
{
    const auto level = [](double v) { return int(std::lround(v * 255)); };
    return Hex(MakeColour(level(c.red), level(c.green), level(c.blue)));
}

// The segments as "left-right:#from-#to", "~" after one whose middle is
// off centre, "@" and the middle after a curved one.
QString Segments(const NamedGradient& g)
{
    QStringList out;
    for (const GradSegment& s : g.segments) {
        QString t = QString("%1-%2:").arg(s.left * 1000).arg(s.right * 1000);
        t += Hex(s.leftColour) + "-" + Hex(s.rightColour);
        if (s.blend == SegmentBlend::Curved)
            t += QString("@%1").arg(s.middle * 1000);
        else if (std::abs(s.middle - (s.left + s.right) / 2) > 1e-12)
            t += "~";
        out << t;
    }
    return out.join(' ');
}

} // namespace

class TestGgr : public QObject
{
    Q_OBJECT

private slots:
    void sampleAsGimp_data() { TableRows("ggr_samples.txt", {"segment", "x", "colour"}); }
    void sampleAsGimp();
    void lineForms_data() { TableRows("ggr_forms.txt", {"text", "name", "colours"}); }
    void lineForms();
    void refusals_data() { TableRows("ggr_refusals.txt", {"text", "line"}); }
    void refusals();
    void writeReadsBack();
    void fromPoints_data() { TableRows("ggr_points.txt", {"points", "segments"}); }
    void fromPoints();
    void fromOkLab();
    void exactRoundTrip();
    void exactOthers_data() { TableRows("ggr_exact.txt", {"segments", "points"}); }
    void exactOthers();
    void carried_data();
    void carried();
    void css_data() { TableRows("css_forms.txt", {"css", "segments", "down"}); }
    void css();
    void cssColours_data() { TableRows("css_colours.txt", {"colour", "hex"}); }
    void cssColours();
    void cssRefusals_data() { TableRows("css_refusals.txt", {"css", "quoted"}); }
    void cssRefusals();
    void cssBounded_data() { TableRows("css_bounded.txt", {"head", "unit", "count", "tail"}); }
    void cssBounded();
    void carriedEdited_data();
    void carriedEdited();
    void cssSeveral();
};

void TestGgr::sampleAsGimp()
{
    QFETCH(QString, segment);
    QFETCH(QString, x);
    QFETCH(QString, colour);
    const auto s = SampleGradient(Read(Ggr({segment})));
    QCOMPARE(Hex(s[x.toULong()]), colour);
}

void TestGgr::lineForms()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QString, colours);
    const auto read = ReadGgr(text.toLatin1().toStdString(), "fallback");
    QVERIFY2(read.gradient, qPrintable(RefusalText(read.refusal)));
    QCOMPARE(Q(read.gradient->name), name);
    const auto s = SampleGradient(*read.gradient);
    QCOMPARE(Hex(s[0]) + " " + Hex(s[500]), colours);
}

void TestGgr::refusals()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    const auto read = ReadGgr(text.toStdString(), "");
    QVERIFY(!read.gradient);
    QCOMPARE(read.refusal.line, line.toInt());
    QVERIFY2(RefusalText(read.refusal).startsWith(line + "行目: "),
             qPrintable(RefusalText(read.refusal)));
}

void TestGgr::writeReadsBack()
{
    auto g = Read(Ggr({"0 0.1 0.3 0.1 0.2 0.3 0.4 1e-300 1 0.7 1 2 1",
                       "0.3 0.30000000000000004 1 0 0 0 1 1 1 1 0.123456789 5 2"}));
    g.name = "名前 two\nlines";
    const std::string text = WriteGgr(g);
    QVERIFY(text.starts_with("GIMP Gradient\nName: 名前 two lines\n2\n"));
    QVERIFY(!Q(text).contains(','));
    g.name = "名前 two lines";
    QCOMPARE(Read(text), g);
}

// Read back exactly: exactRoundTrip.
void TestGgr::fromPoints()
{
    QFETCH(QString, points);
    QFETCH(QString, segments);
    const auto p = Points(points);
    const auto g = GradientFromPoints("n", p);
    QCOMPARE(Segments(g), segments);
    QVERIFY(!Q(WriteGgr(g)).contains("0000000"));
    // Read back, it draws the same.
    const auto back = ExactPoints(Read(WriteGgr(g)));
    QVERIFY(back);
    for (int length : {2, 5, 333, 1000})
        QCOMPARE(DrawGrad(*back, length), DrawGrad(p, length));
}

// An OKLab blend goes out as linear pieces that follow its curve.
void TestGgr::fromOkLab()
{
    const auto p = Points("oklab 0/ff0000 1000/00ff00");
    const auto read = SampleGradient(Read(WriteGgr(GradientFromPoints("n", p))));
    const OkLab a = ToOkLab({255, 0, 0}), b = ToOkLab({0, 255, 0});
    for (int x = 0; x < 1000; ++x) {
        const auto at = [x](double u, double v) { return u + (v - u) * x / 1000; };
        const ExactColour c = FromOkLab({at(a.L, b.L), at(a.a, b.a), at(a.b, b.b)});
        const Colour got = read[std::size_t(x)];
        QVERIFY(std::abs(GetRed(got) - c.red) <= 1);
        QVERIFY(std::abs(GetGreen(got) - c.green) <= 1);
    }
}

// Random points, crowded at shared places, equal colours and the ends, go
// out as a file and come back drawing the same pixels; an OKLab blend's
// pieces too.
void TestGgr::exactRoundTrip()
{
    std::mt19937 random(23);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int round = 0; round < 3000; ++round) {
        GradPoints p;
        p.blend = round % 2 ? Blend::OkLab : Blend::Rgb;
        for (int i = 0; i < kPointCount; ++i) {
            const int kind = pick(7);
            const int prev = std::max(i - 1, 0);
            auto& at = p.position[i];
            const bool place = kind == 2 || kind == 6, colour = kind >= 3;
            at = kind == 0 ? 0 : kind == 1 ? 1000 : place ? p.position[prev] : pick(1001);
            const int b = pick(4) * 85;
            p.color[i] = colour ? p.color[prev] : MakeColour(pick(256), pick(256), b);
            p.enabled[i] = pick(4) != 0;
        }
        const auto g = GradientFromPoints("r", p);
        const auto back = ExactPoints(Read(WriteGgr(g)));
        QVERIFY(back);
        // An OKLab blend written as one straight piece is the file its RGB
        // twin writes, and reads as that.
        auto twin = p;
        twin.blend = Blend::Rgb;
        const bool same = GradientFromPoints("r", twin).segments.size() == g.segments.size();
        for (int length : {2, 3, 7, 100, 333, 999, 1000, 2000})
            QVERIFY2(DrawGrad(*back, length) == DrawGrad(same ? twin : p, length),
                     qPrintable(QString::number(round)));
    }
}

void TestGgr::exactOthers()
{
    QFETCH(QString, segments);
    QFETCH(QString, points);
    const auto got = ExactPoints(Read(Ggr(segments.split(';'))));
    QCOMPARE(got.has_value(), points != "none");
    if (got)
        QCOMPARE(*got, Points(points));
}

// What an export carries, changed by a regular expression, and whether it
// still reads: only white space around it may change.
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
    QTest::newRow("colour not hex") << "#fedcba"
                                    << "#fedcbg" << false;
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
    const WebGradient web{Points("oklab 0/ff0000 1000/0000ff 500/00ff00! 7/123456 "
                                 "7/abcdef 0! 999/fedcba"),
                          1234, true, 56};
    auto text = Q(CarriedText(web));
    text.replace(QRegularExpression(pattern), replacement);
    const auto got = ReadCarried(text.toStdString());
    QCOMPARE(got.has_value(), reads);
    QVERIFY(!got || Carries(got, web));
}

void TestGgr::css()
{
    QFETCH(QString, css);
    QFETCH(QString, segments);
    QFETCH(QString, down);
    const auto got = Css(css);
    QVERIFY(!got.refusal);
    QCOMPARE(got.gradients.size(), size_t(1));
    QCOMPARE(Segments(got.gradients[0]), segments);
    QCOMPARE(got.vertical, std::vector<bool>{down == "1"});
    QVERIFY(ReadGgr(WriteGgr(got.gradients[0]), "").gradient);
}

void TestGgr::cssColours()
{
    QFETCH(QString, colour);
    QFETCH(QString, hex);
    const auto got = Css(QString("linear-gradient(%1,%1)").arg(colour));
    QVERIFY(!got.refusal);
    QCOMPARE(Hex(SampleGradient(got.gradients[0], 2)[1]), hex);
    // Typed, pasted or given to the renderer, with space around it.
    QCOMPARE(Hex(ReadColourText(" " + colour.toStdString() + "\n").value_or(-1)), hex);
}

void TestGgr::cssRefusals()
{
    QFETCH(QString, css);
    QFETCH(QString, quoted);
    const auto got = Css(css);
    QVERIFY(got.gradients.empty());
    QVERIFY2(RefusalText(got.refusal).contains(quoted), qPrintable(RefusalText(got.refusal)));
}

void TestGgr::cssBounded()
{
    QFETCH(QString, head);
    QFETCH(QString, unit);
    QFETCH(QString, count);
    QFETCH(QString, tail);
    std::string text = head.toStdString();
    for (int i = count.toInt(); i > 0; --i)
        text += unit.toStdString();
    text += tail.toStdString();
    const auto got = ReadCss(text, "n");
    QVERIFY2(RefusalText(got.refusal).size() < 100, qPrintable(RefusalText(got.refusal)));
    QCOMPARE(got.gradients.empty(), bool(got.refusal));
}

// Our export's carried points hold only while the text still draws them:
// the text replaced, and whether they are kept.
void TestGgr::carriedEdited_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("kept");
    QTest::newRow("as written") << "body"
                                << "body" << true;
    QTest::newRow("spacing") << ",\n"
                             << "," << true;
    QTest::newRow("a stop's colour") << "rgb(255, 0, 0)"
                                     << "rgb(0, 0, 0)" << false;
    QTest::newRow("direction") << "to right"
                               << "to left" << false;
    QTest::newRow("size") << "size: 300px"
                          << "size: 200px" << false;
}

void TestGgr::carriedEdited()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, kept);
    const auto p = Points("0/ff0000 600/00ff00 1000/0000ff");
    const auto got = Css(Q(CssRule({p, 300, false, 7})).replace(from, to));
    QCOMPARE(got.carried.has_value(), kept);
    QCOMPARE(got.gradients.size(), size_t(1));
}

// Several gradients, each its own; prefixed copies skipped; our own export
// carries its points.
void TestGgr::cssSeveral()
{
    const WebGradient web{Points("0/ff0000 600/00ff00 1000/0000ff"), 300, true, 7};
    const auto got = Css("a { background: -webkit-linear-gradient(left, red, blue);\n"
                         "background: linear-gradient(red, blue) }\n" +
                         Q(CssRule(web)));
    QVERIFY(!got.refusal);
    QCOMPARE(got.gradients.size(), size_t(2));
    QCOMPARE(got.gradients[1].name, "n (2)");
    QVERIFY(Carries(got.carried, web));
    // The stops as exported draw the gradient within a level.
    const auto drawn = DrawGrad(web.points, 300);
    const auto read = SampleGradient(got.gradients[1], 300);
    for (std::size_t x = 0; x < drawn.size(); ++x)
        for (int k : {0, 8, 16})
            QVERIFY(std::abs((drawn[x] >> k & 255) - (read[x] >> k & 255)) <= 1);
}

QTEST_GUILESS_MAIN(TestGgr)
#include "tst_ggr.moc"
