#include "app/core/Settings.h"
#include "base/core/IniFileUtils.h"
#include "dialogs/core/DateFormats.h"
#include "dialogs/ui/ColorGrid.h"
#include "dialogs/ui/DateDlg.h"
#include "dialogs/ui/InputTextDlg.h"
#include "dialogs/ui/QtElementDialogs.h"
#include "dialogs/ui/SelectColorDlg.h"
#include "dialogs/ui/SelectFontDlg.h"
#include "dialogs/ui/StyleDlg.h"
#include "textcontrol/ui/Highlighter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontDatabase>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace orvel;

namespace {

// Runs `act` on the picker of type D once its modal loop runs; the act ends it. A picker
// the act left open is cancelled after a while, so that a fault fails instead of hanging.
template <class D> void whenOpen(std::function<void(D*)> act) {
    QTimer::singleShot(0, [act] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d) {
            qWarning("no picker of the expected kind is open");
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
            return;
        }
        QPointer<D> open(d);
        act(d);
        QTimer::singleShot(3000, [open] {
            if (open && open->isVisible()) {
                qWarning("the picker stayed open");
                open->reject();
            }
        });
    });
}

void clickField(TColorGrid* grid, int index) {
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->fieldRect(index).center());
}

QColor previewColor(const TSelectColorDialog& d) {
    return d.preview()->palette().color(QPalette::Window);
}

} // namespace

class TestPickers : public QObject {
    Q_OBJECT
private slots:
    void noColorStartsCheckedAndStays();
    void clickingAFieldTakesItsColor_data();
    void clickingAFieldTakesItsColor();
    void doubleClickChooses();
    void otherColorEditsTheCustomColors();
    void cancelChangesNothing();
    void customColorsSurviveARestart();
    void datePickerInThreeLanguages_data();
    void datePickerInThreeLanguages();
    void datePickerKeepsFormatOnCancel();
    void fontPickerListsFixedPitchFonts();
    void fontPickerFallsBackToTheSystemFixedFont();
    void fontPickerHandsBackCustomColorsOnCancel();
    void textInputKeepsItsHistory();
    void textInputWithoutHistoryIsAPlainField();
    void propertyPickerOffersTheFirstItem();
    void placement_data();
    void placement();
};

void TestPickers::noColorStartsCheckedAndStays() {
    TSelectColorDialog d;
    d.setup("Background", kDefaultCustomColors, kNoColor);
    QVERIFY(d.noColorBox()->isChecked());
    QCOMPARE(previewColor(d), d.palette().color(QPalette::Window));
    QCOMPARE(d.windowTitle(), QString("Background"));
    QCOMPARE(d.chosenColor(), kNoColor);
    d.setup(QString(), kDefaultCustomColors, 0x123456);
    QVERIFY(!d.noColorBox()->isChecked());
    QCOMPARE(previewColor(d), QColor(0x56, 0x34, 0x12));
    QCOMPARE(d.windowTitle(), QString("Select color"));
}

void TestPickers::clickingAFieldTakesItsColor_data() {
    QTest::addColumn<bool>("custom");
    QTest::addColumn<int>("field");
    QTest::addColumn<quint32>("color");
    QTest::newRow("basic red") << false << 8 << quint32(0x0000FF);
    QTest::newRow("basic navy") << false << 3 << quint32(0x800000);
    QTest::newRow("basic white, last") << false << 15 << quint32(0xFFFFFF);
    QTest::newRow("first custom") << true << 0 << quint32(0xB8FFFF);
    QTest::newRow("last custom") << true << 15 << quint32(0x580058);
}

void TestPickers::clickingAFieldTakesItsColor() {
    QFETCH(bool, custom);
    QFETCH(int, field);
    QFETCH(quint32, color);
    TSelectColorDialog d;
    d.setup(QString(), kDefaultCustomColors, kNoColor);
    d.show();
    clickField(custom ? d.customGrid() : d.basicGrid(), field);
    QVERIFY(!d.noColorBox()->isChecked());
    QCOMPARE(d.chosenColor(), color);
    QCOMPARE(previewColor(d), bgrToColor(color));
    // Checking "no color" again wins over the field.
    d.noColorBox()->click();
    QCOMPARE(d.chosenColor(), kNoColor);
    QCOMPARE(previewColor(d), d.palette().color(QPalette::Window));
}

