// SPDX-License-Identifier: MIT
// The exporter's clipboard target: the one target that needs the whole
// picture in memory, and a display.

#include "exporter.h"
#include "transg.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace velmix {

ExportResult ExportToClipboard(const StripImage& strip)
{
    const char* failure = QT_TRANSLATE_NOOP("Exporter", "クリップボードにコピーできません。");
    return ExportGuarded(failure, [&] {
        if (strip.line.empty() || strip.thickness < 1)
            return ExportFailure(kEncodeFormatError,
                                 QCoreApplication::translate("Exporter", failure), {});
        // The clipboard needs the whole picture, up to 2000 x 32767 pixels
        // (262 MB): QImage answers a failed allocation with a null image.
        QImage full(strip.width(), strip.height(), QImage::Format_RGB32);
        if (full.isNull())
            return ExportFailure(kEncodeCallFailed,
                                 QCoreApplication::translate("Exporter", failure),
                                 QString::fromLocal8Bit(std::strerror(ENOMEM)));
        const auto rgb = [](Colour c) { return qRgb(GetRed(c), GetGreen(c), GetBlue(c)); };
        if (!strip.dither.empty()) {
            // Dithered: every row made of its own pixels (a short-lived copy).
            for (int y = 0; y < full.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(full.scanLine(y));
                for (int x = 0; x < full.width(); ++x)
                    row[x] = rgb(strip.pixel(x, y));
            }
        } else if (strip.vertical) {
            for (int y = 0; y < full.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(full.scanLine(y));
                std::fill(row, row + full.width(), rgb(strip.line[static_cast<std::size_t>(y)]));
            }
        } else {
            auto* first = reinterpret_cast<QRgb*>(full.scanLine(0));
            std::transform(strip.line.begin(), strip.line.end(), first, rgb);
            for (int y = 1; y < full.height(); ++y)
                std::memcpy(full.scanLine(y), first, static_cast<std::size_t>(full.bytesPerLine()));
        }
        QGuiApplication::clipboard()->clear();
        QGuiApplication::clipboard()->setImage(full);
        return ExportResult{};
    });
}

} // namespace velmix
