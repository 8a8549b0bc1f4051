// The document window's character commands: the entity dialog and the conversions between
// characters and entities, each one undoable step.

#include "base/core/Dialogs.h"
#include "base/core/TextCodec.h"
#include "base/core/Translate.h"
#include "editor/core/HtmlChars.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/HtmlCharDlg.h"
#include "editor/ui/OrvelMDI.h"
#include "editor/ui/TagEngine.h"
#include "textcontrol/ui/EditorControl.h"

#include <QCursor>
#include <algorithm>

namespace orvel {

void TMDIForm::insertCharEntity() {
    THtmlCharDialog dialog(m_context.charTable(), m_context.dialogs(), this);
    QString name;
    if (runCharDialog && runCharDialog(dialog, QCursor::pos(), name) && !name.isEmpty())
        m_engine->InsertText(name);
}

void TMDIForm::convertWholeText(bool toEntities) {
    if (m_editor->readOnly())
        return;
    const TBufferCoord caret = m_editor->caretXY();
    if (const THtmlCharTable* table = m_context.charTable()) {
        const auto convert = [table, toEntities](const QString& text) {
            return toEntities ? table->CharsToEntities(text) : table->EntitiesToChars(text);
        };
        if (codec::isValidUtf8(m_editor->textBytes())) {
            const QString old = QString::fromUtf8(m_editor->textBytes());
            const QString now = convert(old);
            // One replace of the whole text: one undoable step, however many entities changed.
            if (now != old)
                m_editor->setText(now);
        } else {
            convertLines(convert);
        }
    }
    m_editor->setModified(true);
    m_editor->setCaretXY({1, caret.Line});
}

void TMDIForm::convertLines(const std::function<QString(const QString&)>& convert) {
    // Bytes that are no UTF-8 (lone surrogates kept from a UTF-16 file) would not survive a
    // round trip through QString: only well-formed lines are converted, the rest stay.
    const QByteArray all = m_editor->textBytes().toByteArray();
    m_editor->beginUpdate();
    int lineNo = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        const bool end = i == all.size();
        if (!end && all[i] != '\n' && all[i] != '\r')
            continue;
        const QByteArrayView raw(all.constData() + start, i - start);
        if (codec::isValidUtf8(raw)) {
            const QString line = QString::fromUtf8(raw);
            const QString now = convert(line);
            if (now != line)
                m_editor->setLine(lineNo, now);
        }
        if (!end && all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n')
            ++i;
        ++lineNo;
        start = i + 1;
    }
    m_editor->endUpdate();
}

void TMDIForm::ConvertToEntities() {
    convertWholeText(true);
}

void TMDIForm::ConvertToChars() {
    convertWholeText(false);
}

void TMDIForm::ConvertWordToChar() {
    if (m_editor->textBytes().isEmpty())
        return;
    if (!m_editor->hasSelection()) {
        const TBufferCoord caret = m_editor->caretXY();
        const QString line = m_editor->line(caret.Line - 1);
        const int at = std::clamp(caret.Char - 1, 0, int(line.size()));
        int start = at;
        while (start > 0 && line[start - 1] != u'>' &&
               !TEditorControl::isWhiteChar(line[start - 1]))
            --start;
        int end = at;
        while (end < line.size() && line[end] != u'<' && !TEditorControl::isWhiteChar(line[end]))
            ++end;
        if (start == end)
            return;
        m_editor->setSelection({start + 1, caret.Line}, {end + 1, caret.Line});
    }
    const THtmlCharTable* table = m_context.charTable();
    if (!table)
        return;
    const QString selected = m_editor->selText();
    const QString converted = table->EntitiesToChars(selected);
    if (converted != selected)
        m_editor->setSelText(converted);
}

} // namespace orvel
