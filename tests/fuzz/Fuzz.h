#pragma once
// Shared by the fuzz targets: stating what a parser promises, and cutting one input into the
// several arguments a call needs.

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken promise stops the run at once, so that libFuzzer keeps the input and the replay
// test fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: FUZZ_CHECK failed: %s\n", __FILE__, __LINE__,             \
                         #condition);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace orvel::fuzz {

// Reads an input front to back: flag bytes first, then parts cut at a separator byte.
class TInput {
public:
    TInput(const uint8_t* data, size_t size)
        : m_rest(reinterpret_cast<const char*>(data), qsizetype(size)) {}

    // The next byte, 0 when none is left.
    uint8_t byte() {
        if (m_rest.isEmpty())
            return 0;
        const auto b = uint8_t(m_rest.front());
        m_rest = m_rest.sliced(1);
        return b;
    }
    // The bytes up to the separator (which is dropped), or all that is left.
    QByteArray part(char separator) {
        const qsizetype at = m_rest.indexOf(separator);
        const QByteArrayView taken = at < 0 ? m_rest : m_rest.first(at);
        m_rest = at < 0 ? QByteArrayView() : m_rest.sliced(at + 1);
        return taken.toByteArray();
    }
    QByteArrayView rest() const { return m_rest; }

private:
    QByteArrayView m_rest;
};

} // namespace orvel::fuzz
