#include "appicon.h"

#include "gradient.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace velmix {

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const int inner = size - 2 * std::max(1, size / 16);
        const std::vector<Colour> line = DrawGrad(StartupPoints(), inner);
        QImage img(size, size, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(40, 40, 40));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
        const int off = (size - inner) / 2;
        for (int x = 0; x < inner; ++x) {
            const Colour c = line[static_cast<std::size_t>(x)];
            p.fillRect(off + x, off, 1, inner, QColor(GetRed(c), GetGreen(c), GetBlue(c)));
        }
        p.end();
        icon.addPixmap(QPixmap::fromImage(img));
    }
    return icon;
}

} // namespace velmix
