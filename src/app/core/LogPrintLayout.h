#pragma once
// How the log viewer lays a text out on printed pages: page geometry in tenths of a
// millimetre, breaking of lines too wide for the page, and the page header's file name.
// Widths come from a function so that the rules hold for any font.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace orvel {

// Width of a text in the page's units (tenths of a millimetre).
using TTextWidth = std::function<double(const QString& text)>;

struct TLogPageGeometry {
    int pageWidth = 2000; // used when the printer reports no page size
    int pageHeight = 2900;
    int marginTop = 150;
    int marginBottom = 150;
    int marginLeft = 200;
    int marginRight = 100;
    int fontSize = 10; // points

    int textHeight() const; // 3.53 x the point size, rounded
    int lineAdvance() const { return textHeight() + 3; }
    int printableWidth() const { return pageWidth - marginRight - marginLeft; }
    int printRight() const { return pageWidth - marginRight; }
    int bottomLimit() const { return pageHeight - marginBottom; }
    // The header: title and page number, the file name one line lower, then a rule and a gap.
    int headerFileY() const { return marginTop + lineAdvance(); }
    int headerRuleY() const { return marginTop + 2 * lineAdvance(); }
    int bodyTop() const { return headerRuleY() + 20; }
};

// The pieces a line prints as: the line itself when it fits, else pieces made of chunks
// that end after a blank, "\" or "}", or cut at the margin where no chunk fits. Every piece
// after the first begins with "* ", and each piece takes at least one character of the line.
QStringList breakPrintLine(const QString& line, double maxWidth, const TTextWidth& width);

struct TPrintedPiece {
    int y = 0; // top of the text
    QString text;
};

struct TLogPrintPage {
    int number = 1;
    QList<TPrintedPiece> pieces;
};

// The lines broken and spread over pages; every page gets its header at the top margin.
QList<TLogPrintPage> layoutLogPages(const QStringList& lines, const TLogPageGeometry& geometry,
                                    const TTextWidth& width);

// A file name cut to at most maxLength characters: folders just before the file name give
// way to "...", as few as needed; when that is still too long, "..." and the name's end.
QString shortenFileName(const QString& fileName, int maxLength);

} // namespace orvel
