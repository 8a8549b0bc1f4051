#include "base/core/DataFiles.h"

#include "base/core/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orvel {

namespace {

QString joinPath(const QString& folder, const QString& name) {
    return withSlash(folder) + name;
}

} // namespace

QStringList dataFolders() {
    return {withSlash(QCoreApplication::applicationDirPath()),
            withSlash(QStringLiteral(ORVEL_INSTALL_DATADIR))};
}

QString findDataFile(const QString& name, const QStringList& folders) {
    const QStringList parts = QString(name).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QString();
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        QString current = QDir::cleanPath(folder);
        bool found = true;
        for (const QString& part : parts) {
            const QString exact = joinPath(current, part);
            if (QFileInfo::exists(exact)) {
                current = exact;
                continue;
            }
            found = false;
            const QStringList entries = QDir(current).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    current = joinPath(current, entry);
                    found = true;
                    break;
                }
            }
            if (!found)
                break;
        }
        if (found)
            return current;
    }
    return QString();
}

QString findDataFile(const QString& name) {
    return findDataFile(name, dataFolders());
}

} // namespace orvel
