#pragma once
// The attribute text of a hyperlink as the URL dialog reads and writes it, and the link
// element that "Edit tag" takes apart and puts together again. Attributes the dialog does
// not edit keep their place, their quoting and their bytes.

#include <QString>
#include <QStringView>

namespace orvel {

// The target windows the URL dialog offers: caption (translated when shown) and the value
// written; the first, "<none>", writes no target.
struct TLinkTarget {
    const char* caption;
    const char* value;
};
inline constexpr TLinkTarget kLinkTargets[] = {{"<none>", ""},
                                               {"new window", "_blank"},
                                               {"current window", "_self"},
                                               {"parent window", "_parent"},
                                               {"top window", "_top"}};
inline constexpr int kLinkTargetCount = int(std::size(kLinkTargets));
// The entry whose value equals target ignoring case; 0 ("<none>") for an empty target, -1
// for a value of its own (a named frame).
int linkTargetIndex(QStringView target);

// The title and the target of an attribute text (" title=\"Home\" target='_top' id=x").
struct TLinkAttributes {
    QString title;
    QString target;
};
TLinkAttributes readLinkAttributes(const QString& attributes);
// The attribute text with title and target set (empty: removed) and everything else as
// it stood; for an empty attribute text ` title="TITLE" target="TARGET"`, or nothing.
QString writeLinkAttributes(const QString& attributes, const TLinkAttributes& values);

// A link element split for the URL dialog: the address attribute's value as written and
// the other attributes as text, in their places.
struct TLinkElement {
    QString address;
    QString attributes;
};
TLinkElement splitLinkTag(const QString& tag, const QString& addressName);
// The tag again with the new address and the attributes the dialog returned: those it
// changed are set, those it dropped removed, and every other byte stays.
QString joinLinkTag(const QString& tag, const QString& addressName, const QString& address,
                    const QString& attributes);

// The content of a link as the one-line text field shows it, and back again. Line breaks
// show as "|"; where the content also holds "|" of its own, those show doubled ("||").
// Other control characters are not shown.
struct TLinkText {
    QString shown;
    bool barsAreBreaks = false; // "|" in the text stands for a line break
    bool pipesDoubled = false;  // "||" in the text stands for a "|"
};
TLinkText linkTextForField(const QString& content);
// The content to write for what the field returned: the old content, byte for byte, when
// the text was not changed; else the text with its "|" read as shown, breaks as lineBreak.
QString linkTextFromField(const QString& content, const TLinkText& shown, const QString& text,
                          const QString& lineBreak);

} // namespace orvel
