// SPDX-License-Identifier: MIT
#pragma once
// The bridge between the save command and the image encoders: checks the
// option values, turns any failure into a result code and words every code.
// The codes live here and only here; everything else hands on a Result.

#include "common/result.h"
#include "core/gradient.h"

#include <QString>

class QWidget;

namespace velmix {

class Dialogs;

class clsTransG
{
public:
    // The library's codes, then the bridge's own: an option out of range
    // (nothing written), and a call that failed, its message already shown.
    enum Code : short
    {
        kOk = 0,
        kOpenFailed = 1,
        kWriteFailed = 2,
        kFormatError = 3,
        kStackOverflow = 4,
        kBadOption = 252,
        kReported = 255,
    };

    static clsTransG& instance();

    // `result`, when given, receives the writer's result, which says more
    // than the code (the file, the system's description) for a message.
    short DCSaveJpeg(Dialogs& dialogs, QWidget* parent, const StripImage& rPic,
                     const QString& rPath, int vValue, int vPrgrs, Result* result = nullptr);
    short DCSavePNG(Dialogs& dialogs, QWidget* parent, const StripImage& rPic, const QString& rPath,
                    int vValue, Result* result = nullptr);
    static QString ErrMes(short vErrorNo);
    // The code a result stands for.
    static short CodeOf(const Result& result);
};

} // namespace velmix
