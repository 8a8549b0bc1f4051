#include "app/core/LogPrintLayout.h"

#include <cmath>

namespace orvel {

int TLogPageGeometry::textHeight() const {
    return int(std::lround(3.53 * fontSize));
}

namespace {

bool isBreakChar(QChar c) {
    return c == u' ' || c == u'\\' || c == u'}';
}

// Length of the chunk at the start of rest: through its first break character, or all of
// rest when it holds none.
qsizetype chunkLength(QStringView rest) {
    for (qsizetype i = 0; i < rest.size(); ++i)
        if (isBreakChar(rest.at(i)))
            return i + 1;
    return rest.size();
}

bool holdsBreakChar(QStringView rest) {
    for (const QChar c : rest)
        if (isBreakChar(c))
            return true;
    return false;
}

} // namespace

QStringList breakPrintLine(const QString& line, double maxWidth, const TTextWidth& width) {
    if (width(line) <= maxWidth)
        return {line};
    QStringList pieces;
    const QString continued = QStringLiteral("* ");
    qsizetype pos = 0;
    while (pos < line.size()) {
        QString piece = pieces.isEmpty() ? QString() : continued;
        const qsizetype prefix = piece.size();
        const QStringView rest = QStringView(line).mid(pos);
        if (holdsBreakChar(rest)) {
            qsizetype taken = 0;
            while (taken < rest.size()) {
                const qsizetype n = chunkLength(rest.mid(taken));
                QString next = piece;
                next += rest.mid(taken, n);
                if (width(next) > maxWidth)
                    break;
                piece = next;
                taken += n;
            }
            pos += taken;
        }
        if (piece.size() == prefix) {
            // No chunk fits: fill up to the margin, but always take one character so that
            // a character wider than the page cannot stall the loop.
            piece += line.at(pos++);
            while (pos < line.size() && width(piece + line.at(pos)) <= maxWidth)
                piece += line.at(pos++);
        }
        pieces << piece;
    }
    return pieces;
}

QList<TLogPrintPage> layoutLogPages(const QStringList& lines, const TLogPageGeometry& geometry,
                                    const TTextWidth& width) {
    QList<TLogPrintPage> pages;
    int y = geometry.marginTop;
    const auto place = [&](const QString& text) {
        if (y >= geometry.bottomLimit())
            y = geometry.marginTop;
        if (y == geometry.marginTop || pages.isEmpty()) {
            pages.append(TLogPrintPage{int(pages.size()) + 1, {}});
            y = geometry.bodyTop();
        }
        pages.last().pieces.append({y, text});
        y += geometry.lineAdvance();
    };
    const double maxWidth = geometry.printableWidth();
    for (const QString& line : lines)
        for (const QString& piece : breakPrintLine(line, maxWidth, width))
            place(piece);
    return pages;
}

QString shortenFileName(const QString& fileName, int maxLength) {
    if (fileName.size() <= maxLength)
        return fileName;
    const QString ellipsis = QStringLiteral("...");
    const qsizetype slash = fileName.lastIndexOf(u'/');
    if (slash >= 0) {
        const QString name = fileName.mid(slash);
        // Drop folders from the one before the file name towards the front.
        qsizetype keep = slash;
        while (keep > 0) {
            keep = fileName.lastIndexOf(u'/', keep - 1);
            if (keep < 0)
                break;
            const QString candidate = fileName.left(keep + 1) + ellipsis + name;
            if (candidate.size() <= maxLength)
                return candidate;
        }
    }
    if (maxLength <= ellipsis.size())
        return ellipsis.left(qMax(maxLength, 0));
    return ellipsis + fileName.right(maxLength - ellipsis.size());
}

} // namespace orvel
