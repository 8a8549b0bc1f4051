#include "dialogs/ui/InputTextDlg.h"

#include "base/core/Translate.h"
#include "dialogs/core/PickerLogic.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orvel {

namespace {
constexpr int kStandardWidth = 300;
}

TInputTextDialog::TInputTextDialog(QWidget* parent) : TPickerDialog(parent) {
    setWindowTitle(TD_("Edit text"));
    auto* layout = new QVBoxLayout(this);
    m_prompt = new QLabel(this);
    m_line = new QLineEdit(this);
    m_combo = new QComboBox(this);
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    // Completion keeps to the letter case typed, so that a name can change its case.
    m_combo->completer()->setCompletionMode(QCompleter::InlineCompletion);
    m_combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    layout->addWidget(m_prompt);
    layout->addWidget(m_line);
    layout->addWidget(m_combo);
    QDialogButtonBox* buttons = okCancelButtons();
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* TInputTextDialog::field() const {
    return m_combo->isHidden() ? m_line : m_combo->lineEdit();
}

void TInputTextDialog::setup(const TLineInput& input, const QString& text) {
    setWindowTitle(input.caption.isEmpty() ? TD_("Edit text") : input.caption);
    m_prompt->setText(input.prompt);
    m_prompt->setVisible(!input.prompt.isEmpty());
    const bool history = input.history && !input.history->isEmpty();
    m_combo->setVisible(history);
    m_line->setVisible(!history);
    m_combo->clear();
    if (history) {
        QStringList entries = *input.history;
        if (input.sorted)
            entries.sort(Qt::CaseInsensitive);
        m_combo->addItems(entries);
    }
    QLineEdit* line = field();
    line->setText(text);
    line->selectAll();
    QWidget* shown = history ? static_cast<QWidget*>(m_combo) : m_line;
    shown->setToolTip(input.prompt);
    m_prompt->setBuddy(shown);
    QFont font = this->font();
    if (!input.fontName.isEmpty())
        font.setFamily(input.fontName);
    shown->setFont(font);
    // As wide as usual, or as the text needs.
    const int needed = shown->fontMetrics().horizontalAdvance(text) + 40;
    shown->setFixedWidth(qMax(kStandardWidth, qMin(needed, 1200)));
    shown->setFocus();
}

QString TInputTextDialog::enteredText() const {
    return field()->text();
}

bool TInputTextDialog::Execute(const TLineInput& input, QString& text) {
    setup(input, text);
    placeAt(input.at, 20);
    if (exec() != QDialog::Accepted)
        return false;
    text = enteredText();
    if (input.history)
        addToHistory(*input.history, text, input.historySize);
    return true;
}

} // namespace orvel
