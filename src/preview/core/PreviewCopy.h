#pragma once
// The preview copy: the document's current text written beside it, so that the page's links,
// images and style sheets resolve against the document's own folder.

#include "base/core/Encodings.h"
#include "base/core/Result.h"
#include "search/core/SearchFile.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

namespace orvel {

// "~" + program name + ".html" in the folder: the "~" keeps it out of the file panel, the
// searches and publishing.
QString previewCopyName(const QString& folder, const QString& programName);

struct TPreviewText {
    QByteArrayView utf8; // the editor's text
    TFileFormat format;  // the document's encoding, mark and line breaks
    bool expand = false; // an HTML template: its expansion is shown, not its source
    QString sourceName;  // the document's file name, for messages
};

// Writes the copy whole (a failure leaves the old copy and names the file). The result is
// the copy's path, or empty when a template has no variable header and there is nothing to
// show. Nothing else is written: a template's own HTML file and its backup stay as they are.
// A text the document's encoding cannot hold is written in UTF-8 with a byte-order mark, so
// that the page still shows every character.
TResult<QString> writePreviewCopy(const QString& copyName, const TPreviewText& text);

// A file written whole anew is a new file (atomic writes rename), so equal stamps mean the
// same bytes. An empty stamp when the file does not exist.
TFileStamp fileStamp(const QString& fileName);

// Writes preview copies, leaving a copy alone when it already holds the text: a page shown
// again after no edit is not loaded again.
class TPreviewWriter {
public:
    TResult<QString> write(const QString& copyName, const TPreviewText& text);

private:
    struct TWritten {
        size_t hash = 0;
        TFileStamp stamp;
    };
    QHash<QString, TWritten> m_written;
};

// The program and arguments that show a file in the external browser: the file is one
// argument as it stands, whatever blanks or quotes it holds; without a browser the desktop's
// opener decides.
struct TBrowserCommand {
    QString program;
    QStringList arguments;
};
TBrowserCommand externalBrowserCommand(const QString& browser, const QString& fileName);

} // namespace orvel
