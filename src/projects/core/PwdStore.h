#pragma once
// Passwords in project files: the password's UTF-8 bytes behind a length prefix, padded with
// random characters, enciphered with the store key and written as Ascii85.

#include "projects/core/Encryption.h"

#include <QByteArray>
#include <QString>

namespace orvel {

// The key project passwords are enciphered with, built at run time from values held in the
// program.
QByteArray BuildStoreKey();
// The same from 48 hexadecimal digits and the byte each is XORed with; empty when the digits
// are not 48 hexadecimal digits.
QByteArray buildStoreKey(const char* hexDigits, quint8 xorWith);

// The password's UTF-8 bytes, cut to at most maxBytes without splitting a character.
QByteArray passwordBytes(const QString& password, int maxBytes);

// The stored text: empty for an empty password, and when no random bytes could be had.
// random gives first the padding, one byte for each character, then the salt.
QString EncodePassword(const QByteArray& key, const QString& password, int paddedLength = 64,
                       const TRandomBytes& random = {});
// Empty when the text cannot be decoded or deciphered (damaged text, other key).
QString DecodePassword(const QByteArray& key, const QString& text);

} // namespace orvel
