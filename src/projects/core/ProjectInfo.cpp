#include "projects/core/ProjectInfo.h"

#include "base/core/Errors.h"
#include "base/core/FileSystem.h"
#include "base/core/IniFileUtils.h"
#include "base/core/Translate.h"
#include "projects/core/PwdStore.h"

#include <QDir>
#include <QFileInfo>

namespace orvel {

namespace {
const QString kProject = QStringLiteral("Project");

// The padded length passwords are enciphered with.
constexpr int kPasswordPadding = 64;

QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(QString(path).replace(u'\\', u'/')).absoluteFilePath());
}

// The part of path below root, "" for the root itself; null when it lies elsewhere.
QString below(const QString& path, const QString& root) {
    if (path == root)
        return QStringLiteral("");
    const QString prefix = withSlash(root);
    if (path.startsWith(prefix))
        return path.mid(prefix.size());
    return QString();
}

// A number of a file entry: leading blanks skipped; malformed or out of range gives def.
qint64 entryNumber(const QString& text, qint64 min, qint64 max, qint64 def) {
    qint64 v = 0;
    if (!parseIniInteger(text.trimmed(), v) || v < min || v > max)
        return def;
    return v;
}

template <typename E> E enumValue(int v, int max, E def) {
    return v >= 0 && v <= max ? E(v) : def;
}

TResult<QString> encipher(const QString& password) {
    if (password.isEmpty())
        return QString();
    const QString text = EncodePassword(BuildStoreKey(), password, kPasswordPadding);
    if (text.isEmpty())
        return TResult<QString>::failure(
            T_("The password could not be enciphered: no random numbers."));
    return text;
}
} // namespace

TProjectInfo::TProjectInfo(const QString& fileName)
    : ProjFileName(fileName), ProjName(T_("<new>")) {
}

QString TProjectInfo::RelativeName(const QString& fileName) const {
    if (fileName.isEmpty() || ProjPath.isEmpty())
        return fileName;
    QString rel = below(cleanAbsolute(fileName), cleanAbsolute(ProjPath));
    if (rel.isNull()) // the root or the file may be reached through a link
        rel = below(normalizedPath(fileName), normalizedPath(ProjPath));
    return rel.isNull() ? fileName : rel;
}

QString TProjectInfo::FullName(const QString& storedName) const {
    const QString name = QString(storedName).replace(u'\\', u'/');
    if (QDir::isAbsolutePath(name) || ProjPath.isEmpty())
        return QDir::cleanPath(name);
    return QDir::cleanPath(withSlash(ProjPath) + name);
}

int TProjectInfo::IndexOfFile(const QString& fileName) const {
    const QString rel = RelativeName(fileName);
    for (int i = 0; i < FileList.size(); ++i)
        if (FileList.at(i).Name == rel)
            return i;
    return -1;
}

int TProjectInfo::Add(const QString& fileName, const TTextProps& props) {
    Changed = true;
    if (fileName.isEmpty())
        return -1;
    FileList.append({RelativeName(fileName), props});
    return int(FileList.size()) - 1;
}

TTextProps TProjectInfo::Remove(const QString& fileName) {
    Changed = true;
    const int i = IndexOfFile(fileName);
    if (i < 0)
        return {};
    return FileList.takeAt(i).Props;
}

void TProjectInfo::SetActiveFile(const QString& fileName) {
    ActiveFile = RelativeName(fileName);
    Changed = true;
}

bool TProjectInfo::holdsPassword() const {
    return TransferMode == tmFtp && (!Password.isEmpty() || !ProxyPar.Password.isEmpty());
}

QString defaultProjectName(int listIndex) {
    return QStringLiteral("Project") + QStringLiteral("%1").arg(listIndex, 2, 10, QLatin1Char('0'));
}

QString proposedProjectFileName(int projectCount) {
    return QStringLiteral("Projekt%1.prj").arg(projectCount + 1, 2, 10, QLatin1Char('0'));
}

QString formatFileEntry(const TTextFileInfo& entry) {
    const TTextProps& p = entry.Props;
    // Joined, not filled in with arg(): a "%1" in a file name must stay as it is.
    return entry.Name + u'|' + QString::number(p.CursorPos.Char) + u',' +
           QString::number(p.CursorPos.Line) + u',' + QString::number(p.TxtLangId) + u',' +
           QString::number(p.DateFormat);
}

