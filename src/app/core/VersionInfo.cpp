#include "app/core/VersionInfo.h"

#include "OrvelVersion.h"
#include "base/core/Translate.h"

#include <QFileInfo>
#include <QLocale>

namespace orvel {

QString cutVersion(const QString& fileVersion) {
    QString v = fileVersion;
    while (v.count(u'.') > 2)
        v.truncate(v.lastIndexOf(u'.'));
    return v;
}

QString versionSuffix(const QString& fileVersion) {
    return QLatin1StringView(" (") + T_("Version") + u' ' + cutVersion(fileVersion) + u')';
}

TVersionInfo makeVersionInfo(const QString& internalName, const QString& fileVersion,
                             const QString& legalNotice, const QString& executablePath) {
    TVersionInfo info;
    info.ProgVersName = internalName.isEmpty() ? applicationTitle() : internalName;
    info.FileVersion = fileVersion;
    info.ProgVers = versionSuffix(fileVersion);
    const QFileInfo exe(executablePath);
    if (exe.exists())
        info.ProgVersDate =
            QLocale::system().toString(exe.lastModified().date(), QLocale::ShortFormat);
    info.LegalNotice = legalNotice;
    return info;
}

TVersionInfo readVersionInfo(const QString& executablePath) {
    return makeVersionInfo(QStringLiteral(ORVEL_INTERNAL_NAME), QStringLiteral(ORVEL_FILE_VERSION),
                           QStringLiteral(ORVEL_LEGAL_NOTICE), executablePath);
}

QString startScreenVersion(const TVersionInfo& info) {
    return T_("Version") + u' ' + cutVersion(info.FileVersion);
}

QString startScreenLegalNotice(const QString& legalNotice) {
    return QString(legalNotice).replace(QLatin1StringView(", "), QLatin1StringView("\n    "));
}

QString mainWindowCaption(const TVersionInfo& info) {
    return T_("Orvel") + info.ProgVers;
}

QString versionText(const TVersionInfo& info) {
    QString out = info.ProgVersName + u' ' + cutVersion(info.FileVersion) + u'\n';
    if (!info.LegalNotice.isEmpty())
        out += QString(info.LegalNotice).replace(QLatin1StringView(", "), QLatin1StringView("\n")) +
               u'\n';
    return out;
}

} // namespace orvel
