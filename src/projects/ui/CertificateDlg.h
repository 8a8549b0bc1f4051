#pragma once
// Shows a server certificate that failed verification and asks whether to trust it: the
// server, subject, issuer, SHA-256 fingerprint, validity and why it failed.

#include "projects/core/TransferDialogs.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvel {

class TCertificateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TCertificateDialog(QWidget* parent = nullptr);

    // True when the user accepts the certificate.
    bool Execute(const TCerticateInfo& info);
    // What Execute shows, for callers (and tests) that run the dialog themselves.
    void setup(const TCerticateInfo& info);

    QLabel* detailsLabel() const { return m_details; }
    QPushButton* acceptButton() const { return m_accept; }
    QPushButton* refuseButton() const { return m_refuse; }

private:
    QLabel* m_details;
    QPushButton* m_accept;
    QPushButton* m_refuse;
};

} // namespace orvel
