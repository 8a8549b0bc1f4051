#include "base/ui/HListBox.h"

#include "base/core/Errors.h"
#include "base/core/Translate.h"
#include "base/ui/QtDialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCompleter>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMetaMethod>
#include <QPaintEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

namespace orvel {

// ---------------------------------------------------------------------------------------
// THistoryMenu

THistoryMenu::THistoryMenu(THistoryList* list, QObject* parent)
    : QObject(parent), m_list(list), m_group(new QActionGroup(this)) {
    m_group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    connect(m_list, &THistoryList::changed, this, &THistoryMenu::rebuild);
    connect(m_list, &QObject::destroyed, this, [this] {
        m_list = nullptr;
        removeMirror();
        removeListMirror();
    });
}

THistoryMenu::~THistoryMenu() {
    removeMirror();
    removeListMirror();
}

void THistoryMenu::setMenu(QMenu* menu) {
    if (menu == m_menu)
        return;
    removeMirror();
    m_menu = menu;
    m_menuSizeBefore = menu ? int(menu->actions().size()) : 0;
    rebuild();
}

void THistoryMenu::setMenu2(QMenu* menu) {
    if (menu == m_menu2)
        return;
    removeMirror();
    m_menu2 = menu;
    rebuild();
}

void THistoryMenu::setStrList(QStringListModel* model) {
    if (model == m_strList)
        return;
    removeListMirror();
    m_strList = model;
    m_listSizeBefore = model ? model->rowCount() : 0;
    rebuildList();
}

void THistoryMenu::setShowHotKeys(bool on) {
    if (on == m_showHotKeys)
        return;
    m_showHotKeys = on;
    rebuild();
}

void THistoryMenu::setRadioMenu(bool on) {
    if (on == m_radioMenu)
        return;
    m_radioMenu = on;
    rebuild();
}

void THistoryMenu::setCheckedItem(const QString& text) {
    m_checkedItem = text;
    // Set on the items directly: a rebuild would take the old check mark back.
    for (QAction* a : std::as_const(m_actions))
        if (a->isCheckable())
            a->setChecked(a->data().toString().compare(text, Qt::CaseInsensitive) == 0);
}

bool THistoryMenu::SelectMenuItem(const QString& text) {
    const int i = m_list ? m_list->indexOf(text) : -1;
    if (i < 0)
        return false;
    setCheckedItem(m_list->at(i));
    return true;
}

void THistoryMenu::removeMirror() {
    for (QAction* a : std::as_const(m_actions)) {
        if (a->isChecked())
            m_checkedItem = a->data().toString();
        if (m_menu)
            m_menu->removeAction(a);
        m_group->removeAction(a);
        // The item may be the one whose choice led here.
        a->deleteLater();
    }
    m_actions.clear();
    if (m_separator) {
        if (m_menu)
            m_menu->removeAction(m_separator);
        m_separator->deleteLater();
        m_separator = nullptr;
    }
    m_separatorCount = 0;
    if (m_menu2)
        m_menu2->clear();
}

void THistoryMenu::rebuild() {
    removeMirror();
    if (m_menu && m_list) {
        if (m_menuSizeBefore > 0) {
            m_separator = new QAction(this);
            m_separator->setSeparator(true);
            m_menu->addAction(m_separator);
            m_separatorCount = 1;
        }
        for (int i = 0; i < m_list->count(); ++i) {
            const QString entry = m_list->at(i);
            auto* a = new QAction(historyMenuCaption(i, entry, m_showHotKeys), this);
            a->setData(entry);
            if (m_radioMenu) {
                a->setCheckable(true);
                m_group->addAction(a);
                a->setChecked(entry.compare(m_checkedItem, Qt::CaseInsensitive) == 0);
            }
            connect(a, &QAction::triggered, this, [this, a] { chosen(a); });
            m_menu->addAction(a);
            if (m_menu2)
                m_menu2->addAction(a);
            m_actions.append(a);
        }
    }
    rebuildList();
}

void THistoryMenu::removeListMirror() {
    if (m_strList && m_listRows > 0)
        m_strList->removeRows(m_listSizeBefore, m_listRows);
    m_listRows = 0;
}

void THistoryMenu::rebuildList() {
    removeListMirror();
    if (!m_strList || !m_list || m_list->count() == 0)
        return;
    // The model may have lost own rows since attaching.
    m_listSizeBefore = std::min(m_listSizeBefore, m_strList->rowCount());
    m_strList->insertRows(m_listSizeBefore, m_list->count());
    for (int i = 0; i < m_list->count(); ++i)
        m_strList->setData(m_strList->index(m_listSizeBefore + i), m_list->at(i));
    m_listRows = m_list->count();
}

void THistoryMenu::chosen(QAction* action) {
    if (action->isCheckable()) {
        action->setChecked(true);
        m_checkedItem = action->data().toString();
    }
    // The caption names the entry, as it does for copies in the second menu.
    const int index = historyMenuIndex(action->text());
    if (index < 0)
        return;
    static const QMetaMethod textSignal = QMetaMethod::fromSignal(&THistoryMenu::itemClicked);
    if (isSignalConnected(textSignal)) {
        if (m_list && index < m_list->count())
            Q_EMIT itemClicked(m_list->at(index));
        return;
    }
    Q_EMIT itemClickedIndex(index);
}

// ---------------------------------------------------------------------------------------
// THistoryCombo

THistoryCombo::THistoryCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // The history decides what the list holds, not the return key.
    setInsertPolicy(QComboBox::NoInsert);
    // A match without regard to case would replace what was typed by the entry's spelling.
    if (QCompleter* c = completer())
        c->setCaseSensitivity(Qt::CaseSensitive);
    lineEdit()->installEventFilter(this);
    connect(&m_history, &THistoryList::changed, this, &THistoryCombo::refresh);
    refresh();
}

