#include "app/ui/ShowTextDlg.h"

#include "OrvelVersion.h"
#include "app/ui/TextFindDlg.h"
#include "base/core/Dialogs.h"
#include "base/core/TextFile.h"
#include "base/core/Translate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvel {

namespace {

// Fills each "%u" in turn, as the stored texts write numbers.
QString fillNumbers(const QString& templ, const QStringList& numbers) {
    return fmt(QString(templ).replace(QLatin1StringView("%u"), QLatin1StringView("%s")), numbers);
}

QString notFound(const QString& what) {
    return fmt(TD_("\"%s\" not found!"), {what});
}

} // namespace

TShowTextDialog::TShowTextDialog(IDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_sectText(QStringLiteral(ORVEL_INTERNAL_NAME)),
      m_view(new QPlainTextEdit(this)), m_linePanel(new QLabel(this)),
      m_messagePanel(new QLabel(this)), m_printButton(new QPushButton(TD_("&Print"), this)),
      m_searchButton(new QPushButton(TD_("&Search"), this)), m_find(new TTextFindDialog(this)) {
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(760, 520);

    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setFont(textFont(false));
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    // The selection stays visible while the find dialog has the focus.
    QPalette pal = m_view->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    m_view->setPalette(pal);
    m_view->installEventFilter(this);

    auto* deleteButton = new QPushButton(TD_("&Delete"), this);
    auto* closeButton = new QPushButton(TD_("Close"), this);
    const QColor sectionColor(0x1f, 0x4e, 0x9c);
    const QColor errorColor(0xc0, 0x1c, 0x28);
    QToolButton* prevSection = jumpButton(TD_("Previous section"), true, sectionColor, true);
    QToolButton* nextSection = jumpButton(TD_("Next section"), false, sectionColor, true);
    QToolButton* prevError = jumpButton(TD_("Previous error"), true, errorColor, false);
    QToolButton* nextError = jumpButton(TD_("Next error"), false, errorColor, false);
    m_printButton->setObjectName(QStringLiteral("print"));
    deleteButton->setObjectName(QStringLiteral("delete"));
    m_searchButton->setObjectName(QStringLiteral("search"));
    closeButton->setObjectName(QStringLiteral("close"));
    prevSection->setObjectName(QStringLiteral("prevSection"));
    nextSection->setObjectName(QStringLiteral("nextSection"));
    prevError->setObjectName(QStringLiteral("prevError"));
    nextError->setObjectName(QStringLiteral("nextError"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_printButton, deleteButton, m_searchButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    for (QToolButton* b : {prevSection, nextSection, prevError, nextError})
        buttons->addWidget(b);
    buttons->addStretch();
    closeButton->setAutoDefault(false);
    buttons->addWidget(closeButton);

    auto* status = new QStatusBar(this);
    m_linePanel->setFixedWidth(200);
    status->addWidget(m_linePanel);
    status->addWidget(m_messagePanel, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    layout->addWidget(status);

    connect(m_printButton, &QPushButton::clicked, this, &TShowTextDialog::PrintClick);
    connect(deleteButton, &QPushButton::clicked, this, &TShowTextDialog::DeleteClick);
    connect(m_searchButton, &QPushButton::clicked, this, &TShowTextDialog::SearchClick);
    connect(prevSection, &QToolButton::clicked, this, &TShowTextDialog::PrevSectionClick);
    connect(nextSection, &QToolButton::clicked, this, &TShowTextDialog::NextSectionClick);
    connect(prevError, &QToolButton::clicked, this, &TShowTextDialog::PrevErrorClick);
    connect(nextError, &QToolButton::clicked, this, &TShowTextDialog::NextErrorClick);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_view, &QPlainTextEdit::cursorPositionChanged, this, &TShowTextDialog::ShowLinePos);
    connect(m_view, &QPlainTextEdit::textChanged, this, &TShowTextDialog::ShowLinePos);
    connect(m_find, &TTextFindDialog::findNext, this, [this] { FindAgain(false); });
}

TShowTextDialog::~TShowTextDialog() = default;

QFont TShowTextDialog::textFont(bool bold) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    font.setBold(bold);
    return font;
}

QToolButton* TShowTextDialog::jumpButton(const QString& hint, bool up, const QColor& color,
                                         bool bar) {
    // A triangle pointing the way; sections have a bar at its tip, as they start a run.
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    {
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        const qreal tip = up ? 3 : 13;
        const qreal base = up ? 12 : 4;
        p.drawPolygon(QPolygonF({QPointF(8, tip), QPointF(2, base), QPointF(14, base)}));
        if (bar)
            p.drawRect(QRectF(2, up ? 1 : 13.5, 12, 1.5));
    }
    auto* b = new QToolButton(this);
    b->setIcon(QIcon(pix));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setAutoRaise(false);
    return b;
}

bool TShowTextDialog::Prepare(const QString& title, const QString& fileName, const QPoint& pos) {
    if (!QFileInfo(fileName).isFile()) {
        m_dialogs.error(title, TD_("File: ") + notFound(QDir::toNativeSeparators(fileName)));
        return false;
    }
    m_title = title;
    m_textName = fileName;
    m_loaded = false;
    setWindowTitle(title + QStringLiteral(" [") +
                   QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()) +
                   QStringLiteral("]"));
    move(pos);
    return true;
}

bool TShowTextDialog::Execute(const QString& title, const QString& fileName, const QPoint& pos) {
    if (!Prepare(title, fileName, pos))
        return false;
    exec();
    return true;
}

void TShowTextDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    if (m_printerName.isEmpty())
        m_printerName = QPrinterInfo::defaultPrinterName();
    LoadText();
}

