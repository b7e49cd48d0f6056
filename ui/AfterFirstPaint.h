#pragma once

#include <functional>

class QWidget;

// Calls `call` once, on the event loop's next pass after `widget` is first painted, so that what
// it does cannot hold that paint up. Nothing is called if the widget goes first.
void callAfterFirstPaint(QWidget *widget, std::function<void()> call);
