// SPDX-License-Identifier: MIT
#include "about/frmsysinfo.h"

#include "widgets/widgets.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velmix {

frmSysInfo::frmSysInfo(const std::vector<SystemFact>& facts, QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("ｼｽﾃﾑ情報"));
    txtInfo = new QPlainTextEdit(this);
    txtInfo->setReadOnly(true);
    txtInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtInfo->setPlainText(SystemFactsText(facts));
    cmdCopy = new QPushButton(tr("ｺﾋﾟｰ(&C)"), this);
    cmdClose = new QPushButton(tr("閉じる"), this);
    cmdClose->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopy);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtInfo);
    layout->addLayout(buttons);
    connect(cmdCopy, &QPushButton::clicked, this, [this] { cmdCopy_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    SetObjectNames({{txtInfo, "txtInfo"}, {cmdCopy, "cmdCopy"}, {cmdClose, "cmdClose"}});
    // Wide enough for the longest line (a path, most often), as tall as the
    // facts.
    const QFontMetrics metrics(txtInfo->font());
    int wide = 0;
    for (const QString& line : txtInfo->toPlainText().split(QLatin1Char('\n')))
        wide = std::max(wide, metrics.horizontalAdvance(line));
    resize(std::clamp(wide + 48, 420, 720),
           std::min(int(facts.size() + 5) * metrics.lineSpacing(), 480));
}

void frmSysInfo::cmdCopy_Click()
{
    QGuiApplication::clipboard()->setText(txtInfo->toPlainText());
}

} // namespace velmix
