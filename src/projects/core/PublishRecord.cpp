#include "projects/core/PublishRecord.h"

#include "base/core/AtomicFile.h"
#include "base/core/Translate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QList>
#include <QUrl>
#include <algorithm>

namespace orvel {

namespace {
const QByteArray kMagic = "Orvel publish record 1";
const QByteArray kDestination = "destination\t";
// Larger files are not records of ours.
constexpr qint64 kMaxRecord = 256 * 1024 * 1024;

QByteArray encode(const QString& text) {
    return QUrl::toPercentEncoding(text, "/ ");
}

bool decode(const QByteArray& field, QString& out) {
    out = QUrl::fromPercentEncoding(field);
    return !out.contains(QChar::ReplacementCharacter) && !out.contains(u'\n') &&
           !out.contains(u'\r') && !out.contains(QChar(0));
}
} // namespace

QString TPublishRecord::fileNameFor(const QString& folder, const QString& projectKey) {
    const QByteArray hash =
        QCryptographicHash::hash(projectKey.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QDir(folder).filePath(QStringLiteral("publish-") + QString::fromLatin1(hash.left(24)) +
                                 QStringLiteral(".rec"));
}

TPublishRecord TPublishRecord::parse(const QByteArray& text, const QString& destination) {
    TPublishRecord r;
    r.m_destination = destination;
    const QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 2 || lines.at(0) != kMagic || !lines.at(1).startsWith(kDestination))
        return r;
    QString dest;
    if (!decode(lines.at(1).mid(kDestination.size()), dest) || dest != destination)
        return r;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines.at(i).split('\t');
        if (f.size() != 4)
            continue;
        bool sizeOk = false, timeOk = false;
        const qint64 size = f.at(0).toLongLong(&sizeOk);
        const qint64 time = f.at(1).toLongLong(&timeOk);
        QString folder, name;
        if (!sizeOk || !timeOk || size < 0 || !decode(f.at(2), folder) || !decode(f.at(3), name) ||
            name.isEmpty() || name.contains(u'/') || folder.startsWith(u'/') ||
            folder.endsWith(u'/'))
            continue;
        r.m_folders[folder].insert(name, {size, time});
    }
    return r;
}

QByteArray TPublishRecord::serialize() const {
    QByteArray out = kMagic + '\n' + kDestination + encode(m_destination) + '\n';
    QStringList folders = m_folders.keys();
    std::sort(folders.begin(), folders.end());
    for (const QString& folder : std::as_const(folders)) {
        const QHash<QString, TPublishedFile>& files = m_folders[folder];
        QStringList names = files.keys();
        std::sort(names.begin(), names.end());
        for (const QString& name : std::as_const(names)) {
            const TPublishedFile& f = files[name];
            out += QByteArray::number(f.Size) + '\t' + QByteArray::number(f.LocalTime) + '\t' +
                   encode(folder) + '\t' + encode(name) + '\n';
        }
    }
    return out;
}

TPublishRecord TPublishRecord::load(const QString& fileName, const QString& destination) {
    QFile f(fileName);
    if (f.size() > kMaxRecord || !f.open(QIODevice::ReadOnly)) {
        TPublishRecord r;
        r.m_destination = destination;
        return r;
    }
    return parse(f.readAll(), destination);
}

TStatus TPublishRecord::save(const QString& fileName) const {
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    const QString reason = writeFileAtomically(fileName, serialize());
    if (reason.isNull())
        return TStatus();
    return TStatus::failure(
        fmt(T_("Error writing to \"%s\""), {QDir::toNativeSeparators(fileName)}) +
        QStringLiteral("\r\n") + reason);
}

const TPublishedFile* TPublishRecord::find(const QString& folder, const QString& name) const {
    const auto f = m_folders.constFind(folder);
    if (f == m_folders.constEnd())
        return nullptr;
    const auto e = f->constFind(name);
    return e == f->constEnd() ? nullptr : &*e;
}

void TPublishRecord::set(const QString& folder, const QString& name, const TPublishedFile& file) {
    QHash<QString, TPublishedFile>& files = m_folders[folder];
    const auto e = files.constFind(name);
    if (e != files.constEnd() && *e == file)
        return;
    files.insert(name, file);
    m_changed = true;
}

void TPublishRecord::remove(const QString& folder, const QString& name) {
    const auto f = m_folders.find(folder);
    if (f != m_folders.end() && f->remove(name)) {
        if (f->isEmpty())
            m_folders.erase(f);
        m_changed = true;
    }
}

void TPublishRecord::dropFolder(const QString& folder) {
    if (m_folders.remove(folder))
        m_changed = true;
}

int TPublishRecord::count() const {
    int n = 0;
    for (const auto& files : m_folders)
        n += int(files.size());
    return n;
}

} // namespace orvel
