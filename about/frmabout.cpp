// SPDX-License-Identifier: MIT
#include "about/frmabout.h"

#include "about/frmsysinfo.h"
#include "common/dialogs.h"
#include "common/platform.h"
#include "core/version.h"
#include "widgets/widgets.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>

namespace velmix {

namespace {

const char* const kTitle = "Velmix";

} // namespace

frmAbout::frmAbout(Dialogs& dialogs, QWidget* parent, SystemPlaces places)
    : QDialog(parent), m_dialogs(dialogs), m_places(std::move(places))
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(tr("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(246, 180);

    picIcon = new QLabel(this);
    picIcon->setGeometry(8, 20, 36, 36);
    picIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    lblTitle = new QLabel(this);
    lblTitle->setFont(JpFont(21.75, true, true, QStringLiteral("ＭＳ Ｐ明朝")));
    lblTitle->move(52, 12);
    lblVersion = new QLabel(tr("Version -.--"), this);
    lblVersion->move(168, 40);
    labAuthor = new QLabel(tr("(C) 2026 Velmix developers"), this);
    labAuthor->setFont(JpFont(9.75));
    labAuthor->move(56, 60);
    labAuthor->adjustSize();
    lblDescription = new QLabel(tr("このソフトはフリーウェアです。"), this);
    lblDescription->setGeometry(12, 96, 226, 28);
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setGeometry(4, 148, 87, 27);
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(tr("ｼｽﾃﾑ情報(&S)..."), this);
    cmdSysInfo->setGeometry(152, 148, 87, 27);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    SetObjectNames({{picIcon, "picIcon"},
                    {lblTitle, "lblTitle"},
                    {lblVersion, "lblVersion"},
                    {labAuthor, "labAuthor"},
                    {lblDescription, "lblDescription"},
                    {cmdOK, "cmdOK"},
                    {cmdSysInfo, "cmdSysInfo"}});
    Form_Load();
}

void frmAbout::Form_Load()
{
    setWindowTitle(tr("%1のﾊﾞｰｼﾞｮﾝ情報").arg(QString::fromUtf8(kTitle)));
    lblVersion->setText(tr("Version %1").arg(QString::fromUtf8(kVersionText)));
    lblVersion->adjustSize();
    lblTitle->setText(QString::fromUtf8(kTitle));
    lblTitle->adjustSize();
}

void frmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The etched separator above the buttons.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(4, 136, 240, 136);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(4, 137, 244, 137);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    const std::wstring tool = SystemInfoToolPath();
    if (!tool.empty() && QProcess::startDetached(QString::fromStdWString(tool), {}))
        return;
    // Without the Windows tool, what a bug report needs, as far as this
    // system tells it.
    if (const std::vector<SystemFact> facts = GatherSystemFacts(m_places); !facts.empty()) {
        frmSysInfo window(facts, this);
        m_dialogs.runModal(&window);
        return;
    }
    m_dialogs.message(this, MsgIcon::None, tr("現時点ではｼｽﾃﾑ情報を使用できません"));
}

} // namespace velmix
