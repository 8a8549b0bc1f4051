#include "base/ui/CommandList.h"

#include "base/core/Errors.h"
#include "base/core/Translate.h"

#include <QAction>
#include <QHash>
#include <QKeySequence>

namespace orvel {

TCommandList::TCommandList(QObject* owner, Reporter reportError)
    : QObject(owner), m_report(std::move(reportError)) {
}

QAction* TCommandList::add(const TCommandDef& def, std::function<void()> handler) {
    auto* a = new QAction(T_(def.caption), parent());
    a->setObjectName(QString::fromLatin1(def.name));
    if (def.hint && *def.hint) {
        a->setStatusTip(T_(def.hint));
        a->setToolTip(T_(def.hint));
    }
    if (def.defaultKey && *def.defaultKey)
        a->setShortcut(QKeySequence::fromString(QString::fromLatin1(def.defaultKey),
                                                QKeySequence::PortableText));
    a->setProperty("tag", def.tag);
    connect(a, &QAction::triggered, this, [this, handler = std::move(handler)] { run(handler); });
    m_actions.append(a);
    m_defs.append(def);
    if (def.id >= m_byId.size())
        m_byId.resize(def.id + 1, nullptr);
    m_byId[def.id] = a;
    return a;
}

const TCommandDef* TCommandList::definition(const QAction* action) const {
    const qsizetype i = m_actions.indexOf(const_cast<QAction*>(action));
    return i < 0 ? nullptr : &m_defs.at(i);
}

void TCommandList::resolveKeyClashes() {
    QHash<QKeySequence, QAction*> holder;
    for (QAction* a : m_actions) {
        const QKeySequence key = a->shortcut();
        if (key.isEmpty())
            continue;
        if (QAction* earlier = holder.value(key))
            earlier->setShortcut(QKeySequence());
        holder.insert(key, a);
    }
}

void TCommandList::addKeys(const TDesktopKeys& keys) {
    QAction* a = action(keys.id);
    if (!a)
        return;
    QList<QKeySequence> all = a->shortcuts();
    all.append(QKeySequence::fromString(QString::fromLatin1(keys.key), QKeySequence::PortableText));
    a->setShortcuts(all);
}

void TCommandList::run(const std::function<void()>& handler) const {
    try {
        handler();
    } catch (const EOrvelError& e) {
        m_report(e.message());
    } catch (const std::exception& e) {
        m_report(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace orvel
