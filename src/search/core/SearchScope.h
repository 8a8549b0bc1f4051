#pragma once
// The page "Search in files" keeps its choices consistent: which scopes are on offer, which
// one is chosen, and the file types each choice proposes.

#include <QString>

namespace orvel {

enum TFileSearchScope : int { fsOpenFiles, fsProject, fsFolder };

struct TScopeState {
    bool openFilesEnabled = false; // "All opened files"
    bool projectEnabled = false;   // "All files of project"
    bool subDirsEnabled = false;   // "Include subdirectories"
    TFileSearchScope scope = fsOpenFiles;
    QString types; // the file-types box
};

struct TScopeFacts {
    bool hasDocumentFiles = false; // a document was loaded from or saved to a file
    bool hasProjects = false;
    QString activeDocument; // its name; empty when none is open
    QString projectTypes;
};

// The refresh when documents open or close and when a project is activated.
TScopeState refreshScope(TFileSearchScope chosen, const TScopeFacts& facts);

// The file types after the user chose a scope; types is the box's text until then.
QString typesForScope(TFileSearchScope chosen, const TScopeFacts& facts, const QString& types);

// The box's text as a filter list: "," separates masks as "|" does in the filter.
QString filterFromTypes(const QString& types);

} // namespace orvel
