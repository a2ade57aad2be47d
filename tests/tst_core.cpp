// SPDX-License-Identifier: MIT
// The core without a window: the rasteriser's pixels against a model of
// its rule, OKLab, the edit commands with fixed draws, what the window
// tests leave of the undo history, the web stops and the CSS text,
// contrast figures, the number-text rules, path splitting, window
// places, the choice of language. The range clamp of a typed number:
// tst_mainwindow's size box.

#include "common/clscommon.h"
#include "core/contrast.h"
#include "core/edithistory.h"
#include "core/edits.h"
#include "core/language.h"
#include "core/numtext.h"

#include "points.h"
#include "table.h"

#include <algorithm>
#include <cfloat>
#include <random>

using namespace std::string_literals;
using C = clsCommon;

namespace {

struct Draws : RandomSource
{
    explicit Draws(std::vector<float> v) : values(std::move(v)) {}
    float next() override { return values.at(at++); }
    std::vector<float> values;
    std::size_t at = 0;
};

using Px = std::array<double, 3>;

Px Rgb(Colour c)
{
    return {double(GetRed(c)), double(GetGreen(c)), double(GetBlue(c))};
}

// The rule written out: the enabled points by
// place, ties by index (none: point 0); at
// pixel x the place w = x * 1000 / n and the
// parameter t along the segment in single
// precision, t clamped to 0..1; channels mixed,
// or in OKLab the OKLab values, clamped to
// 0..255; past the last point its colour. The
// segment moves on at most once a pixel, after
// drawing it. Unrounded.
std::vector<Px> Model(const GradPoints& p, int n)
{
    std::vector<int> on;
    for (int i = 0; i < kPointCount; ++i)
        if (p.enabled[i])
            on.push_back(i);
    const auto at = [&](int i) { return p.position[i]; };
    std::ranges::stable_sort(on, {}, at);
    if (on.empty())
        on = {0};
    const bool lab = p.blend == Blend::OkLab;
    std::vector<Px> out;
    std::size_t j = 0;
    for (int x = 0; x < n; ++x) {
        const float w = float(x * 1000.0 / n);
        const auto k = std::min(j + 1, on.size() - 1);
        const double a = at(on[j]);
        const double b = at(on[k]);
        float t = float((w - a) / (b + 0.01 - a));
        t = k == j ? 0 : std::clamp(t, 0.f, 1.f);
        Px u = Rgb(p.color[on[j]]);
        Px v = Rgb(p.color[on[k]]);
        if (lab) {
            const auto l = ToOkLab({u[0], u[1], u[2]});
            const auto m = ToOkLab({v[0], v[1], v[2]});
            const auto e = FromOkLab(
                {l.L + (m.L - l.L) * t, l.a + (m.a - l.a) * t, l.b + (m.b - l.b) * t});
            u = {e.red, e.green, e.blue};
            for (double& c : u)
                c = std::clamp(c, 0.0, 255.0);
        } else {
            for (int c = 0; c < 3; ++c)
                u[c] += (v[c] - u[c]) * double(t);
        }
        out.push_back(u);
        j += k != j && w >= b;
    }
    return out;
}

// The 4 x 4 Bayer square, across by along.
const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Random points, crowded at shared places and the
// ends, a third of them disabled.
GradPoints RandomPoints(std::mt19937& r)
{
    const auto pick = [&](int n) { return int(r() % unsigned(n)); };
    GradPoints p;
    for (int i = 0; i < kPointCount; ++i) {
        const int kind = pick(5);
        const int last = p.position[std::max(i - 1, 0)];
        const int any = pick(1001);
        const int at[] = {0, 1000, last, any, any};
        p.position[i] = at[kind];
        p.color[i] = pick(1 << 24);
        p.enabled[i] = pick(3) != 0;
    }
    return p;
}

// The largest difference, in levels, between the
// unrounded colours and the stops drawn linear
// between them at every pixel centre.
double Deviation(std::vector<GradientStop> s, GradPoints p, int n)
{
    const auto px = DrawGradExact(p, n);
    double worst = 0;
    for (std::size_t x = 0, k = 1; x < px.size(); ++x) {
        const double at = x + 0.5;
        while (k + 1 < s.size() && s[k].place < at)
            ++k;
        const GradientStop &a = s[k - 1], &b = s[k];
        const double d = b.place - a.place;
        const double f = (at - a.place) / std::max(d, 1e-9);
        for (const auto c :
             {&ExactColour::red, &ExactColour::green, &ExactColour::blue}) {
            const double u = a.colour.*c;
            const double v = u + (b.colour.*c - u) * f;
            worst = std::max(worst, std::abs(v - px[x].*c));
        }
    }
    return worst;
}

// "left top [width height]", of a window 300 x
// 200 where not given.
QList<double> Place(const QString& text)
{
    QList<double> n;
    const auto s = (text + " 300 200").split(' ');
    for (const auto& v : s.first(4))
        n << v.toDouble();
    return n;
}

using Spacing = std::pair<QString, QList<int>>;
// The text, ReadNumber, ReadInt32, ReadInt16.
using Number = std::tuple<QString, double, int, int>;

} // namespace

