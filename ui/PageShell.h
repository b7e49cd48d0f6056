#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QHBoxLayout;
class QStackedWidget;
class QTextBrowser;

// The layout every page shares: a row of exclusive tab buttons (ids 0, 1, 2, ...), a stacked
// widget with one sub-page per tab, and a help view beside it.
class PageShell : public QWidget
{
    Q_OBJECT

public:
    // One tab: its button and sub-page object names, its text (marked for translation in the
    // page's own context) and its help file (none when empty).
    struct TabInfo
    {
        const char *button;
        const char *page;
        const char *text;
        const char *help;
    };

    explicit PageShell(QWidget *parent = nullptr);

    // Loads a help file of the current language unless it is the one on show.
    void loadHelpPage(const QString &fileName);
    // Forgets the page on show, so that the next load happens even for the same name.
    void clearHelpPage() { m_currentHelpPage.clear(); }
    QString currentHelpPage() const { return m_currentHelpPage; }

    QStackedWidget *stackedWidget() const { return m_stack; }
    QButtonGroup *tabGroup() const { return m_tabs; }
    QTextBrowser *helpView() const { return m_webView; }

protected:
    // Adds a tab button and an empty sub-page for each entry, in order (ids 0, 1, 2, ...).
    void addTabs(std::initializer_list<TabInfo> tabs);
    QString tabHelpFile(int index) const;
    // Re-sets the tab texts in the current language.
    void retranslateTabs();

private:
    void addTab(const TabInfo &tab, QWidget *page);

    QList<TabInfo> m_tabInfos;
    QButtonGroup *m_tabs;
    QHBoxLayout *m_tabRow;
    QStackedWidget *m_stack;
    QTextBrowser *m_webView;
    QString m_currentHelpPage;
};
