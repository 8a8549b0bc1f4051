#include "search/ui/FileFilterDlg.h"

#include "base/core/Translate.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvel {

TFileFilterDialog::TFileFilterDialog(QWidget* parent) : QDialog(parent) {
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(TFileFilterList::kMaxRows, 2, this);
    m_grid->setObjectName(QStringLiteral("grdFilter"));
    m_grid->setHorizontalHeaderLabels({TD_("Description"), TD_("Filter")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setColumnWidth(0, 240);
    m_grid->setMinimumWidth(480);
    layout->addWidget(m_grid);

    auto* form = new QFormLayout;
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("edtDescription"));
    m_pattern = new QLineEdit(this);
    m_pattern->setObjectName(QStringLiteral("edtFilter"));
    form->addRow(TD_("Description:"), m_description);
    form->addRow(TD_("Filter:"), m_pattern);
    layout->addLayout(form);
    m_description->installEventFilter(this);
    m_pattern->installEventFilter(this);

    auto* edits = new QHBoxLayout;
    // Each edit button runs one list operation on the current row and selects its result.
    const auto add = [&](const char* caption, const char* name, auto operation) {
        auto* b = new QPushButton(TD_(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        edits->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, operation] { select(operation()); });
    };
    add(N_("Add to list"), "btnAdd", [this] { return m_list.add(m_current, fields()); });
    add(N_("Replace in list"), "btnReplace",
        [this] { return m_list.replace(m_current, fields()); });
    add(N_("Remove from list"), "btnRemove", [this] { return m_list.remove(m_current); });
    add(N_("Move one line up"), "btnUp", [this] { return m_list.moveUp(m_current); });
    add(N_("Move one line down"), "btnDown", [this] { return m_list.moveDown(m_current); });
    layout->addLayout(edits);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(TD_("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setAutoDefault(false);
    auto* cancel = buttons->addButton(TD_("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) {
        // Rows below the last filled one cannot be chosen.
        const int allowed = qBound(0, row, qMax(0, m_list.count() - 1));
        if (allowed != row || allowed != m_current)
            select(allowed);
    });
}

bool TFileFilterDialog::Execute(const QString& caption, QString& filter) {
    setWindowTitle(caption.isEmpty() ? TD_("File filter dialog") : caption);
    setFilter(filter);
    m_description->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    filter = m_list.filter();
    return true;
}

void TFileFilterDialog::setFilter(const QString& filter) {
    m_list = TFileFilterList(filter);
    select(0);
}

TFilterRow TFileFilterDialog::fields() const {
    return {m_description->text(), m_pattern->text()};
}

void TFileFilterDialog::showRows() {
    const QSignalBlocker block(m_grid);
    for (int r = 0; r < TFileFilterList::kMaxRows; ++r) {
        const bool filled = r < m_list.count();
        m_grid->setItem(r, 0,
                        new QTableWidgetItem(filled ? m_list.rows()[r].description : QString()));
        m_grid->setItem(r, 1, new QTableWidgetItem(filled ? m_list.rows()[r].pattern : QString()));
    }
}

void TFileFilterDialog::select(int row) {
    showRows();
    m_current = row;
    {
        const QSignalBlocker block(m_grid);
        m_grid->setCurrentCell(row, 0);
    }
    const bool filled = row >= 0 && row < m_list.count();
    m_description->setText(filled ? m_list.rows()[row].description : QString());
    m_pattern->setText(filled ? m_list.rows()[row].pattern : QString());
}

bool TFileFilterDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == m_description && enter) {
        m_pattern->setFocus();
        return true;
    }
    if (watched == m_pattern) {
        if (enter) {
            select(m_list.enter(m_current, fields()));
            m_description->setFocus();
            return true;
        }
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int row = m_current + (key == Qt::Key_Up ? -1 : 1);
            if (row >= 0 && row < m_list.count())
                select(row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvel
