// SPDX-License-Identifier: MIT
// The linearGradient elements of an SVG document, as browsers and Inkscape
// draw them: offsets clamped and never going back; stop colours and
// opacities from attributes, from the document's <style> sheets and from
// style, in the order CSS ranks them; colour and opacity each interpolated
// on its own and the result laid over the white page; the vector's
// direction (right to left, bottom to top, vertical) kept; and stops taken
// from the gradient an element references when it has none of its own.
#include "library/gradlibrary.h"

#include "core/cssgrad.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <utility>

namespace velmix {

namespace {

// Stops a file may hold, and may expand to when gradients borrow each
// other's: real drawings have a few hundred; a file made to fill the
// memory (thousands of gradients each borrowing thousands of stops) is
// refused before it does.
constexpr std::size_t kMaxStops = 200000;
// Selector tests a file's style sheets may need, over all its stops.
constexpr long long kMaxStyleWork = 20000000;

const Refusal kTooManyStops{RefusalKind::SvgTooManyStops};

struct SvgStop
{
    double offset = 0;
    SegmentColour colour; // straight, with the stop's opacity as alpha
};

struct SvgGradient
{
    QString id;
    QString label; // Inkscape's name for it, shown in its swatches
    QString href;  // "#id" of the gradient whose stops it takes
    bool linear = true;
    std::vector<SvgStop> stops;
    Refusal problem; // why a stop of it could not be read
    // The vector and gradientTransform as written; what is not written is
    // taken from the referenced gradient, as SVG does.
    std::array<QString, 4> vector; // x1, y1, x2, y2
    QString transform;
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

// A coordinate of the vector: a number, a percentage or a length; only
// which way the vector runs is wanted, so every length is in pixels.
std::optional<double> Coordinate(QString text)
{
    text = text.trimmed();
    static const std::pair<const char*, double> units[] = {
        {"px", 1}, {"in", 96}, {"cm", 96 / 2.54}, {"mm", 96 / 25.4}, {"pt", 4.0 / 3}, {"pc", 16}};
    for (const auto& [unit, scale] : units)
        if (text.endsWith(QLatin1String(unit))) {
            const auto v = Fraction(text.chopped(2));
            return v ? std::optional<double>(*v * scale) : std::nullopt;
        }
    return Fraction(text);
}

// A stop's colour as CSS reads it. An ICC colour follows its sRGB fallback,
// which is what is drawn.
std::optional<SegmentColour> ParseColour(QString text)
{
    const qsizetype icc = text.indexOf(QLatin1String("icc-color("));
    if (icc > 0)
        text = text.left(icc);
    return ReadCssColour(text.toStdString());
}

// --- Style sheets: only what sets a stop's colour or opacity.

// Which declaration wins: !important first, then the selector's weight
// (ids, classes, types), then the later one.
using Rank = std::tuple<bool, int, int, int, int>;

struct StyleRule
{
    QString type; // empty: any element
    QString id;
    QStringList classes;
    QString property; // "stop-color" or "stop-opacity"
    QString value;
    Rank rank;
};

struct Declaration
{
    QString property;
    QString value;
    bool important = false;
};

std::vector<Declaration> Declarations(QStringView block)
{
    std::vector<Declaration> out;
    for (const QStringView d : block.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype colon = d.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        QString value = d.mid(colon + 1).trimmed().toString();
        const qsizetype bang = value.indexOf(QLatin1Char('!'));
        const bool important =
            bang >= 0 && value.mid(bang + 1).trimmed().compare(QLatin1String("important"),
                                                               Qt::CaseInsensitive) == 0;
        if (bang >= 0)
            value = value.left(bang).trimmed();
        out.push_back({d.left(colon).trimmed().toString().toLower(), value, important});
    }
    return out;
}

bool StopProperty(const QString& property)
{
    return property == QLatin1String("stop-color") || property == QLatin1String("stop-opacity");
}

// One compound selector: a type, ".class" and "#id" parts; "*" for any.
// Anything else (combinators, attributes, pseudo-classes) cannot name a
// stop by what it carries alone and is passed by.
std::optional<StyleRule> Selector(QStringView text)
{
    text = text.trimmed();
    StyleRule rule;
    qsizetype i = 0;
    const auto name = [&] {
        const qsizetype from = i;
        while (i < text.size() && (text[i].isLetterOrNumber() || text[i] == QLatin1Char('-') ||
                                   text[i] == QLatin1Char('_')))
            ++i;
        return text.mid(from, i - from).toString();
    };
    if (i < text.size() && text[i] == QLatin1Char('*'))
        ++i;
    else
        rule.type = name();
    while (i < text.size()) {
        const QChar mark = text[i++];
        const QString part = name();
        if (part.isEmpty() || (mark != QLatin1Char('.') && mark != QLatin1Char('#')))
            return std::nullopt;
        if (mark == QLatin1Char('.'))
            rule.classes << part;
        else if (rule.id.isEmpty() || rule.id == part)
            rule.id = part;
        else
            return std::nullopt; // two ids: matches nothing
    }
    if (text.isEmpty())
        return std::nullopt;
    return rule;
}

class StyleSheet
{
public:
    // A <style> element's text: comments and at-rules skipped.
    void add(const QString& css)
    {
        QString text = css;
        for (qsizetype open = text.indexOf(QLatin1String("/*")); open >= 0;
             open = text.indexOf(QLatin1String("/*"), open)) {
            const qsizetype close = text.indexOf(QLatin1String("*/"), open + 2);
            text.replace(open, close < 0 ? text.size() - open : close + 2 - open, QLatin1Char(' '));
        }
        qsizetype at = 0;
        while (at < text.size()) {
            const qsizetype open = text.indexOf(QLatin1Char('{'), at);
            if (open < 0)
                break;
            const QStringView head = QStringView(text).mid(at, open - at).trimmed();
            if (head.startsWith(QLatin1Char('@'))) { // @media and the like: skipped whole
                int depth = 0;
                qsizetype i = open;
                for (; i < text.size(); ++i) {
                    depth += text[i] == QLatin1Char('{') ? 1 : text[i] == QLatin1Char('}') ? -1 : 0;
                    if (depth == 0)
                        break;
                }
                at = i + 1;
                continue;
            }
            const qsizetype close = text.indexOf(QLatin1Char('}'), open);
            const qsizetype end = close < 0 ? text.size() : close;
            const std::vector<Declaration> block =
                Declarations(QStringView(text).mid(open + 1, end - open - 1));
            at = end + 1;
            if (std::none_of(block.begin(), block.end(),
                             [](const Declaration& d) { return StopProperty(d.property); }))
                continue;
            for (const QStringView one : head.split(QLatin1Char(','))) {
                std::optional<StyleRule> selector = Selector(one);
                if (!selector)
                    continue;
                ++m_order;
                for (const Declaration& d : block)
                    if (StopProperty(d.property)) {
                        StyleRule rule = *selector;
                        rule.property = d.property;
                        rule.value = d.value;
                        rule.rank = {d.important, !rule.id.isEmpty(), int(rule.classes.size()),
                                     !rule.type.isEmpty(), m_order};
                        m_buckets[Key(rule)].push_back(std::move(rule));
                    }
            }
        }
        for (auto& bucket : m_buckets) // strongest first
            std::sort(bucket.begin(), bucket.end(),
                      [](const StyleRule& a, const StyleRule& b) { return a.rank > b.rank; });
    }

