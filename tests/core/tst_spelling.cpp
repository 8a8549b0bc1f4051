#include "spelling/core/HunspellLib.h"
#include "spelling/core/SpellWords.h"
#include "spelling/core/SynEditSpell.h"
#include "spelling/core/UserDictionary.h"

#include "HunspellCommand.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

namespace {

const QString kSystemDicts = test::systemDictionaryFolder();

// "start:length:word" for each word, to compare in one go.
QStringList describe(const QList<TSpellWord>& words) {
    QStringList out;
    for (const TSpellWord& w : words)
        out << QStringLiteral("%1:%2:%3").arg(w.start).arg(w.length).arg(w.word);
    return out;
}

char32_t testEntity(QStringView name) {
    if (name == u"uuml")
        return 0xFC;
    if (name == u"Uuml")
        return 0xDC;
    if (name == u"amp")
        return u'&';
    if (name == u"rsquo")
        return 0x2019;
    if (name == u"shy")
        return 0xAD;
    return 0;
}

// The same text through this program's splitting and checking.
QStringList ourList(TSynEditSpellCheck& checker, const QString& text) {
    QStringList out;
    const TWordSplitOptions options = checker.splitOptions(false);
    for (const QString& line : text.split(u'\n'))
        for (const TSpellWord& w : splitSpellWords(line, {}, options))
            if (!checker.CheckWord(w.word))
                out << w.dictWord();
    return out;
}

QByteArray latin2(const QString& s) {
    QByteArray out;
    // Enough of ISO 8859-2 for the test words.
    for (QChar c : s) {
        switch (c.unicode()) {
        case 0x151:
            out += char(0xF5);
            break; // ő
        case 0x171:
            out += char(0xFB);
            break; // ű
        case 0xED:
            out += char(0xED);
            break; // í
        case 0xE9:
            out += char(0xE9);
            break; // é
        default:
            out += char(c.unicode());
            break;
        }
    }
    return out;
}

} // namespace

class TestSpelling : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitsWords_data();
    void splitsWords();
    void eightBitDictionaryGetsItsEncoding();
    void unusableDictionaryMakesNoEngine();
    void agreesWithHunspellCommand_data();
    void agreesWithHunspellCommand();
    void apostrophesFollowTheDictionary();
    void userDictionaryLines_data();
    void userDictionaryLines();
    void addedWordSurvivesRestart();
    void userDictionaryKeepsGarbageAndLastLine();
    void unreadableUserDictionaryIsNeverOverwritten();
    void failedWriteKeepsOldUserDictionary();
    void selectingLanguages();
    void backgroundLoadSelectsPendingLanguage();
    void programFolderComesFirst();
    void suggestionsLeaveTheWordOut();
};

