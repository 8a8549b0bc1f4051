#pragma once
// The small list picker ("Select item from list"): a description line, the list, and
// besides OK and Cancel an optional button for typing a name instead.

#include "dialogs/ui/PickerDialog.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace orvel {

enum TSelectResult : int { srOK, srCancel, srPrompt };

class TSelectFromListDialog : public TPickerDialog {
    Q_OBJECT
public:
    explicit TSelectFromListDialog(QWidget* parent = nullptr);

    // Shows items with the entry equal to text preselected; on OK text is the selected
    // entry (empty when none is). An empty prompt offers no third button; its result means
    // the user wants to type a name. hint is the list's tooltip.
    TSelectResult Select(const TOpenAt& at, const QString& title, const QString& description,
                         const QString& hint, const QString& prompt, const QStringList& items,
                         QString& text);

    void setup(const QString& title, const QString& description, const QString& hint,
               const QString& prompt, const QStringList& items, const QString& text);
    QListWidget* list() const { return m_list; }
    QPushButton* promptButton() const { return m_prompt; }
    QString selected() const;

private:
    QLabel* m_description;
    QListWidget* m_list;
    QPushButton* m_prompt;
    bool m_promptPressed = false;
};

} // namespace orvel
