// Image maps: areas read from a document's <map> block in any of the ways HTML allows, written
// back inside the image, and the editor's geometry (hits, handles, moves, resizes, deletions).

#include "dialogs/core/ImageMapText.h"

#include <QTest>

using namespace orvel;

Q_DECLARE_METATYPE(orvel::TAreaDataObject)

namespace {
TAreaDataObject area(TAreaShape shape, QList<QPoint> points, QString link = {}, QString alt = {}) {
    TAreaDataObject a(shape);
    a.Points = std::move(points);
    a.Link = std::move(link);
    a.Alt = std::move(alt);
    return a;
}
} // namespace

class TestImageMap : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readAreas_data();
    void readAreas();
    void findsTheNamedMap();
    void writesAndReadsBack();
    void writeHoldsInsideTheImage();
    void usemap_data();
    void usemap();
    void hits_data();
    void hits();
    void moves();
    void resizes();
    void deletesVertices();
    void circleDrawn();
    void namesUnnamed();
};

void TestImageMap::readAreas_data() {
    QTest::addColumn<QString>("areaTag");
    QTest::addColumn<int>("shape");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("alt");

    QTest::newRow("circle with blanks after commas")
        << "<area shape=\"circle\" coords=\"100, 50, 20\" href=\"a.html\">" << int(asCircle)
        << QList<QPoint>{{100, 50}, {20, 0}} << "a.html"
        << "";
    QTest::newRow("rect, single quotes and spaced href")
        << "<AREA SHAPE='rect' COORDS='1,2,3,4' href = \"b.html\" alt='B'>" << int(asRect)
        << QList<QPoint>{{1, 2}, {3, 4}} << "b.html"
        << "B";
    QTest::newRow("shape missing is a rectangle")
        << "<area coords=\"5,6,7,8\">" << int(asRect) << QList<QPoint>{{5, 6}, {7, 8}} << ""
        << "";
    QTest::newRow("unknown shape is a rectangle")
        << "<area shape=\"blob\" coords=\"5,6,7,8\">" << int(asRect)
        << QList<QPoint>{{5, 6}, {7, 8}} << ""
        << "";
    QTest::newRow("polygon pairs, odd number ignored, tabs")
        << "<area\tshape=poly\tcoords=\"1,1,\t10,1,10,10,7\">" << int(asPoly)
        << QList<QPoint>{{1, 1}, {10, 1}, {10, 10}} << ""
        << "";
    QTest::newRow("not a number counts as 0") << "<area shape=rect coords=\"x,2,,4\">"
                                              << int(asRect) << QList<QPoint>{{0, 2}, {0, 4}} << ""
                                              << "";
    QTest::newRow("alt inside data-alt is not alt")
        << "<area data-alt=\"no\" shape=\"rect\" coords=\"0,0,1,1\">" << int(asRect)
        << QList<QPoint>{{0, 0}, {1, 1}} << ""
        << "";
}

void TestImageMap::readAreas() {
    QFETCH(QString, areaTag);
    QFETCH(int, shape);
    QFETCH(QList<QPoint>, points);
    QFETCH(QString, link);
    QFETCH(QString, alt);
    const TAreaDataObject a = readArea(areaTag);
    QCOMPARE(int(a.Shape), shape);
    QCOMPARE(a.Points, points);
    QCOMPARE(a.Link, link);
    QCOMPARE(a.Alt, alt);
}

void TestImageMap::findsTheNamedMap() {
    const QString text = "<p>\r\n<map name=\"other\"><area coords=\"9,9,9,9\"></map>\r\n"
                         "<MAP\r\nid=\"m\" NAME='Nav'>\r\n  <area\r\nshape=\"rect\" "
                         "coords=\"0,0,10,10\" href=\"a.html\" target=\"_top\">\r\n"
                         "  <area shape=circle coords=\"20,20,5\" alt=\"c\">\r\n</map>\r\n<p>";
    const TMapBlock block = findImageMap(text, "nav");
    QVERIFY(block.start > 0);
    QCOMPARE(text.mid(block.start, 4), QString("<MAP"));
    QCOMPARE(text.mid(block.end - 6, 6), QString("</map>"));
    QCOMPARE(block.map.name, QString("Nav"));
    QCOMPARE(block.map.areas.size(), 2); // the area after a line break is not lost
    QCOMPARE(block.map.areas.at(0).Other.size(), 1);
    QCOMPARE(block.map.areas.at(0).Other.at(0).name, QString("target"));
    QCOMPARE(block.map.other.size(), 1); // id carried
    QCOMPARE(findImageMap(text, "missing").start, qsizetype(-1));
    QCOMPARE(findImageMap(text, "").start, qsizetype(-1));
    // "<mapping" is not a map.
    QCOMPARE(findImageMap(QString("<mapping name=\"x\"></map>"), "x").start, qsizetype(-1));
}