void TestPickers::doubleClickChooses() {
    TQtElementDialogs dialogs;
    quint32 color = kNoColor;
    whenOpen<TSelectColorDialog>([](TSelectColorDialog* d) {
        TColorGrid* grid = d->basicGrid();
        QTest::mouseDClick(grid, Qt::LeftButton, {}, grid->fieldRect(9).center());
    });
    QVERIFY(dialogs.pickColor("Text color", color, QPoint(10, 10)));
    QCOMPARE(color, quint32(0x00FF00)); // lime
}

void TestPickers::otherColorEditsTheCustomColors() {
    TSelectColorDialog d;
    d.setup(QString(), kDefaultCustomColors, 0);
    quint32 startedAt = 1;
    d.fullDialog = [&](QWidget*, quint32& color, TColorList& list) {
        startedAt = color;
        list[2] = 0x00ABCDEF;
        color = 0x00ABCDEF;
        return true;
    };
    d.otherButton()->click();
    QCOMPARE(startedAt, quint32(0));
    QCOMPARE(d.customGrid()->colors()[2], quint32(0x00ABCDEF));
    QCOMPARE(d.chosenColor(), quint32(0x00ABCDEF));
}

void TestPickers::cancelChangesNothing() {
    TQtElementDialogs dialogs;
    TColorList list = kDefaultCustomColors;
    dialogs.setColorList(&list);
    quint32 color = 0x000080;
    whenOpen<TSelectColorDialog>([](TSelectColorDialog* d) {
        d->fullDialog = [](QWidget*, quint32& c, TColorList& l) {
            l.fill(0);
            c = 0x111111;
            return true;
        };
        d->otherButton()->click();
        d->reject();
    });
    QVERIFY(!dialogs.pickColor("Text color", color));
    QCOMPARE(color, quint32(0x000080));
    QCOMPARE(list, kDefaultCustomColors);
}

void TestPickers::customColorsSurviveARestart() {
    QTemporaryDir dir;
    const QString ini = dir.filePath("orvel.ini");
    quint32 picked = 0;
    {
        // The settings own the list; every colour picker edits it.
        TShellSettings settings("EN");
        settings.Read(TUnicodeIniFile::CreateForRead(ini), "EN");
        TQtElementDialogs dialogs;
        dialogs.setColorList(&settings.Config.CustomColors);
        whenOpen<TSelectColorDialog>([](TSelectColorDialog* d) {
            d->fullDialog = [](QWidget*, quint32& c, TColorList& l) {
                l[15] = 0x00345678;
                c = 0x00345678;
                return true;
            };
            d->otherButton()->click();
            d->accept();
        });
        QVERIFY(dialogs.pickColor(QString(), picked));
        TUnicodeIniFile file = TUnicodeIniFile::CreateForWrite(ini);
        settings.Write(file);
        QVERIFY(file.UpdateFile().ok());
    }
    QCOMPARE(picked, quint32(0x00345678));
    TShellSettings again("EN");
    again.Read(TUnicodeIniFile::CreateForRead(ini), "EN");
    TColorList expected = kDefaultCustomColors;
    expected[15] = 0x00345678;
    QCOMPARE(again.Config.CustomColors, expected);
    // The next picker shows it among the additional colours.
    TQtElementDialogs dialogs;
    dialogs.setColorList(&again.Config.CustomColors);
    TColorList shown{};
    whenOpen<TSelectColorDialog>([&shown](TSelectColorDialog* d) {
        shown = d->customGrid()->colors();
        d->reject();
    });
    quint32 color = 0;
    QVERIFY(!dialogs.pickColor(QString(), color));
    QCOMPARE(shown, expected);
}

void TestPickers::datePickerInThreeLanguages_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("longMonth");
    QTest::newRow("English") << "en_US"
                             << "March";
    QTest::newRow("German") << "de_DE"
                            << "März";
    QTest::newRow("Hungarian") << "hu_HU"
                               << "március";
}

