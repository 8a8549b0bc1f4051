#pragma once
// The frame every picker shares: it opens near the position it is given and lies fully on
// the screen, also once the window manager has added its frame.

#include "dialogs/core/ElementDialogs.h"

#include <QDialog>

class QDialogButtonBox;

namespace orvel {

class TPickerDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPickerDialog(QWidget* parent);

    // Sizes the dialog for its contents and puts it at the position (see TOpenAt); `below`
    // is how far under the mouse pointer it opens when no position is given.
    void placeAt(const TOpenAt& at, int below = 0);

protected:
    // OK and Cancel, bound to accept and reject.
    QDialogButtonBox* okCancelButtons();
    void showEvent(QShowEvent* event) override;

private:
    QPoint m_pos{-1, -1};
};

} // namespace orvel
