#include "spelling/ui/SynEditSpellPlugin.h"

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "spelling/ui/SpellMenus.h"
#include "textcontrol/ui/EditorControl.h"

#include <QEvent>
#include <utility>

namespace orvel {

namespace {

// Lines longer than this are checked only around the columns shown: a page of minified
// HTML on one line must not hold up the view.
constexpr int kLongLine = 4000;
constexpr int kLongLineMargin = 400;

QString attributeAt(const QList<TAttrRun>& runs, qsizetype pos) {
    for (const TAttrRun& r : runs)
        if (pos >= r.start && pos < r.start + r.length)
            return r.attribute;
    return QString();
}

} // namespace

TDrawAutoSpellCheckPlugin::TDrawAutoSpellCheckPlugin(TEditorControl* AOwner,
                                                     TSynEditSpellCheck* ASynEditSpellCheck)
    : QObject(AOwner), m_editor(AOwner), m_checker(ASynEditSpellCheck) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TDrawAutoSpellCheckPlugin::checkVisibleLines);
    // The keystroke's own event only sets the timer going again.
    m_editor->onViewUpdated(this, [this](int what) {
        if (what & TEditorControl::vuContent) {
            m_styleStart.line = -1;
            m_timer.start(kTypingPause);
        } else if (!m_timer.isActive()) {
            m_timer.start(kScrollPause);
        }
    });
    const auto stale = [this] {
        invalidate();
        schedule(0);
    };
    connect(m_checker, &TSynEditSpellCheck::stateChanged, this, stale);
    connect(m_checker, &TSynEditSpellCheck::dictionariesLoaded, this, stale);
    const quint32 bgr = m_checker->underlineColor();
    m_editor->setSpellMarkColor(
        QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)));
    m_editor->installEventFilter(this);
}

void TDrawAutoSpellCheckPlugin::setLanguage(quint32 id) {
    if (m_language == id)
        return;
    m_language = id;
    invalidate();
    schedule(0);
}

bool TDrawAutoSpellCheckPlugin::activate() {
    const bool ok = m_checker->SelectDictionary(m_language);
    invalidate();
    schedule(0);
    return ok;
}

void TDrawAutoSpellCheckPlugin::invalidate() {
    m_checked.clear();
}

void TDrawAutoSpellCheckPlugin::schedule(int msecs) {
    if (!m_timer.isActive() || m_timer.remainingTime() > msecs)
        m_timer.start(msecs);
}

bool TDrawAutoSpellCheckPlugin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && (event->type() == QEvent::Show || event->type() == QEvent::Resize))
        schedule(kScrollPause);
    return QObject::eventFilter(watched, event);
}

// The checker's active language is this document's: its words can be checked.
bool TDrawAutoSpellCheckPlugin::checking() const {
    return m_language != 0 && m_checker->enabled() && m_checker->langId() == m_language;
}

// Nothing is to be marked: no language, no dictionary for it, checking of the language
// off, or automatic checking off. (With another language active, the marks of a document
// in the background simply wait.)
bool TDrawAutoSpellCheckPlugin::markingOff() const {
    if (m_language == 0 || !(m_checker->options() & sscoAutoSpellCheck))
        return true;
    if (m_checker->isLoading())
        return false;
    return !m_checker->hasDictionary(m_language) ||
           (m_checker->langId() == m_language && !m_checker->enabled());
}

bool TDrawAutoSpellCheckPlugin::startsInStyle(int index) {
    if (!m_editor->highlighter() || index <= 0)
        return false;
    const QByteArrayView text = m_editor->textBytes();
    if (m_styleStart.line == index && m_styleStart.length == text.size())
        return m_styleStart.inside;
    const QString tag = m_editor->defaultAttributeName(akKeyword);
    qsizetype before = m_editor->lineStartByte(index);
    bool opening = false;
    bool inside = false;
    for (;;) {
        const qsizetype at = lastStyleTag(text, before, &opening);
        if (at < 0)
            break;
        // Only a real tag counts, not the words in a comment or a script.
        if (m_editor->attributeNameAt(m_editor->byteToRowCol(at)) == tag) {
            inside = opening;
            break;
        }
        before = at;
    }
    m_styleStart = {index, text.size(), inside};
    return inside;
}

