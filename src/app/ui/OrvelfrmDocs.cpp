// The main window's document windows: creating, finding, activating and closing them.

#include "app/ui/Orvelfrm.h"

#include "app/ui/FileTabs.h"
#include "app/ui/MainLayout.h"
#include "base/core/Dialogs.h"
#include "base/core/Errors.h"
#include "base/core/FileSystem.h"
#include "base/core/HistoryList.h"
#include "base/core/IniFileUtils.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/ui/OrvelMDI.h"
#include "search/ui/FindReplDlg.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace orvel {

// --- Document windows ------------------------------------------------------------------------

QList<TMDIForm*> THauptForm::documents() const {
    QList<TMDIForm*> out;
    for (int i = 0; i < m_tabs->count(); ++i)
        if (TMDIForm* f = documentAt(i))
            out << f;
    return out;
}

TMDIForm* THauptForm::documentAt(int tabIndex) const {
    if (tabIndex < 0 || tabIndex >= m_tabs->count())
        return nullptr;
    return findById(m_tabs->tabData(tabIndex).toInt());
}

TMDIForm* THauptForm::findById(int id) const {
    for (int i = 0; i < m_docArea->count(); ++i)
        if (auto* f = qobject_cast<TMDIForm*>(m_docArea->widget(i)); f && f->DocId == id)
            return f;
    return nullptr;
}

TMDIForm* THauptForm::activeDocument() const {
    return qobject_cast<TMDIForm*>(m_docArea->currentWidget());
}

void THauptForm::applyTypeSettings(TMDIForm* form) {
    const int t = form->FileType < ftNone ? form->FileType : ftText;
    form->SetProperties(t < ftText ? m_highlighters[t].get() : nullptr, m_settings.Types[t].props,
                        m_settings.Types[t].gutter);
}

TMDIForm* THauptForm::NewWindow(TFileTypes fileType) {
    // Built outside the window and put in once: each widget added inside it would walk the
    // whole window's focus chain.
    auto* form = new TMDIForm(*this, fileType, nullptr);
    // New documents take the project's encoding and language; without one ANSI, no mark.
    form->Encoding = m_actProject ? m_actProject->ProjEncoding : seAnsi;
    form->UseBom = m_actProject && m_actProject->UseBom;
    form->setTextLangId(m_actProject ? m_actProject->LangId : 0);
    applyTypeSettings(form);
    form->SetKeyStrokes(m_keyStrokes);
    m_ids.Add(form->DocId);
    m_docArea->addWidget(form);
    connect(form, &TMDIForm::captionChanged, this, [this, form] { updateTab(form); });
    connect(form, &TMDIForm::statusChanged, this, [this, form](bool modifiedChanged) {
        if (modifiedChanged)
            updateTab(form);
        if (form == activeDocument())
            ShowStatus(false);
    });
    return form;
}

void THauptForm::updateTab(TMDIForm* form) {
    const int i = form->WinIndex;
    if (i < 0 || i >= m_tabs->count())
        return;
    m_tabs->setTabInfo(i, {form->TextName, form->FileType});
    m_tabs->setTabToolTip(i, form->TextName);
    m_tabs->setTabModified(i, form->modified());
}

void THauptForm::RenumberTabs() {
    for (int i = 0; i < m_tabs->count(); ++i)
        if (TMDIForm* f = documentAt(i))
            f->WinIndex = i;
    // A tab bar changed while hidden does not tell its layout that it needs height now.
    m_tabs->updateGeometry();
}

namespace {
int insertTab(TFileTabBar* tabs, TMDIForm* form) {
    const int at = tabs->currentIndex() < 0 ? 0 : tabs->currentIndex() + 1;
    QSignalBlocker block(tabs);
    const int index = tabs->insertTab(at, QFileInfo(form->TextName).fileName());
    tabs->setTabData(index, form->DocId);
    tabs->setTabInfo(index, {form->TextName, form->FileType});
    tabs->setTabToolTip(index, form->TextName);
    return index;
}
} // namespace

