#include "TestDocument.h"

#include "editor/ui/DocumentCommands.h"
#include "editor/ui/OrvelMDI.h"

#include <QAction>
#include <QFile>

namespace orvel::test {

QString TestDocumentContext::programDataFile(const QString& name) const {
    if (dataDir.isEmpty())
        return QString();
    const QString f = dataDir + u'/' + name;
    return QFile::exists(f) ? f : QString();
}

TestCommands::TestCommands(IDocumentContext& context) : m_owner(std::make_unique<QWidget>()) {
    m_commands = new TDocumentCommands(m_owner.get(), m_owner.get(), context,
                                       [this](const QString& message) { reported << message; });
}

TestCommands::~TestCommands() = default;

void TestCommands::attach(TMDIForm& form) {
    if (!m_attached.contains(QPointer<TMDIForm>(&form))) {
        m_attached << QPointer<TMDIForm>(&form);
        for (QAction* a : m_commands->commands().actions())
            form.addAction(a);
        QObject::connect(&form, &TMDIForm::cycleRequested, m_commands,
                         [this](bool forward) { cycles << (forward ? 1 : -1); });
        QObject::connect(&form, &TMDIForm::contextMenuRequested, m_commands,
                         [this](QPoint at) { m_commands->popupContextMenu(at); });
        QObject::connect(&form, &TMDIForm::formatChanged, m_commands,
                         [this] { m_commands->updateState(); });
    }
    m_commands->setDocument(&form);
    form.Activate();
}

QAction* TestCommands::action(cmd::TDocCommandId id) const {
    return m_commands->action(id);
}

void TestCommands::run(cmd::TDocCommandId id) {
    action(id)->trigger();
}

} // namespace orvel::test
