#include "dialogs/core/LinkAttributes.h"

#include "base/core/HtmlAttributes.h"

namespace orvel {

namespace {

const QString kTitle = QStringLiteral("title");
const QString kTarget = QStringLiteral("target");

// The attributes of a tag as text: everything between the element's name and its ">".
QString attributeText(const THtmlTag& tag) {
    QString s = tag.toString();
    const qsizetype lt = s.indexOf(u'<');
    const qsizetype nameAt = tag.name().isEmpty() ? -1 : s.indexOf(tag.name(), lt + 1);
    s.remove(0, nameAt >= 0 ? nameAt + tag.name().size() : lt + 1);
    // Only a ">" that closes the tag goes; one inside an unclosed quote belongs to the value.
    if (s.endsWith(u'>') && htmlTagEnd(tag.toString(), lt) == tag.toString().size())
        s.chop(1);
    return s;
}

// Without a ">" of its own, so that an unclosed quote in the text does not take one in.
THtmlTag tagOfAttributes(const QString& attributes) {
    return THtmlTag::parse(QStringLiteral("<a") + attributes);
}

// Sets a value, leaving the attribute's bytes alone when it holds that value already.
void setChanged(THtmlTag& tag, const QString& name, const QString& value) {
    if (!tag.has(name) || tag.value(name) != value)
        tag.set(name, value);
}

} // namespace

int linkTargetIndex(QStringView target) {
    if (target.isEmpty())
        return 0;
    for (int i = 1; i < kLinkTargetCount; ++i)
        if (target.compare(QLatin1String(kLinkTargets[i].value), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TLinkAttributes readLinkAttributes(const QString& attributes) {
    const THtmlTag tag = tagOfAttributes(attributes);
    return {tag.value(kTitle), tag.value(kTarget)};
}

QString writeLinkAttributes(const QString& attributes, const TLinkAttributes& values) {
    THtmlTag tag = tagOfAttributes(attributes);
    const std::pair<const QString&, const QString&> edited[] = {{kTitle, values.title},
                                                                {kTarget, values.target}};
    for (const auto& [name, value] : edited) {
        if (value.isEmpty())
            tag.remove(name);
        else
            setChanged(tag, name, value);
    }
    return attributeText(tag);
}

TLinkElement splitLinkTag(const QString& tag, const QString& addressName) {
    THtmlTag t = THtmlTag::parse(tag);
    TLinkElement e;
    e.address = t.value(addressName);
    t.remove(addressName);
    e.attributes = attributeText(t);
    return e;
}

QString joinLinkTag(const QString& tag, const QString& addressName, const QString& address,
                    const QString& attributes) {
    THtmlTag t = THtmlTag::parse(tag);
    const THtmlTag returned = tagOfAttributes(attributes);
    // Dropped by the dialog: removed; the address attribute is not among the returned ones.
    QStringList gone;
    for (const THtmlAttribute& a : t.attributes())
        if (a.name.compare(addressName, Qt::CaseInsensitive) != 0 && !returned.has(a.name))
            gone << a.name;
    for (const QString& name : gone)
        t.remove(name);
    for (const THtmlAttribute& a : returned.attributes())
        setChanged(t, a.name, a.value);
    // A named anchor without address gets none unless one was entered.
    if (t.has(addressName) || !address.isEmpty())
        setChanged(t, addressName, address);
    return t.toString();
}

TLinkText linkTextForField(const QString& content) {
    TLinkText r;
    const bool hasBreak = content.contains(u'\r') || content.contains(u'\n');
    r.barsAreBreaks = hasBreak;
    r.pipesDoubled = hasBreak && content.contains(u'|');
    for (qsizetype i = 0; i < content.size(); ++i) {
        const QChar c = content[i];
        if (c == u'\r' || c == u'\n') {
            r.shown += u'|';
            if (c == u'\r' && i + 1 < content.size() && content[i + 1] == u'\n')
                ++i;
        } else if (c == u'|' && r.pipesDoubled) {
            r.shown += QStringLiteral("||");
        } else if (c.unicode() >= 32) {
            r.shown += c;
        }
    }
    return r;
}

QString linkTextFromField(const QString& content, const TLinkText& shown, const QString& text,
                          const QString& lineBreak) {
    if (text == shown.shown)
        return content;
    if (!shown.barsAreBreaks)
        return text;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'|') {
            out += text[i];
        } else if (shown.pipesDoubled && i + 1 < text.size() && text[i + 1] == u'|') {
            out += u'|';
            ++i;
        } else {
            out += lineBreak;
        }
    }
    return out;
}

} // namespace orvel
