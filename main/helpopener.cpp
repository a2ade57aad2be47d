// SPDX-License-Identifier: MIT
#include "main/helpopener.h"

#include "common/dialogs.h"
#include "common/failuretext.h"
#include "core/numtext.h"
#include "widgets/widgets.h"

#include <QDir>
#include <QPointer>
#include <QWidget>

namespace velmix {

void ShowHelpPage(Dialogs& dialogs, QWidget* parent, const QString& programDir,
                  const QString& fileName, const DocumentOpener& opener)
{
    const QString path = QDir(programDir).filePath(QStringLiteral("help/") + fileName);
    const QPointer<QWidget> owner(parent);
    const auto cannot = [owner, &dialogs, path](int ret) {
        if (owner)
            dialogs.message(owner, MsgIcon::Error,
                            ResultText(Failure{FailureKind::NotOpened, path.toStdString(),
                                               BlankSigned(ret), FailedTask::ShowHelp}));
    };
    const int ret = ShellExe(parent, path, 0, opener, cannot);
    if (ret <= 31)
        cannot(ret);
}

QString HelpPageName()
{
    const bool english = CurrentUiLanguage() == UiLanguage::English;
    return english ? QStringLiteral("index_en.htm") : QStringLiteral("index.htm");
}

} // namespace velmix
