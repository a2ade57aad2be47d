// SPDX-License-Identifier: MIT
#include "library/frmlibrary.h"

#include "common/dialogs.h"
#include "common/failuretext.h"
#include "core/fit.h"
#include "core/webgrad.h"
#include "export/exporter.h"
#include "export/transg.h"
#include "widgets/widgets.h"

#include <QAbstractListModel>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>

#include <optional>

namespace velmix {

namespace {

// The rows whose names hold what is typed, both as FilterKey reads them.
class NameFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setTyped(const QString& typed)
    {
        m_typed = FilterKey(typed);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const QString name = sourceModel()->index(row, 0, parent).data().toString();
        return m_typed.isEmpty() || FilterKey(name).contains(m_typed);
    }

private:
    QString m_typed;
};

// The folder a file dialog opens in: the one last used while it is there,
// else the home folder.
QString Offered(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

enum Role
{
    kStripRole = Qt::UserRole, // QImage: the seven points' strip
    kErrorRole,                // int: the fit's largest error, 0 when exact
    kRowRole,                  // int: the library's row
    kShippedRole,              // bool: shipped with the program, read-only
};

// The largest error of a fit, in levels of 255.
QString ErrorText(int error)
{
    return frmLibrary::tr("誤差 %1").arg(error);
}

// A name as the list shows it: a control character, which a font draws as
// an empty box or not at all, and one that turns the direction of what
// follows (the embeddings, overrides and isolates, the marks), which could
// make a name read as another, as U+FFFD.
QString ShownName(const std::string& name)
{
    QString shown = QString::fromStdString(name);
    for (QChar& c : shown) {
        const char16_t u = c.unicode();
        if (c.category() == QChar::Other_Control || (u >= 0x202A && u <= 0x202E) ||
            (u >= 0x2066 && u <= 0x2069) || u == 0x200E || u == 0x200F)
            c = QChar::ReplacementCharacter;
    }
    return shown;
}

// A row: the strip, its frame, the name and, where the points cannot hold
// the gradient exactly, the error in a quieter colour. The strip is drawn as
// it is, not tinted with the selection as an icon would be: its colours are
// what the row is for.
class RowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {frmLibrary::kStripWidth + 200,
                std::max(frmLibrary::kStripHeight, option.fontMetrics.height()) + 6};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* view = opt.widget;
        QStyle* style = view ? view->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, p, view);
        const QRect r = opt.rect;
        const QRect strip(r.left() + 4, r.top() + (r.height() - frmLibrary::kStripHeight) / 2,
                          frmLibrary::kStripWidth, frmLibrary::kStripHeight);
        p->drawImage(strip.topLeft(), index.data(kStripRole).value<QImage>());
        p->setPen(opt.palette.color(QPalette::Mid));
        p->drawRect(strip.adjusted(-1, -1, 0, 0));
        const bool selected = opt.state & QStyle::State_Selected;
        const QPalette::ColorRole text = selected ? QPalette::HighlightedText : QPalette::Text;
        QRect room = r.adjusted(strip.right() + 10 - r.left(), 0, -4, 0);
        // On the right, quieter: the error, and whether the row is shipped
        // (which is why it cannot be renamed or deleted).
        QStringList notes;
        if (index.data(kShippedRole).toBool())
            notes << frmLibrary::tr("付属");
        if (const int error = index.data(kErrorRole).toInt(); error > 0)
            notes << ErrorText(error);
        if (!notes.isEmpty()) {
            const QString said = notes.join(QStringLiteral("  "));
            p->setPen(opt.palette.color(selected ? QPalette::HighlightedText
                                                 : QPalette::PlaceholderText));
            p->drawText(room, Qt::AlignRight | Qt::AlignVCenter, said);
            room.adjust(0, 0, -opt.fontMetrics.horizontalAdvance(said) - 8, 0);
        }
        p->setPen(opt.palette.color(text));
        p->drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                    opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, room.width()));
    }
};

} // namespace