void TestImageMap::writesAndReadsBack() {
    TImageMap map;
    map.name = "a\"b";
    map.areas << area(asRect, {{10, 10}, {50, 40}}, "one.html", "One")
              << area(asCircle, {{100, 50}, {20, 0}}, "two.html#x", "")
              << area(asPoly, {{1, 1}, {60, 1}, {30, 70}}, "", "Three");
    map.areas[0].Other << THtmlAttribute{"target", "_blank", u'"', true};
    map.areas[2].Title = "Tri";
    const QString text = writeImageMap(map, 2, QSize(200, 100), "\n");
    QCOMPARE(text, QString("<map name=\"a&quot;b\">\n"
                           "  <area shape=\"rect\" coords=\"10,10,50,40\" href=\"one.html\" "
                           "alt=\"One\" target=\"_blank\">\n"
                           "  <area shape=\"circle\" coords=\"100,50,20\" href=\"two.html#x\">\n"
                           "  <area shape=\"poly\" coords=\"1,1,60,1,30,70\" alt=\"Three\" "
                           "title=\"Tri\">\n"
                           "</map>"));
    const TMapBlock back = findImageMap(text, "a&quot;b");
    QCOMPARE(back.map.areas, map.areas);
    QCOMPARE(escapedAttribute("<b> \"&amp;\""), QString("&lt;b&gt; &quot;&amp;&quot;"));
}

void TestImageMap::writeHoldsInsideTheImage() {
    TImageMap map;
    map.name = "m";
    map.areas << area(asRect, {{-5, 3}, {500, 99}}) << area(asPoly, {{1, 1}, {2, 2}})
              << area(asCircle, {{10, 200}, {900, 0}});
    const QString text = writeImageMap(map, 0, QSize(100, 50), "\n");
    // The two-vertex polygon is no area; everything else stays inside 100 by 50.
    QCOMPARE(text, QString("<map name=\"m\">\n"
                           "<area shape=\"rect\" coords=\"0,3,99,49\">\n"
                           "<area shape=\"circle\" coords=\"10,49,100\">\n"
                           "</map>"));
}

void TestImageMap::usemap_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("withMap");
    QTest::newRow("new map keeps every attribute")
        << "<img src=\"a.png\" alt=\"x\" loading=lazy data-k='v'>"
        << ""
        << "<img src=\"a.png\" alt=\"x\" loading=lazy data-k='v' usemap=\"#nav\">";
    QTest::newRow("old usemap replaced, not doubled") << "<img src=a.png usemap='#old' class=c>"
                                                      << "old"
                                                      << "<img src=a.png usemap='#nav' class=c>";
    QTest::newRow("usemap without # names no map") << "<img src=a.png usemap=\"old\">"
                                                   << ""
                                                   << "<img src=a.png usemap=\"#nav\">";
}

void TestImageMap::usemap() {
    QFETCH(QString, tag);
    QFETCH(QString, name);
    QFETCH(QString, withMap);
    QCOMPARE(usemapName(tag), name);
    QCOMPARE(imageWithUsemap(tag, "nav"), withMap);
}

void TestImageMap::hits_data() {
    QTest::addColumn<TAreaDataObject>("shape");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("handle"); // -2: no hit
    const TAreaDataObject rect = area(asRect, {{10, 10}, {50, 40}});
    const TAreaDataObject backwards = area(asRect, {{50, 40}, {10, 10}});
    const TAreaDataObject circle = area(asCircle, {{100, 100}, {20, 0}});
    const TAreaDataObject poly = area(asPoly, {{0, 0}, {40, 0}, {0, 40}});
    QTest::newRow("rect inside") << rect << QPoint(30, 20) << -1;
    QTest::newRow("rect outside") << rect << QPoint(51, 20) << -2;
    QTest::newRow("rect top-left corner") << rect << QPoint(12, 13) << 0;
    QTest::newRow("rect bottom-right corner") << rect << QPoint(49, 41) << 2;
    QTest::newRow("rect drawn backwards is hit") << backwards << QPoint(30, 20) << -1;
    QTest::newRow("rect drawn backwards, top-right") << backwards << QPoint(50, 10) << 1;
    QTest::newRow("circle inside") << circle << QPoint(105, 105) << -1;
    QTest::newRow("circle outside") << circle << QPoint(121, 100) << -2;
    QTest::newRow("circle handle lower-left") << circle << QPoint(86, 114) << 3;
    QTest::newRow("polygon inside") << poly << QPoint(10, 10) << -1;
    QTest::newRow("polygon outside") << poly << QPoint(30, 30) << -2;
    QTest::newRow("polygon vertex") << poly << QPoint(38, 3) << 1;
}

