// SPDX-License-Identifier: MIT
#include "export/frmoption.h"

#include "common/clscommon.h"
#include "common/dialogs.h"
#include "core/gradient.h"
#include "core/numtext.h"
#include "widgets/widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace velmix {

frmOption::frmOption(Dialogs& dialogs, QWidget* parent, ExportOptions& options)
    : QDialog(parent), m_dialogs(dialogs), m_options(options)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(312, 176);

    fraHeight = new QGroupBox(this);
    fraHeight->setGeometry(8, 4, 296, 70);
    chkHeight = new QCheckBox(fraHeight);
    chkHeight->setGeometry(12, 10, 200, 22);
    lblHeight = new QLabel(fraHeight);
    lblHeight->setGeometry(32, 40, 80, 20);
    txtSize = new QLineEdit(QStringLiteral("100"), fraHeight);
    txtSize->setGeometry(116, 38, 60, 22);
    // Digits only, typed or committed by an input method, as in the main
    // window's size box: a thickness is a whole number of pixels.
    txtSize->installEventFilter(this);
    updSize = new UpDown(fraHeight, txtSize, 1, kMaxThickness);
    lblHeight->setBuddy(txtSize);
    updSize->setGeometry(176, 38, 14, 22);
    chkDither = new QCheckBox(this);
    chkDither->setGeometry(20, 80, 200, 22);
    lblSTatic = new QLabel(this);
    lblSTatic->setGeometry(12, 108, 170, 20);
    lblSize = new QLabel(this);
    lblSize->setGeometry(184, 108, 124, 20);
    cmdOK = new QPushButton(this);
    cmdOK->setGeometry(124, 138, 84, 28);
    cmdOK->setDefault(true);
    CmdCancel = new QPushButton(this);
    CmdCancel->setGeometry(216, 138, 84, 28);
    // Shown for CSS only, below the size, the buttons moved down past it.
    fraCss = new QGroupBox(this);
    fraCss->setGeometry(8, 134, 296, 76);
    lblSelector = new QLabel(fraCss);
    lblSelector->setGeometry(12, 20, 80, 22);
    txtSelector = new QLineEdit(QStringLiteral("body"), fraCss);
    txtSelector->setGeometry(96, 20, 188, 22);
    txtSelector->setMaxLength(200);
    lblSelector->setBuddy(txtSelector);
    optTile = new QRadioButton(fraCss);
    optTile->setGeometry(12, 48, 130, 22);
    optTile->setChecked(true);
    optAxis = new QRadioButton(fraCss);
    optAxis->setGeometry(150, 48, 130, 22);
    fraCss->hide();

    connect(chkHeight, &QCheckBox::toggled, this, [this] { chkHeight_Click(); });
    connect(txtSize, &QLineEdit::textChanged, this, [this] { txtSize_Change(); });
    connect(chkDither, &QCheckBox::toggled, this,
            [this](bool on) { edit([on](ExportChoice& o) { o.dither = on; }); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
    // The design state: unchecked, so the size controls start disabled.
    // SaveHeight is left alone until the dialog is shown.
    for (QWidget* w : {static_cast<QWidget*>(txtSize), static_cast<QWidget*>(updSize),
                       static_cast<QWidget*>(lblHeight)})
        w->setEnabled(false);
    SetObjectNames({{fraHeight, "fraHeight"},
                    {chkHeight, "chkHeight"},
                    {lblHeight, "lblHeight"},
                    {txtSize, "txtSize"},
                    {updSize, "updSize"},
                    {chkDither, "chkDither"},
                    {lblSTatic, "lblSTatic"},
                    {lblSize, "lblSize"},
                    {fraCss, "fraCss"},
                    {lblSelector, "lblSelector"},
                    {txtSelector, "txtSelector"},
                    {optTile, "optTile"},
                    {optAxis, "optAxis"},
                    {cmdOK, "cmdOK"},
                    {CmdCancel, "CmdCancel"}});
    setWindowTitle(tr("保存/コピーのオプション"));
    chkHeight->setText(tr("高さをつけてコピー"));
    lblHeight->setText(tr("ｻｲｽﾞ(pixel)"));
    retranslateUi();
    showOptions();
    // The owner may outlive a dialog closed from its close box.
    options.listen([self = QPointer<frmOption>(this)] {
        if (self)
            self->showOptions();
    });
}

void frmOption::showOptions()
{
    const ExportChoice& o = m_options.value();
    const QSignalBlocker quiet(chkDither);
    chkDither->setChecked(o.dither);
    // A number being typed stays as typed ("007" is 7, "" is 0).
    if (ReadInt32(txtSize->text().toStdString()) != o.thicknessText) {
        const QSignalBlocker quietText(txtSize);
        txtSize->setText(QString::number(o.thicknessText));
    }
    if (chkHeight->isChecked() != o.thicknessOn) {
        const QSignalBlocker quietBox(chkHeight);
        chkHeight->setChecked(o.thicknessOn);
        for (QWidget* w : {static_cast<QWidget*>(txtSize), static_cast<QWidget*>(updSize),
                           static_cast<QWidget*>(lblHeight)})
            w->setEnabled(o.thicknessOn);
    }
    ShowSizeLabel();
}

void frmOption::edit(const std::function<void(ExportChoice&)>& change)
{
    ExportChoice next = m_options.value();
    change(next);
    m_options.set(next);
}

void frmOption::retranslateUi()
{
    txtSize->setToolTip(tr("画像の幅をpixel単位で指定します"));
    chkDither->setText(tr("ﾃﾞｨｻﾞﾘﾝｸﾞ"));
    chkDither->setToolTip(tr("細かな点の模様で中間の色を表し、なだらかなグラデーションの"
                             "縞をなくします(BMP・PNG・クリップボード)"));
    lblSTatic->setText(tr("画像のサイズ（横幅 x 高さ） :"));
    cmdOK->setText(tr("OK"));
    CmdCancel->setText(tr("ｷｬﾝｾﾙ"));
    fraCss->setTitle(tr("CSS"));
    lblSelector->setText(tr("ｾﾚｸﾀ:"));
    txtSelector->setToolTip(tr("CSSの規則を書くセレクタ(body、.hero など)"));
    optTile->setText(tr("敷き詰め"));
    optTile->setToolTip(tr("画像を縦横に敷き詰めます"));
    optAxis->setText(tr("一方向"));
    optAxis->setToolTip(
        tr("画像をグラデーションと直角の向きにだけ繰り返し、その先は終わりの色にします"));
}

void frmOption::setCssPage(const CssPage& page)
{
    txtSelector->setText(QString::fromStdString(page.selector));
    (page.oneWay ? optAxis : optTile)->setChecked(true);
}

void frmOption::changeEvent(QEvent* event)
{
    // Hidden between uses; the texts that depend on the command are set
    // again when it is next shown.
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void frmOption::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void frmOption::Form_Activate()
{
    ModeName = m_target.saveMode ? tr("保存") : tr("コピー");
    m_cancelled = false;
    setWindowTitle(tr("%1のオプション").arg(ModeName));
    const char* names[2] = {QT_TR_NOOP("横幅"), QT_TR_NOOP("高さ")};
    const QString word = tr(names[m_target.orientation == 0 ? 1 : 0]);
    chkHeight->setText(tr("%1をつけて%2").arg(word, ModeName));
    lblHeight->setText(tr("%1(pixel)").arg(word));
    // JPEG encoders and browsers make their own pixels: the box keeps its
    // value for the next bitmap.
    chkDither->setEnabled(m_target.ditherable);
    // The CSS choices in room of their own: other types keep the dialog as
    // it always was.
    fraCss->setVisible(m_target.css);
    setFixedSize(312, m_target.css ? 256 : 176);
    cmdOK->move(124, m_target.css ? 218 : 138);
    CmdCancel->move(216, m_target.css ? 218 : 138);
    if (m_target.css)
        setCssPage(cssPage());
    SetHeightState();
}

void frmOption::SetHeightState()
{
    const bool on = chkHeight->isChecked();
    txtSize->setEnabled(on);
    updSize->setEnabled(on);
    lblHeight->setEnabled(on);
    setSaveHeight(on ? ReadInt32(txtSize->text().toStdString()) : m_target.orientation + 1);
    ShowSizeLabel();
}

void frmOption::ShowSizeLabel()
{
    const long long a = m_target.orientation == 0 ? m_target.imageSize : saveHeight();
    const long long b = m_target.orientation == 0 ? saveHeight() : m_target.imageSize;
    lblSize->setText(
        tr("%1 x%2 pixels")
            .arg(QString::fromStdString(BlankSigned(a)), QString::fromStdString(BlankSigned(b))));
}

bool frmOption::thicknessOn() const
{
    return m_options.value().thicknessOn;
}

void frmOption::setThickness(bool on, int value)
{
    txtSize->setText(QString::number(value));
    chkHeight->setChecked(on);
}

bool frmOption::dither() const
{
    return m_options.value().dither;
}

void frmOption::setDither(bool on)
{
    edit([on](ExportChoice& o) { o.dither = on; });
}

void frmOption::setSaveHeight(int value)
{
    const bool on = chkHeight->isChecked();
    const int typed = ReadInt32(txtSize->text().toStdString());
    edit([&](ExportChoice& o) {
        o.thicknessOn = on;
        o.thicknessText = typed;
        o.saveHeight = value;
    });
}

void frmOption::chkHeight_Click()
{
    SetHeightState();
}

void frmOption::txtSize_Change()
{
    setSaveHeight(ReadInt32(txtSize->text().toStdString()));
    ShowSizeLabel();
}

int frmOption::txtSize_KeyPress(int KeyAscii)
{
    return clsCommon::CheckNumInt(static_cast<std::int16_t>(KeyAscii));
}

bool frmOption::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtSize &&
        FilterNumberInput(event, [this](int key) { return txtSize_KeyPress(key); }))
        return true;
    return QDialog::eventFilter(watched, event);
}

