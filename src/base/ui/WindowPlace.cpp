#include "base/ui/WindowPlace.h"

#include "base/core/EditListModel.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orvel {

void placeWindow(QWidget* window, QPoint pos) {
    const bool centred = pos.x() < 0 || pos.y() < 0;
    const QScreen* screen = centred ? nullptr : QGuiApplication::screenAt(pos);
    if (!screen && window->parentWidget())
        screen = window->parentWidget()->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Before the first show the frame is not known yet; the widget's own size stands in.
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    window->move(placeOnScreen(centred ? QPoint(-1, -1) : pos, size, area));
}

} // namespace orvel
