#pragma once
// The image dialog's fields and the attribute text of an image element: read from the text an
// edited element had, written back so that only what the user changed changes.

#include <QString>
#include <QStringList>

namespace orvel {

// The attributes the dialog edits, in the order a new element writes them.
enum TImageAttr { iaAlt, iaTitle, iaWidth, iaHeight, iaAlign, iaBorder, iaHspace, iaVspace };
inline constexpr int kImageAttrCount = 8;
const char* imageAttrName(int attr);

// The alignment list's written values; index 0 is "<none>".
const QStringList& imageAlignValues();

struct TImageFields {
    QString hint, title, width, height;
    int align = 0;  // index into imageAlignValues(), 0 for none
    int border = 0; // -1 to 20; -1: no attribute
    int hspace = 0; // 0 to 100; 0: no attribute
    int vspace = 0; // 0 to 100; 0: no attribute
    bool operator==(const TImageFields&) const = default;
    // The attribute's value as the fields give it; empty with has false when none is written.
    QString value(int attr, bool* has) const;
};

// The fields a new image starts with.
TImageFields newImageFields();
// The fields from an edited element's attribute text (everything after its src value, up to
// the ">"): names matched whole and without regard to case, in either quotes or none. A
// missing border reads as -1 (none), so that the element keeps having none.
TImageFields readImageFields(QStringView attributes);
// The attribute text after OK. A new image (original empty and not editing) gets every
// attribute whose condition holds, in table order; an edited element keeps its text and
// changes only the attributes whose fields differ from what was read.
QString writeImageAttributes(const QString& original, bool editing, const TImageFields& read,
                             const TImageFields& now);

// An image element split around its reference: head ("<img src=\"" as written), the
// reference, tail (the closing quote and the other attributes up to, not with, the ">" or
// "/>"), and end (the "/>" or ">"). Without a src attribute, head is "<img " …: the
// reference is empty and attributes holds everything.
struct TImageElement {
    QString head;
    QString image;
    QString quote;      // the reference's closing quote, empty when unquoted
    QString attributes; // the rest, blank first
    QString end;        // ">" or "/>" as written, empty when missing
    bool hasSrc = false;
    QString text() const;
};
TImageElement splitImageElement(QStringView tag);

} // namespace orvel
