// The element toolbar pages of the document commands.

#include "base/core/Translate.h"
#include "editor/core/HtmlCatalog.h"
#include "editor/ui/DocumentCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace orvel {

namespace {

// Switches pages when the mouse moves over their tabs, while dynamic pages are on.
class THoverPages : public QObject {
public:
    THoverPages(QTabWidget* pages, std::function<bool()> on)
        : QObject(pages), m_pages(pages), m_on(std::move(on)) {
        pages->tabBar()->setMouseTracking(true);
        pages->tabBar()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseMove && m_on()) {
            const int i =
                m_pages->tabBar()->tabAt(static_cast<QMouseEvent*>(e)->position().toPoint());
            if (i >= 0 && i != m_pages->currentIndex())
                m_pages->setCurrentIndex(i);
        }
        return false;
    }

private:
    QTabWidget* m_pages;
    std::function<bool()> m_on;
};

// A button shows the tag it inserts, which an HTML author reads fastest; others their caption.
QString buttonLabel(int id, const QAction* a) {
    if (const THtmlCommand* c = htmlCommand(id)) {
        const QString text = QString::fromUtf8(c->text ? c->text : "");
        if ((c->kind == hkInline || c->kind == hkBlock || c->kind == hkTextBreak) &&
            text.startsWith(u'<')) {
            const qsizetype space = text.indexOf(u' ');
            return space > 0 ? text.left(space) + u'>' : text;
        }
        if (c->kind == hkText && text.startsWith(u'&'))
            return QString(text).replace(u'&', QStringLiteral("&&")); // an entity, no access key
    }
    return QString(a->text()).remove(u'&');
}

} // namespace

QTabWidget* TDocumentCommands::toolPanel(QWidget* parent, std::function<bool()> dynamicPages,
                                         std::function<void(bool)> setDynamicPages) {
    if (m_toolPanel)
        return m_toolPanel;
    m_toolPanel = new QTabWidget(parent);
    m_toolPanel->setDocumentMode(true);
    for (const TToolbarPage& page : toolbarPages()) {
        auto* bar = new QToolBar(m_toolPanel);
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        QMenu* dropDown = nullptr;
        QMenu* sub = nullptr;
        for (const TToolItem& item : page.items) {
            switch (item.kind) {
            case TToolItem::Separator:
                bar->addSeparator();
                break;
            case TToolItem::DropDown:
                // Buttons the bar makes itself: widgets added to it would each walk the
                // window's focus chain when they go.
                dropDown = new QMenu(T_(item.title), bar);
                bar->addAction(dropDown->menuAction());
                if (auto* button =
                        qobject_cast<QToolButton*>(bar->widgetForAction(dropDown->menuAction())))
                    button->setPopupMode(QToolButton::InstantPopup);
                break;
            case TToolItem::DropDownEnd:
                dropDown = nullptr;
                break;
            case TToolItem::SubMenu:
                sub = dropDown ? dropDown->addMenu(T_(item.title)) : nullptr;
                break;
            case TToolItem::SubMenuEnd:
                sub = nullptr;
                break;
            case TToolItem::Command:
                if (QAction* a = action(cmd::TDocCommandId(item.command))) {
                    if (sub) {
                        sub->addAction(a);
                    } else if (dropDown) {
                        dropDown->addAction(a);
                    } else {
                        // The bar's buttons show the icon text; menus keep the caption.
                        a->setIconText(buttonLabel(item.command, a));
                        bar->addAction(a);
                    }
                }
                break;
            }
        }
        m_toolPanel->addTab(bar, T_(page.title));
    }
    auto* dynamicBox = new QCheckBox(T_("dynamic Toolbars"), m_toolPanel);
    dynamicBox->setChecked(dynamicPages());
    connect(dynamicBox, &QCheckBox::toggled, this,
            [set = std::move(setDynamicPages)](bool on) { set(on); });
    m_toolPanel->setCornerWidget(dynamicBox, Qt::TopRightCorner);
    new THoverPages(m_toolPanel, std::move(dynamicPages));
    return m_toolPanel;
}

} // namespace orvel
