#pragma once
// The one way user-visible texts are translated: GNU gettext over the text domains
// "default" (the program's own texts) and "dialogs" (the reusable dialogs).

#include <QString>
#include <QStringList>

// Marks a literal for the catalogue without translating it (command tables).
#define N_(text) text

namespace orvel {

// Translation in the domain "default".
QString T_(const char* msgid);
// Translation in the domain "dialogs".
QString TD_(const char* msgid);

// Fills a message template the way the stored texts write them: each "%s", "%d" or "%u" takes
// the next argument, "%%" is a percent sign. Missing arguments leave the marker empty.
QString fmt(const QString& templ, const QStringList& args);

// Binds the catalogues found in localeDir (<lang>/LC_MESSAGES/<domain>.mo) and selects
// the language; an empty code leaves the untranslated English texts.
void setupTranslation(const QString& localeDir, const QString& languageCode);

} // namespace orvel
