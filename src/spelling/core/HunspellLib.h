#pragma once
// The spelling engine behind a small flat interface. An instance is made from a
// dictionary's affix and word data held in memory and is asked in Unicode; inside, each word
// travels in the dictionary's own encoding (the SET line of its affix data).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace orvel {

struct THunspell;
using THunspellHandle = THunspell*;

// Why the data make no usable dictionary: no word count on the first line of the word
// list, NUL bytes, or text that is not UTF-8 where the affix data say it is (the engine
// would read such data past their end). Empty when they are fine.
QString dictionaryDataProblem(QByteArrayView aff, QByteArrayView dic);

// A new engine instance; nullptr when the data have a problem (above) or memory for them
// could not be had. key unlocks encrypted dictionaries; empty for none.
THunspellHandle HunspellInit(QByteArrayView aff, QByteArrayView dic, const QByteArray& key = {});
void HunspellFree(THunspellHandle handle);
// True when the word is correct. A word the dictionary's encoding cannot hold is wrong.
bool HunspellSpell(THunspellHandle handle, const QString& word);
// Suggestions for a word, best first.
QStringList HunspellSuggest(THunspellHandle handle, const QString& word);
// Accepts the word from now on; false when the dictionary's encoding cannot hold it.
bool HunspellAdd(THunspellHandle handle, const QString& word);
// The characters besides letters that the dictionary counts as parts of words (WORDCHARS).
QString HunspellWordChars(THunspellHandle handle);
// The dictionary's encoding as its SET line names it ("UTF-8", "ISO8859-2").
QString HunspellEncoding(THunspellHandle handle);

struct THunspellFree {
    void operator()(THunspell* handle) const { HunspellFree(handle); }
};
using THunspellPtr = std::unique_ptr<THunspell, THunspellFree>;

} // namespace orvel
