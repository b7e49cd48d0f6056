#include "widgets/ClickableButtonAccessible.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>

namespace {

constexpr char kClickOnActivate[] = "r7ClickOnActivate";
constexpr char kRole[] = "r7AccessibleRole";

class ClickableButtonAccessible final : public QAccessibleWidget
{
public:
    ClickableButtonAccessible(QAbstractButton *button, QAccessible::Role role)
        : QAccessibleWidget(button, role)
    {}

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = QString(button()->text()).remove(QLatin1Char('&'));
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        s.selected = s.checked;
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name == pressAction() || name == toggleAction()) {
            if (button()->isEnabled())
                button()->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

QAccessibleInterface *clickableButtonFactory(const QString &, QObject *object)
{
    auto *button = qobject_cast<QAbstractButton *>(object);
    if (button && button->property(kClickOnActivate).toBool())
        return new ClickableButtonAccessible(button, QAccessible::Role(button->property(kRole).toInt()));
    return nullptr;
}

} // namespace

void makeActivationClick(QAbstractButton *button, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(clickableButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
    button->setProperty(kClickOnActivate, true);
    button->setProperty(kRole, int(role));
    // Qt makes a button's interface as soon as assistive technology listens; one made before
    // this call is replaced.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(button);
    if (iface && !dynamic_cast<ClickableButtonAccessible *>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}
