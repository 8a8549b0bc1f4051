// Mouse events through the window system, so enter, leave and grabs happen as for a user.
#define QTEST_QPA_MOUSE_HANDLING

#include "app/ui/FileTabs.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <functional>

using namespace orvel;

namespace {
// A shown strip with a.html, b.css (modified) and c.js, whose tab data are 11, 12, 13, at
// the top of a window with room below it to move the mouse off the strip.
struct Strip {
    QWidget window;
    TFileTabBar* bar = new TFileTabBar(&window);

    Strip() {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(bar);
        layout->addStretch(1);
        const TTabInfo infos[] = {
            {"/site/a.html", ftHtml}, {"/site/css/b.css", ftCss}, {"/site/js/c.js", ftJs}};
        for (const TTabInfo& info : infos) {
            const int i = bar->addTab(QString());
            bar->setTabData(i, 11 + i);
            bar->setTabInfo(i, info);
        }
        bar->setTabModified(1, true);
        window.resize(600, 120);
    }
    bool show() {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
    // A named place: t0..t2 a tab's centre, t0b..t2b another point of that tab, gap the
    // strip right of the last tab, out the window below the strip.
    QPoint place(const QString& name) const {
        if (name == "gap")
            return {bar->width() - 5, bar->height() / 2};
        if (name == "out")
            return {bar->width() / 2, bar->height() + 30};
        const QRect r = bar->tabRect(name.mid(1, 1).toInt());
        return name.endsWith(u'b') ? r.topLeft() + QPoint(3, 3) : r.center();
    }
    // Positions are in the window; the bar sits at its top left.
    void move(const QString& name) { QTest::mouseMove(&window, place(name)); }

    QList<int> data() const {
        QList<int> out;
        for (int i = 0; i < bar->count(); ++i)
            out << bar->tabData(i).toInt();
        return out;
    }
    QStringList files() const {
        QStringList out;
        for (int i = 0; i < bar->count(); ++i)
            out << QFileInfo(bar->tabInfo(i).value_or(TTabInfo{}).Filename).fileName();
        return out;
    }
    QList<bool> modified() const {
        QList<bool> out;
        for (int i = 0; i < bar->count(); ++i)
            out << bar->isTabModified(i);
        return out;
    }
};

QList<int> firstArgs(const QSignalSpy& spy) {
    QList<int> out;
    for (const QList<QVariant>& args : spy)
        out << args.value(0).toInt();
    return out;
}

int countPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += test(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool isRed(QColor c) {
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}
bool isBlack(QColor c) {
    return c.red() < 30 && c.green() < 30 && c.blue() < 30;
}

// Acts on the popup menu open 200 ms from now and closes it; reports whether one was.
struct PopupWatch {
    QObject context; // a watch gone before its time takes its timer along
    QMenu* seen = nullptr;
    QPoint pos;
    QStringList texts;
    explicit PopupWatch(std::function<void(QMenu*)> act) {
        QTimer::singleShot(200, &context, [this, act] {
            seen = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!seen)
                return;
            pos = seen->pos();
            for (QAction* a : seen->actions())
                texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
            act(seen);
            seen->close();
        });
    }
};
} // namespace

class TestFileTabs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dragging_data();
    void dragging();
    void dropMark_data();
    void dropMark();
    void ctrlPress_data();
    void ctrlPress();
    void wheel_data();
    void wheel();
    void hover_data();
    void hover();
    void menuActions_data();
    void menuActions();
    void menuOpensOnTabsOnly_data();
    void menuOpensOnTabsOnly();
    void extrasFollowInsertAndRemove();
    void captions_data();
    void captions();
    void heightFollowsFont_data();
    void heightFollowsFont();
    void rendering();
    void typeIcons_data();
    void typeIcons();
};

