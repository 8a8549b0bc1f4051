#include "projects/ui/CertificateDlg.h"

#include "base/core/Translate.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orvel {

namespace {
QString row(const QString& label, const QString& value) {
    return QStringLiteral("<tr><td valign='top'><b>%1</b></td><td>%2</td></tr>")
        .arg(label.toHtmlEscaped(), value.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")));
}

QString dateText(const QDateTime& time) {
    return time.isValid() ? QLocale().toString(time.toLocalTime(), QLocale::ShortFormat)
                          : T_("unknown");
}
} // namespace

TCertificateDialog::TCertificateDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(T_("Server certificate"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(48, 48));
    auto* intro = new QLabel(T_("The server's certificate could not be verified. Accept it "
                                "only when you know it is the server's own: it is then "
                                "remembered for this project, and a changed certificate is "
                                "asked about again."),
                             this);
    intro->setWordWrap(true);
    m_details = new QLabel(this);
    m_details->setTextFormat(Qt::RichText);
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_details->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    m_accept = buttons->addButton(T_("&Accept certificate"), QDialogButtonBox::AcceptRole);
    m_refuse = buttons->addButton(T_("&Refuse"), QDialogButtonBox::RejectRole);
    m_refuse->setDefault(true); // refusing is the safe answer
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(intro, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_details);
    layout->addWidget(buttons);
}

void TCertificateDialog::setup(const TCerticateInfo& info) {
    QString html = QStringLiteral("<table cellspacing='4'>");
    html += row(T_("Server:"), info.Server);
    html += row(T_("Subject:"), info.Subject);
    html += row(T_("Issuer:"), info.Issuer);
    html += row(T_("Fingerprint (SHA-256):"), info.Fingerprint);
    html += row(T_("Valid from:"), dateText(info.ValidFrom));
    html += row(T_("Valid until:"), dateText(info.ValidUntil));
    html += row(T_("Serial number:"), info.SerialNumber);
    html += row(T_("Problem:"), info.Reasons.join(QStringLiteral("\n")));
    html += QStringLiteral("</table>");
    m_details->setText(html);
    m_refuse->setFocus();
}

bool TCertificateDialog::Execute(const TCerticateInfo& info) {
    setup(info);
    return exec() == QDialog::Accepted;
}

} // namespace orvel
