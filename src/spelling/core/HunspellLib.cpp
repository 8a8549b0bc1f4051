#include "spelling/core/HunspellLib.h"

#include "base/core/Translate.h"

#include <QStringDecoder>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <hunspell/hunspell.hxx>
#include <iconv.h>
#include <mutex>
#include <optional>
#include <sys/mman.h>
#include <unistd.h>

namespace orvel {

namespace {

// The engine reads its data from files: a file in memory stands in for each, so that
// dictionaries are read from disk once however often an engine is made.
class TDataFile {
public:
    explicit TDataFile(QByteArrayView data) {
        m_fd = ::memfd_create("orvel-dict", MFD_CLOEXEC);
        if (m_fd >= 0 && writeAll(m_fd, data)) {
            m_path = "/proc/self/fd/" + QByteArray::number(m_fd);
            return;
        }
        // Without memory files (an old kernel, a sandbox): a private temporary file.
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        if (m_temp.open() && m_temp.write(data.data(), data.size()) == data.size() &&
            m_temp.flush())
            m_path = QFile::encodeName(m_temp.fileName());
    }
    ~TDataFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    TDataFile(const TDataFile&) = delete;
    TDataFile& operator=(const TDataFile&) = delete;

    bool ok() const { return !m_path.isEmpty(); }
    const char* path() const { return m_path.constData(); }

private:
    static bool writeAll(int fd, QByteArrayView data) {
        const char* p = data.data();
        qsizetype left = data.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, p, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            p += n;
            left -= n;
        }
        return true;
    }

    int m_fd = -1;
    QTemporaryFile m_temp;
    QByteArray m_path;
};

// Whether the affix data name UTF-8 on a SET line (any line that begins with "SET").
bool setsUtf8(QByteArrayView aff) {
    for (const QByteArray& line : aff.toByteArray().split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (line.startsWith("SET") && words.size() > 1 && words[1].toUpper().startsWith("UTF-8"))
            return true;
    }
    return false;
}

bool isUtf8(QByteArrayView bytes) {
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = d(bytes);
    Q_UNUSED(text);
    return !d.hasError();
}

// Whether the text the engine decodes as UTF-8 is UTF-8. Flags may be single bytes of any
// value and comments anything; letters (the try list, word characters, replacements, the
// strip, affix and condition of each rule, the words of the list) must be well formed, or
// the engine reads past them. The engine takes any line that begins with a keyword.
bool utf8WhereRead(QByteArrayView aff, QByteArrayView dic) {
    static const char* const wholeLines[] = {"TRY",   "WORDCHARS", "KEY",   "IGNORE", "MAP",
                                             "BREAK", "REP",       "ICONV", "OCONV",  "PHONE"};
    for (const QByteArray& line : aff.toByteArray().split('\n')) {
        if (line.startsWith("PFX") || line.startsWith("SFX")) {
            const QList<QByteArray> f = line.simplified().split(' ');
            for (int i = 2; i < qMin(5, int(f.size())); ++i)
                if (!isUtf8(i == 3 ? f[i].split('/').first() : f[i]))
                    return false;
            continue;
        }
        for (const char* key : wholeLines)
            if (line.startsWith(key) && !isUtf8(line))
                return false;
    }
    qsizetype pos = dic.indexOf('\n') + 1;
    while (pos > 0 && pos < dic.size()) {
        qsizetype end = dic.indexOf('\n', pos);
        if (end < 0)
            end = dic.size();
        qsizetype word = pos;
        while (word < end && dic[word] != '/' && dic[word] != '\t')
            word += dic[word] == '\\' ? 2 : 1;
        if (!isUtf8(dic.sliced(pos, qMin(word, end) - pos)))
            return false;
        pos = end + 1;
    }
    return true;
}

// The engine sizes its tables by the count on the first line of the word list: a count far
// beyond the lines there would have it ask for gigabytes. Such a count is set to the lines.
QByteArray withSaneWordCount(QByteArrayView dic) {
    qsizetype i = dic.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < dic.size() && (dic[i] == ' ' || dic[i] == '\t'))
        ++i;
    const qsizetype digits = i;
    qint64 count = 0;
    while (i < dic.size() && dic[i] >= '0' && dic[i] <= '9' && count < (qint64(1) << 40))
        count = count * 10 + (dic[i++] - '0');
    while (i < dic.size() && dic[i] >= '0' && dic[i] <= '9')
        ++i;
    const qint64 lines = dic.count('\n') + 1;
    if (count <= 2 * lines + 1000)
        return dic.toByteArray();
    return dic.first(digits).toByteArray() + QByteArray::number(lines) +
           dic.sliced(i).toByteArray();
}

