// SPDX-License-Identifier: MIT
// The core without a window: the rasteriser's pixels and point order, the
// edit commands with fixed draws, what the window tests leave of the undo
// history, the web stops as a browser draws them and the CSS and SVG text,
// contrast figures, the number-text rules, the key filters and range clamp,
// path splitting, the window place checks and the choice of language.

#include "common/clscommon.h"
#include "core/contrast.h"
#include "core/edithistory.h"
#include "core/edits.h"
#include "core/language.h"
#include "core/numtext.h"

#include "points.h"
#include "table.h"

#include <QTest>

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

// A text box that counts its writes.
struct FakeBox : TextHolder
{
    std::string text() const override { return m_text; }
    void setText(const std::string& t) override
    {
        m_text = t;
        ++sets;
    }
    std::string m_text;
    int sets = 0;
};

// The largest difference, in levels, between the rasteriser's unrounded
// colours and the stops as a browser draws them: linear between stops, at
// every pixel centre.
double Deviation(const std::vector<GradientStop>& s, const GradPoints& p, int n)
{
    const auto px = DrawGradExact(p, n);
    double worst = 0;
    for (std::size_t x = 0, k = 1; x < px.size(); ++x) {
        while (k + 1 < s.size() && s[k].place < x + 0.5)
            ++k;
        const GradientStop &a = s[k - 1], &b = s[k];
        const double f = (x + 0.5 - a.place) / std::max(b.place - a.place, 1e-9);
        for (const auto c : {&ExactColour::red, &ExactColour::green, &ExactColour::blue}) {
            const double v = a.colour.*c + (b.colour.*c - a.colour.*c) * f;
            worst = std::max(worst, std::abs(v - px[x].*c));
        }
    }
    return worst;
}

// The rasteriser's rule written out: the enabled points by place (ties by
// index); at pixel x the place W = x * 1000 / L in single precision, the
// parameter along the segment in single precision, clamped to 0..1, each
// channel rounded half to even; past the last enabled point its colour;
// the segment moves on at most once a pixel, after the pixel is drawn.
std::vector<Colour> Rasterised(const GradPoints& p, int length)
{
    std::vector<int> order;
    for (int i = 0; i < kPointCount; ++i)
        if (p.enabled[i])
            order.push_back(i);
    std::ranges::stable_sort(order, {}, [&p](int i) { return p.position[i]; });
    std::vector<Colour> out;
    std::size_t j = 0;
    for (int x = 0; x < length; ++x) {
        const float w = float(x * 1000.0 / length);
        const Colour a = p.color[order[j]];
        if (j + 1 == order.size()) {
            out.push_back(a);
            continue;
        }
        const Colour b = p.color[order[j + 1]];
        const double from = p.position[order[j]], to = p.position[order[j + 1]];
        float t = float((w - from) / ((to + 0.01) - from));
        t = t >= 0 ? std::min(t, 1.0f) : 0;
        const auto mix = [t](int u, int v) { return int(std::nearbyint(u + (v - u) * double(t))); };
        out.push_back(MakeColour(mix(GetRed(a), GetRed(b)), mix(GetGreen(a), GetGreen(b)),
                                 mix(GetBlue(a), GetBlue(b))));
        j += w >= to;
    }
    return out;
}

// Random points, crowded at shared places and the ends, a third of them
// disabled, at least one enabled.
GradPoints RandomPoints(std::mt19937& random)
{
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    GradPoints p;
    for (int i = 0; i < kPointCount; ++i) {
        const int kind = pick(5), before = p.position[std::max(i - 1, 0)];
        p.position[i] = kind == 0 ? 0 : kind == 1 ? 1000 : kind == 2 ? before : pick(1001);
        p.color[i] = MakeColour(pick(256), pick(256), pick(256));
        p.enabled[i] = pick(3) != 0;
    }
    p.enabled[pick(kPointCount)] = true;
    return p;
}

// "left top [width height]", of a window 300 x 200 where not given.
QList<double> Place(const QString& text)
{
    QList<double> n;
    for (const QString& s : (text + " 300 200").split(' ').first(4))
        n << s.toDouble();
    return n;
}

