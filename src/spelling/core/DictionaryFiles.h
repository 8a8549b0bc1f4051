#pragma once
// Dictionaries on disk: pairs NAME.aff and NAME.dic, NAME a locale name ("de_DE").

#include "base/core/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvel {

// One dictionary found.
struct TDictionaryProps {
    quint32 Id = 0;    // language id of NAME
    QString Shortname; // NAME
    QString AffName;   // the files, with their folder
    QString DicName;
};

// One dictionary read into memory.
struct TLoadedDict {
    quint32 Id = 0;
    QString Filename;  // NAME
    QString Shortname; // NAME
    QByteArray mAff;   // the whole of NAME.aff
    QByteArray mDic;   // the whole of NAME.dic
};

// Where dictionaries are looked for, in order: the program's "dict" folder, then the
// system's. Folders carry a trailing "/".
QStringList dictionaryFolders(const QString& programDictPath);

// Every dictionary in the folders, by folder order and then by name; the first one of a
// language wins. Names that stand for no known language are left out.
QList<TDictionaryProps> findDictionaries(const QStringList& folders);

// Reads both files of a dictionary whole. The error names the file.
TResult<TLoadedDict> readDictionary(const TDictionaryProps& props);

} // namespace orvel