void TestImageMap::hits() {
    QFETCH(TAreaDataObject, shape);
    QFETCH(QPoint, point);
    QFETCH(int, handle);
    TAreaList areas{area(asRect, {{300, 300}, {310, 310}}), shape};
    areas[1].Alt = "Alt";
    areas[1].Link = "x.html";
    const TSelectedArea sel = hitTest(areas, point);
    QCOMPARE(sel.AreaNr, handle == -2 ? -1 : 1);
    if (handle != -2) {
        QCOMPARE(sel.PointNr, handle);
        QCOMPARE(sel.Hint, QString("Alt: x.html"));
    }
}

void TestImageMap::moves() {
    const QSize image(100, 80);
    TAreaDataObject r = area(asRect, {{50, 40}, {10, 10}});
    moveArea(r, {5, 5}, image);
    QCOMPARE(r.Points, (QList<QPoint>{{55, 45}, {15, 15}}));
    // Not along an axis on which it would leave the image.
    moveArea(r, {50, -10}, image);
    QCOMPARE(r.Points, (QList<QPoint>{{55, 35}, {15, 5}}));
    TAreaDataObject c = area(asCircle, {{20, 20}, {10, 0}});
    moveArea(c, {-15, 100}, image);
    QCOMPARE(c.Points, (QList<QPoint>{{20, 20}, {10, 0}}));
    TAreaDataObject p = area(asPoly, {{0, 0}, {10, 0}, {0, 10}});
    moveArea(p, {-5, 200}, image);
    QCOMPARE(p.Points, (QList<QPoint>{{0, 69}, {10, 69}, {0, 79}}));
}

void TestImageMap::resizes() {
    TAreaDataObject r = area(asRect, {{50, 40}, {10, 10}});
    // The top-left corner grabbed and dragged past the opposite one: the anchor holds.
    const QPoint anchor = resizeAnchor(r, 0);
    QCOMPARE(anchor, QPoint(50, 40));
    resizeArea(r, 0, anchor, {70, 60});
    QCOMPARE(normalizedRect(r.Points.at(0), r.Points.at(1)), QRect(QPoint(50, 40), QPoint(70, 60)));
    TAreaDataObject c = area(asCircle, {{100, 100}, {20, 0}});
    const QPoint corner = resizeAnchor(c, 2); // lower-right handle: the upper-left corner
    QCOMPARE(corner, QPoint(80, 80));
    resizeArea(c, 2, corner, {130, 110});
    // Side 1.18 * 50 = 59: centre in the middle of the square, radius half its side.
    QCOMPARE(c.Points, (QList<QPoint>{{109, 109}, {29, 0}}));
    TAreaDataObject p = area(asPoly, {{0, 0}, {10, 0}, {0, 10}});
    resizeArea(p, 1, {}, {20, 5});
    QCOMPARE(p.Points.at(1), QPoint(20, 5));
}

void TestImageMap::deletesVertices() {
    TAreaDataObject p = area(asPoly, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    QVERIFY(deleteVertex(p, 2));
    QCOMPARE(p.PtCnt(), 3);
    // Down to three: the area goes whole rather than a vertex.
    QVERIFY(!deleteVertex(p, 0));
    QCOMPARE(p.PtCnt(), 3);
    TAreaDataObject empty = area(asPoly, {});
    QVERIFY(deleteVertex(empty, 0)); // no vertex there: nothing to do, no wrap-around
}

void TestImageMap::circleDrawn() {
    const TAreaDataObject c = circleFromDrag({50, 50}, {30, 71});
    // Side 21, radius 10, placed from the start towards the pointer.
    QCOMPARE(c.Points, (QList<QPoint>{{40, 60}, {10, 0}}));
    QCOMPARE(areaCoordinatesText(c), QString("M=(40,60) R=10"));
    QCOMPARE(areaCoordinatesText(area(asRect, {{1, 2}, {3, 4}})), QString("LO=(1,2) RU=(3,4)"));
    QCOMPARE(areaCoordinatesText(area(asPoly, {{1, 2}, {3, 4}})), QString("(1,2),(3,4)"));
}

void TestImageMap::namesUnnamed() {
    TAreaList areas{area(asRect, {}, {}, {}), area(asRect, {}, {}, "Mine"), area(asRect, {})};
    nameUnnamedAreas(areas);
    QCOMPARE(areas.at(0).Alt, QString("Bereich 1"));
    QCOMPARE(areas.at(1).Alt, QString("Mine"));
    QCOMPARE(areas.at(2).Alt, QString("Bereich 3"));
}

QTEST_GUILESS_MAIN(TestImageMap)
#include "tst_imagemap.moc"
