#pragma once

// Push button that reports every pointer move over it, so a page can show help for the
// button under the pointer.

#include <QPushButton>

class LumPushButton : public QPushButton
{
    Q_OBJECT

public:
    explicit LumPushButton(QWidget *parent = nullptr);
    explicit LumPushButton(const QString &text, QWidget *parent = nullptr);

signals:
    void SingnalHover();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};
