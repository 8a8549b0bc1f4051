#pragma once
// The workers that move one file each while the caller's thread stays alive: TCopyThread
// copies to a local or network folder, TWriteFtpThread uploads through the FTP session.
// Progress runs on the creating thread, which waits for it: the creator must process
// events while a worker runs (WaitUntilDone does).

#include <QString>
#include <QThread>
#include <atomic>
#include <functional>

class QFile;
class QIODevice;

namespace orvel {

class TExtFtp;

// Result codes of the workers, before FErrFlag is added.
enum TCopyResult : int {
    crDone = 0,
    crCancelled = 128,
    crNoDestination = 257,
    crNoSource = 258,
    crReadFailed = 260,  // reading the source failed (also in a comparison)
    crWriteFailed = 261, // writing the destination failed
    crSizeDiffers = 277, // comparison: sizes differ
    crContentDiffers = 286,
    crCopyUnreadable = 772, // comparison: the downloaded copy could not be read
};

// Actions of the progress reports.
enum TCopyAction : quint8 { caCompare = 6, caWrite = 9, caRead = 10 };

class TCopyThread : public QThread {
    Q_OBJECT
public:
    static constexpr int FErrFlag = 4096;
    static constexpr int kDefaultBufSize = 262144;
    // A negative count announces the total (its absolute value); others are bytes done.
    using TProgress = std::function<void(quint8 action, quint8 flag, qint64 count)>;

    // Made waiting; Start() runs it.
    TCopyThread(const QString& sourceName, const QString& destName, int bufSize = kDefaultBufSize,
                Priority priority = NormalPriority);
    // Asks a running worker to stop and waits for it (processing events).
    ~TCopyThread() override;

    void Start();
    // Runs the job on the calling thread, for jobs shorter than starting a thread and handing
    // it the session; a stop then comes through RequestStop from the caller's own events.
    void RunHere();
    bool RunsHere() const { return m_runsHere; }
    void setRunsHere(bool here) { m_runsHere = here; }
    // Asks the job to stop without waiting for it (safe from inside the job's own waits).
    virtual void RequestStop() { m_userBreak = true; }
    void SetOnProgress(TProgress handler) { m_onProgress = std::move(handler); }
    bool Done() const { return m_done.load(); }
    // 0, or the result code plus FErrFlag; read once Done.
    int ErrorCode() const { return m_error; }
    const QString& SysErrorMsg() const { return m_sysErrMsg; }
    const QString& SourceName() const { return m_source; }
    const QString& DestName() const { return m_dest; }

    bool CopyTimeStamp = true; // the destination gets the source's time
    bool CheckTime = true;
    bool Verify = false; // compare the destination with the source afterwards
    QString TempDir;     // where large comparisons keep the downloaded copy

    // Asks the worker to stop and waits until it is done.
    virtual void CancelThread();
    // Processes events in 10 ms steps until the worker is done.
    void WaitUntilDone();

protected:
    void run() final;
    // Runs on the creating thread right before the worker starts.
    virtual void beforeStart() {}
    // The thread body; returns the result code.
    virtual int Execute();
    // Reports on the creating thread and waits until it has run there.
    void Progress(quint8 action, quint8 flag, qint64 count);
    // Records errno of a failed system call.
    void noteSystemError(const QString& text);
    // Compares the destination (read through readCopy) with the source block by block.
    int compareWith(QFile& source, QIODevice& copy);
    // A running worker is stopped and joined; derived classes call it in their destructor.
    void stopAndJoin();

    std::atomic<bool> m_userBreak{false};
    int m_bufSize;

private:
    void finish(int code);

    QString m_source;
    QString m_dest;
    Priority m_priority;
    TProgress m_onProgress;
    std::atomic<bool> m_done{false};
    bool m_runsHere = false;
    int m_error = 0;
    QString m_sysErrMsg;
    QString m_sysError;
};

class TWriteFtpThread : public TCopyThread {
    Q_OBJECT
public:
    // ftp must have no parent: the worker takes it into its thread for the upload and hands
    // it back before it is done. remoteDir is the directory the upload goes to (the
    // session's current one).
    TWriteFtpThread(TExtFtp* ftp, const QString& sourceName, const QString& remoteDir,
                    const QString& remoteName, bool verify = false, int bufSize = kDefaultBufSize,
                    Priority priority = NormalPriority);
    ~TWriteFtpThread() override;

    qint64 DestSize() const { return m_fileSize; }
    const QString& DestDir() const { return m_destDir; }
    void CancelThread() override;
    void RequestStop() override;

protected:
    void beforeStart() override;
    int Execute() override;

private:
    int verifyUpload(QFile& source);

    TExtFtp* m_ftp;
    QString m_destDir;
    qint64 m_fileSize = 0;
    QThread* m_home;
    QMetaObject::Connection m_progress;
    std::atomic<quint8> m_action{caWrite};
};

} // namespace orvel
