#include "base/ui/CommandList.h"

#include "base/core/Errors.h"
#include "base/core/Translate.h"

#include <QAction>
#include <QKeySequence>

namespace orvel {

TCommandList::TCommandList(QObject* parent, Reporter reportError)
    : QObject(parent), m_report(std::move(reportError)) {
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
    return a;
}

QAction* TCommandList::action(const char* name) const {
    const QString n = QString::fromLatin1(name);
    for (QAction* a : m_actions)
        if (a->objectName() == n)
            return a;
    return nullptr;
}

const TCommandDef* TCommandList::definition(const QAction* action) const {
    const qsizetype i = m_actions.indexOf(const_cast<QAction*>(action));
    return i < 0 ? nullptr : &m_defs.at(i);
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
