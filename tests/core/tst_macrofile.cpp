#include "TestFiles.h"
#include "macros/core/MacroCommands.h"
#include "macros/core/MacroFile.h"
#include "macros/core/MacroList.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

// A file as the program writes it: BOM, CR LF, "#" lines escaped as "##".
const QByteArray kRichFile = kBom + "#CSS block\r\n"
                                    "##main {\r\n"
                                    "\tcolor: red;\r\n"
                                    "}\r\n"
                                    "\r\n"
                                    "##footer { margin: 0 }\r\n"
                                    "#Perl header\r\n"
                                    "##!/usr/bin/perl\r\n"
                                    "## a comment\r\n"
                                    "use strict;\r\n"
                                    "\r\n"
                                    "\r\n"
                                    "#Grüße\r\n"
                                    "Schöne Grüße – ő ű €\r\n"
                                    "# #hash name\r\n"
                                    "\r\n"
                                    "leading blank line\r\n";

QList<TTextMacro> richMacros() {
    return {{"CSS block", "#main {\n\tcolor: red;\n}\n\n#footer { margin: 0 }"},
            {"Perl header", "#!/usr/bin/perl\n# a comment\nuse strict;\n\n"},
            {QString::fromUtf8("Grüße"), QString::fromUtf8("Schöne Grüße – ő ű €")},
            {"#hash name", "\nleading blank line"}};
}

} // namespace

class TestMacroFile : public QObject {
    Q_OBJECT
private slots:
    void richFileSurvivesARestartByteIdentical();
    void lineBreaksReadAlike_data();
    void lineBreaksReadAlike();
    void reading_data();
    void reading();
    void encodings_data();
    void encodings();
    void selectionTextAndDocumentBreaks();
    void fileName_data();
    void fileName();
    void missingFileIsAnEmptyList();
    void unchangedListIsNotWritten();
    void fileNotReadWholeIsKeptWhenRewritten();
    void unreadableFileIsMovedAsideWhenRewritten();
    void writeFailureKeepsTheOldFileAndNamesIt();
    void blankNamesAreRefused();
    void removeSelectsTheNextEntry_data();
    void removeSelectsTheNextEntry();
    void moveStopsAtTheEnds();
    void commandsTable();

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

void TestMacroFile::richFileSurvivesARestartByteIdentical() {
    const QString file = path("rich.mac");
    writeAll(file, kRichFile);
    TMacroList first;
    QVERIFY(first.load(file).ok());
    QCOMPARE(first.macros(), richMacros());
    // A change and its undoing make the list write itself, and it writes the same bytes.
    QVERIFY(first.add("temporary", "x").ok());
    first.remove(first.count() - 1);
    QVERIFY(first.isModified());
    QVERIFY(first.save(file).ok());
    QCOMPARE(readAll(file), kRichFile);
    QVERIFY(!QFile::exists(file + ".bad"));
    TMacroList second;
    QVERIFY(second.load(file).ok());
    QCOMPARE(second.macros(), richMacros());
    QCOMPARE(formatMacroFile(richMacros()), kRichFile);
}

void TestMacroFile::lineBreaksReadAlike_data() {
    QTest::addColumn<QByteArray>("bytes");
    QByteArray lf = kRichFile;
    lf.replace("\r\n", "\n");
    QByteArray cr = kRichFile;
    cr.replace("\r\n", "\r");
    QByteArray mixed;
    QList<QByteArray> lines = kRichFile.split('\n');
    lines.removeLast(); // nothing after the last break
    const char* const breaks[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < lines.size(); ++i)
        mixed += lines.at(i).chopped(1) + breaks[i % 3];
    QTest::newRow("LF only") << lf;
    QTest::newRow("CR only") << cr;
    QTest::newRow("mixed") << mixed;
    QByteArray noBreakAtEnd = kRichFile;
    noBreakAtEnd.chop(2);
    QTest::newRow("no break after the last line") << noBreakAtEnd;
}

void TestMacroFile::lineBreaksReadAlike() {
    QFETCH(QByteArray, bytes);
    const TMacroFileContent content = parseMacroFile(bytes);
    QCOMPARE(content.macros, richMacros());
    QVERIFY(content.whole);
}

void TestMacroFile::reading_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected"); // name, text, name, text...
    QTest::addColumn<bool>("whole");
    QTest::newRow("one name, one line")
        << QByteArray("#Footer\r\n(c) 2024\r\n") << QStringList{"Footer", "(c) 2024"} << true;
    QTest::newRow("name without text is dropped")
        << QByteArray("#Empty\r\n#Next\r\nx\r\n") << QStringList{"Next", "x"} << true;
    QTest::newRow("empty text written as one empty line is dropped")
        << QByteArray("#Empty\r\n\r\n#Next\r\nx\r\n") << QStringList{"Next", "x"} << true;
    QTest::newRow("text before the first name is dropped")
        << QByteArray("stray\r\n#A\r\na\r\n") << QStringList{"A", "a"} << false;
    QTest::newRow("blank lines before the first name are nothing lost")
        << QByteArray("\r\n  \r\n#A\r\na\r\n") << QStringList{"A", "a"} << true;
    QTest::newRow("text under a blank name is dropped")
        << QByteArray("#   \r\nlost\r\n#A\r\na\r\n") << QStringList{"A", "a"} << false;
    QTest::newRow("names are trimmed")
        << QByteArray("#  Spaced\t \r\nt\r\n") << QStringList{"Spaced", "t"} << true;
    QTest::newRow("blank lines inside and at the end stay")
        << QByteArray("#A\r\na\r\n\r\nb\r\n\r\n") << QStringList{"A", "a\n\nb\n"} << true;
    QTest::newRow("a lone hash line escaped")
        << QByteArray("#A\r\n##\r\n") << QStringList{"A", "#"} << true;
    QTest::newRow("empty file") << QByteArray() << QStringList{} << true;
    QTest::newRow("byte-order mark only") << kBom << QStringList{} << true;
}

