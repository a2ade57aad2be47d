// SPDX-License-Identifier: MIT
// The exporter's clipboard target: the one target that needs the whole
// picture in memory, and a display.

#include "export/exporter.h"
#include "export/transg.h"
#include "widgets/widgets.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>

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
        const QImage full = StripPicture(strip);
        if (full.isNull())
            return ExportFailure(kEncodeCallFailed,
                                 QCoreApplication::translate("Exporter", failure),
                                 QString::fromLocal8Bit(std::strerror(ENOMEM)));
        QGuiApplication::clipboard()->clear();
        QGuiApplication::clipboard()->setImage(full);
        return ExportResult{};
    });
}

} // namespace velmix
