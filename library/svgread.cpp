// SPDX-License-Identifier: MIT
// The linearGradient elements of an SVG document, as browsers and Inkscape
// read them: offsets clamped and never going back, stop colours and
// opacities from attributes or from style, and stops taken from the
// gradient an element references when it has none of its own.
#include "library/gradlibrary.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace velmix {

namespace {

struct NamedColour
{
    const char* name;
    std::uint32_t rgb;
};

// The colour keywords of SVG and CSS, sorted for a binary search.
constexpr NamedColour kNamedColours[] = {
    {"aliceblue", 0xf0f8ff},
    {"antiquewhite", 0xfaebd7},
    {"aqua", 0x00ffff},
    {"aquamarine", 0x7fffd4},
    {"azure", 0xf0ffff},
    {"beige", 0xf5f5dc},
    {"bisque", 0xffe4c4},
    {"black", 0x000000},
    {"blanchedalmond", 0xffebcd},
    {"blue", 0x0000ff},
    {"blueviolet", 0x8a2be2},
    {"brown", 0xa52a2a},
    {"burlywood", 0xdeb887},
    {"cadetblue", 0x5f9ea0},
    {"chartreuse", 0x7fff00},
    {"chocolate", 0xd2691e},
    {"coral", 0xff7f50},
    {"cornflowerblue", 0x6495ed},
    {"cornsilk", 0xfff8dc},
    {"crimson", 0xdc143c},
    {"cyan", 0x00ffff},
    {"darkblue", 0x00008b},
    {"darkcyan", 0x008b8b},
    {"darkgoldenrod", 0xb8860b},
    {"darkgray", 0xa9a9a9},
    {"darkgreen", 0x006400},
    {"darkgrey", 0xa9a9a9},
    {"darkkhaki", 0xbdb76b},
    {"darkmagenta", 0x8b008b},
    {"darkolivegreen", 0x556b2f},
    {"darkorange", 0xff8c00},
    {"darkorchid", 0x9932cc},
    {"darkred", 0x8b0000},
    {"darksalmon", 0xe9967a},
    {"darkseagreen", 0x8fbc8f},
    {"darkslateblue", 0x483d8b},
    {"darkslategray", 0x2f4f4f},
    {"darkslategrey", 0x2f4f4f},
    {"darkturquoise", 0x00ced1},
    {"darkviolet", 0x9400d3},
    {"deeppink", 0xff1493},
    {"deepskyblue", 0x00bfff},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1e90ff},
    {"firebrick", 0xb22222},
    {"floralwhite", 0xfffaf0},
    {"forestgreen", 0x228b22},
    {"fuchsia", 0xff00ff},
    {"gainsboro", 0xdcdcdc},
    {"ghostwhite", 0xf8f8ff},
    {"gold", 0xffd700},
    {"goldenrod", 0xdaa520},
    {"gray", 0x808080},
    {"green", 0x008000},
    {"greenyellow", 0xadff2f},
    {"grey", 0x808080},
    {"honeydew", 0xf0fff0},
    {"hotpink", 0xff69b4},
    {"indianred", 0xcd5c5c},
    {"indigo", 0x4b0082},
    {"ivory", 0xfffff0},
    {"khaki", 0xf0e68c},
    {"lavender", 0xe6e6fa},
    {"lavenderblush", 0xfff0f5},
    {"lawngreen", 0x7cfc00},
    {"lemonchiffon", 0xfffacd},
    {"lightblue", 0xadd8e6},
    {"lightcoral", 0xf08080},
    {"lightcyan", 0xe0ffff},
    {"lightgoldenrodyellow", 0xfafad2},
    {"lightgray", 0xd3d3d3},
    {"lightgreen", 0x90ee90},
    {"lightgrey", 0xd3d3d3},
    {"lightpink", 0xffb6c1},
    {"lightsalmon", 0xffa07a},
    {"lightseagreen", 0x20b2aa},
    {"lightskyblue", 0x87cefa},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xb0c4de},
    {"lightyellow", 0xffffe0},
    {"lime", 0x00ff00},
    {"limegreen", 0x32cd32},
    {"linen", 0xfaf0e6},
    {"magenta", 0xff00ff},
    {"maroon", 0x800000},
    {"mediumaquamarine", 0x66cdaa},
    {"mediumblue", 0x0000cd},
    {"mediumorchid", 0xba55d3},
    {"mediumpurple", 0x9370db},
    {"mediumseagreen", 0x3cb371},
    {"mediumslateblue", 0x7b68ee},
    {"mediumspringgreen", 0x00fa9a},
    {"mediumturquoise", 0x48d1cc},
    {"mediumvioletred", 0xc71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xf5fffa},
    {"mistyrose", 0xffe4e1},
    {"moccasin", 0xffe4b5},
    {"navajowhite", 0xffdead},
    {"navy", 0x000080},
    {"oldlace", 0xfdf5e6},
    {"olive", 0x808000},
    {"olivedrab", 0x6b8e23},
    {"orange", 0xffa500},
    {"orangered", 0xff4500},
    {"orchid", 0xda70d6},
    {"palegoldenrod", 0xeee8aa},
    {"palegreen", 0x98fb98},
    {"paleturquoise", 0xafeeee},
    {"palevioletred", 0xdb7093},
    {"papayawhip", 0xffefd5},
    {"peachpuff", 0xffdab9},
    {"peru", 0xcd853f},
    {"pink", 0xffc0cb},
    {"plum", 0xdda0dd},
    {"powderblue", 0xb0e0e6},
    {"purple", 0x800080},
    {"rebeccapurple", 0x663399},
    {"red", 0xff0000},
    {"rosybrown", 0xbc8f8f},
    {"royalblue", 0x4169e1},
    {"saddlebrown", 0x8b4513},
    {"salmon", 0xfa8072},
    {"sandybrown", 0xf4a460},
    {"seagreen", 0x2e8b57},
    {"seashell", 0xfff5ee},
    {"sienna", 0xa0522d},
    {"silver", 0xc0c0c0},
    {"skyblue", 0x87ceeb},
    {"slateblue", 0x6a5acd},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xfffafa},
    {"springgreen", 0x00ff7f},
    {"steelblue", 0x4682b4},
    {"tan", 0xd2b48c},
    {"teal", 0x008080},
    {"thistle", 0xd8bfd8},
    {"tomato", 0xff6347},
    {"turquoise", 0x40e0d0},
    {"violet", 0xee82ee},
    {"wheat", 0xf5deb3},
    {"white", 0xffffff},
    {"whitesmoke", 0xf5f5f5},
    {"yellow", 0xffff00},
    {"yellowgreen", 0x9acd32},
};

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

