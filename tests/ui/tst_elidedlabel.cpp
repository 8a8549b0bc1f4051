#include "base/ui/ElidedLabel.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QTest>
#include <QToolTip>

using namespace orvel;

class TestElidedLabel : public QObject {
    Q_OBJECT
private slots:
    void cutToFit_data();
    void cutToFit();
    void drawnAsShown();
    void toolTipShowsWholeText();
};

namespace {
const QString kPath = QStringLiteral("Root-Path: /home/someone/Documents/Web sites/example.org/");
}

void TestElidedLabel::cutToFit_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("mode");
    QTest::newRow("room for all") << 2000 << int(Qt::ElideMiddle);
    QTest::newRow("cut in the middle") << 150 << int(Qt::ElideMiddle);
    QTest::newRow("cut at the left") << 150 << int(Qt::ElideLeft);
    QTest::newRow("hardly any room") << 12 << int(Qt::ElideMiddle);
}

void TestElidedLabel::cutToFit() {
    QFETCH(int, width);
    QFETCH(int, mode);
    TElidedLabel label(nullptr, Qt::TextElideMode(mode));
    QLabel* plain = &label; // the main window holds its panels as labels
    plain->setText(kPath);
    label.setFixedWidth(width);
    const QString shown = label.shownText();
    const int room = label.contentsRect().width();
    QVERIFY(label.fontMetrics().horizontalAdvance(shown) <= room);
    if (label.fontMetrics().horizontalAdvance(kPath) <= room) {
        QCOMPARE(shown, kPath);
        return;
    }
    QVERIFY(shown.contains(QChar(0x2026)) || shown.isEmpty());
    const QStringList parts = shown.split(QChar(0x2026));
    if (parts.size() == 2) {
        // Whole characters of the text on either side of the ellipsis.
        QVERIFY(kPath.startsWith(parts[0]));
        QVERIFY(kPath.endsWith(parts[1]));
    }
    QVERIFY(label.minimumSizeHint().width() < width || width < 20);
}

// What is painted is the cut text, as a plain label would show it: nothing clipped.
void TestElidedLabel::drawnAsShown() {
    TElidedLabel label;
    label.setText(kPath);
    label.setFixedSize(150, 24);
    QLabel reference;
    reference.setText(label.shownText());
    reference.setFixedSize(150, 24);
    QCOMPARE(label.grab().toImage(), reference.grab().toImage());
    QVERIFY(label.grab().toImage() != [&] {
        QLabel clipped;
        clipped.setText(kPath);
        clipped.setFixedSize(150, 24);
        return clipped.grab().toImage();
    }());
}

void TestElidedLabel::toolTipShowsWholeText() {
    TElidedLabel label;
    label.setText(kPath);
    label.setFixedSize(150, 24);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), label.mapToGlobal(QPoint(5, 5)));
    QVERIFY(QApplication::sendEvent(&label, &help));
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), kPath);
    QToolTip::hideText();

    label.setFixedWidth(2000);
    QHelpEvent again(QEvent::ToolTip, QPoint(5, 5), label.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&label, &again);
    QTRY_VERIFY(!QToolTip::isVisible());
}

QTEST_MAIN(TestElidedLabel)
#include "tst_elidedlabel.moc"
