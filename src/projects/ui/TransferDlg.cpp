#include "projects/ui/TransferDlg.h"

#include "base/core/Dialogs.h"
#include "base/core/FileSystem.h"
#include "base/core/IniFileUtils.h"
#include "base/core/Translate.h"
#include "base/ui/HListBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace orvel {

namespace {
constexpr int kMaxSubDirs = 20;
constexpr int kMaxFilters = 15;
const QString kFilterSection = QStringLiteral("TransferFilter");

QStringList splitDirs(const QString& list) {
    QStringList out;
    for (const QString& d : list.split(u',', Qt::SkipEmptyParts))
        if (!d.trimmed().isEmpty() && !out.contains(d.trimmed()))
            out << d.trimmed();
    return out.mid(0, kMaxSubDirs);
}
} // namespace

TTransferDialog::TTransferDialog(QWidget* parent, IDialogs& dialogs)
    : QDialog(parent), m_dialogs(dialogs), m_server(new QLabel(this)),
      m_serverValue(new QLabel(this)), m_dirLabel(new QLabel(this)), m_dirValue(new QLabel(this)),
      m_current(new QRadioButton(T_("Only current file:"), this)), m_currentName(new QLabel(this)),
      m_currentDir(new QRadioButton(T_("All project files in current directory:"), this)),
      m_currentDirName(new QLabel(this)), m_all(new QRadioButton(T_("All project files"), this)),
      m_chosen(new QRadioButton(T_("All files in"), this)), m_dirs(new QComboBox(this)),
      m_browse(new QPushButton(QStringLiteral("..."), this)), m_filter(new THistoryCombo(this)),
      m_subDirs(new QCheckBox(T_("Include subdirectories"), this)),
      m_changed(new QRadioButton(T_("All changed files"), this)),
      m_sync(new QCheckBox(T_("Synchronize remote files"), this)),
      m_overwrite(new QCheckBox(T_("Overwrite all"), this)),
      m_start(new QPushButton(T_("Start"), this)),
      m_dryRun(new QPushButton(T_("Show what would be done"), this)) {
    setWindowTitle(T_("File transfer"));
    QFont bold = m_serverValue->font();
    bold.setBold(true);
    for (QLabel* l : {m_serverValue, m_dirValue, m_currentName, m_currentDirName}) {
        l->setTextFormat(Qt::PlainText);
        l->setFont(bold);
    }
    m_dirs->setEditable(false);
    m_dirs->setMinimumWidth(200);
    m_browse->setToolTip(T_("Select directory"));
    m_browse->setAutoDefault(false);
    m_filter->setMaxItems(kMaxFilters);
    m_filter->setEditable(true);
    m_dryRun->setToolTip(T_("Lists what would be copied and deleted, and why, without changing "
                            "anything at the destination"));
    m_dryRun->setAutoDefault(false);
    m_start->setDefault(true);

    auto* header = new QGridLayout;
    header->addWidget(m_server, 0, 0);
    header->addWidget(m_serverValue, 0, 1);
    header->addWidget(m_dirLabel, 1, 0);
    header->addWidget(m_dirValue, 1, 1);
    header->setColumnStretch(1, 1);

    auto* group = new QGroupBox(T_("File selection"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(m_current, 0, 0);
    grid->addWidget(m_currentName, 0, 1, 1, 2);
    grid->addWidget(m_currentDir, 1, 0);
    grid->addWidget(m_currentDirName, 1, 1, 1, 2);
    grid->addWidget(m_all, 2, 0, 1, 3);
    grid->addWidget(m_chosen, 3, 0);
    grid->addWidget(m_dirs, 3, 1);
    grid->addWidget(m_browse, 3, 2);
    auto* filterLabel = new QLabel(T_("Filter:"), group);
    filterLabel->setBuddy(m_filter);
    grid->addWidget(filterLabel, 4, 0, Qt::AlignRight);
    grid->addWidget(m_filter, 4, 1, 1, 2);
    grid->addWidget(m_subDirs, 5, 1, 1, 2);
    grid->addWidget(m_changed, 6, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_start, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_dryRun, QDialogButtonBox::ActionRole);
    QPushButton* cancel = buttons->addButton(T_("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setAutoDefault(false);
    connect(m_start, &QPushButton::clicked, this, [this] { finish(false); });
    connect(m_dryRun, &QPushButton::clicked, this, [this] { finish(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_browse, &QPushButton::clicked, this, &TTransferDialog::btnBrowseClick);
    for (QRadioButton* r : {m_current, m_currentDir, m_all, m_chosen, m_changed})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                onSelection();
        });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(group);
    layout->addWidget(m_sync);
    layout->addWidget(m_overwrite);
    layout->addWidget(buttons);
}

void TTransferDialog::LoadFromIni(const TUnicodeIniFile& ini) {
    m_filter->LoadFromIni(ini, kFilterSection);
}

void TTransferDialog::SaveToIni(TUnicodeIniFile& ini) {
    m_filter->SaveToIni(ini, kFilterSection, true);
}

void TTransferDialog::setup(const TTransferChoice& choice) {
    m_result = choice;
    m_root = withSlash(choice.ProjectRoot);
    const qsizetype bar = choice.Destination.indexOf(u'|');
    const bool ftp = bar >= 0;
    m_server->setText(ftp ? T_("Server:") : T_("Path:"));
    m_dirLabel->setText(T_("Dir.:"));
    m_dirLabel->setVisible(ftp);
    m_dirValue->setVisible(ftp);
    const QString path = ftp ? choice.Destination.left(bar) : choice.Destination;
    m_serverValue->setText(ftp ? path
                               : m_serverValue->fontMetrics().elidedText(
                                     QDir::toNativeSeparators(path), Qt::ElideMiddle, 380));
    m_serverValue->setToolTip(QDir::toNativeSeparators(path));
    m_dirValue->setText(ftp ? choice.Destination.mid(bar + 1) : QString());

    const QString file = choice.Directory;
    const bool hasFile = !file.isEmpty();
    const QString folder = hasFile ? QFileInfo(file).absolutePath() : m_root;
    const QString relFolder =
        sameFile(folder, m_root) ? QString() : QDir(m_root).relativeFilePath(folder);
    m_currentName->setText(hasFile ? QDir(m_root).relativeFilePath(file) : QString());
    m_currentDirName->setText(relFolder.isEmpty() ? T_("<root>") : relFolder);
    m_current->setEnabled(hasFile);
    m_currentDir->setEnabled(hasFile);
    (hasFile ? m_current : m_changed)->setChecked(true);

    m_dirs->clear();
    m_dirs->addItems(splitDirs(choice.SubDirs));
    if (m_filter->currentText().trimmed().isEmpty())
        m_filter->setEditText(QStringLiteral("*.*"));
    m_subDirs->setChecked(false);
    m_sync->setChecked(false);
    m_overwrite->setChecked(false);
    updateStates();
}

void TTransferDialog::updateStates() {
    const bool chosen = m_chosen->isChecked();
    m_dirs->setEnabled(chosen);
    m_browse->setEnabled(true);
    m_filter->setEnabled(chosen);
    m_subDirs->setEnabled(chosen);
    // A single file and the changed files are never synchronised.
    const bool syncable = !m_current->isChecked() && !m_changed->isChecked();
    m_sync->setEnabled(syncable);
    if (!syncable)
        m_sync->setChecked(false);
}

void TTransferDialog::onSelection() {
    updateStates();
    if (m_chosen->isChecked()) {
        m_sync->setChecked(false);
        if (m_dirs->count() > 0 && isVisible())
            QTimer::singleShot(0, m_dirs, [this] { m_dirs->showPopup(); });
    }
}

QString TTransferDialog::folderText() const {
    return QDir::cleanPath(m_root + m_dirs->currentText().trimmed());
}

void TTransferDialog::btnBrowseClick() {
    m_chosen->setChecked(true);
    const QString start = withSlash(folderText());
    const QString folder = m_dialogs.chooseFolder(T_("Select directory"), start, m_root);
    if (folder.isEmpty())
        return;
    QString rel = sameFile(folder, m_root) ? QString() : QDir(m_root).relativeFilePath(folder);
    if (!sameFile(folder, m_root) && !isPathBelow(folder, m_root)) {
        m_dialogs.error(windowTitle(), fmt(T_("File: %s\r\nnot found in project directory!"),
                                           {QDir::toNativeSeparators(folder)}));
        return;
    }
    const int old = m_dirs->findText(rel);
    if (old >= 0)
        m_dirs->removeItem(old);
    m_dirs->insertItem(0, rel);
    while (m_dirs->count() > kMaxSubDirs)
        m_dirs->removeItem(m_dirs->count() - 1);
    m_dirs->setCurrentIndex(0);
}

bool TTransferDialog::take(TTransferChoice& choice, bool dryRun) {
    int mode = tfAllFiles;
    if (m_current->isChecked())
        mode = tfCurrentFile;
    else if (m_currentDir->isChecked())
        mode = tfCurrentDir;
    else if (m_chosen->isChecked())
        mode = tfChosenDir;
    else if (m_changed->isChecked())
        mode = tfChangedFiles;
    if (mode == tfChosenDir) {
        const QString folder = folderText();
        if (!QFileInfo(folder).isDir() ||
            (!sameFile(folder, m_root) && !isPathBelow(folder, m_root))) {
            m_dialogs.error(windowTitle(), fmt(T_("Directory:\r\n%s\r\nnot found!"),
                                               {QDir::toNativeSeparators(folder)}));
            m_dirs->setFocus();
            return false;
        }
    }
    if (mode == tfAllFiles || (mode == tfChosenDir && m_subDirs->isChecked()))
        mode |= kTransferSubDirs;
    if (m_sync->isChecked() && m_sync->isEnabled())
        mode |= kTransferSync;
    if (m_overwrite->isChecked())
        mode |= kTransferOverwrite;
    if (dryRun)
        mode |= kTransferDryRun;
    choice.Mode = mode;
    choice.Filter = QStringLiteral("*.*");
    if ((mode & kTransferSelectionMask) == tfChosenDir) {
        const QString rel = m_dirs->currentText().trimmed();
        choice.Directory = rel;
        QStringList dirs{rel};
        for (int i = 0; i < m_dirs->count(); ++i)
            if (m_dirs->itemText(i) != rel && !m_dirs->itemText(i).isEmpty())
                dirs << m_dirs->itemText(i);
        dirs.removeAll(QString());
        choice.SubDirs = dirs.mid(0, kMaxSubDirs).join(u',');
        QString filter = m_filter->currentText().trimmed();
        if (filter.isEmpty())
            filter = QStringLiteral("*.*");
        m_filter->AddItem(filter);
        choice.Filter = filter;
    }
    return true;
}

void TTransferDialog::finish(bool dryRun) {
    if (take(m_result, dryRun))
        accept();
}

bool TTransferDialog::Execute(QPoint pos, TTransferChoice& choice) {
    setup(choice);
    adjustSize();
    QScreen* screen = QGuiApplication::screenAt(pos);
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    move(qBound(area.left(), pos.x(), qMax(area.left(), area.right() - width())),
         qBound(area.top(), pos.y(), qMax(area.top(), area.bottom() - height())));
    if (exec() != QDialog::Accepted)
        return false;
    choice = m_result;
    return true;
}

} // namespace orvel
