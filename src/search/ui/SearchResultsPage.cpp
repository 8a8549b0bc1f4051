#include "search/ui/SearchResultsPage.h"

#include "base/core/Translate.h"
#include "base/ui/ActionButton.h"
#include "search/core/SearchHost.h"
#include "search/core/SearchResultsModel.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace orvel {

void TResultItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(TSearchResultsModel::IsFileRole).toBool())
        option->font.setBold(true);
}

void TResultItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const int markStart = index.data(TSearchResultsModel::MarkStartRole).toInt();
    if (markStart < 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = index.data(TSearchResultsModel::PlainTextRole).toString();
    const int markLength = index.data(TSearchResultsModel::MarkLengthRole).toInt();
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect r =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(2, 0, -2, 0);
    const bool selected = opt.state & QStyle::State_Selected;
    const QColor around = selected ? QColor(Qt::yellow) : QColor(0, 0, 0xC0);
    const QColor hit = selected ? QColor(0xFF, 0x60, 0x60) : QColor(0xC0, 0, 0);
    painter->save();
    painter->setClipRect(r);
    painter->setFont(opt.font);
    const QFontMetrics fm(opt.font);
    int x = r.left();
    const auto part = [&](const QString& s, const QColor& c) {
        if (s.isEmpty() || x > r.right())
            return;
        painter->setPen(c);
        painter->drawText(QRect(x, r.top(), r.right() - x + 1, r.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, s);
        x += fm.horizontalAdvance(s);
    };
    part(text.left(markStart), around);
    part(text.mid(markStart, markLength), hit);
    part(text.mid(markStart + markLength), around);
    painter->restore();
}

TSearchResultsPage::TSearchResultsPage(ISearchHost& host, QWidget* parent)
    : QWidget(parent), m_host(host), m_model(new TSearchResultsModel(this)),
      m_tree(new QTreeView(this)) {
    setObjectName(QStringLiteral("SearchResultsPage"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    auto* group = new QGroupBox(T_("Search results:"), this);
    auto* layout = new QHBoxLayout(group);

    m_tree->setObjectName(QStringLiteral("tvSearchresults"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true); // many thousand rows stay quick
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setItemDelegate(new TResultItemDelegate(m_tree));
    layout->addWidget(m_tree, 1);
    connect(m_tree, &QTreeView::doubleClicked, this, &TSearchResultsPage::open);
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parentIndex, int first, int last) {
                if (!parentIndex.isValid())
                    filesAdded(first, last);
            });

    auto* buttons = new QVBoxLayout;
    const auto add = [&](const QString& caption, const char* name,
                         void (TSearchResultsPage::*slot)()) {
        auto* b = new QPushButton(caption, group);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
    };
    add(T_("Expand all entries"), "btnOpenTree", &TSearchResultsPage::btnOpenTreeClick);
    add(T_("Collapse all entries"), "btnCloseTree", &TSearchResultsPage::btnCloseTreeClick);
    add(T_("Open selected file"), "btnOpen", &TSearchResultsPage::btnOpenClick);
    buttons->addStretch();
    layout->addLayout(buttons);
    outer->addWidget(group);
}

void TSearchResultsPage::setActions(QAction* expand, QAction* collapse, QAction* open) {
    bindButton(findChild<QPushButton*>(QStringLiteral("btnOpenTree")), expand);
    bindButton(findChild<QPushButton*>(QStringLiteral("btnCloseTree")), collapse);
    bindButton(findChild<QPushButton*>(QStringLiteral("btnOpen")), open);
}

void TSearchResultsPage::filesAdded(int first, int last) {
    if (m_model->hitCount() > kExpandedHits)
        return;
    for (int row = first; row <= last; ++row)
        m_tree->expand(m_model->index(row, 0));
}

void TSearchResultsPage::btnOpenTreeClick() {
    m_tree->expandAll();
}

void TSearchResultsPage::btnCloseTreeClick() {
    m_tree->collapseAll();
}

void TSearchResultsPage::btnOpenClick() {
    open(m_tree->currentIndex());
}

void TSearchResultsPage::open(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const TTextBlockPos pos = m_model->blockPos(index);
    if (m_model->isFile(index))
        m_host.openFileAt(m_model->fileName(index), TBufferCoord{1, 1}, TBufferCoord{1, 1});
    else
        m_host.openFileAt(m_model->fileName(index), pos.BBegin, pos.BEnd);
}

} // namespace orvel
