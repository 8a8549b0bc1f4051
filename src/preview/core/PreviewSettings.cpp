#include "preview/core/PreviewSettings.h"

#include "base/core/IniFileUtils.h"

namespace orvel {

void TPreviewSettings::Read(const TUnicodeIniFile& ini, const QString& section) {
    Left = ini.ReadInteger(section, QStringLiteral("Left"), Left);
    Top = ini.ReadInteger(section, QStringLiteral("Top"), Top);
    // A page area outside what the size list can hold would not survive a round trip.
    Width = qBound(100, ini.ReadInteger(section, QStringLiteral("Width"), Width), 0xFFFF);
    Height = qBound(100, ini.ReadInteger(section, QStringLiteral("Height"), Height), 0xFFFF);
    LiveRefresh = ini.ReadBool(section, QStringLiteral("LiveRefresh"), LiveRefresh);
    LiveRefreshDelay =
        qBound(kMinLiveRefreshDelay,
               ini.ReadInteger(section, QStringLiteral("LiveRefreshDelay"), LiveRefreshDelay),
               kMaxLiveRefreshDelay);
    Zoom = qBound(kMinZoom, ini.ReadInteger(section, QStringLiteral("Zoom"), Zoom), kMaxZoom);
}

void TPreviewSettings::Write(TUnicodeIniFile& ini, const QString& section) const {
    ini.WriteInteger(section, QStringLiteral("Left"), Left);
    ini.WriteInteger(section, QStringLiteral("Top"), Top);
    ini.WriteInteger(section, QStringLiteral("Width"), Width);
    ini.WriteInteger(section, QStringLiteral("Height"), Height);
    ini.WriteBool(section, QStringLiteral("LiveRefresh"), LiveRefresh);
    ini.WriteInteger(section, QStringLiteral("LiveRefreshDelay"), LiveRefreshDelay);
    ini.WriteInteger(section, QStringLiteral("Zoom"), Zoom);
}

QStringList presetPageSizes() {
    return {QStringLiteral("640x480"), QStringLiteral("800x600"), QStringLiteral("1024x768"),
            QStringLiteral("1280x960")};
}

QString pageSizeText(QSize size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QSize parsePageSize(const QString& text) {
    const QStringList parts = text.split(u'x');
    bool okW = false, okH = false;
    if (parts.size() != 2)
        return QSize();
    const int w = parts[0].toInt(&okW), h = parts[1].toInt(&okH);
    return okW && okH && w > 0 && h > 0 ? QSize(w, h) : QSize();
}

quint32 packPageSize(QSize size) {
    return quint32(size.width() & 0xFFFF) | (quint32(size.height() & 0xFFFF) << 16);
}

QSize unpackPageSize(quint32 value) {
    return QSize(int(value & 0xFFFF), int(value >> 16));
}

} // namespace orvel
