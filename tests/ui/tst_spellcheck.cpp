#include "editor/core/HtmlChars.h"
#include "spelling/core/SynEditSpell.h"
#include "spelling/ui/SpellMenus.h"
#include "spelling/ui/SynEditSpellPlugin.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include "HunspellCommand.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace orvel;

namespace orvel {
char* toString(const TLineRange& r) {
    return QTest::toString(QStringLiteral("%1+%2").arg(r.start).arg(r.length));
}
} // namespace orvel

namespace {

const QString kSystemDicts = test::systemDictionaryFolder();

// A line of a test document: markup (never checked) and text, in turns.
struct Piece {
    bool text;
    QString s;
};
using Line = QList<Piece>;

// Letters the HTML form writes as entities, to show they are read as their characters.
QString asHtml(QString text) {
    return text.replace(u'ü', QStringLiteral("&uuml;"))
        .replace(u'ö', QStringLiteral("&#246;"))
        .replace(u'ß', QStringLiteral("&szlig;"))
        .replace(u'é', QStringLiteral("&eacute;"));
}

QString htmlOf(const QList<Line>& lines) {
    QStringList out;
    for (const Line& l : lines) {
        QString s;
        for (const Piece& p : l)
            s += p.text ? asHtml(p.s) : p.s;
        out << s;
    }
    return out.join(u'\n');
}

// What a reader sees: the text pieces, tags standing between words.
QString textOf(const QList<Line>& lines) {
    QStringList out;
    for (const Line& l : lines) {
        QStringList parts;
        for (const Piece& p : l)
            if (p.text)
                parts << p.s;
        out << parts.join(u' ');
    }
    return out.join(u'\n');
}

// Markup with misspellings everywhere the checker must not look.
const Line kHead{{false, "<html><head><title>"}, {true, "Orvel"}, {false, "</title>"}};
const Line kStyle{{false, "<style>p { colr: red; } /* Speling mistkae */</style>"}};
const Line kScript{{false, "<script>var wrld = \"Helo speling\"; // Speling</script></head>"}};
const Line kComment{{false, "<body><!-- Speling in a coment -->"}};
const Line kTail{
    {false, "<img alt=\"Speling\" src=\"imgae.png\"><a href=\"http://exmple.com/pge\">"},
    {true, "x"},
    {false, "</a></body></html>"}};

} // namespace

class TestSpellCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void agreesWithHunspellOnHtml_data();
    void agreesWithHunspellOnHtml();
    void marksOnlyTheElementText();
    void languageWithoutDictionaryMarksNothing();
    void typingLeavesCheckingToThePause();
    void onlyChangedAndNewLinesAreChecked();
    void plainTextChecksEverything();
    void nextMisspelling();
    void contextMenuWord();
    void suggestionsKeepTheirAmpersand();
    void addedWordLosesItsMark();
    void languageMenuAndDictionaryChoice();

private:
    struct Doc {
        std::unique_ptr<THighlighter> highlighter;
        std::unique_ptr<TEditorControl> editor;
        TDrawAutoSpellCheckPlugin* plugin = nullptr;
    };
    Doc makeDoc(const QString& text, quint32 lang, bool html = true,
                TSynEditSpellCheck* checker = nullptr);

    QTemporaryDir m_userDir;
    THtmlCharTable m_chars;
    std::unique_ptr<TSynEditSpellCheck> m_checker;
};

void TestSpellCheck::initTestCase() {
    QVERIFY(m_chars.loadFromFile(QStringLiteral(ORVEL_BUILD_DIR "/html-codes.txt")));
    m_checker = std::make_unique<TSynEditSpellCheck>(caText);
    m_checker->setSystemFolders({kSystemDicts});
    m_checker->setUserDictPath(m_userDir.path());
    m_checker->setEntityResolver(
        [this](QStringView name) {
            return char32_t(m_chars.GetUnicodeChar(u'&' + name.toString() + u';'));
        },
        [this](char32_t c) { return m_chars.GetHtmlName(int(c)); });
    QVERIFY(m_checker->LoadDictionaries(QString(), {1033, 1031, 1038}));
}

TestSpellCheck::Doc TestSpellCheck::makeDoc(const QString& text, quint32 lang, bool html,
                                            TSynEditSpellCheck* checker) {
    Doc d;
    d.editor = std::make_unique<TEditorControl>();
    if (html) {
        d.highlighter = THighlighter::create(hkHtml);
        d.editor->setHighlighter(d.highlighter.get());
    }
    d.editor->setText(text);
    d.editor->resize(900, 500);
    d.editor->show();
    d.plugin = new TDrawAutoSpellCheckPlugin(d.editor.get(), checker ? checker : m_checker.get());
    d.plugin->setLanguage(lang);
    d.plugin->activate();
    return d;
}

