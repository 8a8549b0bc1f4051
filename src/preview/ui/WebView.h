#pragma once
// The preview window: the active document shown as a web page, with either engine. It asks
// the main window for the page to show each time it becomes active, so that coming back to
// it shows the text as it is now.

#include "preview/core/PreviewCopy.h"
#include "preview/core/PreviewSettings.h"
#include "preview/ui/PageEngine.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStackedWidget;
class QToolButton;

namespace orvel {

// Asked for the page to show: the window caption, the file or address (empty for nothing)
// and the name of the document it belongs to.
using TRefreshEvent =
    std::function<void(QObject* Sender, QString& Title, QString& URL, QString& Org)>;

class TfrmWebView : public QWidget {
    Q_OBJECT
public:
    // canUseWebView: whether the modern engine may be tried at all (its module is there).
    explicit TfrmWebView(bool canUseWebView, QWidget* parent = nullptr);
    ~TfrmWebView() override;

    // The geometry and options of the settings section "Preview": applied here, and given
    // back with the geometry as it was last seen in the normal state.
    void setOptions(const TPreviewSettings& settings);
    const TPreviewSettings& options() const { return m_settings; }
    void setLiveRefresh(bool on) { m_settings.LiveRefresh = on; }
    // Selects the engine: false when the modern one was asked for and cannot be used.
    bool SetBrowserMode(bool AEdgeMode);
    bool EdgeMode() const { return FEdgeMode; }
    bool CanUseWebView() const { return m_canUseWebView; }
    // The modern engine's folder for its cache and stored data.
    void setStoragePath(const QString& path) { m_storagePath = path; }

    void ShowWebPage(QWidget* Caller, const QString& Title, const QString& URL, const QString& Org);
    void ShowWebPage(const QString& Title, const QString& URL, const QString& Org);
    // Shows, in place of the page, why there is nothing to show: no stale page stays.
    void ShowProblem(QWidget* Caller, const QString& Title, const QString& why, const QString& Org);
    // The same as pressing Exit.
    void HideWebPage();
    // Asks FOnRefresh for the page and shows it: the page of the same document is loaded
    // again (keepPlace: scrolled where it was) when its file changed, another one is opened.
    void Refresh(bool keepPlace);

    TRefreshEvent FOnRefresh;
    // Errors for the user: the main window's message box.
    std::function<void(const QString& message)> onError;

    // --- What tests and the main window look at -----------------------------------------
    TPageEngine* engine() const;
    QString home() const { return Home; }
    QString org() const { return FOrg; }
    QString address() const;
    QSize pageAreaSize() const;
    // Chooses an entry of the size list, as the user does.
    void chooseSize(int index);
    QStringList sizeEntries() const;
    void setZoom(int percent);
    // Navigates to the text as the address field's Enter does.
    void openSite(const QString& text);

Q_SIGNALS:
    // A page finished loading in the current engine (ok false: it could not be loaded).
    void pageLoaded(bool ok);
    // The modern engine could not start; the classic one serves from now on.
    void modernEngineFailed();

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    void buildTopBar();
    TPageEvents engineEvents(bool modern);
    // The current engine, the modern one made on first use.
    TPageEngine* currentEngine();
    void showEngine();
    void navigate(const QString& url);
    void updateIndicator();
    void applySize(QSize pageArea);
    void rememberGeometry();
    void pageFinished(bool modern, bool ok);
    void exitClick();

    bool m_canUseWebView = false;
    bool FEdgeMode = false;
    bool SaveResize = false;
    bool ChangePage = false;
    QString Home;
    QString FOrg;
    QPointer<QWidget> FCaller;
    QString m_storagePath;
    TPreviewSettings m_settings;
    QSize m_appliedSize; // the page area an entry of the size list asked for
    bool m_showingProblem = false;
    QString m_shownName; // the file on screen, as it was when loaded
    TFileStamp m_shownStamp;

    QWidget* m_topBar = nullptr;
    QLabel* m_indicator = nullptr;
    QLineEdit* m_address = nullptr;
    QComboBox* m_sizes = nullptr;
    QSpinBox* m_zoom = nullptr;
    QStackedWidget* m_pages = nullptr;
    std::unique_ptr<TPageEngine> m_classic;
    std::unique_ptr<TPageEngine> m_modern;
};

} // namespace orvel
