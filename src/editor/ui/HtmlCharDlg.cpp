#include "editor/ui/HtmlCharDlg.h"

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "editor/core/HtmlChars.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace orvel {

THtmlCharDialog::THtmlCharDialog(const THtmlCharTable* table, IDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_table(table), m_dialogs(dialogs) {
    setWindowTitle(T_("HTML special characters"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(T_("Group:"), this);
    m_groups = new QComboBox(this);
    label->setBuddy(m_groups);
    row->addWidget(label);
    row->addWidget(m_groups, 1);
    layout->addLayout(row);

    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({T_("Description"), T_("HTML name")});
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(m_list, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!selectedName().isEmpty())
            accept();
    });

    if (m_table) {
        for (const THtmlCharGroup& g : m_table->groups())
            m_groups->addItem(g.FGroupName);
    }
    connect(m_groups, &QComboBox::currentIndexChanged, this, [this] { fillList(); });
    resize(420, 420);
}

void THtmlCharDialog::fillList() {
    m_list->clear();
    const int g = m_groups->currentIndex();
    if (!m_table || g < 0 || g >= m_table->groups().size())
        return;
    QList<QTreeWidgetItem*> items;
    for (const THtmlChar& c : m_table->groups()[g].FChars) {
        if (c.Desc.isEmpty())
            continue;
        items.append(new QTreeWidgetItem(QStringList{c.Desc, c.Name}));
    }
    m_list->addTopLevelItems(items);
    m_list->sortItems(0, Qt::AscendingOrder);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

bool THtmlCharDialog::prepare(QPoint Pos) {
    if (!m_table || m_table->isEmpty()) {
        m_dialogs.error(windowTitle(), T_("No character table loaded!"));
        return false;
    }
    if (m_groups->currentIndex() < 0)
        m_groups->setCurrentIndex(0);
    else if (m_list->topLevelItemCount() == 0)
        fillList();
    // Keep the whole dialog on the screen that holds the position.
    QRect frame(Pos, size());
    if (QScreen* screen = QGuiApplication::screenAt(Pos)) {
        const QRect avail = screen->availableGeometry();
        frame.moveRight(std::min(frame.right(), avail.right()));
        frame.moveBottom(std::min(frame.bottom(), avail.bottom()));
        frame.moveLeft(std::max(frame.left(), avail.left()));
        frame.moveTop(std::max(frame.top(), avail.top()));
    }
    move(frame.topLeft());
    return true;
}

QString THtmlCharDialog::selectedName() const {
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->text(1) : QString();
}

bool THtmlCharDialog::Execute(QPoint Pos, QString& AHtmlStr) {
    if (!prepare(Pos))
        return false;
    if (exec() != QDialog::Accepted)
        return false;
    AHtmlStr = selectedName();
    return !AHtmlStr.isEmpty();
}

} // namespace orvel
