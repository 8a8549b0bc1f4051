#include "TestDocument.h"
#include "base/core/IniFileUtils.h"
#include "base/ui/HListBox.h"
#include "dialogs/ui/LinkDialog.h"
#include "dialogs/ui/QtElementDialogs.h"
#include "dialogs/ui/SelectFromListDlg.h"
#include "dialogs/ui/UrlDialog.h"
#include "editor/ui/OrvelMDI.h"
#include "search/ui/FileFilterDlg.h"
#include "textcontrol/ui/EditorControl.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace orvel;
using Kind = orvel::test::ScriptedElementDialogs::Kind;

namespace {

// Runs work on the next modal dialog once it shows; the dialog is closed by work.
void whenModal(std::function<void(QDialog&)> work) {
    QTimer::singleShot(0, qApp, [work] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg) {
            QTimer::singleShot(10, qApp, [work] { whenModal(work); });
            return;
        }
        work(*dlg);
    });
}

void writeFile(const QString& name, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(name).absolutePath());
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// An HTML document window with the document commands and scripted dialogs.
struct Document {
    explicit Document(const QByteArray& text) {
        form.TextBuffer()->loadUtf8(text, lbLF);
        commands.attach(form);
    }
    QStringList problems() const { return host.problems(); }
    test::TestDocumentContext host;
    test::TestCommands commands{host};
    TMDIForm form{host, ftHtml, 1};
};

} // namespace

class TestLinkDialogs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void selectFileGivesRelativeAddress_data();
    void selectFileGivesRelativeAddress();
    void selectFileStartsAtTheAddress();
    void attributesReadAndRebuilt_data();
    void attributesReadAndRebuilt();
    void lastLocalFile_data();
    void lastLocalFile();
    void anchorButtonFollowsTheAddress();
    void addLocalAnchorFromTheFile();
    void addLocalAnchorPromptsWithoutAnchors();
    void addLocalAnchorWithTheAnchorReader();
    void dialogsKeepTheirSections();
    void areaModeOffersTheCallersAnchors();
    void fileFilterEditedAndKept();
    void linkDialogWithoutHint();
    void linkDialogWithHint();
    void listPicker();
    void commandEditsLinkInPlace_data();
    void commandEditsLinkInPlace();
    void commandLinkQuotesTheAddress();
    void commandBackgroundImage();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_site;
    test::ScriptedDialogs m_script;
    test::ScriptedElementDialogs m_elements;
    std::unique_ptr<TURLEingabeDialog> m_url;
    TTextChange m_case = tcNone;
    QStringList m_anchorHistory;
};

void TestLinkDialogs::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_site = m_dir->path() + QStringLiteral("/site/");
    writeFile(m_site + QStringLiteral("index.html"), "<html></html>");
    writeFile(m_site + QStringLiteral("Doc.pdf"), QByteArray(2048, 'x'));
    writeFile(m_site + QStringLiteral("sub/page.html"),
              "<p><a name=\"intro\">Intro</a>\n<h2 id=\"more\">More | less</h2>");
    m_script.reset();
    m_elements.reset();
    m_case = tcNone;
    m_anchorHistory.clear();
    m_url = std::make_unique<TURLEingabeDialog>(m_script, m_elements);
    m_url->setLinkCase([this] { return m_case; });
    m_url->setSizeFormat([] { return false; }, [] { return true; });
    m_url->setAnchorHistory(&m_anchorHistory, 20);
    // What the anchor reader lists for the test page.
    m_url->setAnchorReader([](const QString& file) {
        return file.endsWith(QLatin1String("page.html"))
                   ? QStringList{QStringLiteral("|intro| (1): Intro"),
                                 QStringLiteral("|more| (2, id): More | less"),
                                 QStringLiteral("|f(x)| (3): Function")}
                   : QStringList();
    });
}