using Spacing = std::pair<QString, QList<int>>;
using Lowest = std::tuple<std::vector<Colour>, Colour, std::string>;
// The ratio, its grade.
using Mark = std::pair<double, QString>;
// The text, ReadNumber, ReadInt32, ReadInt16.
using Number = std::tuple<QString, double, int, int>;
using Range = std::tuple<QString, double, std::optional<double>, QString, int>;

} // namespace

class tst_Core : public QObject
{
    Q_OBJECT
private slots:
    void rasteriser();
    void pixels_data();
    void pixels();
    void sortPoint();
    void dither_data();
    void dither();
    void ditherKeepsWholeLevels();
    void equalSpacing_data();
    void equalSpacing();
    void randomColours();
    void history();
    void webStops();
    void cssAndSvg();
    void lowestContrast_data();
    void lowestContrast();
    void grades_data();
    void grades();
    void ratioText();
    void numberTexts_data();
    void numberTexts();
    void notNumbers();
    void textHelpers();
    void keyFilters();
    void checkTextRange_data();
    void checkTextRange();
    void pathSplitters_data();
    void pathSplitters();
    void windowPlaces_data();
    void windowPlaces();
    void language_data();
    void language();
};

// Random points against the rule, at every length up to 20 and random
// ones up to 2000.
void tst_Core::rasteriser()
{
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        const auto p = RandomPoints(random);
        const int length = round <= 20 ? round : int(random() % 2001);
        QVERIFY2(DrawGrad(p, length) == Rasterised(p, length), qPrintable(QString::number(round)));
    }
}

// OKLab and no point enabled: the points, the length and the pixels, in the file.
void tst_Core::pixels_data()
{
    TableRows("core_pixels.txt", {"points", "size", "expected"});
}

void tst_Core::pixels()
{
    QFETCH(QString, points);
    QFETCH(QString, expected);
    QFETCH(QString, size);
    const int length = size.toInt();
    const auto line = DrawGrad(Points(points), length);
    QCOMPARE(int(line.size()), length);
    QString got;
    for (const QString& px : expected.split(' ', Qt::SkipEmptyParts)) {
        const int x = px.section(':', 0, 0).toInt();
        const Colour c = line.at(size_t(x));
        got += QString::asprintf("%d:%02x%02x%02x ", x, GetRed(c), GetGreen(c), GetBlue(c));
    }
    QCOMPARE(got.trimmed(), expected);
}

void tst_Core::sortPoint()
{
    // Enabled points by position, ties by index, then the disabled ones so.
    const auto r = SortPoint(Points("900! 300 300! 0! 700 300 0!"));
    QVERIFY((r.PointOrder == decltype(r.PointOrder){1, 5, 4, 3, 6, 2, 0, 7}));
    QCOMPARE(r.DisabledCount, 4);
}

// The renderer's example of a slow ramp, both ways round: every aligned
// 16 x 16 block of the dithered image averages within 0.1 level of the
// unrounded colours it covers (rounded, more than 0.4 off), and no pixel is
// a level or more from its own colour.
void tst_Core::dither_data()
{
    QTest::addColumn<bool>("down");
    QTest::newRow("across") << false;
    QTest::newRow("down") << true;
}

void tst_Core::dither()
{
    QFETCH(bool, down);
    // Red up and down again: rounded both ways.
    const GradPoints p = Points("0/200000 500/280000 1000/200000");
    const auto exact = DrawGradExact(p, 2000);
    const auto d = MakeStrip(p, 2000, down, 64, true);
    const auto plain = MakeStrip(p, 2000, down, 64, false);
    // Red at a along the gradient, c across it, less its unrounded value.
    const auto off = [&](const StripImage& s, int a, int c) {
        return GetRed(down ? s.pixel(c, a) : s.pixel(a, c)) - exact[size_t(a)].red;
    };
    double worst = 0, rounded = 0, farthest = 0;
    for (int a0 = 0; a0 < 2000; a0 += 16)
        for (int c0 = 0; c0 < 64; c0 += 16) {
            double sum = 0, plainSum = 0;
            for (int a = a0; a < a0 + 16; ++a)
                for (int c = c0; c < c0 + 16; ++c) {
                    farthest = std::max(farthest, std::abs(off(d, a, c)));
                    sum += off(d, a, c);
                    plainSum += off(plain, a, c);
                }
            worst = std::max(worst, std::abs(sum) / 256);
            rounded = std::max(rounded, std::abs(plainSum) / 256);
        }
    QVERIFY2(worst < 0.1 && farthest < 1, qPrintable(QString::number(worst)));
    QVERIFY2(rounded > 0.4, qPrintable(QString::number(rounded)));
}

