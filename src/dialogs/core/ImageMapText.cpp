#include "dialogs/core/ImageMapText.h"

#include <algorithm>
#include <cmath>

namespace orvel {

namespace {

bool isSeparator(QChar c) {
    return c.unicode() <= 32 || c == u'>' || c == u'/';
}

// The next "<" + element name (a whole name) at or after from, ignoring case; -1 when none.
qsizetype findElement(QStringView text, QStringView name, qsizetype from) {
    const QString open = u'<' + name.toString();
    while (from < text.size()) {
        const qsizetype at = text.indexOf(open, from, Qt::CaseInsensitive);
        if (at < 0)
            return -1;
        const qsizetype after = at + open.size();
        if (after >= text.size() || isSeparator(text.at(after)))
            return at;
        from = after;
    }
    return -1;
}

// After the tag's ">", or the text's end when it is not closed.
qsizetype tagEnd(QStringView text, qsizetype from) {
    const qsizetype end = htmlTagEnd(text, from);
    return end < 0 ? text.size() : end;
}

QString attributeItem(const THtmlAttribute& a) {
    // Carried as written only when it reads back as the same attribute; markup debris such
    // as a name holding a quote or "=" would swallow what follows it.
    const bool sound = !a.name.isEmpty() && std::none_of(a.name.begin(), a.name.end(), [](QChar c) {
        return c.unicode() <= 0x20 || QStringView(u"\"'<=>/`").contains(c);
    });
    if (!sound)
        return QString();
    if (!a.hasValue)
        return u' ' + a.name;
    const QString q = a.quote.isNull() ? QString() : QString(a.quote);
    return u' ' + a.name + u'=' + q + a.value + q;
}

bool isEdited(QStringView name, std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names) {
        if (name.compare(QStringView(n), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

QList<int> readCoords(QStringView coords) {
    QList<int> numbers;
    if (coords.trimmed().isEmpty())
        return numbers;
    for (QStringView part : coords.split(u',')) {
        bool ok = false;
        const double v = part.trimmed().toDouble(&ok);
        // Fractions as some tools write them; anything else counts as 0.
        numbers << (ok && std::isfinite(v) && std::abs(v) < 1e9 ? int(std::lround(v)) : 0);
    }
    return numbers;
}

TAreaDataObject readArea(QStringView areaTag) {
    const THtmlTag tag = THtmlTag::parse(areaTag);
    const QString shape = tag.value(u"shape").trimmed().toLower();
    TAreaDataObject area(shape == u"circle" || shape == u"circ"    ? asCircle
                         : shape == u"poly" || shape == u"polygon" ? asPoly
                                                                   : asRect);
    area.Link = tag.value(u"href");
    area.Alt = tag.value(u"alt");
    area.Title = tag.value(u"title");
    const QList<int> n = readCoords(tag.value(u"coords"));
    switch (area.Shape) {
    case asRect:
        area.Points = {QPoint(n.value(0), n.value(1)), QPoint(n.value(2), n.value(3))};
        break;
    case asCircle:
        area.Points = {QPoint(n.value(0), n.value(1)), QPoint(std::abs(n.value(2)), 0)};
        break;
    case asPoly:
        for (qsizetype i = 0; i + 1 < n.size(); i += 2)
            area.Points << QPoint(n.at(i), n.at(i + 1));
        break;
    }
    for (const THtmlAttribute& a : tag.attributes()) {
        if (!isEdited(a.name, {u"shape", u"coords", u"href", u"alt", u"title"}))
            area.Other << a;
    }
    return area;
}

QString usemapName(QStringView imageTag) {
    const QString v = THtmlTag::parse(imageTag).value(u"usemap").trimmed();
    return v.startsWith(u'#') ? v.mid(1) : QString();
}

TMapBlock findImageMap(QStringView text, const QString& name) {
    TMapBlock block;
    if (name.isEmpty())
        return block;
    qsizetype from = 0;
    while (true) {
        const qsizetype start = findElement(text, u"map", from);
        if (start < 0)
            return block;
        const qsizetype openEnd = tagEnd(text, start);
        const qsizetype close = text.indexOf(u"</map", openEnd, Qt::CaseInsensitive);
        const qsizetype end = close < 0 ? text.size() : tagEnd(text, close);
        const THtmlTag open = THtmlTag::parse(text.mid(start, openEnd - start));
        if (open.value(u"name").trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            block.start = start;
            block.end = end;
            block.map.name = open.value(u"name").trimmed();
            for (const THtmlAttribute& a : open.attributes()) {
                if (!isEdited(a.name, {u"name"}))
                    block.map.other << a;
            }
            const qsizetype inner = close < 0 ? end : close;
            qsizetype at = openEnd;
            while ((at = findElement(text, u"area", at)) >= 0 && at < inner) {
                const qsizetype e = std::min(tagEnd(text, at), inner);
                block.map.areas << readArea(text.mid(at, e - at));
                at = e;
            }
            return block;
        }
        from = end;
    }
}

QString escapedAttribute(const QString& value) {
    QString v = quotedAttributeValue(value);
    v.replace(u'<', QStringLiteral("&lt;"));
    v.replace(u'>', QStringLiteral("&gt;"));
    return v;
}

QString writeImageMap(const TImageMap& map, int indent, QSize image, const QString& lineBreak) {
    const auto held = [&](QPoint p) { return image.isValid() ? clampToImage(p, image) : p; };
    QString s = QStringLiteral("<map name=\"") + escapedAttribute(map.name) + u'"';
    for (const THtmlAttribute& a : map.other)
        s += attributeItem(a);
    s += u'>' + lineBreak;
    for (const TAreaDataObject& area : map.areas) {
        if (!areaWritable(area))
            continue;
        QStringList coords;
        switch (area.Shape) {
        case asRect: {
            const QPoint a = held(area.Points.at(0)), b = held(area.Points.at(1));
            coords << QString::number(a.x()) << QString::number(a.y()) << QString::number(b.x())
                   << QString::number(b.y());
            break;
        }
        case asCircle: {
            const QPoint c = held(area.Points.at(0));
            int r = std::max(0, area.Points.at(1).x());
            if (image.isValid())
                r = std::min(r, std::max(image.width(), image.height()));
            coords << QString::number(c.x()) << QString::number(c.y()) << QString::number(r);
            break;
        }
        case asPoly:
            for (QPoint p : area.Points) {
                const QPoint q = held(p);
                coords << QString::number(q.x()) << QString::number(q.y());
            }
            break;
        }
        static const char* const shapes[] = {"rect", "circle", "poly"};
        s += QString(std::max(0, indent), u' ') + QStringLiteral("<area shape=\"") +
             QLatin1String(shapes[area.Shape]) + QStringLiteral("\" coords=\"") +
             coords.join(u',') + u'"';
        if (!area.Link.isEmpty())
            s += QStringLiteral(" href=\"") + escapedAttribute(area.Link) + u'"';
        if (!area.Alt.isEmpty())
            s += QStringLiteral(" alt=\"") + escapedAttribute(area.Alt) + u'"';
        if (!area.Title.isEmpty())
            s += QStringLiteral(" title=\"") + escapedAttribute(area.Title) + u'"';
        for (const THtmlAttribute& a : area.Other)
            s += attributeItem(a);
        s += u'>' + lineBreak;
    }
    s += QStringLiteral("</map>");
    return s;
}

QString imageWithUsemap(QStringView imageTag, const QString& name) {
    THtmlTag tag = THtmlTag::parse(imageTag);
    tag.set(QStringLiteral("usemap"), u'#' + escapedAttribute(name));
    return tag.toString();
}

} // namespace orvel
