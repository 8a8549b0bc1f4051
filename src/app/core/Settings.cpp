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

namespace {

// One pass over the settings' keys, in the order they are written; the same pass reads them.
class TIniReader {
public:
    explicit TIniReader(const TUnicodeIniFile& ini) : m_ini(ini) {}
    static constexpr bool reading = true;
    void operator()(const QString& s, const char* k, QString& v,
                    QString (*)(const QString&) = nullptr) {
        v = m_ini.ReadString(s, QLatin1String(k), v);
    }
    void operator()(const QString& s, const char* k, int& v, int mask = -1) {
        v = m_ini.ReadInteger(s, QLatin1String(k), v) & mask;
    }
    void operator()(const QString& s, const char* k, quint32& v, quint32 mask = ~0u) {
        v = quint32(m_ini.ReadInteger(s, QLatin1String(k), qint32(v))) & mask;
    }
    void operator()(const QString& s, const char* k, bool& v) {
        v = m_ini.ReadBool(s, QLatin1String(k), v);
    }
    // Millimetres, stored whole.
    void operator()(const QString& s, const char* k, double& v) {
        v = m_ini.ReadInteger(s, QLatin1String(k), margin(v));
    }
    void operator()(const QString& s, const char* k, std::array<quint32, 16>& v) {
        if (m_ini.ValueExists(s, QLatin1String(k)))
            v = parseCustomColors(m_ini.ReadString(s, QLatin1String(k), QString()));
    }

private:
    const TUnicodeIniFile& m_ini;
};

class TIniWriter {
public:
    explicit TIniWriter(TUnicodeIniFile& ini) : m_ini(ini) {}
    static constexpr bool reading = false;
    void operator()(const QString& s, const char* k, const QString& v,
                    QString (*filter)(const QString&) = nullptr) {
        m_ini.WriteString(s, QLatin1String(k), filter ? filter(v) : v);
    }
    void operator()(const QString& s, const char* k, int v, int mask = -1) {
        m_ini.WriteInteger(s, QLatin1String(k), v & mask);
    }
    void operator()(const QString& s, const char* k, quint32 v, quint32 mask = ~0u) {
        m_ini.WriteInteger(s, QLatin1String(k), qint32(v & mask));
    }
    void operator()(const QString& s, const char* k, bool v) {
        m_ini.WriteBool(s, QLatin1String(k), v);
    }
    void operator()(const QString& s, const char* k, double v) {
        m_ini.WriteInteger(s, QLatin1String(k), margin(v));
    }
    void operator()(const QString& s, const char* k, const std::array<quint32, 16>& v) {
        m_ini.WriteString(s, QLatin1String(k), formatCustomColors(v));
    }

private:
    TUnicodeIniFile& m_ini;
};

template <class Io, class C> void configKeys(Io& io, C& c) {
    io(kConfig, "StdPath", c.StdPath);
    io(kConfig, "HTMLHelp", c.HTMLHelp);
    io(kConfig, "HTMLRefPath", c.HTMLRefPath);
    io(kConfig, "EdgeBrowser", c.EdgeBrowser);
    io(kConfig, "ExternalBrowser", c.ExternalBrowser);
    io(kConfig, "DictionaryLanguage", c.DictionaryLanguage);
    io(kConfig, "FindText", c.FindText, firstLine);
    io(kConfig, "ReplaceText", c.ReplaceText, firstLine);
    io(kConfig, "CustomColors", c.CustomColors);
    io(kConfig, "Toolbar", c.Toolbar);
    io(kConfig, "UseLogFile", c.UseLogFile);
    io(kConfig, "AutoSave", c.AutoSave);
    io(kConfig, "FileSizeFormat", c.FileSizeFormat);
    io(kConfig, "DecimalComma", c.DecimalComma);
}

template <class Io, class F> void formKeys(Io& io, F& f) {
    // A window that is not in its normal state keeps the normal placement stored.
    if (Io::reading || f.State == 0) {
        io(kForm, "Left", f.Left);
        io(kForm, "Top", f.Top);
        io(kForm, "Width", f.Width);
        io(kForm, "Height", f.Height);
    }
    io(kForm, "State", f.State);
    io(kForm, "NavSplit", f.NavSplit);
    io(kForm, "FormSplit", f.FormSplit);
    io(kForm, "MacroSplit", f.MacroSplit);
    io(kForm, "EditSplit", f.EditSplit);
}

template <class Io, class T> void typeKeys(Io& io, const QString& s, T& type) {
    auto& p = type.props;
    auto& g = type.gutter;
    io(s, "Highlight", p.Highlight);
    io(s, "Types", p.Types);
    io(s, "Font", p.Font.name);
    io(s, "FontSize", p.Font.size);
    io(s, "Fontstyle", p.Font.style, 15);
    io(s, "BackgroundColor", p.BgColor);
    io(s, "TabWidth", p.TabWidth);
    io(s, "RightEdge", p.RightEdge);
    io(s, "Options", p.Options, kAllOptionBits);
    io(s, "Gutter", g.Visible);
    io(s, "LineNumbers", g.ShowLineNumbers);
    io(s, "Digits", g.DigitCount);
    io(s, "LeadingZeroes", g.LeadingZeros);
}

template <class Io, class P> void printerKeys(Io& io, P& pr) {
    io(kPrinter, "Orientation", pr.Orientation);
    io(kPrinter, "HeadLine", pr.HeadLine);
    io(kPrinter, "Color", pr.Color);
    io(kPrinter, "Highlight", pr.Highlight);
    io(kPrinter, "LineNumbers", pr.LineNumbers);
    io(kPrinter, "Wrap", pr.Wrap);
    io(kPrinter, "LeftMargin", pr.LeftMargin);
    io(kPrinter, "RightMargin", pr.RightMargin);
    io(kPrinter, "TopMargin", pr.TopMargin);
    io(kPrinter, "BottomMargin", pr.BottomMargin);
    io(kPrinter, "Gutter", pr.Gutter);
    io(kPrinter, "Mirror", pr.Mirror);
}

} // namespace

