// SPDX-License-Identifier: MIT
#include "widgets/colourmenu.h"

#include "core/cssgrad.h"
#include "widgets/widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmix {

namespace {

QString HexText(Colour c)
{
    return QString::asprintf("#%02x%02x%02x", GetRed(c), GetGreen(c), GetBlue(c));
}

std::optional<Colour> Read(const QString& text)
{
    return ReadColourText(text.toStdString());
}

} // namespace

ColourEntry::ColourEntry(QWidget* parent, Colour initial) : QDialog(parent), m_colour(initial)
{
    setObjectName("ColourEntry");
    setWindowTitle(tr("色の入力"));
    auto* label = new QLabel(tr("CSSの色(#rgb、#rrggbb、rgb()、hsl()、色の名前):"), this);
    m_text = new QLineEdit(HexText(initial), this);
    m_text->setObjectName("colourText");
    m_text->setMaxLength(200);
    label->setBuddy(m_text);
    m_swatch = new ColorBox(this);
    m_swatch->setObjectName("colourSwatch");
    m_swatch->setFocusPolicy(Qt::NoFocus);
    m_swatch->setCursor(Qt::ArrowCursor);
    m_swatch->setFixedSize(40, 20);
    m_swatch->setAccessibleName(tr("入力した色"));
    m_error = new QLabel(this);
    m_error->setObjectName("colourError");
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(m_text, 1);
    row->addWidget(m_swatch);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(m_error);
    layout->addWidget(m_buttons);
    connect(m_text, &QLineEdit::textChanged, this, &ColourEntry::follow);
    follow();
    m_text->selectAll();
}

QString ColourEntry::refusal(const QString& text)
{
    return tr("「%1」は色として読めません。").arg(text.trimmed().left(40));
}

void ColourEntry::follow()
{
    const auto read = Read(m_text->text());
    if (read) {
        m_colour = read;
        m_swatch->setColor(ToQColor(*read));
    }
    m_error->setText(read ? QString() : refusal(m_text->text()));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(read.has_value());
}

void ColourBoxMenu(ColorBox* box, Dialogs& dialogs, const QPoint& at,
                   const std::function<void(Colour)>& apply)
{
    if (!box->isEnabled())
        return;
    const QColor shown = box->color();
    const Colour current = MakeColour(shown.red(), shown.green(), shown.blue());
    QMenu menu(box);
    menu.setObjectName("colourMenu");
    QAction* copy = menu.addAction(ColourEntry::tr("色のｺﾋﾟｰ(&C)"));
    QAction* paste = menu.addAction(ColourEntry::tr("色の貼り付け(&P)"));
    QAction* type = menu.addAction(ColourEntry::tr("色の入力(&E)..."));
    QAction* chosen = menu.exec(at);
    QClipboard* clipboard = QApplication::clipboard();
    if (chosen == copy) {
        clipboard->setText(HexText(current));
    } else if (chosen == paste) {
        const QString text = clipboard->text();
        if (const auto c = Read(text))
            apply(*c);
        else
            dialogs.message(box->window(), MsgIcon::Exclamation, ColourEntry::refusal(text));
    } else if (chosen == type) {
        ColourEntry entry(box->window(), current);
        dialogs.runModal(&entry);
        if (entry.result() == QDialog::Accepted && entry.colour())
            apply(*entry.colour());
    }
}

} // namespace velmix
