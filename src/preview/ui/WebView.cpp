#include "preview/ui/WebView.h"

#include "base/core/Translate.h"
#include "preview/ui/ClassicEngine.h"
#include "preview/ui/ModernEngineLoader.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvel {

namespace {

QString problemPage(const QString& why) {
    QString text = why.toHtmlEscaped();
    text.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    text.replace(u'\n', QLatin1String("<br>"));
    return QStringLiteral("<html><body><h3>%1</h3><p>%2</p></body></html>")
        .arg(TD_("Nothing to show").toHtmlEscaped(), text);
}

QUrl pageUrl(const QString& text, const QUrl& current) {
    if (QFileInfo(text).isAbsolute())
        return QUrl::fromLocalFile(text);
    const QString dir =
        current.isLocalFile() ? QFileInfo(current.toLocalFile()).absolutePath() : QString();
    return QUrl::fromUserInput(text, dir, QUrl::AssumeLocalFile);
}

} // namespace

TfrmWebView::TfrmWebView(bool canUseWebView, QWidget* parent)
    : QWidget(parent, Qt::Window), m_canUseWebView(canUseWebView) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildTopBar();
    layout->addWidget(m_topBar);
    m_pages = new QStackedWidget(this);
    layout->addWidget(m_pages, 1);
    m_classic = std::make_unique<TClassicEngine>(m_pages, engineEvents(false));
    m_pages->addWidget(m_classic->widget());

    // The size list starts at 1024x768, applied.
    const QSize start = parsePageSize(QStringLiteral("1024x768"));
    m_sizes->setItemText(0, pageSizeText(start));
    m_sizes->setItemData(0, packPageSize(start));
    m_sizes->setCurrentIndex(0);
    applySize(start);
    SaveResize = true;
    SetBrowserMode(false);
}

TfrmWebView::~TfrmWebView() {
    // The engines take their pages with them before the window's children go.
    m_modern.reset();
    m_classic.reset();
}

void TfrmWebView::buildTopBar() {
    m_topBar = new QWidget(this);
    m_topBar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* bar = new QHBoxLayout(m_topBar);
    bar->setContentsMargins(4, 2, 4, 2);
    m_indicator = new QLabel(m_topBar);
    bar->addWidget(m_indicator);
    const auto button = [this, bar](QStyle::StandardPixmap icon, const QString& hint,
                                    const QString& key, std::function<void()> act) {
        auto* b = new QToolButton(m_topBar);
        auto* a = new QAction(style()->standardIcon(icon), hint, this);
        a->setToolTip(key.isEmpty() ? hint : hint + QStringLiteral(" (") + key + u')');
        if (!key.isEmpty()) {
            a->setShortcut(QKeySequence(key));
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a);
        }
        connect(a, &QAction::triggered, this, std::move(act));
        b->setDefaultAction(a);
        b->setAutoRaise(true);
        bar->addWidget(b);
        return b;
    };
    button(QStyle::SP_ArrowBack, TD_("Previous page"), QStringLiteral("Alt+Left"),
           [this] { currentEngine()->back(); });
    button(QStyle::SP_ArrowForward, TD_("Next page"), QStringLiteral("Alt+Right"),
           [this] { currentEngine()->forward(); });
    button(QStyle::SP_BrowserReload, TD_("Reload"), QStringLiteral("F5"),
           [this] { currentEngine()->reload(FEdgeMode, false); });
    button(QStyle::SP_DirHomeIcon, TD_("Home"), QString(), [this] { navigate(Home); });
    m_address = new QLineEdit(m_topBar);
    m_address->setPlaceholderText(TD_("Open site"));
    m_address->setClearButtonEnabled(true);
    connect(m_address, &QLineEdit::returnPressed, this, [this] { openSite(m_address->text()); });
    bar->addWidget(m_address, 1);

    m_sizes = new QComboBox(m_topBar);
    m_sizes->addItem(QString());
    for (const QString& s : presetPageSizes())
        m_sizes->addItem(s, packPageSize(parsePageSize(s)));
    m_sizes->setToolTip(TD_("Size of the page area"));
    connect(m_sizes, &QComboBox::activated, this, [this](int index) { chooseSize(index); });
    bar->addWidget(m_sizes);

    m_zoom = new QSpinBox(m_topBar);
    m_zoom->setRange(kMinZoom, kMaxZoom);
    m_zoom->setSingleStep(10);
    m_zoom->setSuffix(QStringLiteral(" %"));
    m_zoom->setValue(100);
    m_zoom->setToolTip(TD_("Zoom"));
    connect(m_zoom, &QSpinBox::valueChanged, this, [this](int percent) {
        m_settings.Zoom = percent;
        for (TPageEngine* e : {m_classic.get(), m_modern.get()})
            if (e)
                e->setZoom(percent / 100.0);
    });
    bar->addWidget(m_zoom);
    for (const auto& [key, step] : {std::pair{"Ctrl++", 10}, {"Ctrl+=", 10}, {"Ctrl+-", -10}}) {
        auto* a = new QAction(this);
        a->setShortcut(QKeySequence(QLatin1String(key)));
        connect(a, &QAction::triggered, this, [this, s = step] { setZoom(m_zoom->value() + s); });
        addAction(a);
    }
    auto* zoomReset = new QAction(this);
    zoomReset->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
    connect(zoomReset, &QAction::triggered, this, [this] { setZoom(100); });
    addAction(zoomReset);

    button(QStyle::SP_DialogCloseButton, TD_("Exit"), QStringLiteral("Esc"),
           [this] { exitClick(); });
    setWindowTitle(TD_("Preview"));
}

