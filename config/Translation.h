#pragma once

#include <QString>
#include <QStringList>

class QTranslator;

// The English translation of the interface (texts are written in Chinese).
//
// The translation file is looked for, in this order:
//   1. the current working directory (where it has always been looked for);
//   2. the program's own folder (a program started from a desktop menu has another working
//      directory);
//   3. the installed data folders: <program folder>/../share/r7assistant/translations, then
//      "translations" below each of QStandardPaths' AppDataLocation folders.

// The folders above, in search order, without duplicates.
QStringList translationSearchFolders();

// The existing files named `fileName` in `folders`, in the folders' order.
QStringList translationCandidates(const QString &fileName, const QStringList &folders);

// The first existing translation file of that name in the search folders, or empty.
QString findTranslationFile(const QString &fileName);

// The process-wide translator, owned by the application object (null without one).
QTranslator *appTranslator();

// Loads the first candidate that is a valid translation into appTranslator() and installs it;
// an unreadable file is skipped. Returns false, with the translator removed, when none loads.
bool installTranslationFrom(const QStringList &candidates);

// Code 0 installs "R7Assistant.qm" from the search folders (returns false when none loads; the
// texts then stay Chinese); code 1 removes the translator and returns true; other codes do nothing
// and return false. Installing or removing sends every widget a language-change event.
bool applyTranslation(int code);
