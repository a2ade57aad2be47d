// SPDX-License-Identifier: MIT
// The linearGradient elements of an SVG document, as browsers and Inkscape
// read them: offsets clamped and never going back, stop colours and
// opacities from attributes or from style, and stops taken from the
// gradient an element references when it has none of its own.
#include "library/gradlibrary.h"

#include "core/cssgrad.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <utility>

namespace velmix {

namespace {

struct SvgStop
{
    double offset = 0;
    SegmentColour colour;
};

struct SvgGradient
{
    QString id;
    QString label; // Inkscape's name for it, shown in its swatches
    QString href;  // "#id" of the gradient whose stops it takes
    bool linear = true;
    std::vector<SvgStop> stops;
    std::string problem; // why a stop of it could not be read
};

// "50%" or "0.5"; a percentage over 100 and a fraction alike. "nan" and
// "inf", which the number reader takes, are no number here.
std::optional<double> Fraction(QString text)
{
    text = text.trimmed();
    const bool percent = text.endsWith(QLatin1Char('%'));
    if (percent)
        text.chop(1);
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return percent ? value / 100 : value;
}

// A stop's colour as CSS reads it, composited over white. An ICC colour
// follows its sRGB fallback, which is what is drawn.
std::optional<SegmentColour> ParseColour(QString text)
{
    const qsizetype icc = text.indexOf(QLatin1String("icc-color("));
    if (icc > 0)
        text = text.left(icc);
    return ReadCssColour(text.toStdString());
}

// The properties a stop can have: its attributes, then its style, which
// wins as CSS does over presentation attributes.
QHash<QString, QString> StopProperties(const QXmlStreamAttributes& attributes)
{
    QHash<QString, QString> properties;
    for (const QXmlStreamAttribute& a : attributes)
        properties.insert(a.name().toString(), a.value().toString());
    const QStringList style =
        properties.value(QStringLiteral("style")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& declaration : style) {
        const qsizetype colon = declaration.indexOf(QLatin1Char(':'));
        if (colon > 0)
            properties.insert(declaration.left(colon).trimmed().toLower(),
                              declaration.mid(colon + 1).trimmed());
    }
    return properties;
}

void ReadStop(const QXmlStreamAttributes& attributes, SvgGradient& gradient)
{
    const QHash<QString, QString> p = StopProperties(attributes);
    SvgStop stop;
    stop.offset = std::clamp(Fraction(p.value(QStringLiteral("offset"))).value_or(0), 0.0, 1.0);
    // Each offset at least the one before, as SVG draws them.
    if (!gradient.stops.empty())
        stop.offset = std::max(stop.offset, gradient.stops.back().offset);
    const QString colourText = p.value(QStringLiteral("stop-color"), QStringLiteral("black"));
    const std::optional<SegmentColour> colour = ParseColour(colourText);
    if (!colour) {
        if (gradient.problem.empty())
            gradient.problem = "グラデーション「" + gradient.id.toStdString() + "」のstop-color「" +
                               colourText.toStdString() + "」は色として読めません。";
        return;
    }
    // The opacity composited over white too: a browser blends the
    // premultiplied colours, which over white is the straight blend of the
    // composited ones.
    const double opacity =
        std::clamp(Fraction(p.value(QStringLiteral("stop-opacity"))).value_or(1), 0.0, 1.0);
    const auto over = [&](double channel) { return channel * opacity + 1 - opacity; };
    stop.colour = {over(colour->red), over(colour->green), over(colour->blue), 1};
    gradient.stops.push_back(stop);
}

SvgGradient StartGradient(const QXmlStreamReader& xml)
{
    SvgGradient gradient;
    gradient.linear = xml.name() == QLatin1String("linearGradient");
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        if (a.name() == QLatin1String("id"))
            gradient.id = a.value().toString();
        else if (a.name() == QLatin1String("href"))
            gradient.href = a.value().toString().trimmed();
        else if (a.name() == QLatin1String("label") && !a.namespaceUri().isEmpty())
            gradient.label = a.value().toString().trimmed();
    }
    return gradient;
}

// Links followed from one gradient at most: real files have a few, and a
// longer chain is far more likely a file made to be slow.
constexpr int kMaxLinks = 1000;

// For each gradient, the one whose stops it draws with: itself when it has
// stops, else the first its href chain leads to that has; -1 for none (a
// broken link, a loop, or more than kMaxLinks links). Each chain is walked
// once: the ends found are kept for every gradient on it.
std::vector<int> StopSources(const std::vector<SvgGradient>& all, const QHash<QString, int>& byId)
{
    constexpr int kUnknown = -2;
    std::vector<int> source(all.size(), kUnknown);
    std::vector<int> links(all.size(), 0); // from each to its source
    std::vector<int> walk;
    QSet<int> onWalk;
    for (int start = 0; start < int(all.size()); ++start) {
        walk.clear();
        onWalk.clear();
        int index = start;
        int end = -1;
        int endLinks = 0;
        while (index >= 0) {
            if (source[size_t(index)] != kUnknown) {
                end = source[size_t(index)];
                endLinks = links[size_t(index)];
                break;
            }
            const SvgGradient& g = all[size_t(index)];
            if (!g.stops.empty() || !g.problem.empty()) {
                end = index;
                walk.push_back(index);
                break;
            }
            if (onWalk.contains(index)) // a loop: none of it has stops
                break;
            walk.push_back(index);
            onWalk.insert(index);
            const QString& href = g.href;
            index = href.startsWith(QLatin1Char('#')) ? byId.value(href.mid(1), -1) : -1;
        }
        // From the end back: each one link further from its source.
        for (auto it = walk.rbegin(); it != walk.rend(); ++it) {
            const bool holds = end >= 0 && *it == end;
            const int count = holds ? 0 : endLinks + 1;
            const bool reached = end >= 0 && count <= kMaxLinks;
            source[size_t(*it)] = reached ? end : -1;
            links[size_t(*it)] = count;
            if (!holds)
                endLinks = count;
        }
    }
    return source;
}

// Linear RGB segments through the stops, held flat before the first and
// after the last; a colour that jumps at one place needs no segment of its
// own.
std::vector<GradSegment> Segments(const std::vector<SvgStop>& stops)
{
    std::vector<GradSegment> segments;
    const auto piece = [&](double left, double right, SegmentColour a, SegmentColour b) {
        if (right > left)
            segments.push_back({left, (left + right) / 2, right, a, b});
    };
    piece(0, stops.front().offset, stops.front().colour, stops.front().colour);
    for (size_t i = 1; i < stops.size(); ++i)
        piece(stops[i - 1].offset, stops[i].offset, stops[i - 1].colour, stops[i].colour);
    piece(stops.back().offset, 1, stops.back().colour, stops.back().colour);
    if (segments.empty()) // every stop at 1: the first colour throughout
        piece(0, 1, stops.front().colour, stops.front().colour);
    return segments;
}

} // namespace

