// The file-type filter: wildcard mask lists and PCRE2 patterns from the settings, matched
// against file names. Errors are the filter's own (EFilterError), never a crash or a hang;
// a filter that refused its text passes everything again.

#include "search/core/TextFilter.h"

#include "Fuzz.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvel::fuzz::TInput input(data, size);
    const uint8_t flags = input.byte();
    const QString filter = QString::fromUtf8(input.part('\n'));

    TTextFilter f(flags & 1, flags & 2);
    f.setRegular(flags & 4);
    f.setMode(1 + ((flags >> 3) & 1));
    if (flags & 16)
        f.setSeparator(QLatin1Char(';'));
    bool accepted = true;
    try {
        f.setFilter(filter);
    } catch (const EFilterError&) {
        accepted = false;
    }
    if (!accepted) {
        // Refused: the filter is back to passing everything (or nothing, inverted).
        const bool passes = f.MatchesFilter(QStringLiteral("any.name"));
        FUZZ_CHECK(passes == (f.Mode() == TTextFilter::kPassMatching));
    }
    TTextFilter copy(f.isFileFilter(), flags & 2);
    copy.Assign(f);
    FUZZ_CHECK(copy.Filter() == f.Filter());

    for (const QByteArray& name : QByteArrayView(input.rest()).toByteArray().split('\n')) {
        const QString text = QString::fromUtf8(name);
        bool matched = false;
        bool failed = false;
        try {
            matched = f.MatchesFilter(text);
        } catch (const EFilterError&) {
            failed = true;
        }
        // The copy decides the same.
        bool copyMatched = false;
        bool copyFailed = false;
        try {
            copyMatched = copy.MatchesFilter(text);
        } catch (const EFilterError&) {
            copyFailed = true;
        }
        FUZZ_CHECK(copyFailed == failed && copyMatched == matched);
    }
    return 0;
}
