#pragma once
// What the preview window asks of a page engine. The classic engine is built in; the modern
// one lives in a module of its own that is loaded on first use, so that the program starts
// without the weight of the web engine. This header is the whole contract between them: no
// Qt meta-objects cross it.

#include <QPoint>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace orvel {

// What an engine reports; every call arrives on the user-interface thread.
struct TPageEvents {
    std::function<void()> loadStarted;
    std::function<void(const QUrl& url)> urlChanged;
    std::function<void(bool ok)> loadFinished;
    // The renderer ended before its time, with that exit code.
    std::function<void(int exitCode)> failed;
};

class TPageEngine {
public:
    virtual ~TPageEngine() = default;
    // The page area; it belongs to the engine.
    virtual QWidget* widget() = 0;
    virtual void navigate(const QUrl& url) = 0;
    // Shows a page of our own (HTML text) in place of a file, for instance to say why
    // there is nothing to show.
    virtual void showHtml(const QString& html) = 0;
    // keepPlace: the page comes back scrolled where it was, as after an edit of its text.
    virtual void reload(bool bypassCache, bool keepPlace) = 0;
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual QUrl url() const = 0;
    virtual void setZoom(double factor) = 0;
    // The page's text as the user sees it, handed over when the engine has it.
    virtual void plainText(const std::function<void(const QString&)>& done) = 0;
    virtual QPoint scrollPosition() const = 0;
    // The engine's version, for the engine indicator's tooltip.
    virtual QString version() const = 0;
};

// The modern engine module: its file name and its one entry. The entry returns null when the
// engine cannot run here, and says why in problem (with the missing file in detail);
// storagePath is the engine's folder for its cache and stored data, created when missing.
constexpr const char* kModernEngineModule = "orvel_webengine";
constexpr const char* kModernEngineEntry = "orvelCreateModernEngine";
constexpr int kModernEngineAbi = 2;
enum TModernEngineProblem : int {
    mpNone,
    mpOtherVersion,     // the module was built for another program
    mpHelperMissing,    // the engine's helper program is not installed
    mpContextNotShared, // the program did not share its drawing contexts before start-up
};
using TCreateModernEngine = TPageEngine* (*)(int abi, QWidget* parent, const TPageEvents& events,
                                             const QString& storagePath, int* problem,
                                             QString* detail);

} // namespace orvel
