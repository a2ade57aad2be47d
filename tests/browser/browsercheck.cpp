// SPDX-License-Identifier: MIT
// Lays out the browser comparison page and measures a screenshot of it, and
// GIMP's samples of gradients, against the renderer's PNG files.
//
// Every file is in DIR (SHOT too, unless given with its whole path).
//
//   browsercheck layout DIR    reads DIR/cases.txt (one case name a line;
//                              NAME.png, NAME.css and NAME.svg beside it),
//                              writes DIR/page.html and prints the window
//                              size as W,H
//   browsercheck compare DIR SHOT.png
//                              prints the largest and the mean difference per
//                              case and kind; fails beyond the tolerance
//   browsercheck gimp-compare DIR
//                              measures DIR/gimp.txt (a line a gradient: its
//                              name, then red, green, blue and alpha of each
//                              pixel) against the first row or column of
//                              each case's PNG; prints the cases beyond the
//                              tolerance. A case is as long as its PNG (tall
//                              where its name has "-v"); a line of a .ggr of
//                              tests/gimp/run.sh lists the positions of its
//                              points (0..1000, comma-separated), whose
//                              pixels are left out (LeftOut).
//
// Every case has two places on the page: an iframe with a page whose <style>
// is the CSS file (the background tiled over two and a half images, or a
// little past one for long images), and an iframe with the SVG file itself.
// A foreign case (a line of DIR/foreign.txt: NAME and the largest error
// velmix-render said for NAME.png, read from NAME.css as another tool wrote
// it) has the first alone, within that error and the browser's level; one
// whose line goes on with FILE X Y (an SVG file as Inkscape wrote it, the
// gradient's rectangle at X, Y in it) has the second alone, the file cut to
// that rectangle.
// A case whose name ends in "-axis" has its CSS repeated only across the
// gradient: along it, the page shows the image once and then its far end's
// colour.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

namespace {

// The browser rounds, and dithers its gradients, by at most one level.
constexpr int kMax = 1;
constexpr double kMean = 0.5;

struct Place
{
    // src: NAME.html (its CSS) or an SVG file
    QString name, src;
    QImage ref;
    QRect at;
    // a foreign case: the error said; else -1
    int said;
    // the picture's corner in src
    QPoint off;
};
using Places = std::vector<Place>;

QString Read(const QString& path)
{
    QFile f(path);
    return f.open(QFile::ReadOnly) ? f.readAll() : "";
}

bool Write(const QString& path, const QString& s)
{
    QFile f(path);
    return f.open(QFile::WriteOnly) && f.write(s.toUtf8()) >= 0;
}

QStringList Lines(const QString& path)
{
    return Read(path).split('\n', Qt::SkipEmptyParts);
}

// Every case's places in shelves, left to right, on a page 2300 pixels
// wide; none when a PNG is missing.
Places Layout()
{
    // Two and a half images shows the seams in both directions; a long image
    // shows its start again just past its end.
    const auto tiled = [](int n) {
        return std::max(n > 400 ? n + 100 : n * 5 / 2, 20);
    };
    Places all;
    for (const auto& line : Lines("cases.txt") + Lines("foreign.txt")) {
        const auto f = line.split(' ');
        const auto& n = f[0];
        const QImage ref(n + ".png");
        // reported as no case at all
        if (ref.isNull())
            return {};
        const int said = f.value(1, "-1").toInt();
        const QSize t(tiled(ref.width()), tiled(ref.height()));
        if (f.size() < 3)
            all.push_back({n, n + ".html", ref, QRect({}, t), said, {}});
        const QPoint off(f.value(3).toInt(), f.value(4).toInt());
        if (f.size() != 2)
            all.push_back(
                {n, f.value(2, n + ".svg"), ref, QRect({}, ref.size()), said, off});
    }
    int x = 0, y = 0, shelf = 0;
    for (auto& p : all) {
        if (x > 0 && x + p.at.width() > 2300) {
            x = 0;
            y += shelf + 4;
            shelf = 0;
        }
        p.at.moveTo(x, y);
        x += p.at.width() + 4;
        shelf = std::max(shelf, p.at.height());
    }
    return all;
}

int WritePage(const Places& places)
{
    const QString head = "<!DOCTYPE html>\n<html><head><style>\n";
    const auto tail = "</style></head><body>\n";
    QString html = head + "body{margin:0}iframe{position:absolute;border:0}\n" + tail;
    QRect all;
    for (const auto& p : places) {
        // The CSS case's own page: its <style> is the file as written.
        if (p.src.endsWith(".html") &&
            !Write(p.src, head + Read(p.name + ".css") + tail))
            return 2;
        // The frame holds src from its corner, cut to the picture.
        const QRect r(p.at.topLeft() - p.off, p.at.bottomRight());
        const char* frame =
            R"x(<iframe scrolling="no" src="%s" style="left:%dpx;top:%dpx;)x"
            R"x(width:%dpx;height:%dpx;clip-path:inset(%dpx 0 0 %dpx)">)x"
            "</iframe>\n";
        html += QString::asprintf(frame, qPrintable(p.src), r.x(), r.y(), r.width(),
                                  r.height(), p.off.y(), p.off.x());
        all |= p.at;
    }
    if (places.empty() || !Write("page.html", html))
        return 2;
    // Headless Chromium paints frames only within what it takes for the
    // visible part of a very short window; a larger window is left white.
    printf("%d,%d\n", std::max(all.right() + 1, 400), std::max(all.bottom() + 1, 400));
    return 0;
}

