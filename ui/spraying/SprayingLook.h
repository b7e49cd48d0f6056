#pragma once

// The spraying page's look: the style sheets of its value boxes and its pictures. The tiles,
// captions and green buttons are the settings page's (SettingsLook), so both pages agree.

#include <QString>

class QLabel;

namespace SprayingLook {

// Spray width and work speed: red while the value is the user's and not sent (or could not be
// sent), grey once sent or read back.
QString setBoxStyle(bool pending);
// The pump speed boxes.
QString pumpBoxStyle();
// The row captions of the pump sub-page.
QString rowCaptionStyle();
// The radar height value.
QString probeHeightStyle(bool measuring);

// Shows one of the page's pictures (":/spraying/<name>.png") in a label of a fixed size.
void showPicture(QLabel *label, const char *name);

} // namespace SprayingLook