TPageEvents TfrmWebView::engineEvents(bool modern) {
    TPageEvents events;
    events.loadStarted = [this, modern] {
        if (modern == FEdgeMode)
            ChangePage = modern;
    };
    events.urlChanged = [this, modern](const QUrl& url) {
        // The modern engine tells its new address after the navigation started.
        if (modern && FEdgeMode && ChangePage) {
            m_address->setText(url.toDisplayString(QUrl::PreferLocalFile));
            ChangePage = false;
        }
    };
    events.loadFinished = [this, modern](bool ok) { pageFinished(modern, ok); };
    events.failed = [this](int exitCode) {
        if (onError)
            onError(
                fmt(TD_("The page's renderer ended (exit code %s)."), {QString::number(exitCode)}));
    };
    return events;
}

void TfrmWebView::pageFinished(bool modern, bool ok) {
    if (modern != FEdgeMode)
        return;
    // The address where the navigation ended; a page of our own has none.
    const QUrl url = m_showingProblem ? QUrl() : engine()->url();
    m_address->setText(url.isEmpty() ? QString() : url.toDisplayString(QUrl::PreferLocalFile));
    ChangePage = false;
    Q_EMIT pageLoaded(ok);
}

TPageEngine* TfrmWebView::engine() const {
    return FEdgeMode && m_modern ? m_modern.get() : m_classic.get();
}

TPageEngine* TfrmWebView::currentEngine() {
    if (!FEdgeMode)
        return m_classic.get();
    if (!m_modern) {
        QString reason;
        m_modern = createModernEngine(m_pages, engineEvents(true), m_storagePath, &reason);
        if (!m_modern) {
            // The classic engine serves from now on.
            m_canUseWebView = false;
            FEdgeMode = false;
            updateIndicator();
            if (onError)
                onError(TD_("Edge browser not available") +
                        (reason.isEmpty() ? QString() : QStringLiteral("\r\n") + reason));
            Q_EMIT modernEngineFailed();
            return m_classic.get();
        }
        m_modern->setZoom(m_settings.Zoom / 100.0);
        m_pages->addWidget(m_modern->widget());
        updateIndicator();
    }
    return m_modern.get();
}

void TfrmWebView::showEngine() {
    TPageEngine* e = currentEngine();
    m_pages->setCurrentWidget(e->widget());
}

bool TfrmWebView::SetBrowserMode(bool AEdgeMode) {
    if (AEdgeMode && !m_canUseWebView) {
        updateIndicator();
        return false;
    }
    if (isVisible())
        close();
    FEdgeMode = AEdgeMode;
    updateIndicator();
    return true;
}

void TfrmWebView::updateIndicator() {
    const bool modern = FEdgeMode;
    m_indicator->setPixmap(
        style()->standardIcon(modern ? QStyle::SP_DriveNetIcon : QStyle::SP_FileIcon).pixmap(16));
    if (modern)
        m_indicator->setToolTip(
            TD_("Edge Browser") +
            (m_modern ? QStringLiteral(" (") + m_modern->version() + u')' : QString()));
    else
        m_indicator->setToolTip(TD_("Classic Browser"));
}

void TfrmWebView::navigate(const QString& url) {
    if (url.isEmpty())
        return;
    TPageEngine* e = currentEngine();
    const QUrl target = pageUrl(url, e->url());
    m_shownName = target.isLocalFile() ? target.toLocalFile() : QString();
    m_shownStamp = fileStamp(m_shownName);
    m_showingProblem = false;
    e->navigate(target);
}

void TfrmWebView::ShowWebPage(QWidget* Caller, const QString& Title, const QString& URL,
                              const QString& Org) {
    setWindowTitle(Title);
    FCaller = Caller;
    Home = URL;
    ChangePage = false;
    // The page shown belongs to this document: coming back to it reloads, not navigates.
    FOrg = Org;
    if (isVisible()) {
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
        navigate(Home);
        return;
    }
    showEngine();
    navigate(Home);
    show();
    raise();
    activateWindow();
}