void TestLinkDialogs::cleanup() {
    m_url.reset();
    const QStringList problems = m_script.problems() + m_elements.problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestLinkDialogs::selectFileGivesRelativeAddress_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("clipboard"); // the size, or empty: left alone
    QTest::newRow("parent folder") << int(tcNone) << "index.html"
                                   << "../index.html"
                                   << "";
    QTest::newRow("upper case") << int(tcUpper) << "index.html"
                                << "../INDEX.HTML"
                                << "";
    QTest::newRow("same folder") << int(tcNone) << "sub/page.html"
                                 << "page.html"
                                 << "";
    QTest::newRow("pdf puts its size on the clipboard") << int(tcLower) << "Doc.pdf"
                                                        << "../doc.pdf"
                                                        << "2,00 KiB";
}

void TestLinkDialogs::selectFileGivesRelativeAddress() {
    QFETCH(int, mode);
    QFETCH(QString, chosen);
    QFETCH(QString, address);
    QFETCH(QString, clipboard);
    m_case = TTextChange(mode);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    m_script.expectOpenName(m_site + chosen);
    whenModal([this](QDialog& dlg) {
        m_url->btnSelectFileClick();
        dlg.accept();
    });
    QString url, text, attr;
    QVERIFY(m_url->HtmlRef(QStringLiteral("Insert reference"), m_site + QStringLiteral("sub"), url,
                           text, attr));
    QCOMPARE(url, address);
    QCOMPARE(m_script.fileDialogs.last().title, QStringLiteral("Select local file"));
    QCOMPARE(m_script.fileDialogs.last().dir, m_site + QStringLiteral("sub/"));
    QCOMPARE(QApplication::clipboard()->text(),
             clipboard.isEmpty() ? QStringLiteral("before") : clipboard);
    QVERIFY(m_url->addressBox()->HistoryList()->items().contains(address));
}

void TestLinkDialogs::selectFileStartsAtTheAddress() {
    m_url->addressBox()->setEditText(QStringLiteral("../Doc.pdf#page=2"));
    m_script.expectOpenName(QString()); // cancelled
    QString url = QStringLiteral("../Doc.pdf#page=2"), text, attr;
    whenModal([this](QDialog& dlg) {
        m_url->btnSelectFileClick();
        QCOMPARE(m_url->addressBox()->currentText(), QStringLiteral("../Doc.pdf#page=2"));
        dlg.reject();
    });
    QVERIFY(!m_url->HtmlRef(QStringLiteral("Edit link"), m_site + QStringLiteral("sub/"), url, text,
                            attr));
    QCOMPARE(url, QStringLiteral("../Doc.pdf#page=2")); // Cancel changes nothing
    const TFileDialogArgs args = m_script.fileDialogs.last();
    QCOMPARE(QDir::cleanPath(args.dir), QDir::cleanPath(m_site));
    QCOMPARE(args.filterIndex, 1); // the PDF entry
}

void TestLinkDialogs::attributesReadAndRebuilt_data() {
    QTest::addColumn<QString>("attr");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("target"); // shown caption
    QTest::addColumn<QString>("rebuilt");
    QTest::newRow("title and target") << " title=\"Home\" target=\"_TOP\""
                                      << "Home"
                                      << "top window"
                                      << " title=\"Home\" target=\"_top\"";
    QTest::newRow("none") << ""
                          << ""
                          << "<none>"
                          << "";
    QTest::newRow("other attributes stay") << " class='nav' title=\"Home\" data-x=1"
                                           << "Home"
                                           << "<none>"
                                           << " class='nav' title=\"Home\" data-x=1";
    QTest::newRow("a named frame stays") << " target=\"content\""
                                         << ""
                                         << "content"
                                         << " target=\"content\"";
}

