// The search in files over a tree of a few hundred HTML, CSS and JavaScript files in UTF-8,
// UTF-16 and Windows-1252: the same files and hits as grep, replacements byte for byte as
// sed makes them, untouched files untouched.

#include "ScriptedDialogs.h"
#include "ScriptedSearch.h"
#include "TestFiles.h"
#include "base/core/TextCodec.h"
#include "search/core/FileSearchRun.h"
#include "search/core/SearchResultsModel.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace orvel;
using namespace orvel::test;

namespace {

const QString kWord = QStringLiteral("iterator");

// How the word stands in a line: each line holds it at most once (in any case), so that
// grep's count of lines is the count of hits.
const char* const kForms[] = {
    "iterator",        "Iterator",   "ITERATOR",     "iterators",  "_iterator",  "iterator_",
    "iterator1",       "1iterator",  "x-iterator",   "iterator-y", "(iterator)", "iterator.",
    "<b>iterator</b>", "&iterator;", "\"iterator\"", "reiterator", "iteratorX",  "iTeRaToR"};
// Filler; non-ASCII words stand apart, never next to the word.
const char* const kAnsiFiller[] = {"the", "vec", "itera", "tor",   "straße", "€uro",   "café",
                                   "ÄÖÜ", "<p>", "</p>",  "{",     "}",      "color:", "1.5em;",
                                   "var", "=",   "&amp;", "naïve", "—",      "déjà"};
const char* const kWideFiller[] = {"ő", "Ω", "中文", "😀", "Ꙁ"};

struct TreeFile {
    QString rel;
    TSynEncoding encoding;
    bool bom;
    QString text; // with "\n" breaks
    const char* lineBreak;
};

QByteArray encode(const QString& text, TSynEncoding encoding) {
    switch (encoding) {
    case seUTF8:
        return text.toUtf8();
    case seUTF16LE:
    case seUTF16BE: {
        QStringEncoder encoder(encoding == seUTF16LE ? QStringConverter::Utf16LE
                                                     : QStringConverter::Utf16BE);
        return encoder.encode(text);
    }
    case seAnsi:
        break;
    }
    QByteArray out;
    for (const char32_t c : text.toUcs4())
        out += char(codec::unicodeToAnsi(c));
    return out;
}

QByteArray bomOf(TSynEncoding encoding) {
    return encoding == seUTF8      ? QByteArray("\xEF\xBB\xBF")
           : encoding == seUTF16LE ? QByteArray("\xFF\xFE")
           : encoding == seUTF16BE ? QByteArray("\xFE\xFF")
                                   : QByteArray();
}

QByteArray storedBytes(const TreeFile& f) {
    QString text = f.text;
    text.replace(u'\n', QString::fromLatin1(f.lineBreak));
    return (f.bom ? bomOf(f.encoding) : QByteArray()) + encode(text, f.encoding);
}

// Every byte written as \xHH, for sed in the C locale.
QString sedBytes(const QByteArray& bytes) {
    QString out;
    for (const char c : bytes)
        out += QStringLiteral("\\x%1").arg(uint(static_cast<unsigned char>(c)), 2, 16,
                                           QLatin1Char('0'));
    return out;
}

struct TStoredFile {
    QByteArray bytes;
    qint64 mtimeNs = 0;
    friend bool operator==(const TStoredFile&, const TStoredFile&) = default;
};

// Every file of a tree (links left out) by its relative name.
QMap<QString, TStoredFile> storedFiles(const QString& root) {
    QMap<QString, TStoredFile> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            continue;
        out[QDir(root).relativeFilePath(path)] = {
            readAll(path), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    }
    return out;
}

bool copyTree(const QString& from, const QString& to) {
    return QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), from, to}) == 0;
}

} // namespace

