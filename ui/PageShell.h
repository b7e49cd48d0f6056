#pragma once

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
    // Adds a tab button and its sub-page; returns the button.
    QAbstractButton *addTab(const QString &buttonName, const QString &text, QWidget *page);

private:
    QButtonGroup *m_tabs;
    QHBoxLayout *m_tabRow;
    QStackedWidget *m_stack;
    QTextBrowser *m_webView;
    QString m_currentHelpPage;
};
