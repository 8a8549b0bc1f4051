#include "search/core/SearchFile.h"

#include "base/core/TextCodec.h"
#include "base/core/Translate.h"

#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvel {

namespace {

// Room for a file of unknown size when none is left from the files before.
constexpr qsizetype kFirstRoom = 256 << 10;

TFileStamp stampOf(const struct stat& st) {
    TFileStamp s;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = st.st_ino;
    s.device = st.st_dev;
    return s;
}

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Stored bytes that one stretch of editor text takes in the file's encoding.
qsizetype storedLength(QByteArrayView text, TSynEncoding encoding) {
    if (encoding == seUTF8)
        return text.size();
    qsizetype chars = 0;
    qsizetype fourByte = 0;
    for (const char c : text) {
        chars += !isContinuation(c);
        fourByte += static_cast<unsigned char>(c) >= 0xF0;
    }
    // ANSI: one byte a character. UTF-16: two, and four for a pair of surrogates.
    return encoding == seAnsi ? chars : 2 * (chars + fourByte);
}

TResult<QByteArray> encodeReplacement(const QString& replacement, TSynEncoding encoding) {
    switch (encoding) {
    case seUTF8:
        return replacement.toUtf8();
    case seUTF16LE:
    case seUTF16BE: {
        QByteArray out(replacement.size() * 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < replacement.size(); ++i) {
            const char16_t u = replacement.at(i).unicode();
            if (encoding == seUTF16LE)
                qToLittleEndian(u, out.data() + 2 * i);
            else
                qToBigEndian(u, out.data() + 2 * i);
        }
        return out;
    }
    case seAnsi:
        break;
    }
    QByteArray out;
    QList<char32_t> missing;
    for (const char32_t cp : replacement.toUcs4()) {
        const int b = codec::unicodeToAnsi(cp);
        if (b < 0) {
            if (!missing.contains(cp))
                missing << cp;
        } else {
            out += char(b);
        }
    }
    if (!missing.isEmpty())
        return TResult<QByteArray>::failure(
            fmt(T_("The file's encoding cannot hold these characters of the replacement: %s"),
                {codec::describeCharacters(missing)}));
    return out;
}

} // namespace

TFileStamp fileStampOf(const QByteArray& nativePath) {
    struct stat st;
    if (::stat(nativePath.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return stampOf(st);
}

QByteArrayView TSearchFile::text() const {
    if (m_isConverted)
        return m_converted;
    return QByteArrayView(bytes).sliced(m_textOffset);
}

TSearchFile::TKind TSearchFile::read(const QByteArray& nativePath, bool watchChanges) {
    const TKind kind = load(nativePath, watchChanges);
    return kind == Text ? decode() : kind;
}

TSearchFile::TKind TSearchFile::load(const QByteArray& nativePath, bool watchChanges) {
    error.clear();
    stamp = {};
    // Not blocking: a pipe put in place of a file since the walk reads as empty.
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Missing;
        error = qt_error_string(errno);
        return Failed;
    }
    // Only a file that may be written back needs its stamp; a search reads into the room
    // it has, which the files before it left.
    struct stat before;
    if (watchChanges && (::fstat(fd, &before) != 0 || !S_ISREG(before.st_mode))) {
        ::close(fd);
        return Missing;
    }
    // One byte more than the file holds, so that its end is seen without growing.
    const qsizetype want =
        watchChanges ? qsizetype(before.st_size) + 1 : qMax(bytes.capacity(), kFirstRoom);
    if (bytes.capacity() < want || !bytes.isDetached())
        bytes = QByteArray(want, Qt::Uninitialized); // the old bytes need no copy
    else
        bytes.resize(want);
    qsizetype got = 0;
    int readError = 0;
    while (true) {
        if (got == bytes.size())
            bytes.resize(2 * got); // larger than the room, or grown while being read
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            readError = errno;
            break;
        }
        if (n == 0)
            break;
        got += n;
    }
    struct stat after;
    const bool statAfter = !watchChanges || ::fstat(fd, &after) == 0;
    ::close(fd);
    if (readError == EISDIR)
        return Missing; // a folder in place of the file since the walk
    if (readError) {
        error = qt_error_string(readError);
        return Failed;
    }
    bytes.resize(got);
    if (!watchChanges)
        return Text;
    stamp = stampOf(before);
    // A file written while it was read is not to be written back: no stamp will fit it.
    if (!statAfter || got != before.st_size || stampOf(after) != stamp)
        stamp.mtimeNs = -1;
    return Text;
}

