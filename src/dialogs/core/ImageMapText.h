#pragma once
// An image map in a document's text: the <map> block with its <area> elements read into
// areas, and the areas written back as markup.

#include "dialogs/core/ImageMap.h"

#include <QSize>
#include <QString>

namespace orvel {

struct TImageMap {
    QString name;
    QList<THtmlAttribute> other; // attributes of <map> besides name, as read
    TAreaList areas;
};

// Where the map stands in the text: from its "<" to after "</map>"; start -1 when absent.
struct TMapBlock {
    qsizetype start = -1;
    qsizetype end = -1;
    TImageMap map;
};

// The first <map> block whose name equals name, ignoring case. Blanks, tabs, line breaks and
// other control characters all separate attributes; values in either quotes or none.
TMapBlock findImageMap(QStringView text, const QString& name);
// One <area> element (its whole start tag).
TAreaDataObject readArea(QStringView areaTag);
// "100, 50,20": numbers separated by commas, blanks and tabs skipped, what does not read
// counts as 0.
QList<int> readCoords(QStringView coords);
// The map name an image element's usemap refers to ("#nav" gives "nav"); empty otherwise.
QString usemapName(QStringView imageTag);

// The map as markup: "<map name=…>", one indented "<area …>" line per area that can be
// written, "</map>" without a final line break. Coordinates are held inside the image when its
// size is given; a polygon of fewer than three vertices is left out; names and texts are
// escaped for double quotes.
QString writeImageMap(const TImageMap& map, int indent, QSize image,
                      const QString& lineBreak = QStringLiteral("\r\n"));
// The image element with usemap set to "#name" (an old one replaced, everything else kept).
QString imageWithUsemap(QStringView imageTag, const QString& name);
// Text escaped for a double-quoted attribute value, "<" and ">" too.
QString escapedAttribute(const QString& value);

} // namespace orvel
