// An encoded mail link as a browser runs it: the decoder script and the encoded link that
// the document commands insert, in a real web engine, write the link text and the address
// exactly as they were given.

#include "TestDocument.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QApplication>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <memory>

using namespace orvel;
using Kind = orvel::test::ScriptedElementDialogs::Kind;

namespace {

// Runs a script in the page and waits for its result.
QVariant evaluate(QWebEnginePage& page, const QString& script) {
    QVariant result;
    bool done = false;
    QEventLoop loop;
    page.runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
        loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec();
    return result;
}

} // namespace

class TestMailBrowser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void encodedLinkWritesItsTextAndAddress_data();
    void encodedLinkWritesItsTextAndAddress();
};

void TestMailBrowser::encodedLinkWritesItsTextAndAddress_data() {
    QTest::addColumn<QString>("linkText");
    QTest::addColumn<QString>("address");
    QTest::newRow("quotes, backslash and the end of a script")
        << QString("it's \"quoted\" \\ </script> end") << QString("info@example.org");
    QTest::newRow("markup characters and a quote in the address")
        << QString("Tom & Jerry <3") << QString("tom&\"jerry\"@example.org");
    QTest::newRow("a reference stays a reference")
        << QString("caf&eacute;") << QString("caf\u00e9@example.org");
}

void TestMailBrowser::encodedLinkWritesItsTextAndAddress() {
    QFETCH(QString, linkText);
    QFETCH(QString, address);
    test::TestDocumentContext host;
    test::TestCommands commands(host);
    TMDIForm form(host, ftHtml, 1);
    form.TextBuffer()->loadUtf8(
        "<html><head><script type=\"text/javascript\">\n\n</script></head>\n<body><p>"
        "TEXT</p></body></html>",
        lbLF);
    commands.attach(form);
    TEditorControl& ed = *form.TextBuffer();
    // The decoder in the head, then the link in the body in place of its text.
    ed.setCaretXY({1, 2});
    commands.run(cmd::ActionJsDecode);
    const int line = ed.lineCount();
    const int col = int(ed.line(line - 1).indexOf(QStringLiteral("TEXT"))) + 1;
    ed.setSelection({col, line}, {col + 4, line});
    ed.setSelText(linkText);
    ed.setSelection({col, line}, {col + int(linkText.size()), line});
    host.elements.expect(Kind::Mail, {address});
    commands.run(cmd::ActionMailtoCode);
    QVERIFY2(host.problems().isEmpty(), qPrintable(host.problems().join(u'\n')));
    const QString html = ed.text();

    QWebEnginePage page;
    QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
    page.setHtml(html, QUrl(QStringLiteral("http://localhost/")));
    QVERIFY(loaded.wait(60000));
    QVERIFY(loaded.first().first().toBool());
    QCOMPARE(evaluate(page, QStringLiteral("document.getElementsByTagName('a').length")).toInt(),
             1);
    // The text as the user sees it: what the selection said, its reference read as one.
    QString shown = linkText;
    shown.replace(QStringLiteral("&eacute;"), QStringLiteral("\u00e9"));
    QCOMPARE(evaluate(page, QStringLiteral("document.getElementsByTagName('a')[0].textContent"))
                 .toString(),
             shown);
    QCOMPARE(
        evaluate(page, QStringLiteral("document.getElementsByTagName('a')[0].getAttribute('href')"))
            .toString(),
        QStringLiteral("mailto:") + address);
    // The address itself stands nowhere in the page.
    QVERIFY(!html.contains(address));
}

int main(int argc, char* argv[]) {
    // The web engine shares its graphics contexts; it must be told before the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestMailBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mailbrowser.moc"
