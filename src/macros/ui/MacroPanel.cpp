#include "macros/ui/MacroPanel.h"

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvel {

namespace {
QVBoxLayout* tightColumn(QWidget* w) {
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    return layout;
}
} // namespace

TMacroPanel::TMacroPanel(IMacroHost& host, QWidget* parent)
    : QWidget(parent), m_host(host), m_model(new TMacroList(this)) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->setChildrenCollapsible(false);
    outer->addWidget(m_split);

    auto* left = new QWidget(m_split);
    QVBoxLayout* leftLayout = tightColumn(left);
    m_toolBar = new QToolBar(left);
    m_toolBar->setIconSize(QSize(16, 16));
    leftLayout->addWidget(m_toolBar);
    auto* listLabel = new QLabel(T_("Macros:"), left);
    leftLayout->addWidget(listLabel);
    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(2);
    m_list = new QListView(left);
    m_list->setModel(m_model);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    listLabel->setBuddy(m_list);
    listRow->addWidget(m_list, 1);
    auto* arrows = new QVBoxLayout;
    m_upButton = new QToolButton(left);
    m_upButton->setArrowType(Qt::UpArrow);
    m_downButton = new QToolButton(left);
    m_downButton->setArrowType(Qt::DownArrow);
    arrows->addWidget(m_upButton);
    arrows->addWidget(m_downButton);
    arrows->addStretch(1);
    listRow->addLayout(arrows);
    leftLayout->addLayout(listRow, 1);

    auto* right = new QWidget(m_split);
    QVBoxLayout* rightLayout = tightColumn(right);
    auto* previewLabel = new QLabel(T_("Preview:"), right);
    m_preview = new QPlainTextEdit(right);
    m_preview->setReadOnly(true);
    m_preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_preview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Snippets are code: fixed pitch, and tabs as wide as a few characters, not 80 pixels.
    m_preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_preview->setTabStopDistance(4 * m_preview->fontMetrics().horizontalAdvance(u' '));
    previewLabel->setBuddy(m_preview);
    rightLayout->addWidget(previewLabel);
    rightLayout->addWidget(m_preview, 1);
    m_split->addWidget(left);
    m_split->addWidget(right);
    m_split->setStretchFactor(0, 0);
    m_split->setStretchFactor(1, 1);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { showPreview(); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { macroInsert(); });
    m_list->installEventFilter(this);
    m_preview->installEventFilter(this);
}

void TMacroPanel::setActions(const TMacroActions& actions) {
    m_actions = actions;
    const struct {
        QAction* action;
        const char* theme;
        QStyle::StandardPixmap fallback;
    } buttons[] = {
        {actions.newMacro, "document-new", QStyle::SP_FileIcon},
        {actions.replace, "document-save", QStyle::SP_DialogSaveButton},
        {actions.insert, "edit-paste", QStyle::SP_DialogApplyButton},
        {actions.rename, "edit-rename", QStyle::SP_FileDialogDetailedView},
        {actions.remove, "edit-delete", QStyle::SP_TrashIcon},
        {actions.edit, "document-edit", QStyle::SP_FileDialogContentsView},
    };
    m_toolBar->clear();
    for (const auto& b : buttons) {
        if (!b.action)
            continue;
        if (b.action->icon().isNull())
            b.action->setIcon(
                QIcon::fromTheme(QString::fromLatin1(b.theme), style()->standardIcon(b.fallback)));
        m_toolBar->addAction(b.action);
    }
    if (actions.edit)
        actions.edit->setCheckable(true);
    const auto arrow = [](QToolButton* button, QAction* action, const QString& hint,
                          Qt::ArrowType type) {
        if (action)
            button->setDefaultAction(action);
        button->setArrowType(type);
        button->setToolTip(hint);
    };
    arrow(m_upButton, actions.up, T_("Move macro up "), Qt::UpArrow);
    arrow(m_downButton, actions.down, T_("Move macro down "), Qt::DownArrow);
    // The list side never gets narrower than its six buttons.
    m_split->widget(0)->setMinimumWidth(m_toolBar->sizeHint().width() + 6);
}

TStatus TMacroPanel::load(const QString& fileName) {
    setEditing(false);
    TStatus loaded = m_model->load(fileName);
    setSelected(m_model->count() > 0 ? 0 : -1);
    return loaded;
}

TStatus TMacroPanel::save(const QString& fileName) {
    setEditing(false);
    return m_model->save(fileName);
}

