#include "dialogs/core/ImageMap.h"

#include "base/core/Translate.h"

#include <QPolygon>
#include <cmath>

namespace orvel {

QRect normalizedRect(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QRect areaBounds(const TAreaDataObject& area) {
    switch (area.Shape) {
    case asRect:
        if (area.Points.size() < 2)
            return {};
        return normalizedRect(area.Points.at(0), area.Points.at(1));
    case asCircle: {
        if (area.Points.size() < 2)
            return {};
        const QPoint c = area.Points.at(0);
        const int r = area.Points.at(1).x();
        return QRect(c.x() - r, c.y() - r, 2 * r + 1, 2 * r + 1);
    }
    case asPoly:
        return QPolygon(area.Points).boundingRect();
    }
    return {};
}

bool areaContains(const TAreaDataObject& area, QPoint p) {
    switch (area.Shape) {
    case asRect:
        return area.Points.size() >= 2 && areaBounds(area).contains(p);
    case asCircle: {
        if (area.Points.size() < 2)
            return false;
        const QPoint d = p - area.Points.at(0);
        const qint64 r = area.Points.at(1).x();
        return qint64(d.x()) * d.x() + qint64(d.y()) * d.y() <= r * r;
    }
    case asPoly:
        return area.Points.size() >= 3 && QPolygon(area.Points).containsPoint(p, Qt::WindingFill);
    }
    return false;
}

QPoint circleHandle(const TAreaDataObject& area, int handle) {
    const QPoint c = area.Points.value(0);
    const int d = int(std::lround(0.7 * area.Points.value(1).x()));
    const int sx = (handle == 1 || handle == 2) ? 1 : -1;
    const int sy = handle >= 2 ? 1 : -1;
    return c + QPoint(sx * d, sy * d);
}

int areaHandleAt(const TAreaDataObject& area, QPoint p) {
    const auto near = [p](QPoint q) {
        return std::abs(q.x() - p.x()) <= 4 && std::abs(q.y() - p.y()) < 5;
    };
    switch (area.Shape) {
    case asRect: {
        if (area.Points.size() < 2)
            return -1;
        const QRect r = areaBounds(area);
        const QPoint corners[4] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
        for (int i = 0; i < 4; ++i) {
            if (near(corners[i]))
                return i;
        }
        return -1;
    }
    case asCircle:
        if (area.Points.size() < 2)
            return -1;
        for (int i = 0; i < 4; ++i) {
            const QPoint h = circleHandle(area, i);
            if (std::abs(h.x() - p.x()) < 5 && std::abs(h.y() - p.y()) < 5)
                return i;
        }
        return -1;
    case asPoly:
        for (int i = 0; i < area.Points.size(); ++i) {
            const QPoint q = area.Points.at(i);
            if (std::abs(q.x() - p.x()) < 5 && std::abs(q.y() - p.y()) < 5)
                return i;
        }
        return -1;
    }
    return -1;
}

TSelectedArea hitTest(const TAreaList& areas, QPoint p) {
    TSelectedArea sel;
    for (int i = 0; i < areas.size(); ++i) {
        const TAreaDataObject& a = areas.at(i);
        // A handle just outside the shape (a circle's) still grabs it.
        const int handle = areaHandleAt(a, p);
        if (handle < 0 && !areaContains(a, p))
            continue;
        sel.AreaShape = a.Shape;
        sel.AreaNr = i;
        sel.PointNr = handle;
        if (!a.Alt.isEmpty() || !a.Link.isEmpty())
            sel.Hint = a.Alt + QStringLiteral(": ") + a.Link;
        return sel;
    }
    return sel;
}

QPoint clampToImage(QPoint p, QSize image) {
    return QPoint(qBound(0, p.x(), std::max(0, image.width() - 1)),
                  qBound(0, p.y(), std::max(0, image.height() - 1)));
}

void moveArea(TAreaDataObject& area, QPoint delta, QSize image) {
    if (area.Shape == asPoly) {
        const QRect b = areaBounds(area);
        // Held inside the image as a whole, so the shape keeps its form.
        const int dx = qBound(-b.left(), delta.x(), image.width() - 1 - b.right());
        const int dy = qBound(-b.top(), delta.y(), image.height() - 1 - b.bottom());
        for (QPoint& q : area.Points)
            q += QPoint(dx, dy);
        return;
    }
    if (area.Points.size() < 2)
        return;
    const QRect b = areaBounds(area);
    const QRect moved = b.translated(delta);
    const bool xOk = moved.left() >= 0 && moved.right() < image.width();
    const bool yOk = moved.top() >= 0 && moved.bottom() < image.height();
    const QPoint d(xOk ? delta.x() : 0, yOk ? delta.y() : 0);
    if (area.Shape == asRect) {
        area.Points[0] += d;
        area.Points[1] += d;
    } else {
        area.Points[0] += d;
    }
}

QPoint resizeAnchor(const TAreaDataObject& area, int handle) {
    const QRect b = areaBounds(area);
    switch (handle) {
    case 0:
        return b.bottomRight();
    case 1:
        return b.bottomLeft();
    case 2:
        return b.topLeft();
    default:
        return b.topRight();
    }
}

void resizeArea(TAreaDataObject& area, int handle, QPoint anchor, QPoint p) {
    if (handle < 0)
        return;
    switch (area.Shape) {
    case asRect:
        if (area.Points.size() < 2 || handle > 3)
            return;
        area.Points[0] = anchor;
        area.Points[1] = p;
        return;
    case asCircle: {
        if (area.Points.size() < 2 || handle > 3)
            return;
        const int dist = std::max(std::abs(p.x() - anchor.x()), std::abs(p.y() - anchor.y()));
        const int side = int(std::lround(1.18 * dist));
        const int sx = p.x() >= anchor.x() ? 1 : -1;
        const int sy = p.y() >= anchor.y() ? 1 : -1;
        const QRect square = normalizedRect(anchor, anchor + QPoint(sx * side, sy * side));
        area.Points[0] = square.topLeft() + QPoint(side / 2, side / 2);
        area.Points[1] = QPoint(side / 2, 0);
        return;
    }
    case asPoly:
        if (handle < area.Points.size())
            area.Points[handle] = p;
        return;
    }
}

bool deleteVertex(TAreaDataObject& area, int vertex) {
    if (area.Shape != asPoly || vertex < 0 || vertex >= area.Points.size())
        return true;
    if (area.Points.size() <= 3)
        return false;
    area.Points.removeAt(vertex);
    return true;
}

TAreaDataObject circleFromDrag(QPoint start, QPoint p) {
    const int side = std::max(std::abs(p.x() - start.x()), std::abs(p.y() - start.y()));
    const int r = side / 2;
    const int sx = p.x() >= start.x() ? 1 : -1;
    const int sy = p.y() >= start.y() ? 1 : -1;
    TAreaDataObject a(asCircle);
    a.Points = {start + QPoint(sx * r, sy * r), QPoint(r, 0)};
    return a;
}

QString areaCoordinatesText(const TAreaDataObject& area) {
    const auto pt = [](QPoint q) { return QStringLiteral("(%1,%2)").arg(q.x()).arg(q.y()); };
    switch (area.Shape) {
    case asRect:
        if (area.Points.size() < 2)
            return {};
        return QStringLiteral("LO=") + pt(area.Points.at(0)) + QStringLiteral(" RU=") +
               pt(area.Points.at(1));
    case asCircle:
        if (area.Points.size() < 2)
            return {};
        return QStringLiteral("M=") + pt(area.Points.at(0)) + QStringLiteral(" R=") +
               QString::number(area.Points.at(1).x());
    case asPoly: {
        QStringList parts;
        for (QPoint q : area.Points)
            parts << pt(q);
        return parts.join(u',');
    }
    }
    return {};
}

bool areaWritable(const TAreaDataObject& area) {
    return area.Points.size() >= (area.Shape == asPoly ? 3 : 2);
}

void nameUnnamedAreas(TAreaList& areas) {
    for (int i = 0; i < areas.size(); ++i) {
        if (areas[i].Alt.isEmpty())
            areas[i].Alt = T_("Bereich ") + QString::number(i + 1);
    }
}

} // namespace orvel
