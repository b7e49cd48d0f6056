#include "ui/HelpView.h"

#include "config/Language.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

void showHelpPage(QTextBrowser *view, const QString &fileName)
{
    const QUrl url = helpPageUrl(fileName);
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
        view->setSource(url);
    else
        view->setHtml(missingHelpPageHtml(fileName));
}
