#pragma once
// The words of a line as the spell checker sees them: runs of letters of any script, with
// the dictionary's own word characters; an apostrophe between letters joins; in HTML an
// entity inside a word stands for its character ("M&uuml;ller" is "Müller").

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <functional>

namespace orvel {

struct TSpellWord {
    int start = 0;  // UTF-16 index into the line
    int length = 0; // UTF-16 units underlined: the word without trailing dots and dashes
    QString word;   // what is checked: entities read as their characters
    bool hasEntities = false;
    // The word as a user dictionary keeps it: without trailing dots and dashes.
    QString dictWord() const;
};

struct TWordSplitOptions {
    // Characters besides letters that words hold (the dictionary's WORDCHARS: digits,
    // dashes, dots). Apostrophes join without being named here.
    QString wordChars;
    // Read "&name;", "&#246;" and "&#xF6;" as characters (HTML text).
    bool entities = false;
    // The character of a named entity ("uuml" without "&" and ";"); 0 when unknown. A word
    // with an unknown entity is not checked. Numeric entities need no table.
    std::function<char32_t(QStringView name)> entityValue;
};

// The words of a line. mask holds one byte per UTF-16 unit of the line, non-zero where the
// text is checked; an empty mask checks everything. An entity counts as text when the word
// it stands in holds checked text besides. Words in web and mail addresses are left out,
// and so are words without a letter.
QList<TSpellWord> splitSpellWords(QStringView line, QByteArrayView mask,
                                  const TWordSplitOptions& options);

// Parses the entity at text[pos] ("&...;"); its length, 0 when there is none. value gets its
// character, 0 for a named entity entityValue does not know.
int parseEntity(QStringView text, qsizetype pos, const TWordSplitOptions& options, char32_t* value);

// Style sheets inside HTML ("<style>...</style>") hold no text, though the highlighter
// colours them as text. The nearest "<style" or "</style" tag name (any case) that begins
// before `before` in the document's bytes, or -1; opening tells which kind it is.
qsizetype lastStyleTag(QByteArrayView text, qsizetype before, bool* opening);
// The next such tag name in a line of text from `from`, or -1.
qsizetype nextStyleTag(QStringView line, qsizetype from, bool* opening);

} // namespace orvel
