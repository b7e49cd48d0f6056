#pragma once

#include <QAccessible>

class QAbstractButton;

// Page buttons and sub-page tabs are checkable buttons whose click does the work (it opens the
// page and sends its reads). To assistive technology Qt offers such a button only "toggle",
// which flips the checked state without a click: the page would not open. A button passed here
// is presented as a tab whose "press" and "toggle" actions both click it, as the mouse and the
// keyboard do. Other checkable buttons whose click sends something (a radio choice, a reverse
// switch) keep their own role and get the same actions.
void makeActivationClick(QAbstractButton *button, QAccessible::Role role = QAccessible::PageTab);
