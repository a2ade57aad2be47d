// SPDX-License-Identifier: MIT
#include "widgets/widgets.h"

#include "core/gradient.h"
#include "core/numtext.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <QTranslator>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmix {

ImageBox::ImageBox(QWidget* parent, int border) : QWidget(parent), m_border(border)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageBox::fitImage()
{
    const QSize inner(innerWidth(), innerHeight());
    if (m_image.size() == inner)
        return;
    QImage next(inner, QImage::Format_RGB32);
    next.fill(palette().color(QPalette::Window));
    if (!m_image.isNull() && !inner.isEmpty()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, m_image);
    }
    m_image = next;
}

void ImageBox::paintEvent(QPaintEvent* event)
{
    // The widget is opaque: every pixel is painted here, or the window
    // system would show what lay there before.
    QPainter p(this);
    const QRect inner(m_border, m_border, innerWidth(), innerHeight());
    if (m_border > 0 && !inner.contains(event->rect())) {
        // A sunken edge two pixels deep on every side: shadow and dark shadow
        // above and left, highlight and light below and right.
        const QPalette& pal = palette();
        const QColor rings[2][2] = {{pal.color(QPalette::Dark), pal.color(QPalette::Light)},
                                    {pal.color(QPalette::Shadow), pal.color(QPalette::Midlight)}};
        // Further rings of a thicker border take the inner colours.
        for (int k = 0; k < m_border; ++k) {
            const QColor* c = rings[std::min(k, 1)];
            const int r = width() - 1 - k;
            const int b = height() - 1 - k;
            p.setPen(c[1]);
            p.drawLine(k, b, r, b);
            p.drawLine(r, k, r, b);
            p.setPen(c[0]);
            p.drawLine(k, k, r - 1, k);
            p.drawLine(k, k, k, b - 1);
        }
    }
    // Only what needs repainting, straight from the backing image.
    const QRect dirty = event->rect() & inner;
    if (dirty.isEmpty())
        return;
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect fromImage = dirty.translated(-m_border, -m_border) & m_image.rect();
    if (fromImage != dirty.translated(-m_border, -m_border))
        p.fillRect(dirty, palette().color(QPalette::Window));
    if (!fromImage.isEmpty())
        p.drawImage(fromImage.topLeft() + QPoint(m_border, m_border), m_image, fromImage);
}

void ImageBox::resizeEvent(QResizeEvent*)
{
    fitImage();
}

void ImageBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit mouseMoved(p.x() - m_border, p.y() - m_border, event->buttons());
}

ColorBox::ColorBox(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ColorBox::setColor(const QColor& c)
{
    if (c == m_color)
        return;
    m_color = c;
    update();
}

void ColorBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), m_color);
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void ColorBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void ColorBox::mouseReleaseEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    const bool click = event->button() == Qt::LeftButton && m_pressed && inside;
    m_pressed = false;
    if (click)
        emit clicked();
}

void ColorBox::contextMenuEvent(QContextMenuEvent* event)
{
    // The keys' requests are taken as keys (keyPressEvent), since not every
    // window system makes one of the Menu key and none of Shift+F10.
    event->accept();
    if (event->reason() != QContextMenuEvent::Keyboard)
        emit menuRequested(event->globalPos());
}

void ColorBox::keyPressEvent(QKeyEvent* event)
{
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (event->key() == Qt::Key_Menu || shiftF10) {
        emit menuRequested(mapToGlobal(rect().center()));
        return;
    }
    // Character keys only (Enter, Space, Escape and Backspace included);
    // Tab and the navigation keys keep their usual meaning.
    const int key = CharacterKey(event, false);
    if (key < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit keyPressed(key);
}

CrossLabel::CrossLabel(QWidget* parent) : QLabel(QStringLiteral("×"), parent)
{
    setToolTip(tr("無効です"));
    SetTextColor(this, QColor(255, 0, 0));
    setAlignment(Qt::AlignCenter);
    // Nothing here can be clicked: no pointing hand over a crossed-out box.
    setCursor(Qt::ArrowCursor);
}

void CrossLabel::paintEvent(QPaintEvent*)
{
    // Red on any colour: outlined in black or white, whichever stands
    // further from the box beneath.
    QColor beneath = palette().color(QPalette::Window);
    if (const auto* box = qobject_cast<const ColorBox*>(parentWidget()))
        beneath = box->color();
    const QColor outline = qGray(beneath.rgb()) < 128 ? Qt::white : Qt::black;
    QPainterPath path;
    const QFontMetricsF fm(font());
    const QRectF ink = fm.tightBoundingRect(text());
    path.addText((width() - ink.width()) / 2 - ink.left(),
                 (height() - ink.height()) / 2 - ink.top(), font(), text());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(path, QPen(outline, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, QColor(255, 0, 0));
}

void CrossLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        setToolTip(tr("無効です"));
    QLabel::changeEvent(event);
}

void CrossLabel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}
void CrossLabel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