void TShowTextDialog::LoadText() {
    QFile file(m_textName);
    m_messagePanel->clear();
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        m_loadFailed = true;
        m_text = TLogText();
        m_view->setPlainText(errorMarker() + fmt(TD_("Error loading file: \"%s\""),
                                                 {QDir::toNativeSeparators(m_textName)}));
    } else {
        m_loadFailed = false;
        m_text = TLogText::fromBytes(bytes);
        m_view->setPlainText(m_text.display());
    }
    m_view->moveCursor(QTextCursor::End);
    m_view->ensureCursorVisible();
    m_view->setFocus();
    ShowLinePos();
}

QString TShowTextDialog::linePanel() const {
    return m_linePanel->text();
}

QString TShowTextDialog::messagePanel() const {
    return m_messagePanel->text();
}

void TShowTextDialog::ShowLinePos() {
    const int line = m_view->textCursor().blockNumber() + 1;
    const int count = m_view->document()->blockCount();
    m_linePanel->setText(
        fillNumbers(TD_(" Line: %u of %u"), {QString::number(line), QString::number(count)}));
}

void TShowTextDialog::SelectMatch(qsizetype at, qsizetype length) {
    QTextCursor c(m_view->document());
    c.setPosition(int(at));
    c.setPosition(int(at + length), QTextCursor::KeepAnchor);
    m_view->setTextCursor(c);
    m_view->ensureCursorVisible();
}

void TShowTextDialog::Jump(const QString& marker, bool forward, const QString& noMore) {
    m_find->setFindText(marker);
    const QTextCursor c = m_view->textCursor();
    const qsizetype at = m_loadFailed ? -1
                                      : findText(m_text.display(), marker,
                                                 forward ? c.selectionEnd() : c.selectionStart(),
                                                 forward, m_find->matchCase(), m_find->wholeWord());
    if (at >= 0) {
        SelectMatch(at, marker.size());
        m_messagePanel->clear();
        return;
    }
    m_view->moveCursor(forward ? QTextCursor::End : QTextCursor::Start);
    m_view->ensureCursorVisible();
    m_messagePanel->setText(noMore);
}

void TShowTextDialog::PrevSectionClick() {
    Jump(m_sectText, false, TD_("No further sections!"));
}

void TShowTextDialog::NextSectionClick() {
    Jump(m_sectText, true, TD_("No further sections!"));
}

void TShowTextDialog::PrevErrorClick() {
    Jump(errorMarker(), false, TD_("No further errors!"));
}

void TShowTextDialog::NextErrorClick() {
    Jump(errorMarker(), true, TD_("No further errors!"));
}

void TShowTextDialog::SearchClick() {
    if (!m_find->isVisible()) {
        const QPoint beside = m_searchButton->mapToGlobal(QPoint(m_searchButton->width() + 4, 0));
        m_find->adjustSize();
        m_find->move(beside - QPoint(0, m_find->height()));
    }
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
    m_find->textEdit()->setFocus();
    m_find->textEdit()->selectAll();
}

