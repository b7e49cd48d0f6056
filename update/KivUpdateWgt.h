#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

#include "update/DownloadMgr.h"

class LumHoverWidget;
class QLabel;
class QMessageBox;
class QStackedWidget;
class QTextBrowser;
class QToolButton;
class progressButton;

// Firmware update page: per module the version the aircraft reports, the catalogue's version,
// the image download, the update button with its confirmation, the progress pie, and the release
// notes beside the rows.
class KivUpdateWgt : public QWidget
{
    Q_OBJECT

public:
    // Stacked pages of a row.
    enum RowPage { NoUpdatePage = 0, UpdateButtonPage = 1, ProgressPage = 2 };

    explicit KivUpdateWgt(QWidget *parent = nullptr);
    ~KivUpdateWgt() override;

    // Called with false when the link is lost: no transfer can go on.
    void resetForLink(bool connected);
    void reloadHelpText();
    void retranslate();
    // Fetches the firmware catalogue unless the machine is offline. The window calls it once it
    // is on screen: asking whether the machine is online loads network plug-ins, and the first
    // request loads the TLS library.
    void startCatalogueIfOnline();

    // The module whose transfer runs; empty when none does.
    QString updatingModule() const { return m_updatingModule; }
    DownloadMgr *downloadManager() const { return m_download; }
    QTextBrowser *infoView() const { return m_info; }
    int rowPage(int module) const;

public Q_SLOTS:
    void DealUpdate(QString str);
    QString DealVersion(int ModuleID);
    void setProgress(QString strModule, uint8_t progress);
    void btnClickUpdate();
    void UpdateFileReady(StructReplyInfo stInfo);
    void SlotFirmwareUpdateSuccess();
    void SlotEnterIn(QString WidgetName);
    // The transfer could not start; the text says why.
    void SlotFirmwareUpdateRefused(QString reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        QString module;
        LumHoverWidget *tile = nullptr;
        QLabel *name = nullptr;
        QLabel *id = nullptr;
        QLabel *version = nullptr;
        QStackedWidget *stack = nullptr;
        QLabel *noUpdate = nullptr;
        QToolButton *update = nullptr;
        progressButton *progress = nullptr;
    };

    void buildRows();
    void resetRows();
    void onConnectChanged(bool connected);
    void onFirmwareIdChanged(int module);
    void showAircraftVersion(int module);
    bool catalogueOffersUpdate(int module);
    void startCatalogueDownload();
    void buildReleaseNotes(const QString &module);
    void confirmUpdate(const QString &module);
    void startConfirmedUpdate(const QString &module);
    void endTransfer();
    QString withBackupNote(const QString &text) const;
    void showHelp();
    QMessageBox *
    showBox(int icon, const char *objectName, const QString &title, const QString &text);
    void describeProgress(const Row &row, int percent);
    int indexOf(const QString &module) const;

    QWidget *m_bg = nullptr;
    QList<QLabel *> m_headings;
    QList<Row> m_rows;
    QTextBrowser *m_info = nullptr;
    DownloadMgr *m_download = nullptr;
    QString m_helpHtml;
    QString m_updatingModule;
    bool m_backingUp = false;
    QString m_backupNote; // where the parameters went before this update, for its messages
    bool m_imageSent = false; // the whole image of m_updatingModule went out (progress 100)
    QHash<QString, QString> m_notesChinese;
    QHash<QString, QString> m_notesEnglish;
    QPointer<QMessageBox> m_confirmation;
};
