#pragma once
// The folder dialog's rules that need no window: its stored settings and recent folders, the
// places the tree can show at its top, where it starts, going one folder up, creating and
// deleting folders.

#include "base/core/HistoryList.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace orvel {

class TUnicodeIniFile;

enum class TShellRoot { Computer, Network, Desktop, Documents };

// The places behind the root buttons; tests give their own.
struct TShellPlaces {
    QString desktop;           // the desktop folder; home when it does not exist
    QString documents;         // the documents folder; home when there is none
    QStringList networkMounts; // mount points of network file systems
    QStringList volumes;       // mounted volumes other than "/"
    static TShellPlaces current();
};

// Mount points of network file systems (cifs, smb3, smbfs, nfs, nfs4, fuse.sshfs) in a mount
// table as /proc/self/mounts gives it, in table order, each once.
QStringList networkMountsIn(const QByteArray& mounts);
// Mount points of block devices and network file systems, "/" and squashfs images left out.
QStringList volumesIn(const QByteArray& mounts);

// What the tree shows: the kind of top, the top folder ("/" for Computer) and the folder
// selected below it.
struct TShellView {
    TShellRoot root = TShellRoot::Computer;
    QString top = QStringLiteral("/");
    QString folder;
    bool operator==(const TShellView&) const = default;
};

// The top folder a root button puts the tree at; for Network the mount that holds folder,
// else the first mount (empty when none is mounted).
QString shellRootTop(TShellRoot root, const TShellPlaces& places, const QString& folder = {});
// The tree's view after the user named a folder (typed, chosen or the default folder): the
// same top when the folder lies below it, else Computer.
TShellView shellViewFor(const TShellView& current, const QString& folder);
// Where the tree starts: the path, else the default folder. None at all: the desktop. A
// folder that does not exist (or a relative name): the documents folder under Computer. A
// folder on a network mount: below that mount. Any other: under Computer.
TShellView shellStartView(const QString& path, const QString& defaultDir,
                          const TShellPlaces& places);
// "One folder up": from the top node to Computer with the parent selected; below the top the
// parent while it still lies below the top; otherwise Computer with the parent selected.
TShellView shellFolderUp(const TShellView& current);

// A folder as the recent list keeps it: cleaned, without a trailing "/" (except "/" itself).
QString recentFolderName(const QString& folder);
// The dialog's result: the folder with a trailing "/".
QString withTrailingSlash(const QString& folder);
// "~" and "~/..." name the home folder; other text is cleaned. Empty for a relative name.
QString folderFromText(const QString& text, const QString& home);

// The section the dialog keeps in the settings file.
struct TShellDirSettings {
    TShellDirSettings();
    THistoryList folders; // most recent first, compared exactly, 15 at most
    int Top = 0;          // 0: centred on the owner window
    int Left = 0;
    int DirWidth = 0; // 0: not stored yet
    int FileWidth = 0;
    bool Fileview = false;

    // Moves the folder (in its recent-list form) to the front; the 16th entry goes.
    void addFolder(const QString& folder);
    void removeFolder(const QString& folder);

    void load(const TUnicodeIniFile& ini, const QString& section);
    void save(TUnicodeIniFile& ini, const QString& section);
    // Rereads the file and rewrites it with this section changed. The error message, empty
    // when the file was written.
    QString saveToFile(const QString& fileName, const QString& section);
};

enum class TCreateFolderResult { Created, Exists, Failed, NoName };
// Creates parent + "/" + name with all missing parents; created receives the cleaned path.
TCreateFolderResult createSubFolder(const QString& parent, const QString& name, QString& created);

// The removal steps of deleteFolderDefinitely; tests put failures where the system (run as
// root) refuses none.
struct TDeleteOps {
    std::function<bool(const QString&)> removeFile; // files and symbolic links
    std::function<bool(const QString&)> removeDir;  // an empty folder
};

struct TFolderDeletion {
    bool ok = false;
    int dirs = 0;   // folders removed, the folder itself included
    int files = 0;  // files and links removed
    QString failed; // the first entry that could not be removed
};

// Deletes every file (made writable first) and every sub-folder, deepest first, then the
// folder. A folder whose content could not all be removed is kept. Symbolic links are removed
// themselves, never followed.
TFolderDeletion deleteFolderDefinitely(const QString& folder, const TDeleteOps& ops = {});

} // namespace orvel
