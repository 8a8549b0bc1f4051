#pragma once
// Document windows as the main window holds them, for tests: a context with scripted dialogs
// and quiet defaults, and the document commands pointed at a window.

#include "ScriptedDialogs.h"
#include "ScriptedElementDialogs.h"
#include "editor/core/DocumentCommandIds.h"
#include "editor/ui/DocumentContext.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

class QAction;

namespace orvel {
class TDocumentCommands;
class TMDIForm;
} // namespace orvel

namespace orvel::test {

class TestDocumentContext : public IDocumentContext {
public:
    ScriptedDialogs script;
    ScriptedElementDialogs elements;
    const THtmlCharTable* table = nullptr;
    TFindReplDialog* find = nullptr;
    QString root = QStringLiteral("/tmp/");
    QString dataDir; // where programDataFile looks; empty: nowhere

    IDialogs& dialogs() override { return script; }
    ISearchDialogs& searchDialogs() override { return script; }
    IElementDialogs& elementDialogs() override { return elements; }
    TFindReplDialog* findDialog() override { return find; }
    const THtmlCharTable* charTable() const override { return table; }
    QStringList anchors{QStringLiteral("top")};
    QStringList* anchorHistory() override { return &anchors; }
    QString htmlRoot() const override { return root; }
    QString programDataFile(const QString& name) const override;
    QString mainCaption() const override { return QStringLiteral("Orvel (Version 1.2.3)"); }
    QString appTitle() const override { return QStringLiteral("Tagsmith"); }

    QStringList problems() const { return script.problems() + elements.problems(); }
};

// The document commands with their menus, as the main window makes them once.
class TestCommands {
public:
    explicit TestCommands(IDocumentContext& context);
    ~TestCommands();
    // Points the commands at the window and activates it, as selecting its tab does; the
    // commands' keys act inside it from then on.
    void attach(TMDIForm& form);
    QAction* action(cmd::TDocCommandId id) const;
    // Triggers the command's action.
    void run(cmd::TDocCommandId id);
    TDocumentCommands& commands() { return *m_commands; }
    // Errors the commands reported.
    QStringList reported;
    // Documents that asked to cycle: +1 for each next, -1 for each previous.
    QList<int> cycles;

private:
    std::unique_ptr<QWidget> m_owner;
    QList<QPointer<TMDIForm>> m_attached; // a window gone and another at its address differ
    TDocumentCommands* m_commands = nullptr;
};

} // namespace orvel::test
