#pragma once
// The property list picker ("Select property"): one item of a short list of values.

#include "dialogs/ui/PickerDialog.h"

class QLabel;
class QListWidget;

namespace orvel {

class TStyleDialog : public TPickerDialog {
    Q_OBJECT
public:
    explicit TStyleDialog(QWidget* parent = nullptr);

    // The prompt is caption; the first item starts selected. style receives the item on OK.
    bool Execute(const TOpenAt& at, const QString& caption, const QStringList& items,
                 QString& style);

    void setup(const QString& caption, const QStringList& items);
    QString chosenItem() const;
    QListWidget* list() const { return m_list; }

private:
    QLabel* m_prompt;
    QListWidget* m_list;
};

} // namespace orvel
