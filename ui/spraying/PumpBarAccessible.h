#pragma once

// A pump bar (KivSliderControl) as a keyboard and a screen reader use it: it takes the focus
// (the page moves it with the arrow keys), shows the focus with a light frame behind the track,
// and is a slider to assistive technology whose value can be read and set. A value set that way
// moves the bar as a drag does, so it reaches the row's box and, while the row runs, the pump.

class KivSliderControl;

void makePumpBarAccessible(KivSliderControl *bar);
