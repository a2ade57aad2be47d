// SPDX-License-Identifier: MIT
#pragma once
// The bridge between the save command and the image encoders: checks the
// option values, turns any failure into a result code and words every code.

#include "core/gradient.h"
#include "export/transg.h"

#include <QString>

class QWidget;

namespace velmix {

class Dialogs;

class clsTransG
{
public:
    static constexpr short kBadOption = kEncodeBadOption;
    // The call failed and the bridge has already shown why.
    static constexpr short kReported = kEncodeCallFailed;

    static clsTransG& instance();

    short DCSaveJpeg(Dialogs& dialogs, QWidget* parent, const StripImage& rPic,
                     const QString& rPath, int vValue, int vPrgrs, QString* systemError = nullptr);
    short DCSavePNG(Dialogs& dialogs, QWidget* parent, const StripImage& rPic, const QString& rPath,
                    int vValue, QString* systemError = nullptr);
    static QString ErrMes(short vErrorNo);
};

} // namespace velmix