void TestSpelling::splitsWords_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("mask"); // "1" per checked unit; empty checks all
    QTest::addColumn<QString>("wordChars");
    QTest::addColumn<bool>("entities");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("umlauts and sharp s")
        << "Grüße aus Köln, Straße!"
        << ""
        << "" << false << QStringList{"0:5:Grüße", "6:3:aus", "10:4:Köln", "16:6:Straße"};
    QTest::newRow("Hungarian double acute")
        << "Tűz ő kőszívű, őt."
        << ""
        << "" << false << QStringList{"0:3:Tűz", "4:1:ő", "6:7:kőszívű", "15:2:őt"};
    QTest::newRow("apostrophes join only between letters")
        << "don't 'quoted' dogs' rock'n'roll isn’t"
        << ""
        << "" << false
        << QStringList{"0:5:don't", "7:6:quoted", "15:4:dogs", "21:11:rock'n'roll", "33:5:isn’t"};
    QTest::newRow("dictionary word characters")
        << "E-Mail-Adresse z.B. Haus- -Haus"
        << ""
        << "-." << false
        << QStringList{"0:14:E-Mail-Adresse", "15:3:z.B.", "20:4:Haus-", "27:4:Haus"};
    QTest::newRow("digits only where the dictionary has them")
        << "3rd mp3 2023"
        << ""
        << "0123456789" << false << QStringList{"0:3:3rd", "4:3:mp3"};
    QTest::newRow("digits break words otherwise") << "mp3 2023"
                                                  << ""
                                                  << "" << false << QStringList{"0:2:mp"};
    QTest::newRow("named and numeric entities")
        << "M&uuml;ller K&#246;ln &#xF6;l"
        << ""
        << "" << true << QStringList{"0:11:Müller", "12:9:Köln", "22:7:öl"};
    QTest::newRow("entities left as text in plain text")
        << "M&uuml;ller"
        << ""
        << "" << false << QStringList{"0:1:M", "2:4:uuml", "7:4:ller"};
    QTest::newRow("unknown entity: word not checked") << "Fo&bogus;o bar"
                                                      << ""
                                                      << "" << true << QStringList{"11:3:bar"};
    QTest::newRow("entity of no letter breaks")
        << "AT&amp;T don&rsquo;t"
        << ""
        << "" << true << QStringList{"0:2:AT", "7:1:T", "9:11:don’t"};
    QTest::newRow("soft hyphen joins and is dropped")
        << "Silben&shy;trennung Ab\u00ADsatz"
        << ""
        << "" << true << QStringList{"0:19:Silbentrennung", "20:7:Absatz"};
    QTest::newRow("combining accent stays with its letter")
        << "Cafe\u0301 au"
        << ""
        << "" << false << QStringList{"0:5:Cafe\u0301", "6:2:au"};
    QTest::newRow("letters beyond the basic plane")
        << "x \U0001D400\U0001D401 y"
        << ""
        << "" << false << QStringList{"0:1:x", "2:4:\U0001D400\U0001D401", "7:1:y"};
    QTest::newRow("addresses are no words")
        << "see http://exmple.com/fooo or joe@exmple.org www.exmple.net /usr/shre ok"
        << ""
        << "" << false << QStringList{"0:3:see", "27:2:or", "70:2:ok"};
    QTest::newRow("only the text between tags") << "<p title=\"Helo\">Helo</p>"
                                                << "0000000000000000111100000"
                                                << "" << true << QStringList{"16:4:Helo"};
    QTest::newRow("entity beside text is text") << "<b>&Uuml;ber</b>"
                                                << "0000000001110000"
                                                << "" << true << QStringList{"3:9:Über"};
    QTest::newRow("entity inside a value is not") << "<a t=\"M&uuml;ller\">x</a>"
                                                  << "0000000000000000000100000"
                                                  << "" << true << QStringList{"19:1:x"};
}

void TestSpelling::splitsWords() {
    QFETCH(QString, line);
    QFETCH(QString, mask);
    QFETCH(QString, wordChars);
    QFETCH(bool, entities);
    QFETCH(QStringList, expected);
    QByteArray m;
    for (QChar c : mask)
        m += c == u'1' ? '\1' : '\0';
    TWordSplitOptions o;
    o.wordChars = wordChars;
    o.entities = entities;
    o.entityValue = testEntity;
    QCOMPARE(describe(splitSpellWords(line, m, o)), expected);
}

void TestSpelling::eightBitDictionaryGetsItsEncoding() {
    const QByteArray aff = "SET ISO8859-2\nTRY aeiouőű\nWORDCHARS -\n";
    const QByteArray dic = "3\n" + latin2(QStringLiteral("kőszívű")) + "\n" +
                           latin2(QStringLiteral("tűz")) + "\nlove\n";
    THunspellPtr h(HunspellInit(aff, dic));
    QVERIFY(h);
    QCOMPARE(HunspellEncoding(h.get()), QStringLiteral("ISO8859-2"));
    QCOMPARE(HunspellWordChars(h.get()), QStringLiteral("-"));
    QVERIFY(HunspellSpell(h.get(), QStringLiteral("kőszívű")));
    QVERIFY(HunspellSpell(h.get(), QStringLiteral("tűz")));
    QVERIFY(!HunspellSpell(h.get(), QStringLiteral("tüz")));
    // Characters the encoding cannot hold make a wrong word, not a crash or a match.
    QVERIFY(!HunspellSpell(h.get(), QStringLiteral("tűz日本")));
    QVERIFY(!HunspellAdd(h.get(), QStringLiteral("日本")));
    QVERIFY(HunspellSuggest(h.get(), QStringLiteral("tüz")).contains(QStringLiteral("tűz")));
    QVERIFY(HunspellAdd(h.get(), QStringLiteral("őrült")));
    QVERIFY(HunspellSpell(h.get(), QStringLiteral("őrült")));
}

