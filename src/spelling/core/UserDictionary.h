#pragma once
// The user's own words for one language: a UTF-8 file, one word a line, no byte-order mark.

#include "base/core/Result.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace orvel {

struct TUserDictionary {
    QStringList words;           // sorted, case-sensitive, each once
    QList<QByteArray> keptLines; // lines that hold no word, written back as they came

    // Adds a word in its sorted place; false when it is there already (exact case).
    bool add(const QString& word);
    bool contains(const QString& word) const;
    bool isEmpty() const { return words.isEmpty() && keptLines.isEmpty(); }
};

// Whether a trimmed line can stand as a word: no control characters, not overlong.
bool isUserDictionaryWord(const QString& word);

// Lines trimmed, empty ones skipped; a line that is not UTF-8 or holds no usable word is
// kept aside unchanged. CR LF, LF and CR all end lines; the last line needs no break.
TUserDictionary parseUserDictionary(QByteArrayView bytes);
QByteArray userDictionaryBytes(const TUserDictionary& dict);

// A missing file is an empty dictionary; an unreadable one an error naming it.
TResult<TUserDictionary> readUserDictionary(const QString& fileName);
// Written whole and atomically, its folder created when missing.
TStatus writeUserDictionary(const QString& fileName, const TUserDictionary& dict);

} // namespace orvel
