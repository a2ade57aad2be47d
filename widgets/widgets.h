// SPDX-License-Identifier: MIT
#pragma once
// Small widgets the windows share: a picture box with a persistent backing
// image, a clickable colour box, the up-down arrows of a number box, and the
// adapter that lets the common range clamp work on a QLineEdit.

#include "common/clscommon.h"
#include "core/gradient.h"
#include "core/language.h"

#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <utility>

class QKeyEvent;
class QToolButton;

namespace velmix {

// A sunken picture box whose content is a QImage the window system repaints;
// drawing goes into image(), then update().
class ImageBox : public QWidget
{
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent, int border = 2);
    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }
    int border() const { return m_border; }
    int innerWidth() const { return std::max(0, width() - 2 * m_border); }
    int innerHeight() const { return std::max(0, height() - 2 * m_border); }
    // Keeps the image the size of the inner area, content at the top left.
    void fitImage();

signals:
    // In the inner area's coordinates.
    void mouseMoved(int x, int y, Qt::MouseButtons buttons);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    int m_border;
};

// A box that shows a colour and is clicked or keyed to change it.
class ColorBox : public QWidget
{
    Q_OBJECT
public:
    explicit ColorBox(QWidget* parent);
    void setColor(const QColor& c);
    QColor color() const { return m_color; }

signals:
    void clicked();
    void keyPressed(int keyAscii);
    // The right button, the Menu key or Shift+F10: a context menu at `at`.
    void menuRequested(const QPoint& at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor m_color = Qt::black;
    bool m_pressed = false;
};

// The red "×" over a switched-off colour box. It takes the clicks meant for
// the box beneath, so a crossed-out box does nothing when clicked.
class CrossLabel : public QLabel
{
    Q_OBJECT
public:
    explicit CrossLabel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Up and down arrows that step the number in a buddy text box. Hand-made, not
// a QSpinBox: the number lives in a plain text box with its own key filter.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(QWidget* parent, QLineEdit* buddy, int minimum, int maximum);
    void setRange(int minimum, int maximum);
    void step(int delta);

signals:
    // After an arrow has set the buddy's text.
    void stepped();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void nameArrows();
    QLineEdit* m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_min;
    int m_max;
};

class LineEditHolder : public TextHolder
{
public:
    explicit LineEditHolder(QLineEdit* edit) : m_edit(edit) {}
    std::string text() const override { return m_edit->text().toStdString(); }
    void setText(const std::string& text) override
    {
        m_edit->setText(QString::fromStdString(text));
    }

private:
    QLineEdit* m_edit;
};

// The designed face and the language of every window, Qt's own dialogs and
// standard buttons included; safe to call more than once.
void SetUpUi(UiLanguage language);
void SetUpJapaneseUi();
// Switches every window, open or not, to the language: Qt sends each widget
// QEvent::LanguageChange, on which it sets its texts again.
void SetUiLanguage(UiLanguage language);
UiLanguage CurrentUiLanguage();

// A control whose English text needs more room than its Japanese design gave
// it: in English it takes the given place (grown into free space of its
// window), in Japanese its designed place, remembered at the first call.
void PlaceForLanguage(QWidget* w, const QRect& english);

// A font requested by face name; where the face is missing the system
// substitutes one, and family() still reads as requested.
QFont JpFont(double points, bool bold = false, bool italic = false,
             const QString& face = QStringLiteral("ＭＳ Ｐゴシック"));

// The character of a key press, or -1 for keys that are no character (Tab,
// Delete, navigation, Ctrl shortcuts). forTextBox: Enter and Escape are left
// to the dialog (its default and cancel buttons) instead of the box's filter.
int CharacterKey(const QKeyEvent* event, bool forTextBox);

// A number box's input through its key filter (keyPress gives 0 to discard
// a character): a key press as CharacterKey reads it, and the text an input
// method commits, character by character as if typed, full-width digits and
// signs read as the plain ones ("５００" is 500). The committed text is
// rewritten in the event; returns whether the event is to be swallowed.
bool FilterNumberInput(QEvent* event, const std::function<int(int)>& keyPress);

// Sets the colour a label or other widget draws its text in.
void SetTextColor(QWidget* w, const QColor& c);

// The platform RGB value and QColor.
QColor ToQColor(int colour);
int FromQColor(const QColor& c);

// The whole picture of an export (null when memory runs out): the clipboard's
// copy, and the tile window's view of a dithered strip.
QImage StripPicture(const StripImage& strip);

// Fills a 32-bit image with a line of colours: pixel column x shows line[x],
// or pixel row y line[y] when vertical.
void PaintLine(QImage& img, const std::vector<Colour>& line, bool vertical);

// Twips per pixel of the screen the widget is on (1440 / logical DPI).
double TwipsPerPixelX(const QWidget* w);
double TwipsPerPixelY(const QWidget* w);

// Names each control after its member, for finding it with findChild (the
// tests do, the controls being private).
inline void SetObjectNames(std::initializer_list<std::pair<QObject*, const char*>> named)
{
    for (const auto& [object, name] : named)
        object->setObjectName(QLatin1String(name));
}

// A row of controls: name_0, name_1...
template <class T, std::size_t N>
void SetObjectNames(const std::array<T*, N>& row, const char* name)
{
    for (std::size_t i = 0; i < N; ++i)
        row[i]->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
}

// Shows the hourglass on a window for the life of the object.
class BusyCursor
{
public:
    // shape: the hourglass alone, or Qt::BusyCursor for the arrow with it.
    explicit BusyCursor(QWidget* w, Qt::CursorShape shape = Qt::WaitCursor);
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    QWidget* m_widget;
    bool m_had;
    QCursor m_previous;
};

} // namespace velmix
