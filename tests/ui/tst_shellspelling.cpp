// Spell checking in the main window: the shared checker follows the active document's
// language, the commands and context menu entries exist only for HTML and plain text, words
// the user adds are there after a restart, and the dictionary preferences.

#include "../support/ShellFixture.h"
#include "../support/TestFiles.h"
#include "HunspellCommand.h"
#include "base/core/IniFileUtils.h"
#include "editor/ui/DocumentCommands.h"
#include "editor/ui/OrvelMDI.h"
#include "spelling/core/SynEditSpell.h"
#include "spelling/ui/SynEditSpellPlugin.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QtTest>

using namespace orvel;
using namespace orvel::test;

namespace orvel {
char* toString(const TLineRange& r) {
    return QTest::toString(QStringLiteral("%1+%2").arg(r.start).arg(r.length));
}
} // namespace orvel

namespace {

using Marks = QList<TLineRange>;

// The entry of a language menu for an id, after the menu was filled for showing.
QAction* languageEntry(QMenu* menu, quint32 id) {
    Q_EMIT menu->aboutToShow();
    for (QAction* a : menu->actions())
        if (a->data().toUInt() == id)
            return a;
    return nullptr;
}

QStringList entryTexts(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << a->text();
    return out;
}

} // namespace

class TestShellSpelling : public QObject, public ShellFixture {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void checkerFollowsTheActiveDocument();
    void contextMenuOffersTheWord();
    void keysFollowTheDocumentType();
    void addedWordAcceptedAfterRestart();
    void languageWithoutDictionaryChecksNothing();
    void dictionaryPreferences();

private:
    // The window of a start with these files, the dictionaries of these languages read.
    std::unique_ptr<THauptForm> start(const QStringList& files, const QList<int>& dictionaries);
    // Chooses the language in the active document's "Select &language" menu.
    void chooseLanguage(THauptForm& w, quint32 id);
    QString userDictionary(const QString& name) const {
        return m_config.filePath(QStringLiteral("SynSpell/") + name);
    }

    QTemporaryDir m_config;
};

void TestShellSpelling::initTestCase() {
    // User dictionaries go below the configuration folder: never the real one.
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
}

void TestShellSpelling::init() {
    resetShell();
    QDir(m_config.filePath(QStringLiteral("SynSpell"))).removeRecursively();
}

