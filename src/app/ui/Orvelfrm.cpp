#include "app/ui/Orvelfrm.h"

#include "app/core/Dialogs.h"
#include "app/core/Errors.h"
#include "app/core/FileSystem.h"
#include "app/core/HistoryList.h"
#include "app/core/IniFileUtils.h"
#include "app/core/Translate.h"
#include "app/ui/CommandList.h"
#include "app/ui/MainLayout.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace orvel {

namespace {
const TCommandDef kOpen = {"ActionOpen", 1005, N_("File"), N_("&Open .."), N_("Open document"), ""};
const TCommandDef kClose = {"ActionClose",        1006, N_("File"), N_("&Close"),
                            N_("Close document"), ""};
const TCommandDef kSave = {"ActionSave", 1008, N_("File"), N_("&Save"), N_("Save document"), "F2"};
const TCommandDef kSaveAs = {
    "ActionSaveAs", 1009, N_("File"), N_("Save &as .."), N_("Save document as new file"), ""};
const TCommandDef kExit = {"ActionExit", 1011, N_("File"), N_("&Quit"), N_("Quit program"), ""};

QString withSlash(const QString& dir) {
    return dir.isEmpty() || dir.endsWith(u'/') ? dir : dir + u'/';
}
} // namespace

THauptForm::THauptForm(const TShellStart& start, IDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_start(start), m_dialogs(dialogs), m_settings(start.languageCode) {
    setWindowTitle(m_start.caption);
    m_recentFiles = new THistoryList(this, 15);
    for (int i = 0; i < 4; ++i)
        m_searchHistories << new THistoryList(this, 15);
    readSettings();
    m_fileTypes = m_settings.fileTypes();
    for (int t = 0; t < ftText; ++t)
        m_highlighters[t] = THighlighter::create(THighlighterKind(t));
    m_keyStrokes = defaultEditorKeyStrokes();
    createLayout();
    createCommands();
    // The stored placement; a maximized window keeps its normal placement beneath.
    const TFormSettings& f = m_settings.Form;
    setGeometry(f.Left, f.Top, qMax(200, f.Width), qMax(150, f.Height));
    if (f.State == 2)
        setWindowState(Qt::WindowMaximized);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        // Back from another program: the active document checks its file again.
        if (s == Qt::ApplicationActive && !m_closing)
            if (TMDIForm* form = activeDocument())
                form->Activate();
    });
}

namespace {
const char* const kSearchHistorySections[4] = {"FileFind", "FileReplace", "FindDirs", "FindTypes"};
} // namespace

void THauptForm::readSettings() {
    if (m_start.iniName.isEmpty())
        return;
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(m_start.iniName);
    m_settings.Read(ini, m_start.languageCode);
    m_recentFiles->LoadFromIni(ini, QStringLiteral("RecentFiles"));
    for (int i = 0; i < 4; ++i)
        m_searchHistories[i]->LoadFromIni(ini, QString::fromLatin1(kSearchHistorySections[i]));
}

THistoryList* THauptForm::searchHistory(const QString& section) const {
    for (int i = 0; i < 4; ++i)
        if (section.compare(QLatin1String(kSearchHistorySections[i]), Qt::CaseInsensitive) == 0)
            return m_searchHistories[i];
    return nullptr;
}

void THauptForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    m_layout->pcLeft->setCurrentIndex(0);
    // Splitter sizes need the real sizes of the frame: once it is laid out.
    QTimer::singleShot(0, this, [this] { m_layout->apply(m_settings.Form); });
}

void THauptForm::captureForm() {
    TFormSettings& f = m_settings.Form;
    f.State = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    if (f.State == 0) {
        const QRect g = geometry();
        f.Left = g.left();
        f.Top = g.top();
        f.Width = g.width();
        f.Height = g.height();
    }
    if (m_placed)
        m_layout->capture(f);
}

