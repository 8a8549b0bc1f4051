#pragma once
// Where the program finds and keeps its files: settings folder and settings file with its
// companions, language file, documents folder, read-only data, and the language code.

#include "app/core/CommandLine.h"
#include "base/core/DataFiles.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace orvel {

// What the locations are computed from; tests pass their own.
struct TSystemEnvironment {
    QProcessEnvironment vars; // HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and -ini: variables
    QString documents;        // Qt's documents location; empty when there is none
    QString uiLanguage;       // the user's interface language as a code such as "de-DE"
    QString installDataDir;   // read-only data looked up after the program directory
    static TSystemEnvironment current();
};

struct TLocations {
    QString ProgramDir;    // folder of the executable, trailing "/"
    QString ProgramName;   // executable's name without folder and extension
    QString AppPath;       // settings folder, trailing "/"
    QString UserPath;      // documents folder, trailing "/"
    QString LocalDataPath; // local application data folder, trailing "/" (not created)
    QString IniName;       // settings file
    QString LogName;
    QString KeyName;
    QString MacroName;
    QString LangFile;        // language file, read before any window exists
    QString DictPath;        // dictionaries shipped with the program, trailing "/"
    QStringList DataFolders; // where read-only data is looked up, in order
    QStringList errors;      // messages for the user: a refused -ini: value and the like
};

// Computes every location and creates the settings folder (with its parents). When it
// cannot be created, the program directory serves instead. A refused -ini: value leaves the
// default settings and language file and adds a message to errors.
TLocations computeLocations(const QString& executablePath, const TCommandLine& cmd,
                            const TSystemEnvironment& env);

// LangID of the section Language in the language file (an INI file, read as the settings
// file is: the byte-order mark decides UTF-8 or UTF-16, else 8-bit). Empty when missing.
QString readLanguageFileCode(const QString& languageFile);
// "de_DE.UTF-8" and "de_DE@euro" become "de-DE"; the C locale reads as "en".
QString normalizeLanguageCode(const QString& code);
// The -lang: value, else the language file's LangID, else the system's language.
QString determineLanguageCode(const TCommandLine& cmd, const QString& languageFile,
                              const QString& systemLanguage);

} // namespace orvel
