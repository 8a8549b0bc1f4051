#pragma once
// The command line: options -ini:, -lang:, -portable (any leading part of the name, any
// case, value after the first ":"), their GNU forms, and file names.

#include "base/core/FileSystem.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace orvel {

struct TCommandLine {
    QStringList files;   // file names in command-line order, each kept whole
    bool hasIni = false; // -ini: was given; iniValue is the last one, unresolved
    QString iniValue;
    bool langFromCommandLine = false; // -lang: was given: a language chosen later is not stored
    QString langCode;
    bool portable = false;
    bool help = false;
    bool version = false;
    // --publish PROJECT.prj: publish without windows and exit, with --dry-run, --overwrite
    // and --sync (long forms only, spelt out).
    QString publishProject;
    bool publishDryRun = false;
    bool publishOverwrite = false;
    bool publishSync = false;
    QStringList unknownOptions; // options naming nothing known, as given; they are ignored
    QStringList missingValues;  // known options that need a value and got none, as given
};

// args without the program name. Never fails: whatever is not understood is listed.
TCommandLine parseCommandLine(const QStringList& args);

// Messages for unknown options and options without their value, one per problem.
QStringList commandLineWarnings(const TCommandLine& cmd);

// The options a restarted instance needs to find the same settings and language file.
QStringList restartArguments(const TCommandLine& cmd);

// Usage and option list for --help; programName is the executable's name.
QString commandLineHelp(const QString& programName);

// Turns an -ini: value into a file path. A backslash reads as "/"; a leading "~/" is the
// home folder (HOME in env); %NAME%, $NAME and ${NAME} take their value from env, and an unset
// variable is an error. A value beginning with "/" is absolute, any other is relative to
// baseFolder. A value ending in "/" (or naming "." or "..") is a folder: the result is that
// folder + defaultName and *isFolder is set. Otherwise ".ini" is added when the file name has
// no dot; the extensions log, key and mac are refused, as they name the settings file's
// companions. On error the result is empty and *error holds the message.
QString resolveIniPath(const QString& value, const QString& baseFolder, const QString& defaultName,
                       const QProcessEnvironment& env, QString* error, bool* isFolder = nullptr);

// The file name with its extension replaced by ext (given without the dot), or ext added.
QString changeFileExtension(const QString& fileName, const QString& ext);

} // namespace orvel
