// SPDX-License-Identifier: MIT
#include "main/undomenu.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace velmix {

UndoMenu::UndoMenu(QMenu* menu, GradDocument& document, QObject* parent)
    : QObject(parent), m_document(document)
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
    m_document.listen([this](unsigned aspects) {
        if (aspects & GradDocument::kHistory)
            refresh();
    });
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
    case EditStep::Library:
        return UndoMenu::tr("ｸﾞﾗﾃﾞｰｼｮﾝ集から適用");
    case EditStep::Size:
        break;
    }
    return UndoMenu::tr("ｻｲｽﾞの変更");
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
    m_document.undo();
}

void UndoMenu::Redo()
{
    m_document.redo();
}

void UndoMenu::refresh()
{
    const auto set = [](QAction* a, const QString& text, bool can, int label) {
        a->setEnabled(can);
        a->setText(can ? text + QStringLiteral(" - ") + caption(static_cast<EditStep>(label))
                       : text);
    };
    const EditHistory& history = m_document.history();
    set(m_undo, UndoMenu::tr("元に戻す(&U)"), history.canUndo(),
        history.canUndo() ? history.undoLabel() : 0);
    set(m_redo, UndoMenu::tr("やり直し(&Y)"), history.canRedo(),
        history.canRedo() ? history.redoLabel() : 0);
}

} // namespace velmix
