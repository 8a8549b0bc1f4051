#pragma once
// Colour values as the pickers hand them over: 0x00BBGGRR, red in the lowest byte, with
// kNoColor for "no colour"; and the 16 custom colours all colour pickers share.

#include "textcontrol/core/HighlighterTypes.h"

#include <QString>
#include <array>

namespace orvel {

using TColorList = std::array<quint32, 16>;

// The custom colours of a new settings file.
extern const TColorList kDefaultCustomColors;

// The basic colours in display order (two rows of eight), with their names.
struct TBasicColor {
    quint32 bgr;
    const char* name; // the colour's CSS name
};
extern const std::array<TBasicColor, 16> kBasicColors;

// "$B8FFFF,$B8B8FF,..." as the settings store it; missing or unreadable items are 0, items
// beyond 16 are ignored.
TColorList parseCustomColors(const QString& text);
QString formatCustomColors(const TColorList& colors);

} // namespace orvel
