#include "projects/core/FtpReply.h"

#include "base/core/Translate.h"

#include <QRegularExpression>

namespace orvel {

namespace {
// Replies that came but were not taken yet; a server that floods them is broken.
constexpr int kMaxQueued = 1000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "ddd" at the start of a line: its value, or -1.
int codeOf(const QByteArray& line) {
    if (line.size() < 3 || line[0] < '1' || line[0] > '5' || !isDigit(line[1]) || !isDigit(line[2]))
        return -1;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}
} // namespace

void TFtpReplyReader::reset() {
    m_buffer.clear();
    m_current = {};
    m_currentSize = 0;
    m_inMultiLine = false;
    m_ready.clear();
    m_error.clear();
}

void TFtpReplyReader::fail(const QString& reason) {
    if (m_error.isEmpty())
        m_error = reason;
    m_buffer.clear();
    m_ready.clear();
}

bool TFtpReplyReader::feed(const QByteArray& bytes) {
    if (failed())
        return false;
    m_buffer.append(bytes);
    qsizetype start = 0;
    while (!failed()) {
        const qsizetype end = m_buffer.indexOf('\n', start);
        if (end < 0)
            break;
        qsizetype len = end - start;
        if (len > 0 && m_buffer.at(end - 1) == '\r')
            --len;
        if (len > kMaxLine) {
            fail(T_("The server sent a reply line that is too long."));
            break;
        }
        const QByteArray line = m_buffer.mid(start, len);
        start = end + 1;
        takeLine(line);
    }
    if (failed())
        return false;
    m_buffer.remove(0, start);
    if (m_buffer.size() > kMaxLine + 1)
        fail(T_("The server sent a reply line that is too long."));
    return !failed();
}

bool TFtpReplyReader::takeLine(const QByteArray& line) {
    const int code = codeOf(line);
    const bool ends = code >= 0 && (line.size() == 3 || line[3] == ' ');
    if (!m_inMultiLine) {
        if (code < 0 || (line.size() > 3 && line[3] != ' ' && line[3] != '-')) {
            fail(T_("The server sent something that is not an FTP reply."));
            return false;
        }
        m_current = {code, {QString::fromUtf8(line.mid(4))}};
        m_currentSize = int(line.size());
        m_inMultiLine = !ends;
    } else {
        m_currentSize += int(line.size()) + 2;
        if (m_currentSize > kMaxReply) {
            fail(T_("The server sent a reply that is too long."));
            return false;
        }
        const bool sameCode = code == m_current.Code;
        if (sameCode && ends) {
            m_current.Lines.append(QString::fromUtf8(line.mid(4)));
            m_inMultiLine = false;
        } else {
            // Inner lines may repeat the code with "-"; the text is what follows it.
            const bool repeated = sameCode && line.size() > 3 && line[3] == '-';
            m_current.Lines.append(QString::fromUtf8(repeated ? line.mid(4) : line));
        }
    }
    if (!m_inMultiLine) {
        if (m_ready.size() >= kMaxQueued) {
            fail(T_("The server sent more replies than were asked for."));
            return false;
        }
        m_ready.append(std::move(m_current));
        m_current = {};
        m_currentSize = 0;
    }
    return true;
}

std::optional<TFtpReply> TFtpReplyReader::next() {
    if (m_ready.isEmpty())
        return std::nullopt;
    return m_ready.takeFirst();
}

QString quotedPath(const QString& text) {
    const qsizetype open = text.indexOf(u'"');
    if (open < 0)
        return QString();
    QString path;
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (text.at(i) != u'"') {
            path.append(text.at(i));
            continue;
        }
        if (i + 1 < text.size() && text.at(i + 1) == u'"') {
            path.append(u'"');
            ++i;
            continue;
        }
        return path.isNull() ? QStringLiteral("") : path;
    }
    return QString(); // no closing quote
}

quint16 parseEpsvReply(const QString& text) {
    static const QRegularExpression re(QStringLiteral("\\((.)\\1\\1(\\d{1,5})\\1\\)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return 0;
    const uint port = m.captured(2).toUInt();
    return port > 0 && port <= 65535 ? quint16(port) : 0;
}

bool parsePasvReply(const QString& text, QHostAddress& host, quint16& port) {
    static const QRegularExpression re(
        QStringLiteral("(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3})"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return false;
    uint v[6];
    for (int i = 0; i < 6; ++i) {
        v[i] = m.captured(i + 1).toUInt();
        if (v[i] > 255)
            return false;
    }
    host = QHostAddress((v[0] << 24) | (v[1] << 16) | (v[2] << 8) | v[3]);
    port = quint16((v[4] << 8) | v[5]);
    return port != 0;
}

QString eprtArgument(const QHostAddress& host, quint16 port) {
    const bool v6 = host.protocol() == QAbstractSocket::IPv6Protocol;
    return QStringLiteral("|%1|%2|%3|").arg(v6 ? 2 : 1).arg(host.toString()).arg(port);
}

QString portArgument(const QHostAddress& host, quint16 port) {
    const quint32 a = host.toIPv4Address();
    return QStringLiteral("%1,%2,%3,%4,%5,%6")
        .arg(a >> 24)
        .arg((a >> 16) & 255)
        .arg((a >> 8) & 255)
        .arg(a & 255)
        .arg(port >> 8)
        .arg(port & 255);
}

QDateTime parseFtpTime(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})(\\d{2})(\\d{2})(\\d{2})(?:\\.(\\d{1,9}))?$"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return QDateTime();
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const int ms =
        m.captured(7).isEmpty() ? 0 : m.captured(7).left(3).leftJustified(3, u'0').toInt();
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), ms);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

QString formatFtpTime(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyyMMddHHmmss"));
}

} // namespace orvel
