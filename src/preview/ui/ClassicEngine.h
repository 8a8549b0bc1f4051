#pragma once
// The classic engine: the page drawn by Qt's own rich-text browser. It shows HTML and a
// subset of CSS, runs no scripts, and needs nothing beyond the widgets.

#include "preview/ui/PageEngine.h"

#include <QPointer>
#include <memory>

class QTextBrowser;

namespace orvel {

class TClassicEngine : public TPageEngine {
public:
    TClassicEngine(QWidget* parent, TPageEvents events);
    ~TClassicEngine() override;

    QWidget* widget() override;
    void navigate(const QUrl& url) override;
    void showHtml(const QString& html) override;
    void reload(bool bypassCache, bool keepPlace) override;
    void back() override;
    void forward() override;
    QUrl url() const override;
    void setZoom(double factor) override;
    void plainText(const std::function<void(const QString&)>& done) override;
    QPoint scrollPosition() const override;
    QString version() const override;

private:
    class TBrowser;
    void finished(const QUrl& url);
    void restorePlace(QPoint place);

    TPageEvents m_events;
    QPointer<TBrowser> m_browser;
    double m_baseFontSize = 0;
};

} // namespace orvel