int Compare(const Places& places, const QImage& shot)
{
    QRect all;
    for (const auto& p : places)
        all |= p.at;
    if (places.empty() || !shot.rect().contains(all)) {
        fputs("browsercheck: a PNG missing or the shot small\n", stderr);
        return 2;
    }
    bool ok = true;
    for (const auto& p : places) {
        int max = 0;
        double sum = 0;
        const bool axis = p.name.endsWith("-axis");
        const bool down = p.name.contains("-v");
        const int w = p.ref.width(), h = p.ref.height();
        for (int y = 0; y < p.at.height(); ++y)
            for (int x = 0; x < p.at.width(); ++x) {
                const auto a = shot.pixel(p.at.topLeft() + QPoint(x, y));
                const int u = axis && !down ? std::min(x, w - 1) : x % w;
                const int v = axis && down ? std::min(y, h - 1) : y % h;
                const auto b = p.ref.pixel(u, v);
                for (const int d :
                     {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b)}) {
                    max = std::max(max, std::abs(d));
                    sum += std::abs(d);
                }
            }
        const double mean = sum / (3.0 * p.at.width() * p.at.height());
        const bool pass =
            p.said < 0 ? max <= kMax && mean < kMean : max <= p.said + kMax;
        ok = ok && pass;
        printf("%-14s %s max %d mean %.4f said %d%s\n", qPrintable(p.name),
               qPrintable(p.src.right(4)), max, mean, p.said, pass ? "" : "  FAIL");
    }
    puts(ok ? "browser: all passed" : "browser: FAIL");
    return ok ? 0 : 1;
}

// The rasteriser moves on to a point's next piece only after drawing the
// first pixel past it, which so takes the point's own colour where GIMP has
// gone on: left out where a point lies between two pixels. Where k points
// share a position the colour jumps, either side is right at the jump, and
// the next k - 1 pixels step through the points there: left out too.
bool LeftOut(int i, int w, const QList<int>& at)
{
    for (const int p : at) {
        const double x = p * w / 1000.0;
        const auto k = int(at.count(p));
        const int c = int(std::ceil(x));
        if ((k > 1 || x != c) && i >= (k > 1 ? int(x) : c) && i <= c + k - 1)
            return true;
    }
    return false;
}

int GimpCompare()
{
    QHash<QString, QStringList> samples;
    static const QRegularExpression marks("[#()]");
    for (auto line : Lines("gimp.txt")) {
        line.remove(marks);
        const auto all = line.split(' ', Qt::SkipEmptyParts);
        samples.insert(all.value(0), all.mid(1));
    }
    const auto cases = Lines("cases.txt");
    int passed = 0;
    for (const auto& line : cases) {
        const auto name = line.section(' ', 0, 0);
        const QImage ref(name + ".png");
        const bool down = name.contains("-v");
        const int n = down ? ref.height() : ref.width();
        QList<int> at;
        for (const auto& p : line.section(' ', 1).split(',', Qt::SkipEmptyParts))
            at << p.toInt();
        const auto got = samples.value(name);
        // 256: not read
        int max = ref.isNull() || got.size() != 4 * n ? 256 : 0;
        for (int i = 0; max < 256 && i < 4 * n; ++i) {
            if (LeftOut(i / 4, n, at))
                continue;
            const auto px = down ? ref.pixel(0, i / 4) : ref.pixel(i / 4, 0);
            const int want[] = {qRed(px), qGreen(px), qBlue(px), 255};
            const double off = std::abs(got[i].toDouble() * 255 - want[i % 4]);
            max = std::max(max, int(std::ceil(off - 1e-6)));
        }
        if (max <= kMax)
            ++passed;
        printf("gimp: %-24s max %d%s\n", qPrintable(name), max,
               max <= kMax ? "" : "  FAIL");
    }
    const auto all = int(cases.size());
    printf("gimp: %d of %d within a level\n", passed, all);
    return passed == all && all > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto a = app.arguments();
    const auto how = a.value(1);
    if (a.size() > 2 && !QDir::setCurrent(a[2]))
        return 2;
    if (a.size() == 3 && how == "layout")
        return WritePage(Layout());
    if (a.size() == 4 && how == "compare")
        return Compare(Layout(), QImage(a[3]));
    if (a.size() == 3 && how == "gimp-compare")
        return GimpCompare();
    fputs("usage: browsercheck layout|compare|gimp-compare DIR [SHOT]\n", stderr);
    return 2;
}