// The affix tables (REP, MAP, PFX, …) begin with a head line giving the number of lines that
// follow, and the engine reserves room by it: a count beyond the lines that follow is set to
// them. Read as the engine reads: a keyword by the start of the line ("REP-" begins a table
// too), the count as atoi takes it. Every such line is looked at, since which of them the
// engine takes for a head depends on how it read the lines before.
QByteArray withSaneTableCounts(QByteArrayView aff) {
    static const QByteArrayList counted = {
        "REP", "MAP", "PHONE",        "BREAK", "ICONV", "OCONV",
        "AF",  "AM",  "COMPOUNDRULE", "PFX",   "SFX",   "CHECKCOMPOUNDPATTERN"};
    QList<QByteArray> lines = aff.toByteArray().split('\n');
    bool changed = false;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QList<QByteArray> fields = lines[n].simplified().split(' ');
        if (fields.size() < 2 ||
            std::none_of(counted.begin(), counted.end(),
                         [&](const QByteArray& k) { return fields[0].startsWith(k); }))
            continue;
        const bool affix = fields[0].startsWith("PFX") || fields[0].startsWith("SFX");
        const qsizetype countField = affix ? 3 : 1;
        if (countField >= fields.size())
            continue;
        const QByteArray& field = fields[countField];
        const qsizetype sign = field.startsWith('-') || field.startsWith('+') ? 1 : 0;
        qsizetype end = sign;
        while (end < field.size() && field[end] >= '0' && field[end] <= '9')
            ++end;
        const qint64 rest = lines.size() - n - 1;
        const qint64 count =
            end - sign < 10 ? field.sliced(sign, end - sign).toLongLong() : rest + 1;
        if (end > sign && (field[0] == '-' || count > rest)) {
            fields[countField] = QByteArray::number(rest) + field.sliced(end);
            lines[n] = fields.join(' ');
            changed = true;
        }
    }
    return changed ? lines.join('\n') : aff.toByteArray();
}

} // namespace

QString dictionaryDataProblem(QByteArrayView aff, QByteArrayView dic) {
    // The word list begins with the number of its entries; without it the engine would
    // accept the data and know no word.
    qsizetype i = dic.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < dic.size() && (dic[i] == ' ' || dic[i] == '\t'))
        ++i;
    if (i >= dic.size() || dic[i] < '0' || dic[i] > '9')
        return T_("The word list does not begin with the number of its words.");
    if (aff.contains('\0') || dic.contains('\0'))
        return T_("The dictionary holds NUL bytes.");
    if (setsUtf8(aff) && !utf8WhereRead(aff, dic))
        return T_("The dictionary says it is UTF-8, but it is not.");
    return QString();
}

namespace {

// iconv knows most SET names as they stand; these few it spells otherwise.
QByteArray iconvName(const QByteArray& set) {
    const QByteArray upper = set.toUpper();
    if (upper == "MICROSOFT-CP1251")
        return "CP1251";
    if (upper.startsWith("TIS620"))
        return "TIS-620";
    return set;
}

class TConverter {
public:
    TConverter(const QByteArray& to, const QByteArray& from)
        : m_cd(::iconv_open(to.constData(), from.constData())) {}
    ~TConverter() {
        if (valid())
            ::iconv_close(m_cd);
    }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    bool valid() const { return m_cd != iconv_t(-1); }

