#pragma once

#include <QDialog>
#include <QPoint>

class QLabel;
class QProgressBar;
class QPushButton;

// The black-box export's progress: a frameless, draggable dialog with the hint, a progress bar,
// the name of the file being written and a close button. Closing it in any way (the button,
// Escape, the window system) ends the download through SignalCloseDownloadBlackBoxes.
class KivBlackBoxesProgress : public QDialog
{
    Q_OBJECT

public:
    explicit KivBlackBoxesProgress(QWidget *parent = nullptr);

    void retranslate();
    int progressValue() const;
    QString currentFileName() const;

Q_SIGNALS:
    void SignalCloseDownloadBlackBoxes();

public Q_SLOTS:
    void SlotProgressBlackBoxes(int index, int subMaxIndex, int currentSubIndex);
    void SlotCurrentReadFile(QString fname);
    // The record's file was complete already and is left as it is.
    void SlotRecordSkipped(QString fname);
    // The record goes on from where an earlier download broke off.
    void SlotRecordResumed(QString fname, int fromChunk);
    void on_btn_close_clicked();
    // Closing by the user: the download ends, the display is reset.
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void resetDisplay();
    void showFileNote();

    QPushButton *btn_close;
    QLabel *lblHint;
    QProgressBar *BlackBoxesProgress;
    QLabel *lblCurrentIndex;
    QLabel *lblCurrentIndexValue;
    // A note on the file shown: none, skipped (0) or resumed from chunk m_noteChunk; kept so that
    // a language change can say it again.
    QString m_noteFile;
    int m_noteChunk = -1;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
