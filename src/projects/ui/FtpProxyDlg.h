#pragma once
// The FTP proxy settings of a project: server, login and how the proxy is addressed.

#include "projects/core/ProjectInfo.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvel {

class IDialogs;

class TFtpProxyDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFtpProxyDialog(QWidget* parent = nullptr);

    // Edits params in place and returns true on OK. showPwd offers "Show password".
    bool Execute(TFtpProxyParams& params, bool showPwd);

    // Execute in two halves, for callers (and tests) that run the dialog themselves.
    void setup(const TFtpProxyParams& params, bool showPwd);
    // On OK the fields go into params; returns accepted.
    bool finish(bool accepted, TFtpProxyParams& params) const;

    // Where a refused port is reported; a message box when not set.
    void setDialogs(IDialogs* dialogs) { m_dialogs = dialogs; }

    // Refuses while the port is not a whole number from 0 to 65535.
    void accept() override;

    QLineEdit* serverBox() const { return m_server; }
    QLineEdit* portBox() const { return m_port; }
    QLineEdit* userBox() const { return m_user; }
    QLineEdit* passwordBox() const { return m_password; }
    QCheckBox* showPasswordBox() const { return m_showPwd; }
    // The connection method of mode (1..6).
    QRadioButton* methodButton(int mode) const;
    QPushButton* okButton() const { return m_ok; }

private:
    bool portValid(quint32* port) const;

    IDialogs* m_dialogs = nullptr;
    QLineEdit* m_server;
    QLineEdit* m_port;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_showPwd;
    QButtonGroup* m_methods;
    QPushButton* m_ok;
};

} // namespace orvel
