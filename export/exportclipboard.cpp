// SPDX-License-Identifier: MIT
// The exporter's clipboard target: the one target that needs the whole
// picture in memory, and a display.

#include "export/exporter.h"
#include "widgets/widgets.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <cerrno>
#include <cstring>

namespace velmix {

Result ExportToClipboard(const StripImage& strip)
{
    return ExportGuarded(FailedTask::Copy, [&]() -> Result {
        if (strip.line.empty() || strip.thickness < 1)
            return Failure{FailureKind::FormatError, {}, {}, FailedTask::Copy};
        // The clipboard needs the whole picture, up to 2000 x 32767 pixels
        // (262 MB): QImage answers a failed allocation with a null image.
        const QImage full = StripPicture(strip);
        if (full.isNull())
            return Failure{FailureKind::Stopped,
                           {},
                           QString::fromLocal8Bit(std::strerror(ENOMEM)).toStdString(),
                           FailedTask::Copy};
        QGuiApplication::clipboard()->clear();
        QGuiApplication::clipboard()->setImage(full);
        return {};
    });
}

} // namespace velmix