    bool empty() const { return m_buckets.isEmpty(); }

    // The sheets' winning declaration of `property` for a stop, if any.
    std::optional<std::pair<QString, Rank>> find(const QString& property, const QString& id,
                                                 const QStringList& classes)
    {
        std::optional<std::pair<QString, Rank>> best;
        const auto look = [&](const QString& key) {
            const auto bucket = m_buckets.constFind(key);
            if (bucket == m_buckets.constEnd())
                return;
            for (const StyleRule& r : *bucket) {
                if (++m_work > kMaxStyleWork || (best && best->second > r.rank))
                    return;
                const bool matches =
                    r.property == property &&
                    (r.type.isEmpty() || r.type == QLatin1String("stop")) &&
                    (r.id.isEmpty() || r.id == id) &&
                    std::all_of(r.classes.begin(), r.classes.end(),
                                [&](const QString& c) { return classes.contains(c); });
                if (matches) {
                    best = {r.value, r.rank};
                    return;
                }
            }
        };
        if (!id.isEmpty())
            look(QLatin1Char('#') + id);
        for (const QString& c : classes)
            look(QLatin1Char('.') + c);
        look(QStringLiteral("stop"));
        look(QStringLiteral("*"));
        return best;
    }

    bool overworked() const { return m_work > kMaxStyleWork; }

private:
    // The bucket a rule is looked up in: by what is rarest in it.
    static QString Key(const StyleRule& r)
    {
        return !r.id.isEmpty()        ? QLatin1Char('#') + r.id
               : !r.classes.isEmpty() ? QLatin1Char('.') + r.classes.front()
               : !r.type.isEmpty()    ? r.type
                                      : QStringLiteral("*");
    }

