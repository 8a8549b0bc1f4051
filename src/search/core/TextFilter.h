#pragma once
// Decides whether a text (a file's extension, a file name) passes a filter of wildcard masks
// or a regular expression.

#include "base/core/Errors.h"

#include <QChar>
#include <QList>
#include <QString>
#include <memory>

namespace orvel {

class EFilterError : public EOrvelError {
public:
    using EOrvelError::EOrvelError;
};

// A compiled PCRE2 pattern. Matching runs under a step limit, so that a pattern that
// backtracks without end reports an error instead of hanging the program.
class TPcreRegex {
public:
    enum TOutcome { NoMatch, Match, Error };

    TPcreRegex();
    ~TPcreRegex();
    TPcreRegex(const TPcreRegex& other);
    TPcreRegex& operator=(const TPcreRegex& other);

    // Compiles the pattern; false (and the old pattern gone) when it is not valid.
    bool compile(const QString& pattern, bool ignoreCase, QString* error = nullptr);
    const QString& pattern() const { return m_pattern; }
    bool ignoreCase() const { return m_ignoreCase; }
    bool isValid() const { return m_code != nullptr; }
    // Whether the pattern matches anywhere in the subject.
    TOutcome match(const QString& subject) const;

    // Backtracking steps one match may take (fewer where a fuzzer runs it: the limit is
    // reached the same way, sooner).
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    static constexpr unsigned kMatchLimit = 20'000;
#else
    static constexpr unsigned kMatchLimit = 1'000'000;
#endif

private:
    struct TCode;
    std::shared_ptr<TCode> m_code;
    QString m_pattern;
    bool m_ignoreCase = false;
};

// One wildcard mask: "*" any run of characters, "?" one character, "[set]" one character of
// the set (ranges such as a-z), "[!set]" one character not in it; case is ignored.
class TWildcardMask {
public:
    // Throws EFilterError "Illegal mask!" on a malformed set.
    explicit TWildcardMask(const QString& mask);
    bool matches(const QString& text) const;

private:
    struct TItem {
        enum TKind { Char, Any, Star, Set } kind = Char;
        char32_t ch = 0;
        bool negated = false;
        QList<std::pair<char32_t, char32_t>> ranges;
        bool matches(char32_t c) const;
    };
    QList<TItem> m_items;
};

class TTextFilter {
public:
    // mode values
    static constexpr int kOff = 0, kPassMatching = 1, kPassOthers = 2;

    TTextFilter(bool isFileFilter, bool ignoreCase);

    // Mask form, mode off, mask list "*".
    void Reset();
    // Takes the form, mode, mask list, separator and pattern of another filter.
    void Assign(const TTextFilter& other);

    bool Regular() const { return m_regExp; }
    void setRegular(bool regular) { m_regExp = regular; }
    int Mode() const { return m_mode; }
    void setMode(int mode) { m_mode = mode; }
    QChar Separator() const { return m_sep; }
    void setSeparator(QChar sep) { m_sep = sep; }
    bool isFileFilter() const { return m_isFileFilter; }

    // The pattern in regular-expression form, the mask list otherwise.
    QString Filter() const;
    // Throws EFilterError; the filter then passes everything.
    void setFilter(const QString& filter);
    // The filter that passes everything.
    QString MatchAll() const;

    // Throws EFilterError when the regular expression gives up on the text.
    bool MatchesFilter(const QString& text) const;

private:
    bool matchesMasks(const QString& text) const;
    bool matchesMask(QString mask, const QString& text) const;
    QString takeMask(QString& list) const;

    bool m_regExp = false;
    int m_mode = kOff;
    QString m_mask;
    QChar m_sep = QLatin1Char('|');
    bool m_isFileFilter = false;
    TPcreRegex m_regex;
};

} // namespace orvel
