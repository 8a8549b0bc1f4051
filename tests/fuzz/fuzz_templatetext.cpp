// The template expansion on any text, as the preview hands it the editor's unsaved text: it
// never crashes, and its output is lines without line breaks, none without a header.

#include "projects/core/TemplateProcessor.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const TTemplateOutput out = expandTemplateText(text);
    if (!out.headerFound && (!out.lines.isEmpty() || out.headerClosed))
        std::abort();
    for (const QString& line : out.lines)
        if (line.contains(u'\r') || line.contains(u'\n'))
            std::abort();
    // The same text split by another kind of line break expands alike.
    QString lf;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') {
            lf += text[i];
            continue;
        }
        lf += u'\n';
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    const TTemplateOutput again = expandTemplateText(lf);
    if (again.lines != out.lines || again.headerFound != out.headerFound ||
        again.headerClosed != out.headerClosed)
        std::abort();
    return 0;
}
