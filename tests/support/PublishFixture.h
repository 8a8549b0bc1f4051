#pragma once
// A small site to publish and the destinations to publish it to: a folder, vsftpd and
// pyftpdlib started on loopback, each with the folder on disk behind it.

#include "FtpServers.h"
#include "projects/core/ProjectInfo.h"

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace orvel::test {

// Writes the site below root (its files dated a day back) and returns the files a full
// publish sends, relative to root, sorted: "~" files, a text file outside the project's
// types and a template without a header stay behind; the template goes as its HTML file.
QStringList makeSite(const QString& root);
// Every file below dir, relative and sorted.
QStringList filesBelow(const QString& dir);
void setFileTime(const QString& fileName, const QDateTime& time);

class PublishDestination {
public:
    enum Kind { DestFolder, DestVsftpd, DestPyftpd };
    explicit PublishDestination(Kind kind);
    ~PublishDestination();
    // Empty when it runs, else why not (the test skips or fails with it).
    QString start();
    // Points the project at the destination's folder "site".
    void configure(TProjectInfo& project) const;
    // The folder on disk behind the destination's "site".
    QString disk() const;
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
    QTemporaryDir m_folder;
    std::unique_ptr<Vsftpd> m_vsftpd;
    std::unique_ptr<PyFtpd> m_pyftpd;
};

} // namespace orvel::test