void TestSpellCheck::agreesWithHunspellOnHtml_data() {
    QTest::addColumn<QString>("shortname");
    QTest::addColumn<QList<Line>>("lines");
    QTest::newRow("en_US") << "en_US"
                           << QList<Line>{kHead,
                                          kStyle,
                                          kScript,
                                          kComment,
                                          {{false, "<p title=\"Speling\" class=\"wrld\">"},
                                           {true, "The quick brown fox jumpd over the lazzy dog."},
                                           {false, "</p>"}},
                                          {{false, "<p>"},
                                           {true, "Don't worry, a café is not a cafe, teh end."},
                                           {false, "<br><b>"},
                                           {true, "Bold"},
                                           {false, "</b>"},
                                           {true, "tset and Misisippi."},
                                           {false, "</p>"}},
                                          kTail};
    QTest::newRow("de_DE") << "de_DE"
                           << QList<Line>{kHead,
                                          kStyle,
                                          kScript,
                                          kComment,
                                          {{false, "<p lang=\"de\" title=\"Schlect\">"},
                                           {true, "Grüße aus Köln: die Straße ist naß."},
                                           {false, "</p>"}},
                                          {{false, "<h1>"},
                                           {true, "Müller und Mueller gehn über Brücken"},
                                           {false, "</h1>"},
                                           {true, "in München, Fussbal und Fußball."}},
                                          kTail};
    QTest::newRow("hu_HU") << "hu_HU"
                           << QList<Line>{kHead,
                                          kStyle,
                                          kScript,
                                          kComment,
                                          {{false, "<p title=\"Magyarorszag\">"},
                                           {true, "Árvíztűrő tükörfúrógép és a tüzoltó kocsi."},
                                           {false, "</p>"}},
                                          {{false, "<div>"},
                                           {true, "A kőszívű ember fiai; a kőszivü ember, hüség."},
                                           {false, "</div>"}},
                                          kTail};
}

void TestSpellCheck::agreesWithHunspellOnHtml() {
    QFETCH(QString, shortname);
    QFETCH(QList<Line>, lines);
    Doc d = makeDoc(htmlOf(lines), exactLanguageIdOfLocale(shortname));
    QVERIFY(m_checker->enabled());
    QStringList ours;
    for (int i = 0; i < d.editor->lineCount(); ++i)
        for (const TSpellWord& w : d.plugin->misspeltWords(i))
            ours << w.dictWord();
    const QStringList expected = test::hunspellMisspelt(shortname, textOf(lines));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(ours.join(u' '), expected.join(u' '));

    // The marks on the lines shown are those words, and only on the element text.
    d.plugin->checkVisibleLines();
    for (int i = 0; i < d.editor->lineCount(); ++i) {
        QList<TLineRange> want;
        for (const TSpellWord& w : d.plugin->misspeltWords(i))
            want.append({w.start, w.length});
        QCOMPARE(d.editor->spellMarks(i), want);
        for (const TLineRange& r : want)
            QCOMPARE(d.editor->attributeNameAt({r.start + 1, i + 1}).isEmpty(), false);
    }
}

void TestSpellCheck::marksOnlyTheElementText() {
    Doc d = makeDoc(QStringLiteral("<p title=\"Helo\">Helo</p>\n<p>A b c M&uuml;ler</p>"), 1031);
    d.plugin->checkVisibleLines();
    QCOMPARE(d.editor->spellMarks(0), (QList<TLineRange>{{16, 4}}));
    // One-letter words are never marked; the entity word is marked whole.
    QCOMPARE(d.editor->spellMarks(1), (QList<TLineRange>{{9, 10}}));
}

void TestSpellCheck::languageWithoutDictionaryMarksNothing() {
    Doc d = makeDoc(QStringLiteral("<p>Helo wrld</p>\n<p>Speling</p>"), 1033);
    d.plugin->checkVisibleLines();
    QCOMPARE(d.editor->spellMarks(0).size(), 2);

    // French has no dictionary here: checking turns off, every mark goes.
    d.plugin->setLanguage(1036);
    QVERIFY(!d.plugin->activate());
    QVERIFY(!m_checker->enabled());
    QCOMPARE(m_checker->langId(), 0u);
    QVERIFY(!m_checker->hunspellHandle());
    d.plugin->checkVisibleLines();
    for (int i = 0; i < d.editor->lineCount(); ++i)
        QVERIFY(d.editor->spellMarks(i).isEmpty());
    QVERIFY(!d.plugin->findNextMisspelling());
    QVERIFY(!d.plugin->menuInfo({5, 1}).misspelt);

    // "None" likewise, and a language with a dictionary brings the marks back.
    d.plugin->setLanguage(0);
    QVERIFY(d.plugin->activate());
    d.plugin->checkVisibleLines();
    QVERIFY(d.editor->spellMarks(0).isEmpty());
    d.plugin->setLanguage(1033);
    QVERIFY(d.plugin->activate());
    d.plugin->checkVisibleLines();
    QCOMPARE(d.editor->spellMarks(0).size(), 2);
}

