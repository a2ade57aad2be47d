// The core without a window: the rasteriser's pixels and point order, the
// edit commands with fixed draws, the undo history, the web exports read back
// as a browser draws them, contrast figures, the number-text rules, the key
// filters and range clamp, path splitting and the window place checks.

#include "clscommon.h"
#include "contrast.h"
#include "edithistory.h"
#include "edits.h"
#include "numtext.h"
#include "webgrad.h"

#include <QPointF>
#include <QRandomGenerator>
#include <QTest>

#include <limits>

using namespace velmix;
using Pixels = QList<QList<int>>; // {index, r, g, b}

namespace {

// "place/colour" for points 0, 1, ...; "!" after a disabled one.
GradPoints Points(const QString& text)
{
    GradPoints p;
    const QStringList items = text.split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < items.size(); ++i) {
        const QStringList f = QString(items[i]).remove('!').split('/');
        p.position[i] = f[0].toInt();
        p.color[i] = f.value(1).toInt(nullptr, 0);
        p.enabled[i] = !items[i].endsWith('!');
    }
    return p;
}

const QString kStartup = "0/255 333/65280 667/16711680 1000/255";
const QString kLag = "0/0 100/255 200/65280 300/16711680 1000/0xFFFFFF"; // 5 points, 4 pixels

template <class C> QList<int> List(const C& c)
{
    return QList<int>(c.begin(), c.end());
}

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
double Deviation(const std::vector<GradientStop>& s, const GradPoints& p, int length)
{
    const std::vector<ExactColour> px = DrawGradExact(p, length);
    double worst = 0;
    for (std::size_t x = 0, k = 1; x < px.size(); ++x) {
        while (k + 1 < s.size() && s[k].place < x + 0.5)
            ++k;
        const double f = (x + 0.5 - s[k - 1].place) / std::max(s[k].place - s[k - 1].place, 1e-9);
        for (const auto c : {&ExactColour::red, &ExactColour::green, &ExactColour::blue})
            worst = std::max(worst, std::abs(s[k - 1].colour.*c +
                                             (s[k].colour.*c - s[k - 1].colour.*c) * f - px[x].*c));
    }
    return worst;
}

} // namespace

class tst_Core : public QObject
{
    Q_OBJECT
private slots:
    void pixels_data()
    {
        QTest::addColumn<QString>("points");
        QTest::addColumn<int>("length");
        QTest::addColumn<Pixels>("expected");
        QTest::newRow("start-up, 100")
            << kStartup << 100
            << Pixels{{0, 255, 0, 0},   {1, 247, 8, 0},    {17, 125, 130, 0}, {34, 0, 255, 0},
                      {35, 0, 242, 13}, {50, 0, 128, 127}, {67, 0, 0, 255},   {99, 247, 0, 8}};
        QTest::newRow("before the first, after the last")
            << "250/255 750/16711680" << 8
            << Pixels{{0, 255, 0, 0},   {2, 255, 0, 0},  {3, 191, 0, 64},
                      {4, 128, 0, 127}, {5, 64, 0, 191}, {7, 0, 0, 255}};
        QTest::newRow("lag") << kLag << 4
                             << Pixels{
                                    {0, 0, 0, 0}, {1, 255, 0, 0}, {2, 0, 255, 0}, {3, 0, 0, 255}};
        // Pixel 5 lies on the middle point; pixel 6 is already in the next piece.
        QTest::newRow("on a point")
            << "0/0 500/0xFFFFFF 1000/0" << 10
            << Pixels{{5, 255, 255, 255}, {6, 204, 204, 204}, {9, 51, 51, 51}};
        // The disabled white point ranks next to the last enabled one.
        QTest::newRow("past the last point")
            << "0/0 500/0x1EC80A 0/0xFFFFFF!" << 10
            << Pixels{{2, 4, 80, 12}, {5, 10, 200, 30}, {9, 10, 200, 30}};
        QTest::newRow("one enabled point anywhere")
            << "0/0xFFFFFF! 730/0x1E140A" << 5 << Pixels{{0, 10, 20, 30}, {4, 10, 20, 30}};
        QTest::newRow("no enabled point: point 0")
            << "600/0x1E140A! 200/0xFFFFFF!" << 4 << Pixels{{0, 10, 20, 30}, {3, 10, 20, 30}};
        // Both at 500; with 10 pixels, pixel 5 lies exactly on it (t = 0).
        QTest::newRow("tie: lower index first")
            << "500/255 500/16711680" << 10
            << Pixels{{4, 255, 0, 0}, {5, 255, 0, 0}, {6, 0, 0, 255}, {9, 0, 0, 255}};
        QTest::newRow("none") << kStartup << 0 << Pixels{};
    }
    void pixels()
    {
        QFETCH(QString, points);
        QFETCH(int, length);
        QFETCH(Pixels, expected);
        const std::vector<Colour> line = DrawGrad(Points(points), length);
        QCOMPARE(static_cast<int>(line.size()), length);
        for (const QList<int>& px : expected) {
            const Colour c = line.at(static_cast<std::size_t>(px[0]));
            QCOMPARE(QList<int>({GetRed(c), GetGreen(c), GetBlue(c)}), px.mid(1));
        }
    }
    void basics()
    {
        QCOMPARE(StartupPoints(), Points(kStartup));
        QCOMPARE(GetSizeName(0) + GetSizeName(1), std::string("横幅高さ"));
        std::int16_t low = -1, high = 256; // clamped in place
        QCOMPARE(QList<int>({LimitByte(low), LimitByte(high), low, high}),
                 QList<int>({0, 255, 0, 255}));
        // Enabled points by position, ties by index, then the disabled ones so.
        const SortResult r = SortPoint(Points("900/0! 300/0 300/0! 0/0! 700/0 300/0 0/0!"));
        QCOMPARE(List(r.PointOrder), QList<int>({1, 5, 4, 3, 6, 2, 0, 7}));
        QCOMPARE(r.DisabledCount, 4);
    }