void TestFileTabs::dragging_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("release");
    QTest::addColumn<QList<int>>("data");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<bool>>("modified");
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("dropped"); // from, to; empty when nothing moved

    const QList<int> same{11, 12, 13};
    const QStringList sameFiles{"a.html", "b.css", "c.js"};
    const QList<bool> sameMod{false, true, false};
    QTest::newRow("third onto first")
        << 2 << "t0" << QList<int>{13, 11, 12} << QStringList{"c.js", "a.html", "b.css"}
        << QList<bool>{false, false, true} << 0 << QList<int>{2, 0};
    QTest::newRow("first onto third")
        << 0 << "t2" << QList<int>{12, 13, 11} << QStringList{"b.css", "c.js", "a.html"}
        << QList<bool>{true, false, false} << 2 << QList<int>{0, 2};
    QTest::newRow("modified onto first")
        << 1 << "t0" << QList<int>{12, 11, 13} << QStringList{"b.css", "a.html", "c.js"}
        << QList<bool>{true, false, false} << 0 << QList<int>{1, 0};
    QTest::newRow("released outside")
        << 2 << "out" << same << sameFiles << sameMod << 2 << QList<int>{};
    QTest::newRow("released on the strip's free end")
        << 0 << "gap" << same << sameFiles << sameMod << 0 << QList<int>{};
    QTest::newRow("released over itself")
        << 1 << "t1" << same << sameFiles << sameMod << 1 << QList<int>{};
}

void TestFileTabs::dragging() {
    QFETCH(int, from);
    QFETCH(QString, release);
    Strip s;
    QVERIFY(s.show());
    QSignalSpy spy(s.bar, &TFileTabBar::tabDropped);

    QTest::mousePress(&s.window, Qt::LeftButton, {}, s.place(QString("t%1").arg(from)));
    QCOMPARE(s.bar->currentIndex(), from);
    QCOMPARE(s.bar->dragIndex(), from);
    QCOMPARE(s.bar->cursor().shape(), Qt::DragMoveCursor);
    s.move("t1");
    s.move(release);
    QTest::mouseRelease(&s.window, Qt::LeftButton, {}, s.place(release));

    QTEST(s.data(), "data");
    QTEST(s.files(), "files");
    QTEST(s.modified(), "modified");
    QTEST(s.bar->currentIndex(), "current");
    QFETCH(QList<int>, dropped);
    QCOMPARE(spy.size(), dropped.isEmpty() ? 0 : 1);
    if (!dropped.isEmpty())
        QCOMPARE((QList<int>{spy.at(0).at(0).toInt(), spy.at(0).at(1).toInt()}), dropped);
    QCOMPARE(s.bar->dragIndex(), -1);
    QVERIFY(!s.bar->testAttribute(Qt::WA_SetCursor));
}

void TestFileTabs::dropMark_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<int>("markedTab"); // -1: no mark anywhere
    QTest::addColumn<bool>("leftEdge");

    QTest::newRow("before the dragged tab") << 2 << QStringList{"t0"} << 0 << true;
    QTest::newRow("after the dragged tab") << 0 << QStringList{"t2"} << 2 << false;
    QTest::newRow("previous mark erased") << 2 << QStringList{"t0", "t1"} << 1 << true;
    QTest::newRow("back over itself") << 2 << QStringList{"t0", "t2"} << -1 << false;
    QTest::newRow("off the tabs") << 2 << QStringList{"t0", "out"} << -1 << false;
}

void TestFileTabs::dropMark() {
    QFETCH(int, from);
    QFETCH(QStringList, path);
    QFETCH(int, markedTab);
    QFETCH(bool, leftEdge);
    Strip s;
    QVERIFY(s.show());
    QTest::mousePress(&s.window, Qt::LeftButton, {}, s.place(QString("t%1").arg(from)));
    for (const QString& p : path)
        s.move(p);

    // Tabs with a 3 px black bar at their left and right edge.
    const auto marks = [&s](bool leftSide) {
        const QImage image = s.bar->grab().toImage();
        QList<int> out;
        for (int i = 0; i < s.bar->count(); ++i) {
            const QRect r = s.bar->tabRect(i);
            const int x = leftSide ? r.left() : r.right() - 2;
            if (countPixels(image, QRect(x, r.top(), 3, r.height()), isBlack) == 3 * r.height())
                out << i;
        }
        return out;
    };
    const QList<int> none;
    const QList<int> marked = markedTab < 0 ? none : QList<int>{markedTab};
    QCOMPARE(marks(true), leftEdge ? marked : none);
    QCOMPARE(marks(false), leftEdge ? none : marked);

    QTest::mouseRelease(&s.window, Qt::LeftButton, {}, s.place("out"));
    QCOMPARE(marks(true), none);
    QCOMPARE(marks(false), none);
}

