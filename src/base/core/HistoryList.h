#pragma once
// A bounded list of texts, most recent first, that remembers what the user entered before.

#include "base/core/Result.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

namespace orvel {

class TUnicodeIniFile;

class THistoryList : public QObject {
    Q_OBJECT
public:
    explicit THistoryList(QObject* parent = nullptr, int maxLen = 15);

    int MaxLen() const { return FMaxLen; }
    // Accepted only for 1 <= n <= 100; entries beyond the new capacity go from the end.
    void setMaxLen(int n);

    const QStringList& items() const { return FItems; }
    int count() const { return int(FItems.size()); }
    QString at(int index) const { return FItems.value(index); }
    QVariant objectAt(int index) const { return FObjects.value(index); }
    int indexOf(const QString& text) const; // -1 when absent

    // Entries compare without regard to case unless set otherwise; lists of folder names
    // compare exactly, as Linux file names differ by case. Set it before filling the list.
    Qt::CaseSensitivity caseSensitivity() const { return FCaseSensitivity; }
    void setCaseSensitivity(Qt::CaseSensitivity cs) { FCaseSensitivity = cs; }

    // Ignored when empty; an equal entry is removed first, the text goes to the
    // front, the last entry goes when the capacity is exceeded.
    void AddString(const QString& text);
    void AddStringObject(const QString& text, const QVariant& object);
    void RemString(const QString& text);
    void ClearAll();
    void AssignList(const QStringList& texts);

    // "History0" ...: a value of one blank is stored as "?". Saving without erase drops the
    // "History" keys beyond the list's end, so that removed entries stay removed.
    void LoadFromIni(const TUnicodeIniFile& ini, const QString& section);
    void SaveToIni(TUnicodeIniFile& ini, const QString& section, bool erase);
    // With a file name the file is read, changed and written at once; a write failure raises
    // EOrvelError naming the file.
    void LoadFromIni(const QString& fileName, const QString& section);
    TStatus SaveToIni(const QString& fileName, const QString& section, bool erase);

Q_SIGNALS:
    void changed();

private:
    int FMaxLen;
    Qt::CaseSensitivity FCaseSensitivity = Qt::CaseInsensitive;
    QStringList FItems;
    QList<QVariant> FObjects;
};

// "%1x %s" for the first 15 entries, "%2x %s" from the 16th on (index from 0); with
// showHotKeys false every "&" of the text is doubled.
QString historyMenuCaption(int index, const QString& text, bool showHotKeys);
// The entry position a mirror item's caption names (the hexadecimal number before its first
// blank, "&" removed, minus one); -1 when it names none.
int historyMenuIndex(const QString& caption);

} // namespace orvel
