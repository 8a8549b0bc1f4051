#include "app/ui/FileTabs.h"

#include "base/core/Translate.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHash>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <cmath>

namespace orvel {

namespace {
constexpr int kIconSize = 16;
constexpr int kCaptionOffset = 22; // from the icon's left edge
constexpr int kLineInset = 3;      // separator line inside the right edge
constexpr int kMarkWidth = 3;
constexpr int kMenuOffset = 15;
constexpr int kWheelStep = 120;

// Content offsets from the tab's top left: the selected tab's content sits lower, like a
// pressed button.
constexpr QPoint kSelectedOffset(6, 5);
constexpr QPoint kOtherOffset(2, 1);

const QColor kSelectedBack(166, 202, 240);
const QColor kOtherBack(255, 251, 240);
const QColor kLineColour(128, 128, 128);

struct TypeLook {
    QRgb band;
    QRgb text;
    const char* label;
};

// Colour and short label per type in table order; Text is drawn as a lined page.
constexpr TypeLook kLooks[kFileTypeCount] = {
    {0xffe34c26, 0xffffffff, "<>"},  // HTML
    {0xff2965f1, 0xffffffff, "{}"},  // CSS
    {0xffe8c90b, 0xff000000, "JS"},  // JS
    {0xff6a6fb0, 0xffffffff, "php"}, // PHP
    {0xff2e7d32, 0xffffffff, "VB"},  // VBS
    {0xff00838f, 0xffffffff, "PL"},  // Perl
    {0, 0, nullptr},                 // Text
};

QPixmap drawTypeIcon(TFileTypes type, qreal dpr) {
    const int side = int(std::ceil(kIconSize * dpr));
    QPixmap pm(side, side);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    // A page with its top right corner folded; half-pixel coordinates keep 1 px lines sharp.
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(10.5, 0.5);
    page.lineTo(13.5, 3.5);
    page.lineTo(13.5, 15.5);
    page.lineTo(2.5, 15.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(10.5, 0.5);
    fold.lineTo(10.5, 3.5);
    fold.lineTo(13.5, 3.5);
    fold.closeSubpath();
    p.setBrush(QColor(215, 215, 215));
    p.drawPath(fold);

    const TypeLook& look = kLooks[type];
    p.setPen(QPen(QColor(150, 150, 150), 1));
    if (!look.label) {
        for (qreal y : {5.5, 8.5, 11.5})
            p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
        return pm;
    }
    p.drawLine(QPointF(4.5, 4.5), QPointF(9.5, 4.5));

    // The band is wider than the page, like a label stuck on it.
    const QRectF band(0, 7, kIconSize, 8.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(look.band));
    p.drawRoundedRect(band, 1.5, 1.5);
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(7);
    font.setBold(true);
    if (QFontMetricsF(font).horizontalAdvance(QLatin1String(look.label)) > band.width() - 1)
        font.setStretch(QFont::Condensed);
    p.setFont(font);
    p.setPen(QColor::fromRgb(look.text));
    p.drawText(band, Qt::AlignCenter, QLatin1String(look.label));
    return pm;
}

// '&' in a file name is a letter, not a mnemonic.
QString literal(QString text) {
    return text.replace(u'&', QLatin1String("&&"));
}
} // namespace

QPixmap fileTypePixmap(TFileTypes type, qreal devicePixelRatio) {
    if (type < 0 || type >= kFileTypeCount)
        return {};
    static QHash<quint64, QPixmap> cache;
    const quint64 key = (quint64(type) << 32) | quint32(qRound(devicePixelRatio * 100));
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, drawTypeIcon(type, devicePixelRatio));
    return *it;
}

TFileTabBar::TFileTabBar(QWidget* parent) : QTabBar(parent) {
    setMouseTracking(true);
    setDrawBase(false);
    setExpanding(false);
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(true);
    setMovable(false); // tabs move only by dropping, not live
    connect(this, &QTabBar::tabMoved, this, &TFileTabBar::moveExtra);
}

void TFileTabBar::setTabInfo(int index, const TTabInfo& info) {
    if (index < 0 || index >= m_extra.size())
        return;
    m_extra[index].info = info;
    setTabText(index, literal(tabCaption(index)));
    update();
}

std::optional<TTabInfo> TFileTabBar::tabInfo(int index) const {
    if (index < 0 || index >= m_extra.size())
        return std::nullopt;
    return m_extra.at(index).info;
}

QString TFileTabBar::tabCaption(int index) const {
    const std::optional<TTabInfo> info = tabInfo(index);
    return info ? QFileInfo(info->Filename).fileName() : T_("<unknown>");
}

void TFileTabBar::setTabModified(int index, bool modified) {
    if (index < 0 || index >= m_extra.size() || m_extra.at(index).modified == modified)
        return;
    m_extra[index].modified = modified;
    update(tabRect(index));
}

bool TFileTabBar::isTabModified(int index) const {
    return index >= 0 && index < m_extra.size() && m_extra.at(index).modified;
}

int TFileTabBar::tabHeight() const {
    return qMax(kIconSize, fontMetrics().height()) + 8;
}

void TFileTabBar::resetHover() {
    m_hover = -2;
}

std::unique_ptr<QMenu> TFileTabBar::createTabMenu(int index, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    QAction* title = menu->addAction(literal(tabCaption(index)));
    title->setEnabled(false);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    menu->addSeparator();
    connect(menu->addAction(T_("&Close page")), &QAction::triggered, this,
            [this, index] { Q_EMIT closePageRequested(index); });
    connect(menu->addAction(T_("Select file &path")), &QAction::triggered, this,
            [this, index] { Q_EMIT selectPathRequested(index); });
    connect(menu->addAction(T_("&Save file")), &QAction::triggered, this,
            [this, index] { Q_EMIT saveFileRequested(index); });
    return menu;
}

QSize TFileTabBar::sizeHint() const {
    return {QTabBar::sizeHint().width(), tabHeight() + 3};
}

QSize TFileTabBar::minimumSizeHint() const {
    return {QTabBar::minimumSizeHint().width(), tabHeight() + 3};
}

QSize TFileTabBar::tabSizeHint(int index) const {
    // Room for the selected layout (the wider offset) plus a gap before the line.
    const int text = fontMetrics().horizontalAdvance(tabCaption(index));
    return {kSelectedOffset.x() + kCaptionOffset + text + 6 + kLineInset + 1, tabHeight()};
}

QSize TFileTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void TFileTabBar::tabInserted(int index) {
    m_extra.insert(qBound(0, index, int(m_extra.size())), Extra{});
    // Positions shifted: a drag or hover index would name another tab now.
    endDrag();
    m_hover = -2;
    QTabBar::tabInserted(index);
}

void TFileTabBar::tabRemoved(int index) {
    if (index >= 0 && index < m_extra.size())
        m_extra.removeAt(index);
    endDrag();
    m_hover = -2;
    QTabBar::tabRemoved(index);
}

void TFileTabBar::moveExtra(int from, int to) {
    if (from >= 0 && from < m_extra.size() && to >= 0 && to < m_extra.size())
        m_extra.move(from, to);
}

int TFileTabBar::tabUnder(const QPoint& pos) const {
    return rect().contains(pos) ? tabAt(pos) : -1;
}

void TFileTabBar::endDrag() {
    if (m_dragFrom < 0 && m_dropTarget < 0)
        return;
    m_dragFrom = -1;
    m_dropTarget = -1;
    unsetCursor();
    update();
}

QRect TFileTabBar::dropMarkRect() const {
    if (m_dragFrom < 0 || m_dropTarget < 0)
        return {};
    const QRect r = tabRect(m_dropTarget);
    const int x = m_dropTarget < m_dragFrom ? r.left() : r.right() - kMarkWidth + 1;
    return {x, r.top(), kMarkWidth, r.height()};
}

void TFileTabBar::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    const int contentHeight = qMax(kIconSize, fontMetrics().height());
    const qreal dpr = devicePixelRatioF();
    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i);
        if (!r.intersects(event->rect()))
            continue;
        const bool selected = i == currentIndex();
        p.fillRect(r, selected ? kSelectedBack : kOtherBack);
        const QPoint origin = r.topLeft() + (selected ? kSelectedOffset : kOtherOffset);

        const std::optional<TTabInfo>& info = m_extra.at(i).info;
        const QPoint iconAt(origin.x(), origin.y() + (contentHeight - kIconSize) / 2);
        if (info)
            p.drawPixmap(iconAt, fileTypePixmap(info->FileType, dpr));
        if (m_extra.at(i).modified) {
            const QPoint corner[] = {iconAt, iconAt + QPoint(6, 0), iconAt + QPoint(0, 6)};
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::red);
            p.drawPolygon(corner, 3);
        }

        const int textLeft = origin.x() + kCaptionOffset;
        const QRect textRect(textLeft, origin.y(), r.right() - kLineInset - textLeft,
                             contentHeight);
        p.setPen(selected ? Qt::blue : Qt::black);
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   fontMetrics().elidedText(tabCaption(i), Qt::ElideRight, textRect.width()));

        p.setPen(kLineColour);
        const int lineX = r.right() - kLineInset;
        p.drawLine(lineX, r.top(), lineX, r.bottom());

        if (selected && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = r.adjusted(2, 2, -kLineInset - 2, -2);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        }
    }
    if (const QRect mark = dropMarkRect(); mark.isValid())
        p.fillRect(mark, Qt::black);
}

