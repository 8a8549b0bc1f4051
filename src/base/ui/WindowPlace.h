#pragma once
// Puts a dialog at a point of the screen, moved as far as needed to lie fully on it.

#include <QPoint>

class QWidget;

namespace orvel {

// Moves the window's frame to pos on the screen that holds pos (else the window's own
// screen), kept inside that screen's free area; a point with a negative coordinate centres
// it there. The window's size should be final.
void placeWindow(QWidget* window, QPoint pos);

} // namespace orvel
