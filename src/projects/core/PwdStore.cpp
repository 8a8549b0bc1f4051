#include "projects/core/PwdStore.h"

#include "projects/core/Ascii85.h"

#include <QStringDecoder>

#include <algorithm>

namespace orvel {

namespace {

constexpr char StoreDigits[] = "11AA22C6E5BA2E0901D0498DCB5F8BDDC1A91691021F456B";
constexpr quint8 StoreXor = 0x5A;
constexpr int BlockSize = 4096;

// Below 223 one byte, length + 33, so that it cannot be read as the high part of a two-byte
// length (32 or less).
QByteArray lengthPrefix(int length) {
    if (length < 223)
        return QByteArray(1, char(length + 33));
    QByteArray prefix(2, '\0');
    prefix[0] = char((length >> 8) & 0x1F);
    prefix[1] = char(length & 0xFF);
    return prefix;
}

} // namespace

QByteArray buildStoreKey(const char* hexDigits, quint8 xorWith) {
    const QByteArray digits(hexDigits);
    const QByteArray raw = QByteArray::fromHex(digits);
    if (digits.size() != 48 || raw.size() != 24 || raw.toHex().compare(digits, Qt::CaseInsensitive))
        return {};
    quint8 in[24];
    for (int i = 0; i < 24; ++i)
        in[i] = quint8(raw[i]) ^ xorWith;
    QByteArray out(12, '\0');
    for (int k = 0; k < 12; ++k) {
        const quint8 a = in[2 * k];
        const quint8 b = in[2 * k + 1];
        out[k] = k % 2 == 0 ? char((b & 0x0F) << 4 | (a & 0x0F)) : char((a & 0xF0) | b >> 4);
    }
    const int length = std::min(int(quint8(out[0])), 11);
    return out.mid(1, length);
}

QByteArray BuildStoreKey() {
    return buildStoreKey(StoreDigits, StoreXor);
}

QByteArray passwordBytes(const QString& password, int maxBytes) {
    QByteArray bytes = password.toUtf8();
    if (bytes.size() <= maxBytes)
        return bytes;
    qsizetype cut = std::max(maxBytes, 0);
    // Back up over continuation bytes to the start of the character that does not fit.
    while (cut > 0 && (quint8(bytes[cut]) & 0xC0) == 0x80)
        --cut;
    QByteArray kept = bytes.left(cut);
    wipeBytes(bytes);
    return kept;
}

QString EncodePassword(const QByteArray& key, const QString& password, int paddedLength,
                       const TRandomBytes& random) {
    if (password.isEmpty() || paddedLength < 1)
        return {};
    const TRandomBytes source = random ? random : TRandomBytes(systemRandomBytes);
    QByteArray pwd = passwordBytes(password, paddedLength);
    const int length = int(pwd.size());
    QByteArray stream = lengthPrefix(length) + pwd;
    wipeBytes(pwd);
    const int padding = std::max(paddedLength - 1 - length, 0);
    if (padding > 0) {
        QByteArray noise(padding, '\0');
        if (!source(reinterpret_cast<unsigned char*>(noise.data()), padding))
            return {};
        for (char& c : noise)
            c = char('!' + (quint8(c) & 63));
        stream += noise;
    }
    QByteArray enciphered;
    TEncryption crypt(key, BlockSize, 0, source);
    const bool ok = crypt.EncryptStream(stream, enciphered);
    wipeBytes(stream);
    return ok ? encodeAscii85(enciphered) : QString();
}

QString DecodePassword(const QByteArray& key, const QString& text) {
    if (text.isEmpty())
        return {};
    const std::optional<QByteArray> enciphered = decodeAscii85(text);
    if (!enciphered)
        return {};
    QByteArray stream;
    TEncryption crypt(key, BlockSize, 0);
    if (!crypt.DecryptStream(*enciphered, stream) || stream.isEmpty())
        return {};
    qsizetype start = 1;
    qsizetype length = quint8(stream[0]);
    if (length <= 32) {
        if (stream.size() < 2)
            return {};
        length = length << 8 | quint8(stream[1]);
        start = 2;
    } else {
        length -= 33;
    }
    QString password;
    if (start + length <= stream.size()) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        password = utf8(QByteArrayView(stream).sliced(start, length));
        if (utf8.hasError())
            password.clear();
    }
    wipeBytes(stream);
    return password;
}

} // namespace orvel
