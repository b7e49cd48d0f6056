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

    QPushButton *btn_close;
    QLabel *lblHint;
    QProgressBar *BlackBoxesProgress;
    QLabel *lblCurrentIndex;
    QLabel *lblCurrentIndexValue;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
