#include "app/core/CommandLine.h"

#include "base/core/Translate.h"

#include <QDir>

namespace orvel {

namespace {

enum class TOption { None, Ini, Lang, Portable, Help, Version };

struct TOptionName {
    QLatin1StringView name;
    TOption option;
    bool takesValue;
};

// First letters differ, so every leading part names at most one option.
constexpr TOptionName kOptions[] = {
    {QLatin1StringView("ini"), TOption::Ini, true},
    {QLatin1StringView("lang"), TOption::Lang, true},
    {QLatin1StringView("portable"), TOption::Portable, false},
    {QLatin1StringView("help"), TOption::Help, false},
    {QLatin1StringView("version"), TOption::Version, false},
};

const TOptionName* findOption(QStringView word) {
    if (word.isEmpty())
        return nullptr;
    for (const TOptionName& o : kOptions) {
        if (word.size() <= o.name.size() && o.name.startsWith(word, Qt::CaseInsensitive))
            return &o;
    }
    return nullptr;
}

// Applies one recognised option; a value option with an empty value counts as missing.
void applyOption(TCommandLine& cmd, const TOptionName& opt, const QString& arg, bool hasValue,
                 const QString& value) {
    if (opt.takesValue && (!hasValue || value.isEmpty())) {
        cmd.missingValues << arg;
        return;
    }
    switch (opt.option) {
    case TOption::Ini:
        cmd.hasIni = true;
        cmd.iniValue = value;
        break;
    case TOption::Lang:
        cmd.langFromCommandLine = true;
        cmd.langCode = value;
        break;
    case TOption::Portable:
        cmd.portable = true;
        break;
    case TOption::Help:
        cmd.help = true;
        break;
    case TOption::Version:
        cmd.version = true;
        break;
    case TOption::None:
        break;
    }
}

bool isNameStart(QChar c) {
    return c == u'_' || (c.unicode() < 128 && c.isLetter());
}
bool isNameChar(QChar c) {
    return isNameStart(c) || (c >= u'0' && c <= u'9');
}

bool isEnvName(QStringView s) {
    if (s.isEmpty() || !isNameStart(s.front()))
        return false;
    for (QChar c : s) {
        if (!isNameChar(c))
            return false;
    }
    return true;
}

// Replaces %NAME%, $NAME and ${NAME}; a "%" or "$" that starts no name stays as it is.
// Returns false with *unset set when a named variable does not exist.
bool expandVariables(QString& s, const QProcessEnvironment& env, QString* unset) {
    QString out;
    out.reserve(s.size());
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s.at(i);
        QString name;
        qsizetype next = -1;
        if (c == u'%') {
            const qsizetype close = s.indexOf(u'%', i + 1);
            if (close > i + 1 && isEnvName(QStringView(s).mid(i + 1, close - i - 1))) {
                name = s.mid(i + 1, close - i - 1);
                next = close + 1;
            }
        } else if (c == u'$' && i + 1 < s.size()) {
            if (s.at(i + 1) == u'{') {
                const qsizetype close = s.indexOf(u'}', i + 2);
                if (close > i + 2 && isEnvName(QStringView(s).mid(i + 2, close - i - 2))) {
                    name = s.mid(i + 2, close - i - 2);
                    next = close + 1;
                }
            } else if (isNameStart(s.at(i + 1))) {
                qsizetype end = i + 2;
                while (end < s.size() && isNameChar(s.at(end)))
                    ++end;
                name = s.mid(i + 1, end - i - 1);
                next = end;
            }
        }
        if (next < 0) {
            out += c;
            ++i;
            continue;
        }
        if (!env.contains(name)) {
            *unset = name;
            return false;
        }
        out += env.value(name);
        i = next;
    }
    s = out;
    return true;
}

// Unlike withSlash, an empty folder becomes the root.
QString folderWithSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// The publishing options: long forms spelt out, so no short form of the design's options
// changes its meaning. Returns false for any other argument.
bool takePublishOption(TCommandLine& cmd, const QStringList& args, qsizetype& i) {
    const QString& arg = args.at(i);
    if (arg == QLatin1StringView("--dry-run"))
        cmd.publishDryRun = true;
    else if (arg == QLatin1StringView("--overwrite"))
        cmd.publishOverwrite = true;
    else if (arg == QLatin1StringView("--sync"))
        cmd.publishSync = true;
    else if (arg.startsWith(QLatin1StringView("--publish=")))
        cmd.publishProject = arg.mid(10);
    else if (arg != QLatin1StringView("--publish"))
        return false;
    else if (i + 1 < args.size())
        cmd.publishProject = args.at(++i);
    if (arg.startsWith(QLatin1StringView("--publish")) && cmd.publishProject.isEmpty())
        cmd.missingValues << arg;
    return true;
}

} // namespace

