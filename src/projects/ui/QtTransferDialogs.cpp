#include "projects/ui/QtTransferDialogs.h"

#include "projects/ui/CertificateDlg.h"

#include <QApplication>
#include <QThread>

namespace orvel {

TQtTransferDialogs::TQtTransferDialogs(QWidget* parent) : m_parent(parent) {
}

bool TQtTransferDialogs::confirmCertificate(const TCerticateInfo& info) {
    bool accepted = false;
    const auto ask = [this, &info, &accepted] {
        TCertificateDialog dlg(m_parent);
        accepted = dlg.Execute(info);
    };
    if (QThread::currentThread() == qApp->thread())
        ask();
    else
        QMetaObject::invokeMethod(qApp, ask, Qt::BlockingQueuedConnection);
    return accepted;
}

} // namespace orvel
