#include "app/core/Settings.h"

#include "base/core/IniFileUtils.h"
#include "base/core/LanguageIds.h"

#include <QFileInfo>
#include <cmath>

namespace orvel {

namespace {
const QString kConfig = QStringLiteral("Config");
const QString kProjects = QStringLiteral("Projects");
const QString kDictionaries = QStringLiteral("Dictionaries");
const QString kForm = QStringLiteral("Form");
const QString kPrinter = QStringLiteral("Printer");

bool isEnglishOnly(const QString& code) {
    return code.compare(QLatin1String("EN"), Qt::CaseInsensitive) == 0;
}

int margin(double mm) {
    return int(std::lround(mm));
}

// The find texts keep their first line only.
QString firstLine(const QString& text) {
    const qsizetype cr = text.indexOf(u'\r');
    return (cr < 0 ? text : text.left(cr)).trimmed();
}
} // namespace

TShellSettings::TShellSettings(const QString& languageCode) {
    Config.CustomColors = kDefaultCustomColors;
    Config.DecimalComma = !isEnglishOnly(languageCode);
    Config.DictionaryLanguage = int(userDefaultLanguageId());
    const QList<TFileType> table = defaultFileTypes();
    for (int t = 0; t < kFileTypeCount; ++t) {
        TSynEditProperties& p = Types[t].props;
        p.FileType = TFileTypes(t);
        p.Types = table.at(t).Types;
        p.Highlight = t != ftText;
        p.BgColor = quint32(kSystemWindowColor);
    }
}

QList<TFileType> TShellSettings::fileTypes() const {
    QList<TFileType> table = defaultFileTypes();
    for (int t = 0; t < kFileTypeCount; ++t)
        table[t].Types = Types[t].props.Types;
    return table;
}

void TShellSettings::Read(const TUnicodeIniFile& ini, const QString& languageCode) {
    *this = TShellSettings(languageCode);
    TConfigSettings& c = Config;
    c.StdPath = ini.ReadString(kConfig, "StdPath", c.StdPath);
    c.HTMLHelp = ini.ReadInteger(kConfig, "HTMLHelp", c.HTMLHelp);
    c.HTMLRefPath = ini.ReadString(kConfig, "HTMLRefPath", c.HTMLRefPath);
    // A help file or folder that is gone turns the reference off.
    if ((c.HTMLHelp == 1 || c.HTMLHelp == 2) && !QFileInfo::exists(c.HTMLRefPath))
        c.HTMLHelp = 0;
    c.EdgeBrowser = ini.ReadBool(kConfig, "EdgeBrowser", c.EdgeBrowser);
    c.ExternalBrowser = ini.ReadString(kConfig, "ExternalBrowser", c.ExternalBrowser);
    c.DictionaryLanguage = ini.ReadInteger(kConfig, "DictionaryLanguage", c.DictionaryLanguage);
    c.FindText = ini.ReadString(kConfig, "FindText", c.FindText);
    c.ReplaceText = ini.ReadString(kConfig, "ReplaceText", c.ReplaceText);
    if (ini.ValueExists(kConfig, "CustomColors"))
        c.CustomColors = parseCustomColors(ini.ReadString(kConfig, "CustomColors", QString()));
    c.Toolbar = ini.ReadBool(kConfig, "Toolbar", c.Toolbar);
    c.UseLogFile = ini.ReadBool(kConfig, "UseLogFile", c.UseLogFile);
    c.AutoSave = ini.ReadInteger(kConfig, "AutoSave", c.AutoSave);
    c.FileSizeFormat = ini.ReadBool(kConfig, "FileSizeFormat", c.FileSizeFormat);
    c.DecimalComma = ini.ReadBool(kConfig, "DecimalComma", c.DecimalComma);
    c.Printer = ini.ReadString(kConfig, "Printer", c.Printer);

    // Project files that are gone are dropped, so the next exit numbers the rest anew.
    const int count = qMin(ini.ReadInteger(kProjects, "Count", 0), 100);
    for (int i = 0; i < count; ++i) {
        const QString name = ini.ReadString(kProjects, paddedKey("Name", i), QString());
        if (!name.isEmpty() && QFileInfo(name).isFile())
            Projects << name;
    }
    ProjectIndex = ini.ReadInteger(kProjects, "Active", -1);

    const int dicts = qBound(0, ini.ReadInteger(kDictionaries, "Count", 0), 100);
    for (int i = 0; i < dicts; ++i)
        Dictionaries << qMax(0, ini.ReadInteger(kDictionaries, paddedKey("Name", i), 0));

    TFormSettings& f = Form;
    f.Left = ini.ReadInteger(kForm, "Left", f.Left);
    f.Top = ini.ReadInteger(kForm, "Top", f.Top);
    f.Width = ini.ReadInteger(kForm, "Width", f.Width);
    f.Height = ini.ReadInteger(kForm, "Height", f.Height);
    f.State = ini.ReadInteger(kForm, "State", f.State);
    f.NavSplit = ini.ReadInteger(kForm, "NavSplit", f.NavSplit);
    f.MacroSplit = ini.ReadInteger(kForm, "MacroSplit", f.MacroSplit);
    f.EditSplit = ini.ReadInteger(kForm, "EditSplit", f.EditSplit);
    if (f.EditSplit < 100)
        f.EditSplit = 200;
    f.FormSplit = ini.ReadInteger(kForm, "FormSplit", f.FormSplit);

    const QList<TFileType> table = defaultFileTypes();
    for (int t = 0; t < kFileTypeCount; ++t) {
        const QString s = table.at(t).Section;
        TSynEditProperties& p = Types[t].props;
        TSynGutterProperties& g = Types[t].gutter;
        p.Highlight = ini.ReadBool(s, "Highlight", p.Highlight);
        p.Types = ini.ReadString(s, "Types", p.Types);
        p.Font.name = ini.ReadString(s, "Font", p.Font.name);
        p.Font.size = ini.ReadInteger(s, "FontSize", p.Font.size);
        p.Font.style = ini.ReadInteger(s, "Fontstyle", p.Font.style) & 15;
        p.BgColor = quint32(ini.ReadInteger(s, "BackgroundColor", qint32(p.BgColor)));
        p.TabWidth = ini.ReadInteger(s, "TabWidth", p.TabWidth);
        p.RightEdge = ini.ReadInteger(s, "RightEdge", p.RightEdge);
        p.Options = TEditorOptions(ini.ReadInteger(s, "Options", int(p.Options))) & kAllOptionBits;
        g.Visible = ini.ReadBool(s, "Gutter", g.Visible);
        g.ShowLineNumbers = ini.ReadBool(s, "LineNumbers", g.ShowLineNumbers);
        g.DigitCount = ini.ReadInteger(s, "Digits", g.DigitCount);
        g.LeadingZeros = ini.ReadBool(s, "LeadingZeroes", g.LeadingZeros);
    }

    TPrinterSettings& pr = Printer;
    pr.Orientation = ini.ReadInteger(kPrinter, "Orientation", pr.Orientation);
    if (pr.Orientation < 0 || pr.Orientation > 1)
        pr.Orientation = 1;
    pr.HeadLine = ini.ReadInteger(kPrinter, "HeadLine", pr.HeadLine);
    pr.Color = ini.ReadBool(kPrinter, "Color", pr.Color);
    pr.Highlight = ini.ReadBool(kPrinter, "Highlight", pr.Highlight);
    pr.LineNumbers = ini.ReadBool(kPrinter, "LineNumbers", pr.LineNumbers);
    pr.Wrap = ini.ReadBool(kPrinter, "Wrap", pr.Wrap);
    pr.LeftMargin = ini.ReadInteger(kPrinter, "LeftMargin", margin(pr.LeftMargin));
    pr.RightMargin = ini.ReadInteger(kPrinter, "RightMargin", margin(pr.RightMargin));
    pr.TopMargin = ini.ReadInteger(kPrinter, "TopMargin", margin(pr.TopMargin));
    pr.BottomMargin = ini.ReadInteger(kPrinter, "BottomMargin", margin(pr.BottomMargin));
    pr.Gutter = ini.ReadInteger(kPrinter, "Gutter", margin(pr.Gutter));
    pr.Mirror = ini.ReadBool(kPrinter, "Mirror", pr.Mirror);

    FileReplace = ini.ReadBool("FileSearch", "FileReplace", FileReplace);
    ReadIniList(ini, "AnchorList", QString(), false, 20, AnchorList);
    for (int i = 0; i < 20; ++i) {
        const QString name =
            ini.ReadString("MailtoList", QStringLiteral("Name%1").arg(i), QString());
        const QString address =
            ini.ReadString("MailtoList", QStringLiteral("Address%1").arg(i), QString());
        if (name.isEmpty() && address.isEmpty())
            continue;
        MailNames << name;
        MailAddresses << address;
    }
}

void TShellSettings::Write(TUnicodeIniFile& ini) const {
    const TConfigSettings& c = Config;
    ini.EraseSection(kConfig);
    ini.WriteString(kConfig, "StdPath", c.StdPath);
    ini.WriteInteger(kConfig, "HTMLHelp", c.HTMLHelp);
    ini.WriteString(kConfig, "HTMLRefPath", c.HTMLRefPath);
    ini.WriteBool(kConfig, "EdgeBrowser", c.EdgeBrowser);
    ini.WriteString(kConfig, "ExternalBrowser", c.ExternalBrowser);
    ini.WriteInteger(kConfig, "DictionaryLanguage", c.DictionaryLanguage);
    ini.WriteString(kConfig, "FindText", firstLine(c.FindText));
    ini.WriteString(kConfig, "ReplaceText", firstLine(c.ReplaceText));
    ini.WriteString(kConfig, "CustomColors", formatCustomColors(c.CustomColors));
    ini.WriteBool(kConfig, "Toolbar", c.Toolbar);
    ini.WriteBool(kConfig, "UseLogFile", c.UseLogFile);
    ini.WriteInteger(kConfig, "AutoSave", c.AutoSave);
    ini.WriteBool(kConfig, "FileSizeFormat", c.FileSizeFormat);
    ini.WriteBool(kConfig, "DecimalComma", c.DecimalComma);

    ini.EraseSection(kProjects);
    ini.WriteInteger(kProjects, "Count", int(qMin<qsizetype>(Projects.size(), 100)));
    ini.WriteInteger(kProjects, "Active", ProjectIndex);
    for (int i = 0; i < Projects.size() && i < 100; ++i)
        ini.WriteString(kProjects, paddedKey("Name", i), Projects.at(i));

    ini.WriteInteger(kDictionaries, "Count", int(Dictionaries.size()));
    for (int i = 0; i < Dictionaries.size(); ++i)
        ini.WriteInteger(kDictionaries, paddedKey("Name", i), Dictionaries.at(i));

    const TFormSettings& f = Form;
    if (f.State == 0) {
        ini.WriteInteger(kForm, "Left", f.Left);
        ini.WriteInteger(kForm, "Top", f.Top);
        ini.WriteInteger(kForm, "Width", f.Width);
        ini.WriteInteger(kForm, "Height", f.Height);
    }
    ini.WriteInteger(kForm, "State", f.State);
    ini.WriteInteger(kForm, "NavSplit", f.NavSplit);
    ini.WriteInteger(kForm, "FormSplit", f.FormSplit);
    ini.WriteInteger(kForm, "MacroSplit", f.MacroSplit);
    ini.WriteInteger(kForm, "EditSplit", f.EditSplit);

    const QList<TFileType> table = defaultFileTypes();
    for (int t = 0; t < kFileTypeCount; ++t) {
        const QString s = table.at(t).Section;
        const TSynEditProperties& p = Types[t].props;
        const TSynGutterProperties& g = Types[t].gutter;
        ini.WriteBool(s, "Highlight", p.Highlight);
        ini.WriteString(s, "Types", p.Types);
        ini.WriteString(s, "Font", p.Font.name);
        ini.WriteInteger(s, "FontSize", p.Font.size);
        ini.WriteInteger(s, "Fontstyle", p.Font.style & 15);
        ini.WriteInteger(s, "BackgroundColor", qint32(p.BgColor));
        ini.WriteInteger(s, "TabWidth", p.TabWidth);
        ini.WriteInteger(s, "RightEdge", p.RightEdge);
        ini.WriteInteger(s, "Options", int(p.Options & kAllOptionBits));
        ini.WriteBool(s, "Gutter", g.Visible);
        ini.WriteBool(s, "LineNumbers", g.ShowLineNumbers);
        ini.WriteInteger(s, "Digits", g.DigitCount);
        ini.WriteBool(s, "LeadingZeroes", g.LeadingZeros);
    }
    ini.WriteString(kConfig, "Printer", c.Printer);
    const TPrinterSettings& pr = Printer;
    ini.WriteInteger(kPrinter, "Orientation", pr.Orientation);
    ini.WriteInteger(kPrinter, "HeadLine", pr.HeadLine);
    ini.WriteBool(kPrinter, "Color", pr.Color);
    ini.WriteBool(kPrinter, "Highlight", pr.Highlight);
    ini.WriteBool(kPrinter, "LineNumbers", pr.LineNumbers);
    ini.WriteBool(kPrinter, "Wrap", pr.Wrap);
    ini.WriteInteger(kPrinter, "LeftMargin", margin(pr.LeftMargin));
    ini.WriteInteger(kPrinter, "RightMargin", margin(pr.RightMargin));
    ini.WriteInteger(kPrinter, "TopMargin", margin(pr.TopMargin));
    ini.WriteInteger(kPrinter, "BottomMargin", margin(pr.BottomMargin));
    ini.WriteInteger(kPrinter, "Gutter", margin(pr.Gutter));
    ini.WriteBool(kPrinter, "Mirror", pr.Mirror);

    ini.WriteBool("FileSearch", "FileReplace", FileReplace);
    WriteIniList(ini, "AnchorList", QString(), false, 20, AnchorList, true);
    ini.EraseSection("MailtoList");
    for (int i = 0; i < MailNames.size() && i < 20; ++i)
        ini.WriteString("MailtoList", QStringLiteral("Name%1").arg(i), MailNames.at(i));
    for (int i = 0; i < MailAddresses.size() && i < 20; ++i)
        ini.WriteString("MailtoList", QStringLiteral("Address%1").arg(i), MailAddresses.at(i));
}

} // namespace orvel
