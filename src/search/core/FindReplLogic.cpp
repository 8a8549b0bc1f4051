#include "search/core/FindReplLogic.h"

#include "base/core/IniFileUtils.h"

namespace orvel {

namespace {
const QString kTextKey = QStringLiteral("Text");
constexpr int kScreenMargin = 20;
} // namespace

bool addFindHistory(QStringList& list, const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QString& entry : list)
        if (entry.compare(text, Qt::CaseInsensitive) == 0)
            return false;
    while (list.size() >= kFindHistoryMax)
        list.removeLast();
    list.prepend(text);
    return true;
}

QString storedFindHistoryText(const QString& entry) {
    const qsizetype cr = entry.indexOf(u'\r');
    return cr < 0 ? entry : entry.left(cr).trimmed();
}

void readFindHistory(const TUnicodeIniFile& ini, const QString& section, QStringList& list) {
    if (!ini.SectionExists(section))
        return;
    list.clear();
    for (int i = 0; i < kFindHistoryMax; ++i) {
        const QString value = ini.ReadString(section, kTextKey + QString::number(i), QString());
        if (!value.isEmpty())
            list.append(value);
    }
}

void writeFindHistory(TUnicodeIniFile& ini, const QString& section, const QStringList& list) {
    ini.EraseSection(section);
    for (int i = 0; i < list.size() && i < kFindHistoryMax; ++i)
        ini.WriteString(section, kTextKey + QString::number(i), storedFindHistoryText(list.at(i)));
}

QPoint placeConfirmation(QPoint at, QSize dialog, QRect screen, QRect mainWindow) {
    const int right = screen.x() + screen.width() - kScreenMargin;
    const int bottom = screen.y() + screen.height() - kScreenMargin;
    QPoint p = at;
    if (right < p.x() + dialog.width())
        p.setX(mainWindow.x() + mainWindow.width() - dialog.width() - kScreenMargin);
    if (bottom < p.y() + dialog.height())
        p.setY(p.y() - dialog.height() - kScreenMargin);
    // A main window reaching past the screen, or a match near the top, must not push the
    // dialog out of sight.
    p.setX(qMax(screen.x(), qMin(p.x(), right - dialog.width())));
    p.setY(qMax(screen.y(), qMin(p.y(), bottom - dialog.height())));
    return p;
}

QString withLineBreaks(const QString& text, TLineBreak lineBreak) {
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    const QString br = QString::fromLatin1(lineBreakText(lineBreak));
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += br;
        } else if (c == u'\n') {
            out += br;
        } else {
            out += c;
        }
    }
    return out;
}

void TFindReplOptions::setOptions(TSearchOptions options) {
    m_options = options & 0xFF;
    m_fromBeginning = has(ssoEntireScope);
}

void TFindReplOptions::setFlag(TSearchOptions flag, bool on) {
    if (on)
        m_options |= flag;
    else
        m_options &= ~flag;
}

void TFindReplOptions::open(bool replace) {
    m_replace = replace;
    setFlag(ssoReplace, replace);
    setFlag(ssoReplaceAll, false);
    m_repeat = false;
}

void TFindReplOptions::chooseStart(bool fromBeginning) {
    m_fromBeginning = fromBeginning;
    setFlag(ssoEntireScope, fromBeginning);
}

void TFindReplOptions::beginMain() {
    setFlag(ssoReplaceAll, false);
    if (m_replace) {
        setFlag(ssoReplace, true);
        if (m_repeat) {
            m_options ^= ssoBackwards;
            // The match is at the caret: starting from the other end would replace another.
            setFlag(ssoEntireScope, false);
        }
    } else if (m_fromBeginning) {
        setFlag(ssoEntireScope, true);
    }
}

void TFindReplOptions::finishMain() {
    if (m_replace && m_repeat)
        m_options ^= ssoBackwards;
    if (m_fromBeginning)
        setFlag(ssoEntireScope, false);
    m_repeat = false;
}

void TFindReplOptions::beginContinue() {
    if (m_replace)
        setFlag(ssoReplace | ssoReplaceAll, false);
}

void TFindReplOptions::finishContinue() {
    if (m_replace)
        m_repeat = true;
}

void TFindReplOptions::beginReplaceAll() {
    setFlag(ssoReplace | ssoReplaceAll, true);
    m_repeat = false;
}

void TFindReplOptions::close() {
    setFlag(ssoReplaceAll, false);
}

} // namespace orvel