TCommandLine parseCommandLine(const QStringList& args) {
    TCommandLine cmd;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg.isEmpty())
            continue;
        if (optionsEnded || !arg.startsWith(u'-')) {
            cmd.files << arg;
            continue;
        }
        if (arg == QLatin1StringView("--")) {
            optionsEnded = true;
            continue;
        }
        if (takePublishOption(cmd, args, i))
            continue;
        // Classic form -name:value with the name shortened to any leading part; GNU form
        // --name=value, or the value as the next argument.
        const bool gnu = arg.startsWith(QLatin1StringView("--"));
        const QString word = arg.mid(gnu ? 2 : 1);
        const qsizetype sep = word.indexOf(gnu ? u'=' : u':');
        const TOptionName* opt =
            findOption(sep < 0 ? QStringView(word) : QStringView(word).left(sep));
        if (!opt) {
            cmd.unknownOptions << arg;
        } else if (sep >= 0) {
            applyOption(cmd, *opt, arg, true, word.mid(sep + 1));
        } else if (gnu && opt->takesValue && i + 1 < args.size()) {
            ++i;
            applyOption(cmd, *opt, arg, true, args.at(i));
        } else {
            applyOption(cmd, *opt, arg, false, QString());
        }
    }
    // Without a project to publish they mean nothing.
    if (cmd.publishProject.isEmpty()) {
        if (cmd.publishDryRun)
            cmd.unknownOptions << QStringLiteral("--dry-run");
        if (cmd.publishOverwrite)
            cmd.unknownOptions << QStringLiteral("--overwrite");
        if (cmd.publishSync)
            cmd.unknownOptions << QStringLiteral("--sync");
    }
    return cmd;
}

QStringList commandLineWarnings(const TCommandLine& cmd) {
    QStringList out;
    for (const QString& o : cmd.unknownOptions)
        out << fmt(T_("Unknown option ignored: %s"), {o});
    for (const QString& o : cmd.missingValues)
        out << fmt(T_("Option without value ignored: %s"), {o});
    return out;
}

QStringList restartArguments(const TCommandLine& cmd) {
    QStringList out;
    if (cmd.hasIni)
        out << QLatin1StringView("-ini:") + cmd.iniValue;
    if (cmd.portable)
        out << QStringLiteral("-portable");
    return out;
}

QString commandLineHelp(const QString& programName) {
    struct TLine {
        const char* forms;
        QString text;
    };
    const TLine lines[] = {
        {"-ini:FILE, --ini=FILE", T_("use FILE as the settings file (relative to the settings "
                                     "folder; \".ini\" is added when FILE has no extension)")},
        {"-lang:CODE, --lang=CODE", T_("use the interface language CODE (for example de-DE) for "
                                       "this run only")},
        {"-portable, --portable", T_("keep the language file beside the program")},
        {"-help, -h, --help", T_("show this help and exit")},
        {"-version, --version", T_("show the version and exit")},
        {"--publish PROJECT.prj", T_("publish the project's files that are missing or older at "
                                     "its destination, without windows, print the log lines "
                                     "and exit (non-zero on any error); the FTP password comes "
                                     "from the project file or ORVEL_FTP_PASSWORD")},
        {"  --dry-run", T_("only list what would be copied and deleted, and why")},
        {"  --overwrite", T_("send every file, whatever its time at the destination")},
        {"  --sync", T_("delete at the destination what no longer exists here")},
        {"--", T_("take all further arguments as file names")},
    };
    QString out = fmt(T_("Usage: %s [options] [files...]"), {programName}) +
                  QLatin1StringView("\n\n") + T_("Options:") + u'\n';
    for (const TLine& l : lines)
        out += QStringLiteral("  %1 %2\n").arg(QLatin1StringView(l.forms), -25).arg(l.text);
    out += u'\n' +
           T_("Option names may be shortened and are read without regard to case (-i:FILE, "
              "-L:de).") +
           u'\n';
    return out;
}

QString changeFileExtension(const QString& fileName, const QString& ext) {
    const qsizetype start = fileName.lastIndexOf(u'/') + 1;
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return (dot > start ? fileName.left(dot) : fileName) + u'.' + ext;
}

QString resolveIniPath(const QString& value, const QString& baseFolder, const QString& defaultName,
                       const QProcessEnvironment& env, QString* error, bool* isFolder) {
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return QString();
    };
    if (isFolder)
        *isFolder = false;
    QString v = value;
    v.replace(u'\\', u'/');
    if (v == u'~' || v.startsWith(QLatin1StringView("~/"))) {
        const QString home = env.value(QStringLiteral("HOME"), QDir::homePath());
        v = home + v.mid(1);
        if (v.isEmpty() || v == home)
            v += u'/';
    }
    QString unset;
    if (!expandVariables(v, env, &unset))
        return fail(fmt(T_("The environment variable %s in \"%s\" is not set"), {unset, value}));
    if (v.isEmpty())
        return fail(T_("No settings file named"));

    const QString path = v.startsWith(u'/') ? v : folderWithSlash(baseFolder) + v;
    const QString lastPart = path.mid(path.lastIndexOf(u'/') + 1);
    if (lastPart.isEmpty() || lastPart == u'.' || lastPart == QLatin1StringView("..")) {
        if (isFolder)
            *isFolder = true;
        return folderWithSlash(QDir::cleanPath(path)) + defaultName;
    }
    QString file = QDir::cleanPath(path);
    if (!lastPart.contains(u'.'))
        file += QLatin1StringView(".ini");
    const QString ext = fileExtension(file);
    for (const char* refused : {"log", "key", "mac"}) {
        if (ext.compare(QLatin1StringView(refused), Qt::CaseInsensitive) == 0) {
            return fail(fmt(T_("\"%s\" cannot be the settings file: files with the extension "
                               ".%s are written beside it"),
                            {file, ext}));
        }
    }
    return file;
}

} // namespace orvel
