// The main window's file commands: open, save, save as, templates.

#include "app/ui/Orvelfrm.h"

#include "app/ui/FileTabs.h"
#include "app/ui/MainLayout.h"
#include "base/core/Dialogs.h"
#include "base/core/Errors.h"
#include "base/core/FileSystem.h"
#include "base/core/HistoryList.h"
#include "base/core/IniFileUtils.h"
#include "base/core/LanguageIds.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/ui/OrvelMDI.h"
#include "projects/core/TemplateProcessor.h"
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

// An HTML template, which "Save as &HTML" turns into its page.
bool isHtmlTemplate(const TMDIForm* form) {
    return form->FileType() == ftHtml && isHtmlTemplateName(form->TextName());
}

} // namespace

// --- Saving ----------------------------------------------------------------------------------

QString THauptForm::fileFilter(TFileTypes type, bool allTypes) const {
    QStringList parts;
    for (int t = 0; t < kFileTypeCount; ++t)
        if (allTypes || t == type)
            parts << T_(m_fileTypes.at(t).Desc) << m_fileTypes.at(t).FileFilter;
    parts << T_("all") << QStringLiteral("*.*");
    return parts.join(u'|');
}

QString THauptForm::askSaveName(TMDIForm* form) {
    TFileDialogArgs args;
    args.title = form->caption() + T_(" save as");
    args.filter = fileFilter(form->FileType(), false);
    args.defaultExt = m_fileTypes.at(fileTypeRow(form->FileType())).DefExt;
    args.dir = form->TextPath();
    args.fileName = form->Status() == tsNew ? QString() : QFileInfo(form->TextName()).fileName();
    for (;;) {
        const QString name = m_dialogs.saveFileName(args);
        if (name.isEmpty())
            return QString();
        const int holder = FindWindowByName(name);
        if (holder >= 0 && documentAt(holder) != form) {
            // Two windows on one file would overwrite each other's work.
            reportError(fmt(T_("File: \"%s\"\r\nis open in another window."),
                            {QDir::toNativeSeparators(name)}));
            continue;
        }
        if (QFileInfo::exists(name) && !sameFile(name, form->TextName())) {
            const TMsgResult answer = m_dialogs.ask(
                mainCaption(),
                fmt(T_("File: \"%s\" already exists!"), {QDir::toNativeSeparators(name)}) +
                    QStringLiteral("\r\n") + T_("Overwrite file?"),
                mbYes | mbNo, mrNo);
            if (answer != mrYes)
                continue;
        }
        return name;
    }
}

bool THauptForm::saveDocument(TMDIForm* form, TSave mode) {
    if (mode == TSave::Changed && !form->modified())
        return true;
    const bool newName =
        mode == TSave::NewName || form->Status() == tsNew || form->Status() == tsReadOnly;
    if (newName) {
        const QString name = askSaveName(form);
        if (name.isEmpty())
            return false;
        const QString full = QFileInfo(name).absoluteFilePath();
        if (activeProject()) {
            // The project's entry moves to the new name.
            if (form->Status() != tsNew)
                activeProject()->Remove(form->TextName());
            activeProject()->Add(
                full, {form->TextBuffer()->caretXY(), form->TextLangId(), form->TextDateFormat()});
        }
        form->setFileName(full);
        m_recentFiles->AddString(full);
    }
    const TResult<bool> saved = form->SaveText();
    updateTab(form);
    ShowStatus(false);
    return report(saved.status()) && saved.value();
}

void THauptForm::ActionSaveExecute() {
    if (TMDIForm* form = activeDocument())
        saveDocument(form, TSave::Always);
}

void THauptForm::ActionSaveAsExecute() {
    if (TMDIForm* form = activeDocument())
        saveDocument(form, TSave::NewName);
}

void THauptForm::ActionSaveAllExecute() {
    // Only what changed; untitled documents ask for a name, a cancelled one is left as it is.
    for (TMDIForm* form : documents())
        saveDocument(form, TSave::Changed);
    ShowStatus(false);
}

void THauptForm::ActionTemplateExecute() {
    TMDIForm* form = activeDocument();
    if (!form)
        return;
    const QString folder = m_dialogs.chooseFolder(T_("Select subdirectory for template"),
                                                  form->TextPath(), htmlRoot());
    if (folder.isEmpty())
        return;
    const QString target = withSlash(folder) + QStringLiteral("~template.html");
    if (QFileInfo::exists(target) && m_dialogs.ask(mainCaption(),
                                                   fmt(T_("Overwrite existing template:\r\n%s?"),
                                                       {QDir::toNativeSeparators(target)}),
                                                   mbYes | mbNo, mrNo) != mrYes)
        return;
    report(form->SaveTemplate(target));
}

