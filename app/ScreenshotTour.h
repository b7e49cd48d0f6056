#pragma once

#include <QObject>
#include <QString>

class KivApplication;

// --screenshots: once the read-back has finished, or after a while without a connection, saves a
// picture of the window on each of its four pages and on each settings and spraying sub-page in both
// languages, then quits.
class ScreenshotTour : public QObject
{
    Q_OBJECT

public:
    static constexpr int kNoConnectionMs = 10000;

    ScreenshotTour(KivApplication *app, const QString &directory);

private:
    void capture();
    int captureSettingsSubPages();
    int captureSprayingSubPages();

    QString m_directory;
    bool m_done = false;
};
