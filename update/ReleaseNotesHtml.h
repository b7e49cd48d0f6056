#pragma once

#include <QString>

// The release notes of a module as the update page shows them: heading, version, date (its first
// 10 characters) and one list item per line of the notes (empty lines stay). Every text from the
// catalogue is escaped: the notes come from the network and are shown as HTML.
QString releaseNotesHtml(const QString &module,
                         const QString &version,
                         const QString &date,
                         const QString &notes,
                         bool english);
