#pragma once

// Tile that tells, by its object name, which help topic the pointer has moved onto.

#include <QWidget>

class LumHoverWidget : public QWidget
{
    Q_OBJECT

public:
    explicit LumHoverWidget(QWidget *parent = nullptr);

signals:
    void SigEnterIn(QString name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
};
