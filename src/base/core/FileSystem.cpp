#include "base/core/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvel {

QString orUnknown(const QString& error) {
    return error.isEmpty() ? QStringLiteral("Unknown error") : error;
}

QString withSlash(const QString& dir) {
    return dir.isEmpty() || dir.endsWith(u'/') ? dir : dir + u'/';
}

QString normalizedPath(const QString& fileName) {
    if (fileName.isEmpty())
        return QString();
    const QFileInfo fi(fileName);
    const QString canonical = fi.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : canonical;
}

bool sameFile(const QString& a, const QString& b) {
    return !a.isEmpty() && normalizedPath(a) == normalizedPath(b);
}

bool isPathBelow(const QString& path, const QString& folder) {
    QString f = QDir::cleanPath(folder);
    const QString p = QDir::cleanPath(path);
    if (f.isEmpty())
        return false;
    if (p == f)
        return true;
    if (!f.endsWith(u'/'))
        f += u'/';
    return p.startsWith(f);
}

QString unescapeMountField(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int v = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(v);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QString::fromUtf8(out);
}

bool isNetworkFileSystem(const QByteArray& type) {
    static const QList<QByteArray> network = {"cifs", "smb3", "smbfs", "nfs", "nfs4", "fuse.sshfs"};
    return network.contains(type);
}

bool isNetworkPathIn(const QString& path, const QByteArray& mounts) {
    const QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString best;
    bool bestIsNetwork = false;
    for (const QByteArray& line : mounts.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() < 3)
            continue;
        const QString point = unescapeMountField(f[1]);
        if (isPathBelow(p, point) && point.size() >= best.size()) {
            best = point;
            bestIsNetwork = isNetworkFileSystem(f[2]);
        }
    }
    return bestIsNetwork;
}

bool isNetworkPath(const QString& path) {
    QFile f(QStringLiteral("/proc/self/mounts"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return isNetworkPathIn(path, f.readAll());
}

QString fileExtension(const QString& fileName) {
    const qsizetype start = fileName.lastIndexOf(u'/') + 1;
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > start ? fileName.mid(dot + 1) : QString();
}

} // namespace orvel
