#include "projects/ui/FtpProxyDlg.h"

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <iterator>

namespace orvel {

namespace {

// The connection methods in the order of their mode (1..6).
const char* const kMethods[] = {
    "Send command USER user@hostname",
    "Send command SITE (with logon)",
    "Send command OPEN",
    "USER user@firewalluser@hostname",
    "Transparent",
    "USER hostuserID@hostname firewallUsername",
};
constexpr int kMethodCount = int(std::size(kMethods));

} // namespace

TFtpProxyDialog::TFtpProxyDialog(QWidget* parent)
    : QDialog(parent), m_server(new QLineEdit(this)), m_port(new QLineEdit(this)),
      m_user(new QLineEdit(this)), m_password(new QLineEdit(this)),
      m_showPwd(new QCheckBox(T_("Show password"), this)), m_methods(new QButtonGroup(this)) {
    setWindowTitle(T_("FTP proxy server options"));
    m_server->setObjectName(QStringLiteral("server"));
    m_port->setObjectName(QStringLiteral("port"));
    m_user->setObjectName(QStringLiteral("user"));
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    connect(m_showPwd, &QCheckBox::toggled, this, [this](bool on) {
        m_password->setEchoMode(on ? QLineEdit::Normal : QLineEdit::Password);
    });

    auto* form = new QFormLayout;
    form->addRow(T_("Server name:"), m_server);
    form->addRow(T_("Port:"), m_port);
    form->addRow(T_("User name:"), m_user);
    form->addRow(T_("Password:"), m_password);
    form->addRow(QString(), m_showPwd);

    auto* group = new QGroupBox(T_("Connection method"), this);
    auto* groupLayout = new QVBoxLayout(group);
    for (int i = 0; i < kMethodCount; ++i) {
        auto* radio = new QRadioButton(T_(kMethods[i]), group);
        m_methods->addButton(radio, i);
        groupLayout->addWidget(radio);
    }

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(T_("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(T_("Cancel"), QDialogButtonBox::RejectRole);
    m_ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFtpProxyDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFtpProxyDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addWidget(buttons);
    m_server->setMinimumWidth(240);
}

QRadioButton* TFtpProxyDialog::methodButton(int mode) const {
    return qobject_cast<QRadioButton*>(m_methods->button(mode - 1));
}

void TFtpProxyDialog::setup(const TFtpProxyParams& params, bool showPwd) {
    m_server->setText(params.Server);
    m_port->setText(QString::number(params.Port));
    m_user->setText(params.Username);
    m_password->setText(params.Password);
    m_showPwd->setChecked(false);
    m_showPwd->setVisible(showPwd);
    const int item = params.Mode >= 1 && params.Mode <= kMethodCount ? params.Mode - 1 : 0;
    m_methods->button(item)->setChecked(true);
    m_server->setFocus();
    setResult(QDialog::Rejected);
    adjustSize();
}

bool TFtpProxyDialog::portValid(quint32* port) const {
    const QString text = m_port->text().trimmed();
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    const quint32 value = text.toUInt();
    if (value > 65535)
        return false;
    if (port)
        *port = value;
    return true;
}

void TFtpProxyDialog::accept() {
    if (!portValid(nullptr)) {
        const QString text = fmt(T_("Invalid port number (%s)"), {m_port->text()});
        if (m_dialogs)
            m_dialogs->error(windowTitle(), text);
        else
            QMessageBox::critical(this, windowTitle(), text);
        m_port->setFocus();
        m_port->selectAll();
        return;
    }
    QDialog::accept();
}

bool TFtpProxyDialog::finish(bool accepted, TFtpProxyParams& params) const {
    quint32 port = 0;
    // Only a checked port leaves the dialog.
    if (!accepted || !portValid(&port))
        return false;
    params.Server = m_server->text();
    params.Port = port;
    params.Username = m_user->text();
    params.Password = m_password->text();
    params.Mode = quint8(qMax(0, m_methods->checkedId()) + 1);
    return true;
}

bool TFtpProxyDialog::Execute(TFtpProxyParams& params, bool showPwd) {
    setup(params, showPwd);
    return finish(exec() == QDialog::Accepted, params);
}

} // namespace orvel
