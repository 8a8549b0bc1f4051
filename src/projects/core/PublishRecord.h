#pragma once
// What the runs of a project published to its FTP destination: for each remote file the
// size and the local time it was sent with. A file whose local size and time still match
// needs no question to the server; a folder whose listing disagrees loses its entries.
// Kept per project in the local data folder, written whole and atomically.

#include "base/core/Result.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace orvel {

struct TPublishedFile {
    qint64 Size = -1;
    qint64 LocalTime = 0; // ms since 1970, UTC
    bool operator==(const TPublishedFile& o) const {
        return Size == o.Size && LocalTime == o.LocalTime;
    }
};

class TPublishRecord {
public:
    // The record of the project file (or root) projectKey in folder.
    static QString fileNameFor(const QString& folder, const QString& projectKey);
    // The record's text; entries of another destination are not taken. Lines that cannot
    // be read are skipped.
    static TPublishRecord parse(const QByteArray& text, const QString& destination);
    QByteArray serialize() const;

    // Reads fileName; a missing or damaged one gives an empty record.
    static TPublishRecord load(const QString& fileName, const QString& destination);
    // Writes the record whole; a failure names the file and leaves the old one.
    TStatus save(const QString& fileName) const;

    const QString& destination() const { return m_destination; }
    // folder relative to the destination's top ("" the top), name as sent.
    const TPublishedFile* find(const QString& folder, const QString& name) const;
    void set(const QString& folder, const QString& name, const TPublishedFile& file);
    void remove(const QString& folder, const QString& name);
    // The entries of one folder.
    QHash<QString, TPublishedFile> folder(const QString& folder) const {
        return m_folders.value(folder);
    }
    void dropFolder(const QString& folder);
    int count() const;
    bool changed() const { return m_changed; }

private:
    QString m_destination;
    QHash<QString, QHash<QString, TPublishedFile>> m_folders;
    bool m_changed = false;
};

} // namespace orvel
