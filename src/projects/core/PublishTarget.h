#pragma once
// The destination of a publishing run: a folder (Direct) or a folder on an FTP server. Paths
// are relative to the destination's top, with "/"; each folder is listed once per run and
// the listing is kept up to date with what the run changes.

#include "base/core/Result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

namespace orvel {

class TCopyThread;
class TExtFtp;

struct TDestFile {
    QString Name;       // as listed
    qint64 Size = -1;   // -1: unknown
    QDateTime Time;     // UTC; invalid when unknown
    bool Exact = false; // Time is exact (a folder, MLSD, or set by this run)
};

struct TDestFolder {
    bool Exists = false;
    QList<TDestFile> Files;
    QStringList Dirs; // as listed
    const TDestFile* find(const QString& name) const;
    void put(const TDestFile& file);
    void remove(const QString& name);
};

// What a destination still had to do for a folder once the walk was done with it.
struct TFolderOutcome {
    struct TFailedFile {
        QString Rel; // its folder
        QString Name;
        QString Why;
    };
    TStatus Status; // the folder as a whole (made visible under its name)
    // Files sent into it (or below it) that are not at the destination after all.
    QList<TFailedFile> FailedFiles;
};

// Runs a worker to its end while the program stays alive and a stop reaches the worker;
// returns the worker's error code.
using TWorkerRunner = std::function<int(TCopyThread& worker, const QString& status)>;

class TPublishTarget {
public:
    virtual ~TPublishTarget() = default;

    // Seconds a destination file may be older than its source and still count as current.
    virtual int tolerance() const = 0;
    // The name a local file or folder gets at the destination.
    virtual QString destName(const QString& localName) const { return localName; }
    // Whether files are checked against the publish record.
    virtual bool usesRecord() const { return false; }
    // The folder's listing; a folder that does not exist gives one with Exists false. An
    // error means the destination cannot be reached.
    TResult<const TDestFolder*> folder(const QString& rel);
    // The time of a file whose listing gave none exact; invalid when unknown.
    virtual QDateTime fileTime(const QString& rel, const QString& name) {
        Q_UNUSED(rel);
        Q_UNUSED(name);
        return QDateTime();
    }
    // Makes the folder with its missing parents.
    TStatus makeFolder(const QString& rel);
    // Sends localFile as name into the existing folder rel; the old file stays whole until
    // the new one is complete.
    TStatus put(const QString& localFile, const QString& rel, const QString& name,
                const TWorkerRunner& runner);
    // The walk is done with the folder rel (its files and its subfolders): whatever the
    // destination still owes for it is settled; failed files leave the folder's listing.
    TFolderOutcome folderDone(const QString& rel);
    // Folders still owing something after a run that ended early, deepest first.
    virtual QStringList openFolders() const { return {}; }
    // Deletes a file (named as listed).
    TStatus remove(const QString& rel, const QString& name);
    TStatus removeFolder(const QString& rel);
    // Whether clearing removes the top folder itself.
    virtual bool removesTop() const { return false; }
    // Closes the connection, if any.
    virtual void close() {}

