// The log viewer's reader: any log reads, writes back byte for byte (the NULs it drops
// aside), and deleting a part of it leaves a text that reads and writes the same again.

#include "app/core/LogText.h"

#include "Fuzz.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvel::fuzz::TInput input(data, size);
    const uint8_t a = input.byte();
    const uint8_t b = input.byte();
    const uint8_t flags = input.byte();
    QByteArray bytes = input.rest().toByteArray();

    TLogText log = TLogText::fromBytes(bytes);
    bytes.removeIf([](char c) { return c == '\0'; });
    FUZZ_CHECK(log.toBytes() == bytes);
    FUZZ_CHECK(!log.display().contains(u'\r'));

    const QString display = log.display();
    // A text view never puts a position inside a surrogate pair.
    const auto onBoundary = [&](qsizetype at) {
        return at < display.size() && display.at(at).isLowSurrogate() ? at + 1 : at;
    };
    const qsizetype start = onBoundary(display.size() * a / 255);
    const qsizetype end = onBoundary(start + (display.size() - start) * b / 255);
    log.remove(start, end);
    FUZZ_CHECK(log.display().size() <= display.size());
    const QByteArray kept = log.toBytes();
    FUZZ_CHECK(kept.size() <= bytes.size());
    FUZZ_CHECK(TLogText::fromBytes(kept).toBytes() == kept);

    // Searching the text for a piece of itself finds it.
    QString what = display.mid(start, qMin<qsizetype>(8, end - start));
    if (!what.isEmpty() && what.back().isHighSurrogate())
        what.chop(1);
    const qsizetype at = findText(display, what, start, !(flags & 1), flags & 2, flags & 4);
    FUZZ_CHECK(at < 0 || display.mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0);
    if (!what.isEmpty() && !(flags & 1) && !(flags & 4))
        FUZZ_CHECK(at == start);
    return 0;
}
