#include "ScriptedDialogs.h"
#include "base/core/IniFileUtils.h"
#include "base/ui/HListBox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace orvel;

namespace {
QStringList texts(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}
QStringList comboItems(const QComboBox& box) {
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out << box.itemText(i);
    return out;
}
bool popupVisible(const QComboBox& box) {
    return box.view()->isVisible();
}

// A history box with entries a and b and a field to leave it for, in an active window.
struct FocusFixture {
    QWidget window;
    THistoryCombo* box = new THistoryCombo(&window);
    QLineEdit* other = new QLineEdit(&window);

    FocusFixture() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        layout->addWidget(other);
        box->AssignList({"a", "b"});
    }
    bool enter() {
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        box->setFocus(Qt::TabFocusReason);
        return QTest::qWaitFor([this] { return box->hasFocus(); });
    }
    bool leave() {
        other->setFocus(Qt::TabFocusReason);
        return QTest::qWaitFor([this] { return other->hasFocus(); });
    }
};
} // namespace

class TestHistoryUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mirrorAfterOwnItems_data();
    void mirrorAfterOwnItems();
    void radioCheckKeptAcrossRebuilds();
    void choosingReportsEntry_data();
    void choosingReportsEntry();
    void secondMenuAndDetach();
    void textListMirror();

    void dropDownOnlyWithEntries_data();
    void dropDownOnlyWithEntries();
    void leavingTheBox_data();
    void leavingTheBox();
    void focusAwayForAWhileIsNoLeaving();
    void refreshKeepsTypedText();
    void findItem_data();
    void findItem();
    void storesItselfWhereItWasLoaded();
    void writeFailureIsReturned();

    void dialogButtons_data();
    void dialogButtons();
    void dialogRemoveAndMove();
    void dialogEditRefusesDuplicate();
    void dialogCancelChangesNothing();
    void dialogPlacement();
};

void TestHistoryUi::mirrorAfterOwnItems_data() {
    QTest::addColumn<int>("own");
    QTest::addColumn<bool>("hotKeys");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no own items") << 0 << true << QStringList{"1 R&b", "2 a"};
    QTest::newRow("own items and separator")
        << 2 << true << QStringList{"own0", "own1", "-", "1 R&b", "2 a"};
    QTest::newRow("hot keys off") << 1 << false << QStringList{"own0", "-", "1 R&&b", "2 a"};
}

void TestHistoryUi::mirrorAfterOwnItems() {
    QFETCH(int, own);
    QFETCH(bool, hotKeys);
    QFETCH(QStringList, expected);
    QMenu menu;
    QList<QAction*> owned;
    for (int i = 0; i < own; ++i)
        owned << menu.addAction(QStringLiteral("own%1").arg(i));
    THistoryList list;
    list.AddString("a");
    THistoryMenu mirror(&list);
    mirror.setShowHotKeys(hotKeys);
    mirror.setMenu(&menu);
    QCOMPARE(mirror.MenuSizeBefore(), own);
    QCOMPARE(mirror.SeparatorCount(), own > 0 ? 1 : 0);
    list.AddString("R&b"); // rebuilds
    QCOMPARE(texts(menu.actions()), expected);
    QCOMPARE(menu.actions().mid(0, own), owned);
    list.ClearAll();
    QCOMPARE(menu.actions().size(), own + (own > 0 ? 1 : 0));
}

void TestHistoryUi::radioCheckKeptAcrossRebuilds() {
    QMenu menu;
    menu.addAction("own");
    THistoryList list;
    list.AssignList({"a", "b", "c"});
    THistoryMenu mirror(&list);
    mirror.setRadioMenu(true);
    mirror.setMenu(&menu);
    mirror.mirrorActions().at(1)->trigger();
    QCOMPARE(mirror.CheckedItem(), QString("b"));
    list.AddString("d");
    list.AddString("A");
    const QList<QAction*>& items = mirror.mirrorActions();
    QCOMPARE(texts(items), (QStringList{"1 A", "2 d", "3 b", "4 c"}));
    QStringList checked;
    for (const QAction* a : items)
        if (a->isChecked())
            checked << a->text();
    QCOMPARE(checked, QStringList{"3 b"});

    QVERIFY(!mirror.SelectMenuItem("zz"));
    QVERIFY(mirror.SelectMenuItem("C"));
    QVERIFY(items.at(3)->isChecked());
    QVERIFY(!items.at(2)->isChecked());
    list.RemString("d");
    QCOMPARE(mirror.CheckedItem(), QString("c"));
    QVERIFY(mirror.mirrorActions().at(2)->isChecked());
}

