#include "base/core/IniFileUtils.h"

#include "base/core/TextCodec.h"
#include "base/core/TextFile.h"
#include "base/core/Translate.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QtGlobal>
#include <exception>
#include <limits>
#include <utility>

namespace orvel {

namespace {

const QString kMarkerSection = QStringLiteral("Unicode");
const QString kMarkerKey = QStringLiteral("Encoding");
const QString kMarkerValue = QStringLiteral("UTF-16LE");

// Names and values lose control characters and blanks at both ends, as the file's lines do.
bool isBlank(char16_t c) {
    return c <= u' ';
}

bool isLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029';
}

QStringView trimBlanks(QStringView v) {
    qsizetype begin = 0;
    qsizetype end = v.size();
    while (begin < end && isBlank(v[begin].unicode()))
        ++begin;
    while (end > begin && isBlank(v[end - 1].unicode()))
        --end;
    return v.sliced(begin, end - begin);
}

QString fold(QStringView name) {
    return trimBlanks(name).toString().toCaseFolded();
}

bool hasLineBreak(QStringView v) {
    for (QChar c : v)
        if (isLineBreak(c.unicode()))
            return true;
    return false;
}

// A section name only has to stay on its line: the reader takes "[" and "]" at the line's ends.
bool isSafeSection(QStringView name) {
    return !hasLineBreak(name);
}

// A key must not split at its own "=", nor make its line a header or a comment.
bool isSafeKey(QStringView key) {
    return !hasLineBreak(key) && !key.contains(u'=') && !key.startsWith(u'[') &&
           !key.startsWith(u';');
}

// What the file would give back: the text before the first line break, without end blanks.
QString storedValue(const QString& value) {
    QStringView v = value;
    for (qsizetype i = 0; i < v.size(); ++i)
        if (isLineBreak(v[i].unicode())) {
            v = v.first(i);
            break;
        }
    v = trimBlanks(v);
    return v.size() == value.size() ? value : v.toString();
}

QString decodeUtf16(QByteArrayView bytes, bool bigEndian) {
    // A last odd byte cannot be a character: it is dropped.
    const qsizetype count = bytes.size() / 2;
    QString text(count, Qt::Uninitialized);
    if (bigEndian)
        qFromBigEndian<quint16>(bytes.data(), count, text.data());
    else
        qFromLittleEndian<quint16>(bytes.data(), count, text.data());
    return text;
}

QString decodeAnsi(QByteArrayView bytes) {
    QString text = QString::fromLatin1(bytes);
    char16_t* p = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        if (p[i] >= 0x80 && p[i] < 0xA0)
            p[i] = codec::ansiToUnicode(static_cast<unsigned char>(p[i]));
    return text;
}

QString decode(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUtf16(bytes.sliced(2), false);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeUtf16(bytes.sliced(2), true);
    return decodeAnsi(bytes);
}

// A missing file reads as empty. The error is set only when a file is there but cannot be
// read, so that a writer never replaces what it could not load.
QByteArray readSettingsFile(const QString& fileName, QString& error) {
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists())
        return QByteArray();
    // A pipe or a device could block or never end.
    if (!info.isFile()) {
        error = T_("Not a regular file");
        return QByteArray();
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return QByteArray();
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return QByteArray();
    }
    return bytes;
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Hexadecimal gives the bit pattern (up to 64 bits), so that "$FFFFFFFF" can be read as -1
// by a 32-bit reader; decimal must fit a signed 64-bit integer.
bool parseNumber(QStringView text, quint64& bits, bool& hex) {
    const QStringView t = trimBlanks(text);
    if (t.startsWith(u'$') || t.startsWith(u"0x") || t.startsWith(u"0X")) {
        const QStringView digits = t.sliced(t.startsWith(u'$') ? 1 : 2);
        if (digits.isEmpty())
            return false;
        quint64 v = 0;
        for (QChar c : digits) {
            const int d = hexDigit(c.unicode());
            if (d < 0 || v > (std::numeric_limits<quint64>::max() >> 4))
                return false;
            v = (v << 4) | quint64(d);
        }
        bits = v;
        hex = true;
        return true;
    }
    QStringView digits = t;
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+'))
        digits = digits.sliced(1);
    if (digits.isEmpty())
        return false;
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    quint64 v = 0;
    for (QChar c : digits) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
        const quint64 d = c.unicode() - u'0';
        if (v > (limit - d) / 10)
            return false;
        v = v * 10 + d;
    }
    bits = negative ? quint64(0) - v : v;
    hex = false;
    return true;
}

} // namespace

