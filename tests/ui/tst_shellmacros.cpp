// The text macro panel in the main window: its command shows and hides it, and the macros
// a user makes are there again after a restart.

#include "../support/ShellFixture.h"
#include "../support/TestFiles.h"
#include "app/ui/MainLayout.h"
#include "base/core/IniFileUtils.h"
#include "base/ui/CommandList.h"
#include "editor/ui/OrvelMDI.h"
#include "macros/core/MacroCommands.h"
#include "macros/core/MacroFile.h"
#include "macros/core/MacroList.h"
#include "macros/ui/MacroPanel.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QTabWidget>
#include <QtTest>

using namespace orvel;
using namespace orvel::test;

class TestShellMacros : public QObject, public ShellFixture {
    Q_OBJECT
private slots:
    void init() { resetShell(); }
    void cleanup() {
        const QStringList problems = shellProblems();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }
    void showMacrosTogglesThePanel();
    void macrosSurviveARestart();

private:
    std::unique_ptr<THauptForm> start(const QStringList& files = {}) {
        auto w = shellWindow(shellStart(files, true));
        const TUnicodeIniFile stored =
            TUnicodeIniFile::CreateForRead(dir->filePath(QStringLiteral("orvel.ini")));
        if (stored.ReadString("Config", "StdPath", QString()).isEmpty())
            script.expectFolder(dir->path() + QStringLiteral("/sites/"));
        w->Init();
        return w;
    }
};

void TestShellMacros::showMacrosTogglesThePanel() {
    auto w = start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QAction* show = w->macroCommands().action(cmd::ActionShowMacros);
    QVERIFY(show);
    const bool before = w->frame().topPanelShown();
    show->trigger();
    QCOMPARE(w->frame().topPanelShown(), !before);
    if (w->frame().topPanelShown())
        QCOMPARE(w->frame().pcTop->currentWidget(), &w->macroPanel());
    show->trigger();
    QCOMPARE(w->frame().topPanelShown(), before);
}

void TestShellMacros::macrosSurviveARestart() {
    writeAll(path("a.html"), "<p>hello</p>");
    {
        auto w = start({path("a.html")});
        w->show();
        TEditorControl* ed = w->activeDocument()->TextBuffer();
        ed->setSelection({1, 1}, {4, 1});
        elements.expect(ScriptedElementDialogs::Text, {QStringLiteral("Paragraph")});
        w->macroCommands().action(cmd::ActionMacroNew)->trigger();
        QCOMPARE(w->macroPanel().model()->names(), QStringList{"Paragraph"});
        w->close();
    }
    const TResult<TMacroFileContent> file = readMacroFile(macroFileName(path("orvel.ini")));
    QVERIFY2(file.ok(), qPrintable(file.error()));
    QCOMPARE(file.value().macros, (QList<TTextMacro>{{"Paragraph", "<p>"}}));

    auto w = start({path("a.html")});
    QCOMPARE(w->macroPanel().model()->names(), QStringList{"Paragraph"});
    w->show();
    TEditorControl* ed = w->activeDocument()->TextBuffer();
    ed->setSelection({13, 1}, {13, 1});
    w->macroCommands().action(cmd::ActionMacroInsert)->trigger();
    QCOMPARE(ed->text(), QString("<p>hello</p><p>"));
}

QTEST_MAIN(TestShellMacros)
#include "tst_shellmacros.moc"
