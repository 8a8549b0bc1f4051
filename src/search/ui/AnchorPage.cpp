#include "search/ui/AnchorPage.h"

#include "base/core/AtomicFile.h"
#include "base/core/Dialogs.h"
#include "base/core/FileSystem.h"
#include "base/core/Translate.h"
#include "search/core/AnchorHost.h"
#include "search/core/SearchHost.h"
#include "search/core/SearchResultsModel.h"
#include "search/ui/SearchResultsPage.h"

#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace orvel {

TAnchorPage::TAnchorPage(ISearchHost& host, IAnchorHost& anchorHost, IDialogs& dialogs,
                         QWidget* parent)
    : QWidget(parent), m_host(host), m_anchorHost(anchorHost), m_dialogs(dialogs),
      m_model(new QStandardItemModel(this)) {
    setObjectName(QStringLiteral("tsAnchor"));
    setMinimumSize(0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);

    gbSearchAnchors = new QGroupBox(T_("Search local anchors in"), this);
    auto* scopes = new QVBoxLayout(gbSearchAnchors);
    rbAnchorCurrent = new QRadioButton(T_("Active file"), gbSearchAnchors);
    rbAnchorOpen = new QRadioButton(T_("All opened files"), gbSearchAnchors);
    rbAnchorProject = new QRadioButton(T_("All files of project"), gbSearchAnchors);
    rbAnchorCurrent->setChecked(true);
    for (QRadioButton* b : {rbAnchorCurrent, rbAnchorOpen, rbAnchorProject})
        scopes->addWidget(b);
    layout->addWidget(gbSearchAnchors);

    rbAnchorSort = new QGroupBox(T_("Sort anchors"), this);
    auto* sort = new QHBoxLayout(rbAnchorSort);
    rbSortByLines = new QRadioButton(T_("by lines"), rbAnchorSort);
    rbSortAlphabetical = new QRadioButton(T_("alphabetical"), rbAnchorSort);
    rbSortByLines->setChecked(true);
    sort->addWidget(rbSortByLines);
    sort->addWidget(rbSortAlphabetical);
    layout->addWidget(rbAnchorSort);

    auto* label = new QLabel(T_("Local anchors in selected files:"), this);
    layout->addWidget(label);
    tvAnchors = new QTreeView(this);
    tvAnchors->setObjectName(QStringLiteral("tvAnchors"));
    tvAnchors->setModel(m_model);
    tvAnchors->setHeaderHidden(true);
    tvAnchors->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvAnchors->setUniformRowHeights(true);
    tvAnchors->setItemDelegate(new TResultItemDelegate(tvAnchors));
    label->setBuddy(tvAnchors);
    layout->addWidget(tvAnchors, 1);
    // A double click, or Enter, as the platform activates items.
    connect(tvAnchors, &QTreeView::activated, this, &TAnchorPage::tvAnchorsDblClick);

    auto* buttons = new QHBoxLayout;
    btnAnchorSearch = new QPushButton(T_("Search anchors"), this);
    btnAnchorSearch->setObjectName(QStringLiteral("btnAnchorSearch"));
    btnAnchorExport = new QToolButton(this);
    btnAnchorExport->setObjectName(QStringLiteral("btnAnchorExport"));
    btnAnchorExport->setIcon(QIcon::fromTheme(QStringLiteral("document-save-as"),
                                              style()->standardIcon(QStyle::SP_DialogSaveButton)));
    btnAnchorExport->setToolTip(T_("Save anchor list to file"));
    btnAnchorExport->setAccessibleName(T_("Save anchor list to file"));
    buttons->addWidget(btnAnchorSearch, 1);
    buttons->addWidget(btnAnchorExport);
    layout->addLayout(buttons);
    connect(btnAnchorSearch, &QPushButton::clicked, this, &TAnchorPage::btnAnchorSearchClick);
    connect(btnAnchorExport, &QToolButton::clicked, this, &TAnchorPage::btnAnchorExportClick);

    pbAnchor = new QProgressBar(this);
    pbAnchor->setObjectName(QStringLiteral("pbAnchor"));
    pbAnchor->setTextVisible(false);
    pbAnchor->setRange(0, 1);
    pbAnchor->setValue(0);
    layout->addWidget(pbAnchor);
    lblAnchorStatus = new QLabel(this);
    lblAnchorStatus->setObjectName(QStringLiteral("lblAnchorStatus"));
    lblAnchorStatus->setWordWrap(true);
    layout->addWidget(lblAnchorStatus);
}

