#pragma once

// The settings page's look: its style sheets and the few building blocks every sub-page uses
// (tiles, tile titles, green action buttons, spin boxes), so that all six sub-pages agree.

#include <QString>

class LumHoverWidget;
class QAbstractSpinBox;
class QLabel;
class QPushButton;
class QWidget;

namespace SettingsLook {

// Shared by every sub-page: light tiles, grey captions, radio buttons, combo box.
QString subPageStyle();

// Red while reversed, green otherwise.
QString revButtonStyle(bool reversed);
// Gains: grey once sent or read back, red while the value is the user's and not sent.
QString gainStyle(bool pending);

enum class Voltage { Pending, Confirmed, Sent, Shown };
QString voltageStyle(Voltage state);
// Return height (with its margins) and GPS offsets: red while pending, grey when shown.
QString heightStyle(bool pending);
QString offsetStyle(bool pending);
QString frameButtonStyle();

// A help tile: its object name picks the help page shown while the pointer is on it.
LumHoverWidget *makeTile(QWidget *parent, const char *objectName);
QLabel *makeTitle(QWidget *tile);
QLabel *makeCaption(QWidget *parent, const char *objectName = nullptr);
QPushButton *makeActionButton(QWidget *parent, const char *objectName);
// Object name, keyboard focus, centred text, a height that fits the 11 pt text.
void prepareSpinBox(QAbstractSpinBox *box, const char *objectName);

} // namespace SettingsLook
