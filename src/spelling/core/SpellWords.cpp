#include "spelling/core/SpellWords.h"

namespace orvel {

namespace {

enum TUnitKind {
    ukBreak,      // ends a word
    ukLetter,     // a letter of any script
    ukMark,       // a combining mark: belongs to the letter before it
    ukDigit,      // a digit the dictionary counts as a word character
    ukExtra,      // another word character of the dictionary ("-", ".")
    ukApostrophe, // joins when a letter follows
    ukJoin,       // soft hyphen, zero-width joiners: inside a word, dropped from it
    ukUnknown,    // an entity whose character is unknown
};

bool isApostrophe(char32_t c) {
    return c == u'\'' || c == 0x2019;
}

TUnitKind kindOf(char32_t c, const QString& wordChars) {
    if (c < 128) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            return ukLetter;
    } else if (QChar::isLetter(c)) {
        return ukLetter;
    } else if (QChar::isMark(c)) {
        return ukMark;
    }
    if (isApostrophe(c))
        return ukApostrophe;
    if (c == 0xAD || c == 0x200C || c == 0x200D)
        return ukJoin;
    if (c <= 0xFFFF && wordChars.contains(QChar(char16_t(c))))
        return QChar::isDigit(c) ? ukDigit : ukExtra;
    return ukBreak;
}

bool isUrlStop(QChar c) {
    switch (c.unicode()) {
    case '<':
    case '>':
    case '"':
    case '\'':
    case '(':
    case ')':
    case '[':
    case ']':
    case '{':
    case '}':
    case '|':
    case '`':
        return true;
    default:
        return c.isSpace();
    }
}

// Spans of web addresses, mail addresses and paths: their pieces are no words.
QList<std::pair<int, int>> addressSpans(QStringView line) {
    QList<std::pair<int, int>> spans;
    // Most lines hold no address: one glance decides.
    bool candidate = false;
    for (qsizetype k = 0; k < line.size() && !candidate; ++k) {
        switch (line[k].unicode()) {
        case '@':
            candidate = true;
            break;
        case ':':
            candidate = line.sliced(k).startsWith(u"://");
            break;
        case 'w':
        case 'W':
            candidate = k + 3 < line.size() && (line[k + 1] == u'w' || line[k + 1] == u'W') &&
                        (line[k + 2] == u'w' || line[k + 2] == u'W') && line[k + 3] == u'.';
            break;
        case '/':
            candidate =
                k == 0 || line[k - 1] == u' ' || line[k - 1] == u'\t' || line[k - 1] == u'>';
            break;
        default:
            break;
        }
    }
    if (!candidate)
        return spans;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && isUrlStop(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !isUrlStop(line[i]))
            ++i;
        const QStringView chunk = line.mid(start, i - start);
        if (chunk.size() < 4)
            continue;
        bool address = chunk.contains(u"://") || chunk.startsWith(u"www.", Qt::CaseInsensitive) ||
                       (chunk.startsWith(u'/') && chunk.indexOf(u'/', 1) > 0);
        const qsizetype at = chunk.indexOf(u'@');
        if (!address && at > 0 && at + 1 < chunk.size())
            address = chunk[at - 1].isLetterOrNumber() && chunk[at + 1].isLetterOrNumber();
        if (address)
            spans.append({int(start), int(i)});
    }
    return spans;
}

// A word being read. Its text is the line's own as long as nothing in it needs reading
// (entities, soft hyphens); only then is it built piece by piece.
struct TWordBuilder {
    int start = -1;
    int lastCore = -1;        // end of the last letter, mark or digit
    int extraEnd = -1;        // end of the last word character of any kind
    int pendingEnd = -1;      // end of a pending apostrophe or joiner
    char32_t pendingChar = 0; // the apostrophe it stands for; 0 for a joiner
    bool pendingRead = false; // it came from an entity or is dropped: no copy of the line
    bool built = false;       // text holds the word so far (up to extraEnd)
    QString text;
    bool hasLetter = false;
    bool hasText = false; // holds checked text, not only entities
    bool unknown = false;
    bool entities = false;

    bool active() const { return start >= 0; }
    void reset() { *this = TWordBuilder(); }
    void build(QStringView line) {
        if (!built) {
            text = line.sliced(start, extraEnd - start).toString();
            built = true;
        }
    }
    // Takes in the unit line[from, to); `read` when it is not the line's text but c.
    void take(QStringView line, qsizetype from, qsizetype to, bool read, char32_t c) {
        if (pendingEnd >= 0) {
            if (pendingRead)
                build(line);
            if (built) {
                if (pendingChar)
                    text += QString::fromUcs4(&pendingChar, 1);
            }
            pendingEnd = -1;
        }
        if (read) {
            build(line);
            if (c)
                text += QString::fromUcs4(&c, 1);
        } else if (built) {
            text += line.sliced(from, to - from);
        }
    }
    QString word(QStringView line) const {
        return built ? text : line.sliced(start, extraEnd - start).toString();
    }
};

char16_t unitOf(char c) {
    return char16_t(static_cast<unsigned char>(c));
}
char16_t unitOf(QChar c) {
    return c.unicode();
}

// "style" at text[i] in any case, followed by what ends a tag name.
template <class Text> bool styleNameAt(const Text& text, qsizetype i) {
    static const char16_t name[] = u"style";
    for (int k = 0; k < 5; ++k) {
        if (i + k >= text.size())
            return false;
        const char16_t c = unitOf(text[i + k]);
        if (c != name[k] && c != name[k] - 32)
            return false;
    }
    if (i + 5 >= text.size())
        return true;
    const char16_t after = unitOf(text[i + 5]);
    return after == u'>' || after == u'/' || after == u' ' || after == u'\t' || after == u'\n' ||
           after == u'\r';
}

} // namespace

