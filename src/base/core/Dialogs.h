#pragma once
// What commands ask the user, behind an interface: the program shows real dialogs, tests
// answer from a script.

#include <QPoint>
#include <QString>
#include <QStringList>

namespace orvel {

enum TMsgResult : int { mrNone, mrOK, mrCancel, mrYes, mrNo };

enum TMsgButtons : int { mbOK = 1, mbCancel = 2, mbYes = 4, mbNo = 8 };

struct TFileDialogArgs {
    QString title;
    QString dir;         // starting folder
    QString fileName;    // proposed name (save) or empty
    QString filter;      // stored form: "Desc|*.a;*.b|Desc|*.*"
    QString defaultExt;  // without dot
    int filterIndex = 0; // the filter's entry selected at first
};

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A question. A text of the form "title|text" is split there into the box's title and
    // text; otherwise title is used.
    virtual TMsgResult ask(const QString& title, const QString& text, int buttons,
                           TMsgResult defaultButton) = 0;
    // The same question in a box whose top left corner is at the screen point.
    virtual TMsgResult askAt(const QString& title, const QString& text, int buttons,
                             TMsgResult defaultButton, QPoint topLeft) {
        Q_UNUSED(topLeft);
        return ask(title, text, buttons, defaultButton);
    }
    virtual void error(const QString& title, const QString& text) = 0;
    virtual void info(const QString& title, const QString& text) = 0;
    // Empty when cancelled.
    virtual QString openFileName(const TFileDialogArgs& args) = 0;
    virtual QString saveFileName(const TFileDialogArgs& args) = 0;
    // A folder, with a trailing "/"; empty when cancelled. defaultDir, when given, is offered
    // as the place to go back to.
    virtual QString chooseFolder(const QString& prompt, const QString& startDir,
                                 const QString& defaultDir = QString()) = 0;
    // A question with buttons of its own: the index of the button pressed, -1 when the box
    // was closed.
    virtual int choose(const QString& title, const QString& text, const QStringList& buttons) = 0;
    // A line of text, text proposed on entry; false when cancelled (text unchanged).
    virtual bool inputText(const QString& title, const QString& prompt, QString& text) = 0;
    virtual void beep() = 0;
};

// Splits "title|text"; without "|" the title stays as given.
inline void splitMessage(const QString& message, QString& title, QString& text) {
    const qsizetype bar = message.indexOf(u'|');
    if (bar < 0) {
        text = message;
        return;
    }
    title = message.left(bar);
    text = message.mid(bar + 1);
}

} // namespace orvel