void TestShellSpelling::cleanup() {
    const QStringList problems = shellProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

std::unique_ptr<THauptForm> TestShellSpelling::start(const QStringList& files,
                                                     const QList<int>& dictionaries) {
    TShellStart s = shellStart(files, true);
    s.systemDictionaryFolders = QStringList{systemDictionaryFolder()};
    auto w = shellWindow(s);
    const TUnicodeIniFile stored = TUnicodeIniFile::CreateForRead(path("orvel.ini"));
    if (stored.ReadString("Config", "StdPath", QString()).isEmpty())
        script.expectFolder(dir->path() + QStringLiteral("/sites/"));
    w->settings().Dictionaries = dictionaries;
    if (!w->Init())
        return nullptr;
    w->resize(900, 600);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        return nullptr;
    // The dictionaries are read after the window shows.
    TSynEditSpellCheck* checker = w->spellChecker();
    if (!QTest::qWaitFor([checker] { return checker->isLoaded(); }, 20000))
        return nullptr;
    return w;
}

void TestShellSpelling::chooseLanguage(THauptForm& w, quint32 id) {
    QAction* entry = languageEntry(w.documentCommands().languageMenu(), id);
    QVERIFY2(entry, qPrintable(QString::number(id)));
    entry->trigger();
    QCOMPARE(w.activeDocument()->TextLangId(), id);
    QVERIFY(entry->isChecked());
}

void TestShellSpelling::checkerFollowsTheActiveDocument() {
    writeAll(path("a.html"), "<p title=\"Helo\">Helo wrld</p>");
    writeAll(path("b.txt"), "Gr\xC3\xBC\xC3\x9F"
                            "e und Fehlre");
    writeAll(path("c.css"), "p { colr: red; } /* Speling */");
    auto w = start({path("a.html"), path("b.txt"), path("c.css")}, {1033, 1031});
    QVERIFY(w);
    TSynEditSpellCheck* checker = w->spellChecker();
    TDocumentCommands& cmds = w->documentCommands();

    w->ActivateWindow(w->FindWindowByName(path("a.html")));
    chooseLanguage(*w, 1033);
    QCOMPARE(checker->langId(), 1033u);
    QVERIFY(checker->enabled());
    TEditorControl* html = w->activeDocument()->TextBuffer();
    // The element text only, never the attribute.
    QTRY_COMPARE(html->spellMarks(0), (Marks{{16, 4}, {21, 4}}));
    QVERIFY(cmds.action(cmd::ActionMisspell)->isEnabled());
    QVERIFY(cmds.action(cmd::ActionAddDict)->isEnabled());
    QStringList panels;
    for (QLabel* l : w->statusBar()->findChildren<QLabel*>())
        panels << l->text();
    QVERIFY2(panels.contains(QStringLiteral("English (United States)")),
             qPrintable(panels.join(u'|')));

    w->ActivateWindow(w->FindWindowByName(path("b.txt")));
    chooseLanguage(*w, 1031);
    QCOMPARE(checker->langId(), 1031u);
    QTRY_COMPARE(w->activeDocument()->TextBuffer()->spellMarks(0), (Marks{{10, 6}}));

    // Back to the HTML document: its language comes back, its marks stay.
    w->ActivateWindow(w->FindWindowByName(path("a.html")));
    QCOMPARE(checker->langId(), 1033u);
    QTRY_COMPARE(html->spellMarks(0), (Marks{{16, 4}, {21, 4}}));

    // A style sheet has no spelling: the commands are off, the context menu has none of it.
    w->ActivateWindow(w->FindWindowByName(path("c.css")));
    QVERIFY(!w->activeDocument()->spellPlugin());
    QCOMPARE(w->activeDocument()->TextLangId(), 0u);
    QVERIFY(!cmds.action(cmd::ActionMisspell)->isEnabled());
    QVERIFY(!cmds.action(cmd::ActionAddDict)->isEnabled());
    cmds.popupContextMenu(w->mapToGlobal(QPoint(100, 100)));
    QVERIFY(!cmds.addWordEntry()->isVisible());
    QVERIFY(!cmds.languageMenu()->menuAction()->isVisible());
    QVERIFY(!cmds.action(cmd::ActionMisspell)->isVisible());
    cmds.contextMenu()->hide();
    QVERIFY(w->activeDocument()->TextBuffer()->spellMarks(0).isEmpty());
}

void TestShellSpelling::contextMenuOffersTheWord() {
    writeAll(path("a.html"), "<p>Helo there, Misisippi</p>");
    auto w = start({path("a.html")}, {1033});
    QVERIFY(w);
    chooseLanguage(*w, 1033);
    TDocumentCommands& cmds = w->documentCommands();
    TEditorControl* ed = w->activeDocument()->TextBuffer();

    ed->setCaretXY({5, 1});
    cmds.popupContextMenu(w->mapToGlobal(QPoint(100, 100)));
    QVERIFY(cmds.addWordEntry()->isVisible());
    QCOMPARE(cmds.addWordEntry()->text(), QStringLiteral("&Add \"Helo\" to dictionary"));
    QVERIFY(cmds.suggestionMenu()->menuAction()->isVisible());
    QVERIFY(cmds.action(cmd::ActionMisspell)->isVisible());
    QVERIFY(cmds.languageMenu()->menuAction()->isVisible());
    const QStringList offered = entryTexts(cmds.suggestionMenu());
    QVERIFY2(offered.contains(QStringLiteral("Hello")), qPrintable(offered.join(u',')));
    QVERIFY(!offered.contains(QStringLiteral("Helo")));
    cmds.contextMenu()->hide();
    for (QAction* a : cmds.suggestionMenu()->actions())
        if (a->text() == QStringLiteral("Hello"))
            a->trigger();
    QCOMPARE(ed->line(0), QStringLiteral("<p>Hello there, Misisippi</p>"));

    // A correct word: nothing to add or suggest; the rest of the spelling entries stay.
    ed->setCaretXY({12, 1});
    cmds.popupContextMenu(w->mapToGlobal(QPoint(100, 100)));
    QVERIFY(!cmds.addWordEntry()->isVisible());
    QVERIFY(!cmds.suggestionMenu()->menuAction()->isVisible());
    QVERIFY(cmds.action(cmd::ActionMisspell)->isVisible());
    cmds.contextMenu()->hide();

    // The entry adds the word the menu was opened on.
    ed->setCaretXY({18, 1});
    cmds.popupContextMenu(w->mapToGlobal(QPoint(100, 100)));
    QCOMPARE(cmds.addWordEntry()->text(), QStringLiteral("&Add \"Misisippi\" to dictionary"));
    cmds.contextMenu()->hide();
    cmds.addWordEntry()->trigger();
    QVERIFY(w->spellChecker()->userDict().contains(QStringLiteral("Misisippi")));
    QTRY_VERIFY(ed->spellMarks(0).isEmpty());
}

void TestShellSpelling::keysFollowTheDocumentType() {
    writeAll(path("a.html"), "<p>Good and wrng</p>");
    writeAll(path("c.css"), "p { colr: red; }");
    auto w = start({path("a.html"), path("c.css")}, {1033});
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->ActivateWindow(w->FindWindowByName(path("a.html")));
    chooseLanguage(*w, 1033);
    TEditorControl* html = w->activeDocument()->TextBuffer();
    html->setCaretXY({1, 1});
    html->focusText();
    // F6 in HTML: the next misspelling.
    QTest::keyClick(html->focusProxy(), Qt::Key_F6);
    QCOMPARE(html->selText(), QStringLiteral("wrng"));
    // F5 adds the word F6 selected.
    QTest::keyClick(html->focusProxy(), Qt::Key_F5);
    QCOMPARE(w->spellChecker()->userDict(), QStringList{"wrng"});

    // In a style sheet the spelling commands are off: F6 goes back to the previous document.
    w->ActivateWindow(w->FindWindowByName(path("c.css")));
    TEditorControl* css = w->activeDocument()->TextBuffer();
    css->focusText();
    QTest::keyClick(css->focusProxy(), Qt::Key_F6);
    QCOMPARE(w->activeDocument()->TextBuffer(), html);
}

void TestShellSpelling::addedWordAcceptedAfterRestart() {
    writeAll(path("a.html"), "<p>The Orvelian way, Zorblax</p>");
    {
        auto w = start({path("a.html")}, {1033});
        QVERIFY(w);
        chooseLanguage(*w, 1033);
        TDocumentCommands& cmds = w->documentCommands();
        TEditorControl* ed = w->activeDocument()->TextBuffer();
        QTRY_COMPARE(ed->spellMarks(0), (Marks{{7, 8}, {21, 7}}));
        // F6 selects the misspelling, F5 adds it.
        ed->setCaretXY({1, 1});
        cmds.action(cmd::ActionMisspell)->trigger();
        QCOMPARE(ed->selText(), QStringLiteral("Orvelian"));
        cmds.action(cmd::ActionAddDict)->trigger();
        QTRY_COMPARE(ed->spellMarks(0), (Marks{{21, 7}}));
        QCOMPARE(readAll(userDictionary("en_US.user.dic")), QByteArray("Orvelian\n"));
        w->close();
    }
    // A line the program cannot read and no final line break: the words are still there.
    writeAll(userDictionary("en_US.user.dic"), "Orvelian\n\xFF\xFE garbage\nZorblax");
    auto w = start({path("a.html")}, {1033});
    QVERIFY(w);
    TSynEditSpellCheck* checker = w->spellChecker();
    QCOMPARE(w->activeDocument()->TextLangId(), 1033u);
    QCOMPARE(checker->langId(), 1033u);
    QVERIFY(checker->CheckWord(QStringLiteral("Orvelian")));
    QVERIFY(checker->CheckWord(QStringLiteral("Zorblax")));
    QVERIFY(!checker->CheckWord(QStringLiteral("Quuxly")));
    TEditorControl* ed = w->activeDocument()->TextBuffer();
    // A whole pass of the shown lines finds nothing to mark.
    w->activeDocument()->spellPlugin()->checkVisibleLines();
    QVERIFY(ed->spellMarks(0).isEmpty());
    // The next word added keeps the line it could not read.
    ed->setText(QStringLiteral("<p>Quuxly</p>"));
    ed->setCaretXY({5, 1});
    w->documentCommands().action(cmd::ActionAddDict)->trigger();
    QCOMPARE(readAll(userDictionary("en_US.user.dic")),
             QByteArray("Orvelian\nQuuxly\nZorblax\n\xFF\xFE garbage\n"));
    w->activeDocument()->discardChanges();
}

void TestShellSpelling::languageWithoutDictionaryChecksNothing() {
    writeAll(path("a.html"), "<p>Helo wrld</p>");
    auto w = start({path("a.html")}, {1033});
    QVERIFY(w);
    TSynEditSpellCheck* checker = w->spellChecker();
    chooseLanguage(*w, 1033);
    TEditorControl* ed = w->activeDocument()->TextBuffer();
    QTRY_COMPARE(ed->spellMarks(0).size(), 2);

    // German is on disk but was not read, French is nowhere: the menu offers neither.
    QMenu* menu = w->documentCommands().languageMenu();
    QVERIFY(!languageEntry(menu, 1031));
    QCOMPARE(entryTexts(menu), (QStringList{"None", "English (United States)"}));
    for (quint32 lang : {1031u, 1036u}) {
        w->activeDocument()->setTextLangId(lang);
        QVERIFY(!checker->enabled());
        QCOMPARE(checker->langId(), 0u);
        QVERIFY(!checker->hunspellHandle());
        QTRY_VERIFY(ed->spellMarks(0).isEmpty());
        script.expectInfo(QStringLiteral("No more misspellings found!"));
        ed->setCaretXY({1, 1});
        w->documentCommands().action(cmd::ActionMisspell)->trigger();
        QCOMPARE(script.beeps, lang == 1031u ? 1 : 2);
        QVERIFY(ed->selText().isEmpty());
        // With checking off every word passes, so the add command has nothing to add.
        w->documentCommands().action(cmd::ActionAddDict)->trigger();
        QVERIFY(checker->userDict().isEmpty());
    }
    chooseLanguage(*w, 0);
    QVERIFY(!checker->enabled());
    QTRY_VERIFY(ed->spellMarks(0).isEmpty());
}

void TestShellSpelling::dictionaryPreferences() {
    auto w = start({}, {1031, 1033});
    QVERIFY(w);
    // The project settings offer the dictionaries read.
    projects.expectEdit(QStringLiteral("Edit project settings"), nullptr);
    w->ActionProjectEditExecute();
    QCOMPARE(projects.editLanguages.value(0), (QList<quint32>{1031, 1033}));

    // "&Default dictionary language": "&None" and the languages read.
    auto* language = w->findChild<QMenu*>(QStringLiteral("itmDictionaryLanguage"));
    QVERIFY(language);
    QAction* german = languageEntry(language, 1031);
    QVERIFY(german);
    QCOMPARE(language->actions().first()->text(), QStringLiteral("&None"));
    german->trigger();
    QCOMPARE(w->settings().Config.DictionaryLanguage, 1031);
    QVERIFY(languageEntry(language, 1031)->isChecked());

    // "Dictionaries ..": every dictionary found, the configured ones checked; the choice is
    // stored and the program starts again once it has written its files.
    QList<quint32> offered;
    QList<quint32> checked;
    w->chooseDictionaries = [&](const QList<TLanguageName>& found, QList<quint32>& configured) {
        for (const TLanguageName& l : found)
            offered << l.Id;
        checked = configured;
        configured = {1038};
        return true;
    };
    int restarts = 0;
    w->restartProgram = [&](QString& error) {
        ++restarts;
        error = QStringLiteral("No such program");
        return false;
    };
    script.expectAsk(QStringLiteral("the program must be restarted"), mrYes);
    script.expectError(QStringLiteral("Restart failed!\r\nNo such program"));
    auto* item = w->findChild<QAction*>(QStringLiteral("itmDictionaries"));
    QVERIFY(item);
    item->trigger();
    QVERIFY(offered.contains(1031u) && offered.contains(1033u) && offered.contains(1038u));
    QCOMPARE(checked, (QList<quint32>{1031, 1033}));
    QCOMPARE(restarts, 1);
    QVERIFY(!w->isVisible());
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(path("orvel.ini"));
    QCOMPARE(ini.ReadInteger("Dictionaries", "Count", -1), 1);
    QCOMPARE(ini.ReadInteger("Dictionaries", "Name00", -1), 1038);
    QCOMPARE(ini.ReadInteger("Config", "DictionaryLanguage", -1), 1031);
}

QTEST_MAIN(TestShellSpelling)
#include "tst_shellspelling.moc"