class tst_Core : public QObject
{
    Q_OBJECT
private slots:

    // Random points, blends, lengths (all up to 20),
    // orientations and thicknesses, plain and
    // dithered, against the model: RGB rounded half
    // to even, OKLab half away from zero, dithered
    // down from the value plus (rank + 1/2) / 16.
    void rasteriser()
    {
        std::mt19937 r(5);
        for (int i = 0; i < 2000; ++i) {
            auto p = RandomPoints(r);
            if (i % 97 == 0)
                p.enabled = {};
            const bool lab = i % 2;
            p.blend = lab ? Blend::OkLab : Blend::Rgb;
            const int n = i <= 20 ? i : 1 + r() % 2000;
            const bool down = r() % 2;
            const bool dither = r() % 3 == 0;
            const int th = 1 + r() % 5;
            const auto s = MakeStrip(p, n, down, th, dither);
            const auto m = Model(p, n);
            for (int x = 0; x < n; ++x)
                for (int y = 0; y < th; ++y) {
                    const double e = kBayer[y % 4][x % 4];
                    int c[3];
                    for (int k = 0; k < 3; ++k) {
                        const double v = m[x][k];
                        const double d = (e + 0.5) / 16;
                        const auto f = std::floor(v + d);
                        c[k] = dither ? std::clamp(int(f), 0, 255)
                               : lab  ? int(std::round(v))
                                      : int(std::nearbyint(v));
                    }
                    const auto got = down ? s.pixel(y, x) : s.pixel(x, y);
                    if (got != MakeColour(c[0], c[1], c[2]))
                        QFAIL(qPrintable(QString("%1: %2").arg(i).arg(x)));
                }
        }
    }

    // Published values of red and blue, there
    // and back.
    void okLab()
    {
        const std::pair<Colour, OkLab> known[] = {
            {0x0000FF, {0.62796, 0.22486, 0.12585}},
            {0xFF0000, {0.45201, -0.03246, -0.31153}},
        };
        for (const auto& [c, k] : known) {
            const auto [r, g, b] = Rgb(c);
            const OkLab l = ToOkLab({r, g, b});
            const auto d =
                std::abs(l.L - k.L) + std::abs(l.a - k.a) + std::abs(l.b - k.b);
            QVERIFY(d < 3e-5);
            const auto e = FromOkLab(k);
            const auto back =
                std::abs(e.red - r) + std::abs(e.green - g) + std::abs(e.blue - b);
            QVERIFY(back < 0.05);
        }
    }

    // Enabled points at k * 1000 / (n - 1) in
    // position order, ties by index.
    void equalSpacing_data()
    {
        const QList<int> seven{1000, 833, 667, 500, 333, 167, 0};
        Rows<Spacing>({
            {"reversed", {"7 6 5 4 3 2 1", seven}},
            {"a disabled one stays", {"300 300 9!", {0, 1000, 9}}},
            {"one point stays", {"640 10!", {640, 10}}},
        });
    }

    void equalSpacing()
    {
        QFETCH(Spacing, row);
        const auto in = Points(row.first);
        const auto out = EqualSpacing(in);
        const auto& at = out.position;
        const auto n = row.second.size();
        QCOMPARE(QList<int>(at.begin(), at.begin() + n), row.second);
        QVERIFY(out.color == in.color);
        QVERIFY(out.enabled == in.enabled);
    }

