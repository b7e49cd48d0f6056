#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class KivApplication;
class QWidget;

// --screenshots: once the read-back has finished, or after a while without a connection, saves a
// picture of the window on each of its four pages, on each settings, tools and spraying
// sub-page, on the update page with a module's release notes, and the import preview before and
// after sending, in both languages, then quits.
class ScreenshotTour : public QObject
{
    Q_OBJECT

public:
    static constexpr int kNoConnectionMs = 10000;

    ScreenshotTour(KivApplication *app, const QString &directory);

private:
    void capture();
    // Saves <prefix>-<n>-<name>-<zh|en>.png for each sub-page of a main page, shown by show(n).
    int captureSubPages(int page, const char *prefix, const QStringList &names,
                        const std::function<void(int)> &show);
    int captureSettingsSubPages();
    int captureToolsSubPages();
    int captureUpdatePage();
    int captureImportPreview();
    bool save(const QString &name);
    bool saveWidget(QWidget *widget, const QString &name);
    int captureSprayingSubPages();
    // The spray-rate helper with a worked example, in both languages.
    int captureSprayRateHelper();

    QString m_directory;
    bool m_done = false;
};