QStringList DroppedFiles(const QMimeData* mime)
{
    QStringList files;
    if (mime)
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

// The library's gradients as rows. A row's points are fitted only when the
// row is first shown (a fit takes a few milliseconds) and kept until the
// library changes.
class LibraryModel : public QAbstractListModel
{
public:
    LibraryModel(const GradLibrary& library, const GradDocument& document, QObject* parent)
        : QAbstractListModel(parent), m_library(library), m_document(document)
    {
        m_rows.resize(library.entries().size());
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_library.entries().size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount({}))
            return {};
        const auto row = static_cast<std::size_t>(index.row());
        const LibraryEntry& e = m_library.entries()[row];
        switch (role) {
        case Qt::DisplayRole:
            return ShownName(e.gradient.name);
        case Qt::ToolTipRole:
            return e.readOnly
                       ? frmLibrary::tr("%1\n付属のｸﾞﾗﾃﾞｰｼｮﾝです。名前の変更と削除はできません。")
                             .arg(QDir::toNativeSeparators(e.path))
                       : QDir::toNativeSeparators(e.path);
        case Qt::AccessibleTextRole:
            return shown(row).fit.largestError > 0
                       ? QStringLiteral("%1, %2").arg(QString::fromStdString(e.gradient.name),
                                                      ErrorText(shown(row).fit.largestError))
                       : QString::fromStdString(e.gradient.name);
        case kStripRole:
            return shown(row).strip;
        case kErrorRole:
            return shown(row).fit.largestError;
        case kRowRole:
            return index.row();
        case kShippedRole:
            return e.readOnly;
        default:
            return {};
        }
    }

    const FittedPoints& fit(int row) const { return shown(static_cast<std::size_t>(row)).fit; }

    // The library changed under the rows.
    void reset()
    {
        beginResetModel();
        m_rows.assign(m_library.entries().size(), std::nullopt);
        endResetModel();
    }

private:
    struct Shown
    {
        FittedPoints fit;
        QImage strip;
    };

    const Shown& shown(std::size_t row) const
    {
        // The library may have changed under a view that has not been
        // told yet.
        if (row >= m_rows.size())
            m_rows.resize(row + 1);
        std::optional<Shown>& s = m_rows[row];
        if (!s) {
            const FittedPoints fit = PointsFor(m_library.entries()[row].gradient,
                                               m_document.imageSize(), Sampling::Edges);
            QImage strip(frmLibrary::kStripWidth, frmLibrary::kStripHeight, QImage::Format_RGB32);
            PaintLine(strip, DrawGrad(fit.points, frmLibrary::kStripWidth), false);
            s = Shown{fit, strip};
        }
        return *s;
    }

    const GradLibrary& m_library;
    const GradDocument& m_document;
    mutable std::vector<std::optional<Shown>> m_rows;
};

frmLibrary::frmLibrary(Dialogs& dialogs, GradDocument& document, GradLibrary library)
    : QWidget(nullptr, Qt::Window), m_dialogs(dialogs), m_doc(document),
      m_library(std::move(library))
{
    setAcceptDrops(true);
    labFilter = new QLabel(this);
    txtFilter = new QLineEdit(this);
    txtFilter->setClearButtonEnabled(true);
    txtFilter->installEventFilter(this);
    labFilter->setBuddy(txtFilter);

    m_model = new LibraryModel(m_library, m_doc, this);
    // The error said is the error at the size the document draws: said
    // again when the size changes.
    m_doc.listen([window = QPointer<frmLibrary>(this)](unsigned aspects) {
        if (window && (aspects & GradDocument::kSize))
            window->reload(false);
    });
    m_filter = new NameFilter(this);
    m_filter->setSourceModel(m_model);
    lstGrad = new QListView(this);
    lstGrad->setModel(m_filter);
    lstGrad->setItemDelegate(new RowDelegate(lstGrad));
    lstGrad->setUniformItemSizes(true);
    lstGrad->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstGrad->setSelectionMode(QAbstractItemView::SingleSelection);
    lstGrad->setMinimumSize(kStripWidth + 240, 260);

    const auto button = [this](void (frmLibrary::*slot)()) {
        auto* b = new QPushButton(this);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    cmdApply = button(&frmLibrary::cmdApply_Click);
    cmdApply->setDefault(true);
    cmdAdd = button(&frmLibrary::cmdAdd_Click);
    cmdRename = button(&frmLibrary::cmdRename_Click);
    cmdDelete = button(&frmLibrary::cmdDelete_Click);
    cmdImport = button(&frmLibrary::cmdImport_Click);
    cmdExport = button(&frmLibrary::cmdExport_Click);

    // The list's keys: they are the buttons' only while the list has the
    // focus, so that the filter box keeps its own Delete and paste.
    const auto key = [this](const QKeySequence& seq, void (frmLibrary::*slot)()) {
        auto* a = new QAction(lstGrad);
        a->setShortcut(seq);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
        lstGrad->addAction(a);
    };
    key(QKeySequence(Qt::Key_F2), &frmLibrary::cmdRename_Click);
    key(QKeySequence(Qt::Key_Delete), &frmLibrary::cmdDelete_Click);
    key(QKeySequence::Paste, &frmLibrary::Paste);
    // Enter or a double click.
    connect(lstGrad, &QListView::activated, this, &frmLibrary::cmdApply_Click);
    connect(txtFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        static_cast<NameFilter*>(m_filter)->setTyped(text);
        if (selectedRow() < 0 && m_filter->rowCount() > 0)
            lstGrad->setCurrentIndex(m_filter->index(0, 0));
        selectionChanged();
    });
    // Enter in the filter applies what it found.
    connect(txtFilter, &QLineEdit::returnPressed, this, &frmLibrary::cmdApply_Click);
    connect(lstGrad->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmLibrary::selectionChanged);

    auto* top = new QHBoxLayout;
    top->addWidget(labFilter);
    top->addWidget(txtFilter, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdApply, cmdAdd, cmdRename, cmdDelete, cmdImport, cmdExport}) {
        buttons->addWidget(b);
        if (b == cmdApply || b == cmdDelete)
            buttons->addSpacing(12);
    }
    buttons->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(lstGrad, 1);
    middle->addLayout(buttons);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(middle, 1);

    SetObjectNames({{labFilter, "labFilter"},
                    {txtFilter, "txtFilter"},
                    {lstGrad, "lstGrad"},
                    {cmdApply, "cmdApply"},
                    {cmdAdd, "cmdAdd"},
                    {cmdRename, "cmdRename"},
                    {cmdDelete, "cmdDelete"},
                    {cmdImport, "cmdImport"},
                    {cmdExport, "cmdExport"}});
    retranslateUi();
    reload(false);
}

