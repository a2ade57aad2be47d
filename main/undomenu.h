// SPDX-License-Identifier: MIT
#pragma once
// Undo and redo for the main window: the two menu items and the history
// behind them. The window tells it after each finished change what kind of
// step it was; undo and redo hand a whole edit state back to the window,
// which applies it through its ordinary handlers.

#include "core/edithistory.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace velmix {

enum class EditStep
{
    Check,
    Slider,
    Colour,
    RandomUniform,
    RandomNatural,
    Brightness,
    Equal,
    Restore,
    Orientation,
    Size,
    Blend,
};

class UndoMenu : public QObject
{
    Q_OBJECT
public:
    struct Hooks
    {
        std::function<EditState()> read;                // the state the window shows
        std::function<void(const EditState&)> apply;    // makes the window show one
        std::function<void()> commit;                   // finishes an edit in progress
        std::size_t limit = EditHistory::kDefaultLimit; // steps kept
        EditHistory::Clock clock;                       // null: the steady clock
    };

    // Puts "元に戻す" and "やり直し" and a separator before the menu's first
    // item. The history starts from the state the window shows now.
    UndoMenu(QMenu* menu, Hooks hooks, QObject* parent);

    // A change of the given kind has finished; changes while a state is
    // being applied are not steps.
    void record(EditStep step, int mergeKey = EditHistory::kNoMerge);
    // The undo and redo keys also work while `window` is the active window.
    void addShortcutsTo(QWidget* window);
    void Undo();
    void Redo();

    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }
    const EditHistory& history() const { return m_history; }
    static QString caption(EditStep step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void go(bool back);
    void refresh();

    Hooks m_hooks;
    EditHistory m_history;
    QAction* m_undo;
    QAction* m_redo;
    bool m_applying = false;
};

} // namespace velmix
