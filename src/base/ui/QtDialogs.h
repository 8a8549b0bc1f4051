#pragma once
// The real dialogs: message boxes and the desktop's file and folder choosers.

#include "base/core/Dialogs.h"

#include <QPointer>

class QWidget;

namespace orvel {

class TShellDirDialog;

class TQtDialogs : public IDialogs {
public:
    TQtDialogs() = default;
    // Deletes the folder dialog when no window owns it.
    ~TQtDialogs() override;
    TQtDialogs(const TQtDialogs&) = delete;
    TQtDialogs& operator=(const TQtDialogs&) = delete;

    void setParentWidget(QWidget* parent) { m_parent = parent; }
    // The settings file whose section "RecentFolders" the folder dialog keeps; set at start,
    // before the first folder is asked for.
    void setIniFileName(const QString& fileName) { m_iniFileName = fileName; }
    // Units of the free space the folder dialog shows: kB (decimal) or KiB.
    void setDecimalFileSizes(bool on);
    TMsgResult ask(const QString& title, const QString& text, int buttons,
                   TMsgResult defaultButton) override;
    TMsgResult askAt(const QString& title, const QString& text, int buttons,
                     TMsgResult defaultButton, QPoint topLeft) override;
    void error(const QString& title, const QString& text) override;
    void info(const QString& title, const QString& text) override;
    QString openFileName(const TFileDialogArgs& args) override;
    QString saveFileName(const TFileDialogArgs& args) override;
    QString chooseFolder(const QString& prompt, const QString& startDir,
                         const QString& defaultDir = QString()) override;
    int choose(const QString& title, const QString& text, const QStringList& buttons) override;
    bool inputText(const QString& title, const QString& prompt, QString& text) override;
    void beep() override;

    // "Desc|*.a;*.b|Desc|*.*" as the desktop dialogs take it.
    static QString qtFilter(const QString& stored);

private:
    TMsgResult question(const QString& title, const QString& text, int buttons,
                        TMsgResult defaultButton, const QPoint* topLeft);

    QWidget* m_parent = nullptr;
    QString m_iniFileName;
    bool m_decimalSizes = true;
    QPointer<TShellDirDialog> m_folderDialog; // created at its first use
};

} // namespace orvel