QByteArray TDrawAutoSpellCheckPlugin::checkedMask(const QString& text, const QList<TAttrRun>& runs,
                                                  bool* inStyle) const {
    QByteArray mask(text.size(), '\0');
    const QChar* lastName = nullptr; // the runs share the highlighter's few names
    bool lastChecked = false;
    for (const TAttrRun& r : runs) {
        const int start = qBound(0, r.start, int(mask.size()));
        const int length = qBound(0, r.length, int(mask.size()) - start);
        if (r.attribute.constData() != lastName) {
            lastName = r.attribute.constData();
            lastChecked = m_checker->CheckHighlighterAttribute(r.attribute);
        }
        if (lastChecked)
            std::fill_n(mask.data() + start, length, '\1');
    }
    // Style sheets look like text to the highlighter: blank them out.
    const QString tag = m_editor->defaultAttributeName(akKeyword);
    qsizetype from = 0;
    for (;;) {
        bool opening = false;
        qsizetype at = nextStyleTag(text, from, &opening);
        while (at >= 0 && attributeAt(runs, at) != tag)
            at = nextStyleTag(text, at + 1, &opening);
        const qsizetype end = at < 0 ? text.size() : at;
        if (*inStyle && end > from)
            std::fill_n(mask.data() + from, end - from, '\0');
        if (at < 0)
            break;
        *inStyle = opening;
        from = at + 1;
    }
    return mask;
}

QList<TSpellWord> TDrawAutoSpellCheckPlugin::lineWords(int index, bool* inStyle, QString* textOut) {
    QList<TAttrRun> runs;
    const QString text = m_editor->lineAttributes(index, runs);
    if (textOut)
        *textOut = text;
    if (!m_editor->highlighter())
        return splitSpellWords(text, {}, m_split);
    return splitSpellWords(text, checkedMask(text, runs, inStyle), m_split);
}

QList<TSpellWord> TDrawAutoSpellCheckPlugin::misspeltWords(int index) {
    QList<TSpellWord> out;
    if (!checking())
        return out;
    m_split = m_checker->splitOptions(m_editor->highlighter() != nullptr);
    bool inStyle = startsInStyle(index);
    for (const TSpellWord& w : lineWords(index, &inStyle))
        if (!m_checker->CheckWord(w.word))
            out << w;
    return out;
}

void TDrawAutoSpellCheckPlugin::checkVisibleLines() {
    if (markingOff()) {
        if (!m_marksCleared) {
            m_editor->clearSpellMarks();
            m_marksCleared = true;
        }
        m_checked.clear();
        return;
    }
    if (!checking() || !(m_checker->options() & sscoAutoSpellCheck) || !m_editor->isVisible())
        return;
    const bool html = m_editor->highlighter() != nullptr;
    m_split = m_checker->splitOptions(html);
    const int first = qMax(0, m_editor->topLine() - 1);
    const int last = qMin(m_editor->lineCount() - 1, first + m_editor->linesInWindow());
    // Scrolling through a huge document would keep a key for every line ever shown.
    if (m_checked.size() > 20000)
        m_checked.clear();
    bool inStyle = startsInStyle(first);
    for (int line = first; line <= last; ++line) {
        QList<TAttrRun> runs;
        const QString text = m_editor->lineAttributes(line, runs);
        int from = 0;
        int to = int(text.size());
        if (text.size() > kLongLine) {
            const int y = m_editor->rowColumnToPixels({1, line + 1}).y();
            from = qMax(0, m_editor->pixelsToRowColumn(QPoint(0, y)).Char - 1 - kLongLineMargin);
            to = qBound(from,
                        m_editor->pixelsToRowColumn(QPoint(m_editor->width(), y)).Char +
                            kLongLineMargin,
                        to);
            // Start between words, so that no word is cut.
            while (from > 0 && !text[from - 1].isSpace() && text[from - 1] != u'>')
                --from;
        }
        const bool styleBefore = inStyle;
        const QByteArray mask = html ? checkedMask(text, runs, &inStyle) : QByteArray();

        size_t key = qHashMulti(qHash(text), from, to, styleBefore);
        for (const TAttrRun& r : runs)
            key = qHashMulti(key, r.start, r.attribute);
        const auto known = m_checked.constFind(line);
        if (known != m_checked.constEnd() && *known == key)
            continue;
        m_checked.insert(line, key);
        ++m_linesChecked;

        QList<TLineRange> marks;
        const QStringView part = QStringView(text).mid(from, to - from);
        const QByteArrayView partMask =
            html ? QByteArrayView(mask).sliced(from, to - from) : QByteArrayView();
        for (const TSpellWord& w : splitSpellWords(part, partMask, m_split))
            if (!m_checker->CheckWord(w.word))
                marks.append({from + w.start, w.length});
        if (!marks.isEmpty() || !m_marksCleared)
            m_editor->setSpellMarks(line, marks);
        if (!marks.isEmpty())
            m_marksCleared = false;
    }
}

