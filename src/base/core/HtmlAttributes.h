#pragma once
// A start tag read the way HTML reads it, edited in place: the dialogs that edit an element
// change only what they edit and give every other attribute back as the user wrote it.

#include <QList>
#include <QString>
#include <QStringView>

namespace orvel {

struct THtmlAttribute {
    QString name;  // as written
    QString value; // as written between the quotes (entities kept); empty without a value
    QChar quote;   // u'"', u'\'' or null (unquoted or no value)
    bool hasValue = false;
};

// Names are matched whole and without regard to case; values stand in double quotes, single
// quotes or none; blanks, tabs, line breaks and other control characters separate attributes.
class THtmlTag {
public:
    // From "<" up to and including ">"; a missing ">" is tolerated.
    static THtmlTag parse(QStringView tag);

    QString name() const { return m_name; } // element name as written ("a", "IMG")
    const QList<THtmlAttribute>& attributes() const { return m_attributes; }
    bool has(QStringView name) const { return indexOf(name) >= 0; }
    // The raw value of the first attribute of that name (entities kept); empty when absent.
    QString value(QStringView name) const;
    // Writes the value with the attribute's old quote, or '"' for a new or unquoted one; a
    // quote in the value is written as an entity. A new attribute goes after the last one.
    void set(const QString& name, const QString& value);
    // Removes every attribute of that name with the blanks before it.
    void remove(QStringView name);
    QString toString() const { return m_text; }

private:
    struct Span {
        qsizetype lead = 0;  // first blank before the name
        qsizetype start = 0; // name
        qsizetype nameEnd = 0;
        qsizetype valueStart = 0; // inside the quotes
        qsizetype valueEnd = 0;
        qsizetype end = 0; // after the value and its closing quote
    };
    void read();
    qsizetype indexOf(QStringView name) const;

    QString m_text;
    QString m_name;
    qsizetype m_nameEnd = 0;
    QList<THtmlAttribute> m_attributes;
    QList<Span> m_spans;
};

// A value ready for double quotes: '"' becomes "&quot;"; everything else, entities
// included, stays as typed.
QString quotedAttributeValue(const QString& value);

// The index after the ">" that closes the tag starting at lt (a ">" inside a quoted value
// does not close it), or -1 when the text ends first.
qsizetype htmlTagEnd(QStringView text, qsizetype lt);

} // namespace orvel
