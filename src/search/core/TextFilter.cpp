#include "search/core/TextFilter.h"

#include "base/core/Translate.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace orvel {

// ---- TPcreRegex ----

struct TPcreRegex::TCode {
    pcre2_code* code = nullptr;
    pcre2_match_context* context = nullptr;
    ~TCode() {
        pcre2_match_context_free(context);
        pcre2_code_free(code);
    }
};

TPcreRegex::TPcreRegex() = default;
TPcreRegex::~TPcreRegex() = default;
// The compiled code is never changed after compiling, so copies may share it.
TPcreRegex::TPcreRegex(const TPcreRegex& other) = default;
TPcreRegex& TPcreRegex::operator=(const TPcreRegex& other) = default;

bool TPcreRegex::compile(const QString& pattern, bool ignoreCase, QString* error) {
    m_code.reset();
    m_pattern = pattern;
    m_ignoreCase = ignoreCase;
    const QByteArray utf8 = pattern.toUtf8();
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    const uint32_t options = PCRE2_UTF | (ignoreCase ? PCRE2_CASELESS : 0u);
    pcre2_code* code =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8.constData()), PCRE2_SIZE(utf8.size()),
                      options, &errorCode, &errorOffset, nullptr);
    if (!code) {
        if (error) {
            PCRE2_UCHAR buffer[256];
            pcre2_get_error_message(errorCode, buffer, sizeof buffer);
            *error = QString::fromUtf8(reinterpret_cast<const char*>(buffer));
        }
        return false;
    }
    auto compiled = std::make_shared<TCode>();
    compiled->code = code;
    compiled->context = pcre2_match_context_create(nullptr);
    if (!compiled->context) {
        if (error)
            *error = QStringLiteral("Out of memory");
        return false;
    }
    pcre2_set_match_limit(compiled->context, kMatchLimit);
    pcre2_set_depth_limit(compiled->context, kMatchLimit / 10);
    pcre2_set_heap_limit(compiled->context, 64 * 1024); // KiB
    m_code = std::move(compiled);
    return true;
}

TPcreRegex::TOutcome TPcreRegex::match(const QString& subject) const {
    if (!m_code)
        return Error;
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(m_code->code, nullptr);
    if (!data)
        return Error;
    const QByteArray utf8 = subject.toUtf8();
    const int rc = pcre2_match(m_code->code, reinterpret_cast<PCRE2_SPTR>(utf8.constData()),
                               PCRE2_SIZE(utf8.size()), 0, 0, data, m_code->context);
    pcre2_match_data_free(data);
    if (rc >= 0)
        return Match;
    return rc == PCRE2_ERROR_NOMATCH ? NoMatch : Error;
}

// ---- TWildcardMask ----

namespace {

QList<char32_t> codePoints(const QString& s) {
    QList<char32_t> out;
    out.reserve(s.size());
    for (char32_t c : QStringView(s).toUcs4())
        out.append(c);
    return out;
}

} // namespace

TWildcardMask::TWildcardMask(const QString& mask) {
    const QList<char32_t> m = codePoints(mask);
    for (qsizetype i = 0; i < m.size(); ++i) {
        TItem item;
        if (m[i] == U'*') {
            // A run of stars is one star.
            if (!m_items.isEmpty() && m_items.last().kind == TItem::Star)
                continue;
            item.kind = TItem::Star;
        } else if (m[i] == U'?') {
            item.kind = TItem::Any;
        } else if (m[i] == U'[') {
            item.kind = TItem::Set;
            qsizetype j = i + 1;
            if (j < m.size() && m[j] == U'!') {
                item.negated = true;
                ++j;
            }
            // The first character of a set is always a member, so "[]]" holds "]".
            bool first = true;
            for (;; first = false) {
                if (j >= m.size())
                    throw EFilterError(T_("Illegal mask!"));
                if (m[j] == U']' && !first)
                    break;
                char32_t lo = m[j], hi = m[j];
                if (j + 2 < m.size() && m[j + 1] == U'-' && m[j + 2] != U']') {
                    hi = m[j + 2];
                    if (hi < lo)
                        throw EFilterError(T_("Illegal mask!"));
                    j += 3;
                } else {
                    ++j;
                }
                item.ranges.append({lo, hi});
            }
            i = j;
        } else {
            item.ch = m[i];
        }
        m_items.append(item);
    }
}

bool TWildcardMask::TItem::matches(char32_t c) const {
    switch (kind) {
    case Any:
        return true;
    case Star:
        return true;
    case Char:
        return c == ch || QChar::toCaseFolded(c) == QChar::toCaseFolded(ch);
    case Set:
        break;
    }
    const char32_t variants[] = {c, QChar::toLower(c), QChar::toUpper(c)};
    bool in = false;
    for (const auto& [lo, hi] : ranges)
        for (char32_t v : variants)
            if (v >= lo && v <= hi)
                in = true;
    return in != negated;
}