// "50%" or "0.5"; a percentage over 100 and a fraction alike.
std::optional<double> Fraction(QString text)
{
    text = text.trimmed();
    const bool percent = text.endsWith(QLatin1Char('%'));
    if (percent)
        text.chop(1);
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return percent ? value / 100 : value;
}

SegmentColour FromRgb(std::uint32_t rgb)
{
    return {((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, 1};
}

// A channel of rgb(): 0..255, or a percentage.
std::optional<double> Channel(const QString& text)
{
    const std::optional<double> value = Fraction(text);
    if (!value)
        return std::nullopt;
    return std::clamp(text.trimmed().endsWith(QLatin1Char('%')) ? *value : *value / 255, 0.0, 1.0);
}

std::optional<SegmentColour> ParseColour(QString text)
{
    text = text.trimmed().toLower();
    // An ICC colour follows its sRGB fallback, which is what is drawn.
    const qsizetype icc = text.indexOf(QLatin1String("icc-color("));
    if (icc > 0)
        text = text.left(icc).trimmed();
    if (text.startsWith(QLatin1Char('#'))) {
        QString hex = text.mid(1);
        if (hex.size() == 3 || hex.size() == 4) {
            QString longer;
            for (QChar c : hex)
                longer += QString(2, c);
            hex = longer;
        }
        bool ok = false;
        const std::uint32_t value = hex.toUInt(&ok, 16);
        if (!ok || (hex.size() != 6 && hex.size() != 8))
            return std::nullopt;
        if (hex.size() == 6)
            return FromRgb(value);
        SegmentColour colour = FromRgb(value >> 8);
        colour.alpha = (value & 0xff) / 255.0;
        return colour;
    }
    static const QRegularExpression function(
        QStringLiteral(R"(^rgba?\(\s*([^,\s]+)\s*[,\s]\s*([^,\s]+)\s*[,\s]\s*([^,\s/)]+)\s*)"
                       R"((?:[,/]\s*([^\s)]+)\s*)?\)$)"));
    const QRegularExpressionMatch m = function.match(text);
    if (m.hasMatch()) {
        const auto r = Channel(m.captured(1));
        const auto g = Channel(m.captured(2));
        const auto b = Channel(m.captured(3));
        const auto a = m.captured(4).isEmpty() ? std::optional<double>(1) : Fraction(m.captured(4));
        if (!r || !g || !b || !a)
            return std::nullopt;
        return SegmentColour{*r, *g, *b, std::clamp(*a, 0.0, 1.0)};
    }
    if (text == QLatin1String("transparent"))
        return SegmentColour{0, 0, 0, 0};
    const std::string key = text.toStdString();
    const auto* end = std::end(kNamedColours);
    const auto* found = std::lower_bound(
        std::begin(kNamedColours), end, key,
        [](const NamedColour& c, const std::string& k) { return k.compare(c.name) > 0; });
    if (found == end || key != found->name)
        return std::nullopt;
    return FromRgb(found->rgb);
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
    stop.colour = *colour;
    const double opacity = Fraction(p.value(QStringLiteral("stop-opacity"))).value_or(1);
    stop.colour.alpha *= std::clamp(opacity, 0.0, 1.0);
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

// The gradient whose stops `index` draws with: itself when it has stops,
// else the one its href chain leads to first that has; -1 for none (a
// broken link, or a loop).
int StopSource(const std::vector<SvgGradient>& all, const QHash<QString, int>& byId, int index)
{
    QSet<int> visited;
    while (index >= 0 && !visited.contains(index)) {
        visited.insert(index);
        const SvgGradient& g = all[size_t(index)];
        if (!g.stops.empty() || !g.problem.empty())
            return index;
        const QString& href = g.href;
        index = href.startsWith(QLatin1Char('#')) ? byId.value(href.mid(1), -1) : -1;
    }
    return -1;
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
        return {{},
                {},
                "SVGとして読めません(" + std::to_string(xml.lineNumber()) +
                    "行目: " + xml.errorString().toStdString() + ")。"};

    QHash<QString, int> byId;
    for (int i = int(all.size()) - 1; i >= 0; --i) // the first of a repeated id counts
        if (!all[size_t(i)].id.isEmpty())
            byId.insert(all[size_t(i)].id, i);
    GradImport result;
    result.carried = carried;
    std::string problem;
    for (int i = 0; i < int(all.size()); ++i) {
        const SvgGradient& g = all[size_t(i)];
        const int source = StopSource(all, byId, i);
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
    if (result.gradients.empty())
        result.error = !problem.empty() ? problem : "stopのあるlinearGradientがありません。";
    return result;
}

} // namespace velmix
