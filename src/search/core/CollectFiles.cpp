#include "search/core/CollectFiles.h"

#include "search/core/TextFilter.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvel {

struct TExtensionFilter::TCache {
    QHash<QByteArray, bool> answers;
    // The answer before: files of one extension mostly come together.
    QByteArray lastExtension;
    bool lastAnswer = false;
    bool hasLast = false;
};

TExtensionFilter::TExtensionFilter(const TTextFilter& filter)
    : m_filter(filter), m_cache(new TCache) {
}

TExtensionFilter::~TExtensionFilter() {
    delete m_cache;
}

bool TExtensionFilter::passes(QByteArrayView fileName) {
    const qsizetype slash = fileName.lastIndexOf('/');
    const qsizetype dot = fileName.lastIndexOf('.');
    // As fileExtension has it: a name that only begins with a dot has no extension.
    const QByteArrayView ext = dot > slash + 1 ? fileName.sliced(dot + 1) : QByteArrayView();
    TCache& c = *m_cache;
    if (c.hasLast && ext == c.lastExtension)
        return c.lastAnswer;
    c.lastExtension = ext.toByteArray();
    c.hasLast = true;
    const auto it = c.answers.constFind(c.lastExtension);
    if (it != c.answers.constEnd()) {
        c.lastAnswer = *it;
        return c.lastAnswer;
    }
    bool passes = false;
    try {
        passes = m_filter.MatchesFilter(QFile::decodeName(c.lastExtension));
    } catch (const EFilterError&) {
        passes = false;
    }
    c.answers.insert(c.lastExtension, passes);
    c.lastAnswer = passes;
    return passes;
}

namespace {

bool isVersionControlFolder(const char* name) {
    return std::strcmp(name, ".git") == 0 || std::strcmp(name, ".hg") == 0 ||
           std::strcmp(name, ".svn") == 0 || std::strcmp(name, ".bzr") == 0;
}

// Names in the order a user reads a listing: letters without regard to case first.
bool nameLess(const QByteArray& a, const QByteArray& b) {
    const int folded = qstrnicmp(a.constData(), a.size(), b.constData(), b.size());
    return folded != 0 ? folded < 0 : a < b;
}

struct TFileId {
    dev_t device;
    ino_t inode;
    friend bool operator==(const TFileId&, const TFileId&) = default;
};
size_t qHash(const TFileId& id, size_t seed = 0) {
    return qHashMulti(seed, quint64(id.device), quint64(id.inode));
}

class TWalk {
public:
    TWalk(const QByteArray& root, bool subDirs, const TTextFilter& filter,
          const std::function<bool(const QByteArray&)>& found, TCollectNotes* notes,
          const std::atomic<bool>* cancel)
        : m_root(root), m_subDirs(subDirs), m_filter(filter), m_found(found), m_notes(notes),
          m_cancel(cancel) {}

    void run() {
        QByteArray path = m_root;
        if (!path.endsWith('/'))
            path += '/';
        m_rootLength = path.size();
        char* resolved = ::realpath(path.constData(), nullptr);
        m_rootReal = resolved ? QByteArray(resolved) : path;
        ::free(resolved);
        if (!m_rootReal.endsWith('/'))
            m_rootReal += '/';
        m_rootIsReal = m_rootReal == path;
        walk(path);
    }

private:
    bool stopped() const {
        return m_stop || (m_cancel && m_cancel->load(std::memory_order_relaxed));
    }

    // Whether a file is taken: a file reached a second time, through a link or as a link's
    // target, is searched (and replaced) once; a link to a file outside the tree not at all.
    bool take(const QByteArray& path, bool isLink) {
        QByteArray real;
        if (isLink) {
            struct stat st;
            if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
                return false;
            char* resolved = ::realpath(path.constData(), nullptr);
            if (!resolved)
                return false;
            real = resolved;
            ::free(resolved);
            if (!real.startsWith(m_rootReal))
                return false;
        } else if (m_rootIsReal) {
            real = path; // shared, not copied
        } else {
            // Folders are never reached through links: the path below the root is real.
            real = m_rootReal;
            real.append(QByteArrayView(path).sliced(m_rootLength));
        }
        if (m_taken.contains(real))
            return false;
        m_taken.insert(real);
        return true;
    }

    void walk(const QByteArray& dir) {
        if (stopped())
            return;
        DIR* d = ::opendir(dir.constData());
        if (!d) {
            if (m_notes)
                m_notes->unreadableFolders << QFile::decodeName(dir);
            return;
        }
        const int fd = ::dirfd(d);
        struct stat dirStat;
        if (::fstat(fd, &dirStat) != 0 || m_folders.contains({dirStat.st_dev, dirStat.st_ino})) {
            ::closedir(d); // a folder mounted into itself
            return;
        }
        m_folders.insert({dirStat.st_dev, dirStat.st_ino});
        QList<QByteArray> folders;
        QList<QByteArray> files;
        QList<bool> linked;
        while (const dirent* e = ::readdir(d)) {
            const char* name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            unsigned char type = e->d_type;
            if (type == DT_UNKNOWN) {
                struct stat st;
                if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                type = S_ISDIR(st.st_mode)   ? DT_DIR
                       : S_ISREG(st.st_mode) ? DT_REG
                       : S_ISLNK(st.st_mode) ? DT_LNK
                                             : DT_UNKNOWN;
            }
            if (type == DT_DIR) {
                if (m_subDirs && !isVersionControlFolder(name))
                    folders << QByteArray(name);
            } else if ((type == DT_REG || type == DT_LNK) && name[0] != '~') {
                files << QByteArray(name);
                linked << (type == DT_LNK);
            }
        }
        ::closedir(d);

        std::sort(folders.begin(), folders.end(), nameLess);
        for (const QByteArray& f : folders) {
            walk(dir + f + '/');
            if (stopped())
                return;
        }
        QList<qsizetype> order(files.size());
        for (qsizetype i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [&](qsizetype a, qsizetype b) { return nameLess(files[a], files[b]); });
        for (const qsizetype i : order) {
            if (stopped())
                return;
            if (!m_filter.passes(files[i]))
                continue;
            const QByteArray path = dir + files[i];
            // A file reached twice (a link, a second name) is searched and replaced once.
            if (!take(path, linked[i]))
                continue;
            if (!m_found(path)) {
                m_stop = true;
                return;
            }
        }
    }

    QByteArray m_root;
    QByteArray m_rootReal; // with "/"
    qsizetype m_rootLength = 0;
    bool m_rootIsReal = false; // paths below the root are real as they are
    bool m_subDirs;
    TExtensionFilter m_filter;
    const std::function<bool(const QByteArray&)>& m_found;
    TCollectNotes* m_notes;
    const std::atomic<bool>* m_cancel;
    bool m_stop = false;
    QSet<TFileId> m_folders;
    QSet<QByteArray> m_taken;
};

} // namespace

void CollectFiles(const QString& root, bool subDirs, const TTextFilter& filter,
                  const std::function<bool(const QByteArray&)>& found, TCollectNotes* notes,
                  const std::atomic<bool>* cancel) {
    TWalk(QFile::encodeName(root), subDirs, filter, found, notes, cancel).run();
}

QStringList CollectFiles(const QString& root, bool subDirs, const TTextFilter& filter) {
    QStringList out;
    CollectFiles(root, subDirs, filter, [&out](const QByteArray& path) {
        out << QFile::decodeName(path);
        return true;
    });
    return out;
}

} // namespace orvel
