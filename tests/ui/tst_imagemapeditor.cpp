// The image map editor driven by the mouse: shapes drawn, moved, resized, linked and deleted
// are written as the expected <map> text and read back into the same shapes; and the
// document's image map command reads the map from the text and writes it back.

#include "TestDocument.h"
#include "base/core/IniFileUtils.h"
#include "dialogs/core/ImageMapText.h"
#include "dialogs/ui/ImgMapEdit.h"
#include "editor/ui/OrvelMDI.h"
#include "editor/ui/TagEngine.h"
#include "textcontrol/ui/EditorControl.h"

#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;
using Kind = orvel::test::ScriptedElementDialogs::Kind;

class TestImageMapEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void drawnMapWrittenAndReadBack();
    void moveResizeLinkDelete();
    void refusesWhatIsNoImage();
    void geometryInTheSettings();
    void newMapBeforeTheImage();
    void existingMapReplaced();
    void cancelChangesNothing();
    void editTagOnAnImage_data();
    void editTagOnAnImage();

private:
    void drag(QPoint from, QPoint to);
    void click(QPoint at);
    QTemporaryDir m_dir;
    QString m_folder;
    test::ScriptedDialogs m_script;
    std::unique_ptr<TImageMapEditor> m_ed;
};

void TestImageMapEditor::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path() + u'/';
    QCOMPARE(QProcess::execute("convert", {"-size", "200x100", "gradient:yellow-green",
                                           m_dir.filePath("pic.png")}),
             0);
}

void TestImageMapEditor::init() {
    m_script.reset();
    m_ed = std::make_unique<TImageMapEditor>();
    m_ed->setDialogs(&m_script);
}

void TestImageMapEditor::cleanup() {
    m_ed.reset();
    const QStringList problems = m_script.problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestImageMapEditor::drag(QPoint from, QPoint to) {
    QWidget* c = m_ed->canvas();
    QTest::mousePress(c, Qt::LeftButton, {}, from);
    QTest::mouseMove(c, (from + to) / 2);
    QTest::mouseMove(c, to);
    QTest::mouseRelease(c, Qt::LeftButton, {}, to);
}

void TestImageMapEditor::click(QPoint at) {
    QTest::mouseClick(m_ed->canvas(), Qt::LeftButton, {}, at);
}

void TestImageMapEditor::drawnMapWrittenAndReadBack() {
    QVERIFY(m_ed->begin(m_folder, "pic.png", "nav", {}, {}));
    QCOMPARE(m_ed->windowTitle(), QString("Image-Map-Editor - Map: nav"));
    m_ed->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ed.get()));
    m_ed->setDrawMode(dmRect);
    drag({60, 40}, {10, 10}); // right to left, bottom to top
    m_ed->setDrawMode(dmCircle);
    drag({120, 50}, {140, 70});
    QCOMPARE(m_ed->coordinatesText(), QString("M=(130,60) R=10"));
    m_ed->setDrawMode(dmPoly);
    click({20, 60});
    click({60, 60});
    click({40, 90});
    QCOMPARE(m_ed->coordinatesText(), QString("(20,60),(60,60),(40,90)"));
    m_ed->setDrawMode(dmCursor); // ends the polygon
    QCOMPARE(m_ed->areas().size(), 3);
    QTest::mouseMove(m_ed->canvas(), {30, 20});
    QCOMPARE(m_ed->coordinatesText(), QString("x=30 y=20"));
    QCOMPARE(m_ed->hintText(), QString()); // no alt and no link yet

    TImageMap map;
    map.name = "nav";
    map.areas = m_ed->finish();
    const QString text = writeImageMap(map, 2, m_ed->image().size(), "\n");
    QCOMPARE(text,
             QString("<map name=\"nav\">\n"
                     "  <area shape=\"rect\" coords=\"60,40,10,10\" alt=\"Bereich 1\">\n"
                     "  <area shape=\"circle\" coords=\"130,60,10\" alt=\"Bereich 2\">\n"
                     "  <area shape=\"poly\" coords=\"20,60,60,60,40,90\" alt=\"Bereich 3\">\n"
                     "</map>"));
    QCOMPARE(findImageMap(text, "NAV").map.areas, map.areas);

    const QString folder = qEnvironmentVariable("ORVEL_SCREENSHOTS");
    if (!folder.isEmpty()) {
        m_ed->resize(420, 260);
        QVERIFY(m_ed->grab().toImage().save(folder + "/image-map-editor.png"));
    }
}