void TestLinkDialogs::attributesReadAndRebuilt() {
    QFETCH(QString, attr);
    QFETCH(QString, title);
    QFETCH(QString, target);
    QFETCH(QString, rebuilt);
    QString url = QStringLiteral("x.html"), text = QStringLiteral("text");
    whenModal([&](QDialog& dlg) {
        QCOMPARE(m_url->titleField()->text(), title);
        QCOMPARE(m_url->targetBox()->currentText(), target);
        QCOMPARE(m_url->textLabel()->text(), QStringLiteral("Text:"));
        QVERIFY(m_url->targetBox()->isVisible());
        dlg.accept();
    });
    QVERIFY(m_url->HtmlRef(QStringLiteral("Edit link"), m_site, url, text, attr));
    QCOMPARE(attr, rebuilt);
    QCOMPARE(url, QStringLiteral("x.html"));
    QCOMPARE(text, QStringLiteral("text"));
}

void TestLinkDialogs::lastLocalFile_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("last"); // "@" for the site folder; "-" unchanged
    QTest::newRow("local with anchor") << "sub/page.html#intro"
                                       << "@sub/page.html";
    QTest::newRow("secure address") << "https://example.org/a.pdf#x"
                                    << "-";
    QTest::newRow("mail") << "mailto:a@b.org"
                          << "-";
}

void TestLinkDialogs::lastLocalFile() {
    QFETCH(QString, url);
    QFETCH(QString, last);
    QString before = m_site + QStringLiteral("index.html");
    QString first = QStringLiteral("index.html"), text, attr;
    whenModal([](QDialog& dlg) { dlg.accept(); });
    QVERIFY(m_url->HtmlRef(QStringLiteral("Insert reference"), m_site, first, text, attr));
    QCOMPARE(m_url->LastLocalFile(), before);
    whenModal([](QDialog& dlg) { dlg.accept(); });
    QVERIFY(m_url->HtmlRef(QStringLiteral("Insert reference"), m_site, url, text, attr));
    QCOMPARE(m_url->LastLocalFile(),
             last == QLatin1String("-") ? before : QString(last).replace(u'@', m_site));
}

void TestLinkDialogs::anchorButtonFollowsTheAddress() {
    QString url = QStringLiteral("sub/page.html"), text, attr;
    whenModal([this](QDialog& dlg) {
        QVERIFY(m_url->anchorButton()->isEnabled());
        m_url->addressBox()->setEditText(QStringLiteral("sub"));
        QVERIFY(!m_url->anchorButton()->isEnabled()); // a folder
        m_url->addressBox()->setEditText(QString());
        QVERIFY(!m_url->anchorButton()->isEnabled());
        m_url->addressBox()->setEditText(QStringLiteral("https://example.org/index.html"));
        QVERIFY(!m_url->anchorButton()->isEnabled());
        m_url->addressBox()->setEditText(QStringLiteral("index.html#x"));
        QVERIFY(m_url->anchorButton()->isEnabled());
        dlg.reject();
    });
    QVERIFY(!m_url->HtmlRef(QStringLiteral("Insert reference"), m_site, url, text, attr));
}

void TestLinkDialogs::addLocalAnchorFromTheFile() {
    m_elements.expect(Kind::FromList, {QStringLiteral("more (2, id): More  less")});
    QString url = QStringLiteral("sub/page.html#old"), text, attr;
    whenModal([this](QDialog& dlg) {
        m_url->btnAnchorClick();
        dlg.accept();
    });
    QVERIFY(m_url->HtmlRef(QStringLiteral("Insert reference"), m_site, url, text, attr));
    // Only the part after the "#" changes; the entries come without their "|".
    QCOMPARE(url, QStringLiteral("sub/page.html#more"));
    QCOMPARE(m_elements.shown.last(), QStringLiteral("Select local anchor"));
    QCOMPARE(m_elements.given.last(),
             QStringLiteral("intro (1): Intro,more (2, id): More  less,f(x) (3): Function"));
    QCOMPARE(m_elements.descriptions.last(), QStringLiteral("sub/page.html"));
    QVERIFY(m_elements.places.last().has_value()); // at the button
    // A name that holds a parenthesis is taken whole.
    m_elements.expect(Kind::FromList, {QStringLiteral("f(x) (3): Function")});
    whenModal([this](QDialog& dlg) {
        m_url->btnAnchorClick();
        dlg.accept();
    });
    QVERIFY(m_url->HtmlRef(QStringLiteral("Insert reference"), m_site, url, text, attr));
    QCOMPARE(url, QStringLiteral("sub/page.html#f(x)"));
}