bool TSearchFile::isUtf16() const {
    const qsizetype n = bytes.size();
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    return n >= 2 && n % 2 == 0 &&
           ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF));
}

bool TSearchFile::looksBinary() const {
    return !isUtf16() &&
           std::memchr(bytes.constData(), 0, size_t(qMin(bytes.size(), kTextProbeSize)));
}

TSearchFile::TKind TSearchFile::take(QByteArray data) {
    bytes = std::move(data);
    return decode();
}

TSearchFile::TKind TSearchFile::decode() {
    m_isConverted = false;
    m_textOffset = 0;
    bom = false;
    const qsizetype n = bytes.size();
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (isUtf16()) {
        encoding = b[0] == 0xFF ? seUTF16LE : seUTF16BE;
        bom = true;
        m_converted = codec::toEditorText(QByteArrayView(bytes).sliced(2), encoding);
        m_isConverted = true;
        return Text;
    }
    if (looksBinary())
        return NotText;
    const bool utf8Bom = n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF;
    bool multiByte = false;
    if (codec::isValidUtf8(QByteArrayView(bytes).sliced(utf8Bom ? 3 : 0), &multiByte)) {
        encoding = utf8Bom || multiByte ? seUTF8 : seAnsi;
        bom = utf8Bom;
        m_textOffset = utf8Bom ? 3 : 0;
        return Text;
    }
    // Windows-1252, a malformed mark's bytes included, as a document window reads it.
    encoding = seAnsi;
    m_converted = codec::toEditorText(bytes, seAnsi);
    m_isConverted = true;
    return Text;
}

void TSearchFile::setEditorText(QByteArray utf8) {
    bytes = std::move(utf8);
    encoding = seUTF8;
    bom = false;
    m_textOffset = 0;
    m_isConverted = false;
    m_converted.clear();
}

QByteArray replacedText(QByteArrayView text, const QList<qsizetype>& starts, qsizetype length,
                        QByteArrayView replacement) {
    QByteArray out;
    out.reserve(text.size() + starts.size() * (replacement.size() - length));
    qsizetype at = 0;
    for (const qsizetype start : starts) {
        out.append(text.sliced(at, start - at));
        out.append(replacement);
        at = start + length;
    }
    out.append(text.sliced(at));
    return out;
}

TResult<QByteArray> replacedBytes(const TSearchFile& file, const QList<qsizetype>& starts,
                                  qsizetype length, const QString& replacement) {
    const TResult<QByteArray> encoded = encodeReplacement(replacement, file.encoding);
    if (!encoded.ok())
        return encoded;
    const QByteArrayView text = file.text();
    const QByteArrayView stored(file.bytes);
    // Editor text and stored bytes walk in step; the stored text starts after its mark.
    qsizetype textAt = 0;
    qsizetype storedAt = stored.size() - storedLength(text, file.encoding);
    QByteArray out;
    out.reserve(stored.size() + starts.size() * encoded.value().size());
    out.append(stored.first(storedAt));
    for (const qsizetype start : starts) {
        const qsizetype keep = storedLength(text.sliced(textAt, start - textAt), file.encoding);
        out.append(stored.sliced(storedAt, keep));
        out.append(encoded.value());
        storedAt += keep + storedLength(text.sliced(start, length), file.encoding);
        textAt = start + length;
    }
    out.append(stored.sliced(storedAt));
    return out;
}

} // namespace orvel