void TestSpelling::unusableDictionaryMakesNoEngine() {
    QVERIFY(!HunspellInit("SET UTF-8\n", ""));
    QVERIFY(!HunspellInit("SET UTF-8\n", "no count here\nword\n"));
    // Data the engine would read past their end: refused with a reason.
    QVERIFY(!dictionaryDataProblem("SET UTF-8\nTRY ab\xFF\n", "1\nword\n").isEmpty());
    QVERIFY(!dictionaryDataProblem("SETxx UTF-8\n", "1\nw\xC3\n").isEmpty());
    QVERIFY(!dictionaryDataProblem("SET UTF-8\n", QByteArray("1\nwo\0rd\n", 9)).isEmpty());
    QVERIFY(dictionaryDataProblem("SET ISO8859-1\n", "1\nw\xF6rd\n").isEmpty());
    QVERIFY(!HunspellInit("SET UTF-8\nTRY ab\xFF\n", "1\nword\n"));
    // A word count far beyond the list is taken as the list's length.
    THunspellPtr counted(HunspellInit("SET UTF-8\n", "99999999999999\nword\nother\n"));
    QVERIFY(counted);
    QVERIFY(HunspellSpell(counted.get(), QStringLiteral("other")));
    QVERIFY(!HunspellSpell(nullptr, QStringLiteral("word")));
    QVERIFY(HunspellSuggest(nullptr, QStringLiteral("word")).isEmpty());
    // Garbage affix data still gives an engine that answers.
    THunspellPtr h(HunspellInit(QByteArray(3000, '\xFF'), "1\nword\n"));
    QVERIFY(h);
    HunspellSpell(h.get(), QStringLiteral("word"));
    HunspellSuggest(h.get(), QStringLiteral("wrd"));
}

void TestSpelling::agreesWithHunspellCommand_data() {
    QTest::addColumn<QString>("shortname");
    QTest::addColumn<QString>("text");
    QTest::newRow("en_US") << "en_US"
                           << "The quick brown fox jumpd over the lazzy dog.\n"
                              "Don't worry, it's only a tset of teh spelling checker's "
                              "abilities.\n"
                              "Naïve café owners recieve 3rd-rate mp3 files on 21st May "
                              "isn’t it?\n"
                              "Colour, color, organise and organize; Mississipi and "
                              "Misisippi.\n"
                              "Rock'n'roll o'clock well-known wel-known e-mail emial.";
    QTest::newRow("de_DE") << "de_DE"
                           << "Die Straße ist naß und die Strasse ist nass.\n"
                              "Fußball, Fussbal und Fußbälle; Grüße aus Köln und Muenchen.\n"
                              "Der E-Mail-Verkehr mit der Kaffe-Tasse ist z.B. gut, "
                              "bzw. schlect.\n"
                              "Äpfel, Öfen, Übermut und Übermuth gehn nicht immer.\n"
                              "Das Haus. Das Hauss. Die Häuser sind größer als grösser.";
    QTest::newRow("hu_HU") << "hu_HU"
                           << "Árvíztűrő tükörfúrógép és a tüzoltó kocsi.\n"
                              "Petőfi Sándor verseit olvasom, de nem értem őket teljessen.\n"
                              "A kőszívű ember fiai; a kőszivü ember.\n"
                              "Nagy-Britannia és Magyarorszag fővárosa, 1848-ban.\n"
                              "Hűség, hüség, őszinteség és öszinteség.";
}

void TestSpelling::agreesWithHunspellCommand() {
    QFETCH(QString, shortname);
    QFETCH(QString, text);
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    QVERIFY(checker.LoadDictionaries(QString(), {exactLanguageIdOfLocale(shortname)}));
    QVERIFY(checker.SelectDictionary(shortname));
    const QStringList expected = test::hunspellMisspelt(shortname, text);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(ourList(checker, text), expected);
}

