#pragma once
// The editor option set, stored as bits in this order (bit 0 first).

#include <QtGlobal>

namespace orvel {

enum TEditorOption : int {
    eoAltSetsColumnMode,
    eoAutoIndent,
    eoAutoSizeMaxScrollWidth,
    eoDisableScrollArrows,
    eoDragDropEditing,
    eoDropFiles,
    eoEnhanceHomeKey,
    eoEnhanceEndKey,
    eoGroupUndo,
    eoHalfPageScroll,
    eoHideShowScrollbars,
    eoKeepCaretX,
    eoNoCaret,
    eoNoSelection,
    eoRightMouseMovesCursor,
    eoScrollByOneLess,
    eoScrollHintFollows,
    eoScrollPastEof,
    eoScrollPastEol,
    eoShowScrollHint,
    eoShowSpecialChars,
    eoSmartTabDelete,
    eoSmartTabs,
    eoSpecialLineDefaultFg,
    eoTabIndent,
    eoTabsToSpaces,
    eoTrimTrailingSpaces,
    eoOptionCount
};

using TEditorOptions = quint32;

constexpr TEditorOptions optionBit(TEditorOption o) {
    return TEditorOptions(1) << int(o);
}
constexpr bool hasOption(TEditorOptions set, TEditorOption o) {
    return (set & optionBit(o)) != 0;
}
constexpr TEditorOptions kAllOptionBits = (TEditorOptions(1) << eoOptionCount) - 1;

// What a new editor starts with until its file type's settings are applied.
constexpr TEditorOptions kNewEditorOptions =
    optionBit(eoAutoIndent) | optionBit(eoDragDropEditing) | optionBit(eoEnhanceEndKey) |
    optionBit(eoGroupUndo) | optionBit(eoScrollPastEol) | optionBit(eoShowScrollHint) |
    optionBit(eoSmartTabDelete) | optionBit(eoSmartTabs) | optionBit(eoTabsToSpaces) |
    optionBit(eoTrimTrailingSpaces);

// The stored default of the file-type sections (0x26C0193).
constexpr TEditorOptions kDefaultStoredOptions = 40632723;

// The search option set, one byte (bit 0 first).
enum TSearchOption : int {
    ssoMatchCase = 1,
    ssoWholeWord = 2,
    ssoBackwards = 4,
    ssoEntireScope = 8,
    ssoSelectedOnly = 16,
    ssoReplace = 32,
    ssoReplaceAll = 64,
    ssoPrompt = 128
};
using TSearchOptions = int;

// The answer to a replacement confirmation.
enum TReplaceAction : int { raCancel, raSkip, raReplace, raReplaceAll };

} // namespace orvel
