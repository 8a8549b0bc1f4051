#pragma once
// The matching rules of the editor's plain-text search, applied to UTF-8 text without an
// editor, so that searching many files agrees with searching one document.
//
// A match is the search text's bytes; with case ignored, the ASCII letters A-Z and a-z count
// as equal (the editor folds no other letters). A whole word starts where the class of the
// characters changes (word, punctuation, blank) and ends where it changes again, as the
// editor decides it: digits, "_" and letters of any script are word characters, most other
// printable characters punctuation; characters the editor's tables do not know yet (assigned
// after Unicode 11) count as blanks, malformed bytes and non-characters as punctuation.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace orvel {

// None stands for no character at all: the start of a text.
enum class TCharClass : unsigned char { None, Blank, LineBreak, Word, Punctuation };

TCharClass charClassOf(char32_t codePoint);
// The class of the character that starts at pos, or ends at pos, in UTF-8 text.
TCharClass classAfter(QByteArrayView text, qsizetype pos);
TCharClass classBefore(QByteArrayView text, qsizetype pos);

class TTextMatcher {
public:
    TTextMatcher() = default;
    TTextMatcher(const QString& search, bool matchCase, bool wholeWord);
    // Plain bytes, for a look at stored bytes before they are decoded.
    static TTextMatcher forBytes(QByteArray needle, bool matchCase);

    bool isEmpty() const { return m_needle.isEmpty(); }
    // Length of every match in bytes.
    qsizetype length() const { return m_needle.size(); }
    bool matchCase() const { return m_matchCase; }
    bool wholeWord() const { return m_wholeWord; }

    // Start of the first match that starts at or after `from` and before `limit` (-1 for the
    // end of the text; a match may run past limit), or -1. `from` lies on a character
    // boundary. classBeforeFrom, when given, stands for the character before `from`: the
    // text there was replaced, and the editor decides on the text as it is by then.
    qsizetype find(QByteArrayView text, qsizetype from, qsizetype limit = -1,
                   std::optional<TCharClass> classBeforeFrom = std::nullopt) const;

    // Whether the bytes from start to end form a whole word of text.
    static bool isWordAt(QByteArrayView text, qsizetype start, qsizetype end,
                         std::optional<TCharClass> classBeforeStart = std::nullopt);

private:
    void prepare();
    qsizetype findBytes(const unsigned char* text, qsizetype size, qsizetype from,
                        qsizetype lastStart) const;
    qsizetype findWide(const unsigned char* text, qsizetype size, qsizetype& from,
                       qsizetype lastStart) const;
    bool equalAt(const unsigned char* at) const;

    QByteArray m_needle; // UTF-8; ASCII letters in lower case when case is ignored
    bool m_matchCase = true;
    bool m_wholeWord = false;
    unsigned char m_first = 0, m_firstAlt = 0, m_last = 0, m_lastAlt = 0;
};

} // namespace orvel
