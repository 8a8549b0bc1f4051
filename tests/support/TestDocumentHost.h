#pragma once
// A main window for document-window tests: scripted dialogs and quiet defaults; tests
// override what they look at.

#include "ScriptedDialogs.h"
#include "ScriptedElementDialogs.h"
#include "editor/ui/DocumentHost.h"

namespace orvel::test {

class TestDocumentHost : public IDocumentHost {
public:
    ScriptedDialogs script;
    ScriptedElementDialogs elements;
    const THtmlCharTable* table = nullptr;
    QString root = QStringLiteral("/tmp/");
    int ids = 0;
    int previous = 0;
    int next = 0;

    int GetId() override { return ++ids; }
    IDialogs& dialogs() override { return script; }
    ISearchDialogs& searchDialogs() override { return script; }
    IElementDialogs& elementDialogs() override { return elements; }
    TFindReplDialog* findDialog() override { return nullptr; }
    const THtmlCharTable* charTable() const override { return table; }
    QStringList anchorNames() const override { return {QStringLiteral("top")}; }
    bool dynamicToolbars() const override { return false; }
    void setDynamicToolbars(bool) override {}
    QString htmlRoot() const override { return root; }
    QString programDataFile(const QString&) const override { return QString(); }
    QString mainCaption() const override { return QStringLiteral("Orvel (Version 1.2.3)"); }
    QString appTitle() const override { return QStringLiteral("Tagsmith"); }
    bool SaveTextFromMDI(TMDIForm*, bool, bool, bool) override { return false; }
    void CloseMDI(int, int, TTextStatus, const QString&) override {}
    void ShowStatus(bool) override {}
    void PreviousMDI(int) override { ++previous; }
    void NextMDI(int) override { ++next; }

    QStringList problems() const { return script.problems() + elements.problems(); }
};

} // namespace orvel::test
