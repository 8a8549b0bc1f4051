#pragma once
// The log viewer: a read-only view of a text file that jumps between the logged runs and
// their errors, searches, prints the text or some of its lines, and deletes text from the
// file or the whole file.

#include "app/core/LogText.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <utility>

class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QToolButton;

namespace orvel {

class IDialogs;
class TTextFindDialog;

class TShowTextDialog : public QDialog {
    Q_OBJECT
public:
    explicit TShowTextDialog(IDialogs& dialogs, QWidget* parent = nullptr);
    ~TShowTextDialog() override;

    // Shows the file modally with the window's top left corner at pos. False, after the
    // error, when the file does not exist.
    bool Execute(const QString& title, const QString& fileName, const QPoint& pos);
    // What Execute does before the window opens; the text is read when the window is shown.
    bool Prepare(const QString& title, const QString& fileName, const QPoint& pos);

    // Every header line of the log begins with it; the program's internal name unless set.
    void setSectionMarker(const QString& marker) { m_sectText = marker; }
    static QString errorMarker() { return QStringLiteral("*** "); }
    const QString& TextName() const { return m_textName; }

    void PrintClick();
    void DeleteClick();
    void SearchClick();
    void PrevSectionClick();
    void NextSectionClick();
    void PrevErrorClick();
    void NextErrorClick();
    // F3 searches again in the direction of the find dialog, Shift+F3 (reverse) against it.
    void FindAgain(bool reverse);

    // The lines "&Print" prints, from 0: with text selected and the user's consent those
    // that hold the selection, else all.
    std::pair<int, int> PrintLineRange();
    // Prints the text's lines first to last (from 0) on the printer as it is set up.
    bool PrintLines(QPrinter& printer, int first, int last);
    // Stands in for the print dialog (tests); returns whether to print.
    void setPrintDialog(std::function<bool(QPrinter&)> dialog) {
        m_printDialog = std::move(dialog);
    }
    QPrinter& printer();
    // The printer preselected when the window was shown; empty without one.
    const QString& printerName() const { return m_printerName; }

    QPlainTextEdit* textView() const { return m_view; }
    TTextFindDialog* findDialog() const { return m_find; }
    QString linePanel() const;
    QString messagePanel() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // "Courier New" 10 points, or the system's fixed-pitch font where it is missing.
    static QFont textFont(bool bold);
    void LoadText();
    void ShowLinePos();
    void Jump(const QString& marker, bool forward, const QString& noMore);
    void SelectMatch(qsizetype at, qsizetype length);
    bool handleKey(QKeyEvent* event);
    void DeleteSelection();
    QPoint questionPos() const;
    void DeleteFile();
    QToolButton* jumpButton(const QString& hint, bool up, const QColor& color, bool bar);

    IDialogs& m_dialogs;
    QString m_title;
    QString m_textName;
    QString m_sectText;
    QString m_printerName;
    TLogText m_text;
    bool m_loaded = false;
    bool m_loadFailed = false;
    bool m_printing = false;
    QPlainTextEdit* m_view;
    QLabel* m_linePanel;
    QLabel* m_messagePanel;
    QPushButton* m_printButton;
    QPushButton* m_searchButton;
    TTextFindDialog* m_find;
    std::unique_ptr<QPrinter> m_printer;
    std::function<bool(QPrinter&)> m_printDialog;
};

// "&Show log file": the error "Log file not found!" when the log is missing, else the
// viewer on it, modal, 20 pixels right of and below the main window's top left corner.
// title is the program's caption ("Orvel" and its version); it titles the error box too.
bool showLogFile(QWidget* mainWindow, IDialogs& dialogs, const QString& title,
                 const QString& logName);

} // namespace orvel