void THistoryCombo::setReadOnly(bool on) {
    if (on == m_readOnly)
        return;
    m_readOnly = on;
    refresh();
}

int THistoryCombo::FindItem(const QString& text) const {
    const QStringList& items = m_history.items();
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i).startsWith(text, Qt::CaseInsensitive))
            return i;
    return -1;
}

void THistoryCombo::LoadFromIni(const QString& fileName, const QString& section) {
    m_iniFileName = fileName;
    m_iniSection = section;
    if (QFileInfo::exists(fileName))
        m_history.LoadFromIni(fileName, section);
}

void THistoryCombo::LoadFromIni(const TUnicodeIniFile& ini, const QString& section) {
    m_history.LoadFromIni(ini, section);
}

void THistoryCombo::SaveToIni(TUnicodeIniFile& ini, const QString& section, bool erase) {
    m_history.SaveToIni(ini, section, erase);
}

TStatus THistoryCombo::SaveToIni() {
    if (m_iniFileName.isEmpty() || m_iniSection.isEmpty())
        return TStatus();
    return m_history.SaveToIni(m_iniFileName, m_iniSection, m_eraseSection);
}

void THistoryCombo::refresh() {
    const QString text = currentText();
    {
        // The text stays what it was, so nobody needs to hear of the rebuild.
        const QSignalBlocker block(this);
        clear();
        for (int i = 0; i < m_history.count(); ++i)
            addItem(m_history.at(i), m_history.objectAt(i));
        setCurrentIndex(-1);
        setEditText(text);
    }
    lineEdit()->setReadOnly(m_readOnly);
    if (m_dropDownShown != hasDropDown()) {
        m_dropDownShown = hasDropDown();
        // Lets the box lay out its edit field anew.
        QResizeEvent re(size(), size());
        QCoreApplication::sendEvent(this, &re);
        update();
    }
}

void THistoryCombo::placeEditField() {
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    QRect r =
        style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    // Where the arrow was, with the margin the field keeps on its left.
    r.setRight(rect().right() - (r.left() - rect().left()));
    if (lineEdit()->geometry() != r)
        lineEdit()->setGeometry(r);
}

bool THistoryCombo::eventFilter(QObject* watched, QEvent* e) {
    // The box puts its edit field beside the arrow whenever it lays itself out.
    if (watched == lineEdit() && !m_dropDownShown &&
        (e->type() == QEvent::Move || e->type() == QEvent::Resize))
        placeEditField();
    return QComboBox::eventFilter(watched, e);
}

