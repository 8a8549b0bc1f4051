#pragma once
// Turns command table rows into actions. A handler's error never crosses the event loop:
// it is caught here and reported.

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
    TCommandList(QObject* parent, Reporter reportError);

    QAction* add(const TCommandDef& def, std::function<void()> handler);
    QAction* action(const char* name) const;
    const QList<QAction*>& actions() const { return m_actions; }
    const TCommandDef* definition(const QAction* action) const;

    // Runs a handler the way an action does: errors are reported, not thrown.
    void run(const std::function<void()>& handler) const;

private:
    Reporter m_report;
    QList<QAction*> m_actions;
    QList<TCommandDef> m_defs;
};

} // namespace orvel
