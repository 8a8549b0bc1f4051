#include "app/core/Locations.h"

#include "base/core/DataFiles.h"
#include "base/core/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QStringDecoder>

namespace orvel {

namespace {

const QLatin1StringView kSettingsFolderName("Brimwell");

QString homeOf(const QProcessEnvironment& vars) {
    const QString home = vars.value(QStringLiteral("HOME"));
    return home.isEmpty() ? QDir::homePath() : home;
}

// An XDG base folder: the variable when it holds an absolute path, else the default below
// home. Relative values are invalid by the XDG rules and are ignored.
QString xdgFolder(const QProcessEnvironment& vars, const QString& name, const QString& fallback) {
    const QString value = vars.value(name);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return homeOf(vars) + u'/' + fallback;
}

QString joinPath(const QString& folder, const QString& name) {
    return withSlash(folder) + name;
}

// The language file's place follows the -ini: value (or the program directory under
// -portable alone). In portable use it is named after the settings file and relative values
// are taken from the program directory.
QString languageFileFor(const TLocations& loc, const TCommandLine& cmd, bool iniAccepted,
                        const QProcessEnvironment& vars) {
    const QString defaultName = loc.ProgramName + QLatin1StringView(".cfg");
    const QString base = cmd.portable ? loc.ProgramDir : loc.AppPath;
    if (!iniAccepted)
        return base + defaultName;
    bool folder = false;
    QString error;
    const QString path = resolveIniPath(cmd.iniValue, base, defaultName, vars, &error, &folder);
    if (folder)
        return path;
    if (cmd.portable)
        return changeFileExtension(path, QStringLiteral("cfg"));
    return QFileInfo(path).absolutePath() + u'/' + defaultName;
}

QString decodeIniBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return d(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return d(bytes.mid(2));
    }
    // 8-bit text; the codes read here are plain ASCII.
    return QString::fromLatin1(bytes);
}

} // namespace

TSystemEnvironment TSystemEnvironment::current() {
    TSystemEnvironment env;
    env.vars = QProcessEnvironment::systemEnvironment();
    env.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QLocale system = QLocale::system();
    env.uiLanguage = system.uiLanguages().value(0, system.name());
    env.installDataDir = QStringLiteral(ORVEL_INSTALL_DATADIR);
    return env;
}

TLocations computeLocations(const QString& executablePath, const TCommandLine& cmd,
                            const TSystemEnvironment& env) {
    TLocations loc;
    const QFileInfo exe(executablePath);
    loc.ProgramDir = withSlash(exe.absolutePath());
    loc.ProgramName = exe.completeBaseName();
    loc.DataFolders << loc.ProgramDir;
    if (!env.installDataDir.isEmpty())
        loc.DataFolders << withSlash(env.installDataDir);

    const QString config =
        xdgFolder(env.vars, QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral(".config"));
    loc.AppPath = withSlash(QDir::cleanPath(joinPath(config, kSettingsFolderName)));
    if (!QDir().mkpath(loc.AppPath))
        loc.AppPath = loc.ProgramDir;
    const QString data =
        xdgFolder(env.vars, QStringLiteral("XDG_DATA_HOME"), QStringLiteral(".local/share"));
    loc.LocalDataPath = withSlash(QDir::cleanPath(joinPath(data, kSettingsFolderName)));

    // A documents folder that does not exist is a poor first suggestion for the projects root.
    const bool haveDocuments = !env.documents.isEmpty() && QFileInfo(env.documents).isDir();
    loc.UserPath = withSlash(haveDocuments ? env.documents : homeOf(env.vars));

    loc.IniName = loc.AppPath + loc.ProgramName + QLatin1StringView(".ini");
    bool iniAccepted = false;
    if (cmd.hasIni) {
        QString error;
        const QString ini =
            resolveIniPath(cmd.iniValue, loc.AppPath, loc.ProgramName + QLatin1StringView(".ini"),
                           env.vars, &error);
        if (ini.isEmpty()) {
            loc.errors << error;
        } else {
            loc.IniName = ini;
            iniAccepted = true;
        }
    }
    loc.LogName = changeFileExtension(loc.IniName, QStringLiteral("log"));
    loc.KeyName = changeFileExtension(loc.IniName, QStringLiteral("key"));
    loc.MacroName = changeFileExtension(loc.IniName, QStringLiteral("mac"));
    loc.LangFile = languageFileFor(loc, cmd, iniAccepted, env.vars);

    const QString dict = findDataFile(QStringLiteral("dict"), loc.DataFolders);
    loc.DictPath = !dict.isEmpty() && QFileInfo(dict).isDir()
                       ? withSlash(dict)
                       : loc.ProgramDir + QLatin1StringView("dict/");
    return loc;
}

QString readLanguageFileCode(const QString& languageFile) {
    QFile f(languageFile);
    // A language file is a few lines; anything huge is not one.
    if (!f.open(QIODevice::ReadOnly) || f.size() > 64 * 1024)
        return QString();
    QString text = decodeIniBytes(f.readAll());
    text.replace(u'\r', u'\n');
    bool inLanguage = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inLanguage = line.sliced(1, line.size() - 2)
                             .trimmed()
                             .compare(QLatin1StringView("Language"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inLanguage && eq > 0 &&
            line.left(eq).trimmed().compare(QLatin1StringView("LangID"), Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed().toString();
    }
    return QString();
}

QString normalizeLanguageCode(const QString& code) {
    QString c = code.trimmed();
    // A POSIX locale name may carry a code set and a modifier: de_DE.UTF-8@euro.
    for (QChar stop : {u'.', u'@'}) {
        const qsizetype cut = c.indexOf(stop);
        if (cut >= 0)
            c.truncate(cut);
    }
    c.replace(u'_', u'-');
    if (c.compare(QLatin1StringView("C"), Qt::CaseInsensitive) == 0 ||
        c.compare(QLatin1StringView("POSIX"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("en");
    return c;
}

QString determineLanguageCode(const TCommandLine& cmd, const QString& languageFile,
                              const QString& systemLanguage) {
    QString code;
    if (cmd.langFromCommandLine)
        code = normalizeLanguageCode(cmd.langCode);
    if (code.isEmpty())
        code = normalizeLanguageCode(readLanguageFileCode(languageFile));
    if (code.isEmpty())
        code = normalizeLanguageCode(systemLanguage);
    return code;
}

} // namespace orvel
