#include "dialogs/ui/SelectFromListDlg.h"

#include "base/core/Translate.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvel {

TSelectFromListDialog::TSelectFromListDialog(QWidget* parent) : TPickerDialog(parent) {
    setWindowTitle(TD_("Select item from list"));
    auto* layout = new QVBoxLayout(this);
    m_description = new QLabel(this);
    m_description->setWordWrap(true);
    m_list = new QListWidget(this);
    m_list->setMinimumSize(320, 240);
    QDialogButtonBox* buttons = okCancelButtons();
    m_prompt = buttons->addButton(TD_("Other .."), QDialogButtonBox::ActionRole);
    layout->addWidget(m_description);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_prompt, &QPushButton::clicked, this, [this] {
        m_promptPressed = true;
        accept();
    });
}

void TSelectFromListDialog::setup(const QString& title, const QString& description,
                                  const QString& hint, const QString& prompt,
                                  const QStringList& items, const QString& text) {
    setWindowTitle(title.isEmpty() ? TD_("Select item from list") : title);
    m_description->setText(description);
    m_description->setVisible(!description.isEmpty());
    m_list->clear();
    m_list->addItems(items);
    m_list->setToolTip(hint);
    m_list->setCurrentRow(int(items.indexOf(text)));
    m_prompt->setVisible(!prompt.isEmpty());
    m_prompt->setText(prompt);
    m_promptPressed = false;
    m_list->setFocus();
}

QString TSelectFromListDialog::selected() const {
    const QListWidgetItem* item = m_list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

TSelectResult TSelectFromListDialog::Select(const TOpenAt& at, const QString& title,
                                            const QString& description, const QString& hint,
                                            const QString& prompt, const QStringList& items,
                                            QString& text) {
    setup(title, description, hint, prompt, items, text);
    placeAt(at);
    if (exec() != QDialog::Accepted)
        return srCancel;
    if (m_promptPressed)
        return srPrompt;
    text = selected();
    return srOK;
}

} // namespace orvel
