// The main window's preview: the commands, the page provider the preview window asks, the
// external browser, and the refresh while the user types.

#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/core/DocumentText.h"
#include "editor/ui/OrvelMDI.h"
#include "preview/ui/ModernEngineLoader.h"
#include "preview/ui/WebView.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace orvel {

namespace {
// clang-format off
const TCommandDef kPreviewCommands[] = {
    {CMD(ActionPreview), 2002, N_("Actions"), N_("Pre&view"), N_("Internal preview"), "F12"},
    {CMD(ActionExtPreview), 2005, N_("Actions"), N_("&ext. preview"), N_("Preview using external browser"), "F10"},
};
// clang-format on

bool isPreviewable(const TMDIForm* form) {
    return form && form->FileType() == ftHtml;
}
} // namespace

void THauptForm::createPreviewCommands() {
    QAction* preview = m_commands->add(kPreviewCommands[0], [this] { ActionPreviewExecute(); });
    QAction* external = m_commands->add(kPreviewCommands[1], [this] { ActionExtPreviewExecute(); });
    external->setIcon(style()->standardIcon(QStyle::SP_DesktopIcon));
    m_layout->fileToolBar->addAction(external);
    m_windowCommands << preview << external;
    fillWindowMenu();

    QMenu* menu = m_prefsMenu->addMenu(T_("Pre&view"));
    auto* engines = new QActionGroup(this);
    m_classicItem = menu->addAction(T_("Classic browser"));
    m_edgeItem = menu->addAction(T_("Edge browser"));
    for (QAction* a : {m_classicItem, m_edgeItem}) {
        a->setCheckable(true);
        engines->addAction(a);
    }
    (m_settings.Config.EdgeBrowser ? m_edgeItem : m_classicItem)->setChecked(true);
    connect(m_classicItem, &QAction::triggered, this,
            [this] { m_commands->run([this] { setPreviewEngine(false); }); });
    connect(m_edgeItem, &QAction::triggered, this,
            [this] { m_commands->run([this] { setPreviewEngine(true); }); });
    menu->addSeparator();
    m_liveItem = menu->addAction(T_("&Live refresh"));
    m_liveItem->setCheckable(true);
    m_liveItem->setChecked(m_previewSettings.LiveRefresh);
    connect(m_liveItem, &QAction::toggled, this, [this](bool on) {
        m_previewSettings.LiveRefresh = on;
        if (m_preview)
            m_preview->setLiveRefresh(on);
        if (!on)
            m_previewTimer->stop();
    });
    QAction* browser = menu->addAction(T_("External &browser .."));
    connect(browser, &QAction::triggered, this,
            [this] { m_commands->run([this] { itmExtBrowserClick(); }); });

    // After the last key the page waits a moment, so that typing stays fluent.
    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    connect(m_previewTimer, &QTimer::timeout, this, [this] {
        if (m_preview && m_preview->isVisible() && m_preview->options().LiveRefresh &&
            isPreviewable(activeDocument()))
            m_commands->run([this] { m_preview->Refresh(true); });
    });
}

void THauptForm::initPreview() {
    // Asked of the module's presence alone: the engine itself is loaded on first use.
    if (m_settings.Config.EdgeBrowser && modernEngineModule().isEmpty()) {
        reportError(T_("Edge browser not available"));
        m_settings.Config.EdgeBrowser = false;
        m_classicItem->setChecked(true);
    }
}

TfrmWebView* THauptForm::previewWindow() {
    if (m_preview)
        return m_preview;
    m_preview = new TfrmWebView(!modernEngineModule().isEmpty());
    if (!m_start.localDataPath.isEmpty())
        m_preview->setStoragePath(m_start.localDataPath + QStringLiteral("WebView2Cache"));
    m_preview->setOptions(m_previewSettings);
    if (!m_preview->SetBrowserMode(m_settings.Config.EdgeBrowser)) {
        m_settings.Config.EdgeBrowser = false;
        m_classicItem->setChecked(true);
    }
    m_preview->FOnRefresh = [this](QObject*, QString& title, QString& url, QString& org) {
        PreviewRefresh(title, url, org);
    };
    m_preview->onError = [this](const QString& message) { reportError(message); };
    connect(m_preview, &TfrmWebView::modernEngineFailed, this, [this] {
        m_settings.Config.EdgeBrowser = false;
        m_classicItem->setChecked(true);
    });
    return m_preview;
}

void THauptForm::setPreviewEngine(bool edge) {
    const bool ok =
        m_preview ? m_preview->SetBrowserMode(edge) : !edge || !modernEngineModule().isEmpty();
    if (ok)
        m_settings.Config.EdgeBrowser = edge;
    else
        reportError(T_("Edge browser not available"));
    (m_settings.Config.EdgeBrowser ? m_edgeItem : m_classicItem)->setChecked(true);
}

void THauptForm::updatePreviewActions(const TMDIForm* form) {
    action(cmd::ActionPreview)->setEnabled(isPreviewable(form));
    action(cmd::ActionExtPreview)->setEnabled(isPreviewable(form));
}

