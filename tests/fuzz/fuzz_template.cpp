// The HTML template processor: a template's bytes decoded as a document is, its header of
// variables read and its body expanded. An expansion never adds lines of its own, and a
// template without a header gives nothing.

#include "base/core/TextCodec.h"
#include "projects/core/TemplateProcessor.h"

#include "Fuzz.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const codec::TDetection d = codec::detectEncoding(bytes);
    const QString text =
        QString::fromUtf8(codec::toEditorText(bytes.sliced(d.bomLength), d.encoding));
    QStringList lines;
    for (qsizetype start = 0, i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\r' && text[i] != u'\n')
            continue;
        if (i < text.size() || start < i)
            lines.append(text.mid(start, i - start));
        if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }

    const TTemplateOutput out = expandTemplate(lines);
    FUZZ_CHECK(out.lines.size() <= lines.size());
    if (!out.headerFound)
        FUZZ_CHECK(out.lines.isEmpty() && !out.headerClosed);
    for (const QString& line : out.lines)
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));

    // What the processor writes: the lines in the template's own encoding.
    QByteArray utf8;
    for (const QString& line : out.lines)
        utf8 += line.toUtf8() + "\r\n";
    codec::fromEditorText(utf8, d.encoding, d.bom, lbCRLF);
    return 0;
}
