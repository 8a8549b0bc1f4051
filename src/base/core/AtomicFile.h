#pragma once
// Whole files written so that a failure never leaves a cut file: a temporary file beside the
// target, synced, then renamed over it.

#include <QByteArrayView>
#include <QString>
#include <initializer_list>

namespace orvel {

// Writes bytes atomically (temporary file and rename; permissions kept, a symbolic link's
// target written). ownerOnly makes the file readable and writable by its owner alone, from
// the first byte on. Returns an empty string on success, else the reason.
// A file we may write in a folder we may not is written in place instead, its old content
// kept whole until the new one is written and synced: a failure up to then (a full disk)
// leaves the old file.
QString writeFileAtomically(const QString& fileName, QByteArrayView bytes, bool ownerOnly = false);

// The same for bytes in several parts, so that a large text needs no joined copy.
QString writePartsAtomically(const QString& fileName, std::initializer_list<QByteArrayView> parts,
                             bool ownerOnly = false);

} // namespace orvel
