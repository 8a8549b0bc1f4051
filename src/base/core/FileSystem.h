#pragma once
// File-system rules of the platform: how file names compare, network folders.

#include <QString>

namespace orvel {

// The system's reason for a failed file operation; "Unknown error" when it gives none.
QString orUnknown(const QString& error);
// The folder name with a trailing "/" (an empty name stays empty).
QString withSlash(const QString& dir);
// The cleaned absolute name; canonical (links resolved) when the file exists.
QString normalizedPath(const QString& fileName);
// Whether two names denote the same file, compared as the file system does.
bool sameFile(const QString& a, const QString& b);
// The extension of a file name without the dot; empty when it has none (a name that only
// begins with a dot, as hidden files do, has none).
QString fileExtension(const QString& fileName);
// Whether folder is a leading part of path, at a "/" boundary.
bool isPathBelow(const QString& path, const QString& folder);
// Network file systems as the mount table names them.
bool isNetworkFileSystem(const QByteArray& type);
// A mount table field with its octal escapes (blanks and the like) undone.
QString unescapeMountField(const QByteArray& field);
// Whether the path lies on a network file system (cifs, smb3, nfs, nfs4, fuse.sshfs).
bool isNetworkPath(const QString& path);
// Same, with the mount table given (the contents of /proc/self/mounts).
bool isNetworkPathIn(const QString& path, const QByteArray& mounts);

} // namespace orvel