void TestFileTabs::ctrlPress_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestFileTabs::ctrlPress() {
    QFETCH(Qt::MouseButton, button);
    Strip s;
    QVERIFY(s.show());
    QSignalSpy ctrl(s.bar, &TFileTabBar::ctrlClicked);
    QSignalSpy dropped(s.bar, &TFileTabBar::tabDropped);
    QSignalSpy changed(s.bar, &QTabBar::currentChanged);
    PopupWatch watch([](QMenu*) {});

    QTest::mousePress(&s.window, button, Qt::ControlModifier, s.place("t2"));
    QCOMPARE(ctrl.count(), 1);
    QCOMPARE(s.bar->dragIndex(), -1);
    s.move("t1");
    QTest::mouseRelease(&s.window, button, Qt::ControlModifier, s.place("t1"));
    QTest::qWait(300);
    QVERIFY2(!watch.seen, "no menu after a Ctrl press");
    QCOMPARE(s.bar->currentIndex(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(dropped.count(), 0);
    QCOMPARE(s.data(), (QList<int>{11, 12, 13}));
}

void TestFileTabs::wheel_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<int>("expected");

    QTest::newRow("down goes towards the start") << 2 << QList<int>{-120} << 1;
    QTest::newRow("up goes towards the end") << 0 << QList<int>{120} << 1;
    QTest::newRow("down at the first tab") << 0 << QList<int>{-120} << 0;
    QTest::newRow("up at the last tab") << 2 << QList<int>{120, 120} << 2;
    QTest::newRow("one step per notch") << 2 << QList<int>{-120, -120} << 0;
    QTest::newRow("half notch does nothing") << 1 << QList<int>{60} << 1;
    QTest::newRow("two half notches are one") << 1 << QList<int>{-60, -60} << 0;
    QTest::newRow("turning back drops the fraction") << 1 << QList<int>{60, -60, -60} << 0;
}

void TestFileTabs::wheel() {
    QFETCH(int, start);
    QFETCH(QList<int>, deltas);
    Strip s;
    QVERIFY(s.show());
    s.bar->setCurrentIndex(start);
    const QPointF pos = s.place("t1");
    for (int d : deltas) {
        QWheelEvent ev(pos, s.bar->mapToGlobal(pos), QPoint(), QPoint(0, d), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(s.bar, &ev);
    }
    QTEST(s.bar->currentIndex(), "expected");
}

void TestFileTabs::hover_data() {
    QTest::addColumn<QStringList>("path"); // places, or "reset" for resetHover()
    QTest::addColumn<QList<int>>("reported");

    QTest::newRow("each new tab once")
        << QStringList{"t0", "t0b", "t1", "t1", "t2"} << QList<int>{0, 1, 2};
    QTest::newRow("leaving the strip") << QStringList{"t1", "out"} << QList<int>{1, -1};
    QTest::newRow("free end of the strip")
        << QStringList{"t0", "gap", "gap", "t0"} << QList<int>{0, -1, 0};
    QTest::newRow("reset reports the same tab again")
        << QStringList{"t1", "reset", "t1b", "t1"} << QList<int>{1, 1};
    QTest::newRow("reset, then leaving") << QStringList{"t1", "reset", "out"} << QList<int>{1, -1};
}

void TestFileTabs::hover() {
    QFETCH(QStringList, path);
    Strip s;
    QVERIFY(s.show());
    QTest::mouseMove(&s.window, s.place("out"));
    QSignalSpy spy(s.bar, &TFileTabBar::hoverTab);
    for (const QString& p : path) {
        if (p == "reset")
            s.bar->resetHover();
        else
            s.move(p);
    }
    QTEST(firstArgs(spy), "reported");
}

void TestFileTabs::menuActions_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("item"); // action index in the menu
    QTest::addColumn<QString>("signal");

    QTest::newRow("close") << 1 << 2 << "close";
    QTest::newRow("select path") << 2 << 3 << "path";
    QTest::newRow("save") << 0 << 4 << "save";
}

void TestFileTabs::menuActions() {
    QFETCH(int, tab);
    QFETCH(int, item);
    QFETCH(QString, signal);
    Strip s;
    QSignalSpy close(s.bar, &TFileTabBar::closePageRequested);
    QSignalSpy path(s.bar, &TFileTabBar::selectPathRequested);
    QSignalSpy save(s.bar, &TFileTabBar::saveFileRequested);

    const std::unique_ptr<QMenu> menu = s.bar->createTabMenu(tab);
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), 5);
    QCOMPARE(actions.at(0)->text(), s.bar->tabCaption(tab));
    QVERIFY(!actions.at(0)->isEnabled());
    QVERIFY(actions.at(1)->isSeparator());
    actions.at(item)->trigger();

    QCOMPARE(firstArgs(close), signal == "close" ? QList<int>{tab} : QList<int>{});
    QCOMPARE(firstArgs(path), signal == "path" ? QList<int>{tab} : QList<int>{});
    QCOMPARE(firstArgs(save), signal == "save" ? QList<int>{tab} : QList<int>{});
}

