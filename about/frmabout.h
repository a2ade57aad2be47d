// SPDX-License-Identifier: MIT
#pragma once
// The about box: title, version and the System Information button.

#include "about/sysinfo.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace velmix {

class Dialogs;

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    // places: the program's files, for the system information.
    frmAbout(Dialogs& dialogs, QWidget* parent, SystemPlaces places = {});

    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The controls; others find them by object name.
    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* labAuthor = nullptr;
    QLabel* lblDescription = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    void Form_Load();
    Dialogs& m_dialogs;
    SystemPlaces m_places;
};

} // namespace velmix
