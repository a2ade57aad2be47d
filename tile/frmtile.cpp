// SPDX-License-Identifier: MIT
#include "tile/frmtile.h"

#include "common/dialogs.h"
#include "core/contrast.h"
#include "core/numtext.h"
#include "widgets/widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace velmix {

namespace {

// Plain pixel copy of a whole image into another at (x, y), clipped at every
// edge.
void CopyImage(const QImage& src, QImage& dst, int x, int y)
{
    const int sx = std::max(0, -x);
    const int sy = std::max(0, -y);
    const int w = std::min(src.width(), dst.width() - x) - sx;
    const int h = std::min(src.height(), dst.height() - y) - sy;
    if (w <= 0 || h <= 0)
        return;
    for (int r = 0; r < h; ++r)
        std::memcpy(dst.scanLine(y + sy + r) + 4 * static_cast<std::ptrdiff_t>(x + sx),
                    src.constScanLine(sy + r) + 4 * static_cast<std::ptrdiff_t>(sx),
                    static_cast<std::size_t>(w) * 4);
}

} // namespace

frmTile::frmTile(Dialogs& dialogs, const SampleTextFontT& sampleText, const GradDocument& doc,
                 const ExportOptions& options)
    : QWidget(nullptr, Qt::Window), m_dialogs(dialogs), m_sampleText(sampleText), m_doc(doc),
      m_options(options)
{
    // Both owners are the main window's and live as long as this window;
    // the guard is for the program's end.
    doc.listen([self = QPointer<frmTile>(this)](unsigned aspects) {
        if (!self)
            return;
        if ((aspects & GradDocument::kOrientation) && self->isVisible())
            self->RefreshForm();
        if (aspects & ~GradDocument::kHistory)
            self->PrintTile();
    });
    options.listen([self = QPointer<frmTile>(this)] {
        if (self)
            self->PrintTile();
    });
    resize(513, 224);

    picGrad = new ImageBox(this);
    picGrad->setGeometry(0, 40, 509, 181);

    LabSavePicture = new QLabel(this);
    LabSavePicture->setGeometry(24, 16, 105, 17);

    ChkText = new QCheckBox(this);
    ChkText->setGeometry(196, 12, 89, 17);
    ChkText->setChecked(true);

    LabForeColor = new QLabel(this);
    LabForeColor->move(300, 12);

    picForeColor = new ColorBox(this);
    LabForeColor->setBuddy(picForeColor);
    picForeColor->setGeometry(353, 4, 41, 25);
    LabX = new CrossLabel(picForeColor);
    LabX->setFont(JpFont(27.75, true));
    LabX->setGeometry(0, -8, 41, 41);

    CmdFont = new QPushButton(this);
    CmdFont->setGeometry(404, 4, 89, 25);

    // Sample text lies over the tiles; it is never drawn into them.
    const int b = picGrad->border();
    Labsample[0] = new QLabel(picGrad);
    Labsample[0]->setFont(JpFont(27.75));
    Labsample[0]->move(b + 8, b + 8);
    const int tops[3] = {80, 104, 128};
    for (int i = 1; i < 4; ++i) {
        Labsample[i] = new QLabel(picGrad);
        Labsample[i]->setFont(JpFont(12));
        Labsample[i]->move(b + 8, b + tops[i - 1]);
    }
    fraStatus = new QFrame(this);
    fraStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LabContrast = new QLabel(fraStatus);
    LabContrast->move(4, 1);
    m_statusHeight = LabContrast->fontMetrics().height() + 4;
    Line1 = new QFrame(picGrad);
    Line1->setAutoFillBackground(true);
    Line1->setGeometry(b + m_line1X1, b + 64, 496, 1);

    connect(ChkText, &QCheckBox::toggled, this, [this] { ChkText_Click(); });
    connect(CmdFont, &QPushButton::clicked, this, [this] { CmdFont_Click(); });
    connect(picForeColor, &ColorBox::clicked, this, [this] { picForeColor_Click(); });
    connect(picForeColor, &ColorBox::keyPressed, this,
            [this](int key) { picForeColor_KeyPress(key); });
    SetObjectNames(Labsample, "Labsample");
    SetObjectNames({{picGrad, "picGrad"},
                    {LabSavePicture, "LabSavePicture"},
                    {ChkText, "ChkText"},
                    {LabForeColor, "LabForeColor"},
                    {picForeColor, "picForeColor"},
                    {LabX, "LabX"},
                    {CmdFont, "CmdFont"},
                    {Line1, "Line1"},
                    {fraStatus, "fraStatus"},
                    {LabContrast, "LabContrast"}});

    retranslateTexts();
    for (QLabel* l : Labsample)
        l->adjustSize();
    Form_Load();
    fitTopRow();
}

