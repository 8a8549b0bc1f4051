#pragma once
// Asks for a password missing at the start of a publishing run; in its full form also offers
// "Skip" and the AES key size.

#include <QDialog>
#include <QPoint>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvel {

class TPasswordDialog : public QDialog {
    Q_OBJECT
public:
    enum TResult : int { prOK = 1, prCancel = 2, prSkip = 6 };

    explicit TPasswordDialog(QWidget* parent = nullptr);

    // prOK with the typed password in pwd, else prCancel; centred on the parent's window.
    int Execute(const QString& title, const QString& prompt, QString& pwd);
    // The full form: the top left corner at pos, centred when a coordinate is negative.
    // mode (1: 128 bit, 3: 256 bit, 0: automatic) is shown and, on OK, set when offerDepth.
    int Execute(QPoint pos, const QString& title, const QString& prompt, bool offerSkip,
                bool offerDepth, QString& pwd, int& mode);

    // What Execute does before the window opens, for callers that run the dialog themselves.
    void setup(const QString& title, const QString& prompt, bool offerSkip, bool offerDepth,
               int mode);
    QString password() const;
    int mode() const;
    // The result code of the last run: prOK, prCancel or prSkip.
    int answer() const { return m_answer; }

    QLineEdit* passwordBox() const { return m_edit; }
    QLabel* promptLabel() const { return m_prompt; }

    void PasteClick();

private:
    void place(QPoint pos);
    int run(QPoint pos);

    QLabel* m_prompt;
    QLineEdit* m_edit;
    QPushButton* m_skip;
    QGroupBox* m_depth;
    QRadioButton* m_bits128;
    QRadioButton* m_bits256;
    QRadioButton* m_auto;
    int m_answer = prCancel;
};

} // namespace orvel