TAnchorScope TAnchorPage::scope() const {
    if (rbAnchorOpen->isChecked())
        return asOpenFiles;
    if (rbAnchorProject->isChecked())
        return asProjectFiles;
    return asActiveFile;
}

void TAnchorPage::setScope(TAnchorScope scope) {
    (scope == asOpenFiles      ? rbAnchorOpen
     : scope == asProjectFiles ? rbAnchorProject
                               : rbAnchorCurrent)
        ->setChecked(true);
}

int TAnchorPage::sortOrder() const {
    return rbSortAlphabetical->isChecked() ? 1 : 0;
}

void TAnchorPage::setSortOrder(int order) {
    (order == 1 ? rbSortAlphabetical : rbSortByLines)->setChecked(true);
}

void TAnchorPage::setRunning(bool running) {
    m_running = running;
    btnAnchorSearch->setEnabled(!running);
    btnAnchorExport->setEnabled(!running);
}

void TAnchorPage::addFile(const TAnchorFile& file) {
    static const QIcon fileIcon = QIcon::fromTheme(
        QStringLiteral("text-html"), QApplication::style()->standardIcon(QStyle::SP_FileIcon));
    static const QIcon anchorIcon = QIcon::fromTheme(
        QStringLiteral("go-jump"), QApplication::style()->standardIcon(QStyle::SP_ArrowRight));
    auto* fileItem = new QStandardItem(fileIcon, file.caption);
    fileItem->setData(true, TSearchResultsModel::IsFileRole);
    fileItem->setData(-1, TSearchResultsModel::MarkStartRole);
    fileItem->setData(file.fileName, FileNameRole);
    fileItem->setToolTip(file.fileName);
    QList<QStandardItem*> rows;
    rows.reserve(file.anchors.size());
    for (const TAnchor& a : file.anchors) {
        const QString entry = a.entry();
        auto* item = new QStandardItem(anchorIcon, entry);
        // The tree draws the name between the marks in its own colour, without the marks.
        item->setData(entry.mid(1, a.name.size()) + entry.mid(a.name.size() + 2),
                      TSearchResultsModel::PlainTextRole);
        item->setData(0, TSearchResultsModel::MarkStartRole);
        item->setData(int(a.name.size()), TSearchResultsModel::MarkLengthRole);
        item->setData(file.fileName, FileNameRole);
        item->setData(QPoint(a.pos.BBegin.Char, a.pos.BBegin.Line), BeginRole);
        item->setData(QPoint(a.pos.BEnd.Char, a.pos.BEnd.Line), EndRole);
        rows << item;
    }
    fileItem->appendRows(rows);
    m_model->appendRow(fileItem);
}

