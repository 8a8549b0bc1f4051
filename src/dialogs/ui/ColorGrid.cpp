#include "dialogs/ui/ColorGrid.h"

#include "textcontrol/ui/Highlighter.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolTip>

namespace orvel {

namespace {
// Each field is 31 by 21 pixels, 35 apart across and 25 down.
constexpr int kWidth = 31;
constexpr int kHeight = 21;
constexpr int kStepX = 35;
constexpr int kStepY = 25;
constexpr int kColumns = 8;
constexpr int kMargin = 2; // room for the mark around a field
} // namespace

TColorGrid::TColorGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TColorGrid::setColors(const TColorList& colors) {
    m_colors = colors;
    update();
}

void TColorGrid::setNames(const QStringList& names) {
    m_names = names;
}

void TColorGrid::setMarked(int index) {
    m_marked = index;
    if (index >= 0)
        m_focus = index;
    update();
}

QRect TColorGrid::fieldRect(int index) const {
    return {kMargin + (index % kColumns) * kStepX, kMargin + (index / kColumns) * kStepY, kWidth,
            kHeight};
}

int TColorGrid::fieldAt(QPoint p) const {
    for (int i = 0; i < int(m_colors.size()); ++i)
        if (fieldRect(i).contains(p))
            return i;
    return -1;
}

QSize TColorGrid::sizeHint() const {
    return {2 * kMargin + (kColumns - 1) * kStepX + kWidth, 2 * kMargin + kStepY + kHeight};
}

void TColorGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int i = 0; i < int(m_colors.size()); ++i) {
        const QRect r = fieldRect(i);
        p.fillRect(r, bgrToColor(m_colors[i] & 0xFFFFFF));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (i == m_marked) {
            p.setPen(QPen(palette().color(QPalette::WindowText), 2));
            p.drawRect(r.adjusted(-1, -1, 0, 0));
        }
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = fieldRect(m_focus).adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* event) {
    if (const int i = clickedField(event); i >= 0)
        Q_EMIT picked(i);
}

void TColorGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (const int i = clickedField(event); i >= 0) {
        Q_EMIT picked(i);
        Q_EMIT chosen(i);
    }
}

int TColorGrid::clickedField(QMouseEvent* event) {
    const int i = event->button() == Qt::LeftButton ? fieldAt(event->position().toPoint()) : -1;
    if (i >= 0)
        m_focus = i;
    return i;
}

void TColorGrid::keyPressEvent(QKeyEvent* event) {
    const int count = int(m_colors.size());
    int next = m_focus;
    switch (event->key()) {
    case Qt::Key_Left:
        next = m_focus - 1;
        break;
    case Qt::Key_Right:
        next = m_focus + 1;
        break;
    case Qt::Key_Up:
        next = m_focus - kColumns;
        break;
    case Qt::Key_Down:
        next = m_focus + kColumns;
        break;
    case Qt::Key_Space:
        Q_EMIT picked(m_focus);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (next >= 0 && next < count) {
        m_focus = next;
        update();
    }
}

bool TColorGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = fieldAt(help->pos());
        if (i < 0) {
            QToolTip::hideText();
            return true;
        }
        QString tip = m_names.value(i);
        if (tip.isEmpty())
            tip = bgrToColor(m_colors[i] & 0xFFFFFF).name().toUpper();
        QToolTip::showText(help->globalPos(), tip, this, fieldRect(i));
        return true;
    }
    return QWidget::event(event);
}

} // namespace orvel