void TestLinkDialogs::addLocalAnchorPromptsWithoutAnchors() {
    m_anchorHistory = {QStringLiteral("top")};
    m_elements.expect(Kind::Text, {QStringLiteral("chapter2 (7)")});
    QString url = QStringLiteral("index.html"), text, attr;
    whenModal([this](QDialog& dlg) {
        m_url->btnAnchorClick();
        dlg.accept();
    });
    QVERIFY(m_url->HtmlRef(QStringLiteral("Insert reference"), m_site, url, text, attr));
    QCOMPARE(url, QStringLiteral("index.html#chapter2"));
    QCOMPARE(m_elements.shown.last(), QStringLiteral("Goto anchor|Name:"));
    QCOMPARE(m_elements.offered.last(), QStringList{QStringLiteral("top")});
    QCOMPARE(m_anchorHistory.first(), QStringLiteral("chapter2 (7)"));
}

void TestLinkDialogs::addLocalAnchorWithTheAnchorReader() {
    TURLEingabeDialog dlg(m_script, m_elements); // with the reader of the search
    m_elements.expect(Kind::FromList, {QStringLiteral("more (2, id): More  less")});
    QString url = QStringLiteral("page.html"), text, attr;
    whenModal([&dlg](QDialog& shown) {
        dlg.btnAnchorClick();
        shown.accept();
    });
    QVERIFY(dlg.HtmlRef(QStringLiteral("Insert reference"), m_site + QStringLiteral("sub/"), url,
                        text, attr));
    QCOMPARE(m_elements.given.last(), QStringLiteral("intro (1): Intro,more (2, id): More  less"));
    QCOMPARE(url, QStringLiteral("page.html#more"));
}

void TestLinkDialogs::dialogsKeepTheirSections() {
    QTemporaryDir home;
    const QString iniName = home.path() + QStringLiteral("/orvel.ini");
    TQtElementDialogs dialogs;
    dialogs.setDialogs(&m_script);
    dialogs.loadSettings(TUnicodeIniFile::CreateForRead(iniName));
    QVERIFY(dialogs.lastLocalFile().isEmpty());
    QString url = QStringLiteral("sub/page.html#intro"), text, attr;
    whenModal([](QDialog& dlg) { dlg.accept(); });
    QVERIFY(dialogs.htmlRef(QStringLiteral("Insert reference"), m_site, url, text, attr));
    QCOMPARE(dialogs.lastLocalFile(), m_site + QStringLiteral("sub/page.html"));
    QString link = QStringLiteral("frame.html"), name = QStringLiteral("main");
    whenModal([](QDialog& dlg) { dlg.accept(); });
    QVERIFY(dialogs.linkDialog(QStringLiteral("Frame contents"), QStringLiteral("Name:"), QString(),
                               m_site, link, name));
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(iniName);
        dialogs.saveSettings(ini);
        QVERIFY(ini.UpdateFile().ok());
    }
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(iniName);
    QCOMPARE(ini.ReadString(QStringLiteral("UrlList"), QStringLiteral("History0"), QString()),
             QStringLiteral("sub/page.html#intro"));
    QCOMPARE(ini.ReadString(QStringLiteral("UrlList"), QStringLiteral("FileFilter"), QString()),
             TURLEingabeDialog::defFilter());
    QCOMPARE(ini.ReadString(QStringLiteral("LinkList"), QStringLiteral("History0"), QString()),
             QStringLiteral("frame.html"));
}

