#pragma once
// The spelling pieces of menus and the dictionary choice: language radio entries,
// suggestion entries, the hourglass while an engine is made.

#include "base/core/LanguageIds.h"

#include <QList>
#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace orvel {

class TSynEditSpellCheck;
struct TSpellMenuInfo;

// A text shown as it is in a menu caption: "&" doubled.
QString escapeMenuCaption(QString text);

// Fills menu (emptied first) with radio entries: noneCaption for id 0 ("&None", "None"),
// then one entry per language; the entry of checkedId is checked, "None" when no entry has
// it. chosen gets the id of the entry the user picks.
void fillLanguageMenu(QMenu* menu, const QString& noneCaption,
                      const QList<TLanguageName>& languages, quint32 checkedId,
                      std::function<void(quint32)> chosen);

// Fills menu (emptied first) with the suggestions of info; chosen gets the text to put in.
// The menu is disabled when there are none.
void fillSuggestionMenu(QMenu* menu, const TSpellMenuInfo& info,
                        std::function<void(const QString&)> chosen);

// The busy pointer while the checker makes an engine or searches a whole document.
void installBusyCursor(TSynEditSpellCheck& checker);

// "Dictionaries ..": every dictionary found by its language's name, checked when
// configured (all when nothing is). On OK configured becomes the checked ones in list
// order and the result is true.
bool selectDictionaries(QWidget* parent, const QString& caption, const QList<TLanguageName>& found,
                        QList<quint32>& configured);

} // namespace orvel