bool TWildcardMask::matches(const QString& text) const {
    // Backtracking only to the last star keeps this linear in the mask's stars.
    const QList<char32_t> t = codePoints(text);
    qsizetype ti = 0, mi = 0, starMi = -1, starTi = 0;
    while (ti < t.size()) {
        if (mi < m_items.size() && m_items[mi].kind == TItem::Star) {
            starMi = mi++;
            starTi = ti;
        } else if (mi < m_items.size() && m_items[mi].matches(t[ti])) {
            ++mi;
            ++ti;
        } else if (starMi >= 0) {
            mi = starMi + 1;
            ti = ++starTi;
        } else {
            return false;
        }
    }
    while (mi < m_items.size() && m_items[mi].kind == TItem::Star)
        ++mi;
    return mi == m_items.size();
}

// ---- TTextFilter ----

TTextFilter::TTextFilter(bool isFileFilter, bool ignoreCase) : m_isFileFilter(isFileFilter) {
    m_regex.compile(QStringLiteral("."), ignoreCase);
    Reset();
}

void TTextFilter::Reset() {
    m_regExp = false;
    m_mode = kOff;
    m_mask = QStringLiteral("*");
}

void TTextFilter::Assign(const TTextFilter& other) {
    m_regExp = other.m_regExp;
    m_mode = other.m_mode;
    m_mask = other.m_mask;
    m_sep = other.m_sep;
    m_regex = other.m_regex;
}

QString TTextFilter::Filter() const {
    return m_regExp ? m_regex.pattern() : m_mask;
}

QString TTextFilter::MatchAll() const {
    return m_regExp ? QStringLiteral(".") : QStringLiteral("*");
}

QString TTextFilter::takeMask(QString& list) const {
    const qsizetype at = list.indexOf(m_sep);
    if (at < 0) {
        QString mask = list;
        list.clear();
        return mask;
    }
    QString mask = list.left(at);
    list.remove(0, at + 1);
    return mask;
}

namespace {

bool hasExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && dot > name.lastIndexOf(QLatin1Char('/'));
}

} // namespace

void TTextFilter::setFilter(const QString& filter) {
    if (m_regExp) {
        const QString pattern = filter.isEmpty() ? QStringLiteral(".") : filter;
        if (!m_regex.compile(pattern, m_regex.ignoreCase()) ||
            m_regex.match(QStringLiteral("xyz")) == TPcreRegex::Error) {
            m_regex.compile(QStringLiteral("."), m_regex.ignoreCase());
            throw EFilterError(T_("Illegal regular expression!"));
        }
        return;
    }
    if (filter.isEmpty()) {
        m_mask = QStringLiteral("*");
        return;
    }
    QString list = filter;
    if (m_isFileFilter) {
        // A mask without extension means every extension of that name.
        QStringList masks = list.split(m_sep);
        for (QString& mask : masks)
            if (!mask.isEmpty() && !hasExtension(mask))
                mask += QStringLiteral(".*");
        list = masks.join(m_sep);
    }
    m_mask = list;
    try {
        for (const QString& mask : list.split(m_sep))
            TWildcardMask(mask).matches(QStringLiteral("xyz"));
    } catch (const EFilterError&) {
        m_mask = QStringLiteral("*");
        throw;
    }
}

bool TTextFilter::matchesMask(QString mask, const QString& text) const {
    const bool negated = mask.startsWith(QLatin1Char('!'));
    if (negated)
        mask.remove(0, 1);
    QString subject = text;
    // "name." stands for a name without extension.
    if (m_isFileFilter && mask.endsWith(QLatin1Char('.')) && !hasExtension(text))
        subject += QLatin1Char('.');
    bool passes = false;
    try {
        passes = TWildcardMask(mask).matches(subject);
    } catch (const EFilterError&) {
        passes = false;
    }
    return passes != negated;
}

bool TTextFilter::matchesMasks(const QString& text) const {
    QString list = m_mask;
    const bool all = list.startsWith(QLatin1Char('+'));
    if (all)
        list.remove(0, 1);
    bool result = true;
    while (!list.isEmpty()) {
        const QString mask = takeMask(list);
        if (mask.isEmpty())
            continue;
        result = matchesMask(mask, text);
        if (result != all)
            break; // "any" stops at the first pass, "all" at the first failure
    }
    return result;
}

bool TTextFilter::MatchesFilter(const QString& text) const {
    if (m_mode == kOff)
        return true;
    bool result;
    if (m_regExp) {
        const TPcreRegex::TOutcome outcome = m_regex.match(text);
        if (outcome == TPcreRegex::Error)
            throw EFilterError(fmt(T_("Regular expression too complex for: %s"), {text.left(100)}));
        result = outcome == TPcreRegex::Match;
    } else {
        result = matchesMasks(text);
    }
    return m_mode == kPassOthers ? !result : result;
}

} // namespace orvel
