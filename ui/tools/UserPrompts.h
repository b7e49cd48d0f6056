#pragma once

// The tools page's message boxes and file dialogs, behind functions a test replaces: a modal box
// would otherwise stop the test until someone answers it. The defaults show the real ones.

#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>

class QWidget;
class StagedImportDialog;

struct UserPrompts
{
    // A box with two buttons, the accepting one first; true when the user chose it.
    std::function<bool(QMessageBox::Icon icon,
                       const QString &title,
                       const QString &text,
                       const QString &accept,
                       const QString &reject)>
        confirm;
    // A warning whose safe answer, the second button, is the default; true for the first.
    std::function<bool(const QString &title,
                       const QString &text,
                       const QString &accept,
                       const QString &reject)>
        confirmCaution;
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

    // The import preview, shown modally until the user closes it.
    std::function<void(StagedImportDialog &dialog)> reviewImport;

    static UserPrompts standard();
    // The box confirmCaution shows, not yet opened.
    static std::unique_ptr<QMessageBox> cautionBox(const QString &title,
                                                   const QString &text,
                                                   const QString &accept,
                                                   const QString &reject);
};

// The prompts in use; tests assign their own.
UserPrompts &userPrompts();
