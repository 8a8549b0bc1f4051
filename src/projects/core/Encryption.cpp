#include "projects/core/Encryption.h"

#include <QBuffer>
#include <QIODevice>

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <array>
#include <memory>

namespace orvel {

namespace {

#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr int Iterations = 1; // the fuzzer looks for faults in parsing, not in stretching
#else
constexpr int Iterations = 1000;
#endif
constexpr int CodeSize = 20; // HMAC-SHA1
constexpr int Block = 16;

// AES key, HMAC key and verifier from the pass phrase and the salt; wiped when done.
struct TKeys {
    QByteArray material;
    int keyLen = 0;

    bool derive(const QByteArray& pwd, const unsigned char* salt, int saltLen, int mode) {
        keyLen = TCrypt::keySize(mode);
        material = QByteArray(2 * keyLen + 2, '\0');
        return PKCS5_PBKDF2_HMAC(pwd.constData(), int(pwd.size()), salt, saltLen, Iterations,
                                 EVP_sha1(), int(material.size()),
                                 reinterpret_cast<unsigned char*>(material.data())) == 1;
    }
    const unsigned char* aesKey() const { return bytes(); }
    const unsigned char* macKey() const { return bytes() + keyLen; }
    const unsigned char* verifier() const { return bytes() + 2 * keyLen; }
    ~TKeys() { wipeBytes(material); }

private:
    const unsigned char* bytes() const {
        return reinterpret_cast<const unsigned char*>(material.constData());
    }
};

// Counter mode by hand: the counter is little-endian in the first 8 bytes of the block, which
// the library's own CTR mode (big-endian over all 16 bytes) does not do.
class TCtrCipher {
public:
    bool init(const unsigned char* key, int mode) {
        const EVP_CIPHER* cipher = mode == 1   ? EVP_aes_128_ecb()
                                   : mode == 2 ? EVP_aes_192_ecb()
                                               : EVP_aes_256_ecb();
        if (!m_ctx || EVP_EncryptInit_ex(m_ctx.get(), cipher, nullptr, key, nullptr) != 1)
            return false;
        return EVP_CIPHER_CTX_set_padding(m_ctx.get(), 0) == 1;
    }

    bool apply(unsigned char* data, qsizetype len) {
        for (qsizetype i = 0; i < len; ++i) {
            if (m_used == Block && !nextBlock())
                return false;
            data[i] ^= m_stream[size_t(m_used++)];
        }
        return true;
    }

    ~TCtrCipher() { OPENSSL_cleanse(m_stream.data(), m_stream.size()); }

private:
    bool nextBlock() {
        ++m_counter;
        std::array<unsigned char, Block> ctr{};
        for (int i = 0; i < 8; ++i)
            ctr[size_t(i)] = static_cast<unsigned char>(m_counter >> (8 * i));
        int outLen = 0;
        if (EVP_EncryptUpdate(m_ctx.get(), m_stream.data(), &outLen, ctr.data(), Block) != 1 ||
            outLen != Block)
            return false;
        m_used = 0;
        return true;
    }

    struct CtxFree {
        void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
    };
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> m_ctx{EVP_CIPHER_CTX_new()};
    std::array<unsigned char, Block> m_stream{};
    int m_used = Block;
    quint64 m_counter = 0;
};

class THmacSha1 {
public:
    bool init(const unsigned char* key, int keyLen) {
        EVP_MAC* mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
        if (!mac)
            return false;
        m_ctx = EVP_MAC_CTX_new(mac);
        EVP_MAC_free(mac);
        if (!m_ctx)
            return false;
        char digest[] = "SHA1";
        OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                               OSSL_PARAM_construct_end()};
        return EVP_MAC_init(m_ctx, key, size_t(keyLen), params) == 1;
    }
    bool update(const unsigned char* data, qsizetype len) {
        return EVP_MAC_update(m_ctx, data, size_t(len)) == 1;
    }
    bool final(std::array<unsigned char, CodeSize>& code) {
        size_t outLen = 0;
        return EVP_MAC_final(m_ctx, code.data(), &outLen, code.size()) == 1 &&
               outLen == code.size();
    }
    ~THmacSha1() { EVP_MAC_CTX_free(m_ctx); }

private:
    EVP_MAC_CTX* m_ctx = nullptr;
};

bool writeAll(QIODevice& dest, const void* data, qsizetype len) {
    return dest.write(static_cast<const char*>(data), len) == len;
}

// Reads up to len bytes, more than one read where the device delivers less; -1 on error.
qint64 readFull(QIODevice& source, char* data, qint64 len) {
    qint64 total = 0;
    while (total < len) {
        const qint64 n = source.read(data + total, len - total);
        if (n < 0)
            return -1;
        if (n == 0 && (!source.isSequential() || !source.waitForReadyRead(30000)))
            break;
        total += n;
    }
    return total;
}

// Runs a stream function from one byte array into another; out stays empty on failure.
template <class Run> bool overBuffers(const QByteArray& input, QByteArray& out, Run run) {
    out.clear();
    QByteArray in = input;
    QBuffer source(&in);
    QBuffer dest(&out);
    source.open(QIODevice::ReadOnly);
    dest.open(QIODevice::WriteOnly);
    if (run(source, dest, in.size()))
        return true;
    wipeBytes(out);
    out.clear();
    return false;
}

} // namespace