void TestFileTabs::menuOpensOnTabsOnly_data() {
    QTest::addColumn<QString>("at");
    QTest::addColumn<int>("tab"); // -1: no menu
    QTest::newRow("on the second tab") << "t1" << 1;
    QTest::newRow("on the third tab") << "t2" << 2;
    QTest::newRow("free end of the strip") << "gap" << -1;
}

// Through the real event: index from the point, position, and the end of a drag.
void TestFileTabs::menuOpensOnTabsOnly() {
    QFETCH(QString, at);
    QFETCH(int, tab);
    Strip s;
    QVERIFY(s.show());
    QSignalSpy save(s.bar, &TFileTabBar::saveFileRequested);
    QTest::mousePress(&s.window, Qt::LeftButton, {}, s.place("t0"));
    QCOMPARE(s.bar->dragIndex(), 0);

    PopupWatch watch([](QMenu* menu) { menu->actions().at(4)->trigger(); });
    const QPoint pos = s.place(at);
    const QPoint global = s.bar->mapToGlobal(pos);
    QContextMenuEvent ev(QContextMenuEvent::Mouse, pos, global);
    QApplication::sendEvent(s.bar, &ev);
    QTest::qWait(300);

    QCOMPARE(s.bar->dragIndex(), -1);
    QVERIFY(!s.bar->testAttribute(Qt::WA_SetCursor));
    if (tab < 0) {
        QVERIFY(!watch.seen);
        QCOMPARE(save.count(), 0);
        return;
    }
    QVERIFY(watch.seen);
    QCOMPARE(watch.texts.value(0), s.bar->tabCaption(tab));
    QCOMPARE(watch.pos, global + QPoint(15, 0));
    QCOMPARE(firstArgs(save), QList<int>{tab});
}

void TestFileTabs::extrasFollowInsertAndRemove() {
    Strip s;
    const int at = s.bar->insertTab(1, QString());
    s.bar->setTabInfo(at, {"/x/new.php", ftPhp});
    QCOMPARE(s.files(), (QStringList{"a.html", "new.php", "b.css", "c.js"}));
    QCOMPARE(s.modified(), (QList<bool>{false, false, true, false}));
    s.bar->removeTab(0);
    QCOMPARE(s.files(), (QStringList{"new.php", "b.css", "c.js"}));
    QCOMPARE(s.modified(), (QList<bool>{false, true, false}));
    QCOMPARE(s.bar->tabInfo(2)->FileType, ftJs);
    QVERIFY(!s.bar->tabInfo(3));
}

void TestFileTabs::captions_data() {
    QTest::addColumn<QString>("file"); // empty: the tab gets no info
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tabText");

    QTest::newRow("folder dropped") << "/home/u/site/index.html"
                                    << "index.html"
                                    << "index.html";
    QTest::newRow("untitled") << "*New3"
                              << "*New3"
                              << "*New3";
    QTest::newRow("ampersand stays a letter") << "/w/R&D.html"
                                              << "R&D.html"
                                              << "R&&D.html";
    QTest::newRow("no info") << QString() << "<unknown>" << QString();
}

void TestFileTabs::captions() {
    QFETCH(QString, file);
    TFileTabBar bar;
    const int i = bar.addTab(QString());
    if (!file.isEmpty())
        bar.setTabInfo(i, {file, ftHtml});
    QTEST(bar.tabCaption(i), "caption");
    QTEST(bar.tabText(i), "tabText");
}