void TShellSettings::Read(const TUnicodeIniFile& ini, const QString& languageCode) {
    *this = TShellSettings(languageCode);
    TIniReader io(ini);
    TConfigSettings& c = Config;
    configKeys(io, c);
    io(kConfig, "Printer", c.Printer);
    // A help file or folder that is gone turns the reference off.
    if ((c.HTMLHelp == 1 || c.HTMLHelp == 2) && !QFileInfo::exists(c.HTMLRefPath))
        c.HTMLHelp = 0;

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

    formKeys(io, Form);
    if (Form.EditSplit < 100)
        Form.EditSplit = 200;

    const QList<TFileType> table = defaultFileTypes();
    for (int t = 0; t < kFileTypeCount; ++t)
        typeKeys(io, table.at(t).Section, Types[t]);

    printerKeys(io, Printer);
    if (Printer.Orientation < 0 || Printer.Orientation > 1)
        Printer.Orientation = 1;

    io(QStringLiteral("FileSearch"), "FileReplace", FileReplace);
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
    TIniWriter io(ini);
    ini.EraseSection(kConfig);
    configKeys(io, Config);

    ini.EraseSection(kProjects);
    ini.WriteInteger(kProjects, "Count", int(qMin<qsizetype>(Projects.size(), 100)));
    ini.WriteInteger(kProjects, "Active", ProjectIndex);
    for (int i = 0; i < Projects.size() && i < 100; ++i)
        ini.WriteString(kProjects, paddedKey("Name", i), Projects.at(i));

    ini.WriteInteger(kDictionaries, "Count", int(Dictionaries.size()));
    for (int i = 0; i < Dictionaries.size(); ++i)
        ini.WriteInteger(kDictionaries, paddedKey("Name", i), Dictionaries.at(i));

    formKeys(io, Form);

    const QList<TFileType> table = defaultFileTypes();
    for (int t = 0; t < kFileTypeCount; ++t)
        typeKeys(io, table.at(t).Section, Types[t]);
    io(kConfig, "Printer", Config.Printer);
    printerKeys(io, Printer);

    io(QStringLiteral("FileSearch"), "FileReplace", FileReplace);
    WriteIniList(ini, "AnchorList", QString(), false, 20, AnchorList, true);
    ini.EraseSection("MailtoList");
    for (int i = 0; i < MailNames.size() && i < 20; ++i)
        ini.WriteString("MailtoList", QStringLiteral("Name%1").arg(i), MailNames.at(i));
    for (int i = 0; i < MailAddresses.size() && i < 20; ++i)
        ini.WriteString("MailtoList", QStringLiteral("Address%1").arg(i), MailAddresses.at(i));
}

} // namespace orvel
