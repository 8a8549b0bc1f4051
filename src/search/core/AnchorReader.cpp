#include "search/core/AnchorReader.h"

#include "base/core/Translate.h"
#include "search/core/SearchFile.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

namespace orvel {

namespace {

// As the tag editor reads attributes: any control character separates them.
bool isBlank(QChar c) {
    return c.unicode() <= 0x20;
}

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool sameName(QStringView a, QLatin1StringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Line and column of offsets asked for in rising order; a line ends at LF, CR LF or CR, as
// the editor counts them.
class TLineCounter {
public:
    explicit TLineCounter(QStringView text) : m_text(text) {}
    TBufferCoord coordOf(qsizetype offset) {
        for (; m_at < offset; ++m_at) {
            const QChar c = m_text[m_at];
            if (c == u'\n' ||
                (c == u'\r' && (m_at + 1 >= m_text.size() || m_text[m_at + 1] != u'\n'))) {
                ++m_line;
                m_lineStart = m_at + 1;
            }
        }
        return TBufferCoord{int(offset - m_lineStart + 1), m_line};
    }

private:
    QStringView m_text;
    qsizetype m_at = 0;
    qsizetype m_lineStart = 0;
    int m_line = 1;
};

struct TAttr {
    qsizetype nameStart = 0;
    qsizetype nameEnd = 0;
    qsizetype valueStart = -1; // -1 without a value
    qsizetype valueEnd = -1;
};

struct TStartTag {
    qsizetype nameStart = 0;
    qsizetype nameEnd = 0;
    QList<TAttr> attrs;
    qsizetype gt = -1; // the closing ">"; -1 when the text ends first
    qsizetype end = 0; // where reading goes on
    bool selfClosing = false;
};

// A start tag from its name's first letter (after "<").
TStartTag scanStartTag(QStringView t, qsizetype at) {
    const qsizetype n = t.size();
    TStartTag tag;
    tag.nameStart = at;
    while (at < n && !isBlank(t[at]) && t[at] != u'/' && t[at] != u'>')
        ++at;
    tag.nameEnd = at;
    while (true) {
        while (at < n && (isBlank(t[at]) || t[at] == u'/'))
            ++at;
        if (at >= n || t[at] == u'>')
            break;
        TAttr attr;
        attr.nameStart = at++; // a leading "=" belongs to the name
        while (at < n && !isBlank(t[at]) && t[at] != u'/' && t[at] != u'>' && t[at] != u'=')
            ++at;
        attr.nameEnd = at;
        qsizetype look = at;
        while (look < n && isBlank(t[look]))
            ++look;
        if (look < n && t[look] == u'=') {
            at = look + 1;
            while (at < n && isBlank(t[at]))
                ++at;
            if (at < n && (t[at] == u'"' || t[at] == u'\'')) {
                const QChar quote = t[at];
                attr.valueStart = at + 1;
                qsizetype close = t.indexOf(quote, at + 1);
                if (close < 0) {
                    // An unclosed quote ends with the tag, not with the file.
                    close = t.indexOf(u'>', at + 1);
                    if (close < 0)
                        close = n;
                    attr.valueEnd = close;
                    at = close;
                } else {
                    attr.valueEnd = close;
                    at = close + 1;
                }
            } else {
                attr.valueStart = at;
                while (at < n && !isBlank(t[at]) && t[at] != u'>')
                    ++at;
                attr.valueEnd = at;
            }
        }
        tag.attrs.append(attr);
    }
    if (at < n) {
        tag.gt = at;
        tag.selfClosing = at > tag.nameEnd && t[at - 1] == u'/';
        tag.end = at + 1;
    } else {
        tag.end = n;
    }
    return tag;
}

// Whether an end tag of the element starts at the offset: "</name" then a blank, "/", ">"
// or the text's end.
bool isEndTagAt(QStringView t, qsizetype at, QStringView name) {
    const qsizetype after = at + 2 + name.size();
    return after <= t.size() &&
           t.sliced(at + 2, name.size()).compare(name, Qt::CaseInsensitive) == 0 &&
           (after == t.size() || isBlank(t[after]) || t[after] == u'>' || t[after] == u'/');
}

// The first end tag of the element starting in [from, limit); -1 when none.
qsizetype findEndTag(QStringView t, qsizetype from, qsizetype limit, QStringView name) {
    // Only the stretch is searched: "</" may start at its last character.
    const QStringView area = t.first(qMin(t.size(), limit + 1));
    for (qsizetype at = area.indexOf(u"</", from); at >= 0 && at < limit;
         at = area.indexOf(u"</", at + 1))
        if (isEndTagAt(t, at, name))
            return at;
    return -1;
}

// Remembers, per element name, where end tags were looked for, so that anchors in a row
// that are never closed do not each search the same stretch again: the reader stays linear.
class TEndTagFinder {
public:
    explicit TEndTagFinder(QStringView text) : m_text(text) {}
    // The first end tag starting in [from, limit); calls come with rising from.
    qsizetype find(qsizetype from, qsizetype limit, QStringView name) {
        TSpan& s = m_spans[name.toString().toLower()];
        if (s.found >= from && s.from <= from)
            return s.found < limit ? s.found : -1;
        if (s.found < 0 && s.from >= 0 && s.from <= from && from <= s.to) {
            // None starts in [s.from, s.to): look on from there.
            if (limit > s.to) {
                s.found = findEndTag(m_text, s.to, limit, name);
                s.to = limit;
            }
            return s.found >= 0 && s.found < limit ? s.found : -1;
        }
        s.from = from;
        s.to = limit;
        s.found = findEndTag(m_text, from, limit, name);
        return s.found;
    }

private:
    struct TSpan {
        qsizetype from = -1; // no end tag starts in [from, to) before found
        qsizetype to = -1;
        qsizetype found = -1;
    };
    QStringView m_text;
    QHash<QString, TSpan> m_spans;
};

// The text between two places without its tags and comments, line breaks and NBSP as
// blanks, trimmed and bounded.
QString cleanLinkText(QStringView s) {
    QString out;
    out.reserve(qMin<qsizetype>(s.size(), kMaxAnchorLinkText * 2));
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s[i];
        if (c == u'<' && i + 1 < n &&
            (isAsciiLetter(s[i + 1]) || s[i + 1] == u'/' || s[i + 1] == u'!' || s[i + 1] == u'?')) {
            qsizetype end;
            if (s.sliced(i).startsWith(u"<!--")) {
                end = s.indexOf(u"-->", i + 4);
                end = end < 0 ? n : end + 3;
            } else {
                end = s.indexOf(u'>', i + 1);
                end = end < 0 ? n : end + 1;
            }
            i = end - 1;
        } else if (c == u'\r') {
            if (i + 1 < n && s[i + 1] == u'\n')
                ++i;
            out += u' ';
        } else if (c == u'\n' || c == QChar(0xA0)) {
            out += u' ';
        } else {
            out += c;
        }
    }
    out = out.trimmed();
    if (out.size() > kMaxAnchorLinkText) {
        qsizetype cut = kMaxAnchorLinkText;
        if (out[cut - 1].isHighSurrogate())
            --cut;
        out.truncate(cut);
        out = out.trimmed();
    }
    return out;
}

// Skips the content of a script or style element up to its end tag.
qsizetype skipRawText(QStringView t, qsizetype from, QStringView name) {
    const qsizetype found = findEndTag(t, from, t.size(), name);
    return found < 0 ? t.size() : found;
}

} // namespace

QString TAnchor::entry() const {
    return QStringLiteral("|%1| (%2%3): %4")
        .arg(name, QString::number(line), isId ? QStringLiteral(", id") : QString(), linkText);
}

QList<TAnchor> readAnchors(QStringView t) {
    QList<TAnchor> anchors;
    TLineCounter lines(t);
    TEndTagFinder endTags(t);
    const qsizetype n = t.size();
    qsizetype at = 0;
    while (true) {
        at = t.indexOf(u'<', at);
        if (at < 0 || at + 1 >= n)
            break;
        const QChar next = t[at + 1];
        if (next == u'!') {
            if (t.sliced(at).startsWith(u"<!--")) {
                const qsizetype end = t.indexOf(u"-->", at + 4);
                at = end < 0 ? n : end + 3;
            } else {
                const qsizetype end = t.indexOf(u'>', at + 2);
                at = end < 0 ? n : end + 1;
            }
            continue;
        }
        if (next == u'/' || next == u'?') {
            const qsizetype end = t.indexOf(u'>', at + 2);
            at = end < 0 ? n : end + 1;
            continue;
        }
        if (!isAsciiLetter(next)) {
            ++at;
            continue;
        }
        const TStartTag tag = scanStartTag(t, at + 1);
        const QStringView tagName = t.sliced(tag.nameStart, tag.nameEnd - tag.nameStart);
        const bool isA = sameName(tagName, QLatin1StringView("a"));
        const TAttr* nameAttr = nullptr;
        const TAttr* idAttr = nullptr;
        for (const TAttr& a : tag.attrs) {
            const QStringView an = t.sliced(a.nameStart, a.nameEnd - a.nameStart);
            if (isA && !nameAttr && sameName(an, QLatin1StringView("name")))
                nameAttr = &a;
            else if (!idAttr && sameName(an, QLatin1StringView("id")))
                idAttr = &a;
        }
        QString linkText;
        bool linkTextRead = false;
        QString nameValue;
        for (const TAttr& a : tag.attrs) {
            if (&a != nameAttr && &a != idAttr)
                continue;
            if (a.valueStart < 0)
                continue;
            const QStringView raw = t.sliced(a.valueStart, a.valueEnd - a.valueStart);
            const QString value = raw.trimmed().toString();
            if (value.isEmpty())
                continue;
            const bool isId = &a == idAttr;
            if (isId && nameAttr && nameValue.isNull()) {
                // The name comes later in the tag: an id equal to it adds nothing.
                const TAttr& na = *nameAttr;
                if (na.valueStart >= 0 &&
                    t.sliced(na.valueStart, na.valueEnd - na.valueStart).trimmed() == value)
                    continue;
            }
            if (isId && value == nameValue)
                continue;
            if (!isId)
                nameValue = value;
            if (!linkTextRead) {
                linkTextRead = true;
                if (tag.gt >= 0 && !tag.selfClosing) {
                    const qsizetype from = tag.gt + 1;
                    const qsizetype limit = qMin(n, from + kAnchorLinkSource);
                    const qsizetype close = endTags.find(from, limit, tagName);
                    if (close >= 0)
                        linkText = cleanLinkText(t.sliced(from, close - from));
                }
            }
            qsizetype first = a.valueStart;
            while (first < a.valueEnd && t[first].isSpace())
                ++first;
            TAnchor anchor;
            anchor.name = value;
            anchor.isId = isId;
            anchor.linkText = linkText;
            anchor.pos.BBegin = lines.coordOf(first);
            anchor.line = anchor.pos.BBegin.Line;
            const qsizetype end = tag.gt >= 0 ? qMax(a.valueEnd, tag.gt - 1) : a.valueEnd;
            anchor.pos.BEnd = lines.coordOf(end);
            anchor.pos.FSpaces = 0;
            anchors.append(std::move(anchor));
        }
        at = tag.end;
        if (tag.gt >= 0 && !tag.selfClosing &&
            (sameName(tagName, QLatin1StringView("script")) ||
             sameName(tagName, QLatin1StringView("style"))))
            at = skipRawText(t, at, tagName);
    }
    return anchors;
}

TResult<QList<TAnchor>> readAnchorsFromFile(const QString& fileName) {
    TSearchFile file;
    switch (file.read(QFile::encodeName(fileName), false)) {
    case TSearchFile::Text:
        return readAnchors(QString::fromUtf8(file.text()));
    case TSearchFile::NotText:
        return QList<TAnchor>();
    case TSearchFile::Missing:
        return TResult<QList<TAnchor>>::failure(fmt(T_("File not found: %s"), {fileName}));
    case TSearchFile::Failed:
        break;
    }
    return TResult<QList<TAnchor>>::failure(
        fmt(T_("Cannot read the file \"%s\":\r\n%s"), {fileName, file.error}));
}

QString anchorNameOfEntry(const QString& entry) {
    // An entry's name ends where its line number begins; a name typed by hand ends at "(".
    static const QRegularExpression marked(QStringLiteral("\\| \\(\\d+(?:, id)?\\): "));
    static const QRegularExpression plain(QStringLiteral(" \\(\\d+(?:, id)?\\): "));
    if (entry.startsWith(u'|')) {
        const QRegularExpressionMatch m = marked.match(entry, 1);
        if (m.hasMatch())
            return entry.mid(1, m.capturedStart() - 1).trimmed();
    } else {
        const QRegularExpressionMatch m = plain.match(entry);
        if (m.hasMatch())
            return entry.left(m.capturedStart()).trimmed();
    }
    QString name = entry;
    name.remove(u'|');
    const qsizetype paren = name.indexOf(u'(');
    return (paren < 0 ? name : name.left(paren)).trimmed();
}

} // namespace orvel
