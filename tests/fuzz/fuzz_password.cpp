// The stored-password decoder: any text in a project file's password keys decodes to a
// password or to nothing, and a password that was stored decodes to itself.

#include "projects/core/PwdStore.h"

#include "Fuzz.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QByteArray key = BuildStoreKey();
    orvel::fuzz::TInput input(data, size);
    const uint8_t flags = input.byte();
    const QString text = QString::fromUtf8(input.rest());

    DecodePassword(key, text);

    // Half the inputs also go the other way, with the input's bytes as padding and salt.
    if (flags & 1) {
        QByteArrayView random = input.rest();
        const TRandomBytes fromInput = [&random](unsigned char* out, int count) {
            for (int i = 0; i < count; ++i)
                out[i] = i < random.size() ? uchar(random[i]) : uchar(i);
            random = random.sliced(qMin<qsizetype>(count, random.size()));
            return true;
        };
        const QString password = text.left(40);
        const QString stored = EncodePassword(key, password, 64, fromInput);
        const QString expected = QString::fromUtf8(passwordBytes(password, 64));
        FUZZ_CHECK(DecodePassword(key, stored) == expected);
    }
    return 0;
}
