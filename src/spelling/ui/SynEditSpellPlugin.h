#pragma once
// Spell checking of one editor: the wavy marks under misspelt words in the lines shown, the
// search for the next misspelling, and what the context menu offers for a word. In HTML
// only the text between tags is checked (the highlighter attributes the checker names),
// in plain text (no highlighter) everything.

#include "base/core/Result.h"
#include "spelling/core/SynEditSpell.h"
#include "textcontrol/core/TextTypes.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace orvel {

class IDialogs;
class TEditorControl;

// What the context menu offers for the word at a position.
struct TSpellMenuInfo {
    QString word;                   // the word as the user dictionary takes it; empty when none
    bool misspelt = false;          // "&Add \"%s\" to dictionary" is offered
    QString addCaption;             // that entry's caption, the word's "&" escaped
    QStringList suggestions;        // replacements, as they go into the text
    QStringList suggestionCaptions; // the same as menu captions ("&" escaped)
    int line = 0;                   // the word's place, line from 1
    TLineRange range;               // in that line
    QString original;               // the text there when the menu opened
};

class TDrawAutoSpellCheckPlugin : public QObject {
    Q_OBJECT
public:
    // Pauses before lines are checked: after typing, and after scrolling or showing.
    static constexpr int kTypingPause = 300;
    static constexpr int kScrollPause = 30;

    // Belongs to the editor; the checker is shared and outlives it.
    TDrawAutoSpellCheckPlugin(TEditorControl* AOwner, TSynEditSpellCheck* ASynEditSpellCheck);

    // The document's language, 0 for none. Its marks show while the checker's active
    // language is this one; without a dictionary for it nothing is marked.
    void setLanguage(quint32 id);
    quint32 language() const { return m_language; }
    // The document became the active one: its language is selected in the checker.
    bool activate();

    // Checks the lines shown that changed or came into view (what the pauses lead to).
    void checkVisibleLines();
    // Lines looked at by checkVisibleLines so far (a line whose text and colouring did not
    // change since its last check is not looked at again).
    int linesChecked() const { return m_linesChecked; }
    // The misspelt words of a line (from 0) as the marks show them.
    QList<TSpellWord> misspeltWords(int index);

    // Selects the next misspelt word after the caret; false when there is none.
    bool findNextMisspelling();
    // The command: the same, with a beep and a message when nothing is found.
    void ActionMisspell(IDialogs& dialogs, const QString& title);

    // The word at a position and what to offer for it.
    TSpellMenuInfo menuInfo(TBufferCoord pos);
    // Puts a suggestion in the word's place as one undoable step; false when the text there
    // changed since the menu opened. A word written with entities gets its new letters as
    // entities too.
    bool replaceWord(const TSpellMenuInfo& info, const QString& suggestion);
    // Adds a word to the user dictionary (F5 and the context menu); the error names the file.
    TStatus addWord(const QString& word);
    // The word the context menu was opened on: the one the add command takes.
    void rememberWord(const QString& word) { m_remembered = word; }
    const QString& rememberedWord() const { return m_remembered; }
    // The add command: the remembered word, else the misspelt word at the caret (the one
    // the next-misspelling command selected); the remembered word is forgotten.
    TStatus ActionAddDict();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool checking() const;
    bool markingOff() const;
    void schedule(int msecs);
    void invalidate();
    // Whether a line (from 0) begins inside a style sheet.
    bool startsInStyle(int index);
    // One byte a character: 1 where the text is checked. inStyle carries the style sheet
    // state through the line.
    QByteArray checkedMask(const QString& text, const QList<TAttrRun>& runs, bool* inStyle) const;
    QList<TSpellWord> lineWords(int index, bool* inStyle, QString* text = nullptr);

    TEditorControl* m_editor;
    TSynEditSpellCheck* m_checker;
    quint32 m_language = 0;
    QTimer m_timer;
    TWordSplitOptions m_split;
    QHash<int, size_t> m_checked; // line -> key of the text and colouring last checked
    struct {
        int line = -1;
        qsizetype length = -1; // of the text then
        bool inside = false;
    } m_styleStart; // the last answer of startsInStyle, until the text changes
    QString m_remembered;
    bool m_marksCleared = true;
    int m_linesChecked = 0;
};

} // namespace orvel
