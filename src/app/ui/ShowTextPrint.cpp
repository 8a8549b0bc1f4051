// Printing of the log viewer: its own page layout, so that a log prints the same on any
// printer, and print to PDF where no printer is installed.

#include "app/ui/ShowTextDlg.h"

#include "app/core/LogPrintLayout.h"
#include "base/core/Dialogs.h"
#include "base/core/Translate.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextBlock>

namespace orvel {

namespace {

class TBusy {
public:
    explicit TBusy(bool& flag) : m_flag(flag) {
        m_flag = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TBusy() {
        QApplication::restoreOverrideCursor();
        m_flag = false;
    }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

private:
    bool& m_flag;
};

} // namespace

QPrinter& TShowTextDialog::printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageOrientation(QPageLayout::Portrait);
        if (!m_printerName.isEmpty()) {
            m_printer->setPrinterName(m_printerName);
        } else {
            // No printer installed: the print dialog starts on a PDF file.
            QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            if (dir.isEmpty())
                dir = QDir::homePath();
            m_printer->setOutputFormat(QPrinter::PdfFormat);
            m_printer->setOutputFileName(dir + u'/' + QFileInfo(m_textName).completeBaseName() +
                                         QStringLiteral(".pdf"));
        }
    }
    return *m_printer;
}

std::pair<int, int> TShowTextDialog::PrintLineRange() {
    const QTextDocument* doc = m_view->document();
    const QTextCursor c = m_view->textCursor();
    if (c.hasSelection() &&
        m_dialogs.ask(m_title, TD_("Print selected lines?"), mbYes | mbNo, mrYes) == mrYes)
        return {doc->findBlock(c.selectionStart()).blockNumber(),
                doc->findBlock(c.selectionEnd()).blockNumber()};
    return {0, doc->blockCount() - 1};
}

void TShowTextDialog::PrintClick() {
    if (m_printing)
        return;
    const auto [first, last] = PrintLineRange();
    QPrinter& p = printer();
    p.setDocName(windowTitle());
    bool accepted = false;
    if (m_printDialog) {
        accepted = m_printDialog(p);
    } else {
        QPrintDialog dialog(&p, this);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (accepted)
        PrintLines(p, first, last);
}

bool TShowTextDialog::PrintLines(QPrinter& printer, int first, int last) {
    const TBusy busy(m_printing);
    QStringList lines;
    for (QTextBlock b = m_view->document()->findBlockByNumber(first);
         b.isValid() && b.blockNumber() <= last; b = b.next())
        lines << b.text();

    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString target = printer.outputFormat() == QPrinter::PdfFormat
                                   ? QDir::toNativeSeparators(printer.outputFileName())
                                   : printer.printerName();
        m_dialogs.error(m_title, fmt(TD_("Cannot print to \"%s\"!"), {target}));
        return false;
    }

    // Units are tenths of a millimetre from the paper's top left corner.
    TLogPageGeometry g;
    const QRectF paper = printer.pageLayout().fullRect(QPageLayout::Millimeter);
    if (paper.width() > 0 && paper.height() > 0) {
        g.pageWidth = qRound(paper.width() * 10);
        g.pageHeight = qRound(paper.height() * 10);
    }
    const qreal scale = printer.resolution() / 254.0;
    const QFont body = textFont(false);
    const QFont head = textFont(true);
    const QFontMetricsF bodyMetrics(body, &printer);
    const QFontMetricsF headMetrics(head, &printer);
    const auto width = [&](const QString& s) { return bodyMetrics.horizontalAdvance(s) / scale; };
    const QList<TLogPrintPage> pages = layoutLogPages(lines, g, width);

    int from = 1;
    int to = int(pages.size());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage();
        to = qMin(to, printer.toPage() > 0 ? printer.toPage() : to);
    }
    const QString fileLabel = TD_("File: ");
    const QString fileName = fileLabel + shortenFileName(QDir::toNativeSeparators(m_textName),
                                                         80 - int(fileLabel.size()));
    const auto at = [scale](qreal x, qreal y) { return QPointF(x * scale, y * scale); };
    bool firstPage = true;
    for (const TLogPrintPage& page : pages) {
        if (page.number < from || page.number > to)
            continue;
        if (!firstPage)
            printer.newPage();
        firstPage = false;

        painter.setFont(head);
        const qreal headAscent = headMetrics.ascent();
        painter.drawText(at(g.marginLeft, g.marginTop) + QPointF(0, headAscent), m_title);
        const QString pageText =
            TD_("Page: %u").replace(QLatin1StringView("%u"), QString::number(page.number));
        painter.drawText(at(g.printRight(), g.marginTop) +
                             QPointF(-headMetrics.horizontalAdvance(pageText), headAscent),
                         pageText);
        painter.drawText(at(g.marginLeft, g.headerFileY()) + QPointF(0, headAscent), fileName);
        painter.setPen(QPen(Qt::black, 3 * scale));
        painter.drawLine(at(g.marginLeft, g.headerRuleY()), at(g.printRight(), g.headerRuleY()));

        painter.setFont(body);
        const qreal ascent = bodyMetrics.ascent();
        for (const TPrintedPiece& piece : page.pieces)
            painter.drawText(at(g.marginLeft, piece.y) + QPointF(0, ascent), piece.text);
    }
    return painter.end();
}

} // namespace orvel
