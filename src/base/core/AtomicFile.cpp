#include "base/core/AtomicFile.h"

#include "base/core/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace orvel {

namespace {

// The file a name finally stands for, following symbolic links (also dangling ones, so
// that saving creates the target instead of replacing the link).
bool resolveLinks(const QString& fileName, QString& target) {
    target = fileName;
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            return true;
        target = info.symLinkTarget();
    }
    return false;
}

// A rename gives the new file our owner and the default mode: hand back what we may, so
// that a file shared through its group stays shared and set-id bits survive.
void keepOwnerAndMode(QSaveFile& file, const QString& target) {
    struct stat st;
    if (::stat(QFile::encodeName(target).constData(), &st) != 0)
        return; // a new file
    const int fd = file.handle();
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
        // Only the superuser may give a file away; a group we belong to can still be kept.
        const bool given =
            ::fchown(fd, st.st_uid, st.st_gid) == 0 || ::fchown(fd, uid_t(-1), st.st_gid) == 0;
        Q_UNUSED(given);
    }
    ::fchmod(fd, st.st_mode & 07777);
}

// Writes the parts one after the other, so that a large text needs no joined copy.
} // namespace

QString writePartsAtomically(const QString& fileName, std::initializer_list<QByteArrayView> parts,
                             bool ownerOnly) {
    QString target;
    if (!resolveLinks(fileName, target))
        return qt_error_string(ELOOP);
    QSaveFile file(target);
    // Unbuffered: a buffered write that the disk cuts short is not reported by the commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return orUnknown(file.errorString());
    keepOwnerAndMode(file, target);
    if (ownerOnly && ::fchmod(file.handle(), 0600) != 0) {
        const int error = errno;
        file.cancelWriting();
        return qt_error_string(error);
    }
    for (QByteArrayView part : parts) {
        // A short write is no error yet: the next one tells why the disk took no more.
        for (qsizetype done = 0; done < part.size();) {
            const qint64 n = file.write(part.data() + done, part.size() - done);
            if (n <= 0) {
                const QString error = orUnknown(file.errorString());
                file.cancelWriting();
                return error;
            }
            done += n;
        }
    }
    // A disk that fills only when the data is flushed says so here (EINVAL: cannot sync).
    if (::fsync(file.handle()) != 0) {
        const int error = errno;
        if (error != EINVAL && error != EROFS) {
            file.cancelWriting();
            return qt_error_string(error);
        }
    }
    if (!file.commit())
        return orUnknown(file.errorString());
    return QString();
}

QString writeFileAtomically(const QString& fileName, QByteArrayView bytes, bool ownerOnly) {
    return writePartsAtomically(fileName, {bytes}, ownerOnly);
}

} // namespace orvel
