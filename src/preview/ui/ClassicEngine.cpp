#include "preview/ui/ClassicEngine.h"

#include "base/core/TextFile.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBrowser>

namespace orvel {

// Reads pages as the editor reads documents: byte-order mark, UTF-8 or Windows-1252, so that
// the page shows what the document holds.
class TClassicEngine::TBrowser : public QTextBrowser {
public:
    explicit TBrowser(QWidget* parent) : QTextBrowser(parent) {}

    bool lastLoadOk = true;
    std::function<void()> back;
    std::function<void()> forward;

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::HtmlResource && name.isLocalFile()) {
            const TLoadedText loaded = loadTextFile(name.toLocalFile());
            lastLoadOk = loaded.ok();
            if (!loaded.ok())
                return QString();
            return QString::fromUtf8(loaded.text);
        }
        return QTextBrowser::loadResource(type, name);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::BackButton && back)
            back();
        else if (e->button() == Qt::ForwardButton && forward)
            forward();
        else
            QTextBrowser::mousePressEvent(e);
    }
};

TClassicEngine::TClassicEngine(QWidget* parent, TPageEvents events)
    : m_events(std::move(events)), m_browser(new TBrowser(parent)) {
    m_browser->back = [this] { back(); };
    m_browser->forward = [this] { forward(); };
    m_baseFontSize = m_browser->font().pointSizeF();
    // Every navigation goes through navigate(), so that each one is reported; links to
    // other sites go to the desktop's browser.
    m_browser->setOpenLinks(false);
    QObject::connect(m_browser, &QTextBrowser::anchorClicked, m_browser, [this](const QUrl& link) {
        if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment()) {
            m_browser->scrollToAnchor(link.fragment());
            return;
        }
        const QUrl target = m_browser->source().resolved(link);
        if (target.isLocalFile())
            navigate(target);
        else
            QDesktopServices::openUrl(target);
    });
}

TClassicEngine::~TClassicEngine() {
    delete m_browser;
}

QWidget* TClassicEngine::widget() {
    return m_browser;
}

void TClassicEngine::finished(const QUrl& url) {
    if (m_events.urlChanged)
        m_events.urlChanged(url);
    if (m_events.loadFinished)
        m_events.loadFinished(m_browser->lastLoadOk);
}

void TClassicEngine::navigate(const QUrl& url) {
    if (m_events.loadStarted)
        m_events.loadStarted();
    m_browser->lastLoadOk = true;
    // The same file again (another document of the same folder writes the same copy) is
    // read again.
    if (url.adjusted(QUrl::RemoveFragment) == m_browser->source().adjusted(QUrl::RemoveFragment))
        m_browser->reload();
    m_browser->setSource(url);
    finished(m_browser->source());
}

void TClassicEngine::showHtml(const QString& html) {
    if (m_events.loadStarted)
        m_events.loadStarted();
    m_browser->setHtml(html);
    m_browser->lastLoadOk = true;
    finished(QUrl());
}

void TClassicEngine::reload(bool, bool keepPlace) {
    // Without a location there is nothing to load again.
    if (m_browser->source().isEmpty())
        return;
    const QPoint place = scrollPosition();
    if (m_events.loadStarted)
        m_events.loadStarted();
    m_browser->lastLoadOk = true;
    m_browser->reload();
    if (keepPlace)
        restorePlace(place);
    finished(m_browser->source());
}

void TClassicEngine::restorePlace(QPoint place) {
    // The document is laid out bit by bit: the place is set again while the range grows
    // towards it.
    QScrollBar* bars[2] = {m_browser->horizontalScrollBar(), m_browser->verticalScrollBar()};
    const int values[2] = {place.x(), place.y()};
    for (int i = 0; i < 2; ++i) {
        QScrollBar* bar = bars[i];
        const int value = values[i];
        bar->setValue(value);
        if (bar->value() == value)
            continue;
        auto* guard = new QObject(bar);
        QObject::connect(bar, &QScrollBar::rangeChanged, guard, [bar, value, guard](int, int max) {
            bar->setValue(value);
            if (max >= value)
                guard->deleteLater();
        });
        // A user who scrolls meanwhile wins.
        QObject::connect(bar, &QScrollBar::sliderPressed, guard, [guard] { guard->deleteLater(); });
    }
}

void TClassicEngine::back() {
    m_browser->backward();
    finished(m_browser->source());
}

void TClassicEngine::forward() {
    m_browser->forward();
    finished(m_browser->source());
}

QUrl TClassicEngine::url() const {
    return m_browser->source();
}

void TClassicEngine::setZoom(double factor) {
    QFont f = m_browser->font();
    f.setPointSizeF(qMax(1.0, m_baseFontSize * factor));
    m_browser->setFont(f);
}

void TClassicEngine::plainText(const std::function<void(const QString&)>& done) {
    done(m_browser->toPlainText());
}

QPoint TClassicEngine::scrollPosition() const {
    return QPoint(m_browser->horizontalScrollBar()->value(),
                  m_browser->verticalScrollBar()->value());
}

QString TClassicEngine::version() const {
    return QStringLiteral("Qt ") + QString::fromLatin1(qVersion());
}

} // namespace orvel
