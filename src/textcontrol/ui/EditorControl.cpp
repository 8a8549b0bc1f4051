#include "textcontrol/ui/EditorControl.h"

#include "textcontrol/core/Utf8Columns.h"
#include "textcontrol/ui/EditorAccessible.h"
#include "textcontrol/ui/Highlighter.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>
#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

namespace orvel {

namespace {
constexpr int kLineNumberMargin = 0;
constexpr int kBookmarkMargin = 1;
constexpr int kBookmarkMask = 0x3FF; // markers 0..9 are the bookmarks
constexpr long kChangeNotices =
    QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE;
// Room for typing after a load, in bytes.
long withRoom(qsizetype length) {
    return long(length + length / 8 + 64 * 1024);
}
// Columns in lines up to this many bytes are counted on the spot; longer ones by the index.
constexpr long kShortLine = 4096;

QPixmap bookmarkPixmap(int n) {
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x30, 0x60, 0xC0));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 13, 13), 3, 3);
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 14, 14), Qt::AlignCenter, QString::number(n));
    return pm;
}
} // namespace

TEditorControl::TEditorControl(QWidget* parent)
    : QWidget(parent), m_sci(new QsciScintilla(this)),
      m_units([this](qsizetype start, qsizetype length) {
          return rangeBytes(long(start), long(length));
      }) {
    // Before the text area is shown: the control's own accessible counts the characters
    // from the start of the text at every update.
    TEditorAccessible::install();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_sci);
    setFocusProxy(m_sci);
    for (int i = 0; i < 10; ++i) {
        m_bookmarkColumn[i] = 0;
        m_bookmarkHandle[i] = -1;
    }

    m_sci->setUtf8(true);
    send(QsciScintillaBase::SCI_SETCODEPAGE, QsciScintillaBase::SC_CP_UTF8);
    // Only CR, LF and CR LF end lines: U+2028 is an ordinary character.
    send(QsciScintillaBase::SCI_SETLINEENDTYPESALLOWED,
         QsciScintillaBase::SC_LINE_END_TYPE_DEFAULT);
    // The keyboard table owns every key.
    send(QsciScintillaBase::SCI_CLEARALLCMDKEYS);
    for (QsciCommand* c : m_sci->standardCommands()->commands()) {
        c->setKey(0);
        c->setAlternateKey(0);
    }
    m_keys = defaultEditorKeyStrokes();
    send(QsciScintillaBase::SCI_SETPASTECONVERTENDINGS, 1);
    send(QsciScintillaBase::SCI_SETLAYOUTCACHE, QsciScintillaBase::SC_CACHE_PAGE);
    m_sci->setContextMenuPolicy(Qt::NoContextMenu);
    m_sci->setWrapMode(QsciScintilla::WrapNone);
    m_sci->setEolMode(QsciScintilla::EolWindows);
    m_sci->setCaretLineVisible(false);
    m_sci->setBraceMatching(QsciScintilla::SloppyBraceMatch);

    m_sci->setMarginType(kLineNumberMargin, QsciScintilla::NumberMargin);
    m_sci->setMarginType(kBookmarkMargin, QsciScintilla::SymbolMargin);
    m_sci->setMarginMarkerMask(kLineNumberMargin, 0);
    m_sci->setMarginMarkerMask(kBookmarkMargin, kBookmarkMask);
    m_sci->setMarginSensitivity(kLineNumberMargin, true);
    m_sci->setMarginSensitivity(kBookmarkMargin, true);
    for (int i = 0; i < 10; ++i)
        m_sci->markerDefine(bookmarkPixmap(i), i);

    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_fg = palette().color(QPalette::Text);
    m_bg = palette().color(QPalette::Base);
    setEditorFont(font);
    setColors(m_fg, m_bg);
    setTabWidth(2);
    setRightEdge(80);
    applyOptions();
    updateGutter();

    // The control's own idle colouring holds the event loop for seconds on a large file;
    // ours works in slices of a few milliseconds.
    m_styler = new QTimer(this);
    m_styler->setSingleShot(true);
    connect(m_styler, &QTimer::timeout, this, [this] { styleSomeMore(); });

    // A key stroke far from the last change moves the text's gap (all text in between) in
    // one go: after the caret jumps, the gap follows in small steps while the user is idle.
    m_gapWalker = new QTimer(this);
    m_gapWalker->setSingleShot(true);
    connect(m_gapWalker, &QTimer::timeout, this, [this] { moveGapToCaret(); });

    m_sci->installEventFilter(this);
    m_sci->viewport()->installEventFilter(this);

    connect(m_sci, &QsciScintilla::modificationChanged, this,
            [this] { Q_EMIT statusChanged(scModified); });
    connect(m_sci, &QsciScintilla::selectionChanged, this,
            [this] { Q_EMIT statusChanged(scSelection); });
    // The control's notices after a change cost time by the position of the change (a
    // keystroke at the end of 100 MB took 0.4 s): only the cheap ones before a change are
    // taken, for the UTF-16 positions; the update after each change tells the rest.
    send(QsciScintillaBase::SCI_SETMODEVENTMASK, kChangeNotices);
    connect(m_sci, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int pos, int type, const char*, int length) {
                const bool insert = type & QsciScintillaBase::SC_MOD_BEFOREINSERT;
                // Told while the index still matches the text.
                TEditorAccessible::beforeChange(this, pos, length, insert);
                if (insert)
                    m_units.beforeInsert(pos, length);
                else
                    m_units.beforeDelete(pos, length);
                stylingChangeAt(pos);
            });
    connect(m_sci, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        TEditorAccessible::updated(this);
        if (updated & QsciScintillaBase::SC_UPDATE_SELECTION)
            m_gapWalker->start(50);
        if (updated & QsciScintillaBase::SC_UPDATE_CONTENT) {
            m_styler->start(1000);
            if (lineCount() != m_shownLines)
                updateGutter();
            Q_EMIT contentChanged();
        }
        emitStatus();
    });
    connect(m_sci, &QsciScintilla::marginClicked, this,
            [this](int, int line, Qt::KeyboardModifiers) {
                Q_EMIT gutterClick(line + 1, bookmarkAtLine(line + 1));
            });
}

