#include "dialogs/ui/UrlDialog.h"

#include "base/core/Dialogs.h"
#include "base/core/FileSystem.h"
#include "base/core/IniFileUtils.h"
#include "base/core/Translate.h"
#include "base/ui/HListBox.h"
#include "dialogs/core/LinkAttributes.h"
#include "dialogs/core/LinkPaths.h"
#include "search/core/AnchorReader.h"
#include "search/ui/FileFilterDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orvel {

namespace {

const QString kFilterKey = QStringLiteral("FileFilter");

// A file that cannot be read has no anchors to offer: the dialog falls back to the prompt.
QStringList anchorEntriesOfFile(const QString& file) {
    QStringList entries;
    const TResult<QList<TAnchor>> anchors = readAnchorsFromFile(file);
    if (anchors.ok())
        for (const TAnchor& a : anchors.value())
            entries << a.entry();
    return entries;
}

} // namespace

TURLEingabeDialog::TURLEingabeDialog(IDialogs& dialogs, IElementDialogs& elements, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_elements(elements), m_readAnchors(anchorEntriesOfFile),
      m_filter(defFilter()) {
    auto* form = new QFormLayout;
    m_address = new THistoryCombo(this);
    m_address->setMaxItems(kHistorySize);
    m_address->setMinimumWidth(360);
    auto* selectFile =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogOpenButton), QString(), this);
    selectFile->setToolTip(T_("Select file"));
    m_btnAnchor = new QPushButton(QStringLiteral("#"), this);
    m_btnAnchor->setToolTip(T_("Add local anchor"));
    auto* filter = new QPushButton(T_("Filter .."), this);
    filter->setToolTip(T_("File filter for links"));
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(m_address, 1);
    addressRow->addWidget(selectFile);
    addressRow->addWidget(m_btnAnchor);
    addressRow->addWidget(filter);
    form->addRow(T_("File:"), addressRow);

    m_laText = new QLabel(T_("Text:"), this);
    m_text = new QLineEdit(this);
    m_laText->setBuddy(m_text);
    auto* copyTitle = new QPushButton(T_("Title"), this);
    copyTitle->setToolTip(T_("Copy to title"));
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(m_text, 1);
    textRow->addWidget(copyTitle);
    form->addRow(m_laText, textRow);

    m_title = new QLineEdit(this);
    form->addRow(T_("Title:"), m_title);
    m_target = new QComboBox(this);
    for (const TLinkTarget& t : kLinkTargets)
        m_target->addItem(T_(t.caption), QString::fromLatin1(t.value));
    m_laTarget = new QLabel(T_("Target:"), this);
    form->addRow(m_laTarget, m_target);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(selectFile, &QPushButton::clicked, this, [this] { btnSelectFileClick(); });
    connect(m_btnAnchor, &QPushButton::clicked, this, [this] { btnAnchorClick(); });
    connect(copyTitle, &QPushButton::clicked, this, [this] { btnCopyTitleClick(); });
    connect(filter, &QPushButton::clicked, this, [this] { btnFilterClick(); });
    connect(m_address, &QComboBox::editTextChanged, this, [this] { updateAnchorButton(); });
}

QString TURLEingabeDialog::defFilter() {
    return T_("HTML document") + QStringLiteral("|*.htm;*.html|") + T_("PDF document") +
           QStringLiteral("|*.pdf|") + T_("all") + QStringLiteral("|*.*");
}

void TURLEingabeDialog::setAnchorHistory(QStringList* history, int size) {
    m_anchorHistory = history;
    m_anchorHistorySize = size;
}

void TURLEingabeDialog::setSizeFormat(std::function<bool()> decimalUnits,
                                      std::function<bool()> decimalComma) {
    m_decimalUnits = std::move(decimalUnits);
    m_decimalComma = std::move(decimalComma);
}

void TURLEingabeDialog::prepare(const QString& caption, const QString& path, const QString& url,
                                const QString& text) {
    setWindowTitle(caption);
    m_path = withSlash(path);
    m_address->setEditText(url);
    m_text->setText(text);
    m_title->clear();
    updateAnchorButton();
    m_address->setFocus();
}

bool TURLEingabeDialog::HtmlRef(const QString& caption, const QString& path, QString& url,
                                QString& text, QString& attr) {
    m_anchors.clear();
    prepare(caption, path, url, text);
    m_laText->setText(T_("Text:"));
    m_target->setVisible(true);
    m_laTarget->setVisible(true);
    // A target of its own (a named frame) stays offered, so that editing keeps it.
    while (m_target->count() > kLinkTargetCount)
        m_target->removeItem(kLinkTargetCount);
    const TLinkAttributes old = readLinkAttributes(attr);
    m_title->setText(old.title);
    int target = linkTargetIndex(old.target);
    if (target < 0) {
        m_target->addItem(old.target, old.target);
        target = kLinkTargetCount;
    }
    m_target->setCurrentIndex(target);
    if (exec() != QDialog::Accepted)
        return false;
    url = m_address->currentText();
    m_address->AddItem(url);
    if (!isRemoteAddress(url) && !hasUrlScheme(url))
        m_lastLocalFile = localFileOfAddress(m_path, addressFilePart(url));
    text = m_text->text();
    attr = writeLinkAttributes(attr, {m_title->text(), targetValue()});
    return true;
}

