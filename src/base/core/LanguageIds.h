#pragma once
// Stored language ids are the numeric locale ids of the original platform; a fixed table
// maps them to locale names and back.

#include <QString>

namespace orvel {

// A language offered in a list: its display name and its id.
struct TLanguageName {
    QString Name;
    quint32 Id = 0;
};

// 1033 for "en-US", 1031 for "de-DE"...; a bare language ("de") gives its main region's id.
// 0 when the name is unknown.
quint32 languageIdOfLocale(const QString& name);
// "en-US" for 1033; empty when the id is unknown.
QString localeOfLanguageId(quint32 id);
// The id of exactly this locale name ("de_DE" and "de-DE" alike); a bare language ("hu")
// gives its main region's id. 0 for a region the table does not hold ("de-BE").
quint32 exactLanguageIdOfLocale(const QString& name);
// "German (Germany)" for 1031; empty when the id is unknown.
QString languageDisplayName(quint32 id);
// The id of the user's language from the system locale; 1033 when it is unknown.
quint32 userDefaultLanguageId();

} // namespace orvel
