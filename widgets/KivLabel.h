#pragma once

// Caption drawn as a white tag with a short lead line, text in grey.

#include <QLabel>

class KivLabel : public QLabel
{
    Q_OBJECT

public:
    explicit KivLabel(QWidget *parent = nullptr);
    explicit KivLabel(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