void TestHistoryUi::choosingReportsEntry_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("hotKeys");
    QTest::addColumn<bool>("textReceiver");
    QTest::newRow("first, text") << 0 << true << true;
    QTest::newRow("tenth, index") << 9 << true << false;
    QTest::newRow("sixteenth, text") << 15 << true << true;
    QTest::newRow("seventeenth, index, doubled ampersands") << 16 << false << false;
    QTest::newRow("sixteenth, text, doubled ampersands") << 15 << false << true;
}

void TestHistoryUi::choosingReportsEntry() {
    QFETCH(int, index);
    QFETCH(bool, hotKeys);
    QFETCH(bool, textReceiver);
    THistoryList list(nullptr, 20);
    for (int i = 20; i >= 1; --i)
        list.AddString(QStringLiteral("&%1 file&name").arg(i));
    QMenu menu;
    THistoryMenu mirror(&list);
    mirror.setShowHotKeys(hotKeys);
    mirror.setMenu(&menu);
    QStringList gotTexts;
    QList<int> gotIndexes;
    if (textReceiver)
        connect(&mirror, &THistoryMenu::itemClicked, this,
                [&](const QString& t) { gotTexts << t; });
    connect(&mirror, &THistoryMenu::itemClickedIndex, this, [&](int i) { gotIndexes << i; });
    mirror.mirrorActions().at(index)->trigger();
    if (textReceiver) {
        QCOMPARE(gotTexts, QStringList{list.at(index)});
        QVERIFY(gotIndexes.isEmpty());
    } else {
        QCOMPARE(gotIndexes, QList<int>{index});
    }
}

void TestHistoryUi::secondMenuAndDetach() {
    QMenu menu, menu2;
    menu.addAction("own");
    THistoryList list;
    list.AssignList({"a", "b"});
    THistoryMenu mirror(&list);
    mirror.setMenu(&menu);
    mirror.setMenu2(&menu2);
    QCOMPARE(texts(menu2.actions()), (QStringList{"1 a", "2 b"}));
    QSignalSpy spy(&mirror, &THistoryMenu::itemClickedIndex);
    menu2.actions().at(1)->trigger();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 1);
    list.AddString("c");
    QCOMPARE(texts(menu2.actions()), (QStringList{"1 c", "2 a", "3 b"}));

    mirror.setMenu(nullptr);
    QCOMPARE(texts(menu.actions()), QStringList{"own"});
    QVERIFY(menu2.actions().isEmpty());
}

void TestHistoryUi::textListMirror() {
    QStringListModel model(QStringList{"(own)"});
    THistoryList list;
    list.AssignList({"x", "y"});
    THistoryMenu mirror(&list);
    mirror.setStrList(&model);
    QCOMPARE(mirror.ListSizeBefore(), 1);
    QCOMPARE(model.stringList(), (QStringList{"(own)", "x", "y"}));
    list.AddString("y");
    QCOMPARE(model.stringList(), (QStringList{"(own)", "y", "x"}));
    list.ClearAll();
    QCOMPARE(model.stringList(), QStringList{"(own)"});
    list.AddString("z");
    mirror.setStrList(nullptr);
    QCOMPARE(model.stringList(), QStringList{"(own)"});
}

void TestHistoryUi::dropDownOnlyWithEntries_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("dropDown");
    QTest::newRow("no entries") << QStringList{} << false << false;
    QTest::newRow("read-only") << QStringList{"a", "b"} << true << false;
    QTest::newRow("entries") << QStringList{"a", "b"} << false << true;
}

