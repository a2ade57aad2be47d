// SPDX-License-Identifier: MIT
#pragma once
// The library window "ｸﾞﾗﾃﾞｰｼｮﾝ集": the gradients of the library folders,
// filtered by name, each shown as the seven points it applies as, with the
// largest error where seven points cannot hold it: at the document's image
// size, fitted for it, and said again when the size changes. Applying one is a step of
// the document; adding, renaming, deleting and importing change the folder
// (GradLibrary), and export writes the selected one as .ggr, .svg or .css.

#include "core/document.h"
#include "library/gradlibrary.h"

#include <QWidget>

#include <functional>
#include <set>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QMimeData;
class QModelIndex;
class QPushButton;
class QSortFilterProxyModel;

namespace velmix {

class Dialogs;
class LibraryModel;

class frmLibrary : public QWidget
{
    Q_OBJECT
public:
    frmLibrary(Dialogs& dialogs, GradDocument& document, GradLibrary library);
    ~frmLibrary() override;

    const GradLibrary& library() const { return m_library; }
    // Imports the files, saying every one that failed in one message (over
    // `speaker`, the window they were dropped on; else this one); the
    // library's rows that they became, in order.
    std::vector<int> importFiles(const QStringList& paths, QWidget* speaker = nullptr);
    // The library's row as the document's points: one undo step; the size
    // and the orientation stay.
    void apply(int row);

    // The folders the import and export dialogs last used (empty: none
    // yet, and the dialog offers the home folder); `changed` hears of
    // every new one.
    struct Folders
    {
        QString import, exported;
    };
    void setFolders(const Folders& folders, std::function<void(const Folders&)> changed);

    void cmdApply_Click();
    void cmdAdd_Click();
    void cmdRename_Click();
    void cmdDelete_Click();
    void cmdImport_Click();
    void cmdExport_Click();
    // CSS text from the clipboard, imported.
    void Paste();

    // The width of a row's strip, in pixels.
    static constexpr int kStripWidth = 128;
    static constexpr int kStripHeight = 16;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The controls; others find them by object name.
    QLabel* labFilter = nullptr;
    QLineEdit* txtFilter = nullptr;
    QListView* lstGrad = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRename = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdExport = nullptr;

    void retranslateUi();
    // The library's row of the selected line; -1 when none is.
    int selectedRow() const;
    void select(int row);
    void selectionChanged();
    // Reads the folders again (or takes the library as a change left it),
    // keeping the selection where it can.
    void reload(bool read);
    // The rows whose files are not among `before`.
    std::vector<int> rowsNotIn(const std::set<QString>& before) const;
    std::set<QString> paths() const;
    // The library's entry of a row, and the row of a file (-1: none).
    const LibraryEntry& entry(int row) const;
    int rowOf(const QString& path) const;
    // Selects the first row whose file is not among `before`, if any.
    void selectNew(const std::set<QString>& before);
    // Says a failure of the library's, if it is one.
    bool reported(const Result& result);
    // The folder of a file a dialog chose, kept in `kept` (one of m_folders).
    void keepFolder(QString& kept, const QString& file);

    Dialogs& m_dialogs;
    GradDocument& m_doc;
    GradLibrary m_library;
    LibraryModel* m_model = nullptr;
    QSortFilterProxyModel* m_filter = nullptr;
    Folders m_folders;
    std::function<void(const Folders&)> m_foldersChanged;
};

// Files a drop brings: local files only.
QStringList DroppedFiles(const QMimeData* mime);

} // namespace velmix
