#include "ui/tools/StagedImportDialog.h"

#include "ui/HelpView.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum Column { NameColumn, FileColumn, AircraftColumn, ResultColumn };

const QColor kChangedBackground(255, 232, 160);
const QColor kQuietText(123, 123, 123);

QString groupName(int group)
{
    return QCoreApplication::translate("KivGuiController", ParameterFile::groups()[group].name);
}
} // namespace

StagedImportDialog::StagedImportDialog(const ImportPreview &preview, Sender send, QWidget *parent)
    : QDialog(parent)
    , m_preview(preview)
    , m_send(std::move(send))
{
    setObjectName(QStringLiteral("stagedImportDialog"));
    setWindowTitle(tr("导入参数"));
    setWindowModality(Qt::ApplicationModal);

    auto *intro = new QLabel(
        tr("发送前请核对文件中的参数。只发送勾选的组；底色标出的是导入会改变的参数。"), this);
    intro->setWordWrap(true);

    auto *warning = new QLabel(this);
    warning->setObjectName(QStringLiteral("lblImportWarning"));
    warning->setWordWrap(true);
    warning->setTextFormat(Qt::PlainText);
    warning->setStyleSheet(
        QStringLiteral("QLabel{color: rgb(160, 0, 0); background: rgb(255, 235, 235); border: 1px "
                       "solid rgb(230, 150, 150); padding: 6px;}"));
    const QStringList warnings = m_preview.warnings();
    warning->setText(warnings.join(QLatin1Char('\n')));
    warning->setAccessibleName(tr("警告：%1").arg(warning->text()));
    warning->setVisible(!warnings.isEmpty());

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treeImportPreview"));
    m_tree->setAccessibleName(tr("文件与飞机的参数对比"));
    m_tree->setColumnCount(4);
    m_tree->setHeaderLabels({tr("参数"), tr("文件中的值"), tr("飞机当前的值"), tr("结果")});
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setAlternatingRowColors(false);
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(true);
    m_tree->header()->setMinimumSectionSize(110);
    m_tree->setStyleSheet(QStringLiteral("QTreeView::item{padding: 3px 2px;}"));
    fillTree();
    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        const int group = m_groupItems.indexOf(item);
        if (group < 0 || column != NameColumn)
            return;
        m_preview.setChecked(group, item->checkState(NameColumn) == Qt::Checked);
        updateSendButton();
    });

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblImportSummary"));
    m_summary->setWordWrap(true);

    m_sendChecked = new QPushButton(tr("发送所选"), this);
    m_sendChecked->setObjectName(QStringLiteral("btnSendChecked"));
    m_sendAll = new QPushButton(tr("全部发送"), this);
    m_sendAll->setObjectName(QStringLiteral("btnSendAll"));
    m_close = new QPushButton(tr("取消"), this);
    m_close->setObjectName(QStringLiteral("btnCloseImport"));
    m_sendChecked->setDefault(true);
    connect(m_sendChecked, &QPushButton::clicked, this, &StagedImportDialog::sendChecked);
    connect(m_sendAll, &QPushButton::clicked, this, &StagedImportDialog::sendAll);
    connect(m_close, &QPushButton::clicked, this, &StagedImportDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(m_sendChecked);
    buttons->addWidget(m_sendAll);
    buttons->addWidget(m_close);

    auto *column = new QVBoxLayout;
    column->addWidget(intro);
    column->addWidget(warning);
    column->addWidget(m_tree, 1);
    column->addLayout(buttons);

    // The short help, beside the controls as on every page.
    auto *help = new QTextBrowser(this);
    help->setObjectName(QStringLiteral("importHelp"));
    help->setAccessibleName(tr("帮助"));
    help->setFixedWidth(230);
    help->setFocusPolicy(Qt::ClickFocus);
    showHelpPage(help, QStringLiteral("ImportPreview.html"));

    auto *row = new QHBoxLayout(this);
    row->addLayout(column, 1);
    row->addWidget(help);

    m_tree->setFocus();
    setTabOrder(m_tree, m_sendChecked);
    setTabOrder(m_sendChecked, m_sendAll);
    setTabOrder(m_sendAll, m_close);
    updateSendButton();
    resize(900, 560);
}

