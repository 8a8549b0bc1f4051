#pragma once
// The rules of the page "Local anchors" without its widgets: which files a search reads, how
// they are named and sorted, and the anchor list as the export writes it.

#include "search/core/AnchorReader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvel {

enum TAnchorScope { asActiveFile, asOpenFiles, asProjectFiles };

struct TAnchorFile {
    QString fileName; // absolute, as read
    QString caption;  // relative to the project's root, the full name outside it
    QList<TAnchor> anchors;
};

// Whether a search reads a file of this name: its extension passes "htm*".
bool isAnchorFile(const QString& fileName);

// The files a search reads, in order: the active document's file, the open documents' files
// (window order), or the project's HTML files below its root (subfolders first, names with
// "~" first left out, no link to a folder followed).
QStringList anchorSearchFiles(TAnchorScope scope, const QString& activeFile,
                              const QStringList& openFiles, const QString& projectRoot);

// How the tree and the export name a file.
QString anchorFileCaption(const QString& fileName, const QString& projectRoot);

// Alphabetical order of whole entries without regard to case (equal ones keep their order).
void sortAnchorsAlphabetically(QList<TAnchor>& anchors);

// The export's text, lines ended by CR LF.
QString anchorListText(const QString& projectName, const QString& projectRoot,
                       const QList<TAnchorFile>& files);

// Whether Windows-1252 holds every character of the text.
bool fitsWindows1252(const QString& text);
// The text in Windows-1252 (every character must fit), or in UTF-8 after its byte-order mark.
QByteArray encodeAnchorList(const QString& text, bool utf8);

// The name the export proposes: the active document's name with the extension "txt" when
// the search was over the active file, else the project's name with "txt" added unless it
// already ends so.
QString proposedAnchorListName(TAnchorScope scope, const QString& activeFile,
                               const QString& projectName);

} // namespace orvel
