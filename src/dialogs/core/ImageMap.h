#pragma once
// The areas of an image map and the geometry the map editor needs: hit tests, handles, moves
// and resizes, in image pixels.

#include "base/core/HtmlAttributes.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace orvel {

enum TAreaShape { asRect, asCircle, asPoly };

// One area. A rectangle holds two corners in the order they were drawn; a circle its centre
// and a point whose x is the radius; a polygon one point per vertex.
struct TAreaDataObject {
    explicit TAreaDataObject(TAreaShape shape = asRect) : Shape(shape) {}
    TAreaShape Shape;
    QList<QPoint> Points;
    QString Link;
    QString Alt;
    QString Title;
    // Attributes of the <area> element the editor does not edit (target, id, …), as read.
    QList<THtmlAttribute> Other;
    int PtCnt() const { return int(Points.size()); }
    bool operator==(const TAreaDataObject& o) const {
        return Shape == o.Shape && Points == o.Points && Link == o.Link && Alt == o.Alt &&
               Title == o.Title;
    }
};
using TAreaList = QList<TAreaDataObject>;

struct TSelectedArea {
    TAreaShape AreaShape = asRect;
    int AreaNr = -1;  // -1: none
    int PointNr = -1; // grabbed corner, handle or vertex; -1: none
    QString Hint;
};

// The rectangle of two corners in any order, both included.
QRect normalizedRect(QPoint a, QPoint b);
// The rectangle an area covers (a circle's bounding square).
QRect areaBounds(const TAreaDataObject& area);
bool areaContains(const TAreaDataObject& area, QPoint p);
// The grabbed handle of an area at p, or -1: a rectangle's corners top-left 0, top-right 1,
// bottom-right 2, bottom-left 3; a circle's four handles at 0.7 radius diagonally; a
// polygon's first vertex less than 5 pixels away in x and in y.
int areaHandleAt(const TAreaDataObject& area, QPoint p);
QPoint circleHandle(const TAreaDataObject& area, int handle);
// The first area under p, in list order, with its grabbed handle and hint ("alt: link", empty
// when the area has neither).
TSelectedArea hitTest(const TAreaList& areas, QPoint p);

// Moves the area by delta; a rectangle or circle does not move along an axis on which it would
// leave the image, a polygon's vertices are held inside it.
void moveArea(TAreaDataObject& area, QPoint delta, QSize image);
// The fixed corner while a handle is dragged: the rectangle's opposite corner, the corner of
// the circle's bounding square opposite the handle.
QPoint resizeAnchor(const TAreaDataObject& area, int handle);
// Moves the grabbed corner or vertex to p, anchor held (from resizeAnchor at the press); for
// a circle the square from anchor towards p, its side 1.18 times the larger distance, becomes
// its bounds.
void resizeArea(TAreaDataObject& area, int handle, QPoint anchor, QPoint p);
// Removes a polygon's vertex; false when the polygon would keep fewer than three, for then the
// whole area goes.
bool deleteVertex(TAreaDataObject& area, int vertex);
// The circle drawn from start with the pointer at p: inscribed in the square whose side is the
// larger drag distance, placed from start towards p.
TAreaDataObject circleFromDrag(QPoint start, QPoint p);
QPoint clampToImage(QPoint p, QSize image);

// The coordinates field: "LO=(x1,y1) RU=(x2,y2)", "M=(x,y) R=r" or "(x,y),(x,y),…".
QString areaCoordinatesText(const TAreaDataObject& area);
// What a polygon lacks: fewer than three vertices cannot be written.
bool areaWritable(const TAreaDataObject& area);
// "Bereich 1", … for each area without alternative text, by position.
void nameUnnamedAreas(TAreaList& areas);

} // namespace orvel