void TestImageMapEditor::moveResizeLinkDelete() {
    TAreaList areas;
    TAreaDataObject r(asRect), p(asPoly);
    r.Points = {{10, 10}, {50, 40}};
    p.Points = {{100, 10}, {150, 10}, {150, 60}, {100, 60}};
    areas << r << p;
    QVERIFY(m_ed->begin(m_folder, "pic.png", "m", {"top", "end"}, areas));
    m_ed->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ed.get()));
    // Moved by the drag; not beyond the image's left edge.
    drag({30, 20}, {40, 35});
    QCOMPARE(m_ed->areas().at(0).Points, (QList<QPoint>{{20, 25}, {60, 55}}));
    // Two steps to the left: the first fits, the second would leave the image.
    drag({30, 40}, {0, 40});
    QCOMPARE(m_ed->areas().at(0).Points, (QList<QPoint>{{5, 25}, {45, 55}}));
    // The bottom-right corner resized.
    drag({45, 55}, {80, 70});
    QCOMPARE(normalizedRect(m_ed->areas().at(0).Points.at(0), m_ed->areas().at(0).Points.at(1)),
             QRect(QPoint(5, 25), QPoint(80, 70)));
    // A link for the polygon, the anchors offered.
    QStringList offered;
    QString caption;
    m_ed->setLinkEditor([&](const QString& shownCaption, const QString&, const QStringList& anchors,
                            TAreaDataObject& area) {
        offered = anchors;
        caption = shownCaption;
        area.Link = "#end";
        area.Alt = "Box";
        return true;
    });
    m_ed->setDrawMode(dmLink);
    click({125, 35});
    QCOMPARE(offered, (QStringList{"top", "end"}));
    QCOMPARE(caption, QString("Link for selected region"));
    QCOMPARE(m_ed->areas().at(1).Link, QString("#end"));
    // Deleting: a vertex first, then down at three vertices the whole area.
    m_ed->setDrawMode(dmDelete);
    m_script.expectAsk("Delete point?", mrYes);
    click({150, 60});
    QCOMPARE(m_ed->areas().at(1).PtCnt(), 3);
    m_script.expectAsk("Delete region?", mrNo);
    click({100, 10});
    QCOMPARE(m_ed->areas().size(), 2);
    m_script.expectAsk("Delete region?", mrYes);
    click({100, 10});
    QCOMPARE(m_ed->areas().size(), 1);
}