void TestFileTabs::heightFollowsFont_data() {
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("small") << 8;
    QTest::newRow("normal") << 13;
    QTest::newRow("large") << 32;
}

void TestFileTabs::heightFollowsFont() {
    QFETCH(int, pixelSize);
    Strip s;
    QFont font = s.bar->font();
    font.setPixelSize(pixelSize);
    s.bar->setFont(font);
    QVERIFY(s.show());
    const int tabH = s.bar->tabHeight();
    QVERIFY(tabH >= QFontMetrics(font).height() + 5); // the selected caption is 5 px down
    QVERIFY(tabH >= 16 + 5);
    QCOMPARE(s.bar->tabRect(0).height(), tabH);
    QCOMPARE(s.bar->sizeHint().height(), tabH + 3);
    QCOMPARE(s.bar->height(), tabH + 3);
    // An empty strip keeps its height, so the window does not jump.
    TFileTabBar empty;
    empty.setFont(font);
    QCOMPARE(empty.sizeHint().height(), tabH + 3);
    // The caption fits beside the icon.
    const QRect r = s.bar->tabRect(2);
    QVERIFY(r.width() >= 6 + 22 + QFontMetrics(font).horizontalAdvance("c.js") + 3);
}

void TestFileTabs::rendering() {
    Strip s;
    s.bar->setCurrentIndex(1);
    QVERIFY(s.show());
    const QImage image = s.bar->grab().toImage();
    QCOMPARE(image.size(), s.bar->size() * image.devicePixelRatio());
    auto corner = [&](int i) {
        const QRect r = s.bar->tabRect(i);
        return image.pixelColor(r.right() - 1, r.bottom() - 1);
    };
    QCOMPARE(corner(1), QColor(166, 202, 240));
    QCOMPARE(corner(0), QColor(255, 251, 240));
    QCOMPARE(corner(2), QColor(255, 251, 240));

    const auto iconArea = [&](int i) {
        return QRect(s.bar->tabRect(i).topLeft(), QSize(28, s.bar->tabRect(i).height()));
    };
    const auto textArea = [&](int i) {
        const QRect r = s.bar->tabRect(i);
        return QRect(r.left() + 26, r.top(), r.width() - 30, r.height());
    };
    const auto blue = [](QColor c) { return c.blue() > 200 && c.red() < 90 && c.green() < 90; };
    const auto dark = [](QColor c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; };
    QVERIFY(countPixels(image, iconArea(1), isRed) > 0);
    QCOMPARE(countPixels(image, iconArea(0), isRed), 0);
    QCOMPARE(countPixels(image, iconArea(2), isRed), 0);
    QVERIFY(countPixels(image, textArea(1), blue) > 0);
    QCOMPARE(countPixels(image, textArea(1), dark), 0);
    QVERIFY(countPixels(image, textArea(0), dark) > 0);
    QCOMPARE(countPixels(image, textArea(0), blue), 0);
    // The separator line 3 px inside each tab's right edge.
    for (int i = 0; i < 3; ++i) {
        const QRect r = s.bar->tabRect(i);
        QCOMPARE(image.pixelColor(r.right() - 3, r.center().y()), QColor(128, 128, 128));
    }

    // Clearing the flag removes the corner.
    s.bar->setTabModified(1, false);
    QCOMPARE(countPixels(s.bar->grab().toImage(), iconArea(1), isRed), 0);
}

void TestFileTabs::typeIcons_data() {
    QTest::addColumn<qreal>("dpr");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("2x") << 2.0;
}

// Each type's icon is its own picture, at the device's resolution.
void TestFileTabs::typeIcons() {
    QFETCH(qreal, dpr);
    QList<QImage> seen;
    for (int t = 0; t < kFileTypeCount; ++t) {
        const QPixmap pm = fileTypePixmap(TFileTypes(t), dpr);
        QCOMPARE(pm.size(), QSize(16, 16) * dpr);
        QCOMPARE(pm.deviceIndependentSize(), QSizeF(16, 16));
        const QImage image = pm.toImage();
        for (const QImage& other : seen)
            QVERIFY(image != other);
        seen << image;
    }
    QVERIFY(fileTypePixmap(ftNone, dpr).isNull());
}

QTEST_MAIN(TestFileTabs)
#include "tst_filetabs.moc"
