#include "base/core/HistoryList.h"

#include "base/core/IniFileUtils.h"

#include <QRegularExpression>

namespace orvel {

namespace {
const QString kPrefix = QStringLiteral("History");
// A value is trimmed when read, so a lone blank would vanish.
const QString kBlank = QStringLiteral(" ");
const QString kBlankStored = QStringLiteral("?");
constexpr int kMaxCapacity = 100;
} // namespace

THistoryList::THistoryList(QObject* parent, int maxLen)
    : QObject(parent), FMaxLen(maxLen >= 1 && maxLen <= kMaxCapacity ? maxLen : 15) {
}

void THistoryList::setMaxLen(int n) {
    if (n < 1 || n > kMaxCapacity || n == FMaxLen)
        return;
    FMaxLen = n;
    if (FItems.size() > n) {
        FItems.resize(n);
        FObjects.resize(n);
        Q_EMIT changed();
    }
}

int THistoryList::indexOf(const QString& text) const {
    for (int i = 0; i < FItems.size(); ++i)
        if (FItems.at(i).compare(text, FCaseSensitivity) == 0)
            return i;
    return -1;
}

void THistoryList::AddString(const QString& text) {
    AddStringObject(text, QVariant());
}

void THistoryList::AddStringObject(const QString& text, const QVariant& object) {
    if (text.isEmpty())
        return;
    const int old = indexOf(text);
    if (old >= 0) {
        FItems.removeAt(old);
        FObjects.removeAt(old);
    }
    FItems.prepend(text);
    FObjects.prepend(object);
    if (FItems.size() > FMaxLen) {
        FItems.resize(FMaxLen);
        FObjects.resize(FMaxLen);
    }
    Q_EMIT changed();
}

void THistoryList::RemString(const QString& text) {
    const int i = indexOf(text);
    if (i < 0)
        return;
    FItems.removeAt(i);
    FObjects.removeAt(i);
    Q_EMIT changed();
}

void THistoryList::ClearAll() {
    FItems.clear();
    FObjects.clear();
    Q_EMIT changed();
}

void THistoryList::AssignList(const QStringList& texts) {
    FItems.clear();
    FObjects.clear();
    // Empty texts and repeats would break the list's invariants: they are passed over.
    for (const QString& t : texts) {
        if (FItems.size() >= FMaxLen)
            break;
        if (t.isEmpty() || indexOf(t) >= 0)
            continue;
        FItems.append(t);
        FObjects.append(QVariant());
    }
    Q_EMIT changed();
}

void THistoryList::LoadFromIni(const TUnicodeIniFile& ini, const QString& section) {
    FItems.clear();
    FObjects.clear();
    // Gaps are skipped, not the end of the list; the stored order is most recent first.
    for (int i = 0; i < FMaxLen; ++i) {
        QString value = ini.ReadString(section, kPrefix + QString::number(i), QString());
        if (value.isEmpty())
            continue;
        if (value == kBlankStored)
            value = kBlank;
        if (indexOf(value) >= 0)
            continue;
        FItems.append(value);
        FObjects.append(QVariant());
    }
    Q_EMIT changed();
}

void THistoryList::SaveToIni(TUnicodeIniFile& ini, const QString& section, bool erase) {
    if (erase)
        ini.EraseSection(section);
    for (int i = 0; i < FItems.size(); ++i) {
        const QString& t = FItems.at(i);
        ini.WriteString(section, kPrefix + QString::number(i), t == kBlank ? kBlankStored : t);
    }
    if (erase)
        return;
    // Keys left from a longer list would bring removed entries back on the next start.
    static const QRegularExpression key(QStringLiteral("^history(\\d+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QStringList keys = ini.SectionKeys(section);
    for (const QString& k : keys) {
        const QRegularExpressionMatch m = key.match(k);
        if (m.hasMatch() && m.captured(1).toLongLong() >= FItems.size())
            ini.DeleteKey(section, k);
    }
}

void THistoryList::LoadFromIni(const QString& fileName, const QString& section) {
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(fileName);
    LoadFromIni(ini, section);
}

TStatus THistoryList::SaveToIni(const QString& fileName, const QString& section, bool erase) {
    TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(fileName);
    SaveToIni(ini, section, erase);
    return ini.UpdateFile();
}

QString historyMenuCaption(int index, const QString& text, bool showHotKeys) {
    const int number = index + 1;
    // "%1x" for the first fifteen, "%2x" (blank-padded to two places) after them.
    const int width = index < 15 ? 1 : 2;
    QString caption = QStringLiteral("%1 %2").arg(number, width, 16, QLatin1Char(' ')).arg(text);
    if (!showHotKeys)
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

int historyMenuIndex(const QString& caption) {
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    const qsizetype blank = plain.indexOf(QLatin1Char(' '));
    if (blank <= 0)
        return -1;
    bool ok = false;
    const int number = plain.left(blank).toInt(&ok, 16);
    if (!ok || number < 1)
        return -1;
    return number - 1;
}

} // namespace orvel
