#include "projects/ui/PwdDlg.h"

#include "base/core/Translate.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace orvel {

TPasswordDialog::TPasswordDialog(QWidget* parent)
    : QDialog(parent), m_prompt(new QLabel(this)), m_edit(new QLineEdit(this)),
      m_skip(new QPushButton(TD_("Skip"), this)),
      m_depth(new QGroupBox(TD_("AES encryption depth:"), this)),
      m_bits128(new QRadioButton(TD_("128 bit"), m_depth)),
      m_bits256(new QRadioButton(TD_("256 bit"), m_depth)),
      m_auto(new QRadioButton(TD_("Automatic"), m_depth)) {
    QFont bold = m_prompt->font();
    bold.setBold(true);
    m_prompt->setFont(bold);
    m_prompt->setTextFormat(Qt::PlainText);

    auto* boxLabel = new QLabel(TD_("Password:"), this);
    boxLabel->setBuddy(m_edit);
    m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    m_edit->setObjectName(QStringLiteral("password"));

    auto* paste = new QPushButton(TD_("Paste from clipboard"), this);
    paste->setObjectName(QStringLiteral("paste"));
    paste->setAutoDefault(false);
    connect(paste, &QPushButton::clicked, this, &TPasswordDialog::PasteClick);

    auto* depthLayout = new QHBoxLayout(m_depth);
    depthLayout->addWidget(m_bits128);
    depthLayout->addWidget(m_bits256);
    depthLayout->addWidget(m_auto);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(TD_("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(TD_("Cancel"), QDialogButtonBox::RejectRole);
    buttons->addButton(m_skip, QDialogButtonBox::ActionRole);
    ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    m_skip->setObjectName(QStringLiteral("skip"));
    ok->setDefault(true);
    m_skip->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] { done(prOK); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(prCancel); });
    connect(m_skip, &QPushButton::clicked, this, [this] { done(prSkip); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(boxLabel);
    auto* row = new QHBoxLayout;
    row->addWidget(m_edit, 1);
    row->addWidget(paste);
    layout->addLayout(row);
    layout->addWidget(m_depth);
    layout->addWidget(buttons);
    // The dialog widens to the prompt and never shrinks below it.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    m_edit->setMinimumWidth(240);
}

void TPasswordDialog::setup(const QString& title, const QString& prompt, bool offerSkip,
                            bool offerDepth, int mode) {
    setWindowTitle(title);
    m_prompt->setText(prompt);
    m_prompt->setVisible(!prompt.isEmpty());
    m_edit->clear();
    m_skip->setVisible(offerSkip);
    m_depth->setVisible(offerDepth);
    (mode == 1 ? m_bits128 : mode == 3 ? m_bits256 : m_auto)->setChecked(true);
    m_edit->setFocus();
    m_answer = prCancel;
    adjustSize();
}

QString TPasswordDialog::password() const {
    return m_edit->text();
}

int TPasswordDialog::mode() const {
    return m_bits128->isChecked() ? 1 : m_bits256->isChecked() ? 3 : 0;
}

void TPasswordDialog::PasteClick() {
    m_edit->clear();
    m_edit->paste();
    m_edit->setFocus();
}

void TPasswordDialog::place(QPoint pos) {
    if (pos.x() >= 0 && pos.y() >= 0) {
        move(pos);
        return;
    }
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area = owner ? owner->frameGeometry() : QRect();
    if (area.isEmpty() || (owner && !owner->isVisible())) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    }
    move(area.center() - rect().center());
}

int TPasswordDialog::run(QPoint pos) {
    place(pos);
    const int code = exec();
    m_answer = code == prOK || code == prSkip ? code : int(prCancel);
    return m_answer;
}

int TPasswordDialog::Execute(const QString& title, const QString& prompt, QString& pwd) {
    setup(title, prompt, false, false, 0);
    if (run(QPoint(-1, -1)) == prOK)
        pwd = password();
    return m_answer;
}

int TPasswordDialog::Execute(QPoint pos, const QString& title, const QString& prompt,
                             bool offerSkip, bool offerDepth, QString& pwd, int& mode) {
    setup(title, prompt, offerSkip, offerDepth, mode);
    if (run(pos) == prOK) {
        pwd = password();
        if (offerDepth)
            mode = this->mode();
    }
    return m_answer;
}

} // namespace orvel