int TMacroPanel::current() const {
    const QModelIndex i = m_list->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TMacroPanel::setCurrent(int row) {
    setSelected(row);
}

void TMacroPanel::setSelected(int row) {
    if (row >= 0 && row < m_model->count())
        m_list->setCurrentIndex(m_model->index(row));
    else
        m_list->setCurrentIndex(QModelIndex());
    showPreview();
}

void TMacroPanel::showPreview() {
    const int row = current();
    m_preview->setPlainText(row >= 0 ? m_model->at(row).text : QString());
}

QPoint TMacroPanel::promptPlace(QAction* action) const {
    QWidget* button = action ? m_toolBar->widgetForAction(action) : nullptr;
    if (button && button->isVisible())
        return button->mapToGlobal(QPoint(0, button->height()));
    return QCursor::pos();
}

bool TMacroPanel::confirm(const QString& text) {
    // Title and text given apart, so that a "|" in a name stays in the text.
    const QString title = m_host.mainCaption();
    return m_host.dialogs().ask(title, title + u'|' + text, mbYes | mbNo, mrYes) == mrYes;
}

QString TMacroPanel::selectionText(TEditorControl** editor) const {
    TEditorControl* ed = m_host.activeEditor();
    if (editor)
        *editor = ed;
    if (!ed || !ed->hasSelection())
        return QString();
    return macroText(ed->selText());
}

void TMacroPanel::macroNew() {
    const QString text = selectionText(nullptr);
    if (text.isEmpty())
        return;
    setEditing(false);
    QStringList names = m_model->names();
    names.sort(Qt::CaseInsensitive);
    QString name;
    if (!m_host.inputName(T_("New text macro"), T_("Description:"), names,
                          promptPlace(m_actions.newMacro), name))
        return;
    const int existing = m_model->find(name);
    if (existing < 0) {
        const TResult<int> added = m_model->add(name, text);
        if (!added.ok())
            return m_host.dialogs().error(m_host.mainCaption(), added.error());
        setSelected(added.value());
        return;
    }
    setSelected(existing);
    if (confirm(fmt(T_("Replace text macro \"%s\"?"), {name.trimmed()}))) {
        TStatus renamed = m_model->rename(existing, name);
        Q_UNUSED(renamed); // the name was found, so it is not blank
        m_model->setText(existing, text);
    }
    showPreview();
}

void TMacroPanel::macroReplace() {
    const QString text = selectionText(nullptr);
    if (text.isEmpty())
        return;
    if (m_model->count() == 0)
        return macroNew();
    const int row = current();
    if (row < 0)
        return;
    setEditing(false);
    if (confirm(fmt(T_("Replace text macro \"%s\"?"), {m_model->at(row).name})))
        m_model->setText(row, text);
    showPreview();
}

void TMacroPanel::macroInsert() {
    TEditorControl* editor = m_host.activeEditor();
    const int row = current();
    if (!editor || row < 0)
        return;
    if (m_editing)
        setEditing(false);
    if (editor->readOnly())
        return m_host.dialogs().beep();
    editor->setSelText(macroTextFor(m_model->at(row).text, editor->lineBreak()));
    editor->focusText();
}

void TMacroPanel::macroRename() {
    const int row = current();
    if (row < 0)
        return;
    setEditing(false);
    QString name = m_model->at(row).name;
    if (!m_host.inputName(T_("Rename text macro"), T_("New description:"), {},
                          promptPlace(m_actions.rename), name))
        return;
    const TStatus renamed = m_model->rename(row, name);
    if (!renamed.ok())
        m_host.dialogs().error(m_host.mainCaption(), renamed.error());
}

void TMacroPanel::macroDelete() {
    const int row = current();
    if (row < 0)
        return;
    setEditing(false);
    if (!confirm(fmt(T_("Delete text macro \"%s\"?"), {m_model->at(row).name})))
        return;
    setSelected(m_model->remove(row));
}

void TMacroPanel::macroEdit() {
    setEditing(m_actions.edit ? m_actions.edit->isChecked() : !m_editing);
}

void TMacroPanel::macroUp() {
    const int row = current();
    setEditing(false);
    if (m_model->move(row, -1))
        setSelected(row - 1);
}

void TMacroPanel::macroDown() {
    const int row = current();
    setEditing(false);
    if (m_model->move(row, 1))
        setSelected(row + 1);
}

void TMacroPanel::setPanelShown(bool shown) {
    if (!shown)
        setEditing(false);
}

void TMacroPanel::setEditing(bool on) {
    if (on && current() < 0)
        on = false; // nothing to edit
    const bool was = m_editing;
    m_editing = on;
    if (m_actions.edit && m_actions.edit->isChecked() != on)
        m_actions.edit->setChecked(on);
    m_preview->setReadOnly(!on);
    if (on && !was) {
        m_preview->setFocus();
    } else if (!on && was) {
        const int row = current();
        if (row >= 0)
            m_model->setText(row, m_preview->toPlainText());
    }
}

bool TMacroPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_preview && event->type() == QEvent::FocusOut && m_editing) {
        // Leaving the preview keeps its text; a context menu of its own does not leave it.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason) {
            setEditing(false);
            if (reason == Qt::ActiveWindowFocusReason)
                m_list->setFocus();
        }
    } else if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            macroInsert();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvel
