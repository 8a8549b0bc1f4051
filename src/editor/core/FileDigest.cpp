#include "editor/core/FileDigest.h"

#include "base/core/Translate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <openssl/evp.h>

namespace orvel {

namespace {

const EVP_MD* digestOf(TDigestKind kind) {
    switch (kind) {
    case dkMD5:
        return EVP_md5();
    case dkSHA1:
        return EVP_sha1();
    case dkSHA256:
        break;
    }
    return EVP_sha256();
}

TResult<QString> failure(const QString& fileName, const QString& reason) {
    return TResult<QString>::failure(fmt(T_("Cannot read the file \"%s\":\r\n%s"),
                                         {QDir::toNativeSeparators(fileName), reason}));
}

} // namespace

QString digestLabel(TDigestKind kind) {
    switch (kind) {
    case dkMD5:
        return QStringLiteral("MD5");
    case dkSHA1:
        return QStringLiteral("SHA1");
    case dkSHA256:
        break;
    }
    return QStringLiteral("SHA256");
}

TResult<QString> fileDigest(const QString& fileName, TDigestKind kind) {
    const QFileInfo info(fileName);
    if (!info.exists())
        return failure(fileName, T_("The file does not exist."));
    // Checked before opening: opening a FIFO for reading would wait for a writer.
    if (!info.isFile())
        return failure(fileName, T_("Not a regular file"));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failure(fileName, file.errorString());
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(),
                                                                      &EVP_MD_CTX_free);
    if (!ctx || EVP_DigestInit_ex(ctx.get(), digestOf(kind), nullptr) != 1)
        return failure(fileName, T_("The digest could not be computed."));
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = file.read(block.data(), block.size());
        if (n < 0)
            return failure(fileName, file.errorString());
        if (n == 0)
            break;
        if (EVP_DigestUpdate(ctx.get(), block.constData(), size_t(n)) != 1)
            return failure(fileName, T_("The digest could not be computed."));
    }
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(ctx.get(), md, &length) != 1)
        return failure(fileName, T_("The digest could not be computed."));
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(md), int(length)).toHex());
}

} // namespace orvel
