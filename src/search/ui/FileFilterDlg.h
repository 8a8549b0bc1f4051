#pragma once
// The editor of a file dialog's filter: description and pattern pairs in a grid.

#include "search/core/FileFilterList.h"

#include <QDialog>

class QLineEdit;
class QTableWidget;

namespace orvel {

class TFileFilterDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFileFilterDialog(QWidget* parent = nullptr);

    // Edits filter; true and the rebuilt filter on OK, filter unchanged on Cancel. An empty
    // caption gives "File filter dialog".
    bool Execute(const QString& caption, QString& filter);

    // Loads the filter without showing the dialog (also what Execute starts with).
    void setFilter(const QString& filter);
    // The filter the rows make now.
    QString filter() const { return m_list.filter(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRows();
    void select(int row);
    TFilterRow fields() const;

    TFileFilterList m_list;
    int m_current = 0;
    QTableWidget* m_grid;
    QLineEdit* m_description;
    QLineEdit* m_pattern;
};

} // namespace orvel