void THistoryCombo::paintEvent(QPaintEvent* e) {
    if (m_dropDownShown) {
        QComboBox::paintEvent(e);
        return;
    }
    // Drawn as a plain edit field.
    QStylePainter painter(this);
    QStyleOptionFrame opt;
    opt.initFrom(this);
    opt.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, this);
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    if (m_readOnly)
        opt.state |= QStyle::State_ReadOnly;
    painter.drawPrimitive(QStyle::PE_PanelLineEdit, opt);
}

void THistoryCombo::showPopup() {
    if (hasDropDown())
        QComboBox::showPopup();
}

void THistoryCombo::focusInEvent(QFocusEvent* e) {
    QComboBox::focusInEvent(e);
    if (m_entered)
        return;
    m_entered = true;
    if (!m_modified)
        m_saveText = currentText();
}

void THistoryCombo::focusOutEvent(QFocusEvent* e) {
    QComboBox::focusOutEvent(e);
    // The drop-down or another window taking the focus for a while is no leaving.
    if (!m_entered || e->reason() == Qt::PopupFocusReason ||
        e->reason() == Qt::ActiveWindowFocusReason || QApplication::activePopupWidget())
        return;
    m_entered = false;
    const QString text = currentText();
    if (text.compare(m_saveText, Qt::CaseInsensitive) != 0)
        m_modified = true;
    if (m_autoUpdate)
        m_history.AddString(text);
}

void THistoryCombo::keyPressEvent(QKeyEvent* e) {
    // Without a drop-down the keys that step through the items do nothing, as in an edit.
    if (!hasDropDown()) {
        switch (e->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            e->ignore();
            return;
        default:
            break;
        }
    }
    QComboBox::keyPressEvent(e);
}

void THistoryCombo::wheelEvent(QWheelEvent* e) {
    if (!hasDropDown()) {
        e->ignore();
        return;
    }
    QComboBox::wheelEvent(e);
}

// ---------------------------------------------------------------------------------------
// TEditHistListDialog

namespace {
bool askTextInBox(QWidget* parent, const QString& title, const QPoint& pos, QString& text) {
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(text);
    box.adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(pos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        box.move(placeOnScreen(pos, box.size(), screen->availableGeometry()));
    if (box.exec() != QDialog::Accepted)
        return false;
    text = box.textValue();
    return true;
}
} // namespace

TEditHistListDialog::TEditHistListDialog(QWidget* parent)
    : QDialog(parent), m_askText(askTextInBox), m_description(new QLabel(this)),
      m_listBox(new QListWidget(this)), m_upButton(new QToolButton(this)),
      m_downButton(new QToolButton(this)), m_removeButton(new QPushButton(TD_("Remove"), this)),
      m_editButton(new QPushButton(TD_("Edit"), this)) {
    setWindowTitle(TD_("Edit list entries"));
    m_description->setWordWrap(true);
    m_listBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_upButton->setArrowType(Qt::UpArrow);
    m_upButton->setToolTip(TD_("Move item up"));
    m_downButton->setArrowType(Qt::DownArrow);
    m_downButton->setToolTip(TD_("Move item down"));
    m_upButton->setObjectName(QStringLiteral("moveUp"));
    m_downButton->setObjectName(QStringLiteral("moveDown"));
    m_removeButton->setObjectName(QStringLiteral("remove"));
    m_editButton->setObjectName(QStringLiteral("edit"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* side = new QVBoxLayout;
    side->addWidget(m_upButton);
    side->addWidget(m_downButton);
    side->addSpacing(8);
    side->addWidget(m_removeButton);
    side->addWidget(m_editButton);
    side->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_listBox, 1);
    middle->addLayout(side);
    auto* all = new QVBoxLayout(this);
    all->addWidget(m_description);
    all->addLayout(middle, 1);
    all->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_upButton, &QToolButton::clicked, this, &TEditHistListDialog::moveUp);
    connect(m_downButton, &QToolButton::clicked, this, &TEditHistListDialog::moveDown);
    connect(m_removeButton, &QPushButton::clicked, this, &TEditHistListDialog::removeItems);
    connect(m_editButton, &QPushButton::clicked, this, &TEditHistListDialog::editItem);
    connect(m_listBox, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_allowEdit)
            editItem();
    });
    connect(m_listBox, &QListWidget::itemSelectionChanged, this,
            &TEditHistListDialog::updateButtons);
    setup(QPoint(-1, -1), QString(), -1, false, false, {}, QString());
}

