#include "ShellFixture.h"
#include "TestFiles.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/IniFileUtils.h"
#include "base/ui/CommandList.h"
#include "editor/ui/OrvelMDI.h"
#include "preview/ui/WebView.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QOpenGLContext>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

const QByteArray kTemplate = "<!DOCTYPE html>\r\n"
                             "<!-- #var\r\n"
                             "  title = Saved title\r\n"
                             "-->\r\n"
                             "<html><body><h1>[%Title]</h1></body></html>\r\n";

// The page's text as the engine shows it.
QString pageText(TfrmWebView& view) {
    QString text;
    bool done = false;
    view.engine()->plainText([&](const QString& t) {
        text = t;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 20000))
        return QStringLiteral("(the engine gave no text)");
    return text;
}

QAction* findAction(QWidget* w, const QString& text) {
    for (QAction* a : w->findChildren<QAction*>())
        if (a->text() == text)
            return a;
    return nullptr;
}

// The modern engine's module is found through this folder; a test without it points
// elsewhere for its own scope.
class ModuleDir {
public:
    explicit ModuleDir(const QString& dir) : m_old(qgetenv("ORVEL_MODULE_DIR")) {
        qputenv("ORVEL_MODULE_DIR", dir.toLocal8Bit());
    }
    ~ModuleDir() { qputenv("ORVEL_MODULE_DIR", m_old); }
    ModuleDir(const ModuleDir&) = delete;
    ModuleDir& operator=(const ModuleDir&) = delete;

private:
    QByteArray m_old;
};

bool setOld(const QString& file, const QDateTime& time) {
    QFile f(file);
    return f.open(QIODevice::ReadWrite) && f.setFileTime(time, QFileDevice::FileModificationTime);
}

bool webEngineLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

} // namespace

class TestPreview : public QObject, protected test::ShellFixture {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    // The window on its own.
    // First: nothing has loaded the web engine yet.
    void startsWithoutWebEngine();
    void engineReadsPage_data();
    void engineReadsPage();
    void modernEngineMissing();
    void sizeList();
    // In the program.
    void commandRows();
    void templatePreviewedUnsaved_data();
    void templatePreviewedUnsaved();
    void templateWithoutHeader();
    void neverSavedDocument();
    void activationRefresh();
    void copyFailureToldOnce();
    void liveRefreshKeepsPlace();
    void externalBrowser_data();
    void externalBrowser();
    void engineMenuWithoutModule();
    void settingsKept();

private:
    std::unique_ptr<THauptForm> make(const QStringList& files = {});
    QString copy(const QString& folder) const {
        return QDir(folder).filePath(QStringLiteral("~Orvel.html"));
    }
};

void TestPreview::initTestCase() {
    qputenv("ORVEL_MODULE_DIR", ORVEL_BUILD_DIR);
}

void TestPreview::init() {
    resetShell();
}

