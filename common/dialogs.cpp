// SPDX-License-Identifier: MIT
#include "common/dialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace velmix {

// The program's texts break lines with "\r\n"; a box would show the "\r".
static QString BoxText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void QtDialogs::message(QWidget* parent, MsgIcon icon, const QString& text)
{
    const QMessageBox::Icon qicon = icon == MsgIcon::Error         ? QMessageBox::Critical
                                    : icon == MsgIcon::Exclamation ? QMessageBox::Warning
                                                                   : QMessageBox::NoIcon;
    QMessageBox box(qicon, QStringLiteral("Velmix"), BoxText(text), QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QColor> QtDialogs::color(QWidget* parent, const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, parent);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

QStringList SaveNameFilters(const QString& filter)
{
    // Each type shows its own text once; the patterns after it, hidden in
    // the list, match the extension in any case (sky.Png is a PNG too).
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern;
        for (const QChar c : parts[i + 1])
            pattern +=
                c.isLetter() ? QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper()) : QString(c);
        filters << QStringLiteral("%1 (%2)").arg(parts[i], pattern);
    }
    return filters;
}

namespace {

// Qt's save dialog, where a name typed without an extension gets the chosen
// type's, as in every desktop program: the type picked is the type written,
// and the question before overwriting names the file that will be replaced.
class SaveDialog : public QFileDialog
{
public:
    SaveDialog(QWidget* parent, const QString& filter, const QString& type) : QFileDialog(parent)
    {
        const QStringList parts = filter.split(QLatin1Char('|'));
        for (int i = 0; i + 1 < parts.size(); i += 2) {
            m_texts << parts[i];
            m_suffixes << parts[i + 1].section(QLatin1Char('.'), -1);
        }
        m_filters = SaveNameFilters(filter);
        // The patterns are hidden (the list shows each type's own text),
        // before the types are set: setting it again would start at the first.
        setOption(QFileDialog::HideNameFilterDetails);
        setNameFilters(m_filters);
        const QString first = m_filters.value(std::max<int>(0, m_suffixes.indexOf(type.toLower())));
        selectNameFilter(first);
        // Native dialogs add the suffix themselves, told at each change.
        connect(this, &QFileDialog::filterSelected, this, &SaveDialog::useSuffixOf);
        useSuffixOf(first);
    }

    void accept() override
    {
        useSuffixOf(selectedNameFilter());
        QFileDialog::accept();
    }

private:
    // By the whole filter or by the text the list shows of it.
    void useSuffixOf(const QString& nameFilter)
    {
        const qsizetype i = m_filters.indexOf(nameFilter);
        setDefaultSuffix(m_suffixes.value(i >= 0 ? i : m_texts.indexOf(nameFilter)));
    }

    QStringList m_texts;
    QStringList m_filters;
    QStringList m_suffixes;
};

} // namespace

