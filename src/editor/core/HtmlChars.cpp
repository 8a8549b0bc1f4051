#include "editor/core/HtmlChars.h"

#include "base/core/DataFiles.h"
#include "base/core/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace orvel {

namespace {

// A value that is no character counts as unreadable.
int readValue(QStringView field) {
    bool ok = false;
    const int v = field.trimmed().toInt(&ok);
    if (!ok || v <= 0 || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    return v;
}

void appendCodePoint(QString& out, int value) {
    if (value > 0xFFFF) {
        const char32_t c = char32_t(value);
        out.append(QChar::highSurrogate(c));
        out.append(QChar::lowSurrogate(c));
    } else {
        out.append(QChar(char16_t(value)));
    }
}

// The longest entity the conversion looks at: "&" + eight characters + ";".
constexpr qsizetype kMaxEntityDistance = 9;

} // namespace

void THtmlCharGroup::AddCommand(const QString& ADesc, const QString& AName, int AValue) {
    FChars.append({AValue, ADesc, AName});
    FCount = int(FChars.size());
}

void THtmlCharTable::clear() {
    m_groups.clear();
    m_isoName.clear();
    m_isoIndex = -1;
    m_isoByValue.clear();
    m_isoByName.clear();
    m_allByName.clear();
}

void THtmlCharTable::loadFromBytes(QByteArrayView bytes) {
    clear();
    QString text;
    if (codec::isValidUtf8(bytes)) {
        text = QString::fromUtf8(bytes);
    } else {
        text.reserve(bytes.size());
        for (const char b : bytes)
            text.append(QChar(codec::ansiToUnicode(static_cast<unsigned char>(b))));
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    QString sectionName;
    bool sectionIsIso = false;
    int sectionGroup = -1; // created on the section's first entry
    const auto lines = QStringView(text).split(u'\n');
    for (QStringView raw : lines) {
        // Old files may end lines with CR alone.
        for (QStringView part : raw.split(u'\r')) {
            const QStringView line = part.trimmed();
            if (line.size() <= 1)
                continue;
            if (line.startsWith(u"##")) {
                sectionName = line.mid(2).toString();
                sectionIsIso = true;
                sectionGroup = -1;
                m_isoName = sectionName;
                m_isoIndex = -1;
                continue;
            }
            if (line.startsWith(u'#')) {
                sectionName = line.mid(1).toString();
                sectionIsIso = false;
                sectionGroup = -1;
                continue;
            }
            const auto fields = line.split(u'|');
            if (sectionGroup < 0) {
                m_groups.append(THtmlCharGroup(sectionName));
                sectionGroup = int(m_groups.size()) - 1;
                if (sectionIsIso)
                    m_isoIndex = sectionGroup;
            }
            m_groups[sectionGroup].AddCommand(fields.value(0).trimmed().toString(),
                                              fields.value(1).trimmed().toString(),
                                              readValue(fields.value(2)));
        }
    }
    index();
}

void THtmlCharTable::index() {
    for (int g = 0; g < m_groups.size(); ++g) {
        for (const THtmlChar& c : m_groups[g].FChars) {
            // The first entry of a name or value wins, as a front-to-back search would.
            if (!m_allByName.contains(c.Name))
                m_allByName.insert(c.Name, c.Value);
            if (g != m_isoIndex)
                continue;
            if (!m_isoByName.contains(c.Name))
                m_isoByName.insert(c.Name, c.Value);
            if (c.Value != 0 && !c.Name.isEmpty() && !m_isoByValue.contains(c.Value))
                m_isoByValue.insert(c.Value, c.Name);
        }
    }
}

bool THtmlCharTable::loadFromFile(const QString& fileName) {
    clear();
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    loadFromBytes(f.readAll());
    return true;
}

QStringList THtmlCharTable::FCharList() const {
    QStringList names;
    for (const THtmlCharGroup& g : m_groups)
        for (const THtmlChar& c : g.FChars)
            names.append(c.Name);
    std::stable_sort(names.begin(), names.end());
    return names;
}

QString THtmlCharTable::GetHtmlName(int AValue) const {
    return m_isoByValue.value(AValue);
}

int THtmlCharTable::GetIsoChar(QStringView AName) const {
    // A view as a key: no copy of the name for each lookup.
    return m_isoByName.value(QString::fromRawData(AName.data(), AName.size()), 0);
}

int THtmlCharTable::GetUnicodeChar(QStringView AName) const {
    return m_allByName.value(QString::fromRawData(AName.data(), AName.size()), 0);
}

QString THtmlCharTable::CharsToEntities(QStringView text) const {
    if (m_isoByValue.isEmpty())
        return text.toString();
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 160 || c > 255)
            continue;
        const auto it = m_isoByValue.constFind(c);
        if (it == m_isoByValue.constEnd())
            continue;
        out.append(text.mid(copied, i - copied));
        out.append(*it);
        copied = i + 1;
    }
    out.append(text.mid(copied));
    return out;
}

QString THtmlCharTable::EntitiesToChars(QStringView text) const {
    if (m_isoByName.isEmpty())
        return text.toString();
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    // The last character cannot start an entity.
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        const qsizetype limit = std::min(text.size() - 1, i + kMaxEntityDistance);
        qsizetype semi = -1;
        for (qsizetype k = i + 1; k <= limit; ++k) {
            if (text[k] == u';') {
                semi = k;
                break;
            }
        }
        if (semi < 0)
            continue;
        const int value = GetIsoChar(text.mid(i, semi - i + 1));
        if (value == 0)
            continue;
        out.append(text.mid(copied, i - copied));
        appendCodePoint(out, value);
        copied = semi + 1;
        i = semi;
    }
    out.append(text.mid(copied));
    return out;
}

QString htmlCharFileName(const QString& languageCode) {
    // "de-DE" and "de_DE" name the same table as "DE".
    const QString lang = languageCode.section(u'-', 0, 0).section(u'_', 0, 0).trimmed();
    if (lang.isEmpty() || lang.compare(u"EN", Qt::CaseInsensitive) == 0)
        return QStringLiteral("html-codes.txt");
    return QStringLiteral("html-codes-") + lang.toUpper() + QStringLiteral(".txt");
}

bool LoadCharList(THtmlCharTable& table, const QString& ADirectory, const QString& ADefault,
                  const QString& ACharList) {
    const QStringList folders{ADirectory};
    QString file = findDataFile(ACharList, folders);
    if (file.isEmpty())
        file = findDataFile(ADefault, folders);
    if (file.isEmpty()) {
        table.clear();
        return false;
    }
    return table.loadFromFile(file);
}

THtmlCharTable loadProgramCharTable(const QString& languageCode) {
    THtmlCharTable table;
    const QString fallback = QStringLiteral("html-codes.txt");
    QString file = findDataFile(htmlCharFileName(languageCode));
    if (file.isEmpty())
        file = findDataFile(fallback);
    if (!file.isEmpty())
        table.loadFromFile(file);
    return table;
}

} // namespace orvel
