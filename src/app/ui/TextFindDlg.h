#pragma once
// A small modeless find dialog for read-only text views: the text, whole word, match case
// and the direction; each "Find next" asks the owner to search.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvel {

class TTextFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TTextFindDialog(QWidget* parent = nullptr);

    QString findText() const;
    void setFindText(const QString& text);
    bool matchCase() const;
    bool wholeWord() const;
    bool forward() const;

    QLineEdit* textEdit() const { return m_text; }
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QRadioButton* upButton() const { return m_up; }
    QRadioButton* downButton() const { return m_down; }
    QPushButton* findNextButton() const { return m_findNext; }

Q_SIGNALS:
    void findNext();

private:
    QLineEdit* m_text;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNext;
};

} // namespace orvel
