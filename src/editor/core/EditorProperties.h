#pragma once
// The per-file-type editor settings a document window applies.

#include "base/core/FileTypes.h"
#include "textcontrol/core/EditorOptions.h"
#include "textcontrol/core/FontSettings.h"
#include "textcontrol/core/HighlighterTypes.h"

#include <QString>

namespace orvel {

struct TSynEditProperties {
    TEditorOptions Options = kDefaultStoredOptions;
    int TabWidth = 2;
    int RightEdge = 80;
    bool Highlight = true;
    TFileTypes FileType = ftHtml;
    QString Types;
    TFontSettings Font;
    quint32 BgColor = kNoColor; // kNoColor: the system's window colour
};

struct TSynGutterProperties {
    bool Visible = true;
    bool ShowLineNumbers = true;
    bool LeadingZeros = false;
    int DigitCount = 4;
};

} // namespace orvel
