#pragma once
// The question before each single replacement, placed next to the match.

#include "textcontrol/core/EditorOptions.h"

#include <QDialog>

class QLabel;

namespace orvel {

class TConfirmReplDialog : public QDialog {
    Q_OBJECT
public:
    explicit TConfirmReplDialog(QWidget* parent = nullptr);

    // Shows the prompt with the top-left corner at pos (screen coordinates) and waits:
    // raReplace for "&Yes", raSkip for "&No", raReplaceAll for "&All", raCancel otherwise.
    TReplaceAction Execute(QPoint pos, const QString& prompt);

    TReplaceAction result() const { return fResult; }
    // Sets the prompt and sizes the dialog to it: the size its placement needs.
    void setPrompt(const QString& prompt);

private:
    void answer(TReplaceAction action);

    TReplaceAction fResult = raCancel;
    QLabel* m_prompt;
};

} // namespace orvel