void THauptForm::ActionSaveHtmlExecute() {
    TMDIForm* form = activeDocument();
    if (!form || !isHtmlTemplate(form))
        return;
    // The file as stored: changes not yet saved are not part of it.
    QString why;
    if (ProcessTemplate(form->TextName(), nullptr, &why).isEmpty())
        reportError(T_("Error writing HTML template!") +
                    (why.isEmpty() ? QString() : QStringLiteral("\r\n") + why));
}

void THauptForm::SyncFilePanel(const QString& fileName) {
    const QFileInfo fi(fileName);
    if (fi.exists())
        m_panelFolder = withSlash(fi.absolutePath());
}

void THauptForm::ActionOpenExecute() {
    TFileDialogArgs args;
    args.title = T_("Open file");
    args.dir = htmlRoot();
    args.filter = fileFilter(ftNone, true);
    const QString name = m_dialogs.openFileName(args);
    if (!name.isEmpty())
        OpenTextFile(name);
}

// --- Status ----------------------------------------------------------------------------------

QString THauptForm::statusName(const TMDIForm* form) const {
    // Below the root relative to it, elsewhere whole; the root itself shows nothing.
    QString rel = form->TextName();
    if (form->Status() != tsNew && isPathBelow(rel, htmlRoot())) {
        rel = QDir(htmlRoot()).relativeFilePath(rel);
        if (rel == QStringLiteral("."))
            rel.clear();
    }
    return T_(m_fileTypes.at(fileTypeRow(form->FileType())).Desc) + QStringLiteral(": ") +
           QDir::toNativeSeparators(rel);
}

void THauptForm::showTabHint(int index) {
    // While the mouse is over a tab, the last panel tells which file it is, in hint colours.
    m_hintIndex = index;
    QLabel* panel = m_panels[5];
    const TMDIForm* form = documentAt(index);
    if (!form) {
        panel->setAutoFillBackground(false);
        panel->setPalette(palette());
        panel->setText(m_actHint);
        return;
    }
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::WindowText, Qt::blue);
    panel->setAutoFillBackground(true);
    panel->setPalette(p);
    panel->setText(statusName(form));
}

void THauptForm::ShowStatus(bool updateTabs) {
    TMDIForm* form = activeDocument();
    const int tab = m_docs.indexOf(form);
    if (updateTabs && tab >= 0 && m_tabs->currentIndex() != tab) {
        m_switching = true;
        m_tabs->setCurrentIndex(tab);
        m_switching = false;
    }
    m_panels[0]->setText(T_("Root-Path") + QStringLiteral(": ") +
                         QDir::toNativeSeparators(htmlRoot()));
    if (form) {
        const TBufferCoord c = form->TextBuffer()->caretXY();
        m_panels[1]->setText(QString::asprintf("%6d:%3d", c.Line, c.Char));
        m_panels[2]->setText(form->TextBuffer()->insertMode() ? T_("Insert") : T_("Overwrite"));
        m_panels[3]->setText(languageDisplayName(form->TextLangId()));
        m_panels[4]->setText(QStringLiteral("[") + encodingDisplayName(form->Encoding()) +
                             QStringLiteral("]"));
        m_actHint = statusName(form);
        if (m_hintIndex < 0)
            m_panels[5]->setText(m_actHint);
    } else {
        for (int i : {1, 3, 4, 5})
            m_panels[i]->clear();
    }
    action(cmd::ActionSave)->setEnabled(form && form->modified());
    action(cmd::ActionSaveAs)->setEnabled(form != nullptr);
    action(cmd::ActionTemplate)->setEnabled(form != nullptr);
    action(cmd::ActionSaveHtml)->setEnabled(form && isHtmlTemplate(form));
    action(cmd::ActionClose)->setEnabled(form != nullptr);
    action(cmd::ActionSaveAll)->setEnabled(m_docs.anyModified());
    updateTransferCommands();
    updatePreviewActions(form);
    m_panels[0]->setFixedWidth(qMax(20, m_layout->pcLeft->width()));
}

} // namespace orvel
