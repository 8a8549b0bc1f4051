#pragma once
// The routines every insertion command shares: text at the caret, tags around the selection,
// template lines, style lines and attribute numbers. Each call is one undoable step made of
// blanks, never tabs; line breaks follow the document's style.

#include "base/core/FileTypes.h"
#include "editor/core/TagText.h"
#include "textcontrol/core/TextTypes.h"

#include <QString>
#include <QStringList>

namespace orvel {

class IElementDialogs;
class TEditorControl;

struct TTagMark {
    TTagType TagType = ttNone;
    TBufferCoord TagStart; // the tag's "<"
    TBufferCoord TagEnd;   // just after its ">"
};

class TTagEngine {
public:
    TTagEngine(TEditorControl& editor, TFileTypes fileType, IElementDialogs& dialogs);

    // Replaces the selection (or inserts at the caret), then moves the caret by the offset
    // along its line.
    void InsertText(const QString& text, int caretOffset = 0);
    // "%indent%" and "%tab%" (either case) as spaces.
    QString ExpandPlaceholders(const QString& text) const;
    // Each line expanded and followed by a line break; the caret then goes to the line of the
    // caret before plus caretLineOffset, at caretColumn.
    void InsertTemplateLines(const QStringList& lines, int caretColumn, int caretLineOffset);
    void WrapSelection(const QString& openTag, const QString& closeTag, bool inlineForm);
    // InsertText; in a style sheet then a line break.
    void InsertStyleLine(const QString& text);
    // Asks for a number and inserts the format with it; false when cancelled.
    bool InsertNumberValue(const QString& label, const QString& format, bool units,
                           const QString& defaultValue);
    // A line break by the editor's own command (with its indentation).
    void LineBreak();

    // The link or image tag around the caret (HTML only); looks back a bounded distance.
    TTagMark FindTagAtCaret() const;

    TFileTypes fileType() const { return m_type; }
    TEditorControl& editor() { return m_ed; }
    IElementDialogs& dialogs() { return m_dialogs; }
    QString eol() const;

private:
    QString withDocumentBreaks(const QString& text) const;

    TEditorControl& m_ed;
    TFileTypes m_type;
    IElementDialogs& m_dialogs;
};

// Fills the first "%s" of a format (the element formats hold one or two).
QString fillFormat(const QString& format, const QStringList& values);

} // namespace orvel