void TestSpelling::apostrophesFollowTheDictionary() {
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    QVERIFY(checker.LoadDictionaries(QString(), {1031, 1033}));
    QVERIFY(checker.SelectDictionary(1031));
    // German counts no apostrophe as a word character: the parts decide, as the command's.
    QVERIFY(checker.CheckWord(QStringLiteral("geht's")));
    QVERIFY(checker.CheckWord(QStringLiteral("geht’s")));
    QVERIFY(!checker.CheckWord(QStringLiteral("gehtt's")));
    QVERIFY(checker.SelectDictionary(1033));
    QVERIFY(checker.CheckWord(QStringLiteral("don't")));
    QVERIFY(checker.CheckWord(QStringLiteral("don’t")));
    QVERIFY(!checker.CheckWord(QStringLiteral("rock'n'roll")));
}

void TestSpelling::userDictionaryLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("kept");
    QTest::newRow("sorted, trimmed, once") << QByteArray("zeta\n  alpha \nbeta\nalpha\nAlpha\n")
                                           << QStringList{"Alpha", "alpha", "beta", "zeta"} << 0;
    QTest::newRow("no final line break")
        << QByteArray("one\r\ntwo") << QStringList{"one", "two"} << 0;
    QTest::newRow("byte-order mark and blank lines")
        << QByteArray("\xEF\xBB\xBFone\n\n   \r\rtwo\n") << QStringList{"one", "two"} << 0;
    QTest::newRow("garbage kept aside")
        << QByteArray("good\n\xFF\xFE\x80garbage\nctl\x01word\nlast") << QStringList{"good", "last"}
        << 2;
    QTest::newRow("overlong line kept aside") << QByteArray(200, 'x') + "\nword\n"
                                              << QStringList{"word"} << 1;
}

void TestSpelling::userDictionaryLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, words);
    QFETCH(int, kept);
    const TUserDictionary d = parseUserDictionary(bytes);
    QCOMPARE(d.words, words);
    QCOMPARE(d.keptLines.size(), kept);
    // Written and read again, nothing changes.
    const TUserDictionary again = parseUserDictionary(userDictionaryBytes(d));
    QCOMPARE(again.words, d.words);
    QCOMPARE(again.keptLines, d.keptLines);
}

void TestSpelling::addedWordSurvivesRestart() {
    QTemporaryDir userDir;
    {
        TSynEditSpellCheck checker;
        checker.setSystemFolders({kSystemDicts});
        checker.setUserDictPath(userDir.path());
        QVERIFY(checker.LoadDictionaries(QString(), {1033}));
        QVERIFY(checker.SelectDictionary(1033));
        QVERIFY(!checker.CheckWord(QStringLiteral("Orvelian")));
        QVERIFY(checker.AddDictWord(QStringLiteral(" Orvelian ")).ok());
        QVERIFY(checker.AddDictWord(QStringLiteral("Orvelian")).ok()); // once only
        QVERIFY(checker.AddDictWord(QStringLiteral("orvelian")).ok()); // other case: another
        QVERIFY(checker.CheckWord(QStringLiteral("Orvelian")));
        QCOMPARE(checker.userDict(), (QStringList{"Orvelian", "orvelian"}));
        // Written at once, without a byte-order mark.
        QCOMPARE(test::readAll(userDir.filePath("en_US.user.dic")),
                 QByteArray("Orvelian\norvelian\n"));
    }
    TSynEditSpellCheck restarted;
    restarted.setSystemFolders({kSystemDicts});
    restarted.setUserDictPath(userDir.path());
    QVERIFY(restarted.LoadDictionaries(QString(), {1033}));
    QVERIFY(restarted.SelectDictionary(1033));
    QVERIFY(restarted.CheckWord(QStringLiteral("Orvelian")));
    QVERIFY(!restarted.modified());
}

