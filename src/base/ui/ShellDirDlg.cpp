#include "base/ui/ShellDirDlg.h"

#include "base/core/Dialogs.h"
#include "base/core/FileSize.h"
#include "base/core/IniFileUtils.h"
#include "base/core/Translate.h"
#include "base/ui/FolderTopFilter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStorageInfo>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace orvel {

namespace {
QToolButton* toolButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                        const QString& text, bool withText) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setText(text);
    b->setToolTip(text);
    b->setAutoRaise(true);
    b->setToolButtonStyle(withText ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    return b;
}

// A stored width, else room for a few file names.
int filePaneWidth(int stored) {
    return stored > 0 ? qMax(stored, 100) : 200;
}

bool isWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
} // namespace

TShellDirDialog::TShellDirDialog(QWidget* parent, IDialogs& dialogs)
    : QDialog(parent), m_dialogs(dialogs), m_filter(new TFolderTopFilter(this)),
      m_networkButton(
          toolButton(this, "networkButton", QStyle::SP_DriveNetIcon, TD_("Network"), true)),
      m_computerButton(
          toolButton(this, "computerButton", QStyle::SP_ComputerIcon, TD_("Computer"), true)),
      m_desktopButton(
          toolButton(this, "desktopButton", QStyle::SP_DesktopIcon, TD_("Desktop"), true)),
      m_documentsButton(
          toolButton(this, "documentsButton", QStyle::SP_DirHomeIcon, TD_("Documents"), true)),
      m_upButton(
          toolButton(this, "upButton", QStyle::SP_FileDialogToParent, TD_("One folder up"), false)),
      m_defaultButton(toolButton(this, "defaultButton", QStyle::SP_CommandLink,
                                 TD_("Go to default folder"), false)),
      m_newFolderButton(toolButton(this, "newFolderButton", QStyle::SP_FileDialogNewFolder,
                                   TD_("Create new folder"), false)),
      m_networkMenu(new QMenu(this)), m_computerMenu(new QMenu(this)),
      m_splitter(new QSplitter(Qt::Horizontal, this)), m_tree(new QTreeView(m_splitter)),
      m_fileList(new QListView(m_splitter)), m_directoryBox(new QComboBox(this)),
      m_spaceLabel(new QLabel(this)), m_showFilesBox(new QCheckBox(TD_("Show files"), this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      m_createAction(new QAction(TD_("Create folder"), this)),
      m_deleteAction(new QAction(TD_("Delete folder"), this)),
      m_updateAction(new QAction(TD_("Update"), this)), m_scrollTimer(new QTimer(this)) {
    setWindowTitle(TD_("Select directory"));
    setSizeGripEnabled(true);
    m_iniSection = QStringLiteral("RecentFolders");

    auto* places = new QHBoxLayout;
    for (QToolButton* b : {m_networkButton, m_computerButton, m_desktopButton, m_documentsButton})
        places->addWidget(b);
    places->addStretch();
    for (QToolButton* b : {m_upButton, m_defaultButton, m_newFolderButton})
        places->addWidget(b);
    m_networkButton->setMenu(m_networkMenu);
    m_computerButton->setMenu(m_computerMenu);

    m_dirModel = newDirModel();
    m_filter->setSourceModel(m_dirModel);
    m_tree->setObjectName(QStringLiteral("folderTree"));
    m_tree->setModel(m_filter);
    m_tree->setHeaderHidden(true);
    for (int c = 1; c < 4; ++c)
        m_tree->setColumnHidden(c, true);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileModel = new QFileSystemModel(this);
    m_fileModel->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    m_fileList->setObjectName(QStringLiteral("fileList"));
    m_fileList->setModel(m_fileModel);
    m_fileList->setSelectionMode(QAbstractItemView::NoSelection);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_fileList->hide();

    auto* dirLabel = new QLabel(TD_("Directory:"), this);
    m_directoryBox->setObjectName(QStringLiteral("directoryBox"));
    m_directoryBox->setEditable(true);
    m_directoryBox->setInsertPolicy(QComboBox::NoInsert);
    m_directoryBox->setMaxVisibleItems(15);
    m_directoryBox->setMaxCount(15);
    m_directoryBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_directoryBox->setMinimumContentsLength(30);
    dirLabel->setBuddy(m_directoryBox);
    m_spaceLabel->setObjectName(QStringLiteral("spaceLabel"));
    m_showFilesBox->setObjectName(QStringLiteral("showFiles"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_showFilesBox);
    bottom->addStretch();
    bottom->addWidget(m_buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(places);
    layout->addWidget(m_splitter, 1);
    layout->addWidget(dirLabel);
    layout->addWidget(m_directoryBox);
    layout->addWidget(m_spaceLabel);
    layout->addLayout(bottom);
    resize(520, 480);

    // Folders load in the background and get sorted later, moving the selected one away.
    m_scrollTimer->setSingleShot(true);
    m_scrollTimer->setInterval(0);
    connect(m_scrollTimer, &QTimer::timeout, this, [this] { keepInView(); });
    connect(m_filter, &QAbstractItemModel::layoutChanged, m_scrollTimer,
            qOverload<>(&QTimer::start));
    connect(m_filter, &QAbstractItemModel::rowsInserted, m_scrollTimer,
            qOverload<>(&QTimer::start));
    m_splitter->installEventFilter(this);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] { m_wantedSizes.clear(); });
    for (QObject* o : {static_cast<QObject*>(m_tree), static_cast<QObject*>(m_tree->viewport()),
                       static_cast<QObject*>(m_tree->verticalScrollBar())})
        o->installEventFilter(this);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) { currentChanged(index); });
    connect(m_tree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { contextMenu(pos); });
    connect(m_directoryBox, &QComboBox::editTextChanged, this,
            [this](const QString& text) { directoryEdited(text); });
    connect(m_showFilesBox, &QCheckBox::toggled, this, [this](bool on) { showFiles(on); });
    connect(m_networkButton, &QToolButton::clicked, this,
            [this] { showRoot(TShellRoot::Network); });
    connect(m_computerButton, &QToolButton::clicked, this,
            [this] { showRoot(TShellRoot::Computer); });
    connect(m_desktopButton, &QToolButton::clicked, this,
            [this] { showRoot(TShellRoot::Desktop); });
    connect(m_documentsButton, &QToolButton::clicked, this,
            [this] { showRoot(TShellRoot::Documents); });
    connect(m_upButton, &QToolButton::clicked, this, [this] { folderUp(); });
    connect(m_defaultButton, &QToolButton::clicked, this, [this] { goToDefaultFolder(); });
    connect(m_newFolderButton, &QToolButton::clicked, this, [this] { createFolder(); });
    connect(m_createAction, &QAction::triggered, this, [this] { createFolder(); });
    connect(m_deleteAction, &QAction::triggered, this, [this] { deleteFolder(); });
    connect(m_updateAction, &QAction::triggered, this, [this] { refresh(); });
}

TShellDirDialog::~TShellDirDialog() = default;

QFileSystemModel* TShellDirDialog::newDirModel() {
    auto* model = new QFileSystemModel(this);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives |
                     (m_showHidden ? QDir::Hidden : QDir::Filters()));
    model->setRootPath(QStringLiteral("/"));
    model->sort(0, Qt::AscendingOrder);
    // A folder the tree could not show yet is selected once its parent has been read.
    connect(model, &QFileSystemModel::directoryLoaded, this, [this](const QString&) {
        if (!m_pendingFolder.isEmpty())
            selectInTree(m_pendingFolder);
        else if (!m_scrollFolder.isEmpty())
            m_scrollTimer->start();
    });
    return model;
}

void TShellDirDialog::LoadFromIni(const QString& iniFileName, const QString& section) {
    m_iniFileName = iniFileName;
    m_iniSection = section;
    if (QFileInfo::exists(iniFileName))
        m_settings.load(TUnicodeIniFile::CreateForRead(iniFileName), section);
}

bool TShellDirDialog::Execute(const QString& title, bool showHidden, QString& path,
                              const QString& defaultDir, bool /*archives*/, bool files) {
    setup(title, showHidden, path, defaultDir, files);
    return finish(exec() == QDialog::Accepted, path);
}

