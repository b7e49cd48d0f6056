#pragma once

class QString;
class QTextBrowser;

// Shows a help page of the current language in a help view, or, when the file is not there (a
// broken installation), a note naming it.
void showHelpPage(QTextBrowser *view, const QString &fileName);
