#pragma once
// The document commands, made once: one action per row of the table, pointed at the active
// document window. Their menus, the element toolbar pages and the editor's context menu are
// built once too; the main window shows them.

#include "base/ui/CommandList.h"
#include "editor/core/DocumentCommandIds.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QTabWidget;
class QWidget;

namespace orvel {

class IDocumentContext;
class TMDIForm;
struct TCommandDef;

// A menu merged into the main window's menu bar, with its group number.
struct TMergedMenu {
    int group;
    QMenu* menu;
};

class TDocumentCommands : public QObject {
    Q_OBJECT
public:
    // The actions belong to owner; their keys act while the keyboard focus is inside keyScope
    // (the document area).
    TDocumentCommands(QWidget* owner, QWidget* keyScope, IDocumentContext& context,
                      TCommandList::Reporter report);

    QAction* action(cmd::TDocCommandId id) const { return m_list->action(id); }
    TCommandList& commands() { return *m_list; }
    // "&Edit" (3), "&Insert" (4) and "&Bookmarks" (5).
    const QList<TMergedMenu>& menus() const { return m_menus; }
    QMenu* contextMenu() const { return m_contextMenu; }
    // The spelling entries: "Select &language" (in "&Edit" and the context menu), and the
    // context menu's suggestions and "&Add \"%s\" to dictionary".
    QMenu* languageMenu() const { return m_languageMenu; }
    QMenu* suggestionMenu() const { return m_suggestMenu; }
    QAction* addWordEntry() const { return m_addWordEntry; }
    // The element toolbar pages, built at the first call (start-up does not wait for them);
    // with dynamic pages on, a page opens when the mouse moves over its tab.
    QTabWidget* toolPanel(QWidget* parent, std::function<bool()> dynamicPages,
                          std::function<void(bool)> setDynamicPages);

    // The document the commands act on; null disables them all.
    void setDocument(TMDIForm* document);
    TMDIForm* document() const;
    // What follows the document and the clipboard: paste, find next and previous, the
    // encoding's check mark.
    void updateState();
    // The editor's context menu at that point, for the tag under it.
    void popupContextMenu(QPoint globalPos);

private:
    QAction* add(const TCommandDef& def, std::function<void(TMDIForm&)> run);
    void addEditCommands();
    void addFindCommands();
    void addEncodingCommands();
    void addCharCommands();
    void addElementCommands();
    // Spelling (DocumentSpelling.cpp): the commands, their menu entries, and the context
    // menu's word, suggestions and language, prepared each time the menu opens.
    void addSpellCommands();
    void buildSpellMenus();
    void addSpellEntries(QMenu* menu, bool contextMenu);
    void prepareSpellEntries();
    void updateSpellState();
    void chooseLanguage(quint32 id);
    void buildMenus();
    void buildContextMenu();
    void updatePaste();

    IDocumentContext& m_context;
    TCommandList* m_list;
    QPointer<TMDIForm> m_document;
    QList<TMergedMenu> m_menus;
    QList<QMenu*> m_codeMenus; // the element categories, for the menu and the context menu
    QMenu* m_encodingMenu = nullptr;
    QActionGroup* m_encodingGroup = nullptr;
    QMenu* m_gotoMenu = nullptr;
    QMenu* m_setMenu = nullptr;
    QMenu* m_contextMenu = nullptr;
    QMenu* m_languageMenu = nullptr;
    QMenu* m_suggestMenu = nullptr;
    QAction* m_addWordEntry = nullptr;
    QList<QAction*> m_spellEntries; // the context menu's, hidden outside HTML and plain text
    QAction* m_selectWord = nullptr;
    QTabWidget* m_toolPanel = nullptr;
};

} // namespace orvel