void TShellDirDialog::setPlaces(const TShellPlaces& places) {
    m_places = places;
    m_fixedPlaces = true;
}

void TShellDirDialog::setup(const QString& title, bool showHidden, const QString& path,
                            const QString& defaultDir, bool files) {
    setWindowTitle(title.isEmpty() ? TD_("Select directory") : title);
    if (!m_fixedPlaces)
        m_places = TShellPlaces::current();
    if (showHidden != m_showHidden) {
        m_showHidden = showHidden;
        const QDir::Filters hidden = showHidden ? QDir::Hidden : QDir::Filters();
        m_dirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives | hidden);
        m_fileModel->setFilter(QDir::Files | QDir::NoDotAndDotDot |
                               (showHidden ? QDir::Hidden | QDir::System : QDir::Filters()));
    }
    m_defaultDir = defaultDir.trimmed();
    m_defaultButton->setVisible(!m_defaultDir.isEmpty());
    m_defaultButton->setToolTip(TD_("Default: ") + m_defaultDir);
    m_filesOffered = files;
    m_showFilesBox->setVisible(files);
    {
        const QSignalBlocker block(m_showFilesBox);
        m_showFilesBox->setChecked(m_settings.Fileview);
    }
    m_fileList->setVisible(files && m_settings.Fileview);
    updateRootButtons();
    fillDirectoryBox();

    applyView(shellStartView(path, defaultDir, m_places));
    updateOk();
    m_directoryBox->setFocus();
    placeWindow();
    m_applySizes = true;
}

bool TShellDirDialog::finish(bool accepted, QString& path) {
    const QString chosen = folderFromText(m_directoryBox->currentText(), QDir::homePath());
    const bool ok = accepted && !chosen.isEmpty() && QFileInfo(chosen).isDir();
    if (ok) {
        path = withTrailingSlash(chosen);
        m_settings.addFolder(chosen);
        fillDirectoryBox();
    }
    storeLayout();
    m_pendingFolder.clear();
    m_scrollFolder.clear();
    m_wantedSizes.clear();
    if (!m_iniFileName.isEmpty()) {
        const QString error = m_settings.saveToFile(m_iniFileName, m_iniSection);
        if (!error.isEmpty())
            m_dialogs.error(windowTitle(), error);
    }
    return ok;
}

void TShellDirDialog::placeWindow() {
    if (m_settings.Top != 0) {
        const QRect frame(QPoint(m_settings.Left, m_settings.Top), size());
        // A position left on a screen that is gone falls back to the centre.
        for (const QScreen* s : QGuiApplication::screens()) {
            if (s->availableGeometry().intersects(frame)) {
                move(frame.topLeft());
                return;
            }
        }
    }
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area = owner ? owner->frameGeometry() : QRect();
    if (area.isEmpty() && QGuiApplication::primaryScreen())
        area = QGuiApplication::primaryScreen()->availableGeometry();
    move(area.center() - rect().center());
}

void TShellDirDialog::storeLayout() {
    // Where the window cannot be placed the stored position stays as it was.
    if (isVisible() && !isWayland()) {
        m_settings.Top = y();
        m_settings.Left = x();
    }
    if (m_tree->isVisible())
        m_settings.DirWidth = m_tree->width();
    if (m_fileList->isVisible())
        m_settings.FileWidth = m_fileList->width();
    if (m_filesOffered)
        m_settings.Fileview = m_showFilesBox->isChecked();
}

