#include "editor/ui/TagEngine.h"

#include "base/core/Translate.h"
#include "dialogs/core/ElementDialogs.h"
#include "textcontrol/core/EditorCommands.h"
#include "textcontrol/ui/EditorControl.h"

namespace orvel {

namespace {
// How far back the tag under the caret is looked for: a click in a huge one-line file
// stays instant.
constexpr int kTagLookBack = 4096;

// Groups the edits of one routine into one undoable step.
class Step {
public:
    explicit Step(TEditorControl& ed) : m_ed(ed) { m_ed.beginUpdate(); }
    ~Step() { m_ed.endUpdate(); }
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

private:
    TEditorControl& m_ed;
};

QString spaces(int n) {
    return QString(qMax(0, n), u' ');
}
} // namespace

QString fillFormat(const QString& format, const QStringList& values) {
    return fmt(format, values);
}

TTagEngine::TTagEngine(TEditorControl& editor, TFileTypes fileType, IElementDialogs& dialogs)
    : m_ed(editor), m_type(fileType), m_dialogs(dialogs) {
}

QString TTagEngine::eol() const {
    return QString::fromLatin1(lineBreakText(m_ed.lineBreak()));
}

QString TTagEngine::withDocumentBreaks(const QString& text) const {
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    if (m_ed.lineBreak() != lbLF)
        t.replace(QStringLiteral("\n"), eol());
    return t;
}

QString TTagEngine::ExpandPlaceholders(const QString& text) const {
    QString t = text;
    t.replace(QStringLiteral("%indent%"), spaces(m_ed.caretLineIndent()), Qt::CaseInsensitive);
    t.replace(QStringLiteral("%tab%"), spaces(m_ed.tabWidth()), Qt::CaseInsensitive);
    return t;
}

void TTagEngine::InsertText(const QString& text, int caretOffset) {
    Step step(m_ed);
    m_ed.setSelText(withDocumentBreaks(text));
    if (caretOffset != 0) {
        const TBufferCoord c = m_ed.caretXY();
        m_ed.setCaretXY({qMax(1, c.Char + caretOffset), c.Line});
    }
}

void TTagEngine::LineBreak() {
    m_ed.executeCommand(ecLineBreak);
}

void TTagEngine::InsertStyleLine(const QString& text) {
    Step step(m_ed);
    InsertText(text, 0);
    if (m_type == ftCss)
        LineBreak();
}

void TTagEngine::InsertTemplateLines(const QStringList& lines, int caretColumn,
                                     int caretLineOffset) {
    Step step(m_ed);
    const int line = m_ed.blockBegin().Line;
    QString all;
    for (const QString& l : lines)
        all += ExpandPlaceholders(l) + eol();
    m_ed.setSelText(all);
    m_ed.setCaretXY({qMax(1, caretColumn), line + caretLineOffset});
}

void TTagEngine::WrapSelection(const QString& openTag, const QString& closeTag, bool inlineForm) {
    QString open = openTag;
    QString close = closeTag;
    // In a style sheet an element becomes a rule for it.
    if (m_type == ftCss && open.startsWith(u'<') && !open.startsWith(QLatin1String("<!")) &&
        open.contains(u'>')) {
        const qsizetype gt = open.indexOf(u'>');
        const qsizetype space = open.indexOf(u' ');
        const bool attributes = space > 0 && space < gt;
        const QString name = open.mid(1, (attributes ? space : gt) - 1);
        open = name + (attributes ? QStringLiteral(":? {") : QStringLiteral(" {"));
        close = spaces(m_ed.tabWidth()) + u'}';
        inlineForm = false;
    }
    Step step(m_ed);
    const bool selected = m_ed.hasSelection();
    const QString text = m_ed.selText();

    if (inlineForm) {
        if (selected) {
            m_ed.setSelText(open);
            const TBufferCoord start = m_ed.caretXY();
            m_ed.setSelText(close);
            m_ed.setCaretXY(start);
            m_ed.setSelText(text);
            m_ed.setSelection(start, m_ed.caretXY());
        } else {
            m_ed.setSelText(open + close);
            const TBufferCoord c = m_ed.caretXY();
            m_ed.setCaretXY({c.Char - int(close.size()), c.Line});
        }
        return;
    }

    const TBufferCoord begin = m_ed.blockBegin();
    int d = begin.Char - 1;
    if (d > 1) {
        const QString line = m_ed.line(begin.Line - 1);
        const QString before = line.left(d - 1);
        bool blank = true;
        for (QChar ch : before)
            blank = blank && (ch == u' ' || ch == u'\t');
        if (!blank) {
            if (selected) {
                // Wrapped where it stands, indented like its line.
                d = 0;
                while (d < line.size() && (line.at(d) == u' ' || line.at(d) == u'\t'))
                    ++d;
            } else {
                m_ed.setCaretXY({int(line.size()) + 1, begin.Line});
                m_ed.setSelText(eol());
                d = 0;
            }
        }
    }
    const int tab = m_ed.tabWidth();
    if (selected) {
        m_ed.setSelText(open + eol() + spaces(d));
        const TBufferCoord start = m_ed.caretXY();
        m_ed.setSelText(text);
        const TBufferCoord end = m_ed.caretXY();
        m_ed.setSelText(eol() + spaces(d) + close);
        m_ed.setSelection(start, end);
    } else {
        m_ed.setSelText(open + eol() + spaces(d + tab) + eol() + spaces(d) + close);
        const TBufferCoord c = m_ed.caretXY();
        m_ed.setCaretXY({d + tab + 1, c.Line - 1});
    }
}

bool TTagEngine::InsertNumberValue(const QString& label, const QString& format, bool units,
                                   const QString& defaultValue) {
    QString value = defaultValue;
    if (!m_dialogs.htmlNumber(label, units, value))
        return false;
    Step step(m_ed);
    InsertText(fillFormat(format, {value}), value.isEmpty() ? -1 : 0);
    if (m_type == ftCss)
        LineBreak();
    return true;
}

TTagMark TTagEngine::FindTagAtCaret() const {
    TTagMark mark;
    if (m_type != ftHtml || m_ed.lineCount() == 0)
        return mark;
    const TBufferCoord caret = m_ed.caretXY();
    const QString before = m_ed.textRange(m_ed.movedBy(caret, -kTagLookBack), caret);
    const QString after = m_ed.textRange(caret, m_ed.movedBy(caret, 3));
    const TTagStart tag = findTagStart(before, after);
    if (tag.type == ttNone)
        return mark;
    const TBufferCoord start = m_ed.movedBy(caret, -int(tag.characters));
    mark.TagType = tag.type;
    mark.TagStart = start;
    const TBufferCoord match = m_ed.matchingBracketPos(start);
    mark.TagEnd = match.Char == 0 ? start : m_ed.movedBy(match, 1);
    return mark;
}

} // namespace orvel