bool TURLEingabeDialog::AreaRef(const QString& caption, const QString& path,
                                const QStringList& anchors, QString& url, QString& text,
                                QString& title) {
    m_anchors = anchors;
    prepare(caption, path, url, text);
    m_title->setText(title);
    m_laText->setText(T_("Alt:"));
    m_target->setVisible(false);
    m_laTarget->setVisible(false);
    updateAnchorButton();
    if (exec() != QDialog::Accepted)
        return false;
    url = m_address->currentText();
    m_address->AddItem(url);
    text = m_text->text();
    title = m_title->text();
    return true;
}

QString TURLEingabeDialog::targetValue() const {
    return m_target->currentData().toString();
}

void TURLEingabeDialog::updateAnchorButton() {
    m_btnAnchor->setEnabled(!m_anchors.isEmpty() ||
                            isExistingFileAddress(m_path, m_address->currentText()));
}

void TURLEingabeDialog::btnSelectFileClick() {
    const QString address = m_address->currentText();
    TFileDialogArgs args;
    args.title = T_("Select local file");
    args.filter = m_filter;
    args.dir = m_path;
    if (!address.isEmpty()) {
        const QString file = localFileOfAddress(m_path, address);
        const QString folder = file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            args.dir = withSlash(folder);
        args.filterIndex = filterEntryForFile(m_filter, address);
    }
    const QString chosen = m_dialogs.openFileName(args);
    if (chosen.isEmpty())
        return;
    m_address->setEditText(relativeLink(m_path, chosen, m_linkCase ? m_linkCase() : tcNone));
    const QString size = fileSizeForClipboard(chosen, filterEntryForFile(m_filter, chosen),
                                              m_decimalUnits ? m_decimalUnits() : true,
                                              m_decimalComma ? m_decimalComma() : false);
    if (!size.isEmpty())
        QApplication::clipboard()->setText(size);
    updateAnchorButton();
    m_text->setFocus();
}

void TURLEingabeDialog::addAnchorToAddress(const QString& filePart, const QString& entry) {
    m_address->setEditText(filePart + u'#' + anchorNameOfEntry(entry));
}

void TURLEingabeDialog::btnAnchorClick() {
    const QString address = m_address->currentText();
    const qsizetype hash = address.lastIndexOf(u'#');
    const QString filePart = hash < 0 ? address : address.left(hash);
    QStringList entries;
    if (m_readAnchors && isExistingFileAddress(m_path, filePart))
        entries = m_readAnchors(localFileOfAddress(m_path, filePart));
    if (entries.isEmpty())
        entries = m_anchors;
    if (entries.isEmpty()) {
        TLineInput input;
        input.caption = T_("Goto anchor");
        input.prompt = T_("Name:");
        input.history = m_anchorHistory;
        input.historySize = m_anchorHistorySize;
        QString name;
        if (m_elements.inputLine(input, name))
            addAnchorToAddress(filePart, name);
        return;
    }
    QStringList shown;
    for (const QString& e : entries)
        shown << QString(e).remove(u'|');
    QString chosen;
    bool other = false;
    const QString description = filePart.isEmpty() ? windowTitle() : filePart;
    const TOpenAt at = m_btnAnchor->mapToGlobal(QPoint(0, m_btnAnchor->height()));
    if (!m_elements.selectFromList(T_("Select local anchor"), description, shown, chosen, other,
                                   false, at))
        return;
    // The entry as read: its "|" marks tell a name holding "(" from the line number.
    const qsizetype index = shown.indexOf(chosen);
    if (index < 0)
        return;
    addAnchorToAddress(filePart, entries.at(index));
    m_text->setFocus();
}

void TURLEingabeDialog::btnCopyTitleClick() {
    m_title->setText(m_text->text());
}

void TURLEingabeDialog::btnFilterClick() {
    TFileFilterDialog dlg(this);
    dlg.Execute(T_("File filter for links"), m_filter);
}

void TURLEingabeDialog::LoadFromIni(const TUnicodeIniFile& ini, const QString& section) {
    if (section.isEmpty())
        return;
    m_section = section;
    m_filter = ini.ReadString(section, kFilterKey, defFilter());
    m_address->LoadFromIni(ini, section);
}

void TURLEingabeDialog::SaveToIni(TUnicodeIniFile& ini) const {
    if (m_section.isEmpty())
        return;
    m_address->SaveToIni(ini, m_section, false);
    ini.WriteString(m_section, kFilterKey, m_filter);
}

} // namespace orvel
