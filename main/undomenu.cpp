// SPDX-License-Identifier: MIT
#include "main/undomenu.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace velmix {

namespace {

// A change that no step reported (none of the window's own paths leaves one)
// is named by what differs.
EditStep Guess(const EditState& from, const EditState& to)
{
    if (from.points.color != to.points.color)
        return EditStep::Colour;
    if (from.points.enabled != to.points.enabled)
        return EditStep::Check;
    if (from.points.position != to.points.position)
        return EditStep::Slider;
    if (from.orientation != to.orientation)
        return EditStep::Orientation;
    if (from.points.blend != to.points.blend)
        return EditStep::Blend;
    return EditStep::Size;
}

} // namespace

UndoMenu::UndoMenu(QMenu* menu, Hooks hooks, QObject* parent)
    : QObject(parent), m_hooks(std::move(hooks)),
      m_history(m_hooks.read(), m_hooks.limit, m_hooks.clock)
{
    QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().constFirst();
    m_undo = new QAction(menu);
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = new QAction(menu);
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    menu->insertAction(first, m_undo);
    menu->insertAction(first, m_redo);
    menu->insertSeparator(first);
    connect(m_undo, &QAction::triggered, this, &UndoMenu::Undo);
    connect(m_redo, &QAction::triggered, this, &UndoMenu::Redo);
    // The menu is told of a change of language; its two items are ours.
    menu->installEventFilter(this);
    refresh();
}

bool UndoMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        refresh();
    return QObject::eventFilter(watched, event);
}

QString UndoMenu::caption(EditStep step)
{
    switch (step) {
    case EditStep::Check:
        return UndoMenu::tr("Enabledの変更");
    case EditStep::Slider:
        return UndoMenu::tr("点の移動");
    case EditStep::Colour:
        return UndoMenu::tr("色の変更");
    case EditStep::RandomUniform:
        return UndoMenu::tr("色のﾗﾝﾀﾞﾑ決定(一様乱数)");
    case EditStep::RandomNatural:
        return UndoMenu::tr("色のﾗﾝﾀﾞﾑ決定(自然)");
    case EditStep::Brightness:
        return UndoMenu::tr("明度の調整");
    case EditStep::Equal:
        return UndoMenu::tr("点を等間隔に配置");
    case EditStep::Restore:
        return UndoMenu::tr("記憶内容を復帰");
    case EditStep::Orientation:
        return UndoMenu::tr("横型・縦型の切替");
    case EditStep::Blend:
        return UndoMenu::tr("補間の変更");
    case EditStep::Size:
        break;
    }
    return UndoMenu::tr("ｻｲｽﾞの変更");
}

void UndoMenu::record(EditStep step, int mergeKey)
{
    if (m_applying)
        return;
    if (m_history.record(m_hooks.read(), static_cast<int>(step), mergeKey))
        refresh();
}

void UndoMenu::addShortcutsTo(QWidget* window)
{
    for (const auto& [item, run] :
         {std::pair{m_undo, &UndoMenu::Undo}, {m_redo, &UndoMenu::Redo}}) {
        auto* key = new QAction(window);
        key->setShortcuts(item->shortcuts());
        connect(key, &QAction::triggered, this, run);
        window->addAction(key);
    }
}

void UndoMenu::Undo()
{
    go(true);
}

void UndoMenu::Redo()
{
    go(false);
}

void UndoMenu::go(bool back)
{
    if (m_applying)
        return;
    if (m_hooks.commit)
        m_hooks.commit();
    // A change nobody reported still counts: undo takes it back first.
    const EditState shown = m_hooks.read();
    if (shown != m_history.current())
        m_history.record(shown, static_cast<int>(Guess(m_history.current(), shown)));
    if (back ? !m_history.canUndo() : !m_history.canRedo()) {
        refresh();
        return;
    }
    const EditState target = back ? m_history.undo() : m_history.redo();
    m_applying = true;
    m_hooks.apply(target);
    m_applying = false;
    refresh();
}

void UndoMenu::refresh()
{
    const auto set = [](QAction* a, const QString& text, bool can, int label) {
        a->setEnabled(can);
        a->setText(can ? text + QStringLiteral(" - ") + caption(static_cast<EditStep>(label))
                       : text);
    };
    set(m_undo, UndoMenu::tr("元に戻す(&U)"), m_history.canUndo(),
        m_history.canUndo() ? m_history.undoLabel() : 0);
    set(m_redo, UndoMenu::tr("やり直し(&Y)"), m_history.canRedo(),
        m_history.canRedo() ? m_history.redoLabel() : 0);
}

} // namespace velmix