    void equalSpacing()
    {
        // Enabled points at k * 1000 / (n - 1) in position order, ties by index.
        const std::pair<const char*, QList<int>> rows[] = {
            {"7/1 6/2 5/3 4/4 3/5 2/6 1/7", {1000, 833, 667, 500, 333, 167, 0}},
            {"900/1 100/2! 500/3 42/4", {1000, 100, 500, 0}}, // disabled ones stay
            {"300/1 300/2", {0, 1000}},
            {"640/1 10/2!", {640, 10}}, // one point stays
        };
        for (const auto& [points, expected] : rows) {
            const GradPoints in = Points(points), out = EqualSpacing(in);
            QCOMPARE(List(out.position).first(expected.size()), expected);
            QVERIFY(out.color == in.color && out.enabled == in.enabled);
        }
    }
    void brightness()
    {
        const GradPoints base = Points("0/0 500/0x000AFA 1000/77!"); // (250, 10, 0)
        for (const auto& [delta, want] : {std::pair{20, MakeColour(255, 30, 20)},
                                          {-20, MakeColour(230, 0, 0)},
                                          {0, MakeColour(250, 10, 0)}}) {
            const GradPoints out = AdjustBrightness(base, delta);
            QCOMPARE(List(out.color).mid(1, 2), QList<int>({want, 77}));
            QVERIFY(out.position == base.position && out.enabled == base.enabled);
        }
    }
    void randomUniform()
    {
        // One draw per enabled point; point 0, first and lowest, gives the
        // last its colour.
        Draws d({0.5f, 0.25f});
        QCOMPARE(List(RandomUniform(Points("0/5 400/6"), d).color).first(2),
                 QList<int>({8388608, 8388608}));
        QCOMPARE(d.at, std::size_t(2));
        // Points 2 and 5 share a place: F is 5 (highest index), L is 2.
        Draws e({0.5f, 0.25f});
        QCOMPARE(List(RandomUniform(Points("0/1! 0/2! 400/3 0/0! 0/0! 400/4"), e).color),
                 QList<int>({1, 2, 4194304, 0, 0, 4194304, 0}));
    }
    void randomNatural()
    {
        // Start 128, 64, 192; R steps up 48, G down 64, B not at all (u1 = 0.5).
        Draws d({0.5f, 0.25f, 0.75f, 0.75f, 0.5f, 0.25f, 0.0f, 0.5f, 0.9f});
        QCOMPARE(RandomNatural(Points("0/0! 0/0! 0/0! 0/0! 700/0"), d).color[4],
                 MakeColour(176, 0, 192));
        QCOMPARE(d.at, std::size_t(9));
        // Two points in position order: the walk carries over, the last takes
        // the first's colour at the end.
        Draws walk({0.5f, 0.5f, 0.5f, 0.75f, 0.5f, 0.75f, 0.5f, 0.75f, 0.5f, 0.25f, 0.0f, 0.25f,
                    0.0f, 0.25f, 0.0f});
        const GradPoints out = RandomNatural(Points("800/0 100/0"), walk);
        QCOMPARE(List(out.color).first(2), QList<int>(2, MakeColour(176, 176, 176)));
        QCOMPARE(walk.at, walk.values.size());
    }
    void history()
    {
        const auto s = [](int size) { return EditState{StartupPoints(), size, 0}; };
        EditHistory h(s(100));
        QVERIFY(!h.canUndo() && !h.canRedo());
        QVERIFY(!h.record(s(100), 1)); // no change, no step
        QVERIFY(h.record(s(200), 1));
        QVERIFY(h.record(s(300), 2));
        QCOMPARE(h.undo(), s(200));
        QCOMPARE(h.redoLabel(), 2);
        QCOMPARE(h.undo(), s(100));
        QVERIFY(!h.canUndo());
        QCOMPARE(h.redo(), s(200));
        QVERIFY(!h.record(s(200), 3));                // no change keeps the redo
        QVERIFY(h.record(s(250), 3) && !h.canRedo()); // a new step drops it
        QCOMPARE(h.undoCount(), std::size_t(2));
        // Beyond the limit the oldest steps are forgotten.
        EditHistory l(s(4));
        for (int k = 1; k <= 105; ++k)
            l.record(s(4 + k), k);
        QCOMPARE(l.undoCount(), std::size_t(100));
        while (l.canUndo())
            l.undo();
        QCOMPARE(l.current(), s(9));
    }
    void historyMerge()
    {
        const auto s = [](int size) { return EditState{StartupPoints(), size, 0}; };
        std::chrono::steady_clock::time_point now{};
        EditHistory h(s(100), EditHistory::kDefaultLimit, [&] { return now; });
        h.record(s(101), 1, 4);
        now += std::chrono::milliseconds(999);
        h.record(s(102), 1, 4); // within a second of the one before: merged
        now += std::chrono::milliseconds(999);
        h.record(s(103), 1, 4);
        QCOMPARE(h.undoCount(), std::size_t(1));
        now += std::chrono::milliseconds(1000);
        h.record(s(104), 1, 4); // a pause: a new step
        h.record(s(105), 1, 3); // another control: a new step
        h.record(s(106), 1);    // no key (a drag): never merged
        h.record(s(107), 1, 3);
        QCOMPARE(h.undoCount(), std::size_t(5));
        h.record(s(106), 1, 3); // steps back to where they began: no step left
        QCOMPARE(h.undoCount(), std::size_t(4));
        QCOMPARE(h.current(), s(106));
        h.record(s(108), 1, 1);
        h.record(s(109), 1, 1);
        h.undo(); // undo and redo close the merging
        h.redo();
        h.record(s(110), 1, 1);
        QCOMPARE(h.undoCount(), std::size_t(6));
        QCOMPARE(h.undo(), s(109));
    }

