#pragma once
// The lexers and attribute tables behind each highlighter kind.

#include "textcontrol/core/HighlighterTypes.h"

#include <QList>

class QsciLexer;

namespace orvel::hl {

struct AttrDef {
    const char* name;
    QList<int> styles; // no style belongs to two attributes of a kind
    TAttrStyle def;
};

// A new lexer for the kind, owned by the caller; nullptr for an unknown kind.
QsciLexer* makeLexer(THighlighterKind kind);
// The kind's attributes in the order the options dialog lists them.
QList<AttrDef> attrDefs(THighlighterKind kind);

} // namespace orvel::hl
