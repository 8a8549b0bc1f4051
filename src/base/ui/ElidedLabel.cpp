#include "base/ui/ElidedLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace orvel {

TElidedLabel::TElidedLabel(QWidget* parent, Qt::TextElideMode mode) : QLabel(parent), m_mode(mode) {
    setTextFormat(Qt::PlainText);
}

QRect TElidedLabel::textRect() const {
    const int m = margin();
    return contentsRect().adjusted(m, m, -m, -m);
}

QString TElidedLabel::shownText() const {
    return fontMetrics().elidedText(text(), m_mode, textRect().width());
}

QSize TElidedLabel::minimumSizeHint() const {
    const QSize full = QLabel::minimumSizeHint();
    return {fontMetrics().horizontalAdvance(QStringLiteral("\u2026")), full.height()};
}

void TElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const int align = QStyle::visualAlignment(layoutDirection(), alignment());
    style()->drawItemText(&painter, textRect(), align, palette(), isEnabled(), shownText(),
                          foregroundRole());
}

bool TElidedLabel::event(QEvent* event) {
    // A cut text shows whole as the tool tip, unless the label has a tool tip of its own.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const QString shown = shownText();
        if (shown != text())
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

} // namespace orvel
