#pragma once
// Remote images: which references count as remote, and the download of one image into its
// "~" copy in the settings folder over HTTP or HTTPS (certificates verified, bounded in time
// and size, never through a shell).

#include "base/core/Result.h"

#include <QString>

namespace orvel {

inline constexpr qint64 kMaxImageDownload = 20LL * 1024 * 1024;
inline constexpr int kImageDownloadTimeoutMs = 30000;

// "http://", "https://", "ftp://", "mailto:", "news:", "ldap:", "telnet://", ignoring case.
bool isRemoteReference(const QString& reference);

// Whether the address is one downloadImage fetches: http or https with a host.
bool isDownloadable(const QString& url);

// The copy's file name: "~", the program name and the extension of the address's last path
// segment when it is a known image extension (no other part of the address goes into it).
QString downloadCopyName(const QString& url, const QString& programName);

struct TDownloadOptions {
    QString folder;      // the settings folder, trailing "/"
    QString programName; // for the copy's name
    int timeoutMs = kImageDownloadTimeoutMs;
    qint64 maxBytes = kMaxImageDownload;
};

// Fetches url (http or https only) and writes the copy whole; the copy's path, or why there is
// none (an HTTP error, a time-out, too many bytes, no bytes, a write failure naming the file).
// Runs a local event loop until done.
TResult<QString> downloadImage(const QString& url, const TDownloadOptions& options);

} // namespace orvel
