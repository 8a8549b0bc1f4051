#pragma once
// The folder walk of the search in files and its relatives: which files of a folder tree are
// taken, and in which order.
//
// With subfolders, each folder's subfolders come first (sorted by name, depth first), then
// its files (sorted by name). Files whose name begins with "~" are left out, so are files
// whose extension the filter refuses. Symbolic links to folders are never followed (no
// loops, never out of the tree); a link to a file is taken when the file lies inside the
// tree and was not taken already. The folders of version control systems (".git", ".hg",
// ".svn", ".bzr") are left out: their files are no part of a site, and replacing in them
// would break the repository.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace orvel {

class TTextFilter;

// Whether a file name's extension (without the dot) passes the filter; an error in the
// filter counts as not passing. Remembers the answers, as a tree holds few extensions.
class TExtensionFilter {
public:
    explicit TExtensionFilter(const TTextFilter& filter);
    ~TExtensionFilter();
    TExtensionFilter(const TExtensionFilter&) = delete;
    TExtensionFilter& operator=(const TExtensionFilter&) = delete;
    bool passes(QByteArrayView fileName);

private:
    struct TCache;
    const TTextFilter& m_filter;
    TCache* m_cache;
};

struct TCollectNotes {
    QStringList unreadableFolders;
};

// Hands each file (its name as the file system spells it) to found, in walk order, until
// found returns false or cancel is set. root need not end with "/".
void CollectFiles(const QString& root, bool subDirs, const TTextFilter& filter,
                  const std::function<bool(const QByteArray& nativePath)>& found,
                  TCollectNotes* notes = nullptr, const std::atomic<bool>* cancel = nullptr);

// The same as a list of file names.
QStringList CollectFiles(const QString& root, bool subDirs, const TTextFilter& filter);

} // namespace orvel