void TestPreview::cleanup() {
    const QStringList problems = shellProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

std::unique_ptr<THauptForm> TestPreview::make(const QStringList& files) {
    // Every program starts for the first time: the projects root is asked first.
    script.expectFolder(dir->path() + QStringLiteral("/sites/"));
    TShellStart start = shellStart(files, true);
    start.programName = QStringLiteral("Orvel");
    start.localDataPath = dir->path() + QStringLiteral("/local/");
    auto w = shellWindow(start);
    if (!w->Init())
        return nullptr;
    w->show();
    return w;
}

void TestPreview::startsWithoutWebEngine() {
    // The program starts, shows a page in the classic engine, and has paid nothing for the
    // web engine: neither its libraries nor a shared drawing context.
    writeAll(path("a.html"), "<p>Classic page</p>");
    auto w = make({path("a.html")});
    w->ActionPreviewExecute();
    QVERIFY(pageText(*w->existingPreview()).contains(QStringLiteral("Classic page")));
    QVERIFY(!webEngineLoaded());
    QVERIFY(!QOpenGLContext::globalShareContext());
    // The first page in the web engine prepares what it needs then.
    QVERIFY(w->existingPreview()->SetBrowserMode(true));
    w->ActionPreviewExecute();
    QTRY_VERIFY_WITH_TIMEOUT(
        pageText(*w->existingPreview()).contains(QStringLiteral("Classic page")), 30000);
    QVERIFY(w->existingPreview()->EdgeMode());
    QVERIFY(webEngineLoaded());
    QVERIFY(QOpenGLContext::globalShareContext());
}

void TestPreview::engineReadsPage_data() {
    QTest::addColumn<bool>("modern");
    QTest::newRow("classic") << false;
    QTest::newRow("modern") << true;
}

void TestPreview::engineReadsPage() {
    QFETCH(bool, modern);
    // A page in Windows-1252 and a second one it links to.
    writeAll(path("one.html"), "<html><head><meta charset=\"windows-1252\"></head><body>"
                               "<h1>Gr\xfc\xdf"
                               "e</h1><a href=\"two.html\">next</a></body></html>");
    writeAll(path("two.html"), "<html><body><p>Second page</p></body></html>");
    TfrmWebView view(true);
    QVERIFY(view.SetBrowserMode(modern));
    QSignalSpy loaded(&view, &TfrmWebView::pageLoaded);
    view.ShowWebPage(QStringLiteral("One"), path("one.html"), path("one.html"));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
    QVERIFY(loaded.last().at(0).toBool());
    QCOMPARE(view.EdgeMode(), modern);
    QCOMPARE(view.windowTitle(), QString("One"));
    QVERIFY2(pageText(view).contains(QStringLiteral("Grüße")), qPrintable(pageText(view)));
    QTRY_COMPARE(view.address(), path("one.html"));

    // The address field opens another page; the history leads back; Home returns.
    loaded.clear();
    view.openSite(path("two.html"));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
    QVERIFY(pageText(view).contains(QStringLiteral("Second page")));
    QTRY_COMPARE(view.address(), path("two.html"));
    loaded.clear();
    view.engine()->back();
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
    QTRY_VERIFY(pageText(view).contains(QStringLiteral("Grüße")));
    view.openSite(path("two.html"));
    QTRY_VERIFY(pageText(view).contains(QStringLiteral("Second page")));
    loaded.clear();
    view.ShowWebPage(QStringLiteral("One"), view.home(), path("one.html"));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
    QTRY_VERIFY(pageText(view).contains(QStringLiteral("Grüße")));
}

void TestPreview::modernEngineMissing() {
    QTemporaryDir empty;
    ModuleDir module(empty.path());
    writeAll(path("one.html"), "<p>Classic after all</p>");
    TfrmWebView view(true); // the module was there when the window was made
    QStringList errors;
    view.onError = [&](const QString& m) { errors << m; };
    QSignalSpy failed(&view, &TfrmWebView::modernEngineFailed);
    QVERIFY(view.SetBrowserMode(true));
    view.ShowWebPage(QStringLiteral("One"), path("one.html"), path("one.html"));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.at(0).startsWith("Edge browser not available"), qPrintable(errors.at(0)));
    QVERIFY(!view.EdgeMode());
    QVERIFY(!view.CanUseWebView());
    QVERIFY(pageText(view).contains(QStringLiteral("Classic after all")));
    // Asked again, the modern engine is refused at once.
    QVERIFY(!view.SetBrowserMode(true));
}

void TestPreview::sizeList() {
    TfrmWebView view(false);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.pageAreaSize(), QSize(1024, 768));
    QCOMPARE(view.sizeEntries(),
             QStringList({"1024x768", "640x480", "800x600", "1024x768", "1280x960"}));
    view.chooseSize(2);
    QTRY_COMPARE(view.pageAreaSize(), QSize(800, 600));
    // Resized by hand: the first entry shows the page area, and brings it back later.
    const int bar = view.height() - view.pageAreaSize().height();
    view.resize(700, 500 + bar);
    QTRY_COMPARE(view.sizeEntries().at(0), QString("700x500"));
    view.chooseSize(1);
    QTRY_COMPARE(view.pageAreaSize(), QSize(640, 480));
    QCOMPARE(view.options().Width, 640);
    QCOMPARE(view.options().Height, 480);
    QTest::qWait(50);
    QCOMPARE(view.sizeEntries().at(0), QString("700x500"));
    view.chooseSize(0);
    QTRY_COMPARE(view.pageAreaSize(), QSize(700, 500));
}

