#include "base/core/TextFile.h"

#include "base/core/AtomicFile.h"

#include <QFileInfo>
#include <optional>

namespace orvel {

TLoadedText loadTextFile(const QString& fileName) {
    QByteArray text;
    text.reserve(qMax<qint64>(0, QFileInfo(fileName).size()));
    TLoadedText r = streamTextFile(
        fileName, [&text](QByteArrayView piece) { text.append(piece); }, [&text] { text.clear(); });
    r.text = std::move(text);
    return r;
}

namespace {

TSaveResult save(const QString& fileName, QByteArrayView utf8, TSynEncoding encoding, bool bom,
                 std::optional<TLineBreak> lineBreak) {
    TSaveResult r;
    if (lineBreak ? codec::isSavedAsIs(utf8, encoding, *lineBreak)
                  : codec::isSavedAsIs(utf8, encoding)) {
        r.error = writePartsAtomically(fileName, {bom ? "\xEF\xBB\xBF" : "", utf8});
        return r;
    }
    codec::TEncodeResult encoded = lineBreak
                                       ? codec::fromEditorText(utf8, encoding, bom, *lineBreak)
                                       : codec::fromEditorText(utf8, encoding, bom);
    if (!encoded.ok()) {
        r.unencodable = std::move(encoded.unencodable);
        return r;
    }
    const QString error = writeFileAtomically(fileName, encoded.bytes);
    if (!error.isNull())
        r.error = error;
    return r;
}

} // namespace

TSaveResult saveTextFile(const QString& fileName, QByteArrayView utf8, TSynEncoding encoding,
                         bool bom) {
    return save(fileName, utf8, encoding, bom, std::nullopt);
}

TSaveResult saveTextFile(const QString& fileName, QByteArrayView utf8, TSynEncoding encoding,
                         bool bom, TLineBreak lineBreak) {
    return save(fileName, utf8, encoding, bom, lineBreak);
}

} // namespace orvel
