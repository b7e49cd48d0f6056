#include "ui/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
class FirstPaintWatch final : public QObject
{
public:
    FirstPaintWatch(QWidget *widget, std::function<void()> call)
        : QObject(widget)
        , m_call(std::move(call))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, std::move(m_call));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_call;
};
} // namespace

void callAfterFirstPaint(QWidget *widget, std::function<void()> call)
{
    new FirstPaintWatch(widget, std::move(call));
}