TEditorControl::~TEditorControl() {
    // The control goes first, detaching the highlighter's lexer as it does (setting no
    // lexer instead would restyle the whole text on the way out).
    delete m_sci;
}

long TEditorControl::send(unsigned msg, unsigned long w, long l) const {
    return m_sci->SendScintilla(msg, w, l);
}

long TEditorControl::sendPtr(unsigned msg, unsigned long w, const void* p) const {
    return m_sci->SendScintilla(msg, w, const_cast<void*>(p));
}

void TEditorControl::emitStatus() {
    const TBufferCoord c = caretXY();
    int changes = 0;
    if (c.Char != m_lastCaret.Char)
        changes |= scCaretX;
    if (c.Line != m_lastCaret.Line)
        changes |= scCaretY;
    m_lastCaret = c;
    if (changes)
        Q_EMIT statusChanged(changes);
}

// --- Text ------------------------------------------------------------------------------------

QByteArrayView TEditorControl::textBytes() const {
    const long len = send(QsciScintillaBase::SCI_GETLENGTH);
    const auto* p = static_cast<const char*>(
        m_sci->SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return QByteArrayView(p, len);
}

QString TEditorControl::text() const {
    return QString::fromUtf8(textBytes());
}

void TEditorControl::setText(const QString& text) {
    const QByteArray u = text.toUtf8();
    beginUpdate();
    send(QsciScintillaBase::SCI_SETTARGETSTART, 0);
    send(QsciScintillaBase::SCI_SETTARGETEND, send(QsciScintillaBase::SCI_GETLENGTH));
    sendPtr(QsciScintillaBase::SCI_REPLACETARGET, u.size(), u.constData());
    send(QsciScintillaBase::SCI_GOTOPOS, 0);
    endUpdate();
}

int TEditorControl::lineCount() const {
    return int(send(QsciScintillaBase::SCI_GETLINECOUNT));
}

QByteArray TEditorControl::lineBytes(int line0) const {
    if (line0 < 0 || line0 >= lineCount())
        return QByteArray();
    const long start = send(QsciScintillaBase::SCI_POSITIONFROMLINE, line0);
    const long end = send(QsciScintillaBase::SCI_GETLINEENDPOSITION, line0);
    const auto* p = reinterpret_cast<const char*>(
        send(QsciScintillaBase::SCI_GETRANGEPOINTER, start, end - start));
    return QByteArray(p, end - start);
}

QByteArrayView TEditorControl::rangeBytes(long start, long length) const {
    const auto* p =
        reinterpret_cast<const char*>(send(QsciScintillaBase::SCI_GETRANGEPOINTER, start, length));
    // An empty document has no storage yet: no pointer to read from.
    return p ? QByteArrayView(p, length) : QByteArrayView();
}

qsizetype TEditorControl::unitsBetween(long start, long end) const {
    if (end - start > kShortLine)
        return m_units.unitsBetween(start, end);
    // A character begun before the end counts whole: give its bytes too.
    const long lineEnd = send(QsciScintillaBase::SCI_GETLINEENDPOSITION,
                              send(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    const long stop = qMax(end, qMin(lineEnd, end + 3));
    return byteToUtf16Offset(rangeBytes(start, stop - start), end - start);
}

void TEditorControl::moveGapToCaret() {
    using B = QsciScintillaBase;
    constexpr long kNearGap = 256 * 1024;
    constexpr long kStep = 4 * 1024 * 1024;
    const long caret = send(B::SCI_GETCURRENTPOS);
    const long gap = send(B::SCI_GETGAPPOSITION);
    if (gap > caret + kNearGap) {
        // A range across the gap moves it to the range's start.
        const long to = qMax(caret, gap - kStep);
        send(B::SCI_GETRANGEPOINTER, to, gap - to + 1);
        if (to > caret)
            m_gapWalker->start(0);
    } else if (caret > gap + kNearGap) {
        // Forward it only goes to the end, at once; then back in steps.
        send(B::SCI_GETCHARACTERPOINTER);
        m_gapWalker->start(0);
    }
}

QString TEditorControl::line(int index) const {
    return QString::fromUtf8(lineBytes(index));
}

void TEditorControl::setLine(int index, const QString& text) {
    if (index < 0 || index >= lineCount())
        return;
    const QByteArray u = text.toUtf8();
    send(QsciScintillaBase::SCI_SETTARGETSTART,
         send(QsciScintillaBase::SCI_POSITIONFROMLINE, index));
    send(QsciScintillaBase::SCI_SETTARGETEND,
         send(QsciScintillaBase::SCI_GETLINEENDPOSITION, index));
    sendPtr(QsciScintillaBase::SCI_REPLACETARGET, u.size(), u.constData());
}

void TEditorControl::addLine(const QString& text) {
    QByteArray u = text.toUtf8();
    const long len = send(QsciScintillaBase::SCI_GETLENGTH);
    if (len > 0)
        u.prepend(lineBreakText(m_lineBreak));
    sendPtr(QsciScintillaBase::SCI_INSERTTEXT, len, u.constData());
}

void TEditorControl::insertLine(int index, const QString& text) {
    if (index >= lineCount() || send(QsciScintillaBase::SCI_GETLENGTH) == 0) {
        addLine(text);
        return;
    }
    const QByteArray u = text.toUtf8() + lineBreakText(m_lineBreak);
    sendPtr(QsciScintillaBase::SCI_INSERTTEXT,
            send(QsciScintillaBase::SCI_POSITIONFROMLINE, qMax(0, index)), u.constData());
}

void TEditorControl::deleteLine(int index) {
    const int n = lineCount();
    if (index < 0 || index >= n)
        return;
    long start = send(QsciScintillaBase::SCI_POSITIONFROMLINE, index);
    long end = send(QsciScintillaBase::SCI_POSITIONFROMLINE, index + 1);
    if (index == n - 1) {
        end = send(QsciScintillaBase::SCI_GETLENGTH);
        if (index > 0)
            start = send(QsciScintillaBase::SCI_GETLINEENDPOSITION, index - 1);
    }
    send(QsciScintillaBase::SCI_DELETERANGE, start, end - start);
}

void TEditorControl::clear() {
    send(QsciScintillaBase::SCI_CLEARALL);
}

void TEditorControl::replaceBytes(qsizetype start, qsizetype length, const QString& text) {
    const QByteArray u = text.toUtf8();
    send(QsciScintillaBase::SCI_BEGINUNDOACTION);
    send(QsciScintillaBase::SCI_SETTARGETSTART, long(start));
    send(QsciScintillaBase::SCI_SETTARGETEND, long(start + length));
    sendPtr(QsciScintillaBase::SCI_REPLACETARGET, u.size(), u.constData());
    send(QsciScintillaBase::SCI_ENDUNDOACTION);
}

void TEditorControl::beginUpdate() {
    if (m_updateDepth++ == 0) {
        send(QsciScintillaBase::SCI_BEGINUNDOACTION);
        m_sci->setUpdatesEnabled(false);
    }
}

void TEditorControl::endUpdate() {
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth == 0) {
        send(QsciScintillaBase::SCI_ENDUNDOACTION);
        m_sci->setUpdatesEnabled(true);
        emitStatus();
    }
}

void TEditorControl::setLineBreak(TLineBreak lb) {
    m_lineBreak = lb;
    m_sci->setEolMode(lb == lbLF   ? QsciScintilla::EolUnix
                      : lb == lbCR ? QsciScintilla::EolMac
                                   : QsciScintilla::EolWindows);
}

// --- Positions -------------------------------------------------------------------------------

long TEditorControl::positionOf(TBufferCoord pos, qsizetype* virtualSpace) const {
    using B = QsciScintillaBase;
    const int n = lineCount();
    const int line0 = qBound(0, pos.Line - 1, n - 1);
    const long start = send(B::SCI_POSITIONFROMLINE, line0);
    const long end = send(B::SCI_GETLINEENDPOSITION, line0);
    const qsizetype units = qMax(0, pos.Char - 1);
    long at;
    qsizetype beyond = 0;
    if (end - start <= kShortLine) {
        at = start + long(utf16ToByteOffset(rangeBytes(start, end - start), units, &beyond));
    } else {
        at = long(m_units.positionOfUnits(start, units, end));
        if (at == end)
            beyond = qMax<qsizetype>(0, units - m_units.unitsBetween(start, end));
    }
    if (virtualSpace)
        *virtualSpace = pos.Line - 1 == line0 ? beyond : 0;
    return at;
}

TBufferCoord TEditorControl::coordOf(long position, long virtualSpace) const {
    const int line0 = int(send(QsciScintillaBase::SCI_LINEFROMPOSITION, position));
    const long start = send(QsciScintillaBase::SCI_POSITIONFROMLINE, line0);
    return TBufferCoord{int(unitsBetween(start, position) + virtualSpace) + 1, line0 + 1};
}

TBufferCoord TEditorControl::caretXY() const {
    const long pos = send(QsciScintillaBase::SCI_GETCURRENTPOS);
    const long vs = send(QsciScintillaBase::SCI_GETSELECTIONNCARETVIRTUALSPACE,
                         send(QsciScintillaBase::SCI_GETMAINSELECTION));
    return coordOf(pos, vs);
}

void TEditorControl::setCaretXY(TBufferCoord pos) {
    settleStyling();
    qsizetype vs = 0;
    const long p = positionOf(pos, &vs);
    send(QsciScintillaBase::SCI_SETEMPTYSELECTION, p);
    if (vs > 0 && hasOption(m_options, eoScrollPastEol)) {
        send(QsciScintillaBase::SCI_SETSELECTIONNCARETVIRTUALSPACE, 0, long(vs));
        send(QsciScintillaBase::SCI_SETSELECTIONNANCHORVIRTUALSPACE, 0, long(vs));
    }
    send(QsciScintillaBase::SCI_CHOOSECARETX);
    if (m_sci->isVisible()) {
        send(QsciScintillaBase::SCI_SCROLLCARET);
    } else {
        // Scrolled in a window of no width, the text would start shifted to the left.
        send(QsciScintillaBase::SCI_SETXOFFSET, 0);
        m_scrollWhenShown = true;
    }
    emitStatus();
}

void TEditorControl::setCaretX(int x) {
    setCaretXY({x, caretY()});
}

void TEditorControl::setCaretY(int y) {
    setCaretXY({caretX(), y});
}

TBufferCoord TEditorControl::blockBegin() const {
    return coordOf(send(QsciScintillaBase::SCI_GETSELECTIONSTART));
}

TBufferCoord TEditorControl::blockEnd() const {
    return coordOf(send(QsciScintillaBase::SCI_GETSELECTIONEND));
}

void TEditorControl::setBlockBegin(TBufferCoord pos) {
    send(QsciScintillaBase::SCI_SETEMPTYSELECTION, positionOf(pos));
}

void TEditorControl::setBlockEnd(TBufferCoord pos) {
    const long anchor = send(QsciScintillaBase::SCI_GETSELECTIONSTART);
    send(QsciScintillaBase::SCI_SETSEL, anchor, positionOf(pos));
}

void TEditorControl::setSelection(TBufferCoord anchor, TBufferCoord caret) {
    send(QsciScintillaBase::SCI_SETSEL, positionOf(anchor), positionOf(caret));
}

bool TEditorControl::hasSelection() const {
    return send(QsciScintillaBase::SCI_GETSELECTIONSTART) !=
           send(QsciScintillaBase::SCI_GETSELECTIONEND);
}

qsizetype TEditorControl::lineStartIndex(int line0) const {
    // Each line break counts two, as CR LF, whatever it is in the text.
    const long start = send(QsciScintillaBase::SCI_POSITIONFROMLINE, line0);
    return m_units.unitsBefore(start) + line0 - m_units.crLfBefore(start);
}

int TEditorControl::rowColToCharIndex(TBufferCoord pos) const {
    const int line0 = qBound(0, pos.Line - 1, lineCount() - 1);
    return int(lineStartIndex(line0) + qMax(0, pos.Char - 1));
}

TBufferCoord TEditorControl::charIndexToRowCol(int index) const {
    using B = QsciScintillaBase;
    index = qMax(0, index);
    // The last line starting at or before the index; an index inside a line break means
    // the end of that line.
    int low = 0;
    int high = lineCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (lineStartIndex(mid) <= index)
            low = mid;
        else
            high = mid - 1;
    }
    const long start = send(B::SCI_POSITIONFROMLINE, low);
    const qsizetype length = unitsBetween(start, send(B::SCI_GETLINEENDPOSITION, low));
    return TBufferCoord{int(qMin(index - lineStartIndex(low), length)) + 1, low + 1};
}

QString TEditorControl::textRange(TBufferCoord from, TBufferCoord to) const {
    long a = positionOf(from);
    long b = positionOf(to);
    if (b < a)
        std::swap(a, b);
    const auto* p =
        reinterpret_cast<const char*>(send(QsciScintillaBase::SCI_GETRANGEPOINTER, a, b - a));
    return QString::fromUtf8(p, b - a);
}

TBufferCoord TEditorControl::movedBy(TBufferCoord pos, int characters) const {
    const long p = send(QsciScintillaBase::SCI_POSITIONRELATIVE, positionOf(pos), characters);
    // The control answers 0 when the move leaves the text.
    if (p == 0 && characters > 0)
        return coordOf(send(QsciScintillaBase::SCI_GETLENGTH));
    return coordOf(p);
}

int TEditorControl::selStart() const {
    return rowColToCharIndex(blockBegin());
}

int TEditorControl::selLength() const {
    return rowColToCharIndex(blockEnd()) - rowColToCharIndex(blockBegin());
}

void TEditorControl::setSelStart(int index) {
    setBlockBegin(charIndexToRowCol(index));
}

void TEditorControl::setSelLength(int length) {
    const int start = selStart();
    setSelection(charIndexToRowCol(start), charIndexToRowCol(start + qMax(0, length)));
}

QPoint TEditorControl::rowColumnToPixels(TBufferCoord pos) const {
    const long p = positionOf(pos);
    const QPoint local(int(send(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, p)),
                       int(send(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, p)));
    return m_sci->viewport()->mapTo(const_cast<TEditorControl*>(this), local);
}

TBufferCoord TEditorControl::pixelsToRowColumn(QPoint p) const {
    const QPoint local = m_sci->viewport()->mapFrom(const_cast<TEditorControl*>(this), p);
    return coordOf(send(QsciScintillaBase::SCI_POSITIONFROMPOINT, local.x(), local.y()));
}

int TEditorControl::topLine() const {
    return int(send(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE)) + 1;
}

int TEditorControl::linesInWindow() const {
    return int(send(QsciScintillaBase::SCI_LINESONSCREEN));
}

// --- Editing ---------------------------------------------------------------------------------

QString TEditorControl::selText() const {
    const long a = send(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long b = send(QsciScintillaBase::SCI_GETSELECTIONEND);
    if (send(QsciScintillaBase::SCI_SELECTIONISRECTANGLE))
        return m_sci->selectedText();
    const auto* p =
        reinterpret_cast<const char*>(send(QsciScintillaBase::SCI_GETRANGEPOINTER, a, b - a));
    return QString::fromUtf8(p, b - a);
}

void TEditorControl::setSelText(const QString& text) {
    const QByteArray u = text.toUtf8();
    beginUpdate();
    const long a = send(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long b = send(QsciScintillaBase::SCI_GETSELECTIONEND);
    send(QsciScintillaBase::SCI_SETTARGETSTART, a);
    send(QsciScintillaBase::SCI_SETTARGETEND, b);
    sendPtr(QsciScintillaBase::SCI_REPLACETARGET, u.size(), u.constData());
    send(QsciScintillaBase::SCI_GOTOPOS, a + u.size());
    endUpdate();
}

bool TEditorControl::modified() const {
    return m_forcedModified || send(QsciScintillaBase::SCI_GETMODIFY) != 0;
}

void TEditorControl::setModified(bool value) {
    const bool was = modified();
    m_forcedModified = value;
    if (!value)
        send(QsciScintillaBase::SCI_SETSAVEPOINT);
    if (was != modified())
        Q_EMIT statusChanged(scModified);
}

bool TEditorControl::readOnly() const {
    return m_sci->isReadOnly();
}

void TEditorControl::setReadOnly(bool value) {
    m_sci->setReadOnly(value);
    Q_EMIT statusChanged(scReadOnly);
}

bool TEditorControl::insertMode() const {
    return !send(QsciScintillaBase::SCI_GETOVERTYPE);
}

void TEditorControl::setInsertMode(bool value) {
    send(QsciScintillaBase::SCI_SETOVERTYPE, value ? 0 : 1);
    Q_EMIT statusChanged(scInsertMode);
}

void TEditorControl::undo() {
    send(QsciScintillaBase::SCI_UNDO);
}
void TEditorControl::redo() {
    send(QsciScintillaBase::SCI_REDO);
}
bool TEditorControl::canUndo() const {
    return send(QsciScintillaBase::SCI_CANUNDO) != 0;
}
bool TEditorControl::canRedo() const {
    return send(QsciScintillaBase::SCI_CANREDO) != 0;
}
void TEditorControl::clearUndo() {
    send(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
}
void TEditorControl::cutToClipboard() {
    m_sci->cut();
}
void TEditorControl::copyToClipboard() {
    m_sci->copy();
}
void TEditorControl::pasteFromClipboard() {
    m_sci->paste();
}

bool TEditorControl::canPaste() const {
    const QMimeData* md = QApplication::clipboard()->mimeData();
    return md && md->hasText() && !readOnly();
}

void TEditorControl::selectAll() {
    send(QsciScintillaBase::SCI_SELECTALL);
}

QChar TEditorControl::charAt(long pos) const {
    const long len = send(QsciScintillaBase::SCI_GETLENGTH);
    if (pos < 0 || pos >= len)
        return QChar();
    const long n = qMin<long>(4, len - pos);
    const auto* p =
        reinterpret_cast<const char*>(send(QsciScintillaBase::SCI_GETRANGEPOINTER, pos, n));
    const QByteArrayView bytes(p, n);
    const qsizetype seq = utf8SequenceLength(bytes, 0);
    const QString s = QString::fromUtf8(p, seq);
    // A character outside the BMP counts as a letter for word purposes when it is one.
    if (s.size() == 2 && QChar::isLetterOrNumber(s.toUcs4().value(0)))
        return QChar(u'a');
    return s.isEmpty() ? QChar() : s.at(0);
}

bool TEditorControl::isWordChar(QChar c) const {
    return c.isLetterOrNumber() || c == u'_';
}

long TEditorControl::wordStartPos(long pos) const {
    while (pos > 0) {
        const long before = send(QsciScintillaBase::SCI_POSITIONBEFORE, pos);
        if (!isWordChar(charAt(before)))
            break;
        pos = before;
    }
    return pos;
}

long TEditorControl::wordEndPos(long pos) const {
    const long len = send(QsciScintillaBase::SCI_GETLENGTH);
    while (pos < len && isWordChar(charAt(pos)))
        pos = send(QsciScintillaBase::SCI_POSITIONAFTER, pos);
    return pos;
}

TBufferCoord TEditorControl::wordStart(TBufferCoord pos) const {
    return coordOf(wordStartPos(positionOf(pos)));
}

TBufferCoord TEditorControl::wordEnd(TBufferCoord pos) const {
    return coordOf(wordEndPos(positionOf(pos)));
}

TBufferCoord TEditorControl::nextWordPos(TBufferCoord pos) const {
    const long len = send(QsciScintillaBase::SCI_GETLENGTH);
    long p = wordEndPos(positionOf(pos));
    while (p < len && !isWordChar(charAt(p)))
        p = send(QsciScintillaBase::SCI_POSITIONAFTER, p);
    return coordOf(p);
}

QString TEditorControl::wordAt(TBufferCoord pos) const {
    const long p = positionOf(pos);
    const long start = wordStartPos(p);
    const long end = wordEndPos(p);
    if (start == end)
        return QString();
    const auto* ptr = reinterpret_cast<const char*>(
        send(QsciScintillaBase::SCI_GETRANGEPOINTER, start, end - start));
    return QString::fromUtf8(ptr, end - start);
}

QString TEditorControl::wordAtCaret() const {
    return wordAt(caretXY());
}

void TEditorControl::selectWord() {
    const long p = send(QsciScintillaBase::SCI_GETCURRENTPOS);
    send(QsciScintillaBase::SCI_SETSEL, wordStartPos(p), wordEndPos(p));
}

TBufferCoord TEditorControl::matchingBracketPos(TBufferCoord pos) const {
    const long m = send(QsciScintillaBase::SCI_BRACEMATCH, positionOf(pos), 0);
    return m < 0 ? TBufferCoord{0, 0} : coordOf(m);
}

bool TEditorControl::findMatchingBracket() {
    const long caret = send(QsciScintillaBase::SCI_GETCURRENTPOS);
    long m = send(QsciScintillaBase::SCI_BRACEMATCH, caret, 0);
    if (m < 0 && caret > 0)
        m = send(QsciScintillaBase::SCI_BRACEMATCH,
                 send(QsciScintillaBase::SCI_POSITIONBEFORE, caret), 0);
    if (m < 0)
        return false;
    send(QsciScintillaBase::SCI_GOTOPOS, m);
    return true;
}

int TEditorControl::caretLineIndent() const {
    if (!hasOption(m_options, eoAutoIndent))
        return m_tabWidth;
    const QByteArray l = lineBytes(caretY() - 1);
    int n = 0;
    while (n < l.size() && static_cast<unsigned char>(l.at(n)) <= 32)
        ++n;
    return n == 0 ? m_tabWidth : n;
}

// --- Bookmarks -------------------------------------------------------------------------------

void TEditorControl::setBookmark(int n, TBufferCoord pos) {
    if (n < 0 || n > 9)
        return;
    clearBookmark(n);
    const int line0 = qBound(0, pos.Line - 1, lineCount() - 1);
    m_bookmarkHandle[n] = m_sci->markerAdd(line0, n);
    m_bookmarkColumn[n] = qMax(1, pos.Char);
}

void TEditorControl::clearBookmark(int n) {
    if (n < 0 || n > 9 || m_bookmarkHandle[n] < 0)
        return;
    m_sci->markerDeleteHandle(m_bookmarkHandle[n]);
    m_bookmarkHandle[n] = -1;
}

bool TEditorControl::isBookmarkSet(int n) const {
    return n >= 0 && n <= 9 && m_bookmarkHandle[n] >= 0 &&
           m_sci->markerLine(m_bookmarkHandle[n]) >= 0;
}

TBufferCoord TEditorControl::bookmarkPos(int n) const {
    if (!isBookmarkSet(n))
        return TBufferCoord{0, 0};
    return TBufferCoord{m_bookmarkColumn[n], m_sci->markerLine(m_bookmarkHandle[n]) + 1};
}

void TEditorControl::gotoBookmark(int n) {
    if (isBookmarkSet(n))
        setCaretXY(bookmarkPos(n));
}

int TEditorControl::bookmarkAtLine(int line) const {
    for (int n = 0; n < 10; ++n)
        if (isBookmarkSet(n) && bookmarkPos(n).Line == line)
            return n;
    return -1;
}

// --- View properties -------------------------------------------------------------------------

void TEditorControl::setEditorFont(const QFont& font) {
    m_font = font;
    if (m_highlighter && m_highlightOn)
        m_highlighter->setBaseFont(font);
    else
        m_sci->setFont(font);
    m_sci->setMarginsFont(font);
    updateGutter();
}

void TEditorControl::setColors(const QColor& foreground, const QColor& background) {
    m_fg = foreground;
    m_bg = background;
    if (m_highlighter && m_highlightOn) {
        m_highlighter->setBaseColors(foreground, background);
    } else {
        m_sci->setColor(foreground);
        m_sci->setPaper(background);
    }
}

void TEditorControl::setTabWidth(int width) {
    m_tabWidth = qBound(1, width, 64);
    m_sci->setTabWidth(m_tabWidth);
    m_sci->setIndentationWidth(m_tabWidth);
}

void TEditorControl::setRightEdge(int column) {
    m_rightEdge = column;
    m_sci->setEdgeMode(column > 0 ? QsciScintilla::EdgeLine : QsciScintilla::EdgeNone);
    m_sci->setEdgeColumn(column);
}

void TEditorControl::setGutterVisible(bool on) {
    m_gutterVisible = on;
    updateGutter();
}

void TEditorControl::setShowLineNumbers(bool on) {
    m_lineNumbers = on;
    updateGutter();
}

void TEditorControl::setDigitCount(int digits) {
    m_digits = qBound(1, digits, 12);
    updateGutter();
}

void TEditorControl::updateGutter() {
    m_shownLines = lineCount();
    if (!m_gutterVisible) {
        m_sci->setMarginWidth(kLineNumberMargin, 0);
        m_sci->setMarginWidth(kBookmarkMargin, 0);
        return;
    }
    const int needed = qMax(m_digits, int(QString::number(lineCount()).size()));
    m_sci->setMarginWidth(kLineNumberMargin, m_lineNumbers ? QString(needed + 1, u'9') : QString());
    m_sci->setMarginWidth(kBookmarkMargin, 16);
}

void TEditorControl::setOptions(TEditorOptions options) {
    m_options = options & kAllOptionBits;
    applyOptions();
}

void TEditorControl::applyOptions() {
    using B = QsciScintillaBase;
    const auto on = [this](TEditorOption o) { return hasOption(m_options, o); };
    m_sci->setAutoIndent(false); // line breaks indent through our own command
    m_sci->setIndentationsUseTabs(!on(eoTabsToSpaces));
    send(B::SCI_SETBACKSPACEUNINDENTS, on(eoSmartTabDelete));
    send(B::SCI_SETTABINDENTS, on(eoTabIndent));
    send(B::SCI_SETVIRTUALSPACEOPTIONS,
         B::SCVS_RECTANGULARSELECTION | (on(eoScrollPastEol) ? B::SCVS_USERACCESSIBLE : 0));
    send(B::SCI_SETENDATLASTLINE, !on(eoScrollPastEof));
    send(B::SCI_SETCARETSTICKY, on(eoKeepCaretX) ? 1 : 0);
    send(B::SCI_SETRECTANGULARSELECTIONMODIFIER,
         on(eoAltSetsColumnMode) ? B::SCMOD_ALT : B::SCMOD_SUPER);
    send(B::SCI_SETSCROLLWIDTHTRACKING, 1); // the scroll width always follows the text
    m_sci->setWhitespaceVisibility(on(eoShowSpecialChars) ? QsciScintilla::WsVisible
                                                          : QsciScintilla::WsInvisible);
    m_sci->setEolVisibility(on(eoShowSpecialChars));
    send(B::SCI_SETCARETWIDTH, on(eoNoCaret) ? 0 : 1);
    const Qt::ScrollBarPolicy policy =
        on(eoHideShowScrollbars) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    m_sci->setVerticalScrollBarPolicy(policy);
    m_sci->setHorizontalScrollBarPolicy(policy);
}

void TEditorControl::setColumnMode(bool on) {
    send(QsciScintillaBase::SCI_SETSELECTIONMODE,
         on ? QsciScintillaBase::SC_SEL_RECTANGLE : QsciScintillaBase::SC_SEL_STREAM);
}

bool TEditorControl::columnMode() const {
    return send(QsciScintillaBase::SCI_GETSELECTIONMODE) == QsciScintillaBase::SC_SEL_RECTANGLE;
}

// --- Files -----------------------------------------------------------------------------------

void TEditorControl::beginLoad(qsizetype sizeHint) {
    using B = QsciScintillaBase;
    for (int n = 0; n < 10; ++n)
        clearBookmark(n);
    m_loadReadOnly = readOnly();
    m_sci->setReadOnly(false);
    // No undo history and no notifications while the text pours in: a large file is
    // neither copied into the history nor announced piece by piece.
    m_sci->blockSignals(true);
    send(B::SCI_SETMODEVENTMASK, 0);
    send(B::SCI_SETUNDOCOLLECTION, 0);
    send(B::SCI_CLEARALL);
    send(B::SCI_ALLOCATE, withRoom(sizeHint));
}

void TEditorControl::endLoad(TLineBreak lineBreak) {
    using B = QsciScintillaBase;
    // Room to type in: growing the text by a key stroke would otherwise copy all of it.
    send(B::SCI_ALLOCATE, withRoom(send(B::SCI_GETLENGTH)));
    // The caret starts at the top: the text's gap and its colours' gap move there now, as
    // part of the load, rather than with all of the text at the first key stroke.
    sendPtr(B::SCI_INSERTTEXT, 0, " ");
    send(B::SCI_DELETERANGE, 0, 1);
    send(B::SCI_SETUNDOCOLLECTION, 1);
    send(B::SCI_EMPTYUNDOBUFFER);
    m_units.reset(send(B::SCI_GETLENGTH));
    send(B::SCI_SETMODEVENTMASK, kChangeNotices);
    m_sci->blockSignals(false);
    setLineBreak(lineBreak);
    send(B::SCI_GOTOPOS, 0);
    m_sci->setReadOnly(m_loadReadOnly);
    m_forcedModified = false;
    send(B::SCI_SETSAVEPOINT);
    updateGutter();
    restartStyling();
    Q_EMIT statusChanged(scAll);
}

void TEditorControl::loadUtf8(QByteArray utf8, TLineBreak lineBreak) {
    beginLoad(utf8.size());
    sendPtr(QsciScintillaBase::SCI_APPENDTEXT, utf8.size(), utf8.constData());
    utf8 = QByteArray();
    endLoad(lineBreak);
}

TLoadedText TEditorControl::loadFile(const QString& fileName) {
    using B = QsciScintillaBase;
    // Kept only to give the text back if the file fails half-way (a new window has none).
    const QByteArrayView current = textBytes();
    const QByteArray previous(current.data(), current.size());
    const TLineBreak previousBreak = m_lineBreak;
    beginLoad(QFileInfo(fileName).size());
    const TLoadedText loaded = streamTextFile(
        fileName,
        [this](QByteArrayView piece) { sendPtr(B::SCI_APPENDTEXT, piece.size(), piece.data()); },
        [this] { send(B::SCI_CLEARALL); });
    if (!loaded.ok()) {
        send(B::SCI_CLEARALL);
        sendPtr(B::SCI_APPENDTEXT, previous.size(), previous.constData());
        endLoad(previousBreak);
        return loaded;
    }
    endLoad(loaded.lineBreak);
    return loaded;
}

TSaveResult TEditorControl::saveFile(const QString& fileName, TSynEncoding encoding,
                                     bool bom) const {
    // Each line keeps its own break: only lines the user made carry the document's style.
    return saveTextFile(fileName, textBytes(), encoding, bom);
}

void TEditorControl::focusText() {
    m_sci->setFocus();
}

} // namespace orvel