void TestLinkDialogs::areaModeOffersTheCallersAnchors() {
    m_elements.expect(Kind::FromList, {QStringLiteral("part2")});
    QString url = QStringLiteral("#part1"), alt = QStringLiteral("Map"),
            title = QStringLiteral("Old");
    whenModal([this](QDialog& dlg) {
        QCOMPARE(m_url->textLabel()->text(), QStringLiteral("Alt:"));
        QVERIFY(!m_url->targetBox()->isVisible());
        QCOMPARE(m_url->titleField()->text(), QStringLiteral("Old"));
        QVERIFY(m_url->anchorButton()->isEnabled());
        m_url->btnAnchorClick();
        m_url->textField()->setText(QStringLiteral("Part two"));
        m_url->btnCopyTitleClick();
        dlg.accept();
    });
    const QString lastBefore = m_url->LastLocalFile();
    QVERIFY(m_url->AreaRef(QStringLiteral("Area"), m_site,
                           {QStringLiteral("part1"), QStringLiteral("part2")}, url, alt, title));
    QCOMPARE(url, QStringLiteral("#part2"));
    QCOMPARE(alt, QStringLiteral("Part two"));
    QCOMPARE(title, QStringLiteral("Part two"));
    QCOMPARE(m_url->LastLocalFile(), lastBefore);
}

void TestLinkDialogs::fileFilterEditedAndKept() {
    QCOMPARE(m_url->fileFilter(), TURLEingabeDialog::defFilter());
    QTemporaryDir home;
    const QString iniName = home.path() + QStringLiteral("/orvel.ini");
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(iniName);
        m_url->LoadFromIni(ini, QStringLiteral("UrlList"));
    }
    QString url = QStringLiteral("a.html"), text, attr;
    whenModal([this](QDialog& urlDlg) {
        whenModal([&urlDlg](QDialog& filterDlg) {
            auto* editor = qobject_cast<TFileFilterDialog*>(&filterDlg);
            QVERIFY(editor);
            QCOMPARE(editor->windowTitle(), QStringLiteral("File filter for links"));
            QCOMPARE(editor->findChild<QTableWidget*>()->item(1, 1)->text(),
                     QStringLiteral("*.pdf"));
            editor->setFilter(QStringLiteral("Pages|*.html|Images|*.png;*.gif"));
            editor->accept();
            QTimer::singleShot(0, &urlDlg, &QDialog::accept);
        });
        m_url->btnFilterClick();
    });
    QVERIFY(m_url->HtmlRef(QStringLiteral("Insert reference"), m_site, url, text, attr));
    const QString edited = QStringLiteral("Pages (*.html)|*.html|Images (*.png;*.gif)|*.png;*.gif");
    QCOMPARE(m_url->fileFilter(), edited);
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(iniName);
        m_url->SaveToIni(ini);
        QVERIFY(ini.UpdateFile().ok());
    }
    TURLEingabeDialog again(m_script, m_elements);
    again.LoadFromIni(TUnicodeIniFile::CreateForRead(iniName), QStringLiteral("UrlList"));
    QCOMPARE(again.fileFilter(), edited);
    QCOMPARE(again.addressBox()->HistoryList()->items(), QStringList{QStringLiteral("a.html")});
}

void TestLinkDialogs::linkDialogWithoutHint() {
    TLinkDialog dlg(m_script);
    writeFile(m_site + QStringLiteral("img/back ground.png"), "png");
    m_script.expectOpenName(m_site + QStringLiteral("img/back ground.png"));
    QString link = QStringLiteral("old.png"), text = QStringLiteral("kept");
    QVERIFY(dlg.Execute(QStringLiteral("Background image"), QString(),
                        QStringLiteral("GIF|*.gif|JPEG|*.jpg|PNG|*.png"),
                        m_site + QStringLiteral("sub"), link, text));
    QCOMPARE(link, QStringLiteral("../img/back%20ground.png"));
    QCOMPARE(text, QStringLiteral("kept"));
    QCOMPARE(m_script.fileDialogs.last().title, QStringLiteral("Background image"));
    QCOMPARE(m_script.fileDialogs.last().dir, m_site + QStringLiteral("sub/"));
    QCOMPARE(dlg.addressBox()->HistoryList()->at(0),
             m_site + QStringLiteral("img/back ground.png"));
    m_script.expectOpenName(QString());
    QVERIFY(
        !dlg.Execute(QStringLiteral("Background image"), QString(), QString(), m_site, link, text));
    QCOMPARE(link, QStringLiteral("../img/back%20ground.png"));
}

