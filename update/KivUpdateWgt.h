#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>

class QTextBrowser;

// Firmware update page: each module's version against the catalogue, release notes, update and
// progress.
class KivUpdateWgt : public QWidget
{
    Q_OBJECT

public:
    explicit KivUpdateWgt(QWidget *parent = nullptr);

    // Called with false when the link is lost: no transfer can go on.
    void resetForLink(bool connected);
    void reloadHelpText();
    void retranslate();

    QString progressModule() const { return m_progressModule; }
    int progressValue() const { return m_progress; }

public Q_SLOTS:
    void setProgress(QString strModule, uint8_t progress);
    void SlotFirmwareUpdateSuccess();

private:
    QTextBrowser *m_help;
    QString m_progressModule;
    int m_progress = -1;
};
