#pragma once
// The real transfer questions behind the interface the FTP session uses. A question asked
// from a worker thread is brought to the user-interface thread, which answers it while it
// waits for the worker (processing events, as it must).

#include "projects/core/TransferDialogs.h"

#include <QPointer>

class QWidget;

namespace orvel {

class TQtTransferDialogs : public ITransferDialogs {
public:
    // parent is the window the questions belong to (may be null).
    explicit TQtTransferDialogs(QWidget* parent);

    bool confirmCertificate(const TCerticateInfo& info) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace orvel
