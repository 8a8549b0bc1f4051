#include "search/core/SearchScope.h"

#include "base/core/FileSystem.h"

namespace orvel {

namespace {
const QString kDefaultTypes = QStringLiteral("htm*");
} // namespace

TScopeState refreshScope(TFileSearchScope chosen, const TScopeFacts& facts) {
    TScopeState s;
    s.openFilesEnabled = facts.hasDocumentFiles;
    s.projectEnabled = facts.hasProjects;
    s.scope = chosen;
    // A choice no longer on offer gives way: to the open files, the project, the folder.
    if ((chosen == fsOpenFiles && !s.openFilesEnabled) ||
        (chosen == fsProject && !s.projectEnabled))
        s.scope = s.openFilesEnabled ? fsOpenFiles : s.projectEnabled ? fsProject : fsFolder;
    if (s.scope == fsOpenFiles && !facts.activeDocument.isEmpty())
        s.types = fileExtension(facts.activeDocument);
    else if (s.scope == fsProject)
        s.types = facts.projectTypes;
    else
        s.types = kDefaultTypes;
    s.subDirsEnabled = s.scope == fsFolder;
    return s;
}

QString typesForScope(TFileSearchScope chosen, const TScopeFacts& facts, const QString& types) {
    switch (chosen) {
    case fsOpenFiles:
        return facts.activeDocument.isEmpty() ? kDefaultTypes : fileExtension(facts.activeDocument);
    case fsProject:
        return facts.hasProjects ? facts.projectTypes : types;
    case fsFolder:
        break;
    }
    return kDefaultTypes;
}

QString filterFromTypes(const QString& types) {
    return QString(types).replace(u',', u'|');
}

} // namespace orvel
