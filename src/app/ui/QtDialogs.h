#pragma once
// The real dialogs: message boxes and the desktop's file and folder choosers.

#include "app/core/Dialogs.h"

class QWidget;

namespace orvel {

class TQtDialogs : public IDialogs {
public:
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    TMsgResult ask(const QString& title, const QString& text, int buttons,
                   TMsgResult defaultButton) override;
    void error(const QString& title, const QString& text) override;
    void info(const QString& title, const QString& text) override;
    QString openFileName(const TFileDialogArgs& args) override;
    QString saveFileName(const TFileDialogArgs& args) override;
    QString chooseFolder(const QString& prompt, const QString& startDir,
                         const QString& defaultDir = QString()) override;
    void beep() override;

    // "Desc|*.a;*.b|Desc|*.*" as the desktop dialogs take it.
    static QString qtFilter(const QString& stored);

private:
    QWidget* m_parent = nullptr;
};

} // namespace orvel
