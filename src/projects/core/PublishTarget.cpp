#include "projects/core/PublishTarget.h"

#include "base/core/FileSystem.h"
#include "base/core/Translate.h"
#include "projects/core/FtpCopyUtils.h"

#include <QDir>
#include <QFileInfo>

namespace orvel {

const TDestFile* TDestFolder::find(const QString& name) const {
    for (const TDestFile& f : Files)
        if (f.Name == name)
            return &f;
    return nullptr;
}

void TDestFolder::put(const TDestFile& file) {
    for (TDestFile& f : Files)
        if (f.Name == file.Name) {
            f = file;
            return;
        }
    Files.append(file);
}

void TDestFolder::remove(const QString& name) {
    Files.removeIf([&name](const TDestFile& f) { return f.Name == name; });
}

// --- The cache every destination shares ------------------------------------------------------

TResult<const TDestFolder*> TPublishTarget::folder(const QString& rel) {
    const auto it = m_folders.find(rel);
    if (it != m_folders.end())
        return &it->second;
    if (!rel.isEmpty()) {
        // A folder its parent does not list is known to be missing without asking.
        const auto parent = m_folders.find(parentOf(rel));
        if (parent != m_folders.end() &&
            (!parent->second.Exists ||
             !parent->second.Dirs.contains(rel.mid(rel.lastIndexOf(u'/') + 1))))
            return &m_folders.emplace(rel, TDestFolder()).first->second;
    }
    TResult<TDestFolder> read = readFolder(rel);
    if (!read.ok())
        return read.status();
    return &m_folders.emplace(rel, std::move(read).value()).first->second;
}

TStatus TPublishTarget::makeFolder(const QString& rel) {
    const TResult<const TDestFolder*> known = folder(rel);
    if (!known.ok())
        return known.status();
    if (known.value()->Exists)
        return TStatus();
    if (!rel.isEmpty())
        if (const TStatus parent = makeFolder(parentOf(rel)); !parent.ok())
            return parent;
    if (const TStatus made = createFolder(rel); !made.ok())
        return made;
    TDestFolder& made = m_folders[rel];
    made = TDestFolder();
    made.Exists = true;
    if (!rel.isEmpty()) {
        TDestFolder& parent = m_folders[parentOf(rel)];
        const QString name = rel.mid(rel.lastIndexOf(u'/') + 1);
        if (!parent.Dirs.contains(name))
            parent.Dirs.append(name);
    }
    return TStatus();
}

TStatus TPublishTarget::put(const QString& localFile, const QString& rel, const QString& name,
                            const TWorkerRunner& runner) {
    TResult<TDestFile> sent = sendFile(localFile, rel, name, runner);
    if (!sent.ok())
        return sent.status();
    m_folders[rel].put(sent.value());
    return TStatus();
}

bool TPublishTarget::listedAsFile(const QString& rel) const {
    const auto parent = m_folders.find(parentOf(rel));
    return parent != m_folders.end() &&
           parent->second.find(rel.mid(rel.lastIndexOf(u'/') + 1)) != nullptr;
}

TFolderOutcome TPublishTarget::folderDone(const QString& rel) {
    TFolderOutcome out = closeFolder(rel);
    for (const TFolderOutcome::TFailedFile& failed : std::as_const(out.FailedFiles))
        m_folders[failed.Rel].remove(failed.Name);
    return out;
}

TStatus TPublishTarget::remove(const QString& rel, const QString& name) {
    const TStatus s = deleteFile(rel, name);
    if (s.ok())
        m_folders[rel].remove(name);
    return s;
}

TStatus TPublishTarget::removeFolder(const QString& rel) {
    const TStatus s = deleteFolder(rel);
    if (!s.ok())
        return s;
    if (rel.isEmpty()) {
        m_folders[rel] = TDestFolder();
    } else {
        m_folders.erase(rel);
        m_folders[parentOf(rel)].Dirs.removeAll(rel.mid(rel.lastIndexOf(u'/') + 1));
    }
    return s;
}

// --- A folder ---------------------------------------------------------------------------------

QString TFolderTarget::path(const QString& rel) const {
    return rel.isEmpty() ? m_root : withSlash(m_root) + rel;
}

TResult<TDestFolder> TFolderTarget::readFolder(const QString& rel) {
    TDestFolder f;
    const QDir dir(path(rel));
    if (!dir.exists())
        return f;
    f.Exists = true;
    const QFileInfoList entries = dir.entryInfoList(
        QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& e : entries) {
        if (e.isDir())
            f.Dirs << e.fileName();
        else
            f.Files << TDestFile{e.fileName(), e.size(), e.lastModified().toUTC(), true};
    }
    return f;
}

TStatus TFolderTarget::createFolder(const QString& rel) {
    if (QDir().mkpath(path(rel)))
        return TStatus();
    return TStatus::failure(
        fmt(T_("Cannot create the folder \"%s\""), {QDir::toNativeSeparators(path(rel))}));
}

TResult<TDestFile> TFolderTarget::sendFile(const QString& localFile, const QString& rel,
                                           const QString& name, const TWorkerRunner& runner) {
    const QString dest = withSlash(path(rel)) + name;
    const qint64 size = QFileInfo(localFile).size();
    // The worker writes a temporary file beside the target and renames it when complete.
    TCopyThread worker(localFile, dest);
    const int code = runner(worker, TPublishTarget::join(rel, name));
    if (code != 0) {
        QString why = worker.SysErrorMsg();
        if (why.isEmpty())
            why = code == crCancelled + TCopyThread::FErrFlag
                      ? T_("Canceled by user!")
                      : fmt(T_("Error code %d"), {QString::number(code)});
        return TResult<TDestFile>::failure(why);
    }
    const QFileInfo written(dest);
    if (written.size() != size)
        return TResult<TDestFile>::failure(
            fmt(T_("The copy has %s bytes instead of %s."),
                {QString::number(written.size()), QString::number(size)}));
    return TDestFile{name, written.size(), written.lastModified().toUTC(), true};
}

TStatus TFolderTarget::deleteFile(const QString& rel, const QString& name) {
    QFile f(withSlash(path(rel)) + name);
    if (f.remove())
        return TStatus();
    return TStatus::failure(orUnknown(f.errorString()));
}

TStatus TFolderTarget::deleteFolder(const QString& rel) {
    if (QDir().rmdir(path(rel)))
        return TStatus();
    return TStatus::failure(
        fmt(T_("Cannot remove the folder \"%s\""), {QDir::toNativeSeparators(path(rel))}));
}

} // namespace orvel