GradImport ReadSvg(const QByteArray& svg, const std::string& name)
{
    QXmlStreamReader xml(svg);
    std::vector<SvgGradient> all;
    std::optional<WebGradient> carried;
    int open = -1; // the gradient whose stops are being read
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("metadata")) {
            // Our own export's points, size and orientation.
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (!carried)
                carried = ReadCarried(text.toStdString());
            continue;
        }
        const QStringView element = xml.name();
        const bool gradient = element == QLatin1String("linearGradient") ||
                              element == QLatin1String("radialGradient");
        if (token == QXmlStreamReader::StartElement && gradient) {
            all.push_back(StartGradient(xml));
            open = int(all.size()) - 1;
        } else if (token == QXmlStreamReader::EndElement && gradient) {
            open = -1;
        } else if (token == QXmlStreamReader::StartElement && open >= 0 &&
                   element == QLatin1String("stop")) {
            ReadStop(xml.attributes(), all[size_t(open)]);
        }
    }
    if (xml.hasError())
        return Unread("SVGとして読めません(" + std::to_string(xml.lineNumber()) +
                      "行目: " + xml.errorString().toStdString() + ")。");

    QHash<QString, int> byId;
    for (int i = int(all.size()) - 1; i >= 0; --i) // the first of a repeated id counts
        if (!all[size_t(i)].id.isEmpty())
            byId.insert(all[size_t(i)].id, i);
    GradImport result;
    result.carried = carried;
    std::string problem;
    const std::vector<int> sources = StopSources(all, byId);
    for (int i = 0; i < int(all.size()); ++i) {
        const SvgGradient& g = all[size_t(i)];
        const int source = sources[size_t(i)];
        if (!g.linear || source < 0)
            continue;
        const SvgGradient& s = all[size_t(source)];
        if (!s.problem.empty()) {
            if (problem.empty())
                problem = s.problem;
            continue;
        }
        // Inkscape keeps the stops in one gradient and draws with others
        // that reference it: the colours are listed once, under the name of
        // the one that holds them.
        if (source != i && s.linear)
            continue;
        const QString label = !g.label.isEmpty() ? g.label : g.id;
        const std::string own =
            label.isEmpty() ? name + " " + std::to_string(i + 1) : label.toStdString();
        result.gradients.push_back({own, Segments(s.stops)});
    }
    // Our own export's points only while the stops still draw them.
    CheckCarried(result, name);
    if (result.gradients.empty())
        result.error = !problem.empty() ? problem : "stopのあるlinearGradientがありません。";
    return result;
}

} // namespace velmix
