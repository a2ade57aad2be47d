// SPDX-License-Identifier: MIT
// The .ggr and CSS readers: GIMP's colours (gimp-console's
// gimp-gradient-get-custom-samples, over white), random gradients through
// our writers and back, CSS stops against a model of their layout, the
// forms only other programs write, and each refusal once.

#include "common/failuretext.h"
#include "core/cssgrad.h"
#include "core/ggr.h"
#include "points.h"
#include "table.h"

#include <cmath>
#include <random>

namespace {

std::mt19937 rnd(23);

int Pick(int n)
{
    return int(rnd() % unsigned(n));
}

double Unit()
{
    return std::uniform_real_distribution<>()(rnd);
}

QString Hex(Colour c)
{
    return QString::asprintf("%02x%02x%02x", GetRed(c), GetGreen(c), GetBlue(c));
}

NamedGradient Read(const QString& text)
{
    return ReadGgr(text.toLatin1().toStdString(), "fb")
        .gradient.value_or(NamedGradient{});
}

GradImport Css(const QString& css)
{
    return ReadCss(css.toStdString(), "n");
}

// Seven points crowded at the ends, at shared places and colours, some
// copies of the one before.
GradPoints RandomPoints()
{
    static int round = 0;
    GradPoints p;
    p.blend = Blend(round++ % 2);
    for (int i = 0; i < kPointCount; ++i) {
        const int kind = Pick(7);
        const int j = std::max(i - 1, 0);
        const bool at = kind == 2 || kind == 6;
        auto& x = p.position[i];
        x = at ? p.position[j] : Pick(1001);
        x = kind < 2 ? kind * 1000 : x;
        const auto fresh = MakeColour(Pick(256), Pick(256), Pick(4) * 85);
        p.color[i] = kind >= 3 ? p.color[j] : fresh;
        p.enabled[i] = Pick(4) != 0;
    }
    return p;
}

using Edit = std::tuple<const char*, const char*, bool>;
// A head and a part repeated.
using Repeated = std::tuple<QString, QString, int, bool>;

} // namespace

