#pragma once
// The choice of a project at start: open one of the list, another project file, or a new one.

#include "projects/core/ProjectDialogs.h"

#include <QDialog>
#include <QStringList>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace orvel {

class TSelectProjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSelectProjectDialog(QWidget* parent = nullptr);

    // A TSelectProjectResult; on spOpen index becomes the list index of the chosen project.
    // names are in list order, index is the project selected at the start.
    int Execute(const QString& caption, const QStringList& names, int& index);

    // Execute in two halves, for callers (and tests) that run the dialog themselves.
    void setup(const QString& caption, const QStringList& names, int index);
    // code is the dialog's result (0 reads as spCancel); returns the TSelectProjectResult.
    int finish(int code, int& index) const;

    // The list index of the selected entry, -1 without one.
    int selectedIndex() const;
    // The names as the list shows them now.
    QStringList shownNames() const;
    // Alphabetical (without regard to case) or list order; the selection stays.
    void setSorted(bool alphabetical);

    QListWidget* listWidget() const { return m_list; }
    QRadioButton* alphabeticalButton() const { return m_alpha; }
    QRadioButton* unsortedButton() const { return m_unsorted; }
    QPushButton* openButton() const { return m_open; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* otherButton() const { return m_other; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    void fill(int index);
    void updateButtons();

    QStringList m_names;
    QListWidget* m_list;
    QRadioButton* m_alpha;
    QRadioButton* m_unsorted;
    QPushButton* m_open;
    QPushButton* m_new;
    QPushButton* m_other;
    QPushButton* m_cancel;
};

} // namespace orvel