void tst_Core::ditherKeepsWholeLevels()
{
    const auto flat = MakeStrip(Points("0/7f3a10"), 50, false, 9, true);
    QVERIFY(flat.dither == std::vector<Colour>(kDitherSize * 50, 0x103a7f));
}

// Enabled points at k * 1000 / (n - 1) in position order, ties by index.
void tst_Core::equalSpacing_data()
{
    Rows<Spacing>({
        {"reversed", {"7 6 5 4 3 2 1", {1000, 833, 667, 500, 333, 167, 0}}},
        {"the disabled one stays", {"300 300 9!", {0, 1000, 9}}},
        {"one point stays", {"640 10!", {640, 10}}},
    });
}

void tst_Core::equalSpacing()
{
    QFETCH(Spacing, row);
    const auto in = Points(row.first);
    const auto out = EqualSpacing(in);
    const auto& at = out.position;
    QCOMPARE(QList<int>(at.begin(), at.begin() + row.second.size()), row.second);
    QVERIFY(out.color == in.color && out.enabled == in.enabled);
}

void tst_Core::randomColours()
{
    // One draw per enabled point. Points 2 and 5 share a place: F is 5
    // (highest index), L is 2.
    Draws d({0.5f, 0.25f});
    QCOMPARE(RandomUniform(Points("0/010101! 0! 400 0! 0! 400"), d),
             Points("0/010101! 0! 400/000040 0! 0! 400/000040"));
    // The colour walk: start 128, 64, 192; R steps up 48, G down 64, B not
    // at all (u1 = 0.5).
    Draws n({0.5f, 0.25f, 0.75f, 0.75f, 0.5f, 0.25f, 0.0f, 0.5f, 0.9f});
    QCOMPARE(RandomNatural(Points("0! 0! 0! 0! 700"), n).color[4], MakeColour(176, 0, 192));
    QCOMPARE(n.at, size_t(9));
    // Two points in position order: the walk carries over, the last takes
    // the first's colour at the end.
    const float h = 0.5f, u = 0.75f, q = 0.25f;
    Draws walk({h, h, h, u, h, u, h, u, h, q, 0, q, 0, q, 0});
    const auto out = RandomNatural(Points("800 100"), walk);
    QVERIFY(out.color[0] == MakeColour(176, 176, 176) && out.color[1] == out.color[0]);
    QCOMPARE(walk.at, walk.values.size());
}

void tst_Core::history()
{
    // What the window's tests leave out: a limit of 0 keeps one step; an
    // undo and redo close the merging, a step of another control too (a
    // run undone by its own keys: tst_commands).
    const auto s = [](int size) { return EditState{StartupPoints(), size, 0}; };
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

// The stops against the rasteriser on random points, linear between them;
// OKLab is curved: within a tenth of a level, and on a long strip a stop
// every ten pixels at most.
void tst_Core::webStops()
{
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        auto p = RandomPoints(random);
        const bool curved = round % 2;
        p.blend = curved ? Blend::OkLab : Blend::Rgb;
        const int length = 1 + int(random() % 2000);
        const auto stops = GradientStops(p, length);
        const QByteArray tag = QByteArray::number(round);
        QVERIFY2(stops.size() >= 2 && stops.front().place == 0.5, tag);
        QVERIFY2(stops.back().place == length - 0.5, tag);
        QVERIFY2(Deviation(stops, p, length) < (curved ? 0.1 : 2e-3), tag);
    }
    QVERIFY(GradientStops(Points("oklab 0/ff0000 1000/00ff00"), 2000).size() < 200);
}