    static QString join(const QString& rel, const QString& name) {
        return rel.isEmpty() ? name : rel + u'/' + name;
    }
    static QString parentOf(const QString& rel) {
        const qsizetype slash = rel.lastIndexOf(u'/');
        return slash < 0 ? QString() : rel.left(slash);
    }

protected:
    virtual TResult<TDestFolder> readFolder(const QString& rel) = 0;
    virtual TStatus createFolder(const QString& rel) = 0;
    // Returns the file as it now is at the destination.
    virtual TResult<TDestFile> sendFile(const QString& localFile, const QString& rel,
                                        const QString& name, const TWorkerRunner& runner) = 0;
    virtual TStatus deleteFile(const QString& rel, const QString& name) = 0;
    virtual TStatus deleteFolder(const QString& rel) = 0;
    // Whether rel's parent was listed with a file of rel's name.
    bool listedAsFile(const QString& rel) const;
    virtual TFolderOutcome closeFolder(const QString& rel) {
        Q_UNUSED(rel);
        return {};
    }

private:
    // Node-based: a folder's listing stays where it is while others are added.
    std::map<QString, TDestFolder> m_folders;
};

// A local folder or a mounted network share.
class TFolderTarget : public TPublishTarget {
public:
    explicit TFolderTarget(const QString& root) : m_root(root) {}
    int tolerance() const override { return 2; }
    bool removesTop() const override { return true; }

protected:
    TResult<TDestFolder> readFolder(const QString& rel) override;
    TStatus createFolder(const QString& rel) override;
    TResult<TDestFile> sendFile(const QString& localFile, const QString& rel, const QString& name,
                                const TWorkerRunner& runner) override;
    TStatus deleteFile(const QString& rel, const QString& name) override;
    TStatus deleteFolder(const QString& rel) override;

private:
    QString path(const QString& rel) const;
    QString m_root; // with a trailing "/"
};

// A folder on an FTP server, below the absolute remote folder base, over a connected session
// it takes over.
class TFtpTarget : public TPublishTarget {
public:
    TFtpTarget(std::unique_ptr<TExtFtp> ftp, const QString& base);
    ~TFtpTarget() override;
    int tolerance() const override { return 5; }
    QString destName(const QString& localName) const override;
    bool usesRecord() const override { return true; }
    QDateTime fileTime(const QString& rel, const QString& name) override;
    void close() override;
    const QString& base() const { return m_base; }
    // The folder the login ended in.
    QString loginDir() const;
    // Names the destination in the publish record: the user, the server and the folder.
    QString recordDestination() const;
    // The absolute remote folder of rel.
    QString remotePath(const QString& rel) const;
    // The temporary name a file is uploaded under before it replaces the target.
    static QString tempName(const QString& name);

protected:
    TResult<TDestFolder> readFolder(const QString& rel) override;
    TStatus createFolder(const QString& rel) override;
    TResult<TDestFile> sendFile(const QString& localFile, const QString& rel, const QString& name,
                                const TWorkerRunner& runner) override;
    TStatus deleteFile(const QString& rel, const QString& name) override;
    TStatus deleteFolder(const QString& rel) override;
    TFolderOutcome closeFolder(const QString& rel) override;
    QStringList openFolders() const override;

private:
    // A file sent into a staged folder, its size not yet confirmed by the server.
    struct TStagedFile {
        QString name;
        qint64 size = 0;
        QString setTime; // the command that gives it the local file's time
    };
    // What was put into a folder built under a temporary name.
    struct TStagedTop {
        QString temp;        // its remote path
        QStringList folders; // relative paths, the top first, each after its parent
        QList<std::pair<QString, QString>> files; // folder and name
    };
    // The absolute remote folder of rel under its final name.
    QString finalPath(const QString& rel) const;
    // The staged top rel lies in, or null.
    const std::pair<const QString, TStagedTop>* stagedTop(const QString& rel) const;
    bool staged(const QString& rel) const { return stagedTop(rel) != nullptr; }
    // Where a folder cannot be renamed into place: its folders are made in place and its
    // files renamed into them one by one.
    void unstage(const QString& top, TFolderOutcome& out);
    // Makes rel's remote folder the current one.
    TStatus enter(const QString& rel);
    // Sends a command; true on a reply of the class 2 or 3.
    bool command(const QString& line, int* code = nullptr);
    TStatus lastError(const QString& what) const;
    TStatus cannotMake(const QString& dir) const;
    TStatus replace(const QString& temp, const QString& name, bool targetExists);
    // RNFR and RNTO; true when both were taken.
    bool rename(const QString& from, const QString& to);

    std::unique_ptr<TExtFtp> m_session;
    TExtFtp& m_ftp;
    QString m_base;
    // New folders are built under a temporary name beside their place and renamed into it
    // when complete: the site never shows one half uploaded, and their files need no rename
    // of their own. The top of each such folder by its relative path, with its remote path.
    std::map<QString, TStagedTop> m_staged;
    bool m_noFolderRename = false;
    std::map<QString, QList<TStagedFile>> m_unchecked;
};

} // namespace orvel
