#include "TestFiles.h"

#include <QFile>
#include <stdexcept>

namespace orvel::test {

QByteArray readAll(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeAll(const QString& fileName, const QByteArray& bytes) {
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

} // namespace orvel::test
