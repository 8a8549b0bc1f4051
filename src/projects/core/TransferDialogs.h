#pragma once
// What a transfer asks the user, behind an interface: the program shows real dialogs, a run
// without windows and the tests answer otherwise. The session may ask from a worker thread;
// an implementation that shows windows brings the question to the user-interface thread.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace orvel {

// The server certificate of a TLS connection, as shown to the user.
struct TCerticateInfo {
    QString Server;  // "ftps://host:port"
    QString Subject; // one line
    QString Issuer;  // one line
    QString Version;
    QString SerialNumber;
    QString Fingerprint; // SHA-256, upper-case hex pairs joined by ":"
    QDateTime ValidFrom;
    QDateTime ValidUntil;
    QStringList Reasons; // why it failed verification; empty when it passed
};

class ITransferDialogs {
public:
    virtual ~ITransferDialogs() = default;
    // A server certificate that failed verification: true when the user accepts it (it is
    // then pinned), false to refuse the connection.
    virtual bool confirmCertificate(const TCerticateInfo& info) = 0;
};

} // namespace orvel
