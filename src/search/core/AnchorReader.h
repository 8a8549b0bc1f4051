#pragma once
// The anchors of an HTML text: every <a name="…"> and every id="…" attribute, read as a
// browser reads the tags (attributes in any order, any quoting, names matched whole and
// without regard to case; comments and the content of scripts and style sheets skipped).

#include "base/core/Result.h"
#include "textcontrol/core/TextInfo.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace orvel {

// The link text kept for an anchor, in characters, and how far after its tag the reader
// looks for the element's end: an element longer than that has no link text.
constexpr int kMaxAnchorLinkText = 200;
constexpr int kAnchorLinkSource = 4096;

struct TAnchor {
    QString name;      // trimmed
    bool isId = false; // from an id="…" attribute rather than <a name="…">
    int line = 0;      // of the name's first character, from 1
    QString linkText;  // tags removed, line breaks and NBSP made blanks, trimmed, bounded
    TTextBlockPos pos; // name's first character to the last character before the tag's ">"
    // "|name| (12): text"; for ids "|name| (12, id): text"
    QString entry() const;
};

} // namespace orvel
Q_DECLARE_TYPEINFO(orvel::TAnchor, Q_RELOCATABLE_TYPE);
namespace orvel {

// The anchors in document order; linear in the text. Line breaks may be LF, CR LF or CR.
QList<TAnchor> readAnchors(QStringView text);

// The anchors of a file, read with a document's encoding detection; a file that is not text
// has none. Fails, naming the file, when it cannot be read.
TResult<QList<TAnchor>> readAnchorsFromFile(const QString& fileName);

// The anchor name an entry (or a name typed by hand) stands for: the marks "|" removed and
// the part before the first "(", trimmed; an entry's own name even when it holds "(".
QString anchorNameOfEntry(const QString& entry);

} // namespace orvel
