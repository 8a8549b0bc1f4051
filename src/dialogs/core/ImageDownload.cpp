#include "dialogs/core/ImageDownload.h"

#include "base/core/AtomicFile.h"
#include "base/core/Translate.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace orvel {

bool isRemoteReference(const QString& reference) {
    static const char* const prefixes[] = {
        "http://", "https://", "ftp://", "mailto:", "news:", "ldap:", "telnet://"};
    for (const char* p : prefixes) {
        if (reference.startsWith(QLatin1String(p), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool isDownloadable(const QString& url) {
    const QUrl address(url);
    const QString scheme = address.scheme().toLower();
    return address.isValid() && (scheme == u"http" || scheme == u"https") &&
           !address.host().isEmpty();
}

QString downloadCopyName(const QString& url, const QString& programName) {
    static const char* const known[] = {"png", "jpg", "jpeg", "gif", "webp", "bmp",
                                        "ico", "svg", "svgz", "tif", "tiff", "tga"};
    const QString path = QUrl(url).path(QUrl::FullyDecoded);
    const QString segment = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = segment.lastIndexOf(u'.');
    QString ext;
    if (dot > 0) {
        const QString candidate = segment.mid(dot + 1).toLower();
        for (const char* k : known) {
            if (candidate == QLatin1String(k))
                ext = u'.' + candidate;
        }
    }
    return u'~' + programName + ext;
}

TResult<QString> downloadImage(const QString& url, const TDownloadOptions& options) {
    if (!isDownloadable(url))
        return TResult<QString>::failure(
            fmt(T_("Only http and https addresses can be downloaded:\r\n%s"), {url}));

    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(url)};
    // Never from https down to http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setTransferTimeout(options.timeoutMs);
    QNetworkReply* reply = manager.get(request);
    QByteArray data;
    bool tooLarge = false;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (announced > options.maxBytes ||
            data.size() + reply->bytesAvailable() > options.maxBytes) {
            tooLarge = true;
            reply->abort();
            return;
        }
        data += reply->readAll();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The transfer time-out covers silence; this one covers a server that trickles.
    QTimer overall;
    overall.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&overall, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    overall.start(options.timeoutMs * 4);
    if (!reply->isFinished())
        loop.exec();
    if (!tooLarge && reply->error() == QNetworkReply::NoError)
        data += reply->readAll();
    const QNetworkReply::NetworkError error = reply->error();
    const QString reason = reply->errorString();
    reply->deleteLater();

    if (tooLarge)
        return TResult<QString>::failure(
            fmt(T_("The image at %s is larger than %s MB."),
                {url, QString::number(options.maxBytes / (1024 * 1024))}));
    if (timedOut || error == QNetworkReply::OperationCanceledError ||
        error == QNetworkReply::TimeoutError)
        return TResult<QString>::failure(fmt(T_("Download of %s timed out."), {url}));
    if (error != QNetworkReply::NoError)
        return TResult<QString>::failure(fmt(T_("Download of %s failed:\r\n%s"), {url, reason}));
    if (data.isEmpty())
        return TResult<QString>::failure(fmt(T_("Download of %s gave no data."), {url}));
    const QString target = options.folder + downloadCopyName(url, options.programName);
    const QString failure = writeFileAtomically(target, data);
    if (!failure.isEmpty())
        return TResult<QString>::failure(failure);
    return target;
}

} // namespace orvel
