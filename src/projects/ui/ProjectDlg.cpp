#include "projects/ui/ProjectDlg.h"

#include "base/core/EditListModel.h"
#include "base/core/Translate.h"
#include "base/ui/HListBox.h"
#include "base/ui/QtDialogs.h"
#include "projects/ui/FtpProxyDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvel {

namespace {

constexpr int kHistoryLength = 15;
constexpr int kDirectPage = 0;
constexpr int kFtpPage = 1;

// The typed folder, or the nearest parent of it that exists; empty when nothing was typed.
QString nearestExistingFolder(const QString& typed) {
    QString path = QDir::cleanPath(typed.trimmed());
    if (path.isEmpty() || path == u'.')
        return QString();
    while (!QFileInfo(path).isDir()) {
        const QString up = QFileInfo(path).path();
        if (up == path)
            return QString();
        path = up;
    }
    return path;
}

QToolButton* browseButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("..."));
    button->setIcon(QIcon::fromTheme(QStringLiteral("folder-open")));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

// A labelled field, with a button beside it when extra is given.
void addGridRow(QGridLayout* grid, int row, const QString& label, QWidget* field, QWidget* extra) {
    if (!label.isEmpty()) {
        auto* l = new QLabel(label);
        l->setBuddy(field);
        grid->addWidget(l, row, 0);
    }
    grid->addWidget(field, row, 1, 1, extra ? 1 : 2);
    if (extra)
        grid->addWidget(extra, row, 2);
}

THistoryCombo* historyBox(QWidget* parent, bool folders) {
    auto* box = new THistoryCombo(parent);
    box->setMaxItems(kHistoryLength);
    // Folder names differ by case on Linux and on most FTP servers.
    if (folders)
        box->HistoryList()->setCaseSensitivity(Qt::CaseSensitive);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(24);
    return box;
}

} // namespace

