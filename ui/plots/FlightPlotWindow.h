#pragma once

#include "blackbox/FlightLog.h"

#include <QDialog>

class QChartView;
class QLabel;
class QPushButton;
class QTabWidget;

// Quick look at an exported flight record: height, speed, pack voltage, attitude, pump and
// throttle over time, and the ground track, one tab each. Every chart can be saved as a PNG
// picture, the one shown or all of them into a folder. Another exported file can be opened in
// the same window. File dialogs and message boxes go through userPrompts(), so tests answer them.
class FlightPlotWindow : public QDialog
{
    Q_OBJECT

public:
    explicit FlightPlotWindow(QWidget *parent = nullptr);

    // Reads and shows the file; on failure tells the user and keeps what was shown.
    bool openFile(const QString &path);
    QString fileName() const { return m_path; }
    const FlightLog &log() const { return m_log; }
    QChartView *chartView(int kind) const;

    // The chart of a kind as a PNG picture. False (the user is told) when it cannot be written.
    bool savePng(int kind, const QString &fileName);
    // Every chart into the folder, named after the record; the number of pictures written.
    int saveAllPng(const QString &folder);

public Q_SLOTS:
    void SlotOpenFile();
    void SlotSaveShownPng();
    void SlotSaveAllPng();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void rebuildCharts();
    QString pngPath(const QString &folder, int kind) const;

    FlightLog m_log;
    QString m_path;
    QLabel *m_fileLabel;
    QLabel *m_summary;
    QTabWidget *m_tabs;
    QList<QChartView *> m_views;
    QPushButton *m_open;
    QPushButton *m_saveShown;
    QPushButton *m_saveAll;
    QPushButton *m_close;
};