    void stopsReproducePixels()
    {
        // Ties, crowded points, one point, and random ones with crowded
        // places, so ties and sub-pixel gaps come up.
        QList<std::pair<QString, int>> rows = {{kStartup, 100},
                                               {kStartup, 4},
                                               {kStartup, 1},
                                               {kLag, 4},
                                               {"500/255 500/16711680", 10},
                                               {"300/0 305/255 310/65280 700/0xFFFFFF", 40},
                                               {"0/0xFFFFFF! 730/0x1E140A", 280}};
        QRandomGenerator rnd(1);
        for (int row = 0; row < 8; ++row) {
            QString p;
            for (int i = 0; i < kPointCount; ++i)
                p += QString("%1/%2%3 ")
                         .arg(rnd.bounded(3) ? rnd.bounded(1001) : rnd.bounded(495, 506))
                         .arg(rnd.bounded(0x1000000))
                         .arg(i > 0 && rnd.bounded(4) == 0 ? "!" : "");
            rows.append({p, rnd.bounded(4, 2001)});
        }
        for (const auto& [points, length] : rows) {
            const GradPoints p = Points(points);
            const std::vector<GradientStop> stops = GradientStops(p, length);
            QVERIFY(stops.size() >= 2);
            QCOMPARE(stops.front().place, 0.5);
            QCOMPARE(stops.back().place, length - 0.5);
            QVERIFY2(Deviation(stops, p, length) < 2e-3, qPrintable(points));
        }
    }
    void webText()
    {
        // A straight gradient is one piece; numbers lose trailing zeros.
        QCOMPARE(GradientStops(Points("0/0 1000/0xFFFFFF"), 2000).size(), std::size_t(2));
        const GradPoints p = Points("0/0xF00CAB 1000/0xFFFFFF");
        QCOMPARE(CssRule({p, 4, false, 1}), "body {\n  background-color: #ab0cf0;\n"
                                            "  background-image: linear-gradient(to right,\n"
                                            "    rgb(171, 12, 240) 0.5px,\n"
                                            "    rgb(233.999, 194.248, 251.25) 3.5px);\n"
                                            "  background-size: 4px 1px;\n}\n");
        const std::string down = CssDeclarations({p, 4, true, 2}),
                          svg = SvgDocument({p, 4, true, 2});
        QVERIFY(down.find("(to bottom,") != std::string::npos);
        QVERIFY(down.find("background-size: 2px 4px;") != std::string::npos);
        QVERIFY(svg.find(R"(width="2" height="4" viewBox="0 0 2 4")") != std::string::npos);
        QVERIFY(svg.find(R"(x1="0" y1="0" x2="0" y2="4")") != std::string::npos);
        QVERIFY(svg.find(R"x(offset="0.125" stop-color="rgb(67.0588%, 4.7059%, 94.1176%)")x") !=
                std::string::npos);
        QVERIFY(SvgDocument({p, 4, false, 2}).find(R"(x2="4" y2="0")") != std::string::npos);
    }
    void contrast()
    {
        // The lowest ratio over a line of pixels, and where it first occurs.
        const std::tuple<std::vector<Colour>, Colour, std::string> rows[] = {
            {{0}, 0xFFFFFF, "21.00 0 AAA"},
            {{0xFFFFFF}, 0x777777, "4.48 0 AA-large"},
            {{0x777777, 0x777777, 0x777777}, 0xFFFFFF, "4.48 0 AA-large"},
            {{0xFFFFFF, 0, 0xFFFFFF}, 0xFFFFFF, "1.00 0 fail"},
            // Black text: the mix of blue and red at pixel 77 (80, 0, 175) is
            // darker than pure blue (2.44).
            {DrawGrad(StartupPoints(), 100), 0, "1.96 77 fail"},
        };
        for (const auto& [line, text, lowest] : rows)
            QCOMPARE(ContrastLine(LowestContrastOver(line, text)), lowest);
        const std::pair<double, const char*> marks[] = {{7.0, "AAA"},      {6.999, "AA"},
                                                        {4.5, "AA"},       {4.4999, "AA-large"},
                                                        {3.0, "AA-large"}, {2.99, "fail"}};
        for (const auto& [ratio, word] : marks)
            QCOMPARE(MarkWord(MarkFor(ratio)), word);
    }