void TestPreview::commandRows() {
    writeAll(path("a.html"), "<p>a</p>");
    writeAll(path("s.css"), "p {}");
    auto w = make({path("a.html"), path("s.css")});
    QAction* preview = w->action(cmd::ActionPreview);
    QAction* external = w->action(cmd::ActionExtPreview);
    QCOMPARE(w->commands().definition(preview)->tag, 2002);
    QCOMPARE(w->commands().definition(external)->tag, 2005);
    QCOMPARE(preview->shortcut(), QKeySequence(Qt::Key_F12));
    QCOMPARE(external->shortcut(), QKeySequence(Qt::Key_F10));
    // Enabled for HTML documents alone.
    QCOMPARE(QFileInfo(w->activeDocument()->TextName()).fileName(), QString("s.css"));
    QVERIFY(!preview->isEnabled());
    QVERIFY(!external->isEnabled());
    w->ActivateWindow(0);
    QVERIFY(preview->isEnabled());
    QVERIFY(external->isEnabled());
}

void TestPreview::templatePreviewedUnsaved_data() {
    QTest::addColumn<bool>("modern");
    QTest::newRow("classic") << false;
    QTest::newRow("modern") << true;
}

void TestPreview::templatePreviewedUnsaved() {
    QFETCH(bool, modern);
    writeAll(path("page.htt"), kTemplate);
    // The page "Save as HTML" wrote some days ago.
    const QByteArray published = "<html><body><h1>Published</h1></body></html>\r\n";
    writeAll(path("page.html"), published);
    const QDateTime old = QDateTime::currentDateTime().addDays(-2);
    QVERIFY(setOld(path("page.html"), old));
    auto w = make({path("page.htt")});
    w->setPreviewEngine(modern);
    TEditorControl* editor = w->activeDocument()->TextBuffer();
    editor->setText(QString::fromUtf8(kTemplate).replace("Saved title", "Home page"));
    QVERIFY(w->activeDocument()->modified());

    w->ActionPreviewExecute();
    TfrmWebView* view = w->existingPreview();
    QVERIFY(view);
    QVERIFY(view->isVisible());
    QCOMPARE(view->EdgeMode(), modern);
    QCOMPARE(view->home(), copy(dir->path()));
    QTRY_VERIFY_WITH_TIMEOUT(pageText(*view).contains(QStringLiteral("Home page")), 30000);
    QVERIFY(!pageText(*view).contains(QStringLiteral("[%")));
    QCOMPARE(readAll(copy(dir->path())),
             QByteArray("<html><body><h1>Home page</h1></body></html>\r\n"));
    // The template's own page is untouched, and nothing else was left behind.
    QCOMPARE(readAll(path("page.html")), published);
    QCOMPARE(QFileInfo(path("page.html")).lastModified(), old);
    QVERIFY(!QFile::exists(path("page.htmp")));
    QVERIFY(!QFile::exists(path("page.html.bak")));
    QVERIFY(w->activeDocument()->modified());
    QCOMPARE(readAll(path("page.htt")), kTemplate);
}

void TestPreview::templateWithoutHeader() {
    writeAll(path("plain.htt"), "<h1>[%title]</h1>\r\n");
    auto w = make({path("plain.htt")});
    script.expectError("Error in HTT template");
    w->ActionPreviewExecute();
    QVERIFY(!w->existingPreview()->isVisible());
    QVERIFY(!QFile::exists(path("plain.htmp")));
    QVERIFY(!QFile::exists(path("plain.html")));
}

void TestPreview::neverSavedDocument() {
    auto w = make();
    TMDIForm* form = w->NewText(ftHtml, false);
    QCOMPARE(form->Status(), tsNew);
    form->TextBuffer()->setText(QStringLiteral("<p>Draft text</p>"));
    w->ActionPreviewExecute();
    QCOMPARE(w->existingPreview()->home(), copy(w->htmlRoot()));
    QCOMPARE(readAll(copy(w->htmlRoot())), QByteArray("<p>Draft text</p>"));
    QVERIFY(pageText(*w->existingPreview()).contains(QStringLiteral("Draft text")));
}

