// SPDX-License-Identifier: MIT
#pragma once
// The options dialog shown before every save or copy: the thickness of the
// exported image across the gradient, and the size that results.

#include "core/webgrad.h"

#include <QDialog>

#include "core/exportoptions.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velmix {

class Dialogs;
class UpDown;

// What the dialog is told of the picture before it is shown.
struct OptionTarget
{
    bool saveMode = true;   // a file, or else the clipboard
    int orientation = 0;    // 0 horizontal, 1 vertical
    int imageSize = 100;    // the length along the gradient
    bool ditherable = true; // BMP, PNG or the clipboard: the dither box applies
    bool css = false;       // a CSS file: the selector and the repeat are offered
};

class frmOption : public QDialog
{
    Q_OBJECT
public:
    // options: what the dialog edits and shows; it starts from them.
    frmOption(Dialogs& dialogs, QWidget* parent, ExportOptions& options);

    void setTarget(const OptionTarget& target) { m_target = target; }
    // The thickness the picture gets: the size box's number when the box is
    // checked, else one pixel.
    int saveHeight() const { return m_options.value().saveHeight; }
    // The thickness box: checked, and its number. Setting it acts as the
    // user's typing and clicking would.
    bool thicknessOn() const;
    void setThickness(bool on, int value);
    // The dither box, kept whether or not the target takes it.
    bool dither() const;
    void setDither(bool on);
    // The CSS rule's selector and repeat, kept whether or not the target is
    // CSS; OK takes a change into the options.
    CssPage cssPage() const { return m_options.value().page; }
    void setCssPage(const CssPage& page);
    // The last showing ended without OK.
    bool cancelled() const { return m_cancelled; }

    void Form_Activate();
    void chkHeight_Click();
    void txtSize_Change();
    int txtSize_KeyPress(int KeyAscii);
    void cmdOK_Click();
    void CmdCancel_Click();

    // Closed from its close box: the owner makes a new one before next use.
    bool destroyedByUser() const { return m_destroyed; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void retranslateUi();
    // The controls; others find them by object name.
    QGroupBox* fraHeight = nullptr;
    QCheckBox* chkHeight = nullptr;
    QLabel* lblHeight = nullptr;
    QLineEdit* txtSize = nullptr;
    UpDown* updSize = nullptr;
    QCheckBox* chkDither = nullptr;
    QGroupBox* fraCss = nullptr;
    QLabel* lblSelector = nullptr;
    QLineEdit* txtSelector = nullptr;
    QRadioButton* optTile = nullptr;
    QRadioButton* optAxis = nullptr;
    QLabel* lblSTatic = nullptr;
    QLabel* lblSize = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* CmdCancel = nullptr;
    QString ModeName;

    void SetHeightState();
    void ShowSizeLabel();

    void setSaveHeight(int value);
    // The controls as the options stand (changed by a restore or its undo).
    void showOptions();
    void edit(const std::function<void(ExportChoice&)>& change);

    Dialogs& m_dialogs;
    ExportOptions& m_options;
    OptionTarget m_target;
    bool m_cancelled = false;
    bool m_destroyed = false;
};

} // namespace velmix
