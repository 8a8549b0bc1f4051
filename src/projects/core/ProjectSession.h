#pragma once
// The projects the program knows and the one it works in: the list that owns them, the
// active project with its root, and what is recorded when a project is left. The main window
// asks the user and opens the documents; this class keeps the rules.

#include "base/core/Result.h"
#include "projects/core/ProjectInfo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace orvel {

// An open document as a project remembers it.
struct TOpenDocument {
    QString fileName; // full name
    TTextProps props;
};

class TProjectSession {
public:
    // The folder that holds the projects' roots (StdPath), with a trailing "/".
    void setProjectsRoot(const QString& root) { m_projectsRoot = root; }
    const QString& projectsRoot() const { return m_projectsRoot; }
    // Where project files are kept: the folder "Orvel-Projects" below the projects root.
    QString projectFilesFolder() const;

    // The list from the settings; files that are gone keep their place under a name of
    // their own. The index is the one to propose, or -1.
    void read(const QStringList& fileNames, int index, quint32 defaultLangId);
    // Writes every project that changed; the failures, each named once.
    QStringList writeAll();
    QStringList fileNames() const;

    int count() const { return int(m_projects.size()); }
    TProjectInfo* at(int index) const;
    QStringList names() const;
    // The list position proposed or active, -1 for none.
    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }
    TProjectInfo* active() const { return m_active; }
    // The active project's root, or the projects root without one; with a trailing "/".
    const QString& htmlRoot() const { return m_root; }
    void setHtmlRoot(const QString& root) { m_root = root; }
    // The active project's rule for the case of link names.
    TTextChange linkCaseMode() const { return m_linkCaseMode; }

    // Takes the project into the list; its index.
    int add(std::unique_ptr<TProjectInfo> project);
    // The project "default" with its folder below the projects root, in the list; its index.
    int createDefault(const QString& name, quint32 langId);
    // Works in that project from now on: a project without a root works in the projects
    // root. Null when the index names none.
    TProjectInfo* activate(int index);
    // The project's settings were edited: its rules apply again.
    void settingsChanged();

    // The documents to reopen when the project is entered, in tab order; files that are
    // gone are dropped from its list. A root that is missing (an unmounted disk) gives none
    // and keeps the list for next time.
    QList<TOpenDocument> documentsToReopen();
    // A document that could not be reopened leaves the list.
    void dropDocument(const QString& fileName);
    // Records the open documents (in tab order; untitled ones left out) and the active one
    // in the active project, then leaves it.
    void record(const QList<TOpenDocument>& open, const QString& activeName);

    // "Order of projects": the indexes that stay, in their new order. The active project is
    // never removed: it stays in its place and the failure says why.
    TStatus reorder(QList<int> order);
    // Takes the active project out of the list; the next one to work in is proposed (a new
    // default project when none is left).
    std::unique_ptr<TProjectInfo> removeActive(const QString& defaultName, quint32 langId);

private:
    QString m_projectsRoot;
    std::vector<std::unique_ptr<TProjectInfo>> m_projects;
    TProjectInfo* m_active = nullptr;
    int m_index = -1;
    QString m_root;
    TTextChange m_linkCaseMode = tcNone;
    bool m_filesHeldBack = false; // the active project's root was missing when it was entered
};

} // namespace orvel
