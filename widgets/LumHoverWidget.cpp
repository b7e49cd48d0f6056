#include "widgets/LumHoverWidget.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

LumHoverWidget::LumHoverWidget(QWidget *parent)
    : QWidget(parent)
{}

void LumHoverWidget::paintEvent(QPaintEvent *)
{
    // A plain QWidget subclass ignores style-sheet backgrounds and borders unless it draws
    // the PE_Widget primitive itself.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void LumHoverWidget::enterEvent(QEnterEvent *event)
{
    emit SigEnterIn(objectName());
    QWidget::enterEvent(event);
}
