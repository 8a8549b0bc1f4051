#include "editor/core/DocumentText.h"

#include <QFileInfo>

namespace orvel {

QString charsetName(TSynEncoding encoding) {
    switch (encoding) {
    case seUTF8:
        return QStringLiteral("UTF-8");
    case seUTF16LE:
    case seUTF16BE:
        return QStringLiteral("UTF-16");
    case seAnsi:
        break;
    }
    return QStringLiteral("ISO-8859-1");
}

QString encodingDisplayName(TSynEncoding encoding) {
    switch (encoding) {
    case seUTF8:
        return QStringLiteral("UTF-8");
    case seUTF16LE:
        return QStringLiteral("UTF-16LE");
    case seUTF16BE:
        return QStringLiteral("UTF-16BE");
    case seAnsi:
        break;
    }
    return QStringLiteral("ANSI Latin 1");
}

std::optional<TSynEncoding> encodingOfCharset(const QString& value) {
    const QString v = value.trimmed();
    for (TSynEncoding e : {seUTF8, seUTF16LE, seUTF16BE, seAnsi})
        if (v.compare(charsetName(e), Qt::CaseInsensitive) == 0)
            return e;
    return std::nullopt;
}

namespace {

inline char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}
inline bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool equalsNoCase(QByteArrayView a, const char* b) {
    qsizetype i = 0;
    for (; b[i]; ++i)
        if (i >= a.size() || lower(a[i]) != b[i])
            return false;
    return i == a.size();
}

struct Attr {
    QByteArrayView name;
    qsizetype valueStart = -1;
    qsizetype valueLength = 0;
};

// Reads the attributes of the tag whose name ends at pos, up to its closing ">".
// Returns false when the tag does not close.
bool readAttributes(QByteArrayView s, qsizetype pos, QList<Attr>& attrs, qsizetype& end) {
    const qsizetype n = s.size();
    while (pos < n) {
        while (pos < n && (isSpace(s[pos]) || s[pos] == '/'))
            ++pos;
        if (pos >= n)
            return false;
        if (s[pos] == '>') {
            end = pos + 1;
            return true;
        }
        const qsizetype nameStart = pos;
        while (pos < n && !isSpace(s[pos]) && s[pos] != '=' && s[pos] != '>' && s[pos] != '/')
            ++pos;
        Attr a;
        a.name = s.sliced(nameStart, pos - nameStart);
        while (pos < n && isSpace(s[pos]))
            ++pos;
        if (pos < n && s[pos] == '=') {
            ++pos;
            while (pos < n && isSpace(s[pos]))
                ++pos;
            if (pos >= n)
                return false;
            if (s[pos] == '"' || s[pos] == '\'') {
                const char q = s[pos++];
                const qsizetype close = s.indexOf(q, pos);
                if (close < 0)
                    return false; // an unclosed value: no declaration
                a.valueStart = pos;
                a.valueLength = close - pos;
                pos = close + 1;
            } else {
                a.valueStart = pos;
                while (pos < n && !isSpace(s[pos]) && s[pos] != '>')
                    ++pos;
                a.valueLength = pos - a.valueStart;
            }
        }
        attrs.append(a);
    }
    return false;
}

// Offset and length of the charset inside a content value ("text/html; charset=x").
bool charsetInContent(QByteArrayView content, qsizetype& start, qsizetype& length) {
    for (qsizetype i = 0; i + 7 <= content.size(); ++i) {
        if (!equalsNoCase(content.sliced(i, 7), "charset"))
            continue;
        qsizetype p = i + 7;
        while (p < content.size() && isSpace(content[p]))
            ++p;
        if (p >= content.size() || content[p] != '=')
            continue;
        ++p;
        while (p < content.size() && isSpace(content[p]))
            ++p;
        qsizetype e = p;
        while (e < content.size() && !isSpace(content[e]) && content[e] != ';')
            ++e;
        start = p;
        length = e - p;
        return true;
    }
    return false;
}

} // namespace

