// A link element as "Edit tag" takes it apart and puts it together again, and the link text
// as the one-line field shows it: any tag, address, title and text.

#include "base/core/HtmlAttributes.h"
#include "dialogs/core/LinkAttributes.h"

#include "Fuzz.h"

#include <QSet>
#include <QString>
#include <QStringList>

using namespace orvel;

namespace {

const QString kHref = QStringLiteral("href");

// Attributes with names of their own (compared as HTML compares them), each an ordinary
// name: one that begins with a letter, a digit, "_" or ":" and holds no quote or "=". (HTML
// reads "='t'" or "a\"b" as names too, but a page never holds them on purpose.)
bool plainNames(const THtmlTag& tag) {
    QSet<QString> seen;
    for (const THtmlAttribute& a : tag.attributes()) {
        const QString n = a.name.toLower();
        if (n.isEmpty() || seen.contains(n) ||
            !(n[0].isLetterOrNumber() || n[0] == u'_' || n[0] == u':') || n.contains(u'"') ||
            n.contains(u'\'') || n.contains(u'='))
            return false;
        seen.insert(n);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvel::fuzz::TInput input(data, size);
    // "Edit tag" takes a link from its "<a" and a blank on.
    const char blanks[] = {' ', '\t', '\r', '\n'};
    const QString tag = QStringLiteral("<a") + QChar(blanks[input.byte() % 4]) +
                        QString::fromUtf8(input.part('\x01'));
    const QString address = QString::fromUtf8(input.part('\x01'));
    const QString title = QString::fromUtf8(input.part('\x01'));
    const QString content = QString::fromUtf8(input.rest());

    const THtmlTag parsed = THtmlTag::parse(tag);
    const TLinkElement e = splitLinkTag(tag, kHref);
    // The other attributes stay what they were, also where no blank stood between them.
    QStringList others, split;
    for (const THtmlAttribute& a : parsed.attributes())
        if (a.name.compare(kHref, Qt::CaseInsensitive) != 0)
            others << a.name;
    const THtmlTag rest = THtmlTag::parse(QStringLiteral("<a") + e.attributes + u'>');
    for (const THtmlAttribute& a : rest.attributes())
        split << a.name;
    const bool plain = plainNames(parsed);
    if (plain)
        FUZZ_CHECK(split == others);
    // Given back untouched, every byte stays.
    if (plain && (parsed.has(kHref) || e.address.isEmpty()))
        FUZZ_CHECK(joinLinkTag(tag, kHref, e.address, e.attributes) == parsed.toString());

    // A title set keeps every other attribute, in order and with its value.
    const QString attrs = writeLinkAttributes(e.attributes, {title, QString()});
    // New attributes go after the last one: in a tag that ends inside an open quote they
    // would go into its value, so only closed tags are held to this.
    if (plain && !title.isEmpty() && htmlTagEnd(tag, 0) == tag.size()) {
        const THtmlTag before = THtmlTag::parse(QStringLiteral("<a") + e.attributes + u'>');
        const THtmlTag after = THtmlTag::parse(QStringLiteral("<a") + attrs + u'>');
        FUZZ_CHECK(after.has(QStringLiteral("title")));
        QStringList kept, left;
        for (const THtmlAttribute& a : before.attributes())
            if (a.name.compare(QLatin1String("title"), Qt::CaseInsensitive) != 0 &&
                a.name.compare(QLatin1String("target"), Qt::CaseInsensitive) != 0)
                kept << a.name + u'=' + a.value;
        for (const THtmlAttribute& a : after.attributes())
            if (a.name.compare(QLatin1String("title"), Qt::CaseInsensitive) != 0)
                left << a.name + u'=' + a.value;
        FUZZ_CHECK(kept == left);
    }
    joinLinkTag(tag, kHref, address, attrs);

    // Link text left as shown is written back byte for byte; the shown text is one line.
    const TLinkText shown = linkTextForField(content);
    FUZZ_CHECK(linkTextFromField(content, shown, shown.shown, QStringLiteral("\r\n")) == content);
    FUZZ_CHECK(!shown.shown.contains(u'\n') && !shown.shown.contains(u'\r'));
    linkTextFromField(content, shown, address, QStringLiteral("\n"));
    return 0;
}
