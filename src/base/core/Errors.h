#pragma once
// An error that ends the operation in progress; the command that ran it reports the message.

#include <QByteArray>
#include <QString>
#include <exception>

namespace orvel {

class EOrvelError : public std::exception {
public:
    explicit EOrvelError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace orvel
