#include "dialogs/ui/MailAdrDlg.h"

#include "base/core/Translate.h"
#include "dialogs/core/PickerLogic.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orvel {

namespace {
QComboBox* partField(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->completer()->setCompletionMode(QCompleter::InlineCompletion);
    box->setMinimumWidth(260);
    return box;
}

void fill(QComboBox* box, const QStringList& items, const QString& text) {
    box->clear();
    box->addItems(items);
    box->setEditText(text);
}
} // namespace

TMailAdrDialog::TMailAdrDialog(QWidget* parent) : TPickerDialog(parent) {
    setWindowTitle(T_("Mail address:"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    m_name = partField(this);
    m_domain = partField(this);
    form->addRow(T_("Name part of mail address:"), m_name);
    form->addRow(T_("Basic mail address:"), m_domain);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TMailAdrDialog::setup(const QStringList& names, const QStringList& domains,
                           const QString& address) {
    QString name, domain;
    splitMailAddress(address, name, domain);
    fill(m_name, names, name);
    fill(m_domain, domains, domain);
    m_name->setFocus();
    m_name->lineEdit()->selectAll();
}

bool TMailAdrDialog::Execute(const TOpenAt& at, QStringList& names, QStringList& domains,
                             QString& address) {
    setup(names, domains, address);
    placeAt(at);
    if (exec() != QDialog::Accepted)
        return false;
    address = takeMailAddress(m_name->currentText(), m_domain->currentText(), names, domains);
    return true;
}

} // namespace orvel
