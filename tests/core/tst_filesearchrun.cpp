// One search in files from the start to the status line: the questions, open documents,
// files that change or go, masks and folders that are wrong.

#include "ScriptedDialogs.h"
#include "ScriptedSearch.h"
#include "TestFiles.h"
#include "search/core/FileSearchRun.h"
#include "search/core/SearchResultsModel.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace orvel;
using namespace orvel::test;

namespace {

qint64 mtimeNs(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

struct Fixture {
    QTemporaryDir dir;
    ScriptedSearchHost host;
    ScriptedDialogs dialogs;
    TSearchResultsModel model;
    TFileSearchRun run{host, dialogs, dialogs, model};

    Fixture() { host.root = dir.path() + u'/'; }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        writeAll(path, bytes);
        return path;
    }
    QByteArray read(const QString& name) const { return readAll(dir.filePath(name)); }
    // Runs to the end; false when the run did not start or did not end.
    bool search(TFileSearchParams p) {
        p.threads = 2;
        if (p.scope == fsFolder && p.folder.isEmpty())
            p.folder = dir.path();
        if (run.start(p) != TFileSearchRun::Started)
            return false;
        return QTest::qWaitFor([this] { return !run.isRunning(); }, 30000);
    }
    QStringList hitTexts() const {
        QStringList out;
        for (qsizetype f = 0; f < model.fileCount(); ++f)
            for (qsizetype i = 0; i < model.file(f).FLines.size(); ++i)
                out << model.file(f).markedLine(i);
        return out;
    }
    QString problems() const { return dialogs.problems().join(u'\n'); }
};

TFileSearchParams replacing(const QString& search, const QString& by, bool confirm) {
    TFileSearchParams p;
    p.search = search;
    p.replacement = by;
    p.replace = true;
    p.confirm = confirm;
    p.scope = fsFolder;
    return p;
}

} // namespace

class TestFileSearchRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hitsAsTheTreeShowsThem() {
        Fixture fx;
        fx.file(QStringLiteral("a.html"), "x\r\n\t <p>Say hello, hello|world</p>  \r\n" +
                                              QByteArray(400, 'y') + " hello " +
                                              QByteArray(400, 'z') + "\r\nlast hello");
        TFileSearchParams p;
        p.search = QStringLiteral("hello");
        p.scope = fsFolder;
        QVERIFY(fx.search(p));
        QCOMPARE(fx.model.fileCount(), 1);
        const TTextInfo& file = fx.model.file(0);
        const QList<TTextLine>& lines = file.FLines;
        QCOMPARE(lines.size(), 4);
        // Trimmed, the hit marked; the "|" of the line itself is no mark.
        QCOMPARE(file.markedLine(0), QStringLiteral("2: <p>Say |hello|, hello|world</p>"));
        QCOMPARE(file.markedLine(1), QStringLiteral("2: <p>Say hello, |hello||world</p>"));
        QCOMPARE(lines[0].pos.BBegin, (TBufferCoord{10, 2}));
        QCOMPARE(lines[0].pos.BEnd, (TBufferCoord{15, 2}));
        QCOMPARE(lines[0].pos.FSpaces, 3);
        // A long line is cut around its hit.
        int mark = -1;
        const QString shown = file.shownLine(2, &mark);
        QVERIFY(shown.startsWith(QStringLiteral("3: \u2026y")));
        QVERIFY(shown.endsWith(QStringLiteral("z\u2026")));
        QCOMPARE(shown.mid(mark, lines[2].markLength), u"hello"_qs);
        QVERIFY(shown.size() < 200);
        QCOMPARE(lines[2].pos.BBegin, (TBufferCoord{402, 3}));
        QCOMPARE(file.markedLine(3), QStringLiteral("4: last |hello|"));
        QCOMPARE(fx.run.statusText(), QStringLiteral("4 matches found in\r\n1 file(s)!"));
    }

    void manyHitsOnALongLine() {
        Fixture fx;
        QByteArray line;
        for (int i = 0; i < 2000; ++i)
            line += (i % 500 == 0 ? "hit " : "other ") + QByteArray::number(i) + ' ';
        fx.file(QStringLiteral("a.js"), "first\n" + line + "\n");
        TFileSearchParams p;
        p.search = QStringLiteral("hit");
        p.scope = fsFolder;
        QVERIFY(fx.search(p));
        const TTextInfo& file = fx.model.file(0);
        const QList<TTextLine>& hits = file.FLines;
        QCOMPARE(hits.size(), 4);
        int column = 0;
        for (int h = 0; h < 4; ++h) {
            int mark = -1;
            const QString shown = file.shownLine(h, &mark);
            QCOMPARE(shown.mid(mark, hits[h].markLength), u"hit"_qs);
            QVERIFY(shown.contains(u"hit %1 "_qs.arg(h * 500)));
            QCOMPARE(hits[h].pos.BBegin.Line, 2);
            QCOMPARE(line.indexOf("hit " + QByteArray::number(h * 500)) + 1,
                     hits[h].pos.BBegin.Char);
            QVERIFY(hits[h].pos.BBegin.Char > column);
            column = hits[h].pos.BBegin.Char;
            // Hits far apart keep texts of their own, not the whole line.
            QVERIFY(hits[h].length < 500);
        }
    }

    void lettersDoubled() {
        Fixture fx;
        fx.file(QStringLiteral("a.htm"), "aaa\n");
        fx.dialogs.expectAsk(QStringLiteral("Are you sure"), mrYes);
        QVERIFY(fx.search(replacing(QStringLiteral("a"), QStringLiteral("aa"), false)));
        QCOMPARE(fx.read(QStringLiteral("a.htm")), QByteArray("aaaaaa\n"));
        QCOMPARE(fx.host.saves, 1);
        // The tree shows the replaced texts.
        QCOMPARE(fx.hitTexts(),
                 (QStringList{u"1: |aa|aaaa"_qs, u"1: aa|aa|aa"_qs, u"1: aaaa|aa|"_qs}));
        QVERIFY2(fx.problems().isEmpty(), qPrintable(fx.problems()));
    }

    void confirmationAnswers() {
        Fixture fx;
        fx.file(QStringLiteral("1.html"), "one cat\ntwo cat\nthree cat\n");
        fx.file(QStringLiteral("2.html"), "four cat\nfive cat\n");
        fx.file(QStringLiteral("3.html"), "six cat\nseven cat\n");
        fx.dialogs.expectAsk(QStringLiteral("Are you sure"), mrYes);
        fx.dialogs.expectFileReplace(QStringLiteral("one cat"), frYes)
            .expectFileReplace(QStringLiteral("two cat"), frNo)
            .expectFileReplace(QStringLiteral("three cat"), frYes)
            .expectFileReplace(QStringLiteral("four cat"), frAllInFile)
            // "All in this file" holds for that file only.
            .expectFileReplace(QStringLiteral("six cat"), frYes)
            .expectFileReplace(QStringLiteral("seven cat"), frCancel);
        QVERIFY(fx.search(replacing(QStringLiteral("cat"), QStringLiteral("dog"), true)));
        QVERIFY2(fx.problems().isEmpty(), qPrintable(fx.problems()));
        QCOMPARE(fx.read(QStringLiteral("1.html")), QByteArray("one dog\ntwo cat\nthree dog\n"));
        QCOMPARE(fx.read(QStringLiteral("2.html")), QByteArray("four dog\nfive dog\n"));
        // Cancel drops the replacements made in that file so far.
        QCOMPARE(fx.read(QStringLiteral("3.html")), QByteArray("six cat\nseven cat\n"));
        QCOMPARE(fx.run.statusText(), QStringLiteral("Searching was cancelled!"));
        QCOMPARE(fx.dialogs.fileReplaceQuestions.first().fileName, fx.dir.filePath(u"1.html"_qs));
        QCOMPARE(fx.dialogs.fileReplaceQuestions.first().search, u"cat"_qs);
        QCOMPARE(fx.dialogs.fileReplaceQuestions.first().replacement, u"dog"_qs);
        QCOMPARE(fx.hitTexts(), (QStringList{u"1: one |dog|"_qs, u"3: three |dog|"_qs,
                                             u"1: four |dog|"_qs, u"2: five |dog|"_qs}));
    }

    void questionShowsTheLineAsItReads() {
        Fixture fx;
        fx.file(QStringLiteral("1.html"), "cat cat cat\n");
        fx.dialogs.expectAsk(QStringLiteral("Are you sure"), mrYes);
        fx.dialogs.expectFileReplace(QStringLiteral("cat cat cat"), frYes)
            .expectFileReplace(QStringLiteral("dog cat cat"), frNo)
            .expectFileReplace(QStringLiteral("dog cat cat"), frYes);
        QVERIFY(fx.search(replacing(QStringLiteral("cat"), QStringLiteral("dog"), true)));
        QVERIFY2(fx.problems().isEmpty(), qPrintable(fx.problems()));
        QCOMPARE(fx.read(QStringLiteral("1.html")), QByteArray("dog cat dog\n"));
    }

    void openDocumentsAreReplacedInTheDocument() {
        Fixture fx;
        const QString open = fx.file(QStringLiteral("open.html"), "old old\n");
        const QString closed = fx.file(QStringLiteral("closed.html"), "old\n");
        fx.host.documents = {open};
        fx.host.texts[open] = "old old\nold, unsaved\n";
        const qint64 before = mtimeNs(open);
        fx.dialogs.expectAsk(QStringLiteral("Are you sure"), mrYes);
        QVERIFY(fx.search(replacing(QStringLiteral("old"), QStringLiteral("new"), false)));
        QVERIFY2(fx.problems().isEmpty(), qPrintable(fx.problems()));
        QCOMPARE(fx.host.modified, QStringList{open});
        QCOMPARE(fx.host.texts[open], QByteArray("new new\nnew, unsaved\n"));
        QCOMPARE(fx.read(QStringLiteral("open.html")), QByteArray("old old\n"));
        QCOMPARE(mtimeNs(open), before);
        QCOMPARE(fx.read(QStringLiteral("closed.html")), QByteArray("new\n"));
        QCOMPARE(fx.run.hits(), 4);
    }

    void openFilesScope() {
        Fixture fx;
        const QString tilde = fx.file(QStringLiteral("~draft.html"), "word\n");
        const QString css = fx.file(QStringLiteral("style.css"), "word\n");
        fx.file(QStringLiteral("other.html"), "word\n");
        fx.host.documents = {css, tilde};
        TFileSearchParams p;
        p.search = QStringLiteral("word");
        p.scope = fsOpenFiles;
        p.types = QStringLiteral("htm*,css");
        QVERIFY(fx.search(p));
        // Window order; a name beginning with "~" counts when the file is open.
        QCOMPARE(fx.model.fileCount(), 2);
        QCOMPARE(fx.model.file(0).FText, css);
        QCOMPARE(fx.model.file(1).FText, tilde);
        p.types = QStringLiteral("css");
        QVERIFY(fx.search(p));
        QCOMPARE(fx.model.fileCount(), 1);
    }

    void illegalMaskStops() {
        Fixture fx;
        fx.file(QStringLiteral("a.html"), "word\n");
        fx.dialogs.expectError(QStringLiteral("Illegal mask!"));
        TFileSearchParams p = replacing(QStringLiteral("word"), QStringLiteral("x"), false);
        p.types = QStringLiteral("htm*,[ab");
        QCOMPARE(fx.run.start(p), TFileSearchRun::IllegalMask);
        QVERIFY2(fx.problems().isEmpty(), qPrintable(fx.problems()));
        QCOMPARE(fx.read(QStringLiteral("a.html")), QByteArray("word\n"));
        QCOMPARE(fx.host.saves, 0);
        QCOMPARE(fx.run.statusText(), u"Illegal mask!"_qs);
    }

    void nothingHappensWithout() {
        Fixture fx;
        fx.file(QStringLiteral("a.html"), "word\n");
        TFileSearchParams p;
        QCOMPARE(fx.run.start(p), TFileSearchRun::NothingToDo);
        fx.dialogs.expectAsk(QStringLiteral("Are you sure"), mrNo);
        QCOMPARE(fx.run.start(replacing(u"word"_qs, u"x"_qs, false)), TFileSearchRun::Declined);
        QCOMPARE(fx.host.saves, 0);
        fx.dialogs.expectAsk(QStringLiteral("Are you sure"), mrYes);
        fx.host.saveResult = false;
        QCOMPARE(fx.run.start(replacing(u"word"_qs, u"x"_qs, false)), TFileSearchRun::NotSaved);
        QCOMPARE(fx.read(QStringLiteral("a.html")), QByteArray("word\n"));
        QVERIFY2(fx.problems().isEmpty(), qPrintable(fx.problems()));
    }

    void missingFolder() {
        Fixture fx;
        TFileSearchParams p;
        p.search = QStringLiteral("word");
        p.scope = fsFolder;
        p.folder = fx.dir.filePath(QStringLiteral("gone"));
        fx.dialogs.expectError(QStringLiteral("Directory:\r\n") + p.folder + u"\r\nnot found!"_qs);
        QVERIFY(fx.search(p));
        QVERIFY2(fx.problems().isEmpty(), qPrintable(fx.problems()));
        QCOMPARE(fx.run.statusText(), QStringLiteral("Found no matches"));
    }

    void subfoldersOnlyWhenAsked() {
        Fixture fx;
        fx.file(QStringLiteral("a.html"), "word\n");
        fx.file(QStringLiteral("sub/b.html"), "word\n");
        TFileSearchParams p;
        p.search = QStringLiteral("word");
        p.scope = fsFolder;
        p.subDirs = false;
        QVERIFY(fx.search(p));
        QCOMPARE(fx.model.fileCount(), 1);
        p.subDirs = true;
        QVERIFY(fx.search(p));
        QCOMPARE(fx.model.fileCount(), 2);
        // Subfolders come before the folder's own files.
        QCOMPARE(fx.model.file(0).FText, fx.dir.filePath(u"sub/b.html"_qs));
    }

    void goneAndUnreadableFiles() {
        Fixture fx;
        const QString there = fx.file(QStringLiteral("there.html"), "word\n");
        const QString secret = fx.file(QStringLiteral("secret.html"), "word\n");
        ::chmod(QFile::encodeName(secret).constData(), 0);
        const bool asRoot = ::geteuid() == 0;
        fx.host.documents = {there, fx.dir.filePath(QStringLiteral("gone.html")), secret};
        TFileSearchParams p;
        p.search = QStringLiteral("word");
        p.scope = fsOpenFiles;
        QVERIFY(fx.search(p));
        ::chmod(QFile::encodeName(secret).constData(), 0600);
        QCOMPARE(fx.model.fileCount(), asRoot ? 2 : 1);
        QStringList expected = {u"File removed during the search, skipped: "_qs +
                                fx.dir.filePath(QStringLiteral("gone.html"))};
        if (!asRoot)
            expected << u"Error reading "_qs + secret + u": Permission denied"_qs;
        QCOMPARE(fx.run.notes(), expected);
    }

    void fileChangedSinceReadIsNotWritten() {
        Fixture fx;
        const QString path = fx.file(QStringLiteral("a.html"), "word\n");
        TSearchFile file;
        QCOMPARE(file.read(QFile::encodeName(path)), TSearchFile::Text);
        QTest::qWait(20);
        writeAll(path, "word changed by someone else\n");
        TFileSearchRequest request;
        request.replace = true;
        request.replacement = QStringLiteral("x");
        const TFileOutcome out = TFileSearchEngine::writeReplaced(request, file, path, {0}, 4);
        QCOMPARE(out.kind, TFileOutcome::Changed);
        QCOMPARE(out.note, u"File changed during the search, not written: "_qs + path);
        QCOMPARE(readAll(path), QByteArray("word changed by someone else\n"));
    }

    void unencodableReplacementLeavesTheFile() {
        Fixture fx;
        fx.file(QStringLiteral("ansi.html"), "caf\xE9 word\r\n");
        fx.file(QStringLiteral("utf8.html"), "caf\xC3\xA9 word\r\n");
        fx.dialogs.expectAsk(QStringLiteral("Are you sure"), mrYes);
        QVERIFY(fx.search(replacing(QStringLiteral("word"), QStringLiteral("\u0151"), false)));
        QCOMPARE(fx.read(QStringLiteral("ansi.html")), QByteArray("caf\xE9 word\r\n"));
        QCOMPARE(fx.read(QStringLiteral("utf8.html")), QByteArray("caf\xC3\xA9 \xC5\x91\r\n"));
        QCOMPARE(fx.run.notes().size(), 1);
        QVERIFY(fx.run.notes().first().startsWith(fx.dir.filePath(u"ansi.html"_qs)));
        QVERIFY(fx.run.notes().first().contains(u"U+0151"_qs));
        QCOMPARE(fx.model.fileCount(), 1);
    }

    void notTextIsCounted() {
        Fixture fx;
        fx.file(QStringLiteral("a.html"), QByteArray("word\0", 5));
        fx.file(QStringLiteral("late.html"), QByteArray(9000, 'a') + QByteArray("\0 word", 6));
        fx.file(QStringLiteral("wide.html"), QByteArray("\xFF\xFEw\0o\0r\0d\0", 10));
        TFileSearchParams p;
        p.search = QStringLiteral("word");
        p.scope = fsFolder;
        QVERIFY(fx.search(p));
        // A NUL after the first 8 KiB does not make a text binary; UTF-16 is text.
        QCOMPARE(fx.run.notText(), 1);
        QCOMPARE(fx.model.fileCount(), 2);
        QCOMPARE(fx.run.statusText(),
                 QStringLiteral("2 matches found in\r\n2 file(s)!\r\n1 file(s) skipped: not text"));
    }

    void nonAsciiTextInEveryEncoding() {
        Fixture fx;
        fx.file(QStringLiteral("ansi.html"), "<p>Caf\xE9 caf\xE9</p>\n");
        fx.file(QStringLiteral("utf8.html"), "<p>caf\xC3\xA9</p>\n");
        fx.file(QStringLiteral("wide.html"), QByteArray("\xFE\xFF\0c\0a\0f\0\xE9", 10));
        fx.file(QStringLiteral("other.html"), "<p>cafe</p>\n");
        TFileSearchParams p;
        p.search = QStringLiteral("caf\u00E9");
        p.ignoreCase = true;
        p.scope = fsFolder;
        QVERIFY(fx.search(p));
        QCOMPARE(fx.run.hits(), 4);
        QCOMPARE(fx.model.fileCount(), 3);
        QCOMPARE(fx.hitTexts().first(), QStringLiteral("1: <p>|Caf\u00E9| caf\u00E9</p>"));
    }

    void cancelStopsTheRun() {
        Fixture fx;
        for (int i = 0; i < 200; ++i)
            fx.file(QStringLiteral("f%1.html").arg(i, 3, 10, QLatin1Char('0')),
                    QByteArray(200000, 'x') + " word\n");
        TFileSearchParams p;
        p.search = QStringLiteral("word");
        p.scope = fsFolder;
        p.threads = 1;
        QCOMPARE(fx.run.start(p), TFileSearchRun::Started);
        fx.run.cancel();
        QVERIFY(QTest::qWaitFor([&] { return !fx.run.isRunning(); }, 10000));
        QVERIFY(fx.run.wasCancelled());
        QVERIFY(fx.model.fileCount() < 200);
        QCOMPARE(fx.run.statusText(), QStringLiteral("Searching was cancelled!"));
    }
};

QTEST_GUILESS_MAIN(TestFileSearchRun)
#include "tst_filesearchrun.moc"
