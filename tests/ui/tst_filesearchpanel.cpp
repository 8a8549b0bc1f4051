// The pages "Search in files" and "Search results" driven as a user drives them, against a
// scripted main window.

#include "ScriptedDialogs.h"
#include "ScriptedSearch.h"
#include "TestFiles.h"
#include "base/ui/HListBox.h"
#include "search/core/FileSearchRun.h"
#include "search/core/SearchResultsModel.h"
#include "search/ui/FileReplDlg.h"
#include "search/ui/FileSearchPage.h"
#include "search/ui/SearchResultsPage.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

using namespace orvel;
using namespace orvel::test;

namespace {

struct Panels {
    QTemporaryDir dir;
    ScriptedSearchHost host;
    ScriptedDialogs dialogs;
    TSearchResultsPage results{host};
    TFileSearchPage page{host, dialogs, dialogs, *results.model()};

    Panels() {
        host.root = dir.path() + u'/';
        page.setThreads(2);
        page.resize(300, 700);
        results.resize(700, 300);
        page.show();
        results.show();
    }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        writeAll(path, bytes);
        return path;
    }
    bool runSearch(const QString& text) {
        page.hcSearch->setEditText(text);
        QTest::mouseClick(page.btnStartSearch, Qt::LeftButton);
        return QTest::qWaitFor([this] { return page.btnStartSearch->isEnabled(); }, 30000);
    }
    QAbstractItemModel* model() const { return results.tree()->model(); }
    QString problems() const { return dialogs.problems().join(u'\n'); }
};

} // namespace

class TestFileSearchPanel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scopeFollowsDocumentsAndProjects() {
        Panels p;
        p.host.projects = false;
        p.page.refreshScope();
        QVERIFY(p.page.rbSearchFolder->isChecked());
        QVERIFY(!p.page.rbSearchOpen->isEnabled());
        QVERIFY(!p.page.rbSearchProject->isEnabled());
        QVERIFY(p.page.cbSearchSubDir->isEnabled());
        QCOMPARE(p.page.hcSearchTypes->currentText(), u"htm*"_qs);

        // A project: chosen unless the folder is.
        p.host.projects = true;
        p.page.rbSearchOpen->setChecked(true);
        p.page.refreshScope();
        QVERIFY(p.page.rbSearchProject->isChecked());
        QCOMPARE(p.page.hcSearchTypes->currentText(), u"htm*,css,js"_qs);
        QVERIFY(!p.page.cbSearchSubDir->isEnabled());