void frmOption::cmdOK_Click()
{
    // A thickness the encoders cannot make is refused here, not at the file.
    if (chkHeight->isChecked() && (saveHeight() < 1 || saveHeight() > kMaxThickness)) {
        m_dialogs.message(this, MsgIcon::Exclamation,
                          tr("%1は1から%2までの数値で指定してください。")
                              .arg(lblHeight->text())
                              .arg(kMaxThickness));
        txtSize->setFocus();
        return;
    }
    if (m_target.css) {
        const CssPage page{txtSelector->text().trimmed().toStdString(), optAxis->isChecked()};
        if (!SelectorFits(page.selector)) {
            m_dialogs.message(this, MsgIcon::Exclamation,
                              tr("ｾﾚｸﾀは1行で、{ } ; やｺﾒﾝﾄを含まないものにしてください。"));
            txtSelector->setFocus();
            return;
        }
        if (!(page == cssPage()))
            edit([&page](ExportChoice& o) { o.page = page; });
    }
    hide();
}

void frmOption::CmdCancel_Click()
{
    m_cancelled = true;
    hide();
}

void frmOption::reject()
{
    CmdCancel_Click();
}

void frmOption::closeEvent(QCloseEvent* event)
{
    // Only the user closes this window (the program's end destroys it).
    m_cancelled = true;
    m_destroyed = true;
    // The next use starts from the dialog's design state.
    m_options.resetThickness();
    event->accept();
    hide();
}

} // namespace velmix
