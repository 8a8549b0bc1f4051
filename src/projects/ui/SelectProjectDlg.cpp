#include "projects/ui/SelectProjectDlg.h"

#include "base/core/Translate.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace orvel {

TSelectProjectDialog::TSelectProjectDialog(QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)),
      m_alpha(new QRadioButton(T_("Alphabetical"), this)),
      m_unsorted(new QRadioButton(T_("Unsorted"), this)), m_open(new QPushButton(T_("Open"), this)),
      m_new(new QPushButton(T_("New"), this)), m_other(new QPushButton(T_("Other"), this)),
      m_cancel(new QPushButton(T_("Cancel"), this)) {
    auto* label = new QLabel(T_("Current projects:"), this);
    label->setBuddy(m_list);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumSize(260, 200);

    auto* order = new QButtonGroup(this);
    order->addButton(m_alpha);
    order->addButton(m_unsorted);
    m_alpha->setChecked(true);

    m_open->setToolTip(T_("Open selected project"));
    m_new->setToolTip(T_("Create new project"));
    m_other->setToolTip(T_("Open other project"));
    m_open->setDefault(true);
    for (QPushButton* b : {m_new, m_other, m_cancel})
        b->setAutoDefault(false);

    auto* sortRow = new QHBoxLayout;
    sortRow->addWidget(m_alpha);
    sortRow->addWidget(m_unsorted);
    sortRow->addStretch(1);
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* b : {m_open, m_new, m_other, m_cancel})
        buttonRow->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addLayout(sortRow);
    layout->addLayout(buttonRow);

    connect(m_alpha, &QRadioButton::toggled, this, [this](bool on) { setSorted(on); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { done(spOpen); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
    connect(m_open, &QPushButton::clicked, this, [this] { done(spOpen); });
    connect(m_new, &QPushButton::clicked, this, [this] { done(spNew); });
    connect(m_other, &QPushButton::clicked, this, [this] { done(spOther); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(spCancel); });
}

void TSelectProjectDialog::fill(int index) {
    QList<int> order(m_names.size());
    std::iota(order.begin(), order.end(), 0);
    if (m_alpha->isChecked())
        std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
            return m_names[a].compare(m_names[b], Qt::CaseInsensitive) < 0;
        });
    m_list->clear();
    for (int i : order) {
        auto* item = new QListWidgetItem(m_names[i], m_list);
        item->setData(Qt::UserRole, i);
        if (i == index)
            m_list->setCurrentItem(item);
    }
    updateButtons();
}

void TSelectProjectDialog::updateButtons() {
    m_open->setEnabled(m_list->currentItem() != nullptr);
}

int TSelectProjectDialog::selectedIndex() const {
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

QStringList TSelectProjectDialog::shownNames() const {
    QStringList out;
    for (int row = 0; row < m_list->count(); ++row)
        out << m_list->item(row)->text();
    return out;
}

void TSelectProjectDialog::setSorted(bool alphabetical) {
    if (m_alpha->isChecked() != alphabetical)
        (alphabetical ? m_alpha : m_unsorted)->setChecked(true); // comes back here
    else
        fill(selectedIndex());
}

void TSelectProjectDialog::setup(const QString& caption, const QStringList& names, int index) {
    setWindowTitle(caption);
    m_names = names;
    // Without a valid preselection the first project is offered, so Open has a choice.
    fill(index >= 0 && index < names.size() ? index : 0);
    if (!m_list->currentItem() && m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_list->setFocus();
    setResult(spCancel);
}

int TSelectProjectDialog::finish(int code, int& index) const {
    switch (code) {
    case spOpen: {
        const int chosen = selectedIndex();
        if (chosen < 0)
            return spCancel;
        index = chosen;
        return spOpen;
    }
    case spNew:
    case spOther:
        return code;
    default:
        return spCancel;
    }
}

int TSelectProjectDialog::Execute(const QString& caption, const QStringList& names, int& index) {
    setup(caption, names, index);
    return finish(exec(), index);
}

} // namespace orvel
