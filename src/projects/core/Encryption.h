#pragma once
// Password-based stream encryption in the layout of AES-encrypted zip entries: salt, 2-byte
// password verifier, AES-CTR data (little-endian counter), first 10 bytes of an HMAC-SHA1
// over the enciphered data. Keys come from PBKDF2-HMAC-SHA1 with 1000 iterations.

#include <QByteArray>
#include <functional>

class QIODevice;

namespace orvel {

// Fills count bytes at out; false when no random bytes could be had.
using TRandomBytes = std::function<bool(unsigned char* out, int count)>;

// The system's cryptographic random source.
bool systemRandomBytes(unsigned char* out, int count);
// Overwrites the bytes with zeros in a way the compiler cannot drop.
void wipeBytes(QByteArray& bytes);

class TCrypt {
public:
    static constexpr int MaxPwdLength = 128;
    static constexpr int TrailerSize = 10;

    // mode 1, 2, 3 fixes AES-128, -192, -256; any other value chooses by the pass phrase's
    // length: below 32 bytes 1, 48 and more 3, otherwise 2. The pass phrase is cut to 128
    // bytes.
    TCrypt(const QByteArray& password, int bufSize, int mode);
    virtual ~TCrypt();
    TCrypt(const TCrypt&) = delete;
    TCrypt& operator=(const TCrypt&) = delete;

    int Mode() const { return FMode; }
    bool FixedKey() const { return FFixedKey; }
    int SaltSize() const { return saltSize(FMode); }
    int HeaderSize() const { return SaltSize() + 2; }
    static int saltSize(int mode) { return 4 + 4 * mode; }
    static int keySize(int mode) { return 8 + 8 * mode; }

protected:
    QByteArray FPwd;
    int CBufSize;
    QByteArray CBuffer;
    int FMode;
    bool FFixedKey;
};

class TEncryption : public TCrypt {
public:
    // Salts come from random, or from the system's source when none is given.
    explicit TEncryption(const QByteArray& password, int bufSize = 4096, int mode = 0,
                         TRandomBytes random = {});

    // Writes salt and verifier, the enciphered source up to its end, and the code. False on
    // any read or write error or when no salt could be had.
    bool EncryptStream(QIODevice& source, QIODevice& dest);
    // Reads sLength enciphered bytes from source and writes the plain data to dest. False
    // when the verifier differs, the data cannot be read or the code differs; dest may then
    // hold deciphered bytes that must not be trusted.
    bool DecryptStream(QIODevice& source, QIODevice& dest, qint64 sLength);

    // The same over byte arrays; out is emptied on failure.
    bool EncryptStream(const QByteArray& plain, QByteArray& out);
    bool DecryptStream(const QByteArray& enciphered, QByteArray& out);

private:
    TRandomBytes FRandom;
};

} // namespace orvel
