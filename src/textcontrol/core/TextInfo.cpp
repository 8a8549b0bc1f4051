#include "textcontrol/core/TextInfo.h"

namespace orvel {

namespace {
// Characters shown before and after a mark.
constexpr int kShownBefore = 60;
constexpr int kShownAfter = 120;
} // namespace

QString TTextLine::text(QByteArrayView source) const {
    QString out;
    if (cutBefore)
        out += QChar(0x2026);
    out += QString::fromUtf8(source.sliced(from, length));
    if (cutAfter)
        out += QChar(0x2026);
    return out;
}

QString TTextLine::shown(QByteArrayView source, int* shownMark, int* shownLength) const {
    const QByteArrayView excerpt = source.sliced(from, length);
    if (markStart < 0) {
        if (shownMark)
            *shownMark = -1;
        if (shownLength)
            *shownLength = 0;
        return text(source);
    }
    const QString before = QString::fromUtf8(excerpt.first(markStart));
    const QString marked = QString::fromUtf8(excerpt.sliced(markStart, markLength));
    const QString after = QString::fromUtf8(excerpt.sliced(markStart + markLength));
    QString out = QString::number(pos.BBegin.Line) + QStringLiteral(": ");
    qsizetype keep = before.size();
    if (keep > kShownBefore) {
        keep = kShownBefore;
        if (before.at(before.size() - keep).isLowSurrogate())
            ++keep;
    }
    if (cutBefore || keep < before.size())
        out += QChar(0x2026);
    out += QStringView(before).last(keep);
    if (shownMark)
        *shownMark = int(out.size());
    if (shownLength)
        *shownLength = int(marked.size());
    out += marked;
    qsizetype take = qMin<qsizetype>(after.size(), kShownAfter);
    if (take < after.size() && take > 0 && after.at(take).isLowSurrogate())
        ++take;
    out += QStringView(after).first(take);
    if (cutAfter || take < after.size())
        out += QChar(0x2026);
    return out;
}

QString TTextLine::markedText(QByteArrayView source) const {
    int mark = -1;
    int marked = 0;
    QString s = shown(source, &mark, &marked);
    if (mark < 0)
        return s;
    s.insert(mark + marked, u'|');
    s.insert(mark, u'|');
    return s;
}

} // namespace orvel