void TShellDirDialog::done(int result) {
    // Still on screen: its place and pane widths can be read now.
    storeLayout();
    QDialog::done(result);
}

void TShellDirDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_applySizes || m_settings.DirWidth <= 0)
        return;
    m_applySizes = false;
    const bool files = m_fileList->isVisibleTo(this);
    setPaneWidths(m_settings.DirWidth, files ? filePaneWidth(m_settings.FileWidth) : 0);
}

void TShellDirDialog::setPaneWidths(int dirWidth, int fileWidth) {
    const int around = width() - m_splitter->width();
    const int handle = fileWidth > 0 ? m_splitter->handleWidth() : 0;
    m_wantedSizes = {dirWidth, fileWidth};
    m_splitter->setSizes(m_wantedSizes);
    resize(around + dirWidth + handle + fileWidth, height());
}

void TShellDirDialog::updateRootButtons() {
    m_networkMenu->clear();
    for (const QString& m : m_places.networkMounts)
        m_networkMenu->addAction(m, this, [this, m] { showRoot(TShellRoot::Network, m); });
    m_networkButton->setEnabled(!m_places.networkMounts.isEmpty());
    // One mount needs no choice; the button goes there at once.
    m_networkButton->setPopupMode(m_places.networkMounts.size() > 1 ? QToolButton::InstantPopup
                                                                    : QToolButton::DelayedPopup);
    m_networkButton->setMenu(m_places.networkMounts.size() > 1 ? m_networkMenu : nullptr);

    m_computerMenu->clear();
    for (const QString& v : m_places.volumes)
        m_computerMenu->addAction(v, this, [this, v] {
            applyView({TShellRoot::Computer, QStringLiteral("/"), v});
        });
    m_computerButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_computerButton->setMenu(m_places.volumes.isEmpty() ? nullptr : m_computerMenu);
}

void TShellDirDialog::fillDirectoryBox() {
    const QSignalBlocker block(m_directoryBox);
    const QString text = m_directoryBox->currentText();
    m_directoryBox->clear();
    m_directoryBox->addItems(m_settings.folders.items());
    m_directoryBox->setCurrentIndex(-1);
    m_directoryBox->setEditText(text);
}

void TShellDirDialog::showRoot(TShellRoot root, const QString& top) {
    const QString t = top.isEmpty() ? shellRootTop(root, m_places, m_view.folder) : top;
    if (t.isEmpty())
        return;
    if (root == TShellRoot::Computer)
        applyView({root, t, m_view.folder.isEmpty() ? t : m_view.folder});
    else
        applyView({root, t, t});
}

void TShellDirDialog::applyView(const TShellView& view) {
    m_view = view;
    m_filter->setTop(view.root == TShellRoot::Computer ? QStringLiteral("/") : view.top);
    const QString parent = m_filter->topParent();
    m_tree->setRootIndex(parent.isEmpty() ? QModelIndex()
                                          : m_filter->mapFromSource(m_dirModel->index(parent)));
    if (view.root != TShellRoot::Computer)
        m_tree->expand(m_filter->mapFromSource(m_dirModel->index(view.top)));
    selectInTree(view.folder);
    if (!m_typing && !view.folder.isEmpty())
        setDirectoryText(view.folder);
}

void TShellDirDialog::selectInTree(const QString& folder) {
    if (folder.isEmpty())
        return;
    const QModelIndex index = m_filter->mapFromSource(m_dirModel->index(folder));
    if (!index.isValid()) {
        m_pendingFolder = folder;
        return;
    }
    m_pendingFolder.clear();
    m_tree->setCurrentIndex(index);
    m_tree->expand(index);
    m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_scrollFolder = folder;
}

