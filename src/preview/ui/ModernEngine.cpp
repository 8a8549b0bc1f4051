// The modern engine: Qt WebEngine (Chromium) behind the page engine contract. Built as a
// module of its own and loaded on first use: linking the web engine into the program would
// make every start slower, preview or not.

#include "preview/ui/PageEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QOpenGLContext>
#include <QPointer>
#include <QQuickWindow>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#include <unistd.h>

namespace orvel {
namespace {

class TModernEngine : public TPageEngine {
public:
    TModernEngine(QWidget* parent, TPageEvents events, const QString& storagePath)
        : m_events(std::move(events)) {
        // A profile of its own: the cache and stored data of previewed pages stay in the
        // program's folder; without one, nothing is kept.
        m_profile = storagePath.isEmpty() ? new QWebEngineProfile()
                                          : new QWebEngineProfile(QStringLiteral("Preview"));
        if (!storagePath.isEmpty()) {
            QDir().mkpath(storagePath);
            m_profile->setPersistentStoragePath(storagePath);
            m_profile->setCachePath(storagePath + QStringLiteral("/cache"));
        }
        m_view = new QWebEngineView(parent);
        auto* webPage = new QWebEnginePage(m_profile, m_view);
        m_view->setPage(webPage);
        // Local pages may use the local style sheets, scripts and images around them.
        webPage->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        QObject::connect(webPage, &QWebEnginePage::loadStarted, m_view, [this] {
            if (m_events.loadStarted)
                m_events.loadStarted();
        });
        QObject::connect(webPage, &QWebEnginePage::urlChanged, m_view, [this](const QUrl& url) {
            if (m_events.urlChanged)
                m_events.urlChanged(url);
        });
        QObject::connect(webPage, &QWebEnginePage::loadFinished, m_view, [this](bool ok) {
            if (m_keep) {
                // The renderer usually keeps the place on a reload; a page that grew or
                // shrank is put back all the same.
                page()->runJavaScript(
                    QStringLiteral("window.scrollTo(%1,%2)").arg(m_keepAt.x()).arg(m_keepAt.y()));
                m_keep = false;
            }
            if (m_events.loadFinished)
                m_events.loadFinished(ok);
        });
        QObject::connect(webPage, &QWebEnginePage::renderProcessTerminated, m_view,
                         [this](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
                             if (status == QWebEnginePage::NormalTerminationStatus)
                                 return;
                             if (m_events.failed)
                                 m_events.failed(code);
                         });
    }

    ~TModernEngine() override {
        // The page goes before its profile.
        delete m_view;
        delete m_profile;
    }

    QWidget* widget() override { return m_view; }
    void navigate(const QUrl& url) override { m_view->setUrl(url); }
    void showHtml(const QString& html) override { m_view->setHtml(html); }

    void reload(bool bypassCache, bool keepPlace) override {
        if (keepPlace) {
            // In CSS pixels, as scrollTo takes them.
            const double zoom = page()->zoomFactor();
            const QPointF at = page()->scrollPosition() / (zoom > 0 ? zoom : 1.0);
            m_keepAt = at.toPoint();
            m_keep = true;
        }
        page()->triggerAction(bypassCache ? QWebEnginePage::ReloadAndBypassCache
                                          : QWebEnginePage::Reload);
    }

    void back() override { m_view->back(); }
    void forward() override { m_view->forward(); }
    QUrl url() const override { return m_view->url(); }
    void setZoom(double factor) override { m_view->setZoomFactor(factor); }

    void plainText(const std::function<void(const QString&)>& done) override {
        page()->toPlainText(done);
    }

    QPoint scrollPosition() const override { return page()->scrollPosition().toPoint(); }

    QString version() const override {
        return QStringLiteral("Qt WebEngine %1, Chromium %2")
            .arg(QString::fromLatin1(qWebEngineVersion()),
                 QString::fromLatin1(qWebEngineChromiumVersion()));
    }

private:
    QWebEnginePage* page() const { return m_view->page(); }

    TPageEvents m_events;
    QWebEngineProfile* m_profile = nullptr;
    QPointer<QWebEngineView> m_view;
    bool m_keep = false;
    QPoint m_keepAt;
};

// The web engine ends the whole process when its helper program is missing: asked first.
QString missingHelper() {
    QString helper = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (helper.isEmpty())
        helper = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) +
                 QStringLiteral("/QtWebEngineProcess");
    return QFileInfo(helper).isExecutable() ? QString() : helper;
}

} // namespace
} // namespace orvel

extern "C" Q_DECL_EXPORT orvel::TPageEngine*
orvelCreateModernEngine(int abi, QWidget* parent, const orvel::TPageEvents& events,
                        const QString& storagePath, int* problem, QString* detail) {
    using namespace orvel;
    const auto refuse = [problem](TModernEngineProblem why) -> TPageEngine* {
        if (problem)
            *problem = why;
        return nullptr;
    };
    if (abi != kModernEngineAbi)
        return refuse(mpOtherVersion);
    const QString helper = missingHelper();
    if (!helper.isEmpty()) {
        if (detail)
            *detail = helper;
        return refuse(mpHelperMissing);
    }
    // The engine draws with a context shared with the program's windows. Made here, on first
    // use, rather than at start-up: it costs every start a GL driver (some 60 MB and tenths of
    // a second), preview or not. Without it the engine would end the process.
    if (!QOpenGLContext::globalShareContext()) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
        QtWebEngineQuick::initialize();
    }
    if (!QOpenGLContext::globalShareContext())
        return refuse(mpContextNotShared);
    // The renderer's sandbox refuses to start for root: the engine would show no page at all.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    return new TModernEngine(parent, events, storagePath);
}
