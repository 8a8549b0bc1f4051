#pragma once
// What a transfer asks the user and where it shows its progress, behind interfaces: the
// program shows real dialogs and the status window, a run without windows and the tests
// answer otherwise. The session may ask from a worker thread; an implementation that shows
// windows brings the question to the user-interface thread.

#include <QDateTime>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace orvel {

class TUnicodeIniFile;

// The server certificate of a TLS connection, as shown to the user.
struct TCerticateInfo {
    QString Server;  // "ftps://host:port"
    QString Subject; // one line
    QString Issuer;  // one line
    QString Version;
    QString SerialNumber;
    QString Fingerprint; // SHA-256, upper-case hex pairs joined by ":"
    QDateTime ValidFrom;
    QDateTime ValidUntil;
    QStringList Reasons; // why it failed verification; empty when it passed
};

// The transfer mode word: the low three bits choose the files, the higher bits are options.
enum TTransferSelection : int {
    tfCurrentFile = 0,  // only the current file
    tfCurrentDir = 1,   // the project files of the current file's folder
    tfAllFiles = 2,     // all project files
    tfChosenDir = 3,    // all files of a chosen folder that match the filter
    tfChangedFiles = 4, // the files of the changed documents
};
constexpr int kTransferSelectionMask = 7;
constexpr int kTransferSubDirs = 8;
constexpr int kTransferSync = 16;
constexpr int kTransferOverwrite = 32;
// Not a transfer: the list of what would be done, the destination untouched.
constexpr int kTransferDryRun = 64;

// What the transfer dialog is given and returns.
struct TTransferChoice {
    QString Destination; // FTP: host + "|" + remote folder; Direct: the destination folder
    QString ProjectRoot; // with a trailing "/"
    // In: the current document's file name (empty without one). Out with tfChosenDir: the
    // chosen folder relative to the root ("" for the root).
    QString Directory;
    QString SubDirs;                        // the project's folder list; replaced with tfChosenDir
    QString Filter = QStringLiteral("*.*"); // out: "*.*", or the dialog's filter with tfChosenDir
    int Mode = tfAllFiles;                  // out: the mode word
};

// The status window of a run. Texts are shown as given; a run without windows prints or
// drops them.
class IPublishMonitor {
public:
    virtual ~IPublishMonitor() = default;
    // Shown (not modal) with its caption, the destination and the action; the stop flag and
    // the lists are cleared.
    virtual void ShowWindow(const QString& title, const QString& dest, const QString& action) = 0;
    virtual void StartDelete() = 0;
    virtual void StartSync() = 0;
    virtual void StartCopy() = 0;
    virtual void SetDirectory(const QString& dir) = 0;
    virtual void SetAction(const QString& action) = 0;
    virtual void SetTarget(const QString& target) = 0;
    // A line of the protocol list, shown as the status line too.
    virtual void SetStatus(const QString& text) = 0;
    virtual void SetError(const QString& text) = 0;
    // Bytes done of size; a size of 0 clears the progress.
    virtual void UpdateProgress(qint64 bytes, qint64 size) = 0;
    // Whether the user asked the run to stop.
    virtual bool Stopped() const = 0;
    // The final state with the counts (deleted below 0: the run failed); a window waits for
    // its "OK" here.
    virtual void CloseWindow(int deleted, int copied) = 0;
    // The final state of a dry run: what would have been deleted and copied.
    virtual void CloseDryRun(int deleted, int copied) = 0;
    // Gone without a final state: the caller reports what happened.
    virtual void HideWindow() = 0;
    // In front of the other windows again (the program was activated while it runs).
    virtual void BringToFront() {}
};

class ITransferDialogs {
public:
    virtual ~ITransferDialogs() = default;
    // A server certificate that failed verification: true when the user accepts it (it is
    // then pinned), false to refuse the connection.
    virtual bool confirmCertificate(const TCerticateInfo& info) = 0;
    // The transfer dialog near pos: true on "Start" (or "Show what would be done", which
    // adds kTransferDryRun to the mode word).
    virtual bool selectTransfer(QPoint pos, TTransferChoice& choice) = 0;
    // A password the project does not hold; false when the user cancelled.
    virtual bool askPassword(const QString& title, const QString& prompt, QString& password) = 0;
    // The status window of the runs.
    virtual IPublishMonitor& statusWindow() = 0;
    // The dialogs' own settings (filter history, window placement), written at exit.
    virtual void saveSettings(TUnicodeIniFile& ini) { Q_UNUSED(ini); }
};

} // namespace orvel