void tst_Core::cssAndSvg()
{
    // A straight gradient is one piece; numbers lose trailing zeros.
    QCOMPARE(GradientStops(Points("0 1000/ffffff"), 2000).size(), size_t(2));
    // A steep last tenth is still one straight piece: float noise adds no stops.
    QCOMPARE(GradientStops(Points("0 900 1000/ffffff"), 1500).size(), size_t(3));
    const auto p = Points("0/ab0cf0 1000/ffffff");
    const auto bytes = [](const std::string& s) { return QByteArray::fromStdString(s); };
    QCOMPARE(bytes(CssRule({p, 4, false, 1})), DataFile("core_rule.css"));
    // One way: repeated across the gradient only, the far colour beyond.
    QCOMPARE(bytes(CssRule({p, 4, false, 1, {"main .sky", true}})), DataFile("core_axis.css"));
    // Downwards the axis and the size turn; the SVG carries the points before
    // the gradient, and the end colours at 0 and 1 as well, which GIMP needs.
    QCOMPARE(bytes(CssRule({p, 4, true, 2})), DataFile("core_down.css"));
    QCOMPARE(bytes(SvgDocument({p, 4, true, 2})), DataFile("core_down.svg"));
}

// The lowest ratio over a line of pixels, cut to two decimals (4.478 is
// 4.47: no figure reaches a grade the ratio misses), and where it first
// occurs.
void tst_Core::lowestContrast_data()
{
    const Colour white = 0xFFFFFF, grey = 0x777777;
    Rows<Lowest>({
        {"black under white", {{0}, white, "21.00 0 AAA"}},
        {"cut, not rounded", {{white}, grey, "4.47 0 AA-large"}},
        {"the first of equals", {{grey, grey, grey}, white, "4.47 0 AA-large"}},
        {"the lowest", {{white, 0, white}, white, "1.00 0 fail"}},
    });
}

void tst_Core::lowestContrast()
{
    QFETCH(Lowest, row);
    const auto& [line, text, lowest] = row;
    QCOMPARE(ContrastLine(LowestContrastOver(line, text)), lowest);
}

void tst_Core::grades_data()
{
    const Mark rows[] = {{7.0, "AAA"},         {6.999, "AA"},     {4.5, "AA"},
                         {4.4999, "AA-large"}, {3.0, "AA-large"}, {2.99, "fail"}};
    RowsByInput(rows);
}

void tst_Core::grades()
{
    QFETCH(Mark, row);
    QCOMPARE(QString(MarkWord(MarkFor(row.first))), row.second);
}

void tst_Core::ratioText()
{
    // Just below 1.34, which times 100 rounds up to 134.
    QCOMPARE(RatioText(std::nextafter(1.34, 0.0)), "1.33"s);
}

void tst_Core::numberTexts_data()
{
    const double huge = DBL_MAX;
    const int max = INT32_MAX, min = INT32_MIN;
    const QString nines(400, '9');
    const Number rows[] = {
        {" \t 19", 19, 19, 19},
        {"+5", 5, 5, 5},
        {"2.5", 2.5, 2, 2}, // halves to even
        {"3.5", 3.5, 4, 4},
        {"2E-2", 0.02, 0, 0},
        {"40000", 40000, 40000, 32767},
        {nines, huge, max, 32767},
        {"-" + nines, -huge, min, -32768},
    };
    RowsByInput(rows);
}

void tst_Core::numberTexts()
{
    QFETCH(Number, row);
    const auto& [text, value, int32, int16] = row;
    const std::string t = text.toStdString();
    QCOMPARE(ReadNumber(t), value);
    QCOMPARE(QList<int>({ReadInt32(t), ReadInt16(t)}), QList<int>({int32, int16}));
}

void tst_Core::notNumbers()
{
    for (const char* none : {"", "x", " .", "-e5", "+"}) // the setting's default
        QVERIFY2(!FindNumber(none), none);
    // The text ends where its view ends, whatever follows it.
    QVERIFY(!FindNumber(std::string_view("-5").substr(0, 1)));
}

