#pragma once
// The status window of a publishing run: what it does, where, the file in progress with its
// progress, the protocol of every step, and one button: "Cancel" while it runs, "OK" at the
// end. Not closed by the window's own controls while it runs.

#include "projects/core/TransferDialogs.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace orvel {

class IDialogs;
class TUnicodeIniFile;

class TTransferStatus : public QDialog, public IPublishMonitor {
    Q_OBJECT
public:
    // dialogs gives the beep at the end; it must outlive the window.
    TTransferStatus(QWidget* parent, IDialogs& dialogs);

    // Position and size (section "TransferStatus": Top, Left, Width, Height).
    void LoadFromIni(const TUnicodeIniFile& ini);
    void SaveToIni(TUnicodeIniFile& ini) const;

    void ShowWindow(const QString& title, const QString& dest, const QString& action) override;
    void StartDelete() override;
    void StartSync() override;
    void StartCopy() override;
    void SetDirectory(const QString& dir) override;
    void SetAction(const QString& action) override;
    void SetTarget(const QString& target) override;
    void SetStatus(const QString& text) override;
    void SetError(const QString& text) override;
    void UpdateProgress(qint64 bytes, qint64 size) override;
    bool Stopped() const override { return m_stopped; }
    void CloseWindow(int deleted, int copied) override;
    void CloseDryRun(int deleted, int copied) override;
    void HideWindow() override;
    void BringToFront() override;

    // The final text and its colour, as CloseWindow shows them.
    static QString finalText(bool stopped, int deleted, int copied);

    QLabel* actionLabel() const { return m_action; }
    QLabel* statusLabel() const { return m_status; }
    QLabel* progressLabel() const { return m_progressText; }
    QProgressBar* progressBar() const { return m_progress; }
    QListWidget* protocol() const { return m_list; }
    QPushButton* button() const { return m_button; }
    bool finalState() const { return m_final; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buttonClick();
    void showFinal(const QString& text, bool error);
    void addLine(const QString& text);
    void setElided(QLabel* label, const QString& text);

    IDialogs& m_dialogs;
    QLabel* m_action;
    QLabel* m_target;
    QLabel* m_directory;
    QLabel* m_status;
    QProgressBar* m_progress;
    QLabel* m_progressText;
    QListWidget* m_list;
    QPushButton* m_button;
    bool m_stopped = false;
    bool m_final = false;
    QRect m_stored; // the placement read from the settings, until the window is shown
};

} // namespace orvel