void TFileTabBar::mousePressEvent(QMouseEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        endDrag();
        event->accept();
        Q_EMIT ctrlClicked();
        return;
    }
    QTabBar::mousePressEvent(event);
    // The press has selected the tab under it: that is the one to drag.
    if (event->button() == Qt::LeftButton && tabUnder(event->position().toPoint()) >= 0 &&
        currentIndex() >= 0) {
        m_dragFrom = currentIndex();
        m_dropTarget = -1;
        setCursor(Qt::DragMoveCursor);
    }
}

void TFileTabBar::mouseMoveEvent(QMouseEvent* event) {
    const int under = tabUnder(event->position().toPoint());
    if (under != m_hover) {
        m_hover = under;
        Q_EMIT hoverTab(under);
    }
    if (m_dragFrom >= 0) {
        // The release went elsewhere (a dialog opened meanwhile): no drag is left.
        if (!(event->buttons() & Qt::LeftButton)) {
            endDrag();
        } else if (const int target = under != m_dragFrom ? under : -1; target != m_dropTarget) {
            m_dropTarget = target;
            update();
        }
    }
    QTabBar::mouseMoveEvent(event);
}

void TFileTabBar::mouseReleaseEvent(QMouseEvent* event) {
    QTabBar::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || m_dragFrom < 0)
        return;
    const int from = m_dragFrom;
    endDrag();
    const int to = tabUnder(event->position().toPoint());
    if (to < 0 || to == from || from >= count())
        return;
    moveTab(from, to);
    setCurrentIndex(to);
    Q_EMIT tabDropped(from, to);
}

