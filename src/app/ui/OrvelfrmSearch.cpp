// The main window's search in files: the page on the left, the results above the documents,
// their commands, and what the search needs of the documents and projects.

#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "base/ui/HListBox.h"
#include "editor/ui/OrvelMDI.h"
#include "macros/core/MacroCommands.h"
#include "search/core/FileSearchRun.h"
#include "search/core/SearchCommands.h"
#include "search/ui/FileSearchPage.h"
#include "search/ui/SearchResultsPage.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QCheckBox>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

namespace orvel {

void THauptForm::createSearchPanel() {
    m_searchResults = new TSearchResultsPage(*this);
    m_fileSearch =
        new TFileSearchPage(*this, m_dialogs, *m_searchDialogs, *m_searchResults->model());
    // The pages take the places the frame keeps for them.
    const auto replacePage = [](QTabWidget* tabs, int index, QWidget* page, const QString& text) {
        QWidget* old = tabs->widget(index);
        tabs->removeTab(index);
        delete old;
        tabs->insertTab(index, page, text);
    };
    const int current = m_layout->pcLeft->currentIndex();
    replacePage(m_layout->pcLeft, 1, m_fileSearch, T_("Search in files"));
    m_layout->pcLeft->setCurrentIndex(current);
    replacePage(m_layout->pcTop, 1, m_searchResults, T_("Search results"));

    // The boxes keep the histories read with the settings, and are written with them.
    THistoryCombo* boxes[4] = {m_fileSearch->hcSearch, m_fileSearch->hcReplace,
                               m_fileSearch->hcSearchDir, m_fileSearch->hcSearchTypes};
    for (int i = 0; i < 4; ++i) {
        boxes[i]->AssignList(m_searchHistories[i]->items());
        delete m_searchHistories[i];
        m_searchHistories[i] = boxes[i]->HistoryList();
    }
    m_fileSearch->setReplaceChecked(m_settings.FileReplace);
    connect(m_fileSearch->cbReplace, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.FileReplace = on; });

    m_searchCommands =
        new TCommandList(this, [this](const QString& message) { reportError(message); });
    TFileSearchPage* page = m_fileSearch;
    TSearchResultsPage* results = m_searchResults;
    const std::function<void()> handlers[] = {
        [page] { page->btnStartSearchClick(); },    [page] { page->btnCancelClick(); },
        [results] { results->btnOpenTreeClick(); }, [results] { results->btnCloseTreeClick(); },
        [results] { results->btnOpenClick(); },     [this] { ActionShowSearchExecute(); }};
    static_assert(std::size(handlers) == cmd::kSearchCommandCount);
    for (const TCommandDef& def : orvel::searchCommands())
        addAction(m_searchCommands->add(def, handlers[def.id]));
    const auto act = [this](cmd::TSearchCommandId id) { return m_searchCommands->action(id); };
    page->setActions(act(cmd::ActionStartSearch), act(cmd::ActionCancelSearch));
    results->setActions(act(cmd::ActionExpandResults), act(cmd::ActionCollapseResults),
                        act(cmd::ActionOpenResult));
    m_windowCommands << act(cmd::ActionShowSearch);
    fillWindowMenu();

    connect(m_layout->pcLeft, &QTabWidget::currentChanged, this, [this] { leftPageChanged(); });
    connect(page, &TFileSearchPage::searchFinished, this, [this, page] {
        // Files replaced on disk: the active document looks at its file again.
        if (page->cbReplace->isChecked() && page->run()->hits() > 0)
            if (TMDIForm* form = activeDocument())
                form->UpdateText();
    });
}

void THauptForm::ActionShowSearchExecute() {
    m_layout->pcLeft->setCurrentWidget(m_fileSearch);
    m_fileSearch->hcSearch->setFocus();
}

void THauptForm::leftPageChanged() {
    const bool inFront = m_layout->pcLeft->currentWidget() == m_fileSearch;
    if (inFront == m_searchInFront)
        return;
    m_searchInFront = inFront;
    QAction* macros = m_macroCommands->action(cmd::ActionShowMacros);
    if (inFront) {
        m_macrosShownBefore =
            m_layout->topPanelShown() && m_layout->pcTop->currentWidget() == m_macroPanel;
        m_layout->pcTop->setCurrentWidget(m_searchResults);
        m_layout->showTopPanel(true);
        macros->setEnabled(false);
        m_fileSearch->pageShown();
    } else {
        m_layout->pcTop->setCurrentWidget(m_macroPanel);
        m_layout->showTopPanel(m_macrosShownBefore);
        macros->setEnabled(true);
    }
}

void THauptForm::refreshSearchScope() {
    // The page looks again whenever it comes to the front.
    if (m_fileSearch && m_searchInFront)
        m_fileSearch->refreshScope();
}

QStringList THauptForm::documentFiles() const {
    QStringList out;
    for (const TMDIForm* form : documents())
        if (form->Status() != tsNew)
            out << form->TextName();
    return out;
}

QString THauptForm::activeDocumentName() const {
    const TMDIForm* form = activeDocument();
    return form ? form->TextName() : QString();
}

bool THauptForm::documentText(const QString& fileName, QByteArray& text) const {
    const TMDIForm* form = documentAt(FindWindowByName(fileName));
    if (!form || form->Status() == tsNew)
        return false;
    text = form->TextBuffer()->textBytes().toByteArray();
    return true;
}

bool THauptForm::replaceInDocument(const QString& fileName, const QList<qsizetype>& starts,
                                   qsizetype length, const QString& replacement) {
    TMDIForm* form = documentAt(FindWindowByName(fileName));
    if (!form || form->Status() == tsNew)
        return false;
    TEditorControl* editor = form->TextBuffer();
    // From the end backwards, so that the earlier offsets stay valid; one undoable step.
    editor->beginUpdate();
    for (auto it = starts.crbegin(); it != starts.crend(); ++it)
        editor->replaceBytes(*it, length, replacement);
    editor->endUpdate();
    editor->setModified(true);
    return true;
}

bool THauptForm::saveAllDocuments() {
    ActionSaveAllExecute();
    // An untitled document left unsaved is not searched; a file whose write failed (and was
    // reported) stops the replacement.
    return std::none_of(documents().cbegin(), documents().cend(), [](const TMDIForm* form) {
        return form->Status() != tsNew && form->modified();
    });
}

bool THauptForm::openFileAt(const QString& fileName, TBufferCoord begin, TBufferCoord end) {
    if (!OpenTextFile(fileName))
        return false;
    TMDIForm* form = activeDocument();
    if (!form)
        return false;
    TEditorControl* editor = form->TextBuffer();
    editor->focusText();
    editor->setSelection(begin, end);
    bringToFront(form);
    activateWindow();
    raise();
    return true;
}

QString THauptForm::projectTextTypes() const {
    return activeProject() ? activeProject()->TextTypes : QString();
}

} // namespace orvel
