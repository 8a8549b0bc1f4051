#include "projects/core/FtpCopyUtils.h"

#include "base/core/Translate.h"
#include "projects/core/FtpUtils.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace orvel {

namespace {
// Beyond this a comparison keeps the downloaded copy in a file.
constexpr qint64 kCompareInMemory = 52428800;
constexpr int kCancelPause = 1000;
constexpr int kAbortPause = 200;

void waitProcessing(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(10);
    }
}
} // namespace

TCopyThread::TCopyThread(const QString& sourceName, const QString& destName, int bufSize,
                         Priority priority)
    : m_bufSize(bufSize > 0 ? bufSize : kDefaultBufSize), m_source(sourceName), m_dest(destName),
      m_priority(priority) {
    TempDir = QDir::tempPath();
}

TCopyThread::~TCopyThread() {
    stopAndJoin();
}

void TCopyThread::stopAndJoin() {
    if (isRunning()) {
        m_userBreak = true;
        WaitUntilDone();
    }
    wait();
}

void TCopyThread::Start() {
    beforeStart();
    start(m_priority);
}

void TCopyThread::RunHere() {
    finish(Execute());
    m_done = true;
}

void TCopyThread::run() {
    RunHere();
}

void TCopyThread::finish(int code) {
    if (!m_sysError.isEmpty())
        m_sysErrMsg = fmt(T_("System error: %s"), {m_sysError});
    m_error = code == crDone ? 0 : code + FErrFlag;
}

void TCopyThread::noteSystemError(const QString& text) {
    const int err = errno;
    m_sysError = text.isEmpty() ? QString::fromLocal8Bit(std::strerror(err)) : text;
}

void TCopyThread::Progress(quint8 action, quint8 flag, qint64 count) {
    if (!m_onProgress)
        return;
    if (QThread::currentThread() == thread()) {
        m_onProgress(action, flag, count);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, action, flag, count] { m_onProgress(action, flag, count); },
        Qt::BlockingQueuedConnection);
}

void TCopyThread::WaitUntilDone() {
    while (!Done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(10);
    }
    wait();
}

void TCopyThread::CancelThread() {
    RequestStop();
    WaitUntilDone();
}

int TCopyThread::compareWith(QFile& source, QIODevice& copy) {
    if (source.size() != copy.size())
        return crSizeDiffers;
    if (!source.seek(0) || !copy.seek(0))
        return crReadFailed;
    QByteArray a(m_bufSize, Qt::Uninitialized), b(m_bufSize, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const qint64 n = source.read(a.data(), a.size());
        if (n < 0) {
            noteSystemError(source.errorString());
            return crReadFailed;
        }
        if (n == 0)
            return crDone;
        qint64 m = 0;
        while (m < n) {
            const qint64 k = copy.read(b.data() + m, n - m);
            if (k <= 0) {
                noteSystemError(copy.errorString());
                return crCopyUnreadable;
            }
            m += k;
        }
        if (std::memcmp(a.constData(), b.constData(), size_t(n)) != 0)
            return crContentDiffers;
        done += n;
        Progress(caCompare, 0, done);
    }
}

int TCopyThread::Execute() {
    const QFileInfo info(m_source);
    if (!info.isFile())
        return crNoSource;
    if (m_dest.isEmpty())
        return crNoDestination;
    QFile source(m_source);
    if (!source.open(QIODevice::ReadOnly)) {
        noteSystemError(source.errorString());
        return crNoSource;
    }
    // Written aside and put in place whole: a failure or a cancel leaves the old file.
    QSaveFile dest(m_dest);
    if (!dest.open(QIODevice::WriteOnly)) {
        noteSystemError(dest.errorString());
        return crWriteFailed;
    }
    Progress(caWrite, 0, -source.size());
    QByteArray buffer(m_bufSize, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        if (m_userBreak) {
            dest.cancelWriting();
            return crCancelled;
        }
        const qint64 n = source.read(buffer.data(), buffer.size());
        if (n < 0) {
            noteSystemError(source.errorString());
            dest.cancelWriting();
            return crReadFailed;
        }
        if (n == 0)
            break;
        if (dest.write(buffer.constData(), n) != n) {
            noteSystemError(dest.errorString());
            dest.cancelWriting();
            return crWriteFailed;
        }
        done += n;
        Progress(caWrite, 0, done);
    }
    if (!dest.commit()) {
        noteSystemError(dest.errorString());
        return crWriteFailed;
    }
    if (CopyTimeStamp) {
        QFile copy(m_dest);
        if (!copy.open(QIODevice::ReadOnly) ||
            !copy.setFileTime(info.lastModified(), QFileDevice::FileModificationTime))
            noteSystemError(copy.errorString());
    }
    if (Verify) {
        QFile copy(m_dest);
        if (!copy.open(QIODevice::ReadOnly)) {
            noteSystemError(copy.errorString());
            return crCopyUnreadable;
        }
        return compareWith(source, copy);
    }
    return crDone;
}

