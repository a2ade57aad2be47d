// SPDX-License-Identifier: MIT
#pragma once
// The tile window: the work picture repeated edge to edge in picGrad, the
// way a browser shows a page background, the saved image once as a strip on
// the window's own surface, and sample text over the tiles. It follows the
// document and the export options by itself: a dithered export is shown as
// it will be saved.

#include "core/document.h"
#include "core/exportoptions.h"
#include "settings/settings.h"

#include <QImage>
#include <QWidget>

#include "core/gradient.h"

#include <array>
#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace velmix {

class ColorBox;
class CrossLabel;
class Dialogs;
class ImageBox;

class frmTile : public QWidget
{
    Q_OBJECT
public:
    // sampleText: the window's own settings as the settings file held them.
    frmTile(Dialogs& dialogs, const SampleTextFontT& sampleText, const GradDocument& doc,
            const ExportOptions& options);
    ~frmTile() override;

    // The sample text's settings, for the settings file; sampleTextChanged
    // tells when the user changed them.
    const SampleTextFontT& sampleText() const { return m_sampleText; }

    // Shown, restored from the task bar, raised and drawn.
    void Open();
    // The work picture the tiles repeat, as of the document now.
    const QImage& picWork();

    void ChkText_Click();
    void CmdFont_Click();
    void picForeColor_Click();
    void picForeColor_KeyPress(int KeyAscii);

    // The window's own surface, where the saved-image strip is drawn.
    const QImage& surfaceImage() const { return m_surface; }

    // The outer frame the layout rules were made for: the design client area
    // plus this gives the design rectangle of picGrad.
    static constexpr int kFrameWidth = 4;
    static constexpr int kFrameHeight = 22;

signals:
    void sampleTextChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls; others find them by object name.
    ImageBox* picGrad = nullptr;
    QLabel* LabSavePicture = nullptr;
    QCheckBox* ChkText = nullptr;
    QLabel* LabForeColor = nullptr;
    ColorBox* picForeColor = nullptr;
    CrossLabel* LabX = nullptr;
    QPushButton* CmdFont = nullptr;
    std::array<QLabel*, 4> Labsample{};
    QFrame* Line1 = nullptr;
    // The status line along the window's bottom edge, below the tiles, and
    // in it the lowest contrast of the sample text's colour over the strip
    // (shown with the sample text): nothing covers the page being judged.
    QFrame* fraStatus = nullptr;
    QLabel* LabContrast = nullptr;

    void Form_Load();
    // The texts in the current language, and the window's least size for them.
    void retranslateTexts();
    void fitTopRow();
    void LayoutForm();
    void SetTextColor();
    void SetSampleFont();
    void ShowContrast();
    void fitSurface();
    void PrintTile();
    void RefreshForm();
    bool vertical() const { return m_doc.vertical(); }

    Dialogs& m_dialogs;
    SampleTextFontT m_sampleText;
    const GradDocument& m_doc;
    const ExportOptions& m_options;
    QImage m_picWork;
    unsigned long m_picWorkRevision = 0;
    bool m_picWorkDithered = false;
    QImage m_surface;
    std::vector<Colour> m_strip; // the colours of the last work picture, along it
    int m_line1X1 = 8;
    int m_statusHeight = 0;
};

} // namespace velmix
