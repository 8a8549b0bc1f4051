#include "app/ui/TextFindDlg.h"

#include "base/core/Translate.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvel {

TTextFindDialog::TTextFindDialog(QWidget* parent)
    : QDialog(parent), m_text(new QLineEdit(this)),
      m_wholeWord(new QCheckBox(TD_("Match &whole word only"), this)),
      m_matchCase(new QCheckBox(TD_("Match &case"), this)),
      m_up(new QRadioButton(TD_("&Up"), this)), m_down(new QRadioButton(TD_("&Down"), this)),
      m_findNext(new QPushButton(TD_("&Find Next"), this)) {
    setWindowTitle(TD_("Find"));
    auto* label = new QLabel(TD_("Fi&nd what:"), this);
    label->setBuddy(m_text);
    m_down->setChecked(true);

    auto* direction = new QGroupBox(TD_("Direction"), this);
    auto* dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(m_up);
    dirLayout->addWidget(m_down);

    auto* cancel = new QPushButton(TD_("Cancel"), this);
    m_findNext->setDefault(true);
    m_findNext->setEnabled(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_text, 0, 1, 1, 2);
    grid->addWidget(m_findNext, 0, 3);
    auto* options = new QVBoxLayout;
    options->addWidget(m_wholeWord);
    options->addWidget(m_matchCase);
    options->addStretch();
    grid->addLayout(options, 1, 0, 1, 2);
    grid->addWidget(direction, 1, 2);
    grid->addWidget(cancel, 1, 3, Qt::AlignTop);

    connect(m_text, &QLineEdit::textChanged, this,
            [this](const QString& t) { m_findNext->setEnabled(!t.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, &TTextFindDialog::findNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TTextFindDialog::findText() const {
    return m_text->text();
}

void TTextFindDialog::setFindText(const QString& text) {
    m_text->setText(text);
}

bool TTextFindDialog::matchCase() const {
    return m_matchCase->isChecked();
}

bool TTextFindDialog::wholeWord() const {
    return m_wholeWord->isChecked();
}

bool TTextFindDialog::forward() const {
    return m_down->isChecked();
}

} // namespace orvel