bool systemRandomBytes(unsigned char* out, int count) {
    return count <= 0 || RAND_bytes(out, count) == 1;
}

void wipeBytes(QByteArray& bytes) {
    if (!bytes.isEmpty())
        OPENSSL_cleanse(bytes.data(), size_t(bytes.size()));
}

TCrypt::TCrypt(const QByteArray& password, int bufSize, int mode)
    : FPwd(password.constData(), std::min<qsizetype>(password.size(), MaxPwdLength)),
      CBufSize(std::max(bufSize, 1)), CBuffer(CBufSize, '\0'), FMode(mode),
      FFixedKey(mode >= 1 && mode <= 3) {
    if (!FFixedKey)
        FMode = FPwd.size() < 32 ? 1 : FPwd.size() >= 48 ? 3 : 2;
}

TCrypt::~TCrypt() {
    wipeBytes(FPwd);
    wipeBytes(CBuffer);
}

TEncryption::TEncryption(const QByteArray& password, int bufSize, int mode, TRandomBytes random)
    : TCrypt(password, bufSize, mode), FRandom(std::move(random)) {
    if (!FRandom)
        FRandom = systemRandomBytes;
}

bool TEncryption::EncryptStream(QIODevice& source, QIODevice& dest) {
    std::array<unsigned char, 16> salt{};
    const int saltLen = SaltSize();
    TKeys keys;
    TCtrCipher cipher;
    THmacSha1 mac;
    if (!FRandom(salt.data(), saltLen) || !keys.derive(FPwd, salt.data(), saltLen, FMode) ||
        !cipher.init(keys.aesKey(), FMode) || !mac.init(keys.macKey(), keys.keyLen))
        return false;
    if (!writeAll(dest, salt.data(), saltLen) || !writeAll(dest, keys.verifier(), 2))
        return false;
    auto* buf = reinterpret_cast<unsigned char*>(CBuffer.data());
    for (;;) {
        const qint64 n = readFull(source, CBuffer.data(), CBufSize);
        if (n < 0)
            return false;
        if (!cipher.apply(buf, n) || !mac.update(buf, n) || !writeAll(dest, buf, n))
            return false;
        if (n < CBufSize)
            break;
    }
    std::array<unsigned char, CodeSize> code{};
    return mac.final(code) && writeAll(dest, code.data(), TrailerSize);
}

bool TEncryption::DecryptStream(QIODevice& source, QIODevice& dest, qint64 sLength) {
    const int saltLen = SaltSize();
    qint64 remaining = sLength - HeaderSize() - TrailerSize;
    if (remaining < 0)
        return false;
    std::array<unsigned char, 16> salt{};
    std::array<unsigned char, 2> verifier{};
    if (readFull(source, reinterpret_cast<char*>(salt.data()), saltLen) != saltLen ||
        readFull(source, reinterpret_cast<char*>(verifier.data()), 2) != 2)
        return false;
    TKeys keys;
    TCtrCipher cipher;
    THmacSha1 mac;
    if (!keys.derive(FPwd, salt.data(), saltLen, FMode) ||
        CRYPTO_memcmp(keys.verifier(), verifier.data(), 2) != 0)
        return false;
    if (!cipher.init(keys.aesKey(), FMode) || !mac.init(keys.macKey(), keys.keyLen))
        return false;
    auto* buf = reinterpret_cast<unsigned char*>(CBuffer.data());
    while (remaining > 0) {
        const qint64 want = std::min<qint64>(remaining, CBufSize);
        if (readFull(source, CBuffer.data(), want) != want)
            return false;
        // The code covers the enciphered bytes, so it is fed before deciphering.
        if (!mac.update(buf, want) || !cipher.apply(buf, want) || !writeAll(dest, buf, want))
            return false;
        remaining -= want;
    }
    std::array<unsigned char, TrailerSize> stored{};
    std::array<unsigned char, CodeSize> code{};
    if (readFull(source, reinterpret_cast<char*>(stored.data()), TrailerSize) != TrailerSize ||
        !mac.final(code))
        return false;
    return CRYPTO_memcmp(code.data(), stored.data(), TrailerSize) == 0;
}

bool TEncryption::EncryptStream(const QByteArray& plain, QByteArray& out) {
    return overBuffers(plain, out, [this](QIODevice& source, QIODevice& dest, qint64) {
        return EncryptStream(source, dest);
    });
}

bool TEncryption::DecryptStream(const QByteArray& enciphered, QByteArray& out) {
    return overBuffers(enciphered, out, [this](QIODevice& source, QIODevice& dest, qint64 length) {
        return DecryptStream(source, dest, length);
    });
}

} // namespace orvel
