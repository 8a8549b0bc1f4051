#pragma once
// FTP control replies (RFC 959): the reader that cuts a byte stream into replies, and the
// pieces of reply texts the session needs (quoted paths, data addresses, times).

#include <QByteArray>
#include <QDateTime>
#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvel {

struct TFtpReply {
    int Code = 0;      // 100..599
    QStringList Lines; // the text of every line, the code and its separator removed

    QString text() const { return Lines.join(u'\n'); }
    QString firstLine() const { return Lines.isEmpty() ? QString() : Lines.first(); }
    bool preliminary() const { return Code >= 100 && Code < 200; }
    bool positive() const { return Code >= 200 && Code < 400; }
};

// Cuts what the server sends into replies. Lines and replies are bounded, so a hostile or
// broken server can neither make it hang nor make it grow without end: anything that is no
// valid reply puts the reader into a failed state with a message.
class TFtpReplyReader {
public:
    static constexpr int kMaxLine = 64 * 1024;
    static constexpr int kMaxReply = 1024 * 1024;

    // Takes more bytes; false once the stream failed (see error()).
    bool feed(const QByteArray& bytes);
    // The next complete reply, if one is there.
    std::optional<TFtpReply> next();
    bool failed() const { return !m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    // Forgets everything (a new connection).
    void reset();

private:
    bool takeLine(const QByteArray& line);
    void fail(const QString& reason);

    QByteArray m_buffer;
    TFtpReply m_current;
    int m_currentSize = 0;
    bool m_inMultiLine = false;
    QList<TFtpReply> m_ready;
    QString m_error;
};

// The path of a reply such as 257 "/a ""b""" (doubled quotes undone); null without one.
QString quotedPath(const QString& text);
// The port of an EPSV reply "229 Entering Extended Passive Mode (|||6446|)"; 0 when none.
quint16 parseEpsvReply(const QString& text);
// Address and port of a PASV reply "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)".
bool parsePasvReply(const QString& text, QHostAddress& host, quint16& port);
// Arguments of EPRT and PORT for an address of ours.
QString eprtArgument(const QHostAddress& host, quint16 port);
QString portArgument(const QHostAddress& host, quint16 port);
// "YYYYMMDDHHMMSS[.sss]" as UTC (RFC 3659); invalid when malformed.
QDateTime parseFtpTime(const QString& text);
// A UTC time as "YYYYMMDDHHMMSS".
QString formatFtpTime(const QDateTime& time);

} // namespace orvel
