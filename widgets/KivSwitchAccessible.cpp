#include "widgets/KivSwitchAccessible.h"

#include "widgets/KivSwitch.h"

namespace {
QAccessibleInterface *switchFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("KivSwitch") && object && object->isWidgetType())
        return new KivSwitchAccessible(static_cast<KivSwitch *>(object));
    return nullptr;
}
} // namespace

KivSwitchAccessible::KivSwitchAccessible(KivSwitch *widget)
    : QAccessibleWidget(widget, QAccessible::CheckBox)
{}

KivSwitch *KivSwitchAccessible::kivSwitch() const
{
    return static_cast<KivSwitch *>(widget());
}

QAccessible::State KivSwitchAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = kivSwitch()->isChecked();
    return state;
}

QStringList KivSwitchAccessible::actionNames() const
{
    return {QAccessibleActionInterface::toggleAction(), QAccessibleActionInterface::pressAction()};
}

void KivSwitchAccessible::doAction(const QString &actionName)
{
    if (actionName == QAccessibleActionInterface::toggleAction()
        || actionName == QAccessibleActionInterface::pressAction())
        kivSwitch()->click();
}

void installKivSwitchAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(switchFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
