#include "ui/tools/UserPrompts.h"

#include "ui/tools/StagedImportDialog.h"

#include <QFileDialog>
#include <QPushButton>

UserPrompts UserPrompts::standard()
{
    UserPrompts prompts;
    prompts.confirm = [](QMessageBox::Icon icon,
                         const QString &title,
                         const QString &text,
                         const QString &accept,
                         const QString &reject) {
        QMessageBox box(icon, title, text);
        QPushButton *yes = box.addButton(accept, QMessageBox::AcceptRole);
        box.addButton(reject, QMessageBox::RejectRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == yes;
    };
    prompts.confirmCaution = [](const QString &title,
                                const QString &text,
                                const QString &accept,
                                const QString &reject) {
        const std::unique_ptr<QMessageBox> box = cautionBox(title, text, accept, reject);
        box->exec();
        return box->clickedButton() && box->buttonRole(box->clickedButton()) == QMessageBox::AcceptRole;
    };
    prompts.reviewImport = [](StagedImportDialog &dialog) { dialog.exec(); };
    prompts.tell = [](QMessageBox::Icon icon,
                      const QString &title,
                      const QString &text,
                      QMessageBox::StandardButton button) {
        QMessageBox box(icon, title, text, button);
        box.setDefaultButton(button);
        box.exec();
    };
    prompts.saveFileName = [](QWidget *parent,
                              const QString &title,
                              const QString &path,
                              const QString &filter,
                              const QString &defaultSuffix) {
        QFileDialog dialog(parent, title, path, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        dialog.selectFile(path);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    prompts.openFileName
        = [](QWidget *parent, const QString &title, const QString &path, const QString &filter) {
              return QFileDialog::getOpenFileName(parent, title, path, filter);
          };
    prompts.folder = [](QWidget *parent, const QString &title, const QString &path) {
        return QFileDialog::getExistingDirectory(parent, title, path, QFileDialog::ShowDirsOnly);
    };
    return prompts;
}

std::unique_ptr<QMessageBox> UserPrompts::cautionBox(const QString &title,
                                                     const QString &text,
                                                     const QString &accept,
                                                     const QString &reject)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, title, text);
    box->addButton(accept, QMessageBox::AcceptRole);
    box->setDefaultButton(box->addButton(reject, QMessageBox::RejectRole));
    return box;
}

UserPrompts &userPrompts()
{
    static UserPrompts prompts = UserPrompts::standard();
    return prompts;
}