void TShellDirDialog::keepInView() {
    if (m_scrollFolder.isEmpty() || m_view.folder != m_scrollFolder)
        return;
    const QModelIndex index = m_tree->currentIndex();
    if (index.isValid())
        m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

bool TShellDirDialog::eventFilter(QObject* watched, QEvent* event) {
    // The window system resizes the window later; the panes get their widths once it has.
    if (watched == m_splitter) {
        if (event->type() == QEvent::Resize && !m_wantedSizes.isEmpty()) {
            m_splitter->setSizes(m_wantedSizes);
            if (m_splitter->sizes() == m_wantedSizes)
                m_wantedSizes.clear();
        }
        return QDialog::eventFilter(watched, event);
    }
    // Once the user moves around in the tree, late loading no longer scrolls it.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        m_scrollFolder.clear();
        m_wantedSizes.clear();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TShellDirDialog::currentChanged(const QModelIndex& index) {
    if (!index.isValid())
        return;
    m_view.folder = m_dirModel->filePath(m_filter->mapToSource(index));
    if (!m_typing)
        setDirectoryText(m_view.folder);
}

void TShellDirDialog::setDirectoryText(const QString& folder) {
    // A link to a folder stands for its target.
    const QFileInfo fi(folder);
    const QString target = fi.isSymLink() ? fi.canonicalFilePath() : QString();
    const QString shown = target.isEmpty() ? folder : target;
    // Text that already names the folder stays as the user wrote it.
    if (folderFromText(m_directoryBox->currentText(), QDir::homePath()) != shown) {
        const QSignalBlocker block(m_directoryBox);
        m_directoryBox->setEditText(shown);
    }
    showFolder(shown);
    updateOk();
}

void TShellDirDialog::directoryEdited(const QString& text) {
    const QString folder = folderFromText(text, QDir::homePath());
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        m_typing = true;
        applyView(shellViewFor(m_view, folder));
        m_typing = false;
        showFolder(folder);
    }
    updateOk();
}

void TShellDirDialog::showFolder(const QString& folder) {
    const QStorageInfo volume(folder);
    if (volume.isValid() && volume.isReady()) {
        const QString sep = QLocale().decimalPoint();
        const QChar s = sep.isEmpty() ? QChar(u'.') : sep.at(0);
        m_spaceLabel->setText(formatFileSize(volume.bytesAvailable(), m_decimalSizes, s) +
                              TD_(" free of ") +
                              formatFileSize(volume.bytesTotal(), m_decimalSizes, s));
    } else {
        m_spaceLabel->clear();
    }
    if (m_fileList->isVisibleTo(this))
        m_fileList->setRootIndex(m_fileModel->setRootPath(folder));
}

void TShellDirDialog::updateOk() {
    const QString folder = folderFromText(m_directoryBox->currentText(), QDir::homePath());
    m_buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(!folder.isEmpty() && QFileInfo(folder).isDir());
}

bool TShellDirDialog::okEnabled() const {
    return m_buttons->button(QDialogButtonBox::Ok)->isEnabled();
}

QString TShellDirDialog::directoryText() const {
    return m_directoryBox->currentText();
}

QString TShellDirDialog::treeFolder() const {
    const QModelIndex index = m_tree->currentIndex();
    return index.isValid() ? m_dirModel->filePath(m_filter->mapToSource(index)) : QString();
}

void TShellDirDialog::showFiles(bool on) {
    const bool wasVisible = m_fileList->isVisible();
    const int treeWidth = m_tree->width();
    if (wasVisible)
        m_settings.FileWidth = m_fileList->width();
    m_fileList->setVisible(m_filesOffered && on);
    // The file pane comes beside the tree: the window grows or shrinks, the tree stays.
    if (isVisible() && wasVisible != m_fileList->isVisible())
        setPaneWidths(treeWidth, on ? filePaneWidth(m_settings.FileWidth) : 0);
    const QString folder = folderFromText(m_directoryBox->currentText(), QDir::homePath());
    if (!folder.isEmpty())
        showFolder(folder);
}

void TShellDirDialog::contextMenu(const QPoint& pos) {
    const QModelIndex index = m_tree->indexAt(pos);
    if (index.isValid())
        m_tree->setCurrentIndex(index);
    m_deleteAction->setEnabled(!m_view.folder.isEmpty() && m_view.folder != u'/');
    QMenu menu(this);
    menu.addAction(m_createAction);
    menu.addAction(m_deleteAction);
    menu.addSeparator();
    menu.addAction(m_updateAction);
    menu.exec(m_tree->viewport()->mapToGlobal(pos));
}

void TShellDirDialog::folderUp() {
    applyView(shellFolderUp(m_view));
}

void TShellDirDialog::goToDefaultFolder() {
    if (m_defaultDir.isEmpty())
        return;
    const QFileInfo fi(m_defaultDir);
    if (fi.isDir() && fi.isExecutable()) {
        const QString folder = recentFolderName(fi.absoluteFilePath());
        applyView(shellViewFor(m_view, folder));
        return;
    }
    m_dialogs.error(windowTitle(), fmt(TD_("Directory not found:\r\n%s!"), {m_defaultDir}));
    m_settings.removeFolder(m_defaultDir);
    fillDirectoryBox();
}

void TShellDirDialog::createFolder() {
    const QString parent = m_view.folder;
    if (parent.isEmpty())
        return;
    QString name;
    if (!m_dialogs.inputText(parent, TD_("New subdirectory:"), name))
        return;
    QString created;
    switch (createSubFolder(parent, name, created)) {
    case TCreateFolderResult::NoName:
        return;
    case TCreateFolderResult::Exists:
        m_dialogs.error(windowTitle(), fmt(TD_("Cannot create directory: %s!"), {created}));
        return;
    case TCreateFolderResult::Failed:
        m_dialogs.error(windowTitle(), fmt(TD_("Could not create directory:\r\n%s!"), {created}));
        return;
    case TCreateFolderResult::Created:
        applyView(shellViewFor(m_view, created));
        return;
    }
}

void TShellDirDialog::deleteFolder() {
    const QString folder = m_view.folder;
    if (folder.isEmpty() || folder == u'/')
        return;
    const int choice =
        m_dialogs.choose(TD_("Delete directory"), fmt(TD_("Delete \"%s\""), {folder}),
                         {TD_("Definitely"), TD_("To recycle bin")});
    if (choice < 0)
        return;
    applyView(shellFolderUp(m_view));
    if (choice == 1) {
        if (QFile::moveToTrash(folder))
            m_dialogs.info(windowTitle(), fmt(TD_("%s moved to Recycle Bin!"), {folder}));
        else
            m_dialogs.error(windowTitle(), fmt(TD_("Error deleting directory:\r\n%s!"), {folder}));
    } else {
        const TFolderDeletion done = deleteFolderDefinitely(folder, m_deleteOps);
        if (done.ok) {
            // The stored text counts with "%u", which fmt does not know.
            const QString templ = TD_("%u directories with %u files deleted!")
                                      .replace(QLatin1String("%u"), QLatin1String("%d"));
            m_dialogs.info(windowTitle(),
                           fmt(templ, {QString::number(done.dirs), QString::number(done.files)}));
        } else {
            m_dialogs.error(windowTitle(), fmt(TD_("Error deleting directory:\r\n%s!"), {folder}));
        }
    }
    refresh();
}

void TShellDirDialog::refresh() {
    // The model keeps what it has read; a new one reads the disk again.
    QFileSystemModel* old = m_dirModel;
    m_dirModel = newDirModel();
    m_filter->setSourceModel(m_dirModel);
    old->deleteLater();
    applyView(m_view);
    const QString folder = folderFromText(m_directoryBox->currentText(), QDir::homePath());
    if (!folder.isEmpty())
        showFolder(folder);
    updateOk();
}

} // namespace orvel