TProjectDialog::TProjectDialog(QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit(this)), m_root(new QLineEdit(this)),
      m_rootBrowse(browseButton(this)), m_case(new QComboBox(this)),
      m_language(new QComboBox(this)), m_reload(new QCheckBox(T_("Reload open files"), this)),
      m_typesRow(new QWidget(this)), m_textTypes(new QLineEdit(m_typesRow)),
      m_binTypes(new QLineEdit(m_typesRow)), m_transfer(new QComboBox(this)),
      m_pages(new QTabWidget(this)), m_encoding(new QComboBox(this)),
      m_bom(new QCheckBox(T_("Use byte order marks in files (BOM)"), this)) {
    m_proxyEditor = [this](TFtpProxyParams& params) {
        TFtpProxyDialog dlg(this);
        dlg.setDialogs(m_dialogs);
        return dlg.Execute(params, true);
    };

    m_case->addItems({T_(" No changes on filenames"), T_(" Change filenames to all lower case"),
                      T_(" Change filenames to ALL UPPER CASE")});
    m_transfer->addItems({T_("None"), T_("Direct"), T_("FTP")});
    m_encoding->addItems({T_("UTF-8"), T_("UTF-16 (LE)"), T_("UTF-16 (BE)"), T_("ANSI Latin 1")});
    m_root->setMinimumWidth(320);

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* field, QWidget* extra = nullptr) {
        addGridRow(grid, row++, label, field, extra);
    };
    addRow(T_("Project name:"), m_name);
    addRow(T_("Root directory:"), m_root, m_rootBrowse);
    addRow(QString(), m_case);
    addRow(T_("Dictionary language:"), m_language);
    addRow(QString(), m_reload);
    addRow(T_("Encoding (Character set):"), m_encoding);
    addRow(QString(), m_bom);

    auto* types = new QGridLayout(m_typesRow);
    types->setContentsMargins(0, 0, 0, 0);
    auto* textLabel = new QLabel(T_("Textfile types:"), m_typesRow);
    auto* binLabel = new QLabel(T_("Other file types"), m_typesRow);
    textLabel->setBuddy(m_textTypes);
    binLabel->setBuddy(m_binTypes);
    types->addWidget(textLabel, 0, 0);
    types->addWidget(binLabel, 0, 1);
    types->addWidget(m_textTypes, 1, 0);
    types->addWidget(m_binTypes, 1, 1);

    auto* transferRow = new QHBoxLayout;
    auto* transferLabel = new QLabel(T_("Server connection:"), this);
    transferLabel->setBuddy(m_transfer);
    transferRow->addWidget(transferLabel);
    transferRow->addWidget(m_transfer);
    transferRow->addStretch(1);

    m_pages->addTab(buildDirectPage(), T_("Server settings"));
    m_pages->addTab(buildFtpPage(), T_("Ftp settings"));

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(T_("OK"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(T_("Cancel"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_typesRow);
    layout->addLayout(transferRow);
    layout->addWidget(m_pages);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(m_rootBrowse, &QToolButton::clicked, this, [this] {
        const QString chosen = browse(m_root->text());
        if (!chosen.isEmpty())
            m_root->setText(chosen);
    });
    connect(m_transfer, &QComboBox::currentIndexChanged, this, &TProjectDialog::transferChosen);
    connect(m_pages, &QTabWidget::currentChanged, this, &TProjectDialog::pageChosen);
    connect(m_encoding, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            applyBomRule(false);
    });
}

TProjectDialog::~TProjectDialog() = default;

QWidget* TProjectDialog::buildDirectPage() {
    auto* page = new QWidget;
    m_share = historyBox(page, true);
    m_shareBrowse = browseButton(page);
    auto* label = new QLabel(T_("Local directory or network share:"), page);
    label->setBuddy(m_share);
    auto* layout = new QGridLayout(page);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(m_share, 1, 0);
    layout->addWidget(m_shareBrowse, 1, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
    connect(m_shareBrowse, &QToolButton::clicked, this, [this] {
        const QString chosen = browse(m_share->currentText());
        if (!chosen.isEmpty())
            m_share->setEditText(chosen);
    });
    return page;
}

QWidget* TProjectDialog::buildFtpPage() {
    auto* page = new QWidget;
    m_server = historyBox(page, false);
    m_port = new QSpinBox(page);
    m_port->setRange(1, 65535);
    m_user = historyBox(page, false);
    m_password = new QLineEdit(page);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    m_showPwd = new QToolButton(page);
    m_showPwd->setCheckable(true);
    m_showPwd->setText(QStringLiteral("abc"));
    m_showPwd->setIcon(QIcon::fromTheme(QStringLiteral("view-reveal-symbolic")));
    m_remoteDir = historyBox(page, true);
    m_passive = new QCheckBox(T_("Passiv- Mode"), page);
    m_tlsLabel = new QLabel(T_("Use secure data connection"), page);
    m_tls = new QComboBox(page);
    m_tls->addItems(
        {T_("No"), T_("If available"), T_("Require (explicite)"), T_("Always (impilcite)")});
    m_tlsLabel->setBuddy(m_tls);
    m_proxy = new QCheckBox(T_("Proxy- Server"), page);
    m_protocolLog = new QCheckBox(T_("Write a protocol log"), page);
    m_protocolLog->setToolTip(T_("Every command and reply of the FTP connection goes to the "
                                 "file FtpLog.txt; passwords are left out"));

    auto* layout = new QGridLayout(page);
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* field, QWidget* extra = nullptr) {
        addGridRow(layout, row++, label, field, extra);
    };
    addRow(T_("Servername:"), m_server);
    addRow(T_("Port:"), m_port);
    addRow(T_("Username:"), m_user);
    addRow(T_("Password:"), m_password, m_showPwd);
    addRow(T_("Remote directory:"), m_remoteDir);
    layout->addWidget(m_tlsLabel, row, 0);
    layout->addWidget(m_tls, row++, 1, 1, 2);
    layout->addWidget(m_passive, row, 0);
    layout->addWidget(m_proxy, row++, 1, 1, 2);
    layout->addWidget(m_protocolLog, row++, 0, 1, 3);
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(1, 1);

    connect(m_showPwd, &QToolButton::toggled, this, [this](bool shown) {
        m_password->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });
    connect(m_proxy, &QCheckBox::toggled, this, &TProjectDialog::proxyToggled);
    return page;
}

void TProjectDialog::LoadFromIni(const QString& iniName) {
    m_server->LoadFromIni(iniName, QStringLiteral("FtpServer"));
    m_user->LoadFromIni(iniName, QStringLiteral("Usernames"));
    m_remoteDir->LoadFromIni(iniName, QStringLiteral("FtpDirs"));
    m_share->LoadFromIni(iniName, QStringLiteral("Shares"));
}

void TProjectDialog::SaveToIni(TUnicodeIniFile& ini) {
    m_server->SaveToIni(ini, QStringLiteral("FtpServer"), false);
    m_user->SaveToIni(ini, QStringLiteral("Usernames"), false);
    m_remoteDir->SaveToIni(ini, QStringLiteral("FtpDirs"), false);
    m_share->SaveToIni(ini, QStringLiteral("Shares"), false);
}

IDialogs* TProjectDialog::dialogs() {
    if (m_dialogs)
        return m_dialogs;
    if (!m_ownDialogs) {
        auto own = std::make_unique<TQtDialogs>();
        own->setParentWidget(this);
        m_ownDialogs = std::move(own);
    }
    return m_ownDialogs.get();
}

QString TProjectDialog::browse(const QString& typed) {
    return dialogs()->chooseFolder(T_("Project: ") + m_name->text(), nearestExistingFolder(typed),
                                   m_defaultRoot);
}

void TProjectDialog::fillDirectPage() {
    const TProjectInfo& p = *m_project;
    m_share->setEditText(p.TransferMode == tmDirect ? p.RemotePath : QString());
}

void TProjectDialog::fillFtpPage() {
    const TProjectInfo& p = *m_project;
    const QSignalBlocker block(m_proxy);
    m_server->setEditText(p.Host);
    m_port->setValue(p.Port);
    m_user->setEditText(p.Username);
    m_password->setText(p.Password);
    m_remoteDir->setEditText(p.TransferMode == tmFtp ? p.RemotePath : QString());
    m_passive->setChecked(p.Passive);
    m_tls->setCurrentIndex(qBound(0, p.SecureMode, m_tls->count() - 1));
    m_proxy->setChecked(p.ProxyPar.Mode != 0);
    m_protocolLog->setChecked(p.ProtocolLog);
}

void TProjectDialog::transferChosen(int mode) {
    if (m_filling || !m_project)
        return;
    if (mode == tmDirect)
        fillDirectPage();
    else if (mode == tmFtp)
        fillFtpPage();
    showTransferRows(mode);
}

void TProjectDialog::pageChosen(int page) {
    if (m_filling)
        return;
    // Only the mode follows the page: what was typed there stays.
    m_filling = true;
    m_transfer->setCurrentIndex(page == kFtpPage ? tmFtp : tmDirect);
    m_filling = false;
    showTransferRows(m_transfer->currentIndex());
}

void TProjectDialog::showTransferRows(int mode) {
    const bool publish = mode == tmDirect || mode == tmFtp;
    if (publish) {
        const QSignalBlocker block(m_pages);
        m_pages->setCurrentIndex(mode == tmFtp ? kFtpPage : kDirectPage);
    }
    m_typesRow->setVisible(publish);
    m_pages->setVisible(publish);
    if (!isVisible())
        return;
    layout()->activate();
    resize(width(), sizeHint().height());
}

void TProjectDialog::applyBomRule(bool keepCheck) {
    const int encoding = m_encoding->currentIndex();
    m_bom->setEnabled(encoding == seUTF8);
    if (encoding == seUTF16LE || encoding == seUTF16BE)
        m_bom->setChecked(true);
    else if (encoding != seUTF8 || !keepCheck)
        m_bom->setChecked(false);
}

void TProjectDialog::proxyToggled(bool on) {
    if (!on || m_filling || !m_project || !isVisible())
        return;
    // The proxy dialog edits the project itself, whatever becomes of this dialog.
    m_proxyEditor(m_project->ProxyPar);
    const QSignalBlocker block(m_proxy);
    m_proxy->setChecked(m_project->ProxyPar.Mode != 0);
}

void TProjectDialog::place(QPoint pos) {
    const QScreen* screen = pos.x() >= 0 && pos.y() >= 0 ? QGuiApplication::screenAt(pos) : nullptr;
    if (!screen)
        screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(placeOnScreen(pos, frameGeometry().size(), screen->availableGeometry()));
}

void TProjectDialog::setup(QPoint pos, const QString& caption, TProjectInfo& project,
                           bool tlsAvailable, const QList<TLanguageName>& languages,
                           const QString& defaultRoot) {
    m_project = &project;
    m_defaultRoot = defaultRoot;
    m_filling = true;
    setWindowTitle(caption);

    m_language->clear();
    m_language->addItem(T_("None"), 0u);
    for (const TLanguageName& language : languages)
        m_language->addItem(language.Name, language.Id);
    const int langRow = project.LangId ? m_language->findData(project.LangId) : 0;
    m_language->setCurrentIndex(qMax(0, langRow));

    m_showPwd->setChecked(false);
    m_password->setEchoMode(QLineEdit::Password);
    m_tls->setEnabled(tlsAvailable);
    m_tlsLabel->setEnabled(tlsAvailable);

    m_name->setText(project.ProjName);
    m_root->setText(project.ProjPath.isEmpty() ? defaultRoot : project.ProjPath);
    m_case->setCurrentIndex(qBound(0, int(project.CaseMode), m_case->count() - 1));
    m_reload->setChecked(project.Reload);
    m_textTypes->setText(project.TextTypes);
    m_binTypes->setText(project.BinTypes);
    const int mode = qBound(0, int(project.TransferMode), m_transfer->count() - 1);
    m_transfer->setCurrentIndex(mode);
    fillDirectPage();
    fillFtpPage();
    m_encoding->setCurrentIndex(qBound(0, int(project.ProjEncoding), m_encoding->count() - 1));
    m_bom->setChecked(project.UseBom);
    applyBomRule(true);
    m_filling = false;

    showTransferRows(mode);
    m_name->setFocus();
    setResult(QDialog::Rejected);
    adjustSize();
    place(pos);
}

bool TProjectDialog::finish(bool accepted, TProjectInfo& project) {
    m_project = nullptr;
    if (!accepted)
        return false;
    project.ProjName = m_name->text();
    project.ProjPath = m_root->text().trimmed();
    if (!project.ProjPath.isEmpty() && !project.ProjPath.endsWith(u'/'))
        project.ProjPath += u'/';
    project.CaseMode = TTextChange(m_case->currentIndex());
    project.LangId = m_language->currentData().toUInt();
    project.Reload = m_reload->isChecked();
    project.TextTypes = m_textTypes->text();
    project.BinTypes = m_binTypes->text();
    project.TransferMode = TTransferMode(m_transfer->currentIndex());
    if (project.TransferMode == tmDirect) {
        project.RemotePath = m_share->currentText();
        m_share->AddItem(project.RemotePath);
    } else if (project.TransferMode == tmFtp) {
        project.Host = m_server->currentText().trimmed();
        project.Port = m_port->value();
        project.Username = m_user->currentText();
        project.Password = m_password->text();
        project.RemotePath = m_remoteDir->currentText();
        project.Passive = m_passive->isChecked();
        project.SecureMode = m_tls->currentIndex();
        if (!m_proxy->isChecked())
            project.ProxyPar.Mode = 0;
        project.ProtocolLog = m_protocolLog->isChecked();
        m_server->AddItem(project.Host);
        m_user->AddItem(project.Username);
        m_remoteDir->AddItem(project.RemotePath);
    }
    project.ProjEncoding = TSynEncoding(m_encoding->currentIndex());
    project.UseBom = m_bom->isChecked();
    project.Changed = true;
    return true;
}

bool TProjectDialog::Execute(QPoint pos, const QString& caption, TProjectInfo& project,
                             bool tlsAvailable, const QList<TLanguageName>& languages,
                             const QString& defaultRoot) {
    setup(pos, caption, project, tlsAvailable, languages, defaultRoot);
    return finish(exec() == QDialog::Accepted, project);
}

} // namespace orvel
