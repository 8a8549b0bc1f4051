// The search in files matches exactly what the editor's own search finds: the same hits for
// whole words and case folding, the same text after replacing match after match.

#include "search/core/MatchWalk.h"
#include "search/core/SearchFile.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <QTest>

using namespace orvel;

namespace {

using THit = std::pair<TBufferCoord, TBufferCoord>;

TSearchOptions optionsOf(bool ignoreCase, bool wholeWord) {
    return (ignoreCase ? 0 : ssoMatchCase) | (wholeWord ? ssoWholeWord : 0);
}

// Every match the editor selects, searching on from the caret as the design's loop does.
QList<THit> editorHits(TEditorControl& ed, const QString& search, TSearchOptions options) {
    QList<THit> hits;
    TSearchOptions first = options | ssoEntireScope;
    while (ed.searchReplace(search, QString(), first).found > 0) {
        hits << THit(ed.blockBegin(), ed.blockEnd());
        first = options;
    }
    return hits;
}

QList<THit> fileSearchHits(QByteArrayView text, const QString& search, bool ignoreCase,
                           bool wholeWord) {
    const TTextMatcher matcher(search, !ignoreCase, wholeWord);
    TMatchWalk walk(matcher, text, false);
    while (walk.next())
        walk.accept();
    QList<THit> hits;
    TTextInfo info;
    hitLines(info, text, walk.accepted(), matcher.length());
    for (const TTextLine& line : std::as_const(info.FLines))
        hits << THit(line.pos.BBegin, line.pos.BEnd);
    return hits;
}

// The editor replacing one match at a time, going on after each replacement.
QByteArray editorReplaced(TEditorControl& ed, const QString& search, const QString& replacement,
                          TSearchOptions options) {
    TSearchOptions first = options | ssoReplace | ssoEntireScope;
    while (ed.searchReplace(search, replacement, first).replaced > 0)
        first = options | ssoReplace;
    return ed.textBytes().toByteArray();
}

QString fromUcs4(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

} // namespace

class TestFileSearchMatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_html = THighlighter::create(hkHtml); }

    void sameHits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<int>("expected");

        QTest::newRow("ASCII letters fold") << "Width WIDTH width wIdTh"
                                            << "width" << true << false << 4;
        QTest::newRow("case kept") << "Width WIDTH width"
                                   << "width" << false << false << 1;
        QTest::newRow("umlauts do not fold") << "Ärger ärger ÄRGER"
                                             << "ärger" << true << false << 1;
        QTest::newRow("accents do not fold") << "ÉCOLE école École"
                                             << "école" << true << false << 1;
        QTest::newRow("Greek does not fold") << "ΣΊΣΥΦΟΣ σίσυφος"
                                             << "σίσυφος" << true << false << 1;
        QTest::newRow("sharp s is not ss") << "Straße STRASSE strasse"
                                           << "strasse" << true << false << 2;
        QTest::newRow("Kelvin sign is no k") << u"\u212A K k"_qs << "k" << true << false << 2;
        QTest::newRow("dotted capital I is no i") << "İ I i ı"
                                                  << "i" << true << false << 2;
        QTest::newRow("no overlaps") << "aaaaa"
                                     << "aa" << false << false << 2;
        QTest::newRow("digits are word characters") << "a1 1a a 1 a"
                                                    << "a" << false << true << 2;
        QTest::newRow("underscore is a word character") << "foo_bar foo bar_foo _foo"
                                                        << "foo" << false << true << 1;
        QTest::newRow("hyphen ends a word") << "foo-bar foo-"
                                            << "foo" << false << true << 2;
        QTest::newRow("umlaut inside a word") << "über uber ber"
                                              << "ber" << false << true << 1;
        QTest::newRow("umlaut word") << "über Über überall"
                                     << "über" << false << true << 1;
        QTest::newRow("sharp s is a letter") << "Straße Stra"
                                             << "Stra" << false << true << 1;
        QTest::newRow("entity between letters") << "&amp; x&amp;y &amp;&amp; a&amp;"
                                                << "&amp;" << false << true << 3;
        QTest::newRow("entity name is a word") << "&amp; amp ampere"
                                               << "amp" << false << true << 2;
        QTest::newRow("entity next to punctuation") << "&amp;. (&amp;)"
                                                    << "&amp;" << false << true << 0;
        QTest::newRow("numeric entity") << "&#228;&#228; &#228;"
                                        << "&#228;" << false << true << 1;
        QTest::newRow("whole words ignoring case") << "Foo FOO foo food"
                                                   << "foo" << true << true << 3;
        QTest::newRow("no-break space is blank") << u"a\u00A0b"_qs << "a" << false << true << 1;
        QTest::newRow("Arabic digit is a word character")
            << u"x\u0663 x"_qs << "x" << false << true << 1;
        QTest::newRow("combining accent belongs to the word")
            << u"e\u0301 e"_qs << "e" << false << true << 1;
        QTest::newRow("euro sign is punctuation") << u"€5 5€ 5"_qs << "5" << false << true << 3;
        QTest::newRow("non-character is punctuation")
            << u"x\uFDD0 .\uFDD0"_qs << "." << false << true << 0;
        QTest::newRow("characters newer than the editor's tables are blanks")
            << QString(u"x"_qs + fromUcs4(0x1FA70) + u" x"_qs + fromUcs4(0x10FFF)) << "x" << false
            << true << 2;
        QTest::newRow("lines and columns") << "one\r\ntwo one\rthree\none"
                                           << "one" << false << false << 3;
        QTest::newRow("columns after a surrogate pair")
            << QString(fromUcs4(0x1D11E) + u" key key"_qs) << "key" << false << false << 2;
        QTest::newRow("search text with blanks") << "a b a  b a b"
                                                 << "a b" << false << true << 2;
    }
    void sameHits() {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(bool, ignoreCase);
        QFETCH(bool, wholeWord);
        QFETCH(int, expected);
        for (THighlighter* hl : {static_cast<THighlighter*>(nullptr), m_html.get()}) {
            TEditorControl ed;
            ed.setHighlighter(hl);
            ed.setText(text);
            const QList<THit> fromEditor = editorHits(ed, search, optionsOf(ignoreCase, wholeWord));
            const QList<THit> fromFiles =
                fileSearchHits(ed.textBytes(), search, ignoreCase, wholeWord);
            QCOMPARE(fromFiles.size(), expected);
            QCOMPARE(fromFiles, fromEditor);
        }
    }

    // Over every assigned code point (and a sample of the rest, which all count alike): which
    // characters end a word after a letter, and which after a punctuation character, decide
    // "Whole words" everywhere.
    void sameWordClassesForEveryCharacter() {
        for (const char lead : {'x', '.'}) {
            QString text;
            for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
                const QChar::Category cat = QChar::category(c);
                const bool nonCharacter = (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
                const bool uniform = !nonCharacter && (cat == QChar::Other_NotAssigned ||
                                                       cat == QChar::Other_PrivateUse);
                if ((c >= 0xD800 && c <= 0xDFFF) || (uniform && c % 61 != 0))
                    continue;
                text += QLatin1Char(lead);
                text += fromUcs4(c);
                text += u'\n';
            }
            TEditorControl ed;
            ed.setText(text);
            const QString search(1, QLatin1Char(lead));
            const QList<THit> fromEditor = editorHits(ed, search, ssoMatchCase | ssoWholeWord);
            const QList<THit> fromFiles = fileSearchHits(ed.textBytes(), search, false, true);
            QVERIFY(fromFiles.size() > 10000);
            QCOMPARE(fromFiles.size(), fromEditor.size());
            QCOMPARE(fromFiles, fromEditor);
        }
    }

    // Every character with a case mapping finds itself alone when case is ignored, in both.
    void sameFoldingForEveryCasedCharacter() {
        QString text;
        QStringList cased;
        for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
            if ((c >= 0xD800 && c <= 0xDFFF) ||
                (QChar::toLower(c) == c && QChar::toUpper(c) == c && QChar::toCaseFolded(c) == c))
                continue;
            cased << fromUcs4(c);
            text += fromUcs4(c);
            text += u' ';
        }
        QVERIFY(cased.size() > 2000);
        TEditorControl ed;
        ed.setText(text);
        for (const QString& c : std::as_const(cased)) {
            const QList<THit> fromFiles = fileSearchHits(ed.textBytes(), c, true, false);
            QCOMPARE(fromFiles.size(), 1);
            QCOMPARE(fromFiles, editorHits(ed, c, 0));
        }
    }

    void sameReplacement_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QString>("expected");

        QTest::newRow("letter doubled") << "aaa"
                                        << "a"
                                        << "aa" << false << "aaaaaa";
        QTest::newRow("whole word after a replacement") << "a.a. a."
                                                        << "a."
                                                        << "xy" << true << "xya. xy";
        QTest::newRow("emptied words") << "x-a-a"
                                       << "-a"
                                       << "" << true << "x";
        QTest::newRow("emptied words at the start") << "-a-a"
                                                    << "-a"
                                                    << "" << true << "";
        QTest::newRow("punctuation after a replaced word") << "ab.ab."
                                                           << "ab."
                                                           << "z." << true << "z.z.";
        QTest::newRow("replacement holding the search text")
            << "cat cat"
            << "cat"
            << "cat cat" << false << "cat cat cat cat";
    }
    void sameReplacement() {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        QFETCH(bool, wholeWord);
        QFETCH(QString, expected);
        TEditorControl ed;
        ed.setText(text);
        const QByteArray original = ed.textBytes().toByteArray();
        const QByteArray byEditor =
            editorReplaced(ed, search, replacement, optionsOf(false, wholeWord));

        const TTextMatcher matcher(search, true, wholeWord);
        const QByteArray replacementBytes = replacement.toUtf8();
        TMatchWalk walk(matcher, original, true, replacementBytes);
        while (walk.next())
            walk.accept();
        const QByteArray byFiles =
            replacedText(original, walk.accepted(), matcher.length(), replacementBytes);
        QCOMPARE(QString::fromUtf8(byFiles), expected);
        QCOMPARE(byFiles, byEditor);
    }

private:
    std::unique_ptr<THighlighter> m_html;
};

QTEST_MAIN(TestFileSearchMatch)
#include "tst_filesearchmatch.moc"