void TestPreview::activationRefresh() {
    QDir(dir->path()).mkdir("other");
    writeAll(path("a.html"), "<p>First A</p>");
    writeAll(path("other/b.html"), "<p>Page B</p>");
    writeAll(path("s.css"), "p {}");
    auto w = make({path("a.html"), path("other/b.html"), path("s.css")});
    w->ActivateWindow(0);
    w->ActionPreviewExecute();
    TfrmWebView* view = w->existingPreview();
    QVERIFY(pageText(*view).contains(QStringLiteral("First A")));
    QCOMPARE(view->org(), path("a.html"));

    // Back in the preview after an edit: the same page, loaded again.
    w->activateWindow();
    w->activeDocument()->TextBuffer()->setText(QStringLiteral("<p>Edited A</p>"));
    view->activateWindow();
    QTRY_VERIFY(view->isActiveWindow());
    QTRY_VERIFY(pageText(*view).contains(QStringLiteral("Edited A")));
    QCOMPARE(view->home(), copy(dir->path()));

    // Another HTML document first: its copy, its caption.
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    w->ActivateWindow(1);
    view->activateWindow();
    QTRY_VERIFY(view->isActiveWindow());
    QTRY_VERIFY(pageText(*view).contains(QStringLiteral("Page B")));
    QCOMPARE(view->windowTitle(), w->activeDocument()->caption());
    QCOMPARE(view->org(), path("other/b.html"));
    QVERIFY(QFile::exists(copy(path("other"))));

    // A style sheet shows nothing new and clears the document, so that coming back from
    // an HTML document navigates.
    w->ActivateWindow(2);
    view->Refresh(true);
    QVERIFY(pageText(*view).contains(QStringLiteral("Page B")));
    QCOMPARE(view->org(), QString());
    w->ActivateWindow(0);
    view->Refresh(true);
    QTRY_VERIFY(pageText(*view).contains(QStringLiteral("Edited A")));
    QCOMPARE(view->org(), path("a.html"));
}

void TestPreview::copyFailureToldOnce() {
    QDir(dir->path()).mkdir("site");
    writeAll(path("site/a.html"), "<p>Text A</p>");
    // A folder stands where the copy would be written.
    QVERIFY(QDir().mkpath(copy(path("site"))));
    auto w = make({path("site/a.html")});
    script.expectError("~Orvel.html");
    w->ActionPreviewExecute();
    TfrmWebView* view = w->existingPreview();
    QVERIFY(view->isVisible());
    const QString shown = pageText(*view);
    QVERIFY2(shown.contains(QStringLiteral("Nothing to show")) && shown.contains("~Orvel.html"),
             qPrintable(shown));
    // Told once: the refresh that fails again says it on the page alone.
    w->activeDocument()->TextBuffer()->setText(QStringLiteral("<p>Text B</p>"));
    view->Refresh(true);
    QVERIFY(pageText(*view).contains(QStringLiteral("Nothing to show")));
    // Writable again: the page shows the text.
    QVERIFY(QDir(copy(path("site"))).removeRecursively());
    view->Refresh(true);
    QTRY_VERIFY(pageText(*view).contains(QStringLiteral("Text B")));
}

void TestPreview::liveRefreshKeepsPlace() {
    QByteArray page = "<html><body><p>Top line</p>\r\n";
    for (int i = 0; i < 300; ++i)
        page += "<p>Paragraph " + QByteArray::number(i) + " of the long page</p>\r\n";
    page += "</body></html>\r\n";
    writeAll(path("long.html"), page);
    writeAll(path("orvel.ini"), "[Preview]\r\nLiveRefreshDelay=100\r\n");
    auto w = make({path("long.html")});
    w->ActionPreviewExecute();
    TfrmWebView* view = w->existingPreview();
    QVERIFY(pageText(*view).contains(QStringLiteral("Top line")));
    auto* browser = qobject_cast<QTextBrowser*>(view->engine()->widget());
    QVERIFY(browser);
    QScrollBar* bar = browser->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 1000);
    bar->setValue(bar->maximum() / 2);
    const int place = bar->value();

    // Typing: after a short pause the page follows, where it was.
    QSignalSpy loaded(view, &TfrmWebView::pageLoaded);
    TEditorControl* editor = w->activeDocument()->TextBuffer();
    editor->setCaretXY({4, 1});
    editor->setSelText(QStringLiteral("<p>Typed line</p>"));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 5000);
    QVERIFY(pageText(*view).contains(QStringLiteral("Typed line")));
    QTRY_COMPARE(bar->value(), place);
    QCOMPARE(loaded.count(), 1);

    // Switched off, typing leaves the page as it is.
    QAction* live = findAction(w.get(), "&Live refresh");
    QVERIFY(live && live->isChecked());
    live->trigger();
    loaded.clear();
    editor->setSelText(QStringLiteral("<p>Not yet</p>"));
    QTest::qWait(600);
    QCOMPARE(loaded.count(), 0);
    QVERIFY(!pageText(*view).contains(QStringLiteral("Not yet")));
}