UpDown::UpDown(QWidget* parent, QLineEdit* buddy, int minimum, int maximum)
    : QWidget(parent), m_buddy(buddy), m_min(minimum), m_max(maximum)
{
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    // The arrow keys in the box step as the arrows do.
    m_buddy->installEventFilter(this);
    nameArrows();
}

void UpDown::nameArrows()
{
    m_up->setAccessibleName(tr("増やす"));
    m_down->setAccessibleName(tr("減らす"));
}

void UpDown::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        nameArrows();
    QWidget::changeEvent(event);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

void UpDown::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = maximum;
}

void UpDown::step(int delta)
{
    const int current = ToInt32(ReadNumber(m_buddy->text().toStdString()));
    const long long next =
        std::clamp<long long>(static_cast<long long>(current) + delta, m_min, m_max);
    m_buddy->setText(QString::number(next));
    emit stepped();
}

namespace {

UiLanguage g_language = UiLanguage::Japanese;
QTranslator* g_program = nullptr;
QTranslator* g_qt = nullptr;

void Uninstall(QTranslator*& t)
{
    if (!t)
        return;
    QCoreApplication::removeTranslator(t);
    delete t;
    t = nullptr;
}

// Installed only when it loaded: an empty translator changes nothing but
// still costs every lookup.
void Install(QTranslator*& slot, const QLocale& locale, const QString& name, const QString& dir)
{
    auto* t = new QTranslator(qApp);
    if (t->load(locale, name, QStringLiteral("_"), dir)) {
        slot = t;
        QCoreApplication::installTranslator(t);
    } else {
        delete t;
    }
}

} // namespace

