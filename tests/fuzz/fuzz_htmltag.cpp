// Start tags from any text: reading gives the text back unchanged, and on a closed tag an
// edit of one attribute changes that one alone.

#include "base/core/HtmlAttributes.h"

#include "Fuzz.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvel::fuzz::TInput input(data, size);
    const uint8_t flags = input.byte();
    const QString value = QString::fromUtf8(input.part('\n'));
    const QString text = QString::fromUtf8(input.rest());

    THtmlTag tag = THtmlTag::parse(text);
    FUZZ_CHECK(tag.toString() == text);
    if (!text.startsWith(u'<') || htmlTagEnd(text, 0) != text.size())
        return 0;

    // A name that begins with "=" (an error in HTML) becomes the value of a bare attribute
    // once the attribute between them goes: such tags are only read back unchanged.
    for (const THtmlAttribute& a : tag.attributes())
        if (a.name.startsWith(u'='))
            return 0;

    static const char* const names[] = {"href", "alt", "title", "id"};
    const QString name = QString::fromLatin1(names[flags & 3]);
    QList<THtmlAttribute> others;
    for (const THtmlAttribute& a : tag.attributes())
        if (a.name.compare(name, Qt::CaseInsensitive) != 0)
            others << a;
    const auto sameOthers = [&](const THtmlTag& t) {
        qsizetype k = 0;
        for (const THtmlAttribute& a : t.attributes()) {
            if (a.name.compare(name, Qt::CaseInsensitive) == 0)
                continue;
            if (k >= others.size() || a.name != others[k].name || a.value != others[k].value ||
                a.quote != others[k].quote)
                return false;
            ++k;
        }
        return k == others.size();
    };
    if (flags & 4) {
        tag.remove(name);
        const THtmlTag again = THtmlTag::parse(tag.toString());
        FUZZ_CHECK(!again.has(name));
        FUZZ_CHECK(sameOthers(again));
    } else {
        const bool wasSingle = [&] {
            for (const THtmlAttribute& a : tag.attributes())
                if (a.name.compare(name, Qt::CaseInsensitive) == 0)
                    return a.quote == u'\'';
            return false;
        }();
        tag.set(name, value);
        const THtmlTag again = THtmlTag::parse(tag.toString());
        QString expected = quotedAttributeValue(value);
        if (wasSingle) {
            expected = value;
            expected.replace(u'\'', QStringLiteral("&#39;"));
        }
        FUZZ_CHECK(again.value(name) == expected);
        FUZZ_CHECK(sameOthers(again));
    }
    return 0;
}