class TestFileSearchTree : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_tree;
    QString m_mirror;
    QList<TreeFile> m_files;
    int m_binaries = 0;

    void write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        writeAll(path, bytes);
    }

    QString randomText(QRandomGenerator& rnd, TSynEncoding encoding) {
        QStringList lines;
        const bool hasWord = rnd.bounded(3) != 0;
        const int count = 3 + rnd.bounded(40);
        for (int l = 0; l < count; ++l) {
            QStringList words;
            const int n = rnd.bounded(12);
            for (int w = 0; w < n; ++w) {
                if (encoding != seAnsi && rnd.bounded(6) == 0)
                    words << QString::fromUtf8(
                        kWideFiller[rnd.bounded(int(std::size(kWideFiller)))]);
                else
                    words << QString::fromUtf8(
                        kAnsiFiller[rnd.bounded(int(std::size(kAnsiFiller)))]);
            }
            if (hasWord && rnd.bounded(3) == 0)
                words.insert(rnd.bounded(int(words.size()) + 1),
                             QString::fromLatin1(kForms[rnd.bounded(int(std::size(kForms)))]));
            lines << (rnd.bounded(5) == 0 ? QStringLiteral("\t  ") : QString()) + words.join(u' ');
        }
        QString text = lines.join(u'\n');
        if (rnd.bounded(4) != 0)
            text += u'\n';
        return text;
    }

    // grep over the UTF-8 mirror: file (relative) -> lines that match.
    QMap<QString, int> grepCounts(const QStringList& options, const QString& include) {
        // An --include first, so that files it does not name are left out.
        QStringList args = {QStringLiteral("-r"), QStringLiteral("-c"), QStringLiteral("-I"),
                            QStringLiteral("-F")};
        for (const QString& pattern : include.split(u',', Qt::SkipEmptyParts))
            args << QStringLiteral("--include=") + pattern;
        args << QStringLiteral("--exclude=~*") << QStringLiteral("--exclude-dir=.git");
        args << options << kWord << m_mirror;
        QProcess grep;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        grep.setProcessEnvironment(env);
        grep.start(QStringLiteral("grep"), args);
        grep.waitForFinished(60000);
        QMap<QString, int> out;
        for (const QByteArray& line : grep.readAllStandardOutput().split('\n')) {
            const qsizetype colon = line.lastIndexOf(':');
            if (colon < 0)
                continue;
            const int count = line.mid(colon + 1).toInt();
            if (count > 0)
                out[QDir(m_mirror).relativeFilePath(QString::fromUtf8(line.left(colon)))] = count;
        }
        return out;
    }

    struct Found {
        QStringList order;
        QMap<QString, int> counts;
        qsizetype notText = 0;
        QString status;
        QStringList notes;
    };

    Found search(const QString& root, TFileSearchParams p, ScriptedDialogs& dialogs) {
        ScriptedSearchHost host;
        host.root = root + u'/';
        TSearchResultsModel model;
        TFileSearchRun run(host, dialogs, dialogs, model);
        p.scope = fsProject;
        Found found;
        if (run.start(p) != TFileSearchRun::Started)
            return found;
        if (!QTest::qWaitFor([&] { return !run.isRunning(); }, 60000))
            return found;
        for (qsizetype i = 0; i < model.fileCount(); ++i) {
            const QString rel = QDir(root).relativeFilePath(model.file(i).FText);
            found.order << rel;
            found.counts[rel] = int(model.file(i).FLines.size());
        }
        found.notText = run.notText();
        found.status = run.statusText();
        found.notes = run.notes();
        return found;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_tree = m_dir.filePath(QStringLiteral("tree"));
        m_mirror = m_dir.filePath(QStringLiteral("mirror"));
        QRandomGenerator rnd(20240518);
        const QStringList folders = {QString(),
                                     QStringLiteral("a"),
                                     QStringLiteral("a/b"),
                                     QStringLiteral("a/b/deep"),
                                     QStringLiteral("Docs"),
                                     QStringLiteral("c"),
                                     QStringLiteral("c/Z"),
                                     QStringLiteral("styles")};
        const char* const exts[] = {"html", "htm", "css", "js"};
        const TSynEncoding encodings[] = {seUTF8, seUTF16LE, seUTF16BE, seAnsi};
        const char* const breaks[] = {"\r\n", "\n", "\r"};
        for (int i = 0; i < 320; ++i) {
            TreeFile f;
            const QString folder = folders[rnd.bounded(int(folders.size()))];
            f.rel = (folder.isEmpty() ? QString() : folder + u'/') +
                    QStringLiteral("%1page%2.%3")
                        .arg(i % 3 == 0 ? QStringLiteral("P") : QString())
                        .arg(i)
                        .arg(QString::fromLatin1(exts[rnd.bounded(4)]));
            f.encoding = encodings[i % 4];
            f.bom = f.encoding != seAnsi && (f.encoding != seUTF8 || rnd.bounded(2) == 0);
            f.lineBreak = breaks[rnd.bounded(3)];
            f.text = randomText(rnd, f.encoding);
            m_files << f;
            write(m_tree + u'/' + f.rel, storedBytes(f));
            write(m_mirror + u'/' + f.rel, f.text.toUtf8());
        }
        // Left out: a backup copy, the repository's folder, binary files (counted).
        for (const QString& root : {m_tree, m_mirror}) {
            write(root + QStringLiteral("/a/~page1.html"), "iterator\n");
            write(root + QStringLiteral("/.git/info.html"), "iterator\n");
            write(root + QStringLiteral("/a/image.png"), QByteArray("\x89PNG\0\0iterator", 15));
            write(root + QStringLiteral("/c/data.html"), QByteArray("<html>\0iterator\n", 16));
            // A loop of folders, a link out of the tree, a second name for a file.
            QVERIFY(QFile::link(QStringLiteral(".."), root + QStringLiteral("/a/b/loop")));
            write(m_dir.filePath(QStringLiteral("outside/page.html")), "iterator\n");
            QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("outside")),
                                root + QStringLiteral("/c/out")));
            QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("outside/page.html")),
                                root + QStringLiteral("/outside.html")));
            const auto html = std::find_if(m_files.begin(), m_files.end(), [](const TreeFile& f) {
                return f.rel.startsWith(u"a/"_qs) && f.rel.endsWith(u".html"_qs);
            });
            QVERIFY(html != m_files.end());
            QVERIFY(QFile::link(root + u'/' + html->rel, root + QStringLiteral("/second.html")));
        }
        m_binaries = 2;
    }

    void sameAsGrep_data() {
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QString>("types");
        QTest::addColumn<QString>("include");
        QTest::addColumn<int>("notText");
        QTest::newRow("case") << false << false << QString() << QString() << 2;
        QTest::newRow("ignoring case") << true << false << QString() << QString() << 2;
        QTest::newRow("whole words") << false << true << QString() << QString() << 2;
        QTest::newRow("whole words ignoring case") << true << true << QString() << QString() << 2;
        QTest::newRow("HTML only")
            << true << false << QStringLiteral("htm*") << QStringLiteral("*.htm*") << 1;
        QTest::newRow("two types")
            << false << true << QStringLiteral("css,js") << QStringLiteral("*.css,*.js") << 0;
    }
    void sameAsGrep() {
        QFETCH(bool, ignoreCase);
        QFETCH(bool, wholeWord);
        QFETCH(QString, types);
        QFETCH(QString, include);
        QFETCH(int, notText);
        QStringList options;
        if (ignoreCase)
            options << QStringLiteral("-i");
        if (wholeWord)
            options << QStringLiteral("-w");
        const QMap<QString, int> expected = grepCounts(options, include);
        QVERIFY(expected.size() > 30);

        ScriptedDialogs dialogs;
        TFileSearchParams p;
        p.search = kWord;
        p.ignoreCase = ignoreCase;
        p.wholeWord = wholeWord;
        p.types = types;
        const Found found = search(m_tree, p, dialogs);
        QCOMPARE(found.counts, expected);
        QCOMPARE(found.notText, notText);
        QVERIFY2(dialogs.problems().isEmpty(), qPrintable(dialogs.problems().join(u'\n')));
        int hits = 0;
        for (const int n : expected)
            hits += n;
        QString status =
            QStringLiteral("%1 matches found in\r\n%2 file(s)!").arg(hits).arg(expected.size());
        if (notText)
            status += QStringLiteral("\r\n%1 file(s) skipped: not text").arg(notText);
        QCOMPARE(found.status, status);

        // The walk's order: a folder's subfolders first, then its files, names sorted.
        const auto walkLess = [](const QString& a, const QString& b) {
            const QStringList pa = a.split(u'/');
            const QStringList pb = b.split(u'/');
            for (qsizetype i = 0;; ++i) {
                const bool aFile = i == pa.size() - 1;
                const bool bFile = i == pb.size() - 1;
                if (aFile != bFile)
                    return bFile; // folders before files
                const int c = pa[i].compare(pb[i], Qt::CaseInsensitive);
                if (c != 0)
                    return c < 0;
                if (aFile)
                    return pa[i] < pb[i];
            }
        };
        QVERIFY(std::is_sorted(found.order.begin(), found.order.end(), walkLess));
    }

    void replacementsAsSed_data() {
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("ignoreCase");
        QTest::newRow("held by every encoding") << QStringLiteral("Itérateur") << false;
        QTest::newRow("ignoring case") << QStringLiteral("Itérateur") << true;
        QTest::newRow("not held by Windows-1252") << QStringLiteral("ő-iterator") << false;
    }
    void replacementsAsSed() {
        QFETCH(QString, replacement);
        QFETCH(bool, ignoreCase);
        const QString ours = m_dir.filePath(QStringLiteral("ours"));
        const QString theirs = m_dir.filePath(QStringLiteral("sed"));
        QDir(ours).removeRecursively();
        QDir(theirs).removeRecursively();
        QVERIFY(copyTree(m_tree, ours));
        QVERIFY(copyTree(m_tree, theirs));
        const QMap<QString, TStoredFile> before = storedFiles(ours);

        // sed on each text file, with the word and its replacement in the file's encoding.
        bool ansiHolds = true;
        for (const QChar c : replacement)
            ansiHolds = ansiHolds && codec::unicodeToAnsi(c.unicode()) >= 0;
        QSet<QString> refused;
        for (const TreeFile& f : std::as_const(m_files)) {
            const QString path = theirs + u'/' + f.rel;
            if (f.encoding == seAnsi && !ansiHolds) {
                if (f.text.contains(kWord, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive))
                    refused << ours + u'/' + f.rel;
                continue;
            }
            const QString script = QStringLiteral("s/%1/%2/g%3")
                                       .arg(sedBytes(encode(kWord, f.encoding)),
                                            sedBytes(encode(replacement, f.encoding)),
                                            ignoreCase ? QStringLiteral("I") : QString());
            QProcess sed;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
            sed.setProcessEnvironment(env);
            sed.start(QStringLiteral("sed"), {QStringLiteral("-i"), script, path});
            QVERIFY(sed.waitForFinished(30000));
            QCOMPARE(sed.exitCode(), 0);
        }

        ScriptedDialogs dialogs;
        dialogs.expectAsk(QStringLiteral("Are you sure to change the selected files?"), mrYes);
        TFileSearchParams p;
        p.search = kWord;
        p.replace = true;
        p.replacement = replacement;
        p.ignoreCase = ignoreCase;
        const Found found = search(ours, p, dialogs);
        QVERIFY2(dialogs.problems().isEmpty(), qPrintable(dialogs.problems().join(u'\n')));

        const QMap<QString, TStoredFile> after = storedFiles(ours);
        const QMap<QString, TStoredFile> expected = storedFiles(theirs);
        QCOMPARE(after.keys(), expected.keys());
        for (auto it = after.begin(); it != after.end(); ++it)
            QVERIFY2(it->bytes == expected.value(it.key()).bytes, qPrintable(it.key()));
        // Files without a hit, and files refused, are not even touched.
        int untouched = 0;
        for (auto it = before.begin(); it != before.end(); ++it) {
            if (after.value(it.key()).bytes != it->bytes)
                continue;
            QVERIFY2(after.value(it.key()) == *it, qPrintable(it.key()));
            ++untouched;
        }
        QVERIFY(untouched > 50);
        // Each refused file is named once.
        QCOMPARE(found.notes.size(), refused.size());
        for (const QString& note : found.notes)
            QVERIFY2(std::any_of(refused.begin(), refused.end(),
                                 [&](const QString& f) { return note.contains(f); }),
                     qPrintable(note));
        // What the tree shows are the replaced texts.
        for (auto it = found.counts.begin(); it != found.counts.end(); ++it)
            QVERIFY(it.value() > 0);
    }
};

QTEST_GUILESS_MAIN(TestFileSearchTree)
#include "tst_filesearchtree.moc"
