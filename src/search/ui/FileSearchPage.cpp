#include "search/ui/FileSearchPage.h"

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "base/ui/ActionButton.h"
#include "base/ui/HListBox.h"
#include "search/core/FileSearchRun.h"
#include "search/core/SearchHost.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvel {

namespace {
THistoryCombo* historyBox(QWidget* parent, const char* name) {
    auto* box = new THistoryCombo(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxItems(15);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(12);
    return box;
}

QString lineBreaks(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
} // namespace

TFileSearchPage::TFileSearchPage(ISearchHost& host, IDialogs& dialogs,
                                 ISearchDialogs& searchDialogs, TSearchResultsModel& results,
                                 QWidget* parent)
    : QWidget(parent), m_host(host), m_dialogs(dialogs),
      m_run(new TFileSearchRun(host, dialogs, searchDialogs, results, this)) {
    setObjectName(QStringLiteral("FileSearchPage"));
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(T_("Search for:"), this));
    hcSearch = historyBox(this, "hcSearch");
    layout->addWidget(hcSearch);
    cbReplace = new QCheckBox(T_("Replace by:"), this);
    cbReplace->setObjectName(QStringLiteral("cbReplace"));
    layout->addWidget(cbReplace);
    hcReplace = historyBox(this, "hcReplace");
    layout->addWidget(hcReplace);
    cbConfirm = new QCheckBox(T_("Confirm replacement"), this);
    cbConfirm->setObjectName(QStringLiteral("cbConfirm"));
    layout->addWidget(cbConfirm);
    cbWord = new QCheckBox(T_("Whole words"), this);
    cbWord->setObjectName(QStringLiteral("cbWord"));
    layout->addWidget(cbWord);
    cbCase = new QCheckBox(T_("Ignore case"), this);
    cbCase->setObjectName(QStringLiteral("cbCase"));
    layout->addWidget(cbCase);
    layout->addWidget(new QLabel(T_("File types:"), this));
    hcSearchTypes = historyBox(this, "hcSearchTypes");
    layout->addWidget(hcSearchTypes);

    auto* group = new QGroupBox(T_("Search in"), this);
    auto* g = new QVBoxLayout(group);
    rbSearchOpen = new QRadioButton(T_("All opened files"), group);
    rbSearchOpen->setObjectName(QStringLiteral("rbSearchOpen"));
    rbSearchProject = new QRadioButton(T_("All files of project"), group);
    rbSearchProject->setObjectName(QStringLiteral("rbSearchProject"));
    rbSearchFolder = new QRadioButton(T_("This directory"), group);
    rbSearchFolder->setObjectName(QStringLiteral("rbSearchFolder"));
    g->addWidget(rbSearchOpen);
    g->addWidget(rbSearchProject);
    g->addWidget(rbSearchFolder);
    auto* dirRow = new QHBoxLayout;
    hcSearchDir = historyBox(group, "hcSearchDir");
    // Folder names differ by case on Linux.
    hcSearchDir->HistoryList()->setCaseSensitivity(Qt::CaseSensitive);
    dirRow->addWidget(hcSearchDir, 1);
    btnSearchDir = new QToolButton(group);
    btnSearchDir->setObjectName(QStringLiteral("btnSearchDir"));
    btnSearchDir->setText(QStringLiteral("\u2026"));
    btnSearchDir->setToolTip(T_("Directory for search and replace"));
    dirRow->addWidget(btnSearchDir);
    g->addLayout(dirRow);
    cbSearchSubDir = new QCheckBox(T_("Include subdirectories"), group);
    cbSearchSubDir->setObjectName(QStringLiteral("cbSearchSubDir"));
    cbSearchSubDir->setChecked(true);
    g->addWidget(cbSearchSubDir);
    layout->addWidget(group);

    auto* buttons = new QHBoxLayout;
    btnStartSearch = new QPushButton(T_("Start search"), this);
    btnStartSearch->setObjectName(QStringLiteral("btnStartSearch"));
    btnCancel = new QPushButton(T_("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setEnabled(false);
    buttons->addWidget(btnStartSearch);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    pbSearch = new QProgressBar(this);
    pbSearch->setObjectName(QStringLiteral("pbSearch"));
    pbSearch->setTextVisible(false);
    pbSearch->setRange(0, 1);
    pbSearch->setValue(0);
    layout->addWidget(pbSearch);
    lblSearchStatus = new QLabel(this);
    lblSearchStatus->setObjectName(QStringLiteral("lblSearchStatus"));
    lblSearchStatus->setWordWrap(true);
    layout->addWidget(lblSearchStatus);
    lbMessages = new QListWidget(this);
    lbMessages->setObjectName(QStringLiteral("lbMessages"));
    lbMessages->setVisible(false);
    lbMessages->setWordWrap(true);
    layout->addWidget(lbMessages, 1);
    layout->addStretch();

    rbSearchOpen->setChecked(true);
    hcReplace->setEnabled(false);
    cbConfirm->setEnabled(false);
    cbSearchSubDir->setEnabled(false);

    connect(btnStartSearch, &QPushButton::clicked, this, &TFileSearchPage::btnStartSearchClick);
    connect(btnCancel, &QPushButton::clicked, this, &TFileSearchPage::btnCancelClick);
    connect(btnSearchDir, &QToolButton::clicked, this, &TFileSearchPage::btnSearchDirClick);
    connect(cbReplace, &QCheckBox::clicked, this, &TFileSearchPage::cbReplaceClick);
    connect(rbSearchOpen, &QRadioButton::clicked, this, [this] { scopeClicked(fsOpenFiles); });
    connect(rbSearchProject, &QRadioButton::clicked, this, [this] { scopeClicked(fsProject); });
    connect(rbSearchFolder, &QRadioButton::clicked, this, [this] { scopeClicked(fsFolder); });
    connect(hcSearchDir, &QComboBox::activated, this, [this] { scopeClicked(fsFolder); });
    // Enter starts the search from every control of the page, before the control sees it.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    connect(m_run, &TFileSearchRun::statusChanged, this, &TFileSearchPage::setStatus);
    connect(m_run, &TFileSearchRun::progressChanged, this,
            [this](qsizetype done, qsizetype total, bool totalKnown) {
                if (!totalKnown) {
                    pbSearch->setRange(0, 0); // busy until the walk has counted the files
                    return;
                }
                pbSearch->setRange(0, int(qMax<qsizetype>(1, total)));
                pbSearch->setValue(int(done));
            });
    connect(m_run, &TFileSearchRun::noteAdded, this, [this](const QString& note) {
        lbMessages->addItem(lineBreaks(note));
        lbMessages->setVisible(true);
    });
    connect(m_run, &TFileSearchRun::finished, this, &TFileSearchPage::searchEnded);
}

TFileSearchPage::~TFileSearchPage() = default;

bool TFileSearchPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnStartSearchClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFileSearchPage::setActions(QAction* start, QAction* cancel) {
    m_startAction = start;
    m_cancelAction = cancel;
    setRunning(m_run->isRunning());
    bindButton(btnStartSearch, start);
    bindButton(btnCancel, cancel);
}

void TFileSearchPage::setRunning(bool running) {
    btnStartSearch->setEnabled(!running);
    btnCancel->setEnabled(running);
    if (m_startAction)
        m_startAction->setEnabled(!running);
    if (m_cancelAction)
        m_cancelAction->setEnabled(running);
}

bool TFileSearchPage::replaceChecked() const {
    return cbReplace->isChecked();
}

void TFileSearchPage::setReplaceChecked(bool on) {
    cbReplace->setChecked(on);
    hcReplace->setEnabled(on);
    cbConfirm->setEnabled(on);
    cbConfirm->setChecked(on);
}

TFileSearchScope TFileSearchPage::scope() const {
    return rbSearchFolder->isChecked()    ? fsFolder
           : rbSearchProject->isChecked() ? fsProject
                                          : fsOpenFiles;
}

TScopeFacts TFileSearchPage::facts() const {
    TScopeFacts f;
    f.hasDocumentFiles = !m_host.documentFiles().isEmpty();
    f.hasProjects = m_host.hasProjects();
    f.activeDocument = m_host.activeDocumentName();
    f.projectTypes = m_host.projectTextTypes();
    return f;
}

void TFileSearchPage::applyScope(const TScopeState& state) {
    rbSearchOpen->setEnabled(state.openFilesEnabled);
    rbSearchProject->setEnabled(state.projectEnabled);
    switch (state.scope) {
    case fsOpenFiles:
        rbSearchOpen->setChecked(true);
        break;
    case fsProject:
        rbSearchProject->setChecked(true);
        break;
    case fsFolder:
        rbSearchFolder->setChecked(true);
        break;
    }
    cbSearchSubDir->setEnabled(state.subDirsEnabled);
    hcSearchTypes->setEditText(state.types);
}

void TFileSearchPage::refreshScope() {
    applyScope(orvel::refreshScope(scope(), facts()));
}

void TFileSearchPage::scopeClicked(TFileSearchScope chosen) {
    if (chosen == fsFolder)
        rbSearchFolder->setChecked(true);
    cbSearchSubDir->setEnabled(chosen == fsFolder);
    hcSearchTypes->setEditText(typesForScope(chosen, facts(), hcSearchTypes->currentText()));
}

void TFileSearchPage::pageShown() {
    hcSearchDir->setEditText(m_host.projectRoot());
    refreshScope();
    for (THistoryCombo* box : {hcSearch, hcReplace})
        if (box->HistoryList()->count() > 0)
            box->setEditText(box->HistoryList()->at(0));
}

void TFileSearchPage::cbReplaceClick() {
    const bool on = cbReplace->isChecked();
    hcReplace->setEnabled(on);
    cbConfirm->setEnabled(on);
    cbConfirm->setChecked(on);
    if (on && window()->isActiveWindow())
        hcReplace->setFocus();
}

void TFileSearchPage::btnSearchDirClick() {
    const QString folder = m_dialogs.chooseFolder(T_("Directory for search and replace"),
                                                  hcSearchDir->currentText(), m_host.projectRoot());
    if (folder.isEmpty())
        return;
    hcSearchDir->setEditText(QDir::toNativeSeparators(folder));
    scopeClicked(fsFolder);
}

void TFileSearchPage::setStatus(const QString& text) {
    lblSearchStatus->setText(lineBreaks(text));
}

void TFileSearchPage::btnStartSearchClick() {
    if (m_run->isRunning())
        return;
    TFileSearchParams p;
    p.search = hcSearch->currentText();
    p.replace = cbReplace->isChecked();
    p.replacement = hcReplace->currentText();
    p.confirm = cbConfirm->isChecked();
    p.wholeWord = cbWord->isChecked();
    p.ignoreCase = cbCase->isChecked();
    p.scope = scope();
    p.types = hcSearchTypes->currentText();
    p.folder = hcSearchDir->currentText();
    p.subDirs = cbSearchSubDir->isChecked();
    // Asking the display for the pointer waits for it: only the questions need it.
    if (p.replace && p.confirm)
        p.confirmPos = QCursor::pos();
    p.threads = m_threads;
    lbMessages->clear();
    lbMessages->setVisible(false);
    if (m_run->start(p) != TFileSearchRun::Started)
        return;
    hcSearch->AddItem(p.search);
    if (p.replace)
        hcReplace->AddItem(p.replacement);
    hcSearchTypes->AddItem(p.types);
    if (p.scope == fsFolder && QFileInfo(p.folder).isDir())
        hcSearchDir->AddItem(p.folder);
    setRunning(true);
    Q_EMIT searchStarted();
}

void TFileSearchPage::btnCancelClick() {
    m_run->cancel();
}

void TFileSearchPage::searchEnded() {
    setRunning(false);
    pbSearch->setRange(0, 1);
    pbSearch->setValue(m_run->wasCancelled() ? 0 : 1);
    Q_EMIT searchFinished();
}

} // namespace orvel
