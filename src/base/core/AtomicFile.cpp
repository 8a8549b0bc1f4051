#include "base/core/AtomicFile.h"

#include "base/core/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
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

bool mayWrite(const QByteArray& path) {
    return ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) == 0;
}

// No temporary file can be made beside a file in a folder we may not write to; a file we may
// write there is then written in place, as other editors do.
bool needsInPlace(const QString& target) {
    const QFileInfo info(target);
    return info.isFile() && !mayWrite(QFile::encodeName(info.absolutePath())) &&
           mayWrite(QFile::encodeName(target));
}

// Writes all parts from offset on; false with errno set when the disk takes no more.
bool writeAllAt(int fd, std::initializer_list<QByteArrayView> parts, off_t offset) {
    for (QByteArrayView part : parts) {
        for (qsizetype done = 0; done < part.size();) {
            const ssize_t n = ::pwrite(fd, part.data() + done, size_t(part.size() - done), offset);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    errno = ENOSPC;
                return false;
            }
            done += n;
            offset += n;
        }
    }
    return true;
}

bool syncFile(int fd) {
    // EINVAL: a file that cannot be synced (a pipe, some file systems) has nothing to wait for.
    return ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
}

// The new bytes go behind the old ones first and are synced: until then the old content stays
// whole, and a failure (a full disk) cuts the file back to it. Only then are the new bytes
// written over the front and the file cut to their size.
QString writeInPlace(const QString& target, std::initializer_list<QByteArrayView> parts,
                     bool ownerOnly) {
    const int fd = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    const auto fail = [fd](int error) {
        ::close(fd);
        return qt_error_string(error);
    };
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return fail(errno);
    if (!S_ISREG(st.st_mode))
        return fail(EINVAL);
    if (ownerOnly && ::fchmod(fd, 0600) != 0)
        return fail(errno);
    const off_t oldSize = st.st_size;
    off_t newSize = 0;
    for (QByteArrayView part : parts)
        newSize += part.size();
    if (!writeAllAt(fd, parts, oldSize) || !syncFile(fd)) {
        const int error = errno;
        if (::ftruncate(fd, oldSize) == 0)
            ::fsync(fd);
        return fail(error);
    }
    if (!writeAllAt(fd, parts, 0) || ::ftruncate(fd, newSize) != 0 || !syncFile(fd))
        return fail(errno);
    if (::close(fd) != 0)
        return qt_error_string(errno);
    return QString();
}

} // namespace

// Writes the parts one after the other, so that a large text needs no joined copy.
QString writePartsAtomically(const QString& fileName, std::initializer_list<QByteArrayView> parts,
                             bool ownerOnly) {
    QString target;
    if (!resolveLinks(fileName, target))
        return qt_error_string(ELOOP);
    QSaveFile file(target);
    // Unbuffered: a buffered write that the disk cuts short is not reported by the commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (needsInPlace(target))
            return writeInPlace(target, parts, ownerOnly);
        return orUnknown(file.errorString());
    }
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
