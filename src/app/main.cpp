// Program entry: read the command line, find the locations, create the main window, run.

#include "app/core/CommandLine.h"
#include "app/core/HeadlessPublish.h"
#include "app/core/Locations.h"
#include "app/core/VersionInfo.h"
#include "app/ui/Orvelfrm.h"
#include "app/ui/StartupProbe.h"
#include "base/core/Translate.h"
#include "base/ui/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char* argv[]) {
    using namespace orvel;
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const TCommandLine cmd = parseCommandLine(args);
    if (cmd.help || cmd.version) {
        // Answered before any window system is needed.
        const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
        const QString text = cmd.help ? commandLineHelp(QFileInfo(exe).fileName())
                                      : versionText(readVersionInfo(exe));
        std::fputs(qPrintable(text + u'\n'), stdout);
        return 0;
    }
    // Publishing for scripts and cron: no window system at all.
    if (!cmd.publishProject.isEmpty())
        return publishFromCommandLine(argc, argv, cmd);

    QApplication app(argc, argv);
    // The application title names the window class; no display name, which would end every
    // caption.
    QApplication::setApplicationName(applicationTitle());
    const QString exe = QApplication::applicationFilePath();
    const TVersionInfo version = readVersionInfo(exe);
    const TLocations loc = computeLocations(exe, cmd, TSystemEnvironment::current());
    const QString localeDir = findDataFile(QStringLiteral("locale"));
    const QString language =
        determineLanguageCode(cmd, loc.LangFile, TSystemEnvironment::current().uiLanguage);
    setupTranslation(localeDir, language);
    for (const QString& w : commandLineWarnings(cmd) + loc.errors)
        std::fputs(qPrintable(w + u'\n'), stderr);

    TShellStart start;
    start.programDir = loc.ProgramDir;
    start.userPath = loc.UserPath;
    start.caption = mainWindowCaption(version);
    start.iniName = loc.IniName;
    start.logName = loc.LogName;
    start.localDataPath = loc.LocalDataPath;
    start.languageCode = language;
    start.version = startScreenVersion(version);
    start.legalNotice = startScreenLegalNotice(version.LegalNotice);
    start.comLineFiles = cmd.files;
    start.programName = loc.ProgramName;
    start.restartArguments = restartArguments(cmd);
    start.findDataFile = [](const QString& name) { return findDataFile(name); };

    TQtDialogs dialogs;
    dialogs.setIniFileName(loc.IniName);
    THauptForm form(start, dialogs);
    dialogs.setParentWidget(&form);
    dialogs.setDecimalFileSizes(form.settings().Config.FileSizeFormat);
    if (!form.Init())
        return 0;
    form.show();
    startupProbe(form);
    return QApplication::exec();
}
