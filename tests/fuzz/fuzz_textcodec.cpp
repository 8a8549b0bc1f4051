// Encoding detection and decoding of document bytes, whole and streamed: every file reads
// into editor text that writes back byte for byte, and the streamed reader agrees with the
// whole one wherever the pieces are cut.

#include "base/core/TextCodec.h"
#include "base/core/TextFile.h"

#include "Fuzz.h"

#include <QFile>
#include <sys/mman.h>
#include <unistd.h>

using namespace orvel;

namespace {

// The input as a file the reader can open, without touching the disk.
class TMemoryFile {
public:
    explicit TMemoryFile(QByteArrayView bytes) : m_fd(::memfd_create("fuzz", MFD_CLOEXEC)) {
        if (m_fd >= 0 && ::write(m_fd, bytes.data(), size_t(bytes.size())) != bytes.size()) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~TMemoryFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;
    bool ok() const { return m_fd >= 0; }
    QString name() const { return QStringLiteral("/proc/self/fd/%1").arg(m_fd); }

private:
    int m_fd;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvel::fuzz::TInput input(data, size);
    const qsizetype pieceSize = 4 + (input.byte() & 31);
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const codec::TDetection d = codec::detectEncoding(bytes);
    FUZZ_CHECK(d.bomLength <= bytes.size());
    const QByteArray text = codec::toEditorText(bytes.sliced(d.bomLength), d.encoding);
    const codec::TEncodeResult back = codec::fromEditorText(text, d.encoding, d.bom);
    FUZZ_CHECK(back.ok());
    FUZZ_CHECK(back.bytes == bytes);
    FUZZ_CHECK(codec::canHold(text, d.encoding));

    // Whatever the text, the checks before saving agree with the encoders.
    for (const TSynEncoding encoding : {seUTF8, seUTF16LE, seUTF16BE, seAnsi}) {
        const codec::TEncodeResult r = codec::fromEditorText(bytes, encoding, false);
        FUZZ_CHECK(r.ok() == codec::canHold(bytes, encoding));
        FUZZ_CHECK(r.ok() || r.bytes.isEmpty());
        if (codec::isSavedAsIs(bytes, encoding))
            FUZZ_CHECK(r.bytes == bytes);
    }
    const TLineBreak style = codec::detectLineBreak(text);
    const codec::TEncodeResult styled = codec::fromEditorText(text, d.encoding, d.bom, style);
    FUZZ_CHECK(styled.ok());

    TMemoryFile file(bytes);
    if (!file.ok())
        return 0;
    QByteArray streamed;
    const TLoadedText r = streamTextFile(
        file.name(), [&streamed](QByteArrayView piece) { streamed.append(piece); },
        [&streamed] { streamed.clear(); }, pieceSize);
    FUZZ_CHECK(r.ok());
    FUZZ_CHECK(r.encoding == d.encoding);
    FUZZ_CHECK(r.bom == d.bom);
    FUZZ_CHECK(r.lineBreak == style);
    FUZZ_CHECK(streamed == text);
    return 0;
}