void TestSpellCheck::typingLeavesCheckingToThePause() {
    Doc d = makeDoc(QStringLiteral("<p></p>"), 1033);
    d.plugin->checkVisibleLines();
    d.editor->setCaretXY({4, 1});
    const int before = d.plugin->linesChecked();
    QTest::keyClicks(d.editor->focusProxy(), QStringLiteral("Helo wrld "));
    QCOMPARE(d.editor->line(0), QStringLiteral("<p>Helo wrld </p>"));
    // Nothing was checked in the keystrokes' own events.
    QCOMPARE(d.plugin->linesChecked(), before);
    QVERIFY(d.editor->spellMarks(0).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(d.editor->spellMarks(0), (QList<TLineRange>{{3, 4}, {8, 4}}), 3000);
}

void TestSpellCheck::onlyChangedAndNewLinesAreChecked() {
    QStringList lines;
    for (int i = 0; i < 400; ++i)
        lines << QStringLiteral("<p>Line %1 with a speling mistake</p>").arg(i);
    Doc d = makeDoc(lines.join(u'\n'), 1033);
    d.plugin->checkVisibleLines();
    const int shown = d.plugin->linesChecked();
    QVERIFY(shown > 5 && shown < 100);
    d.plugin->checkVisibleLines();
    QCOMPARE(d.plugin->linesChecked(), shown);
    d.editor->setLine(2, QStringLiteral("<p>Changed wrld</p>"));
    d.plugin->checkVisibleLines();
    QCOMPARE(d.plugin->linesChecked(), shown + 1);
    QCOMPARE(d.editor->spellMarks(2), (QList<TLineRange>{{11, 4}}));
    // Scrolled down one page: the lines that came into view.
    d.editor->setCaretXY({1, 150});
    d.plugin->checkVisibleLines();
    QVERIFY(d.plugin->linesChecked() > shown + 1);
    QCOMPARE(d.editor->spellMarks(149), (QList<TLineRange>{{19, 7}}));
    QVERIFY(d.editor->spellMarks(300).isEmpty()); // never shown, never checked
}

void TestSpellCheck::plainTextChecksEverything() {
    Doc d = makeDoc(QStringLiteral("<p>Helo M&uuml;ller</p>"), 1033, false);
    d.plugin->checkVisibleLines();
    // No markup in plain text: "Helo", "uuml" and "ller" are words like any other.
    QCOMPARE(d.editor->spellMarks(0), (QList<TLineRange>{{3, 4}, {10, 4}, {15, 4}}));
}

void TestSpellCheck::nextMisspelling() {
    Doc d = makeDoc(QStringLiteral("<p title=\"Speling\">Good text</p>\n"
                                   "<p>A wrld and\nteh end</p>"),
                    1033);
    d.editor->setCaretXY({1, 1});
    QVERIFY(d.plugin->findNextMisspelling());
    QCOMPARE(d.editor->selText(), QStringLiteral("wrld"));
    QVERIFY(d.plugin->findNextMisspelling());
    QCOMPARE(d.editor->selText(), QStringLiteral("teh"));
    test::ScriptedDialogs dialogs;
    dialogs.expectInfo(QStringLiteral("No more misspellings found!"));
    d.plugin->ActionMisspell(dialogs, QStringLiteral("Orvel"));
    QCOMPARE(dialogs.problems(), QStringList());
    QCOMPARE(dialogs.beeps, 1);
    QCOMPARE(d.editor->selText(), QStringLiteral("teh"));
    QVERIFY(!m_checker->busy());
}

void TestSpellCheck::contextMenuWord() {
    Doc d = makeDoc(QStringLiteral("<p title=\"Helo\">Helo there</p>"), 1033);
    // Inside the attribute: no word to offer.
    QVERIFY(d.plugin->menuInfo({13, 1}).word.isEmpty());
    // A correct word: remembered, but nothing to add or suggest.
    const TSpellMenuInfo good = d.plugin->menuInfo({23, 1});
    QCOMPARE(good.word, QStringLiteral("there"));
    QVERIFY(!good.misspelt);
    QVERIFY(good.suggestions.isEmpty());

    const TSpellMenuInfo info = d.plugin->menuInfo({18, 1});
    QCOMPARE(info.word, QStringLiteral("Helo"));
    QVERIFY(info.misspelt);
    QCOMPARE(info.addCaption, QStringLiteral("&Add \"Helo\" to dictionary"));
    QVERIFY(info.suggestions.contains(QStringLiteral("Hello")));
    QVERIFY(d.plugin->replaceWord(info, QStringLiteral("Hello")));
    QCOMPARE(d.editor->line(0), QStringLiteral("<p title=\"Helo\">Hello there</p>"));
    // The menu is stale once the text changed.
    QVERIFY(!d.plugin->replaceWord(info, QStringLiteral("Hell")));
    d.editor->undo();
    QCOMPARE(d.editor->line(0), QStringLiteral("<p title=\"Helo\">Helo there</p>"));

    // A word written with entities keeps them in its correction.
    Doc de = makeDoc(QStringLiteral("<p>Gr&uuml;sse von M&uuml;ler</p>"), 1031);
    const TSpellMenuInfo m = de.plugin->menuInfo({22, 1});
    QCOMPARE(m.word, QStringLiteral("Müler"));
    QVERIFY(m.misspelt);
    const qsizetype i = m.suggestions.indexOf(QStringLiteral("M&uuml;ller"));
    QVERIFY2(i >= 0, qPrintable(m.suggestions.join(u',')));
    QCOMPARE(m.suggestionCaptions[i], QStringLiteral("Müller"));
    QVERIFY(de.plugin->replaceWord(m, m.suggestions[i]));
    QCOMPARE(de.editor->line(0), QStringLiteral("<p>Gr&uuml;sse von M&uuml;ller</p>"));
}

void TestSpellCheck::suggestionsKeepTheirAmpersand() {
    Doc d = makeDoc(QStringLiteral("<p>RnD</p>"), 1033);
    TSpellMenuInfo info = d.plugin->menuInfo({5, 1});
    info.suggestions = QStringList{QStringLiteral("R&D")};
    info.suggestionCaptions = QStringList{escapeMenuCaption(QStringLiteral("R&D"))};
    QMenu menu;
    QString chosen;
    fillSuggestionMenu(&menu, info, [&](const QString& s) { chosen = s; });
    QCOMPARE(menu.actions().size(), 1);
    QCOMPARE(menu.actions()[0]->text(), QStringLiteral("R&&D"));
    menu.actions()[0]->trigger();
    QCOMPARE(chosen, QStringLiteral("R&D"));
    QVERIFY(d.plugin->replaceWord(info, chosen));
    QCOMPARE(d.editor->line(0), QStringLiteral("<p>R&D</p>"));
}

void TestSpellCheck::addedWordLosesItsMark() {
    QTemporaryDir userDir;
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    checker.setUserDictPath(userDir.path());
    QVERIFY(checker.LoadDictionaries(QString(), {1033}));
    Doc d = makeDoc(QStringLiteral("<p>Orvel is an editor, orvel too</p>"), 1033, true, &checker);
    d.plugin->checkVisibleLines();
    QCOMPARE(d.editor->spellMarks(0).size(), 2);
    const TSpellMenuInfo info = d.plugin->menuInfo({5, 1});
    QVERIFY(d.plugin->addWord(info.word).ok());
    QTRY_COMPARE(d.editor->spellMarks(0), (QList<TLineRange>{{23, 5}}));
    QVERIFY(QFileInfo::exists(userDir.filePath("en_US.user.dic")));
}

void TestSpellCheck::languageMenuAndDictionaryChoice() {
    QList<TLanguageName> langs;
    QVERIFY(m_checker->GetDictLanguages(langs));
    QMenu menu;
    quint32 picked = 99;
    fillLanguageMenu(&menu, QStringLiteral("&None"), langs, 1031, [&](quint32 id) { picked = id; });
    QCOMPARE(menu.actions().size(), langs.size() + 1);
    QCOMPARE(menu.actions()[0]->text(), QStringLiteral("&None"));
    for (QAction* a : menu.actions())
        QCOMPARE(a->isChecked(), a->data().toUInt() == 1031u);
    menu.actions()[0]->trigger();
    QCOMPARE(picked, 0u);
    fillLanguageMenu(&menu, QStringLiteral("None"), langs, 0, [](quint32) {});
    QVERIFY(menu.actions()[0]->isChecked());

    // The dictionary choice: everything checked when nothing is configured; the first
    // unticked leaves the others, in list order.
    QList<quint32> configured;
    QTimer::singleShot(0, [] {
        auto* list = QApplication::activeModalWidget()->findChild<QListWidget*>();
        QVERIFY(list);
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->item(i)->checkState(), Qt::Checked);
        list->item(0)->setCheckState(Qt::Unchecked);
        QMetaObject::invokeMethod(QApplication::activeModalWidget(), "accept");
    });
    QVERIFY(selectDictionaries(nullptr, QStringLiteral("Orvel"), langs, configured));
    QList<quint32> rest;
    for (const TLanguageName& l : langs.mid(1))
        rest << l.Id;
    QCOMPARE(configured, rest);
}

QTEST_MAIN(TestSpellCheck)
#include "tst_spellcheck.moc"
