#pragma once

class QAbstractButton;

// Page buttons and sub-page tabs are checkable buttons whose click does the work (it opens the
// page and sends its reads). To assistive technology Qt offers such a button only "toggle",
// which flips the checked state without a click: the page would not open. A button passed here
// is presented as a tab whose "press" and "toggle" actions both click it, as the mouse and the
// keyboard do.
void makeActivationClick(QAbstractButton *button);
