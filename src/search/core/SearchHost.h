#pragma once
// What the search in files needs from the main window: the open documents, saving them,
// opening a result, and the active project.

#include "textcontrol/core/TextTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvel {

class ISearchHost {
public:
    virtual ~ISearchHost() = default;

    // The title of error boxes and questions.
    virtual QString appTitle() const = 0;

    // The files of the open documents that were loaded from or saved to a file, in window
    // order.
    virtual QStringList documentFiles() const = 0;
    // The name of the active document (its file, or the caption of a new one); empty when
    // no document is open.
    virtual QString activeDocumentName() const = 0;
    // The text (UTF-8, line breaks as they stand) of the document that holds the file;
    // false when no document holds it.
    virtual bool documentText(const QString& fileName, QByteArray& text) const = 0;
    // Replaces each byte range [start, start + length) of that document's text by the
    // replacement, all in one undoable step, and marks the document modified; false when no
    // document holds the file.
    virtual bool replaceInDocument(const QString& fileName, const QList<qsizetype>& starts,
                                   qsizetype length, const QString& replacement) = 0;
    // Saves every modified document; false when one of them was not saved.
    virtual bool saveAllDocuments() = 0;

    // Opens the file in a document window, or brings its window to the front, and selects
    // from begin to end; false when it could not be opened (the host has said why).
    virtual bool openFileAt(const QString& fileName, TBufferCoord begin, TBufferCoord end) = 0;

    // Whether the project list holds a project; the active project's root folder (with a
    // trailing "/") and its text file types ("htm*,css").
    virtual bool hasProjects() const = 0;
    virtual QString projectRoot() const = 0;
    virtual QString projectTextTypes() const = 0;
};

} // namespace orvel