frmLibrary::~frmLibrary()
{
    // The rows read the library, a member that goes before the children:
    // the list and its models go first.
    delete lstGrad;
    delete m_filter;
    delete m_model;
}

void frmLibrary::retranslateUi()
{
    setWindowTitle(tr("ｸﾞﾗﾃﾞｰｼｮﾝ集"));
    labFilter->setText(tr("絞り込み:"));
    txtFilter->setPlaceholderText(tr("名前の一部"));
    lstGrad->setAccessibleName(tr("ｸﾞﾗﾃﾞｰｼｮﾝの一覧"));
    cmdApply->setText(tr("適用(&A)"));
    cmdApply->setToolTip(tr("選んだｸﾞﾗﾃﾞｰｼｮﾝの点に置き換えます (ﾀﾞﾌﾞﾙｸﾘｯｸ、Enter)"));
    cmdAdd->setText(tr("現在の状態を追加(&C)..."));
    cmdAdd->setToolTip(tr("今のｸﾞﾗﾃﾞｰｼｮﾝを名前を付けて加えます"));
    cmdRename->setText(tr("名前の変更(&R)..."));
    cmdRename->setToolTip(tr("F2"));
    cmdDelete->setText(tr("削除(&D)"));
    cmdDelete->setToolTip(tr("Delete"));
    cmdImport->setText(tr("読み込み(&I)..."));
    cmdImport->setToolTip(tr(".ggr、.svg、.css のﾌｧｲﾙを読み込みます (ﾄﾞﾛｯﾌﾟ、CSSは貼り付けも可)"));
    cmdExport->setText(tr("書き出し(&E)..."));
    cmdExport->setToolTip(tr("選んだｸﾞﾗﾃﾞｰｼｮﾝを .ggr、.svg、.css で保存します"));
}

void frmLibrary::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