void TAnchorPage::btnAnchorSearchClick() {
    if (m_running)
        return;
    // The page reads the files as stored.
    m_host.saveAllDocuments();
    const TAnchorScope sc = scope();
    const QString root = m_host.projectRoot();
    const QStringList names =
        anchorSearchFiles(sc, m_anchorHost.activeDocumentFile(), m_host.documentFiles(), root);
    const bool alphabetical = sortOrder() == 1;

    m_model->clear();
    m_files.clear();
    pbAnchor->setRange(0, int(qMax<qsizetype>(0, names.size() - 1)));
    pbAnchor->setValue(0);
    setRunning(true);
    qsizetype total = 0;
    QString failure;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names.at(i);
        if (QFileInfo(name).isFile()) {
            TResult<QList<TAnchor>> read = readAnchorsFromFile(name);
            if (!read.ok()) {
                failure = read.error();
                break;
            }
            if (!read.value().isEmpty()) {
                TAnchorFile file{name, anchorFileCaption(name, root), std::move(read.value())};
                if (alphabetical)
                    sortAnchorsAlphabetically(file.anchors);
                addFile(file);
                total += file.anchors.size();
                m_files << std::move(file);
            }
        }
        pbAnchor->setValue(int(i));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    setRunning(false);
    if (!failure.isEmpty()) {
        // The files read so far stay listed; the status keeps its text.
        m_dialogs.error(m_host.appTitle(), failure);
        emit searchFinished();
        return;
    }
    if (m_files.isEmpty())
        lblAnchorStatus->setText(T_("Found no anchors"));
    else
        lblAnchorStatus->setText(fmt(T_("%u anchor(s) found in %u file(s)!"),
                                     {QString::number(total), QString::number(m_files.size())}));
    if (sc == asActiveFile && m_model->rowCount() > 0)
        tvAnchors->expand(m_model->index(0, 0));
    emit searchFinished();
}

void TAnchorPage::btnAnchorExportClick() {
    if (m_running)
        return;
    if (m_files.isEmpty())
        btnAnchorSearchClick();
    const QString title = m_host.appTitle();
    if (m_files.isEmpty()) {
        m_dialogs.error(title, T_("Found no anchors"));
        return;
    }
    const QString root = m_host.projectRoot();
    const QString projectName = m_anchorHost.projectName();
    TFileDialogArgs args;
    args.title = T_("Save anchor list to");
    args.dir = root;
    args.fileName = proposedAnchorListName(scope(), m_anchorHost.activeDocumentFile(), projectName);
    args.filter =
        T_("Text document") + QStringLiteral("|*.txt|") + T_("all") + QStringLiteral("|*.*");
    args.defaultExt = QStringLiteral("txt");
    const QString fileName = m_dialogs.saveFileName(args);
    if (fileName.isEmpty())
        return;

    const QString text = anchorListText(projectName, root, m_files);
    const bool utf8 = !fitsWindows1252(text);
    if (utf8 && m_dialogs.ask(title,
                              T_("The anchor list holds characters that Windows-1252 cannot "
                                 "hold.\r\nSave it as UTF-8 with a byte order mark?"),
                              mbYes | mbNo, mrYes) != mrYes)
        return;
    // The export must not silently take the place of edits the user has not saved.
    if (m_anchorHost.documentModified(fileName) &&
        m_dialogs.ask(title,
                      fmt(T_("The document \"%s\" has changes that are not saved.\r\nWrite the "
                             "anchor list over its file and load it again, losing the "
                             "changes?"),
                          {fileName}),
                      mbYes | mbNo, mrNo) != mrYes)
        return;
    const QString error = writeFileAtomically(fileName, encodeAnchorList(text, utf8));
    if (!error.isEmpty()) {
        m_dialogs.error(title, T_("Error saving anchor list to file!") + QStringLiteral("\r\n") +
                                   fileName + QStringLiteral("\r\n") + error);
        return;
    }
    m_anchorHost.reloadDocument(fileName);
}

void TAnchorPage::tvAnchorsDblClick(const QModelIndex& index) {
    if (!index.isValid() || m_running)
        return;
    QString fileName = index.data(FileNameRole).toString();
    if (QFileInfo(fileName).isRelative())
        fileName = withSlash(m_host.projectRoot()) + fileName;
    TBufferCoord begin, end;
    if (index.parent().isValid()) {
        const QPoint b = index.data(BeginRole).toPoint();
        const QPoint e = index.data(EndRole).toPoint();
        begin = TBufferCoord{b.x(), b.y()};
        end = TBufferCoord{e.x(), e.y()};
    }
    m_host.openFileAt(fileName, begin, end);
}

} // namespace orvel
