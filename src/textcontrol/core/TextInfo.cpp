#include "textcontrol/core/TextInfo.h"

namespace orvel {

namespace {
// Characters shown before and after a mark.
constexpr int kShownBefore = 60;
constexpr int kShownAfter = 120;
} // namespace

QString TTextLine::shown(int* shownMark) const {
    if (markStart < 0) {
        if (shownMark)
            *shownMark = -1;
        return text;
    }
    int from = qMax(0, markStart - kShownBefore);
    if (from > 0 && text.at(from).isLowSurrogate())
        --from;
    int to = int(qMin(text.size(), qsizetype(markStart) + markLength + kShownAfter));
    if (to < text.size() && to > 0 && text.at(to).isLowSurrogate())
        ++to;
    QString out = QString::number(pos.BBegin.Line) + QStringLiteral(": ");
    if (from > 0)
        out += QChar(0x2026);
    if (shownMark)
        *shownMark = int(out.size()) + markStart - from;
    out += QStringView(text).sliced(from, to - from);
    if (to < text.size())
        out += QChar(0x2026);
    return out;
}

QString TTextLine::markedText() const {
    int mark = -1;
    QString s = shown(&mark);
    if (mark < 0)
        return s;
    s.insert(mark + markLength, u'|');
    s.insert(mark, u'|');
    return s;
}

} // namespace orvel