void TfrmWebView::ShowWebPage(const QString& Title, const QString& URL, const QString& Org) {
    ShowWebPage(nullptr, Title, URL, Org);
}

void TfrmWebView::ShowProblem(QWidget* Caller, const QString& Title, const QString& why,
                              const QString& Org) {
    setWindowTitle(Title);
    FCaller = Caller;
    FOrg = Org;
    showEngine();
    m_shownName.clear();
    m_showingProblem = true;
    currentEngine()->showHtml(problemPage(why));
    if (!isVisible())
        show();
    else if (isMinimized())
        showNormal();
    raise();
}

void TfrmWebView::HideWebPage() {
    exitClick();
}

void TfrmWebView::exitClick() {
    QWidget* w = FCaller ? FCaller.data() : parentWidget();
    if (!w)
        return;
    w->raise();
    w->activateWindow();
}

void TfrmWebView::Refresh(bool keepPlace) {
    if (!FOnRefresh)
        return;
    QString title, url, org;
    FOnRefresh(this, title, url, org);
    if (!url.isEmpty()) {
        TPageEngine* e = currentEngine();
        const bool sameDocument = org.compare(FOrg, Qt::CaseInsensitive) == 0 && !m_showingProblem;
        if (!sameDocument) {
            navigate(url);
        } else if (m_shownName.isEmpty() || fileStamp(m_shownName) != m_shownStamp ||
                   !e->url().isLocalFile() || e->url().toLocalFile() != m_shownName) {
            // The same document: its page again, unless the file on screen is unchanged.
            if (e->url().isLocalFile()) {
                m_shownName = e->url().toLocalFile();
                m_shownStamp = fileStamp(m_shownName);
            }
            e->reload(false, keepPlace);
        }
        setWindowTitle(title);
    }
    FOrg = org;
}

bool TfrmWebView::event(QEvent* e) {
    const bool done = QWidget::event(e);
    if (e->type() == QEvent::WindowActivate)
        Refresh(true);
    return done;
}

QString TfrmWebView::address() const {
    return m_address->text();
}

void TfrmWebView::openSite(const QString& text) {
    m_address->setText(text);
    navigate(text.trimmed());
}

void TfrmWebView::setOptions(const TPreviewSettings& settings) {
    m_settings = settings;
    move(settings.Left, settings.Top);
    const QSize area(settings.Width, settings.Height);
    m_sizes->setItemText(0, pageSizeText(area));
    m_sizes->setItemData(0, packPageSize(area));
    m_sizes->setCurrentIndex(0);
    SaveResize = false;
    applySize(area);
    SaveResize = true;
    setZoom(settings.Zoom);
}

QSize TfrmWebView::pageAreaSize() const {
    return QSize(width(), height() - m_topBar->sizeHint().height());
}

void TfrmWebView::applySize(QSize pageArea) {
    resize(pageArea.width(), pageArea.height() + m_topBar->sizeHint().height());
}

void TfrmWebView::chooseSize(int index) {
    if (index < 0 || index >= m_sizes->count())
        return;
    m_sizes->setCurrentIndex(index);
    SaveResize = false;
    setWindowState(Qt::WindowNoState);
    m_appliedSize = unpackPageSize(m_sizes->itemData(index).toUInt());
    applySize(m_appliedSize);
    SaveResize = true;
    rememberGeometry();
}

QStringList TfrmWebView::sizeEntries() const {
    QStringList out;
    for (int i = 0; i < m_sizes->count(); ++i)
        out << m_sizes->itemText(i);
    return out;
}

void TfrmWebView::setZoom(int percent) {
    m_zoom->setValue(qBound(kMinZoom, percent, kMaxZoom));
}

void TfrmWebView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const QSize area = pageAreaSize();
    // A window system that confirms a size later reports the size just chosen: not a
    // resize by hand.
    if (area == m_appliedSize)
        return rememberGeometry();
    m_appliedSize = QSize();
    if (SaveResize) {
        m_sizes->setItemText(0, pageSizeText(area));
        m_sizes->setItemData(0, packPageSize(area));
        m_sizes->setCurrentIndex(0);
    }
    rememberGeometry();
}

void TfrmWebView::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    rememberGeometry();
}

void TfrmWebView::rememberGeometry() {
    if (!isVisible() || windowState() != Qt::WindowNoState)
        return;
    m_settings.Left = pos().x();
    m_settings.Top = pos().y();
    const QSize area = pageAreaSize();
    m_settings.Width = area.width();
    m_settings.Height = area.height();
}

} // namespace orvel