void StagedImportDialog::fillTree()
{
    const QString unknown = tr("未知");
    for (const ImportPreview::Group &group : m_preview.groups()) {
        auto *groupItem = new QTreeWidgetItem(m_tree);
        groupItem->setText(NameColumn, groupName(group.index));
        groupItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        groupItem->setCheckState(NameColumn, group.checked ? Qt::Checked : Qt::Unchecked);
        QFont bold = groupItem->font(NameColumn);
        bold.setBold(true);
        groupItem->setFont(NameColumn, bold);
        m_groupItems << groupItem;
        for (const ImportPreview::Setting &s : group.settings) {
            auto *item = new QTreeWidgetItem(groupItem);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setText(NameColumn, QStringLiteral("    ") + ImportPreview::settingName(s.key));
            if (s.file) {
                item->setText(FileColumn, ImportPreview::displayValue(s.key, *s.file));
            } else {
                item->setText(FileColumn, tr("（文件中没有）"));
                item->setForeground(FileColumn, kQuietText);
                item->setToolTip(FileColumn, tr("文件中没有这一项，这一组会发送程序中现有的值。"));
            }
            if (s.aircraft) {
                item->setText(AircraftColumn, ImportPreview::displayValue(s.key, *s.aircraft));
            } else {
                item->setText(AircraftColumn, unknown);
                item->setForeground(AircraftColumn, kQuietText);
                QFont italic = item->font(AircraftColumn);
                italic.setItalic(true);
                item->setFont(AircraftColumn, italic);
                item->setToolTip(AircraftColumn, tr("还没有从飞机读到这个值。"));
            }
            QString state;
            switch (s.change()) {
            case ImportPreview::Change::Changed:
                state = tr("会改变");
                for (int c = NameColumn; c <= ResultColumn; ++c)
                    item->setBackground(c, kChangedBackground);
                break;
            case ImportPreview::Change::Unknown:
                state = tr("飞机的值未知");
                break;
            case ImportPreview::Change::Same:
                state = tr("不变");
                break;
            }
            // Highlighting is not seen by a screen reader: the row says it.
            item->setData(NameColumn,
                          Qt::AccessibleTextRole,
                          tr("%1，文件：%2，飞机：%3，%4")
                              .arg(ImportPreview::settingName(s.key),
                                   item->text(FileColumn),
                                   item->text(AircraftColumn),
                                   state));
        }
    }
    m_tree->expandAll();
    if (!m_groupItems.isEmpty())
        m_tree->setCurrentItem(m_groupItems.first());
}

void StagedImportDialog::updateSendButton()
{
    m_sendChecked->setEnabled(!m_sending && !m_preview.checkedGroups().isEmpty());
}

void StagedImportDialog::sendChecked()
{
    send(m_preview.checkedGroups(), false);
}

void StagedImportDialog::sendAll()
{
    for (int group = 0; group < m_groupItems.size(); ++group)
        m_groupItems[group]->setCheckState(NameColumn, Qt::Checked);
    send(m_preview.checkedGroups(), true);
}

void StagedImportDialog::send(const QList<int> &groups, bool all)
{
    if (m_sending || groups.isEmpty() || !m_send)
        return;
    m_sending = true;
    m_sendChecked->setEnabled(false);
    m_sendAll->setEnabled(false);
    m_close->setEnabled(false);
    for (QTreeWidgetItem *item : std::as_const(m_groupItems))
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable); // the choice is made
    m_summary->setText(tr("正在发送…"));
    // The groups go one by one, each after the aircraft's answer; the window stays alive.
    const QPointer<StagedImportDialog> self(this);
    const std::optional<QList<int>> unconfirmed = m_send(groups, all);
    if (!self)
        return;
    m_sending = false;
    m_preview.setOutcomes(groups, unconfirmed.value_or(groups));
    showOutcomes();
    m_close->setText(tr("关闭"));
    m_close->setEnabled(true);
    m_close->setDefault(true);
    m_close->setFocus();
}

void StagedImportDialog::showOutcomes()
{
    int acknowledged = 0;
    int unconfirmed = 0;
    for (const ImportPreview::Group &group : m_preview.groups()) {
        QTreeWidgetItem *item = m_groupItems[group.index];
        switch (group.outcome) {
        case ImportPreview::Outcome::Acknowledged:
            ++acknowledged;
            item->setText(ResultColumn, tr("飞机已确认"));
            item->setForeground(ResultColumn, QColor(31, 140, 70));
            break;
        case ImportPreview::Outcome::NotConfirmed:
            ++unconfirmed;
            item->setText(ResultColumn, tr("飞机没有确认"));
            item->setForeground(ResultColumn, QColor(200, 0, 0));
            break;
        case ImportPreview::Outcome::NotSent:
            item->setText(ResultColumn, tr("没有发送"));
            item->setForeground(ResultColumn, kQuietText);
            break;
        }
    }
    m_summary->setText(tr("%1组已确认，%2组没有确认。").arg(acknowledged).arg(unconfirmed));
    m_summary->setAccessibleName(m_summary->text());
}

void StagedImportDialog::reject()
{
    if (!m_sending)
        QDialog::reject();
}
