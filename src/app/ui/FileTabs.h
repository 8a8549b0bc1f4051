#pragma once
// The document tab strip: one tab per open document, drawn by the strip itself, reordered
// by dragging a tab onto another, with a context menu per tab.

#include "base/core/FileTypes.h"

#include <QList>
#include <QPixmap>
#include <QTabBar>
#include <memory>
#include <optional>

class QMenu;

namespace orvel {

// What a tab shows: the caption is the file name without folder, the icon the type's.
struct TTabInfo {
    QString Filename;
    TFileTypes FileType = ftText;
};

// A document type's 16 px icon, drawn for the given device pixel ratio and cached; ftNone
// gives a null pixmap.
QPixmap fileTypePixmap(TFileTypes type, qreal devicePixelRatio = 1.0);

// The tab data (setTabData) stays free for the owner; info and modified flag are kept
// beside it and follow the tab when it moves.
class TFileTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit TFileTabBar(QWidget* parent = nullptr);

    // Also sets the tab text, with '&' kept literal.
    void setTabInfo(int index, const TTabInfo& info);
    std::optional<TTabInfo> tabInfo(int index) const;
    // The file name without folder, or "<unknown>" for a tab without info.
    QString tabCaption(int index) const;

    // Modified documents get a red corner on their icon.
    void setTabModified(int index, bool modified);
    bool isTabModified(int index) const;

    // Height of a tab; the strip is 3 px taller.
    int tabHeight() const;

    // Forgets the tab under the mouse, so the next hover reports again.
    void resetHover();

    // The tab being dragged, -1 when no drag is in progress.
    int dragIndex() const { return m_dragFrom; }

    // The context menu of a tab; its actions report that index. The caller owns it.
    std::unique_ptr<QMenu> createTabMenu(int index, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The mouse moved onto another tab; -1 when it is on no tab or left the strip.
    void hoverTab(int index);
    // A drag put the tab from position from at position to; it is selected.
    void tabDropped(int from, int to);
    // A mouse button was pressed with Ctrl held; nothing else happened.
    void ctrlClicked();
    void closePageRequested(int index);
    void selectPathRequested(int index);
    void saveFileRequested(int index);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Extra {
        std::optional<TTabInfo> info;
        bool modified = false;
    };

    int tabUnder(const QPoint& pos) const;
    void endDrag();
    void moveExtra(int from, int to);
    QRect dropMarkRect() const;

    QList<Extra> m_extra;     // parallel to the tabs
    int m_hover = -2;         // last reported hover; -2: not known
    int m_dragFrom = -1;      // dragged tab
    int m_dropTarget = -1;    // tab the drop mark is shown at
    int m_wheelRemainder = 0; // unused part of high-resolution wheel turns
};

} // namespace orvel
