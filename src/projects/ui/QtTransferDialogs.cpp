#include "projects/ui/QtTransferDialogs.h"

#include "base/core/IniFileUtils.h"
#include "base/ui/QtDialogs.h"
#include "projects/ui/CertificateDlg.h"
#include "projects/ui/PwdDlg.h"
#include "projects/ui/TransferDlg.h"
#include "projects/ui/TransferStat.h"

#include <QApplication>
#include <QFileInfo>
#include <QThread>

namespace orvel {

TQtTransferDialogs::TQtTransferDialogs(QWidget* parent, IDialogs* dialogs)
    : m_parent(parent), m_dialogs(dialogs) {
}

TQtTransferDialogs::~TQtTransferDialogs() {
    // Without a window to own them they go with this object.
    if (!m_parent) {
        delete m_transferDlg;
        delete m_statusDlg;
    }
}

IDialogs& TQtTransferDialogs::dialogs() {
    if (m_dialogs)
        return *m_dialogs;
    if (!m_ownDialogs) {
        auto own = std::make_unique<TQtDialogs>();
        own->setParentWidget(m_parent);
        m_ownDialogs = std::move(own);
    }
    return *m_ownDialogs;
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

TTransferDialog* TQtTransferDialogs::transferDialog() {
    if (!m_transferDlg) {
        m_transferDlg = new TTransferDialog(m_parent, dialogs());
        if (!m_iniName.isEmpty() && QFileInfo::exists(m_iniName))
            m_transferDlg->LoadFromIni(TUnicodeIniFile::CreateForRead(m_iniName));
    }
    return m_transferDlg;
}

TTransferStatus* TQtTransferDialogs::statusDialog() {
    if (!m_statusDlg) {
        m_statusDlg = new TTransferStatus(m_parent, dialogs());
        if (!m_iniName.isEmpty() && QFileInfo::exists(m_iniName))
            m_statusDlg->LoadFromIni(TUnicodeIniFile::CreateForRead(m_iniName));
    }
    return m_statusDlg;
}

bool TQtTransferDialogs::selectTransfer(QPoint pos, TTransferChoice& choice) {
    return transferDialog()->Execute(pos, choice);
}

bool TQtTransferDialogs::askPassword(const QString& title, const QString& prompt,
                                     QString& password) {
    TPasswordDialog dlg(m_parent);
    return dlg.Execute(title, prompt, password) == TPasswordDialog::prOK;
}

IPublishMonitor& TQtTransferDialogs::statusWindow() {
    return *statusDialog();
}

void TQtTransferDialogs::saveSettings(TUnicodeIniFile& ini) {
    // Only what was made: a dialog never used keeps its stored section.
    if (m_transferDlg)
        m_transferDlg->SaveToIni(ini);
    if (m_statusDlg)
        m_statusDlg->SaveToIni(ini);
}

} // namespace orvel
