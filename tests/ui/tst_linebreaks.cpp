// A document keeps every byte the user did not edit: each line its own break, a new line the
// document's main one, whatever the encoding.

#include "TestFiles.h"
#include "textcontrol/ui/EditorControl.h"

#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

template <qsizetype N> QByteArray raw(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}

QByteArray utf16le(const QString& s) {
    QByteArray out;
    for (QChar c : s) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

// Many lines of each kind of break, far from where the edits happen.
QByteArray mixedBreaks() {
    static const char* const breaks[] = {"\r\n", "\n", "\r"};
    QByteArray bytes;
    for (int i = 0; i < 200; ++i)
        bytes += "<p>line " + QByteArray::number(i) + breaks[i % 3];
    return bytes + "end";
}

} // namespace

class TestLineBreaks : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editKeepsOtherBytes_data();
    void editKeepsOtherBytes();
    void pastedBreaksTakeTheMainOne();

private:
    TEditorControl* ed = nullptr;
    QTemporaryDir dir;
};

void TestLineBreaks::init() {
    ed = new TEditorControl;
    ed->resize(600, 400);
    ed->show();
    QVERIFY(QTest::qWaitForWindowExposed(ed));
}

void TestLineBreaks::cleanup() {
    delete ed;
    ed = nullptr;
}

void TestLineBreaks::editKeepsOtherBytes_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("atEnd"); // else at the start
    QTest::addColumn<QByteArray>("saved");

    // "X", a new line, "Y", typed at the end or the start of the text.
    const QByteArray mixed = raw("a\r\nb\nc\rd\r\ne");
    QTest::newRow("mixed, main CR LF, at the end") << mixed << true << mixed + "X\r\nY";
    QTest::newRow("mixed, main CR LF, at the start") << mixed << false << "X\r\nY" + mixed;
    const QByteArray lf = raw("a\nb\r\nc\nd\re\n");
    QTest::newRow("mostly LF") << lf << true << lf + "X\nY";
    const QByteArray cr = raw("a\rb\rc\nd\r");
    QTest::newRow("mostly CR") << cr << true << cr + "X\rY";
    const QByteArray many = mixedBreaks();
    QTest::newRow("long, all three kinds") << many << true << many + "X\r\nY";
    const QByteArray latin = raw("caf\xE9\n\x80\n\x81\x8D\r");
    QTest::newRow("Windows-1252 with the undefined bytes") << latin << false << "X\nY" + latin;
    const QByteArray wide = utf16le(QStringLiteral("<p>\u00E9t\u00E9</p>\r\n<p>\u0151</p>\n<p>x"));
    QTest::newRow("UTF-16LE without mark")
        << wide << true << wide + utf16le(QStringLiteral("X\r\nY"));
    const QByteArray marked = raw("\xEF\xBB\xBF"
                                  "\xC3\xA9\r\n\xC3\xA9\n");
    QTest::newRow("UTF-8 with mark")
        << marked << false << raw("\xEF\xBB\xBF") + "X\r\nY" + marked.mid(3);
}

void TestLineBreaks::editKeepsOtherBytes() {
    QFETCH(QByteArray, file);
    QFETCH(bool, atEnd);
    QFETCH(QByteArray, saved);
    const QString name = dir.filePath(QStringLiteral("page.html"));
    writeAll(name, file);
    const TLoadedText loaded = ed->loadFile(name);
    QVERIFY2(loaded.ok(), qPrintable(loaded.error));

    ed->focusText();
    QWidget* keys = ed->focusProxy();
    QTest::keyClick(keys, atEnd ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClicks(keys, QStringLiteral("X"));
    QTest::keyClick(keys, Qt::Key_Return);
    QTest::keyClicks(keys, QStringLiteral("Y"));
    QVERIFY(ed->modified());

    const TSaveResult r = ed->saveFile(name, loaded.encoding, loaded.bom);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(readAll(name), saved);
}

void TestLineBreaks::pastedBreaksTakeTheMainOne() {
    const QString name = dir.filePath(QStringLiteral("paste.txt"));
    writeAll(name, "a\nb\rc\n");
    const TLoadedText loaded = ed->loadFile(name);
    QVERIFY(loaded.ok());
    QGuiApplication::clipboard()->setText(QStringLiteral("p\r\nq\rr"));
    ed->focusText();
    QTest::keyClick(ed->focusProxy(), Qt::Key_End, Qt::ControlModifier);
    ed->pasteFromClipboard();
    QVERIFY(ed->saveFile(name, loaded.encoding, loaded.bom).ok());
    QCOMPARE(readAll(name), QByteArray("a\nb\rc\np\nq\nr"));
}

QTEST_MAIN(TestLineBreaks)
#include "tst_linebreaks.moc"
