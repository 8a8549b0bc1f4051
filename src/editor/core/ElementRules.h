#pragma once
// Small text rules of the element commands.

#include <QString>
#include <QStringList>

namespace orvel {

// The entries of the local anchors of an HTML text ("|top| (12): Top of page"), in text order:
// every <a name="..."> and every id="...".
QStringList localAnchors(const QString& html);

// The code an encoded mail link carries: the key in decimal, then for each character ":"
// and its code XOR the key.
QString mailCode(const QString& address, int key);
// What a code stands for; empty when it is none.
QString decodeMailCode(const QString& code);

} // namespace orvel