bool THauptForm::LoadTextIntoWindow(const QString& fileName, TBufferCoord caret, quint32 langId,
                                    int dateFormat) {
    TMDIForm* form = NewWindow(FileTypeOfName(m_fileTypes, fileName));
    if (!form->LoadText(fileName)) {
        // A window that never held its file leaves nothing behind.
        m_ids.Remove(form->DocId);
        m_docArea->removeWidget(form);
        delete form;
        return false;
    }
    form->TextPath = withSlash(QFileInfo(fileName).absolutePath());
    form->TextBuffer->setCaretXY(caret);
    form->setTextLangId(langId);
    form->TextDateFormat = dateFormat;
    m_recentFiles->AddString(fileName);
    OfferRecovery(form);
    const int index = insertTab(m_tabs, form);
    RenumberTabs();
    m_tabs->setCurrentIndex(index);
    onTabChanged(index);
    return true;
}

TMDIForm* THauptForm::NewText(TFileTypes fileType, bool withFolder) {
    // Built out of sight, so the area does not flicker.
    m_docArea->setUpdatesEnabled(false);
    ++m_newNr;
    QString folder;
    if (withFolder)
        folder = activeDocument() ? activeDocument()->TextPath : m_htmPath;
    TMDIForm* form = NewWindow(fileType);
    form->InitNewText(T_("*New") + QString::number(m_newNr), folder, form->Encoding);
    form->SetKeyStrokes(m_keyStrokes);
    const int index = insertTab(m_tabs, form);
    RenumberTabs();
    m_tabs->setCurrentIndex(index);
    onTabChanged(index);
    m_docArea->setUpdatesEnabled(true);
    return form;
}

int THauptForm::FindWindowByName(const QString& fileName) const {
    const QString target = normalizedPath(fileName);
    if (target.isEmpty())
        return -1;
    for (int i = 0; i < m_tabs->count(); ++i)
        if (TMDIForm* f = documentAt(i);
            f && f->Status != tsNew && !f->TextName.isEmpty() && f->resolvedName() == target)
            return i;
    return -1;
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
            form->ReLoadText();
        ActivateWindow(index);
    } else {
        const QString full = QFileInfo(fileName).absoluteFilePath();
        const quint32 lang =
            m_actProject ? m_actProject->LangId : quint32(m_settings.Config.DictionaryLanguage);
        if (!LoadTextIntoWindow(full, {1, 1}, lang, 0))
            return false;
        if (m_actProject)
            m_actProject->Add(full, {{1, 1}, lang, 0});
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
    if (form && form->WinIndex >= 0)
        ActivateWindow(form->WinIndex);
}

void THauptForm::onTabChanged(int index) {
    if (m_switching || m_closing)
        return;
    TMDIForm* form = documentAt(index);
    if (!form)
        return;
    m_docArea->setCurrentWidget(form);
    m_ids.Add(form->DocId);
    if (m_bulkLoading)
        return; // only the document in front at the end is activated
    mergeMenus();
    showToolPanel(form);
    form->Activate();
    SyncFilePanel(form->TextName);
    ShowStatus(false);
}

void THauptForm::showToolPanel(TMDIForm* form) {
    // The active window's element toolbar stands in the tool area; the others wait hidden.
    QWidget* panel = form ? form->toolPanel() : nullptr;
    if (panel == m_shownToolPanel)
        return;
    if (m_shownToolPanel) {
        m_shownToolPanel->hide();
        m_layout->ViewPanel->layout()->removeWidget(m_shownToolPanel);
        // Back to its document, so that it goes with it.
        if (m_shownToolPanelOwner)
            m_shownToolPanel->setParent(m_shownToolPanelOwner);
    }
    m_shownToolPanel = panel;
    m_shownToolPanelOwner = panel ? form : nullptr;
    if (panel) {
        m_layout->ViewPanel->layout()->addWidget(panel);
        panel->show();
    }
}

void THauptForm::mergeMenus() {
    // The active document's menus stand between the main window's by group number.
    struct Entry {
        int group;
        QMenu* menu;
    };
    QList<Entry> entries;
    for (int i = 0; i < m_ownMenus.size(); ++i)
        entries.append({m_ownGroups.at(i), m_ownMenus.at(i)});
    if (TMDIForm* form = activeDocument())
        for (const TMergedMenu& m : form->menus())
            entries.append({m.group, m.menu});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.group < b.group; });
    menuBar()->clear();
    for (const Entry& e : entries)
        menuBar()->addMenu(e.menu);
}

