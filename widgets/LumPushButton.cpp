#include "widgets/LumPushButton.h"

LumPushButton::LumPushButton(QWidget *parent)
    : QPushButton(parent)
{}

LumPushButton::LumPushButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{}

void LumPushButton::mouseMoveEvent(QMouseEvent *event)
{
    emit SingnalHover();
    QPushButton::mouseMoveEvent(event);
}