void TestPickers::datePickerInThreeLanguages() {
    QFETCH(QString, locale);
    QFETCH(QString, longMonth);
    const QLocale l(locale);
    const QDate day(2024, 3, 5);
    TDateDialog d(nullptr, l);
    d.setup(5, l.toString(day, QLocale::ShortFormat), day);
    QCOMPARE(d.formatList()->count(), kDateFormatCount);
    for (int i = 0; i < kDateFormatCount; ++i)
        QCOMPARE(d.formatList()->item(i)->text(), dateFormatEntry(day, i, l));
    QCOMPARE(d.formatList()->item(5)->text(), QString("5. %1 2024 (d. mmmm yyyy)").arg(longMonth));
    QCOMPARE(d.dateEdit()->date(), day);
    QCOMPARE(d.chosenText(), QString("5. %1 2024").arg(longMonth));
    // The date field writes the month as the chosen format does, in the locale's words.
    QCOMPARE(d.dateEdit()->displayFormat(), QString("d. MMMM yyyy"));
    QCOMPARE(d.dateEdit()->text(), QString("5. %1 2024").arg(longMonth));
    d.formatList()->setCurrentRow(6);
    QCOMPARE(d.dateEdit()->displayFormat(), QString("MM/dd/yyyy"));
    QCOMPARE(d.chosenText(), QString("03/05/2024"));
}

void TestPickers::datePickerKeepsFormatOnCancel() {
    TQtElementDialogs dialogs;
    dialogs.setDateLocale(QLocale("de_DE"));
    int format = 3;
    QString date;
    whenOpen<TDateDialog>([](TDateDialog* d) {
        // An empty text starts at today, with the remembered format.
        QCOMPARE(d->dateEdit()->date(), QDate::currentDate());
        QCOMPARE(d->chosenFormat(), 3);
        d->formatList()->setCurrentRow(1);
        d->reject();
    });
    QVERIFY(!dialogs.selectDate(format, date));
    QCOMPARE(format, 3);
    QVERIFY(date.isEmpty());
    whenOpen<TDateDialog>([](TDateDialog* d) {
        d->dateEdit()->setDate(QDate(2024, 3, 5));
        d->formatList()->setCurrentRow(4);
        d->accept();
    });
    QVERIFY(dialogs.selectDate(format, date));
    QCOMPARE(format, 4);
    QCOMPARE(date, QString("5. März 2024"));
}

void TestPickers::fontPickerListsFixedPitchFonts() {
    const QStringList fixed = fontFamilies(true);
    const QStringList all = fontFamilies(false);
    QVERIFY(!fixed.isEmpty());
    QVERIFY(fixed.size() < all.size());
    QVERIFY(fixed.contains(systemFixedFamily()));
    for (const QString& f : fixed) {
        QVERIFY2(QFontDatabase::isFixedPitch(f) || f == systemFixedFamily(), qPrintable(f));
        QVERIFY(!f.contains(" ["));
        QVERIFY(all.contains(f));
    }
    QStringList sorted = all;
    sorted.sort(Qt::CaseInsensitive);
    QCOMPARE(all, sorted);
}

void TestPickers::fontPickerFallsBackToTheSystemFixedFont() {
    const QStringList fixed = fontFamilies(true);
    if (fixed.contains("Courier New", Qt::CaseInsensitive))
        QSKIP("this system has Courier New");
    TSelectFontDialog d;
    TFontSettings font; // "Courier New", 10 pt
    font.style = fsBold | fsUnderline;
    d.setup(fixed, true, QString(), kDefaultCustomColors, font);
    QVERIFY(d.familyList()->currentItem());
    const TFontSettings chosen = d.chosenFont();
    QVERIFY(!chosen.name.isEmpty());
    QCOMPARE(chosen.name, systemFixedFamily());
    QCOMPARE(chosen.size, 10);
    QCOMPARE(chosen.style, int(fsBold));
    QCOMPARE(d.previewLine()->text(), QString("The quick brown fox jumps .."));
    QCOMPARE(d.previewLine()->font().family(), chosen.name);
    QVERIFY(d.previewLine()->font().bold());
    // With no font in the list at all the stored name stays.
    d.setup({}, true, "abc", kDefaultCustomColors, font);
    QCOMPARE(d.chosenFont().name, QString("Courier New"));
    QCOMPARE(d.previewLine()->text(), QString("abc"));
}