void frmTile::retranslateTexts()
{
    setWindowTitle(tr("タイル表示"));
    picGrad->setAccessibleName(tr("タイル表示"));
    LabSavePicture->setText(tr("↓保存される画像"));
    ChkText->setText(tr("文字表示(&S)"));
    ChkText->setToolTip(tr("文字表示サンプルを表示するか否かを選択します"));
    LabForeColor->setText(tr("表示色："));
    LabForeColor->adjustSize();
    LabForeColor->setToolTip(tr("文字表示サンプルの表示色です"));
    picForeColor->setAccessibleName(tr("表示色"));
    picForeColor->setToolTip(tr("クリックすると色を変更できます"));
    CmdFont->setText(tr("フォント変更(&F)"));
    CmdFont->setToolTip(tr("文字表示サンプルのフォントを変更します"));
    Labsample[0]->setText(tr("文字表示サンプル"));
    LabContrast->setToolTip(
        tr("文字表示色とグラデーションの各色とのコントラスト比(WCAG 2.x)の最低値と、"
           "その位置(先頭からのピクセル)です"));
}

void frmTile::fitTopRow()
{
    // The smallest window whose right-aligned top row still clears the
    // label of the strip, and whose picture box keeps a row inside its edge.
    const int topRow = ChkText->width() + LabForeColor->width() + picForeColor->width() + 10 +
                       CmdFont->width() + 10;
    setMinimumSize(40 + LabSavePicture->width() + 4 + topRow - kFrameWidth,
                   picGrad->y() + 25 + m_statusHeight + 2 * picGrad->border() + 1 - kFrameHeight);
}

frmTile::~frmTile() = default;

void frmTile::Form_Load()
{
    SetTextColor();
    SampleTextFontT& f = m_sampleText;
    if (f.Name.empty()) {
        const QFont font = Labsample[0]->font();
        f.Name = font.family().toStdString();
        f.Size = ToInt32(font.pointSizeF());
        f.bold = font.bold() ? -1 : 0;
        f.Italic = font.italic() ? -1 : 0;
    }
    SetSampleFont();
    ChkText->setChecked(f.TextOnOff);
    ChkText_Click();
}

void frmTile::SetTextColor()
{
    const QColor c = ToQColor(m_sampleText.Color);
    picForeColor->setColor(c);
    for (QLabel* l : Labsample)
        velmix::SetTextColor(l, c);
    QPalette pal = Line1->palette();
    pal.setColor(QPalette::Window, c);
    Line1->setPalette(pal);
    ShowContrast();
}

void frmTile::ShowContrast()
{
    LabContrast->setVisible(ChkText->isChecked() && !m_strip.empty());
    if (m_strip.empty())
        return;
    const LowestContrast low = LowestContrastOver(m_strip, m_sampleText.Color);
    const char* mark = QT_TR_NOOP("不足 (3:1 未満)");
    switch (low.mark) {
    case ContrastMark::AAA:
        mark = "AAA";
        break;
    case ContrastMark::AA:
        mark = "AA";
        break;
    case ContrastMark::AALarge:
        mark = QT_TR_NOOP("AA 大きい文字");
        break;
    case ContrastMark::Fail:
        break;
    }
    LabContrast->setText(tr("最低コントラスト比 %1:1 (%2 px) %3")
                             .arg(QString::fromStdString(RatioText(low.ratio)))
                             .arg(low.index)
                             .arg(tr(mark)));
    LabContrast->adjustSize();
}

void frmTile::SetSampleFont()
{
    const SampleTextFontT& f = m_sampleText;
    // Code unit by code unit, a name that sorts no higher than a blank is no
    // name at all.
    if (QString::fromStdString(f.Name).compare(QStringLiteral(" "), Qt::CaseSensitive) <= 0)
        return;
    QFont font(QString::fromStdString(f.Name));
    if (f.Size > 0)
        font.setPointSize(f.Size);
    font.setBold(f.bold != 0);
    font.setItalic(f.Italic != 0);
    Labsample[0]->setFont(font);
    Labsample[0]->adjustSize();
    Labsample[1]->setText(tr("FontName = \"%1\"").arg(QString::fromStdString(f.Name)));
    Labsample[2]->setText(tr("FontSize = ") + QString::fromStdString(BlankSigned(f.Size)));
    // Any style other than 0 counts as on.
    const int at = 4 * (f.bold != 0 ? 1 : 0) + 8 * (f.Italic != 0 ? 1 : 0);
    const char* styles[4] = {QT_TR_NOOP("標準　　"), QT_TR_NOOP("太字　　"), QT_TR_NOOP("斜体　　"),
                             QT_TR_NOOP("太字斜体")};
    Labsample[3]->setText(tr("FontStyle = ") + tr(styles[at / 4]));
    for (int i = 1; i < 4; ++i)
        Labsample[i]->adjustSize();
    const int sampleBottom = Labsample[0]->y() + Labsample[0]->height();
    Line1->move(Line1->x(), sampleBottom + 15);
    Labsample[1]->move(Labsample[1]->x(), sampleBottom + 30);
    Labsample[2]->move(Labsample[2]->x(), Labsample[1]->y() + Labsample[1]->height());
    Labsample[3]->move(Labsample[3]->x(), Labsample[2]->y() + Labsample[2]->height());
}

