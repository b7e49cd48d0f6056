#pragma once

#include <QString>
#include <QUrl>

// The interface language: 0 English, 1 Chinese. Chinese until the configuration has been read.
// GUI thread only.
inline int languageCode = 1;

// Reads "Language" from the configuration file: exactly "EN" sets languageCode to 0, exactly "CH"
// to 1; any other text (missing, empty, "en", ...) leaves it as it is. Returns languageCode.
int queryLanguage();

// Sets languageCode and stores the choice: 1 writes "CH", 0 writes "EN", other codes write nothing.
void storeLanguage(int code);

// Local-file URL of a help page in the current language's folder (under helpRootFolder()), or an empty
// URL when languageCode is neither 0 nor 1. The file need not exist.
QUrl helpPageUrl(const QString &fileName);

// The folder that holds "Introduction": the program's own folder, or ../share/r7assistant beside
// it in an installed tree.
QString helpRootFolder();

// What a help view shows in place of a help page that is not there (a broken installation): a
// short note naming the file, in the current language.
QString missingHelpPageHtml(const QString &fileName);
