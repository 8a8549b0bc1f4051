#pragma once
// "HTML special characters": picks one entity of the character table.

#include <QDialog>
#include <QPoint>
#include <QString>

class QComboBox;
class QTreeWidget;

namespace orvel {

class IDialogs;
class THtmlCharTable;

class THtmlCharDialog : public QDialog {
    Q_OBJECT
public:
    // table may be null: Execute then reports that none is loaded.
    THtmlCharDialog(const THtmlCharTable* table, IDialogs& dialogs, QWidget* parent = nullptr);

    // Shows the dialog at a screen position; true with the chosen entity in AHtmlStr.
    bool Execute(QPoint Pos, QString& AHtmlStr);
    // Execute without its event loop: reports a missing table (false) or fills and places
    // the dialog (true).
    bool prepare(QPoint Pos);
    // The HTML name of the selected row; empty when none.
    QString selectedName() const;

    QComboBox* groupBox() const { return m_groups; }
    QTreeWidget* list() const { return m_list; }

private:
    void fillList();

    const THtmlCharTable* m_table;
    IDialogs& m_dialogs;
    QComboBox* m_groups = nullptr;
    QTreeWidget* m_list = nullptr;
};

} // namespace orvel
