// SPDX-License-Identifier: MIT
// Lays out the browser comparison page and measures a screenshot of it
// against the renderer's PNG files.
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
//   browsercheck gimp-calls DIR
//                              copies each NAME.svg into DIR/gimp/gradients
//                              with its gradient named NAME, and prints the
//                              calls of samples.scm that write GIMP's colours
//                              of them at every pixel's centre
//   browsercheck gimp-compare DIR
//                              measures DIR/gimp.txt against the PNG files;
//                              prints only the cases beyond the tolerance
//
// Every case has two places on the page: an iframe with a page whose <style>
// is the CSS file (the background tiled over two and a half images, or a
// little past one for long images), and an iframe with the SVG file itself.
// A foreign case (a line of DIR/foreign.txt: NAME and the largest error
// velmix-render said for NAME.png, read from NAME.css as another tool wrote
// it) has the first alone, within that error and the browser's level; one
// whose line ends in "svg" (NAME.svg as Inkscape wrote it) has the second
// alone, the file itself at the PNG's size.
// A case whose name ends in "-axis" has its CSS repeated only across the
// gradient: along it, the page shows the image once and then its far end's
// colour.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <cstdio>

namespace {

// The browser rounds, and dithers its gradients, by at most one level.
constexpr int kMax = 1;
constexpr double kMean = 0.5;

struct Place
{
    QString name, kind; // kind: "css" or "svg"
    QImage ref;
    QRect at;
    int said = -1; // a foreign case: the error said
};

QString ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QFile::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool WriteAll(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QFile::WriteOnly) && f.write(text.toUtf8()) >= 0;
}

QStringList Cases()
{
    return ReadAll("cases.txt").split('\n', Qt::SkipEmptyParts);
}

// Every case's two places in shelves, left to right, on a page 2300 pixels
// wide; none when a PNG is missing.
std::vector<Place> Layout()
{
    // Two and a half images shows the seams in both directions; a long image
    // shows its start again just past its end.
    const auto tiled = [](int n) { return std::max(n > 400 ? n + 100 : n * 5 / 2, 20); };
    std::vector<Place> places;
    int x = 0, y = 0, shelf = 0;
    QStringList names = Cases();
    std::vector<int> said(std::size_t(names.size()), -1);
    QSet<QString> svg;
    for (const QString& line : ReadAll("foreign.txt").split('\n', Qt::SkipEmptyParts)) {
        names << line.section(' ', 0, 0);
        said.push_back(line.section(' ', 1, 1).toInt());
        if (line.section(' ', 2, 2) == "svg")
            svg << names.back();
    }
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QString& name = names[k];
        const auto ref = QImage(name + ".png").convertToFormat(QImage::Format_RGB32);
        if (ref.isNull())
            return {}; // reported as no case at all
        const int error = said[std::size_t(k)];
        std::vector<QSize> sizes{QSize(tiled(ref.width()), tiled(ref.height()))};
        if (error < 0)
            sizes.push_back(ref.size());
        if (svg.contains(name))
            sizes = {ref.size()};
        for (const QSize at : sizes) {
            if (x > 0 && x + at.width() > 2300) {
                x = 0;
                y += shelf + 4;
                shelf = 0;
            }
            const QString kind =
                svg.contains(name) || (error < 0 && at == ref.size()) ? "svg" : "css";
            places.push_back({name, kind, ref, QRect(QPoint(x, y), at), error});
            x += at.width() + 4;
            shelf = std::max(shelf, at.height());
        }
    }
    return places;
}

int WritePage(const std::vector<Place>& places)
{
    const QString head = "<!DOCTYPE html>\n<html><head><style>\n";
    QString html = head + R"(html, body { margin: 0; background: #ffffff; }
iframe { position: absolute; border: 0; margin: 0; padding: 0; }
</style></head><body>
)";
    QRect all;
    for (const Place& p : places) {
        // The CSS case's own page: its <style> is the file as written.
        const QString page =
            head + ReadAll(p.name + ".css") + "</style></head><body></body></html>\n";
        if (p.kind == "css" && !WriteAll(p.name + ".html", page))
            return 2;
        const char* frame = R"(<iframe scrolling="no" src="%s.%s" style="left: %dpx; )"
                            R"(top: %dpx; width: %dpx; height: %dpx"></iframe>)"
                            "\n";
        const auto ext = p.kind == "css" ? "html" : "svg";
        const QRect& r = p.at;
        html +=
            QString::asprintf(frame, qPrintable(p.name), ext, r.x(), r.y(), r.width(), r.height());
        all |= p.at;
    }
    if (places.empty() || !WriteAll("page.html", html + "</body></html>\n"))
        return 2;
    // Headless Chromium paints frames only within what it takes for the
    // visible part of a very short window; a larger window is left white.
    std::printf("%d,%d\n", std::max(all.right() + 1, 400), std::max(all.bottom() + 1, 400));
    return 0;
}