void THauptForm::NextMDI(int docId) {
    if (TMDIForm* form = findById(m_ids.Next(docId)))
        bringToFront(form);
}

void THauptForm::PreviousMDI(int) {
    if (TMDIForm* form = findById(m_ids.Previous()))
        bringToFront(form);
}

// --- Closing ---------------------------------------------------------------------------------

bool THauptForm::closeDocumentWindow(TMDIForm* form, bool ask) {
    if (ask && !form->closeQuery())
        return false;
    if (m_shownToolPanel == form->existingToolPanel())
        showToolPanel(nullptr);
    form->closeDocument();
    m_docArea->removeWidget(form);
    form->deleteLater();
    if (!m_closing)
        if (TMDIForm* active = activeDocument(); active && m_tabs->currentIndex() >= 0)
            onTabChanged(m_tabs->currentIndex());
    return true;
}

void THauptForm::CloseMDI(int tabIndex, int docId, TTextStatus status, const QString& fileName) {
    if (tabIndex < 0)
        return;
    if (m_actProject && status != tsNew && status != tsClose)
        m_actProject->Remove(fileName);
    const int front = m_ids.Remove(docId);
    m_switching = true;
    if (tabIndex < m_tabs->count())
        m_tabs->removeTab(tabIndex);
    m_switching = false;
    RenumberTabs();
    TMDIForm* next = findById(front);
    if (next && next->DocId != docId && next->WinIndex >= 0) {
        m_switching = true;
        m_tabs->setCurrentIndex(next->WinIndex);
        m_switching = false;
        if (status != tsClose)
            m_docArea->setCurrentWidget(next);
    } else if (m_tabs->count() > 0) {
        m_switching = true;
        m_tabs->setCurrentIndex(qMin(tabIndex, m_tabs->count() - 1));
        m_switching = false;
    }
}

void THauptForm::ActionCloseExecute() {
    if (TMDIForm* form = activeDocument())
        closeTab(form->WinIndex);
}

void THauptForm::closeTab(int index) {
    TMDIForm* form = documentAt(index);
    if (!form)
        return;
    // At least one document window stays open.
    if (m_tabs->count() == 1) {
        if (form->modified() && !form->closeQuery())
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
    const int rounds = int(documents().size());
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
        if (auto* f = qobject_cast<TMDIForm*>(m_docArea->widget(i)); f && f->WinIndex >= 0)
            docs << f;
    QMenu menu(this);
    for (TMDIForm* f : docs) {
        QAction* a = menu.addAction(f->GetTextName());
        connect(a, &QAction::triggered, this, [this, f] { ActivateWindow(f->WinIndex); });
    }
    menu.exec(m_layout->ViewPanel->mapToGlobal(QPoint(0, m_layout->ViewPanel->height())));
}

bool THauptForm::CloseAllTexts(bool withCancel) {
    QList<TMDIForm*> docs = documents();
    bool anyModified = false;
    for (TMDIForm* f : docs)
        anyModified = anyModified || f->modified();
    if (anyModified) {
        const TMsgResult answer = m_dialogs.ask(mainCaption(), T_("Save changed files?"),
                                                mbYes | mbNo | (withCancel ? mbCancel : 0), mrYes);
        if (answer == mrCancel || answer == mrNone)
            return false;
        if (answer == mrYes) {
            for (TMDIForm* f : docs)
                if (f->modified() && !SaveTextFromMDI(f, true, true, false))
                    return false; // a save that did not happen keeps every window open
        } else {
            for (TMDIForm* f : docs)
                f->TextBuffer->setModified(false);
        }
    }
    recordDocuments();
    if (docs.isEmpty())
        return true;
    m_closing = true;
    // Each window taken from the stack would otherwise switch updates off and on across all
    // the others: quadratic in the number of documents.
    m_docArea->setUpdatesEnabled(false);
    for (int i = int(docs.size()) - 1; i >= 0; --i) {
        docs[i]->Status = tsClose;
        closeDocumentWindow(docs[i], false);
    }
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
    if (m_findDialog)
        m_findDialog->close();
    if (!CloseAllTexts(false)) {
        event->ignore();
        return;
    }
    hide();
    SaveSettings();
    event->accept();
}

} // namespace orvel
