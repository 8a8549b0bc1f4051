#pragma once
// The main window for tests: started in a temporary folder, its questions answered from
// scripts. A test class derives from it, calls resetShell() in init() and checks
// shellProblems() in cleanup().

#include "ScriptedDialogs.h"
#include "ScriptedElementDialogs.h"
#include "ScriptedProjectDialogs.h"
#include "ScriptedTransferDialogs.h"
#include "app/ui/Orvelfrm.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace orvel::test {

class ShellFixture {
protected:
    // A fresh folder and empty scripts.
    void resetShell();
    // Unexpected questions and expectations never met, of all scripts.
    QStringList shellProblems() const;
    QString path(const QString& name) const { return dir->filePath(name); }
    // A start in the folder: program and documents folder there, read-only data in its
    // folder "data"; with settings, the settings and log files are there too.
    TShellStart shellStart(const QStringList& files = {}, bool withSettings = false) const;
    // The main window with the scripts, not yet initialised.
    std::unique_ptr<THauptForm> shellWindow(const TShellStart& start);
    // The main window with its settings in the folder, initialised: the first start is told
    // that projects live in the folder "sites".
    std::unique_ptr<THauptForm> startWithSettings(const QStringList& files = {});

    ScriptedDialogs script;
    ScriptedProjectDialogs projects;
    ScriptedElementDialogs elements;
    ScriptedTransferDialogs transfers;
    std::unique_ptr<QTemporaryDir> dir;
};

} // namespace orvel::test
