#include "ui/spraying/PumpBarAccessible.h"

#include "widgets/KivSliderControl.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <QVariant>

namespace {

constexpr char kPumpBar[] = "r7PumpBar";

class PumpBarAccessible final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit PumpBarAccessible(KivSliderControl *bar)
        : QAccessibleWidget(bar, QAccessible::Slider)
    {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return QString::number(int(bar()->value())) + QLatin1Char('%');
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return int(bar()->value()); }
    void setCurrentValue(const QVariant &value) override
    {
        if (!bar()->isEnabled())
            return;
        const float v = qBound(bar()->minimum(), float(value.toDouble()), bar()->maximum());
        bar()->setValue(v, true);
    }
    QVariant maximumValue() const override { return int(bar()->maximum()); }
    QVariant minimumValue() const override { return int(bar()->minimum()); }
    QVariant minimumStepSize() const override { return 1; }

private:
    KivSliderControl *bar() const { return static_cast<KivSliderControl *>(widget()); }
};

QAccessibleInterface *pumpBarFactory(const QString &, QObject *object)
{
    auto *bar = qobject_cast<KivSliderControl *>(object);
    if (bar && bar->property(kPumpBar).toBool())
        return new PumpBarAccessible(bar);
    return nullptr;
}

// Draws the focus frame behind the bar's own painting.
class FocusFrame final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *bar = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && bar->hasFocus()) {
            QPainter painter(bar);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(QColor(34, 192, 99), 2));
            painter.setBrush(QColor(34, 192, 99, 28));
            painter.drawRoundedRect(QRectF(bar->rect()).adjusted(1, 1, -1, -1), 4, 4);
        } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            bar->update();
        }
        return false;
    }
};

} // namespace

void makePumpBarAccessible(KivSliderControl *bar)
{
    static const bool installed = [] {
        QAccessible::installFactory(pumpBarFactory);
        return true;
    }();
    Q_UNUSED(installed);
    bar->setProperty(kPumpBar, true);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->installEventFilter(new FocusFrame(bar));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(bar);
    if (iface && !dynamic_cast<PumpBarAccessible *>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}
