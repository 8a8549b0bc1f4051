// The document window's character commands: the entity dialog and the conversions between
// characters and entities, each one undoable step.

#include "base/core/Dialogs.h"
#include "base/core/TextCodec.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/core/HtmlChars.h"
#include "editor/ui/DocumentHost.h"
#include "editor/ui/HtmlCharDlg.h"
#include "editor/ui/OrvelMDI.h"
#include "editor/ui/TagEngine.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <algorithm>

namespace orvel {

namespace {
const TCommandDef kHtmlCode = {"ActionHtmlCode",
                               0,
                               N_("Other"),
                               N_("&Character entities .."),
                               N_("Insert a character entity"),
                               ""};
const TCommandDef kCvToHtml = {"ActionCvToHtml",
                               2024,
                               N_("Actions"),
                               N_("All not &ASCII to HTML entities"),
                               N_("Convert not ASCII characters to HTML entities"),
                               ""};
const TCommandDef kCvToIso = {"ActionCvToIso",
                              2023,
                              N_("Actions"),
                              N_("All &HTML entities  to characters"),
                              N_("Convert &HTML entities  to characters"),
                              ""};
const TCommandDef kWordToIso = {"ActionWordToIso",
                                2029,
                                N_("Actions"),
                                N_("&HTML entity to character"),
                                N_("Convert selected HTML entitiy to character"),
                                ""};
} // namespace

void TMDIForm::createCharCommands(QMenu* menu) {
    QAction* code = m_commands->add(kHtmlCode, [this] { insertCharEntity(); });
    QAction* toHtml = m_commands->add(kCvToHtml, [this] { ConvertToEntities(); });
    QAction* toIso = m_commands->add(kCvToIso, [this] { ConvertToChars(); });
    QAction* wordToIso = m_commands->add(kWordToIso, [this] { ConvertWordToChar(); });
    if (menu) {
        menu->addAction(code);
        menu->addSeparator();
        menu->addActions({toHtml, toIso, wordToIso});
    }
    runCharDialog = [](THtmlCharDialog& dialog, QPoint pos, QString& name) {
        return dialog.Execute(pos, name);
    };
}

void TMDIForm::insertCharEntity() {
    THtmlCharDialog dialog(m_host.charTable(), m_host.dialogs(), this);
    QString name;
    if (runCharDialog && runCharDialog(dialog, QCursor::pos(), name) && !name.isEmpty())
        m_engine->InsertText(name);
}

void TMDIForm::convertWholeText(bool toEntities) {
    if (TextBuffer->readOnly())
        return;
    const TBufferCoord caret = TextBuffer->caretXY();
    if (const THtmlCharTable* table = m_host.charTable()) {
        const auto convert = [table, toEntities](const QString& text) {
            return toEntities ? table->CharsToEntities(text) : table->EntitiesToChars(text);
        };
        if (codec::isValidUtf8(TextBuffer->textBytes())) {
            const QString old = QString::fromUtf8(TextBuffer->textBytes());
            const QString now = convert(old);
            // One replace of the whole text: one undoable step, however many entities changed.
            if (now != old)
                TextBuffer->setText(now);
        } else {
            convertLines(convert);
        }
    }
    TextBuffer->setModified(true);
    TextBuffer->setCaretXY({1, caret.Line});
}

void TMDIForm::convertLines(const std::function<QString(const QString&)>& convert) {
    // Bytes that are no UTF-8 (lone surrogates kept from a UTF-16 file) would not survive a
    // round trip through QString: only well-formed lines are converted, the rest stay.
    const QByteArray all = TextBuffer->textBytes().toByteArray();
    TextBuffer->beginUpdate();
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
                TextBuffer->setLine(lineNo, now);
        }
        if (!end && all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n')
            ++i;
        ++lineNo;
        start = i + 1;
    }
    TextBuffer->endUpdate();
}

void TMDIForm::ConvertToEntities() {
    convertWholeText(true);
}

void TMDIForm::ConvertToChars() {
    convertWholeText(false);
}

void TMDIForm::ConvertWordToChar() {
    if (TextBuffer->textBytes().isEmpty())
        return;
    if (!TextBuffer->hasSelection()) {
        const TBufferCoord caret = TextBuffer->caretXY();
        const QString line = TextBuffer->line(caret.Line - 1);
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
        TextBuffer->setSelection({start + 1, caret.Line}, {end + 1, caret.Line});
    }
    const THtmlCharTable* table = m_host.charTable();
    if (!table)
        return;
    const QString selected = TextBuffer->selText();
    const QString converted = table->EntitiesToChars(selected);
    if (converted != selected)
        TextBuffer->setSelText(converted);
}

} // namespace orvel
