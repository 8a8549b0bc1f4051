#pragma once
// The question before each replacement of the search in files.

#include "search/core/SearchDialogs.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvel {

class TFileReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFileReplaceDialog(QWidget* parent = nullptr);

    // Shows the question next to the mouse position it carries and waits for the answer;
    // closing the box answers frCancel.
    TFileReplaceAnswer Execute(const TFileReplaceQuestion& question);

    // Fills the box, for Execute and for tests that run the box themselves.
    void setQuestion(const TFileReplaceQuestion& question);
    TFileReplaceAnswer answer() const { return m_answer; }
    // The box's top-left corner for a mouse position, kept inside the screen.
    QPoint placeFor(QPoint mouse) const;

private:
    void answerWith(TFileReplaceAnswer answer);

    TFileReplaceAnswer m_answer = frCancel;
    QLabel* m_file;
    QLabel* m_line;
    QLabel* m_search;
    QLabel* m_replacement;
    QPushButton* m_no;
    QString m_fileName;
};

} // namespace orvel
