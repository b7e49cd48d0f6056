#pragma once

#include <QAbstractSpinBox>
#include <QApplication>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QWidget>

// What the page tests ask of a page as a keyboard or screen-reader user meets it.
namespace PageProbes {

inline bool hasChinese(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]")));
}

// The controls of a sub-page a user can reach with Tab (a spin box, not its line edit).
inline QList<QWidget *> tabReachable(QWidget *subPage)
{
    QList<QWidget *> controls;
    for (QWidget *widget : subPage->findChildren<QWidget *>()) {
        const bool part = qobject_cast<QAbstractSpinBox *>(widget->parentWidget());
        if (!part && (widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(subPage) && widget->isEnabled())
            controls << widget;
    }
    return controls;
}

// The control that has the focus (a spin box for its line edit).
inline QWidget *focusedControl()
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && qobject_cast<QAbstractSpinBox *>(focus->parentWidget()))
        return focus->parentWidget();
    return focus;
}

} // namespace PageProbes
