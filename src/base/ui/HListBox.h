#pragma once
// History lists on screen: their mirror in a menu, the editable history box, and the
// dialog that edits an ordered list of entries.

#include "base/core/EditListModel.h"
#include "base/core/HistoryList.h"

#include <QComboBox>
#include <QDialog>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QStringListModel>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

namespace orvel {

class IDialogs;

// Mirrors a history list into a menu (after the menu's own items) and, as copies, into a
// second menu and a text list model; rebuilt whenever the list changes.
class THistoryMenu : public QObject {
    Q_OBJECT
public:
    explicit THistoryMenu(THistoryList* list, QObject* parent = nullptr);
    ~THistoryMenu() override;

    THistoryList* list() const { return m_list; }

    // Attaching remembers the menu's own item count; nullptr detaches.
    void setMenu(QMenu* menu);
    QMenu* menu() const { return m_menu; }
    // Receives the same items as the menu (shared actions); it holds nothing else.
    void setMenu2(QMenu* menu);
    QMenu* menu2() const { return m_menu2; }
    // The entries follow the model's own rows.
    void setStrList(QStringListModel* model);
    QStringListModel* strList() const { return m_strList; }

    int MenuSizeBefore() const { return m_menuSizeBefore; }
    int ListSizeBefore() const { return m_listSizeBefore; }
    int SeparatorCount() const { return m_separatorCount; }

    bool ShowHotKeys() const { return m_showHotKeys; }
    void setShowHotKeys(bool on);
    bool RadioMenu() const { return m_radioMenu; }
    void setRadioMenu(bool on);
    QString CheckedItem() const { return m_checkedItem; }
    void setCheckedItem(const QString& text);
    // Checks the item of that entry; false when the list holds no such entry.
    bool SelectMenuItem(const QString& text);

    // The mirror items, in list order.
    const QList<QAction*>& mirrorActions() const { return m_actions; }

    void rebuild();

Q_SIGNALS:
    // A mirror item was chosen. When itemClicked has a receiver it alone is emitted;
    // otherwise itemClickedIndex reports the position.
    void itemClicked(const QString& text);
    void itemClickedIndex(int index);

private:
    void removeMirror();
    void removeListMirror();
    void rebuildList();
    void chosen(QAction* action);

    THistoryList* m_list;
    QPointer<QMenu> m_menu;
    QPointer<QMenu> m_menu2;
    QPointer<QStringListModel> m_strList;
    QList<QAction*> m_actions;
    QPointer<QAction> m_separator;
    QActionGroup* m_group;
    int m_menuSizeBefore = 0;
    int m_listSizeBefore = 0;
    int m_listRows = 0;
    int m_separatorCount = 0;
    bool m_showHotKeys = true;
    bool m_radioMenu = false;
    QString m_checkedItem;
};

class TUnicodeIniFile;

// An editable box that offers its history; with no entries, or read-only, it is a plain
// edit field that never drops down.
class THistoryCombo : public QComboBox {
    Q_OBJECT
public:
    explicit THistoryCombo(QWidget* parent = nullptr);

    THistoryList* HistoryList() { return &m_history; }
    const THistoryList* HistoryList() const { return &m_history; }
    int MaxItems() const { return m_history.MaxLen(); }
    void setMaxItems(int n) { m_history.setMaxLen(n); }

    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    bool AutoUpdate() const { return m_autoUpdate; }
    void setAutoUpdate(bool on) { m_autoUpdate = on; }
    bool EraseSection() const { return m_eraseSection; }
    void setEraseSection(bool on) { m_eraseSection = on; }
    bool Modified() const { return m_modified; }
    void setModified(bool on) { m_modified = on; }
    QString IniFileName() const { return m_iniFileName; }
    QString IniSection() const { return m_iniSection; }

    void AddItem(const QString& text) { m_history.AddString(text); }
    void AddItemObject(const QString& text, const QVariant& object) {
        m_history.AddStringObject(text, object);
    }
    void DeleteItem(const QString& text) { m_history.RemString(text); }
    // The first entry that begins with text (without regard to case), or -1.
    int FindItem(const QString& text) const;
    void AssignList(const QStringList& texts) { m_history.AssignList(texts); }

    // Remembers file and section, and loads when the file exists; SaveToIni without a file
    // writes there.
    void LoadFromIni(const QString& fileName, const QString& section);
    void LoadFromIni(const TUnicodeIniFile& ini, const QString& section);
    void SaveToIni(TUnicodeIniFile& ini, const QString& section, bool erase);
    TStatus SaveToIni();

    bool hasDropDown() const { return !m_readOnly && m_history.count() > 0; }
    void showPopup() override;

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void refresh();
    void placeEditField();

    THistoryList m_history;
    bool m_readOnly = false;
    bool m_autoUpdate = true;
    bool m_eraseSection = false;
    bool m_modified = false;
    bool m_entered = false;
    bool m_dropDownShown = true;
    QString m_saveText;
    QString m_iniFileName;
    QString m_iniSection;
};

// Edits an ordered list: remove, move and (where allowed) rename entries.
class TEditHistListDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for a new text; the box goes at pos (global). False when cancelled.
    using AskText = std::function<bool(QWidget* parent, const QString& title, const QPoint& pos,
                                       QString& text)>;

    explicit TEditHistListDialog(QWidget* parent = nullptr);
    ~TEditHistListDialog() override;

    // Shows the dialog modally; on OK texts, objects (when given) and index take the edited
    // list, on Cancel nothing changes and the result is false.
    bool Execute(const QPoint& position, const QString& title, int& index, bool allowEdit,
                 bool allowDelete, QStringList& texts, const QString& description,
                 QList<QVariant>* objects = nullptr);

    // Execute in two halves, for callers (and tests) that run the dialog themselves.
    void setup(const QPoint& position, const QString& title, int index, bool allowEdit,
               bool allowDelete, const QStringList& texts, const QString& description,
               const QList<QVariant>& objects = {});
    bool finish(bool accepted, int& index, QStringList& texts, QList<QVariant>* objects);

    void setAskText(AskText ask) { m_askText = std::move(ask); }
    // Where refusals are reported; the real message boxes when not set.
    void setDialogs(IDialogs* dialogs) { m_dialogs = dialogs; }

    const TEditListModel* model() const { return m_model.get(); }
    QListWidget* listWidget() const { return m_listBox; }

public Q_SLOTS:
    void removeItems();
    void editItem();
    void moveUp();
    void moveDown();

private:
    void takeSelection();
    void fill();
    void updateButtons();

    std::unique_ptr<TEditListModel> m_model;
    std::unique_ptr<IDialogs> m_ownDialogs;
    IDialogs* m_dialogs = nullptr;
    AskText m_askText;
    bool m_allowEdit = false;
    QLabel* m_description;
    QListWidget* m_listBox;
    QToolButton* m_upButton;
    QToolButton* m_downButton;
    QPushButton* m_removeButton;
    QPushButton* m_editButton;
};

} // namespace orvel