    void randomColours()
    {
        // One draw per enabled point. Points 2 and 5
        // share a place: F is 5 (highest index), L 2.
        Draws d({0.5f, 0.25f});
        const auto u = Points("0/010101! 0! 400 0! 0! 400");
        QCOMPARE(RandomUniform(u, d), Points("0/010101! 0! 400/000040 0! 0! "
                                             "400/000040"));
        // The colour walk: start 128, 64, 192; R steps
        // up 48, G down 64, B not at all (u1 = 0.5).
        Draws n({0.5f, 0.25f, 0.75f, 0.75f, 0.5f, 0.25f, 0.0f, 0.5f, 0.9f});
        const auto w = Points("0! 0! 0! 0! 700");
        QCOMPARE(RandomNatural(w, n).color[4], MakeColour(176, 0, 192));
        QCOMPARE(n.at, size_t(9));
        // Two points in position order: the walk
        // carries over, the last takes the first's
        // colour at the end.
        const float h = 0.5f, v = 0.75f, q = 0.25f;
        Draws walk({h, h, h, v, h, v, h, v, h, q, 0, q, 0, q, 0});
        const auto c = RandomNatural(Points("800 100"), walk).color;
        QCOMPARE(c[0], MakeColour(176, 176, 176));
        QCOMPARE(c[1], c[0]);
        QCOMPARE(walk.at, walk.values.size());
    }

    void history()
    {
        // What the window's tests leave out: a limit
        // of 0 keeps one step; an undo and redo close
        // the merging, a step of another control too.
        const auto s = [](int n) { return EditState{{}, n, 0}; };

        EditHistory none(s(0), 0);
        QVERIFY(none.record(s(1), 1) && none.canUndo());
        std::chrono::steady_clock::time_point now{};
        EditHistory h(s(0), 9, [&] { return now; });
        h.record(s(1), 1, 4);
        h.undo();
        h.redo();
        h.record(s(2), 1, 4);
        h.record(s(3), 1, 3);
        // Merged with the one before.
        h.record(s(4), 1, 3);
        QCOMPARE(h.undoCount(), size_t(3));
    }

    // The stops against the rasteriser on random
    // points, linear between them; OKLab is curved:
    // within a tenth of a level, and on a long strip
    // a stop every ten pixels at most.
    void webStops()
    {
        std::mt19937 r(7);
        for (int i = 0; i < 400; ++i) {
            auto p = RandomPoints(r);
            p.enabled[r() % 7] = true;
            const bool lab = i % 2;
            p.blend = lab ? Blend::OkLab : Blend::Rgb;
            const int n = 1 + int(r() % 2000);
            const auto s = GradientStops(p, n);
            const auto tag = QByteArray::number(i);

            QVERIFY2(s.size() >= 2, tag);
            QVERIFY2(s.front().place == 0.5, tag);
            QVERIFY2(s.back().place == n - 0.5, tag);
            const double most = lab ? 0.1 : 2e-3;
            QVERIFY2(Deviation(s, p, n) < most, tag);
        }
        const auto ok = Points("oklab 0/ff0000 1000/00ff00");
        QVERIFY(GradientStops(ok, 2000).size() < 200);
    }

    // The text in tests/data, the carried line apart (the SVG and the
    // other orientation: read back in tst_library).
    void css()
    {
        // Each straight piece is one: a steep last
        // tenth makes three stops, no noise ones.
        const auto steep = Points("0 900 1000/ffffff");
        QCOMPARE(GradientStops(steep, 1500).size(), size_t(3));
        const auto p = Points("0/ab0cf0 1000/ffffff");
        // One way: repeated across the gradient only,
        // the far colour beyond.
        const WebGradient axis{p, 4, false, 1, {"main .sky", true}};
        auto css = QByteArray::fromStdString(CssRule(axis));
        const auto carried = CarriedText(axis);
        css.replace(carried.c_str(), "M");
        QCOMPARE(css, DataFile("core_axis.css"));
        // The selector box holds 200; the renderer and the
        // settings file are bounded the same.
        QVERIFY(SelectorFits(std::string(200, 'a')));
        QVERIFY(!SelectorFits(std::string(201, 'a')));
    }