    void readNumber()
    {
        const double huge = std::numeric_limits<double>::max();
        const int max = std::numeric_limits<std::int32_t>::max(), min = -max - 1;
        // {text, ReadNumber, ReadInt32, ReadInt16}
        const std::tuple<QString, double, int, int> rows[] = {
            {"100", 100, 100, 100},
            {" \t 19", 19, 19, 19},
            {"-3", -3, -3, -3},
            {"+5", 5, 5, 5},
            {"42px", 42, 42, 42},
            {"2.5", 2.5, 2, 2}, // halves to even
            {"3.5", 3.5, 4, 4},
            {"abc", 0, 0, 0},
            {"1e3", 1000, 1000, 1000},
            {"2E-2", 0.02, 0, 0},
            {"40000", 40000, 40000, 32767},
            {"99999999999999999999", 1e20, max, 32767},
            {QString(400, '9'), huge, max, 32767},
            {"-" + QString(400, '9'), -huge, min, -32768},
        };
        for (const auto& [text, value, int32, int16] : rows) {
            const std::string t = text.toStdString();
            QCOMPARE(ReadNumber(t), value);
            QCOMPARE(QList<int>({ReadInt32(t), ReadInt16(t)}), QList<int>({int32, int16}));
        }
    }
    void texts()
    {
        QCOMPARE(BlankSigned(12) + BlankSigned(0) + BlankSigned(-1), std::string(" 12 0-1"));
        QCOMPARE(PlainNumber(12) + PlainNumber(-3), std::string("12-3"));
        QCOMPARE(AsciiLower("@AZ[az"), std::string("@az[az"));
        // {key, CheckNum, CheckNumInt}: digits and backspace pass both, "."
        // and "-" only the first.
        const int keys[][3] = {{'/', 0, 0},   {'0', '0', '0'}, {'9', '9', '9'}, {':', 0, 0},
                               {7, 0, 0},     {8, 8, 8},       {9, 0, 0},       {'.', '.', 0},
                               {'-', '-', 0}, {'a', 0, 0},     {0x3042, 0, 0}};
        for (const auto& k : keys)
            QCOMPARE(QList<int>({clsCommon::CheckNum(k[0]), clsCommon::CheckNumInt(k[0])}),
                     QList<int>({k[1], k[2]}));
        QCOMPARE(clsCommon::VBHTTrim(std::string("C:\\WINDOWS\0garbage  ", 20)), "C:\\WINDOWS");
        QCOMPARE(clsCommon::VBHTTrim("  a b  "), "a b");
        QCOMPARE(clsCommon::VBHTTrim("\tx\t"), "\tx\t");
        QCOMPARE(clsCommon::VBHTTrim("   "), "");
        QCOMPARE(clsCommon::ChkPathBS("C:\\Img"), "C:\\Img\\");
        QCOMPARE(clsCommon::ChkPathBS("C:\\Img\\"), "C:\\Img\\");
        QCOMPARE(clsCommon::ChkPathBS("/usr/lib"), "/usr/lib/");
        QCOMPARE(clsCommon::ChkPathBS("lib"), "lib/");
    }
    void checkTextRange()
    {
        // {text, max, min, text after, writes}
        const std::tuple<const char*, double, std::optional<double>, const char*, int> rows[] = {
            {"2001", 2000, {}, "2000", 1}, {"2000", 2000, {}, "2000", 0},
            {"-5", 2000, {}, "-5", 0},     {"0100", 2000, 4, "0100", 0}, // in range keeps its form
            {"4", 2000, 4, "4", 0},        {"3", 2000, 4, "4", 1},
            {"50", 10, 20, "20", 2}, // min above max
        };
        for (const auto& [text, max, min, result, sets] : rows) {
            FakeBox box;
            box.m_text = text;
            clsCommon::CheckTextRange(box, max, min);
            QCOMPARE(box.m_text, result);
            QCOMPARE(box.sets, sets);
        }
    }
    void pathSplitters()
    {
        // {path, folder, without extension, extension}
        const QStringList rows[] = {
            {"C:\\a\\b.png", "C:\\a\\", "C:\\a\\b", "png"},
            {"C:\\a.b\\c", "C:\\a.b\\", "C:\\a.b\\c", ""},
            {"/a.b/c.d.JPG", "/a.b/", "/a.b/c.d", "JPG"},
            {"sky.png", "", "sky", "png"},
            {"sky", "", "sky", ""},
            {"sky.", "", "sky", ""},
            {".png", "", ".png", ""},
            {"   ", "", "", ""},
        };
        for (const QStringList& row : rows) {
            const std::string p = row[0].toStdString();
            QCOMPARE(QStringList({QString::fromStdString(clsCommon::TrimDir(p)),
                                  QString::fromStdString(clsCommon::TrimDirFname(p)),
                                  QString::fromStdString(clsCommon::TrimExt(p))}),
                     row.mid(1));
        }
    }
    void chkFormPos()
    {
        // Screen 15360 x 11520 twips, window 7000 x 5000: at the edges it
        // stays, one twip further it moves in.
        for (const auto& [at, to] : {std::pair{QPointF(15360, 11520), QPointF(15360, 11520)},
                                     {QPointF(15361, 11521), QPointF(8360, 0)}}) {
            FormRect r{at.x(), at.y(), 7000, 5000};
            clsCommon::ChkFormPos(r, 15360, 11520);
            QCOMPARE(QPointF(r.left, r.top), to);
        }
    }
    void placeBoundedAndOnScreen()
    {
        // Primary 0,0 1000 x 800; a second screen to its left at -600,100
        // 600 x 500; coordinates within +-5000. {stored, placed}
        const std::pair<FormRect, FormRect> rows[] = {
            {{-500, 100, 300, 200}, {-500, 100, 300, 200}}, // the left screen's top
            {{-500, 600, 300, 200}, {0, 600, 300, 200}},    // its bottom
            {{-900, 150, 301, 200}, {-900, 150, 301, 200}}, // one pixel on it
            {{-900, 150, 300, 200}, {0, 150, 300, 200}},    // ending at its edge
            {{1000, 100, 300, 200}, {700, 100, 300, 200}},  // the primary's right edge
            {{0, 0, 300000, 300000}, {0, 0, 1600, 800}},
            {{-2147483648.0, -2147483648.0, 300, 200}, {0, 0, 300, 200}},
        };
        for (auto [stored, placed] : rows) {
            clsCommon::ChkFormPos(stored, {{0, 0, 1000, 800}, {-600, 100, 600, 500}}, 5000, 5000);
            QCOMPARE(QList<double>({stored.left, stored.top, stored.width, stored.height}),
                     QList<double>({placed.left, placed.top, placed.width, placed.height}));
        }
    }
};

QTEST_APPLESS_MAIN(tst_Core)
#include "tst_core.moc"
