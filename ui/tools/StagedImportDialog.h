#pragma once

// The import preview: the file's values beside the aircraft's, one row per setting under a
// check box per group, rows the import would change highlighted, a warning when the file is for
// another frame type or wheelbase. Only checked groups are sent; "send all" is the whole import
// in one click. Afterwards each group shows whether the aircraft acknowledged it.

#include "app/ImportPreview.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class StagedImportDialog final : public QDialog
{
    Q_OBJECT

public:
    // Sends the groups; the ones the aircraft did not confirm, or nothing when nothing could
    // be sent. all: the user chose "send all".
    using Sender = std::function<std::optional<QList<int>>(const QList<int> &groups, bool all)>;

    StagedImportDialog(const ImportPreview &preview, Sender send, QWidget *parent = nullptr);

    const ImportPreview &preview() const { return m_preview; }
    // The buttons' actions.
    void sendChecked();
    void sendAll();

    void reject() override; // not while the groups are on their way

private:
    void fillTree();
    void send(const QList<int> &groups, bool all);
    void showOutcomes();
    void updateSendButton();

    ImportPreview m_preview;
    Sender m_send;
    bool m_sending = false;
    QTreeWidget *m_tree = nullptr;
    QList<QTreeWidgetItem *> m_groupItems;
    QLabel *m_summary = nullptr;
    QPushButton *m_sendChecked = nullptr;
    QPushButton *m_sendAll = nullptr;
    QPushButton *m_close = nullptr;
};
