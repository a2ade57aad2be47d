// Lays out the browser comparison page and measures a screenshot of it
// against the renderer's PNG files.
//
//   browsercheck layout DIR    reads DIR/cases.txt (one case name a line;
//                              NAME.png, NAME.css and NAME.svg beside it),
//                              writes DIR/page.html and DIR/layout.txt and
//                              prints the window size as W,H
//   browsercheck compare DIR SHOT.png
//                              prints the largest and the mean difference per
//                              case and kind; fails beyond the tolerance
//
// Every case has two places on the page: an iframe with a page whose <style>
// is the CSS file (the background tiled over two and a half images, or a
// little past one for long images), and an iframe with the SVG file itself.

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPageWidth = 2300;
constexpr int kGap = 4;
constexpr int kMinWindow = 400;
// The browser rounds, and dithers its gradients, by at most one level.
constexpr int kMaxAllowed = 1;
constexpr double kMeanAllowed = 0.5;

struct Place
{
    QString name;
    QString kind; // "css" or "svg"
    int x = 0, y = 0, w = 0, h = 0;
};

// Two and a half images shows the seams in both directions; a long image
// shows its start again just past its end.
int TiledExtent(int n)
{
    const int e = n <= 400 ? n * 2 + n / 2 : n + 100;
    return std::max(e, 20);
}

QString ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

bool WriteAll(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0;
}

int Layout(const QString& dir)
{
    const QStringList names = ReadAll(dir + "/cases.txt").split('\n', Qt::SkipEmptyParts);
    std::vector<Place> places;
    for (const QString& name : names) {
        const QImage ref(dir + "/" + name + ".png");
        if (ref.isNull()) {
            std::fprintf(stderr, "browsercheck: no %s.png\n", qPrintable(name));
            return 2;
        }
        places.push_back({name, "css", 0, 0, TiledExtent(ref.width()), TiledExtent(ref.height())});
        places.push_back({name, "svg", 0, 0, ref.width(), ref.height()});
        // The CSS case's own page: its <style> is the file as written.
        const QString page = "<!DOCTYPE html>\n<html><head><style>\n" +
                             ReadAll(dir + "/" + name + ".css") +
                             "</style></head><body></body></html>\n";
        if (!WriteAll(dir + "/" + name + ".html", page))
            return 2;
    }
    // Shelves, left to right.
    int x = 0, y = 0, shelf = 0, width = 0;
    for (Place& p : places) {
        if (x > 0 && x + p.w > kPageWidth) {
            x = 0;
            y += shelf + kGap;
            shelf = 0;
        }
        p.x = x;
        p.y = y;
        x += p.w + kGap;
        shelf = std::max(shelf, p.h);
        width = std::max(width, p.x + p.w);
    }
    const int height = y + shelf;

    QString html = "<!DOCTYPE html>\n<html><head><style>\n"
                   "html, body { margin: 0; background: #ffffff; }\n"
                   "iframe { position: absolute; border: 0; margin: 0; padding: 0; }\n"
                   "</style></head><body>\n";
    QString layout;
    for (const Place& p : places) {
        const QString src = p.name + (p.kind == "css" ? ".html" : ".svg");
        html += QString("<iframe scrolling=\"no\" src=\"%1\" style=\"left: %2px; top: %3px; "
                        "width: %4px; height: %5px\"></iframe>\n")
                    .arg(src)
                    .arg(p.x)
                    .arg(p.y)
                    .arg(p.w)
                    .arg(p.h);
        layout +=
            QString("%1 %2 %3 %4 %5 %6\n").arg(p.name, p.kind).arg(p.x).arg(p.y).arg(p.w).arg(p.h);
    }
    html += "</body></html>\n";
    if (!WriteAll(dir + "/page.html", html) || !WriteAll(dir + "/layout.txt", layout))
        return 2;
    // Headless Chromium paints frames only within what it takes for the
    // visible part of a very short window; a larger window is left white.
    std::printf("%d,%d\n", std::max(width, kMinWindow), std::max(height, kMinWindow));
    return 0;
}

int Compare(const QString& dir, const QString& shotPath)
{
    const QImage shot = QImage(shotPath).convertToFormat(QImage::Format_RGB32);
    if (shot.isNull()) {
        std::fprintf(stderr, "browsercheck: cannot read %s\n", qPrintable(shotPath));
        return 2;
    }
    bool ok = true;
    int worst = 0;
    std::printf("%-14s %-4s %11s %4s %8s\n", "case", "kind", "region", "max", "mean");
    for (const QString& line : ReadAll(dir + "/layout.txt").split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(' ');
        const Place p{f[0], f[1], f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5].toInt()};
        const QImage ref =
            QImage(dir + "/" + p.name + ".png").convertToFormat(QImage::Format_RGB32);
        if (p.x + p.w > shot.width() || p.y + p.h > shot.height()) {
            std::fprintf(stderr, "browsercheck: the screenshot is too small\n");
            return 2;
        }
        int max = 0;
        double sum = 0;
        for (int y = 0; y < p.h; ++y) {
            const auto* got = reinterpret_cast<const QRgb*>(shot.constScanLine(p.y + y)) + p.x;
            const auto* want = reinterpret_cast<const QRgb*>(ref.constScanLine(y % ref.height()));
            for (int x = 0; x < p.w; ++x) {
                const QRgb a = got[x];
                const QRgb b = want[x % ref.width()];
                for (const int d :
                     {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b)}) {
                    max = std::max(max, std::abs(d));
                    sum += std::abs(d);
                }
            }
        }
        const double mean = sum / (3.0 * p.w * p.h);
        const bool pass = max <= kMaxAllowed && mean < kMeanAllowed;
        ok = ok && pass;
        worst = std::max(worst, max);
        std::printf("%-14s %-4s %5dx%-5d %4d %8.4f%s\n", qPrintable(p.name), qPrintable(p.kind),
                    p.w, p.h, max, mean, pass ? "" : "  FAIL");
    }
    std::printf(ok ? "browser: every pixel within %d level(s)\n"
                   : "browser: differences beyond the tolerance (largest %d)\n",
                ok ? kMaxAllowed : worst);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() == 3 && a[1] == "layout")
        return Layout(a[2]);
    if (a.size() == 4 && a[1] == "compare")
        return Compare(a[2], a[3]);
    std::fprintf(stderr, "usage: browsercheck layout DIR | compare DIR SHOT.png\n");
    return 2;
}
