#pragma once

#include <QDialog>

#include <array>

class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTextBrowser;

// The spray-rate helper: from the application rate (L/ha), the spray width and the work speed,
// the flow the pumps must deliver; from a timed pump run with its measured volume, the pump
// percentage that gives that flow. Results follow every keystroke; nothing is sent to the
// aircraft. Its help page sits beside the boxes, as on the pages.
class SprayRateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SprayRateDialog(QWidget *parent = nullptr);

    // Starting values from the spraying page.
    void prefill(double widthMetres, double metresPerSecond, double pumpPercent);
    QString flowText() const;
    QString percentText() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void recompute();
    std::array<QDoubleSpinBox *, 6> inputs() const;

    QGroupBox *m_flowGroup;
    QGroupBox *m_runGroup;
    QLabel *m_captions[6];
    QDoubleSpinBox *m_rate;
    QDoubleSpinBox *m_width;
    QDoubleSpinBox *m_speed;
    QDoubleSpinBox *m_runPercent;
    QDoubleSpinBox *m_runSeconds;
    QDoubleSpinBox *m_runLitres;
    QLabel *m_flow;
    QLabel *m_measured;
    QLabel *m_percent;
    QTextBrowser *m_help;
    QPushButton *m_close;
};
