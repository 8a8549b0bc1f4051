#pragma once
// A font as the settings and the font picker carry it.

#include "textcontrol/core/HighlighterTypes.h"

#include <QString>

namespace orvel {

struct TFontSettings {
    QString name = QStringLiteral("Courier New");
    int size = 10;
    int style = 0;     // TFontStyleBits
    quint32 color = 0; // 0x00BBGGRR
    friend bool operator==(const TFontSettings&, const TFontSettings&) = default;
};

} // namespace orvel