void TestPickers::fontPickerHandsBackCustomColorsOnCancel() {
    TQtElementDialogs dialogs;
    TColorList list = kDefaultCustomColors;
    dialogs.setColorList(&list);
    TFontSettings font;
    font.name = fontFamilies(true).value(0);
    const TFontSettings before = font;
    whenOpen<TSelectFontDialog>([](TSelectFontDialog* d) {
        QVERIFY(!d->colorButton()->isHidden());
        d->pickColor = [](TColorList& l, quint32& c) {
            l[0] = 0x00010203;
            c = 0x000000FF;
            return true;
        };
        d->colorButton()->click();
        QCOMPARE(d->chosenFont().color, quint32(0x0000FF));
        d->reject();
    });
    QVERIFY(!dialogs.selectFont(true, true, QString(), font));
    QCOMPARE(font, before);
    QCOMPARE(list[0], quint32(0x00010203));
    whenOpen<TSelectFontDialog>([](TSelectFontDialog* d) {
        QVERIFY(d->colorButton()->isHidden());
        d->accept();
    });
    QVERIFY(dialogs.selectFont(true, false, QString(), font));
    QCOMPARE(font.name, before.name);
}

void TestPickers::textInputKeepsItsHistory() {
    TQtElementDialogs dialogs;
    QStringList anchors;
    for (int i = 0; i < 20; ++i)
        anchors << QString("anchor%1").arg(i);
    anchors[3] = "Top";
    TLineInput input;
    input.caption = "New anchor";
    input.prompt = "Name:";
    input.history = &anchors;
    input.historySize = 20;
    QString text;
    whenOpen<TInputTextDialog>([](TInputTextDialog* d) {
        QCOMPARE(d->windowTitle(), QString("New anchor"));
        QVERIFY(!d->dropDown()->isHidden());
        QCOMPARE(d->dropDown()->count(), 20);
        QCOMPARE(d->field()->toolTip(), QString());
        QCOMPARE(d->dropDown()->toolTip(), QString("Name:"));
        QTest::keyClicks(d->field(), "TOP");
        QTest::keyClick(d->field(), Qt::Key_Return); // Enter acts as OK
    });
    QVERIFY(dialogs.inputLine(input, text));
    QCOMPARE(text, QString("TOP"));
    QCOMPARE(anchors.size(), 20);
    QCOMPARE(anchors.first(), QString("TOP"));
    QVERIFY(!anchors.contains("Top"));
    QVERIFY(anchors.contains("anchor19"));
    // A new name in a full list of 20 drops the oldest only.
    whenOpen<TInputTextDialog>([](TInputTextDialog* d) {
        d->field()->setText("fresh");
        d->accept();
    });
    QVERIFY(dialogs.inputLine(input, text));
    QCOMPARE(anchors.size(), 20);
    QCOMPARE(anchors.first(), QString("fresh"));
    QVERIFY(!anchors.contains("anchor19"));
    // Typing completes from the history.
    whenOpen<TInputTextDialog>([](TInputTextDialog* d) {
        d->field()->clear();
        QTest::keyClicks(d->field(), "fr");
        QTest::keyClick(d->field(), Qt::Key_Return); // takes the completion
        QTest::keyClick(d->field(), Qt::Key_Return); // OK
    });
    QVERIFY(dialogs.inputLine(input, text));
    QCOMPARE(text, QString("fresh"));
    // Escape cancels and leaves both alone.
    const QStringList kept = anchors;
    whenOpen<TInputTextDialog>([](TInputTextDialog* d) {
        d->field()->setText("not taken");
        QTest::keyClick(d->field(), Qt::Key_Escape);
    });
    QVERIFY(!dialogs.inputLine(input, text));
    QCOMPARE(text, QString("fresh"));
    QCOMPARE(anchors, kept);
}