TTextFileInfo parseFileEntry(const QString& value, quint32 defaultLangId) {
    TTextFileInfo e;
    const qsizetype bar = value.indexOf(u'|');
    e.Name = bar < 0 ? value : value.left(bar);
    const QStringList numbers = bar < 0 ? QStringList() : value.mid(bar + 1).split(u',');
    const auto number = [&numbers](int i, qint64 min, qint64 max, qint64 def) {
        return i < numbers.size() ? entryNumber(numbers.at(i), min, max, def) : def;
    };
    e.Props.CursorPos.Char = int(number(0, 1, INT_MAX, 1));
    e.Props.CursorPos.Line = int(number(1, 1, INT_MAX, 1));
    e.Props.TxtLangId = quint32(number(2, 0, 0xFFFF, defaultLangId));
    e.Props.DateFormat = int(number(3, 0, INT_MAX, 0));
    return e;
}

void TProjectInfo::ReadFrom(const TUnicodeIniFile& ini, int listIndex, quint32 defaultLangId) {
    ProjName = ini.ReadString(kProject, QStringLiteral("Name"), defaultProjectName(listIndex));
    ProjPath = withSlash(ini.ReadString(kProject, QStringLiteral("Path"), QString()));
    ActiveFile = ini.ReadString(kProject, QStringLiteral("Active"), QString());
    SubDirs = ini.ReadString(kProject, QStringLiteral("SubDirs"), QString());
    TextTypes = ini.ReadString(kProject, QStringLiteral("TextTypes"), TextTypes);
    BinTypes = ini.ReadString(kProject, QStringLiteral("BinTypes"), BinTypes);
    CaseMode = enumValue(ini.ReadInteger(kProject, QStringLiteral("ChangeNames"), 0), 2, tcNone);
    const int lang =
        ini.ReadInteger(kProject, QStringLiteral("DictionaryLanguage"), int(defaultLangId));
    LangId = lang >= 0 && lang <= 0xFFFF ? quint32(lang) : defaultLangId;

    FileList.clear();
    const int count = qMin(ini.ReadInteger(kProject, QStringLiteral("Count"), 0), kMaxProjectFiles);
    for (int i = 0; i < count; ++i) {
        const QString value =
            ini.ReadString(kProject, paddedKey(QStringLiteral("Name"), i), QString());
        TTextFileInfo entry = parseFileEntry(value, LangId);
        if (!entry.Name.isEmpty())
            FileList.append(entry);
    }

    TransferMode =
        enumValue(ini.ReadInteger(kProject, QStringLiteral("TransferMode"), 0), 2, tmOff);
    const QByteArray key = TransferMode == tmFtp ? BuildStoreKey() : QByteArray();
    RemotePath = TransferMode == tmOff
                     ? QString()
                     : ini.ReadString(kProject, QStringLiteral("RemotePath"), QString());
    if (TransferMode == tmFtp) {
        Host = ini.ReadString(kProject, QStringLiteral("Host"), QString());
        const int port = ini.ReadInteger(kProject, QStringLiteral("Port"), kDefaultFtpPort);
        Port = port >= 1 && port <= 65535 ? port : kDefaultFtpPort;
        Username = ini.ReadString(kProject, QStringLiteral("Username"), QString());
        Password = DecodePassword(key, ini.ReadString(kProject, QStringLiteral("Password"), {}));
        SecureMode = qBound(0, ini.ReadInteger(kProject, QStringLiteral("UseTLS"), 0), 3);
        Passive = ini.ReadBool(kProject, QStringLiteral("Passive"), false);
        ProxyPar.Server = ini.ReadString(kProject, QStringLiteral("ProxyServer"), QString());
        const int proxyPort = ini.ReadInteger(kProject, QStringLiteral("ProxyPort"), 2121);
        ProxyPar.Port = proxyPort >= 0 && proxyPort <= 65535 ? quint32(proxyPort) : 2121;
        ProxyPar.Username = ini.ReadString(kProject, QStringLiteral("ProxyUsername"), QString());
        ProxyPar.Password =
            DecodePassword(key, ini.ReadString(kProject, QStringLiteral("ProxyPassword"), {}));
        ProxyPar.Mode =
            quint8(qBound(0, ini.ReadInteger(kProject, QStringLiteral("ProxyType"), 0), 6));
        CertFingerprint = ini.ReadString(kProject, QStringLiteral("CertFingerprint"), QString());
        ProtocolLog = ini.ReadBool(kProject, QStringLiteral("ProtocolLog"), false);
    }
    ProjEncoding = enumValue(ini.ReadInteger(kProject, QStringLiteral("Encoding"), 3), 3, seAnsi);
    UseBom = ini.ReadBool(kProject, QStringLiteral("UseBom"), true);
    Reload = ini.ReadBool(kProject, QStringLiteral("Reload"), true);
}

