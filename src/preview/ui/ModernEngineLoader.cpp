#include "preview/ui/ModernEngineLoader.h"

#include "base/core/Translate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace orvel {

QString modernEngineModule() {
    const QString file = QStringLiteral("lib%1.so").arg(QLatin1String(kModernEngineModule));
    QStringList folders;
    if (qEnvironmentVariableIsSet("ORVEL_MODULE_DIR"))
        folders << qEnvironmentVariable("ORVEL_MODULE_DIR");
    folders << QCoreApplication::applicationDirPath() << QStringLiteral(ORVEL_INSTALL_LIBDIR);
    for (const QString& folder : folders) {
        const QFileInfo f(QDir(folder).filePath(file));
        if (f.isFile())
            return f.absoluteFilePath();
    }
    return QString();
}

std::unique_ptr<TPageEngine> createModernEngine(QWidget* parent, const TPageEvents& events,
                                                const QString& storagePath, QString* reason) {
    const QString module = modernEngineModule();
    if (module.isEmpty()) {
        if (reason)
            *reason = fmt(TD_("Not found: %s"),
                          {QStringLiteral("lib%1.so").arg(QLatin1String(kModernEngineModule))});
        return nullptr;
    }
    // Stays loaded to the end: the engine's code must outlive every page it made.
    static QLibrary* library = nullptr;
    if (!library) {
        auto* lib = new QLibrary(module);
        if (!lib->load()) {
            if (reason)
                *reason = lib->errorString();
            delete lib;
            return nullptr;
        }
        library = lib;
    }
    const auto create = reinterpret_cast<TCreateModernEngine>(library->resolve(kModernEngineEntry));
    if (!create) {
        if (reason)
            *reason = library->errorString();
        return nullptr;
    }
    int problem = mpNone;
    QString detail;
    std::unique_ptr<TPageEngine> engine(
        create(kModernEngineAbi, parent, events, storagePath, &problem, &detail));
    if (engine || !reason)
        return engine;
    switch (problem) {
    case mpHelperMissing:
        *reason = fmt(TD_("Not found: %s"), {detail});
        break;
    case mpContextNotShared:
        *reason = TD_("The web engine must be prepared before the program starts.");
        break;
    default:
        *reason = fmt(TD_("The module %s does not fit this program."), {module});
        break;
    }
    return engine;
}

} // namespace orvel