void frmTile::ChkText_Click()
{
    const bool on = ChkText->isChecked();
    for (QLabel* l : Labsample)
        l->setVisible(on);
    LabForeColor->setEnabled(on);
    Line1->setVisible(on);
    LabX->setVisible(!on);
    CmdFont->setEnabled(on);
    m_sampleText.TextOnOff = on;
    emit sampleTextChanged();
    ShowContrast();
}

void frmTile::CmdFont_Click()
{
    QFont preset(Labsample[0]->font().family());
    preset.setPointSizeF(Labsample[0]->font().pointSizeF());
    // Preset with the sample's own style too: read back after a Cancel, a
    // style the dialog held from an earlier showing would change the sample.
    preset.setBold(Labsample[0]->font().bold());
    preset.setItalic(Labsample[0]->font().italic());
    const QFont chosen = m_dialogs.font(this, preset).value_or(preset);
    SampleTextFontT& f = m_sampleText;
    f.Name = chosen.family().toStdString();
    f.Size = ToInt32(chosen.pointSizeF());
    f.bold = chosen.bold() ? -1 : 0;
    f.Italic = chosen.italic() ? -1 : 0;
    emit sampleTextChanged();
    SetSampleFont();
}

void frmTile::picForeColor_Click()
{
    const auto chosen = m_dialogs.color(this, ToQColor(m_sampleText.Color));
    if (!chosen)
        return;
    m_sampleText.Color = FromQColor(*chosen);
    emit sampleTextChanged();
    SetTextColor();
}

void frmTile::picForeColor_KeyPress(int)
{
    picForeColor_Click();
}

void frmTile::fitSurface()
{
    if (m_surface.size() == size())
        return;
    QImage next(size(), QImage::Format_RGB32);
    next.fill(palette().color(QPalette::Window));
    if (!m_surface.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, m_surface);
    }
    m_surface = next;
}

namespace {

// The page of a one-way repeat: past the picture's length along the
// gradient, the colour of its far end.
void FarColourBeyond(QImage& grad, int w, int h, bool vertical)
{
    if (!vertical && w < grad.width()) {
        for (int r = 0; r < grad.height(); ++r) {
            auto* row = reinterpret_cast<quint32*>(grad.scanLine(r));
            std::fill(row + w, row + grad.width(), row[w - 1]);
        }
    } else if (vertical) {
        const auto bytes = static_cast<std::size_t>(grad.bytesPerLine());
        for (int r = h; r < grad.height(); ++r)
            std::memcpy(grad.scanLine(r), grad.constScanLine(h - 1), bytes);
    }
}

} // namespace

void frmTile::PrintTile()
{
    if (!isVisible())
        return;
    BusyCursor busy(this);
    const QImage& work = picWork();
    const int w = work.width();
    const int h = work.height();
    // A length of 0 (the size box being edited) leaves the last drawing.
    if (w <= 0 || h <= 0)
        return;
    m_strip = m_doc.line(m_doc.size());
    ShowContrast();

    fitSurface();
    const int L = picGrad->x();
    const int T = picGrad->y();
    const QColor back = palette().color(QPalette::Window);
    QPainter p(&m_surface);
    // Only the strip's band of the surface changes; only that is repainted.
    QRect changed;
    if (!vertical()) {
        changed = QRect(0, 0, m_surface.width(), std::max(0, T - 8 + 1));
        p.fillRect(changed, back);
        p.end();
        CopyImage(work, m_surface, L, T - 8);
    } else {
        changed = QRect(0, T, std::max(0, L - 8 + 1), m_surface.height() - T);
        p.fillRect(changed, back);
        p.end();
        CopyImage(work, m_surface, L - 8, T);
    }
    update(changed.united(QRect(L - 8, T - 8, w, h)));

    picGrad->fitImage();
    QImage& grad = picGrad->image();
    const int innerW = grad.width();
    const int innerH = grad.height();
    if (innerW > 0 && innerH > 0) {
        // The first band: the work picture K + 1 times across, cut at the
        // edge. Each row is the picture's row once, then the filled part of
        // the row copied onto the rest, doubling: a few long copies a row
        // instead of one tiny copy per repetition (a vertical picture is one
        // pixel wide).
        const int bandRows = std::min(h, innerH);
        const int first = std::min(w, innerW);
        for (int r = 0; r < bandRows; ++r) {
            auto* row = reinterpret_cast<quint32*>(grad.scanLine(r));
            std::memcpy(row, work.constScanLine(r), static_cast<std::size_t>(first) * 4);
            for (int filled = first; filled < innerW;) {
                const int n = std::min(filled, innerW - filled);
                std::memcpy(row + filled, row, static_cast<std::size_t>(n) * 4);
                filled += n;
            }
        }
        // Downwards from picGrad's own first band, not from the work picture.
        const int M = innerH / h;
        const std::size_t bandBytes = static_cast<std::size_t>(innerW) * 4;
        for (int j = 1; j <= M; ++j) {
            const int rows = std::min(h, innerH - j * h);
            for (int r = 0; r < rows; ++r)
                std::memcpy(grad.scanLine(j * h + r), grad.constScanLine(r), bandBytes);
        }
        if (m_options.value().page.oneWay)
            FarColourBeyond(grad, w, h, vertical());
    }
    picGrad->update();
}

