#pragma once
// The one-line text input ("Edit text"): a prompt and a field that offers the history it
// edits.

#include "dialogs/ui/PickerDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace orvel {

class TInputTextDialog : public TPickerDialog {
    Q_OBJECT
public:
    explicit TInputTextDialog(QWidget* parent = nullptr);

    // text is in-out; on OK the input's history, if it has one, gets the text on top.
    bool Execute(const TLineInput& input, QString& text);

    void setup(const TLineInput& input, const QString& text);
    QString enteredText() const;
    // The field: a plain line, or the drop-down's line when there is a history.
    QLineEdit* field() const;
    QComboBox* dropDown() const { return m_combo; }

private:
    QLabel* m_prompt;
    QLineEdit* m_line;
    QComboBox* m_combo;
};

} // namespace orvel
