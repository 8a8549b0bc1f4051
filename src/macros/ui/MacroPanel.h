#pragma once
// The text macro panel above the documents: the list of macros with their toolbar, and a
// preview of the selected macro's text that can be switched to editing.

#include "macros/core/MacroList.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

class QAction;
class QLabel;
class QListView;
class QPlainTextEdit;
class QSplitter;
class QToolBar;
class QToolButton;

namespace orvel {

class IDialogs;
class TEditorControl;

// What the panel needs from the main window.
class IMacroHost {
public:
    virtual ~IMacroHost() = default;
    // Questions and error messages.
    virtual IDialogs& dialogs() = 0;
    // The one-line text input, opened at a screen point, its drop-down offering the texts
    // given (none: a plain field); false on Cancel.
    virtual bool inputName(const QString& caption, const QString& prompt, const QStringList& offers,
                           QPoint at, QString& name) = 0;
    // The active document's editor; null when no document is open.
    virtual TEditorControl* activeEditor() = 0;
    // "Orvel (Version x.y.z)": the title of the panel's questions.
    virtual QString mainCaption() const = 0;
};

// The main window's macro commands, which the panel shows on its buttons.
struct TMacroActions {
    QAction* newMacro = nullptr;
    QAction* replace = nullptr;
    QAction* insert = nullptr;
    QAction* rename = nullptr;
    QAction* remove = nullptr;
    QAction* edit = nullptr; // checkable: down while the preview is editable
    QAction* up = nullptr;
    QAction* down = nullptr;
};

class TMacroPanel : public QWidget {
    Q_OBJECT
public:
    explicit TMacroPanel(IMacroHost& host, QWidget* parent = nullptr);

    TMacroList* model() const { return m_model; }
    // The list side | preview side splitter; its first size is the stored "MacroSplit".
    QSplitter* splitter() const { return m_split; }
    // Puts the commands on the toolbar and the arrow buttons; Edit becomes checkable.
    void setActions(const TMacroActions& actions);

    // Start-up: the file's macros, the first one selected.
    TStatus load(const QString& fileName);
    // Exit: a text being edited is kept, then the file is written if the list changed.
    TStatus save(const QString& fileName);

    // The selected macro's row; -1 for none.
    int current() const;
    void setCurrent(int row);
    bool isEditing() const { return m_editing; }

    // The command handlers.
    void macroNew();
    void macroReplace();
    void macroInsert();
    void macroRename();
    void macroDelete();
    // Follows the Edit command's check state (without the action: toggles).
    void macroEdit();
    void macroUp();
    void macroDown();
    // The panel was shown or hidden: hidden, the preview stops editing.
    void setPanelShown(bool shown);

    // Switches the preview to editing, or back (storing its text in the selected macro).
    void setEditing(bool on);

    QListView* listView() const { return m_list; }
    QPlainTextEdit* preview() const { return m_preview; }
    QToolBar* toolBar() const { return m_toolBar; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPreview();
    // Where a prompt of a command opens: below its button, or at the mouse pointer.
    QPoint promptPlace(QAction* action) const;
    bool confirm(const QString& text);
    // The selection of the active document as macro text; empty when there is none.
    QString selectionText(TEditorControl** editor) const;
    void setSelected(int row);

    IMacroHost& m_host;
    TMacroList* m_model;
    QSplitter* m_split;
    QToolBar* m_toolBar;
    QListView* m_list;
    QToolButton* m_upButton;
    QToolButton* m_downButton;
    QPlainTextEdit* m_preview;
    TMacroActions m_actions;
    bool m_editing = false;
};

} // namespace orvel