    QHash<QString, std::vector<StyleRule>> m_buckets;
    int m_order = 0;
    long long m_work = 0;
};

// A stop property as the cascade leaves it: the presentation attribute,
// below the style sheets, below the style attribute; !important in a sheet
// above a plain style attribute, and in the style attribute above all.
QString Cascaded(const QString& property, const QXmlStreamAttributes& attributes,
                 const std::vector<Declaration>& style, StyleSheet& sheet, const QString& id,
                 const QStringList& classes, const QString& fallback)
{
    QString value = attributes.value(property).toString();
    const Declaration* inline_ = nullptr;
    for (const Declaration& d : style)
        if (d.property == property && (!inline_ || d.important || !inline_->important))
            inline_ = &d;
    const auto fromSheet = sheet.empty() ? std::nullopt : sheet.find(property, id, classes);
    const bool sheetImportant = fromSheet && std::get<0>(fromSheet->second);
    if (fromSheet)
        value = fromSheet->first;
    if (inline_ && (inline_->important || !sheetImportant))
        value = inline_->value;
    return value.isEmpty() ? fallback : value;
}

void ReadStop(const QXmlStreamAttributes& attributes, StyleSheet& sheet, SvgGradient& gradient)
{
    const std::vector<Declaration> style = Declarations(attributes.value(QLatin1String("style")));
    const QString id = attributes.value(QLatin1String("id")).toString();
    const QStringList classes = attributes.value(QLatin1String("class"))
                                    .toString()
                                    .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    SvgStop stop;
    stop.offset = std::clamp(
        Fraction(attributes.value(QLatin1String("offset")).toString()).value_or(0), 0.0, 1.0);
    // Each offset at least the one before, as SVG draws them.
    if (!gradient.stops.empty())
        stop.offset = std::max(stop.offset, gradient.stops.back().offset);
    const QString colourText = Cascaded(QStringLiteral("stop-color"), attributes, style, sheet, id,
                                        classes, QStringLiteral("black"));
    const std::optional<SegmentColour> colour = ParseColour(colourText);
    if (!colour) {
        if (!gradient.problem)
            gradient.problem = {RefusalKind::SvgStopColour, 0, 0, Quoted(gradient.id.toStdString()),
                                Quoted(colourText.toStdString())};
        return;
    }
    // Colour and opacity are each interpolated on their own, not
    // premultiplied: SampleGradient does so with the opacity as alpha and
    // lays the result over white, as the page shows it.
    const double opacity = std::clamp(Fraction(Cascaded(QStringLiteral("stop-opacity"), attributes,
                                                        style, sheet, id, classes, {}))
                                          .value_or(1),
                                      0.0, 1.0);
    stop.colour = {colour->red, colour->green, colour->blue, opacity};
    gradient.stops.push_back(stop);
}

SvgGradient StartGradient(const QXmlStreamReader& xml)
{
    SvgGradient gradient;
    gradient.linear = xml.name() == QLatin1String("linearGradient");
    static const std::array<const char*, 4> ends{"x1", "y1", "x2", "y2"};
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        const QStringView name = a.name();
        if (name == QLatin1String("id"))
            gradient.id = a.value().toString();
        else if (name == QLatin1String("href"))
            gradient.href = a.value().toString().trimmed();
        else if (name == QLatin1String("label") && !a.namespaceUri().isEmpty())
            gradient.label = a.value().toString().trimmed();
        else if (name == QLatin1String("gradientTransform"))
            gradient.transform = a.value().toString();
        for (std::size_t k = 0; k < ends.size(); ++k)
            if (name == QLatin1String(ends[k]))
                gradient.vector[k] = a.value().toString();
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
            if (!g.stops.empty() || g.problem) {
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

// How the vector lies on the page.
struct Direction
{
    bool vertical = false;
    bool reversed = false; // right to left, or bottom to top
    bool point = false;    // no length: the last stop's colour throughout
};

using Matrix = std::array<double, 4>; // a b c d of matrix(a b c d e f)

Matrix Times(const Matrix& m, const Matrix& n)
{
    return {m[0] * n[0] + m[2] * n[1], m[1] * n[0] + m[3] * n[1], m[0] * n[2] + m[2] * n[3],
            m[1] * n[2] + m[3] * n[3]};
}

// The part of a transform list that turns directions; moves do not.
// Anything not understood leaves the vector as written.
Matrix Turning(const QString& text)
{
    Matrix m{1, 0, 0, 1};
    const QStringList calls = text.split(QLatin1Char(')'), Qt::SkipEmptyParts);
    for (const QString& call : calls) {
        const qsizetype open = call.indexOf(QLatin1Char('('));
        if (open < 0)
            continue;
        const QString name = call.left(open).remove(QLatin1Char(',')).trimmed();
        std::vector<double> v;
        const QStringList numbers = call.mid(open + 1)
                                        .replace(QLatin1Char(','), QLatin1Char(' '))
                                        .simplified()
                                        .split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& n : numbers) {
            bool ok = false;
            v.push_back(n.toDouble(&ok));
            if (!ok || !std::isfinite(v.back()))
                return {1, 0, 0, 1};
        }
        const double rad = v.empty() ? 0 : v[0] * 3.14159265358979323846 / 180;
        Matrix n{1, 0, 0, 1};
        if (name == QLatin1String("matrix") && v.size() == 6)
            n = {v[0], v[1], v[2], v[3]};
        else if (name == QLatin1String("scale") && !v.empty())
            n = {v[0], 0, 0, v.size() > 1 ? v[1] : v[0]};
        else if (name == QLatin1String("rotate") && !v.empty())
            n = {std::cos(rad), std::sin(rad), -std::sin(rad), std::cos(rad)};
        else if (name == QLatin1String("skewX") && !v.empty())
            n = {1, 0, std::tan(rad), 1};
        else if (name == QLatin1String("skewY") && !v.empty())
            n = {1, std::tan(rad), 0, 1};
        m = Times(m, n);
    }
    return m;
}

// The vector of gradient i, each part from the nearest on its href chain
// that writes it (the chain's length bounded as for stops).
Direction DirectionOf(const std::vector<SvgGradient>& all, const QHash<QString, int>& byId, int i)
{
    std::array<QString, 4> vector;
    QString transform;
    bool transformFound = false;
    QSet<int> seen;
    for (int at = i; at >= 0 && !seen.contains(at) && seen.size() <= kMaxLinks;) {
        seen.insert(at);
        const SvgGradient& g = all[size_t(at)];
        for (std::size_t k = 0; k < 4; ++k)
            if (vector[k].isEmpty())
                vector[k] = g.vector[k];
        if (!transformFound && !g.transform.isEmpty()) {
            transform = g.transform;
            transformFound = true;
        }
        at = g.href.startsWith(QLatin1Char('#')) ? byId.value(g.href.mid(1), -1) : -1;
    }
    const std::array<double, 4> defaults{0, 0, 1, 0}; // x2 is 100 %
    std::array<double, 4> v{};
    for (std::size_t k = 0; k < 4; ++k)
        v[k] = Coordinate(vector[k]).value_or(defaults[k]);
    const Matrix m = Turning(transform);
    const double dx = v[2] - v[0], dy = v[3] - v[1];
    const double x = m[0] * dx + m[2] * dy, y = m[1] * dx + m[3] * dy;
    Direction d;
    d.point = (x == 0 && y == 0) || !std::isfinite(x) || !std::isfinite(y);
    d.vertical = std::abs(y) > std::abs(x);
    d.reversed = d.vertical ? y < 0 : x < 0;
    return d;
}

// Linear RGB segments through the stops, held flat before the first and
// after the last; a colour that jumps at one place needs no segment of its
// own. Reversed, they run from the end.
std::vector<GradSegment> Segments(const std::vector<SvgStop>& stops, const Direction& d)
{
    std::vector<GradSegment> segments;
    if (d.point) {
        const SegmentColour last = stops.back().colour;
        segments.push_back({0, 0.5, 1, last, last});
        return segments;
    }
    segments.reserve(stops.size() + 1);
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
    if (d.reversed) {
        std::reverse(segments.begin(), segments.end());
        for (GradSegment& s : segments)
            s = {1 - s.right, 1 - s.middle, 1 - s.left, s.rightColour, s.leftColour};
    }
    return segments;
}

} // namespace

GradImport ReadSvg(const QByteArray& svg, const std::string& name, const QString& wanted)
{
    // The style sheets first: they apply to stops before them as well.
    StyleSheet sheet;
    {
        QXmlStreamReader xml(svg);
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.name() == QLatin1String("style"))
                sheet.add(xml.readElementText(QXmlStreamReader::IncludeChildElements));
    }
    QXmlStreamReader xml(svg);
    std::vector<SvgGradient> all;
    std::optional<WebGradient> carried;
    std::size_t stops = 0;
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
            if (++stops > kMaxStops)
                return Unread(kTooManyStops);
            ReadStop(xml.attributes(), sheet, all[size_t(open)]);
            if (sheet.overworked())
                return Unread({RefusalKind::SvgTooManyRules});
        }
    }
    if (xml.hasError())
        // The XML reader's words may quote the text (an entity's name): cut
        // as a quote, with room for the longest of its own.
        return Unread({RefusalKind::SvgNotXml, int(xml.lineNumber()), 0,
                       Quoted(xml.errorString().toStdString(), 2 * kQuoted)});

