#pragma once

// The tools page's message boxes and file dialogs, behind functions a test replaces: a modal box
// would otherwise stop the test until someone answers it. The defaults show the real ones.

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

struct UserPrompts
{
    // A box with two buttons, the accepting one first; true when the user chose it.
    std::function<bool(QMessageBox::Icon icon,
                       const QString &title,
                       const QString &text,
                       const QString &accept,
                       const QString &reject)>
        confirm;
    // A box with a single button.
    std::function<void(QMessageBox::Icon icon,
                       const QString &title,
                       const QString &text,
                       QMessageBox::StandardButton button)>
        tell;
    // File dialogs; an empty name when the user cancelled.
    std::function<QString(QWidget *parent,
                          const QString &title,
                          const QString &path,
                          const QString &filter,
                          const QString &defaultSuffix)>
        saveFileName;
    std::function<QString(
        QWidget *parent, const QString &title, const QString &path, const QString &filter)>
        openFileName;
    // A folder; empty when the user cancelled.
    std::function<QString(QWidget *parent, const QString &title, const QString &path)> folder;

    static UserPrompts standard();
};

// The prompts in use; tests assign their own.
UserPrompts &userPrompts();