void TShowTextDialog::FindAgain(bool reverse) {
    const QString what = m_find->findText();
    if (what.isEmpty()) {
        SearchClick();
        return;
    }
    const bool forward = m_find->forward() != reverse;
    const QTextCursor c = m_view->textCursor();
    const qsizetype at = m_loadFailed ? -1
                                      : findText(m_text.display(), what,
                                                 forward ? c.selectionEnd() : c.selectionStart(),
                                                 forward, m_find->matchCase(), m_find->wholeWord());
    if (at < 0) {
        m_dialogs.error(m_title, notFound(what));
        return;
    }
    SelectMatch(at, what.size());
}

void TShowTextDialog::DeleteClick() {
    if (m_view->textCursor().hasSelection())
        DeleteSelection();
    else
        DeleteFile();
}

// The delete questions stand a little inside the viewer, near its buttons.
QPoint TShowTextDialog::questionPos() const {
    return frameGeometry().topLeft() + QPoint(200, 100);
}

void TShowTextDialog::DeleteSelection() {
    if (m_loadFailed) {
        // Only the error line is shown: writing it back would destroy the file.
        m_dialogs.beep();
        return;
    }
    if (m_dialogs.askAt(m_title, TD_("Delete selected text?"), mbYes | mbNo, mrNo, questionPos()) !=
        mrYes)
        return;
    QTextCursor c = m_view->textCursor();
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    TLogText changed = m_text;
    changed.remove(start, end);
    const QString error = writeFileAtomically(m_textName, changed.toBytes());
    if (!error.isNull()) {
        m_dialogs.error(
            m_title, fmt(TD_("Error writing to \"%s\""), {QDir::toNativeSeparators(m_textName)}) +
                         QStringLiteral("\r\n") + error);
        return;
    }
    // The view shows the text as the file now holds it: a lone CR that met an LF is one
    // break from now on.
    m_text = changed;
    const int hScroll = m_view->horizontalScrollBar()->value();
    const int vScroll = m_view->verticalScrollBar()->value();
    m_view->setPlainText(m_text.display());
    c = QTextCursor(m_view->document());
    c.setPosition(qMin(start, int(m_text.display().size())));
    m_view->setTextCursor(c);
    m_view->horizontalScrollBar()->setValue(hScroll);
    m_view->verticalScrollBar()->setValue(vScroll);
    ShowLinePos();
}

void TShowTextDialog::DeleteFile() {
    const QString name = QDir::toNativeSeparators(m_textName);
    if (m_dialogs.askAt(m_title, fmt(TD_("Delete file \"%s\"?"), {name}), mbYes | mbNo, mrNo,
                        questionPos()) == mrYes) {
        QFile file(m_textName);
        if (file.remove()) {
            m_text = TLogText();
            m_view->clear();
        } else {
            m_dialogs.error(m_title, fmt(TD_("Cannot delete file \"%s\":"), {name}) +
                                         QStringLiteral("\r\n") + file.errorString());
        }
    }
    reject();
}

bool TShowTextDialog::handleKey(QKeyEvent* event) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_F3:
        if (mods == Qt::NoModifier || mods == Qt::ShiftModifier) {
            FindAgain(mods == Qt::ShiftModifier);
            return true;
        }
        break;
    case Qt::Key_F:
        if (mods == Qt::ControlModifier) {
            SearchClick();
            return true;
        }
        break;
    case Qt::Key_Delete:
        if (mods == Qt::NoModifier && m_view->textCursor().hasSelection()) {
            DeleteSelection();
            return true;
        }
        break;
    case Qt::Key_Escape:
        if (mods == Qt::NoModifier) {
            reject();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

bool TShowTextDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::KeyPress &&
        handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TShowTextDialog::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event))
        QDialog::keyPressEvent(event);
}

bool showLogFile(QWidget* mainWindow, IDialogs& dialogs, const QString& title,
                 const QString& logName) {
    if (!QFileInfo(logName).isFile()) {
        dialogs.error(title, T_("Log file not found!"));
        return false;
    }
    TShowTextDialog viewer(dialogs, mainWindow);
    const QPoint origin = mainWindow ? mainWindow->pos() : QPoint();
    return viewer.Execute(title, logName, origin + QPoint(20, 20));
}

} // namespace orvel
