#pragma once

#include <QJsonObject>
#include <QString>

// The firmware service's catalogue: one object per module name with "version", "releaseNote"
// (Chinese, one item a line), "eng_releaseNote", "releaseDate" and "url" of the image.
class FirmwareCatalogue
{
public:
    static QJsonObject document(const QString &baseUrl);
    static QString imageFileName(int module); // e.g. "FCU-3.12.bin"
    static QString imagePath(int module);     // e.g. "/files/FCU-3.12.bin"
    static int moduleOfFileName(const QString &fileName); // -1 when unknown
    static QString releaseNote(int module);
    static QString englishReleaseNote(int module);
};