    // Nothing when a character has no place in the target encoding.
    std::optional<std::string> convert(QByteArrayView in) const {
        if (!valid())
            return std::nullopt;
        ::iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string out(size_t(in.size()) * 4 + 8, '\0');
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = size_t(in.size());
        char* dst = out.data();
        size_t dstLeft = out.size();
        if (::iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1) ||
            ::iconv(m_cd, nullptr, nullptr, &dst, &dstLeft) == size_t(-1))
            return std::nullopt;
        out.resize(out.size() - dstLeft);
        return out;
    }

private:
    iconv_t m_cd;
};

// The engine keeps shared tables that its constructor and destructor count without a lock:
// engines are made on a worker thread while others may go on the user-interface thread.
std::mutex& engineLifeLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

struct THunspell {
    THunspell(const char* aff, const char* dic, const char* key) : engine(aff, dic, key) {
        encoding = QByteArray::fromStdString(engine.get_dict_encoding());
        utf8 = encoding.compare("UTF-8", Qt::CaseInsensitive) == 0;
        if (!utf8) {
            toDict = std::make_unique<TConverter>(iconvName(encoding), "UTF-8");
            fromDict = std::make_unique<TConverter>("UTF-8", iconvName(encoding));
        }
        const QString chars = decode(engine.get_wordchars_cpp());
        for (QChar c : chars)
            if (!c.isLetter() && !wordChars.contains(c))
                wordChars += c;
    }

    std::optional<std::string> encode(const QString& word) const {
        const QByteArray u = word.toUtf8();
        if (utf8)
            return u.toStdString();
        // An encoding iconv does not know holds the plain ASCII words at least.
        if (!toDict->valid()) {
            for (char c : u)
                if (static_cast<unsigned char>(c) > 127)
                    return std::nullopt;
            return u.toStdString();
        }
        return toDict->convert(u);
    }

    QString decode(const std::string& bytes) const {
        if (utf8)
            return QString::fromStdString(bytes);
        if (const auto u = fromDict->convert(QByteArrayView(bytes.data(), qsizetype(bytes.size()))))
            return QString::fromStdString(*u);
        return QString();
    }

    Hunspell engine;
    QByteArray encoding;
    bool utf8 = true;
    std::unique_ptr<TConverter> toDict;
    std::unique_ptr<TConverter> fromDict;
    QString wordChars;
};

THunspellHandle HunspellInit(QByteArrayView aff, QByteArrayView dic, const QByteArray& key) {
    if (!dictionaryDataProblem(aff, dic).isEmpty())
        return nullptr;
    const TDataFile affFile(withSaneTableCounts(aff));
    const TDataFile dicFile(withSaneWordCount(dic));
    if (!affFile.ok() || !dicFile.ok())
        return nullptr;
    const std::lock_guard<std::mutex> guard(engineLifeLock());
    return new THunspell(affFile.path(), dicFile.path(), key.isEmpty() ? nullptr : key.constData());
}

void HunspellFree(THunspellHandle handle) {
    const std::lock_guard<std::mutex> guard(engineLifeLock());
    delete handle;
}

bool HunspellSpell(THunspellHandle handle, const QString& word) {
    if (!handle)
        return false;
    const auto encoded = handle->encode(word);
    return encoded && handle->engine.spell(*encoded);
}

QStringList HunspellSuggest(THunspellHandle handle, const QString& word) {
    QStringList out;
    if (!handle)
        return out;
    const auto encoded = handle->encode(word);
    if (!encoded)
        return out;
    for (const std::string& s : handle->engine.suggest(*encoded)) {
        const QString text = handle->decode(s);
        if (!text.isEmpty())
            out << text;
    }
    return out;
}

bool HunspellAdd(THunspellHandle handle, const QString& word) {
    if (!handle)
        return false;
    const auto encoded = handle->encode(word);
    if (!encoded)
        return false;
    handle->engine.add(*encoded);
    return true;
}

QString HunspellWordChars(THunspellHandle handle) {
    return handle ? handle->wordChars : QString();
}

QString HunspellEncoding(THunspellHandle handle) {
    return handle ? QString::fromLatin1(handle->encoding) : QString();
}

} // namespace orvel
