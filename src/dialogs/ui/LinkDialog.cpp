#include "dialogs/ui/LinkDialog.h"

#include "base/core/Dialogs.h"
#include "base/core/FileSystem.h"
#include "base/core/IniFileUtils.h"
#include "base/core/Translate.h"
#include "base/ui/HListBox.h"
#include "dialogs/core/LinkPaths.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orvel {

TLinkDialog::TLinkDialog(IDialogs& dialogs, QWidget* parent) : QDialog(parent), m_dialogs(dialogs) {
    setWindowTitle(T_("Link to document"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(T_("Address or path:"), this));
    m_address = new THistoryCombo(this);
    m_address->setMaxItems(kHistorySize);
    m_address->setMinimumWidth(360);
    auto* file =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogOpenButton), QString(), this);
    file->setToolTip(T_("Select file"));
    auto* row = new QHBoxLayout;
    row->addWidget(m_address, 1);
    row->addWidget(file);
    layout->addLayout(row);
    m_hint = new QLabel(this);
    m_text = new QLineEdit(this);
    m_hint->setBuddy(m_text);
    layout->addWidget(m_hint);
    layout->addWidget(m_text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(file, &QPushButton::clicked, this, [this] { btnFileClick(); });
}

QString TLinkDialog::chooseFile() const {
    TFileDialogArgs args;
    args.title = m_fileTitle;
    args.dir = m_path;
    args.filter = m_filter;
    return m_dialogs.openFileName(args);
}

void TLinkDialog::btnFileClick() {
    const QString chosen = chooseFile();
    if (!chosen.isEmpty())
        m_address->setEditText(chosen);
}

bool TLinkDialog::Execute(const QString& title, const QString& hint, const QString& filter,
                          const QString& path, QString& link, QString& text) {
    m_fileTitle = title;
    m_filter = filter;
    m_path = withSlash(path);
    QString chosen;
    if (!hint.isEmpty()) {
        setWindowTitle(title);
        m_address->setEditText(link);
        m_hint->setText(hint);
        m_text->setText(text);
        m_address->setFocus();
        if (exec() != QDialog::Accepted)
            return false;
        chosen = m_address->currentText();
    } else {
        chosen = chooseFile();
        if (chosen.isEmpty())
            return false;
    }
    m_address->AddItem(chosen);
    link = linkRelativeTo(m_path, chosen);
    // Without a hint the text field was not shown: nothing was entered there.
    if (!hint.isEmpty())
        text = m_text->text();
    return true;
}

void TLinkDialog::LoadFromIni(const TUnicodeIniFile& ini, const QString& section) {
    if (section.isEmpty())
        return;
    m_section = section;
    m_address->LoadFromIni(ini, section);
}

void TLinkDialog::SaveToIni(TUnicodeIniFile& ini) const {
    if (!m_section.isEmpty())
        m_address->SaveToIni(ini, m_section, false);
}

} // namespace orvel
