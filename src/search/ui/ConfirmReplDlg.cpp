#include "search/ui/ConfirmReplDlg.h"

#include "base/core/Translate.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orvel {

TConfirmReplDialog::TConfirmReplDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(TD_("Confirm replacement"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);
    row->addWidget(icon);
    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("lblPrompt"));
    m_prompt->setTextFormat(Qt::PlainText);
    // Two lines are designed for; a long search text must not make the dialog screen-wide.
    m_prompt->setWordWrap(true);
    m_prompt->setMinimumWidth(300);
    row->addWidget(m_prompt, 1);
    layout->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto add = [&](const char* caption, const char* name, TReplaceAction action) {
        auto* b = new QPushButton(TD_(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, action] { answer(action); });
        return b;
    };
    add(N_("&Yes"), "btnYes", raReplace)->setDefault(true);
    add(N_("&No"), "btnNo", raSkip);
    add(N_("&All"), "btnAll", raReplaceAll);
    // Cancel, Esc and closing the window all leave fResult at raCancel.
    add(N_("Cancel"), "btnCancel", raCancel);
    layout->addLayout(buttons);
}

void TConfirmReplDialog::answer(TReplaceAction action) {
    if (action == raCancel) {
        reject();
        return;
    }
    fResult = action;
    accept();
}

void TConfirmReplDialog::setPrompt(const QString& prompt) {
    m_prompt->setText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    adjustSize();
}

TReplaceAction TConfirmReplDialog::Execute(QPoint pos, const QString& prompt) {
    fResult = raCancel;
    setPrompt(prompt);
    move(pos);
    return exec() == QDialog::Accepted ? fResult : raCancel;
}

} // namespace orvel