void TestLinkDialogs::linkDialogWithHint() {
    TLinkDialog dlg(m_script);
    m_script.expectOpenName(m_site + QStringLiteral("index.html"));
    QString link, name = QStringLiteral("main");
    whenModal([&](QDialog& shown) {
        QCOMPARE(shown.windowTitle(), QStringLiteral("Frame contents"));
        QCOMPARE(dlg.textField()->text(), QStringLiteral("main"));
        dlg.btnFileClick();
        dlg.textField()->setText(QStringLiteral("content"));
        shown.accept();
    });
    QVERIFY(dlg.Execute(QStringLiteral("Frame contents"), QStringLiteral("Name:"), QString(),
                        m_site + QStringLiteral("sub/"), link, name));
    QCOMPARE(link, QStringLiteral("../index.html"));
    QCOMPARE(name, QStringLiteral("content"));
    // A typed site-root address stays as it is.
    whenModal([&](QDialog& shown) {
        dlg.addressBox()->setEditText(QStringLiteral("/frames/top.html"));
        shown.accept();
    });
    QVERIFY(dlg.Execute(QStringLiteral("Frame contents"), QStringLiteral("Name:"), QString(),
                        m_site, link, name));
    QCOMPARE(link, QStringLiteral("/frames/top.html"));
}

void TestLinkDialogs::listPicker() {
    TSelectFromListDialog picker;
    const QStringList items{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QString text = QStringLiteral("b");
    whenModal([&](QDialog&) {
        QCOMPARE(picker.list()->currentItem()->text(), QStringLiteral("b"));
        QVERIFY(picker.promptButton()->isHidden());
        picker.list()->setCurrentRow(2);
        emit picker.list()->itemDoubleClicked(picker.list()->item(2));
    });
    QCOMPARE(picker.Select(QPoint(10, 10), QStringLiteral("Pick"), QStringLiteral("desc"),
                           QString(), QString(), items, text),
             srOK);
    QCOMPARE(text, QStringLiteral("c"));
    whenModal([&](QDialog&) {
        QVERIFY(!picker.promptButton()->isHidden());
        picker.promptButton()->click();
    });
    QCOMPARE(picker.Select(QPoint(10, 10), QStringLiteral("Pick"), QString(), QString(),
                           QStringLiteral("Other .."), items, text),
             srPrompt);
    QCOMPARE(text, QStringLiteral("c"));
    whenModal([](QDialog& dlg) { dlg.reject(); });
    QCOMPARE(picker.Select(QPoint(10, 10), QStringLiteral("Pick"), QString(), QString(), QString(),
                           items, text),
             srCancel);
}

void TestLinkDialogs::commandEditsLinkInPlace_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("answer"); // address, text, attributes
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("after");
    QTest::newRow("every other attribute byte for byte")
        << "<a id=\"x\" class='nav' href='old.html' rel=next data-x=\"1\">Old</a>"
        << QStringList{"new.html", "Old", " id=\"x\" class='nav' rel=next data-x=\"1\""}
        << "old.html|Old| id=\"x\" class='nav' rel=next data-x=\"1\""
        << "<a id=\"x\" class='nav' href='new.html' rel=next data-x=\"1\">Old</a>";
    QTest::newRow("a bar of the text stays a bar")
        << "<a href=\"a.html\">A | B</a>" << QStringList{"a.html", "A | C", ""} << "a.html|A | B|"
        << "<a href=\"a.html\">A | C</a>";
    QTest::newRow("bars for line breaks")
        << "<a href=\"a.html\">one\ntwo</a>" << QStringList{"a.html", "one|three", ""}
        << "a.html|one|two|"
        << "<a href=\"a.html\">one\nthree</a>";
    QTest::newRow("emoji in the text, the rest of the line kept")
        << "<a href=\"a.html\">\U0001F600 x</a> tail" << QStringList{"b.html", "\U0001F600 x", ""}
        << "a.html|\U0001F600 x|"
        << "<a href=\"b.html\">\U0001F600 x</a> tail";
    QTest::newRow("a bracket in a quoted value")
        << "<a href=\"a.html\" title=\"1 > 0\">t</a>"
        << QStringList{"b.html", "t", " title=\"1 > 0\""} << "a.html|t| title=\"1 > 0\""
        << "<a href=\"b.html\" title=\"1 > 0\">t</a>";
    QTest::newRow("a named anchor gets no empty address")
        << "<a name=\"top\">Top</a>" << QStringList{"", "Top", " name=\"top\""}
        << "|Top| name=\"top\""
        << "<a name=\"top\">Top</a>";
    QTest::newRow("a quote in a new title")
        << "<a href=\"a.html\">t</a>" << QStringList{"a.html", "t", " title=\"say &quot;hi&quot;\""}
        << "a.html|t|"
        << "<a href=\"a.html\" title=\"say &quot;hi&quot;\">t</a>";
}

