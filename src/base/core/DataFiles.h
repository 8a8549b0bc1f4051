#pragma once
// Read-only data of the program: beside the executable first, then the installed data folder.

#include <QString>
#include <QStringList>

namespace orvel {

// The running program's data folders: beside the executable first, then the installed
// data folder. Needs the application object.
QStringList dataFolders();
// A file or folder (name may hold "/"-separated parts) from the first of folders that has
// it, each part found without regard to case; an exact match wins. Empty when none has it.
QString findDataFile(const QString& name, const QStringList& folders);
// The same in the running program's data folders.
QString findDataFile(const QString& name);

} // namespace orvel