std::optional<QString> QtDialogs::saveFileName(QWidget* parent, const SaveFileRequest& req)
{
    SaveDialog dlg(parent, req.filter, req.type);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    if (!req.initialDir.isEmpty())
        dlg.setDirectory(req.initialDir);
    if (!req.fileName.isEmpty())
        dlg.selectFile(req.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().constFirst();
}

QFont FontDialogPreset(const QFont& font)
{
    // The face drawn (a missing face's substitute) and, of its styles by
    // their own names, the one nearest in weight with the same slant: a
    // style the dialog cannot name would be guessed ("Book" taken for
    // "Oblique").
    const QString family = QFontInfo(font).family();
    QFont preset(family);
    preset.setPointSizeF(font.pointSizeF());
    preset.setBold(font.bold());
    preset.setItalic(font.italic());
    int best = 1 << 30;
    for (const QString& style : QFontDatabase::styles(family)) {
        // Oblique counts as slanted too; condensed and expanded faces last.
        const QFont face = QFontDatabase::font(family, style, 12);
        if ((face.style() != QFont::StyleNormal) != font.italic())
            continue;
        // The database leaves a face's width unset; its style name says it.
        static const QRegularExpression widthWord(
            QStringLiteral("condensed|narrow|compressed|expanded|extended|wide"),
            QRegularExpression::CaseInsensitiveOption);
        const int stretch = face.stretch() > 0 && face.stretch() != 100 ? face.stretch()
                            : style.contains(widthWord)                 ? 50
                                                                        : 100;
        const int distance = std::abs(face.weight() - font.weight()) + 10 * std::abs(stretch - 100);
        if (distance < best) {
            best = distance;
            preset.setStyleName(style);
        }
    }
    return preset;
}

std::optional<QFont> QtDialogs::font(QWidget* parent, const QFont& initial)
{
    QFontDialog dlg(parent);
    dlg.setCurrentFont(FontDialogPreset(initial));
    const QFont opened = dlg.currentFont();
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont chosen = dlg.selectedFont();
    // OK without a change hands back exactly what was asked about, also
    // where the dialog could only show a substitute.
    if (chosen.family() == opened.family() && chosen.styleName() == opened.styleName() &&
        chosen.pointSizeF() == opened.pointSizeF() && chosen.bold() == opened.bold() &&
        chosen.italic() == opened.italic())
        return initial;
    return chosen;
}

void QtDialogs::runModal(QDialog* dialog)
{
    dialog->exec();
}

bool QtDialogs::question(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Velmix"), BoxText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::text(QWidget* parent, const QString& prompt,
                                       const QString& initial)
{
    bool ok = false;
    const QString typed = QInputDialog::getText(parent, QStringLiteral("Velmix"), prompt,
                                                QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return typed;
}

std::optional<int> QtDialogs::choose(QWidget* parent, const QString& title, const QString& label,
                                     const QStringList& items)
{
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, title, label, items, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    return int(items.indexOf(item));
}

QStringList QtDialogs::openFileNames(QWidget* parent, const QString& filter,
                                     const QString& initialDir)
{
    QFileDialog dlg(parent);
    // The list shows each type's own text, as the save dialog does.
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setNameFilters(SaveNameFilters(filter));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFiles);
    if (!initialDir.isEmpty())
        dlg.setDirectory(initialDir);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles();
}

void ScriptedDialogs::message(QWidget*, MsgIcon icon, const QString& text)
{
    messages.emplace_back(icon, text);
}

// The next scripted answer; none left answers as Cancel or No would.
template <typename T> static T TakeFront(std::deque<T>& q)
{
    T v{};
    if (!q.empty()) {
        std::swap(v, q.front());
        q.pop_front();
    }
    return v;
}

std::optional<QColor> ScriptedDialogs::color(QWidget*, const QColor& initial)
{
    colorPresets.push_back(initial);
    return TakeFront(colors);
}

std::optional<QString> ScriptedDialogs::saveFileName(QWidget*, const SaveFileRequest& req)
{
    saveRequests.push_back(req);
    return TakeFront(files);
}

std::optional<QFont> ScriptedDialogs::font(QWidget*, const QFont& initial)
{
    fontPresets.push_back(initial);
    return TakeFront(fonts);
}

void ScriptedDialogs::runModal(QDialog* dialog)
{
    ++modalCount;
    dialog->show();
    if (!modals.empty()) {
        auto script = std::move(modals.front());
        modals.pop_front();
        script(dialog);
    }
    if (dialog && dialog->isVisible())
        dialog->hide();
}

bool ScriptedDialogs::question(QWidget*, const QString& text)
{
    questions.push_back(text);
    return TakeFront(answers);
}

std::optional<QString> ScriptedDialogs::text(QWidget*, const QString& prompt,
                                             const QString& initial)
{
    textPrompts.emplace_back(prompt, initial);
    return TakeFront(texts);
}

QStringList ScriptedDialogs::openFileNames(QWidget*, const QString& filter,
                                           const QString& initialDir)
{
    openFilters.push_back(filter);
    openDirs.push_back(initialDir);
    return TakeFront(openFiles);
}

std::optional<int> ScriptedDialogs::choose(QWidget*, const QString&, const QString&,
                                           const QStringList& items)
{
    choiceItems.push_back(items);
    return TakeFront(choices);
}

} // namespace velmix