TEditHistListDialog::~TEditHistListDialog() = default;

bool TEditHistListDialog::Execute(const QPoint& position, const QString& title, int& index,
                                  bool allowEdit, bool allowDelete, QStringList& texts,
                                  const QString& description, QList<QVariant>* objects) {
    setup(position, title, index, allowEdit, allowDelete, texts, description,
          objects ? *objects : QList<QVariant>());
    return finish(exec() == QDialog::Accepted, index, texts, objects);
}

void TEditHistListDialog::setup(const QPoint& position, const QString& title, int index,
                                bool allowEdit, bool allowDelete, const QStringList& texts,
                                const QString& description, const QList<QVariant>& objects) {
    m_model = std::make_unique<TEditListModel>(texts, objects, index);
    m_allowEdit = allowEdit;
    setWindowTitle(title.isEmpty() ? TD_("Edit list entries") : title);
    m_description->setText(description);
    m_description->setVisible(!description.isEmpty());
    m_removeButton->setVisible(allowDelete);
    m_editButton->setVisible(allowEdit);
    fill();

    adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(position);
    if (!screen)
        screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(placeOnScreen(position, frameGeometry().size(), screen->availableGeometry()));
}

bool TEditHistListDialog::finish(bool accepted, int& index, QStringList& texts,
                                 QList<QVariant>* objects) {
    if (!accepted)
        return false;
    takeSelection();
    texts = m_model->texts();
    if (objects)
        *objects = m_model->objects();
    index = m_model->resultIndex(m_allowEdit);
    return true;
}

void TEditHistListDialog::takeSelection() {
    QList<int> rows;
    for (int i = 0; i < m_listBox->count(); ++i)
        if (m_listBox->item(i)->isSelected())
            rows.append(i);
    m_model->setSelection(rows, m_listBox->currentRow());
}

void TEditHistListDialog::fill() {
    const QSignalBlocker block(m_listBox);
    m_listBox->clear();
    for (int i = 0; i < m_model->count(); ++i) {
        auto* item = new QListWidgetItem(m_model->text(i), m_listBox);
        item->setData(Qt::UserRole, m_model->object(i));
    }
    const int current = m_model->current();
    if (current >= 0)
        m_listBox->setCurrentRow(current, QItemSelectionModel::NoUpdate);
    for (int row : m_model->selection())
        m_listBox->item(row)->setSelected(true);
    updateButtons();
}

void TEditHistListDialog::updateButtons() {
    const bool any = !m_listBox->selectedItems().isEmpty();
    m_upButton->setEnabled(any);
    m_downButton->setEnabled(any);
    m_removeButton->setEnabled(any);
    m_editButton->setEnabled(any);
}

void TEditHistListDialog::removeItems() {
    takeSelection();
    if (m_model->removeSelected())
        fill();
}

void TEditHistListDialog::moveUp() {
    takeSelection();
    if (m_model->moveUp())
        fill();
}

void TEditHistListDialog::moveDown() {
    takeSelection();
    if (m_model->moveDown())
        fill();
}

void TEditHistListDialog::editItem() {
    takeSelection();
    const int row = m_model->current();
    if (row < 0)
        return;
    QString text = m_model->text(row);
    const QPoint below = m_editButton->mapToGlobal(QPoint(0, m_editButton->height()));
    if (!m_askText(this, TD_("Edit item"), below, text) || text == m_model->text(row))
        return;
    if (m_model->duplicateOf(row, text) >= 0) {
        if (!m_dialogs) {
            auto* real = new TQtDialogs;
            real->setParentWidget(this);
            m_ownDialogs.reset(real);
            m_dialogs = real;
        }
        m_dialogs->error(windowTitle(), fmt(TD_("Item \"%s\" already exists!"), {text}));
        return;
    }
    if (m_model->rename(row, text))
        fill();
}

} // namespace orvel