void SetUpUi(UiLanguage language)
{
    static bool done = false;
    if (!done) {
        done = true;
        // The designed face is not on this system; IPA P Gothic has its
        // metrics, so every caption keeps the room it was designed in. The
        // English texts use the same face.
        for (const QString& face :
             {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")})
            QFont::insertSubstitution(face, QStringLiteral("IPAPGothic"));
        // The about box's title face, the same way: IPA P Mincho for it.
        for (const QString& face : {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho")})
            QFont::insertSubstitution(face, QStringLiteral("IPAPMincho"));
        // Controls without a face of their own use the system's default GUI
        // font, which is this face at 9 points.
        QApplication::setFont(JpFont(9));
    }
    SetUiLanguage(language);
}

void SetUpJapaneseUi()
{
    SetUpUi(UiLanguage::Japanese);
}

void SetUiLanguage(UiLanguage language)
{
    static bool set = false;
    if (set && language == g_language)
        return;
    set = true;
    g_language = language;
    // Qt's own dialogs and buttons speak the program's language, whatever
    // the user's locale. Japanese texts are the program's own: they need no
    // catalogue of ours.
    const QLocale locale = language == UiLanguage::English
                               ? QLocale(QLocale::English, QLocale::UnitedStates)
                               : QLocale(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(locale);
    Uninstall(g_program);
    Uninstall(g_qt);
    Install(g_qt, locale, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (language == UiLanguage::English)
        Install(g_program, locale, QStringLiteral("velmix"), QStringLiteral(":/i18n"));
    // The windows are told at once, not from the event loop: a caller (the
    // menu, a test) sees every text changed when this returns.
    QEvent changed(QEvent::LanguageChange);
    QCoreApplication::sendEvent(qApp, &changed);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

UiLanguage CurrentUiLanguage()
{
    return g_language;
}

void PlaceForLanguage(QWidget* w, const QRect& english)
{
    const char* const designed = "velmixDesignedPlace";
    if (!w->property(designed).isValid())
        w->setProperty(designed, w->geometry());
    w->setGeometry(g_language == UiLanguage::English ? english : w->property(designed).toRect());
}

QFont JpFont(double points, bool bold, bool italic, const QString& face)
{
    QFont f(face);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

int CharacterKey(const QKeyEvent* event, bool forTextBox)
{
    const QString text = event->text();
    // Alt with a letter is a menu key for a box, but types into a text box.
    const Qt::KeyboardModifiers shortcut =
        forTextBox ? (Qt::ControlModifier | Qt::MetaModifier)
                   : (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier);
    if (event->modifiers() & shortcut || text.isEmpty() || text == QLatin1String("\t") ||
        text.at(0).unicode() == 0x7f)
        return -1;
    const char16_t c = text.at(0).unicode();
    if (forTextBox && (c == '\r' || c == '\n' || c == 0x1b))
        return -1;
    return c;
}

bool FilterNumberInput(QEvent* event, const std::function<int(int)>& keyPress)
{
    if (event->type() == QEvent::KeyPress) {
        // Shortcuts (paste included), keys without a character and the
        // dialog keys pass.
        const int key = CharacterKey(static_cast<QKeyEvent*>(event), true);
        return key >= 0 && keyPress(key) == 0;
    }
    if (event->type() != QEvent::InputMethod)
        return false;
    auto* im = static_cast<QInputMethodEvent*>(event);
    const QString committed = im->commitString();
    QString kept;
    for (const QChar c : committed) {
        const char16_t u = clsCommon::HalfWidth(c.unicode());
        if (keyPress(u) != 0)
            kept += QChar(u);
    }
    if (kept != committed)
        im->setCommitString(kept, im->replacementStart(), im->replacementLength());
    return false;
}

void SetTextColor(QWidget* w, const QColor& c)
{
    // The disabled look stays the platform's grey.
    QPalette pal = w->palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, c);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, c);
    w->setPalette(pal);
}

QColor ToQColor(int colour)
{
    return QColor(GetRed(colour), GetGreen(colour), GetBlue(colour));
}

void PaintLine(QImage& img, const std::vector<Colour>& line, bool vertical)
{
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        if (y > 0 && !vertical) {
            std::memcpy(row, img.constScanLine(0), static_cast<std::size_t>(img.bytesPerLine()));
            continue;
        }
        for (int x = 0; x < img.width(); ++x)
            row[x] = ToQColor(line[static_cast<std::size_t>(vertical ? y : x)]).rgb();
    }
}

QImage StripPicture(const StripImage& strip)
{
    QImage img(strip.width(), strip.height(), QImage::Format_RGB32);
    if (img.isNull())
        return img;
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        // Plain rows across repeat the first, plain rows down are one
        // colour; dithered ones are made pixel by pixel.
        if (y > 0 && strip.rowsIdentical()) {
            std::memcpy(row, img.constScanLine(0), static_cast<std::size_t>(img.bytesPerLine()));
            continue;
        }
        const auto rgb = [](Colour c) { return qRgb(GetRed(c), GetGreen(c), GetBlue(c)); };
        if (strip.vertical && strip.dither.empty()) {
            std::fill(row, row + img.width(), rgb(strip.line[static_cast<std::size_t>(y)]));
            continue;
        }
        for (int x = 0; x < img.width(); ++x)
            row[x] = rgb(strip.pixel(x, y));
    }
    return img;
}

int FromQColor(const QColor& c)
{
    return MakeColour(c.red(), c.green(), c.blue());
}

double TwipsPerPixelX(const QWidget* w)
{
    return 1440.0 / std::max(1, w->logicalDpiX());
}
double TwipsPerPixelY(const QWidget* w)
{
    return 1440.0 / std::max(1, w->logicalDpiY());
}

BusyCursor::BusyCursor(QWidget* w, Qt::CursorShape shape)
    : m_widget(w), m_had(w->testAttribute(Qt::WA_SetCursor)), m_previous(w->cursor())
{
    m_widget->setCursor(shape);
}

BusyCursor::~BusyCursor()
{
    if (m_had)
        m_widget->setCursor(m_previous);
    else
        m_widget->unsetCursor();
}

} // namespace velmix
