#pragma once
// Dialogs for benchmarks of the main window: every question answered No, every message
// swallowed, so that a benchmark never waits for a user.

#include "base/core/Dialogs.h"

#include <QStringList>

namespace orvel::bench {

class QuietDialogs : public IDialogs {
public:
    TMsgResult ask(const QString&, const QString&, int, TMsgResult) override { return mrNo; }
    void error(const QString&, const QString&) override {}
    void info(const QString&, const QString&) override {}
    QString openFileName(const TFileDialogArgs&) override { return {}; }
    QString saveFileName(const TFileDialogArgs&) override { return {}; }
    // The projects root of a first start.
    QString chooseFolder(const QString&, const QString& start, const QString&) override {
        return start;
    }
    void beep() override {}
    int choose(const QString&, const QString&, const QStringList&) override { return -1; }
    bool inputText(const QString&, const QString&, QString&) override { return false; }
};

} // namespace orvel::bench