void TestHistoryUi::dropDownOnlyWithEntries() {
    QFETCH(QStringList, entries);
    QFETCH(bool, readOnly);
    QFETCH(bool, dropDown);
    QWidget w;
    auto* box = new THistoryCombo(&w);
    (new QVBoxLayout(&w))->addWidget(box);
    box->AssignList(entries);
    box->setReadOnly(readOnly);
    w.resize(300, 60);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(box->hasDropDown(), dropDown);
    QCOMPARE(box->lineEdit()->isReadOnly(), readOnly);

    // Without a drop-down the edit field takes the arrow's place.
    const int arrowRoom = box->width() - box->lineEdit()->width();
    QVERIFY2(dropDown ? arrowRoom > 12 : arrowRoom < 12, qPrintable(QString::number(arrowRoom)));

    box->setFocus();
    QTest::keyClick(box, Qt::Key_F4);
    QCOMPARE(popupVisible(*box), dropDown);
    box->hidePopup();
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(popupVisible(*box), dropDown);
    box->hidePopup();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
    QCOMPARE(popupVisible(*box), dropDown);
    box->hidePopup();

    // Stepping through the items must not change a box that offers none.
    box->setEditText("typed");
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), dropDown ? entries.at(0) : QString("typed"));
}

void TestHistoryUi::leavingTheBox_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("autoUpdate");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("modified");
    QTest::newRow("new text goes to the top")
        << ""
        << "new text" << true << QStringList{"new text", "a", "b"} << true;
    QTest::newRow("case change only") << "a"
                                      << "A" << true << QStringList{"A", "b"} << false;
    QTest::newRow("unchanged text moves to the top")
        << "b"
        << "" << true << QStringList{"b", "a"} << false;
    QTest::newRow("without auto update") << ""
                                         << "x" << false << QStringList{"a", "b"} << true;
}

void TestHistoryUi::leavingTheBox() {
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(bool, autoUpdate);
    QFETCH(QStringList, expected);
    QFETCH(bool, modified);
    FocusFixture f;
    THistoryCombo* box = f.box;
    box->setAutoUpdate(autoUpdate);
    box->setEditText(start);
    QVERIFY(f.enter());
    if (!typed.isEmpty()) {
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), typed);
    }
    const QString text = box->currentText();
    QVERIFY(f.leave());

    QCOMPARE(box->HistoryList()->items(), expected);
    QCOMPARE(comboItems(*box), expected);
    QCOMPARE(box->currentText(), text);
    QCOMPARE(box->Modified(), modified);
}

void TestHistoryUi::focusAwayForAWhileIsNoLeaving() {
    FocusFixture f;
    THistoryCombo* box = f.box;
    QVERIFY(f.enter());
    box->setEditText("typed");

    // The drop-down comes and goes.
    box->showPopup();
    QTRY_VERIFY(popupVisible(*box));
    box->hidePopup();
    QTRY_VERIFY(!popupVisible(*box));
    // Another window is active for a while.
    QWidget second;
    second.show();
    QApplication::setActiveWindow(&second);
    QVERIFY(QTest::qWaitForWindowActive(&second));
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QCOMPARE(box->HistoryList()->items(), (QStringList{"a", "b"}));
    QVERIFY(!box->Modified());

    QVERIFY(f.leave());
    QCOMPARE(box->HistoryList()->items(), (QStringList{"typed", "a", "b"}));
    QVERIFY(box->Modified());
}

void TestHistoryUi::refreshKeepsTypedText() {
    THistoryCombo box;
    box.setEditText("typed");
    QSignalSpy spy(&box, &QComboBox::currentTextChanged);
    box.AddItem("x");
    box.AddItem("y");
    box.DeleteItem("X");
    QCOMPARE(comboItems(box), QStringList{"y"});
    QCOMPARE(box.currentText(), QString("typed"));
    QCOMPARE(spy.count(), 0);
    box.setMaxItems(1);
    box.AddItem("z");
    QCOMPARE(box.MaxItems(), 1);
    QCOMPARE(comboItems(box), QStringList{"z"});
}

