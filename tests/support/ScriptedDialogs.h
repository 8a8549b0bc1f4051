#pragma once
// Answers the program's questions from a script. A question that the script did not expect
// is recorded as a failure (and answered with Cancel), so tests fail on it.

#include "base/core/Dialogs.h"
#include "search/core/SearchDialogs.h"

#include <QList>
#include <QStringList>

namespace orvel::test {

class ScriptedDialogs : public IDialogs, public ISearchDialogs {
public:
    enum Kind { Ask, Error, Info, OpenName, SaveName, Folder, Choice, Input, Replace, FileReplace };

    // Each expectation matches the next call of its kind whose text contains `contains`.
    ScriptedDialogs& expectAsk(const QString& contains, TMsgResult answer);
    ScriptedDialogs& expectError(const QString& contains);
    ScriptedDialogs& expectInfo(const QString& contains);
    ScriptedDialogs& expectOpenName(const QString& answer);
    ScriptedDialogs& expectSaveName(const QString& answer);
    ScriptedDialogs& expectFolder(const QString& answer);
    // Presses the button of that index (-1 closes the box).
    ScriptedDialogs& expectChoice(const QString& contains, int index);
    // Enters answer, or cancels the prompt when ok is false.
    ScriptedDialogs& expectInput(const QString& contains, const QString& answer, bool ok = true);

    // Answers the replacement confirmation whose prompt contains `contains`.
    ScriptedDialogs& expectReplace(const QString& contains, TReplaceAction action);
    // Answers the question before a replacement in a file whose line contains `line`.
    ScriptedDialogs& expectFileReplace(const QString& line, TFileReplaceAnswer answer);

    // Unexpected calls and expectations never met; empty when the script ran exactly.
    QStringList problems() const;
    void reset();

    QStringList shown; // every message shown, as "title|text"
    int beeps = 0;
    QList<TFileDialogArgs> fileDialogs;

    TMsgResult ask(const QString& title, const QString& text, int buttons,
                   TMsgResult defaultButton) override;
    void error(const QString& title, const QString& text) override;
    void info(const QString& title, const QString& text) override;
    QString openFileName(const TFileDialogArgs& args) override;
    QString saveFileName(const TFileDialogArgs& args) override;
    QString chooseFolder(const QString& prompt, const QString& startDir,
                         const QString& defaultDir = QString()) override;
    int choose(const QString& title, const QString& text, const QStringList& buttons) override;
    bool inputText(const QString& title, const QString& prompt, QString& text) override;
    void beep() override { ++beeps; }
    TReplaceAction confirmReplace(QPoint screenPos, const QString& prompt) override;
    QList<QPoint> replacePoints; // where each confirmation was placed
    TFileReplaceAnswer confirmFileReplace(const TFileReplaceQuestion& question) override;
    QList<TFileReplaceQuestion> fileReplaceQuestions;

private:
    struct Step {
        Kind kind;
        QString text;
        TMsgResult answer = mrNone;
        int index = -1;                           // Choice
        QString reply{};                          // Input
        TReplaceAction action = raCancel;         // Replace
        TFileReplaceAnswer fileAnswer = frCancel; // FileReplace
    };
    const Step* take(Kind kind, const QString& text);
    QList<Step> m_steps;
    Step m_current;
    QStringList m_unexpected;
};

} // namespace orvel::test