void TestMacroFile::reading() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QFETCH(bool, whole);
    const TMacroFileContent content = parseMacroFile(bytes);
    QStringList got;
    for (const TTextMacro& m : content.macros)
        got << m.name << m.text;
    QCOMPARE(got, expected);
    QCOMPARE(content.whole, whole);
}

void TestMacroFile::encodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole");
    QTest::newRow("UTF-8 with mark") << kBom + "#A\r\n\xC3\xA9t\xC3\xA9\r\n"
                                     << QString::fromUtf8("été") << true;
    QTest::newRow("UTF-8 without mark")
        << QByteArray("#A\n\xC3\xA9t\xC3\xA9\n") << QString::fromUtf8("été") << true;
    QTest::newRow("Windows-1252") << QByteArray("#A\r\n\xE9t\xE9 \x80\r\n")
                                  << QString::fromUtf8("été €") << true;
    QByteArray utf16("\xFF\xFE", 2);
    for (QChar c : QString::fromUtf8("#A\r\nő\r\n"))
        utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
    QTest::newRow("UTF-16LE with mark") << utf16 << QString::fromUtf8("ő") << true;
    // What cannot be decoded is marked, and the macros around it are kept.
    QTest::newRow("broken UTF-8 after the mark") << kBom + "#A\r\nok \xC3(\r\n"
                                                 << QString::fromUtf8("ok \uFFFD(") << false;
    QTest::newRow("UTF-16 cut in the middle of a character")
        << utf16 + QByteArray(1, 'x') << QString::fromUtf8("ő") << false;
}

void TestMacroFile::encodings() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, whole);
    const TMacroFileContent content = parseMacroFile(bytes);
    QCOMPARE(content.macros.size(), 1);
    QCOMPARE(content.macros.first().name, QString("A"));
    QVERIFY2(content.macros.first().text.startsWith(text), qPrintable(content.macros.first().text));
    QCOMPARE(content.whole, whole);
}