void TestLinkDialogs::commandEditsLinkInPlace() {
    QFETCH(QString, before);
    QFETCH(QStringList, answer);
    QFETCH(QString, given);
    QFETCH(QString, after);
    Document doc(before.toUtf8());
    auto& [host, commands, form] = doc;
    form.TextBuffer()->setCaretXY({3, 1});
    Q_EMIT form.TextBuffer()->mouseDown(Qt::LeftButton, QPoint()); // marks the tag
    host.elements.expect(Kind::HtmlRef, answer);
    form.ActionEditTagExecute();
    QCOMPARE(host.elements.given.last(), given);
    QCOMPARE(form.TextBuffer()->text(), after);
    form.TextBuffer()->undo();
    QCOMPARE(form.TextBuffer()->text(), before); // one step
    QVERIFY2(host.problems().isEmpty(), qPrintable(host.problems().join(u'\n')));
}

void TestLinkDialogs::commandLinkQuotesTheAddress() {
    Document doc("x A|B y");
    auto& [host, commands, form] = doc;
    form.TextBuffer()->setSelection({3, 1}, {6, 1});
    host.elements.expect(Kind::HtmlRef, {"a\".html", "A|B", " title=\"T\""});
    commands.run(cmd::ActionLink);
    QCOMPARE(host.elements.given.last(), QStringLiteral("|A|B|"));
    QCOMPARE(form.TextBuffer()->text(),
             QStringLiteral("x <a href=\"a&quot;.html\" title=\"T\">A|B</a> y"));
    QVERIFY2(host.problems().isEmpty(), qPrintable(host.problems().join(u'\n')));
}

void TestLinkDialogs::commandBackgroundImage() {
    Document doc("<body>");
    auto& [host, commands, form] = doc;
    form.TextBuffer()->setCaretXY({6, 1});
    host.elements.expect(Kind::Link, {"img/a\"b.png", ""});
    commands.run(cmd::ActionBgImg);
    QCOMPARE(host.elements.shown.last(), QStringLiteral("Background image"));
    QCOMPARE(form.TextBuffer()->text(), QStringLiteral("<body background=\"img/a&quot;b.png\">"));
    QVERIFY2(host.problems().isEmpty(), qPrintable(host.problems().join(u'\n')));
}

QTEST_MAIN(TestLinkDialogs)
#include "tst_linkdialogs.moc"