qsizetype lastStyleTag(QByteArrayView text, qsizetype before, bool* opening) {
    for (qsizetype i = qMin(before, text.size()) - 1; i >= 0; --i) {
        if (text[i] != '<')
            continue;
        const bool closing = i + 1 < text.size() && text[i + 1] == '/';
        if (styleNameAt(text, i + (closing ? 2 : 1))) {
            *opening = !closing;
            return i;
        }
    }
    return -1;
}

qsizetype nextStyleTag(QStringView line, qsizetype from, bool* opening) {
    for (qsizetype i = qMax<qsizetype>(0, from); i < line.size(); ++i) {
        if (line[i] != u'<')
            continue;
        const bool closing = i + 1 < line.size() && line[i + 1] == u'/';
        if (styleNameAt(line, i + (closing ? 2 : 1))) {
            *opening = !closing;
            return i;
        }
    }
    return -1;
}

QString TSpellWord::dictWord() const {
    QString w = word;
    while (!w.isEmpty() && !w.back().isLetterOrNumber() && !w.back().isMark())
        w.chop(1);
    return w;
}

int parseEntity(QStringView text, qsizetype pos, const TWordSplitOptions& options,
                char32_t* value) {
    *value = 0;
    if (pos >= text.size() || text[pos] != u'&')
        return 0;
    qsizetype i = pos + 1;
    if (i < text.size() && text[i] == u'#') {
        ++i;
        const bool hex = i < text.size() && (text[i] == u'x' || text[i] == u'X');
        if (hex)
            ++i;
        const qsizetype digits = i;
        char32_t v = 0;
        for (; i < text.size() && i - digits < 8; ++i) {
            const char16_t c = text[i].unicode();
            int d = -1;
            if (c >= u'0' && c <= u'9')
                d = c - u'0';
            else if (hex && c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
            else if (hex && c >= u'A' && c <= u'F')
                d = c - u'A' + 10;
            if (d < 0)
                break;
            v = v * (hex ? 16 : 10) + char32_t(d);
        }
        if (i == digits || i >= text.size() || text[i] != u';')
            return 0;
        // Code points that are none stay unknown.
        if (v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF))
            *value = v;
        return int(i + 1 - pos);
    }
    const qsizetype nameStart = i;
    while (i < text.size() && i - nameStart < 32 &&
           ((text[i] >= u'a' && text[i] <= u'z') || (text[i] >= u'A' && text[i] <= u'Z') ||
            (i > nameStart && text[i] >= u'0' && text[i] <= u'9')))
        ++i;
    if (i == nameStart || i >= text.size() || text[i] != u';')
        return 0;
    if (options.entityValue)
        *value = options.entityValue(text.mid(nameStart, i - nameStart));
    return int(i + 1 - pos);
}

QList<TSpellWord> splitSpellWords(QStringView line, QByteArrayView mask,
                                  const TWordSplitOptions& options) {
    QList<TSpellWord> words;
    const QList<std::pair<int, int>> addresses = addressSpans(line);
    qsizetype nextAddress = 0;
    TWordBuilder w;

    const auto finish = [&] {
        if (w.active() && w.hasLetter && w.hasText && !w.unknown) {
            // Trailing dashes and dots stay in the word the engine sees (it knows "z.B.")
            // but not under the line.
            words.append({w.start, w.lastCore - w.start, w.word(line), w.entities});
        }
        w.reset();
    };

    qsizetype i = 0;
    while (i < line.size()) {
        if (nextAddress < addresses.size() && i >= addresses[nextAddress].first) {
            finish();
            i = qMax(i, qsizetype(addresses[nextAddress++].second));
            continue;
        }
        char32_t c = line[i].unicode();
        int len = 1;
        bool entity = false;
        if (options.entities && c == u'&') {
            char32_t v = 0;
            if (const int n = parseEntity(line, i, options, &v)) {
                c = v;
                len = n;
                entity = true;
            }
        } else if (line[i].isHighSurrogate() && i + 1 < line.size() &&
                   line[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(line[i], line[i + 1]);
            len = 2;
        }
        const bool text = mask.isEmpty() || (i < mask.size() && mask[i] != 0);
        TUnitKind kind = ukBreak;
        if (entity)
            kind = c ? kindOf(c, options.wordChars) : ukUnknown;
        else if (text)
            kind = kindOf(c, options.wordChars);
        const int end = int(i + len);

        switch (kind) {
        case ukLetter:
        case ukDigit:
        case ukUnknown:
            if (!w.active())
                w.start = w.extraEnd = int(i); // letters and digits begin words ("3rd")
            w.take(line, i, end, entity, c);
            w.unknown = w.unknown || kind == ukUnknown;
            w.hasLetter = w.hasLetter || kind != ukDigit;
            w.lastCore = w.extraEnd = end;
            break;
        case ukMark:
        case ukExtra:
            if (!w.active() || w.pendingEnd >= 0) {
                finish();
                break;
            }
            w.take(line, i, end, entity, c);
            w.extraEnd = end;
            if (kind == ukMark)
                w.lastCore = end;
            break;
        case ukApostrophe:
        case ukJoin:
            // Only between letters: a pending piece that the next letter takes in.
            if (!w.active() || w.pendingEnd >= 0 || w.extraEnd != w.lastCore) {
                finish();
                break;
            }
            w.pendingEnd = end;
            w.pendingChar = kind == ukApostrophe ? c : 0;
            w.pendingRead = entity || kind == ukJoin;
            break;
        case ukBreak:
            finish();
            break;
        }
        if (w.active()) {
            if (entity)
                w.entities = true;
            else if (text && kind != ukBreak)
                w.hasText = true;
        }
        i = end;
    }
    finish();
    return words;
}

} // namespace orvel