void TestSpelling::userDictionaryKeepsGarbageAndLastLine() {
    QTemporaryDir userDir;
    const QString file = userDir.filePath("de_DE.user.dic");
    test::writeAll(file, "Zorblax\n\xFF\xFE garbage \x80\nQuuxly");
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    checker.setUserDictPath(userDir.path());
    QVERIFY(checker.LoadDictionaries(QString(), {1031}));
    QVERIFY(checker.SelectDictionary(QStringLiteral("de-DE")));
    QVERIFY(checker.userDictionaryError().isEmpty());
    QVERIFY(checker.CheckWord(QStringLiteral("Zorblax")));
    QVERIFY(checker.CheckWord(QStringLiteral("Quuxly")));
    QVERIFY(checker.AddDictWord(QStringLiteral("Blorf")).ok());
    QCOMPARE(test::readAll(file), QByteArray("Blorf\nQuuxly\nZorblax\n\xFF\xFE garbage \x80\n"));
}

void TestSpelling::unreadableUserDictionaryIsNeverOverwritten() {
    QTemporaryDir userDir;
    // A folder where the file should be: it cannot be read (as the superuser too).
    QVERIFY(QDir(userDir.path()).mkpath("en_US.user.dic/inside"));
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    checker.setUserDictPath(userDir.path());
    QVERIFY(checker.LoadDictionaries(QString(), {1033}));
    QVERIFY(checker.SelectDictionary(1033));
    QVERIFY(checker.userDictionaryError().contains("en_US.user.dic"));
    const TStatus added = checker.AddDictWord(QStringLiteral("Orvelian"));
    QVERIFY(!added.ok());
    QVERIFY(added.error().contains("en_US.user.dic"));
    QVERIFY(checker.CheckWord(QStringLiteral("Orvelian"))); // accepted for the session
    QVERIFY(QFileInfo(userDir.filePath("en_US.user.dic/inside")).isDir());
}

void TestSpelling::failedWriteKeepsOldUserDictionary() {
    QTemporaryDir userDir;
    const QString file = userDir.filePath("en_US.user.dic");
    const QByteArray old = "Aardvarkian\n" + QByteArray(3000, 'x') + "\n";
    test::writeAll(file, old);
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    checker.setUserDictPath(userDir.path());
    QVERIFY(checker.LoadDictionaries(QString(), {1033}));
    QVERIFY(checker.SelectDictionary(1033));
    TStatus added;
    {
        const test::FileSizeLimit full(1024);
        added = checker.AddDictWord(QStringLiteral("Orvelian"));
    }
    QVERIFY(!added.ok());
    QVERIFY2(added.error().contains(QDir::toNativeSeparators(file)), qPrintable(added.error()));
    QCOMPARE(test::readAll(file), old);
}

void TestSpelling::selectingLanguages() {
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    QTemporaryDir userDir;
    checker.setUserDictPath(userDir.path());
    QSignalSpy loading(&checker, &TSynEditSpellCheck::dictionaryLoading);
    QVERIFY(checker.LoadDictionaries(QString(), {1033, 1031}));
    QCOMPARE(loading.size(), 2);
    QList<TLanguageName> langs;
    QVERIFY(checker.GetDictLanguages(langs));
    QCOMPARE(langs.size(), 2);
    QCOMPARE(langs[0].Name, QStringLiteral("German (Germany)"));
    QCOMPARE(langs[1].Id, 1033u);

    QVERIFY(checker.SelectDictionary(1033));
    const THunspellHandle english = checker.hunspellHandle();
    QVERIFY(checker.enabled());
    QVERIFY(!checker.CheckWord(QStringLiteral("Helo")));
    QVERIFY(checker.CheckWord(QStringLiteral("x"))); // single characters pass

    // None: checking off, the engine stays for the way back.
    QVERIFY(checker.SelectDictionary(0u));
    QVERIFY(!checker.enabled());
    QVERIFY(checker.CheckWord(QStringLiteral("Helo")));
    QCOMPARE(checker.langId(), 1033u);
    QVERIFY(checker.SelectDictionary(1033));
    QCOMPARE(checker.hunspellHandle(), english);

    // A language whose dictionary was not read (Hungarian is installed but not configured).
    QVERIFY(!checker.SelectDictionary(1038));
    QVERIFY(!checker.enabled());
    QCOMPARE(checker.langId(), 0u);
    QVERIFY(!checker.hunspellHandle());
    QVERIFY(checker.CheckWord(QStringLiteral("Helo")));

    QVERIFY(checker.SelectDictionary(1031));
    QVERIFY(checker.CheckWord(QStringLiteral("Straße")));
    QVERIFY(!checker.CheckWord(QStringLiteral("Strase")));
    QCOMPARE(checker.userFileName(), QStringLiteral("de_DE.user.dic"));
    QVERIFY(checker.CheckHighlighterAttribute(QStringLiteral("text")));
    QVERIFY(!checker.CheckHighlighterAttribute(QStringLiteral("Comment")));
}