    QHash<QString, int> byId;
    for (int i = int(all.size()) - 1; i >= 0; --i) // the first of a repeated id counts
        if (!all[size_t(i)].id.isEmpty())
            byId.insert(all[size_t(i)].id, i);
    GradImport result;
    result.carried = carried;
    Refusal problem;
    std::size_t expanded = 0;
    const std::vector<int> sources = StopSources(all, byId);
    const std::string want = wanted.toStdString();
    for (int i = 0; i < int(all.size()); ++i) {
        const SvgGradient& g = all[size_t(i)];
        // One with neither id nor label is listed under the file's name and
        // its place, and that name picks it too.
        const std::string listed = !g.label.isEmpty() ? g.label.toStdString()
                                   : !g.id.isEmpty()  ? g.id.toStdString()
                                                      : name + " " + std::to_string(i + 1);
        const bool named =
            !wanted.isEmpty() && (g.id == wanted || g.label == wanted || listed == want);
        if (!wanted.isEmpty() && !named)
            continue;
        if (named && !g.linear)
            return Unread({RefusalKind::SvgRadial, 0, 0, Quoted(wanted.toStdString())});
        const int source = sources[size_t(i)];
        if (!g.linear || source < 0) {
            if (named)
                break;
            continue;
        }
        const SvgGradient& s = all[size_t(source)];
        if (s.problem) {
            if (!problem)
                problem = s.problem;
            continue;
        }
        const Direction d = DirectionOf(all, byId, i);
        // Inkscape keeps the stops in one gradient and draws with others
        // that reference it: the colours are listed once, under the name of
        // the one that holds them, unless this one lies another way.
        const Direction own = DirectionOf(all, byId, source);
        if (!named && source != i && s.linear && d.vertical == own.vertical &&
            d.reversed == own.reversed && d.point == own.point)
            continue;
        if ((expanded += s.stops.size()) > kMaxStops)
            return Unread(kTooManyStops);
        result.gradients.push_back({listed, Segments(s.stops, d)});
        result.vertical.push_back(d.vertical);
        if (named)
            break;
    }
    // Our own export's points only while the stops still draw them.
    CheckCarried(result, name);
    if (result.gradients.empty() && !wanted.isEmpty() && !problem)
        result.refusal = {RefusalKind::SvgNoSuchId, 0, 0, Quoted(wanted.toStdString())};
    else if (result.gradients.empty())
        result.refusal = problem ? problem : Refusal{RefusalKind::SvgNoGradient};
    return result;
}

} // namespace velmix
