#include "base/core/LogFile.h"

#include "OrvelVersion.h"
#include "base/core/TextCodec.h"
#include "base/core/Translate.h"

#include <QDir>
#include <QLocale>

namespace orvel {

TLogFile::TLogFile(const QString& logName, const QString& internalName, const QString& fileVersion)
    : m_logName(logName),
      m_internalName(internalName.isEmpty() ? QStringLiteral(ORVEL_INTERNAL_NAME) : internalName),
      m_fileVersion(fileVersion.isEmpty() ? QStringLiteral(ORVEL_FILE_VERSION) : fileVersion),
      m_file(logName) {
}

TLogFile::~TLogFile() {
    m_file.close();
}

QString TLogFile::headerLine() const {
    return m_internalName + T_(" (Vers. ") + m_fileVersion + u')';
}

QByteArray TLogFile::encodeLine(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t cp : text.toUcs4()) {
        const int byte = codec::unicodeToAnsi(cp);
        if (byte >= 0)
            out += char(byte);
        else
            out += QStringLiteral("<U+%1>")
                       .arg(uint(cp), 4, 16, QLatin1Char('0'))
                       .toUpper()
                       .toLatin1();
    }
    return out;
}

QString TLogFile::now() const {
    const QDateTime t = m_clock ? m_clock() : QDateTime::currentDateTime();
    return QLocale::system().toString(t, QLocale::ShortFormat);
}

void TLogFile::fail(const QString& message) {
    m_file.close();
    UseLog = false;
    if (m_onFailure)
        m_onFailure(message + QStringLiteral("\r\n") + T_("The file transfer log is turned off."));
}

bool TLogFile::Open() {
    if (!UseLog)
        return false;
    if (m_file.isOpen())
        return true;
    // Unbuffered: every line reaches the file with one write of its own.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        fail(fmt(T_("Cannot open the log file \"%s\":\r\n%s"),
                 {QDir::toNativeSeparators(m_logName), m_file.errorString()}));
        return false;
    }
    return true;
}

void TLogFile::writeLine(int indent, const QString& text) {
    if (m_echo)
        m_echo(QString(qMax(indent, 0), u' ') + text);
    if (!UseLog || !m_file.isOpen())
        return;
    QByteArray line(qMax(indent, 0), ' ');
    line += encodeLine(text);
    line += "\r\n";
    if (m_file.write(line) != line.size() || !m_file.flush())
        fail(fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(m_logName)}) +
             QStringLiteral("\r\n") + m_file.errorString());
}

void TLogFile::Header(const QString& title) {
    writeLine(0, headerLine());
    writeLine(0, title + QStringLiteral(": ") + now());
}

void TLogFile::TextLine(int indent, const QString& text) {
    writeLine(indent, text);
}

void TLogFile::DirLine(int indent, bool root, const QString& folder) {
    if (!folder.isEmpty())
        writeLine(indent, T_("Directory: ") + folder);
    else if (root)
        writeLine(indent, T_("Root directory"));
}

void TLogFile::ErrorLine(int indent, const QString& text) {
    writeLine(indent, errorMarker() + text);
}

void TLogFile::Summary(int indent, int deleted, int copied) {
    if (deleted < 0) {
        writeLine(indent, T_("Error on file transfer!"));
        return;
    }
    if (deleted == 0 && copied == 0) {
        writeLine(indent, T_("Nothing to do!"));
        return;
    }
    if (deleted > 0)
        writeLine(
            indent,
            T_("%u file(s) deleted").replace(QLatin1StringView("%u"), QString::number(deleted)));
    if (copied > 0)
        writeLine(
            indent,
            T_("%u file(s) copied").replace(QLatin1StringView("%u"), QString::number(copied)));
}

void TLogFile::Close() {
    writeLine(0, T_("Finished: ") + now());
    writeLine(0, QString());
    m_file.close();
}

} // namespace orvel