class TestGgr : public QObject
{
    Q_OBJECT

private slots:
    void gimp_data()
    {
        TableRows("ggr_samples.txt", {"seg", "x", "rgb"}, Named::ByInput);
    }
    void gimp()
    {
        QFETCH(QString, seg);
        QFETCH(QString, x);
        QFETCH(QString, rgb);
        const auto s = SampleGradient(Read("GIMP Gradient\n1\n" + seg));
        QCOMPARE(Hex(s[x.toInt()]), rgb);
    }
    void files_data() { TableRows("ggr_files.txt", {"text", "read"}, Named::ByInput); }
    // Files as GIMP reads them: the name and the colours at 0 and 500, or the
    // line the refusal names.
    void files()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        text.prepend("GIMP Gradient");
        const auto got = ReadGgr(text.toLatin1().toStdString(), "fb");
        const auto s = SampleGradient(Read(text));
        auto says = RefusalText(got.refusal).section(':', 0, 0);
        if (got.gradient)
            says = Q(got.gradient->name) + " " + Hex(s[0]) + " " + Hex(s[500]);
        QCOMPARE(says, read);
    }
    // Random points go out as a file and come back drawing the same pixels;
    // an OKLab blend written as one straight piece is the file its RGB twin
    // writes, and reads as that. An OKLab blend's pieces follow its curve as
    // the rasteriser draws it. The numbers written are short. Our CSS export
    // brings back its points, and its stops draw them. Any gradient, its
    // doubles to the last bit, reads back as written; its name on one line.
    void points()
    {
        const auto c = [] { return std::ldexp(Unit(), -Pick(1000)); };
        for (int round = 0; round < 3000; ++round) {
            const auto p = RandomPoints();
            const auto g = GradientFromPoints("r", p);
            const auto text = Q(WriteGgr(g));
            QVERIFY(p.blend == Blend::OkLab || !text.contains("0000000"));
            const auto back = ExactPoints(Read(text));
            QVERIFY(back);
            auto twin = p;
            twin.blend = Blend::Rgb;
            const auto n = GradientFromPoints("", twin).segments.size();
            const auto& want = n == g.segments.size() ? twin : p;
            for (int w : {2, 3, 7, 100, 333, 999, 1000, 2000})
                QVERIFY(DrawGrad(*back, w) == DrawGrad(want, w));
            const WebGradient web{p, 4 + Pick(600), Pick(2) == 1, 1 + Pick(9)};
            const auto css = Css(Q(CssRule(web)));
            QVERIFY(Carries(css.carried, web));
            QCOMPARE(css.vertical, std::vector{web.vertical});
            const auto drawn = SampleCentres(css.gradients.at(0), web.length);
            QVERIFY(WithinALevel(drawn, DrawGrad(p, web.length)));
            NamedGradient any{"名前\nx", {}};
            for (double l = 0, r = 0; r < 1; l = r) {
                r = Pick(4) ? std::min(1.0, l + Unit()) : l;
                const double m = l + (r - l) * Unit();
                const SegmentColour a{c(), c(), c(), Unit()};
                const SegmentColour b{Unit(), c(), c(), c()};
                any.segments.push_back(
                    {l, m, r, a, b, SegmentBlend(Pick(6)), SegmentColouring(Pick(3))});
            }
            const auto written = WriteGgr(any);
            any.name = "名前 x";
            QCOMPARE(ReadGgr(written, "").gradient.value_or(NamedGradient{}), any);
        }
        const auto p = Points("oklab 0/ff0000 1000/ff00");
        QVERIFY(WithinALevel(SampleGradient(GradientFromPoints("n", p)),
                             DrawGrad(p, 1000)));
        // Pads where the ends are not points, and an empty one
        // before a point at 0 whose segment is constant.
        const std::pair<const char*, size_t> pads[] = {
            {"0/1 1000/2", 1},       {"1000/2 500/3! 200/1", 2},
            {"0/1 700/2", 2},        {"0/1 500/2 500/3 1000/4", 3},
            {"0/1 300/1 1000/2", 3}, {"400/1", 2},
            {"400/1!", 1},           {"3/1 6/2", 3},
        };
        for (const auto& [text, count] : pads)
            QCOMPARE(GradientFromPoints("", Points(text)).segments.size(), count);
    }
    void exact_data()
    {
        TableRows("ggr_exact.txt", {"segs", "points"}, Named::ByInput);
    }
    void exact()
    {
        QFETCH(QString, segs);
        QFETCH(QString, points);
        const auto n = QString::number(segs.count(';') + 1);
        const auto got =
            ExactPoints(Read("GIMP Gradient\n" + n + "\n" + segs.replace(';', '\n')));
        QCOMPARE(got.has_value(), points != "none");
        QVERIFY(!got || *got == Points(points));
    }
    // What an export carries, edited: only white space around it may change.
    void carried_data()
    {
        Rows<Edit>({
            {"spaces", {"velmix", "\n velmix", true}},
            {"size", {"=1234", "=3", false}},
            {"not hex", {"#fedcba", "#fedcbg", false}},
            {"enabled 2", {":1,1000", ":2,1000", false}},
            {"more after", {"a:1", "a:1 x", false}},
        });
    }
    void carried()
    {
        QFETCH(Edit, row);
        const auto [from, to, reads] = row;
        const auto p =
            Points("oklab 0/f00 1000/f 500/0f0! 7/123456 7/abcdef 0! 999/fedcba");
        const WebGradient web{p, 1234, true, 56};
        const auto got =
            ReadCarried(Q(CarriedText(web)).replace(from, to).toStdString());
        QCOMPARE(got.has_value(), reads);
        QVERIFY(!got || Carries(got, web));
    }
    // Random stops, some placed twice, some not at all, some past the ends or
    // going back, in px or %, in each direction, their colours in each form,
    // drawn as CSS lays them out:
    // unplaced ends at 0 and 1, none before the largest so far, runs between
    // spread evenly.
    void cssStops()
    {
        // The direction; whether it runs down, and back. The longest one read
        // as a direction is 64 characters.
        using Way = std::tuple<const char*, int, int>;
        const std::string far = "to" + std::string(59, ' ') + "top";
        const Way ways[] = {
            {"", 1, 0},          {"To  Bottom", 1, 0}, {"to top", 1, 1},
            {"0deg", 1, 1},      {"to right", 0, 0},   {"-270deg", 0, 0},
            {"100grad", 0, 0},   {"to left", 0, 1},    {"0.75turn", 0, 1},
            {far.c_str(), 1, 1},
        };
        for (int round = 0; round < 2000; ++round) {
            const auto [dir, down, back] = ways[Pick(std::size(ways))];
            const int size = 10 * (1 + Pick(30));
            const bool px = Pick(2);
            const auto unit = px ? " %1px" : " %1%";
            const double scale = px ? size / 100.0 : 1;
            std::vector<double> at;
            std::vector<Colour> c;
            QStringList items{dir};
            items.removeAll("");
            for (int i = 1 + Pick(5); i > 0; --i) {
                c.push_back(MakeColour(Pick(256), Pick(256), Pick(256)));
                items << "#" + Hex(c.back());
                at.push_back(NAN);
                for (int k = Pick(5) / 2, n = 0; k > 0; --k) {
                    const double place = Pick(160) - 30;
                    items.last() += QString(unit).arg(place * scale);
                    if (n++ > 0) {
                        c.push_back(c.back());
                        at.push_back(0);
                    }
                    at.back() = place / 100;
                }
            }
            // The model: the ends placed, then none
            // back, then the runs between spread.
            auto& a = at.front();
            auto& z = at.back();
            a = std::isnan(a) ? 0 : a;
            z = std::isnan(z) ? 1 : z;
            double top = -INFINITY;
            for (double& v : at) {
                v = std::isnan(v) ? v : std::max(v, top);
                top = std::fmax(top, v);
            }
            const auto e = at.size();
            for (size_t i = 1, j; i < e; i = j + 1) {
                for (j = i; std::isnan(at[j]); ++j) {
                }
                const double step = (at[j] - at[i - 1]) / double(j - i + 1);
                for (size_t k = i; k < j; ++k)
                    at[k] = at[k - 1] + step;
            }
            std::vector<Colour> want;
            for (int x = 0; x < 100; ++x) {
                const double u = (x + 0.5) / 100;
                const double t = back ? 1 - u : u;
                size_t i = 0;
                while (i + 1 < e && at[i + 1] <= t)
                    ++i;
                const auto j = std::min(i + 1, e - 1);
                const bool in = t > at[i] && j > i;
                const double f = in ? (t - at[i]) / (at[j] - at[i]) : 0;
                const auto level = [&](auto ch) {
                    const int p = ch(c[i]);
                    return int(std::lround(p + (ch(c[j]) - p) * f));
                };
                want.push_back(
                    MakeColour(level(GetRed), level(GetGreen), level(GetBlue)));
            }
            const auto sizes = QString(down ? "1px %1px" : "%1px 1px").arg(size);
            const auto css = "a{background-image:linear-gradient(" + items.join(", ");
            const auto got = Css(css + ");background-size:" + sizes + "}");
            QCOMPARE(got.vertical, std::vector{bool(down)});
            const auto drawn = SampleCentres(got.gradients.at(0), 100);
            QVERIFY(WithinALevel(drawn, want));
        }
    }
    // A sheet as generators write it, each rule drawn as the plain gradient
    // or .ggr given; prefixed copies passed by; our own rule among them keeps
    // its points.
    void sheet()
    {
        const QStringList plain{
            "90deg, red, blue 50%", "90deg, red 25%, blue 75%",
            "#3184fd, #0d6efd",     "#3184fd, #0d6efd",
            "white, #808080",       "black, black",
            "#800080, blue",        "red, blue",
        };
        const QString hints[] = {
            "1\n0 .3 1 1 0 0 1 0 0 1 1 1 0",
            "3\n0 .05 .05 1 0 0 1 0 1 0 1 1 0\n"
            ".05 .075 .1 0 1 0 1 0 0 1 1 0 0\n"
            ".1 .55 1 0 0 1 1 0 0 1 1 0 0",
        };
        const auto p = Points("0/f00 600/0f0 1000/00f");
        const WebGradient web{p, 300, true, 7};
        const auto got =
            Css(QString::fromUtf8(DataFile("css_sheet.css")) + Q(CssRule(web)));
        const auto n = size_t(plain.size());
        QCOMPARE(got.gradients.size(), n + 3);
        QCOMPARE(got.gradients[1].name, "n (2)");
        QVERIFY(Carries(got.carried, web));
        for (size_t i = 0; i < n + 2; ++i) {
            const auto want = Css("linear-gradient(" + plain.value(i) + ")");
            const auto g =
                i < n ? want.gradients.at(0) : Read("GIMP Gradient\n" + hints[i - n]);
            QVERIFY(WithinALevel(SampleGradient(got.gradients[i]), SampleGradient(g)));
            QVERIFY(i >= n || got.vertical[i] == want.vertical.at(0));
        }
    }
    // The forms of colours: named, HSL, alpha over the white page and values
    // past the range.
    void colours()
    {
        const std::pair<const char*, const char*> named[] = {
            {"RebeccaPurple", "663399"},
            {"RGB(100% 0% 50%)", "ff0080"},
            {"transparent", "ffffff"},
            {" #F08\n", "ff0088"},

            {"#00000080", "7f7f7f"},
            {"rgb(0 0 0 / 50%)", "808080"},
            {"RGB(300 -5 0)", "ff0000"},
            {"hsla(-300, 50%, 50%, 2)", "bfbf40"},
            {"hsl(240deg 100% 50% / .5)", "8080ff"},
            {"hsl(0.5turn 100 25)", "008080"},
        };
        for (const auto& [text, hex] : named)
            QCOMPARE(Hex(ReadColourText(text).value_or(-1)), hex);
    }
    void cssRefusals_data()
    {
        TableRows("css_refusals.txt", {"css", "says"}, Named::ByInput);
    }
    void cssRefusals()
    {
        QFETCH(QString, css);
        QFETCH(QString, says);
        const auto got = Css(css);
        QVERIFY(got.gradients.empty());
        const auto why = RefusalText(got.refusal);
        QVERIFY2(why.contains(says), qPrintable(why));
    }
    // Texts that took seconds or were echoed whole: a head and a part repeated;
    // each read or refused at once, any refusal a short line.
    void bounded_data()
    {
        const QString lg = "linear-gradient(red";
        const QString px = "a{background-size:9px 1px;background:linear-gradient(90deg";
        Rows<Repeated>({
            {"stops", {lg, ", blue", 100000, false}},
            {"px", {px, ", red 1px", 50000, true}},
            {"rules", {"a{}", "a{background:" + lg + ", blue)}", 20000, false}},
            {"token", {lg + ",", "x", 5000000, true}},
            {"past", {lg, ",red", 4000000, true}},
        });
    }
    void bounded()
    {
        QFETCH(Repeated, row);
        const auto& [head, part, count, refused] = row;
        const auto got = Css(head + part.repeated(count) + ")}");
        const auto why = RefusalText(got.refusal);
        QVERIFY2(why.size() < 100, qPrintable(why));
        QCOMPARE(got.gradients.empty(), bool(got.refusal));
        QCOMPARE(bool(got.refusal), refused);
    }
};

QTEST_GUILESS_MAIN(TestGgr)
#include "tst_ggr.moc"
