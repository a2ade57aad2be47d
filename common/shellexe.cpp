// SPDX-License-Identifier: MIT
#include "common/shellexe.h"

#include "common/clscommon.h"
#include "common/platform.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>

namespace velmix {

namespace {
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;
constexpr int kOpened = 42;
} // namespace

bool OpenWithProgram(const QString& program, const QUrl& url, const OpenFailed& failed)
{
    // No owner: QProcess ends its program with its owner, and xdg-open
    // waits for a viewer it starts itself. Nothing is read from it, so no
    // pipe breaks when this program ends first.
    auto* p = new QProcess;
    p->setProgram(program);
    p->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(p, &QProcess::finished, p, [p, failed](int code, QProcess::ExitStatus how) {
        if ((how != QProcess::NormalExit || code != 0) && failed)
            failed(how == QProcess::NormalExit ? code : -1);
        p->deleteLater();
    });
    p->start();
    if (!p->waitForStarted()) {
        delete p;
        return false;
    }
    return true;
}

int ShellExe(QWidget* vActiveForm, const QString& vPath, int vCmd, const DocumentOpener& opener,
             const OpenFailed& failed)
{
    if (!opener) {
        const auto owner = vActiveForm ? static_cast<unsigned long long>(vActiveForm->winId()) : 0;
        if (const auto r =
                ShellOpen(owner, vPath.toStdWString(),
                          QString::fromStdString(clsCommon::GetWindowsDir()).toStdWString(), vCmd))
            return *r;
    }
    if (!QFileInfo(vPath).isFile())
        return kFileNotFound;
    const QUrl url = QUrl::fromLocalFile(vPath);
    bool ok = false;
    if (opener)
        ok = opener(url, failed);
    else {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        // Qt's own way starts xdg-open and forgets it: a failure would pass
        // unseen.
        ok = OpenWithProgram(QStringLiteral("xdg-open"), url, failed);
#else
        ok = QDesktopServices::openUrl(url);
#endif
    }
    return ok ? kOpened : kNoAssociation;
}

} // namespace velmix
