#pragma once
// The preview window's section of the settings file, and its size list.

#include <QSize>
#include <QString>
#include <QStringList>

namespace orvel {

class TUnicodeIniFile;

struct TPreviewSettings {
    int Left = 10;
    int Top = 10;
    int Width = 1024; // the page area: the window's client width
    int Height = 768; // and its client height without the top bar
    bool LiveRefresh = true;
    int LiveRefreshDelay = 500; // ms after the last change
    int Zoom = 100;             // percent

    // A missing section gives the defaults; values out of range are brought into it.
    void Read(const TUnicodeIniFile& ini, const QString& section);
    void Write(TUnicodeIniFile& ini, const QString& section) const;
};

constexpr int kMinZoom = 25;
constexpr int kMaxZoom = 500;
constexpr int kMinLiveRefreshDelay = 100;
constexpr int kMaxLiveRefreshDelay = 10000;

// The fixed entries of the size list, after the first one, which shows the current size.
QStringList presetPageSizes();
// "1024x768".
QString pageSizeText(QSize size);
// "800x600" as a size; an invalid size for anything else.
QSize parsePageSize(const QString& text);
// A size as one 32-bit value: the width in the low 16 bits, the height in the high 16 bits.
quint32 packPageSize(QSize size);
QSize unpackPageSize(quint32 value);

} // namespace orvel