TStatus TProjectInfo::WriteTo(TUnicodeIniFile& ini) const {
    // Both passwords first, so that a failure leaves the section as it was.
    const TResult<QString> password = TransferMode == tmFtp ? encipher(Password) : QString();
    if (!password.ok())
        return password.status();
    const TResult<QString> proxyPassword =
        TransferMode == tmFtp ? encipher(ProxyPar.Password) : QString();
    if (!proxyPassword.ok())
        return proxyPassword.status();
    ini.EraseSection(kProject);
    ini.WriteString(kProject, QStringLiteral("Name"), ProjName);
    ini.WriteString(kProject, QStringLiteral("Path"), ProjPath);
    ini.WriteString(kProject, QStringLiteral("Active"), ActiveFile);
    ini.WriteString(kProject, QStringLiteral("SubDirs"), SubDirs);
    ini.WriteString(kProject, QStringLiteral("TextTypes"), TextTypes);
    ini.WriteString(kProject, QStringLiteral("BinTypes"), BinTypes);
    ini.WriteInteger(kProject, QStringLiteral("ChangeNames"), CaseMode);
    ini.WriteInteger(kProject, QStringLiteral("DictionaryLanguage"), int(LangId));
    ini.WriteInteger(kProject, QStringLiteral("Count"), int(FileList.size()));
    for (int i = 0; i < FileList.size(); ++i)
        ini.WriteString(kProject, paddedKey(QStringLiteral("Name"), i),
                        formatFileEntry(FileList.at(i)));
    ini.WriteInteger(kProject, QStringLiteral("TransferMode"), TransferMode);
    if (TransferMode == tmDirect)
        ini.WriteString(kProject, QStringLiteral("RemotePath"), RemotePath);
    if (TransferMode == tmFtp) {
        ini.WriteString(kProject, QStringLiteral("Host"), Host);
        ini.WriteInteger(kProject, QStringLiteral("Port"), Port);
        ini.WriteString(kProject, QStringLiteral("Username"), Username);
        ini.WriteString(kProject, QStringLiteral("Password"), password.value());
        ini.WriteString(kProject, QStringLiteral("RemotePath"), RemotePath);
        ini.WriteInteger(kProject, QStringLiteral("UseTLS"), SecureMode);
        ini.WriteBool(kProject, QStringLiteral("Passive"), Passive);
        ini.WriteString(kProject, QStringLiteral("ProxyServer"), ProxyPar.Server);
        ini.WriteInteger(kProject, QStringLiteral("ProxyPort"), int(ProxyPar.Port));
        ini.WriteString(kProject, QStringLiteral("ProxyUsername"), ProxyPar.Username);
        ini.WriteString(kProject, QStringLiteral("ProxyPassword"), proxyPassword.value());
        ini.WriteInteger(kProject, QStringLiteral("ProxyType"), ProxyPar.Mode);
        // Older readers ignore these.
        if (!CertFingerprint.isEmpty())
            ini.WriteString(kProject, QStringLiteral("CertFingerprint"), CertFingerprint);
        ini.WriteBool(kProject, QStringLiteral("ProtocolLog"), ProtocolLog);
    }
    ini.WriteInteger(kProject, QStringLiteral("Encoding"), ProjEncoding);
    ini.WriteBool(kProject, QStringLiteral("UseBom"), UseBom);
    // Older readers ignore it.
    ini.WriteBool(kProject, QStringLiteral("Reload"), Reload);
    return TStatus();
}

bool ReadProject(TProjectInfo& project, int listIndex, quint32 defaultLangId) {
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(project.ProjFileName);
    project.ReadFrom(ini, listIndex, defaultLangId);
    return ini.SectionExists(kProject);
}

TStatus WriteProject(TProjectInfo& project) {
    if (!project.Changed || project.ProjFileName.isEmpty())
        return TStatus();
    TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(project.ProjFileName);
    if (const TStatus s = project.WriteTo(ini); !s.ok())
        return TStatus::failure(fmt(T_("Error writing to \"%s\""), {project.ProjFileName}) + u'\n' +
                                s.error());
    ini.setOwnerOnly(project.holdsPassword());
    if (const TStatus s = ini.UpdateFile(); !s.ok())
        return s;
    project.Changed = false;
    return TStatus();
}

int ProjectForFiles(const QList<const TProjectInfo*>& projects, const QStringList& files,
                    int keepIndex) {
    QString folder;
    for (const QString& name : files)
        if (QFileInfo(name).isFile()) {
            folder = QFileInfo(name).absolutePath();
            break;
        }
    if (folder.isEmpty())
        return keepIndex;
    for (int i = 0; i < projects.size(); ++i) {
        const QString root = projects.at(i)->ProjPath;
        if (!root.isEmpty() && (isPathBelow(folder, root) ||
                                isPathBelow(normalizedPath(folder), normalizedPath(root))))
            return i;
    }
    for (int i = 0; i < projects.size(); ++i)
        if (QFileInfo(projects.at(i)->ProjFileName)
                .completeBaseName()
                .compare(QStringLiteral("Default"), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace orvel