void TestHistoryUi::findItem_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("prefix") << "ind" << 1;
    QTest::newRow("other case") << "INDEX.H" << 1;
    QTest::newRow("first of two") << "s" << 0;
    QTest::newRow("absent") << "x" << -1;
    QTest::newRow("longer than entry") << "style.css2" << -1;
}

void TestHistoryUi::findItem() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    THistoryCombo box;
    box.AssignList({"style.css", "index.html", "site.js"});
    QCOMPARE(box.FindItem(text), expected);
}

void TestHistoryUi::storesItselfWhereItWasLoaded() {
    QTemporaryDir dir;
    const QString file = dir.filePath("orvel.ini");
    {
        // A missing file is remembered but loads nothing.
        THistoryCombo box;
        box.LoadFromIni(file, "FindTypes");
        QCOMPARE(box.count(), 0);
        box.AddItem("*.html");
        box.AddItem("*.css");
        QVERIFY(box.SaveToIni().ok());
    }
    {
        auto ini = TUnicodeIniFile::CreateForWrite(file);
        ini.WriteString("FindTypes", "Extra", "1");
        QVERIFY(ini.UpdateFile().ok());
    }
    {
        THistoryCombo box;
        box.LoadFromIni(file, "FindTypes");
        QCOMPARE(box.IniFileName(), file);
        QCOMPARE(comboItems(box), (QStringList{"*.css", "*.html"}));
        box.DeleteItem("*.css");
        box.setEraseSection(true);
        QVERIFY(box.SaveToIni().ok());
        box.AddItem("*.js"); // dropped with the box: nothing is written when it goes
    }
    const auto ini = TUnicodeIniFile::CreateForRead(file);
    QCOMPARE(ini.SectionKeys("FindTypes"), QStringList{"History0"});
    QCOMPARE(ini.ReadString("FindTypes", "History0", ""), QString("*.html"));
}

void TestHistoryUi::writeFailureIsReturned() {
    QTemporaryDir dir;
    const QString file = dir.filePath("missing/folder/orvel.ini");
    THistoryCombo box;
    box.LoadFromIni(file, "S");
    box.AddItem("a");
    const TStatus written = box.SaveToIni();
    QVERIFY(!written.ok());
    QVERIFY2(written.error().contains("orvel.ini"), qPrintable(written.error()));
    QVERIFY(!QFile::exists(file));
}

void TestHistoryUi::dialogButtons_data() {
    QTest::addColumn<bool>("allowEdit");
    QTest::addColumn<bool>("allowDelete");
    QTest::newRow("neither") << false << false;
    QTest::newRow("edit") << true << false;
    QTest::newRow("delete") << false << true;
    QTest::newRow("both") << true << true;
}

void TestHistoryUi::dialogButtons() {
    QFETCH(bool, allowEdit);
    QFETCH(bool, allowDelete);
    TEditHistListDialog dlg;
    dlg.setup(QPoint(-1, -1), QString(), 1, allowEdit, allowDelete, {"a", "b"}, "Pick one");
    QCOMPARE(dlg.windowTitle(), QString("Edit list entries"));
    auto* remove = dlg.findChild<QPushButton*>("remove");
    auto* edit = dlg.findChild<QPushButton*>("edit");
    QVERIFY(remove && edit);
    QCOMPARE(remove->isVisibleTo(&dlg), allowDelete);
    QCOMPARE(edit->isVisibleTo(&dlg), allowEdit);
    QCOMPARE(dlg.listWidget()->selectedItems().size(), 1);
    QCOMPARE(dlg.listWidget()->selectedItems().at(0)->text(), QString("b"));
}

