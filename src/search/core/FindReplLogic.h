#pragma once
// The find and replace dialog's rules that need no window: the option set its buttons keep,
// its history lists, and where the replacement confirmation goes on the screen.

#include "textcontrol/core/EditorOptions.h"
#include "textcontrol/core/TextTypes.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace orvel {

class TUnicodeIniFile;

constexpr int kFindHistoryMax = 20;

// A text new to the list (compared without regard to case) goes to the top and the oldest
// goes when there are more than kFindHistoryMax; a text already there keeps its place. True
// when the list changed.
bool addFindHistory(QStringList& list, const QString& text);

// How an entry is stored: an entry with a carriage return as its first line, blanks trimmed.
QString storedFindHistoryText(const QString& entry);

// "Text0" ... "Text19", most recent first. Reading leaves the list alone when the section is
// missing; writing erases the section first.
void readFindHistory(const TUnicodeIniFile& ini, const QString& section, QStringList& list);
void writeFindHistory(TUnicodeIniFile& ini, const QString& section, const QStringList& list);

// The confirmation's top-left corner for a match shown at `at` (screen coordinates, on the
// line below the match): moved left to the main window's right edge, or above the match, when
// it would pass the screen's right or bottom edge less 20 pixels, and kept inside the screen.
QPoint placeConfirmation(QPoint at, QSize dialog, QRect screen, QRect mainWindow);

// Every line break of a search or replacement text (CR LF, LF or CR) in the document's style,
// so that a text typed or pasted with other breaks matches and inserts the document's own.
QString withLineBreaks(const QString& text, TLineBreak lineBreak);

// The dialog's option set, and how its buttons change it around the document window's call.
class TFindReplOptions {
public:
    TSearchOptions options() const { return m_options; }
    // As the dialog's Options property: the start choice follows ssoEntireScope.
    void setOptions(TSearchOptions options);
    bool has(TSearchOptions flag) const { return (m_options & flag) != 0; }
    void setFlag(TSearchOptions flag, bool on);

    bool replaceMode() const { return m_replace; }
    bool repeat() const { return m_repeat; }
    bool fromBeginning() const { return m_fromBeginning; }

    // The dialog opens in find or replace mode.
    void open(bool replace);
    // The "Start" choice.
    void chooseStart(bool fromBeginning);

    // "&Search" / "&Replace": begin sets what the call sees, finish tidies up after it. A
    // replacement right after "&Continue" looks back for the match "&Continue" selected.
    void beginMain();
    void finishMain();
    // "&Continue" selects the next match without replacing it.
    void beginContinue();
    void finishContinue();
    void beginReplaceAll();
    void close();

private:
    TSearchOptions m_options = ssoPrompt;
    bool m_replace = false;
    bool m_repeat = false;
    bool m_fromBeginning = false;
};

} // namespace orvel
