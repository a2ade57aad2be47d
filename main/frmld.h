// SPDX-License-Identifier: MIT
#pragma once
// The brightness dialog: one offset added to every channel of every enabled
// point, live, always from the colours the dialog found when it opened.

#include "core/gradient.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace velmix {

// Told the points before it is shown; reports every change as the points
// to show (pointsChanged), Cancel included.
class frmLD : public QDialog
{
    Q_OBJECT
public:
    explicit frmLD(QWidget* parent);

    void setPoints(const GradPoints& points) { m_points = points; }

    void Form_Load();
    void sldLD_Scroll();
    void txtLD_Change();
    int txtLD_KeyPress(int KeyAscii);
    void cmdOK_Click();
    void CmdCancel_Click();

    static constexpr int kLimit = 255;

signals:
    void pointsChanged(const GradPoints& points);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void retranslateUi();
    // The controls; others find them by object name.
    QLabel* Label1 = nullptr;
    QLineEdit* txtLD = nullptr;
    QSlider* sldLD = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* CmdCancel = nullptr;

    void ApplyLD(int Delta);

    GradPoints m_points;
    std::array<Colour, kPointCount> BaseColor{};
    bool m_settingSlider = false;
};

} // namespace velmix