void TestMacroFile::selectionTextAndDocumentBreaks() {
    // A selection is split at CR LF, LF and CR alike; a document gets its own breaks.
    QCOMPARE(macroText("a\r\nb\nc\rd"), QString("a\nb\nc\nd"));
    QCOMPARE(macroTextFor("a\nb\r\nc", lbCRLF), QString("a\r\nb\r\nc"));
    QCOMPARE(macroTextFor("a\nb", lbLF), QString("a\nb"));
    QCOMPARE(macroTextFor("a\r\nb", lbCR), QString("a\rb"));
    // Three lines come back as three lines after a restart.
    TMacroList list;
    QVERIFY(list.add("three", "one\ntwo\nthree").ok());
    QVERIFY(list.save(path("three.mac")).ok());
    TMacroList again;
    QVERIFY(again.load(path("three.mac")).ok());
    QCOMPARE(again.at(0).text.split(u'\n'), QStringList({"one", "two", "three"}));
}

void TestMacroFile::fileName_data() {
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("mac");
    QTest::newRow("settings file") << "/home/u/.config/Brimwell/orvel.ini"
                                   << "/home/u/.config/Brimwell/orvel.mac";
    QTest::newRow("dotted folder") << "/a.b/settings"
                                   << "/a.b/settings.mac";
    QTest::newRow("two dots") << "/x/my.set.ini"
                              << "/x/my.set.mac";
}

void TestMacroFile::fileName() {
    QFETCH(QString, ini);
    QFETCH(QString, mac);
    QCOMPARE(macroFileName(ini), mac);
}

void TestMacroFile::missingFileIsAnEmptyList() {
    TMacroList list;
    QVERIFY(list.add("x", "y").ok());
    QVERIFY(list.load(path("none.mac")).ok());
    QCOMPARE(list.count(), 0);
    QVERIFY(!list.isModified());
    QVERIFY(list.save(path("none.mac")).ok());
    QVERIFY(!QFile::exists(path("none.mac")));
}

void TestMacroFile::unchangedListIsNotWritten() {
    // Lines the reader skips stay in the file as long as nobody changes the list.
    const QString file = path("skipped.mac");
    const QByteArray bytes("notes before any macro\n#A\na\n#Empty\n");
    writeAll(file, bytes);
    TMacroList list;
    QVERIFY(list.load(file).ok());
    QCOMPARE(list.count(), 1);
    list.setText(0, "a"); // the same text: no change
    QVERIFY(list.rename(0, " A ").ok());
    QVERIFY(!list.isModified());
    QVERIFY(list.save(file).ok());
    QCOMPARE(readAll(file), bytes);
}

void TestMacroFile::fileNotReadWholeIsKeptWhenRewritten() {
    const QString file = path("partial.mac");
    const QByteArray bytes("notes before any macro\r\n#A\r\na\r\n");
    writeAll(file, bytes);
    writeAll(file + ".bad", "an older one");
    TMacroList list;
    QVERIFY(list.load(file).ok());
    QVERIFY(list.add("B", "b").ok());
    QVERIFY(list.save(file).ok());
    QCOMPARE(readAll(file + ".bad"), QByteArray("an older one"));
    QCOMPARE(readAll(file + ".2.bad"), bytes);
    QCOMPARE(readAll(file), formatMacroFile({{"A", "a"}, {"B", "b"}}));
    // Written whole now: the next change keeps no further copy.
    QVERIFY(list.add("C", "c").ok());
    QVERIFY(list.save(file).ok());
    QVERIFY(!QFile::exists(file + ".3.bad"));
}

void TestMacroFile::unreadableFileIsMovedAsideWhenRewritten() {
    // A folder where the file should be cannot be read, not even by the superuser.
    const QString file = path("folder.mac");
    QVERIFY(QDir(m_dir.path()).mkdir("folder.mac"));
    writeAll(file + "/inside", "kept");
    TMacroList list;
    const TStatus loaded = list.load(file);
    QVERIFY(!loaded.ok());
    QVERIFY2(loaded.error().contains("folder.mac"), qPrintable(loaded.error()));
    QVERIFY(list.add("B", "b").ok());
    QVERIFY(list.save(file).ok());
    QCOMPARE(readAll(file + ".bad/inside"), QByteArray("kept"));
    QCOMPARE(readAll(file), formatMacroFile({{"B", "b"}}));
}

