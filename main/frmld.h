#pragma once
// The brightness dialog: one offset added to every channel of every enabled
// point, live, always from the colours the dialog found when it opened.

#include "gradient.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace velmix {

class frmMain;

class frmLD : public QDialog
{
    Q_OBJECT
public:
    explicit frmLD(frmMain& main);

    void Form_Load();
    void sldLD_Scroll();
    void txtLD_Change();
    int txtLD_KeyPress(int KeyAscii);
    void cmdOK_Click();
    void CmdCancel_Click();

    QLabel* Label1 = nullptr;
    QLineEdit* txtLD = nullptr;
    QSlider* sldLD = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* CmdCancel = nullptr;

    static constexpr int kLimit = 255;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyLD(int Delta);

    frmMain& m_main;
    std::array<Colour, kPointCount> BaseColor{};
    bool m_settingSlider = false;
};

} // namespace velmix
