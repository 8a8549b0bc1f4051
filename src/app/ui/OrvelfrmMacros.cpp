// The main window's text macros: the panel above the documents and its commands.

#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "dialogs/core/ElementDialogs.h"
#include "editor/ui/OrvelMDI.h"
#include "macros/core/MacroCommands.h"
#include "macros/core/MacroFile.h"

#include <QAction>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>

namespace orvel {

void THauptForm::createMacroPanel() {
    m_macroPanel = new TMacroPanel(*this);
    // The panel takes the page the frame keeps for it, with its splitter's stored width.
    QTabWidget* top = m_layout->pcTop;
    const int page = top->indexOf(m_layout->macroSplit);
    top->removeTab(page);
    delete m_layout->macroSplit;
    m_layout->macroSplit = m_macroPanel->splitter();
    m_layout->macroSplit->setStretchFactor(0, 0);
    m_layout->macroSplit->setStretchFactor(1, 1);
    top->insertTab(page, m_macroPanel, T_("Text macros"));

    m_macroCommands =
        new TCommandList(this, [this](const QString& message) { reportError(message); });
    TMacroPanel* p = m_macroPanel;
    const std::function<void()> handlers[] = {[p] { p->macroNew(); },
                                              [p] { p->macroDelete(); },
                                              [p] { p->macroInsert(); },
                                              [p] { p->macroUp(); },
                                              [p] { p->macroDown(); },
                                              [p] { p->macroRename(); },
                                              [p] { p->macroReplace(); },
                                              [p] { p->macroEdit(); },
                                              [this] { ActionShowMacrosExecute(); }};
    for (const TCommandDef& def : orvel::macroCommands())
        addAction(m_macroCommands->add(def, handlers[def.id]));
    const auto act = [this](cmd::TMacroCommandId id) { return m_macroCommands->action(id); };
    p->setActions({act(cmd::ActionMacroNew), act(cmd::ActionMacroReplace),
                   act(cmd::ActionMacroInsert), act(cmd::ActionMacroRename),
                   act(cmd::ActionMacroDelete), act(cmd::ActionMacroEdit), act(cmd::ActionMacroUp),
                   act(cmd::ActionMacroDown)});
    QAction* show = act(cmd::ActionShowMacros);
    m_layout->macroButton->setDefaultAction(show);
    m_layout->macroButton->setArrowType(m_layout->topPanelShown() ? Qt::UpArrow : Qt::DownArrow);
    m_windowCommands << show;
    fillWindowMenu();
    if (!m_start.iniName.isEmpty())
        report(p->load(macroFileName(m_start.iniName)));
}

void THauptForm::ActionShowMacrosExecute() {
    const bool shown =
        !m_layout->topPanelShown() || m_layout->pcTop->currentWidget() != m_macroPanel;
    m_layout->pcTop->setCurrentWidget(m_macroPanel);
    m_layout->showTopPanel(shown);
    m_macroPanel->setPanelShown(shown);
}

bool THauptForm::inputName(const QString& caption, const QString& prompt, const QStringList& offers,
                           QPoint at, QString& name) {
    QStringList history = offers;
    TLineInput input;
    input.caption = caption;
    input.prompt = prompt;
    input.history = offers.isEmpty() ? nullptr : &history;
    input.historySize = int(offers.size()) + 1;
    input.at = at;
    return m_elements->inputLine(input, name);
}

TEditorControl* THauptForm::activeEditor() {
    TMDIForm* form = activeDocument();
    return form ? form->TextBuffer() : nullptr;
}

} // namespace orvel
