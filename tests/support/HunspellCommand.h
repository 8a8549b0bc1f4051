#pragma once
// The spelling command of the system as the reference the spell checker is held against.

#include <QString>
#include <QStringList>

namespace orvel::test {

// The system's dictionary folder the tests use.
QString systemDictionaryFolder();

// The words `hunspell -l` reports for a text with the dictionary of that name ("en_US"), as
// the program underlines them: trailing dots dropped, single characters left out (the
// checker ignores them). One entry saying so when the command is missing.
QStringList hunspellMisspelt(const QString& dictionary, const QString& text);

} // namespace orvel::test
