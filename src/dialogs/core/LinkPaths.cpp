#include "dialogs/core/LinkPaths.h"

#include "base/core/FileSize.h"
#include "search/core/FileFilterList.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <sys/stat.h>

namespace orvel {

namespace {

// Addresses that never name a local file. "https://" and the rest beyond the classic list
// count too, so a secure address is never made relative, cased or looked up as a file.
const char* const kRemotePrefixes[] = {"http://", "https://", "ftp://",      "ftps://",
                                       "mailto:", "news:",    "ldap:",       "telnet://",
                                       "tel:",    "data:",    "javascript:", "//"};

// The device of the nearest existing folder on the way up: the mount a path lies on.
dev_t deviceOf(const QString& path) {
    QString p = path;
    struct stat st;
    while (!p.isEmpty()) {
        if (::stat(QFile::encodeName(p).constData(), &st) == 0)
            return st.st_dev;
        const qsizetype slash = p.lastIndexOf(u'/');
        if (slash <= 0)
            p = slash == 0 && p.size() > 1 ? QStringLiteral("/") : QString();
        else
            p.truncate(slash);
    }
    return 0;
}

QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The address without its anchor and query: what names the file.
QString pathPart(const QString& url) {
    qsizetype end = url.size();
    for (QChar c : {u'#', u'?'}) {
        const qsizetype at = url.indexOf(c);
        if (at >= 0 && at < end)
            end = at;
    }
    return url.left(end);
}

bool isUnreserved(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
        return true;
    return QStringView(u"-._~!$&'()*+,;=@/").contains(QChar(c));
}

} // namespace

bool isRemoteAddress(QStringView url) {
    for (const char* p : kRemotePrefixes)
        if (url.startsWith(QLatin1String(p), Qt::CaseInsensitive))
            return true;
    return false;
}

bool hasUrlScheme(QStringView url) {
    if (url.isEmpty() || !url[0].isLetter() || url[0].unicode() > 127)
        return false;
    for (qsizetype i = 1; i < url.size(); ++i) {
        const QChar c = url[i];
        if (c == u':')
            return true;
        if (c.unicode() > 127 || !(c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.'))
            return false;
    }
    return false;
}

QString addressFilePart(const QString& url) {
    return url.section(u'#', 0, 0);
}

QString localFileOfAddress(const QString& folder, const QString& url) {
    const QString trimmed = url.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'#') || isRemoteAddress(trimmed))
        return QString();
    if (trimmed.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl u(trimmed);
        return u.isLocalFile() ? cleanAbsolute(u.toLocalFile()) : QString();
    }
    if (hasUrlScheme(trimmed))
        return QString();
    const QString raw = pathPart(trimmed);
    if (raw.isEmpty())
        return QString();
    const QDir base(folder.isEmpty() ? QDir::currentPath() : folder);
    // Links this program writes are percent-encoded; a name typed as it stands is found too.
    const QString decoded = QUrl::fromPercentEncoding(raw.toUtf8());
    const QString asDecoded = cleanAbsolute(base.absoluteFilePath(decoded));
    if (decoded != raw && !QFileInfo::exists(asDecoded)) {
        const QString asTyped = cleanAbsolute(base.absoluteFilePath(raw));
        if (QFileInfo::exists(asTyped))
            return asTyped;
    }
    return asDecoded;
}

bool isExistingFileAddress(const QString& folder, const QString& url) {
    const QString file = localFileOfAddress(folder, url);
    return !file.isEmpty() && QFileInfo(file).isFile();
}

QString encodeLinkPath(const QString& path) {
    QString out;
    out.reserve(path.size());
    const QByteArray utf8 = path.toUtf8();
    for (const char byte : utf8) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 128 && isUnreserved(b))
            out += QChar(b);
        else
            out += QStringLiteral("%%1").arg(uint(b), 2, 16, QChar(u'0')).toUpper();
    }
    return out;
}

QString applyLinkCase(const QString& link, TTextChange mode) {
    switch (mode) {
    case tcLower:
        return link.toLower();
    case tcUpper:
        return link.toUpper();
    case tcNone:
        break;
    }
    return link;
}

QString relativeLink(const QString& folder, const QString& file, TTextChange mode) {
    const QString target = cleanAbsolute(file);
    const QString from = cleanAbsolute(folder.isEmpty() ? QDir::currentPath() : folder);
    if (deviceOf(target) != deviceOf(from))
        return QStringLiteral("file://") + encodeLinkPath(target);
    const QStringList to = target.split(u'/', Qt::SkipEmptyParts);
    const QStringList base = from.split(u'/', Qt::SkipEmptyParts);
    qsizetype common = 0;
    while (common < to.size() && common < base.size() && to[common] == base[common])
        ++common;
    QStringList steps;
    for (qsizetype i = common; i < base.size(); ++i)
        steps << QStringLiteral("..");
    steps << to.mid(common);
    const QString relative = steps.isEmpty() ? QStringLiteral(".") : steps.join(u'/');
    // Case first, so that letters beyond ASCII change before they are encoded.
    return encodeLinkPath(applyLinkCase(relative, mode));
}

QString linkRelativeTo(const QString& folder, const QString& link) {
    if (link.isEmpty() || link.startsWith(u'#') || isRemoteAddress(link) || hasUrlScheme(link) ||
        link.contains(QLatin1String("://")))
        return link;
    if (!link.startsWith(u'/'))
        return QString(link).replace(u'\\', u'/');
    // An absolute name: a local file when it exists, else a site-root address kept as typed.
    const qsizetype hash = link.indexOf(u'#');
    const QString file = hash < 0 ? link : link.left(hash);
    if (!QFileInfo::exists(file))
        return link;
    return relativeLink(folder, file) + (hash < 0 ? QString() : link.mid(hash));
}

int filterEntryForFile(const QString& filter, const QString& fileName) {
    const TFileFilterList list(filter);
    if (list.count() == 0)
        return 0;
    const QString name = addressFilePart(fileName);
    const QString ext = QFileInfo(name).suffix();
    if (!ext.isEmpty()) {
        const QString mask = QStringLiteral("*.") + ext;
        for (int i = 0; i < list.count(); ++i)
            for (const QString& m : list.rows().at(i).pattern.split(u';'))
                if (m.trimmed().compare(mask, Qt::CaseInsensitive) == 0)
                    return i;
    }
    return list.count() - 1;
}

QString fileSizeForClipboard(const QString& file, int filterEntry, bool decimalUnits,
                             bool decimalComma) {
    const QFileInfo fi(file);
    if (filterEntry == 0 || !fi.isFile())
        return QString();
    return formatFileSize(fi.size(), decimalUnits, decimalComma ? u',' : u'.');
}

} // namespace orvel
