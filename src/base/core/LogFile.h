#pragma once
// The file transfer log: runs appended as sections of 8-bit lines, each written through at
// once so that a crash in the middle of a transfer still leaves what was done.

#include <QDateTime>
#include <QFile>
#include <QString>
#include <functional>

namespace orvel {

class TLogFile {
public:
    using TClock = std::function<QDateTime()>;
    using TFailureHandler = std::function<void(const QString& message)>;

    // internalName and fileVersion make the header line; empty ones take the compiled
    // version record.
    explicit TLogFile(const QString& logName, const QString& internalName = QString(),
                      const QString& fileVersion = QString());
    ~TLogFile();
    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;

    // Whether logging is on. Every writer does nothing while it is false.
    bool UseLog = true;

    const QString& logName() const { return m_logName; }
    bool isOpen() const { return m_file.isOpen(); }

    // Called at the first failure to open or write the log, with the message for the user.
    // Logging is off from then on, so the user hears of it once.
    void setFailureHandler(TFailureHandler handler) { m_onFailure = std::move(handler); }
    // Sees every line as it is written, also while logging is off: a run without windows
    // prints them.
    void setEcho(std::function<void(const QString& line)> echo) { m_echo = std::move(echo); }
    // The time written into the lines; the system clock unless set.
    void setClock(TClock clock) { m_clock = std::move(clock); }

    // Opens the log for appending, creating it when missing. False when logging is off or
    // the log cannot be opened (logging then turns off).
    bool Open();
    // The header line and the run's title with the date and time.
    void Header(const QString& title);
    void TextLine(int indent, const QString& text);
    // "Directory: " + folder; an empty folder gives "Root directory" with root set, else
    // nothing.
    void DirLine(int indent, bool root, const QString& folder);
    // The error marker the viewer jumps to, then the text.
    void ErrorLine(int indent, const QString& text);
    // deleted below 0 means the transfer failed.
    void Summary(int indent, int deleted, int copied);
    // The closing line and an empty line, then the file is closed.
    void Close();

    // The marker every error line starts with.
    static QString errorMarker() { return QStringLiteral("*** "); }
    // The header line that starts every section.
    QString headerLine() const;
    // Text as the log stores it: Windows-1252, a character it cannot hold as "<U+XXXX>".
    static QByteArray encodeLine(const QString& text);

private:
    void writeLine(int indent, const QString& text);
    QString now() const;
    void fail(const QString& reason);

    QString m_logName;
    QString m_internalName;
    QString m_fileVersion;
    QFile m_file;
    TClock m_clock;
    TFailureHandler m_onFailure;
    std::function<void(const QString& line)> m_echo;
};

} // namespace orvel