void tst_Core::textHelpers()
{
    // The bounds of the letters that are lowered.
    QCOMPARE(AsciiLower("@AZ[az"), "@az[az"s);
    QCOMPARE(C::VBHTTrim(std::string("C:\\WINDOWS\0garbage  ", 20)), "C:\\WINDOWS");
    QCOMPARE(C::VBHTTrim(" \ta b  "), "\ta b"); // blanks only
    QCOMPARE(C::VBHTTrim("   "), "");
}

// Digits and backspace pass both filters, "." and "-" only the first;
// every other key is dropped.
void tst_Core::keyFilters()
{
    for (std::int16_t key = 0; key < INT16_MAX; ++key) {
        const bool digit = (key >= '0' && key <= '9') || key == 8;
        const bool sign = key == '.' || key == '-';
        QCOMPARE(int(C::CheckNum(key)), digit || sign ? key : 0);
        QCOMPARE(int(C::CheckNumInt(key)), digit ? key : 0);
    }
}

// The text, its max and min, the text after, the writes.
void tst_Core::checkTextRange_data()
{
    const Range rows[] = {
        {"2001", 2000, {}, "2000", 1}, {"2000", 2000, {}, "2000", 0},
        {"-5", 2000, {}, "-5", 0},     {"0100", 2000, 4, "0100", 0}, // in range keeps its form
        {"4", 2000, 4, "4", 0},        {"3", 2000, 4, "4", 1},
        {"50", 10, 20, "20", 2}, // min above max
    };
    RowsByInput(rows);
}

void tst_Core::checkTextRange()
{
    QFETCH(Range, row);
    const auto& [text, max, min, result, sets] = row;
    FakeBox box;
    box.m_text = text.toStdString();
    C::CheckTextRange(box, max, min);
    QCOMPARE(Q(box.m_text), result);
    QCOMPARE(box.sets, sets);
}

// The path and its parts, in the file.
void tst_Core::pathSplitters_data()
{
    TableRows("core_paths.txt", {"path", "dir", "stem", "ext", "asDir"}, Named::ByInput);
}

void tst_Core::pathSplitters()
{
    QFETCH(QString, path);
    QFETCH(QString, dir);
    QFETCH(QString, stem);
    QFETCH(QString, ext);
    QFETCH(QString, asDir);
    const std::string p = path.toStdString();
    QCOMPARE(QStringList(
                 {Q(C::TrimDir(p)), Q(C::TrimDirFname(p)), Q(C::TrimExt(p)), Q(C::ChkPathBS(p))}),
             QStringList({dir, stem, ext, asDir}));
}

// Left and top (width and height) stored and placed, in the file.
void tst_Core::windowPlaces_data()
{
    TableRows("core_places.txt", {"stored", "placed"});
}

void tst_Core::windowPlaces()
{
    QFETCH(QString, stored);
    QFETCH(QString, placed);
    const auto in = Place(stored);
    FormRect r{in[0], in[1], in[2], in[3]};
    C::ChkFormPos(r, {{0, 0, 1000, 800}, {-600, 100, 600, 500}}, 5000, 5000, {20, 100});
    const QList<double> out{r.left, r.top, r.width, r.height};
    QCOMPARE(out, Place(placed));
}

// The environment and the choice, in the file.
void tst_Core::language_data()
{
    TableRows("core_language.txt", {"environment", "english"});
}

void tst_Core::language()
{
    QFETCH(QString, environment);
    QFETCH(QString, english);
    QHash<QString, QString> vars;
    for (const QString& item : environment.split(' ', Qt::SkipEmptyParts))
        vars.insert(item.section('=', 0, 0), item.section('=', 1));
    const auto get = [&](const char* name) -> std::optional<std::string> {
        if (!vars.contains(name))
            return std::nullopt;
        return vars.value(name).toStdString();
    };
    QCOMPARE(LanguageFromEnvironment(get) == UiLanguage::English, english == "yes");
}

QTEST_APPLESS_MAIN(tst_Core)
#include "tst_core.moc"
