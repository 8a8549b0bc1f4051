#pragma once
// The error convention: code without windows returns a value or the text that says why there
// is none (naming the file where one is involved); the user-interface layer reports it.

#include <QString>
#include <optional>
#include <utility>

namespace orvel {

// Success, or the reason of a failure.
class [[nodiscard]] TStatus {
public:
    TStatus() = default;
    static TStatus failure(QString error) {
        TStatus s;
        s.m_failed = true;
        s.m_error = error.isEmpty() ? QStringLiteral("Unknown error") : std::move(error);
        return s;
    }
    bool ok() const { return !m_failed; }
    const QString& error() const { return m_error; }

private:
    bool m_failed = false;
    QString m_error;
};

// A value, or the reason there is none.
template <class T> class [[nodiscard]] TResult {
public:
    TResult(T value) : m_value(std::move(value)) {}
    // A failed status; an ok one would leave the result without value and error alike.
    TResult(const TStatus& failed)
        : m_error(failed.ok() ? QStringLiteral("Unknown error") : failed.error()) {}
    static TResult failure(QString error) { return TResult(TStatus::failure(std::move(error))); }

    bool ok() const { return m_value.has_value(); }
    const QString& error() const { return m_error; }
    const T& value() const& { return *m_value; }
    T& value() & { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    TStatus status() const { return ok() ? TStatus() : TStatus::failure(m_error); }

private:
    std::optional<T> m_value;
    QString m_error;
};

} // namespace orvel
