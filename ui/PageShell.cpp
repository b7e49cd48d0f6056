#include "ui/PageShell.h"

#include "ui/HelpView.h"
#include "widgets/ClickableButtonAccessible.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

PageShell::PageShell(QWidget *parent)
    : QWidget(parent)
    , m_tabs(new QButtonGroup(this))
    , m_tabRow(new QHBoxLayout)
    , m_stack(new QStackedWidget(this))
    , m_webView(new QTextBrowser(this))
{
    m_stack->setObjectName(QStringLiteral("stackedWidget"));
    m_webView->setObjectName(QStringLiteral("webView"));
    m_webView->setOpenExternalLinks(true);
    m_tabs->setExclusive(true);
    m_tabRow->setSpacing(6);
    m_tabRow->addStretch();

    auto *left = new QVBoxLayout;
    left->addLayout(m_tabRow);
    left->addWidget(m_stack, 1);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->addLayout(left, 3);
    row->addWidget(m_webView, 2);
}

void PageShell::addTabs(std::initializer_list<TabInfo> tabs)
{
    for (const TabInfo &tab : tabs) {
        auto *page = new QWidget(this);
        page->setObjectName(QLatin1String(tab.page));
        addTab(tab, page);
    }
}

QString PageShell::tabHelpFile(int index) const
{
    return index >= 0 && index < m_tabInfos.size() ? QLatin1String(m_tabInfos[index].help) : QString();
}

void PageShell::retranslateTabs()
{
    // The texts were marked in the page's own context: its class name.
    for (int i = 0; i < m_tabInfos.size(); ++i)
        m_tabs->button(i)->setText(QCoreApplication::translate(metaObject()->className(), m_tabInfos[i].text));
}

void PageShell::addTab(const TabInfo &tab, QWidget *page)
{
    m_tabInfos.append(tab);
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(tab.button));
    button->setText(QCoreApplication::translate(metaObject()->className(), tab.text));
    button->setCheckable(true);
    makeActivationClick(button);
    button->setMinimumSize(89, 36);
    button->setStyleSheet(QStringLiteral(
        "QToolButton{font: 11pt \"微软雅黑\";color: rgb(123, 123, 123);background: transparent;"
        "border: 1px solid rgb(181, 181, 181);border-radius: 5px;}"
        "QToolButton:hover{border-image: url(:/images/tab_hover.png);}"
        "QToolButton:checked{color: rgb(65, 65, 65);border-image: url(:/images/tab_checked.png);}"));
    const int id = int(m_tabs->buttons().size());
    m_tabs->addButton(button, id);
    m_tabRow->insertWidget(m_tabRow->count() - 1, button);
    m_stack->addWidget(page);
    if (id == 0)
        button->setChecked(true);
}

void PageShell::loadHelpPage(const QString &fileName)
{
    if (fileName == m_currentHelpPage)
        return;
    m_currentHelpPage = fileName;
    showHelpPage(m_webView, fileName);
}
