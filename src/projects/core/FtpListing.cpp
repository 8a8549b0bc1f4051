#include "projects/core/FtpListing.h"

#include "base/core/Translate.h"
#include "projects/core/FtpReply.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace orvel {

namespace {
// Names are UTF-8 on the wire; a name that is not cannot be sent back unchanged.
std::optional<QString> decodeName(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return name;
}

bool isDotName(const QByteArray& name) {
    return name == "." || name == "..";
}

std::optional<TFtpListEntry> entryNamed(const QByteArray& rawName, bool directory, qint64 size,
                                        const QDateTime& listed, const QDateTime& utc) {
    if (rawName.isEmpty() || isDotName(rawName))
        return std::nullopt;
    TFtpListEntry e;
    // A name that is no UTF-8 keeps its bytes as Latin-1 so that the refusal can show it.
    e.Info.FFileName = decodeName(rawName).value_or(QString::fromLatin1(rawName));
    if (!decodeName(rawName))
        e.Info.FFileName.append(QChar::ReplacementCharacter);
    e.Directory = directory;
    e.Info.FSize = size;
    e.Info.FModifiedDateGMT = utc;
    e.Info.FModifiedDate = utc.isValid() ? utc.toLocalTime() : listed;
    return e;
}

int monthOf(const QByteArray& token) {
    static const char* const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    const QByteArray lower = token.toLower();
    for (int i = 0; i < 12; ++i)
        if (lower == names[i])
            return i + 1;
    return 0;
}

bool allDigits(const QByteArray& s) {
    if (s.isEmpty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// A refused name as the log can show it: control characters as "\xHH".
QString printableName(const QString& name) {
    QString out;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

struct TToken {
    QByteArray text;
    qsizetype end = 0; // offset just after it
};

QList<TToken> tokens(const QByteArray& line, int max) {
    QList<TToken> out;
    qsizetype i = 0;
    while (i < line.size() && out.size() < max) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            out.append({line.mid(start, i - start), i});
    }
    return out;
}
} // namespace

int TFileList::IndexOf(const QString& name) const {
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items.at(i).FFileName == name)
            return i;
    return -1;
}

const TFtpFileInfo* TFileList::Find(const QString& name) const {
    const int i = IndexOf(name);
    return i < 0 ? nullptr : &m_items.at(i);
}

QStringList TFileList::Names() const {
    QStringList names;
    for (const TFtpFileInfo& info : m_items)
        names.append(info.FFileName);
    return names;
}

QString remoteNameProblem(const QString& name) {
    if (name.isEmpty())
        return T_("empty name");
    if (name == u"." || name == u"..")
        return T_("a name for a folder level");
    for (QChar c : name) {
        if (c == u'/' || c == u'\\')
            return T_("the name holds a path separator");
        if (c == QChar(0) || c == u'\r' || c == u'\n')
            return T_("the name holds a control character");
        if (c == QChar::ReplacementCharacter)
            return T_("the name is not UTF-8");
    }
    return QString();
}

std::optional<TFtpListEntry> parseMlsdLine(const QByteArray& line) {
    const qsizetype blank = line.indexOf(' ');
    if (blank < 0)
        return std::nullopt;
    QByteArray type;
    qint64 size = -1;
    QDateTime modified;
    for (const QByteArray& fact : line.left(blank).split(';')) {
        const qsizetype eq = fact.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray key = fact.left(eq).toLower();
        const QByteArray value = fact.mid(eq + 1);
        if (key == "type")
            type = value.toLower();
        else if (key == "size" || key == "sizd") {
            bool ok = false;
            const qint64 v = value.toLongLong(&ok);
            size = ok && v >= 0 ? v : -1;
        } else if (key == "modify")
            modified = parseFtpTime(QString::fromLatin1(value));
    }
    const QByteArray name = line.mid(blank + 1);
    if (type == "file")
        return entryNamed(name, false, size, QDateTime(), modified);
    if (type == "dir")
        return entryNamed(name, true, size, QDateTime(), modified);
    return std::nullopt; // cdir, pdir, links and whatever else is no plain entry
}

std::optional<TFtpListEntry> parseUnixListLine(const QByteArray& line, const QDate& today) {
    const QList<TToken> t = tokens(line, 12);
    if (t.size() < 6 || t[0].text.size() < 10)
        return std::nullopt;
    const char kind = t[0].text[0];
    if (kind != '-' && kind != 'd' && kind != 'l')
        return std::nullopt;
    // The date is "Mon dd hh:mm" or "Mon dd yyyy" after the size; owner and group columns
    // vary between servers, so look for it.
    for (int i = 2; i + 2 < t.size(); ++i) {
        const int month = monthOf(t[i].text);
        if (!month || !allDigits(t[i - 1].text) || !allDigits(t[i + 1].text))
            continue;
        const int day = t[i + 1].text.toInt();
        const QByteArray& yt = t[i + 2].text;
        int year = 0, hour = 0, minute = 0;
        if (yt.size() == 5 && yt[2] == ':' && allDigits(yt.left(2)) && allDigits(yt.mid(3))) {
            hour = yt.left(2).toInt();
            minute = yt.mid(3).toInt();
            year = today.year();
            if (QDate(year, month, qMax(1, qMin(day, 28))) > today.addDays(1))
                --year;
        } else if (yt.size() == 4 && allDigits(yt)) {
            year = yt.toInt();
        } else {
            continue;
        }
        const QDate date(year, month, day);
        const QTime time(hour, minute);
        if (!date.isValid() || !time.isValid())
            return std::nullopt;
        QByteArray name = line.mid(t[i + 2].end + 1);
        if (kind == 'l') {
            const qsizetype arrow = name.indexOf(" -> ");
            if (arrow >= 0)
                name.truncate(arrow);
        }
        bool ok = false;
        const qint64 size = t[i - 1].text.toLongLong(&ok);
        return entryNamed(name, kind == 'd', ok ? size : -1, QDateTime(date, time), QDateTime());
    }
    return std::nullopt;
}

std::optional<TFtpListEntry> parseWindowsListLine(const QByteArray& line) {
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{2,4})-(\\d{2})-(\\d{2,4})\\s+(\\d{1,2}):(\\d{2})\\s*([AaPp][Mm])?\\s+(<DIR>|"
        "\\d+)\\s+(.+)$"));
    // The name is taken from the bytes so that its encoding can be checked.
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(line));
    if (!m.hasMatch())
        return std::nullopt;
    int a = m.captured(1).toInt(), b = m.captured(2).toInt(), c = m.captured(3).toInt();
    int year, month, day;
    if (m.captured(1).size() == 4) { // yyyy-mm-dd
        year = a, month = b, day = c;
    } else { // mm-dd-yy(yy)
        month = a, day = b, year = m.captured(3).size() == 2 ? (c < 70 ? 2000 + c : 1900 + c) : c;
    }
    int hour = m.captured(4).toInt();
    const QString ampm = m.captured(6).toUpper();
    if (ampm == u"PM" && hour < 12)
        hour += 12;
    else if (ampm == u"AM" && hour == 12)
        hour = 0;
    const QDate date(year, month, day);
    const QTime time(hour, m.captured(5).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const bool dir = m.captured(7) == u"<DIR>";
    const qint64 size = dir ? -1 : m.captured(7).toLongLong();
    return entryNamed(line.mid(m.capturedStart(8)), dir, size, QDateTime(date, time), QDateTime());
}

TParsedListing parseListing(const QByteArray& data, TListingFormat format, const QDate& today) {
    TParsedListing out;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        qsizetype len = end - start;
        if (len > 0 && data.at(start + len - 1) == '\r')
            --len;
        const QByteArray line = data.mid(start, len);
        start = end + 1;
        std::optional<TFtpListEntry> e;
        if (format == lfMlsd)
            e = parseMlsdLine(line);
        else if (!(e = parseUnixListLine(line, today)))
            e = parseWindowsListLine(line);
        if (!e)
            continue;
        const QString problem = remoteNameProblem(e->Info.FFileName);
        if (!problem.isEmpty())
            out.Refused.append(printableName(e->Info.FFileName) + QStringLiteral(": ") + problem);
        else
            out.Entries.append(std::move(*e));
    }
    return out;
}

} // namespace orvel
