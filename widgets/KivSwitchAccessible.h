#pragma once

// How assistive technology sees a KivSwitch: a check box that says whether it is on, and whose
// press and toggle actions do what a click does.

#include <QAccessibleWidget>

class KivSwitch;

class KivSwitchAccessible : public QAccessibleWidget
{
public:
    explicit KivSwitchAccessible(KivSwitch *widget);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    KivSwitch *kivSwitch() const;
};

// Registers the interface for every KivSwitch; safe to call more than once.
void installKivSwitchAccessibility();
