#pragma once
// What the page "Local anchors" needs of the main window beyond the search in files: the
// project's name, the active document's file, and the documents that hold a file written by
// the export.

#include <QString>

namespace orvel {

class IAnchorHost {
public:
    virtual ~IAnchorHost() = default;

    // The active project's name as the user sees it ("Site"); empty without a project.
    virtual QString projectName() const = 0;
    // The file of the active document; empty when none is open or it was never saved.
    virtual QString activeDocumentFile() const = 0;
    // Whether an open document holds the file with changes not saved.
    virtual bool documentModified(const QString& fileName) const = 0;
    // Loads the file again into the document that holds it (none: nothing to do); false when
    // that failed, after the host has said why.
    virtual bool reloadDocument(const QString& fileName) = 0;
};

} // namespace orvel
