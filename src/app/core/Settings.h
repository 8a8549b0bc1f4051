#pragma once
// The sections of the settings file that the main window owns, read at start and written at
// exit in a fixed order.

#include "base/core/FileTypes.h"
#include "dialogs/core/ColorList.h"
#include "editor/core/EditorProperties.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace orvel {

class TUnicodeIniFile;

// The original platform's "window" system colour as it is stored (0xFF000005).
constexpr qint32 kSystemWindowColor = qint32(0xFF000005u);

struct TConfigSettings {
    QString StdPath;
    int HTMLHelp = 0;
    QString HTMLRefPath;
    bool EdgeBrowser = false;
    QString ExternalBrowser;
    int DictionaryLanguage = 0;
    QString FindText;
    QString ReplaceText;
    TColorList CustomColors{};
    bool Toolbar = true;
    bool UseLogFile = true;
    int AutoSave = 5;
    bool FileSizeFormat = true;
    bool DecimalComma = true;
    QString Printer;
};

struct TFormSettings {
    int Left = 50;
    int Top = 50;
    int Width = 885;
    int Height = 667;
    int State = 0; // 0 normal, 1 minimized, 2 maximized
    int NavSplit = 171;
    int MacroSplit = 146;
    int EditSplit = 200;
    int FormSplit = 271;
};

struct TPrinterSettings {
    int Orientation = 1;
    int HeadLine = 5;
    bool Color = false;
    bool Highlight = false;
    bool LineNumbers = false;
    bool Wrap = true;
    double LeftMargin = 25;
    double RightMargin = 15;
    double TopMargin = 20;
    double BottomMargin = 20;
    double Gutter = 0;
    bool Mirror = false;
};

// props.BgColor holds the stored value: 0x00BBGGRR or a system colour.
struct TFileTypeSettings {
    TSynEditProperties props;
    TSynGutterProperties gutter;
};

struct TShellSettings {
    TConfigSettings Config;
    QStringList Projects; // project file names, in list order (at most 100)
    int ProjectIndex = -1;
    QList<int> Dictionaries;
    TFormSettings Form;
    std::array<TFileTypeSettings, kFileTypeCount> Types;
    TPrinterSettings Printer;
    bool FileReplace = false;
    QStringList AnchorList; // at most 20
    QStringList MailNames;  // at most 20
    QStringList MailAddresses;

    // Defaults; the decimal comma follows the language code ("EN" alone means a point).
    explicit TShellSettings(const QString& languageCode = QString());

    // The file-type table with the user's extension lists.
    QList<TFileType> fileTypes() const;

    void Read(const TUnicodeIniFile& ini, const QString& languageCode);
    // Sections Config to MailtoList, in their order. The project files themselves are
    // written by their owners; the shell writes only their names here.
    void Write(TUnicodeIniFile& ini) const;
};

} // namespace orvel