void THauptForm::SaveSettings() {
    if (m_start.iniName.isEmpty())
        return;
    QStringList errors;
    const auto attempt = [&errors](const std::function<void()>& write) {
        try {
            write();
        } catch (const EOrvelError& e) {
            if (!errors.contains(e.message()))
                errors << e.message();
        }
    };
    captureForm();
    attempt([this] {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(m_start.iniName);
        m_settings.Write(ini);
        ini.UpdateFile();
    });
    attempt(
        [this] { m_recentFiles->SaveToIni(m_start.iniName, QStringLiteral("RecentFiles"), true); });
    // The search panel's boxes keep their own sections; until they exist the lists are kept here.
    for (int i = 0; i < 4; ++i)
        attempt([this, i] {
            m_searchHistories[i]->SaveToIni(m_start.iniName,
                                            QString::fromLatin1(kSearchHistorySections[i]), true);
        });
    for (const QString& e : errors)
        reportError(e);
}

THauptForm::~THauptForm() {
    m_closing = true;
    // Documents go before the highlighters and lists they use.
    for (TMDIForm* form : documents())
        delete form;
}

void THauptForm::createCommands() {
    m_commands = new TCommandList(this, [this](const QString& message) { reportError(message); });
    m_commands->add(kOpen, [this] { ActionOpenExecute(); });
    m_commands->add(kSave, [this] { ActionSaveExecute(); });
    m_commands->add(kSaveAs, [this] { ActionSaveAsExecute(); });
    m_commands->add(kClose, [this] { ActionCloseExecute(); });
    m_commands->add(kExit, [this] { ActionExitExecute(); });
    auto* file = new QMenu(T_("&File"), this);
    file->addAction(action("ActionOpen"));
    file->addAction(action("ActionSave"));
    file->addAction(action("ActionSaveAs"));
    file->addAction(action("ActionClose"));
    file->addSeparator();
    file->addAction(action("ActionExit"));
    m_ownMenus << file;
    m_ownGroups << 1;
    for (QAction* a : m_commands->actions())
        addAction(a);
    mergeMenus();
}

void THauptForm::createLayout() {
    m_layout = new TMainLayout(this);
    setCentralWidget(m_layout->central);
    m_docArea = m_layout->docArea;
    m_tabs = m_layout->tabs;
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) { onTabChanged(index); });
    for (int i = 0; i < 6; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setMinimumWidth(i == 1 || i == 2 ? 85 : 20);
        if (i == 5)
            statusBar()->addWidget(m_panels[i], 1);
        else
            statusBar()->addWidget(m_panels[i]);
    }
}

QAction* THauptForm::action(const char* name) const {
    return m_commands->action(name);
}

QString THauptForm::programDataFile(const QString& name) const {
    return m_start.findDataFile ? m_start.findDataFile(name) : QString();
}

QString THauptForm::appTitle() const {
    return QStringLiteral("Tagsmith");
}

void THauptForm::reportError(const QString& message) {
    m_dialogs.error(appTitle(), message);
}

bool THauptForm::Init() {
    bool opened = false;
    for (const QString& name : m_start.comLineFiles) {
        // Names that do not exist are skipped without a message.
        if (QFileInfo(name).isFile())
            opened = OpenTextFile(QFileInfo(name).absoluteFilePath()) || opened;
    }
    if (!opened)
        NewDocument(ftHtml);
    return true;
}

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
    auto* form = new TMDIForm(*this, fileType, m_docArea);
    // Without a project: ANSI, no byte-order mark, no text language.
    form->Encoding = seAnsi;
    form->UseBom = false;
    form->setTextLangId(0);
    applyTypeSettings(form);
    form->SetKeyStrokes(m_keyStrokes);
    m_ids.Add(form->DocId);
    m_docArea->addWidget(form);
    connect(form, &TMDIForm::captionChanged, this, [this, form] {
        if (form->WinIndex >= 0 && form->WinIndex < m_tabs->count()) {
            m_tabs->setTabText(form->WinIndex, QFileInfo(form->TextName).fileName());
            m_tabs->setTabToolTip(form->WinIndex, form->TextName);
        }
    });
    connect(form, &TMDIForm::statusChanged, this, [this, form](bool) {
        if (form == activeDocument())
            ShowStatus(false);
    });
    return form;
}

