#pragma once
// Small helpers for tests that work with real files.

#include <QByteArray>
#include <QString>

namespace orvel::test {

QByteArray readAll(const QString& fileName);
void writeAll(const QString& fileName, const QByteArray& bytes);

} // namespace orvel::test
