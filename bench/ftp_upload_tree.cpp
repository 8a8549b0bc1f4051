// Uploads a folder tree over one FTP session the way a publishing run does: each folder
// made with ForceDir, each file sent with Flush and, unless --no-times, dated with
// SetTimeStampFromFile. Used by ftp_upload.sh beside another FTP client.
//
//   ftp_upload_tree [--no-times] [--tls] HOST PORT USER PASSWORD REMOTE_DIR LOCAL_DIR

#include "projects/core/FtpUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

using namespace orvel;

namespace {
bool uploadFolder(TExtFtp& ftp, const QDir& local, bool times, int& files) {
    const QFileInfoList entries =
        local.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& fi : entries) {
        if (fi.isDir()) {
            if (!ftp.ForceDir(fi.fileName()) ||
                !uploadFolder(ftp, QDir(fi.filePath()), times, files) || !ftp.ForceDirUp())
                return false;
            continue;
        }
        QFile source(fi.filePath());
        if (!source.open(QIODevice::ReadOnly) || ftp.Flush(&source, fi.fileName(), false) != 0)
            return false;
        if (times && !ftp.SetTimeStampFromFile(fi.filePath(), fi.fileName(), true))
            return false;
        ++files;
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool times = !args.removeAll(QStringLiteral("--no-times"));
    const bool tls = args.removeAll(QStringLiteral("--tls"));
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: ftp_upload_tree [--no-times] [--tls] HOST PORT USER PASSWORD "
                             "REMOTE_DIR LOCAL_DIR\n");
        return 2;
    }
    TExtFtp ftp;
    ftp.Host = args.at(0);
    ftp.Port = quint16(args.at(1).toUInt());
    ftp.Username = args.at(2);
    ftp.Password = args.at(3);
    ftp.Passive = true;
    ftp.SetSecureTransfer(tls ? tlsRequire : tlsNone);
    QElapsedTimer t;
    t.start();
    if (!ftp.Connect().ok()) {
        std::fprintf(stderr, "connect: %s\n", qPrintable(ftp.LastError()));
        return 1;
    }
    int files = 0;
    const bool ok = ftp.ForceDir(args.at(4)) && uploadFolder(ftp, QDir(args.at(5)), times, files);
    ftp.Disconnect();
    if (!ok) {
        std::fprintf(stderr, "failed after %d files: %s\n", files, qPrintable(ftp.IndyError()));
        return 1;
    }
    std::printf("%d files in %.3f s\n", files, double(t.elapsed()) / 1000.0);
    return 0;
}