void TFileTabBar::leaveEvent(QEvent* event) {
    if (m_hover != -1) {
        m_hover = -1;
        Q_EMIT hoverTab(-1);
    }
    QTabBar::leaveEvent(event);
}

void TFileTabBar::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0 || count() == 0) {
        event->ignore();
        return;
    }
    event->accept();
    // Touchpads send fractions of a notch; a position moves per whole notch.
    if ((delta > 0) != (m_wheelRemainder > 0))
        m_wheelRemainder = 0;
    m_wheelRemainder += delta;
    const int steps = m_wheelRemainder / kWheelStep;
    m_wheelRemainder -= steps * kWheelStep;
    if (steps == 0)
        return;
    // Turning the wheel down goes towards the first tab.
    const int target = qBound(0, currentIndex() + steps, count() - 1);
    if (target != currentIndex())
        setCurrentIndex(target);
}

void TFileTabBar::contextMenuEvent(QContextMenuEvent* event) {
    // The Ctrl press has already closed a document; its tab may be gone.
    if (event->modifiers() & Qt::ControlModifier) {
        event->accept();
        return;
    }
    endDrag();
    const bool byKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QPoint pos =
        byKeyboard && currentIndex() >= 0 ? tabRect(currentIndex()).center() : event->pos();
    const int index = tabUnder(pos);
    if (index < 0) {
        event->ignore();
        return;
    }
    event->accept();
    const std::unique_ptr<QMenu> menu = createTabMenu(index, this);
    const QPoint global = byKeyboard ? mapToGlobal(pos) : event->globalPos();
    menu->exec(global + QPoint(kMenuOffset, 0));
}

} // namespace orvel
