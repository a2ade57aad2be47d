// SPDX-License-Identifier: MIT
#pragma once
// Undo and redo for the main window: the two menu items, a view of the
// document's history that names the step each would take back or do again.

#include "core/document.h"

#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace velmix {

class UndoMenu : public QObject
{
    Q_OBJECT
public:
    // Puts "元に戻す" and "やり直し" and a separator before the menu's first
    // item.
    UndoMenu(QMenu* menu, GradDocument& document, QObject* parent);

    // The undo and redo keys also work while `window` is the active window.
    void addShortcutsTo(QWidget* window);
    void Undo();
    void Redo();

    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }
    static QString caption(EditStep step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    GradDocument& m_document;
    QAction* m_undo;
    QAction* m_redo;
};

} // namespace velmix
