#pragma once
// The tag under the caret, read from the text around it: the link and image commands edit
// the tag the caret stands in.

#include <QStringView>

namespace orvel {

enum TTagType : int { ttNone, ttHRef, ttImg };

struct TTagStart {
    TTagType type = ttNone;
    // Characters (code points, a CR LF being two) from the tag's "<" to the caret.
    qsizetype characters = 0;
};

// The link ("<a h…") or image ("<img…") tag whose "<" is the last one before the caret with
// no ">" after it, case ignored. before holds the text before the caret as far back as the
// caller looks; after the text from the caret on (three characters are enough).
TTagStart findTagStart(QStringView before, QStringView after);

} // namespace orvel
