#include "editor/core/SmallInserts.h"

namespace orvel {

namespace {

bool isSizeChar(QChar c) {
    return c == u' ' || c == u',' || c == u'.' || c.isDigit() || c == u'B' || c == u'G' ||
           c == u'K' || c == u'M' || c == u'i' || c == u'k';
}

// The length of a character reference at i ("&amp;", "&#233;", "&#x1F;"), 0 when none.
qsizetype referenceLength(const QString& t, qsizetype i) {
    qsizetype j = i + 1;
    if (j < t.size() && t.at(j) == u'#') {
        ++j;
        const bool hex = j < t.size() && (t.at(j) == u'x' || t.at(j) == u'X');
        if (hex)
            ++j;
        const qsizetype digits = j;
        const auto isDigit = [hex](QChar c) {
            const char16_t u = c.unicode();
            return (u >= u'0' && u <= u'9') ||
                   (hex && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')));
        };
        while (j < t.size() && isDigit(t.at(j)))
            ++j;
        if (j == digits)
            return 0;
    } else {
        const qsizetype name = j;
        while (j < t.size() && t.at(j).unicode() < 128 && t.at(j).isLetterOrNumber())
            ++j;
        if (j == name)
            return 0;
    }
    return j < t.size() && t.at(j) == u';' ? j + 1 - i : 0;
}

} // namespace

std::optional<TColumnRun> sizeRunAtCaret(const QString& line, int caretColumn) {
    const int caret = qBound(0, caretColumn, int(line.size()));
    const qsizetype b = line.indexOf(u'B', qMax(0, caret - 1));
    if (b < 0)
        return std::nullopt;
    int start = int(b);
    while (start > 0 && isSizeChar(line.at(start - 1)))
        --start;
    const int end = int(b) + 1;
    // A size further right, past other text, is not the one at the caret.
    if (end - start < 4 || end - start > 11 || start > caret)
        return std::nullopt;
    while (start < end && line.at(start) == u' ')
        ++start;
    return TColumnRun{start, end};
}

QString jsStringEscape(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\'':
            out += QStringLiteral("\\'");
            break;
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case 0x2028:
            out += QStringLiteral("\\u2028");
            break;
        case 0x2029:
            out += QStringLiteral("\\u2029");
            break;
        case u'/':
            out += i > 0 && text.at(i - 1) == u'<' ? QStringLiteral("\\/") : QStringLiteral("/");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString htmlTextEscape(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else if (c == u'&' && referenceLength(text, i) == 0)
            out += QStringLiteral("&amp;");
        else
            out += c;
    }
    return out;
}

QString htmlAttributeEscape(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        if (c == u'&')
            out += QStringLiteral("&amp;");
        else if (c == u'"')
            out += QStringLiteral("&quot;");
        else if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else
            out += c;
    }
    return out;
}

QString cssUrlEscape(const QString& address) {
    QString out;
    out.reserve(address.size());
    for (QChar c : address) {
        const char16_t u = c.unicode();
        if (u <= 32 || u == 127 || u == u'"' || u == u'\'' || u == u'(' || u == u')' || u == u'\\')
            out += u'%' + QString::number(u, 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

QString jsArgumentText(const QString& clipboard, int rightEdge) {
    // Line breaks: CR becomes a blank, LF too unless it follows a CR.
    QString t;
    t.reserve(clipboard.size());
    for (qsizetype i = 0; i < clipboard.size(); ++i) {
        const QChar c = clipboard.at(i);
        if (c == u'\n')
            t += i > 0 && clipboard.at(i - 1) == u'\r' ? QString() : QStringLiteral(" ");
        else
            t += c == u'\r' ? QChar(u' ') : c;
    }
    const QString quot = QStringLiteral("&quot;");
    t.replace(u'&', QStringLiteral("&amp;"));
    t.replace(u'<', QStringLiteral("&lt;"));
    t.replace(u'>', QStringLiteral("&gt;"));
    t.replace(QStringLiteral("''"), quot);
    t.replace(u'"', quot);
    t.replace(QStringLiteral("``"), quot);
    t.replace(QStringLiteral("\u00B4\u00B4"), quot);
    t.replace(u'\'', QStringLiteral("&lsquo;"));
    t.replace(u'`', QStringLiteral("&lsquo;"));
    t.replace(u'\u00B4', QStringLiteral("&rsquo;"));
    // Inside the string literal a backslash would start an escape.
    t.replace(u'\\', QStringLiteral("\\\\"));

    QString out = QStringLiteral(" ");
    QString line;
    const auto trimmedLength = [&line] {
        qsizetype n = line.size();
        while (n > 0 && line.at(n - 1) == u' ')
            --n;
        return n;
    };
    for (QChar c : t) {
        if (rightEdge > 0 && trimmedLength() >= rightEdge) {
            const qsizetype space = line.lastIndexOf(u' ');
            // A cut at a blank that leaves nothing before it would only add an empty line:
            // the long word then stays whole on its own line.
            const bool cutAtSpace = space > 0 && !QStringView(line).left(space).trimmed().isEmpty();
            if (cutAtSpace) {
                out += line.left(space) + QStringLiteral("\\\r\n");
                line = line.mid(space) + c;
            } else {
                out += line + QStringLiteral("\\\r\n");
                line = c;
            }
            continue;
        }
        if (c == u' ' && line.endsWith(u' '))
            continue;
        line += c;
    }
    return out + line;
}

} // namespace orvel