bool TDrawAutoSpellCheckPlugin::findNextMisspelling() {
    if (!checking())
        return false;
    m_split = m_checker->splitOptions(m_editor->highlighter() != nullptr);
    m_checker->setBusy(true);
    const TBufferCoord caret = m_editor->caretXY();
    const int lines = m_editor->lineCount();
    bool inStyle = startsInStyle(caret.Line - 1);
    for (int line = caret.Line - 1; line < lines; ++line) {
        for (const TSpellWord& w : lineWords(line, &inStyle)) {
            if (line == caret.Line - 1 && w.start < caret.Char - 1)
                continue;
            if (!m_checker->CheckWord(w.word)) {
                m_checker->setBusy(false);
                m_editor->setSelection({w.start + 1, line + 1}, {w.start + w.length + 1, line + 1});
                return true;
            }
        }
    }
    m_checker->setBusy(false);
    return false;
}

void TDrawAutoSpellCheckPlugin::ActionMisspell(IDialogs& dialogs, const QString& title) {
    if (findNextMisspelling())
        return;
    dialogs.beep();
    dialogs.info(title, T_("No more misspellings found!"));
}

TSpellMenuInfo TDrawAutoSpellCheckPlugin::menuInfo(TBufferCoord pos) {
    TSpellMenuInfo info;
    if (!checking())
        return info;
    m_split = m_checker->splitOptions(m_editor->highlighter() != nullptr);
    QString text;
    bool inStyle = startsInStyle(pos.Line - 1);
    const int column = pos.Char - 1;
    for (const TSpellWord& w : lineWords(pos.Line - 1, &inStyle, &text)) {
        if (column < w.start || column > w.start + w.length)
            continue;
        info.word = w.dictWord();
        info.line = pos.Line;
        info.range = {w.start, w.length};
        info.original = text.mid(w.start, w.length);
        info.misspelt = !m_checker->CheckWord(w.word);
        if (!info.misspelt)
            break;
        info.addCaption = fmt(T_("&Add \"%s\" to dictionary"), {escapeMenuCaption(info.word)});
        if (m_checker->options() & sscoSuggestWords) {
            m_checker->GetSuggestions(info.word, info.suggestions);
            info.suggestions.removeAll(info.word);
        }
        for (const QString& s : info.suggestions)
            info.suggestionCaptions << escapeMenuCaption(s);
        // A word written with entities gets its letters beyond ASCII as entities again.
        if (w.hasEntities) {
            for (QString& s : info.suggestions) {
                QString encoded;
                for (char32_t c : s.toUcs4())
                    encoded += c < 128 ? QString(QChar(char16_t(c))) : m_checker->entityText(c);
                s = encoded;
            }
        }
        break;
    }
    return info;
}

bool TDrawAutoSpellCheckPlugin::replaceWord(const TSpellMenuInfo& info, const QString& suggestion) {
    if (info.line < 1 || info.line > m_editor->lineCount() || info.original.isEmpty())
        return false;
    const TBufferCoord a{info.range.start + 1, info.line};
    const TBufferCoord b{info.range.start + info.range.length + 1, info.line};
    if (m_editor->textRange(a, b) != info.original)
        return false;
    m_editor->setSelection(a, b);
    m_editor->setSelText(suggestion);
    return true;
}

TStatus TDrawAutoSpellCheckPlugin::addWord(const QString& word) {
    if (word.trimmed().isEmpty() || m_editor->lineCount() == 0)
        return TStatus();
    return m_checker->AddDictWord(word);
}

TStatus TDrawAutoSpellCheckPlugin::ActionAddDict() {
    QString word = std::exchange(m_remembered, QString());
    if (word.isEmpty()) {
        const TSpellMenuInfo info = menuInfo(m_editor->caretXY());
        if (info.misspelt)
            word = info.word;
    }
    return addWord(word);
}

} // namespace orvel
