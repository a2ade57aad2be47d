// SPDX-License-Identifier: MIT
#pragma once
// Every modal question the program asks goes through Dialogs: the Qt
// implementation shows real dialogs, ScriptedDialogs answers from queues so
// that every handler runs in tests without a person.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QDialog;
class QWidget;

namespace velmix {

enum class MsgIcon
{
    None,
    Exclamation,
    Error
};

struct SaveFileRequest
{
    QString filter; // "text|pattern|text|pattern..."
    QString initialDir;
    QString fileName;
    QString type; // the type offered first, by its extension ("png"); empty: the first
};

// The save dialog's types from "text|pattern|text|pattern...".
QStringList SaveNameFilters(const QString& filter);

// What the font dialog is opened with for a font: the face actually drawn
// and the style of it that has the font's weight and slant.
QFont FontDialogPreset(const QFont& font);

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A box titled "Velmix" with an OK button.
    virtual void message(QWidget* parent, MsgIcon icon, const QString& text) = 0;
    // nullopt when cancelled.
    virtual std::optional<QColor> color(QWidget* parent, const QColor& initial) = 0;
    // Asks before overwriting; nullopt when cancelled.
    virtual std::optional<QString> saveFileName(QWidget* parent, const SaveFileRequest& req) = 0;
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
    // Shows one of our own dialogs modally; returns once it is hidden.
    virtual void runModal(QDialog* dialog) = 0;
    // A Yes/No question; No (the default button) and closing answer false.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    // One line of text, offered as `initial`; nullopt when cancelled.
    virtual std::optional<QString> text(QWidget* parent, const QString& prompt,
                                        const QString& initial) = 0;
    // Existing files to read, several at once; empty when cancelled.
    // filter: "text|patterns|text|patterns...", patterns separated by spaces.
    virtual QStringList openFileNames(QWidget* parent, const QString& filter,
                                      const QString& initialDir) = 0;
    // One of `items`, picked from a list: its index; nullopt when cancelled.
    virtual std::optional<int> choose(QWidget* parent, const QString& title, const QString& label,
                                      const QStringList& items) = 0;
};

class QtDialogs : public Dialogs
{
public:
    void message(QWidget* parent, MsgIcon icon, const QString& text) override;
    std::optional<QColor> color(QWidget* parent, const QColor& initial) override;
    std::optional<QString> saveFileName(QWidget* parent, const SaveFileRequest& req) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
    void runModal(QDialog* dialog) override;
    bool question(QWidget* parent, const QString& text) override;
    std::optional<QString> text(QWidget* parent, const QString& prompt,
                                const QString& initial) override;
    QStringList openFileNames(QWidget* parent, const QString& filter,
                              const QString& initialDir) override;
    std::optional<int> choose(QWidget* parent, const QString& title, const QString& label,
                              const QStringList& items) override;
};

class ScriptedDialogs : public Dialogs
{
public:
    void message(QWidget* parent, MsgIcon icon, const QString& text) override;
    std::optional<QColor> color(QWidget* parent, const QColor& initial) override;
    std::optional<QString> saveFileName(QWidget* parent, const SaveFileRequest& req) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
    void runModal(QDialog* dialog) override;
    bool question(QWidget* parent, const QString& text) override;
    std::optional<QString> text(QWidget* parent, const QString& prompt,
                                const QString& initial) override;
    QStringList openFileNames(QWidget* parent, const QString& filter,
                              const QString& initialDir) override;
    std::optional<int> choose(QWidget* parent, const QString& title, const QString& label,
                              const QStringList& items) override;

    // Answers, taken front first; an empty queue answers "cancel" (No).
    std::deque<std::optional<QColor>> colors;
    std::deque<std::optional<QString>> files;
    std::deque<std::optional<QFont>> fonts;
    std::deque<bool> answers;
    std::deque<std::optional<QString>> texts;
    std::deque<QStringList> openFiles;
    std::deque<std::optional<int>> choices;
    // Each runs while its dialog is shown; the dialog is hidden afterwards
    // if the script left it open. An empty queue leaves the dialog as it is.
    std::deque<std::function<void(QDialog*)>> modals;

    // What was asked.
    std::vector<std::pair<MsgIcon, QString>> messages;
    std::vector<QColor> colorPresets;
    std::vector<SaveFileRequest> saveRequests;
    std::vector<QFont> fontPresets;
    int modalCount = 0;
    std::vector<QString> questions;
    std::vector<std::pair<QString, QString>> textPrompts; // prompt, initial
    std::vector<QString> openFilters;
    std::vector<QString> openDirs;
    std::vector<QStringList> choiceItems;
};

} // namespace velmix