void TestHistoryUi::dialogRemoveAndMove() {
    TEditHistListDialog dlg;
    dlg.setup(QPoint(10, 10), "Folders", 2, false, true, {"a", "b", "c", "d", "e"}, QString(),
              {1, 2, 3, 4, 5});
    QCOMPARE(dlg.windowTitle(), QString("Folders"));
    dlg.show();
    QListWidget* lb = dlg.listWidget();

    // Remove b and d; the selection goes to what is now at b's place.
    lb->clearSelection();
    lb->setCurrentRow(1, QItemSelectionModel::Select);
    lb->item(3)->setSelected(true);
    QTest::mouseClick(dlg.findChild<QPushButton*>("remove"), Qt::LeftButton);
    QCOMPARE(dlg.model()->texts(), (QStringList{"a", "c", "e"}));
    QCOMPARE(lb->count(), 3);
    QCOMPARE(lb->selectedItems().size(), 1);
    QCOMPARE(lb->selectedItems().at(0)->text(), QString("c"));

    // a and e down: e stays at the bottom, a moves below c.
    lb->clearSelection();
    lb->item(0)->setSelected(true);
    lb->item(2)->setSelected(true);
    dlg.findChild<QToolButton*>("moveDown")->click();
    QCOMPARE(dlg.model()->texts(), (QStringList{"c", "a", "e"}));
    dlg.findChild<QToolButton*>("moveUp")->click();
    QCOMPARE(dlg.model()->texts(), (QStringList{"a", "e", "c"}));

    int index = -7;
    QStringList result;
    QList<QVariant> objects;
    QVERIFY(dlg.finish(true, index, result, &objects));
    QCOMPARE(result, (QStringList{"a", "e", "c"}));
    QCOMPARE(objects, (QList<QVariant>{1, 5, 3}));
    // Without editing: where the first selected entry ("c") went.
    QCOMPARE(index, 2);
}

void TestHistoryUi::dialogEditRefusesDuplicate() {
    test::ScriptedDialogs script;
    QStringList answers{"C", "renamed"};
    QStringList titles;
    TEditHistListDialog dlg;
    dlg.setDialogs(&script);
    dlg.setAskText([&](QWidget*, const QString& title, const QPoint&, QString& text) {
        titles << title + ":" + text;
        text = answers.takeFirst();
        return true;
    });
    dlg.setup(QPoint(-1, -1), QString(), 0, true, false, {"a", "b", "c"}, QString());
    dlg.listWidget()->setCurrentRow(1);

    script.expectError("Item \"C\" already exists!");
    dlg.findChild<QPushButton*>("edit")->click();
    QCOMPARE(dlg.model()->texts(), (QStringList{"a", "b", "c"}));
    dlg.editItem();
    QCOMPARE(dlg.model()->texts(), (QStringList{"a", "renamed", "c"}));
    QCOMPARE(titles, (QStringList{"Edit item:b", "Edit item:b"}));
    QVERIFY2(script.problems().isEmpty(), qPrintable(script.problems().join('\n')));

    int index = 0;
    QStringList result;
    QVERIFY(dlg.finish(true, index, result, nullptr));
    QCOMPARE(result, (QStringList{"a", "renamed", "c"}));
    // With editing: the selected position.
    QCOMPARE(index, 1);
}

void TestHistoryUi::dialogCancelChangesNothing() {
    TEditHistListDialog dlg;
    dlg.setup(QPoint(-1, -1), QString(), 0, true, true, {"a", "b"}, QString());
    dlg.removeItems();
    QCOMPARE(dlg.model()->count(), 1);
    int index = 0;
    QStringList result{"a", "b"};
    QVERIFY(!dlg.finish(false, index, result, nullptr));
    QCOMPARE(result, (QStringList{"a", "b"}));
    QCOMPARE(index, 0);
}

void TestHistoryUi::dialogPlacement() {
    TEditHistListDialog dlg;
    dlg.setup(QPoint(40, 30), QString(), 0, false, false, {"a"}, QString());
    QCOMPARE(dlg.pos(), QPoint(40, 30));
    dlg.setup(QPoint(-1, 30), QString(), 0, false, false, {"a"}, QString());
    const QRect screen = dlg.screen()->availableGeometry();
    QCOMPARE(dlg.frameGeometry().center().x() / 4, screen.center().x() / 4);
}

QTEST_MAIN(TestHistoryUi)
#include "tst_historyui.moc"
