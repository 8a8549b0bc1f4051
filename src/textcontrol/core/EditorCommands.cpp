#include "textcontrol/core/EditorCommands.h"

#include "base/core/Translate.h"

namespace orvel {

namespace {
constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kShiftCtrl = Qt::ShiftModifier | Qt::ControlModifier;

QList<TEditorCommandInfo> buildCommands() {
    QList<TEditorCommandInfo> list = {
        {ecLeft, N_("One character left")},
        {ecRight, N_("One character right")},
        {ecUp, N_("One line up")},
        {ecDown, N_("One line down")},
        {ecWordLeft, N_("Word left")},
        {ecWordRight, N_("Word right")},
        {ecLineStart, N_("To line start")},
        {ecLineEnd, N_("To line end")},
        {ecPageUp, N_("One page up")},
        {ecPageDown, N_("One page down")},
        {ecPageTop, N_("Top of page")},
        {ecPageBottom, N_("End of page")},
        {ecEditorTop, N_("Begin of text")},
        {ecEditorBottom, N_("End of text")},
        {ecSelLeft, N_("Select character left")},
        {ecSelRight, N_("Select character right")},
        {ecSelUp, N_("Select line up")},
        {ecSelDown, N_("Select line down")},
        {ecSelPageUp, N_("Select page up")},
        {ecSelPageDown, N_("Select page down")},
        {ecSelWordLeft, N_("Select word left")},
        {ecSelWordRight, N_("Select word right")},
        {ecSelLineStart, N_("Select to line start")},
        {ecSelLineEnd, N_("Select to line end")},
        {ecSelEditorTop, N_("Select to begin of text")},
        {ecSelEditorBottom, N_("Select to end of text")},
        {ecSelWord, N_("Select word")},
        {ecSelectAll, N_("Select all")},
        {ecDeleteLastChar, N_("Delete character left")},
        {ecDeleteChar, N_("Delete character")},
        {ecDeleteWord, N_("Delete word")},
        {ecDeleteLastWord, N_("Delete word left")},
        {ecDeleteLine, N_("Delete line")},
        {ecDeleteBOL, N_("Delete to line start")},
        {ecDeleteEOL, N_("Delete to line end")},
        {ecClearAll, N_("Delete all")},
        {ecLineBreak, N_("Line break")},
        {ecInsertLine, N_("Insert line")},
        {ecScrollUp, N_("Scroll up")},
        {ecScrollDown, N_("Scroll down")},
        {ecCut, N_("Cut")},
        {ecCopy, N_("Copy")},
        {ecPaste, N_("Paste")},
        {ecToggleMode, N_("Insert/Overwrite")},
        {ecBlockIndent, N_("Block indent")},
        {ecBlockUnindent, N_("Block unindent")},
        {ecTab, N_("Tab")},
        {ecShiftTab, N_("Back tab")},
        {ecNormalSelect, N_("Normal mode")},
        {ecColumnSelect, N_("Column mode")},
        {ecLineSelect, N_("Row mode")},
        {ecContextHelp, N_("Help")},
        {ecUpperCase, N_("To upper case")},
        {ecLowerCase, N_("To lower case")},
    };
    static const char* const gotoNames[10] = {
        N_("To marker 0"), N_("To marker 1"), N_("To marker 2"), N_("To marker 3"),
        N_("To marker 4"), N_("To marker 5"), N_("To marker 6"), N_("To marker 7"),
        N_("To marker 8"), N_("To marker 9")};
    static const char* const setNames[10] = {
        N_("Set marker 0"), N_("Set marker 1"), N_("Set marker 2"), N_("Set marker 3"),
        N_("Set marker 4"), N_("Set marker 5"), N_("Set marker 6"), N_("Set marker 7"),
        N_("Set marker 8"), N_("Set marker 9")};
    for (int i = 0; i < 10; ++i)
        list.append({ecGotoMarker0 + i, gotoNames[i]});
    for (int i = 0; i < 10; ++i)
        list.append({ecSetMarker0 + i, setNames[i]});
    return list;
}

TKeyStroke stroke(Qt::KeyboardModifiers mods, Qt::Key key, int command) {
    return TKeyStroke{QKeyCombination(mods, key), QKeyCombination(Qt::Key_unknown), command};
}
} // namespace

const QList<TEditorCommandInfo>& editorCommands() {
    static const QList<TEditorCommandInfo> list = buildCommands();
    return list;
}

const char* editorCommandDescription(int command) {
    for (const TEditorCommandInfo& c : editorCommands())
        if (c.command == command)
            return c.description;
    return nullptr;
}

TKeyStrokes defaultEditorKeyStrokes() {
    TKeyStrokes s = {
        stroke(kNone, Qt::Key_Left, ecLeft),
        stroke(kNone, Qt::Key_Right, ecRight),
        stroke(kNone, Qt::Key_Up, ecUp),
        stroke(kNone, Qt::Key_Down, ecDown),
        stroke(kCtrl, Qt::Key_Left, ecWordLeft),
        stroke(kCtrl, Qt::Key_Right, ecWordRight),
        stroke(kNone, Qt::Key_Home, ecLineStart),
        stroke(kNone, Qt::Key_End, ecLineEnd),
        stroke(kNone, Qt::Key_PageUp, ecPageUp),
        stroke(kNone, Qt::Key_PageDown, ecPageDown),
        stroke(kCtrl, Qt::Key_PageUp, ecPageTop),
        stroke(kCtrl, Qt::Key_PageDown, ecPageBottom),
        stroke(kCtrl, Qt::Key_Home, ecEditorTop),
        stroke(kCtrl, Qt::Key_End, ecEditorBottom),
        stroke(kShift, Qt::Key_Left, ecSelLeft),
        stroke(kShift, Qt::Key_Right, ecSelRight),
        stroke(kShift, Qt::Key_Up, ecSelUp),
        stroke(kShift, Qt::Key_Down, ecSelDown),
        stroke(kShift, Qt::Key_PageUp, ecSelPageUp),
        stroke(kShift, Qt::Key_PageDown, ecSelPageDown),
        stroke(kShiftCtrl, Qt::Key_Left, ecSelWordLeft),
        stroke(kShiftCtrl, Qt::Key_Right, ecSelWordRight),
        stroke(kShift, Qt::Key_Home, ecSelLineStart),
        stroke(kShift, Qt::Key_End, ecSelLineEnd),
        stroke(kShiftCtrl, Qt::Key_Home, ecSelEditorTop),
        stroke(kShiftCtrl, Qt::Key_End, ecSelEditorBottom),
        // Right half of the table.
        stroke(kCtrl, Qt::Key_A, ecSelectAll),
        stroke(kNone, Qt::Key_Backspace, ecDeleteLastChar),
        stroke(kNone, Qt::Key_Delete, ecDeleteChar),
        stroke(kCtrl, Qt::Key_T, ecDeleteWord),
        stroke(kCtrl, Qt::Key_Backspace, ecDeleteLastWord),
        stroke(kCtrl, Qt::Key_Y, ecDeleteLine),
        stroke(kNone, Qt::Key_Return, ecLineBreak),
        stroke(kCtrl, Qt::Key_N, ecInsertLine),
        stroke(kCtrl, Qt::Key_Up, ecScrollUp),
        stroke(kCtrl, Qt::Key_Down, ecScrollDown),
        stroke(kCtrl, Qt::Key_X, ecCut),
        stroke(kCtrl, Qt::Key_C, ecCopy),
        stroke(kCtrl, Qt::Key_V, ecPaste),
        stroke(kShift, Qt::Key_Delete, ecCut),
        stroke(kCtrl, Qt::Key_Insert, ecCopy),
        stroke(kShift, Qt::Key_Insert, ecPaste),
        stroke(kNone, Qt::Key_Insert, ecToggleMode),
        stroke(kAlt, Qt::Key_Right, ecBlockIndent),
        stroke(kAlt, Qt::Key_Left, ecBlockUnindent),
        stroke(kNone, Qt::Key_Tab, ecTab),
        stroke(kShift, Qt::Key_Backtab, ecShiftTab),
        stroke(kShiftCtrl, Qt::Key_N, ecNormalSelect),
        stroke(kShiftCtrl, Qt::Key_C, ecColumnSelect),
        stroke(kShiftCtrl, Qt::Key_L, ecLineSelect),
        stroke(kNone, Qt::Key_F1, ecContextHelp),
    };
    static const Qt::Key digits[10] = {Qt::Key_0, Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4,
                                       Qt::Key_5, Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9};
    for (int i = 0; i < 10; ++i)
        s.append(stroke(kCtrl, digits[i], ecGotoMarker0 + i));
    for (int i = 0; i < 10; ++i)
        s.append(stroke(kShiftCtrl, digits[i], ecSetMarker0 + i));
    s.append(stroke(kShiftCtrl, Qt::Key_U, ecUpperCase));
    s.append(stroke(kShiftCtrl, Qt::Key_L, ecLowerCase));
    s.append(stroke(kCtrl, Qt::Key_W, ecSelWord));
    return s;
}

int commandForKey(const TKeyStrokes& strokes, QKeyCombination key) {
    for (const TKeyStroke& s : strokes)
        if (s.hasKey() && s.key == key)
            return s.command;
    return 0;
}

} // namespace orvel
