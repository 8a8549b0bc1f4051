#include "base/core/ShellDirLogic.h"

#include "base/core/Errors.h"
#include "base/core/FileSystem.h"
#include "base/core/IniFileUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace orvel {

namespace {
const QString kRoot = QStringLiteral("/");

template <typename Pred> QStringList mountPoints(const QByteArray& mounts, Pred wanted) {
    QStringList out;
    for (const QByteArray& line : mounts.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() < 3 || !wanted(f[0], f[2]))
            continue;
        const QString point = QDir::cleanPath(unescapeMountField(f[1]));
        if (point != kRoot && !out.contains(point))
            out << point;
    }
    return out;
}

QByteArray readMountTable() {
    QFile f(QStringLiteral("/proc/self/mounts"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString parentFolder(const QString& folder) {
    if (folder == kRoot)
        return kRoot;
    const QString parent = QFileInfo(folder).path();
    return parent.isEmpty() ? kRoot : parent;
}

void makeWritable(const QString& path, QFileDevice::Permissions wanted) {
    const QFileDevice::Permissions p = QFile::permissions(path);
    if ((p & wanted) != wanted)
        QFile::setPermissions(path, p | wanted);
}

bool deleteTree(const QString& folder, const TDeleteOps& ops, TFolderDeletion& result) {
    // Without write and search rights on the folder nothing in it could go.
    makeWritable(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);
    bool all = true;
    for (const QFileInfo& fi : entries) {
        const QString path = fi.absoluteFilePath();
        if (fi.isDir() && !fi.isSymLink()) {
            all = deleteTree(path, ops, result) && all;
            continue;
        }
        if (!fi.isSymLink())
            makeWritable(path, QFileDevice::WriteOwner);
        if (ops.removeFile(path)) {
            ++result.files;
        } else {
            all = false;
            if (result.failed.isEmpty())
                result.failed = path;
        }
    }
    if (all && ops.removeDir(folder)) {
        ++result.dirs;
        return true;
    }
    if (result.failed.isEmpty())
        result.failed = folder;
    return false;
}
} // namespace

TShellPlaces TShellPlaces::current() {
    TShellPlaces p;
    const QString home = QDir::homePath();
    p.desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (p.desktop.isEmpty() || !QFileInfo(p.desktop).isDir())
        p.desktop = home;
    p.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (p.documents.isEmpty() || !QFileInfo(p.documents).isDir())
        p.documents = home;
    const QByteArray mounts = readMountTable();
    p.networkMounts = networkMountsIn(mounts);
    p.volumes = volumesIn(mounts);
    return p;
}

QStringList networkMountsIn(const QByteArray& mounts) {
    return mountPoints(mounts, [](const QByteArray&, const QByteArray& type) {
        return isNetworkFileSystem(type);
    });
}

QStringList volumesIn(const QByteArray& mounts) {
    return mountPoints(mounts, [](const QByteArray& device, const QByteArray& type) {
        return isNetworkFileSystem(type) || (device.startsWith("/dev/") && type != "squashfs");
    });
}

QString shellRootTop(TShellRoot root, const TShellPlaces& places, const QString& folder) {
    switch (root) {
    case TShellRoot::Computer:
        return kRoot;
    case TShellRoot::Desktop:
        return recentFolderName(places.desktop);
    case TShellRoot::Documents:
        return recentFolderName(places.documents);
    case TShellRoot::Network:
        break;
    }
    // The deepest mount wins: shares can be mounted inside each other.
    QString best;
    for (const QString& m : places.networkMounts)
        if (!folder.isEmpty() && isPathBelow(folder, m) && m.size() > best.size())
            best = m;
    if (best.isEmpty() && !places.networkMounts.isEmpty())
        best = places.networkMounts.first();
    return recentFolderName(best);
}

TShellView shellViewFor(const TShellView& current, const QString& folder) {
    const QString f = recentFolderName(folder);
    if (current.root != TShellRoot::Computer && isPathBelow(f, current.top))
        return {current.root, current.top, f};
    return {TShellRoot::Computer, kRoot, f};
}

TShellView shellStartView(const QString& path, const QString& defaultDir,
                          const TShellPlaces& places) {
    const QString given = path.trimmed().isEmpty() ? defaultDir.trimmed() : path.trimmed();
    if (given.isEmpty()) {
        const QString desktop = recentFolderName(places.desktop);
        return {TShellRoot::Desktop, desktop, desktop};
    }
    const QString f = recentFolderName(given);
    if (!QDir::isAbsolutePath(given) || !QFileInfo(f).isDir())
        return {TShellRoot::Computer, kRoot, recentFolderName(places.documents)};
    for (const QString& m : places.networkMounts)
        if (isPathBelow(f, m))
            return {TShellRoot::Network, shellRootTop(TShellRoot::Network, places, f), f};
    return {TShellRoot::Computer, kRoot, f};
}

TShellView shellFolderUp(const TShellView& current) {
    const QString folder = current.folder.isEmpty() ? current.top : current.folder;
    const QString parent = parentFolder(folder);
    if (folder != current.top && current.root != TShellRoot::Computer &&
        isPathBelow(parent, current.top))
        return {current.root, current.top, parent};
    return {TShellRoot::Computer, kRoot, parent};
}

QString recentFolderName(const QString& folder) {
    if (folder.isEmpty())
        return QString();
    return QDir::cleanPath(folder);
}

QString withTrailingSlash(const QString& folder) {
    const QString f = recentFolderName(folder);
    return f.endsWith(u'/') ? f : f + u'/';
}

QString folderFromText(const QString& text, const QString& home) {
    QString t = text.trimmed();
    if (t == u'~')
        t = home;
    else if (t.startsWith(QStringLiteral("~/")))
        t = home + t.mid(1);
    if (t.isEmpty() || !QDir::isAbsolutePath(t))
        return QString();
    return QDir::cleanPath(t);
}

TShellDirSettings::TShellDirSettings() : folders(nullptr, 15) {
    folders.setCaseSensitivity(Qt::CaseSensitive);
}

void TShellDirSettings::addFolder(const QString& folder) {
    folders.AddString(recentFolderName(folder));
}

void TShellDirSettings::removeFolder(const QString& folder) {
    folders.RemString(recentFolderName(folder));
}

void TShellDirSettings::load(const TUnicodeIniFile& ini, const QString& section) {
    folders.LoadFromIni(ini, section);
    // Entries written by hand may carry a trailing "/": the list keeps one form.
    QStringList cleaned;
    for (const QString& f : folders.items())
        cleaned << recentFolderName(f);
    folders.AssignList(cleaned);
    Top = ini.ReadInteger(section, QStringLiteral("Top"), 0);
    Left = ini.ReadInteger(section, QStringLiteral("Left"), 0);
    DirWidth = qMax(0, ini.ReadInteger(section, QStringLiteral("DirWidth"), 0));
    FileWidth = qMax(0, ini.ReadInteger(section, QStringLiteral("FileWidth"), 0));
    Fileview = ini.ReadBool(section, QStringLiteral("Fileview"), false);
}

void TShellDirSettings::save(TUnicodeIniFile& ini, const QString& section) {
    folders.SaveToIni(ini, section, false);
    ini.WriteInteger(section, QStringLiteral("Top"), Top);
    ini.WriteInteger(section, QStringLiteral("Left"), Left);
    ini.WriteInteger(section, QStringLiteral("DirWidth"), DirWidth);
    ini.WriteInteger(section, QStringLiteral("FileWidth"), FileWidth);
    ini.WriteBool(section, QStringLiteral("Fileview"), Fileview);
}

QString TShellDirSettings::saveToFile(const QString& fileName, const QString& section) {
    TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(fileName);
    save(ini, section);
    return ini.UpdateFile().error();
}

TCreateFolderResult createSubFolder(const QString& parent, const QString& name, QString& created) {
    created.clear();
    if (name.trimmed().isEmpty() || parent.isEmpty())
        return TCreateFolderResult::NoName;
    created = QDir::cleanPath(parent + u'/' + name);
    if (QFileInfo::exists(created))
        return TCreateFolderResult::Exists;
    return QDir().mkpath(created) && QFileInfo(created).isDir() ? TCreateFolderResult::Created
                                                                : TCreateFolderResult::Failed;
}

TFolderDeletion deleteFolderDefinitely(const QString& folder, const TDeleteOps& ops) {
    TDeleteOps o = ops;
    if (!o.removeFile)
        o.removeFile = [](const QString& p) { return QFile::remove(p); };
    if (!o.removeDir)
        o.removeDir = [](const QString& p) { return QDir().rmdir(p); };
    TFolderDeletion result;
    const QFileInfo fi(folder);
    if (fi.isSymLink()) {
        // A link to a folder goes alone; what it points at stays.
        result.ok = o.removeFile(fi.absoluteFilePath());
        if (result.ok)
            result.dirs = 1;
        else
            result.failed = fi.absoluteFilePath();
        return result;
    }
    if (!fi.isDir()) {
        result.failed = folder;
        return result;
    }
    result.ok = deleteTree(QDir::cleanPath(fi.absoluteFilePath()), o, result);
    return result;
}

} // namespace orvel