const QImage& frmTile::picWork()
{
    const int size = m_doc.size();
    if (m_options.value().dither && size > 0) {
        // The export as it will be: dithered, at the thickness that will be
        // saved (as much of it as a screen can show).
        const int screen = std::max(width(), height());
        const StripImage img =
            MakeStrip(m_doc.points(), size, vertical(),
                      std::min(m_options.thickness(), std::max(screen, 64)), true);
        m_picWork = StripPicture(img);
        m_picWorkDithered = true;
        return m_picWork;
    }
    if (!m_picWorkDithered && m_picWorkRevision == m_doc.revision() && !m_picWork.isNull())
        return m_picWork;
    BusyCursor busy(this);
    m_picWork = QImage(vertical() ? 1 : size, vertical() ? size : 1, QImage::Format_RGB32);
    PaintLine(m_picWork, m_doc.line(size), vertical());
    m_picWorkRevision = m_doc.revision();
    m_picWorkDithered = false;
    return m_picWork;
}

void frmTile::Open()
{
    show();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    raise();
    RefreshForm();
    PrintTile();
}

void frmTile::RefreshForm()
{
    m_surface.fill(palette().color(QPalette::Window));
    update();
    LayoutForm();
}

void frmTile::LayoutForm()
{
    if (isMinimized())
        return;
    const int W = width() + kFrameWidth;
    const int Hwin = height() + kFrameHeight;
    // The status line takes its height from the bottom of the tiles.
    const int H = Hwin - picGrad->y() - 25 - m_statusHeight;
    fraStatus->setGeometry(0, height() - m_statusHeight, width(), m_statusHeight);
    if (!vertical()) {
        picGrad->resize(W - 8, H > 0 ? H : picGrad->height());
        LabSavePicture->move(40, picGrad->y() / 3);
    } else {
        if (H > 0)
            picGrad->setGeometry(12, picGrad->y(), W - 16, H);
        LabSavePicture->move(0, picGrad->y() - LabSavePicture->height());
    }
    CmdFont->move(W - CmdFont->width() - 10, CmdFont->y());
    picForeColor->move(CmdFont->x() - picForeColor->width() - 10, picForeColor->y());
    LabForeColor->move(picForeColor->x() - LabForeColor->width(), LabForeColor->y());
    ChkText->move(LabForeColor->x() - ChkText->width(), ChkText->y());
    // The right end of the underline keeps (2 * left) \ twips-per-pixel
    // pixels free: one pixel on a 96-dpi screen.
    const int tpx = static_cast<int>(std::lround(TwipsPerPixelX(this)));
    const int x2 = picGrad->innerWidth() - (2 * m_line1X1) / std::max(1, tpx);
    Line1->setGeometry(picGrad->border() + m_line1X1, Line1->y(), std::max(0, x2 - m_line1X1), 1);
    PrintTile();
    picGrad->setToolTip(tr("Width=%1  : Height=%2")
                            .arg(QString::fromStdString(BlankSigned(picGrad->width())),
                                 QString::fromStdString(BlankSigned(picGrad->height()))));
}

void frmTile::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), m_surface, r & m_surface.rect());
}

void frmTile::resizeEvent(QResizeEvent*)
{
    fitSurface();
    LayoutForm();
}

void frmTile::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateTexts();
        Labsample[0]->adjustSize();
        SetSampleFont();
        ShowContrast();
        fitTopRow();
        LayoutForm();
    }
    // Restoring from the task bar lays out and redraws, as a resize does.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        LayoutForm();
    QWidget::changeEvent(event);
}

void frmTile::closeEvent(QCloseEvent* event)
{
    // Closing only hides the window; it lives until the program ends, which
    // destroys it without a close request.
    event->ignore();
    hide();
}

} // namespace velmix
