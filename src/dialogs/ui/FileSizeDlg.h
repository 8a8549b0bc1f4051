#pragma once
// The file-size dialog ("Insert file size value"): a file's size as text, in decimal or
// binary units and with a decimal comma or point, ready to insert or copy.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvel {

class TFileSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFileSizeDialog(QWidget* parent = nullptr);

    // fileName is in-out (another file may be chosen); decimal and comma start the two
    // choices and receive them on OK, with sizeText the size read and written again.
    bool Execute(QString& fileName, bool& decimal, bool& comma, QString& sizeText);

    void setup(const QString& fileName, bool decimal, bool comma);
    QString fileName() const { return m_file; }
    bool decimalUnits() const;
    bool decimalComma() const;
    QLineEdit* sizeField() const { return m_size; }
    QRadioButton* decimalButton() const { return m_decimal; }
    QRadioButton* binaryButton() const { return m_binary; }
    QRadioButton* commaButton() const { return m_comma; }
    QRadioButton* pointButton() const { return m_point; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* copyButton() const { return m_copy; }
    // The size text read and written again in the chosen form; empty when it does not read.
    QString rewrittenSize() const;
    // Takes another file and shows its size.
    void setFile(const QString& fileName);

private:
    void rewrite(QChar oldSeparator);
    void tryAccept();
    QChar separator() const;

    QString m_file;
    QLabel* m_fileLabel;
    QLineEdit* m_size;
    QRadioButton* m_decimal;
    QRadioButton* m_binary;
    QRadioButton* m_comma;
    QRadioButton* m_point;
    QPushButton* m_ok;
    QPushButton* m_copy;
    QChar m_shownSeparator = u',';
};

} // namespace orvel
