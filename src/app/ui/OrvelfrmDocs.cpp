// The main window's document windows: creating, finding, activating and closing them. The
// document list owns them; the tab strip and the document area show its order.

#include "app/ui/FileTabs.h"
#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/Dialogs.h"
#include "base/core/FileSystem.h"
#include "base/core/HistoryList.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/ui/DocumentCommands.h"
#include "editor/ui/OrvelMDI.h"
#include "search/ui/FindReplDlg.h"
#include "spelling/ui/SynEditSpellPlugin.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>

namespace orvel {

// --- Document windows ------------------------------------------------------------------------

TMDIForm* THauptForm::activeDocument() const {
    return qobject_cast<TMDIForm*>(m_docArea->currentWidget());
}

void THauptForm::applyTypeSettings(TMDIForm* form) {
    const int t = fileTypeRow(form->FileType());
    form->SetProperties(t < ftText ? m_highlighters[t].get() : nullptr, m_settings.Types[t].props,
                        m_settings.Types[t].gutter);
}

void THauptForm::connectDocument(TMDIForm* form) {
    connect(form, &TMDIForm::captionChanged, this, [this, form] {
        updateTab(form);
        refreshSearchScope();
    });
    connect(form, &TMDIForm::statusChanged, this, [this, form](bool modifiedChanged) {
        if (modifiedChanged)
            updateTab(form);
        if (form == activeDocument())
            ShowStatus(false);
    });
    connect(form, &TMDIForm::formatChanged, this, [this, form] {
        if (form == activeDocument()) {
            m_docCommands->updateState();
            ShowStatus(false);
        }
    });
    connect(form, &TMDIForm::cycleRequested, this, [this, form](bool forward) {
        if (forward)
            NextMDI(form->DocId());
        else
            PreviousMDI(form->DocId());
    });
    connect(form, &TMDIForm::findStarted, this, [this] { ShowStatus(true); });
    connectPreview(form);
    // A project's language given to every document: the active one's is selected at once.
    connect(form, &TMDIForm::languageChanged, this, [this, form] {
        if (form != activeDocument() || m_bulkLoading)
            return;
        if (TDrawAutoSpellCheckPlugin* spell = form->spellPlugin())
            spell->activate();
        ShowStatus(false);
    });
    connect(form, &TMDIForm::contextMenuRequested, this,
            [this](QPoint global) { m_docCommands->popupContextMenu(global); });
}

TMDIForm* THauptForm::NewWindow(TFileTypes fileType) {
    // Built outside the window and put in once: each widget added inside it would walk the
    // whole window's focus chain.
    auto* form = new TMDIForm(*this, fileType, m_docs.newId(), nullptr);
    // New documents take the project's encoding and language; without one ANSI, no mark.
    form->presetFormat(activeProject() ? activeProject()->ProjEncoding : seAnsi,
                       activeProject() && activeProject()->UseBom);
    form->setTextLangId(activeProject() ? activeProject()->LangId : 0);
    applyTypeSettings(form);
    form->SetKeyStrokes(m_keyStrokes);
    m_docArea->addWidget(form);
    connectDocument(form);
    return form;
}

void THauptForm::updateTab(TMDIForm* form) {
    const int i = m_docs.indexOf(form);
    if (i < 0 || i >= m_tabs->count())
        return;
    m_tabs->setTabInfo(i, {form->TextName(), form->FileType()});
    m_tabs->setTabToolTip(i, form->TextName());
    m_tabs->setTabModified(i, form->modified());
}

void THauptForm::addTab(TMDIForm* form) {
    const int at = m_tabs->currentIndex() < 0 ? 0 : m_tabs->currentIndex() + 1;
    m_docs.insert(at, form);
    {
        const QSignalBlocker block(m_tabs);
        const int index = m_tabs->insertTab(at, QFileInfo(form->TextName()).fileName());
        Q_ASSERT(index == at);
        m_tabs->setTabInfo(index, {form->TextName(), form->FileType()});
        m_tabs->setTabToolTip(index, form->TextName());
    }
    // A tab bar changed while hidden does not tell its layout that it needs height now.
    m_tabs->updateGeometry();
    m_tabs->setCurrentIndex(at);
    onTabChanged(at);
    refreshSearchScope();
}

bool THauptForm::LoadTextIntoWindow(const QString& fileName, TBufferCoord caret, quint32 langId,
                                    int dateFormat) {
    TMDIForm* form = NewWindow(FileTypeOfName(m_fileTypes, fileName));
    if (!report(form->LoadText(fileName))) {
        // A window that never held its file leaves nothing behind.
        m_docArea->removeWidget(form);
        delete form;
        return false;
    }
    form->setTextPath(withSlash(QFileInfo(fileName).absolutePath()));
    form->TextBuffer()->setCaretXY(caret);
    form->setTextLangId(langId);
    form->setTextDateFormat(dateFormat);
    m_recentFiles->AddString(fileName);
    OfferRecovery(form);
    addTab(form);
    return true;
}

TMDIForm* THauptForm::NewText(TFileTypes fileType, bool withFolder) {
    // Built out of sight, so the area does not flicker.
    m_docArea->setUpdatesEnabled(false);
    ++m_newNr;
    QString folder;
    if (withFolder)
        folder = activeDocument() ? activeDocument()->TextPath() : htmlRoot();
    TMDIForm* form = NewWindow(fileType);
    form->InitNewText(T_("*New") + QString::number(m_newNr), folder);
    addTab(form);
    m_docArea->setUpdatesEnabled(true);
    return form;
}

int THauptForm::FindWindowByName(const QString& fileName) const {
    return m_docs.findByName(fileName);
}

bool THauptForm::OpenTextFile(const QString& fileName) {
    if (!QFileInfo(fileName).isFile()) {
        reportError(fmt(T_("File: \"%s\"\r\nnot found"), {QDir::toNativeSeparators(fileName)}));
        m_recentFiles->RemString(fileName);
        return false;
    }
    const int index = FindWindowByName(fileName);
    if (index >= 0) {
        TMDIForm* form = documentAt(index);
        // Own changes are never thrown away without asking: a modified document asks when
        // it is activated; an unmodified one is reloaded at once.
        if (form->fileChangedOnDisk() && !form->modified())
            report(form->ReLoadText());
        ActivateWindow(index);
    } else {
        const QString full = QFileInfo(fileName).absoluteFilePath();
        const quint32 lang = activeProject() ? activeProject()->LangId
                                             : quint32(m_settings.Config.DictionaryLanguage);
        if (!LoadTextIntoWindow(full, {1, 1}, lang, 0))
            return false;
        if (activeProject())
            activeProject()->Add(full, {{1, 1}, lang, 0});
    }
    ShowStatus(true);
    return true;
}

void THauptForm::ActivateWindow(int index) {
    if (index < 0 || index >= m_tabs->count())
        return;
    if (m_tabs->currentIndex() == index)
        onTabChanged(index);
    else
        m_tabs->setCurrentIndex(index);
}

void THauptForm::bringToFront(TMDIForm* form) {
    ActivateWindow(m_docs.indexOf(form));
}

void THauptForm::onTabChanged(int index) {
    if (m_switching || m_closing)
        return;
    TMDIForm* form = documentAt(index);
    if (!form)
        return;
    m_docArea->setCurrentWidget(form);
    m_docs.used(form);
    if (m_bulkLoading)
        return; // only the document in front at the end is activated
    m_docCommands->setDocument(form);
    form->Activate();
    SyncFilePanel(form->TextName());
    ShowStatus(false);
}

void THauptForm::mergeMenus() {
    // The document menus stand between the main window's by group number.
    QList<std::pair<int, QMenu*>> entries;
    for (int i = 0; i < m_ownMenus.size(); ++i)
        entries.append({m_ownGroups.at(i), m_ownMenus.at(i)});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    menuBar()->clear();
    for (const auto& e : entries)
        menuBar()->addMenu(e.second);
}

void THauptForm::NextMDI(int docId) {
    if (TMDIForm* form = m_docs.next(m_docs.byId(docId)))
        bringToFront(form);
}

void THauptForm::PreviousMDI(int) {
    if (TMDIForm* form = m_docs.previous())
        bringToFront(form);
}

// --- Closing ---------------------------------------------------------------------------------

bool THauptForm::askToSave(TMDIForm* form) {
    if (!form->modified())
        return true;
    const TMsgResult answer = m_dialogs.ask(mainCaption(), fmt(T_("Save %s?"), {form->caption()}),
                                            mbYes | mbNo | mbCancel, mrYes);
    if (answer == mrCancel || answer == mrNone)
        return false;
    if (answer == mrYes)
        return saveDocument(form, TSave::Changed);
    form->discardChanges();
    return true;
}

void THauptForm::removeDocument(TMDIForm* form, bool keepInProject) {
    // The project's list keeps only what is open, unless every document is closing.
    if (activeProject() && !keepInProject && form->Status() != tsNew)
        activeProject()->Remove(form->TextName());
    const int tabIndex = m_docs.indexOf(form);
    const int front = m_docs.take(form);
    if (tabIndex >= 0) {
        m_switching = true;
        m_tabs->removeTab(tabIndex);
        m_switching = false;
    }
    m_tabs->updateGeometry();
    // The window used before it comes to the front, else the tab at the same place.
    TMDIForm* next = m_docs.byId(front);
    if (next) {
        m_switching = true;
        m_tabs->setCurrentIndex(m_docs.indexOf(next));
        m_switching = false;
        if (!keepInProject)
            m_docArea->setCurrentWidget(next);
    } else if (m_tabs->count() > 0) {
        m_switching = true;
        m_tabs->setCurrentIndex(qMin(tabIndex, m_tabs->count() - 1));
        m_switching = false;
    }
    refreshSearchScope();
}

bool THauptForm::closeDocumentWindow(TMDIForm* form, bool ask, bool keepInProject) {
    if (ask && !askToSave(form))
        return false;
    if (form == m_docCommands->document())
        m_docCommands->setDocument(nullptr);
    form->removeAutosaveCopy();
    removeDocument(form, keepInProject);
    m_docArea->removeWidget(form);
    form->deleteLater();
    if (!m_closing && activeDocument() && m_tabs->currentIndex() >= 0)
        onTabChanged(m_tabs->currentIndex());
    return true;
}

void THauptForm::ActionCloseExecute() {
    if (TMDIForm* form = activeDocument())
        closeTab(m_docs.indexOf(form));
}

void THauptForm::closeTab(int index) {
    TMDIForm* form = documentAt(index);
    if (!form)
        return;
    // At least one document window stays open.
    if (m_docs.count() == 1) {
        if (!askToSave(form))
            return;
        NewText(ftHtml, false);
        closeDocumentWindow(form, false);
    } else {
        closeDocumentWindow(form, true);
    }
    ShowStatus(true);
}

void THauptForm::ActionCloseallExecute() {
    // Once for every window that was open; a window whose question was cancelled is asked
    // again by the next round.
    const int rounds = m_docs.count();
    for (int i = 0; i < rounds; ++i)
        if (TMDIForm* form = activeDocument())
            closeDocumentWindow(form, true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    NewText(ftHtml, false);
    ShowStatus(true);
}

void THauptForm::ActionSelectDocExecute() {
    // The open documents in the order their windows were made, named below the root.
    QList<TMDIForm*> docs;
    for (int i = 0; i < m_docArea->count(); ++i)
        if (auto* f = qobject_cast<TMDIForm*>(m_docArea->widget(i)); f && m_docs.indexOf(f) >= 0)
            docs << f;
    QMenu menu(this);
    for (TMDIForm* f : docs) {
        QAction* a = menu.addAction(f->GetTextName());
        connect(a, &QAction::triggered, this, [this, f] { bringToFront(f); });
    }
    menu.exec(m_layout->ViewPanel->mapToGlobal(QPoint(0, m_layout->ViewPanel->height())));
}

bool THauptForm::CloseAllTexts(bool withCancel) {
    const QList<TMDIForm*> docs = documents();
    if (m_docs.anyModified()) {
        const TMsgResult answer = m_dialogs.ask(mainCaption(), T_("Save changed files?"),
                                                mbYes | mbNo | (withCancel ? mbCancel : 0), mrYes);
        if (answer == mrCancel || answer == mrNone)
            return false;
        if (answer == mrYes) {
            for (TMDIForm* f : docs)
                if (f->modified() && !saveDocument(f, TSave::Changed))
                    return false; // a save that did not happen keeps every window open
        } else {
            for (TMDIForm* f : docs)
                f->discardChanges();
        }
    }
    recordDocuments();
    if (docs.isEmpty())
        return true;
    m_closing = true;
    // Each window taken from the stack would otherwise switch updates off and on across all
    // the others: quadratic in the number of documents.
    m_docArea->setUpdatesEnabled(false);
    for (int i = int(docs.size()) - 1; i >= 0; --i)
        closeDocumentWindow(docs[i], false, true);
    m_docArea->setUpdatesEnabled(true);
    m_closing = false;
    QApplication::processEvents();
    return true;
}

void THauptForm::ActionExitExecute() {
    if (!CloseAllTexts(false))
        return;
    close();
}

void THauptForm::closeEvent(QCloseEvent* event) {
    if (!transferAllowsClose()) {
        event->ignore();
        return;
    }
    if (m_findDialog)
        m_findDialog->close();
    if (!CloseAllTexts(false)) {
        event->ignore();
        return;
    }
    closePreview();
    hide();
    SaveSettings();
    event->accept();
    if (m_restartAfterClose)
        restartAfterClose();
}

} // namespace orvel