TWriteFtpThread::TWriteFtpThread(TExtFtp* ftp, const QString& sourceName, const QString& remoteDir,
                                 const QString& remoteName, bool verify, int bufSize,
                                 Priority priority)
    : TCopyThread(sourceName, remoteName, bufSize, priority), m_ftp(ftp),
      m_destDir(remoteDir.isEmpty() ? ftp->CurrentDir() : remoteDir), m_home(ftp->thread()) {
    Verify = verify;
    ftp->InvalidateListing();
    // The session reports from the worker's thread; Progress carries it over.
    m_progress = connect(
        ftp, &TFtpClient::Work, ftp, [this](qint64 bytes) { Progress(m_action, 0, bytes); },
        Qt::DirectConnection);
}

TWriteFtpThread::~TWriteFtpThread() {
    if (isRunning())
        CancelThread();
    stopAndJoin();
    disconnect(m_progress);
}

void TWriteFtpThread::beforeStart() {
    // The session's sockets must live in the thread that uses them.
    m_ftp->moveToThread(this);
}

int TWriteFtpThread::Execute() {
    // Back to its own thread before the caller may touch it again.
    struct TBackHome {
        TExtFtp* ftp;
        QThread* home;
        ~TBackHome() { ftp->moveToThread(home); }
    } back{m_ftp, m_home};

    if (!QFileInfo(SourceName()).isFile())
        return crNoSource;
    if (DestName().isEmpty())
        return crNoDestination;
    if (m_ftp->thread() != QThread::currentThread()) {
        // A session with a parent cannot change threads; it must not be used from here.
        noteSystemError(T_("The FTP session could not be handed to the worker."));
        return frNotConnected;
    }
    QFile source(SourceName());
    if (!source.open(QIODevice::ReadOnly)) {
        noteSystemError(source.errorString());
        return crNoSource;
    }
    const qint64 size = source.size();
    m_action = caWrite;
    Progress(caWrite, 0, -size);
    int code = m_ftp->Flush(&source, DestName(), false);
    m_fileSize = size;
    if (m_userBreak) {
        // The window's own thread never sleeps.
        if (!RunsHere())
            QThread::msleep(kCancelPause);
        code = crCancelled;
    }
    if (Verify && code == crDone)
        code = verifyUpload(source);
    return code;
}

int TWriteFtpThread::verifyUpload(QFile& source) {
    m_action = caRead;
    const QString name = m_ftp->ModifyName(DestName());
    int code = crDone;
    if (source.size() > kCompareInMemory) {
        QFile copy(QDir(TempDir).filePath(QStringLiteral("compare.tmp")));
        if (!copy.open(QIODevice::ReadWrite | QIODevice::Truncate)) {
            noteSystemError(copy.errorString());
            return crCopyUnreadable;
        }
        code = m_ftp->Get(name, &copy).ok() ? compareWith(source, copy) : crCopyUnreadable;
        copy.remove();
    } else {
        QBuffer copy;
        copy.open(QIODevice::ReadWrite);
        code = m_ftp->Get(name, &copy).ok() ? compareWith(source, copy) : crCopyUnreadable;
    }
    m_action = caWrite;
    return code;
}

void TWriteFtpThread::RequestStop() {
    m_userBreak = true;
    if (m_ftp->Connected())
        m_ftp->AbortTransfer();
}

void TWriteFtpThread::CancelThread() {
    const bool connected = m_ftp->Connected();
    RequestStop();
    if (connected)
        waitProcessing(kAbortPause);
    WaitUntilDone();
}

} // namespace orvel
