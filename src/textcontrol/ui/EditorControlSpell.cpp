// What spell checking needs of the editor component: lines with their highlighter
// attributes, the wavy marks under misspelt words, and news of changes to the view.

#include "textcontrol/core/Utf8Columns.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <Qsci/qsciscintilla.h>

namespace orvel {

namespace {
using B = QsciScintillaBase;
constexpr int kSpellIndicator = B::INDIC_CONTAINER + 11;

// The attribute of each lexer style, by highlighter kind: which styles an attribute covers
// is fixed for a kind, and a whole-document pass asks tens of thousands of times.
const QString& attributeOfStyle(const THighlighter& h, int style) {
    struct Names {
        bool known[256] = {};
        QString name[256];
    };
    static Names byKind[hkPerl + 1];
    Names& names = byKind[h.kind()];
    const int s = style & 0xFF;
    if (!names.known[s]) {
        names.name[s] = h.attributeOfStyle(s);
        names.known[s] = true;
    }
    return names.name[s];
}
} // namespace

QString TEditorControl::lineAttributes(int index, QList<TAttrRun>& runs) const {
    runs.clear();
    if (index < 0 || index >= lineCount())
        return QString();
    const long start = send(B::SCI_POSITIONFROMLINE, index);
    const long end = send(B::SCI_GETLINEENDPOSITION, index);
    const auto* bytes =
        reinterpret_cast<const char*>(send(B::SCI_GETRANGEPOINTER, start, end - start));
    const QByteArrayView line(bytes, end - start);
    const QString text = QString::fromUtf8(line);
    if (!m_highlighter || !m_highlightOn || line.isEmpty())
        return text;

    // A token is known only once the lexer has seen its end: colour the whole line, from
    // where the colours are sure (text shown earlier may be coloured from a guessed start,
    // text not yet shown not at all).
    styleSurelyTo(end + 1);
    QByteArray styled(2 * line.size() + 2, '\0');
    m_sci->SendScintilla(B::SCI_GETSTYLEDTEXT, start, end, styled.data());

    int unit = 0;
    int lastStyle = -1;
    for (qsizetype b = 0; b < line.size();) {
        const int style = static_cast<unsigned char>(styled[2 * b + 1]);
        if (style != lastStyle) {
            const QString& name = attributeOfStyle(*m_highlighter, style);
            if (!runs.isEmpty() && runs.last().attribute == name) {
                lastStyle = style;
            } else {
                if (!runs.isEmpty())
                    runs.last().length = unit - runs.last().start;
                runs.append({unit, 0, name});
                lastStyle = style;
            }
        }
        const qsizetype n = utf8SequenceLength(line, b);
        unit += n == 4 ? 2 : 1;
        b += n;
    }
    runs.last().length = unit - runs.last().start;
    return text;
}

qsizetype TEditorControl::lineStartByte(int index) const {
    return send(B::SCI_POSITIONFROMLINE, qBound(0, index, lineCount() - 1));
}

TBufferCoord TEditorControl::byteToRowCol(qsizetype offset) const {
    return coordOf(long(qBound(qsizetype(0), offset, qsizetype(send(B::SCI_GETLENGTH)))));
}

void TEditorControl::setSpellMarkColor(const QColor& color) {
    send(B::SCI_INDICSETSTYLE, kSpellIndicator, B::INDIC_SQUIGGLEPIXMAP);
    m_sci->SendScintilla(B::SCI_INDICSETFORE, kSpellIndicator, color);
}

void TEditorControl::setSpellMarks(int index, const QList<TLineRange>& ranges) {
    if (index < 0 || index >= lineCount())
        return;
    const long start = send(B::SCI_POSITIONFROMLINE, index);
    const long end = send(B::SCI_GETLINEENDPOSITION, index);
    send(B::SCI_SETINDICATORCURRENT, kSpellIndicator);
    send(B::SCI_INDICATORCLEARRANGE, start, end - start);
    if (ranges.isEmpty())
        return;
    const QByteArray line = lineBytes(index);
    send(B::SCI_SETINDICATORVALUE, 1);
    for (const TLineRange& r : ranges) {
        const qsizetype a = utf16ToByteOffset(line, r.start);
        const qsizetype b = utf16ToByteOffset(line, r.start + r.length);
        if (b > a)
            send(B::SCI_INDICATORFILLRANGE, start + long(a), long(b - a));
    }
}

QList<TLineRange> TEditorControl::spellMarks(int index) const {
    QList<TLineRange> out;
    if (index < 0 || index >= lineCount())
        return out;
    const long start = send(B::SCI_POSITIONFROMLINE, index);
    const long end = send(B::SCI_GETLINEENDPOSITION, index);
    const QByteArray line = lineBytes(index);
    for (long p = start; p < end;) {
        const long next = qMin(end, long(send(B::SCI_INDICATOREND, kSpellIndicator, p)));
        if (send(B::SCI_INDICATORVALUEAT, kSpellIndicator, p) != 0) {
            const int a = int(byteToUtf16Offset(line, p - start));
            out.append({a, int(byteToUtf16Offset(line, next - start)) - a});
        }
        if (next <= p)
            break;
        p = next;
    }
    return out;
}

void TEditorControl::clearSpellMarks() {
    send(B::SCI_SETINDICATORCURRENT, kSpellIndicator);
    send(B::SCI_INDICATORCLEARRANGE, 0, send(B::SCI_GETLENGTH));
}

QMetaObject::Connection TEditorControl::onViewUpdated(QObject* context,
                                                      std::function<void(int)> handler) {
    return connect(m_sci, &QsciScintillaBase::SCN_UPDATEUI, context,
                   [handler = std::move(handler)](int updated) {
                       int what = 0;
                       if (updated & B::SC_UPDATE_CONTENT)
                           what |= vuContent;
                       if (updated & (B::SC_UPDATE_V_SCROLL | B::SC_UPDATE_H_SCROLL))
                           what |= vuScroll;
                       if (what)
                           handler(what);
                   });
}

} // namespace orvel
