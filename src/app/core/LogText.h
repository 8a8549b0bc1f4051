#pragma once
// The log as the viewer holds it: decoded the way the log writer wrote it, shown with plain
// line breaks, and written back byte for byte except for what the user deleted.

#include <QByteArray>
#include <QList>
#include <QString>

namespace orvel {

class TLogText {
public:
    // Bytes of value 0 are dropped. With the UTF-8 byte-order mark the rest is UTF-8 (a byte
    // that is not part of a valid sequence reads as Windows-1252, as the log writer appends);
    // otherwise the whole is Windows-1252.
    static TLogText fromBytes(QByteArray bytes);

    bool isUtf8() const { return m_utf8; }
    // The text with every line break ("\r\n", "\r" or "\n") as one "\n", as a text view
    // counts positions.
    const QString& display() const { return m_display; }
    // Removes the display positions [start, end), line breaks whole.
    void remove(qsizetype start, qsizetype end);
    // The text in the encoding it was read in, line breaks as they were.
    QByteArray toBytes() const;

private:
    void rebuildDisplay();

    QString m_raw;
    // Per character of m_raw: 1 where it stands for an 8-bit byte in a UTF-8 file, so that
    // the byte goes back as it came.
    QByteArray m_eightBit;
    QString m_display;
    QList<qsizetype> m_pairs; // display positions of breaks that stand for "\r\n"
    bool m_utf8 = false;
};

// Start of the nearest match of what in text, or -1: forward at or after from, backward
// before from. wholeWord wants no letter, digit or "_" on either side of the match.
qsizetype findText(const QString& text, const QString& what, qsizetype from, bool forward,
                   bool matchCase, bool wholeWord);

} // namespace orvel