void THauptForm::connectPreview(TMDIForm* form) {
    connect(form->TextBuffer(), &TEditorControl::contentChanged, this, [this, form] {
        if (form != activeDocument() || !m_preview || !m_preview->isVisible())
            return;
        const TPreviewSettings& s = m_preview->options();
        if (s.LiveRefresh)
            m_previewTimer->start(s.LiveRefreshDelay);
    });
}

TResult<QString> THauptForm::writePreviewCopyOf(TMDIForm* form, bool expand) {
    // A document never saved has no folder of its own yet: the project's folder serves.
    QString folder = form->Status() == tsNew ? htmlRoot() : form->TextPath();
    if (folder.isEmpty())
        folder = form->TextPath();
    QString program = m_start.programName;
    if (program.isEmpty())
        program = QFileInfo(QApplication::applicationFilePath()).completeBaseName();
    TPreviewText text;
    text.utf8 = form->TextBuffer()->textBytes();
    text.format = form->format();
    text.expand = expand;
    text.sourceName = form->TextName();
    const TResult<QString> copy = m_previewCopies.write(previewCopyName(folder, program), text);
    if (copy.ok())
        m_previewFailed.clear();
    return copy;
}

void THauptForm::previewCopyFailed(const QString& error) {
    if (m_previewFailed.contains(error))
        return;
    m_previewFailed << error;
    reportError(error);
}

void THauptForm::PreviewRefresh(QString& Title, QString& URL, QString& Org) {
    TMDIForm* form = activeDocument();
    if (!form)
        return;
    if (form->FileType() != ftHtml) {
        URL.clear();
        return;
    }
    Title = form->caption();
    Org = form->TextName();
    const TResult<QString> copy = writePreviewCopyOf(form, isHtmlTemplateName(form->TextName()));
    if (copy.ok()) {
        URL = copy.value();
        return;
    }
    // The page says why rather than showing the text as it was.
    URL.clear();
    previewCopyFailed(copy.error());
    m_preview->ShowProblem(this, Title, copy.error(), Org);
}

void THauptForm::ActionPreviewExecute() {
    TMDIForm* form = activeDocument();
    if (!isPreviewable(form))
        return;
    TfrmWebView* view = previewWindow();
    if (view->isVisible()) {
        view->raise();
        view->activateWindow();
        // Where the window manager keeps the focus here, the page is brought up to date all
        // the same.
        view->Refresh(true);
        return;
    }
    const TResult<QString> copy = writePreviewCopyOf(form, isHtmlTemplateName(form->TextName()));
    if (!copy.ok()) {
        previewCopyFailed(copy.error());
        view->ShowProblem(this, form->caption(), copy.error(), form->TextName());
        return;
    }
    if (copy.value().isEmpty()) {
        reportError(T_("Error in HTT template"));
        return;
    }
    view->ShowWebPage(this, form->caption(), copy.value(), form->TextName());
}

void THauptForm::ActionExtPreviewExecute() {
    TMDIForm* form = activeDocument();
    if (!isPreviewable(form))
        return;
    // The browser gets the text as it stands, a template unexpanded.
    const TResult<QString> copy = writePreviewCopyOf(form, false);
    if (!report(copy.status()))
        return;
    const QString& browser = m_settings.Config.ExternalBrowser;
    const TBrowserCommand command = externalBrowserCommand(browser, copy.value());
    if (QProcess::startDetached(command.program, command.arguments))
        return;
    if (browser.trimmed().isEmpty()) {
        // No opener program: the desktop's own way, where there is one.
        QDesktopServices::openUrl(QUrl::fromLocalFile(copy.value()));
        return;
    }
    reportError(
        fmt(T_("The program could not be started:\r\n%s"), {QDir::toNativeSeparators(browser)}));
}

void THauptForm::itmExtBrowserClick() {
    QString& browser = m_settings.Config.ExternalBrowser;
    TFileDialogArgs args;
    args.title = T_("Search for external browser");
    args.dir = browser.isEmpty() ? QStringLiteral("/usr/bin") : QFileInfo(browser).absolutePath();
    args.fileName = browser;
    args.filter = T_("Programs") + QStringLiteral("|*");
    const QString chosen = m_dialogs.openFileName(args);
    if (!chosen.isEmpty())
        browser = chosen;
}

void THauptForm::savePreviewSettings(TUnicodeIniFile& ini) {
    if (m_preview)
        m_previewSettings = m_preview->options();
    m_previewSettings.Write(ini, QStringLiteral("Preview"));
}

void THauptForm::closePreview() {
    if (m_previewTimer)
        m_previewTimer->stop();
    if (m_preview && m_preview->isVisible())
        m_preview->close();
}

void THauptForm::releasePreview() {
    closePreview();
    if (m_preview)
        m_previewSettings = m_preview->options();
    delete m_preview;
    m_preview = nullptr;
}

} // namespace orvel
