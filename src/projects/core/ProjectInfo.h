#pragma once
// A project: a named root folder with the site's settings, the way it is published and the
// documents that were open when it was left. One project per ".prj" file.

#include "base/core/Result.h"
#include "base/core/TextChange.h"
#include "textcontrol/core/TextTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace orvel {

class TUnicodeIniFile;

enum TTransferMode : int { tmOff = 0, tmDirect = 1, tmFtp = 2 };

struct TFtpProxyParams {
    QString Server;
    QString Username;
    QString Password;
    quint32 Port = 2121;
    quint8 Mode = 0; // 0: no proxy, 1..6: the connection method
};

// What is remembered of an open document.
struct TTextProps {
    TBufferCoord CursorPos; // column and line from 1
    quint32 TxtLangId = 0;
    int DateFormat = 0;
};

// One remembered document: its name (relative to the root where it lies inside) and props.
struct TTextFileInfo {
    QString Name;
    TTextProps Props;
};

constexpr int kMaxProjectFiles = 100;
constexpr int kMaxProjects = 100;
constexpr quint16 kDefaultFtpPort = 21;

class TProjectInfo {
public:
    explicit TProjectInfo(const QString& fileName = QString());

    QString ProjFileName;
    QString ProjName;
    QString ProjPath; // with a trailing "/" once set
    QString ActiveFile;
    QString SubDirs;
    QList<TTextFileInfo> FileList;
    TTextChange CaseMode = tcNone;
    quint32 LangId = 0;
    TTransferMode TransferMode = tmOff;
    QString TextTypes = QStringLiteral("htm*,htt,css,js");
    QString BinTypes = QStringLiteral("gif,jpg,png");
    QString RemotePath;
    QString Host;
    QString Username;
    QString Password; // plain text in memory only
    int Port = kDefaultFtpPort;
    int SecureMode = 0; // 0 no TLS .. 3 implicit TLS
    bool Reload = true;
    bool Changed = false;
    bool Passive = false;
    TFtpProxyParams ProxyPar;
    // SHA-256 fingerprint of the server certificate the user accepted though it failed
    // verification; empty for none.
    QString CertFingerprint;
    // Whether the FTP session writes its protocol log.
    bool ProtocolLog = false;
    // A new project writes UTF-8 without a mark, as the web expects; a stored project without
    // these keys still reads as ANSI with a mark (ReadFrom).
    TSynEncoding ProjEncoding = seUTF8;
    bool UseBom = false;

    // Appends the name (made relative) unless it is empty; the index or -1. Sets Changed.
    int Add(const QString& fileName, const TTextProps& props);
    // The stored props of that name, (1,1) and language 0 without an entry; the entry goes.
    TTextProps Remove(const QString& fileName);
    void SetActiveFile(const QString& fileName);
    void ClearFileList() { FileList.clear(); }
    int IndexOfFile(const QString& fileName) const;

    // The name relative to the root when it lies inside it ("" for the root itself); any
    // other name unchanged.
    QString RelativeName(const QString& fileName) const;
    // A stored name as a full path: relative ones are resolved against the root; "\" reads
    // as "/".
    QString FullName(const QString& storedName) const;

    // Section "Project". listIndex names a project without "Name"; defaultLangId is the
    // language when the file names none.
    void ReadFrom(const TUnicodeIniFile& ini, int listIndex, quint32 defaultLangId);
    // Erases the section and writes it whole, passwords enciphered with the store key.
    TStatus WriteTo(TUnicodeIniFile& ini) const;
    // Whether the file holds a password (and so is kept private to its owner).
    bool holdsPassword() const;
};

// "Project00" for list index 0.
QString defaultProjectName(int listIndex);
// The name proposed for the next project file: "Projekt03.prj" with two projects listed.
QString proposedProjectFileName(int projectCount);

// "index.htm|1,12,1031,0" and back. Missing or malformed numbers take their defaults:
// column 1, line 1, defaultLangId, date format 0.
QString formatFileEntry(const TTextFileInfo& entry);
TTextFileInfo parseFileEntry(const QString& value, quint32 defaultLangId);

// Reads the project's file into it; a missing or unreadable file leaves the defaults. False
// when the file holds no project.
bool ReadProject(TProjectInfo& project, int listIndex, quint32 defaultLangId);
// Writes the project's file when it changed, atomically (mode 0600 when it holds a
// password), and clears Changed. A failure names the file; Changed stays set then.
TStatus WriteProject(TProjectInfo& project);

// The project that should hold the files named on the command line: the first name that
// exists picks the first project whose root holds it, else the first whose file is named
// "Default"; -1 when none does (a default project is to be made); keepIndex when no named
// file exists.
int ProjectForFiles(const QList<const TProjectInfo*>& projects, const QStringList& files,
                    int keepIndex);

} // namespace orvel