int Compare(const std::vector<Place>& places, const QImage& shot)
{
    QRect all;
    for (const Place& p : places)
        all |= p.at;
    if (places.empty() || !shot.rect().contains(all)) {
        std::fputs("browsercheck: a PNG missing, or the shot too small\n", stderr);
        return 2;
    }
    bool ok = true;
    for (const Place& p : places) {
        int max = 0;
        double sum = 0;
        const bool axis = p.name.endsWith("-axis");
        const bool down = p.name.contains("-v");
        const int w = p.ref.width(), h = p.ref.height();
        for (int y = 0; y < p.at.height(); ++y)
            for (int x = 0; x < p.at.width(); ++x) {
                const auto a = shot.pixel(p.at.topLeft() + QPoint(x, y));
                const auto b = p.ref.pixel(axis && !down ? std::min(x, w - 1) : x % w,
                                           axis && down ? std::min(y, h - 1) : y % h);
                for (const int d :
                     {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b)}) {
                    max = std::max(max, std::abs(d));
                    sum += std::abs(d);
                }
            }
        const double mean = sum / (3.0 * p.at.width() * p.at.height());
        const bool pass = p.said < 0 ? max <= kMax && mean < kMean : max <= p.said + kMax;
        ok = ok && pass;
        std::printf("%-14s %s %5dx%-5d max %d mean %.4f%s%s\n", qPrintable(p.name),
                    qPrintable(p.kind), p.at.width(), p.at.height(), max, mean,
                    p.said < 0 ? "" : qPrintable(QString(" (said %1)").arg(p.said)),
                    pass ? "" : "  FAIL");
    }
    std::puts(ok ? "browser: all within the tolerance" : "browser: beyond the tolerance");
    return ok ? 0 : 1;
}

// The gradient's length and direction, from the SVG's own end point.
std::pair<int, bool> SvgLength(const QString& svg)
{
    static const QRegularExpression end(R"re(x2="(\d+)" y2="(\d+)")re");
    const auto m = end.match(svg);
    const int x2 = m.captured(1).toInt();
    const int y2 = m.captured(2).toInt();
    return {std::max(x2, y2), y2 > 0};
}

// GIMP names a gradient by its element's id, and ours are all "velmix": each
// SVG is copied with its case's name.
int GimpCalls()
{
    const QString folder = "gimp/gradients";
    if (!QDir().mkpath(folder))
        return 2;
    for (const QString& name : Cases()) {
        auto svg = ReadAll(name + ".svg");
        svg.replace("id=\"velmix\"", "id=\"" + name + "\"");
        if (!WriteAll(folder + "/" + name + ".svg", svg))
            return 2;
        std::printf("(samples \"%s\" %d)\n", qPrintable(name), SvgLength(svg).first);
    }
    return 0;
}

int GimpCompare()
{
    QHash<QString, QStringList> samples; // red, green, blue, alpha of each pixel
    for (const QString& line : ReadAll("gimp.txt").split('\n', Qt::SkipEmptyParts))
        samples.insert(line.section(' ', 0, 0), line.section(' ', 1).split(' '));
    const auto cases = Cases();
    const auto n = int(cases.size());
    int passed = 0;
    for (const QString& name : cases) {
        const auto [length, down] = SvgLength(ReadAll(name + ".svg"));
        const QImage ref(name + ".png");
        const auto got = samples.value(name);
        int max = ref.isNull() || got.size() != 4 * length ? 256 : 0; // 256: not read
        for (int i = 0; max < 256 && i < 4 * length; ++i) {
            const QRgb px = down ? ref.pixel(0, i / 4) : ref.pixel(i / 4, 0);
            const int want[] = {qRed(px), qGreen(px), qBlue(px), 255};
            const double off = std::abs(got[i].toDouble() * 255 - want[i % 4]);
            max = std::max(max, int(std::ceil(off - 1e-6)));
        }
        if (max <= kMax)
            ++passed;
        else
            std::printf("gimp: %s max %d  FAIL\n", qPrintable(name), max);
    }
    std::printf("gimp: %d of %d SVG gradients within a level\n", passed, n);
    return passed == n && n > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto a = app.arguments();
    if (a.size() > 2 && !QDir::setCurrent(a[2]))
        return 2;
    if (a.size() == 3 && a[1] == "layout")
        return WritePage(Layout());
    if (a.size() == 4 && a[1] == "compare")
        return Compare(Layout(), QImage(a[3]));
    if (a.size() == 3 && a[1] == "gimp-calls")
        return GimpCalls();
    if (a.size() == 3 && a[1] == "gimp-compare")
        return GimpCompare();
    std::fputs("usage: browsercheck layout|compare|gimp-calls|gimp-compare DIR [SHOT]\n", stderr);
    return 2;
}