void TestMacroFile::writeFailureKeepsTheOldFileAndNamesIt() {
    const QString file = path("full.mac");
    const QByteArray old("#A\r\na\r\n");
    writeAll(file, old);
    TMacroList list;
    QVERIFY(list.load(file).ok());
    QVERIFY(list.add("B", QString(200, u'b')).ok());
    TStatus saved;
    {
        orvel::test::FileSizeLimit disk(64); // as a full disk stops the write
        saved = list.save(file);
    }
    QVERIFY(!saved.ok());
    QVERIFY2(saved.error().contains("full.mac"), qPrintable(saved.error()));
    QCOMPARE(readAll(file), old);
    QVERIFY(list.isModified()); // still to be written
    QVERIFY(list.save(file).ok());
    QCOMPARE(list.count(), 2);
}

void TestMacroFile::blankNamesAreRefused() {
    TMacroList list;
    QVERIFY(!list.add("  \t", "text").ok());
    QCOMPARE(list.count(), 0);
    QVERIFY(list.add("two\r\nlines", "text").ok());
    QCOMPARE(list.at(0).name, QString("two  lines"));
    QVERIFY(!list.rename(0, " ").ok());
    QCOMPARE(list.at(0).name, QString("two  lines"));
    QCOMPARE(list.find("TWO  LINES"), 0);
    QCOMPARE(list.find("other"), -1);
}

void TestMacroFile::removeSelectsTheNextEntry_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("selected");
    QTest::newRow("middle: same place") << 3 << 1 << 1;
    QTest::newRow("last: the new last") << 3 << 2 << 1;
    QTest::newRow("only: none") << 1 << 0 << -1;
}

void TestMacroFile::removeSelectsTheNextEntry() {
    QFETCH(int, count);
    QFETCH(int, removed);
    QFETCH(int, selected);
    TMacroList list;
    for (int i = 0; i < count; ++i)
        QVERIFY(list.add(QString("m%1").arg(i), "t").ok());
    QCOMPARE(list.remove(removed), selected);
    QCOMPARE(list.count(), count - 1);
}

void TestMacroFile::moveStopsAtTheEnds() {
    TMacroList list;
    for (const char* n : {"a", "b", "c"})
        QVERIFY(list.add(n, "t").ok());
    QSignalSpy moved(&list, &QAbstractItemModel::rowsMoved);
    QVERIFY(!list.move(0, -1));
    QVERIFY(!list.move(2, 1));
    QVERIFY(list.move(2, -1));
    QCOMPARE(list.names(), QStringList({"a", "c", "b"}));
    QVERIFY(list.move(0, 1));
    QCOMPARE(list.names(), QStringList({"c", "a", "b"}));
    QCOMPARE(moved.count(), 2);
}

void TestMacroFile::commandsTable() {
    // The keyboard table's numbers and the default keys.
    QHash<QString, QPair<int, QString>> byName;
    for (const TCommandDef& c : macroCommands())
        byName.insert(c.name, {c.tag, c.defaultKey});
    QCOMPARE(byName.size(), 9);
    QCOMPARE(byName.value("ActionMacroNew"), qMakePair(3010, QString("Ctrl+Alt+M")));
    QCOMPARE(byName.value("ActionMacroInsert"), qMakePair(3012, QString("Ctrl+Shift+M")));
    QCOMPARE(byName.value("ActionMacroEdit").first, 3017);
    QCOMPARE(byName.value("ActionShowMacros"), qMakePair(0, QString("Ctrl+F10")));
    // Each row stands at its constant's place.
    for (int i = 0; i < macroCommands().size(); ++i)
        QCOMPARE(macroCommands().at(i).id, i);
}

QTEST_GUILESS_MAIN(TestMacroFile)
#include "tst_macrofile.moc"