void TestSpelling::backgroundLoadSelectsPendingLanguage() {
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    QSignalSpy loaded(&checker, &TSynEditSpellCheck::dictionariesLoaded);
    QSignalSpy changed(&checker, &TSynEditSpellCheck::stateChanged);
    checker.loadInBackground(QString(), {1038, 1033}, {1038});
    QVERIFY(checker.isLoading());
    // The document is shown before the dictionaries are there: off until they come.
    QVERIFY(!checker.SelectDictionary(1038));
    QVERIFY(!checker.enabled());
    QVERIFY(checker.waitForLoad());
    QCOMPARE(loaded.size(), 1);
    QVERIFY(changed.size() >= 2);
    QCOMPARE(checker.langId(), 1038u);
    QVERIFY(checker.enabled());
    QVERIFY(checker.CheckWord(QStringLiteral("kőszívű")));
    QVERIFY(!checker.CheckWord(QStringLiteral("kőszivü")));
}

void TestSpelling::programFolderComesFirst() {
    QTemporaryDir dictDir;
    test::writeAll(dictDir.filePath("en_US.AFF"), "SET UTF-8\n");
    test::writeAll(dictDir.filePath("en_US.DIC"), "1\nfooword\n");
    test::writeAll(dictDir.filePath("de_BE.aff"), "SET UTF-8\n"); // a region without an id
    test::writeAll(dictDir.filePath("de_BE.dic"), "1\nwort\n");
    test::writeAll(dictDir.filePath("hu_HU.aff"), "SET UTF-8\n"); // no word list beside it
    const QList<TDictionaryProps> found = findDictionaries({dictDir.path(), kSystemDicts});
    QCOMPARE(found.value(0).Shortname, QStringLiteral("en_US"));
    QCOMPARE(found.value(0).AffName, dictDir.filePath("en_US.AFF"));
    for (const TDictionaryProps& p : found)
        QVERIFY(p.Shortname != QStringLiteral("de_BE") &&
                p.AffName != dictDir.filePath("hu_HU.aff"));

    // A broken dictionary is not read, and says why.
    test::writeAll(dictDir.filePath("de_DE.aff"), "SET UTF-8\n");
    test::writeAll(dictDir.filePath("de_DE.dic"), "1\nStra\xDF"
                                                  "e\n");
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    QVERIFY(checker.LoadDictionaries(dictDir.path(), {1033, 1031}));
    QCOMPARE(checker.loadErrors().size(), 1);
    QVERIFY(checker.loadErrors()[0].contains(dictDir.filePath("de_DE.dic")));
    QVERIFY(!checker.hasDictionary(1031)); // the system's German is not taken instead
    QCOMPARE(checker.dictPath(), dictDir.path() + u'/');
    QVERIFY(checker.SelectDictionary(1033));
    QVERIFY(checker.CheckWord(QStringLiteral("fooword")));
    QVERIFY(!checker.CheckWord(QStringLiteral("hello")));
}

void TestSpelling::suggestionsLeaveTheWordOut() {
    TSynEditSpellCheck checker;
    checker.setSystemFolders({kSystemDicts});
    QVERIFY(checker.LoadDictionaries(QString(), {1033}));
    QVERIFY(checker.SelectDictionary(1033));
    QStringList s;
    QVERIFY(checker.GetSuggestions(QStringLiteral("Helo"), s) > 0);
    QVERIFY(s.contains(QStringLiteral("Hello")));
    QVERIFY(!s.contains(QStringLiteral("Helo")));
}

QTEST_GUILESS_MAIN(TestSpelling)
#include "tst_spelling.moc"