void TestPickers::textInputWithoutHistoryIsAPlainField() {
    TInputTextDialog d;
    TLineInput input;
    input.fontName = "DejaVu Sans Mono";
    d.setup(input, QString(120, u'x'));
    QCOMPARE(d.windowTitle(), QString("Edit text"));
    QVERIFY(d.dropDown()->isHidden());
    QCOMPARE(d.field()->text(), QString(120, u'x'));
    QCOMPARE(d.field()->font().family(), QString("DejaVu Sans Mono"));
    // A long text widens the field.
    QVERIFY(d.field()->width() > 300);
    QStringList names{"beta", "Alpha", "gamma"};
    input.history = &names;
    input.sorted = true;
    d.setup(input, QString());
    QCOMPARE(d.dropDown()->itemText(0), QString("Alpha"));
    QCOMPARE(d.dropDown()->itemText(2), QString("gamma"));
}

void TestPickers::propertyPickerOffersTheFirstItem() {
    TQtElementDialogs dialogs;
    QString chosen = "unchanged";
    whenOpen<TStyleDialog>([](TStyleDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Select property"));
        QCOMPARE(d->chosenItem(), QString("<user defined>"));
        d->list()->setCurrentRow(2);
        d->accept();
    });
    QVERIFY(dialogs.selectStyle("Position", {"<user defined>", "top", "bottom"}, chosen));
    QCOMPARE(chosen, QString("bottom"));
    whenOpen<TStyleDialog>([](TStyleDialog* d) { d->reject(); });
    QVERIFY(!dialogs.selectStyle("Position", {"a", "b"}, chosen));
    QCOMPARE(chosen, QString("bottom"));
}

void TestPickers::placement_data() {
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("where");
    for (const char* p : {"color", "font", "style", "date", "text"})
        for (const char* w : {"at the point", "bottom right corner", "beyond the screen", "centred",
                              "at the pointer"})
            QTest::newRow(qPrintable(QString("%1, %2").arg(p, w))) << p << w;
}

void TestPickers::placement() {
    QFETCH(QString, picker);
    QFETCH(QString, where);
    std::unique_ptr<TPickerDialog> d;
    if (picker == "color") {
        auto* c = new TSelectColorDialog;
        c->setup(QString(), kDefaultCustomColors, 0);
        d.reset(c);
    } else if (picker == "font") {
        auto* f = new TSelectFontDialog;
        f->setup(fontFamilies(false), true, QString(), kDefaultCustomColors, TFontSettings());
        d.reset(f);
    } else if (picker == "style") {
        auto* s = new TStyleDialog;
        s->setup("Scroll bars", {"yes", "no"});
        d.reset(s);
    } else if (picker == "date") {
        d = std::make_unique<TDateDialog>();
    } else {
        auto* t = new TInputTextDialog;
        t->setup(TLineInput(), "text");
        d.reset(t);
    }
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    TOpenAt at;
    QPoint expected(-1, -1);
    if (where == "at the point") {
        at = QPoint(screen.left() + 20, screen.top() + 30);
        expected = *at;
    } else if (where == "bottom right corner") {
        at = screen.bottomRight() - QPoint(5, 5);
    } else if (where == "beyond the screen") {
        at = screen.bottomRight() + QPoint(400, 300);
    } else if (where == "centred") {
        at = QPoint(-1, 100);
    } else {
        QCursor::setPos(screen.left() + 50, screen.top() + 60);
        if (QCursor::pos() != QPoint(screen.left() + 50, screen.top() + 60))
            QSKIP("the platform does not move the pointer");
        expected = QCursor::pos() + QPoint(0, picker == "text" ? 20 : 0);
    }
    d->placeAt(at, picker == "text" ? 20 : 0);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QTest::qWait(20); // the second placement, once the frame is known
    const QRect frame = d->frameGeometry();
    QVERIFY2(screen.contains(frame), qPrintable(QString("%1,%2 %3x%4")
                                                    .arg(frame.x())
                                                    .arg(frame.y())
                                                    .arg(frame.width())
                                                    .arg(frame.height())));
    if (expected.x() >= 0)
        QCOMPARE(frame.topLeft(), expected);
    if (where == "centred")
        QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
    if (where != "centred" && expected.x() < 0) {
        // Pushed back only as far as needed: it touches the screen's right and bottom edges.
        QCOMPARE(frame.right(), screen.right());
        QCOMPARE(frame.bottom(), screen.bottom());
    }
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