bool frmLibrary::eventFilter(QObject* watched, QEvent* event)
{
    // The arrow and page keys in the filter move through what it found,
    // so that typing, choosing and Enter need no mouse.
    if (watched == txtFilter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
            key == Qt::Key_PageDown) {
            QApplication::sendEvent(lstGrad, event);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmLibrary::showEvent(QShowEvent* event)
{
    // Files dropped into the folder meanwhile, by hand or by another copy.
    reload(true);
    QWidget::showEvent(event);
}

int frmLibrary::selectedRow() const
{
    const QModelIndex current = lstGrad->currentIndex();
    return current.isValid() ? current.data(kRowRole).toInt() : -1;
}

void frmLibrary::select(int row)
{
    const QModelIndex at = m_filter->mapFromSource(m_model->index(row, 0));
    // A row the filter hides: the filter gives way.
    if (!at.isValid() && row >= 0 && row < m_model->rowCount({})) {
        txtFilter->clear();
        return select(row);
    }
    lstGrad->setCurrentIndex(at.isValid() ? at : m_filter->index(0, 0));
    lstGrad->scrollTo(lstGrad->currentIndex());
    selectionChanged();
}

void frmLibrary::selectionChanged()
{
    const int row = selectedRow();
    const bool own = row >= 0 && !entry(row).readOnly;
    cmdApply->setEnabled(row >= 0);
    cmdExport->setEnabled(row >= 0);
    cmdRename->setEnabled(own);
    cmdDelete->setEnabled(own);
}

std::set<QString> frmLibrary::paths() const
{
    std::set<QString> all;
    for (const LibraryEntry& e : m_library.entries())
        all.insert(e.path);
    return all;
}

std::vector<int> frmLibrary::rowsNotIn(const std::set<QString>& before) const
{
    std::vector<int> rows;
    const std::vector<LibraryEntry>& entries = m_library.entries();
    for (std::size_t k = 0; k < entries.size(); ++k)
        if (!before.contains(entries[k].path))
            rows.push_back(static_cast<int>(k));
    return rows;
}

void frmLibrary::reload(bool read)
{
    const int row = selectedRow();
    const QString path = row >= 0 ? entry(row).path : QString();
    if (read)
        m_library.reload();
    m_model->reset();
    select(m_library.entries().empty() ? -1 : std::max(rowOf(path), 0));
}

const LibraryEntry& frmLibrary::entry(int row) const
{
    return m_library.entries()[static_cast<std::size_t>(row)];
}

int frmLibrary::rowOf(const QString& path) const
{
    const std::vector<LibraryEntry>& entries = m_library.entries();
    for (std::size_t k = 0; k < entries.size(); ++k)
        if (entries[k].path == path)
            return static_cast<int>(k);
    return -1;
}

void frmLibrary::selectNew(const std::set<QString>& before)
{
    if (const std::vector<int> rows = rowsNotIn(before); !rows.empty())
        select(rows.front());
}

bool frmLibrary::reported(const Result& result)
{
    if (result.ok())
        return false;
    m_dialogs.message(this, MsgIcon::Error, ResultText(result));
    return true;
}

void frmLibrary::apply(int row)
{
    if (row < 0 || row >= static_cast<int>(m_library.entries().size()))
        return;
    m_doc.setPoints(m_model->fit(row).points, EditStep::Library);
}

void frmLibrary::cmdApply_Click()
{
    apply(selectedRow());
}

void frmLibrary::cmdAdd_Click()
{
    const std::optional<QString> name =
        m_dialogs.text(this, tr("ｸﾞﾗﾃﾞｰｼｮﾝの名前:"), tr("新しいｸﾞﾗﾃﾞｰｼｮﾝ"));
    if (!name)
        return;
    if (name->trimmed().isEmpty()) {
        m_dialogs.message(this, MsgIcon::Exclamation, tr("名前を入力してください。"));
        return;
    }
    const std::set<QString> before = paths();
    const Result added =
        m_library.add(GradientFromPoints(name->trimmed().toStdString(), m_doc.points()));
    reload(false);
    if (!reported(added))
        selectNew(before);
}

void frmLibrary::cmdRename_Click()
{
    const int row = selectedRow();
    if (row < 0 || entry(row).readOnly)
        return;
    const QString old = QString::fromStdString(entry(row).gradient.name);
    const std::optional<QString> name = m_dialogs.text(this, tr("新しい名前:"), old);
    if (!name || name->trimmed() == old)
        return;
    if (name->trimmed().isEmpty()) {
        m_dialogs.message(this, MsgIcon::Exclamation, tr("名前を入力してください。"));
        return;
    }
    const std::set<QString> before = paths();
    const Result renamed = m_library.rename(row, name->trimmed());
    reload(false);
    if (!reported(renamed))
        selectNew(before);
}

void frmLibrary::cmdDelete_Click()
{
    const int row = selectedRow();
    if (row < 0 || entry(row).readOnly)
        return;
    const QString name = QString::fromStdString(entry(row).gradient.name);
    if (!m_dialogs.question(this, tr("「%1」をｸﾞﾗﾃﾞｰｼｮﾝ集から削除しますか?").arg(name)))
        return;
    const Result removed = m_library.remove(row);
    reload(false);
    // The row that took its place.
    select(std::min(row, static_cast<int>(m_library.entries().size()) - 1));
    reported(removed);
}

std::vector<int> frmLibrary::importFiles(const QStringList& files, QWidget* speaker)
{
    // The new files in the order of what was dropped or chosen.
    std::vector<QString> fresh;
    QStringList failed;
    for (const QString& file : files) {
        const std::set<QString> before = paths();
        std::vector<NamedGradient> gradients;
        Result imported = GradLibrary::ReadFile(file, gradients);
        if (imported.ok() && gradients.size() > 1) {
            // A file of several: one of them, or all, as the person picks.
            QStringList items{tr("すべて (%1個)").arg(gradients.size())};
            for (const NamedGradient& g : gradients)
                items << ShownName(g.name);
            const std::optional<int> picked = m_dialogs.choose(
                speaker ? speaker : this, tr("ｸﾞﾗﾃﾞｰｼｮﾝの読み込み"),
                tr("%1 には %2 個のｸﾞﾗﾃﾞｰｼｮﾝがあります。読み込むものを選んでください。")
                    .arg(QFileInfo(file).fileName())
                    .arg(gradients.size()),
                items);
            if (!picked)
                continue;
            if (*picked > 0)
                gradients = {gradients[static_cast<std::size_t>(*picked - 1)]};
        }
        if (imported.ok())
            imported = m_library.addAll(gradients).during(FailedTask::ImportGradient);
        if (!imported.ok()) {
            // The message names the file the user chose.
            Failure failure = imported.failure();
            if (failure.path.empty())
                failure.path = file.toStdString();
            failed << ResultText(failure);
        }
        for (const int row : rowsNotIn(before))
            fresh.push_back(entry(row).path);
    }
    reload(false);
    std::vector<int> rows;
    for (const QString& path : fresh)
        if (const int row = rowOf(path); row >= 0)
            rows.push_back(row);
    if (!rows.empty())
        select(rows.front());
    if (!failed.isEmpty())
        m_dialogs.message(speaker ? speaker : this, MsgIcon::Error,
                          failed.join(QStringLiteral("\r\n\r\n")));
    return rows;
}

void frmLibrary::setFolders(const Folders& folders, std::function<void(const Folders&)> changed)
{
    m_folders = folders;
    m_foldersChanged = std::move(changed);
}

void frmLibrary::keepFolder(QString& kept, const QString& file)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (folder == kept)
        return;
    kept = folder;
    if (m_foldersChanged)
        m_foldersChanged(m_folders);
}

void frmLibrary::cmdImport_Click()
{
    const QStringList files = m_dialogs.openFileNames(
        this, tr("ｸﾞﾗﾃﾞｰｼｮﾝ(*.GGR;*.SVG;*.CSS)|*.ggr *.svg *.css|すべてのﾌｧｲﾙ(*.*)|*"),
        Offered(m_folders.import));
    if (files.isEmpty())
        return;
    keepFolder(m_folders.import, files.front());
    importFiles(files);
}

void frmLibrary::cmdExport_Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const NamedGradient& g = entry(row).gradient;
    SaveFileRequest request{tr("GIMPｸﾞﾗﾃﾞｰｼｮﾝ(*.GGR)|*.ggr|SVG(*.SVG)|*.svg|CSS(*.CSS)|*.css"),
                            Offered(m_folders.exported),
                            GradLibrary::FileNameFor(QString::fromStdString(g.name)),
                            QStringLiteral("ggr")};
    const std::optional<QString> path = m_dialogs.saveFileName(this, request);
    if (!path)
        return;
    keepFolder(m_folders.exported, *path);
    const QString type = QFileInfo(*path).suffix().toLower();
    if (type == QLatin1String("svg") || type == QLatin1String("css")) {
        // The web types draw the seven points, at the document's size and
        // orientation, as the main window's export would.
        const WebGradient web{m_model->fit(row).points, m_doc.imageSize(), m_doc.vertical(), 1};
        reported(ExportWebFile(web, *path, type == QLatin1String("svg")));
        return;
    }
    // The gradient as it is, every segment kept.
    reported(SaveTextFile(WriteGgr(g), path->toStdString()));
}

void frmLibrary::Paste()
{
    // The reader of files: text pasted is read as the same text in a file.
    const QString text = QGuiApplication::clipboard()->text();
    const GradImport read = ImportText(text.toUtf8(), tr("貼り付け"));
    if (read.gradients.empty()) {
        reported(Failure::Refusing(FailureKind::NotUnderstood, {}, read.refusal,
                                   FailedTask::ImportGradient));
        return;
    }
    const std::set<QString> before = paths();
    const Result added = m_library.addAll(read.gradients);
    // The rows match the library again before a message lets the list
    // repaint.
    reload(false);
    selectNew(before);
    reported(added);
}

void frmLibrary::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmLibrary::dropEvent(QDropEvent* event)
{
    const QStringList files = DroppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    importFiles(files);
}

} // namespace velmix
