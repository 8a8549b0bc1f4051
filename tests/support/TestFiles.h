#pragma once
// Small helpers for tests that work with real files.

#include <QByteArray>
#include <QString>
#include <sys/resource.h>

namespace orvel::test {

QByteArray readAll(const QString& fileName);
void writeAll(const QString& fileName, const QByteArray& bytes);

// Lowers the file size limit, as a full disk would stop a write, for one scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace orvel::test
