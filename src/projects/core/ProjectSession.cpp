#include "projects/core/ProjectSession.h"

#include "base/core/FileSystem.h"
#include "base/core/Translate.h"

#include <QDir>
#include <QFileInfo>

namespace orvel {

QString TProjectSession::projectFilesFolder() const {
    return m_projectsRoot.isEmpty() ? QString()
                                    : withSlash(m_projectsRoot + QStringLiteral("Orvel-Projects"));
}

void TProjectSession::read(const QStringList& fileNames, int index, quint32 defaultLangId) {
    m_projects.clear();
    m_active = nullptr;
    // Files that are gone were dropped with the list; each keeps its position for its name.
    for (const QString& name : fileNames) {
        auto project = std::make_unique<TProjectInfo>(name);
        ReadProject(*project, count(), defaultLangId);
        m_projects.push_back(std::move(project));
    }
    m_index = index;
}

QStringList TProjectSession::writeAll() {
    QStringList errors;
    for (const auto& p : m_projects)
        if (const TStatus written = WriteProject(*p); !written.ok())
            errors << written.error();
    return errors;
}

QStringList TProjectSession::fileNames() const {
    QStringList out;
    for (const auto& p : m_projects)
        out << p->ProjFileName;
    return out;
}

TProjectInfo* TProjectSession::at(int index) const {
    return index >= 0 && index < count() ? m_projects.at(size_t(index)).get() : nullptr;
}

QStringList TProjectSession::names() const {
    QStringList out;
    for (const auto& p : m_projects)
        out << p->ProjName;
    return out;
}

int TProjectSession::add(std::unique_ptr<TProjectInfo> project) {
    m_projects.push_back(std::move(project));
    return count() - 1;
}

int TProjectSession::createDefault(const QString& name, quint32 langId) {
    QDir().mkpath(projectFilesFolder());
    auto p = std::make_unique<TProjectInfo>(projectFilesFolder() + QStringLiteral("Default.prj"));
    if (QFileInfo::exists(p->ProjFileName))
        ReadProject(*p, count(), langId);
    p->ProjName = name;
    p->ProjPath = withSlash(m_projectsRoot + name);
    QDir().mkpath(p->ProjPath);
    m_root = p->ProjPath;
    p->LangId = langId;
    p->Changed = true;
    return add(std::move(p));
}

TProjectInfo* TProjectSession::activate(int index) {
    TProjectInfo* p = at(index);
    m_active = p;
    if (!p)
        return nullptr;
    m_index = index;
    m_filesHeldBack = false;
    settingsChanged();
    return p;
}

void TProjectSession::settingsChanged() {
    if (!m_active)
        return;
    // A project without a root works in the root directory for projects.
    if (m_active->ProjPath.isEmpty())
        m_active->ProjPath = m_projectsRoot;
    m_root = withSlash(m_active->ProjPath);
    m_linkCaseMode = m_active->CaseMode;
}

QList<TOpenDocument> TProjectSession::documentsToReopen() {
    QList<TOpenDocument> out;
    TProjectInfo* p = m_active;
    if (!p || !p->Reload || p->FileList.isEmpty())
        return out;
    if (!QFileInfo(p->ProjPath).isDir()) {
        // An unmounted disk: its files are skipped this time, not forgotten.
        m_filesHeldBack = true;
        return out;
    }
    for (qsizetype i = p->FileList.size() - 1; i >= 0; --i)
        if (!QFileInfo(p->FullName(p->FileList.at(i).Name)).isFile())
            p->FileList.removeAt(i);
    // The list holds the tabs in reverse order: read from its end, they come back in the
    // order they had.
    for (qsizetype i = p->FileList.size() - 1; i >= 0; --i) {
        const TTextFileInfo& entry = p->FileList.at(i);
        out.append({p->FullName(entry.Name), entry.Props});
    }
    p->Changed = true;
    return out;
}

void TProjectSession::dropDocument(const QString& fileName) {
    if (m_active)
        m_active->Remove(fileName);
}

void TProjectSession::record(const QList<TOpenDocument>& open, const QString& activeName) {
    TProjectInfo* p = m_active;
    if (!p)
        return;
    p->ActiveFile = activeName.isEmpty() ? QString() : p->RelativeName(activeName);
    p->CaseMode = m_linkCaseMode;
    // A root that was missing kept its files: they are still to be reopened.
    QList<TTextFileInfo> kept = m_filesHeldBack ? p->FileList : QList<TTextFileInfo>();
    p->ClearFileList();
    // Stored in reverse tab order, as the file format has it.
    for (const TOpenDocument& doc : open) {
        TTextFileInfo entry{p->RelativeName(doc.fileName), doc.props};
        for (qsizetype i = kept.size() - 1; i >= 0; --i)
            if (kept.at(i).Name == entry.Name)
                kept.removeAt(i);
        p->FileList.prepend(entry);
    }
    p->FileList += kept;
    p->Changed = true;
    m_active = nullptr;
    m_filesHeldBack = false;
}

TStatus TProjectSession::reorder(QList<int> order) {
    TStatus result;
    if (m_active && !order.contains(m_index)) {
        // Its documents are open: it stays, where it was.
        result = TStatus::failure(
            fmt(T_("The project \"%s\" is in use and cannot be removed."), {m_active->ProjName}));
        int at = 0;
        while (at < order.size() && order.at(at) < m_index)
            ++at;
        order.insert(at, m_index);
    }
    std::vector<std::unique_ptr<TProjectInfo>> reordered;
    for (int i : order)
        if (i >= 0 && i < count() && m_projects.at(size_t(i)))
            reordered.push_back(std::move(m_projects.at(size_t(i))));
    // Removed projects are dropped unwritten; their files stay.
    m_projects = std::move(reordered);
    m_index = -1;
    for (int i = 0; i < count(); ++i)
        if (m_projects.at(size_t(i)).get() == m_active)
            m_index = i;
    return result;
}

std::unique_ptr<TProjectInfo> TProjectSession::removeActive(const QString& defaultName,
                                                            quint32 langId) {
    const int removed = m_index;
    if (removed < 0 || removed >= count())
        return nullptr;
    std::unique_ptr<TProjectInfo> closed = std::move(m_projects.at(size_t(removed)));
    m_projects.erase(m_projects.begin() + removed);
    if (m_active == closed.get())
        m_active = nullptr;
    int next = removed;
    if (m_projects.empty())
        next = createDefault(defaultName, langId);
    else if (next >= count())
        next = count() - 1;
    m_index = next;
    return closed;
}

} // namespace orvel
