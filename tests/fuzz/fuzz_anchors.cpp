// The anchor reader over any text: every anchor names a stretch of the text that holds its
// name, in document order, with a bounded link text of one line.

#include "search/core/AnchorReader.h"

#include "Fuzz.h"

#include <QList>
#include <QString>

using namespace orvel;

namespace {

// Offsets of the lines' starts, with line breaks as the reader counts them.
QList<qsizetype> lineStarts(const QString& text) {
    QList<qsizetype> starts{0};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
            starts << i + 1;
    }
    return starts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<TAnchor> anchors = readAnchors(text);
    const QList<qsizetype> starts = lineStarts(text);
    TBufferCoord last{0, 0};
    for (const TAnchor& a : anchors) {
        FUZZ_CHECK(!a.name.isEmpty() && a.name == a.name.trimmed());
        FUZZ_CHECK(a.line == a.pos.BBegin.Line && a.line >= 1 && a.line <= starts.size());
        FUZZ_CHECK(!(a.pos.BEnd < a.pos.BBegin) && !(a.pos.BBegin < last));
        last = a.pos.BBegin;
        const qsizetype at = starts[a.line - 1] + a.pos.BBegin.Char - 1;
        FUZZ_CHECK(QStringView(text).sliced(at).startsWith(a.name));
        FUZZ_CHECK(a.linkText.size() <= kMaxAnchorLinkText && a.linkText == a.linkText.trimmed());
        FUZZ_CHECK(!a.linkText.contains(u'\n') && !a.linkText.contains(u'\r') &&
                   !a.linkText.contains(QChar(0xA0)));
        if (!a.name.contains(u"| ("))
            FUZZ_CHECK(anchorNameOfEntry(a.entry()) == a.name);
    }
    return 0;
}