void THauptForm::RenumberTabs() {
    for (int i = 0; i < m_tabs->count(); ++i)
        if (TMDIForm* f = documentAt(i))
            f->WinIndex = i;
    // A tab bar changed while hidden does not tell its layout that it needs height now.
    m_tabs->updateGeometry();
}

namespace {
int insertTab(QTabBar* tabs, TMDIForm* form) {
    const int at = tabs->currentIndex() < 0 ? 0 : tabs->currentIndex() + 1;
    QSignalBlocker block(tabs);
    const int index = tabs->insertTab(at, QFileInfo(form->TextName).fileName());
    tabs->setTabData(index, form->DocId);
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
    const int index = insertTab(m_tabs, form);
    RenumberTabs();
    m_tabs->setCurrentIndex(index);
    onTabChanged(index);
    return true;
}

TMDIForm* THauptForm::NewDocument(TFileTypes fileType, const QString& dir) {
    TMDIForm* form = NewWindow(fileType);
    form->InitNewText(QStringLiteral("*New") + QString::number(++m_newNr), dir, form->Encoding);
    const int index = insertTab(m_tabs, form);
    RenumberTabs();
    m_tabs->setCurrentIndex(index);
    onTabChanged(index);
    return form;
}

int THauptForm::FindWindowByName(const QString& fileName) const {
    for (int i = 0; i < m_tabs->count(); ++i)
        if (TMDIForm* f = documentAt(i); f && f->Status != tsNew && sameFile(f->TextName, fileName))
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
    } else if (!LoadTextIntoWindow(QFileInfo(fileName).absoluteFilePath(), {1, 1}, 0, 0)) {
        return false;
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
    mergeMenus();
    form->Activate();
    ShowStatus(false);
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
    form->closeDocument();
    m_docArea->removeWidget(form);
    form->deleteLater();
    if (!m_closing)
        if (TMDIForm* active = activeDocument(); active && m_tabs->currentIndex() >= 0)
            onTabChanged(m_tabs->currentIndex());
    return true;
}

void THauptForm::CloseMDI(int tabIndex, int docId, TTextStatus status, const QString&) {
    Q_UNUSED(status);
    if (tabIndex < 0)
        return;
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
    TMDIForm* form = activeDocument();
    if (!form)
        return;
    // At least one document window stays open.
    if (m_tabs->count() == 1) {
        if (form->modified() && !form->closeQuery())
            return;
        NewDocument(ftHtml);
        closeDocumentWindow(form, false);
    } else {
        closeDocumentWindow(form, true);
    }
    ShowStatus(true);
}

bool THauptForm::CloseAllTexts(bool withCancel) {
    QList<TMDIForm*> docs = documents();
    if (docs.isEmpty())
        return true;
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
    m_closing = true;
    for (int i = int(docs.size()) - 1; i >= 0; --i) {
        docs[i]->Status = tsClose;
        closeDocumentWindow(docs[i], false);
    }
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
    if (!CloseAllTexts(false)) {
        event->ignore();
        return;
    }
    hide();
    SaveSettings();
    event->accept();
}

// --- Saving ----------------------------------------------------------------------------------

QString THauptForm::fileFilter(TFileTypes type, bool allTypes) const {
    QStringList parts;
    for (int t = 0; t < kFileTypeCount; ++t)
        if (allTypes || t == type)
            parts << T_(m_fileTypes.at(t).Desc) << m_fileTypes.at(t).FileFilter;
    parts << T_("all") << QStringLiteral("*.*");
    return parts.join(u'|');
}

bool THauptForm::SaveTextFromMDI(TMDIForm* form, bool, bool, bool saveUnchanged) {
    if (!form->modified() && !saveUnchanged)
        return true;
    if (form->Status != tsOld) {
        const int t = form->FileType < ftNone ? form->FileType : ftText;
        TFileDialogArgs args;
        args.title = form->caption() + T_(" save as");
        args.filter = fileFilter(form->FileType, false);
        args.defaultExt = m_fileTypes.at(t).DefExt;
        args.dir = form->TextPath;
        args.fileName = form->Status == tsNew ? QString() : QFileInfo(form->TextName).fileName();
        QString name;
        for (;;) {
            name = m_dialogs.saveFileName(args);
            if (name.isEmpty()) {
                if (form->Status == tsChange)
                    form->Status = tsOld;
                return false;
            }
            const int holder = FindWindowByName(name);
            if (holder >= 0 && documentAt(holder) != form) {
                // Two windows on one file would overwrite each other's work.
                reportError(fmt(T_("File: \"%s\"\r\nis open in another window."),
                                {QDir::toNativeSeparators(name)}));
                continue;
            }
            if (QFileInfo::exists(name) && !sameFile(name, form->TextName)) {
                const TMsgResult answer = m_dialogs.ask(
                    mainCaption(),
                    fmt(T_("File: \"%s\" already exists!"), {QDir::toNativeSeparators(name)}) +
                        QStringLiteral("\r\n") + T_("Overwrite file?"),
                    mbYes | mbNo, mrNo);
                if (answer != mrYes)
                    continue;
            }
            break;
        }
        const QString full = QFileInfo(name).absoluteFilePath();
        form->TextName = full;
        form->TextPath = withSlash(QFileInfo(full).absolutePath());
        form->setCaption(full);
        m_recentFiles->AddString(full);
    }
    bool saved = false;
    try {
        saved = form->SaveText();
    } catch (const EOrvelError& e) {
        reportError(e.message());
        return false;
    }
    if (form->WinIndex >= 0)
        m_tabs->setTabText(form->WinIndex, QFileInfo(form->TextName).fileName());
    ShowStatus(false);
    return saved;
}

void THauptForm::ActionSaveExecute() {
    if (TMDIForm* form = activeDocument())
        SaveTextFromMDI(form, false, false, true);
}

void THauptForm::ActionSaveAsExecute() {
    TMDIForm* form = activeDocument();
    if (!form)
        return;
    if (form->Status != tsNew)
        form->Status = tsChange;
    SaveTextFromMDI(form, false, false, true);
}

void THauptForm::ActionOpenExecute() {
    TFileDialogArgs args;
    args.title = T_("Open file");
    args.dir = m_start.htmPath;
    args.filter = fileFilter(ftNone, true);
    const QString name = m_dialogs.openFileName(args);
    if (!name.isEmpty())
        OpenTextFile(name);
}

// --- Status ----------------------------------------------------------------------------------

void THauptForm::ShowStatus(bool updateTabs) {
    TMDIForm* form = activeDocument();
    if (updateTabs && form && form->WinIndex >= 0 && m_tabs->currentIndex() != form->WinIndex) {
        m_switching = true;
        m_tabs->setCurrentIndex(form->WinIndex);
        m_switching = false;
    }
    m_panels[0]->setText(T_("Root-Path") + QStringLiteral(": ") +
                         QDir::toNativeSeparators(m_start.htmPath));
    if (form) {
        const TBufferCoord c = form->TextBuffer->caretXY();
        m_panels[1]->setText(QString::asprintf("%6d:%3d", c.Line, c.Char));
        m_panels[2]->setText(form->TextBuffer->insertMode() ? T_("Insert") : T_("Overwrite"));
        m_panels[3]->setText(QString());
        m_panels[4]->setText(QStringLiteral("[") + encodingDisplayName(form->Encoding) +
                             QStringLiteral("]"));
        QString rel;
        if (form->Status != tsNew) {
            rel = form->TextName;
            if (isPathBelow(rel, m_start.htmPath))
                rel = QDir(m_start.htmPath).relativeFilePath(rel);
            if (rel == QStringLiteral("."))
                rel.clear();
        } else {
            rel = form->TextName;
        }
        const int t = form->FileType < ftNone ? form->FileType : ftText;
        m_panels[5]->setText(T_(m_fileTypes.at(t).Desc) + QStringLiteral(": ") +
                             QDir::toNativeSeparators(rel));
    } else {
        for (int i : {1, 3, 4, 5})
            m_panels[i]->clear();
    }
    action("ActionSave")->setEnabled(form && form->modified());
    action("ActionSaveAs")->setEnabled(form != nullptr);
    action("ActionClose")->setEnabled(form != nullptr);
}

} // namespace orvel
