#include "app/core/HeadlessPublish.h"

#include "app/core/Locations.h"
#include "app/core/Settings.h"
#include "base/core/IniFileUtils.h"
#include "base/core/LogFile.h"
#include "base/core/Translate.h"
#include "projects/core/Publish.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <csignal>
#include <cstdio>

namespace orvel {

namespace {
std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int) {
    g_interrupted = true;
}

void print(FILE* to, const QString& text) {
    const QByteArray bytes = (text + u'\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

// Nothing to show: the log lines say it all. A signal stops the run after its current file.
class TConsoleMonitor : public IPublishMonitor {
public:
    void ShowWindow(const QString&, const QString&, const QString&) override {}
    void StartDelete() override {}
    void StartSync() override {}
    void StartCopy() override {}
    void SetDirectory(const QString&) override {}
    void SetAction(const QString&) override {}
    void SetTarget(const QString&) override {}
    void SetStatus(const QString&) override {}
    void SetError(const QString&) override {}
    void UpdateProgress(qint64, qint64) override {}
    bool Stopped() const override { return g_interrupted.load(); }
    void CloseWindow(int, int) override {}
    void CloseDryRun(int, int) override {}
    void HideWindow() override {}
};

// Nobody to ask: an unknown certificate is refused (a pinned one passes without asking).
class TConsoleDialogs : public ITransferDialogs {
public:
    explicit TConsoleDialogs(IPublishMonitor& monitor) : m_monitor(monitor) {}
    bool confirmCertificate(const TCerticateInfo& info) override {
        print(stderr, fmt(T_("The server's certificate is not trusted: %s"), {info.Server}));
        print(stderr, QStringLiteral("  ") + info.Subject);
        print(stderr, QStringLiteral("  SHA-256: ") + info.Fingerprint);
        for (const QString& reason : info.Reasons)
            print(stderr, QStringLiteral("  ") + reason);
        print(stderr, T_("Publish once from the program and accept the certificate there."));
        return false;
    }
    bool selectTransfer(QPoint, TTransferChoice&) override { return false; }
    bool askPassword(const QString&, const QString&, QString&) override { return false; }
    IPublishMonitor& statusWindow() override { return m_monitor; }

private:
    IPublishMonitor& m_monitor;
};
} // namespace

int publishFromCommandLine(int& argc, char** argv, const TCommandLine& cmd) {
    QCoreApplication app(argc, argv);
    const QString exe = QCoreApplication::applicationFilePath();
    const TSystemEnvironment system = TSystemEnvironment::current();
    const TLocations loc = computeLocations(exe, cmd, system);
    const QString language = determineLanguageCode(cmd, loc.LangFile, system.uiLanguage);
    setupTranslation(findDataFile(QStringLiteral("locale")), language);
    for (const QString& w : commandLineWarnings(cmd) + loc.errors)
        print(stderr, w);

    const QString projectFile = QFileInfo(cmd.publishProject).absoluteFilePath();
    TProjectInfo project(projectFile);
    if (!QFileInfo(projectFile).isFile() || !ReadProject(project, 0, 0)) {
        print(stderr, fmt(T_("\"%s\" is not a project file."),
                          {QDir::toNativeSeparators(cmd.publishProject)}));
        return peUsage;
    }
    if (project.TransferMode == tmOff) {
        print(stderr, fmt(T_("The project \"%s\" is not published anywhere (server connection: "
                             "None)."),
                          {project.ProjName}));
        return peUsage;
    }
    // Never a prompt: the password is in the project or in the environment.
    if (project.TransferMode == tmFtp) {
        if (project.Password.isEmpty())
            project.Password = system.vars.value(QStringLiteral("ORVEL_FTP_PASSWORD"));
        if (project.ProxyPar.Mode != 0 && project.ProxyPar.Password.isEmpty())
            project.ProxyPar.Password =
                system.vars.value(QStringLiteral("ORVEL_FTP_PROXY_PASSWORD"));
        if (project.Password.isEmpty() ||
            (project.ProxyPar.Mode != 0 && project.ProxyPar.Password.isEmpty())) {
            print(stderr, fmt(T_("No password for the FTP server %s: the project file holds none "
                                 "and ORVEL_FTP_PASSWORD is not set."),
                              {project.Host}));
            return peFailed;
        }
    }

    TShellSettings settings(language);
    if (!loc.IniName.isEmpty() && QFileInfo::exists(loc.IniName))
        settings.Read(TUnicodeIniFile::CreateForRead(loc.IniName), language);
    TLogFile log(loc.LogName);
    log.UseLog = settings.Config.UseLogFile;
    log.setEcho([](const QString& line) { print(stdout, line); });
    log.setFailureHandler([](const QString& message) { print(stderr, message); });

    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    TConsoleMonitor monitor;
    TConsoleDialogs dialogs(monitor);
    TPublishEnvironment env;
    env.monitor = &monitor;
    env.log = &log;
    env.dialogs = &dialogs;
    env.recordFolder = loc.LocalDataPath;
    env.tlsFolders = {loc.AppPath, loc.ProgramDir};
    env.protocolLogFolder = loc.AppPath;
    TPublishRequest request;
    request.Mode = tfAllFiles | kTransferSubDirs | (cmd.publishSync ? kTransferSync : 0) |
                   (cmd.publishOverwrite ? kTransferOverwrite : 0) |
                   (cmd.publishDryRun ? kTransferDryRun : 0);
    TPublisher publisher(project, env);
    const TPublishResult result = publisher.Transfer(request);
    if (!result.Error.isEmpty())
        print(stderr, QString(result.Error).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    if (result.Cancelled)
        return peCancelled;
    return result.failed() ? peFailed : peOk;
}

} // namespace orvel
