#pragma once
// What the pickers decide without a window: the items of a property list, the font a font
// list starts at, and how the one-line input updates the history it edits.

#include <QString>
#include <QStringList>

namespace orvel {

// "\"<user defined>\",top,bottom": the items of a property list. An item in double quotes
// may hold commas and blanks; the quotes are not part of it. Blanks around items go.
QStringList splitPropertyItems(const QString& text);

// The entry of a font list to select: the wanted name, else "Courier New", else the first
// of the fallbacks (the system's fixed-pitch font) that the list holds, else the first
// entry; -1 only for an empty list. Names compare without regard to case.
int chooseFontEntry(const QStringList& families, const QString& wanted,
                    const QStringList& fallbacks);

// Moves a text to the top of a history of at most `size` entries: an equal entry (found
// without regard to case) takes the new spelling, the oldest entry goes when the history
// is full. An empty text changes nothing.
void addToHistory(QStringList& history, const QString& text, int size);

} // namespace orvel