struct TUnicodeIniFile::Section {
    struct Entry {
        QString key;
        QString value;
    };
    // Most sections hold a few keys: searching them beats hashing every name.
    static constexpr qsizetype kIndexFrom = 17;

    QString name;
    QList<Entry> entries;            // in file order; of a repeated key the first counts
    QHash<QString, qsizetype> index; // case-folded key -> its first entry, in long sections

    qsizetype findKey(QStringView key) const {
        const QStringView k = trimBlanks(key);
        if (entries.size() < kIndexFrom) {
            for (qsizetype i = 0; i < entries.size(); ++i)
                if (QStringView(entries.at(i).key).compare(k, Qt::CaseInsensitive) == 0)
                    return i;
            return -1;
        }
        return index.value(k.toString().toCaseFolded(), -1);
    }
    void indexKey(qsizetype i) {
        QString folded = entries.at(i).key.toCaseFolded();
        if (!index.contains(folded))
            index.insert(std::move(folded), i);
    }
    void append(QString key, QString value) {
        entries.append({std::move(key), std::move(value)});
        if (entries.size() == kIndexFrom)
            reindex();
        else if (entries.size() > kIndexFrom)
            indexKey(entries.size() - 1);
    }
    void reindex() {
        index.clear();
        if (entries.size() >= kIndexFrom)
            for (qsizetype i = 0; i < entries.size(); ++i)
                indexKey(i);
    }
};

TUnicodeIniFile TUnicodeIniFile::CreateForRead(const QString& fileName) {
    TUnicodeIniFile ini;
    ini.m_fileName = fileName;
    QString ignored;
    ini.parse(decode(readSettingsFile(fileName, ignored)));
    return ini;
}

TUnicodeIniFile TUnicodeIniFile::CreateForWrite(const QString& fileName, bool clearEntries) {
    TUnicodeIniFile ini;
    ini.m_fileName = fileName;
    ini.m_writable = true;
    if (clearEntries)
        ini.touch();
    else
        ini.parse(decode(readSettingsFile(fileName, ini.m_loadError)));
    // A file without the marker (a new one, or one written by hand) is converted at once.
    ini.ensureMarker();
    return ini;
}

TUnicodeIniFile TUnicodeIniFile::FromBytes(const QByteArray& bytes) {
    TUnicodeIniFile ini;
    ini.parse(decode(bytes));
    return ini;
}

TUnicodeIniFile::TUnicodeIniFile(TUnicodeIniFile&& other) noexcept {
    swap(other);
}

TUnicodeIniFile& TUnicodeIniFile::operator=(TUnicodeIniFile&& other) noexcept {
    TUnicodeIniFile taken(std::move(other));
    swap(taken);
    return *this;
}

TUnicodeIniFile::~TUnicodeIniFile() {
    qDeleteAll(m_sections);
}

void TUnicodeIniFile::swap(TUnicodeIniFile& other) noexcept {
    m_fileName.swap(other.m_fileName);
    std::swap(m_writable, other.m_writable);
    std::swap(m_dirty, other.m_dirty);
    std::swap(m_ownerOnly, other.m_ownerOnly);
    m_loadError.swap(other.m_loadError);
    m_sections.swap(other.m_sections);
    m_index.swap(other.m_index);
}

void TUnicodeIniFile::touch() {
    m_dirty = true;
}

void TUnicodeIniFile::ensureMarker() {
    WriteString(kMarkerSection, kMarkerKey, kMarkerValue);
}

TUnicodeIniFile::Section* TUnicodeIniFile::find(const QString& section) const {
    return m_index.value(fold(section), nullptr);
}

