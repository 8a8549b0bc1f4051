#include "editor/core/TagText.h"

#include <QString>

namespace orvel {

namespace {

// Units the character at i takes: a surrogate pair is one character.
qsizetype unitsAt(QStringView text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

// The first n characters of the text.
QString firstCharacters(QStringView text, int n) {
    qsizetype end = 0;
    for (; n > 0 && end < text.size(); --n)
        end += unitsAt(text, end);
    return text.first(end).toString();
}

qsizetype characterCount(QStringView text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); i += unitsAt(text, i))
        ++n;
    return n;
}

} // namespace

TTagStart findTagStart(QStringView before, QStringView after) {
    TTagStart tag;
    const qsizetype lt = before.lastIndexOf(u'<');
    const qsizetype gt = before.lastIndexOf(u'>');
    if (lt < 0 || gt > lt)
        return tag;
    const QStringView fromTag = before.sliced(lt);
    const QString head = firstCharacters(fromTag.toString().append(after), 4).toLower();
    // Any attribute may come before the address: "<a class=x href=y>" is a link too.
    if (head.size() == 4 && head.startsWith(QLatin1String("<a")) &&
        (head[2] == u' ' || head[2] == u'\t' || head[2] == u'\r' || head[2] == u'\n'))
        tag.type = ttHRef;
    else if (head == QLatin1String("<img"))
        tag.type = ttImg;
    else
        return tag;
    tag.characters = characterCount(fromTag);
    return tag;
}

} // namespace orvel