    // The lowest ratio over a line of pixels, cut
    // to two decimals (4.478 is 4.47), and where it
    // first occurs (not the same colour again);
    // the grades at their bounds.
    void contrast()
    {
        const Colour w = 0xFFFFFF, g = 0x777777;
        const auto line = [&](std::vector<Colour> v) {
            return ContrastLine(LowestContrastOver(v, w));
        };
        QCOMPARE(line({0}), "21.00 0 AAA"s);
        QCOMPARE(line({0, g, 0, g}), "4.47 1 AA-large"s);
        const std::pair<double, const char*> grades[] = {
            {7.0, "AAA"},         {6.999, "AA"},     {4.5, "AA"},
            {4.4999, "AA-large"}, {3.0, "AA-large"}, {2.99, "fail"}};
        for (const auto& [ratio, word] : grades)
            QCOMPARE(MarkWord(MarkFor(ratio)), word);
        // Just below 1.34, which times 100 rounds up.
        const double r = std::nextafter(1.34, 0.0);
        QCOMPARE(RatioText(r), "1.33"s);
    }

    void numberTexts_data()
    {
        const double huge = DBL_MAX;
        const int max = INT32_MAX, min = INT32_MIN;
        const QString nines(400, '9');
        const Number rows[] = {
            {" \t 19", 19, 19, 19},
            {"+5", 5, 5, 5},
            // halves to even
            {"2.5", 2.5, 2, 2},
            {"3.5", 3.5, 4, 4},
            {"2E-2", 0.02, 0, 0},
            {"2E5", 2e5, 200000, 32767},
            {"40000", 40000, 40000, 32767},
            {nines, huge, max, 32767},
            {"-" + nines, -huge, min, -32768},
        };
        RowsByInput(rows);
    }

    void numberTexts()
    {
        QFETCH(Number, row);
        const auto& [text, value, int32, int16] = row;
        const auto t = text.toStdString();
        QCOMPARE(ReadNumber(t), value);
        QCOMPARE(ReadInt32(t), int32);
        QCOMPARE(int(ReadInt16(t)), int16);
    }

    void notNumbers()
    {
        for (const char* s : {"", "x", " .", "-e5", "+"})
            QVERIFY2(!FindNumber(s), s);
        // The text ends where its view ends.
        const std::string_view minus("-5", 1);
        QVERIFY(!FindNumber(minus));
        // The bounds of the letters that are lowered.
        QCOMPARE(AsciiLower("@AZ[az"), "@az[az"s);
        const std::string nul("C:\\W\0junk  ", 11);

        QCOMPARE(C::VBHTTrim(nul), "C:\\W");
        // Blanks only.
        QCOMPARE(C::VBHTTrim(" \ta b  "), "\ta b");
        QCOMPARE(C::VBHTTrim("   "), "");
    }

    // The path and its parts, in the file.
    void paths_data()
    {
        TableRows("core_paths.txt", {"path", "dir", "stem", "ext", "asDir"},
                  Named::ByInput);
    }

    void paths()
    {
        QFETCH(QString, path);
        QFETCH(QString, dir);
        QFETCH(QString, stem);
        QFETCH(QString, ext);
        QFETCH(QString, asDir);
        const auto p = path.toStdString();
        QCOMPARE(Q(C::TrimDir(p)), dir);
        QCOMPARE(Q(C::TrimDirFname(p)), stem);
        QCOMPARE(Q(C::TrimExt(p)), ext);
        QCOMPARE(Q(C::ChkPathBS(p)), asDir);
    }

    // Left and top (width and height) stored and
    // placed, in the file.
    void windowPlaces_data() { TableRows("core_places.txt", {"stored", "placed"}); }

    void windowPlaces()
    {
        QFETCH(QString, stored);
        QFETCH(QString, placed);
        const auto in = Place(stored);
        FormRect r{in[0], in[1], in[2], in[3]};
        C::ChkFormPos(r, {{0, 0, 1000, 800}, {-600, 100, 600, 500}}, 5000, 5000,
                      {20, 100});

        const QList<double> out{r.left, r.top, r.width, r.height};
        QCOMPARE(out, Place(placed));
    }

    // The environment and the choice, in the file.
    void language_data() { TableRows("core_language.txt", {"env", "english"}); }

    void language()
    {
        QFETCH(QString, env);
        QFETCH(QString, english);
        const auto vars = env.split(' ', Qt::SkipEmptyParts);
        const auto get = [&](const char* name) -> std::optional<std::string> {
            for (const auto& e : vars)

                if (e.section('=', 0, 0) == name)
                    return e.section('=', 1).toStdString();
            return std::nullopt;
        };
        const auto l = LanguageFromEnvironment(get);
        QCOMPARE(l == UiLanguage::English, english == "yes");
    }
};

QTEST_APPLESS_MAIN(tst_Core)
#include "tst_core.moc"
