#include "base/ui/ActionButton.h"

#include <QAbstractButton>
#include <QAction>

namespace orvel {

void bindButton(QAbstractButton* button, QAction* action) {
    QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
    const auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        button->setToolTip(action->toolTip());
    };
    QObject::connect(action, &QAction::changed, button, follow);
    follow();
}

} // namespace orvel