void TestPreview::externalBrowser_data() {
    QTest::addColumn<bool>("configured");
    QTest::newRow("browser set") << true;
    QTest::newRow("desktop opener") << false;
}

void TestPreview::externalBrowser() {
    QFETCH(bool, configured);
    // A folder and document name with blanks and quotes.
    const QString folder = path("my \"quoted\" site's pages");
    QVERIFY(QDir().mkpath(folder));
    const QString doc = folder + QStringLiteral("/page one.htt");
    writeAll(doc, kTemplate);
    // The fake browser writes down its arguments, one a line, after their count.
    const QString bin = path("bin");
    QVERIFY(QDir().mkpath(bin));
    const QString record = path("args.txt");
    const QString fake = bin + (configured ? QStringLiteral("/fake browser") : "/xdg-open");
    writeAll(fake,
             "#!/bin/sh\nout=\"" + record.toUtf8() +
                 "\"\n{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; } > \"$out.tmp\"\n"
                 "mv \"$out.tmp\" \"$out\"\n");
    QFile(fake).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                               QFileDevice::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    if (!configured)
        qputenv("PATH", bin.toLocal8Bit() + ':' + oldPath);
    auto w = make({doc});
    if (configured)
        w->settings().Config.ExternalBrowser = fake;
    w->ActionExtPreviewExecute();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    qputenv("PATH", oldPath);
    QCOMPARE(QString::fromUtf8(readAll(record)), "1\n" + copy(folder) + u'\n');
    // The external browser gets the template as it stands.
    QCOMPARE(readAll(copy(folder)), kTemplate);
}

void TestPreview::engineMenuWithoutModule() {
    QTemporaryDir empty;
    ModuleDir module(empty.path());
    // Kept from a machine that had the engine.
    writeAll(path("orvel.ini"), "[Config]\r\nEdgeBrowser=1\r\n");
    script.expectError("Edge browser not available");
    auto w = make();
    QVERIFY(!w->settings().Config.EdgeBrowser);
    QAction* classic = findAction(w.get(), "Classic browser");
    QAction* edge = findAction(w.get(), "Edge browser");
    QVERIFY(classic && edge);
    QVERIFY(classic->isChecked());
    script.expectError("Edge browser not available");
    edge->trigger();
    QVERIFY(classic->isChecked());
    QVERIFY(!w->settings().Config.EdgeBrowser);
    w->SaveSettings();
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(path("orvel.ini"));
    QCOMPARE(ini.ReadBool("Config", "EdgeBrowser", true), false);
}

void TestPreview::settingsKept() {
    writeAll(path("a.html"), "<p>a</p>");
    {
        auto w = make({path("a.html")});
        w->ActionPreviewExecute();
        TfrmWebView* view = w->existingPreview();
        view->chooseSize(2);
        view->setZoom(130);
        QTRY_COMPARE(view->pageAreaSize(), QSize(800, 600));
        // The external browser chosen in the file dialog.
        script.expectOpenName("/usr/bin/true");
        w->itmExtBrowserClick();
        QCOMPARE(script.fileDialogs.last().title, QString("Search for external browser"));
        QCOMPARE(script.fileDialogs.last().dir, QString("/usr/bin"));
        w->SaveSettings();
    }
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(path("orvel.ini"));
    QCOMPARE(ini.ReadInteger("Preview", "Width", 0), 800);
    QCOMPARE(ini.ReadInteger("Preview", "Height", 0), 600);
    QCOMPARE(ini.ReadInteger("Preview", "Zoom", 0), 130);
    QCOMPARE(ini.ReadString("Config", "ExternalBrowser", ""), QString("/usr/bin/true"));
    // The next start opens the preview as it was left.
    resetShell();
    QDir().mkpath(dir->path());
    writeAll(path("orvel.ini"), "[Preview]\r\nWidth=640\r\nHeight=480\r\nZoom=90\r\n");
    writeAll(path("a.html"), "<p>a</p>");
    auto w = make({path("a.html")});
    w->ActionPreviewExecute();
    QTRY_COMPARE(w->existingPreview()->pageAreaSize(), QSize(640, 480));
    QCOMPARE(w->existingPreview()->options().Zoom, 90);
}

int main(int argc, char** argv) {
    // Started as the program starts: nothing prepared for the web engine.
    QApplication app(argc, argv);
    TestPreview test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_preview.moc"
