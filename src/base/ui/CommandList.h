#pragma once
// Turns command table rows into actions, found again by the rows' constants. A handler's
// error never crosses the event loop: it is caught here and reported.

#include "base/core/CommandDef.h"

#include <QList>
#include <QObject>
#include <functional>

class QAction;

namespace orvel {

class TCommandList : public QObject {
    Q_OBJECT
public:
    using Reporter = std::function<void(const QString& message)>;
    // The actions belong to owner.
    TCommandList(QObject* owner, Reporter reportError);

    QAction* add(const TCommandDef& def, std::function<void()> handler);
    // The action of a row's constant; null when none was added for it.
    QAction* action(int id) const {
        return id >= 0 && id < m_byId.size() ? m_byId.at(id) : nullptr;
    }
    const QList<QAction*>& actions() const { return m_actions; }
    const TCommandDef* definition(const QAction* action) const;
    // A key two commands hold goes to the one added later, as the default key table gives it.
    void resolveKeyClashes();
    // Further keys of a command (the desktop's common ones where the design leaves them free);
    // the design's key stays the first, the one menus show.
    void addKeys(const TDesktopKeys& keys);

    // Runs a handler the way an action does: errors are reported, not thrown.
    void run(const std::function<void()>& handler) const;

private:
    Reporter m_report;
    QList<QAction*> m_actions;
    QList<TCommandDef> m_defs;
    QList<QAction*> m_byId;
};

} // namespace orvel
