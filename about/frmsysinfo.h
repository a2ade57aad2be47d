// SPDX-License-Identifier: MIT
#pragma once
// The system information window: the facts GatherSystemFacts finds, to read
// and to copy as plain text into a bug report.

#include "about/sysinfo.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace velmix {

class frmSysInfo : public QDialog
{
    Q_OBJECT
public:
    frmSysInfo(const std::vector<SystemFact>& facts, QWidget* parent);

    void cmdCopy_Click();

private:
    // The controls; others find them by object name.
    QPlainTextEdit* txtInfo = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdClose = nullptr;
};

} // namespace velmix
