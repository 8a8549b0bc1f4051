#pragma once
// The editor's own commands (numbers below 1001) and key strokes.

#include <QList>
#include <Qt>

namespace orvel {

enum TEditorCommand : int {
    ecLeft = 1,
    ecRight = 2,
    ecUp = 3,
    ecDown = 4,
    ecWordLeft = 5,
    ecWordRight = 6,
    ecLineStart = 7,
    ecLineEnd = 8,
    ecPageUp = 9,
    ecPageDown = 10,
    ecPageTop = 13,
    ecPageBottom = 14,
    ecEditorTop = 15,
    ecEditorBottom = 16,
    ecSelLeft = 101,
    ecSelRight = 102,
    ecSelUp = 103,
    ecSelDown = 104,
    ecSelWordLeft = 105,
    ecSelWordRight = 106,
    ecSelLineStart = 107,
    ecSelLineEnd = 108,
    ecSelPageUp = 109,
    ecSelPageDown = 110,
    ecSelEditorTop = 115,
    ecSelEditorBottom = 116,
    ecSelWord = 198,
    ecSelectAll = 199,
    ecCopy = 201,
    ecScrollUp = 211,
    ecScrollDown = 212,
    ecToggleMode = 223,
    ecNormalSelect = 231,
    ecColumnSelect = 232,
    ecLineSelect = 233,
    ecGotoMarker0 = 301,
    ecSetMarker0 = 351,
    ecContextHelp = 490,
    ecDeleteLastChar = 501,
    ecDeleteChar = 502,
    ecDeleteWord = 503,
    ecDeleteLastWord = 504,
    ecDeleteBOL = 505,
    ecDeleteEOL = 506,
    ecDeleteLine = 507,
    ecClearAll = 508,
    ecLineBreak = 509,
    ecInsertLine = 510,
    ecCut = 603,
    ecPaste = 604,
    ecBlockIndent = 610,
    ecBlockUnindent = 611,
    ecTab = 612,
    ecShiftTab = 613,
    ecUpperCase = 625,
    ecLowerCase = 626,
};

struct TEditorCommandInfo {
    int command;
    const char* description; // translatable
};

// The editor commands in the order the keyboard table lists them.
const QList<TEditorCommandInfo>& editorCommands();
// Translatable description of an editor command, or nullptr.
const char* editorCommandDescription(int command);

// One key stroke: a key (and an optional second key) bound to a command number.
struct TKeyStroke {
    QKeyCombination key;
    QKeyCombination key2; // Qt::Key_unknown when none
    int command = 0;
    bool hasKey() const { return key.key() != Qt::Key_unknown && key.key() != 0; }
    friend bool operator==(const TKeyStroke&, const TKeyStroke&) = default;
};
using TKeyStrokes = QList<TKeyStroke>;

// The default strokes of the editor commands, in the order they are installed.
TKeyStrokes defaultEditorKeyStrokes();

// The command bound to a key, the first stroke found winning; 0 when none.
int commandForKey(const TKeyStrokes& strokes, QKeyCombination key);

} // namespace orvel
