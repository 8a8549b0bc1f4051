#pragma once
// The mail-address dialog ("Mail address:"): the name part and the address part of a mail
// address, each offering the parts used before.

#include "dialogs/ui/PickerDialog.h"

#include <QStringList>

class QComboBox;

namespace orvel {

class TMailAdrDialog : public TPickerDialog {
    Q_OBJECT
public:
    explicit TMailAdrDialog(QWidget* parent = nullptr);

    // address is in-out: split at its first "@" into the two fields; on OK it is name part +
    // address part, and both parts are on top of their lists.
    bool Execute(const TOpenAt& at, QStringList& names, QStringList& domains, QString& address);

    void setup(const QStringList& names, const QStringList& domains, const QString& address);
    QComboBox* nameField() const { return m_name; }
    QComboBox* domainField() const { return m_domain; }

private:
    QComboBox* m_name;
    QComboBox* m_domain;
};

} // namespace orvel
