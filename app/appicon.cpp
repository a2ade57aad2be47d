// SPDX-License-Identifier: MIT
#include "app/appicon.h"

#include "core/gradient.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace velmix {

QImage AppIconImage(int size)
{
    // A sixteenth of the size around the tile, as the themes' icons leave.
    const int margin = std::max(1, size / 16);
    const int tile = size - 2 * margin;
    const qreal outline = std::max(1, size / 32);
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    const QRectF bounds(margin + outline / 2, margin + outline / 2, tile - outline, tile - outline);
    shape.addRoundedRect(bounds, tile / 6.0, tile / 6.0);
    // Sharp columns: at 16 pixels every pixel of the gradient counts. One
    // row of them fills the tile through the clip: a clipped fill per column
    // cost the program's start-up 10 ms at these sizes.
    const std::vector<Colour> line = DrawGrad(StartupPoints(), tile);
    QImage row(tile, 1, QImage::Format_ARGB32);
    for (int x = 0; x < tile; ++x) {
        const Colour c = line[static_cast<std::size_t>(x)];
        row.setPixel(x, 0, qRgb(GetRed(c), GetGreen(c), GetBlue(c)));
    }
    p.save();
    p.setClipPath(shape);
    p.setBrushOrigin(margin, margin);
    p.fillRect(QRect(margin, margin, tile, tile), QBrush(row));
    const QColor dark(40, 40, 40);
    if (size >= 24) {
        // The colour points' marks on a light band, as under the preview.
        const GradPoints points = StartupPoints();
        const qreal band = tile / 4.0;
        const qreal top = margin + tile - band;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 250));
        p.drawRect(QRectF(margin, top, tile, band));
        p.setBrush(dark);
        const qreal half = band * 0.3;
        for (int i = 0; i < kPointCount; ++i) {
            if (!points.enabled[i])
                continue;
            // The end marks stay whole inside the rounded corners.
            const qreal inset = outline + half * 2;
            const qreal x = margin + inset + (tile - 2 * inset) * points.position[i] / kMaxPosition;
            const QPointF mark[] = {
                {x, top + band * 0.2}, {x - half, top + band * 0.8}, {x + half, top + band * 0.8}};
            p.drawPolygon(mark, 3);
        }
    }
    p.restore();
    p.setPen(QPen(dark, outline));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.end();
    return img;
}

namespace {

constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Draws each size when it is asked for and keeps none: the window system
// copies what it takes, and seven kept images would be a third of a
// megabyte for the program's whole run.
class AppIconEngine : public QIconEngine
{
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        painter->drawImage(rect, AppIconImage(std::min(rect.width(), rect.height())));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return QPixmap::fromImage(AppIconImage(std::max(1, std::min(size.width(), size.height()))));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int size : kIconSizes)
            sizes << QSize(size, size);
        return sizes;
    }
    QIconEngine* clone() const override { return new AppIconEngine; }
};

} // namespace

QIcon AppIcon()
{
    return QIcon(new AppIconEngine);
}

} // namespace velmix
