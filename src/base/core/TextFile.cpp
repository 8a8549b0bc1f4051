#include "base/core/TextFile.h"

#include "base/core/AtomicFile.h"

#include <QFileInfo>

namespace orvel {

TLoadedText loadTextFile(const QString& fileName) {
    QByteArray text;
    text.reserve(qMax<qint64>(0, QFileInfo(fileName).size()));
    TLoadedText r = streamTextFile(
        fileName, [&text](QByteArrayView piece) { text.append(piece); }, [&text] { text.clear(); });
    r.text = std::move(text);
    return r;
}

TSaveResult saveTextFile(const QString& fileName, QByteArrayView utf8, TSynEncoding encoding,
                         bool bom, TLineBreak lineBreak) {
    TSaveResult r;
    if (codec::isSavedAsIs(utf8, encoding, lineBreak)) {
        r.error = writePartsAtomically(fileName, {bom ? "\xEF\xBB\xBF" : "", utf8});
        return r;
    }
    codec::TEncodeResult encoded = codec::fromEditorText(utf8, encoding, bom, lineBreak);
    if (!encoded.ok()) {
        r.unencodable = std::move(encoded.unencodable);
        return r;
    }
    const QString error = writeFileAtomically(fileName, encoded.bytes);
    if (!error.isNull())
        r.error = error;
    return r;
}

} // namespace orvel