TUnicodeIniFile::Section& TUnicodeIniFile::ensure(const QString& section) {
    const QString key = fold(section);
    if (Section* s = m_index.value(key, nullptr))
        return *s;
    auto* s = new Section;
    s->name = trimBlanks(section).toString();
    m_sections.append(s);
    m_index.insert(key, s);
    return *s;
}

void TUnicodeIniFile::parse(const QString& text) {
    const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    Section* current = nullptr;
    qsizetype pos = 0;
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && p[end] != u'\r' && p[end] != u'\n')
            ++end;
        // CR LF leaves an empty line between the two, skipped like any other.
        const QStringView line = trimBlanks(QStringView(p + pos, end - pos));
        pos = end + 1;

        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            // A repeated section continues the first one.
            current = &ensure(line.sliced(1, line.size() - 2).toString());
            continue;
        }
        // Lines before the first section and lines without "=" carry nothing.
        const qsizetype eq = current ? line.indexOf(u'=') : -1;
        if (eq < 0)
            continue;
        current->append(trimBlanks(line.first(eq)).toString(),
                        trimBlanks(line.sliced(eq + 1)).toString());
    }
}

QString TUnicodeIniFile::ReadString(const QString& section, const QString& key,
                                    const QString& def) const {
    const Section* s = find(section);
    if (!s)
        return def;
    const qsizetype i = s->findKey(key);
    return i < 0 ? def : s->entries.at(i).value;
}

int TUnicodeIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    const Section* s = find(section);
    const qsizetype i = s ? s->findKey(key) : -1;
    if (i < 0)
        return def;
    quint64 bits = 0;
    bool hex = false;
    if (!parseNumber(s->entries.at(i).value, bits, hex))
        return def;
    if (hex)
        return bits <= 0xFFFFFFFFu ? int(quint32(bits)) : def;
    const qint64 v = qint64(bits);
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max() ? int(v)
                                                                                        : def;
}

bool TUnicodeIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

qint64 TUnicodeIniFile::ReadInt64(const QString& section, const QString& key, qint64 def) const {
    const Section* s = find(section);
    const qsizetype i = s ? s->findKey(key) : -1;
    qint64 v = def;
    return i >= 0 && parseIniInteger(s->entries.at(i).value, v) ? v : def;
}

void TUnicodeIniFile::WriteString(const QString& section, const QString& key,
                                  const QString& value) {
    const QStringView sectionName = trimBlanks(section);
    const QStringView keyName = trimBlanks(key);
    // Refused rather than changed: a name altered here could land on another entry.
    if (!isSafeSection(sectionName) || !isSafeKey(keyName))
        return;
    QString v = storedValue(value);
    Section* s = find(section);
    if (!s) {
        s = &ensure(sectionName.toString());
        touch();
    }
    const qsizetype i = s->findKey(key);
    if (i < 0) {
        s->append(keyName.toString(), std::move(v));
        touch();
    } else if (s->entries.at(i).value != v) {
        s->entries[i].value = std::move(v);
        touch();
    }
}

void TUnicodeIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TUnicodeIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TUnicodeIniFile::WriteInt64(const QString& section, const QString& key, qint64 value) {
    WriteString(section, key, QString::number(value));
}

void TUnicodeIniFile::WriteProgramInfo(const QString& key, const QString& value) {
    WriteString(kMarkerSection, key, value);
}

void TUnicodeIniFile::EraseSection(const QString& section) {
    const QString key = fold(section);
    Section* s = m_index.take(key);
    if (!s)
        return;
    m_sections.removeOne(s);
    delete s;
    touch();
}

void TUnicodeIniFile::EraseSectionValues(const QString& section) {
    Section* s = find(section);
    if (!s || s->entries.isEmpty())
        return;
    s->entries.clear();
    s->index.clear();
    touch();
}

void TUnicodeIniFile::DeleteKey(const QString& section, const QString& key) {
    Section* s = find(section);
    if (!s || s->findKey(key) < 0)
        return;
    // Every copy goes, or a repeated key would come back.
    const QStringView k = trimBlanks(key);
    s->entries.removeIf([k](const Section::Entry& e) {
        return QStringView(e.key).compare(k, Qt::CaseInsensitive) == 0;
    });
    s->reindex();
    touch();
}

