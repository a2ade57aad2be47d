#include "dialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QStringList>

namespace velmix {

void QtDialogs::message(QWidget* parent, MsgIcon icon, const QString& text)
{
    const QMessageBox::Icon qicon = icon == MsgIcon::Error         ? QMessageBox::Critical
                                    : icon == MsgIcon::Exclamation ? QMessageBox::Warning
                                                                   : QMessageBox::NoIcon;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(qicon, QStringLiteral("Velmix"), shown, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QColor> QtDialogs::color(QWidget* parent, const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, parent);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<QString> QtDialogs::saveFileName(QWidget* parent, const SaveFileRequest& req)
{
    QFileDialog dlg(parent);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    // "text|pattern|..." pairs; patterns are offered in both cases, as the
    // names on this system's disks are case-sensitive.
    const QStringList parts = req.filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2 %3)").arg(parts[i], parts[i + 1], parts[i + 1].toUpper());
    dlg.setNameFilters(filters);
    if (!req.initialDir.isEmpty())
        dlg.setDirectory(req.initialDir);
    if (!req.fileName.isEmpty())
        dlg.selectFile(req.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().constFirst();
}

std::optional<QFont> QtDialogs::font(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return f;
}

void QtDialogs::runModal(QDialog* dialog)
{
    dialog->exec();
}

void ScriptedDialogs::message(QWidget*, MsgIcon icon, const QString& text)
{
    messages.emplace_back(icon, text);
}

template <typename T> static std::optional<T> TakeFront(std::deque<std::optional<T>>& q)
{
    std::optional<T> v;
    if (!q.empty()) {
        v.swap(q.front());
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

} // namespace velmix
