#pragma once
// The options dialog shown before every save or copy: the thickness of the
// exported image across the gradient, and the size that results.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmix {

class Dialogs;
class UpDown;
struct Module1;

class frmOption : public QDialog
{
    Q_OBJECT
public:
    frmOption(Module1& state, Dialogs& dialogs, QWidget* parent);

    void Form_Activate();
    void chkHeight_Click();
    void txtSize_Change();
    void cmdOK_Click();
    void CmdCancel_Click();

    // Closed from its close box: the owner makes a new one before next use.
    bool destroyedByUser() const { return m_destroyed; }

    QGroupBox* fraHeight = nullptr;
    QCheckBox* chkHeight = nullptr;
    QLabel* lblHeight = nullptr;
    QLineEdit* txtSize = nullptr;
    UpDown* updSize = nullptr;
    QLabel* lblSTatic = nullptr;
    QLabel* lblSize = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* CmdCancel = nullptr;
    QString ModeName;

    static constexpr int kMaxThickness = 32767;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void SetHeightState();
    void ShowSizeLabel();

    Module1& m;
    Dialogs& m_dialogs;
    bool m_destroyed = false;
};

} // namespace velmix
