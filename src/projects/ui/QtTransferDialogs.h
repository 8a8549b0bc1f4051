#pragma once
// The real transfer questions and the status window behind the interface publishing uses. A
// question asked from a worker thread is brought to the user-interface thread, which answers
// it while it waits for the worker (processing events, as it must).

#include "projects/core/TransferDialogs.h"

#include <QPointer>
#include <memory>

class QWidget;

namespace orvel {

class IDialogs;
class TPasswordDialog;
class TTransferDialog;
class TTransferStatus;

class TQtTransferDialogs : public ITransferDialogs {
public:
    // parent is the window the questions belong to (may be null); dialogs (when given)
    // chooses folders, tells errors and beeps for them, and must outlive them.
    explicit TQtTransferDialogs(QWidget* parent, IDialogs* dialogs = nullptr);
    ~TQtTransferDialogs() override;
    TQtTransferDialogs(const TQtTransferDialogs&) = delete;
    TQtTransferDialogs& operator=(const TQtTransferDialogs&) = delete;

    bool confirmCertificate(const TCerticateInfo& info) override;
    bool selectTransfer(QPoint pos, TTransferChoice& choice) override;
    bool askPassword(const QString& title, const QString& prompt, QString& password) override;
    IPublishMonitor& statusWindow() override;
    void saveSettings(TUnicodeIniFile& ini) override;

    // The settings file the dialogs keep their settings in, read when they are made.
    void setIniFileName(const QString& iniName) { m_iniName = iniName; }
    // Created at first use.
    TTransferDialog* transferDialog();
    TTransferStatus* statusDialog();

private:
    IDialogs& dialogs();

    QPointer<QWidget> m_parent;
    IDialogs* m_dialogs;
    std::unique_ptr<IDialogs> m_ownDialogs;
    QString m_iniName;
    QPointer<TTransferDialog> m_transferDlg;
    QPointer<TTransferStatus> m_statusDlg;
};

} // namespace orvel