bool TUnicodeIniFile::SectionExists(const QString& section) const {
    return find(section) != nullptr;
}

bool TUnicodeIniFile::ValueExists(const QString& section, const QString& key) const {
    const Section* s = find(section);
    return s && s->findKey(key) >= 0;
}

QStringList TUnicodeIniFile::Sections() const {
    QStringList names;
    names.reserve(m_sections.size());
    for (const Section* s : m_sections)
        names.append(s->name);
    return names;
}

QStringList TUnicodeIniFile::SectionKeys(const QString& section) const {
    QStringList keys;
    const Section* s = find(section);
    if (!s)
        return keys;
    for (qsizetype i = 0; i < s->entries.size(); ++i)
        if (s->findKey(s->entries.at(i).key) == i)
            keys.append(s->entries.at(i).key);
    return keys;
}

QByteArray TUnicodeIniFile::toBytes() const {
    qsizetype length = 0;
    for (const Section* s : m_sections) {
        length += s->name.size() + 6; // "[", "]", two line breaks
        for (const Section::Entry& e : s->entries)
            length += e.key.size() + e.value.size() + 3;
    }
    QString text;
    text.reserve(length);
    for (const Section* s : m_sections) {
        text += u'[';
        text += s->name;
        text += u"]\r\n";
        for (const Section::Entry& e : s->entries) {
            text += e.key;
            text += u'=';
            text += e.value;
            text += u"\r\n";
        }
        text += u"\r\n";
    }
    QByteArray bytes(2 + text.size() * 2, Qt::Uninitialized);
    bytes[0] = '\xFF';
    bytes[1] = '\xFE';
    qToLittleEndian<quint16>(text.constData(), text.size(), bytes.data() + 2);
    return bytes;
}

TStatus TUnicodeIniFile::UpdateFile() {
    if (!m_writable || !m_dirty)
        return TStatus();
    const QString message = fmt(T_("Error writing to \"%s\""), {m_fileName});
    if (!m_loadError.isEmpty())
        return TStatus::failure(message + u'\n' + m_loadError);
    ensureMarker();
    const QString error = writeFileAtomically(m_fileName, toBytes(), m_ownerOnly);
    if (!error.isNull())
        return TStatus::failure(message + u'\n' + error);
    m_dirty = false;
    return TStatus();
}

bool parseIniInteger(const QString& text, qint64& value) {
    quint64 bits = 0;
    bool hex = false;
    if (!parseNumber(text, bits, hex))
        return false;
    value = qint64(bits);
    return true;
}

void ReadIniList(const TUnicodeIniFile& ini, const QString& section, const QString& prefix,
                 bool marks, int capacity, QStringList& list) {
    if (!ini.SectionExists(section))
        return;
    const QString keyPrefix = prefix.isEmpty() ? QStringLiteral("History") : prefix;
    list.clear();
    for (int i = 0; i < capacity; ++i) {
        QString value = ini.ReadString(section, keyPrefix + QString::number(i), QString());
        if (value.isEmpty())
            continue;
        if (marks)
            value.replace(u'#', u'"');
        // Exact: lists hold file names, and those differ by case here.
        if (!list.contains(value))
            list.append(value);
    }
}

void WriteIniList(TUnicodeIniFile& ini, const QString& section, const QString& prefix, bool marks,
                  int capacity, const QStringList& list, bool eraseFirst) {
    if (eraseFirst)
        ini.EraseSection(section);
    const QString keyPrefix = prefix.isEmpty() ? QStringLiteral("History") : prefix;
    const qsizetype count = qMin<qsizetype>(qMax(capacity, 0), list.size());
    for (qsizetype i = 0; i < count; ++i) {
        QString value = list.at(i);
        if (marks)
            value.replace(u'"', u'#');
        ini.WriteString(section, keyPrefix + QString::number(i), value);
    }
}

QString paddedKey(const QString& prefix, int index) {
    return prefix + QStringLiteral("%1").arg(index, 2, 10, QLatin1Char('0'));
}

} // namespace orvel