TCharsetDeclaration findCharsetDeclaration(QByteArrayView s) {
    TCharsetDeclaration d;
    const qsizetype n = s.size();
    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype lt = s.indexOf('<', pos);
        if (lt < 0 || lt + 5 > n)
            break;
        pos = lt + 1;
        if (!equalsNoCase(s.sliced(lt + 1, 4), "meta"))
            continue;
        if (lt + 5 < n && !isSpace(s[lt + 5]) && s[lt + 5] != '>' && s[lt + 5] != '/')
            continue;
        QList<Attr> attrs;
        qsizetype end = 0;
        if (!readAttributes(s, lt + 5, attrs, end))
            continue;
        pos = end;
        bool contentType = false;
        const Attr* content = nullptr;
        for (const Attr& a : attrs) {
            if (equalsNoCase(a.name, "charset") && a.valueStart >= 0) {
                d.start = a.valueStart;
                d.length = a.valueLength;
                d.value = QString::fromUtf8(s.sliced(d.start, d.length)).trimmed();
                return d;
            }
            if (equalsNoCase(a.name, "http-equiv") && a.valueStart >= 0 &&
                equalsNoCase(s.sliced(a.valueStart, a.valueLength), "content-type"))
                contentType = true;
            if (equalsNoCase(a.name, "content") && a.valueStart >= 0)
                content = &a;
        }
        if (contentType && content) {
            qsizetype cs = 0;
            qsizetype cl = 0;
            if (charsetInContent(s.sliced(content->valueStart, content->valueLength), cs, cl)) {
                d.start = content->valueStart + cs;
                d.length = cl;
                d.value = QString::fromUtf8(s.sliced(d.start, d.length));
                return d;
            }
        }
    }
    return d;
}

std::optional<TBufferCoord> parseCaretLine(QStringView line) {
    // "$" digits "," digits and nothing else.
    if (line.size() < 4 || line.at(0) != u'$')
        return std::nullopt;
    const qsizetype comma = line.indexOf(u',');
    if (comma < 2 || comma > 10 || comma == line.size() - 1 || line.size() - comma - 1 > 9)
        return std::nullopt;
    const auto digits = [](QStringView v) {
        for (QChar c : v)
            if (c < u'0' || c > u'9')
                return false;
        return true;
    };
    const QStringView l = line.sliced(1, comma - 1);
    const QStringView c = line.sliced(comma + 1);
    if (!digits(l) || !digits(c))
        return std::nullopt;
    return TBufferCoord{c.toInt(), l.toInt()};
}

QString caretLine(TBufferCoord pos) {
    return QStringLiteral("$%1,%2").arg(pos.Line).arg(pos.Char);
}

QString newDocumentText(TFileTypes type, TSynEncoding encoding, TLineBreak lineBreak) {
    const QString eol = QString::fromLatin1(lineBreakText(lineBreak));
    switch (type) {
    case ftCss:
        return QStringLiteral("@charset \"%1\";").arg(charsetName(encoding)) + eol;
    case ftPhp:
        return QStringLiteral("<?php") + eol + eol + QStringLiteral("?>");
    case ftVbs:
        return QStringLiteral("' Visual Basic Script") + eol;
    case ftPerl:
        return QStringLiteral("#!/bin/perl") + eol + QStringLiteral("require \"cgi-lib.pl\";") +
               eol;
    default:
        return QString();
    }
}

QString replaceCharsetMarker(const QString& line, const QString& value) {
    QString out = line;
    out.replace(QStringLiteral("%s"), value, Qt::CaseInsensitive);
    return out;
}

bool isHtmlTemplateName(const QString& fileName) {
    return QFileInfo(fileName).suffix().compare(QLatin1String("htt"), Qt::CaseInsensitive) == 0;
}

} // namespace orvel
