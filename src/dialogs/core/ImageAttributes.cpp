#include "dialogs/core/ImageAttributes.h"

#include "base/core/HtmlAttributes.h"

namespace orvel {

namespace {

const char* const kNames[kImageAttrCount] = {"alt",   "title",  "width",  "height",
                                             "align", "border", "hspace", "vspace"};

int toInt(const QString& text, int low, int high) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? qBound(low, v, high) : 0;
}

// An attribute text read as the attributes of an image element. A text that does not begin
// with a blank (after an unquoted or closed value: src="a"alt=b) gets one, so that its first
// attribute is not taken for part of the name.
THtmlTag attributeTag(const QString& attributes, bool* padded) {
    *padded = !attributes.isEmpty() && attributes.at(0).unicode() > 32;
    return THtmlTag::parse(QStringLiteral("<img") + (*padded ? QStringLiteral(" ") : QString()) +
                           attributes + u'>');
}

// The attribute text of a tag made for editing: what lies between the name and the ">".
QString attributeText(const THtmlTag& tag, bool padded = false) {
    QString s = tag.toString();
    s.remove(0, 1 + tag.name().size() + (padded ? 1 : 0));
    if (s.endsWith(u'>'))
        s.chop(1);
    return s;
}

} // namespace

const char* imageAttrName(int attr) {
    return kNames[attr];
}

const QStringList& imageAlignValues() {
    static const QStringList values = {QString(),
                                       QStringLiteral("left"),
                                       QStringLiteral("right"),
                                       QStringLiteral("top"),
                                       QStringLiteral("middle"),
                                       QStringLiteral("bottom")};
    return values;
}

QString TImageFields::value(int attr, bool* has) const {
    QString v;
    switch (attr) {
    case iaAlt:
        v = hint;
        break;
    case iaTitle:
        v = title;
        break;
    case iaWidth:
        v = width;
        break;
    case iaHeight:
        v = height;
        break;
    case iaAlign:
        v = imageAlignValues().value(align);
        break;
    case iaBorder:
        *has = border >= 0;
        return *has ? QString::number(border) : QString();
    case iaHspace:
        *has = hspace > 0;
        return *has ? QString::number(hspace) : QString();
    case iaVspace:
        *has = vspace > 0;
        return *has ? QString::number(vspace) : QString();
    default:
        break;
    }
    *has = !v.isEmpty();
    return v;
}

TImageFields newImageFields() {
    return TImageFields();
}

TImageFields readImageFields(QStringView attributes) {
    bool padded = false;
    const THtmlTag tag = attributeTag(attributes.toString(), &padded);
    TImageFields f;
    f.hint = tag.value(u"alt").trimmed();
    f.title = tag.value(u"title").trimmed();
    f.width = tag.value(u"width").trimmed();
    f.height = tag.value(u"height").trimmed();
    const QString align = tag.value(u"align").trimmed();
    const QStringList& values = imageAlignValues();
    for (int i = 1; i < values.size(); ++i) {
        if (align.compare(values.at(i), Qt::CaseInsensitive) == 0)
            f.align = i;
    }
    f.border = tag.has(u"border") ? toInt(tag.value(u"border"), -1, 20) : -1;
    f.hspace = toInt(tag.value(u"hspace"), 0, 100);
    f.vspace = toInt(tag.value(u"vspace"), 0, 100);
    return f;
}

QString writeImageAttributes(const QString& original, bool editing, const TImageFields& read,
                             const TImageFields& now) {
    bool padded = false;
    THtmlTag tag = attributeTag(original, &padded);
    for (int a = 0; a < kImageAttrCount; ++a) {
        bool hadField = false, has = false;
        const QString before = read.value(a, &hadField);
        const QString after = now.value(a, &has);
        // An edited element keeps every attribute the user left as it was read, quoting and
        // all, also an alt="" that marks a decorative image.
        if (editing && hadField == has && before == after)
            continue;
        if (has)
            tag.set(QString::fromLatin1(kNames[a]), after);
        else if (editing)
            tag.remove(QString::fromLatin1(kNames[a]));
    }
    return attributeText(tag, padded);
}

QString TImageElement::text() const {
    if (!hasSrc)
        return head + attributes + end;
    return head + image + quote + attributes + end;
}

TImageElement splitImageElement(QStringView tagView) {
    const QString tag = tagView.toString();
    TImageElement e;
    QString body = tag;
    if (body.endsWith(QStringLiteral("/>"))) {
        e.end = QStringLiteral("/>");
        body.chop(2);
    } else if (body.endsWith(u'>')) {
        e.end = QStringLiteral(">");
        body.chop(1);
    }
    THtmlTag parsed = THtmlTag::parse(QString(body + u'>'));
    const QString name = parsed.name();
    const qsizetype nameEnd = 1 + name.size();
    const auto& attrs = parsed.attributes();
    if (attrs.isEmpty() || attrs.first().name.compare(u"src", Qt::CaseInsensitive) != 0) {
        // The reference is not the first attribute: the dialog gets all the others, and a
        // changed element is written with the reference first.
        e.hasSrc = parsed.has(u"src");
        e.image = parsed.value(u"src");
        parsed.remove(u"src");
        e.attributes = attributeText(parsed);
        if (e.hasSrc) {
            e.head = u'<' + name + QStringLiteral(" src=\"");
            e.image = e.image;
            e.quote = QStringLiteral("\"");
        } else {
            e.head = body.left(nameEnd);
        }
        return e;
    }
    const THtmlAttribute src = attrs.first();
    e.hasSrc = true;
    e.image = src.value;
    parsed.remove(u"src");
    const QString rest = attributeText(parsed); // body without the reference's blank and text
    const qsizetype chunk = body.size() - nameEnd - rest.size();
    const qsizetype quoteLen = src.quote.isNull() ? 0 : 1;
    e.head = body.left(nameEnd + chunk - src.value.size() - quoteLen);
    e.quote = quoteLen ? QString(src.quote) : QString();
    e.attributes = body.mid(nameEnd + chunk);
    return e;
}

} // namespace orvel
