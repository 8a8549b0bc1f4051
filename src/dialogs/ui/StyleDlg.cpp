#include "dialogs/ui/StyleDlg.h"

#include "base/core/Translate.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orvel {

TStyleDialog::TStyleDialog(QWidget* parent) : TPickerDialog(parent) {
    setWindowTitle(T_("Select property"));
    auto* layout = new QVBoxLayout(this);
    m_prompt = new QLabel(this);
    m_list = new QListWidget(this);
    m_prompt->setBuddy(m_list);
    layout->addWidget(m_prompt);
    layout->addWidget(m_list, 1);
    QDialogButtonBox* buttons = okCancelButtons();
    layout->addWidget(buttons);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

void TStyleDialog::setup(const QString& caption, const QStringList& items) {
    m_prompt->setText(caption);
    m_prompt->setVisible(!caption.isEmpty());
    m_list->clear();
    m_list->addItems(items);
    m_list->setCurrentRow(items.isEmpty() ? -1 : 0);
    // Short lists show whole; long ones scroll.
    const int rows = qBound(3, int(items.size()), 12);
    m_list->setMinimumHeight(rows * m_list->fontMetrics().height() + 2 * m_list->frameWidth() + 4);
    m_list->setMinimumWidth(qMax(160, m_list->sizeHintForColumn(0) + 40));
    m_list->setFocus();
}

QString TStyleDialog::chosenItem() const {
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->text() : QString();
}

bool TStyleDialog::Execute(const TOpenAt& at, const QString& caption, const QStringList& items,
                           QString& style) {
    setup(caption, items);
    placeAt(at);
    if (exec() != QDialog::Accepted || !m_list->currentItem())
        return false;
    style = chosenItem();
    return true;
}

} // namespace orvel
