#pragma once
// Stored language ids are the numeric locale ids of the original platform; a fixed table
// maps them to locale names and back.

#include <QString>

namespace orvel {

// 1033 for "en-US", 1031 for "de-DE"...; a bare language ("de") gives its main region's id.
// 0 when the name is unknown.
quint32 languageIdOfLocale(const QString& name);
// "en-US" for 1033; empty when the id is unknown.
QString localeOfLanguageId(quint32 id);
// The id of the user's language from the system locale; 1033 when it is unknown.
quint32 userDefaultLanguageId();

} // namespace orvel
