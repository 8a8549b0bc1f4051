#include "dialogs/ui/PickerDialog.h"

#include "base/ui/WindowPlace.h"

#include <QCursor>
#include <QDialogButtonBox>
#include <QTimer>

namespace orvel {

TPickerDialog::TPickerDialog(QWidget* parent) : QDialog(parent) {
}

QDialogButtonBox* TPickerDialog::okCancelButtons() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

void TPickerDialog::placeAt(const TOpenAt& at, int below) {
    adjustSize();
    m_pos = at ? *at : QCursor::pos() + QPoint(0, below);
    placeWindow(this, m_pos);
}

void TPickerDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The frame the window manager adds is known only now: keep the whole of it on screen.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            placeWindow(this, m_pos);
    });
}

} // namespace orvel
