// SPDX-License-Identifier: MIT
#include "main/frmld.h"

#include "common/clscommon.h"
#include "core/edits.h"
#include "core/numtext.h"
#include "widgets/widgets.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace velmix {

frmLD::frmLD(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(244, 108);
    Label1 = new QLabel(this);
    Label1->setGeometry(16, 16, 81, 17);
    txtLD = new QLineEdit(QStringLiteral("0"), this);
    txtLD->setMaxLength(4);
    txtLD->setGeometry(184, 16, 41, 18);
    txtLD->installEventFilter(this);
    Label1->setBuddy(txtLD);
    sldLD = new QSlider(Qt::Horizontal, this);
    sldLD->setRange(-kLimit, kLimit);
    sldLD->setSingleStep(1);
    sldLD->setPageStep(32);
    sldLD->setTickInterval(32);
    sldLD->setTickPosition(QSlider::TicksBelow);
    sldLD->setGeometry(8, 40, 225, 32);
    cmdOK = new QPushButton(this);
    cmdOK->setGeometry(96, 72, 65, 33);
    cmdOK->setDefault(true);
    CmdCancel = new QPushButton(this);
    CmdCancel->setGeometry(168, 72, 65, 33);

    // Only the user's movements of the slider count; setting it from the text
    // does not come back here.
    connect(sldLD, &QSlider::valueChanged, this, [this] {
        if (!m_settingSlider)
            sldLD_Scroll();
    });
    connect(txtLD, &QLineEdit::textChanged, this, [this] { txtLD_Change(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
    SetObjectNames({{Label1, "Label1"},
                    {txtLD, "txtLD"},
                    {sldLD, "sldLD"},
                    {cmdOK, "cmdOK"},
                    {CmdCancel, "CmdCancel"}});
    retranslateUi();
}

void frmLD::retranslateUi()
{
    setWindowTitle(tr("明度の調整"));
    Label1->setText(tr("明度の調整"));
    sldLD->setAccessibleName(tr("明度の調整"));
    cmdOK->setText(tr("OK"));
    CmdCancel->setText(tr("ｷｬﾝｾﾙ"));
}

void frmLD::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void frmLD::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Load();
}

void frmLD::Form_Load()
{
    BaseColor = m_points.color;
    m_settingSlider = true;
    sldLD->setValue(0);
    m_settingSlider = false;
    txtLD->setText(QStringLiteral("0"));
    // Every showing starts with the offset selected: typing replaces it.
    txtLD->setFocus();
    txtLD->selectAll();
}

void frmLD::sldLD_Scroll()
{
    txtLD->setText(QString::number(sldLD->value()));
}

int frmLD::txtLD_KeyPress(int KeyAscii)
{
    return clsCommon::CheckNum(static_cast<std::int16_t>(KeyAscii));
}

void frmLD::txtLD_Change()
{
    int d = ReadInt32(txtLD->text().toStdString());
    // The slider cannot show more than +-255: the text is brought back too.
    if (d > kLimit || d < -kLimit) {
        d = std::clamp(d, -kLimit, kLimit);
        txtLD->setText(QString::number(d)); // runs this handler again
        return;
    }
    m_settingSlider = true;
    sldLD->setValue(d);
    m_settingSlider = false;
    BusyCursor busy(this, Qt::BusyCursor);
    ApplyLD(d);
}

void frmLD::ApplyLD(int Delta)
{
    GradPoints base = m_points;
    base.color = BaseColor;
    emit pointsChanged(AdjustBrightness(base, Delta));
}

void frmLD::cmdOK_Click()
{
    hide();
}

void frmLD::CmdCancel_Click()
{
    GradPoints base = m_points;
    base.color = BaseColor;
    emit pointsChanged(base);
    hide();
}

void frmLD::reject()
{
    CmdCancel_Click();
}

void frmLD::closeEvent(QCloseEvent* event)
{
    // Only the user closes this window (the program's end destroys it):
    // that is a Cancel, and the dialog stays for the next showing.
    event->ignore();
    CmdCancel_Click();
}

bool frmLD::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtLD &&
        FilterNumberInput(event, [this](int key) { return txtLD_KeyPress(key); }))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace velmix
