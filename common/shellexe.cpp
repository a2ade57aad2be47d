// SPDX-License-Identifier: MIT
#include "shellexe.h"

#include "clscommon.h"

#include <QDesktopServices>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace velmix {

namespace {
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;
constexpr int kOpened = 42;
} // namespace

int ShellExe(QWidget* vActiveForm, const QString& vPath, int vCmd, const DocumentOpener& opener)
{
#ifdef Q_OS_WIN
    if (!opener) {
        const std::string dir = clsCommon::GetWindowsDir();
        const auto r = reinterpret_cast<INT_PTR>(
            ShellExecuteW(vActiveForm ? reinterpret_cast<HWND>(vActiveForm->winId()) : nullptr,
                          L"Open", reinterpret_cast<LPCWSTR>(vPath.utf16()), L"",
                          reinterpret_cast<LPCWSTR>(QString::fromStdString(dir).utf16()), vCmd));
        return static_cast<int>(r);
    }
#else
    (void)vActiveForm;
    (void)vCmd;
#endif
    if (!QFileInfo(vPath).isFile())
        return kFileNotFound;
    const QUrl url = QUrl::fromLocalFile(vPath);
    const bool ok = opener ? opener(url) : QDesktopServices::openUrl(url);
    return ok ? kOpened : kNoAssociation;
}

} // namespace velmix