        // Open documents: their choice gives the active document's extension.
        p.host.documents = {p.dir.filePath(u"style.css"_qs)};
        p.host.active = p.host.documents.first();
        p.page.refreshScope();
        p.page.rbSearchOpen->click();
        QVERIFY(p.page.rbSearchOpen->isChecked());
        QCOMPARE(p.page.hcSearchTypes->currentText(), u"css"_qs);
        p.page.refreshScope();
        QVERIFY(p.page.rbSearchOpen->isChecked());
        QCOMPARE(p.page.hcSearchTypes->currentText(), u"css"_qs);
        p.page.rbSearchFolder->click();
        QCOMPARE(p.page.hcSearchTypes->currentText(), u"htm*"_qs);
        QVERIFY(p.page.cbSearchSubDir->isEnabled());
    }

    void replaceBoxFollowsItsCheckBox() {
        Panels p;
        QVERIFY(!p.page.hcReplace->isEnabled());
        QVERIFY(!p.page.cbConfirm->isEnabled());
        p.page.cbReplace->click();
        QVERIFY(p.page.hcReplace->isEnabled());
        QVERIFY(p.page.cbConfirm->isEnabled());
        QVERIFY(p.page.cbConfirm->isChecked());
        p.page.cbReplace->click();
        QVERIFY(!p.page.hcReplace->isEnabled());
        QVERIFY(!p.page.cbConfirm->isEnabled());
    }

    void browsingChoosesTheFolder() {
        Panels p;
        p.host.projects = true;
        p.page.refreshScope();
        p.dialogs.expectFolder(p.dir.path() + u'/');
        QTest::mouseClick(p.page.btnSearchDir, Qt::LeftButton);
        QVERIFY2(p.problems().isEmpty(), qPrintable(p.problems()));
        QCOMPARE(p.page.hcSearchDir->currentText(), p.dir.path() + u'/');
        QVERIFY(p.page.rbSearchFolder->isChecked());
    }

    void searchFillsTheTree() {
        Panels p;
        const QString a = p.file(u"a.html"_qs, "<p>one word</p>\nnothing\nword, word\n");
        p.file(u"sub/b.htm"_qs, "a word\n");
        p.file(u"c.css"_qs, "word\n");
        p.page.rbSearchFolder->setChecked(true);
        p.page.hcSearchDir->setEditText(p.dir.path());
        p.page.hcSearchTypes->setEditText(u"htm*"_qs);
        QVERIFY(p.runSearch(u"word"_qs));
        QVERIFY2(p.problems().isEmpty(), qPrintable(p.problems()));
        QCOMPARE(p.page.lblSearchStatus->text(), u"4 matches found in\n2 file(s)!"_qs);

        QAbstractItemModel* m = p.model();
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(m->index(0, 0).data().toString(), p.dir.filePath(u"sub/b.htm"_qs));
        const QModelIndex file = m->index(1, 0);
        QCOMPARE(file.data().toString(), a);
        QCOMPARE(m->rowCount(file), 3);
        QCOMPARE(m->index(0, 0, file).data().toString(), u"1: <p>one |word|</p>"_qs);
        QCOMPARE(m->index(2, 0, file).data().toString(), u"3: word, |word|"_qs);
        // Few hits: the files are shown opened.
        QVERIFY(p.results.tree()->isExpanded(file));

        // What the user entered went into the histories.
        QCOMPARE(p.page.hcSearch->HistoryList()->at(0), u"word"_qs);
        QCOMPARE(p.page.hcSearchTypes->HistoryList()->at(0), u"htm*"_qs);
        QCOMPARE(p.page.hcSearchDir->HistoryList()->at(0), p.dir.path());

        // A double click on a hit opens its file with the hit selected.
        const QModelIndex hit = m->index(2, 0, file);
        const QRect r = p.results.tree()->visualRect(hit);
        QTest::mouseClick(p.results.tree()->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(p.results.tree()->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(p.host.opened.size(), 1);
        QCOMPARE(p.host.opened[0].fileName, a);
        QCOMPARE(p.host.opened[0].begin, (TBufferCoord{7, 3}));
        QCOMPARE(p.host.opened[0].end, (TBufferCoord{11, 3}));
        // A file opens at its start.
        p.results.tree()->setCurrentIndex(m->index(0, 0));
        QTest::mouseClick(p.results.findChild<QPushButton*>(u"btnOpen"_qs), Qt::LeftButton);
        QCOMPARE(p.host.opened.size(), 2);
        QCOMPARE(p.host.opened[1].begin, (TBufferCoord{1, 1}));
        QCOMPARE(p.host.opened[1].end, (TBufferCoord{1, 1}));

        QTest::mouseClick(p.results.findChild<QPushButton*>(u"btnCloseTree"_qs), Qt::LeftButton);
        QVERIFY(!p.results.tree()->isExpanded(file));
        QTest::mouseClick(p.results.findChild<QPushButton*>(u"btnOpenTree"_qs), Qt::LeftButton);
        QVERIFY(p.results.tree()->isExpanded(file));

        // The hit is drawn in the hit colour.
        const QImage shot = p.results.tree()->viewport()->grab().toImage();
        int red = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 80 && c.blue() < 80;
            }
        QVERIFY(red > 20);
    }

    void cancelEndsTheRun() {
        Panels p;
        for (int i = 0; i < 300; ++i)
            p.file(u"f%1.html"_qs.arg(i, 3, 10, QLatin1Char('0')),
                   QByteArray(100000, 'x') + " word\n");
        p.page.setThreads(1);
        p.page.rbSearchFolder->setChecked(true);
        p.page.hcSearchDir->setEditText(p.dir.path());
        p.page.hcSearch->setEditText(u"word"_qs);
        QTest::mouseClick(p.page.btnStartSearch, Qt::LeftButton);
        QVERIFY(!p.page.btnStartSearch->isEnabled());
        QVERIFY(p.page.btnCancel->isEnabled());
        QTest::mouseClick(p.page.btnCancel, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return p.page.btnStartSearch->isEnabled(); }, 10000));
        QVERIFY(!p.page.btnCancel->isEnabled());
        QCOMPARE(p.page.lblSearchStatus->text(), u"Searching was cancelled!"_qs);
        QVERIFY(p.model()->rowCount() < 300);
    }

    void notesAreListed() {
        Panels p;
        p.file(u"ansi.html"_qs, "caf\xE9 word\n");
        p.page.rbSearchFolder->setChecked(true);
        p.page.hcSearchDir->setEditText(p.dir.path());
        p.page.cbReplace->click();
        p.page.cbConfirm->click();
        p.page.hcReplace->setEditText(u"\u0151"_qs);
        p.dialogs.expectAsk(u"Are you sure"_qs, mrYes);
        QVERIFY(p.runSearch(u"word"_qs));
        QVERIFY2(p.problems().isEmpty(), qPrintable(p.problems()));
        QVERIFY(p.page.lbMessages->isVisible());
        QCOMPARE(p.page.lbMessages->count(), 1);
        QVERIFY(p.page.lbMessages->item(0)->text().contains(u"U+0151"_qs));
        QCOMPARE(p.page.hcReplace->HistoryList()->at(0), u"\u0151"_qs);
    }

    void replaceQuestionAnswers_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << "btnYes" << int(frYes);
        QTest::newRow("no") << "btnNo" << int(frNo);
        QTest::newRow("all in this file") << "btnAll" << int(frAllInFile);
        QTest::newRow("cancel") << "btnCancel" << int(frCancel);
    }
    void replaceQuestionAnswers() {
        QFETCH(QString, button);
        QFETCH(int, answer);
        TFileReplaceDialog dlg;
        TFileReplaceQuestion q;
        q.screenPos = QPoint(300, 400);
        q.fileName = u"/site/a/very/long/path/index.html"_qs;
        q.line = u"<p>the old text</p>"_qs;
        q.search = u"old"_qs;
        q.replacement = u"new"_qs;
        dlg.setQuestion(q);
        QCOMPARE(dlg.findChild<QLabel*>(u"laLine"_qs)->text(), q.line);
        QCOMPARE(dlg.findChild<QLabel*>(u"laSearch"_qs)->text(), q.search);
        QCOMPARE(dlg.findChild<QLabel*>(u"laReplace"_qs)->text(), q.replacement);
        QVERIFY(dlg.findChild<QPushButton*>(u"btnNo"_qs)->isDefault());
        // Right of the mouse, above it.
        const QPoint at = dlg.placeFor(q.screenPos);
        QVERIFY(at.x() >= q.screenPos.x());
        QVERIFY(at.y() < q.screenPos.y());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(int(dlg.answer()), answer);
        QVERIFY(!dlg.isVisible());
    }
};

QTEST_MAIN(TestFileSearchPanel)
#include "tst_filesearchpanel.moc"
