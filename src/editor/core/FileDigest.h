#pragma once
// Digests of a file's bytes, for the hash-value inserts.

#include "base/core/Result.h"

#include <QString>

namespace orvel {

enum TDigestKind : int { dkMD5, dkSHA1, dkSHA256 };

// "MD5", "SHA1", "SHA256": the label written before the value.
QString digestLabel(TDigestKind kind);

// The digest of the whole file as lower-case hexadecimal digits, read in blocks. Only
// regular files are read (a pipe or a device might never end); an error names the file.
TResult<QString> fileDigest(const QString& fileName, TDigestKind kind);

} // namespace orvel
