#pragma once
// The character table: named entities in groups, read from "html-codes*.txt". One group
// (marked "##") drives the conversions between characters and entities.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace orvel {

struct THtmlChar {
    int Value = 0; // code point
    QString Desc;  // shown in the dialog
    QString Name;  // entity text, "&nbsp;"
};

class THtmlCharGroup {
public:
    explicit THtmlCharGroup(const QString& name = QString()) : FGroupName(name) {}
    void AddCommand(const QString& ADesc, const QString& AName, int AValue);

    QString FGroupName;
    int FCount = 0;
    QList<THtmlChar> FChars;
};

class THtmlCharTable {
public:
    // Replaces the table with the lines of a table file. UTF-8 when the bytes are
    // well-formed UTF-8, else the single-byte code page.
    void loadFromBytes(QByteArrayView bytes);
    // False (and an empty table) when the file cannot be read.
    bool loadFromFile(const QString& fileName);
    void clear();

    bool isEmpty() const { return m_groups.isEmpty(); }
    const QList<THtmlCharGroup>& groups() const { return m_groups; }
    // The group the conversions use; empty when the file names none.
    const QString& IsoName() const { return m_isoName; }
    // Every entry name of every group, sorted, duplicates kept.
    QStringList FCharList() const;

    // Entity of the ISO group for a code point; empty when none.
    QString GetHtmlName(int AValue) const;
    // Code point of an ISO group entity (exact case); 0 when none.
    int GetIsoChar(QStringView AName) const;
    // Code point of an entity of any group (exact case); 0 when none.
    int GetUnicodeChar(QStringView AName) const;

    // Characters 160 to 255 that the ISO group names become their entities.
    QString CharsToEntities(QStringView text) const;
    // "&" + up to eight characters + ";" that the ISO group names becomes its character.
    QString EntitiesToChars(QStringView text) const;

private:
    void index();

    QList<THtmlCharGroup> m_groups;
    QString m_isoName;
    int m_isoIndex = -1;
    QHash<int, QString> m_isoByValue;
    QHash<QString, int> m_isoByName;
    QHash<QString, int> m_allByName;
};

// "html-codes-<LANGUAGE>.txt" for a language code ("de-DE" gives "html-codes-DE.txt");
// "html-codes.txt" for English or no code.
QString htmlCharFileName(const QString& languageCode);
// Loads ACharList from ADirectory, or ADefault when ACharList does not exist there (names
// found without regard to case). False and an empty table when neither can be read.
bool LoadCharList(THtmlCharTable& table, const QString& ADirectory, const QString& ADefault,
                  const QString& ACharList);
// The table of the running program for a language code ("de", "de-DE", "EN"), from the
// program's data folders, falling back to "html-codes.txt". Empty when neither is there.
THtmlCharTable loadProgramCharTable(const QString& languageCode);

} // namespace orvel
