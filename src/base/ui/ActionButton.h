#pragma once
// A push button that stands for a command: clicking runs the command's action, and the
// button is enabled while the action is.

class QAbstractButton;
class QAction;

namespace orvel {

// Drops the button's own click connections to its receiver first, so that a page that wired
// its buttons itself runs each command once.
void bindButton(QAbstractButton* button, QAction* action);

} // namespace orvel