void TestImageMapEditor::refusesWhatIsNoImage() {
    QFile bad(m_dir.filePath("bad.png"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("\x89PNG broken");
    bad.close();
    m_script.expectError("Invalid image format!");
    QVERIFY(!m_ed->begin(m_folder, "bad.png", "m", {}, {}));
    m_script.expectError("not found!");
    QVERIFY(!m_ed->begin(m_folder, "none.png", "m", {}, {}));
}

void TestImageMapEditor::geometryInTheSettings() {
    const QString ini = m_dir.filePath("settings.ini");
    {
        TUnicodeIniFile w = TUnicodeIniFile::CreateForWrite(ini);
        m_ed->setGeometry(30, 40, 500, 300);
        m_ed->SaveToIni(w, "ImageMap");
        QVERIFY(w.UpdateFile().ok());
    }
    const TUnicodeIniFile r = TUnicodeIniFile::CreateForRead(ini);
    QCOMPARE(r.ReadInteger("ImageMap", "Width", 0), 500);
    QCOMPARE(r.ReadInteger("ImageMap", "State", -1), 0);
    TImageMapEditor other;
    other.LoadFromIni(r, "ImageMap");
    QCOMPARE(other.geometry().size(), QSize(500, 300));
}

namespace {
struct Doc {
    test::TestDocumentContext host;
    test::TestCommands commands{host};
    std::unique_ptr<TMDIForm> form;
    Doc(const QString& folder, const QString& text, TBufferCoord caret) {
        form = std::make_unique<TMDIForm>(host, ftHtml, 1);
        form->setTextPath(folder);
        form->TextBuffer()->loadUtf8(text.toUtf8(), lbLF);
        form->TextBuffer()->setTabWidth(2);
        form->TextBuffer()->setCaretXY(caret);
        commands.attach(*form);
        Q_EMIT form->TextBuffer()->mouseDown(Qt::LeftButton, QPoint()); // marks the tag
    }
    QString text() const { return form->TextBuffer()->text(); }
};
} // namespace

void TestImageMapEditor::newMapBeforeTheImage() {
    Doc d(m_folder, "<p id=\"top\">\n  <img src=\"pic.png\" alt=\"x\" loading=lazy>\n</p>",
          {10, 2});
    d.host.elements.expect(Kind::Text, {"nav"});
    d.host.elements.expect(Kind::ImageMap, {"rect;10,10,50,40;a.html;A;", "circle;300,50,9;;;"});
    d.commands.run(cmd::ActionImageMap);
    QCOMPARE(d.host.elements.given.last(), QString("pic.png|nav|"));
    QCOMPARE(d.host.elements.mapAnchors.last(), QStringList{"top"});
    // The circle's centre is held inside the 200 by 100 image.
    QCOMPARE(d.text(), QString("<p id=\"top\">\n<map name=\"nav\">\n"
                               "  <area shape=\"rect\" coords=\"10,10,50,40\" href=\"a.html\" "
                               "alt=\"A\">\n"
                               "  <area shape=\"circle\" coords=\"199,50,9\">\n"
                               "</map>\n"
                               "  <img src=\"pic.png\" alt=\"x\" loading=lazy usemap=\"#nav\">\n"
                               "</p>"));
    // One step undoes the map and the usemap together.
    d.form->TextBuffer()->undo();
    QCOMPARE(d.text(),
             QString("<p id=\"top\">\n  <img src=\"pic.png\" alt=\"x\" loading=lazy>\n</p>"));
    QVERIFY2(d.host.problems().isEmpty(), qPrintable(d.host.problems().join(u'\n')));
}

void TestImageMapEditor::existingMapReplaced() {
    const QString before = "<map id=\"k\"\nname=\"Nav\">\n<area\nshape=\"rect\" "
                           "coords=\"1,2,3,4\"\nhref='x.html' target=_top>\n"
                           "<area shape=circle coords=\"100, 50, 20\">\n</map>\n"
                           "<img src=\"pic.png\" usemap=\"#nav\" class=\"c\">";
    Doc d(m_folder, before, {8, 8});
    d.host.elements.expect(Kind::ImageMap, {"rect;1,2,3,4;y.html;Y;", "circle;100,50,20;;C;"});
    d.commands.run(cmd::ActionImageMap);
    // Both areas were read, the one after a line break too.
    QCOMPARE(d.host.elements.given.last(),
             QString("pic.png|nav|rect;1,2,3,4;x.html;;/circle;100,50,20;;;"));
    // The scripted editor gives fresh areas: what the real one carries (target) is in the
    // core's tests; the image element is untouched.
    QCOMPARE(d.text(), QString("<map name=\"Nav\" id=\"k\">\n"
                               "  <area shape=\"rect\" coords=\"1,2,3,4\" href=\"y.html\" "
                               "alt=\"Y\">\n"
                               "  <area shape=\"circle\" coords=\"100,50,20\" alt=\"C\">\n"
                               "</map>\n"
                               "<img src=\"pic.png\" usemap=\"#nav\" class=\"c\">"));
    QVERIFY2(d.host.problems().isEmpty(), qPrintable(d.host.problems().join(u'\n')));
}

void TestImageMapEditor::cancelChangesNothing() {
    const QString before = "<img src=\"pic.png\">";
    Doc d(m_folder, before, {5, 1});
    d.host.elements.expectCancel(Kind::Text);
    d.commands.run(cmd::ActionImageMap);
    d.host.elements.expect(Kind::Text, {"m"});
    d.host.elements.expectCancel(Kind::ImageMap);
    d.commands.run(cmd::ActionImageMap);
    QCOMPARE(d.text(), before);
    QCOMPARE(d.form->TextBuffer()->caretXY(), (TBufferCoord{5, 1}));
    QVERIFY2(d.host.problems().isEmpty(), qPrintable(d.host.problems().join(u'\n')));
}

void TestImageMapEditor::editTagOnAnImage_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("answer"); // image and attribute text
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("after");
    const QString lazy = "<img src=\"a.png\" srcset=\"a-2x.png 2x\" loading=\"lazy\" "
                         "data-id=\"7\" alt=\"\">";
    const QString lazyAttrs = " srcset=\"a-2x.png 2x\" loading=\"lazy\" data-id=\"7\" alt=\"\"";
    QTest::newRow("no change, nothing written")
        << lazy << QStringList{"a.png", lazyAttrs} << "a.png|" + lazyAttrs << lazy;
    QTest::newRow("new reference, the rest as written")
        << "<IMG SRC='a.png' width=10 />" << QStringList{"b's.png", " width=10 "}
        << "a.png| width=10 "
        << "<IMG SRC='b&#39;s.png' width=10 />";
    QTest::newRow("src not first: written first once changed")
        << "<img alt=\"x\" src=\"a.png\">" << QStringList{"a.png", " alt=\"y\""}
        << "a.png| alt=\"x\""
        << "<img src=\"a.png\" alt=\"y\">";
    QTest::newRow("unquoted reference changed gets quotes")
        << "<img src=a.png alt=x>" << QStringList{"my pic.png", " alt=x"} << "a.png| alt=x"
        << "<img src=\"my pic.png\" alt=x>";
}

void TestImageMapEditor::editTagOnAnImage() {
    QFETCH(QString, before);
    QFETCH(QStringList, answer);
    QFETCH(QString, given);
    QFETCH(QString, after);
    Doc d(m_folder, "<p>" + before + "</p>", {7, 1});
    d.host.elements.expect(Kind::Image, answer);
    d.form->ActionEditTagExecute();
    QCOMPARE(d.host.elements.given.last(), given);
    QCOMPARE(d.text(), "<p>" + after + "</p>");
    QVERIFY2(d.host.problems().isEmpty(), qPrintable(d.host.problems().join(u'\n')));
}

QTEST_MAIN(TestImageMapEditor)
#include "tst_imagemapeditor.moc"
