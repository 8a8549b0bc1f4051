#pragma once
// The settings file format: INI text held in memory, read in whatever encoding its
// byte-order mark names (8-bit Windows-1252 without one) and written whole, atomically, as
// UTF-16LE with a byte-order mark. Lines, names and values are trimmed of blanks: control
// characters and the space.

#include "base/core/Result.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvel {

class TUnicodeIniFile {
public:
    // Loads the file (a missing or unreadable file gives an empty one); never writes back.
    static TUnicodeIniFile CreateForRead(const QString& fileName);
    // Loads the file, or starts empty with clearEntries; writes back as UTF-16LE and carries
    // the Unicode/Encoding marker. Adding a missing marker counts as a change, so a new file
    // or one written by hand is converted; an existing one that is only read is not rewritten.
    // A file that exists but cannot be read is never overwritten: UpdateFile reports it.
    static TUnicodeIniFile CreateForWrite(const QString& fileName, bool clearEntries = false);
    // An object over text already in memory (tests, other readers), never written.
    static TUnicodeIniFile FromBytes(const QByteArray& bytes);

    TUnicodeIniFile(TUnicodeIniFile&&) noexcept;
    TUnicodeIniFile& operator=(TUnicodeIniFile&&) noexcept;
    TUnicodeIniFile(const TUnicodeIniFile&) = delete;
    TUnicodeIniFile& operator=(const TUnicodeIniFile&) = delete;
    // Writes nothing: changes not given to UpdateFile are dropped.
    ~TUnicodeIniFile();

    const QString& fileName() const { return m_fileName; }
    bool writable() const { return m_writable; }
    // The file is written readable by its owner alone (it holds secrets).
    void setOwnerOnly(bool on) { m_ownerOnly = on; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    qint64 ReadInt64(const QString& section, const QString& key, qint64 def) const;

    // Replaces the value, or appends the key at the end of its section (a missing section is
    // appended at the end). A value is cut before its first line break (CR, LF, U+2028,
    // U+2029), so that it can never add a line to the file. Names and values lose blanks at
    // both ends, as the file's reader would drop them, so memory holds what a reread gives; a
    // section name with a line break, or a key with a line break or "=" or beginning with "["
    // or ";", would not read back as written and is refused: nothing is written.
    // Only a real change (a new key, section or different value) marks the object changed.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteInt64(const QString& section, const QString& key, qint64 value);
    void WriteProgramInfo(const QString& key, const QString& value);

    void EraseSection(const QString& section);
    void EraseSectionValues(const QString& section);
    void DeleteKey(const QString& section, const QString& key);
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList Sections() const;
    QStringList SectionKeys(const QString& section) const;

    // The whole file as it would be written (UTF-16LE with its mark).
    QByteArray toBytes() const;
    // Writes the file now when it is writable and changed. A failure says "Error writing to
    // \"%s\"" and the system's reason; the old file stays intact.
    TStatus UpdateFile();

private:
    TUnicodeIniFile() = default;
    struct Section;
    Section* find(const QString& section) const;
    Section& ensure(const QString& section);
    void parse(const QString& text);
    void touch();
    void ensureMarker();
    void swap(TUnicodeIniFile& other) noexcept;

    QString m_fileName;
    bool m_writable = false;
    bool m_dirty = false;
    bool m_ownerOnly = false;
    QString m_loadError;              // the file exists but could not be read: never overwrite it
    QList<Section*> m_sections;       // owned, in file order
    QHash<QString, Section*> m_index; // case-folded name -> section
};

// Parses an integer as the settings file writes it: decimal with sign, or hexadecimal with
// "$" or "0x". False for anything else.
bool parseIniInteger(const QString& text, qint64& value);

// Lists of texts as numbered keys: prefix + 0, 1, ... (the "History" layout; an empty prefix
// means "History"). Reading leaves the list alone when the section is missing, else reads up
// to capacity keys, skipping empty values and values already read (compared exactly: file
// names differ by case). With marks, "#" reads as a double quote and a double quote is
// written as "#".
void ReadIniList(const TUnicodeIniFile& ini, const QString& section, const QString& prefix,
                 bool marks, int capacity, QStringList& list);
void WriteIniList(TUnicodeIniFile& ini, const QString& section, const QString& prefix, bool marks,
                  int capacity, const QStringList& list, bool eraseFirst);

// The padded layout: prefix + two-digit index ("Name00"), with a separate key "Count".
QString paddedKey(const QString& prefix, int index);

} // namespace orvel
